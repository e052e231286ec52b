#pragma once
// A beeper that counts instead of sounding.

#include "platform/Beep.h"

namespace zfw::test {

class FakeBeeper final : public IBeeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

}  // namespace zfw::test
