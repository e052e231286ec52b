// The string grid's looks and appearance settings: the look presets, the one colour style the
// program applies, the writers of the colours painting reads, and the sizing lines.

#include "grid/ExtGrid.h"

#include <algorithm>

namespace zfw {

bool TExtStringGrid::wirePainting()
{
    ControlLook.OnRepaint = [this](TControlLook*) { Invalidate(); };
    ControlLook.OnFixedGradient = [this](TControlLook*, TFixedGradient role, TColor c) {
        TColor* const target[kFixedGradientCount] = {&VKTGradientFrom,
                                                     &VKTGradientTo,
                                                     &VKTGradientMirrorFrom,
                                                     &VKTGradientMirrorTo,
                                                     &VKTGradientHoverFrom,
                                                     &VKTGradientHoverTo,
                                                     &VKTGradientHoverMirrorFrom,
                                                     &VKTGradientHoverMirrorTo,
                                                     &VKTGradientHoverBorder,
                                                     &VKTGradientDownFrom,
                                                     &VKTGradientDownTo,
                                                     &VKTGradientDownMirrorFrom,
                                                     &VKTGradientDownMirrorTo,
                                                     &VKTGradientDownBorder};
        *target[int(role)] = c;
    };
    ShowModified.OnChange = [this](TShowModified*) { ShowModifiedChanged(); };
    // The default look's fixed gradient, as SetLook(glXP) gives it.
    TControlLook& cl = ControlLook;
    cl.SetFixedGradientFrom(clWhite);
    cl.SetFixedGradientTo(clBtnFace);
    cl.SetFixedGradientHoverFrom(0xCFD0D1);
    cl.SetFixedGradientHoverTo(0xBEC6C8);
    cl.SetFixedGradientHoverMirrorFrom(0xBEC6C8);
    cl.SetFixedGradientHoverMirrorTo(0xABBCBF);
    cl.SetFixedGradientDownFrom(0x868788);
    cl.SetFixedGradientDownTo(0x737C7E);
    cl.SetFixedGradientDownMirrorFrom(0x737C7E);
    cl.SetFixedGradientDownMirrorTo(0x627376);
    return true;
}

void TExtStringGrid::SetLook(TGridLook Value)
{
    if (Value == m_look)
        return;
    m_look = Value;
    TControlLook& cl = ControlLook;
    if (Value != TGridLook::glCustom) {
        cl.SetFixedGradientMirrorFrom(clNone);
        cl.SetFixedGradientMirrorTo(clNone);
        cl.SetFixedGradientFrom(clNone);
        cl.SetFixedGradientTo(clNone);
        // The control look forwards "none" for the plain pair to nobody: reset the grid's too.
        VKTGradientFrom = clNone;
        VKTGradientTo = clNone;
        VKTGradientMirrorFrom = clNone;
        VKTGradientMirrorTo = clNone;
    }
    const bool loading = !isLoaded();
    switch (Value) {
    case TGridLook::glStandard:
    case TGridLook::glSoft:
    case TGridLook::glClassic:
    case TGridLook::glVKT:
    case TGridLook::glXP:
    case TGridLook::glListView:
        if (!loading) {
            if (Value == TGridLook::glStandard || Value == TGridLook::glSoft
                || Value == TGridLook::glClassic) {
                SetFixedColor(clBtnFace);
                cl.SetFixedGradientFrom(clBtnFace);
                VKTGradientTo = clNone;
            } else {
                cl.SetFixedGradientFrom(clWhite);
                cl.SetFixedGradientTo(clBtnFace);
            }
            SetGridFixedLineColor(0x808080);
            cl.SetFixedGradientMirrorFrom(clNone);
            cl.SetFixedGradientMirrorTo(clNone);
            SetGridLineColor(0xC0C0C0);
        }
        if (Value == TGridLook::glVKT || Value == TGridLook::glXP) {
            ActiveCellColor = 0xEACAB6;
            ActiveCellColorTo = clNone;
            SelectionColor = 0xEACAB6;
            SelectionColorTo = clNone;
            SelectionTextColor = clBlack;
            cl.SetFixedGradientFrom(clWhite);
            cl.SetFixedGradientTo(Value == TGridLook::glXP ? clBtnFace : TColor(0xC0C0C0));
            cl.SetFixedGradientHoverFrom(0xCFD0D1);
            cl.SetFixedGradientHoverTo(0xBEC6C8);
            cl.SetFixedGradientHoverMirrorFrom(0xBEC6C8);
            cl.SetFixedGradientHoverMirrorTo(0xABBCBF);
            cl.SetFixedGradientDownFrom(0x868788);
            cl.SetFixedGradientDownTo(0x737C7E);
            cl.SetFixedGradientDownMirrorFrom(0x737C7E);
            cl.SetFixedGradientDownMirrorTo(0x627376);
        } else {
            ActiveCellColor = 0x808080;
            ActiveCellColorTo = clNone;
            SelectionColor = clHighlight;
            SelectionTextColor = clHighlightText;
        }
        break;
    default:
        // The styled looks (glVista, glWin7, glOffice2007) bring their colours through their
        // colour styles, which are not built: the look changes how fixed cells are drawn only.
        break;
    }
    ScrollType = TScrollType::ssNormal;
    BorderColor = 0xB99D7F;
    Invalidate();
}

bool TExtStringGrid::SetComponentStyle(TVKTStyle AStyle)
{
    if (AStyle != tsWindowsXP)
        return false;
    m_style = AStyle;
    // The reset every style starts from: system selection colours, no sorted-header colours,
    // and the control look's own colours back to their defaults. The control look's reset does
    // not reach the grid's gradient colours, so the hover and pressed headers keep theirs.
    SelectionColor = clHighlight;
    SelectionColorTo = clNone;
    SelectionTextColor = clHighlightText;
    SortSettings.SetHeaderColor(clNone);
    SortSettings.SetHeaderColorTo(clNone);
    SortSettings.SetHeaderMirrorColor(clNone);
    SortSettings.SetHeaderMirrorColorTo(clNone);
    ControlLook.Init();
    // tsWindowsXP: the XP look with button-face headers and active-cell headers. It sets the
    // grid's colours only: the control look's plain gradient stays unset, and the selection
    // keeps the reset (or what the XP look gives when the look had to change).
    SetLook(TGridLook::glXP);
    VKTGradientFrom = clBtnFace;
    VKTGradientTo = clBtnFace;
    VKTGradientMirrorFrom = clNone;
    VKTGradientMirrorTo = clNone;
    ActiveCellColor = clBtnFace;
    ActiveCellColorTo = clBtnFace;
    SetGridLineColor(0xC0C0C0);
    SetGridFixedLineColor(0x808080);
    SearchFooter.SetColor(VKTGradientFrom);
    SearchFooter.SetColorTo(VKTGradientMirrorTo);
    if (ScrollType == TScrollType::ssMetro)
        ScrollType = TScrollType::ssNormal;
    Invalidate();
    return true;
}

// ----- appearance writers -----

void TExtStringGrid::SetBackGround(const TBackGround& Value)
{
    m_backGround = Value;
    Invalidate();
}

#define ZFW_STORE_REPAINT(Name, Type)                                                              \
    void TExtStringGrid::Set##Name(Type Value)                                                     \
    {                                                                                              \
        const bool changed = !(Name == Value);                                                     \
        Name = Value;                                                                              \
        repaintIfChanged(changed);                                                                 \
    }
ZFW_STORE_REPAINT(SelectionColor, TColor)
ZFW_STORE_REPAINT(SelectionColorTo, TColor)
ZFW_STORE_REPAINT(SelectionMirrorColor, TColor)
ZFW_STORE_REPAINT(SelectionMirrorColorTo, TColor)
ZFW_STORE_REPAINT(SelectionTextColor, TColor)
ZFW_STORE_REPAINT(SelectionColorMixer, bool)
ZFW_STORE_REPAINT(SelectionRectangle, bool)
ZFW_STORE_REPAINT(SelectionResizer, bool)
ZFW_STORE_REPAINT(URLShow, bool)
ZFW_STORE_REPAINT(ShowSelection, bool)
ZFW_STORE_REPAINT(HighlightColor, TColor)
ZFW_STORE_REPAINT(HighlightTextColor, TColor)
ZFW_STORE_REPAINT(GridLineColor, TColor)
ZFW_STORE_REPAINT(GridFixedLineColor, TColor)
#undef ZFW_STORE_REPAINT

void TExtStringGrid::SetSelectionColorMixerFactor(int Value)
{
    Value = std::clamp(Value, 0, 100);
    const bool changed = Value != SelectionColorMixerFactor;
    SelectionColorMixerFactor = Value;
    repaintIfChanged(changed);
}

void TExtStringGrid::SetURLColor(TColor Value)
{
    if (Value == URLColor)
        return;
    URLColor = Value;
    repaintIfChanged(URLShow);
}

void TExtStringGrid::SetURLFull(bool Value)
{
    URLFull = Value;
    repaintIfChanged(URLShow);
}

void TExtStringGrid::SetActiveCellShow(bool Value)
{
    ActiveCellShow = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColor(TColor Value)
{
    ActiveCellColor = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellColorTo(TColor Value)
{
    ActiveCellColorTo = Value;
    Invalidate();
}

void TExtStringGrid::SetActiveCellFont(const QFont& Value)
{
    ActiveCellFont = Value;
    Invalidate();
}

void TExtStringGrid::SetXYOffset(QPoint Value)
{
    XYOffset = Value;
    Invalidate();
}

void TExtStringGrid::SetVAlignment(TVAlignment Value)
{
    VAlignment = Value;
    switch (Value) {
    case TVAlignment::vtaTop: m_fvAlign = 0; break;
    case TVAlignment::vtaCenter: m_fvAlign = 4; break;
    case TVAlignment::vtaBottom: m_fvAlign = 8; break;
    }
    // Invalidate already holds back while an update is in progress.
    Invalidate();
}

void TExtStringGrid::SetFlat(bool Value)
{
    Flat = Value;
    if (isLoaded())
        Invalidate();
}

// The old writer switched the six settings on whatever it was given, so that clearing the
// switch turned spreadsheet editing on; clearing it now leaves them as they are.
void TExtStringGrid::SetSpreadSheet(bool Value)
{
    if (!Value)
        return;
    SelectionRectangle = true;
    SelectionResizer = true;
    Navigation.AllowSmartClipboard = true;
    SetOptions(Options() | goRangeSelect | goEditing);
    MouseActions.RangeSelectAndEdit = true;
    Invalidate();
}

// ----- sizing lines -----

void TExtStringGrid::DrawColSizingLine(int X)
{
    m_colSizingLine = m_colSizingLine == X ? std::nullopt : std::optional<int>(X);
    viewport()->update();
}

void TExtStringGrid::DrawRowSizingLine(int Y)
{
    m_rowSizingLine = m_rowSizingLine == Y ? std::nullopt : std::optional<int>(Y);
    viewport()->update();
}

}  // namespace zfw
