#pragma once
// The column grid: the string grid with one settings item per real column. The items carry
// what a form sets per column (header, width, editor kind and combo list, check texts,
// read-only, edit length, fonts, colours, size limits) and the grid's per-cell hooks answer
// from them before the string grid's own hook and its event run.
//
// Indexes: item i belongs to real column i, always. Every entry point that receives a display
// column converts it once (RealColIndex) before it looks an item up.

#include "grid/ExtGrid.h"

#include <QFont>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class QMenu;

namespace zfw {

class TExtColumnGrid;
class TGridColumnCollection;

enum class TColumnPopupType {
    cpFixedCellsRClick,
    cpFixedCellsLClick,
    cpNormalCellsRClick,
    cpNormalCellsLClick,
    cpAllCellsRClick,
    cpAllCellsLClick
};

// The settings of one column. An item made without a collection (the grid's spare copy)
// keeps the framework defaults for fonts and colour and tells no grid about its changes.
class TGridColumnItem {
public:
    explicit TGridColumnItem(TGridColumnCollection* Collection);
    TGridColumnItem(const TGridColumnItem&) = delete;
    TGridColumnItem& operator=(const TGridColumnItem&) = delete;

    TGridColumnCollection* Collection() const { return FCollection; }
    // The owning grid; null without a collection.
    TExtColumnGrid* Grid() const;
    // The item's place in its collection, which is its real column; -1 without a collection.
    int Index() const;
    // "Col i: Name" with a name, else "Column i".
    QString GetDisplayName() const;

    // The grid's width of the real column (a hidden column's saved width); 0 without a
    // collection. The writer stores the width and sets the column's width (saved while
    // the column is hidden).
    int Width() const;
    void SetWidth(int Value);
    // The last width the grid reported for the column.
    int cachedWidth() const { return FWidth; }

    const QString& Header() const { return FColumnHeader; }
    // With fixed rows and no column move running, row 0 of the column takes the text; in any
    // case the grid's ColumnHeaders list is rebuilt from every item's header.
    void SetHeader(const QString& Value);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TAlignment HeaderAlignment() const { return FHeaderAlignment; }
    void SetHeaderAlignment(TAlignment Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& Value);
    const QFont& HeaderFont() const { return FHeaderFont; }
    void SetHeaderFont(const QFont& Value);
    const QFont& PrintFont() const { return FPrintFont; }
    void SetPrintFont(const QFont& Value) { FPrintFont = Value; }

    TEditorType Editor() const { return FEditorType; }
    // Repaints only when the data check box comes or goes: the cells' look changes then.
    void SetEditor(TEditorType Value);
    const QStringList& ComboItems() const { return FComboItems; }
    void SetComboItems(const QStringList& Value) { FComboItems = Value; }
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    const QString& CheckTrue() const { return FCheckTrue; }
    void SetCheckTrue(const QString& Value) { FCheckTrue = Value; }
    const QString& CheckFalse() const { return FCheckFalse; }
    void SetCheckFalse(const QString& Value) { FCheckFalse = Value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    bool Fixed() const { return FFixed; }
    void SetFixed(bool Value);
    bool Password() const { return FPassword; }
    void SetPassword(bool Value);
    bool ShowBands() const { return FShowBands; }
    void SetShowBands(bool Value);
    // Characters the cell editor accepts; 0 = no limit.
    int EditLength() const { return FEditLength; }
    void SetEditLength(int Value) { FEditLength = Value; }
    const QString& EditMask() const { return FEditMask; }
    void SetEditMask(const QString& Value) { FEditMask = Value; }
    const QString& FloatFormat() const { return FFloatFormat; }
    void SetFloatFormat(const QString& Value);
    const QString& Name() const { return FName; }
    void SetName(const QString& Value) { FName = Value; }

    // Limits of user sizing and of auto sizing; 0 = none.
    int MinSize() const { return FMinSize; }
    void SetMinSize(int Value) { FMinSize = Value; }
    int MaxSize() const { return FMaxSize; }
    void SetMaxSize(int Value) { FMaxSize = Value; }
    int AutoMinSize() const { return FAutoMinSize; }
    void SetAutoMinSize(int Value) { FAutoMinSize = Value; }
    int AutoMaxSize() const { return FAutoMaxSize; }
    void SetAutoMaxSize(int Value) { FAutoMaxSize = Value; }

    TCellBorders Borders() const { return FBorders; }
    void SetBorders(TCellBorders Value);
    TCellBorderPen BorderPen() const { return FBorderPen; }
    void SetBorderPen(TCellBorderPen Value);
    TCellBorders PrintBorders() const { return FPrintBorders; }
    void SetPrintBorders(TCellBorders Value) { FPrintBorders = Value; }
    TCellBorderPen PrintBorderPen() const { return FPrintBorderPen; }
    void SetPrintBorderPen(TCellBorderPen Value) { FPrintBorderPen = Value; }
    TColor PrintColor() const { return FPrintColor; }
    void SetPrintColor(TColor Value) { FPrintColor = Value; }
    bool PrintBorderCustom() const { return FPrintBorderCustom; }
    void SetPrintBorderCustom(bool Value) { FPrintBorderCustom = Value; }
    bool PrintFontCustom() const { return FPrintFontCustom; }
    void SetPrintFontCustom(bool Value) { FPrintFontCustom = Value; }

    TSortStyle SortStyle() const { return FSortStyle; }
    void SetSortStyle(TSortStyle Value) { FSortStyle = Value; }
    const QString& SortPrefix() const { return FSortPrefix; }
    void SetSortPrefix(const QString& Value) { FSortPrefix = Value; }
    const QString& SortSuffix() const { return FSortSuffix; }
    void SetSortSuffix(const QString& Value) { FSortSuffix = Value; }
    int SpinMin() const { return FSpinMin; }
    void SetSpinMin(int Value) { FSpinMin = Value; }
    int SpinMax() const { return FSpinMax; }
    void SetSpinMax(int Value) { FSpinMax = Value; }
    int SpinStep() const { return FSpinStep; }
    void SetSpinStep(int Value) { FSpinStep = Value; }
    const QStringList& Filter() const { return FFilter; }
    void SetFilter(const QStringList& Value);
    bool FilterCaseSensitive() const { return FFilterCaseSensitive; }
    void SetFilterCaseSensitive(bool Value) { FFilterCaseSensitive = Value; }
    TColumnPopupType ColumnPopupType() const { return FColumnPopupType; }
    void SetColumnPopupType(TColumnPopupType Value) { FColumnPopupType = Value; }
    // Not owned; forgotten when the menu is destroyed.
    QMenu* ColumnPopup() const { return FColumnPopup; }
    void SetColumnPopup(QMenu* Value) { FColumnPopup = Value; }
    // An external editor object; not owned, forgotten when it is destroyed.
    QObject* EditLink() const { return FEditLink; }
    void SetEditLink(QObject* Value) { FEditLink = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // The column's place as the grid was set up (numbered by the grid's Loaded).
    int DefIdx() const { return FDefIdx; }
    void SetDefIdx(int Value) { FDefIdx = Value; }

    // Copies every setting of Source except the popup type and the two print-custom flags,
    // and Source's width into the width cache only. No cell write, no notification.
    void Assign(const TGridColumnItem& Source);
    // As Assign, but colour and font come from this item's grid, and the combo list, drop-down
    // count, header font, header, name and tag are not copied.
    void AssignVisuals(const TGridColumnItem& Source);

private:
    friend class TGridColumnCollection;
    friend class TExtColumnGrid;
    void copyFrom(const TGridColumnItem& Source, bool visualsOnly);
    // The collection's Update with this item.
    void notify();
    void repaint();

    TGridColumnCollection* FCollection = nullptr;
    int FWidth = 50;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    QString FColumnHeader;
    TSortStyle FSortStyle = TSortStyle::ssAutomatic;
    QString FSortPrefix;
    QString FSortSuffix;
    QString FEditMask;
    int FEditLength = 0;
    QPointer<QObject> FEditLink;
    QFont FFont;
    TColor FColor = clWindow;
    TEditorType FEditorType = TEditorType::edNormal;
    bool FFixed = false;
    bool FReadOnly = false;
    QStringList FComboItems;
    int FDropDownCount = 8;
    int FSpinMin = 0;
    int FSpinMax = 0;
    int FSpinStep = 1;
    bool FPassword = false;
    QFont FPrintFont;
    TColor FPrintColor = clWhite;
    TCellBorders FBorders;
    TCellBorderPen FBorderPen{clSilver, 1};
    TCellBorders FPrintBorders{TCellBorder::cbTop, TCellBorder::cbLeft, TCellBorder::cbRight,
                               TCellBorder::cbBottom};
    TCellBorderPen FPrintBorderPen{clBlack, 1};
    int FTag = 0;
    int FDefIdx = 0;
    QString FName;
    QString FCheckFalse = QStringLiteral("N");
    QString FCheckTrue = QStringLiteral("Y");
    bool FShowBands = false;
    QStringList FFilter;
    int FMaxSize = 0;
    int FMinSize = 0;
    int FAutoMinSize = 0;
    int FAutoMaxSize = 0;
    TColumnPopupType FColumnPopupType = TColumnPopupType::cpFixedCellsRClick;
    QPointer<QMenu> FColumnPopup;
    bool FFilterCaseSensitive = false;
    QString FFloatFormat;
    TAlignment FHeaderAlignment = TAlignment::taLeftJustify;
    QFont FHeaderFont;
    bool FPrintBorderCustom = true;
    bool FPrintFontCustom = true;
};

// The items of a column grid, owned by it; item i belongs to real column i.
class TGridColumnCollection {
public:
    explicit TGridColumnCollection(TExtColumnGrid* Owner);
    TGridColumnCollection(const TGridColumnCollection&) = delete;
    TGridColumnCollection& operator=(const TGridColumnCollection&) = delete;

    TExtColumnGrid* GetOwner() const { return FOwner; }
    int Count() const { return int(m_items.size()); }
    // Null for an index outside the items.
    TGridColumnItem* GetItem(int Index) const;
    TGridColumnItem* operator[](int Index) const { return GetItem(Index); }
    // Assign of Value into the item at Index; nothing outside the items.
    void SetItem(int Index, const TGridColumnItem& Value);
    int IndexOf(const TGridColumnItem* Item) const;

    // A new item at the end; from the second item on it takes the visual settings of the
    // item before it, so that a column added at the end looks and edits like the last one.
    TGridColumnItem* Add();
    // A new item with the constructor's defaults at Index (clamped into 0..Count).
    TGridColumnItem* Insert(int Index);
    // Frees the item at Index; the collection's Update follows.
    void Delete(int Index);
    // Moves the item object itself, with every setting, from one index to another.
    void Move(int FromIndex, int ToIndex);
    void Clear();

    // Changes inside a bracket do not reach the grid until the last EndUpdate.
    void BeginUpdate() { ++m_updateCount; }
    void EndUpdate();
    int updateCount() const { return m_updateCount; }
    // While set, Update does nothing (the grid itself is changing the items).
    bool FNoRecursiveUpdate = false;

    // Brings the grid's column count to the item count (less the hidden columns), rebuilds
    // the header list and repaints. Item may be null (the whole collection changed).
    virtual void Update(TGridColumnItem* Item);
    virtual ~TGridColumnCollection() = default;

    // Run once the grid is set up: the item count follows the grid and every item's DefIdx
    // becomes its index.
    void SetOrganization();
    // Moves the columns back into their DefIdx order.
    void ResetOrganization();

private:
    TExtColumnGrid* FOwner;
    std::vector<std::unique_ptr<TGridColumnItem>> m_items;
    int m_updateCount = 0;
};

class TExtColumnGrid : public TExtStringGrid {
    Q_OBJECT
public:
    explicit TExtColumnGrid(QWidget* parent = nullptr);
    ~TExtColumnGrid() override;

    TGridColumnCollection& Columns() { return *FColumnCollection; }
    const TGridColumnCollection& Columns() const { return *FColumnCollection; }
    // Assigns every item of Value to the grid's own items (counts made equal first).
    void SetColumns(const TGridColumnCollection& Value);
    // The item of real column ACol; null when there is none.
    TGridColumnItem* GetItem(int ACol) const { return FColumnCollection->GetItem(ACol); }
    // The first item whose Name is exactly AName; null when none.
    TGridColumnItem* GetColumnByName(const QString& AName) const;

    // The visible column count; writing it also brings the item count along.
    int ColCount() const { return TExtStringGrid::ColCount(); }
    void SetColCount(int Value);
    // Adds items (copying the previous last item's visuals) or frees the last ones until the
    // item count is ColCount plus the hidden columns.
    void SyncColumnItems();

    void Loaded() override;
    void RecalcFooter() override;
    void InsertCols(int ColIndex, int CCount) override;
    void RemoveCols(int ColIndex, int CCount) override;

    // Item headers into the ColumnHeaders list (an empty header first takes row 0's text).
    void RebuildColumnHeaders();
    void UpdateColumnHeaders() override;

    // True while an item is being moved with its column: a header write then leaves row 0.
    bool colMoving() const { return FColMoving; }
    // A column moved (display indexes) takes its item with it; OnAfterColumnMoved reports the
    // real indexes taken before the move.
    void ColumnMoved(int FromIndex, int ToIndex) override;
    std::function<void(QObject* Sender, int FromIndex, int ToIndex)> OnAfterColumnMoved;

    // ----- hooks answered from the items (real columns) -----
    void GetCellColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush, QFont& AFont,
                      TColor& AFontColor) override;
    void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush, QFont& AFont,
                           TColor& AFontColor) override;
    void GetCellBorder(int ACol, int ARow, TCellBorderPen& APen, TCellBorders& Borders) override;
    void GetCellPrintBorder(int ACol, int ARow, TCellBorderPen& APen,
                            TCellBorders& Borders) override;
    void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign) override;
    void GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix) override;
    void GetCellEditor(int ACol, int ARow, TEditorType& AEditor) override;
    void IsFixedCell(int ACol, int ARow, bool& IsFixed) override;
    void QueryCellEditable(int ACol, int ARow, bool& CanEdit) override;
    void IsPasswordCell(int ACol, int ARow, bool& IsPassword) override;
    bool DoHasComboBox(int ACol, int ARow) override;
    void GetCheckTrue(int ACol, int ARow, QString& Value) override;
    void GetCheckFalse(int ACol, int ARow, QString& Value) override;
    // A number in a column with its own FloatFormat is shown in that format; every other
    // cell as the string grid shows it.
    QString GetFormattedCell(int ACol, int ARow) override;
    // EditLength of the current column's item (0 = no limit) in the body's columns.
    int GetEditLimit() override;
    QString GetEditMask(int ACol, int ARow) override;
    void DoUpdateColumnSize(int ACol, int& AWidth) override;
    void DoUpdateAutoColumnSize(int ACol, int& AWidth) override;
    // The grid's handling, then each item caches its column's width.
    void ColWidthsChanged() override;
    // Data check-box columns: one shared virtual check box in every body cell without a
    // graphic of its own.
    TCellGraphic* sharedGraphic(int c, int r) const override;
    // The string grid's list first (its answer unused); then, when the item of ACol has a
    // Filter list, the list becomes the entries' names (the part before "=").
    bool BuildColumnFilterList(int ACol) override;

    int GetVersionNr() const override { return 0x03010301; }
    QString GetVersionString() const override;

    // A click of the button the column's ColumnPopupType names fires OnColumnPopup (display
    // column, row, the item's menu); the menu then opens below the cell when the row kind
    // (fixed or normal) matches the type as well.
    std::function<void(QObject* Sender, int ACol, int ARow, QMenu* PopupMenu)> OnColumnPopup;

protected:
    virtual std::unique_ptr<TGridColumnCollection> CreateColumns();
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void SizeChanged(int OldColCount, int OldRowCount) override;

private:
    friend class TGridColumnItem;
    friend class TGridColumnCollection;
    // Runs `f` with FNoRecursiveUpdate set (restored afterwards).
    template <class F>
    void quietly(F f);
    // The body's columns and rows for the item hooks (real column).
    bool inBody(int ACol, int ARow) const;
    // Gives the grid's editors the column's settings (combo list and its drop-down count).
    void loadColumnEditor(const TGridColumnItem& item);

    std::unique_ptr<TGridColumnCollection> FColumnCollection;
    std::unique_ptr<TGridColumnItem> FSaveCol;
    mutable TCellGraphic FCellGraphic;
    bool FColMoving = false;
    // Set while the grid adjusts its items itself; SizeChanged then leaves them alone.
    int m_itemsBusy = 0;
};

}  // namespace zfw
