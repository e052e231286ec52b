#pragma once
// The tree's pop-up texts: the owner's node hints and the tooltip that shows a cut-off cell text
// in full, exactly over the cell. The tree decides on Qt's tooltip event (or at once, on a mouse
// move, for tooltips) whether and where a hint shows; its own hint window sizes, places, fades
// and paints it.

#include "common/Alignment.h"
#include "tree/core/LazyTrees.h"

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>

namespace zfw {

class TBaseLazyTree;

enum TLTTooltipLineBreakStyle : std::uint8_t { hlbDefault, hlbForceSingleLine, hlbForceMultiLine };
enum TLTHintKind : std::uint8_t { vhkText, vhkOwnerDraw };

// What the tree hands its hint window; kept by the tree while the hint shows.
struct TLTHintData {
    TBaseLazyTree* Tree = nullptr;
    PLazyNode Node = nullptr;  // nil: the control's own hint
    TColumnIndex Column = NoColumn;
    QRect HintRect;  // the owner's size of an owner-drawn hint; empty otherwise
    QString DefaultHint;
    QString HintText;  // the text finally shown
    Qt::LayoutDirection BidiMode = Qt::LeftToRight;
    TAlignment Alignment = taLeftJustify;
    TLTTooltipLineBreakStyle LineBreakStyle = hlbDefault;
};

// True when a cell text in `text` (client coordinates, QRect's inclusive edges) is not shown in
// full between the column bounds [leftBound, rightBound) of a client area of the given size;
// margin is the bottom-right content margin of the cell. A text that exactly fits is not cut.
bool tooltipTextCutOff(const QRect& text, QPoint margin, int leftBound, int rightBound,
                       int clientWidth, int clientHeight);

// The hint moved inside the desktop: a bottom or right edge beyond it moves the hint up or
// left, a left or top edge before it moves it right or down; a hint larger than the desktop
// is cut to it.
QRect placeHintInside(const QRect& hint, const QRect& desktop);

// Longest text a hint measures and paints; the rest is cut, so that a pathological text
// neither hangs the measuring nor makes a window larger than any screen.
inline constexpr int kMaxHintTextLength = 10000;

class TLazyTreeHintWindow : public QWidget {
public:
    // A top-level tooltip window owned by the tree; it takes no input and no focus.
    explicit TLazyTreeHintWindow(TBaseLazyTree* tree);
    ~TLazyTreeHintWindow() override;

    // The window's size (at 0, 0) for the data, texts measured within maxWidth pixels; empty
    // when there is nothing to show (no data, an empty text, an empty owner size).
    QRect CalcHintRect(int maxWidth, const TLTHintData& data);
    // Shows the window at rect (global coordinates) moved inside the desktop, fading in when
    // the tree's animation type says so. clientPos is the mouse in the tree's client area:
    // nothing shows when it has left the tree's last hint rectangle meanwhile.
    void ActivateHint(const QRect& rect, const QRect& desktop, QPoint clientPos);
    const TLTHintData& hintData() const { return FHintData; }
    // The text as painted (cut to kMaxHintTextLength).
    QString paintedText() const;
    bool fading() const { return m_fade.isActive(); }
    // The font the text is painted in: a tooltip's is the cell's, others the tooltip font.
    QFont hintFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    // One step of the fade; false (and the window fully opaque) once it is over or cancelled.
    bool animationStep();

    TBaseLazyTree* m_tree;
    TLTHintData FHintData;
    int FTextHeight = 0;
    // The fade runs from the window's own timer: opacity follows the elapsed part of the
    // duration. A slide would need a copy of the screen under the hint, which a window cannot
    // reliably take here; a slide shows the hint at once.
    QBasicTimer m_fade;
    QElapsedTimer m_fadeClock;
    int m_fadeDuration = 0;
};

}  // namespace zfw
