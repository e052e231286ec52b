#include "grid/CellStore.h"

#include <algorithm>
#include <map>
#include <utility>

namespace zfw {

bool CellStore::checkConsistency(QString* why) const
{
    auto fail = [why](const QString& text) {
        if (why)
            *why = text;
        return false;
    };
    if (m_rows.size() < std::size_t(m_rowCount))
        return fail(QStringLiteral("fewer stored rows (%1) than RowCount (%2)")
                        .arg(m_rows.size())
                        .arg(m_rowCount));
    if (m_colWidths.size() != std::size_t(m_colCount))
        return fail(QStringLiteral("%1 widths for %2 display columns")
                        .arg(m_colWidths.size())
                        .arg(m_colCount));
    if (m_fixedRows < 0 || m_fixedRows > std::max(0, m_rowCount - 1))
        return fail(
            QStringLiteral("FixedRows %1 with RowCount %2").arg(m_fixedRows).arg(m_rowCount));
    if (m_fixedCols < 0 || m_fixedCols > std::max(0, m_colCount - 1))
        return fail(
            QStringLiteral("FixedCols %1 with ColCount %2").arg(m_fixedCols).arg(m_colCount));
    if (m_largestRowCount < m_rowCount || m_largestColCount < m_colCount)
        return fail(QStringLiteral("largest counts below the current counts"));
    const int hiddenFlags = int(std::count(m_colHidden.begin(), m_colHidden.end(), true));
    if (hiddenFlags != m_numHiddenColumns)
        return fail(QStringLiteral("%1 hidden column flags, NumHiddenColumns %2")
                        .arg(hiddenFlags)
                        .arg(m_numHiddenColumns));
    if (m_colHidden[kMaxHideCols])
        return fail(QStringLiteral("column %1 marked hidden").arg(kMaxHideCols));
    if (m_numHiddenColumns > 0 && m_colCount < 1)
        return fail(QStringLiteral("columns hidden with no display column left"));
    for (std::size_t i = 0; i < m_hiddenRows.size(); ++i) {
        if (m_hiddenRows[i].Idx < 0 || (i > 0 && m_hiddenRows[i - 1].Idx >= m_hiddenRows[i].Idx))
            return fail(QStringLiteral("hidden row store not sorted at item %1").arg(i));
        if (m_hiddenRows[i].Filtered && m_hiddenRows[i].Level >= m_filterLevel)
            return fail(QStringLiteral("hidden row %1 of filter level %2 beyond the %3 levels")
                            .arg(m_hiddenRows[i].Idx)
                            .arg(m_hiddenRows[i].Level)
                            .arg(m_filterLevel));
    }
    for (int d = 0; d < m_colCount && d < kMaxHideCols - m_numHiddenColumns; ++d) {
        const int real = RealColIndex(d);
        if (IsHiddenColumn(real) || DisplColIndex(real) != d)
            return fail(QStringLiteral("display column %1 maps to real %2 and back to %3")
                            .arg(d)
                            .arg(real)
                            .arg(DisplColIndex(real)));
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
                return fail(
                    at + QStringLiteral(" owned by (%1,%2)").arg(p->OwnerCol).arg(p->OwnerRow));
            const bool noSpan = p->CellSpanX == -1 && p->CellSpanY == -1;
            if (!noSpan && (p->CellSpanX < 0 || p->CellSpanY < 0))
                return fail(
                    at + QStringLiteral(" has spans %1,%2").arg(p->CellSpanX).arg(p->CellSpanY));
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
                            return fail(at
                                        + QStringLiteral(" area cell (%1,%2) does not point back")
                                              .arg(c + i)
                                              .arg(r + j));
                    }
                }
            } else {
                if (noSpan)
                    return fail(at + QStringLiteral(" is no base cell but has no spans"));
                const TCellProperties* b = GetGridObject(c - p->CellSpanX, r - p->CellSpanY);
                if (!b || !b->IsBaseCell || b->CellSpanX < p->CellSpanX
                    || b->CellSpanY < p->CellSpanY)
                    return fail(at + QStringLiteral(" points to a base that does not cover it"));
            }
        }
    }

    // Areas kept in hidden rows: whole, within the rows that one call hid.
    std::map<std::pair<int, int>, const std::vector<Cell>*> groupRows;
    for (const TGridItem& item : m_hiddenRows)
        if (!groupRows.emplace(std::make_pair(item.Group, item.GroupRow), &item.Items).second)
            return fail(QStringLiteral("hidden rows %1 and another both from row %2 of call %3")
                            .arg(item.Idx)
                            .arg(item.GroupRow)
                            .arg(item.Group));
    auto hiddenProps = [&groupRows](int group, int groupRow, int c) -> const TCellProperties* {
        const auto it = groupRows.find({group, groupRow});
        if (it == groupRows.end() || c < 0 || c >= int(it->second->size()))
            return nullptr;
        return (*it->second)[std::size_t(c)].props.get();
    };
    for (const TGridItem& item : m_hiddenRows) {
        for (int c = 0; c < int(item.Items.size()); ++c) {
            const TCellProperties* p = item.Items[std::size_t(c)].props.get();
            if (!p || (p->CellSpanX == -1 && p->CellSpanY == -1))
                continue;
            const QString at = QStringLiteral("hidden row %1, column %2").arg(item.Idx).arg(c);
            if (p->CellSpanX < 0 || p->CellSpanY < 0)
                return fail(
                    at + QStringLiteral(" has spans %1,%2").arg(p->CellSpanX).arg(p->CellSpanY));
            if (p->IsBaseCell) {
                ++bases;
                for (int j = 0; j <= p->CellSpanY; ++j) {
                    for (int i = j == 0 ? 1 : 0; i <= p->CellSpanX; ++i) {
                        const TCellProperties* q = hiddenProps(item.Group, item.GroupRow + j,
                                                               c + i);
                        if (!q || q->IsBaseCell || q->CellSpanX != i || q->CellSpanY != j)
                            return fail(at
                                        + QStringLiteral(": area cell %1,%2 does not point back")
                                              .arg(i)
                                              .arg(j));
                    }
                }
            } else {
                const TCellProperties* b = hiddenProps(item.Group, item.GroupRow - p->CellSpanY,
                                                       c - p->CellSpanX);
                if (!b || !b->IsBaseCell || b->CellSpanX < p->CellSpanX
                    || b->CellSpanY < p->CellSpanY)
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

}  // namespace zfw
