#pragma once
// The decoration a cell shows beside or instead of its text (check box, picture, button,
// progress bar ...), the grid operations that create, find, classify and remove it, and its
// size for layout. Widget-free: the grid reaches its cells through CellGraphicHost.

#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <functional>
#include <memory>
#include <variant>

namespace zfw {

// Ordinals are stored and compared: keep the order.
enum TCellType : std::uint8_t {
    ctBitmap,
    ctIcon,
    ctNone,
    ctImageList,
    ctCheckBox,
    ctDataCheckBox,
    ctRotated,
    ctDataImage,
    ctNode,
    ctRadio,
    ctEmpty,
    ctImages,
    ctPicture,
    ctFilePicture,
    ctValue,
    ctProgress,
    ctComment,
    ctButton,
    ctBitButton,
    ctVirtCheckBox,
    ctRowCheckBox,
    ctProgressPie,
    ctSummary,
    ctRangeIndicator,
    ctXPProgress,
    ctInterface,
    ctScrollbar,
    ctRadioButton,
    ctBalloon,
    ctShape,
    ctRating,
    ctTriStateCheckBox,
    ctExpand
};
inline constexpr int kCellTypeCount = ctExpand + 1;

enum TCellHAlign : std::uint8_t { haLeft, haRight, haCenter, haBeforeText, haAfterText, haFull };
enum TCellVAlign : std::uint8_t { vaTop, vaBottom, vaCenter, vaUnderText, vaAboveText, vaFull };
enum TStretchMode : std::uint8_t {
    noStretch,
    Stretch,
    StretchWithAspectRatio,
    Shrink,
    ShrinkWithAspectRatio
};
enum TCheckBoxState : std::uint8_t { cbUnchecked, cbChecked, cbGrayed };

// A set of graphic kinds (HasCellGraphicKind).
class TCellTypes {
public:
    constexpr TCellTypes() = default;
    constexpr TCellTypes(std::initializer_list<TCellType> kinds)
    {
        for (TCellType k : kinds)
            m_bits |= bit(k);
    }
    constexpr bool contains(TCellType k) const { return (m_bits & bit(k)) != 0; }

private:
    static constexpr std::uint64_t bit(TCellType k) { return std::uint64_t(1) << unsigned(k); }
    std::uint64_t m_bits = 0;
};

// A picture loaded from a file: only its path and stored size are known here.
struct FilePictureRef {
    QString fileName;
    int width = 0;
    int height = 0;
};

// An object a cell draws through (never owned by the graphic).
class ICellInterface {
public:
    virtual ~ICellInterface() = default;
    virtual int width() const = 0;
    virtual int height() const = 0;
};

// The kind's main object, or for the colour kinds a colour. Values, so that a graphic owns
// what it holds and copying a graphic never shares or double-frees an object.
using CellMainObject = std::variant<std::monostate, TColor, QImage, QStringList, QList<int>,
                                    FilePictureRef, ICellInterface*>;
using CellSecondObject = std::variant<std::monostate, TColor, QIcon>;

class TCellGraphic {
public:
    TCellGraphic() = default;

    // Published fields (names as the stored settings know them).
    TCellType CellType = ctNone;
    TCellVAlign CellVAlign = vaTop;
    TCellHAlign CellHAlign = haLeft;
    std::int32_t CellIndex = 0;
    bool CellTransparent = false;
    bool CellCreated = false;
    bool CellBoolean = false;
    std::int32_t CellAngle = 0;
    double CellValue = 0.0;
    std::int32_t CellErrFrom = 0;
    std::int32_t CellErrLen = 0;
    QString CellText;
    TCheckBoxState CellCheckBoxState = cbUnchecked;

    const CellMainObject& cellBitmap() const { return m_bitmap; }
    const CellSecondObject& cellIcon() const { return m_icon; }
    const QVariant& cellVar() const { return m_var; }
    void setCellVar(const QVariant& v) { m_var = v; }

    void SetBitmap(const QImage& bmp, bool transparent, TCellHAlign hal, TCellVAlign val);
    void SetIcon(const QIcon& icon, TCellHAlign hal, TCellVAlign val);
    void SetPicture(const QImage& picture, bool transparent, TStretchMode mode, int padding,
                    TCellHAlign hal, TCellVAlign val);
    void SetFilePicture(const FilePictureRef& picture, bool transparent, TStretchMode mode,
                        int padding, TCellHAlign hal, TCellVAlign val);
    void SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val);
    void SetDataImage(int idx, TCellHAlign hal, TCellVAlign val);
    // dir 0: the images run horizontally.
    void SetMultiImage(const QList<int>& images, int dir, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(bool value, bool data, bool flat, TCellHAlign hal, TCellVAlign val);
    void SetCheckBox(TCheckBoxState value, bool flat, TCellHAlign hal, TCellVAlign val);
    void SetRadioButton(bool value, bool flat, TCellHAlign hal, TCellVAlign val);
    // Width and height are packed into CellIndex: height in the high 16 bits.
    void SetButton(int bw, int bh, const QString& caption, TCellHAlign hal, TCellVAlign val);
    void SetBitButton(int bw, int bh, const QString& caption, const QImage& glyph, TCellHAlign hal,
                      TCellVAlign val);
    void SetInterfacedCell(ICellInterface* object);
    // Brought into 0..360 by whole turns; 360 itself stays 360.
    void SetAngle(int angle);
    // Attaches or drops the balloon strings of a check box or radio button (CellAngle 1).
    void setBalloon(const QStringList& titleAndText);

    int buttonWidth() const { return CellIndex & 0xFFFF; }
    int buttonHeight() const { return (CellIndex >> 16) & 0xFFFF; }

    // Display size of a picture kind in an area of cw x rh; other kinds leave `size` as given.
    void GetPictureSize(int cw, int rh, bool hastext, QSize& size) const;

    // Copies the scalar fields; neither the objects, nor the variant, nor the three-state value.
    void Assign(const TCellGraphic& source);

private:
    void setKind(TCellType kind, TCellHAlign hal, TCellVAlign val);

    CellMainObject m_bitmap;
    CellSecondObject m_icon;
    QVariant m_var;
};

bool isCheckBoxKind(TCellType kind);      // the five check-box kinds
bool isDataCheckBoxKind(TCellType kind);  // state lives in the cell text or the row selection
bool isClickableKind(TCellType kind);     // keeps the in-place editor away

// What the grid knows about a cell that the graphic operations need. Columns are real
// column indexes, rows display rows (hidden rows are the grid's business).
class CellGraphicHost {
public:
    virtual ~CellGraphicHost() = default;
    virtual int totalColCount() const = 0;  // hidden columns included
    virtual int rowCount() const = 0;
    // The graphic held in the cell's own properties; null when none. Creates nothing.
    virtual TCellGraphic* ownGraphic(int c, int r) const = 0;
    // Stores (or with null removes) the cell's own graphic, creating properties when needed.
    // The cell text is left as it is. False when the cell can hold none (g is then freed).
    virtual bool setOwnGraphic(int c, int r, std::unique_ptr<TCellGraphic> g) = 0;
    virtual std::unique_ptr<TCellGraphic> takeOwnGraphic(int c, int r) = 0;
    // A graphic shared by many cells (row check boxes, virtual check boxes) that replaces the
    // cell's own one; null when none applies. Never stored in a cell, never freed by it.
    virtual TCellGraphic* sharedGraphic(int c, int r) const { return nullptr; }
    virtual int displColIndex(int c) const { return c; }
    virtual void repaintCell(int displCol, int r) {}
    virtual bool isDestroying() const { return false; }

    // Text and row access for the check-box cells (GetCellEx / SetCellEx, row selection).
    virtual int numHiddenRows() const { return 0; }
    virtual QString cellText(int c, int r) const { return {}; }
    virtual void setCellText(int c, int r, const QString& text) {}
    virtual bool rowSelect(int r) const { return false; }
    virtual void setRowSelect(int r, bool selected) {}
};

TCellGraphic* GetCellGraphic(const CellGraphicHost& host, int c, int r);
TCellType GetCellType(const CellGraphicHost& host, int c, int r);
// The cell's new own graphic; null when the host cannot hold one there.
TCellGraphic* CreateCellGraphic(CellGraphicHost& host, int c, int r);
bool RemoveCellGraphic(CellGraphicHost& host, int c, int r);
bool RemoveCellGraphicOfType(CellGraphicHost& host, int c, int r, TCellType kind);
// `baseCol`/`baseRow`: the base cell of the merged area of the asked cell.
bool HasCellGraphicKind(const CellGraphicHost& host, int baseCol, int baseRow, TCellTypes kinds);
// Value that orders cells by image: the bitmap's or icon's cache key, the image index of
// ctImageList; -1 for every other kind.
qint64 GetCellImageKey(const CellGraphicHost& host, int c, int r);

// Inputs of CalcCellGraphicSize that come from the grid, its settings and its font.
struct GraphicSizeContext {
    bool cellHasText = false;
    int checkSize = 15;   // ControlLook.CheckSize
    int radioSize = 10;   // ControlLook.RadioSize
    QSize imageListSize;  // invalid: the grid has no image list
    TRect cellRect;       // for the full-width / full-height placements
    int totalXOffset = 0;
    int totalYOffset = 0;
    std::function<int(const QString&)> textWidth;  // grid font; null counts 0
    int textHeightGh = 0;                          // text height of "gh" in the grid font
};

// Size for layout and auto sizing; (0, 0) without a graphic.
QSize CalcCellGraphicSize(const TCellGraphic* g, const GraphicSizeContext& ctx,
                          int extraHeight = 0);

}  // namespace zfw
