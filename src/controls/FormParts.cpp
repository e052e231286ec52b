#include "controls/FormParts.h"

#include "platform/Colors.h"

#include <QFrame>
#include <QLabel>
#include <QShowEvent>

namespace zfw {

namespace {
constexpr TColor kFormButtonColor = 0xEDF7F8;
}  // namespace

void TModalForm::showEvent(QShowEvent* event)
{
    TForm::showEvent(event);
    if (event->spontaneous())
        return;
    setResult(0);
    FormShow();
}

TFormButton* makeFormButton(QWidget* parent, const char* name, int left, int top, int width,
                            int height)
{
    auto* b = new TFormButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(left, top, width, height);
    applyFormButtonLook(b);
    return b;
}

void applyFormButtonLook(TLbButton* button)
{
    button->setButtonStyle(bsEncarta);
    button->setColor(kFormButtonColor);
    button->setLightColor(clGray);
}

void setFormButtonGlyph(TFormButton* button, const char* resource)
{
    const QImage strip = lbGlyphResource(QLatin1String(resource));
    if (!strip.isNull())
        button->setGlyph(strip.copy(0, 0, strip.height(), strip.height()));
}

QLabel* makeFormLabel(QWidget* parent, const char* name, int left, int top)
{
    auto* l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->move(left, top);
    return l;
}

TitlePanel makeTitlePanel(QWidget* window, int width)
{
    auto* panel = new QFrame(window);
    panel->setObjectName(QStringLiteral("Panel_Title"));
    panel->setGeometry(0, 0, width, kTitlePanelHeight);
    panel->setAutoFillBackground(true);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, toQColor(clWhite));
    panel->setPalette(pal);

    return makeSoftwareLabels(panel, QPoint(10, 4), QPoint(12, 34), 24);
}

QWidget* makeEditorTitleBand(QWidget* window, TitlePanel& labels)
{
    auto* band = new QWidget(window);
    band->setObjectName(QStringLiteral("P_Title"));
    band->setFixedHeight(kEditorTitleHeight);
    labels = makeSoftwareLabels(band, QPoint(12, 4), QPoint(14, 42), 27);
    return band;
}

TitlePanel makeSoftwareLabels(QWidget* parent, QPoint codeAt, QPoint descAt, int codePixelSize)
{
    TitlePanel t;
    t.code = makeFormLabel(parent, "L_SW_Code", codeAt.x(), codeAt.y());
    QFont codeFont = parent->font();
    codeFont.setPixelSize(codePixelSize);
    t.code->setFont(codeFont);
    t.description = makeFormLabel(parent, "L_SW_Desc", descAt.x(), descAt.y());
    QFont descFont = parent->font();
    descFont.setBold(true);
    t.description->setFont(descFont);
    QPalette grey = t.code->palette();
    grey.setColor(QPalette::WindowText, toQColor(clGray));
    t.code->setPalette(grey);
    t.description->setPalette(grey);
    return t;
}

}  // namespace zfw
