#pragma once
// The grid's tests read its painting through the general recording canvas.

#include "controls/Canvas.h"

namespace zfw {

using GridDrawOp = CanvasOp;
using RecordingGridCanvas = RecordingCanvas;

}  // namespace zfw
