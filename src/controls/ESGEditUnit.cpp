#include "controls/ESGEdit.h"

#include <QMenu>
#include <QPainter>
#include <QStyle>

namespace zfw {

UnitSplit splitTextAndUnit(const QString& text, const QStringList& units)
{
    // The longest unit the text ends with wins, whatever the list order: with "m" listed
    // before "km", "5km" is 5 km, not "5k" m.
    int best = -1;
    for (int i = 0; i < units.size(); ++i) {
        const QString& u = units.at(i);
        if (u.isEmpty() || !text.endsWith(u))
            continue;
        if (best < 0 || u.size() > units.at(best).size())
            best = i;
    }
    if (best < 0)
        return {};
    const QString& unit = units.at(best);
    return {true, text.left(text.size() - unit.size()), unit};
}

TEsgUnitEditBtn::TEsgUnitEditBtn(QWidget* parent) : TEsgEditBtn(parent)
{
    setUnitSpace(20);
    setRightAlign(true);
}

TEsgUnitEditBtn::~TEsgUnitEditBtn() = default;

void TEsgUnitEditBtn::SetUnitID(const QString& unit)
{
    FUnitID = unit;
    update();
}

void TEsgUnitEditBtn::setUnitSpace(int w)
{
    FUnitSize = w;
    SetEditRect();
    update();
}

QString TEsgUnitEditBtn::GetTextAndUnit() const { return text() + FUnitID; }

void TEsgUnitEditBtn::SetTextAndUnit(const QString& s)
{
    const UnitSplit split = splitTextAndUnit(s, FUnits);
    if (!split.found) {
        // Leaving the text as it was kept the previous cell's value in the editor, where a
        // commit would write it into this cell; the whole text is the value instead.
        setText(s);
        return;
    }
    setText(split.value);
    SetUnitID(split.unit);
}

void TEsgUnitEditBtn::DoClickBtn(QObject*)
{
    QPointer<TEsgUnitEditBtn> self(this);
    emit clickBtn(this);
    if (!self || FUnits.isEmpty())
        return;
    delete m_menu;
    auto* menu = new QMenu(this);
    for (int i = 0; i < FUnits.size(); ++i) {
        QAction* a = menu->addAction(FUnits.at(i));
        connect(a, &QAction::triggered, this, [this, n = i + 1] { UnitCommand(n); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    m_menu = menu;
    const int f = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this)
                             : 0;
    menu->popup(mapToGlobal(QPoint(width() - f - 15, height() - f)));
}

void TEsgUnitEditBtn::UnitCommand(int n)
{
    if (n < 1 || n > FUnits.size())
        return;
    const QString unit = FUnits.at(n - 1);
    const bool changed = unit != FUnitID;
    SetUnitID(unit);
    if (changed)
        emit unitChanged(this, unit);
}

void TEsgUnitEditBtn::paintEvent(QPaintEvent* e)
{
    TEsgEditBtn::paintEvent(e);
    if (FUnitID.isEmpty())
        return;
    // The unit sits between the text area and the button, centred on the same line as the
    // edit's text. A unit wider than its space runs on into the gap before the button rather
    // than being cut.
    const int f = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this)
                             : 0;
    const int right = f + unitAreaRight();
    const QRect area(right - FUnitSize, f + 2, FUnitSize, height() - 2 * f - 2);
    QPainter p(this);
    p.setFont(font());
    p.setPen(Qt::black);
    p.drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
               FUnitID);
}

}  // namespace zfw
