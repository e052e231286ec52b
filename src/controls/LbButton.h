#pragma once
// The push button of every window: an owner-drawn face in one of six styles, a caption with
// an optional multi-frame glyph, hot tracking with an optional fade-out, keyboard handling
// (Enter, Space, accelerator, default and cancel button of its window) and a modal result
// that closes the window it sits in.
//
// The face is computed by lbButtonFaceModel (rectangles, colours, glyph frame, text
// placement) and only then painted by DrawLbButtonFace, so the geometry can be checked
// without comparing images.

#include "common/Alignment.h"
#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QAbstractButton>
#include <QFont>
#include <QImage>
#include <QPalette>
#include <QPointer>

#include <cstdint>
#include <vector>

class QAction;
class QMenu;
class QPainter;
class QTimer;

namespace zfw {

enum TLbButtonStyle : std::uint8_t { bsNormal, bsEncarta, bsModern, bsOld, bsShape, bsQuicken };

enum TLbButtonLayout : std::uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

enum TLbButtonKind : std::uint8_t {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};

enum TLbColorStyle : std::uint8_t {
    lcsCustom,
    lcsGold,
    lcsChrome,
    lcsBlue,
    lcsRed,
    lcsUltraFlat1,
    lcsUltraFlat2,
    lcsUltraFlatXP,
    lcsAqua,
    lcsDefault,
    lcsQuicken
};

// Modal result of the "all" preset; the others are in TModalResult.
inline constexpr int mrAll = 12;

// Hot level of a button under the mouse; 0 is the normal face.
inline constexpr int kLbHotTrackSteps = 8;
// Interval of one fade step in milliseconds.
inline constexpr int kLbFadeIntervalMs = 30;
// Colour that stands for "nothing painted here" in the transparent styles.
inline constexpr TColor kLbKeyColor = 0xFF00FF;

// ----- face model --------------------------------------------------------------------------

// Everything the face depends on.
struct LbFaceParams {
    int width = 0;
    int height = 0;
    int hotTrackStep = 0;  // 0 .. kLbHotTrackSteps
    int numGlyphs = 0;
    QImage glyph;  // strip of numGlyphs frames side by side
    bool down = false;
    bool hot = false;  // under the mouse or focused
    bool enabled = true;
    bool flat = false;
    bool wordWrap = false;
    bool hasPopup = false;
    TLbButtonStyle style = bsNormal;
    TColor color = clBtnFace;
    TColor colorWhenDown = clNone;
    TColor hotTrackColor = clNone;
    TColor lightColor = clWhite;
    TColor shadowColor = clGray;
    QFont font;
    QColor fontColor = Qt::black;
    TLbButtonLayout layout = blGlyphLeft;
    QString caption;
    TAlignment alignment = taCenter;
    QPalette palette;  // resolves system colours
};

// Text measurement used by the model; the default measures with QFontMetrics, tests may
// substitute a fixed-pitch one.
class LbTextMeasure {
public:
    virtual ~LbTextMeasure() = default;
    // Width of the caption on one line ("&" prefixes processed).
    virtual int lineWidth(const QFont& font, const QString& text) const = 0;
    // Size of the caption broken into lines no wider than maxWidth.
    virtual QSize wrappedSize(const QFont& font, const QString& text, int maxWidth) const = 0;
};
const LbTextMeasure& fontMetricsMeasure();

// A straight line from `from` towards `to`; the end point itself is not drawn.
struct LbLine {
    QPoint from;
    QPoint to;
    QColor color;
    bool operator==(const LbLine&) const = default;
};

// One band of a gradient.
struct LbBand {
    TRect rect;
    QColor color;
};

enum class LbBackground { None, Key, Face, Gradient };

struct LbFaceModel {
    bool down = false;
    int offset = 0;  // shift of caption and glyph while pressed
    QColor faceColor;
    LbBackground background = LbBackground::None;
    TRect backgroundRect;  // Key and Face fills
    std::vector<LbBand> bands;
    std::vector<LbLine> lines;  // bevel lines, and the two Quicken lines
    bool modernFrame = false;
    QColor modernInnerColor;   // outline (1, 1, W - 1, H - 1)
    QColor modernOuterColor;   // rounded outline (0, 0, W, H), 6 x 6 corners
    bool quickenFace = false;  // filled rounded (0, 1, W, H), 4 x 4 corners, face colour
    bool bold = false;
    int glyphFrame = -1;  // frame to draw; -1: no glyph
    int gw = 0;
    int gh = 0;
    QPoint glyphPos;
    bool glyphFirst = false;  // glyph drawn before the caption (bsShape)
    QString caption;          // as drawn (shortened when it does not fit one line)
    int textFlags = 0;        // Qt::AlignmentFlag | Qt::TextFlag
    TRect textRect;
    QColor textColor;
    int availableWidth = 0;
    int textWidth = 0;
    int textHeight = 0;
    bool arrow = false;
    QPoint arrowPos;
};

LbFaceModel lbButtonFaceModel(const LbFaceParams& p,
                              const LbTextMeasure& measure = fontMetricsMeasure());

// Paints the face into (0, 0, width, height) of the painter's device.
void DrawLbButtonFace(QPainter& painter, const LbFaceParams& p);
void DrawLbButtonFace(QPainter& painter, const LbFaceParams& p, const LbFaceModel& model);

// The 32 bands of a vertical gradient from `from` to `to` over (left, top, right, bottom);
// bands that would be empty are left out.
std::vector<LbBand> lbGradientBands(const QColor& from, const QColor& to, int left, int top,
                                    int right, int bottom);
void DrawGradientBands(QPainter& painter, const QColor& from, const QColor& to, int left, int top,
                       int right, int bottom);

// face * (1 - step / 8) + hot * step / 8 per channel, truncated.
QColor BlendHotTrackColor(const QColor& face, const QColor& hot, int hotTrackStep);

// Frame `frameIndex` of a strip (the first frame when the index lies past the strip), with
// the colour of its bottom-left pixel made transparent.
QImage lbGlyphFrame(const QImage& glyph, int frameIndex, int gw, int gh);

// Draws frame (frameLeft / gw) of the strip at (x, y), its bottom-left colour transparent.
void DrawGlyphTransparent(QPainter& painter, const QImage& glyph, int x, int y, int frameLeft,
                          int gw, int gh);

// The program's own glyph pictures by resource name ("LBOK" ... "LBALL", "LBARROW"); a null
// image for an unknown name.
QImage lbGlyphResource(const QString& name);

// ----- colour-style and kind presets -------------------------------------------------------

struct LbColorStylePreset {
    TColor color;
    TColor lightColor;
    TColor shadowColor;
    TColor colorWhenDown;
    TColor hotTrackColor;
    bool flat;
    TLbButtonStyle style;
    TColor fontColor;
};
// The preset of a colour style; lcsCustom has none (returns false).
bool GetColorStyleColors(TLbColorStyle cs, LbColorStylePreset& out);

struct LbKindPreset {
    int modalResult;
    const char* glyphResource;
    const char* caption;  // UTF-8
};
// The preset of a kind; bkCustom has none (nullptr).
const LbKindPreset* lbKindPreset(TLbButtonKind kind);

// ----- the button --------------------------------------------------------------------------

// Drop-in for QPushButton: setText/text (the caption), setToolTip, clicked, click. Pictures
// come from setGlyph / setKind rather than setIcon. The widget never fills its background, so
// what the transparent styles (bsModern, bsShape, bsQuicken) leave unpainted shows the window
// behind the button.
class TLbButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(int Alignment READ alignment WRITE setAlignment)
    Q_PROPERTY(bool Cancel READ isCancel WRITE setCancel)
    Q_PROPERTY(uint Color READ color WRITE setColor)
    Q_PROPERTY(int ColorStyle READ colorStyle WRITE setColorStyle)
    Q_PROPERTY(uint ColorWhenDown READ colorWhenDown WRITE setColorWhenDown)
    Q_PROPERTY(bool Default READ isDefault WRITE setDefault)
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)
    Q_PROPERTY(QImage Glyph READ glyph WRITE setGlyph)
    Q_PROPERTY(uint HotTrackColor READ hotTrackColor WRITE setHotTrackColor)
    Q_PROPERTY(QFont HotTrackFont READ hotTrackFont WRITE setHotTrackFont)
    Q_PROPERTY(int Kind READ kind WRITE setKind)
    Q_PROPERTY(int Layout READ glyphLayout WRITE setGlyphLayout)
    Q_PROPERTY(uint LightColor READ lightColor WRITE setLightColor)
    Q_PROPERTY(int ModalResult READ modalResult WRITE setModalResult)
    Q_PROPERTY(int NumGlyphs READ numGlyphs WRITE setNumGlyphs)
    Q_PROPERTY(uint ShadowColor READ shadowColor WRITE setShadowColor)
    Q_PROPERTY(bool SlowDecease READ slowDecease WRITE setSlowDecease)
    Q_PROPERTY(int Style READ buttonStyle WRITE setButtonStyle)
    Q_PROPERTY(bool UseHotTrackFont READ useHotTrackFont WRITE setUseHotTrackFont)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)

public:
    explicit TLbButton(QWidget* parent = nullptr);
    explicit TLbButton(const QString& text, QWidget* parent = nullptr);
    ~TLbButton() override;

    TAlignment alignment() const { return FAlignment; }
    void setAlignment(int a);
    bool isCancel() const { return FCancel; }
    void setCancel(bool on) { FCancel = on; }
    // Face colour; a system colour is resolved against the palette.
    TColor color() const { return m_color; }
    void setColor(TColor c);
    // Always lcsCustom: writing a preset applies its colours and is not kept.
    TLbColorStyle colorStyle() const { return FDummyStyle; }
    void setColorStyle(int cs);
    TColor colorWhenDown() const { return FColorWhenDown; }
    void setColorWhenDown(TColor c) { FColorWhenDown = c; }
    bool isDefault() const { return FDefault; }
    void setDefault(bool on) { FDefault = on; }
    bool isFlat() const { return FFlat; }
    void setFlat(bool on);
    const QImage& glyph() const { return FGlyph; }
    // Copies the strip; NumGlyphs becomes width / height (0 for an empty image).
    void setGlyph(const QImage& strip);
    TColor hotTrackColor() const { return FHotTrackColor; }
    void setHotTrackColor(TColor c) { FHotTrackColor = c; }
    QFont hotTrackFont() const { return FHTFont; }
    void setHotTrackFont(const QFont& f) { FHTFont = f; }
    TLbButtonKind kind() const { return FKind; }
    // A preset other than bkCustom sets glyph, caption and modal result.
    void setKind(int k);
    TLbButtonLayout glyphLayout() const { return FLayout; }
    void setGlyphLayout(int l);
    TColor lightColor() const { return FLightColor; }
    void setLightColor(TColor c);
    int modalResult() const { return FModalResult; }
    // Result given to the window on click: mrOk accepts, mrCancel rejects, others done(n).
    void setModalResult(int mr);
    int numGlyphs() const { return FNumGlyphs; }
    void setNumGlyphs(int n);
    TColor shadowColor() const { return FShadowColor; }
    void setShadowColor(TColor c);
    bool slowDecease() const { return FSlowDecease; }
    void setSlowDecease(bool on);
    TLbButtonStyle buttonStyle() const { return FStyle; }
    void setButtonStyle(int s);
    bool useHotTrackFont() const { return FUseHTFont; }
    void setUseHotTrackFont(bool on) { FUseHTFont = on; }
    bool wordWrap() const { return FWordWrap; }
    void setWordWrap(bool on);

    // Menu popped up below the button on click (not owned).
    QMenu* popupMenu() const;
    void setPopupMenu(QMenu* menu);
    // Action triggered on click; its text, tool tip, enabled and visible state follow it, and
    // its icon becomes the glyph while the button has none.
    QAction* action() const;
    void setAction(QAction* action);

    // State as the painting sees it.
    bool isPressed() const { return bDown; }
    bool isCursorOnButton() const { return bCursorOnButton; }
    int hotTrackStep() const { return FHotTrackStep; }
    bool isFading() const;

    // The platform's click: presses and clicks (nothing when hidden or disabled).
    void Click();
    // One step of the fade-out of the hot colour.
    void FadeStep();

    // The face parameters of the current state, at the given size.
    LbFaceParams faceParams(int width, int height) const;

    QSize sizeHint() const override;

public Q_SLOTS:
    // Qt's name for Click, so that code written against QPushButton also closes the window
    // with the modal result.
    void click() { Click(); }

Q_SIGNALS:
    void mouseEnter();
    void mouseExit();

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void init();
    void DoClick();
    void applyModalResult();
    void clickedFromBase();
    void ActionChange();
    void AssignActionImage();
    void watchWindow();
    bool parentShowing() const;
    bool isAccelerator(const QString& text) const;
    bool handleDialogKey(QKeyEvent* ke);
    void stopFade();

    TAlignment FAlignment = taCenter;
    TColor FShadowColor = clGray;
    TColor FColorWhenDown = clNone;
    bool FFlat = false;
    bool FWordWrap = false;
    QImage FGlyph;
    TColor FHotTrackColor = clNone;
    QFont FHTFont;
    TLbButtonKind FKind = bkCustom;
    TLbButtonLayout FLayout = blGlyphLeft;
    TColor FLightColor = clWhite;
    int FModalResult = 0;
    int FNumGlyphs = 0;
    bool FUseHTFont = false;
    TLbColorStyle FDummyStyle = lcsCustom;
    TLbButtonStyle FStyle = bsNormal;
    bool FDefault = false;
    bool FCancel = false;
    bool FSlowDecease = false;
    bool bDown = false;
    bool bCursorOnButton = false;
    int FHotTrackStep = 0;
    TColor m_color = clBtnFace;

    // Key (Enter or Space) whose press went down on this button; its release clicks.
    int m_keyDown = 0;
    bool m_destroying = false;
    bool m_inDoClick = false;
    QTimer* FThread = nullptr;  // the fade tick; exists while SlowDecease is on
    QPointer<QMenu> m_popupMenu;
    QPointer<QAction> m_action;
    QPointer<QWidget> m_watchedWindow;
};

}  // namespace zfw
