#pragma once
// The string grid's settings for what leaves the grid: HTML output, printing, and drag and
// drop. Data with defaults and Assign; the grid reads them when it writes, prints or takes
// part in a drag.

#include "platform/Colors.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace zfw {

class TExtStringGrid;

class THTMLSettings {
public:
    bool AutoPreview = false;
    bool ConvertSpecialChars = false;
    bool NonBreakingText = false;
    bool SaveColor = true;
    bool SaveFonts = true;
    QString FooterFile;
    QString HeaderFile;
    int BorderSize = 1;
    int CellSpacing = 0;
    int CellPadding = 0;
    QString TableStyle;
    QString PrefixTag;
    QString SuffixTag;
    QString Summary;
    // Table width in percent.
    int Width = 100;
    // Column widths written into the cells; empty: none.
    QList<int> ColWidths;
    bool XHTML = false;
    bool ExportImages = true;

    // Everything but ExportImages and ColWidths.
    void Assign(const THTMLSettings& Source);
};

enum class TPrintPosition {
    ppNone,
    ppTopLeft,
    ppTopRight,
    ppTopCenter,
    ppBottomLeft,
    ppBottomRight,
    ppBottomCenter
};
enum class TPrintBorders {
    pbNoborder,
    pbSingle,
    pbDouble,
    pbVertical,
    pbHorizontal,
    pbAround,
    pbAroundVertical,
    pbAroundHorizontal,
    pbCustom
};
enum class TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };
enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TPrinterOrientation { poPortrait, poLandscape };

// Lengths in tenths of a millimetre.
class TPrintSettings {
public:
    explicit TPrintSettings(TExtStringGrid* Grid = nullptr) : FGrid(Grid) {}

    TExtStringGrid* Grid() const { return FGrid; }

    TPrintPosition Time = TPrintPosition::ppNone;
    TPrintPosition Date = TPrintPosition::ppNone;
    TPrintPosition PageNr = TPrintPosition::ppNone;
    QString PageNumSep = QStringLiteral("/");
    // Day, month and year tokens of the printed date ("nn" are minutes).
    QString DateFormat = QStringLiteral("dd/mm/yyyy");
    TPrintPosition Title = TPrintPosition::ppNone;
    // Normal cells when UseDisplayFont is off; also the page's base line height.
    QFont Font;
    QFont HeaderFont;
    QFont FooterFont;
    TPrintBorders Borders = TPrintBorders::pbSingle;
    TPenStyle BorderStyle = TPenStyle::psSolid;
    QString TitleText;
    // Used when TitleText is empty.
    QStringList TitleLines;
    bool Centered = true;
    bool RepeatFixedRows = false;
    bool RepeatFixedCols = false;
    int FooterSize = 0;
    int HeaderSize = 0;
    int LeftSize = 0;
    int RightSize = 0;
    // Extra width per printed column; 20 is always added.
    int ColumnSpacing = 0;
    int RowSpacing = 0;
    int TitleSpacing = 0;
    TPrinterOrientation Orientation = TPrinterOrientation::poPortrait;
    QString PagePrefix;
    QString PageSuffix;
    int FixedHeight = 0;
    bool UseFixedHeight = false;
    int FixedWidth = 0;
    bool UseFixedWidth = false;
    TFitToPage FitToPage = TFitToPage::fpNever;
    bool NoAutoSize = false;
    bool PrintGraphics = false;
    QString JobName;
    bool NoAutoSizeRow = false;
    int PageNumberOffset = 0;
    int MaxPagesOffset = 0;
    // Fixed cells when UseDisplayFont is off.
    QFont FixedFont;
    bool UseDisplayFont = true;
    bool UseDefaultOrientation = false;
    bool FixedCellsAlways = false;
    TColor BorderColor = clBlack;

    // Every setting, fonts and title lines by value; the grid stays this object's own.
    void Assign(const TPrintSettings& Source);

private:
    TExtStringGrid* FGrid = nullptr;
};

class TDragDropSettings {
public:
    explicit TDragDropSettings(TExtStringGrid* Grid = nullptr) : FGrid(Grid) {}

    // OleDropTarget was written: the grid registers or withdraws itself as a drop target
    // (not at design time).
    std::function<void(TDragDropSettings* Sender, bool DropTarget)> OnDropTargetChange;

    TExtStringGrid* Grid() const { return FGrid; }

    // Rich text is offered and taken. The grid reads it at each drag; nothing process-wide
    // follows it.
    bool OleDropRTF = false;
    bool OleAcceptText = true;
    bool OleEntireRows = false;
    bool OleDropSource = false;
    bool OleRemoveRows = false;
    bool OleAcceptFiles = true;
    bool OleAcceptURLs = true;
    bool OleInsertRows = false;
    bool OleAppendRows = false;
    bool OleCopyAlways = false;
    bool OleColumnDragDrop = false;
    bool OleColumnReorder = false;
    bool OleColumnsOnly = false;
    bool ShowCells = true;

    bool OleDropTarget() const { return FOleDropTarget; }
    // Stores and fires OnDropTargetChange.
    void SetOleDropTarget(bool Value);

    // Every flag, OleDropTarget included, without its writer: registers nothing.
    void Assign(const TDragDropSettings& Source);

private:
    TExtStringGrid* FGrid = nullptr;
    bool FOleDropTarget = false;
};

}  // namespace zfw
