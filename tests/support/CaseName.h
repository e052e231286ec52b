#pragma once
// Names each row of a parameterised test after the `name` field of its case, so that a
// failure says which row broke.

#include <gtest/gtest.h>

#include <string>

namespace zfw::test {

struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& info) const
    {
        return info.param.name;
    }
};

}  // namespace zfw::test
