#include "grid/FrameworkGridGeometry.h"

#include <algorithm>
#include <cstdlib>

namespace zfw {

namespace {

// One axis of the layout: the sizes, the fixed count, the scroll position and the client
// extent. Columns and rows share every rule, so they share this code.
struct Axis {
    const std::vector<int>& sizes;
    int fixed;
    int scroll;
    int client;

    int count() const { return static_cast<int>(sizes.size()); }

    int fixedExtent() const
    {
        int sum = 0;
        for (int i = 0; i < fixed && i < count(); ++i)
            sum += sizes[i];
        return sum;
    }

    int start(int index) const
    {
        int pos = 0;
        if (index < fixed) {
            for (int i = 0; i < index; ++i)
                pos += sizes[i];
            return pos;
        }
        pos = fixedExtent();
        if (index >= scroll) {
            for (int i = scroll; i < index; ++i)
                pos += sizes[i];
        } else {
            for (int i = index; i < scroll; ++i)
                pos -= sizes[i];
        }
        return pos;
    }

    int visibleCount() const
    {
        const int avail = client - fixedExtent();
        int used = 0;
        int n = 0;
        for (int i = scroll; i < count(); ++i) {
            if (used + sizes[i] > avail)
                break;
            used += sizes[i];
            ++n;
        }
        // Paging steps by this count: never 0 while something is left to show.
        if (n == 0 && scroll < count() && scroll >= fixed)
            n = 1;
        return n;
    }

    int lastPartlyVisible() const
    {
        int pos = fixedExtent();
        int last = fixed - 1;
        for (int i = scroll; i < count() && pos < client; ++i) {
            pos += sizes[i];
            last = i;
        }
        return last;
    }

    int maxScroll() const
    {
        if (count() <= fixed)
            return fixed;
        const int avail = client - fixedExtent();
        int used = 0;
        int i = count() - 1;
        while (i >= fixed && used + sizes[i] <= avail) {
            used += sizes[i];
            --i;
        }
        // i + 1 is the first of the trailing run that fits; when not even the last one fits
        // alone, the best is to start at the last one.
        return std::clamp(i + 1, fixed, count() - 1);
    }

    int hit(int p) const
    {
        if (p < 0 || p >= client)
            return -1;
        int pos = 0;
        for (int i = 0; i < fixed && i < count(); ++i) {
            if (p < pos + sizes[i])
                return i;
            pos += sizes[i];
        }
        for (int i = scroll; i < count() && pos < client; ++i) {
            if (p < pos + sizes[i])
                return i;
            pos += sizes[i];
        }
        return -1;
    }

    int scrollFor(int index) const
    {
        if (index < fixed || index >= count())
            return scroll;
        if (index < scroll)
            return index;
        if (start(index) + sizes[index] <= client)
            return scroll;
        const int avail = client - fixedExtent();
        int first = index;
        int used = sizes[index];
        while (first - 1 >= fixed && used + sizes[first - 1] <= avail) {
            used += sizes[first - 1];
            --first;
        }
        return std::max(first, scroll);
    }

    int fromThumb(int pos) const
    {
        const int range = maxScroll() - fixed;
        if (range <= 0)
            return fixed;
        pos = std::clamp(pos, 0, kGridThumbMax);
        return fixed + (pos * range + kGridThumbMax / 2) / kGridThumbMax;
    }

    int toThumb(int index) const
    {
        const int range = maxScroll() - fixed;
        if (range <= 0)
            return 0;
        const int off = std::clamp(index - fixed, 0, range);
        return (off * kGridThumbMax + range / 2) / range;
    }
};

int clampFixed(int n, int count) { return std::clamp(n, 0, std::max(0, count - 1)); }

}  // namespace

FrameworkGridGeometry::FrameworkGridGeometry()
    : m_colWidths(5, kDefaultColWidth), m_rowHeights(5, kDefaultRowHeight)
{
}

void FrameworkGridGeometry::SetColCount(int n)
{
    n = std::max(0, n);
    const int old = ColCount();
    m_colWidths.resize(static_cast<size_t>(n), m_defaultColWidth);
    if (m_fixedCols > 0 && m_fixedCols >= n)
        m_fixedCols = clampFixed(m_fixedCols, n);
    clampScroll();
    if (n < old)
        m_leftCol = std::min(m_leftCol, maxLeftCol());
}

void FrameworkGridGeometry::SetRowCount(int n)
{
    n = std::max(0, n);
    const int old = RowCount();
    m_rowHeights.resize(static_cast<size_t>(n), m_defaultRowHeight);
    if (m_fixedRows > 0 && m_fixedRows >= n)
        m_fixedRows = clampFixed(m_fixedRows, n);
    clampScroll();
    if (n < old)
        m_topRow = std::min(m_topRow, maxTopRow());
}

bool FrameworkGridGeometry::SetFixedCols(int n)
{
    const int c = clampFixed(n, ColCount());
    m_fixedCols = c;
    clampScroll();
    return c == n;
}

bool FrameworkGridGeometry::SetFixedRows(int n)
{
    const int c = clampFixed(n, RowCount());
    m_fixedRows = c;
    clampScroll();
    return c == n;
}

void FrameworkGridGeometry::SetDefaultColWidth(int w)
{
    m_defaultColWidth = std::max(0, w);
    std::fill(m_colWidths.begin(), m_colWidths.end(), m_defaultColWidth);
}

void FrameworkGridGeometry::SetDefaultRowHeight(int h)
{
    m_defaultRowHeight = std::max(0, h);
    std::fill(m_rowHeights.begin(), m_rowHeights.end(), m_defaultRowHeight);
}

int FrameworkGridGeometry::ColWidths(int col) const
{
    return col >= 0 && col < ColCount() ? m_colWidths[col] : 0;
}

int FrameworkGridGeometry::RowHeights(int row) const
{
    return row >= 0 && row < RowCount() ? m_rowHeights[row] : 0;
}

bool FrameworkGridGeometry::SetColWidths(int col, int w)
{
    if (col < 0 || col >= ColCount())
        return false;
    w = std::max(0, w);
    if (m_colWidths[col] == w)
        return false;
    m_colWidths[col] = w;
    return true;
}

bool FrameworkGridGeometry::SetRowHeights(int row, int h)
{
    if (row < 0 || row >= RowCount())
        return false;
    h = std::max(0, h);
    if (m_rowHeights[row] == h)
        return false;
    m_rowHeights[row] = h;
    return true;
}

bool FrameworkGridGeometry::SetTopRow(int row)
{
    const int r = std::clamp(row, m_fixedRows, std::max(m_fixedRows, RowCount() - 1));
    if (r == m_topRow)
        return false;
    m_topRow = r;
    return true;
}

bool FrameworkGridGeometry::SetLeftCol(int col)
{
    const int c = std::clamp(col, m_fixedCols, std::max(m_fixedCols, ColCount() - 1));
    if (c == m_leftCol)
        return false;
    m_leftCol = c;
    return true;
}

void FrameworkGridGeometry::setClientSize(int width, int height)
{
    m_clientWidth = std::max(0, width);
    m_clientHeight = std::max(0, height);
}

void FrameworkGridGeometry::clampScroll()
{
    m_topRow = std::clamp(m_topRow, m_fixedRows, std::max(m_fixedRows, RowCount() - 1));
    m_leftCol = std::clamp(m_leftCol, m_fixedCols, std::max(m_fixedCols, ColCount() - 1));
}

int FrameworkGridGeometry::fixedWidth() const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.fixedExtent();
}

int FrameworkGridGeometry::fixedHeight() const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.fixedExtent();
}

int FrameworkGridGeometry::totalWidth() const
{
    int sum = 0;
    for (int w : m_colWidths)
        sum += w;
    return sum;
}

int FrameworkGridGeometry::totalHeight() const
{
    int sum = 0;
    for (int h : m_rowHeights)
        sum += h;
    return sum;
}

int FrameworkGridGeometry::VisibleColCount() const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.visibleCount();
}

int FrameworkGridGeometry::VisibleRowCount() const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.visibleCount();
}

int FrameworkGridGeometry::lastPartlyVisibleCol() const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.lastPartlyVisible();
}

int FrameworkGridGeometry::lastPartlyVisibleRow() const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.lastPartlyVisible();
}

int FrameworkGridGeometry::maxLeftCol() const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.maxScroll();
}

int FrameworkGridGeometry::maxTopRow() const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.maxScroll();
}

int FrameworkGridGeometry::colLeft(int col) const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.start(col);
}

int FrameworkGridGeometry::rowTop(int row) const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.start(row);
}

TRect FrameworkGridGeometry::cellBounds(int col, int row) const
{
    const int x = colLeft(col);
    const int y = rowTop(row);
    return Bounds(x, y, ColWidths(col), RowHeights(row));
}

TRect FrameworkGridGeometry::CellRect(int col, int row) const
{
    if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount())
        return {};
    if ((col >= m_fixedCols && col < m_leftCol) || (row >= m_fixedRows && row < m_topRow))
        return {};
    const TRect r = cellBounds(col, row);
    if (r.Left >= m_clientWidth || r.Top >= m_clientHeight)
        return {};
    return r;
}

TGridCoord FrameworkGridGeometry::MouseToCell(int x, int y) const
{
    return {Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.hit(x),
            Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.hit(y)};
}

FrameworkGridSizing FrameworkGridGeometry::calcSizingState(int x, int y, TGridOptions options) const
{
    FrameworkGridSizing best;
    int bestDist = kSizingZone;
    auto consider = [&](TGridState state, int index, int border, int p) {
        const int d = std::abs(p - border);
        // Several borders coincide where sizes are 0: the later one wins, so that a column
        // shrunk to nothing can be widened again.
        if (d < kSizingZone && d <= bestDist) {
            best = {state, index, border, p - border};
            bestDist = d;
        }
    };
    if (options.testFlag(goColSizing) && y >= 0 && y < fixedHeight() && x >= 0
        && x < m_clientWidth) {
        const int last = lastPartlyVisibleCol();
        for (int c = m_leftCol; c <= last; ++c)
            consider(gsColSizing, c, colLeft(c) + m_colWidths[c], x);
    }
    if (best.state == gsNormal && options.testFlag(goRowSizing) && x >= 0 && x < fixedWidth()
        && y >= 0 && y < m_clientHeight) {
        const int last = lastPartlyVisibleRow();
        for (int r = m_topRow; r <= last; ++r)
            consider(gsRowSizing, r, rowTop(r) + m_rowHeights[r], y);
    }
    return best;
}

TGridCoord FrameworkGridGeometry::scrollPositionFor(int col, int row) const
{
    return {Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.scrollFor(col),
            Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.scrollFor(row)};
}

int FrameworkGridGeometry::rowFromThumb(int pos) const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.fromThumb(pos);
}

int FrameworkGridGeometry::colFromThumb(int pos) const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.fromThumb(pos);
}

int FrameworkGridGeometry::thumbFromRow(int row) const
{
    return Axis{m_rowHeights, m_fixedRows, m_topRow, m_clientHeight}.toThumb(row);
}

int FrameworkGridGeometry::thumbFromCol(int col) const
{
    return Axis{m_colWidths, m_fixedCols, m_leftCol, m_clientWidth}.toThumb(col);
}

}  // namespace zfw
