#include "grid/GridLook.h"

#include "grid/ExtStyleIF.h"

namespace zfw {

XPCheckBoxColors xpCheckBoxColors(bool enabled)
{
    // Colours as 0x00BBGGRR: a blue frame round a white box with a green mark; greys when
    // the box cannot be changed.
    if (enabled)
        return {0x80511C, clWhite, 0x21A121};
    return {0xBAC7C9, 0xF0F0F0, 0xA0A0A0};
}

namespace {

// Our own 16 x 16 box at (x, y): the outer ring of pixels stays transparent, a one-pixel
// frame, the interior, and a three-pixel-thick check mark drawn column by column (the top of
// each column relative to the box).
void drawXPBox(IGridCanvas& canvas, int x, int y, bool checked, bool enabled)
{
    const XPCheckBoxColors c = xpCheckBoxColors(enabled);
    canvas.frameRect({x + 1, y + 1, x + 15, y + 15}, c.frame);
    canvas.fillRect({x + 2, y + 2, x + 14, y + 14}, c.interior);
    if (!checked)
        return;
    static constexpr int kMarkTop[] = {7, 8, 9, 8, 7, 6, 5, 4};
    for (int i = 0; i < 8; ++i) {
        const int cx = x + 4 + i;
        const int top = y + kMarkTop[i];
        canvas.fillRect({cx, top, cx + 1, top + 3}, c.mark);
    }
}

}  // namespace

void DrawCheckBox(IGridCanvas& canvas, const TControlLook& look, const TRect& r, bool Checked,
                  bool Enabled, bool Grayed, TControlStyle Style, bool IsTriState,
                  TCheckBoxState TriStateValue)
{
    const bool enabled = Enabled || look.NoDisabledCheckRadioLook() || look.CheckAlwaysActive;
    if (IsTriState) {
        Checked = TriStateValue == cbChecked;
        Grayed = TriStateValue == cbGrayed;
    }
    if (Style == TControlStyle::csTheme && !IsComCtl32V6())
        Style = TControlStyle::csClassic;
    const int size = look.CheckSize();
    switch (Style) {
    case TControlStyle::csTheme:
        canvas.styleCheckBox({r.Left, r.Top, r.Left + size, r.Top + size},
                             Grayed ? 2 : (Checked ? 1 : 0), enabled, false);
        return;
    case TControlStyle::csClassic:
    case TControlStyle::csFlat: {
        const int left = r.Left + (r.Width() - size) / 2;
        const int top = r.Top + (r.Height() - size) / 2;
        canvas.styleCheckBox({left, top, left + size, top + size}, Grayed ? 2 : (Checked ? 1 : 0),
                             enabled, Style == TControlStyle::csFlat);
        return;
    }
    default:
        // This look has no grayed picture: a grayed tri-state box is not checked, so it shows
        // unchecked.
        drawXPBox(canvas, r.Left, r.Top, Checked, enabled);
        return;
    }
}

}  // namespace zfw
