#include "grid/CellStore.h"

#include "grid/ExtUtil.h"

#include <algorithm>

namespace zfw {

CellStore::CellStore(int ColCount, int RowCount, GraphicDeleter freeGraphic)
    : m_freeGraphic(std::move(freeGraphic))
{
    SetColCount(ColCount);
    SetRowCount(RowCount);
    m_fixedRows = 1;
    m_fixedCols = 1;
    m_minFixedRows = 1;
    m_minFixedCols = 1;
    m_fixedRowHeight = m_defaultRowHeight;
    clampFixed();
}

CellStore::~CellStore()
{
    for (Row& row : m_rows)
        for (Cell& cell : row.cells)
            freeProperties(cell.props);
    for (TGridItem& item : m_hiddenRows)
        for (Cell& cell : item.Items)
            freeProperties(cell.props);
}

const CellStore::Cell* CellStore::cellAt(int ACol, int ARow) const
{
    if (ARow < 0 || ACol < 0 || std::size_t(ARow) >= m_rows.size())
        return nullptr;
    const Row& row = m_rows[std::size_t(ARow)];
    if (std::size_t(ACol) >= row.cells.size())
        return nullptr;
    return &row.cells[std::size_t(ACol)];
}

int CellStore::storeColLimit() const { return std::max({TotalColCount(), m_largestColCount, 1}); }

int CellStore::storeRowLimit() const
{
    return std::max({m_rowCount, m_largestRowCount, int(m_rows.size())});
}

CellStore::Cell* CellStore::cellFor(int ACol, int ARow)
{
    if (ARow < 0 || ACol < 0 || ACol >= storeColLimit() || ARow >= storeRowLimit())
        return nullptr;
    if (std::size_t(ARow) >= m_rows.size()) {
        const std::size_t old = m_rows.size();
        m_rows.resize(std::size_t(ARow) + 1);
        for (std::size_t i = old; i < m_rows.size(); ++i)
            m_rows[i].height = m_defaultRowHeight;
    }
    Row& row = m_rows[std::size_t(ARow)];
    // A row that gets its first cell usually gets the others soon: one allocation for all.
    if (std::size_t(ACol) >= row.cells.size())
        row.cells.resize(std::size_t(std::max(ACol + 1, TotalColCount())));
    return &row.cells[std::size_t(ACol)];
}

void CellStore::repaintCell(int ACol, int ARow)
{
    if (m_listener)
        m_listener->cellChanged(ACol, ARow);
}

void CellStore::layoutFrom(int FirstRow)
{
    if (m_listener)
        m_listener->layoutChanged(FirstRow);
}

void CellStore::clampFixed()
{
    m_fixedRows = std::clamp(m_fixedRows, 0, std::max(0, m_rowCount - 1));
    m_fixedCols = std::clamp(m_fixedCols, 0, std::max(0, m_colCount - 1));
}

void CellStore::setRowCountRaw(int Value)
{
    const int old = m_rowCount;
    if (m_rows.size() < std::size_t(Value))
        m_rows.resize(std::size_t(Value));
    // Rows coming into the count keep their cells but get the default height, as new rows do.
    for (int r = old; r < Value; ++r)
        m_rows[std::size_t(r)].height = m_defaultRowHeight;
    m_rowCount = Value;
    clampFixed();
}

void CellStore::SetRowCount(int Value)
{
    Value = std::max(0, Value);
    const int old = m_rowCount;
    setRowCountRaw(Value);
    if (m_fixedRowAlways && m_minFixedRows < m_rowCount)
        SetFixedRows(m_minFixedRows);
    m_largestRowCount = std::max(m_largestRowCount, Value);
    m_normalRowCount = Value;
    // Rows that stay keep their heights; rows coming in get the default one.
    layoutFrom(std::min(old, Value));
}

void CellStore::SetColCount(int Value)
{
    Value = std::max(0, Value);
    m_colWidths.resize(std::size_t(Value), m_defaultColWidth);
    m_colCount = Value;
    clampFixed();
    if (m_fixedColAlways && m_minFixedCols < m_colCount)
        SetFixedCols(m_minFixedCols);
    m_largestColCount = std::max(m_largestColCount, Value);
    layoutFrom(m_rowCount);
}

int CellStore::FixedRows() const
{
    return (m_fixedRows == 0 && m_fixedRowAlways) ? 1 : m_fixedRows;
}

int CellStore::FixedCols() const
{
    return (m_fixedCols == 0 && m_fixedColAlways) ? 1 : m_fixedCols;
}

void CellStore::SetFixedRows(int Value)
{
    Value = std::max(0, Value);
    // A grid keeps at least one scrollable row: a request beyond that is applied as far as the
    // rows allow and, under FixedRowAlways, completed when the rows grow.
    m_fixedRows = std::min(Value, std::max(0, m_rowCount - 1));
    if (!m_loading)
        m_minFixedRows = Value;
    layoutFrom(m_rowCount);
}

void CellStore::SetFixedCols(int Value)
{
    Value = std::max(0, Value);
    m_fixedCols = std::min(Value, std::max(0, m_colCount - 1));
    if (!m_loading)
        m_minFixedCols = Value;
    layoutFrom(m_rowCount);
}

void CellStore::SetDefaultColWidth(int Value)
{
    m_defaultColWidth = std::max(0, Value);
    std::fill(m_colWidths.begin(), m_colWidths.end(), m_defaultColWidth);
    layoutFrom(m_rowCount);
}

void CellStore::SetDefaultRowHeight(int Value)
{
    m_defaultRowHeight = std::max(0, Value);
    for (int r = 0; r < m_rowCount; ++r)
        m_rows[std::size_t(r)].height = m_defaultRowHeight;
    layoutFrom(0);
}

int CellStore::ColWidths(int DCol) const
{
    if (DCol < 0 || DCol >= m_colCount)
        return 0;
    return m_colWidths[std::size_t(DCol)];
}

void CellStore::SetColWidths(int DCol, int Width)
{
    if (DCol < 0 || DCol >= m_colCount)
        return;
    m_colWidths[std::size_t(DCol)] = std::max(0, Width);
    if (m_listener)
        m_listener->colWidthChanged(DCol);
}

int CellStore::RowHeights(int ARow) const
{
    if (ARow < 0 || ARow >= m_rowCount)
        return 0;
    return m_rows[std::size_t(ARow)].height;
}

void CellStore::SetRowHeights(int ARow, int Height)
{
    if (ARow < 0 || ARow >= m_rowCount)
        return;
    m_rows[std::size_t(ARow)].height = std::max(0, Height);
    if (m_listener)
        m_listener->rowHeightChanged(ARow);
}

void CellStore::SetFixedColWidth(int Value)
{
    if (m_loading || Value == m_defaultColWidth)
        return;
    for (int d = 0; d < m_fixedCols; ++d)
        m_colWidths[std::size_t(d)] = std::max(0, Value);
    layoutFrom(m_rowCount);
}

void CellStore::SetFixedRowHeight(int Value)
{
    m_fixedRowHeight = Value;
    if (m_loading)
        return;
    if (Value == m_defaultRowHeight) {
        SetDefaultRowHeight(Value);
        return;
    }
    // Only the fixed rows change: the rows below need no look.
    for (int r = 0; r < m_fixedRows; ++r) {
        m_rows[std::size_t(r)].height = std::max(0, Value);
        if (m_listener)
            m_listener->rowHeightChanged(r);
    }
}

void CellStore::SetColumnHeaders(const QStringList& Value)
{
    m_columnHeaders = Value;
    if (FixedRows() > 0)
        ClearColumnHeaders();
    ShowColumnHeaders();
}

void CellStore::SetRowHeaders(const QStringList& Value)
{
    m_rowHeaders = Value;
    ShowRowHeaders();
}

void CellStore::ClearColumnHeaders()
{
    // Hidden columns carry headers too (ShowColumnHeaders writes them), so clearing covers
    // every real column; clearing only the display count left stale headers in hidden ones.
    for (int c = 0; c < TotalColCount(); ++c)
        SetCellEx(c, 0, QString());
}

void CellStore::ShowColumnHeaders()
{
    if (FixedRows() <= 0)
        return;
    const int n = std::min(int(m_columnHeaders.size()), TotalColCount());
    for (int c = 0; c < n; ++c)
        SetCellEx(c, 0, BackslashNToCR(m_columnHeaders[c]));
}

void CellStore::ClearRowHeaders()
{
    for (int r = 0; r < m_rowCount; ++r)
        SetCellEx(0, r, QString());
}

void CellStore::ShowRowHeaders()
{
    if (FixedCols() <= 0)
        return;
    const int n = std::min(int(m_rowHeaders.size()), m_rowCount);
    for (int r = 0; r < n; ++r)
        SetCellEx(0, r, BackslashNToCR(m_rowHeaders[r]));
}

QString CellStore::GetGridCell(int ACol, int ARow) const
{
    const Cell* cell = cellAt(ACol, ARow);
    return cell ? cell->text : QString();
}

bool CellStore::SetGridCell(int ACol, int ARow, const QString& Value)
{
    if (Value.isEmpty() && !cellAt(ACol, ARow))
        return ACol >= 0 && ARow >= 0 && ACol < storeColLimit() && ARow < storeRowLimit();
    Cell* cell = cellFor(ACol, ARow);
    if (!cell)
        return false;
    cell->text = Value;
    return true;
}

QString CellStore::GetCellEx(int ACol, int ARow) const
{
    int bc = ACol;
    int br = ARow;
    if (HasCellProperties(ACol, ARow))
        cellAt(ACol, ARow)->props->GetBaseCell(ACol, ARow, bc, br);
    QString value = GetGridCell(bc, br);
    // The hooks see only cells of the grid: a stray index must not reach user code.
    if (br >= 0 && bc >= 0 && br < m_normalRowCount) {
        if (OnGetDisplText)
            OnGetDisplText(bc, br, value);
        if (OnGetDisplWideText) {
            QString wide = UnpackWideText(value);
            OnGetDisplWideText(bc, br, wide);
            value = PackWideText(wide);
        }
    }
    return value;
}

bool CellStore::SetCellEx(int ACol, int ARow, const QString& Value)
{
    bool ok;
    if (HasCellProperties(ACol, ARow)) {
        int bc = ACol;
        int br = ARow;
        cellAt(ACol, ARow)->props->GetBaseCell(ACol, ARow, bc, br);
        ok = SetGridCell(bc, br, Value);
        if (m_listener)
            m_listener->UpdateCellScrollBar(bc, br);
    } else {
        ok = SetGridCell(ACol, ARow, Value);
    }
    if (!ok)
        return false;
    repaintCell(ACol, ARow);
    if (m_hideLastRow && ARow == m_rowCount - 1 && m_listener)
        m_listener->LastRowChanged();
    return true;
}

bool CellStore::HasCellProperties(int ACol, int ARow) const
{
    if (!isValidCell(ACol, ARow))
        return false;
    const Cell* cell = cellAt(ACol, ARow);
    return cell && cell->props;
}

TCellProperties* CellStore::GetGridObject(int ACol, int ARow) const
{
    const Cell* cell = cellAt(ACol, ARow);
    return cell ? cell->props.get() : nullptr;
}

TCellProperties* CellStore::createProperties(int ACol, int ARow, Cell& cell)
{
    cell.props = std::make_unique<TCellProperties>(ACol, ARow);
    m_hasCellProps = true;
    TCellDefaults d = defaults;
    d.WW = m_wordWrap;
    if (GetDefaultVisualProperties)
        GetDefaultVisualProperties(ACol, ARow, d);
    TCellProperties& p = *cell.props;
    p.CalcType = TColumnCalcType::acNONE;
    p.Alignment = d.HA;
    p.VAlignment = d.VA;
    p.WordWrap = d.WW;
    p.FontName = d.FontName;
    p.FontSize = d.FontSize;
    p.FontStyle = d.FontStyle;
    p.FontColor = d.FontColor;
    p.BrushColor = d.BrushColor;
    p.BrushColorTo = d.ColorTo;
    p.GradientDirection = d.GD;
    return &p;
}

TCellProperties* CellStore::GetCellProperties(int ACol, int ARow)
{
    if (!isValidCell(ACol, ARow))
        return nullptr;
    Cell* cell = cellFor(ACol, ARow);
    if (!cell)
        return nullptr;
    if (cell->props)
        return cell->props.get();
    return createProperties(ACol, ARow, *cell);
}

void CellStore::freeProperties(std::unique_ptr<TCellProperties>& props)
{
    if (!props)
        return;
    if (props->FGraphicObject && m_freeGraphic)
        m_freeGraphic(props->FGraphicObject);
    props.reset();
}

bool CellStore::SetCellProperties(int ACol, int ARow, std::unique_ptr<TCellProperties> Value)
{
    if (!isValidCell(ACol, ARow))
        return false;
    Cell* cell = cellFor(ACol, ARow);
    if (!cell)
        return false;
    freeProperties(cell->props);
    cell->props = std::move(Value);
    if (cell->props) {
        // The owner fields name the cell that the property writers repaint.
        cell->props->OwnerCol = ACol;
        cell->props->OwnerRow = ARow;
        m_hasCellProps = true;
    }
    return true;
}

std::uintptr_t CellStore::GetObjectEx(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) ? cellAt(ACol, ARow)->props->CellObject : 0;
}

bool CellStore::SetObjectEx(int ACol, int ARow, std::uintptr_t Value)
{
    // The store keeps a cell's slot whatever its text, so no placeholder text is needed to
    // hold the entry of an empty cell.
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (!p)
        return false;
    p->CellObject = Value;
    return true;
}

TCellGraphic* CellStore::GetGraphicObjectEx(int ACol, int ARow) const
{
    return HasCellProperties(ACol, ARow) ? cellAt(ACol, ARow)->props->FGraphicObject : nullptr;
}

bool CellStore::SetGraphicObjectEx(int ACol, int ARow, TCellGraphic* Value)
{
    TCellProperties* p = GetCellProperties(ACol, ARow);
    if (!p)
        return false;
    p->FGraphicObject = Value;
    return true;
}

void CellStore::ClearCellEx(int ACol, int ARow)
{
    SetCellEx(ACol, ARow, QString());
    // Dropping the slot's pointer without freeing it would leak the properties: the store owns
    // them, so clearing the slot frees them (a merged area it belonged to is split first).
    FreeCellObject(ACol, ARow);
}

void CellStore::ClearColumnCells(int ACol)
{
    for (int r = 0; r < m_rowCount; ++r)
        ClearCellEx(ACol, r);
}

void CellStore::ClearRowCells(int ARow)
{
    for (int c = 0; c < m_colCount; ++c)
        ClearCellEx(c, ARow);
}

void CellStore::FreeCellObject(int ACol, int ARow)
{
    Cell* cell = const_cast<Cell*>(cellAt(ACol, ARow));
    if (!cell || !cell->props)
        return;
    // Freeing one cell of a merged area would leave the others pointing at a base without
    // properties: the area is split first.
    if (cell->props->CellSpanX != -1 || cell->props->CellSpanY != -1)
        splitArea(ACol, ARow, true);
    freeProperties(cell->props);
}

void CellStore::FreeCellObjects(int ACol1, int ARow1, int ACol2, int ARow2)
{
    if (!m_hasCellProps)
        return;
    const int r1 = std::max(0, ARow1);
    const int r2 = std::min(ARow2, int(m_rows.size()) - 1);
    for (int r = r1; r <= r2; ++r) {
        const int c1 = std::max(0, ACol1);
        const int c2 = std::min(ACol2, int(m_rows[std::size_t(r)].cells.size()) - 1);
        for (int c = c1; c <= c2; ++c)
            FreeCellObject(c, r);
    }
}

void GridUpdateLock::BeginUpdate()
{
    ++m_count;
    if (!m_redrawOff && m_target.windowExists && m_target.windowExists()) {
        if (m_target.setRedraw)
            m_target.setRedraw(false);
        m_redrawOff = true;
    }
}

void GridUpdateLock::StartUpdate() { ++m_count; }

void GridUpdateLock::EndUpdate()
{
    if (m_count > 0)
        --m_count;
    if (m_count == 0)
        release();
}

void GridUpdateLock::ResetUpdate()
{
    m_count = 0;
    release();
}

void GridUpdateLock::release()
{
    selectionChanged = false;
    if (m_redrawOff) {
        if (m_target.setRedraw)
            m_target.setRedraw(true);
        m_redrawOff = false;
    }
    if (m_target.invalidateAll)
        m_target.invalidateAll();
}

}  // namespace zfw
