#pragma once
// Names each row of a parameterised test after its `name` field.

#include <gtest/gtest.h>

#include <string>

namespace zfw::test {

struct GridCaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return info.param.name;
    }
};

}  // namespace zfw::test
