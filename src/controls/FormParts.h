#pragma once
// Pieces shared by the program's windows: a dialog base, the push button's common look, and
// the software code and description shown at the top of every window.

#include "controls/LbButton.h"
#include "platform/Form.h"

#include <QPoint>

class QLabel;
class QWidget;

namespace zfw {

// A window shown modally. FormShow runs each time the program shows it (not when the window
// system merely re-exposes it), with the modal result of the last showing cleared.
class TModalForm : public TForm {
    Q_OBJECT
public:
    using TForm::TForm;

protected:
    virtual void FormShow() {}
    void showEvent(QShowEvent* event) override;
};

// The push button of the windows.
using TFormButton = TLbButton;

// Gives button the look every window uses (Encarta face, the program's button colours).
void applyFormButtonLook(TLbButton* button);

// A button with that look.
TFormButton* makeFormButton(QWidget* parent, const char* name, int left, int top, int width,
                            int height);

// Puts the first frame of the program's glyph picture resource (e.g. "LBOK") on button.
void setFormButtonGlyph(TFormButton* button, const char* resource);

QLabel* makeFormLabel(QWidget* parent, const char* name, int left, int top);

struct TitlePanel {
    QLabel* code = nullptr;         // L_SW_Code
    QLabel* description = nullptr;  // L_SW_Desc
};

inline constexpr int kTitlePanelHeight = 56;

// L_SW_Code (grey, codePixelSize pixels high) and L_SW_Desc (bold grey) on parent.
TitlePanel makeSoftwareLabels(QWidget* parent, QPoint codeAt, QPoint descAt, int codePixelSize);

// A white band across the top of window, width pixels wide, holding L_SW_Code and L_SW_Desc.
TitlePanel makeTitlePanel(QWidget* window, int width);

// The title band of the resizable editor windows: "P_Title", kEditorTitleHeight pixels high,
// holding the software labels; the window's layout places it.
inline constexpr int kEditorTitleHeight = 69;
QWidget* makeEditorTitleBand(QWidget* window, TitlePanel& labels);

}  // namespace zfw
