#pragma once
// Dragging nodes out of a tree and dropping data onto one: the drop effects and their bits,
// the drag manager that turns a drag over the tree into the tree's drop-target steps, the loop
// that runs a drag (replaceable, since a real drag blocks until the user drops), the drag
// picture with its radial fade, and the pictures of wheel panning.

#include "tree/LazyTreesColors.h"
#include "tree/core/LazyTrees.h"

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <memory>

class QMimeData;

namespace zfw {

class IClock;
class TBaseLazyTree;

// Drop effects: the bits of Qt's drop actions (copy 1, move 2, link 4) plus the flag a drop
// target adds when it scrolled under the drag.
inline constexpr int DROPEFFECT_NONE = 0;
inline constexpr int DROPEFFECT_COPY = 1;
inline constexpr int DROPEFFECT_MOVE = 2;
inline constexpr int DROPEFFECT_LINK = 4;
inline constexpr int DROPEFFECT_SCROLL = int(0x80000000u);
static_assert(DROPEFFECT_COPY == int(Qt::CopyAction) && DROPEFFECT_MOVE == int(Qt::MoveAction)
              && DROPEFFECT_LINK == int(Qt::LinkAction));

// How a drag starts from a button-down on a node: at once (automatic), or when OnDragAllowed
// lets it (manual).
enum TDragMode : std::uint8_t { dmManual, dmAutomatic };
// The phase of a drag over the tree that OnDragOver is asked about.
enum TDragState : std::uint8_t { dsDragEnter, dsDragLeave, dsDragMove };
enum TScrollDirection : std::uint8_t { sdLeft, sdUp, sdRight, sdDown };
using TScrollDirections = TSmallSet<TScrollDirection, std::uint8_t>;

// The effect to propose for a drag: from this tree a move, from elsewhere a copy, each only
// when allowed (else the allowed effects as they are); Ctrl+Shift or Alt ask for a link, Ctrl
// for a copy and Shift for a move, each falling back to that base when not allowed.
int suggestedDropEffect(bool fromThisTree, Qt::KeyboardModifiers shift, int allowedEffects);

// Runs a drag from start to drop and answers the effect the target chose (0 when cancelled
// or refused). A real drag blocks in the platform's loop; tests hand the tree their own loop.
class IDragLoop {
public:
    virtual ~IDragLoop() = default;
    virtual int exec(QWidget* source, std::unique_ptr<QMimeData> data, const QPixmap& picture,
                     QPoint hotSpot, int allowedEffects) = 0;
};

// The platform's drag: a QDrag with the picture.
class QtDragLoop final : public IDragLoop {
public:
    int exec(QWidget* source, std::unique_ptr<QMimeData> data, const QPixmap& picture,
             QPoint hotSpot, int allowedEffects) override;
};

// A tree's drop source and target. The platform shows the drag picture itself, so there is no
// drop-target picture helper here.
class ILTDragManager {
public:
    virtual ~ILTDragManager() = default;
    virtual void ForceDragLeave() = 0;
    // The data of the drag over the tree now (nil when none).
    virtual const QMimeData* GetDataObject() const = 0;
    // The tree the dragged data come from, when it lives in this process; else nil.
    virtual TBaseLazyTree* GetDragSource() const = 0;
    virtual bool GetDropTargetHelperSupported() const = 0;
    virtual bool GetIsDropTarget() const = 0;
    // The drop-target steps, with the point in client coordinates; effect in and out.
    virtual void DragEnter(const QMimeData* data, QObject* source, Qt::KeyboardModifiers shift,
                           QPoint pt, int& effect) = 0;
    virtual void DragOver(Qt::KeyboardModifiers shift, QPoint pt, int& effect) = 0;
    virtual void DragLeave() = 0;
    virtual void Drop(const QMimeData* data, Qt::KeyboardModifiers shift, Qt::MouseButtons buttons,
                      QPoint pt, int& effect) = 0;
};

class TLTDragManager final : public ILTDragManager {
public:
    explicit TLTDragManager(TBaseLazyTree& owner) : FOwner(owner) {}

    void ForceDragLeave() override {}
    const QMimeData* GetDataObject() const override { return FDataObject; }
    TBaseLazyTree* GetDragSource() const override { return FDragSource; }
    bool GetDropTargetHelperSupported() const override { return false; }
    bool GetIsDropTarget() const override { return FIsDropTarget; }
    void DragEnter(const QMimeData* data, QObject* source, Qt::KeyboardModifiers shift, QPoint pt,
                   int& effect) override;
    void DragOver(Qt::KeyboardModifiers shift, QPoint pt, int& effect) override;
    void DragLeave() override;
    void Drop(const QMimeData* data, Qt::KeyboardModifiers shift, Qt::MouseButtons buttons,
              QPoint pt, int& effect) override;

private:
    TBaseLazyTree& FOwner;
    TBaseLazyTree* FDragSource = nullptr;
    // What started the drag when it is not a tree of this process (another widget), else nil.
    QObject* FSourceObject = nullptr;
    bool FIsDropTarget = false;
    const QMimeData* FDataObject = nullptr;
};

enum TLTDragImageState : std::uint8_t { disHidden, disInDrag, disPrepared, disSystemSupport };
using TLTDragImageStates = TSmallSet<TLTDragImageState, std::uint8_t>;
enum TLTDragMoveRestriction : std::uint8_t { dmrNone, dmrHorizontalOnly, dmrVerticalOnly };

// The picture that travels with a drag. It is never drawn onto the screen by the tree: the
// platform's drag shows it (disSystemSupport), so only its bytes are made here.
class TLTDragImage {
public:
    TLTDragImage() = default;
    TLTDragImage(int transparency, bool fade) : FTransparency(transparency), FFade(fade) {}
    int Transparency() const { return FTransparency; }
    void SetTransparency(int value) { FTransparency = std::clamp(value, 0, 255); }
    bool Fade() const { return FFade; }
    void SetFade(bool value) { FFade = value; }
    TColor ColorKey() const { return FColorKey; }
    void SetColorKey(TColor value) { FColorKey = value; }
    TLTDragMoveRestriction MoveRestriction() const { return FRestriction; }
    void SetMoveRestriction(TLTDragMoveRestriction value) { FRestriction = value; }
    TLTDragImageStates States() const { return FStates; }

    // Takes the picture of the dragged nodes: pixels of the colour key become transparent,
    // the others fade from the centre outwards (with Fade) scaled by Transparency.
    void PrepareDrag(const QImage& dragImage, QPoint imagePosition, QPoint hotSpot,
                     const QMimeData* dataObject);
    void EndDrag();
    // The picture for the platform's drag (null when nothing is prepared) and the hot spot in
    // it.
    const QImage& image() const { return FDragImage; }
    QPoint hotSpot() const { return FHotSpot; }

private:
    QImage FDragImage;
    QPoint FImagePosition;
    QPoint FHotSpot;
    int FTransparency = 128;
    bool FFade = false;
    TLTDragMoveRestriction FRestriction = dmrNone;
    TColor FColorKey = clNone;
    TLTDragImageStates FStates;
};

// The alpha of each pixel of a w x h drag picture before the transparency: 0 for the colour
// key (clNone: no key), else round(255 * e^(-8 d)) with d the distance from the centre in
// units of the larger side.
void applyDragImageAlpha(QImage& image, TColor colorKey);

// The wheel-panning pictures and cursors by their names ("LT_MOVEALL", "LT_MOVEEW",
// "LT_MOVENS", "LT_MOVEN", "LT_MOVES", "LT_MOVEE", "LT_MOVEW", "LT_MOVENE", "LT_MOVENW",
// "LT_MOVESE", "LT_MOVESW"), drawn here. Panning pictures are 32 x 32 on fuchsia, which the
// window's mask leaves out; cursors have a transparent background. Null for other names.
QImage panningImage(const QString& name);
QImage panningCursorImage(const QString& name);

// The 32 x 32 indicator of wheel panning: a frameless window shaped by its picture.
class TLTPanningWindow final : public QWidget {
public:
    // Throws for an empty picture.
    TLTPanningWindow(QWidget* owner, const QImage& picture);
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

}  // namespace zfw
