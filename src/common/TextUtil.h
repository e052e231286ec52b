#pragma once
// Text conventions shared by every reader: trimming and integer texts.

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

namespace zfw {

// Removes every character up to and including the blank (control characters too) at both ends.
QString trimBlanks(QStringView s);

// Integer text: blanks before the number are skipped, a sign is allowed, digits are decimal,
// or hexadecimal after "$", "x", "X", "0x" or "0X"; anything else (blanks after the digits included) makes the
// text no integer. Decimal values must fit in 32 bits; hexadecimal ones up to 8 digits wrap
// into the signed range as a 32-bit pattern.
std::optional<int> parseIntText(QStringView s);

// Upper case for keyword comparisons: the letters a to z only; every other character stays.
QString asciiUpper(QStringView s);

// parseIntText with the caller's default.
int strToIntDef(QStringView s, int def);

// Windows-1252 bytes as text; the five unassigned bytes give the C1 control of the same value.
QString decodeWindows1252(const QByteArray& bytes);
// Text as Windows-1252 bytes. A character the code page lacks becomes "?" and clears
// *lossless when given.
QByteArray encodeWindows1252(QStringView text, bool* lossless = nullptr);

}  // namespace zfw
