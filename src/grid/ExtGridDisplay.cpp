// The string grid's display text and the small hooks the painter and the settings objects
// call: sort-glyph cells, node rows and their indent, change handlers.

#include "grid/ExtGrid.h"
#include "grid/ExtGridFormat.h"
#include "grid/ExtUtil.h"

#include <array>

namespace zfw {

void TExtStringGrid::GetDisplText(int ACol, int ARow, QString& Value)
{
    TBaseGrid::GetDisplText(ACol, ARow, Value);
    if (URLShowInText) {
        // The first prefix found wins; the order is the one users have always seen.
        static constexpr std::array<const char16_t*, 7> kPrefixes = {u"HTTP://", u"WWW.",
                                                                     u"MAILTO:", u"HTTPS://",
                                                                     u"NNTP://", u"FILE://",
                                                                     u"FTP://"};
        for (const char16_t* prefix : kPrefixes) {
            QString linked;
            if (HtmlEscapeWithLink(Value, QString::fromUtf16(prefix), linked)) {
                Value = linked;
                break;
            }
        }
    }
    if (Grouping.ShowGroupCount && ACol == 1 && IsNode(ARow)) {
        const TCellGraphic* node = store().GetGraphicObjectEx(0, ARow);
        // The rows of the group that are no nodes themselves.
        const int n = node->CellIndex - node->CellErrFrom - 1;
        std::optional<QString> count;
        if (!Grouping.GroupCountFormat.isEmpty())
            count = FormatIntPattern(Grouping.GroupCountFormat, n);
        // A stored pattern that does not fit one integer falls back to the plain count
        // rather than failing the cell's display.
        Value += count ? *count : QStringLiteral(" (%1)").arg(n);
    }
}

bool TExtStringGrid::IsSortIndicatorCell(int ACol, int ARow) const
{
    int r = ARow;
    if (store().IsMergedCell(ACol, ARow)) {
        const QPoint b = store().BaseCell(ACol, ARow);
        r = b.y() + store().CellSpan(b.x(), b.y()).y();
    }
    return r == SortSettings.Row && SortSettings.Show() && RowCount() > FixedRows() + 1;
}

bool TExtStringGrid::IsNode(int ARow) const
{
    return ARow >= 0 && GetCellType(*this, 0, ARow) == ctNode;
}

bool TExtStringGrid::IsSummary(int ARow) const
{
    return ARow >= 0 && GetCellType(*this, 0, ARow) == ctSummary;
}

int TExtStringGrid::GetRowIndent(int ARow) const
{
    if (!HasNodes() || ARow < 0)
        return 0;
    const TCellProperties* p = store().GetGridObject(0, ARow);
    return p ? p->NodeLevel * CellNode.NodeIndent() : 0;
}

void TExtStringGrid::ShowModifiedChanged()
{
    const int DCol = DisplColIndex(0);
    for (int r = 0; r < RowCount(); ++r)
        InvalidateCell(DCol, r);
}

void TExtStringGrid::DoUnitChanged(const QString& NewUnit)
{
    if (OnUnitChanged)
        OnUnitChanged(this, Col(), Row(), NewUnit);
}

}  // namespace zfw
