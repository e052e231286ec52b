#pragma once
// The grid's user-given number patterns (FloatFormat, the group-count format): literal text,
// "%%" and at most one conversion "%[0:][-][width][.precision]type". Patterns come from stored
// settings, so they are parsed here and never handed to a printf-style function: a pattern
// whose conversion does not fit the value, or that holds more than one, is refused.

#include <QString>

#include <optional>

namespace zfw {

// Float conversions: f (default precision 2), e, g, n (as f with thousand separators "," ).
std::optional<QString> FormatFloatPattern(const QString& pattern, double value);
// Integer conversions: d, u, x (a precision pads with zeros).
std::optional<QString> FormatIntPattern(const QString& pattern, long long value);

}  // namespace zfw
