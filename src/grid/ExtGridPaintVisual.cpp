// How one cell of the string grid looks: colours with gradient and mirror, font, alignment,
// word wrap and the selected and fixed states, worked out in one fixed order.

#include "grid/CellGraphic.h"
#include "grid/ExtGrid.h"

#include <QPalette>

#include <algorithm>
#include <cmath>

namespace zfw {

namespace {

int channel(TColor c, int shift) { return int((c >> shift) & 0xFF); }

void applyFontProperties(const TCellProperties& p, QFont& font, TColor& fontColor)
{
    if (p.FontColor != clNone)
        fontColor = p.FontColor;
    if (p.FontStyle != 0) {
        font.setBold(p.FontStyle & fsBold);
        font.setItalic(p.FontStyle & fsItalic);
        font.setUnderline(p.FontStyle & fsUnderline);
        font.setStrikeOut(p.FontStyle & fsStrikeOut);
    }
    if (p.FontSize > 0)
        font.setPointSize(p.FontSize);
    if (!p.FontName.isEmpty())
        font.setFamily(p.FontName);
}

}  // namespace

TColor TExtStringGrid::MixColors(TColor A, TColor B, int Percent) const
{
    if (A == clNone || Percent < 1)
        return B;
    if (B == clNone || Percent >= 100)
        return A;
    const TColor a = colorToRGB(A, palette());
    const TColor b = colorToRGB(B, palette());
    const double f = Percent / 100.0;
    TColor out = 0;
    for (int shift : {0, 8, 16}) {
        const int v = int(std::lround(f * channel(a, shift) + (1.0 - f) * channel(b, shift)));
        out |= TColor(std::min(v, 255)) << shift;
    }
    return out;
}

void TExtStringGrid::GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print,
                                         bool Select, bool Remap, TColor& ABrush, TColor& AColorTo,
                                         TColor& AMirrorColor, TColor& AMirrorColorTo, QFont& AFont,
                                         TColor& AFontColor, TAlignment& HA, TVAlignment& VA,
                                         bool& WW, TCellGradientDirection& GD)
{
    const int DCol = Remap ? ACol : DisplColIndex(ACol);
    const int RCol = Remap ? RealColIndex(ACol) : ACol;
    const bool fixedPlace = DCol < FixedCols() || ARow < FixedRows();

    AFont = fixedPlace ? FixedFont : font();
    AFontColor = clWindowText;

    ABrush = clNone;
    AColorTo = clNone;
    AMirrorColor = clNone;
    AMirrorColorTo = clNone;

    TColor own = clNone;
    const TCellProperties* props = store().GetGridObject(RCol, ARow);
    if (props) {
        own = props->BrushColor;
        applyFontProperties(*props, AFont, AFontColor);
        WW = props->WordWrap;
        AColorTo = props->BrushColorTo;
        GD = props->GradientDirection;
    }
    // Only a cell without a graphic of its own (or a rotated text) keeps its own colour in
    // the fixed area: a graphic's cell there is coloured as a fixed cell.
    const TCellGraphic* graphic = GetCellGraphic(*this, RCol, ARow);
    const bool keepsOwn = own != clNone
                          && (!graphic || graphic->CellType == ctNone
                              || graphic->CellType == ctRotated || graphic->CellType == ctEmpty);

    if (AState.testFlag(gdSelected))
        GD = TCellGradientDirection::GradientVertical;

    if (own == clNone) {
        ABrush = Color();
        if (Bands.Active() && (!Print || Bands.Print) && !fixedPlace && Bands.TotalLength() > 0
            && ARow < RowCount() - FixedFooters) {
            ABrush = (ARow - FixedRows()) % Bands.TotalLength() < Bands.PrimaryLength()
                         ? Bands.PrimaryColor()
                         : Bands.SecondaryColor();
        }
        if (fixedPlace || (FixedFooters > 0 && ARow >= RowCount() - FixedFooters))
            ABrush = FixedColor();
    } else {
        ABrush = own;
    }

    bool fixed = fixedPlace;
    if (!fixed)
        IsFixedCell(RCol, ARow, fixed);
    if (fixed && !keepsOwn) {
        if (!Print) {
            ABrush = FixedColor();
            AFont = FixedFont;
            AState |= gdFixed;
        }
        // A look whose gradient start was cleared keeps the fixed colour.
        if (m_look > TGridLook::glClassic && VKTGradientFrom != clNone) {
            ABrush = VKTGradientFrom;
            AColorTo = VKTGradientTo;
            AMirrorColor = VKTGradientMirrorFrom;
            AMirrorColorTo = VKTGradientMirrorTo;
        }
    }

    if (Print)
        GetCellPrintColor(RCol, ARow, AState, ABrush, AFont, AFontColor);
    else
        GetCellColor(RCol, ARow, AState, ABrush, AFont, AFontColor);

    // Range selection: the framework marks the cells of the selection with gdSelected.
    if (Select && !Print && ShowSelection && !fixed && AState.testFlag(gdSelected)) {
        const TColor sel = SelectionColor == clNone ? clHighlight : SelectionColor;
        ABrush = ABrush == Color()
                     ? sel
                     : MixColorsIf(sel, ABrush, SelectionColorMixer, SelectionColorMixerFactor);
        AColorTo = SelectionColorTo;
        AMirrorColor = SelectionMirrorColor;
        AMirrorColorTo = SelectionMirrorColorTo;
        if (SelectionTextColor != clNone)
            AFontColor = SelectionTextColor;
        AState |= gdSelected;
    } else if (Select && (!ShowSelection || fixed)) {
        AState &= ~TGridDrawState(gdSelected);
    }

    if (UseDisabledFont && !isEnabled())
        AFontColor = DisabledFontColor;

    DoGetWordWrap(RCol, ARow, WW);
    CellAlignmentInput in;
    in.defaultAlignment = DefaultAlignment;
    in.vAlignment = VAlignment;
    in.text = GetCellEx(RCol, ARow);
    if (props)
        in.cellAlignment = props->Alignment;
    const CellAlignment a = CalcCellAlignment(in);
    HA = a.horizontal;
    VA = a.vertical;
    GetCellAlignment(RCol, ARow, HA, VA);
}

CellVisual TExtStringGrid::paintVisual(int ACol, int ARow, TGridDrawState& AState)
{
    CellVisual v;
    TColor fontColor = clWindowText;
    TAlignment ha = DefaultAlignment;
    TVAlignment va = VAlignment;
    bool ww = store().WordWrap();
    TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
    GetVisualProperties(ACol, ARow, AState, false, true, false, v.brush, v.colorTo, v.mirrorColor,
                        v.mirrorColorTo, v.font, fontColor, ha, va, ww, gd);
    v.gradientHorizontal = gd == TCellGradientDirection::GradientHorizontal;
    // The flat look has no fixed-cell gradients: the fixed cells keep their plain colour.
    if (Flat && AState.testFlag(gdFixed) && m_look > TGridLook::glClassic) {
        v.brush = FixedColor();
        v.colorTo = v.mirrorColor = v.mirrorColorTo = clNone;
    }
    return v;
}

CellPaintGrid TExtStringGrid::cellPaintGrid() const
{
    CellPaintGrid g = TBaseGrid::cellPaintGrid();
    g.gridLineColor = GridLineColor;
    g.gridFixedLineColor = GridFixedLineColor;
    g.showSel = ShowSelection;
    return g;
}

}  // namespace zfw
