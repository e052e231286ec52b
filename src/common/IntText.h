#pragma once
// The scan shared by the integer readers of different widths: blanks before the number, a sign,
// a hexadecimal marker ("$", "x", "X", "0x", "0X"), then digits only.

#include <QStringView>

#include <cstdint>
#include <optional>

namespace zfw {

struct IntTextDigits {
    std::uint64_t magnitude = 0;
    bool negative = false;
    bool hex = false;
};

// The number's parts, or nothing when the text has no digits, holds another character, or its
// magnitude exceeds the limit for its base.
std::optional<IntTextDigits> scanIntText(QStringView s, std::uint64_t decimalLimit,
                                         std::uint64_t hexLimit);

}  // namespace zfw
