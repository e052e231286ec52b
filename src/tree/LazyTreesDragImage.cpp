// The parts of a drag that need no tree: the effect proposal, the drag loop over QDrag, the
// drag manager's forwarding, and the drag picture with its radial fade.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesDrag.h"
#include "tree/core/LazyTreesGuard.h"

#include <QDrag>
#include <QMimeData>

#include <cmath>

namespace zfw {

int suggestedDropEffect(bool fromThisTree, Qt::KeyboardModifiers shift, int allowedEffects)
{
    const int base = fromThisTree ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    auto allowedOr = [&](int wanted, int otherwise) {
        return (allowedEffects & wanted) != 0 ? wanted : otherwise;
    };
    const int proposal = allowedOr(base, allowedEffects);
    const bool ctrl = shift.testFlag(Qt::ControlModifier);
    const bool sh = shift.testFlag(Qt::ShiftModifier);
    const bool alt = shift.testFlag(Qt::AltModifier);
    if (ctrl && sh)
        return allowedOr(DROPEFFECT_LINK, proposal);
    if (ctrl && !alt)
        return allowedOr(DROPEFFECT_COPY, proposal);
    if (sh && !alt)
        return allowedOr(DROPEFFECT_MOVE, proposal);
    if (alt && !ctrl && !sh)
        return allowedOr(DROPEFFECT_LINK, proposal);
    return proposal;
}

int QtDragLoop::exec(QWidget* source, std::unique_ptr<QMimeData> data, const QPixmap& picture,
                     QPoint hotSpot, int allowedEffects)
{
    auto* drag = new QDrag(source);
    drag->setMimeData(data.release());
    if (!picture.isNull()) {
        drag->setPixmap(picture);
        drag->setHotSpot(hotSpot);
    }
    const auto allowed = Qt::DropActions::fromInt(allowedEffects & 7);
    return int(drag->exec(allowed));
}

// ----- the drag manager: the Qt drag events of the owner come here as drop-target steps ----

void TLTDragManager::DragEnter(const QMimeData* data, QObject* source, Qt::KeyboardModifiers shift,
                               QPoint pt, int& effect)
{
    FDataObject = data;
    FIsDropTarget = true;
    FDragSource = data ? FOwner.GetTreeFromDataObject(*data) : nullptr;
    FSourceObject = FDragSource ? nullptr : source;
    FOwner.OleDragEnter(shift, pt, effect);
}

void TLTDragManager::DragOver(Qt::KeyboardModifiers shift, QPoint pt, int& effect)
{
    QObject* source = FDragSource ? static_cast<QObject*>(FDragSource) : FSourceObject;
    FOwner.OleDragOver(source, shift, dsDragMove, pt, effect);
}

void TLTDragManager::DragLeave()
{
    FOwner.OleDragLeave();
    FIsDropTarget = false;
    FDragSource = nullptr;
    FSourceObject = nullptr;
    FDataObject = nullptr;
}

void TLTDragManager::Drop(const QMimeData* data, Qt::KeyboardModifiers shift,
                          Qt::MouseButtons buttons, QPoint pt, int& effect)
{
    FDataObject = data;
    ScopeGuard done([this] {
        FIsDropTarget = false;
        FDragSource = nullptr;
        FSourceObject = nullptr;
        FDataObject = nullptr;
    });
    FOwner.OleDragDrop(data, shift, buttons, pt, effect);
}

// ----- the drag picture -----------------------------------------------------------------------

void applyDragImageAlpha(QImage& image, TColor colorKey)
{
    if (image.isNull())
        return;
    if (image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const double m = std::max(w, h);
    const bool keyed = colorKey != clNone;
    // TColor keeps red in the low byte, QRgb in the third.
    const QRgb key = qRgb(int(colorKey & 0xFF), int((colorKey >> 8) & 0xFF),
                          int((colorKey >> 16) & 0xFF));
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const double dy = (y - h / 2) / m;
        for (int x = 0; x < w; ++x) {
            const QRgb rgb = line[x] & 0x00FFFFFFu;
            int alpha = 0;
            if (!keyed || rgb != (key & 0x00FFFFFFu)) {
                const double dx = (x - w / 2) / m;
                alpha = int(std::lround(255.0 * std::exp(-8.0 * std::sqrt(dx * dx + dy * dy))));
            }
            line[x] = rgb | (QRgb(alpha) << 24);
        }
    }
}

void TLTDragImage::PrepareDrag(const QImage& dragImage, QPoint imagePosition, QPoint hotSpot,
                               const QMimeData* dataObject)
{
    EndDrag();
    if (dragImage.isNull())
        return;
    QImage picture = dragImage.convertToFormat(QImage::Format_ARGB32);
    applyDragImageAlpha(picture, FColorKey);
    // The drawn picture's blend: the pixel alpha scaled by the transparency with the fade or
    // a key, else the transparency alone (the key pixels stay clear either way).
    const bool perPixel = FFade || FColorKey != clNone;
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const int a = qAlpha(line[x]);
            const int scaled = perPixel ? (a * FTransparency + 127) / 255 : FTransparency;
            line[x] = (line[x] & 0x00FFFFFFu) | (QRgb(scaled) << 24);
        }
    }
    FDragImage = picture;
    FImagePosition = imagePosition;
    FHotSpot = hotSpot - imagePosition;
    // The platform's drag shows the picture; without data there is no drag to carry it.
    FStates = TLTDragImageStates{disInDrag, disPrepared};
    if (dataObject)
        FStates.include(disSystemSupport);
}

void TLTDragImage::EndDrag()
{
    FStates.exclude(TLTDragImageStates{disInDrag, disPrepared, disSystemSupport});
    FDragImage = QImage();
}

}  // namespace zfw
