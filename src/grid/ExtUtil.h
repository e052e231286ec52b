#pragma once
// Plain text and number helpers of the grid: what kind of text a cell holds, the packed form
// that carries any UTF-16 code unit through 8-bit text paths, line-break conversions, and a few
// integer helpers. None keeps state.

#include <QString>

namespace zfw {

// Cell text kinds answered by GetCellTextKind.
inline constexpr int ctkPlain = 0;
inline constexpr int ctkMiniHtml = 1;
inline constexpr int ctkRichText = 2;
inline constexpr int ctkFormula = 3;
inline constexpr int ctkPackedWide = 5;

// 0 plain, 1 mini-HTML (only when miniHtml is on), 2 rich text, 3 formula, 5 packed wide text.
int GetCellTextKind(const QString& text, bool miniHtml);

// "|\" followed by two characters per code unit: high byte, then low byte.
QString PackWideText(const QString& wide);
// The reverse of PackWideText; a text without the "|\" prefix is returned unchanged and an odd
// last character is ignored.
QString UnpackWideText(const QString& text);
// The text carries PackWideText's "|\" prefix.
bool IsPackedWideText(const QString& text);

// Every two-character sequence backslash, "n" becomes a CR.
QString BackslashNToCR(const QString& text);
// Every CR becomes backslash, "n"; LF characters are dropped.
QString CRToBackslashN(const QString& text);
// 1 + the number of CRs when countLines, else 1.
int LineCount(const QString& text, bool countLines);

// Equal limits leave the value alone; a limit of 0 or less is no limit.
int ClampToLimits(int value, int lower, int upper);

// The numeric part of a cell text, in the form a strict "." conversion reads: trimmed; negative
// when enclosed in parentheses or when a "-" is among the leading characters dropped (up to the
// first digit, separator or exponent letter, keeping at least one character); thousand
// separators skipped, the decimal separator written as "."; the copy ends at the first
// character that belongs to no number. "" for "".
QString ExtractNumberText(const QString& text, QChar thousandSep, QChar decimalSep);

// When the upper-cased text contains upperPrefix: result is the text with "<" and ">" escaped
// and the address from that prefix to the end of its run of address characters wrapped into
// a link; true. False otherwise (result untouched).
bool HtmlEscapeWithLink(const QString& text, const QString& upperPrefix, QString& result);

inline constexpr int MaxOf(int a, int b) { return a > b ? a : b; }
inline constexpr int MinOf(int a, int b) { return a < b ? a : b; }

// Inclusive containment of a cell in a rectangle of cell indexes (any type with Left, Top,
// Right and Bottom).
template <class GridRect>
constexpr bool IsCellInGridRect(const GridRect& r, int ACol, int ARow)
{
    return ACol >= r.Left && ACol <= r.Right && ARow >= r.Top && ARow <= r.Bottom;
}

// Number text classes answered by ClassifyNumberText.
inline constexpr int nkInteger = 0;
inline constexpr int nkDecimal = 1;
inline constexpr int nkNotANumber = 2;
inline constexpr int nkExponent = 5;

// 0 integer, 1 decimal number, 5 number in exponent notation, 2 anything else (the empty text
// too), with the separators given. The text is taken as it is (trim it first).
int ClassifyNumberText(const QString& text, QChar decimalSeparator = u'.',
                       QChar thousandSeparator = u',');

// Removes everything up to and including the first "://", or else the first "mailto:";
// a text with neither stays as it is.
QString StripUrlPrefix(const QString& text);

}  // namespace zfw
