#pragma once
// Everything the grid knows about one cell besides its text: colours, font, alignment, the
// merge encoding, the user object, the cell graphic and a hosted control.

#include "grid/GridSettingsEnums.h"
#include "platform/Colors.h"

#include <QString>

#include <cstdint>

class QWidget;

namespace zfw {

class TCellGraphic;

class TCellProperties {
public:
    TCellProperties(int ACol, int ARow) : OwnerCol(ACol), OwnerRow(ARow) {}

    int OwnerCol = 0;
    int OwnerRow = 0;
    // The user's object or value; never owned by the grid.
    std::uintptr_t CellObject = 0;
    // The cell graphic; the grid frees it with the cell (see CellStore).
    TCellGraphic* FGraphicObject = nullptr;
    int BrushStyle = 0;  // solid
    TColor BrushColor = clNone;
    TColor BrushColorTo = clNone;
    int FontSize = 0;  // 0 = not set
    TColor FontColor = clNone;
    int FontStyle = 0;  // TFontStyleBit set; 0 = not set
    // Merge encoding: a cell outside any merged area is a base cell with spans -1, -1; the
    // base (top-left) cell of a w x h area holds w - 1, h - 1; every other cell of the area is
    // no base cell and holds its column and row offset from the base.
    int CellSpanY = -1;
    int CellSpanX = -1;
    int BorderWidth = 0;
    TColor BorderColor = 0;
    TAlignment Alignment = TAlignment::taLeftJustify;
    TVAlignment VAlignment = TVAlignment::vtaTop;
    int FPaintID = 0;
    bool WordWrap = true;
    bool IsBaseCell = true;
    TColumnCalcType CalcType = TColumnCalcType::acNONE;
    void* CalcObject = nullptr;
    int NodeLevel = 0;
    TEditorType Editor = TEditorType::edNormal;
    QString FontName;  // empty = not set
    bool ReadOnly = false;
    TCellGradientDirection GradientDirection = TCellGradientDirection::GradientVertical;
    // A control placed over the cell; never owned by the grid.
    QWidget* Control = nullptr;

    // Copies what the grid copies between cells: not BrushColorTo, GradientDirection, the
    // graphic, CalcType, CalcObject or FPaintID.
    void Assign(const TCellProperties& Source);

    // The base cell of (ACol, ARow), found from the offsets alone.
    void GetBaseCell(int ACol, int ARow, int& BaseCol, int& BaseRow) const
    {
        if (!IsBaseCell && CellSpanX != -1 && CellSpanY != -1) {
            BaseCol = ACol - CellSpanX;
            BaseRow = ARow - CellSpanY;
        } else {
            BaseCol = ACol;
            BaseRow = ARow;
        }
    }
};

inline void TCellProperties::Assign(const TCellProperties& Source)
{
    IsBaseCell = Source.IsBaseCell;
    CellSpanX = Source.CellSpanX;
    CellSpanY = Source.CellSpanY;
    OwnerRow = Source.OwnerRow;
    OwnerCol = Source.OwnerCol;
    CellObject = Source.CellObject;
    Alignment = Source.Alignment;
    BorderColor = Source.BorderColor;
    BorderWidth = Source.BorderWidth;
    BrushColor = Source.BrushColor;
    BrushStyle = Source.BrushStyle;
    FontColor = Source.FontColor;
    FontStyle = Source.FontStyle;
    FontName = Source.FontName;
    FontSize = Source.FontSize;
    ReadOnly = Source.ReadOnly;
    Editor = Source.Editor;
    VAlignment = Source.VAlignment;
    WordWrap = Source.WordWrap;
    NodeLevel = Source.NodeLevel;
    Control = Source.Control;
}

}  // namespace zfw
