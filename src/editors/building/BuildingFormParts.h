#pragma once
// Set-up shared by the small dialogs of the building-automation editors.

#include "controls/FormParts.h"

#include <QString>

class QWidget;

namespace zfw {

// Verdana 8 on the cream window colour, the background filled.
void applyCreamFormLook(QWidget* form);

// The white title band, width pixels wide, with buildCode shown in L_SW_Code.
TitlePanel makeCodedTitlePanel(QWidget* form, int width, const QString& buildCode);

}  // namespace zfw
