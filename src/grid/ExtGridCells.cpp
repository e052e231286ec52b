// The string grid's cell access: stripped and real-row reads, and one reader and writer per
// cell property.

#include "grid/EsgHTMLE.h"
#include "grid/ExtGrid.h"
#include "grid/ExtGridFormat.h"
#include "grid/ExtUtil.h"

#include <QLocale>
#include <QWidget>

#include <algorithm>

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

namespace {

TExtStringGrid::CellInt readInt(const QString& raw)
{
    const QString text = raw.trimmed();
    if (text.isEmpty() || text == u"-")
        return {true, 0, {}};
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok)
        return {false, 0, QStringLiteral("Cell does not contain integer value")};
    return {true, value, {}};
}

TExtStringGrid::CellFloat readFloat(const QString& raw, const QLocale& locale)
{
    const QString text = ExtractNumberText(raw, locale.groupSeparator().front(),
                                           locale.decimalPoint().front());
    if (text.isEmpty() || text == u"-")
        return {true, 0.0, {}};
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok)
        return {false, 0.0, QStringLiteral("Cell does not contain a float value")};
    return {true, value, {}};
}

}  // namespace

TExtStringGrid::CellInt TExtStringGrid::GetInts(int ACol, int ARow) const
{
    return readInt(GetStrippedCell(ACol, ARow));
}

void TExtStringGrid::SetInts(int ACol, int ARow, int Value)
{
    SetCellEx(ACol, ARow, QString::number(Value));
}

TExtStringGrid::CellInt TExtStringGrid::GetAllInts(int ACol, int j) const
{
    return readInt(GetCellsEx(ACol, j));
}

bool TExtStringGrid::SetAllInts(int ACol, int j, int Value)
{
    return SetCellsEx(ACol, j, QString::number(Value));
}

TExtStringGrid::CellFloat TExtStringGrid::GetFloats(int ACol, int ARow) const
{
    return readFloat(GetStrippedCell(ACol, ARow), locale());
}

bool TExtStringGrid::SetFloats(int ACol, int ARow, double Value)
{
    const std::optional<QString> text = FormatFloatPattern(GetFloatFormat(), Value);
    return text && SetCellEx(ACol, ARow, *text);
}

TExtStringGrid::CellFloat TExtStringGrid::GetAllFloats(int ACol, int j) const
{
    return readFloat(GetCellsEx(ACol, j), locale());
}

bool TExtStringGrid::SetAllFloats(int ACol, int j, double Value)
{
    const std::optional<QString> text = FormatFloatPattern(FloatFormat, Value);
    return text && SetCellsEx(ACol, j, *text);
}

QString TExtStringGrid::GetGridCellsEx(int i, int j) const
{
    if (i < 0 || j < 0)
        return {};
    if (store().IsHiddenRow(j)) {
        const std::vector<QString> texts = store().hiddenRowTexts(j);
        return i < int(texts.size()) ? texts[std::size_t(i)] : QString();
    }
    return store().GetGridCell(i, store().DisplRowIndex(j));
}

bool TExtStringGrid::SetGridCellsEx(int i, int j, const QString& Value)
{
    if (i < 0 || j < 0)
        return false;
    if (store().IsHiddenRow(j))
        return store().setHiddenRowText(j, i, Value);
    return store().SetGridCell(i, store().DisplRowIndex(j), Value);
}

std::uintptr_t TExtStringGrid::GetObjectsEx(int i, int j) const
{
    const TCellProperties* p = GetGridObjectEx(i, j);
    return p ? p->CellObject : 0;
}

bool TExtStringGrid::SetObjectsEx(int i, int j, std::uintptr_t Object)
{
    if (i < 0 || j < 0)
        return false;
    if (store().IsHiddenRow(j)) {
        TCellProperties* p = store().createHiddenRowProperties(j, i);
        if (!p)
            return false;
        p->CellObject = Object;
        return true;
    }
    return store().SetObjectEx(i, store().DisplRowIndex(j), Object);
}

TCellProperties* TExtStringGrid::GetGridObjectEx(int c, int j) const
{
    if (c < 0 || j < 0)
        return nullptr;
    if (store().IsHiddenRow(j))
        return store().hiddenRowProperties(j, c);
    return store().GetGridObject(c, store().DisplRowIndex(j));
}

QString TExtStringGrid::GetWideCells(int ACol, int ARow) const
{
    return UnpackWideText(GetCellEx(ACol, ARow));
}

void TExtStringGrid::SetWideCells(int ACol, int ARow, const QString& Value)
{
    SetCellEx(ACol, ARow, Value);
}

QString TExtStringGrid::GetWideCellsEx(int i, int j) const
{
    return UnpackWideText(GetCellsEx(i, j));
}

bool TExtStringGrid::SetWideCellsEx(int i, int j, const QString& Value)
{
    return SetCellsEx(i, j, Value);
}

int TExtStringGrid::GetLinesInCell(int ACol, int ARow) const
{
    return LineCount(GetCellEx(ACol, ARow), true);
}

namespace {

int indexIn(const TIntList& list, int value)
{
    const auto& v = list.values();
    const auto it = std::find(v.begin(), v.end(), value);
    return it != v.end() ? int(it - v.begin()) : list.Count();
}

}  // namespace

int TExtStringGrid::SortedRowIndex(int ARow) const
{
    if (ARow >= 0 && ARow < SortXRef.Count())
        return store().RealRowIndex(SortXRef.GetInteger(ARow));
    return store().RealRowIndex(ARow);
}

int TExtStringGrid::UnSortedRowIndex(int ARow) const
{
    if (SortXRef.Count() == 0)
        return ARow;
    return indexIn(SortXRef, ARow);
}

namespace {

// The row at which the cell that stood at ARow before sorting is found.
int unsortedRow(const TIntList& xref, int ARow)
{
    return ARow > xref.Count() ? ARow : indexIn(xref, ARow);
}

}  // namespace

QString TExtStringGrid::GetUnSortedCell(int ACol, int ARow) const
{
    return GetCellEx(ACol, unsortedRow(SortXRef, ARow));
}

void TExtStringGrid::SetUnSortedCell(int ACol, int ARow, const QString& Value)
{
    SetCellEx(ACol, unsortedRow(SortXRef, ARow), Value);
}

QWidget* TExtStringGrid::GetCellControls(int ACol, int ARow) const
{
    const TCellProperties* p = store().GetGridObject(ACol, ARow);
    return p ? p->Control : nullptr;
}

void TExtStringGrid::SetCellControls(int ACol, int ARow, QWidget* AControl)
{
    const int realRow = store().RealRowIndex(ARow);
    auto dropEntry = [&] {
        std::erase_if(m_controls, [&](const ControlItem& item) {
            return item.Col == ACol && item.Row == realRow;
        });
    };
    if (!AControl) {
        TCellProperties* p = store().GetGridObject(ACol, ARow);
        if (p && p->Control) {
            dropEntry();
            --m_numCellControls;
            p->Control->disconnect(this);
            p->Control->hide();
            p->Control = nullptr;
        }
        return;
    }
    TCellProperties* p = store().GetCellProperties(ACol, ARow);
    if (!p)
        return;  // outside the grid: the control stays where it is
    dropEntry();
    if (p->Control && p->Control != AControl) {
        // The cell's previous control is replaced: it stops being tracked for this cell.
        p->Control->disconnect(this);
        p->Control->hide();
    } else if (!p->Control) {
        ++m_numCellControls;
    }
    m_controls.push_back({ACol, realRow, AControl});
    p->Control = AControl;
    // A control deleted by its creator must not stay behind as a dangling pointer in the
    // cell's properties.
    connect(AControl, &QObject::destroyed, this, &TExtStringGrid::forgetControl,
            Qt::UniqueConnection);
    AControl->setParent(viewport());
    const TRect r = CellRect(DisplColIndex(ACol), ARow);
    AControl->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
    AControl->show();
}

void TExtStringGrid::CellControlsUpdate(bool rebuildlist)
{
    if (rebuildlist) {
        m_controls.clear();
        for (int c = 0; c < store().TotalColCount(); ++c)
            for (int real = 0; real < store().TotalRowCount(); ++real)
                if (const TCellProperties* p = GetGridObjectEx(c, real); p && p->Control)
                    m_controls.push_back({c, real, p->Control});
    }
    if (m_numCellControls == 0)
        return;
    for (const ControlItem& item : m_controls) {
        QWidget* control = item.Control;
        if (!control)
            continue;
        const bool hidden = store().IsHiddenRow(item.Row) || store().IsHiddenColumn(item.Col);
        // Controls are kept by real column and real row and placed at their display cell.
        const int C = DisplColIndex(item.Col);
        const int R = store().DisplRowIndex(item.Row);
        if (!hidden && (C < FixedCols() || R < FixedRows()))
            continue;
        const bool outOfView = hidden || C < LeftCol() || C > LeftCol() + VisibleColCount()
                               || R < TopRow() || R > TopRow() + VisibleRowCount();
        if (outOfView) {
            control->hide();
            continue;
        }
        const TRect r = CellRect(C, R);
        control->setGeometry(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top + 1);
        control->show();
    }
}

void TExtStringGrid::TopLeftChanged()
{
    TBaseGrid::TopLeftChanged();
    CloseDropDowns();
    placeControls();
    ScrolledTopLeft();
}

void TExtStringGrid::ColWidthsChanged()
{
    TBaseGrid::ColWidthsChanged();
    colWidthsChangedSteps();
    placeControls();
}

void TExtStringGrid::RowHeightsChanged()
{
    TBaseGrid::RowHeightsChanged();
    placeControls();
}

void TExtStringGrid::layoutChanged(int FirstRow)
{
    TBaseGrid::layoutChanged(FirstRow);
    placeControls();
}

void TExtStringGrid::colWidthChanged(int DCol)
{
    TBaseGrid::colWidthChanged(DCol);
    placeControls();
}

void TExtStringGrid::rowHeightChanged(int ARow)
{
    TBaseGrid::rowHeightChanged(ARow);
    placeControls();
}

void TExtStringGrid::forgetControl(QObject* control)
{
    for (auto it = m_controls.begin(); it != m_controls.end();) {
        // The QPointer is already null here: compare by the stored cell's properties.
        TCellProperties* p = GetGridObjectEx(it->Col, it->Row);
        if (p && p->Control == control) {
            p->Control = nullptr;
            --m_numCellControls;
            it = m_controls.erase(it);
        } else {
            ++it;
        }
    }
}

QFont TExtStringGrid::GetCellFont(int ACol, int ARow) const
{
    QFont f = font();
    const TCellProperties* p = store().GetGridObject(ACol, ARow);
    if (!p)
        return f;
    if (!p->FontName.isEmpty())
        f.setFamily(p->FontName);
    if (p->FontSize > 0)
        f.setPointSize(p->FontSize);
    if (p->FontStyle != 0) {
        f.setBold(p->FontStyle & fsBold);
        f.setItalic(p->FontStyle & fsItalic);
        f.setUnderline(p->FontStyle & fsUnderline);
        f.setStrikeOut(p->FontStyle & fsStrikeOut);
    }
    return f;
}

void TExtStringGrid::SetCellFont(int ACol, int ARow, const QFont& Font, TColor FontColor)
{
    changeProperties(ACol, ARow, [&](TCellProperties& p) {
        p.FontName = Font.family();
        p.FontSize = Font.pointSize() > 0 ? Font.pointSize() : 0;
        p.FontStyle = (Font.bold() ? fsBold : 0) | (Font.italic() ? fsItalic : 0)
                      | (Font.underline() ? fsUnderline : 0) | (Font.strikeOut() ? fsStrikeOut : 0);
        p.FontColor = FontColor;
    });
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
