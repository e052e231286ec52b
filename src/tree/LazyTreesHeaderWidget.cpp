// The header's band above the viewport. It forwards painting and mouse input to the header's
// hooks, translating its own coordinates (which are header coordinates) for them.

#include "tree/LazyTreesHeader.h"

#include "tree/LazyTreesControl.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace zfw {

void TLTHeader::createWidget()
{
    m_widget = new TLTHeaderWidget(*this, FOwner);
    m_widget->hide();
}

TLTHeaderWidget::TLTHeaderWidget(TLTHeader& header, QWidget* parent)
    : QWidget(parent), m_header(header)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Right clicks are the header's own (its menus), not a context menu of the tree below.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

bool TLTHeaderWidget::event(QEvent* event)
{
    // The header's hints share the tree's hint window; the band's points are header points.
    QPoint at;
    switch (event->type()) {
    case QEvent::ToolTip: at = static_cast<QHelpEvent*>(event)->pos(); break;
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        at = static_cast<QMouseEvent*>(event)->position().toPoint();
        break;
    case QEvent::Leave:
    case QEvent::Wheel: break;
    default: return QWidget::event(event);
    }
    if (m_header.Treeview().headerHintEvent(event, at))
        return true;
    return QWidget::event(event);
}

void TLTHeaderWidget::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    m_header.Treeview().guardedEvent("painting the header",
                                     [&] { m_header.PaintHeaderArea(painter, event->rect()); });
}

void TLTHeaderWidget::forwardMouse(QMouseEvent* event)
{
    // The band's mouse input is the header's alone: whether the header acted on it or not, it
    // must not travel on to the tree's parent, which would read it in its own coordinates.
    m_header.Treeview().guardedEvent("the header mouse", [&] {
        m_header.HandleHeaderMouse(*event, event->position().toPoint());
    });
    event->accept();
}

void TLTHeaderWidget::mousePressEvent(QMouseEvent* event) { forwardMouse(event); }
void TLTHeaderWidget::mouseMoveEvent(QMouseEvent* event) { forwardMouse(event); }
void TLTHeaderWidget::mouseReleaseEvent(QMouseEvent* event) { forwardMouse(event); }
void TLTHeaderWidget::mouseDoubleClickEvent(QMouseEvent* event) { forwardMouse(event); }

void TLTHeaderWidget::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_header.Treeview().guardedEvent("the header mouse", [&] { m_header.HandleHeaderLeave(); });
}

}  // namespace zfw
