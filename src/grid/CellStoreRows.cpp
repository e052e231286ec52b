// Inserting and deleting whole rows of the cell store.

#include "grid/CellStore.h"

#include <algorithm>

namespace zfw {

bool CellStore::InsertRowsAt(int ARow, int Count)
{
    if (ARow < 0 || ARow > m_rowCount || Count <= 0)
        return false;
    // An area reaching from above ARow into it would be torn apart by the new rows.
    splitAreasAcross(ARow);
    // Hidden rows after the insertion point stay after it: their real index grows.
    const int real = ARow < m_rowCount ? RealRowIndex(ARow) : TotalRowCount();
    for (TGridItem& item : m_hiddenRows)
        if (item.Idx >= real)
            item.Idx += Count;
    if (m_rows.size() < std::size_t(ARow))
        m_rows.resize(std::size_t(ARow));
    std::vector<Row> fresh(static_cast<std::size_t>(Count));
    for (Row& r : fresh)
        r.height = m_defaultRowHeight;
    m_rows.insert(m_rows.begin() + ARow, std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    m_rowCount += Count;
    m_normalRowCount = m_rowCount;
    m_largestRowCount = std::max(m_largestRowCount, m_rowCount);
    renumberOwners(ARow);
    layoutFrom(ARow);
    return true;
}

bool CellStore::DeleteRowsAt(int ARow, int Count)
{
    if (ARow < 0 || ARow >= m_rowCount || Count <= 0)
        return false;
    Count = std::min(Count, m_rowCount - ARow);
    const int last = ARow + Count - 1;
    // Areas reaching into the removed rows lose part of themselves: split them first.
    splitAreasInRows(ARow, last);
    // An area below the removed rows whose base lies above them was split with them; one
    // that merely starts below moves up whole.
    std::vector<int> removedReal;
    removedReal.reserve(std::size_t(Count));
    for (int r = ARow; r <= last; ++r) {
        removedReal.push_back(RealRowIndex(r));
        for (Cell& cell : m_rows[std::size_t(r)].cells)
            freeProperties(cell.props);
    }
    // Each hidden row moves up by the removed rows that stood before it.
    for (TGridItem& item : m_hiddenRows)
        item.Idx -= int(std::lower_bound(removedReal.begin(), removedReal.end(), item.Idx)
                        - removedReal.begin());
    m_rows.erase(m_rows.begin() + ARow, m_rows.begin() + ARow + Count);
    m_rowCount -= Count;
    m_normalRowCount = m_rowCount;
    clampFixed();
    renumberOwners(ARow);
    layoutFrom(ARow);
    return true;
}

}  // namespace zfw

namespace zfw {

bool CellStore::InsertColsAt(int DCol, int Count)
{
    if (DCol < 0 || DCol > m_colCount || Count <= 0)
        return false;
    // The real column the new ones go before; at the end, after every hidden column.
    const int ACol = DCol < m_colCount ? RealColIndex(DCol) : TotalColCount();
    if (m_numHiddenColumns > 0) {
        for (int c = std::max(0, kMaxHideCols - Count); c < kMaxHideCols; ++c)
            if (m_colHidden[std::size_t(c)])
                return false;
    }
    // An area reaching from the left across the insertion point would be torn apart.
    if (ACol > 0) {
        for (int r = 0; r < int(m_rows.size()); ++r) {
            const auto& cells = m_rows[std::size_t(r)].cells;
            if (ACol < int(cells.size()) && cells[std::size_t(ACol)].props
                && IsMergedNonBaseCell(ACol, r) && BaseCell(ACol, r).x() < ACol)
                splitArea(ACol, r, false);
        }
        // Hidden rows keep their areas: those crossing the insertion point are split too.
        splitHiddenAreasInCols([ACol](int c, const TCellProperties& p) {
            return c == ACol && !p.IsBaseCell && p.CellSpanX > 0;
        });
    }
    auto widen = [&](std::vector<Cell>& cells) {
        if (int(cells.size()) <= ACol)
            return;
        std::vector<Cell> fresh(static_cast<std::size_t>(Count));
        cells.insert(cells.begin() + ACol, std::make_move_iterator(fresh.begin()),
                     std::make_move_iterator(fresh.end()));
    };
    for (Row& row : m_rows)
        widen(row.cells);
    for (TGridItem& item : m_hiddenRows)
        widen(item.Items);
    for (int c = kMaxHideCols - 1; c >= ACol + Count; --c) {
        m_colHidden[std::size_t(c)] = m_colHidden[std::size_t(c - Count)];
        m_savedWidths[std::size_t(c)] = m_savedWidths[std::size_t(c - Count)];
    }
    for (int c = ACol; c < std::min(ACol + Count, kMaxHideCols); ++c) {
        m_colHidden[std::size_t(c)] = false;
        m_savedWidths[std::size_t(c)] = 0;
    }
    m_colWidths.insert(m_colWidths.begin() + DCol, std::size_t(Count), m_defaultColWidth);
    m_colCount += Count;
    m_largestColCount = std::max(m_largestColCount, m_colCount);
    renumberOwners(0);
    layoutFrom(0);
    return true;
}

bool CellStore::DeleteColsAt(int DCol, int Count)
{
    if (DCol < 0 || DCol >= m_colCount || Count <= 0)
        return false;
    Count = std::min(Count, m_colCount - DCol);
    std::vector<int> reals;
    for (int d = DCol; d < DCol + Count; ++d)
        reals.push_back(RealColIndex(d));
    // Areas reaching into a removed column lose part of themselves: split them first.
    for (int r = 0; r < int(m_rows.size()); ++r) {
        for (int a : reals) {
            const auto& cells = m_rows[std::size_t(r)].cells;
            if (a < int(cells.size()) && cells[std::size_t(a)].props
                && cells[std::size_t(a)].props->CellSpanX != -1)
                splitArea(a, r, false);
        }
    }
    splitHiddenAreasInCols([&reals](int c, const TCellProperties&) {
        return std::find(reals.begin(), reals.end(), c) != reals.end();
    });
    auto narrow = [&](std::vector<Cell>& cells) {
        for (auto it = reals.rbegin(); it != reals.rend(); ++it) {
            if (*it < int(cells.size())) {
                freeProperties(cells[std::size_t(*it)].props);
                cells.erase(cells.begin() + *it);
            }
        }
    };
    for (Row& row : m_rows)
        narrow(row.cells);
    for (TGridItem& item : m_hiddenRows)
        narrow(item.Items);
    for (auto it = reals.rbegin(); it != reals.rend(); ++it) {
        if (*it >= kMaxHideCols)
            continue;
        for (int c = *it; c < kMaxHideCols; ++c) {
            m_colHidden[std::size_t(c)] = m_colHidden[std::size_t(c + 1)];
            m_savedWidths[std::size_t(c)] = m_savedWidths[std::size_t(c + 1)];
        }
        m_colHidden[std::size_t(kMaxHideCols)] = false;
    }
    m_colWidths.erase(m_colWidths.begin() + DCol, m_colWidths.begin() + DCol + Count);
    m_colCount -= Count;
    clampFixed();
    renumberOwners(0);
    layoutFrom(0);
    return true;
}

}  // namespace zfw

namespace zfw {

bool CellStore::MoveRowsAt(int FromRow, int ToRow, int Count)
{
    if (Count <= 0 || FromRow < 0 || FromRow + Count > m_rowCount || ToRow < 0
        || ToRow + Count > m_rowCount || FromRow == ToRow)
        return false;
    const int first = std::min(FromRow, ToRow);
    const int last = std::max(FromRow, ToRow) + Count - 1;
    splitAreasInRows(first, last);
    auto b = m_rows.begin();
    if (FromRow < ToRow)
        std::rotate(b + FromRow, b + FromRow + Count, b + ToRow + Count);
    else
        std::rotate(b + ToRow, b + FromRow, b + FromRow + Count);
    renumberOwners(first);
    layoutFrom(first);
    return true;
}

bool CellStore::MoveColAt(int FromCol, int ToCol)
{
    if (FromCol < 0 || ToCol < 0 || FromCol >= m_colCount || ToCol >= m_colCount
        || FromCol == ToCol)
        return false;
    const int aFrom = RealColIndex(FromCol);
    const int aTo = RealColIndex(ToCol);
    const int first = std::min(aFrom, aTo);
    const int last = std::max(aFrom, aTo);
    for (int r = 0; r < int(m_rows.size()); ++r) {
        for (int c = first; c <= last; ++c) {
            const auto& cells = m_rows[std::size_t(r)].cells;
            if (c < int(cells.size()) && cells[std::size_t(c)].props
                && cells[std::size_t(c)].props->CellSpanX != -1)
                splitArea(c, r, false);
        }
    }
    splitHiddenAreasInCols(
        [first, last](int c, const TCellProperties&) { return c >= first && c <= last; });
    // One real column moves from aFrom to aTo; the ones between, hidden ones included, shift
    // by one towards the gap and keep their hidden state.
    auto move = [&](auto begin) {
        if (aFrom < aTo)
            std::rotate(begin + aFrom, begin + aFrom + 1, begin + aTo + 1);
        else
            std::rotate(begin + aTo, begin + aFrom, begin + aFrom + 1);
    };
    auto moveCells = [&](std::vector<Cell>& cells) {
        if (int(cells.size()) <= last)
            cells.resize(std::size_t(last + 1));
        move(cells.begin());
    };
    for (Row& row : m_rows)
        moveCells(row.cells);
    for (TGridItem& item : m_hiddenRows)
        moveCells(item.Items);
    if (last < kMaxHideCols) {
        move(m_colHidden.begin());
        move(m_savedWidths.begin());
    }
    auto w = m_colWidths.begin();
    if (FromCol < ToCol)
        std::rotate(w + FromCol, w + FromCol + 1, w + ToCol + 1);
    else
        std::rotate(w + ToCol, w + FromCol, w + FromCol + 1);
    renumberOwners(0);
    layoutFrom(0);
    return true;
}

}  // namespace zfw
