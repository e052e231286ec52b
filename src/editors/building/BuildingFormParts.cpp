#include "editors/building/BuildingFormParts.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace zfw {

void applyCreamFormLook(QWidget* form)
{
    form->setFont(QFont(QStringLiteral("Verdana"), 8));
    QPalette pal = form->palette();
    pal.setColor(QPalette::Window, QColor(248, 247, 237));
    form->setPalette(pal);
    form->setAutoFillBackground(true);
}

TitlePanel makeCodedTitlePanel(QWidget* form, int width, const QString& buildCode)
{
    const TitlePanel title = makeTitlePanel(form, width);
    title.code->setText(buildCode);
    title.code->adjustSize();
    return title;
}

}  // namespace zfw
