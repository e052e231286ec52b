// Scrolling by itself: near the edges while a rubber band or a drag is under way (timer 4 after
// the auto-scroll delay), and wheel panning with the middle button, its indicator window and
// its direction cursors, all drawn here.

#include "platform/Services.h"
#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesDrag.h"

#include <QApplication>
#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace zfw {

namespace {

// Distance from the start point beyond which panning moves (both ways, in pixels).
constexpr int PanDeadZone = 8;

// Arrow heads of the pictures, by direction: (dx, dy) of the point a head aims at.
struct ArrowDirection {
    const char* letter;
    int dx, dy;
};
constexpr ArrowDirection kArrows[] = {
    {"N", 0, -1},  {"S", 0, 1},    {"E", 1, 0},  {"W", -1, 0},
    {"NE", 1, -1}, {"NW", -1, -1}, {"SE", 1, 1}, {"SW", -1, 1},
};

// A filled triangle pointing in (dx, dy) with its tip at distance reach from the centre c.
void drawHead(QPainter& p, QPointF c, int dx, int dy, double reach, double size)
{
    const double len = std::hypot(double(dx), double(dy));
    const QPointF dir(dx / len, dy / len);
    const QPointF normal(-dir.y(), dir.x());
    const QPointF tip = c + dir * reach;
    const QPointF base = tip - dir * size;
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(base + normal * size * 0.8);
    path.lineTo(base - normal * size * 0.8);
    path.closeSubpath();
    p.drawPath(path);
}

// The directions a picture or cursor name shows: the letters after "LT_MOVE".
std::vector<ArrowDirection> arrowsOf(const QString& name)
{
    std::vector<ArrowDirection> out;
    if (!name.startsWith(QLatin1String("LT_MOVE")))
        return out;
    const QString suffix = name.mid(7);
    auto add = [&](const char* letters) {
        for (const auto& a : kArrows)
            if (QLatin1String(a.letter) == QLatin1String(letters))
                out.push_back(a);
    };
    if (suffix == QLatin1String("ALL")) {
        for (const char* l : {"N", "S", "E", "W"})
            add(l);
    } else if (suffix == QLatin1String("NS")) {
        add("N");
        add("S");
    } else if (suffix == QLatin1String("EW")) {
        add("E");
        add("W");
    } else {
        for (const auto& a : kArrows)
            if (suffix == QLatin1String(a.letter))
                out.push_back(a);
    }
    return out;
}

}  // namespace

QImage panningImage(const QString& name)
{
    const auto arrows = arrowsOf(name);
    if (arrows.size() < 2)
        return {};
    QImage img(32, 32, QImage::Format_RGB32);
    img.fill(QColor(255, 0, 255));
    QPainter p(&img);
    // Hard edges: every pixel is either fuchsia (outside the window) or part of the picture.
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPointF c(15.5, 15.5);
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(QRectF(0.5, 0.5, 30, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    for (const auto& a : arrows)
        drawHead(p, c, a.dx, a.dy, 12, 5);
    p.drawEllipse(QRectF(13, 13, 5, 5));
    return img;
}

QImage panningCursorImage(const QString& name)
{
    const auto arrows = arrowsOf(name);
    if (arrows.empty())
        return {};
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(15.5, 15.5);
    // A dark head with a light rim reads on any background.
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(Qt::black);
    for (const auto& a : arrows)
        drawHead(p, c, a.dx, a.dy, arrows.size() == 1 ? 13 : 11, 6);
    p.drawEllipse(QRectF(13.5, 13.5, 4, 4));
    return img;
}

TLTPanningWindow::TLTPanningWindow(QWidget* owner, const QImage& picture)
    : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint), m_picture(picture)
{
    if (picture.isNull() || picture.width() == 0 || picture.height() == 0)
        throw std::logic_error("Invalid wheel panning image.");
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFixedSize(picture.size());
    // Fuchsia is outside the window's shape.
    setMask(QBitmap::fromImage(picture.createMaskFromColor(qRgb(255, 0, 255), Qt::MaskInColor)));
}

void TLTPanningWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

// ----- edge scrolling -------------------------------------------------------------------------

bool TBaseLazyTree::CanAutoScroll() const
{
    const bool panning = FStates.contains(tsWheelPanning) || FStates.contains(tsWheelScrolling);
    // The header's own drags are not there in a tree without header columns.
    const bool headerIdle = true;
    const bool dropTarget = FDragManager && FDragManager->GetIsDropTarget();
    return (panning || options().AutoOptions.contains(toAutoScroll)) && headerIdle
           && (IsMouseSelecting() || dropTarget || FStates.contains(tsVCLDragging) || panning);
}

TScrollDirections TBaseLazyTree::DetermineScrollDirections(int x, int y)
{
    TScrollDirections result;
    if (!CanAutoScroll()) {
        m_dragScrollStarted = false;
        return result;
    }
    if (FStates.contains(tsWheelPanning)) {
        const int dx = x - FLastClickPos.x();
        const int dy = y - FLastClickPos.y();
        if (dx > PanDeadZone)
            result.include(sdRight);
        else if (dx < -PanDeadZone)
            result.include(sdLeft);
        if (dy > PanDeadZone)
            result.include(sdDown);
        else if (dy < -PanDeadZone)
            result.include(sdUp);
        return result;
    }
    const int zone = int(DefaultNodeHeight());
    const int w = clientWidth();
    const int h = clientHeight();
    if (x < zone && FOffsetX != 0)
        result.include(sdLeft);
    if (FRangeX > w && x > w - zone)
        result.include(sdRight);
    if (y < zone && FOffsetY != 0)
        result.include(sdUp);
    if (FRangeY > h && y > h - zone)
        result.include(sdDown);
    if (result.empty()) {
        m_dragScrollStarted = false;
        return result;
    }
    // The delay counts from the moment the point first came into an edge zone.
    SystemClock systemClock;
    const IClock& clock = m_dragClock ? *m_dragClock : systemClock;
    const qint64 now = clock.monotonicMs();
    if (!m_dragScrollStarted) {
        m_dragScrollStarted = true;
        FDragScrollStart = now;
    }
    if (now - FDragScrollStart < FAutoScrollDelay)
        return {};
    return result;
}

void TBaseLazyTree::StartAutoScroll(int x, int y)
{
    FScrollDirections = DetermineScrollDirections(x, y);
    if (FStates.contains(tsWheelPanning))
        return;
    // The timer is armed as soon as the point is in an edge zone: the first firing comes when
    // the delay has passed, so a pointer resting at the edge scrolls without moving again.
    const bool inZone = !FScrollDirections.empty() || m_dragScrollStarted;
    const bool running = FStates.contains(tsScrollPending) || FStates.contains(tsScrolling);
    if (inZone && !running) {
        DoStateChange({tsScrollPending});
        startTimerById(ScrollTimer, FAutoScrollDelay);
    } else if (!inZone && running) {
        StopTimer(ScrollTimer);
        DoStateChange({}, {tsScrollPending, tsScrolling});
    }
}

void TBaseLazyTree::DoTimerScroll()
{
    const QPoint p = m_lastMousePos;
    const QRect client(0, 0, clientWidth(), clientHeight());
    const bool inside = client.contains(p);
    const bool panning = FStates.contains(tsWheelPanning);
    if (!IsMouseSelecting() && !inside && !panning)
        return;
    FScrollDirections = DetermineScrollDirections(p.x(), p.y());
    // In an edge zone whose delay has not quite run out (timers may fire a little early).
    if (FScrollDirections.empty() && m_dragScrollStarted && !panning)
        return;
    const int stepY = std::min(int(ScrollBarOptions().VerticalIncrement()), client.height());
    const int stepX = ScrollBarOptions().HorizontalIncrement();
    int deltaX = 0;
    int deltaY = 0;
    TScrollDirections dirs = FScrollDirections;
    if (panning) {
        if (dirs.contains(sdUp))
            deltaY = FLastClickPos.y() - p.y() - PanDeadZone;
        else if (dirs.contains(sdDown))
            deltaY = FLastClickPos.y() - p.y() + PanDeadZone;
        if (dirs.contains(sdLeft))
            deltaX = FLastClickPos.x() - p.x() - PanDeadZone;
        else if (dirs.contains(sdRight))
            deltaX = FLastClickPos.x() - p.x() + PanDeadZone;
    } else {
        // Outside the client area the step grows with the distance from its edge.
        const int outY = p.y() < 0 ? -p.y()
                                   : (p.y() >= client.height() ? p.y() - client.height() + 1 : 1);
        const int outX = p.x() < 0 ? -p.x()
                                   : (p.x() >= client.width() ? p.x() - client.width() + 1 : 1);
        if (dirs.contains(sdUp))
            deltaY = stepY * outY;
        else if (dirs.contains(sdDown))
            deltaY = -stepY * outY;
        if (dirs.contains(sdLeft))
            deltaX = stepX * outX;
        else if (dirs.contains(sdRight))
            deltaX = -stepX * outX;
    }
    // A direction whose edge is reached is done.
    if (FOffsetY >= 0)
        dirs.exclude(sdUp);
    if (-std::int64_t(FOffsetY) + client.height() >= FRangeY)
        dirs.exclude(sdDown);
    if (FOffsetX >= 0)
        dirs.exclude(sdLeft);
    if (-std::int64_t(FOffsetX) + client.width() >= FRangeX)
        dirs.exclude(sdRight);
    if (!dirs.contains(sdUp) && !dirs.contains(sdDown))
        deltaY = 0;
    if (!dirs.contains(sdLeft) && !dirs.contains(sdRight))
        deltaX = 0;
    FScrollDirections = dirs;
    if (UseRightToLeftReading())
        deltaX = -deltaX;
    if (deltaX != 0 || deltaY != 0) {
        if (IsMouseSelecting()) {
            DoSetOffsetXY(QPoint(FOffsetX + deltaX, FOffsetY + deltaY), DefaultScrollUpdateFlags);
            // The band's moving corner stays under the mouse while the content moves.
            if (CalculateSelectionRect(p.x(), p.y()))
                HandleDrawSelection(p.x(), p.y());
            Invalidate();
        } else {
            DoSetOffsetXY(QPoint(FOffsetX + deltaX, FOffsetY + deltaY), DefaultScrollUpdateFlags);
        }
    }
    if (dirs.empty() && !panning) {
        StopTimer(ScrollTimer);
        DoStateChange({}, {tsScrollPending, tsScrolling});
    }
}

// ----- the mouse while dragging or panning -----------------------------------------------------

bool TBaseLazyTree::dragMouseMove(QPoint pos)
{
    m_lastMousePos = pos;
    if (FStates.contains(tsNodeHeightTracking))
        return false;
    const bool panning = FStates.contains(tsWheelPanning) || FStates.contains(tsWheelScrolling);
    const int distance = QApplication::startDragDistance();
    if (FStates.contains(tsWheelPanning) && FStates.contains(tsWheelScrolling)
        && (std::abs(pos.x() - FLastClickPos.x()) >= distance
            || std::abs(pos.y() - FLastClickPos.y()) >= distance))
        DoStateChange({}, {tsWheelScrolling});
    if (FStates.contains(tsOLEDragPending)
        && (std::abs(pos.x() - FLastClickPos.x()) >= FDragThreshold
            || std::abs(pos.y() - FLastClickPos.y()) >= FDragThreshold)) {
        BeginDragOperation(FLastClickPos);
        return true;
    }
    if (CanAutoScroll())
        StartAutoScroll(pos.x(), pos.y());
    if (panning)
        UpdatePanningCursor(pos.x(), pos.y());
    return false;
}

bool TBaseLazyTree::panningMouseButton(Qt::MouseButton button, QPoint pos, bool press)
{
    const bool panning = FStates.contains(tsWheelPanning) || FStates.contains(tsWheelScrolling);
    if (press) {
        if (panning) {
            // Any button ends panning, and does nothing else.
            StopWheelPanning();
            return true;
        }
        if (button != Qt::MiddleButton || !options().MiscOptions.contains(toWheelPanning))
            return false;
        if (FRangeX > clientWidth() || FRangeY > clientHeight()) {
            FLastClickPos = pos;
            StartWheelPanning(pos);
            return true;
        }
        return false;
    }
    if (button != Qt::MiddleButton || !panning)
        return false;
    // Released without moving: panning goes on until the next press; after a drag it ends.
    if (FStates.contains(tsWheelScrolling))
        DoStateChange({}, {tsWheelScrolling});
    else
        StopWheelPanning();
    return true;
}

void TBaseLazyTree::StartWheelPanning(QPoint position)
{
    StopTimer(ScrollTimer);
    DoStateChange({tsWheelPanning, tsWheelScrolling});
    const bool horizontal = FRangeX > clientWidth();
    const bool vertical = FRangeY > clientHeight();
    const QString name = horizontal && vertical ? QStringLiteral("LT_MOVEALL")
                         : horizontal           ? QStringLiteral("LT_MOVEEW")
                                                : QStringLiteral("LT_MOVENS");
    FPanningWindow = std::make_unique<TLTPanningWindow>(this, panningImage(name));
    FPanningWindow->move(viewport()->mapToGlobal(position) - QPoint(16, 16));
    FPanningWindow->show();
    setFocus(Qt::OtherFocusReason);
    viewport()->grabMouse();
    FLastClickPos = position;
    FPanningCursor.clear();
    UpdatePanningCursor(position.x(), position.y());
    startTimerById(ScrollTimer, 20);
}

void TBaseLazyTree::StopWheelPanning()
{
    if (!FStates.contains(tsWheelPanning) && !FStates.contains(tsWheelScrolling))
        return;
    StopTimer(ScrollTimer);
    viewport()->releaseMouse();
    DoStateChange({}, {tsWheelPanning, tsWheelScrolling});
    FPanningWindow.reset();
    FPanningCursor.clear();
    viewport()->unsetCursor();
}

void TBaseLazyTree::UpdatePanningCursor(int x, int y)
{
    const int dx = x - FLastClickPos.x();
    const int dy = y - FLastClickPos.y();
    const bool moved = std::abs(dx) > 7 || std::abs(dy) > 7;
    const bool horizontal = FRangeX > clientWidth();
    const bool vertical = FRangeY > clientHeight();
    QString name;
    if (moved && horizontal && vertical) {
        if (dx < -PanDeadZone)
            name = dy < -PanDeadZone ? "LT_MOVENW" : dy <= PanDeadZone ? "LT_MOVEW" : "LT_MOVESW";
        else if (dx <= PanDeadZone)
            name = y < FLastClickPos.y() ? "LT_MOVEN" : "LT_MOVES";
        else
            name = dy < -PanDeadZone ? "LT_MOVENE" : dy <= PanDeadZone ? "LT_MOVEE" : "LT_MOVESE";
    } else if (moved && horizontal) {
        name = x < FLastClickPos.x() ? "LT_MOVEW" : "LT_MOVEE";
    } else if (moved) {
        name = y < FLastClickPos.y() ? "LT_MOVEN" : "LT_MOVES";
    } else {
        name = !horizontal ? "LT_MOVENS" : vertical ? "LT_MOVEALL" : "LT_MOVEEW";
    }
    if (name == FPanningCursor)
        return;
    FPanningCursor = name;
    viewport()->setCursor(QCursor(QPixmap::fromImage(panningCursorImage(name)), 16, 16));
}

}  // namespace zfw
