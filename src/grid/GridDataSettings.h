#pragma once
// The string grid's settings for its data operations: sorting, filtering and the filter
// drop-down, node rows, grouping, the floating footer and the search panel's shell. Data with
// defaults and Assign only; what a writer must do to the grid (repaint, re-layout) reaches the
// grid through the object's callbacks, so that these objects need no grid to exist.

#include "common/SortDirection.h"
#include "grid/CellGraphic.h"
#include "platform/Colors.h"

#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace zfw {

class TExtStringGrid;

enum class TIndexSortKey { ikShift, ikCtrl };
enum class TSortBlankPosition { blFirst, blLast };

class TSortSettings {
public:
    explicit TSortSettings(TExtStringGrid* Grid = nullptr) : FGrid(Grid) {}

    // Show changed: the grid repaints everything.
    std::function<void(TSortSettings* Sender)> OnInvalidate;
    // A header colour changed: the grid repaints its last fixed row (when it has fixed rows).
    std::function<void(TSortSettings* Sender)> OnHeaderChange;
    // Remove ran: the grid clears its sort index list and repaints its last fixed row.
    std::function<void(TSortSettings* Sender)> OnRemove;

    bool AutoSortForGrouping = true;
    bool AutoColumnMerge = false;
    // Real column; -1: none.
    int Column = -1;
    bool IndexShow = false;
    TColor IndexColor = clYellow;
    TIndexSortKey IndexSortKey = TIndexSortKey::ikShift;
    bool Full = true;
    bool SingleColumn = false;
    bool IgnoreBlanks = false;
    TSortBlankPosition BlankPos = TSortBlankPosition::blFirst;
    bool AutoFormat = true;
    TSortDirection Direction = sdAscending;
    bool IgnoreCase = false;
    TSortDirection InitSortDirection = sdAscending;
    bool FixedCols = false;
    bool NormalCellsOnly = false;
    // The fixed row that takes sort clicks and shows the glyphs.
    int Row = 0;
    bool UndoSort = false;
    bool SortOnVirtualCells = true;
    // Empty images: none set. The writers copy the picture.
    QImage UpGlyph;
    QImage DownGlyph;
    QImage IndexUpGlyph;
    QImage IndexDownGlyph;

    TExtStringGrid* Grid() const { return FGrid; }

    bool Show() const { return FShow; }
    // Stores and fires OnInvalidate.
    void SetShow(bool Value);
    // Each stores a changed value and then fires OnHeaderChange; the same value is silent.
    TColor HeaderColor() const { return FHeaderColor; }
    void SetHeaderColor(TColor Value);
    TColor HeaderColorTo() const { return FHeaderColorTo; }
    void SetHeaderColorTo(TColor Value);
    TColor HeaderMirrorColor() const { return FHeaderMirrorColor; }
    void SetHeaderMirrorColor(TColor Value);
    TColor HeaderMirrorColorTo() const { return FHeaderMirrorColorTo; }
    void SetHeaderMirrorColorTo(TColor Value);

    void ToggleDirection();
    // Column becomes -1; fires OnRemove.
    void Remove();

    // Everything but IgnoreCase and SortOnVirtualCells, glyphs by content; no notification.
    void Assign(const TSortSettings& Source);

private:
    void setHeader(TColor& field, TColor Value);

    TExtStringGrid* FGrid = nullptr;
    bool FShow = false;
    TColor FHeaderColor = clNone;
    TColor FHeaderColorTo = clNone;
    TColor FHeaderMirrorColor = clNone;
    TColor FHeaderMirrorColorTo = clNone;
};

// Which text of a cell a filter condition tests.
enum class TFilterCells { fcVirtual, fcNormal, fcStripHTML, fcCalculated, fcRow };
// How a condition's result joins the result so far.
enum class TFilterOperation { foSHORT, foNONE, foAND, foXOR, foOR };
enum class TFilterMethod { fmExpression, fmLiteral };

class TFilterData {
public:
    // Real column; -1 stands for the whole row.
    int Column = 0;
    // Empty: every row matches.
    QString Condition;
    bool CaseSensitive = true;
    TFilterCells Data = TFilterCells::fcVirtual;
    QString Prefix;
    QString Suffix;
    TFilterOperation Operation = TFilterOperation::foSHORT;
    TFilterMethod Method = TFilterMethod::fmExpression;

    // Everything but Method.
    void Assign(const TFilterData& Source);
};

// The grid's filter conditions, in the order they are evaluated.
class TFilter {
public:
    explicit TFilter(TExtStringGrid* Owner = nullptr) : FOwner(Owner) {}
    TFilter(const TFilter&) = delete;
    TFilter& operator=(const TFilter&) = delete;

    // RemoveColumnFilter removed conditions: the grid repaints the column's cell in row 0.
    std::function<void(TFilter* Sender, int Col)> OnRepaintHeader;

    TExtStringGrid* GetOwner() const { return FOwner; }
    int Count() const { return int(m_items.size()); }
    // Null for an index outside the list.
    TFilterData* Items(int Index);
    const TFilterData* Items(int Index) const;
    // Copies the condition into the item (Method excepted, as Assign does); false for an index
    // outside the list.
    bool SetItem(int Index, const TFilterData& Value);

    // A new condition at the end: foNONE when it is the only one, else foAND.
    TFilterData* Add();
    // A new condition (operation foSHORT) at Index, clamped to 0..Count.
    TFilterData* Insert(int Index);
    // False for an index outside the list.
    bool Delete(int Index);
    void Clear() { m_items.clear(); }

    // The first condition on the column, added (through Add) when there is none.
    TFilterData* GetColFilter(int Col);
    bool HasFilter(int Col) const;
    // Deletes every condition on the column and fires OnRepaintHeader.
    void RemoveColumnFilter(int Col);

    // Replaces the conditions by copies of the source's (each through TFilterData::Assign).
    void Assign(const TFilter& Source);

private:
    TExtStringGrid* FOwner = nullptr;
    std::vector<std::unique_ptr<TFilterData>> m_items;
};

class TFilterDropDown {
public:
    // A glyph changed: the grid repaints everything.
    std::function<void(TFilterDropDown* Sender)> OnChange;

    bool AutoSize = false;
    TColor Color = clWindow;
    bool ColumnWidth = false;
    QFont Font;
    int Height = 150;
    int Width = 150;

    // Glyph of a header whose column has no condition, and of one that has.
    const QImage& Glyph() const { return FGlyph; }
    void SetGlyph(const QImage& Value);
    const QImage& GlyphActive() const { return FGlyphActive; }
    void SetGlyphActive(const QImage& Value);

    // Color, ColumnWidth, Font, Height, Width and both glyphs; not AutoSize. Fires OnChange
    // once when a glyph was copied, as a glyph writer would.
    void Assign(const TFilterDropDown& Source);

private:
    void changed();

    QImage FGlyph;
    QImage FGlyphActive;
};

enum class TNodeType { cnFlat, cn3D, cnGlyph, cnLeaf, cnXP };

class TCellNode {
public:
    explicit TCellNode(TExtStringGrid* Owner = nullptr) : FOwner(Owner) {}

    // A drawing setting changed: the grid repaints everything.
    std::function<void(TCellNode* Sender)> OnChange;

    TColor Color = clSilver;
    bool ExpandOne = false;
    TColor NodeColor = clBlack;
    QImage ExpandGlyph;
    QImage ContractGlyph;

    // Each stores a changed value and fires OnChange; the same value is silent.
    TNodeType NodeType() const { return FNodeType; }
    void SetNodeType(TNodeType Value);
    int NodeIndent() const { return FNodeIndent; }
    void SetNodeIndent(int Value);
    bool ShowTree() const { return FShowTree; }
    void SetShowTree(bool Value);
    bool ShowTreeFull() const { return FShowTreeFull; }
    void SetShowTreeFull(bool Value);
    TColor TreeColor() const { return FTreeColor; }
    void SetTreeColor(TColor Value);

    // All ten settings; no notification.
    void Assign(const TCellNode& Source);

private:
    void changed();

    TExtStringGrid* FOwner = nullptr;
    TNodeType FNodeType = TNodeType::cnXP;
    int FNodeIndent = 12;
    bool FShowTree = true;
    bool FShowTreeFull = true;
    TColor FTreeColor = clGray;
};

// Node rows as the cells of real column 0 hold them. Rows are display rows; a row outside
// the grid, or one whose column-0 graphic is not a node, answers "no node".
bool IsNode(const CellGraphicHost& host, int ARow);
bool IsSummary(const CellGraphicHost& host, int ARow);
// True for a contracted node.
bool GetNodeState(const CellGraphicHost& host, int ARow);
// The rows the node covers (itself included); -1 for a row that is no node.
int GetNodeSpan(const CellGraphicHost& host, int ARow);
// 0 for a row that is no node.
int GetSubNodeCount(const CellGraphicHost& host, int ARow);

class TGrouping {
public:
    bool AutoSelectGroup = false;
    bool AutoCheckGroup = false;
    // Pattern with one integer argument for the count after a header's text.
    QString GroupCountFormat;
    TColor HeaderColor = clNone;
    TColor HeaderColorTo = clNone;
    TColor HeaderTextColor = clNone;
    bool HeaderUnderline = false;
    TColor HeaderLineColor = clBlue;
    int HeaderLineWidth = 2;
    bool MergeHeader = false;
    bool MergeSummary = false;
    bool ShowGroupCount = false;
    bool Summary = false;
    TColor SummaryColor = clNone;
    TColor SummaryColorTo = clNone;
    TColor SummaryTextColor = clNone;
    bool SummaryLine = false;
    TColor SummaryLineColor = clBlue;
    int SummaryLineWidth = 2;

    // Not Summary, and neither line colours nor line widths.
    void Assign(const TGrouping& Source);
};

enum class TFooterStyle { fsFixedLastRow, fsColumnPreview, fsCustomPreview, fsCustomPaint };

// What the footer settings ask of the grid and its footer panel.
struct FloatingFooterLayout {
    int panelHeight = 0;       // 0 while hidden
    int fixedFooters = 0;      // 1 for a visible fsFixedLastRow footer
    bool hideLastRow = false;  // the panel paints the grid's last row instead of the grid
    bool operator==(const FloatingFooterLayout&) const = default;
};

class TFloatingFooter {
public:
    explicit TFloatingFooter(TExtStringGrid* Grid = nullptr) : FGrid(Grid) {}

    // The panel's look changed: repaint the panel.
    std::function<void(TFloatingFooter* Sender)> OnPanelChange;
    // Visible, FooterStyle or Height changed what the grid must lay out; the grid applies the
    // layout and repaints.
    std::function<void(TFloatingFooter* Sender, const FloatingFooterLayout& Layout)> OnLayout;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnCalcFooter;

    bool CalculateHiddenRows = true;
    bool EnableCalculation = true;

    TExtStringGrid* Grid() const { return FGrid; }

    // Stores a changed value and fires OnPanelChange.
    TColor BorderColor() const { return FBorderColor; }
    void SetBorderColor(TColor Value);
    // Store and fire OnPanelChange.
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Column() const { return FColumn; }
    void SetColumn(int Value);
    const QString& CustomTemplate() const { return FCustomTemplate; }
    void SetCustomTemplate(const QString& Value);
    // Store and fire OnLayout (the grid repaints grid and panel).
    TFooterStyle FooterStyle() const { return FFooterStyle; }
    void SetFooterStyle(TFooterStyle Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    // The row height the grid gives the footer; the panel is one pixel lower. Fires OnLayout
    // for a positive value.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    // Stores; the grid reads it into the panel.
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value) { FShowHint = Value; }

    FloatingFooterLayout layout() const;

    // CalculateHiddenRows, Color, Column, CustomTemplate, FooterStyle, Visible (through its
    // writer, so the grid lays out once) and ShowHint.
    void Assign(const TFloatingFooter& Source);

private:
    void panelChanged();
    void layoutChanged();

    TExtStringGrid* FGrid = nullptr;
    int FHeight = 0;
    bool FVisible = false;
    TColor FColor = clBtnFace;
    TFooterStyle FFooterStyle = TFooterStyle::fsFixedLastRow;
    int FColumn = 0;
    QString FCustomTemplate;
    bool FShowHint = false;
    TColor FBorderColor = clNone;
};

// The search panel docked under the grid, as far as it stands without its controls: the
// wiring the grid gives it and its colour. It takes no room, whatever the settings say, until
// it has an edit and buttons to show.
class TSearchPanel {
public:
    explicit TSearchPanel(TExtStringGrid* Grid = nullptr) : FGrid(Grid) {}

    std::function<void(TSearchPanel* Sender)> OnInvalidate;
    std::function<void(TSearchPanel* Sender)> OnBackwardClick;
    std::function<void(TSearchPanel* Sender)> OnEditChange;
    std::function<void(TSearchPanel* Sender)> OnForwardClick;
    std::function<void(TSearchPanel* Sender)> OnHighlightClick;
    std::function<void(TSearchPanel* Sender)> OnExitClick;

    TExtStringGrid* Grid() const { return FGrid; }
    int Height() const { return 0; }
    TColor ColorTo() const { return FColorTo; }
    // Stores and fires OnInvalidate.
    void SetColorTo(TColor Value);

private:
    TExtStringGrid* FGrid = nullptr;
    TColor FColorTo = clNone;
};

}  // namespace zfw
