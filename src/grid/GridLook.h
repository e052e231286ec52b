#pragma once
// How the string grid looks apart from its cell colours: the look of the controls drawn in
// cells (ControlLook), the modified-cell mark (ShowModified), how a cell's text is aligned and
// measured, the check boxes drawn in cells, and the one-pixel border of the grid window.
// Widget-free: the grid passes in what it knows about the cell and gets an answer or a
// drawing on its canvas.

#include "controls/ExtDropDownAppearance.h"
#include "grid/CellGraphic.h"
#include "grid/GridDraw.h"
#include "grid/GridSettingsEnums.h"
#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <functional>
#include <optional>

namespace zfw {

enum class TGridLook {
    glStandard,
    glSoft,
    glClassic,
    glVKT,
    glXP,
    glListView,
    glVista,
    glWin7,
    glOffice2007,
    glCustom
};

enum class TControlStyle { csClassic, csFlat, csWinXP, csBorland, csVKT, csGlyph, csTheme };

// The fixed-cell gradient colours the control look forwards to the grid.
enum class TFixedGradient {
    From,
    To,
    MirrorFrom,
    MirrorTo,
    HoverFrom,
    HoverTo,
    HoverMirrorFrom,
    HoverMirrorTo,
    HoverBorder,
    DownFrom,
    DownTo,
    DownMirrorFrom,
    DownMirrorTo,
    DownBorder
};
inline constexpr int kFixedGradientCount = int(TFixedGradient::DownBorder) + 1;

class TControlLook {
public:
    // The drop-down header and footer belong to Owner (the grid), as their buttons do.
    explicit TControlLook(QObject* Owner = nullptr) : FDropDownHeader(Owner), FDropDownFooter(Owner)
    {
        Init();
    }
    TControlLook(const TControlLook&) = delete;
    TControlLook& operator=(const TControlLook&) = delete;

    // The look of the header and footer of the grid's drop-down editors; the writers copy
    // into the owned appearance without repaint.
    THeaderAppearance& DropDownHeader() { return FDropDownHeader; }
    const THeaderAppearance& DropDownHeader() const { return FDropDownHeader; }
    void SetDropDownHeader(const THeaderAppearance& Value) { FDropDownHeader.Assign(Value); }
    TFooterAppearance& DropDownFooter() { return FDropDownFooter; }
    const TFooterAppearance& DropDownFooter() const { return FDropDownFooter; }
    void SetDropDownFooter(const TFooterAppearance& Value) { FDropDownFooter.Assign(Value); }

    // A drawing setting was written: the grid repaints everything.
    std::function<void(TControlLook* Sender)> OnRepaint;
    // A fixed-gradient colour reaches the grid's own colour of the same role.
    std::function<void(TControlLook* Sender, TFixedGradient Role, TColor Value)> OnFixedGradient;

    // Plain stores: read when needed, no repaint.
    bool CheckAlwaysActive = false;
    bool RadioAlwaysActive = false;
    int DropDownCount = 8;
    bool FixedDropDownButton = false;
    // Above 0: the widest a cell hint may be.
    int HintMaxWidth = 0;
    TColor ProgressBorderColor = clGray;

    // These store and fire OnRepaint.
    int CheckSize() const { return FCheckSize; }
    void SetCheckSize(int Value) { store(FCheckSize, Value); }
    int RadioSize() const { return FRadioSize; }
    void SetRadioSize(int Value) { store(FRadioSize, Value); }
    // The check mark of the drawn (csBorland) look.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value) { store(FColor, Value); }
    TColor CommentColor() const { return FCommentColor; }
    void SetCommentColor(TColor Value) { store(FCommentColor, Value); }
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle Value) { store(FControlStyle, Value); }
    bool FlatButton() const { return FFlatButton; }
    void SetFlatButton(bool Value) { store(FFlatButton, Value); }
    bool ProgressXP() const { return FProgressXP; }
    void SetProgressXP(bool Value) { store(FProgressXP, Value); }
    int ProgressMarginX() const { return FProgressMarginX; }
    void SetProgressMarginX(int Value) { store(FProgressMarginX, Value); }
    int ProgressMarginY() const { return FProgressMarginY; }
    void SetProgressMarginY(int Value) { store(FProgressMarginY, Value); }
    bool DropDownAlwaysVisible() const { return FDropDownAlwaysVisible; }
    void SetDropDownAlwaysVisible(bool Value) { store(FDropDownAlwaysVisible, Value); }
    bool SpinButtonsAlwaysVisible() const { return FSpinButtonsAlwaysVisible; }
    void SetSpinButtonsAlwaysVisible(bool Value) { store(FSpinButtonsAlwaysVisible, Value); }
    bool NoDisabledCheckRadioLook() const { return FNoDisabledCheckRadioLook; }
    void SetNoDisabledCheckRadioLook(bool Value) { store(FNoDisabledCheckRadioLook, Value); }
    bool NoDisabledButtonLook() const { return FNoDisabledButtonLook; }
    void SetNoDisabledButtonLook(bool Value) { store(FNoDisabledButtonLook, Value); }
    // Pictures of the csGlyph look (copies).
    const QImage& CheckedGlyph() const { return FCheckedGlyph; }
    void SetCheckedGlyph(const QImage& Value) { store(FCheckedGlyph, Value); }
    const QImage& UnCheckedGlyph() const { return FUnCheckedGlyph; }
    void SetUnCheckedGlyph(const QImage& Value) { store(FUnCheckedGlyph, Value); }
    const QImage& RadioOnGlyph() const { return FRadioOnGlyph; }
    void SetRadioOnGlyph(const QImage& Value) { store(FRadioOnGlyph, Value); }
    const QImage& RadioOffGlyph() const { return FRadioOffGlyph; }
    void SetRadioOffGlyph(const QImage& Value) { store(FRadioOffGlyph, Value); }

    // Stores and forwards through OnFixedGradient, without repaint. The mirror colours are
    // always forwarded; the others only when they are not clNone, so that "none" here leaves
    // the grid's colour as it is.
    TColor FixedGradient(TFixedGradient Role) const { return FGradient[int(Role)]; }
    void SetFixedGradient(TFixedGradient Role, TColor Value);

    TColor FixedGradientFrom() const { return FixedGradient(TFixedGradient::From); }
    void SetFixedGradientFrom(TColor V) { SetFixedGradient(TFixedGradient::From, V); }
    TColor FixedGradientTo() const { return FixedGradient(TFixedGradient::To); }
    void SetFixedGradientTo(TColor V) { SetFixedGradient(TFixedGradient::To, V); }
    TColor FixedGradientMirrorFrom() const { return FixedGradient(TFixedGradient::MirrorFrom); }
    void SetFixedGradientMirrorFrom(TColor V) { SetFixedGradient(TFixedGradient::MirrorFrom, V); }
    TColor FixedGradientMirrorTo() const { return FixedGradient(TFixedGradient::MirrorTo); }
    void SetFixedGradientMirrorTo(TColor V) { SetFixedGradient(TFixedGradient::MirrorTo, V); }
    TColor FixedGradientHoverFrom() const { return FixedGradient(TFixedGradient::HoverFrom); }
    void SetFixedGradientHoverFrom(TColor V) { SetFixedGradient(TFixedGradient::HoverFrom, V); }
    TColor FixedGradientHoverTo() const { return FixedGradient(TFixedGradient::HoverTo); }
    void SetFixedGradientHoverTo(TColor V) { SetFixedGradient(TFixedGradient::HoverTo, V); }
    TColor FixedGradientHoverMirrorFrom() const
    {
        return FixedGradient(TFixedGradient::HoverMirrorFrom);
    }
    void SetFixedGradientHoverMirrorFrom(TColor V)
    {
        SetFixedGradient(TFixedGradient::HoverMirrorFrom, V);
    }
    TColor FixedGradientHoverMirrorTo() const
    {
        return FixedGradient(TFixedGradient::HoverMirrorTo);
    }
    void SetFixedGradientHoverMirrorTo(TColor V)
    {
        SetFixedGradient(TFixedGradient::HoverMirrorTo, V);
    }
    TColor FixedGradientHoverBorder() const { return FixedGradient(TFixedGradient::HoverBorder); }
    void SetFixedGradientHoverBorder(TColor V) { SetFixedGradient(TFixedGradient::HoverBorder, V); }
    TColor FixedGradientDownFrom() const { return FixedGradient(TFixedGradient::DownFrom); }
    void SetFixedGradientDownFrom(TColor V) { SetFixedGradient(TFixedGradient::DownFrom, V); }
    TColor FixedGradientDownTo() const { return FixedGradient(TFixedGradient::DownTo); }
    void SetFixedGradientDownTo(TColor V) { SetFixedGradient(TFixedGradient::DownTo, V); }
    TColor FixedGradientDownMirrorFrom() const
    {
        return FixedGradient(TFixedGradient::DownMirrorFrom);
    }
    void SetFixedGradientDownMirrorFrom(TColor V)
    {
        SetFixedGradient(TFixedGradient::DownMirrorFrom, V);
    }
    TColor FixedGradientDownMirrorTo() const { return FixedGradient(TFixedGradient::DownMirrorTo); }
    void SetFixedGradientDownMirrorTo(TColor V)
    {
        SetFixedGradient(TFixedGradient::DownMirrorTo, V);
    }
    TColor FixedGradientDownBorder() const { return FixedGradient(TFixedGradient::DownBorder); }
    void SetFixedGradientDownBorder(TColor V) { SetFixedGradient(TFixedGradient::DownBorder, V); }

    // The colour defaults (check mark, comment, progress border, every fixed gradient), set
    // without notification.
    void Init();

    // Sizes, style, glyphs, progress margins, colours, the always-active switches, every
    // fixed-gradient colour (forwarded like a write), the always-visible buttons,
    // DropDownCount, HintMaxWidth and the drop-down header and footer. Not FlatButton,
    // ProgressXP, the two no-disabled-look switches nor FixedDropDownButton. No repaint.
    void Assign(const TControlLook& Source);

private:
    template <class T>
    void store(T& field, const T& Value)
    {
        field = Value;
        if (OnRepaint)
            OnRepaint(this);
    }

    int FCheckSize = 15;
    int FRadioSize = 10;
    TColor FColor = clBlack;
    TColor FCommentColor = clRed;
    TControlStyle FControlStyle = TControlStyle::csTheme;
    bool FFlatButton = false;
    bool FProgressXP = false;
    int FProgressMarginX = 2;
    int FProgressMarginY = 2;
    bool FDropDownAlwaysVisible = false;
    bool FSpinButtonsAlwaysVisible = false;
    bool FNoDisabledCheckRadioLook = false;
    bool FNoDisabledButtonLook = false;
    QImage FCheckedGlyph;
    QImage FUnCheckedGlyph;
    QImage FRadioOnGlyph;
    QImage FRadioOffGlyph;
    TColor FGradient[kFixedGradientCount] = {};
    THeaderAppearance FDropDownHeader;
    TFooterAppearance FDropDownFooter;
};

// The mark painted in column 0 of rows whose cells were edited.
class TShowModified {
public:
    // The grid repaints column 0.
    std::function<void(TShowModified* Sender)> OnChange;

    // A plain store: switching the mark alone repaints nothing.
    bool Enabled = false;

    TColor Color() const { return FColor; }
    // Stores and always fires OnChange, the same value too.
    void SetColor(TColor Value);

    // Enabled and Color, without OnChange.
    void Assign(const TShowModified& Source);

private:
    TColor FColor = clYellow;
};

// ----- alignment -----

// What CalcCellAlignment needs to know about one cell.
struct CellAlignmentInput {
    TAlignment defaultAlignment = TAlignment::taLeftJustify;
    TVAlignment vAlignment = TVAlignment::vtaTop;
    bool autoNumAlign = false;
    // The cell's stored text.
    QString text;
    // The text the grid's cell-text hook gives for the cell (a formula's value); null: empty.
    std::function<QString()> filterCellText;
    // The cell's own alignment when the cell has properties.
    std::optional<TAlignment> cellAlignment;
    QChar decimalSeparator = u'.';
    QChar thousandSeparator = u',';
};

struct CellAlignment {
    TAlignment horizontal = TAlignment::taLeftJustify;
    TVAlignment vertical = TVAlignment::vtaTop;
    bool operator==(const CellAlignment&) const = default;
};

// The grid's alignment, right-justified for a number under AutoNumAlign (a formula judged by
// its value), then the cell's own alignment unless the text is a formula. The grid's
// GetCellAlignment hook has the last word: the grid runs it on this answer.
CellAlignment CalcCellAlignment(const CellAlignmentInput& in);

// ----- text measuring -----

// What CalcCellTextSize needs to know about one cell.
struct CellTextSizeInput {
    // The formatted cell text.
    QString text;
    // The cell's font as painted: its own properties, bold added in the headers when the
    // active cell shows bold, the zoom applied.
    QFont font;
    // The cell's rectangle on the screen (display column).
    TRect cellRect;
    QPoint xyOffset{2, 2};
    bool xyOffsetTopLeftOnly = false;
    // VS: the height of the text wrapped to the cell's width; otherwise the natural size.
    bool wrapped = false;
    // SB: 17 pixels at the right are kept for a scroll bar.
    bool scrollBar = false;
    // The cell is being edited: a text ending in a line break has one more line.
    bool editingThisCell = false;
    bool multiLineCells = false;
    bool urlShow = false;
    bool urlFull = false;
    bool enableHTML = true;
    // The angle in degrees of a rotated-text cell; none for any other cell.
    std::optional<int> rotation;
    // A formula's value (the grid's cell-text hook); null: the formula text itself.
    std::function<QString()> filterCellText;
};

// Size in pixels of the text as the cell would paint it. Mini-HTML is measured as its plain
// text, which is how it is painted until the markup engine draws it.
QSize CalcCellTextSize(const CellTextSizeInput& in);

// ----- the window border -----

struct ControlBorderInput {
    TGridLook look = TGridLook::glXP;
    bool hasBorder = true;  // the grid has a border style
    TColor borderColor = clNone;
    bool flat = false;
    bool fitCellsInGrid = false;
    bool hasParent = false;
    TColor parentColor = clBtnFace;  // the parent's brush colour
    int width = 0;                   // the grid window's size
    int height = 0;
};

// The one-pixel frame of the looks that have one; nothing for the others, without a border
// style, with BorderColor none, or when flat.
void PaintControlBorder(IGridCanvas& canvas, const ControlBorderInput& in);

// ----- check boxes -----

// One check box at r (placed for the look's CheckSize). The enabled look is kept with
// NoDisabledCheckRadioLook or CheckAlwaysActive. csWinXP draws our own 16 x 16 box at r's
// top-left (a pixel past a 15-pixel CheckSize, as its pictures always did); csTheme is the
// widget style's box in a CheckSize square at r's top-left; csClassic and csFlat the style's
// box in a CheckSize square centred in r. A tri-state box is checked for cbChecked and grayed
// for cbGrayed; grayed shows as partly checked through the style, while our own box has no
// grayed form (a grayed tri-state box shows unchecked). The looks without their own drawing
// here (csBorland, csVKT, csGlyph) draw csWinXP.
void DrawCheckBox(IGridCanvas& canvas, const TControlLook& look, const TRect& r, bool Checked,
                  bool Enabled, bool Grayed, TControlStyle Style, bool IsTriState = false,
                  TCheckBoxState TriStateValue = cbUnchecked);

// The colours of our own box, for the painters that draw next to it and for tests.
struct XPCheckBoxColors {
    TColor frame;
    TColor interior;
    TColor mark;
};
XPCheckBoxColors xpCheckBoxColors(bool enabled);

}  // namespace zfw
