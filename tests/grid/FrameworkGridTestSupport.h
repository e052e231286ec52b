#pragma once
// Names each row of a parameterised test after its `name` field; prints the grid's
// coordinates and rectangles readably in failure messages.

#include "grid/FrameworkGridTypes.h"
#include "platform/Rect.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace zfw {

inline void PrintTo(const TGridRect& r, std::ostream* os)
{
    *os << "{" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << "}";
}
inline void PrintTo(const TGridCoord& c, std::ostream* os)
{
    *os << "(" << c.X << ", " << c.Y << ")";
}
inline void PrintTo(const TRect& r, std::ostream* os)
{
    *os << "[" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

}  // namespace zfw

namespace zfw::test {

struct GridCaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return info.param.name;
    }
};

}  // namespace zfw::test
