// The string grid's cell access: stripped and real-row reads, and one reader and writer per
// cell property.

#include "grid/EsgHTMLE.h"
#include "grid/ExtGrid.h"

namespace zfw {

QString TExtStringGrid::GetStrippedCell(int ACol, int ARow) const
{
    return HtmlToPlainText(GetCellEx(ACol, ARow));
}

QString TExtStringGrid::GetCellsEx(int i, int j) const
{
    if (i < 0 || j < 0)
        return {};
    if (store().IsHiddenRow(j)) {
        const std::vector<QString> texts = store().hiddenRowTexts(j);
        QString value = i < int(texts.size()) ? texts[std::size_t(i)] : QString();
        if (store().OnGetDisplText)
            store().OnGetDisplText(i, j, value);
        return value;
    }
    return GetCellEx(i, store().DisplRowIndex(j));
}

bool TExtStringGrid::SetCellsEx(int i, int j, const QString& Value)
{
    if (i < 0 || j < 0)
        return false;
    if (store().IsHiddenRow(j))
        return store().setHiddenRowText(j, i, Value);
    return SetCellEx(i, store().DisplRowIndex(j), Value);
}

TExtStringGrid::CellInt TExtStringGrid::GetInts(int ACol, int ARow) const
{
    QString text = GetStrippedCell(ACol, ARow).trimmed();
    if (text.isEmpty() || text == u"-")
        return {true, 0, {}};
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return {false, 0, QStringLiteral("Cell does not contain integer value")};
    return {true, value, {}};
}

void TExtStringGrid::SetInts(int ACol, int ARow, int Value)
{
    SetCellEx(ACol, ARow, QString::number(Value));
}

template <class F>
void TExtStringGrid::changeProperties(int ACol, int ARow, F change)
{
    TCellProperties* props = store().GetCellProperties(ACol, ARow);
    if (!props)
        return;
    change(*props);
    cellChanged(ACol, ARow);
}

namespace {

template <class T, class M>
T readOr(const CellStore& s, int ACol, int ARow, M member, T neutral)
{
    const TCellProperties* props = s.GetGridObject(ACol, ARow);
    return props ? props->*member : neutral;
}

}  // namespace

TColor TExtStringGrid::GetColors(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::BrushColor, clNone);
}
void TExtStringGrid::SetColors(int ACol, int ARow, TColor Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.BrushColor = Value; });
}
TColor TExtStringGrid::GetColorsTo(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::BrushColorTo, clNone);
}
void TExtStringGrid::SetColorsTo(int ACol, int ARow, TColor Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.BrushColorTo = Value; });
}
TCellGradientDirection TExtStringGrid::GetGradientDir(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::GradientDirection,
                  TCellGradientDirection::GradientVertical);
}
void TExtStringGrid::SetGradientDir(int ACol, int ARow, TCellGradientDirection Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.GradientDirection = Value; });
}
bool TExtStringGrid::GetReadOnly(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::ReadOnly, false);
}
void TExtStringGrid::SetReadOnly(int ACol, int ARow, bool Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.ReadOnly = Value; });
}
bool TExtStringGrid::GetWordWraps(int ACol, int ARow)
{
    // The one reader that creates the properties: it answers the default a new cell gets.
    const TCellProperties* props = store().GetCellProperties(ACol, ARow);
    return props ? props->WordWrap : store().WordWrap();
}
void TExtStringGrid::SetWordWraps(int ACol, int ARow, bool Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.WordWrap = Value; });
}
TColor TExtStringGrid::GetFontColors(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::FontColor, clNone);
}
void TExtStringGrid::SetFontColors(int ACol, int ARow, TColor Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.FontColor = Value; });
}
int TExtStringGrid::GetFontStyles(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::FontStyle, 0);
}
void TExtStringGrid::SetFontStyles(int ACol, int ARow, int Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.FontStyle = Value; });
}
QString TExtStringGrid::GetFontNames(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::FontName, QString());
}
void TExtStringGrid::SetFontNames(int ACol, int ARow, const QString& Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.FontName = Value; });
}
int TExtStringGrid::GetFontSizes(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::FontSize, 0);
}
void TExtStringGrid::SetFontSizes(int ACol, int ARow, int Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.FontSize = Value; });
}
TAlignment TExtStringGrid::GetAlignments(int ACol, int ARow) const
{
    return readOr(store(), ACol, ARow, &TCellProperties::Alignment, TAlignment::taLeftJustify);
}
void TExtStringGrid::SetAlignments(int ACol, int ARow, TAlignment Value)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) { p.Alignment = Value; });
}

void TExtStringGrid::resetRowCell(int ACol, int ARow,
                                  const std::function<void(TCellProperties&)>& reset)
{
    // Resetting one colour used to free the cell's whole properties object, and with it its
    // read-only flag, fonts, merge spans, graphic (a check box and its state), user object and
    // hosted control. Only the one colour goes back to none; the properties stay.
    if (TCellProperties* p = store().GetGridObject(ACol, ARow)) {
        reset(*p);
        cellChanged(ACol, ARow);
    }
}

void TExtStringGrid::SetRowColor(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < store().AllColCount(); ++c) {
        if (AColor != clNone)
            SetColors(c, ARow, AColor);
        else
            resetRowCell(c, ARow, [](TCellProperties& p) { p.BrushColor = clNone; });
    }
    Invalidate();
}

void TExtStringGrid::SetRowColorTo(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < store().AllColCount(); ++c) {
        if (AColor != clNone)
            SetColorsTo(c, ARow, AColor);
        else
            resetRowCell(c, ARow, [](TCellProperties& p) { p.BrushColorTo = clNone; });
    }
    Invalidate();
}

void TExtStringGrid::SetRowFontColor(int ARow, TColor AColor)
{
    for (int c = FixedCols(); c < store().AllColCount(); ++c) {
        if (AColor != clNone)
            SetFontColors(c, ARow, AColor);
        else
            resetRowCell(c, ARow, [](TCellProperties& p) { p.FontColor = clNone; });
    }
    Invalidate();
}

}  // namespace zfw
