#include "shell/UAbout.h"

#include "common/UComon.h"
#include "platform/Colors.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "shell/MakerWeb.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>

namespace zfw {

namespace {

constexpr int kClientWidth = 425;
constexpr int kClientHeight = 148;
constexpr int kLogoSize = 81;

}  // namespace

QPixmap makerLogo(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(1, 1, size - 2, size - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(toQColor(rgbColor(0x1F, 0x4E, 0x8C)));
    p.drawRoundedRect(r, size / 6.0, size / 6.0);
    // A "Z" of three strokes.
    QPainterPath z;
    const qreal m = size * 0.24;
    z.moveTo(m, m);
    z.lineTo(size - m, m);
    z.lineTo(m, size - m);
    z.lineTo(size - m, size - m);
    p.setPen(QPen(toQColor(clWhite), size / 9.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(z);
    return pixmap;
}

TFAbout::TFAbout(QWidget* parent) : TFAbout(ShellServices{}, parent) {}

TFAbout::TFAbout(const ShellServices& shell, QWidget* parent) : TModalForm(parent), m_shell(shell)
{
    setObjectName(QStringLiteral("TFAbout"));
    FormCreate();
}

void TFAbout::setShellServices(const ShellServices& shell)
{
    m_shell = shell;
    FormShow();
}

void TFAbout::FormCreate()
{
    setFont(QFont(QStringLiteral("Verdana"), 8));
    setWindowTitle(QStringLiteral("About"));
    Image2 = makeFormLabel(this, "Image2", 12, 12);
    Image2->setFixedSize(kLogoSize, kLogoSize);
    Image2->setScaledContents(true);
    Image2->setPixmap(makerLogo(kLogoSize));

    const int left = 108;
    const int valueLeft = 216;
    Label1 = makeFormLabel(this, "Label1", left, 12);
    QFont bold = font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2 = makeFormLabel(this, "Label2", left, 30);
    Label3 = makeFormLabel(this, "Label3", left, 56);
    Label10 = makeFormLabel(this, "Label10", valueLeft, 56);
    Label6 = makeFormLabel(this, "Label6", left, 74);
    Label9 = makeFormLabel(this, "Label9", valueLeft, 74);
    Label8 = makeFormLabel(this, "Label8", left, 92);
    Label12 = makeFormLabel(this, "Label12", valueLeft, 92);
    Label4 = makeFormLabel(this, "Label4", left, 120);
    QPalette link = Label4->palette();
    link.setColor(QPalette::WindowText, toQColor(clBlue));
    Label4->setPalette(link);
    for (QLabel* l : {Label4, Image2}) {
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
    }
    LbButton1 = makeFormButton(this, "LbButton1", 329, 108, 84, 30);
    LbButton1->setModalResult(mrOk);
    setFormButtonGlyph(LbButton1, "LBOK");

    const std::pair<QLabel*, const char*> fixed[] = {
        {Label1, "Software Zandoveric "},
        {Label3, "Version :"},
        {Label6, "Software Code : "},
        {Label8, "Document Code :"},
    };
    for (const auto& [label, text] : fixed) {
        label->setText(QLatin1String(text));
        label->adjustSize();
    }
    LbButton1->setText(QStringLiteral("OK"));
    setFixedClientSize(kClientWidth, kClientHeight);
    FormShow();
}

void TFAbout::FormShow()
{
    const std::pair<QLabel*, QString> values[] = {
        {Label2, QString::fromLatin1(Build_SW_Description)},
        {Label9, QString::fromLatin1(Build_SW_Code)},
        {Label10, QString::fromLatin1(Build_SW_Version)},
        {Label12, QString::fromLatin1(Build_Manual_Code)},
        {Label4, makerWebAddress(m_shell.web)},
    };
    for (const auto& [label, text] : values) {
        label->setText(text);
        label->adjustSize();
    }
    setFixedClientSize(kClientWidth, kClientHeight);
}

void TFAbout::Label4Click()
{
    if (m_shell.web.isSet())
        urlOpenerOf(m_shell).openUrl(homePageUrl(m_shell.web));
}

bool TFAbout::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Label4 || watched == Image2) && event->type() == QEvent::MouseButtonRelease) {
        Label4Click();
        return true;
    }
    return TModalForm::eventFilter(watched, event);
}

}  // namespace zfw
