#include "grid/CellStore.h"

#include "grid/ExtUtil.h"

#include <algorithm>
#include <limits>

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

// ---------------------------------------------------------------- store access

const CellStore::Cell* CellStore::cellAt(int ACol, int ARow) const
{
    if (ARow < 0 || ACol < 0 || std::size_t(ARow) >= m_rows.size())
        return nullptr;
    const Row& row = m_rows[std::size_t(ARow)];
    if (std::size_t(ACol) >= row.cells.size())
        return nullptr;
    return &row.cells[std::size_t(ACol)];
}

int CellStore::storeColLimit() const
{
    return std::max({TotalColCount(), m_largestColCount, 1});
}

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

void CellStore::repaintAll()
{
    if (m_listener)
        m_listener->gridChanged();
}

// ---------------------------------------------------------------- counts and sizes

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
    setRowCountRaw(Value);
    if (m_fixedRowAlways && m_minFixedRows < m_rowCount)
        SetFixedRows(m_minFixedRows);
    m_largestRowCount = std::max(m_largestRowCount, Value);
    m_normalRowCount = Value;
    repaintAll();
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
    repaintAll();
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
    repaintAll();
}

void CellStore::SetFixedCols(int Value)
{
    Value = std::max(0, Value);
    m_fixedCols = std::min(Value, std::max(0, m_colCount - 1));
    if (!m_loading)
        m_minFixedCols = Value;
    repaintAll();
}

void CellStore::SetDefaultColWidth(int Value)
{
    m_defaultColWidth = std::max(0, Value);
    std::fill(m_colWidths.begin(), m_colWidths.end(), m_defaultColWidth);
    repaintAll();
}

void CellStore::SetDefaultRowHeight(int Value)
{
    m_defaultRowHeight = std::max(0, Value);
    for (int r = 0; r < m_rowCount; ++r)
        m_rows[std::size_t(r)].height = m_defaultRowHeight;
    repaintAll();
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
    repaintAll();
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
    repaintAll();
}

void CellStore::SetFixedColWidth(int Value)
{
    if (m_loading || Value == m_defaultColWidth)
        return;
    for (int d = 0; d < m_fixedCols; ++d)
        m_colWidths[std::size_t(d)] = std::max(0, Value);
    repaintAll();
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
    for (int r = 0; r < m_fixedRows; ++r)
        m_rows[std::size_t(r)].height = std::max(0, Value);
    repaintAll();
}

// ---------------------------------------------------------------- headers

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

// ---------------------------------------------------------------- texts

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

// ---------------------------------------------------------------- cell properties

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

// ---------------------------------------------------------------- merged areas

void CellStore::splitArea(int ACol, int ARow, bool repaint)
{
    const Cell* cell = cellAt(ACol, ARow);
    if (!cell || !cell->props)
        return;
    int bc = ACol;
    int br = ARow;
    cell->props->GetBaseCell(ACol, ARow, bc, br);
    const Cell* base = cellAt(bc, br);
    if (!base || !base->props)
        return;
    const int sx = base->props->CellSpanX;
    const int sy = base->props->CellSpanY;
    if (sx < 0 || sy < 0)
        return;
    for (int c = bc; c <= bc + sx; ++c) {
        for (int r = br; r <= br + sy; ++r) {
            Cell* part = const_cast<Cell*>(cellAt(c, r));
            if (!part || !part->props)
                continue;
            part->props->IsBaseCell = true;
            part->props->CellSpanX = -1;
            part->props->CellSpanY = -1;
            if (repaint)
                repaintCell(c, r);
        }
    }
    --m_mergeCount;
}

bool CellStore::MergeCells(int ACol, int ARow, int SpanX, int SpanY)
{
    if (SpanX < 1 || SpanY < 1 || ACol < 0 || ARow < 0)
        return false;
    if (SpanX > TotalColCount() - ACol || SpanY > m_rowCount - ARow)
        return false;
    // An area laid over part of another would leave that other area's remaining cells
    // pointing at a base that no longer is one: overlapped areas are split first.
    for (int c = ACol; c < ACol + SpanX; ++c)
        for (int r = ARow; r < ARow + SpanY; ++r)
            if (const TCellProperties* p = GetGridObject(c, r); p && p->CellSpanX != -1)
                splitArea(c, r, true);
    for (int c = ACol; c < ACol + SpanX; ++c) {
        for (int r = ARow; r < ARow + SpanY; ++r) {
            TCellProperties* p = GetCellProperties(c, r);
            const bool isBase = c == ACol && r == ARow;
            p->IsBaseCell = isBase;
            p->CellSpanX = isBase ? SpanX - 1 : c - ACol;
            p->CellSpanY = isBase ? SpanY - 1 : r - ARow;
        }
    }
    ++m_mergeCount;
    for (int c = ACol; c < ACol + SpanX; ++c)
        for (int r = ARow; r < ARow + SpanY; ++r)
            repaintCell(c, r);
    return true;
}

void CellStore::SplitCells(int ACol, int ARow)
{
    splitArea(ACol, ARow, true);
}

QPoint CellStore::BaseCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {ACol, ARow};
    int bc = ACol;
    int br = ARow;
    cellAt(ACol, ARow)->props->GetBaseCell(ACol, ARow, bc, br);
    return {bc, br};
}

bool CellStore::IsBaseCell(int ACol, int ARow) const
{
    return !HasCellProperties(ACol, ARow) || cellAt(ACol, ARow)->props->IsBaseCell;
}

bool CellStore::IsMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const TCellProperties& p = *cellAt(ACol, ARow)->props;
    return p.CellSpanX > 0 || p.CellSpanY > 0;
}

bool CellStore::IsMergedNonBaseCell(int ACol, int ARow) const
{
    return IsMergedCell(ACol, ARow) && !IsBaseCell(ACol, ARow);
}

bool CellStore::IsXMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const QPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    return bp && bp->CellSpanX > 0;
}

bool CellStore::IsYMergedCell(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const QPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    return bp && bp->CellSpanY > 0;
}

QPoint CellStore::CellSpan(int ACol, int ARow) const
{
    if (!HasCellProperties(ACol, ARow))
        return {0, 0};
    const TCellProperties& p = *cellAt(ACol, ARow)->props;
    if (p.CellSpanX == -1 || p.CellSpanY == -1)
        return {0, 0};
    const QPoint b = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    if (!bp)
        return {0, 0};
    return {bp->CellSpanX, bp->CellSpanY};
}

QPoint CellStore::CellExt(int ACol, int ARow) const
{
    const QPoint span = CellSpan(ACol, ARow);
    if (span == QPoint(0, 0))
        return {0, 0};
    const QPoint b = BaseCell(ACol, ARow);
    return {b.x() + span.x() - ACol, b.y() + span.y() - ARow};
}

TCellRange CellStore::FullCell(int ACol, int ARow) const
{
    const QPoint b = BaseCell(ACol, ARow);
    const QPoint span = CellSpan(ACol, ARow);
    return {b.x(), b.y(), b.x() + span.x(), b.y() + span.y()};
}

int CellStore::MinRowSpan(int ARow) const
{
    int best = m_rowCount;
    for (int c = 0; c < TotalColCount(); ++c) {
        const int sy = CellSpan(c, ARow).y();
        if (sy > 0 && sy < best)
            best = sy;
    }
    return std::min(best, m_rowCount);
}

int CellStore::MaxRowSpan(int ARow) const
{
    int best = 0;
    for (int c = 0; c < TotalColCount(); ++c)
        best = std::max(best, CellSpan(c, ARow).y());
    return best;
}

bool CellStore::RowSpanIdentical(int ARow1, int ARow2) const
{
    bool seen = false;
    for (int c = 0; c < TotalColCount(); ++c) {
        if (CellSpan(c, ARow1).y() > 0 && CellSpan(c, ARow2).y() > 0) {
            if (BaseCell(c, ARow1).y() != BaseCell(c, ARow2).y())
                return false;
            seen = true;
        }
    }
    return seen;
}

bool CellStore::ColSpanIdentical(int ACol1, int ACol2) const
{
    bool seen = false;
    for (int r = 0; r < m_rowCount; ++r) {
        const int s1 = CellSpan(ACol1, r).x();
        const int s2 = CellSpan(ACol2, r).x();
        if (s1 > 0 && s2 > 0) {
            if (BaseCell(ACol1, r).x() != BaseCell(ACol2, r).x())
                return false;
            seen = true;
        } else if (s1 != s2) {
            return false;
        }
    }
    return seen;
}

// ---------------------------------------------------------------- pixel rectangles

QRect CellStore::screenRect(int DCol, int ARow, const ViewOrigin& view) const
{
    auto spanX = [this](int from, int to) {  // widths of display columns from..to-1
        int sum = 0;
        for (int d = std::max(0, from); d < std::min(to, m_colCount); ++d)
            sum += m_colWidths[std::size_t(d)];
        return sum;
    };
    auto spanY = [this](int from, int to) {
        int sum = 0;
        for (int r = std::max(0, from); r < std::min(to, m_rowCount); ++r)
            sum += m_rows[std::size_t(r)].height;
        return sum;
    };
    int x;
    if (DCol < m_fixedCols)
        x = spanX(0, DCol);
    else if (DCol >= view.LeftCol)
        x = view.ScrollLeft + spanX(view.LeftCol, DCol);
    else
        x = view.ScrollLeft - spanX(DCol, view.LeftCol);
    int y;
    if (ARow < m_fixedRows)
        y = spanY(0, ARow);
    else if (ARow >= view.TopRow)
        y = view.ScrollTop + spanY(view.TopRow, ARow);
    else
        y = view.ScrollTop - spanY(ARow, view.TopRow);
    return QRect(x, y, ColWidths(DCol), RowHeights(ARow));
}

QRect CellStore::realCellRect(int ACol, int ARow, const ViewOrigin& view) const
{
    QRect r = screenRect(DisplColIndex(ACol), ARow, view);
    if (IsHiddenColumn(ACol))
        r.setWidth(0);
    return r;
}

bool CellStore::mergedArea(int ACol, int ARow, QPoint& base, QPoint& last) const
{
    if (!HasCellProperties(ACol, ARow))
        return false;
    const TCellProperties& p = *cellAt(ACol, ARow)->props;
    if (p.CellSpanX == -1 && p.CellSpanY == -1)
        return false;
    base = BaseCell(ACol, ARow);
    const TCellProperties* bp = GetGridObject(base.x(), base.y());
    if (!bp || bp->CellSpanX < 0 || bp->CellSpanY < 0)
        return false;
    last = {base.x() + bp->CellSpanX, base.y() + bp->CellSpanY};
    return true;
}

QRect CellStore::CellRect(int ACol, int ARow, const ViewOrigin& view) const
{
    QPoint base;
    QPoint last;
    if (!mergedArea(ACol, ARow, base, last))
        return realCellRect(ACol, ARow, view);
    // An empty rectangle would drop out of the union: a zero-width edge cell is widened by
    // one pixel towards the area.
    QRect a = realCellRect(base.x(), base.y(), view);
    if (a.width() == 0)
        a.setWidth(1);
    QRect b = realCellRect(last.x(), last.y(), view);
    if (b.width() == 0)
        b.setLeft(b.left() - 1);
    return a.united(b);
}

QSize CellStore::CellSize(int ACol, int ARow, const ViewOrigin& view) const
{
    QPoint base;
    QPoint last;
    if (!mergedArea(ACol, ARow, base, last))
        return realCellRect(ACol, ARow, view).size();
    const QRect a = realCellRect(base.x(), base.y(), view);
    const QRect b = realCellRect(last.x(), last.y(), view);
    return QSize(b.x() + b.width() - a.x(), b.y() + b.height() - a.y());
}

// ---------------------------------------------------------------- hidden columns

bool CellStore::IsHiddenColumn(int ColIndex) const
{
    return ColIndex >= 0 && ColIndex < kMaxHideCols && m_colHidden[std::size_t(ColIndex)];
}

int CellStore::RealColIndex(int DCol) const
{
    // A negative index stands for "no column" (a point outside the cells) and stays so.
    if (DCol < 0 || DCol >= kMaxHideCols || m_numHiddenColumns == 0)
        return DCol;
    int visible = 0;
    for (int j = 0; j < kMaxHideCols; ++j) {
        if (m_colHidden[std::size_t(j)])
            continue;
        if (visible == DCol)
            return j;
        ++visible;
    }
    return 0;
}

int CellStore::DisplColIndex(int ACol) const
{
    if (ACol < 0 || ACol >= kMaxHideCols || m_numHiddenColumns == 0)
        return ACol;
    int hidden = 0;
    for (int j = 0; j < ACol; ++j)
        if (m_colHidden[std::size_t(j)])
            ++hidden;
    return ACol - hidden;
}

namespace {
std::int16_t toSavedWidth(int w)
{
    return std::int16_t(std::clamp(w, 0, int(std::numeric_limits<std::int16_t>::max())));
}
}  // namespace

void CellStore::HideColumns(int FromCol, int ToCol)
{
    bool changed = false;
    for (int c = std::max(0, FromCol); c <= std::min(ToCol, kMaxHideCols - 1); ++c) {
        if (m_colHidden[std::size_t(c)] || c >= TotalColCount() || m_colCount <= 1)
            continue;
        const int d = DisplColIndex(c);
        m_savedWidths[std::size_t(c)] = toSavedWidth(ColWidths(d));
        m_colWidths.erase(m_colWidths.begin() + d);
        ++m_numHiddenColumns;
        m_colHidden[std::size_t(c)] = true;
        --m_colCount;
        clampFixed();
        if (m_fixedColAlways && m_minFixedCols < m_colCount)
            m_fixedCols = std::min(m_minFixedCols, m_colCount - 1);
        changed = true;
    }
    if (changed)
        repaintAll();
}

void CellStore::UnHideColumns(int FromCol, int ToCol)
{
    bool changed = false;
    for (int c = std::max(0, FromCol); c <= std::min(ToCol, kMaxHideCols - 1); ++c) {
        if (!m_colHidden[std::size_t(c)])
            continue;
        --m_numHiddenColumns;
        m_colHidden[std::size_t(c)] = false;
        ++m_colCount;
        const int d = std::min(DisplColIndex(c), int(m_colWidths.size()));
        m_colWidths.insert(m_colWidths.begin() + d, m_savedWidths[std::size_t(c)]);
        m_largestColCount = std::max(m_largestColCount, m_colCount);
        if (m_fixedColAlways && m_minFixedCols < m_colCount)
            m_fixedCols = std::min(m_minFixedCols, m_colCount - 1);
        changed = true;
    }
    if (changed)
        repaintAll();
}

int CellStore::AllColWidths(int ACol) const
{
    if (IsHiddenColumn(ACol))
        return m_savedWidths[std::size_t(ACol)];
    return ColWidths(DisplColIndex(ACol));
}

void CellStore::SetAllColWidths(int ACol, int Width)
{
    if (ACol < 0)
        return;
    if (ACol <= kMaxHideCols)
        m_savedWidths[std::size_t(ACol)] = toSavedWidth(Width);
    if (!IsHiddenColumn(ACol))
        SetColWidths(DisplColIndex(ACol), Width);
}

// ---------------------------------------------------------------- hidden rows

int CellStore::hiddenBefore(int RealRow) const
{
    const auto it = std::lower_bound(m_hiddenRows.begin(), m_hiddenRows.end(), RealRow,
                                     [](const TGridItem& item, int r) { return item.Idx < r; });
    return int(it - m_hiddenRows.begin());
}

bool CellStore::IsHiddenRow(int RowIndex) const
{
    const int i = hiddenBefore(RowIndex);
    return i < NumHiddenRows() && m_hiddenRows[std::size_t(i)].Idx == RowIndex;
}

int CellStore::DisplRowIndex(int RealRow) const
{
    return RealRow - hiddenBefore(RealRow);
}

int CellStore::RealRowIndex(int ARow) const
{
    if (ARow < 0 || m_hiddenRows.empty())
        return ARow;
    // Every hidden row at or before the candidate pushes it one further.
    int real = ARow;
    for (const TGridItem& item : m_hiddenRows) {
        if (item.Idx > real)
            break;
        ++real;
    }
    return real;
}

std::vector<QString> CellStore::hiddenRowTexts(int RowIndex) const
{
    std::vector<QString> texts;
    if (!IsHiddenRow(RowIndex))
        return texts;
    for (const Cell& cell : m_hiddenRows[std::size_t(hiddenBefore(RowIndex))].Items)
        texts.push_back(cell.text);
    return texts;
}

void CellStore::HideRows(int FromRow, int ToRow)
{
    FromRow = std::max(0, FromRow);
    if (ToRow < FromRow)
        return;
    const int f = DisplRowIndex(FromRow);
    const int h = hiddenBefore(ToRow + 1) - hiddenBefore(FromRow);
    const int n = std::min(ToRow - FromRow + 1 - h, m_rowCount - f);
    if (n <= 0)
        return;

    // Rows leave the grid whole; a merged area that reaches into them cannot stay one.
    for (int r = f; r < f + n; ++r) {
        const Row& row = m_rows[std::size_t(r)];
        for (int c = 0; c < int(row.cells.size()); ++c)
            if (row.cells[std::size_t(c)].props && row.cells[std::size_t(c)].props->CellSpanX != -1)
                splitArea(c, r, false);
    }

    std::vector<TGridItem> moved;
    moved.reserve(std::size_t(n));
    int real = FromRow;
    for (int k = 0; k < n; ++k, ++real) {
        while (IsHiddenRow(real))
            ++real;
        Row& row = m_rows[std::size_t(f + k)];
        TGridItem item;
        item.Idx = real;
        item.Height = row.height;
        item.Items = std::move(row.cells);
        moved.push_back(std::move(item));
    }
    for (TGridItem& item : moved) {
        const int at = hiddenBefore(item.Idx);
        m_hiddenRows.insert(m_hiddenRows.begin() + at, std::move(item));
    }
    m_rows.erase(m_rows.begin() + f, m_rows.begin() + f + n);
    m_rowCount -= n;
    m_normalRowCount = m_rowCount;
    clampFixed();
    for (int r = f; r < int(m_rows.size()); ++r)
        for (Cell& cell : m_rows[std::size_t(r)].cells)
            if (cell.props)
                cell.props->OwnerRow = r;
    repaintAll();
}

void CellStore::UnHideRows(int FromRow, int ToRow)
{
    if (!IsHiddenRow(FromRow))
        return;
    int firstChanged = std::numeric_limits<int>::max();
    for (;;) {
        const int i = hiddenBefore(FromRow);
        if (i >= NumHiddenRows() || m_hiddenRows[std::size_t(i)].Idx > ToRow)
            break;
        TGridItem item = std::move(m_hiddenRows[std::size_t(i)]);
        m_hiddenRows.erase(m_hiddenRows.begin() + i);
        const int pos = item.Idx - i;
        if (m_rows.size() < std::size_t(pos))
            m_rows.resize(std::size_t(pos));
        Row row;
        row.cells = std::move(item.Items);
        row.height = item.Height;
        m_rows.insert(m_rows.begin() + pos, std::move(row));
        ++m_rowCount;
        firstChanged = std::min(firstChanged, pos);
    }
    m_normalRowCount = m_rowCount;
    m_largestRowCount = std::max(m_largestRowCount, m_rowCount);
    // Rows below the first restored one moved: their properties name their new place.
    for (int r = firstChanged; r < int(m_rows.size()); ++r) {
        auto& cells = m_rows[std::size_t(r)].cells;
        for (int c = 0; c < int(cells.size()); ++c) {
            if (TCellProperties* p = cells[std::size_t(c)].props.get()) {
                p->OwnerCol = c;
                p->OwnerRow = r;
            }
        }
    }
    repaintAll();
}

void CellStore::UnHideRowsAll()
{
    if (m_hiddenRows.empty())
        return;
    UnHideRows(m_hiddenRows.front().Idx, m_hiddenRows.back().Idx);
}

// ---------------------------------------------------------------- merged-area moves

QPoint CellStore::MoveToBaseCell(int Col, int Row) const
{
    const int ACol = RealColIndex(Col);
    if (!HasCellProperties(ACol, Row))
        return {Col, Row};
    const QPoint b = BaseCell(ACol, Row);
    return {DisplColIndex(b.x()), b.y()};
}

QPoint CellStore::mergedKeyPreMove(MoveKey Key, const NavState& s) const
{
    int col = s.Col;
    int row = s.Row;
    if (Key == MoveKey::PageDown) {
        if (m_hideLastRow && m_rowCount > 1
            && s.VisibleRowCount + s.TopRow - s.FixedRows == m_rowCount - 1)
            row = m_rowCount - 2;
        return {col, row};
    }
    const int ACol = RealColIndex(s.Col);
    if (!HasCellProperties(ACol, s.Row))
        return {col, row};
    const QPoint b = BaseCell(ACol, s.Row);
    const TCellProperties* bp = GetGridObject(b.x(), b.y());
    const int spanX = bp ? bp->CellSpanX : -1;
    const int sy = bp ? bp->CellSpanY : -1;
    // The area in display columns: from the base's display column to the last visible column
    // at or before the area's last real column.
    const int bx = DisplColIndex(b.x());
    const int sx = DisplColIndex(b.x() + spanX + 1) - 1 - bx;
    const int by = b.y();
    switch (Key) {
    case MoveKey::Left:
        if (bx < s.Col && s.Col > s.FixedCols && bx > 0)
            col = bx;
        break;
    case MoveKey::Up:
        if (by < s.Row && s.Row > s.FixedRows && by > 0)
            row = by;
        break;
    case MoveKey::Right:
        if (bx + sx >= s.Col && s.Col < m_colCount - 1 && bx < m_colCount - 1
            && bx + sx < m_colCount)
            col = bx + sx;
        break;
    case MoveKey::Down:
        if (by + sy >= s.Row && s.Row < m_rowCount - 1 && by < m_rowCount - 1)
            row = by + sy;
        break;
    default:
        break;
    }
    return {col, row};
}

int CellStore::wheelDownTopRow(const NavState& s) const
{
    if (m_hideLastRow && s.Row < m_rowCount - 1 && s.VisibleRowCount < s.Row - s.TopRow)
        return s.TopRow + 1;
    return s.TopRow;
}

// ---------------------------------------------------------------- consistency

bool CellStore::checkConsistency(QString* why) const
{
    auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    if (m_rows.size() < std::size_t(m_rowCount))
        return fail(QStringLiteral("fewer stored rows (%1) than RowCount (%2)")
                        .arg(m_rows.size()).arg(m_rowCount));
    if (m_colWidths.size() != std::size_t(m_colCount))
        return fail(QStringLiteral("%1 widths for %2 display columns")
                        .arg(m_colWidths.size()).arg(m_colCount));
    if (m_fixedRows < 0 || m_fixedRows > std::max(0, m_rowCount - 1))
        return fail(QStringLiteral("FixedRows %1 with RowCount %2").arg(m_fixedRows).arg(m_rowCount));
    if (m_fixedCols < 0 || m_fixedCols > std::max(0, m_colCount - 1))
        return fail(QStringLiteral("FixedCols %1 with ColCount %2").arg(m_fixedCols).arg(m_colCount));
    if (m_largestRowCount < m_rowCount || m_largestColCount < m_colCount)
        return fail(QStringLiteral("largest counts below the current counts"));
    const int hiddenFlags = int(std::count(m_colHidden.begin(), m_colHidden.end(), true));
    if (hiddenFlags != m_numHiddenColumns)
        return fail(QStringLiteral("%1 hidden column flags, NumHiddenColumns %2")
                        .arg(hiddenFlags).arg(m_numHiddenColumns));
    if (m_colHidden[kMaxHideCols])
        return fail(QStringLiteral("column %1 marked hidden").arg(kMaxHideCols));
    if (m_numHiddenColumns > 0 && m_colCount < 1)
        return fail(QStringLiteral("columns hidden with no display column left"));
    for (std::size_t i = 0; i < m_hiddenRows.size(); ++i) {
        if (m_hiddenRows[i].Idx < 0 || (i > 0 && m_hiddenRows[i - 1].Idx >= m_hiddenRows[i].Idx))
            return fail(QStringLiteral("hidden row store not sorted at item %1").arg(i));
    }
    for (int d = 0; d < m_colCount && d < kMaxHideCols - m_numHiddenColumns; ++d) {
        const int real = RealColIndex(d);
        if (IsHiddenColumn(real) || DisplColIndex(real) != d)
            return fail(QStringLiteral("display column %1 maps to real %2 and back to %3")
                            .arg(d).arg(real).arg(DisplColIndex(real)));
    }

    int bases = 0;
    bool anyProps = false;
    for (int r = 0; r < int(m_rows.size()); ++r) {
        const auto& cells = m_rows[std::size_t(r)].cells;
        for (int c = 0; c < int(cells.size()); ++c) {
            const TCellProperties* p = cells[std::size_t(c)].props.get();
            if (!p)
                continue;
            anyProps = true;
            const QString at = QStringLiteral("(%1,%2)").arg(c).arg(r);
            if (p->OwnerCol != c || p->OwnerRow != r)
                return fail(at + QStringLiteral(" owned by (%1,%2)").arg(p->OwnerCol).arg(p->OwnerRow));
            const bool noSpan = p->CellSpanX == -1 && p->CellSpanY == -1;
            if (!noSpan && (p->CellSpanX < 0 || p->CellSpanY < 0))
                return fail(at + QStringLiteral(" has spans %1,%2").arg(p->CellSpanX).arg(p->CellSpanY));
            if (p->IsBaseCell) {
                if (noSpan)
                    continue;
                ++bases;
                for (int i = 0; i <= p->CellSpanX; ++i) {
                    for (int j = 0; j <= p->CellSpanY; ++j) {
                        if (i == 0 && j == 0)
                            continue;
                        const TCellProperties* q = GetGridObject(c + i, r + j);
                        if (!q || q->IsBaseCell || q->CellSpanX != i || q->CellSpanY != j)
                            return fail(at + QStringLiteral(" area cell (%1,%2) does not point back")
                                                 .arg(c + i).arg(r + j));
                    }
                }
            } else {
                if (noSpan)
                    return fail(at + QStringLiteral(" is no base cell but has no spans"));
                const TCellProperties* b = GetGridObject(c - p->CellSpanX, r - p->CellSpanY);
                if (!b || !b->IsBaseCell || b->CellSpanX < p->CellSpanX || b->CellSpanY < p->CellSpanY)
                    return fail(at + QStringLiteral(" points to a base that does not cover it"));
            }
        }
    }
    if (bases != m_mergeCount)
        return fail(QStringLiteral("%1 merged areas, FMergeCount %2").arg(bases).arg(m_mergeCount));
    if (anyProps && !m_hasCellProps)
        return fail(QStringLiteral("properties exist but FHasCellProps is False"));
    return true;
}

// ---------------------------------------------------------------- update lock

void GridUpdateLock::BeginUpdate()
{
    ++m_count;
    if (!m_redrawOff && m_target.windowExists && m_target.windowExists()) {
        if (m_target.setRedraw)
            m_target.setRedraw(false);
        m_redrawOff = true;
    }
}

void GridUpdateLock::StartUpdate()
{
    ++m_count;
}

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
