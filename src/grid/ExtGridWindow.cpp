// The string grid's window helpers: repainting, resizing and placing the window, the scroll
// bars that stay shown, the selection listener and change notifiers, and the locale helpers.
// The floating footer and the hosted cell controls that these steps also served have no
// place in the grid yet; the control border is the frame's own.

#include "grid/ExtGrid.h"

#include <QStyle>

#include <algorithm>
#include <utility>

namespace zfw {

void TExtStringGrid::Invalidate()
{
    if (m_editChange) {
        m_editChange = false;
        return;
    }
    TBaseGrid::Invalidate();
}

void TExtStringGrid::Resize()
{
    // The framework has placed the bars for the new size already, the ones kept shown
    // included; applying them once more here keeps that true for an OnResize that changed
    // the layout.
    TBaseGrid::Resize();
    refreshScrollBars();
}

void TExtStringGrid::SetScrollBarAlways(TScrollBarAlways Value)
{
    if (m_scrollBarAlways == Value)
        return;
    m_scrollBarAlways = Value;
    refreshScrollBars();
}

bool TExtStringGrid::keepsScrollBar(Qt::Orientation o) const
{
    if (o == Qt::Vertical)
        return m_scrollBarAlways == saVert || m_scrollBarAlways == saBoth;
    return m_scrollBarAlways == saHorz || m_scrollBarAlways == saBoth;
}

void TExtStringGrid::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int h = DefaultRowHeight();
    if (m_integralHeight && !LockUpdate() && h > 0) {
        const bool allColsFit = VisibleColCount() + FixedCols() >= ColCount();
        const int s = allColsFit ? 0
                                 : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
        const int b = frameShape() != QFrame::NoFrame ? 2 : 0;
        AHeight = s + std::max(0, AHeight - s - b) / h * h + 2 * b;
    }
    setGeometry(ALeft, ATop, AWidth, AHeight);
}

void TExtStringGrid::RegisterNotifier(TGridChangeNotifier* Item)
{
    if (!Item || notifiers().contains(Item))
        return;
    m_notifiers.append(QPointer<TGridChangeNotifier>(Item));
}

void TExtStringGrid::UnRegisterNotifier(TGridChangeNotifier* ANotifier)
{
    m_notifiers.removeIf([&](const QPointer<TGridChangeNotifier>& p) {
        return p.isNull() || p.data() == ANotifier;
    });
}

QList<TGridChangeNotifier*> TExtStringGrid::notifiers() const
{
    QList<TGridChangeNotifier*> alive;
    for (const QPointer<TGridChangeNotifier>& p : m_notifiers)
        if (p)
            alive.append(p.data());
    return alive;
}

void TExtStringGrid::NotifyCellsChanged(const TRect& R)
{
    // A notifier may unregister itself (or another) while it is told: walk a copy.
    for (TGridChangeNotifier* n : notifiers())
        n->CellsChanged(R);
}

namespace {

QChar firstSeparator(const QString& format, QChar fallback)
{
    for (QChar c : format)
        if (!c.isLetter() && !c.isSpace())
            return c;
    return fallback;
}

}  // namespace

QChar GetTimeSeparatorSetting(const QLocale& locale)
{
    return firstSeparator(locale.timeFormat(QLocale::ShortFormat), u':');
}

QChar GetDateSeparatorSetting(const QLocale& locale)
{
    return firstSeparator(locale.dateFormat(QLocale::ShortFormat), u'/');
}

QChar GetThousandSeparatorSetting(const QLocale& locale)
{
    const QString s = locale.groupSeparator();
    return s.isEmpty() ? QChar() : s.front();
}

QChar GetDecimalSeparatorSetting(const QLocale& locale)
{
    const QString s = locale.decimalPoint();
    return s.isEmpty() ? QChar(u'.') : s.front();
}

QString GetShortDateFormatSetting(const QLocale& locale)
{
    return locale.dateFormat(QLocale::ShortFormat);
}

QString GetShortTimeFormatSetting(const QLocale& locale)
{
    return locale.timeFormat(QLocale::ShortFormat);
}

QString GetLongTimeFormatSetting(const QLocale& locale)
{
    return locale.timeFormat(QLocale::LongFormat);
}

QWidget* FindParentForm(const QWidget* Control)
{
    for (QWidget* w = Control ? Control->parentWidget() : nullptr; w; w = w->parentWidget())
        if (w->isWindow())
            return w;
    return nullptr;
}

void SetWindowTransparentStyle(QWidget*) {}

void TExtStringGrid::RepaintHeaderCells(int ACol1, int ARow1, int ACol2, int ARow2)
{
    const int fixedRows = FixedRows();
    const int fixedCols = FixedCols();
    for (const auto& [c, r] : {std::pair{ACol1, ARow1}, std::pair{ACol2, ARow2}}) {
        if (fixedRows > 0)
            RepaintCell(c, fixedRows - 1);
        if (fixedCols > 0)
            RepaintCell(fixedCols - 1, r);
    }
}

}  // namespace zfw
