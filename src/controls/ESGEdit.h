#pragma once
// Single-line edits with a small push button at their right edge, as the grid's in-place
// editors use them: TEsgEditBtn (the button, and F4, fire OnClickBtn; the host decides what it
// does) and TEsgUnitEditBtn (a number with a physical unit painted right of it; the button pops
// up the allowed units). The button lives in a host widget, TEsgEditButton, and is painted by
// TExtSpeedButton in custom colours, in the widget style's push-button look, classic or flat.
//
// The button face is computed by esgButtonFace (background kind, colour, rectangles) before it
// is painted, so that tests read the face as data.

#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QStringList>

namespace zfw {

// ----- button face -------------------------------------------------------------------------

enum class EsgButtonBackground {
    Custom,   // filled with the host's custom colour for the state
    Themed,   // the widget style's push button
    Classic,  // a raised (or sunken) button frame two pixels wide
    FlatEdge  // a one-pixel raised (or sunken) edge
};

struct EsgButtonFaceParams {
    int width = 0;
    int height = 0;
    bool pressed = false;  // held down with the pointer over it
    bool hot = false;      // the pointer is over it
    bool isWinXP = false;
    bool flat = false;
    TColor buttonColor = clNone;
    TColor buttonColorHot = clNone;
    TColor buttonColorDown = clNone;
    QSize glyphSize;  // one frame; empty without a glyph
};

struct EsgButtonFace {
    EsgButtonBackground background = EsgButtonBackground::Classic;
    TColor fill = clNone;  // Custom: the colour filled over the whole button
    bool sunken = false;   // Themed, Classic, FlatEdge: drawn pressed
    TRect contentRect;     // the button's rectangle inside its frame
    bool glyph = false;
    QPoint glyphPos;
    TRect captionRect;  // caption centred on one line in here
};

EsgButtonFace esgButtonFace(const EsgButtonFaceParams& p);

// ----- the button --------------------------------------------------------------------------

// The button inside the host. It takes no focus; the host reacts to a left-button release that
// follows a press on it, wherever the pointer is by then.
class TExtSpeedButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool IsWinXP READ isWinXP WRITE setIsWinXP)
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)

public:
    explicit TExtSpeedButton(QWidget* parent = nullptr);

    bool isWinXP() const { return FIsWinXP; }
    void setIsWinXP(bool on);
    bool isFlat() const { return FFlat; }
    void setFlat(bool on);
    // Under the pointer.
    bool isHot() const { return FHot; }

    // A strip of NumGlyphs frames side by side; the first frame is drawn.
    const QImage& glyph() const { return m_glyph; }
    void setGlyph(const QImage& glyph);
    int numGlyphs() const { return m_numGlyphs; }
    // Values below 1 count as 1.
    void setNumGlyphs(int n);

    // The face for the current state; the custom colours come from the host.
    EsgButtonFaceParams faceParams() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    // The left button went up after it was pressed on this button.
    void pressReleased();

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool FIsWinXP = false;
    bool FFlat = false;
    bool FHot = false;
    bool m_leftPressed = false;
    QImage m_glyph;
    int m_numGlyphs = 1;
};

// The host of the button at the edit's right edge; the button fills it.
class TEsgEditButton : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Flat READ isFlat WRITE setFlat)
    Q_PROPERTY(QString ButtonCaption READ buttonCaption WRITE setButtonCaption)
    Q_PROPERTY(int NumGlyphs READ numGlyphs WRITE setNumGlyphs)

public:
    explicit TEsgEditButton(QWidget* parent = nullptr);

    TExtSpeedButton* Button() const { return FButton; }

    // Given the focus after a click when it is a tab stop, can take the focus and has not.
    QWidget* focusControl() const { return FFocusControl; }
    void setFocusControl(QWidget* w) { FFocusControl = w; }

    bool isFlat() const { return FFlat; }
    void setFlat(bool on);

    QString buttonCaption() const;
    void setButtonCaption(const QString& caption);
    QImage glyph() const;
    void setGlyph(const QImage& glyph);
    int numGlyphs() const;
    void setNumGlyphs(int n);

    // Custom colours of the button, clNone when unset. With ButtonColor set the button is a
    // plain fill in ButtonColor, ButtonColorHot under the pointer and ButtonColorDown while
    // pressed. The text and border colours are kept for the colour presets; the caption is
    // always black and no border is drawn.
    TColor ButtonColorDown = clNone;
    TColor ButtonBorderColor = clNone;
    TColor ButtonTextColor = clNone;
    TColor ButtonTextColorHot = clNone;
    TColor ButtonColor = clNone;
    TColor ButtonColorHot = clNone;
    TColor ButtonTextColorDown = clNone;

Q_SIGNALS:
    // OnClick: a click on the button (Sender: this host).
    void clicked();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void buttonReleased();

    TExtSpeedButton* FButton = nullptr;
    QPointer<QWidget> FFocusControl;
    bool FFlat = false;
};

// ----- the edits ---------------------------------------------------------------------------

class TEsgEditBtn : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(bool RightAlign READ rightAlign WRITE setRightAlign)
    Q_PROPERTY(bool EditorEnabled READ editorEnabled WRITE setEditorEnabled)
    Q_PROPERTY(int ButtonWidth READ buttonWidth WRITE setButtonWidth)
    Q_PROPERTY(bool IsWinXP READ isWinXP WRITE setIsWinXP)
    Q_PROPERTY(QString ButtonCaption READ buttonCaption WRITE setButtonCaption)
    Q_PROPERTY(bool AutoSelect READ autoSelect WRITE setAutoSelect)

public:
    // The button host starts 18 x 18; the text starts as "0".
    explicit TEsgEditBtn(QWidget* parent = nullptr);
    ~TEsgEditBtn() override;

    TEsgEditButton* Button() const { return FButton; }

    bool rightAlign() const { return FRightAlign; }
    void setRightAlign(bool on);
    // Off: typed characters (Backspace and the clipboard keys too), cut and paste are refused;
    // Delete still removes text.
    bool editorEnabled() const { return FEditorEnabled; }
    void setEditorEnabled(bool on);
    // The width last set here; the button host starts 18 wide whatever this reads.
    int buttonWidth() const { return FButtonWidth; }
    void setButtonWidth(int w);
    // The button drawn in the widget style's push-button look.
    bool isWinXP() const { return FIsWinXP; }
    void setIsWinXP(bool on);
    QString buttonCaption() const;
    void setButtonCaption(const QString& caption);
    QImage glyph() const;
    void setGlyph(const QImage& glyph);
    // The whole text is selected on entering, unless the focus came by a mouse press.
    bool autoSelect() const { return FAutoSelect; }
    void setAutoSelect(bool on) { FAutoSelect = on; }
    // BorderStyle: true for a single border, false for none.
    void setBorder(bool single);

    // Paste and Cut of a context menu made by createStandardContextMenu; nullptr when absent.
    enum class StandardAction { Paste, Cut };
    static QAction* standardMenuAction(QMenu* menu, StandardAction which);

    // Height the edit is never made lower than: the font's text height plus a quarter of the
    // smaller of it and the application font's.
    int GetMinHeight() const;

    // Fires OnClickBtn with the Sender given (the host for a click, the edit for F4).
    virtual void DoClickBtn(QObject* sender);

Q_SIGNALS:
    // OnClickBtn.
    void clickBtn(QObject* sender);

protected:
    // Key hooks for derived editors, in the order a key passes them. A key or character set to
    // 0 / null is consumed; a changed character is what the edit then receives.
    virtual void KeyDown(int& key, Qt::KeyboardModifiers shift);
    // The character a key types reaches KeyPress and the edit only when this answers true.
    virtual bool CharMessage(QChar ch);
    virtual void KeyPress(QChar& ch);
    virtual void KeyUp(int& key, Qt::KeyboardModifiers shift);
    // Keys the editor takes before the window does (Tab, Enter, Esc); none here.
    virtual bool WantSpecialKey(int key, Qt::KeyboardModifiers shift);
    // Clipboard operations from keys, the context menu and middle click; carried out only
    // when typing is allowed and the edit is not read-only.
    virtual void DoPaste();
    virtual void DoCut();

    // Right end of the unit area, in coordinates inside the border: the button's left edge
    // less a gap of three pixels.
    int unitAreaRight() const;
    // Places the button host and sets the text margins.
    void layoutButton();
    void SetEditRect();

    int FUnitSize = 0;

    bool event(QEvent* e) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    bool canChangeByClipboard() const { return FEditorEnabled && !isReadOnly(); }

    bool FRightAlign = false;
    TEsgEditButton* FButton = nullptr;
    bool FEditorEnabled = true;
    int FButtonWidth = 0;
    bool FIsWinXP = false;
    bool FAutoSelect = true;
};

// How a joined text splits into value and unit: the longest unit the text ends with; `found`
// is false when none does.
struct UnitSplit {
    bool found = false;
    QString value;
    QString unit;
};
UnitSplit splitTextAndUnit(const QString& text, const QStringList& units);

class TEsgUnitEditBtn : public TEsgEditBtn {
    Q_OBJECT
    Q_PROPERTY(QString UnitID READ unitID WRITE SetUnitID)
    Q_PROPERTY(QStringList Units READ units WRITE setUnits)
    Q_PROPERTY(int UnitSpace READ unitSpace WRITE setUnitSpace)
    Q_PROPERTY(QString TextAndUnit READ GetTextAndUnit WRITE SetTextAndUnit)

public:
    // UnitSpace 20, right-aligned.
    explicit TEsgUnitEditBtn(QWidget* parent = nullptr);
    ~TEsgUnitEditBtn() override;

    QString unitID() const { return FUnitID; }
    // Stores and repaints; fires nothing.
    void SetUnitID(const QString& unit);
    // The allowed units in menu order.
    QStringList units() const { return FUnits; }
    void setUnits(const QStringList& units) { FUnits = units; }
    // Width reserved for the unit left of the button.
    int unitSpace() const { return FUnitSize; }
    void setUnitSpace(int w);

    // The text directly followed by the unit.
    QString GetTextAndUnit() const;
    // Splits off the longest allowed unit the text ends with. A text that ends with none
    // becomes the edit text whole and the unit is kept.
    void SetTextAndUnit(const QString& s);

    // OnClickBtn with the edit as Sender, then the unit menu below the button.
    void DoClickBtn(QObject* sender) override;
    // A command of the unit menu: 1 .. number of units makes that unit current and fires
    // OnUnitChanged when it differs; any other number is ignored.
    void UnitCommand(int n);

    // The unit menu while it is open.
    QMenu* unitMenu() const { return m_menu; }

Q_SIGNALS:
    // OnUnitChanged.
    void unitChanged(QObject* sender, const QString& newUnit);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString FUnitID;
    QStringList FUnits;
    QPointer<QMenu> m_menu;
};

}  // namespace zfw
