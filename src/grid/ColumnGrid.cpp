// The column grid: its items follow the real columns, and its cell hooks answer from them.

#include "grid/ColumnGrid.h"

#include "grid/ExtGridFormat.h"
#include "grid/ExtUtil.h"
#include "grid/GridCombo.h"

#include <QMenu>
#include <QPointer>
#include <QSignalBlocker>

#include <algorithm>

namespace zfw {

template <class F>
void TExtColumnGrid::quietly(F f)
{
    TGridColumnCollection& c = *FColumnCollection;
    const bool keep = c.FNoRecursiveUpdate;
    c.FNoRecursiveUpdate = true;
    ++m_itemsBusy;
    f();
    --m_itemsBusy;
    c.FNoRecursiveUpdate = keep;
}

TExtColumnGrid::TExtColumnGrid(QWidget* parent) : TExtStringGrid(parent)
{
    FColumnCollection = CreateColumns();
    SyncColumnItems();
    FColMoving = false;
    FSaveCol = std::make_unique<TGridColumnItem>(nullptr);
    FCellGraphic.CellType = ctVirtCheckBox;
}

TExtColumnGrid::~TExtColumnGrid() = default;

std::unique_ptr<TGridColumnCollection> TExtColumnGrid::CreateColumns()
{
    return std::make_unique<TGridColumnCollection>(this);
}

void TExtColumnGrid::SetColumns(const TGridColumnCollection& Value)
{
    if (&Value == FColumnCollection.get())
        return;
    quietly([&] {
        while (Columns().Count() < Value.Count())
            Columns().Add();
        while (Columns().Count() > Value.Count())
            Columns().Delete(Columns().Count() - 1);
        for (int i = 0; i < Value.Count(); ++i)
            Columns()[i]->Assign(*Value[i]);
    });
    Columns().Update(nullptr);
}

TGridColumnItem* TExtColumnGrid::GetColumnByName(const QString& AName) const
{
    for (int i = 0; i < Columns().Count(); ++i)
        if (Columns()[i]->Name() == AName)
            return Columns()[i];
    return nullptr;
}

void TExtColumnGrid::SetColCount(int Value)
{
    ++m_itemsBusy;
    TExtStringGrid::SetColCount(Value);
    --m_itemsBusy;
    SyncColumnItems();
}

void TExtColumnGrid::SyncColumnItems()
{
    // Always without the collection's Update: while items are added one by one the item count
    // is below the column count, and an Update then would cut the grid down to it.
    quietly([this] {
        const int want = TExtStringGrid::ColCount() + store().NumHiddenColumns();
        while (Columns().Count() < want)
            Columns().Add();
        while (Columns().Count() > want)
            Columns().Delete(Columns().Count() - 1);
    });
}

void TExtColumnGrid::SizeChanged(int OldColCount, int OldRowCount)
{
    TExtStringGrid::SizeChanged(OldColCount, OldRowCount);
    // Any other way the column count changes (a file load, a paste that widens the grid)
    // keeps the items in step as well; the grid's own writers sync themselves.
    if (m_itemsBusy == 0 && FColumnCollection)
        SyncColumnItems();
}

void TExtColumnGrid::Loaded()
{
    TExtStringGrid::Loaded();
    SyncColumnItems();
    Columns().SetOrganization();
}

void TExtColumnGrid::RecalcFooter()
{
    TExtStringGrid::RecalcFooter();
    // Inside the grid's own column operations the items are placed by the operation.
    if (FColumnCollection && m_itemsBusy == 0)
        SyncColumnItems();
}

void TExtColumnGrid::InsertCols(int ColIndex, int CCount)
{
    const int before = store().TotalColCount();
    const int at = ColIndex < TExtStringGrid::ColCount() ? RealColIndex(ColIndex) : before;
    ++m_itemsBusy;
    TExtStringGrid::InsertCols(ColIndex, CCount);
    --m_itemsBusy;
    const int added = store().TotalColCount() - before;
    quietly([&] {
        for (int i = 0; i < added; ++i)
            Columns().Insert(at);
    });
    RebuildColumnHeaders();
}

void TExtColumnGrid::RemoveCols(int ColIndex, int CCount)
{
    const int before = store().TotalColCount();
    const int at = RealColIndex(ColIndex);
    ++m_itemsBusy;
    TExtStringGrid::RemoveCols(ColIndex, CCount);
    --m_itemsBusy;
    const int removed = before - store().TotalColCount();
    quietly([&] {
        for (int i = 0; i < removed; ++i)
            Columns().Delete(at);
    });
    // Whatever the clipping did, the items end up matching the columns.
    SyncColumnItems();
    Columns().Update(nullptr);
}

void TExtColumnGrid::ColumnMoved(int FromIndex, int ToIndex)
{
    if (FromIndex < 0 || ToIndex < 0 || FromIndex >= TExtStringGrid::ColCount()
        || ToIndex >= TExtStringGrid::ColCount() || FromIndex == ToIndex)
        return;
    const int realFrom = RealColIndex(FromIndex);
    const int realTo = RealColIndex(ToIndex);
    const int top = TopRow();
    quietly([&] {
        TExtStringGrid::ColumnMoved(FromIndex, ToIndex);
        BeginUpdate();
        FColMoving = true;
        // The item object itself moves: rebuilding it by copying lost the settings a copy
        // leaves out (the popup type and the print-custom flags).
        Columns().Move(realFrom, realTo);
        SetTopRow(top);
        FColMoving = false;
        EndUpdate();
    });
    if (OnAfterColumnMoved)
        OnAfterColumnMoved(this, realFrom, realTo);
}

QString TExtColumnGrid::GetVersionString() const
{
    return Version() + QStringLiteral(" Aug, 2012");
}

void TExtColumnGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    QPointer<TExtColumnGrid> self(this);
    TExtStringGrid::MouseDown(Button, Shift, X, Y);
    if (!self || (Button != mbLeft && Button != mbRight))
        return;
    const TGridCoord cell = MouseToCell(X, Y);
    if (cell.X < 0 || cell.Y < 0 || cell.X >= TExtStringGrid::ColCount())
        return;
    // The item of the column shown under the pointer (its real column).
    const TGridColumnItem* item = GetItem(RealColIndex(cell.X));
    if (!item || !item->ColumnPopup())
        return;
    using P = TColumnPopupType;
    const bool left = Button == mbLeft;
    const P fixedType = left ? P::cpFixedCellsLClick : P::cpFixedCellsRClick;
    const P normalType = left ? P::cpNormalCellsLClick : P::cpNormalCellsRClick;
    const P allType = left ? P::cpAllCellsLClick : P::cpAllCellsRClick;
    const P type = item->ColumnPopupType();
    if (type != fixedType && type != normalType && type != allType)
        return;
    QPointer<QMenu> menu(item->ColumnPopup());
    // The event fires for every click of the button, also when the row kind does not match.
    if (OnColumnPopup)
        OnColumnPopup(this, cell.X, cell.Y, menu);
    if (!self || !menu)
        return;
    const bool fixedRow = cell.Y < FixedRows();
    if (type == allType || type == (fixedRow ? fixedType : normalType)) {
        const TRect r = CellRect(cell.X, cell.Y);
        menu->popup(viewport()->mapToGlobal(QPoint(r.Left, r.Bottom)));
    }
}

bool TExtColumnGrid::BuildColumnFilterList(int ACol)
{
    TExtStringGrid::BuildColumnFilterList(ACol);
    const TGridColumnItem* item = GetItem(ACol);
    if (!item || item->Filter().isEmpty())
        return false;
    QStringList names;
    names.reserve(item->Filter().size());
    for (const QString& entry : item->Filter())
        names << entry.section(u'=', 0, 0);
    setFilterValues(names);
    return true;
}

void TExtColumnGrid::RebuildColumnHeaders()
{
    if (FixedRows() == 0)
        return;
    QStringList headers;
    headers.reserve(Columns().Count());
    for (int i = 0; i < Columns().Count(); ++i) {
        TGridColumnItem* item = Columns()[i];
        if (item->FColumnHeader.isEmpty()) {
            const QString shown = store().GetGridCell(i, 0);
            if (!shown.isEmpty())
                item->FColumnHeader = shown;
        }
        headers << item->FColumnHeader;
    }
    SetColumnHeaders(headers);
}

void TExtColumnGrid::UpdateColumnHeaders()
{
    if (!FColumnCollection)
        return;
    const QStringList& headers = ColumnHeaders();
    const int n = std::min(Columns().Count(), int(headers.size()));
    for (int i = 0; i < n; ++i)
        Columns()[i]->FColumnHeader = headers[i];
}

// ----- hooks -----

bool TExtColumnGrid::inBody(int ACol, int ARow) const
{
    return ACol >= FixedCols() && ACol < store().TotalColCount() - FixedRightCols
           && ARow >= FixedRows() && ARow < RowCount() - FixedFooters;
}

void TExtColumnGrid::GetCellColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush,
                                  QFont& AFont, TColor& AFontColor)
{
    const TGridColumnItem* item = GetItem(ACol);
    if (item && ACol >= FixedCols() && ACol < store().TotalColCount() - FixedRightCols
        && ARow < RowCount() - FixedFooters) {
        if (item->Fixed())
            ABrush = FixedColor();
        else if (ARow >= FixedRows() && !(item->ShowBands() && Bands.Active()))
            ABrush = item->Color();
        AFont = ARow < FixedRows() ? item->HeaderFont() : item->Font();
    }
    // The cell's own brush and font settings follow in the string grid's hook.
    TExtStringGrid::GetCellColor(ACol, ARow, AState, ABrush, AFont, AFontColor);
}

void TExtColumnGrid::GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush,
                                       QFont& AFont, TColor& AFontColor)
{
    if (const TGridColumnItem* item = GetItem(ACol)) {
        // Printed cells take the print settings' fonts, not the screen's: the grid's own fixed
        // font and font are what the screen shows.
        if (!inBody(ACol, ARow)) {
            AFont = PrintSettings.FixedFont;
        } else {
            if (item->Fixed())
                ABrush = FixedColor();
            else if (!(item->ShowBands() && Bands.Active() && Bands.Print))
                ABrush = item->PrintColor();
            const TCellProperties* p = store().GetGridObject(ACol, ARow);
            if (p && p->BrushColor != clNone && !item->Fixed())
                ABrush = p->BrushColor;
            if (item->PrintFontCustom()) {
                AFont = item->PrintFont();
                if (p) {
                    if (p->FontColor != clNone)
                        AFontColor = p->FontColor;
                    if (p->FontStyle != 0) {
                        AFont.setBold(p->FontStyle & fsBold);
                        AFont.setItalic(p->FontStyle & fsItalic);
                        AFont.setUnderline(p->FontStyle & fsUnderline);
                        AFont.setStrikeOut(p->FontStyle & fsStrikeOut);
                    }
                    if (p->FontSize > 0)
                        AFont.setPointSize(p->FontSize);
                    if (!p->FontName.isEmpty())
                        AFont.setFamily(p->FontName);
                }
            } else {
                AFont = PrintSettings.Font;
            }
        }
    }
    TExtStringGrid::GetCellPrintColor(ACol, ARow, AState, ABrush, AFont, AFontColor);
}

void TExtColumnGrid::GetCellBorder(int ACol, int ARow, TCellBorderPen& APen, TCellBorders& Borders)
{
    if (const TGridColumnItem* item = GetItem(ACol);
        item && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = item->Borders();
        APen = item->BorderPen();
    }
    TExtStringGrid::GetCellBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::GetCellPrintBorder(int ACol, int ARow, TCellBorderPen& APen,
                                        TCellBorders& Borders)
{
    if (const TGridColumnItem* item = GetItem(ACol);
        item && item->PrintBorderCustom() && ACol >= FixedCols() && ARow >= FixedRows()) {
        Borders = item->PrintBorders();
        APen = item->PrintBorderPen();
    }
    TExtStringGrid::GetCellPrintBorder(ACol, ARow, APen, Borders);
}

void TExtColumnGrid::GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign)
{
    if (const TGridColumnItem* item = GetItem(ACol)) {
        HAlign = ARow < FixedRows() ? item->HeaderAlignment() : item->Alignment();
        if (const TCellProperties* p = store().GetGridObject(ACol, ARow))
            HAlign = p->Alignment;
    }
    TExtStringGrid::GetCellAlignment(ACol, ARow, HAlign, VAlign);
}

void TExtColumnGrid::GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix)
{
    if (const TGridColumnItem* item = GetItem(ACol)) {
        AStyle = item->SortStyle();
        aPrefix = item->SortPrefix();
        aSuffix = item->SortSuffix();
    }
    TExtStringGrid::GetCellFormat(ACol, AStyle, aPrefix, aSuffix);
}

void TExtColumnGrid::GetCellEditor(int ACol, int ARow, TEditorType& AEditor)
{
    if (const TGridColumnItem* item = GetItem(ACol);
        item && ACol >= FixedCols() && ARow >= FixedRows()) {
        AEditor = item->Editor();
        loadColumnEditor(*item);
        ControlLook.DropDownCount = item->DropDownCount();
    }
    // A column's FloatFormat is not copied into the grid's FloatFormat here: the grid kept it
    // afterwards and formatted the cells of other columns with it. Formats stay per column.
    TExtStringGrid::GetCellEditor(ACol, ARow, AEditor);
}

void TExtColumnGrid::IsFixedCell(int ACol, int ARow, bool& IsFixed)
{
    // ACol is a real column (the string grid converts before it asks); the item is looked up
    // by it directly. Mapping it once more picked another column's item whenever a hidden
    // column lay to its left.
    if (const TGridColumnItem* item = GetItem(ACol);
        item && ACol >= FixedCols() && ARow >= FixedRows())
        IsFixed = item->Fixed();
    TExtStringGrid::IsFixedCell(ACol, ARow, IsFixed);
}

void TExtColumnGrid::QueryCellEditable(int ACol, int ARow, bool& CanEdit)
{
    CanEdit = false;
    if (const TGridColumnItem* item = GetItem(ACol);
        item && ACol >= FixedCols() && ARow >= FixedRows())
        CanEdit = !(item->ReadOnly() || item->Fixed());
    const QPoint b = store().BaseCell(ACol, ARow);
    if (const TCellProperties* p = store().GetGridObject(b.x(), b.y()); p && CanEdit)
        CanEdit = !p->ReadOnly;
    DoCanEditCell(b.x(), b.y(), CanEdit);
}

void TExtColumnGrid::IsPasswordCell(int ACol, int ARow, bool& IsPassword)
{
    if (const TGridColumnItem* item = GetItem(ACol))
        IsPassword = item->Password();
    TExtStringGrid::IsPasswordCell(ACol, ARow, IsPassword);
}

bool TExtColumnGrid::DoHasComboBox(int ACol, int ARow)
{
    bool has = false;
    if (const TGridColumnItem* item = GetItem(ACol);
        item && ACol >= FixedCols() && ARow >= FixedRows())
        has = item->Editor() == TEditorType::edComboEdit
              || item->Editor() == TEditorType::edComboList;
    if (OnHasComboBox)
        OnHasComboBox(this, ACol, ARow, has);
    return has;
}

void TExtColumnGrid::GetCheckTrue(int ACol, int ARow, QString& Value)
{
    TExtStringGrid::GetCheckTrue(ACol, ARow, Value);
    if (const TGridColumnItem* item = GetItem(ACol); item && inBody(ACol, ARow))
        Value = item->CheckTrue();
}

void TExtColumnGrid::GetCheckFalse(int ACol, int ARow, QString& Value)
{
    TExtStringGrid::GetCheckFalse(ACol, ARow, Value);
    if (const TGridColumnItem* item = GetItem(ACol); item && inBody(ACol, ARow))
        Value = item->CheckFalse();
}

QString TExtColumnGrid::GetFormattedCell(int ACol, int ARow)
{
    const TGridColumnItem* item = GetItem(ACol);
    if (!item || item->FloatFormat().isEmpty())
        return TExtStringGrid::GetFormattedCell(ACol, ARow);
    const QString text = GetCellEx(ACol, ARow);
    const int kind = ClassifyNumberText(text.trimmed());
    if (kind == nkNotANumber)
        return text;
    const CellFloat value = GetFloats(ACol, ARow);
    if (!value.ok)
        return text;
    return FormatFloatPattern(item->FloatFormat(), value.value).value_or(text);
}

int TExtColumnGrid::GetEditLimit()
{
    const int c = Col();
    if (c < Columns().Count() && c >= FixedCols())
        if (const TGridColumnItem* item = GetItem(RealColIndex(c)))
            return item->EditLength();
    return TExtStringGrid::GetEditLimit();
}

QString TExtColumnGrid::GetEditMask(int ACol, int ARow)
{
    QString mask;
    if (ACol < Columns().Count() && ACol >= FixedCols())
        if (const TGridColumnItem* item = GetItem(RealColIndex(ACol)))
            mask = item->EditMask();
    const QString own = TExtStringGrid::GetEditMask(ACol, ARow);
    return own.isEmpty() ? mask : own;
}

TCellGraphic* TExtColumnGrid::sharedGraphic(int c, int r) const
{
    if (isDestroying() || !FColumnCollection)
        return nullptr;
    const TGridColumnItem* item = GetItem(c);
    if (!item || item->Editor() != TEditorType::edDataCheckBox || !inBody(c, r))
        return nullptr;
    // A graphic of the cell's own wins over the column's check box.
    if (ownGraphic(c, r))
        return nullptr;
    FCellGraphic.CellType = ctVirtCheckBox;
    FCellGraphic.CellTransparent = ControlLook.ControlStyle() == TControlStyle::csFlat;
    return &FCellGraphic;
}

void TExtColumnGrid::loadColumnEditor(const TGridColumnItem& item)
{
    // The open combo keeps its list: reloading it while it edits a cell would drop the
    // user's choice before the commit takes it.
    if (comboEditing())
        return;
    ClearComboString();
    TGridCombo* combo = EditCombo();
    const QSignalBlocker quiet(combo);
    combo->addItems(item.ComboItems());
    combo->setDropDownCount(item.DropDownCount());
}

// ----- sizes -----

void TExtColumnGrid::DoUpdateColumnSize(int ACol, int& AWidth)
{
    // ACol is a display column (from the pointer or the sizing code); the limits are those of
    // the column shown there.
    if (ACol >= 0 && ACol < TExtStringGrid::ColCount())
        if (const TGridColumnItem* item = GetItem(RealColIndex(ACol))) {
            if (item->MinSize() > 0)
                AWidth = std::max(AWidth, item->MinSize());
            if (item->MaxSize() > 0)
                AWidth = std::min(AWidth, item->MaxSize());
        }
    TExtStringGrid::DoUpdateColumnSize(ACol, AWidth);
}

void TExtColumnGrid::DoUpdateAutoColumnSize(int ACol, int& AWidth)
{
    if (ACol >= 0 && ACol < TExtStringGrid::ColCount())
        if (const TGridColumnItem* item = GetItem(RealColIndex(ACol))) {
            if (item->AutoMinSize() > 0)
                AWidth = std::max(AWidth, item->AutoMinSize());
            if (item->AutoMaxSize() > 0)
                AWidth = std::min(AWidth, item->AutoMaxSize());
        }
    TExtStringGrid::DoUpdateAutoColumnSize(ACol, AWidth);
}

void TExtColumnGrid::ColWidthsChanged()
{
    TExtStringGrid::ColWidthsChanged();
    if (isDestroying() || !FColumnCollection)
        return;
    for (int c = 0; c < TExtStringGrid::ColCount(); ++c)
        if (TGridColumnItem* item = GetItem(RealColIndex(c)))
            item->FWidth = ColWidths(c);
}

}  // namespace zfw
