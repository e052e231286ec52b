// The text of a string grid cell: selection colours as the text sees them, margins, the room
// a graphic takes beside the text, links, password masking, alignment and word wrap.

#include "grid/CellGraphic.h"
#include "grid/EsgHTMLE.h"
#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"

namespace zfw {

namespace {

bool isUrlText(const QString& s)
{
    return s.contains(QLatin1String("://")) || s.contains(QLatin1String("mailto:"));
}

QString withoutUrlPrefix(const QString& s)
{
    const int scheme = s.indexOf(QLatin1String("://"));
    if (scheme >= 0)
        return s.mid(scheme + 3);
    const int mail = s.indexOf(QLatin1String("mailto:"));
    return mail >= 0 ? s.mid(mail + 7) : s;
}

}  // namespace

QString TExtStringGrid::GetFormattedCell(int ACol, int ARow) { return GetCellEx(ACol, ARow); }

void TExtStringGrid::DrawCellText(IGridCanvas& canvas, int RCol, int ARow, const TRect& rect,
                                  TGridDrawState AState, TColor fontColor, TAlignment HA,
                                  TVAlignment VA, bool WW, const CellGraphicExtent& extent,
                                  const QFont& font)
{
    const bool fixed = AState.testFlag(gdFixed);
    TColor urlColor = URLColor;
    if (AState.testFlag(gdSelected) && !fixed && ShowSelection) {
        if (SelectionTextColor != clNone && isEnabled())
            fontColor = SelectionTextColor;
        if (SelectionTextColor != clNone)
            urlColor = SelectionTextColor;
    }
    if (!extent.textAllowed)
        return;

    QString text = GetFormattedCell(RCol, ARow);
    switch (GetCellTextKind(text, EnableHTML)) {
    case ctkMiniHtml:
        // Markup is shown as its plain text until the markup engine draws it.
        text = HtmlToPlainText(text);
        break;
    case ctkPackedWide: text = UnpackWideText(text); break;
    default: break;
    }
    bool password = false;
    IsPasswordCell(RCol, ARow, password);
    if (password)
        text = QString(text.size(), PasswordChar);
    if (text.isEmpty())
        return;

    TRect r = rect;
    if (fixed) {
        r.Left += 1;  // GridLineWidth
        r.Top += 1;
    }
    r.Left += XYOffset.x();
    r.Right -= XYOffset.x();
    r.Top += XYOffset.y();

    if (const TCellGraphic* g = extent.graphic) {
        if (g->CellHAlign == haBeforeText)
            r.Left += extent.width;
        else if (g->CellHAlign == haAfterText)
            r.Right -= extent.width;
        if (g->CellVAlign == vaAboveText)
            r.Top += extent.height;
        else if (g->CellVAlign == vaUnderText)
            r.Bottom -= extent.height;
    }
    if (RCol == 0 && HasNodes() && !IsNode(ARow))
        r.Left += GetRowIndent(ARow);

    QFont f = font;
    if (URLShow && isUrlText(text)) {
        if (!URLFull)
            text = withoutUrlPrefix(text);
        f.setUnderline(true);
        fontColor = urlColor;
    }

    int flags = Qt::TextExpandTabs;
    switch (HA) {
    case TAlignment::taLeftJustify: flags |= Qt::AlignLeft; break;
    case TAlignment::taRightJustify: flags |= Qt::AlignRight; break;
    case TAlignment::taCenter: flags |= Qt::AlignHCenter; break;
    }
    switch (VA) {
    case TVAlignment::vtaTop: flags |= Qt::AlignTop; break;
    case TVAlignment::vtaCenter: flags |= Qt::AlignVCenter; break;
    case TVAlignment::vtaBottom: flags |= Qt::AlignBottom; break;
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    if (WW) {
        flags |= Qt::TextWordWrap;
    } else {
        // Without word wrap a cell shows its first line only.
        text = text.section(u'\n', 0, 0);
        flags |= Qt::TextSingleLine;
    }
    if (r.Right <= r.Left || r.Bottom <= r.Top)
        return;
    canvas.setFont(f);
    canvas.text(r, text, flags, fontColor);
}

}  // namespace zfw
