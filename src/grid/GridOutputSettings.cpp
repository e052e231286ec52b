#include "grid/GridOutputSettings.h"

namespace zfw {

void THTMLSettings::Assign(const THTMLSettings& Source)
{
    if (&Source == this)
        return;
    const bool exportImages = ExportImages;
    const QList<int> colWidths = ColWidths;
    *this = Source;
    ExportImages = exportImages;
    ColWidths = colWidths;
}

void TPrintSettings::Assign(const TPrintSettings& Source)
{
    if (&Source == this)
        return;
    TExtStringGrid* grid = FGrid;
    *this = Source;
    FGrid = grid;
}

void TDragDropSettings::SetOleDropTarget(bool Value)
{
    FOleDropTarget = Value;
    if (OnDropTargetChange)
        OnDropTargetChange(this, Value);
}

void TDragDropSettings::Assign(const TDragDropSettings& Source)
{
    if (&Source == this)
        return;
    TExtStringGrid* grid = FGrid;
    auto onDropTargetChange = std::move(OnDropTargetChange);
    *this = Source;
    FGrid = grid;
    OnDropTargetChange = std::move(onDropTargetChange);
}

}  // namespace zfw
