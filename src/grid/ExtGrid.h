#pragma once
// The program's string grid: the base grid with the settings every rule editor relies on, the
// settings objects it owns, and the steps it runs once its owner has set its properties.
// Painting, input, editing and data operations build on it in files of their own.

#include "controls/ESGEdit.h"
#include "grid/BaseGrid.h"
#include "grid/CheckBoxCells.h"
#include "grid/ExtGridWindow.h"
#include "grid/ExtStyleIF.h"
#include "grid/GridDataSettings.h"
#include "grid/GridLook.h"
#include "grid/GridOutputSettings.h"
#include "grid/GridSettings.h"
#include "platform/Clipboard.h"

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QStringList>

#include <bitset>
#include <optional>
#include <vector>

namespace zfw {

enum class TFilterDropDownColumns { fdNormal, fdAll };
enum class TSearchAction { saFindFirst, saFindPrevious, saFindNext };
enum class TScrollType { ssNormal, ssFlat, ssEncarta, ssMetro };
enum class TInvalidEntryIcon { ieNone, ieInfo, ieWarning, ieError };
enum class THintShowLargeTextPos { hpCell, hpCursor };
enum class THoverFixedCells { hfNone, hfAll, hfFixedRows, hfFixedColumns };
// What a left press at the pointer would select; the pointer shows it.
enum class TMouseSelectMode { msNormal, msColumn, msRow, msAll, msURL, msResize };

// The sides of a cell that get a border line.
class TCellBorders {
public:
    constexpr TCellBorders() = default;
    constexpr TCellBorders(std::initializer_list<TCellBorder> sides)
    {
        for (TCellBorder s : sides)
            m_bits |= bit(s);
    }
    constexpr bool contains(TCellBorder s) const { return (m_bits & bit(s)) != 0; }
    constexpr bool isEmpty() const { return m_bits == 0; }
    friend constexpr bool operator==(TCellBorders, TCellBorders) = default;

private:
    static constexpr unsigned bit(TCellBorder s) { return 1u << unsigned(s); }
    unsigned m_bits = 0;
};

// The pen a border hook answers.
struct TCellBorderPen {
    TColor Color = 0;
    int Width = 1;
};

class TExtStringGrid;
class TGridCombo;
class TExtInplaceEdit;

// The grid's in-place edit with an ellipsis button. Made with the grid, hidden and disabled;
// the editing code shows it over a cell.
class TGridEditBtn : public TEsgEditBtn {
    Q_OBJECT
public:
    explicit TGridEditBtn(TExtStringGrid* Grid);
    TExtStringGrid* grid() const { return FGrid; }

private:
    TExtStringGrid* FGrid;
};

// The grid's in-place value-with-unit edit; a unit chosen from its menu reaches the grid's
// DoUnitChanged.
class TGridUnitEditBtn : public TEsgUnitEditBtn {
    Q_OBJECT
public:
    explicit TGridUnitEditBtn(TExtStringGrid* Grid);
    TExtStringGrid* grid() const { return FGrid; }

private:
    TExtStringGrid* FGrid;
};

class TExtStringGrid : public TBaseGrid {
    Q_OBJECT
public:
    explicit TExtStringGrid(QWidget* parent = nullptr);
    ~TExtStringGrid() override;

    // ----- owned settings objects, in the order the grid makes them -----
    TSearchPanel SearchPanel;
    TFocusHelper FocusHelper;
    TSearchFooter SearchFooter;
    TFloatingFooter FloatingFooter;
    TPrintSettings PrintSettings;
    THTMLSettings HTMLSettings;
    TSortSettings SortSettings;
    TDragDropSettings DragDropSettings;
    TControlLook ControlLook;
    TNavigation Navigation;
    TCellNode CellNode;
    TBands Bands;
    TMouseActions MouseActions;
    TGrouping Grouping;
    QFont FixedFont;
    QFont ActiveCellFont;
    TSyncGrid SyncGrid;
    TFilter Filter;
    TShowModified ShowModified;
    TFilterDropDown FilterDropDown;

    // ----- settings with their starting values -----
    bool ActiveCellShow = false;
    TColor ActiveCellColor = 0x808080;
    TColor ActiveCellColorTo = clNone;
    TEditorType DefaultEditor = TEditorType::edNormal;
    TAlignment DefaultAlignment = TAlignment::taLeftJustify;
    TVAlignment VAlignment = TVAlignment::vtaTop;
    // Text colour while the grid is disabled.
    TColor DisabledFontColor = 0xC0C0C0;
    bool UseDisabledFont = true;
    TColor HintColor = clInfoBk;
    TColor HighlightColor = clHighlight;
    TColor HighlightTextColor = clHighlightText;
    TColor SelectionColor = 0xEACAB6;
    TColor SelectionColorTo = clNone;
    TColor SelectionMirrorColor = clNone;
    TColor SelectionMirrorColorTo = clNone;
    TColor SelectionTextColor = 0;
    int SelectionColorMixerFactor = 50;
    bool ShowSelection = true;
    bool HideFocusRect = false;
    bool FixedAsButtons = false;
    bool EnableHTML = true;
    TColor URLColor = 0xFF0000;
    bool EnableWheel = true;
    bool IntelliZoom = true;
    bool Flat = false;
    QString FloatFormat = QStringLiteral("%.2f");
    QChar PasswordChar = u'*';
    QString CheckTrue = QStringLiteral("Y");
    QString CheckFalse = QStringLiteral("N");
    QString FilterDropDownClear = QStringLiteral("(All)");
    bool FilterNormalCellsOnly = true;
    bool AutoFilterUpdate = true;
    bool ShowDesignHelper = true;
    bool EnhRowColMove = true;
    // Sizes all normal columns to their contents in Loaded.
    bool AutoSize = false;
    // Offset of the text inside a cell, in pixels.
    QPoint XYOffset{2, 2};
    // Addresses inside longer texts are shown as links.
    bool URLShowInText = false;
    // The grid follows the size changes of its window (width and height by the same delta).
    bool SizeWithForm = false;
    // The filter drop-down lists the values of its column.
    bool FilterDropDownAuto = false;
    TFilterDropDownColumns FilterDropDownColumns = TFilterDropDownColumns::fdNormal;
    // The filter narrows as the user types; the filter list then leaves hidden rows out.
    bool FilterIncremental = false;
    // Footer rows at the bottom that count as fixed.
    int FixedFooters = 0;
    // Columns at the right edge that count as fixed; written through SetFixedRightCols.
    int FixedRightCols = 0;
    void SetFixedRightCols(int Value);
    // Set by editing when a cell text changed.
    bool Modified = false;
    // Node rows; kept by the node operations.
    int FNumNodes = 0;
    // 0: no limit.
    int MinRowHeight = 0;
    int MaxRowHeight = 0;
    int MinColWidth = 0;
    int MaxColWidth = 0;

    // Stored from construction on; the behaviour that reads them comes with painting,
    // scrolling, hints and the data exchange.
    TScrollType ScrollType = TScrollType::ssNormal;
    TColor ScrollColor = clNone;
    // The style's vertical scroll bar width, set by the constructor.
    int ScrollWidth = 17;
    TColor VKTGradientFrom = clWhite;
    // The button-face colour as RGB, set by the constructor.
    TColor VKTGradientTo = 0xF0F0F0;
    TColor VKTGradientMirrorFrom = clNone;
    TColor VKTGradientMirrorTo = clNone;
    TColor BorderColor = 0xB99D7F;
    QString XMLEncoding = QStringLiteral("ISO-8859-1");
    TInvalidEntryIcon InvalidEntryIcon = TInvalidEntryIcon::ieWarning;
    QString InvalidEntryTitle;
    QString InvalidEntryText;
    bool UseInternalHintClass = true;
    THintShowLargeTextPos HintShowLargeTextPos = THintShowLargeTextPos::hpCell;
    THoverFixedCells HoverFixedCells = THoverFixedCells::hfNone;
    QPoint HoverFixedCell{-1, -1};
    // What a save writes.
    bool SaveFixedCells = true;
    bool SaveFixedRows = false;
    bool SaveFixedCols = false;
    bool SaveHiddenCells = false;
    bool SaveVirtCells = true;
    bool SaveWithHTML = true;
    // How exports quote.
    bool QuoteEmptyCells = true;
    bool AlwaysQuotes = false;
    QChar Delimiter;  // null: none chosen
    bool JavaCSV = false;
    int PrintPageFrom = 1;
    int PrintPageTo = 1;
    int PrintPageNum = 0;
    int FilterColumn = -1;
    int FilterLevel = 0;
    // Positions that mean "none" until the user acts.
    QPoint PushedCellButton{-1, -1};
    QPoint ClipTopLeft{-1, -1};
    QPoint LastHintPos{-1, -1};
    int HoverLink = -1;
    int OleDragColumn = -1;
    int GroupColumn = -1;
    int ComboIndex = -1;
    int ClickedCol = -1;
    int ClickedRow = -1;
    int OldRowSelect = -1;
    int MouseSelectStart = -1;
    int OldSize = -1;
    int LastDesignChoice = -1;
    int ZoomFactor = 0;
    int SearchTicks = 0;
    TOfficeTheme OfficeThemeSeen = otUnknown;
    QStringList LookupItems;
    Qt::CaseSensitivity LookupCaseSensitivity = Qt::CaseInsensitive;

    // Header texts of row 0 and column 0; a write shows them at once.
    const QStringList& ColumnHeaders() const { return store().ColumnHeaders(); }
    void SetColumnHeaders(const QStringList& Value)
    {
        store().SetColumnHeaders(Value);
        UpdateColumnHeaders();
    }
    // Runs after every change of ColumnHeaders; nothing in the string grid.
    virtual void UpdateColumnHeaders() {}
    const QStringList& RowHeaders() const { return store().RowHeaders(); }
    void SetRowHeaders(const QStringList& Value) { store().SetRowHeaders(Value); }

    // The button editors every grid makes at construction (children of the grid).
    TGridEditBtn* editBtn() const { return m_editBtn; }
    TGridUnitEditBtn* unitEditBtn() const { return m_unitEditBtn; }

    // ----- lifecycle -----
    // Runs once the owner has set the properties: headers shown, columns auto-sized, the
    // loaded minimums recorded, goAlwaysShowEditor turned into Navigation.AlwaysEdit.
    void Loaded() override;
    bool isLoaded() const { return m_loaded; }
    // Recorded by Loaded: the smallest row height and column width sizing may give.
    int loadedMinRowHeight() const { return m_loadedMinRowHeight; }
    int loadedMinColWidth() const { return m_loadedMinColWidth; }
    // Sizes every column (the fixed ones only with DoFixedCols) to its widest text plus
    // Padding pixels.
    void AutoSizeColumns(bool DoFixedCols, int Padding);
    // The platform click, then the current cell is remembered as the edit cycle's old cell.
    void Click() override;
    // Copies the settings, counts, sizes and options of another string grid (cells excluded:
    // they go through the grid stream format). Nothing from any other object.
    void Assign(const QObject* Source);
    // Follows a size change of the grid's window: with SizeWithForm the grid grows or shrinks
    // by the window's change, never to 0 or less. The grid watches its window itself, so
    // several grids on one window each follow it and none replaces another's handling.
    void OwnerFormResize();

    // ----- cell access (real columns, display rows) -----
    // Cells with mini-HTML removed.
    QString GetStrippedCell(int ACol, int ARow) const;
    // By real row j (hidden rows included): a hidden row answers its saved text through the
    // display-text hook; a negative index answers "".
    QString GetCellsEx(int i, int j) const;
    // Writes by real row j: a hidden row's saved texts are padded up to entry i; a shown row
    // is written through SetCellEx. False when refused.
    bool SetCellsEx(int i, int j, const QString& Value);

    // An integer read from a cell: ok false with the message when the text is no integer.
    struct CellInt {
        bool ok = false;
        int value = 0;
        QString error;
    };
    // Mini-HTML stripped, spaces trimmed; "" and a lone "-" read as 0; strict 32-bit
    // conversion otherwise.
    CellInt GetInts(int ACol, int ARow) const;
    // Writes the decimal text.
    void SetInts(int ACol, int ARow, int Value);
    // By real row j: the text through GetCellsEx, mini-HTML kept.
    CellInt GetAllInts(int ACol, int j) const;
    bool SetAllInts(int ACol, int j, int Value);

    // A float read from a cell: ok false with the message when the text is no number.
    struct CellFloat {
        bool ok = false;
        double value = 0.0;
        QString error;
    };
    // Mini-HTML stripped, reduced to its numeric part (the widget's locale separators);
    // "" and "-" read as 0; "(3.5)" reads as -3.5.
    CellFloat GetFloats(int ACol, int ARow) const;
    // Writes the value in GetFloatFormat's pattern. False, and the cell untouched, when the
    // pattern holds no single float conversion.
    bool SetFloats(int ACol, int ARow, double Value);
    CellFloat GetAllFloats(int ACol, int j) const;
    // By real row j, in FloatFormat (never the per-column pattern).
    bool SetAllFloats(int ACol, int j, double Value);

    // Raw text by real row: no merge redirect, no display hooks.
    QString GetGridCellsEx(int i, int j) const;
    bool SetGridCellsEx(int i, int j, const QString& Value);
    // The user object by real row: a hidden row's from its saved properties. The writer
    // creates properties where needed; false when the cell lies outside the grid.
    std::uintptr_t GetObjectsEx(int i, int j) const;
    bool SetObjectsEx(int i, int j, std::uintptr_t Object);
    // The properties by real row (hidden rows from their saved entries); never creates.
    TCellProperties* GetGridObjectEx(int c, int j) const;
    // Cells and GetCellsEx as wide strings (a packed text is unpacked).
    QString GetWideCells(int ACol, int ARow) const;
    void SetWideCells(int ACol, int ARow, const QString& Value);
    QString GetWideCellsEx(int i, int j) const;
    bool SetWideCellsEx(int i, int j, const QString& Value);
    // Lines of the cell's text (CR-separated).
    int GetLinesInCell(int ACol, int ARow) const;

    // The sort cross-reference: entry i is the row that stood at i before sorting.
    TIntList SortXRef;
    // The real row of sorted entry ARow (ARow itself past the list).
    int SortedRowIndex(int ARow) const;
    // The position of ARow in the list; ARow for an empty list, the count when not found.
    int UnSortedRowIndex(int ARow) const;
    QString GetUnSortedCell(int ACol, int ARow) const;
    void SetUnSortedCell(int ACol, int ARow, const QString& Value);

    // A control shown over a cell. The grid becomes its parent (so it goes with the grid)
    // and places it over the cell, one pixel wider and higher on the left and top. A control
    // deleted by its creator is forgotten by the grid. Null removes the cell's control from
    // the grid's list and hides it.
    QWidget* GetCellControls(int ACol, int ARow) const;
    void SetCellControls(int ACol, int ARow, QWidget* AControl);
    // Controls placed through cell properties.
    int numCellControls() const { return m_numCellControls; }
    // One entry per placed control: real column, real row.
    struct ControlItem {
        int Col = 0;
        int Row = 0;
        QPointer<QWidget> Control;
    };
    const std::vector<ControlItem>& controlList() const { return m_controls; }
    // Keeps the placed controls over their cells: a control whose cell is in view is placed
    // over it, one out of view or in a hidden row or column is hidden; controls of fixed
    // cells are left alone. rebuildlist first collects the controls from the cells again
    // (hidden rows included). Runs after scrolling, sizing and hiding.
    void CellControlsUpdate(bool rebuildlist);
    void TopLeftChanged() override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // Store changes that move cells: the controls follow them.
    void layoutChanged(int FirstRow) override;
    void colWidthChanged(int DCol) override;
    void rowHeightChanged(int ARow) override;

    // The grid font for a cell without properties, else the cell's font settings over it.
    QFont GetCellFont(int ACol, int ARow) const;
    // Takes name, size, style and colour from Font.
    void SetCellFont(int ACol, int ARow, const QFont& Font, TColor FontColor);

    // ----- per-cell properties -----
    // Readers answer the neutral value for a cell without properties and create nothing
    // (GetWordWraps excepted); writers create the properties and repaint the cell. A writer
    // given a cell outside the grid does nothing.
    TColor GetColors(int ACol, int ARow) const;
    void SetColors(int ACol, int ARow, TColor Value);
    TColor GetColorsTo(int ACol, int ARow) const;
    void SetColorsTo(int ACol, int ARow, TColor Value);
    TCellGradientDirection GetGradientDir(int ACol, int ARow) const;
    void SetGradientDir(int ACol, int ARow, TCellGradientDirection Value);
    bool GetReadOnly(int ACol, int ARow) const;
    void SetReadOnly(int ACol, int ARow, bool Value);
    bool GetWordWraps(int ACol, int ARow);
    void SetWordWraps(int ACol, int ARow, bool Value);
    TColor GetFontColors(int ACol, int ARow) const;
    void SetFontColors(int ACol, int ARow, TColor Value);
    int GetFontStyles(int ACol, int ARow) const;
    void SetFontStyles(int ACol, int ARow, int Value);
    QString GetFontNames(int ACol, int ARow) const;
    void SetFontNames(int ACol, int ARow, const QString& Value);
    int GetFontSizes(int ACol, int ARow) const;
    void SetFontSizes(int ACol, int ARow, int Value);
    TAlignment GetAlignments(int ACol, int ARow) const;
    void SetAlignments(int ACol, int ARow, TAlignment Value);

    // Row-wide colours over FixedCols .. AllColCount - 1 (hidden columns included). clNone
    // resets that one colour of the cells that have properties and leaves the rest of them.
    void SetRowColor(int ARow, TColor AColor);
    void SetRowColorTo(int ARow, TColor AColor);
    void SetRowFontColor(int ARow, TColor AColor);

    // ----- per-cell hooks: the default answer first, the event (when assigned) last, so that
    // the form has the final word. Event arguments keep their declared order (several take
    // the row first). ACol is a real column unless said otherwise. -----
    std::function<void(QObject* Sender, int ARow, int ACol, bool& CanEdit)> OnCanEditCell;
    std::function<void(QObject* Sender, int ACol, int ARow)> OnButtonClick;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnComboCloseUp;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnComboDropDown;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& hintstr)> OnGridHint;
    std::function<void(QObject* Sender, int ARow, int ACol, QString& hintstr)> OnGridWideHint;
    std::function<void(QObject* Sender, int ARow, int ACol, TGridDrawState AState, TColor& ABrush,
                       QFont& AFont, TColor& AFontColor)>
        OnGetCellColor;
    std::function<void(QObject* Sender, int ARow, int ACol, TAlignment& HAlign,
                       TVAlignment& VAlign)>
        OnGetAlignment;
    std::function<void(QObject* Sender, int ACol, int ARow, TEditorType& AEditor)> OnGetEditorType;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& IsFixed)> OnIsFixedCell;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& IsPassword)> OnIsPasswordCell;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& WordWrap)> OnGetWordWrap;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetCheckTrue;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetCheckFalse;
    std::function<void(QObject* Sender, const QString& Value, int ACol, int ARow,
                       TSearchAction SearchAction)>
        OnSearchFooterAction;
    std::function<void(QObject* Sender, int ACol, int ARow, bool Expanded)> OnExpandClick;
    std::function<void(QObject* Sender, int ACol, int ARow, int X, int Y, Qt::CursorShape& ACursor)>
        OnGetCellCursor;
    std::function<void(QObject* Sender, const TCellRange& R)> OnCellsChanged;
    std::function<void(QObject* Sender, int ARow, int ACol, TGridDrawState AState, TColor& ABrush,
                       QFont& AFont, TColor& AFontColor)>
        OnGetCellPrintColor;
    std::function<void(QObject* Sender, int ARow, int ACol, TCellBorderPen& APen,
                       TCellBorders& Borders)>
        OnGetCellBorder;
    std::function<void(QObject* Sender, int ARow, int ACol, TCellBorderPen& APen,
                       TCellBorders& Borders)>
        OnGetCellPrintBorder;
    std::function<void(QObject* Sender, int ACol, TSortStyle& AStyle, QString& aPrefix,
                       QString& aSuffix)>
        OnGetFormat;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& HasComboBox)> OnHasComboBox;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& HasSpinEdit)> OnHasSpinEdit;
    std::function<void(QObject* Sender, int Column, QStringList& Filter)> OnGetColumnFilter;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& NewUnit)> OnUnitChanged;

    // The current cell (base cell of a merged area): raw text, text through the display
    // hooks, and a write through SetCellEx.
    virtual QString GetCurrentCell();
    virtual void SetCurrentCell(const QString& Value);
    virtual QString GetCurrentCellText();
    // Sets the framework's edit text of the current cell (base cell of a merged area).
    virtual void SetCurrentCellEditText(const QString& Value);
    virtual QString GetFloatFormat() { return FloatFormat; }
    // Footer recalculation; the floating footer is not shown, so there is nothing to update.
    virtual void UpdateFooterColumn(int ACol) {}
    // The floating footer has no panel to fill yet: calculating and updating it change
    // nothing, in particular not the grid's last row.
    virtual void CalcFooter(int ACol) {}
    void UpdateFooter() {}
    // Recalculates the footer of every column.
    virtual void RecalcFooter();
    // Remembers the cell, its raw and displayed text and Modified as the edit cycle's old
    // state.
    virtual void RememberCellValue(int ACol, int ARow);
    int oldCol() const { return m_oldCol; }
    int oldRow() const { return m_oldRow; }
    const QString& oldCellText() const { return m_oldCellText; }
    const QString& oldWideCellText() const { return m_oldWideCellText; }
    bool oldModified() const { return m_oldModified; }
    virtual void DoSearchFooterAction(const QString& Value, int ACol, int ARow,
                                      TSearchAction SearchAction);
    // The event, then row ARow takes the cell's expanded or collapsed height.
    virtual void DoExpandClick(int ACol, int ARow, bool Expanded);
    // Only with OnGetCellCursor: the event starts from the grid's cursor and its answer is
    // shown at once.
    virtual void DoGetCellCursor(int ACol, int ARow, int X, int Y);
    // The event with a copy of R, then the footer of all columns.
    virtual void DoCellsChanged(const TCellRange& R);
    virtual void DoCanEditCell(int ACol, int ARow, bool& CanEdit);
    virtual void DoButtonClick(int ACol, int ARow);
    virtual void DoComboCloseUp(int ACol, int ARow);
    virtual void DoComboDropDown(int ACol, int ARow);
    // A non-empty wide hint replaces Hint in its packed form.
    virtual void DoGridHint(int ACol, int ARow, QString& Hint, QString& WideHint);
    // With ActiveCellShow, the headers of the current cell take the active-cell look; a cell
    // with properties brings its own brush (plain and picture kinds only) and font settings.
    virtual void GetCellColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush,
                              QFont& AFont, TColor& AFontColor);
    virtual void GetCellPrintColor(int ACol, int ARow, TGridDrawState AState, TColor& ABrush,
                                   QFont& AFont, TColor& AFontColor);
    // Group header rows underlined, summary rows lined on top (from column 1 on); the
    // summary line wins.
    virtual void GetCellBorder(int ACol, int ARow, TCellBorderPen& APen, TCellBorders& Borders);
    virtual void GetCellPrintBorder(int ACol, int ARow, TCellBorderPen& APen,
                                    TCellBorders& Borders);
    virtual void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
    virtual void GetCellFormat(int ACol, TSortStyle& AStyle, QString& aPrefix, QString& aSuffix);
    virtual void GetAlwaysVisibleEditorType(int ACol, int ARow, TEditorType& AEditor);
    virtual void GetCellEditor(int ACol, int ARow, TEditorType& AEditor);
    // False without OnGetEditorType; otherwise whether it answers edNone for edNormal.
    virtual bool HasNoEditor(int ACol, int ARow);
    // The event is asked only for a cell that is not fixed already.
    virtual void IsFixedCell(int ACol, int ARow, bool& IsFixed);
    virtual void QueryCellEditable(int ACol, int ARow, bool& CanEdit);
    virtual void IsPasswordCell(int ACol, int ARow, bool& IsPassword);
    virtual void DoGetWordWrap(int ACol, int ARow, bool& WordWrap);
    virtual void GetCheckTrue(int ACol, int ARow, QString& Value);
    virtual void GetCheckFalse(int ACol, int ARow, QString& Value);
    // The event decides when assigned; else, with DropDownAlwaysVisible, whether the cell's
    // editor is a combo.
    virtual bool DoHasComboBox(int ACol, int ARow);
    // Never in fixed rows or columns; else the event, or with SpinButtonsAlwaysVisible
    // whether the always-visible editor is a spin kind.
    virtual bool DoHasSpinEdit(int ACol, int ARow);
    // Fills filterValues() for column ACol's filter drop-down; true when it has entries.
    virtual bool BuildColumnFilterList(int ACol);
    const QStringList& filterValues() const { return m_filterValues; }
    // A derived grid's own entries, in the order given (no sorting).
    void setFilterValues(const QStringList& Values) { m_filterValues = Values; }

    // ----- display text and small hooks -----
    // The base display text (OnGetDisplText), then addresses shown as links (URLShowInText)
    // and the group count after a node row's column-1 text (Grouping.ShowGroupCount).
    void GetDisplText(int ACol, int ARow, QString& Value) override;
    // True for the sort glyph's cells: the row (the last of a merged area) is
    // SortSettings.Row, sorting is shown and there is more than one normal row.
    bool IsSortIndicatorCell(int ACol, int ARow) const;
    bool HasNodes() const override { return FNumNodes > 0; }
    // Node level of column 0's properties times CellNode.NodeIndent; 0 without nodes.
    int GetRowIndent(int ARow) const override;
    // Column-0 graphic of the row is a node or a summary.
    bool IsNode(int ARow) const;
    bool IsSummary(int ARow) const;
    // The modified mark lives in column 0.
    void ShowModifiedChanged();
    void BandsChanged() { Invalidate(); }
    void DoUnitChanged(const QString& NewUnit);

    // ----- version -----
    virtual int GetVersionNr() const { return 0x06020103; }
    // "major.minor.release.build Sep, 2012".
    virtual QString GetVersionString() const;
    // The four numbers alone; writing it changes nothing.
    QString Version() const;
    void SetVersion(const QString&) {}

private:
    // Runs `change` on the cell's properties (created when needed) and repaints the cell.
    template <class F>
    void changeProperties(int ACol, int ARow, F change);
    void resetRowCell(int ACol, int ARow, const std::function<void(TCellProperties&)>& reset);
    void forgetControl(QObject* control);
    void placeControls()
    {
        if (m_numCellControls > 0)
            CellControlsUpdate(false);
    }
    void watchWindow();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The last fixed row, where the sort glyphs and header colours show.
    void repaintLastFixedRow();

    bool m_loaded = false;
    TGridEditBtn* m_editBtn = nullptr;
    TGridUnitEditBtn* m_unitEditBtn = nullptr;
    QPointer<QWidget> m_watchedWindow;
    QSize m_prevFormSize;
    std::vector<ControlItem> m_controls;
    int m_numCellControls = 0;
    QStringList m_filterValues;
    int m_oldCol = -1;
    int m_oldRow = -1;
    QString m_oldCellText;
    QString m_oldWideCellText;
    bool m_oldModified = false;
    int m_loadedMinRowHeight = 0;
    int m_loadedMinColWidth = 0;

    // ===== row and column structure, cell ranges, text insets (ExtGridRows*.cpp) =====
    // Display rows and columns unless said otherwise. Hidden columns travel with their rows.
public:
    // Parks the selection outside the grid (remembering it), and brings it back.
    void HideSelection();
    void UnHideSelection();
    // A grid of fixed rows only whose selection is hidden (FixedRowAlways) shows it again
    // once the count changes, so that the rows added are selectable.
    void SetRowCount(int n);
    // With SyncGrid.SelectionColumn the partner grid's current column follows.
    void SetCol(int c);
    bool selHidden() const { return m_selHidden; }
    // Asks SelectCell again for the current cell (editor shown or not).
    void UpdateEditMode();
    // Makes the cell visible, centring it when it lies out of view.
    void ScrollInView(int ColIndex, int RowIndex);
    // Count empty rows before RowIndex (0..RowCount); the rows below keep their cells,
    // properties, check boxes, heights and controls.
    virtual void InsertRows(int RowIndex, int RCount, bool UpdateCellControls = true);
    // Removes RCount rows from RowIndex, freeing their cells; nothing for an index outside
    // the rows or a count below 1, and the count is clipped to the rows there are.
    virtual void RemoveRows(int RowIndex, int RCount);
    // One empty row at the end.
    void AddRow();
    // CCount empty columns of the default width before ColIndex (0..ColCount).
    virtual void InsertCols(int ColIndex, int CCount);
    // Removes the columns ColIndex..ColIndex+CCount-1 (clipped), freeing their cells.
    virtual void RemoveCols(int ColIndex, int CCount);
    void AddColumn() { InsertCols(ColCount(), 1); }
    // Moves one row or column, with its cells, properties, controls and size, to ToIndex.
    void MoveRow(int FromIndex, int ToIndex);
    // Through ColumnMoved, so that a derived grid moves what belongs to the column as well,
    // whoever asks for the move.
    void MoveColumn(int FromIndex, int ToIndex);
    // A column has moved from display position FromIndex to ToIndex: its cells, properties,
    // controls and width follow.
    virtual void ColumnMoved(int FromIndex, int ToIndex);
    // Moves Count rows from FromIndex to stand before row ToIndex of the grid as it was; a
    // target inside the moved block places them at ToIndex. Nothing for equal indexes, a
    // count below 1 or rows outside the grid.
    void MoveRows(int FromIndex, int ToIndex, int Count);

    // Empties the cells of the rectangle (display columns; with SaveHiddenCells each is taken
    // through RealColIndex) and frees their properties.
    virtual void ClearRect(int ACol1, int ARow1, int ACol2, int ARow2);
    void ClearRows(int RowIndex, int RCount);
    void ClearCols(int ColIndex, int CCount);
    // Every cell, hidden columns included.
    void Clear();
    // The stored text is a packed wide text.
    bool IsWideCell(int ACol, int ARow) const;
    // While set, ClearRect leaves properties alone, or empties their object slots unfreed.
    bool ClearTextOnly = false;
    bool NilObjects = false;
    bool BlockCellChange = false;

    // The text inset of a cell: XYOffset on one side only, or on both.
    bool XYOffsetTopLeftOnly = false;
    int TotalXOffset() const { return XYOffsetTopLeftOnly ? XYOffset.x() : 2 * XYOffset.x(); }
    int TotalYOffset() const { return XYOffsetTopLeftOnly ? XYOffset.y() : 2 * XYOffset.y(); }
    // Lines of the tallest text of the row over its visible columns; 1 without Multilinecells.
    bool Multilinecells = false;
    int MaxRowLineCount(int ARow) const;

private:
    void cellsChanged(int Left, int Top, int Right, int Bottom);
    void rebuildControls();
    // Hides the placed controls `gone` picks and takes them out of the list.
    void dropControls(const std::function<bool(const ControlItem&)>& gone);
    bool m_selHidden = false;
    TGridRect m_oldSelection;

    // ===== window, notification and locale helpers (ExtGridWindow.cpp) =====
public:
    // Repaints the grid, except right after an edit change (setEditChange), which only clears
    // the flag: the editor repaints its own cell.
    void Invalidate() override;
    bool editChange() const { return m_editChange; }
    void setEditChange(bool on) { m_editChange = on; }
    // OnResize, then the scroll bars that stay shown.
    void Resize() override;
    // Places the grid; with IntegralHeight (and no update lock) the height is cut to whole
    // default rows, keeping room for the horizontal bar when not every column fits and for a
    // frame.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    bool IntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool Value) { m_integralHeight = Value; }
    // Bars shown (disabled) even when everything fits.
    TScrollBarAlways ScrollBarAlways() const { return m_scrollBarAlways; }
    void SetScrollBarAlways(TScrollBarAlways Value);

    // The one selection listener; registering replaces the previous one, unregistering
    // clears it whatever is passed. Not owned.
    void RegisterSelListener(ITExtStringGridSelect* AListener) { m_selListener = AListener; }
    void UnRegisterSelListener(ITExtStringGridSelect*) { m_selListener = nullptr; }
    ITExtStringGridSelect* selListener() const { return m_selListener; }
    // Objects told about cell changes; each is kept once. Not owned: a notifier destroyed
    // while registered drops out of the list by itself.
    void RegisterNotifier(TGridChangeNotifier* Item);
    void UnRegisterNotifier(TGridChangeNotifier* ANotifier);
    // The registered notifiers still alive, in registration order.
    QList<TGridChangeNotifier*> notifiers() const;
    // Tells every registered notifier that the cells of R (real columns, display rows)
    // changed.
    void NotifyCellsChanged(const TRect& R);

    // ===== check-box cells (ExtGridCheckBox.cpp); columns real, rows display =====
    // Size of a painted check box in pixels.
    static constexpr int kCheckSize = 15;
    // Adds a plain (Data false) or data check box, flat, before the text, placed vertically
    // after VAlignment. A data box keeps a cell text that is either check text and otherwise
    // writes the check text for State. Answers "" or the error ("Invalid cell" for a cell
    // outside the stored columns and rows, and for a row at or past RowCount while rows are
    // hidden: those are no display rows); the cell is then unchanged.
    QString AddCheckBox(int ACol, int ARow, bool State, bool Data);
    // A box in every row from FixedRows (row 0 with MouseActions.CheckAllCheck) to
    // RowCount - 1; answers "" or the first row's error (the rows before keep their boxes).
    QString AddCheckBoxColumn(int ACol, bool DefaultState, bool DataCheckBox);
    // Removes a plain, data or three-state box and repaints; other graphics stay.
    bool RemoveCheckBox(int ACol, int ARow);
    void RemoveCheckBoxColumn(int ACol);
    bool HasCheckBox(int ACol, int ARow) const;
    bool HasDataCheckBox(int ACol, int ARow) const;
    // False (State untouched) without a readable box. While rows are hidden, ARow is a real
    // row (a hidden one is read from the hidden-row store).
    bool GetCheckBoxState(int ACol, int ARow, bool& State);
    bool IsChecked(int ACol, int ARow);
    // Writes the state without the event; false without such a box. ARow as for the readers.
    bool SetCheckBoxState(int ACol, int ARow, bool State);
    static TCheckBoxState BoolToCheckBoxState(bool bChecked)
    {
        return bChecked ? cbChecked : cbUnchecked;
    }
    // Writes the state (ARow a display row) and fires DoCheckBoxChange only when it really
    // changed; false without a plain, data or row check box.
    bool ChangeCheckBoxState(int ACol, int ARow, bool State);
    // ChangeCheckBoxState with true (false) for every row from FixedRows on.
    void CheckAll(int ACol) { setAllCheckBoxes(ACol, true); }
    void UnCheckAll(int ACol) { setAllCheckBoxes(ACol, false); }
    // The user's toggle: with CheckEditable the cell must be editable (QueryCellEditable);
    // repaints and fires DoCheckBoxChange. False when nothing was toggled.
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheckBoxEx(ACol, ARow, false); }
    virtual bool ToggleCheckBoxEx(int ACol, int ARow, bool CheckEditable);
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxChange;
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    // The content hook of the base painter: runs the string grid's cell painter.
    void DrawCellContent(IGridCanvas& canvas, int ACol, int ARow, const TRect& content,
                         bool selected) override;
    // Where the box of a check-box cell is painted in the content rectangle.
    TRect checkBoxRect(int ACol, int ARow, const TRect& content);

protected:
    bool keepsScrollBar(Qt::Orientation o) const override;

private:
    CheckTexts cellCheckTexts(int ACol, int ARow);
    void setAllCheckBoxes(int ACol, bool State);

private:
    bool m_editChange = false;
    bool m_integralHeight = false;
    TScrollBarAlways m_scrollBarAlways = saNone;
    ITExtStringGridSelect* m_selListener = nullptr;
    QList<QPointer<TGridChangeNotifier>> m_notifiers;

    // ===== selection, keys, mouse, focus, scrolling and hints (ExtGridSelect.cpp,
    // ExtGridKeys.cpp, ExtGridMouse.cpp, ExtGridHint.cpp); columns display unless said =====
public:
    std::function<void(QObject* Sender, int ARow, int ACol)> OnClickCell;
    std::function<void(QObject* Sender, int ARow, int ACol)> OnDblClickCell;
    // Also outside the cells (-1 indexes).
    std::function<void(QObject* Sender, int ARow, int ACol)> OnRightClickCell;
    // The one veto of a whole left press.
    std::function<void(QObject* Sender, int ARow, int ACol, bool& Allow)> OnCanClickCell;
    // A check box toggled by the user (mouse or Space); the new state.
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxClick;
    std::function<void(QObject* Sender, int ALeft, int ATop, int ARight, int ABottom)>
        OnSelectionChanged;
    std::function<void(QObject* Sender, int ARow, bool Value, bool& Allow)> OnRowDisjunctSelect;
    std::function<void(QObject* Sender, int ARow)> OnRowDisjunctSelected;
    std::function<void(QObject* Sender, int ACol, bool& Allow)> OnColumnSize;
    std::function<void(QObject* Sender, int ACol)> OnEndColumnSize;
    // While a column (row) border is dragged: the size it would get.
    std::function<void(QObject* Sender, int ACol, int ColumnSize)> OnColumnSizing;
    std::function<void(QObject* Sender, int ARow, int RowSize)> OnRowSizing;
    // While sizing, a hint at the sized cell tells the size ("cw=" width, "rh=" height).
    bool HintShowSizing = false;
    // A fixed column (row) is being sized by the mouse (MouseActions.SizeFixedCol / Row).
    bool sizingFixedCol() const { return m_sizingFixed == Qt::Horizontal; }
    bool sizingFixedRow() const { return m_sizingFixed == Qt::Vertical; }
    std::function<void(QObject* Sender, int ARow)> OnEndRowSize;
    // An advance about to move from (OldCol, OldRow) to an editable cell: the form may
    // redirect the target or refuse (the cell then stays).
    std::function<void(QObject* Sender, int OldRow, int OldCol, int& NewRow, int& NewCol,
                       bool& Allow)>
        OnAutoAdvance;
    // The current cell is about to move by an advance; Allow false keeps it.
    std::function<void(QObject* Sender, int OldRow, int OldCol, int NewRow, int NewCol,
                       bool& Allow)>
        OnCellChanging;

    // Hints: the body cell's text (mini-HTML stripped) is the hint; OnGridHint has the last
    // word, for fixed cells too. Without either the grid's toolTip() is shown.
    bool HintShowCells = false;

    // --- hover ---
    // HoverRow and its colours are the base grid's; HoverRowCells alone paints nothing.
    // The row under the mouse while HoverRow is on; -1 when none.
    int hoverRowIdx() const { return FHoverRowIdx; }
    // A cell of the fixed columns (fixed rows) the HoverFixedCells mode lets light up.
    bool IsHoverFixedCell(int ACol, int ARow) const;
    // Forgets the fixed sizing zones and the lit fixed cell (repainting it).
    void ResetFixedCellHighlight();
    // Set while a fixed-cell menu is open: hovering of fixed cells pauses and leaving the grid
    // keeps the lit cell.
    bool NoMouseLeave = false;
    // What a press at the pointer's last position would select.
    TMouseSelectMode mouseSelectMode() const { return m_mouseSelectMode; }
    // The mouse left the grid: press mode, sizing zones, lit fixed cell and hover row reset.
    void MouseLeave();

    // --- selection rectangle ---
    // Highlights rows RowIndex .. RowIndex + RCount - 1 (cut at the last row): the selection
    // rectangle over the normal columns, or the disjunct row selection. A request that starts
    // outside the normal rows, or counts no row, is ignored.
    void SelectRows(int RowIndex, int RCount);
    // Only with the disjunct row selection.
    void UnSelectRows(int RowIndex, int RCount);
    void SelectCols(int ColIndex, int CCount);
    void UnSelectCols(int ColIndex, int CCount);
    // Current cell (ToCol, ToRow), selection the rectangle.
    void SelectRange(int FromCol, int ToCol, int FromRow, int ToRow);
    void SelectCells(int FromCol, int FromRow, int ToCol, int ToRow);
    // The selection becomes the one cell (no cell-selection check).
    void FocusCell(int ACol, int ARow);
    // Row first, then column, each through the cell-selection check.
    void GotoCell(int ACol, int ARow);
    // Focuses the grid, goes to the cell and opens the editor.
    void EditCell(int ACol, int ARow);
    // Moves the current cell with its anchor and scrolls it into view.
    void MoveToCell(int ACol, int ARow);
    // Runs the cell-selection check for the current cell.
    bool Select();

    // --- disjunct row, column and cell selection ---
    // False for a row outside the grid (a negative one even with RowSelectPersistent);
    // reading never grows the list.
    bool GetRowSelect(int ARow) const;
    // Ignored, with a warning, for a row outside the grid. OnRowDisjunctSelect may refuse.
    void SetRowSelect(int ARow, bool Value);
    bool GetColSelect(int ACol) const;
    void SetColSelect(int ACol, bool Value);
    void ClearRowSelect();
    void ClearColSelect();
    // Selection back to the first normal cell, the disjunct cells forgotten.
    void ClearSelectedCells();
    int RowSelectCount() const;
    int ColSelectCount() const;
    // Rows selected (disjunct, in selection order) or of the selection rectangle.
    int SelectedRowCount() const;
    // -1 beyond the end.
    int SelectedRow(int i) const;
    // False in fixed rows and columns; the rectangle's corners in either order.
    bool IsSelected(int ACol, int ARow) const;
    bool GetSelectedCells(int i, int j) const;
    void SetSelectedCells(int i, int j, bool Value);
    // With the disjunct cell selection the listed cells; otherwise the list is rebuilt from
    // the selection rectangle first.
    int SelectedCellsCount();
    // (-1, -1) beyond the end.
    TGridCoord SelectedCell(int i) const;

    // --- row flags ---
    bool GetRowModified(int ARow) const;
    void SetRowModified(int ARow, bool Value);
    int ModifiedRowCount() const;
    void ClearModifiedRows();
    bool GetRowEnabled(int ARow) const;
    // A current row that is (re)set moves first to the first other enabled row.
    void SetRowEnabled(int ARow, bool Value);
    bool useEnabledRows() const { return m_useEnabledRows; }

    // --- repaint requests (nothing is drawn at once) ---
    void RepaintCell(int ACol, int ARow);
    void RepaintRow(int ARow);
    void RepaintCol(int ACol);
    // Nothing for a negative corner; the whole grid when a corner is out of view.
    void RepaintRect(const TGridRect& r);
    void RepaintCellRange(const TGridRect& r);
    // The header cells (last fixed row, last fixed column) of both cells, so that header
    // highlights follow a moving current cell.
    void RepaintHeaderCells(int ACol1, int ARow1, int ACol2, int ARow2);

    // Fires OnSelectionChanged.
    virtual void DoSelectionChanged(int ALeft, int ATop, int ARight, int ABottom);
    // The cell text the filter compares (ACol real).
    virtual void GetFilterCellText(int ACol, int ARow, QString& text);

    // --- keys ---
    // Tab (goTabs): one step row-wise; false when nothing took the cursor.
    bool TabToNextCell(bool Backward);
    // Enter advance from (ACol, ARow); Force advances without AdvanceOnEnter. Cells that may
    // not be edited are stepped over; after one full pass without an editable cell the
    // current cell stays where it was. An editable target is offered to OnAutoAdvance, then
    // OnCellChanging; a refusal (or a redirect outside the normal cells) keeps the cell and
    // runs the cell-selection check of the start cell again.
    void AdvanceToNextCell(int ACol, int ARow, bool Force, bool AutoEdit, bool Forward);
    // The move of an editor's cursor walk from (ACol, ARow): to the cell left or right, on to
    // the next (previous) row at the edges; with CursorWalkAlwaysEdit the editor opens there,
    // and the answer is whether it does.
    bool CursorWalkMove(int ACol, int ARow, bool Forward);
    // With goEditing the cell must be editable, else not fixed; OnSelectCell has the last word.
    bool CanTabToCell(int ACol, int ARow);
    // -1 when no column of the row takes the cursor.
    int FirstTabCol(int ARow);
    int LastTabCol(int ARow);
    int FirstNormalCol() const;
    // A left press and release 2 pixels inside the cell, without OnMouseDown/OnMouseUp.
    void ClickCell(int ACol, int ARow);
    // goEditing (or RangeSelectAndEdit) and the editable hooks (ACol real).
    bool IsEditable(int ACol, int ARow);
    // Fixed by position or by the is-fixed hook (ACol real).
    bool IsFixed(int ACol, int ARow);
    // The Home/End and Ctrl+A key steps and the key veto rules, then the base movement.
    void WMKeyDown(int Key, TShiftState Shift) override;
    // A typed character opens the editor on an editable cell without check box.
    void KeyPress(char16_t& Key) override;
    // After Tab or an arrow: the selection change is reported; AlwaysEdit reopens the editor.
    void KeyUp(int& Key, TShiftState Shift) override;

    // --- mouse ---
    void WMLButtonDown(TShiftState Shift, int X, int Y) override;
    void WMLButtonDblClk(TShiftState Shift, int X, int Y) override;
    void WMRButtonDown(TShiftState Shift, int X, int Y) override;
    // A range dragged by the mouse reports each change of the selection.
    void MouseMove(TShiftState Shift, int X, int Y) override;
    // A column (row) size released beyond the client area is cancelled. A selection that
    // differs from the one before the press is reported.
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    // Ctrl+wheel zooms (IntelliZoom); otherwise WheelIncrement rows, or the system's wheel
    // lines, per notch, within the normal rows.
    void WMMouseWheel(TShiftState Shift, int Notches, QPoint MousePos) override;
    // Adds x pixels to every positive column width and row height that stays positive;
    // nothing when the accumulated steps would leave -10..10.
    void Zoom(int x);
    int zoomFactor() const { return m_zoomFactor; }
    // Sizes display column ACol to its content as painted (FitColumnToContent with
    // SizeGrowOnly), then adds Padding, within MinColWidth/MaxColWidth.
    void AutoSizeCol(int ACol, int Padding);
    // The widest cell of display column ACol (graphic and text) plus the text insets, the
    // lines and 2 pixels; with GrowOnly a wider column stays. The auto-size hook may change
    // the width before it is clamped and set.
    void FitColumnToContent(int ACol, bool GrowOnly);
    // Columns from the first (0 with DoFixedCells, else FixedCols) take the width of their
    // widest cell and rows grow to their highest cell, content plus padding plus the text
    // offset, within the limits; with SizeGrowOnly no column narrows. One repaint at the end.
    void AutoSizeCells(bool DoFixedCells, int PaddingX, int PaddingY);
    // Content fits never narrow a column.
    bool SizeGrowOnly = false;
    // The row to the tallest cell of its visible columns as painted (text wrapped with the
    // grid's WordWrap, graphics), within MinRowHeight/MaxRowHeight; with GrowOnly a taller
    // row stays. Padding is kept free of the cell width when graphics are measured.
    void FitRowToContent(int ARow, bool GrowOnly, int Padding);
    // FitRowToContent with SizeGrowOnly, then Padding added within the limits.
    void AutoSizeRow(int ARow, int Padding);
    // The row high enough for `Lines` lines of the grid's font plus Padding.
    void SetRowLineHeight(int ARow, int Lines, int Padding);
    TSizeWhileTyping SizeWhileTyping;
    TColumnSize ColumnSize;
    // Width limits of a column sized by the user and of one sized to its content; both fire
    // OnUpdateColumnSize (ACol display) in the string grid.
    std::function<void(QObject* Sender, int ACol, int& AWidth)> OnUpdateColumnSize;
    virtual void DoUpdateColumnSize(int ACol, int& AWidth);
    virtual void DoUpdateAutoColumnSize(int ACol, int& AWidth);
    // The cell under a screen point; (-1, -1) outside the cells.
    TGridCoord ScreenToCell(QPoint pt) const;
    // Over a column or row border that a press would size.
    bool IsOnSizingEdge(int X, int Y);

    // --- scrolling ---
    // While a scroll bar's thumb is dragged: a hint with the row ("Row : n") or column
    // ("Col : n") it would bring to the top (left), and with ScrollSynch the grid follows.
    enum TScrollHintType { shNone, shVertical, shHorizontal, shBoth };
    TScrollHintType ScrollHints = shNone;
    bool ScrollSynch = false;
    // ARow carries the column for the horizontal bar.
    std::function<void(QObject* Sender, int ARow, QString& hintstr)> OnScrollHint;
    // The thumb of the bar of orientation o dragged to Pos (0..127), and released.
    void ThumbTrack(Qt::Orientation o, int Pos);
    void ThumbEnd(Qt::Orientation o);
    // The steps after the top row or left column changed: the selection rectangle repainted,
    // the synchronised grid follows, the editor closed over a check-box cell.
    void ScrolledTopLeft();

    // --- focus and the edit cycle's end ---
    std::function<void(QObject* Sender, int ACol, int ARow)> OnEditCellDone;
    // OnEnter; the current cell is checked again while editing is on, and remembered as the
    // edit cycle's old cell.
    void DoEnter() override;
    // A mouse selection still to be copied into the row selection is copied; then OnExit.
    void DoExit() override;
    // With AlwaysEdit the editor opens on the current cell when the grid gains the focus,
    // but not when the focus only comes back from the grid's own editor.
    void WMSetFocus() override;
    // GridEditDone fires OnEditCellDone; with EditOnDblClickOnly editing ends with it.
    bool WndProc(QEvent* e) override;
    // The buttons of a drop-down editor's header and footer, for the current cell.
    std::function<void(QObject* Sender, int ACol, int ARow, int ButtonIndex)>
        OnDropDownHeaderButtonClick;
    std::function<void(QObject* Sender, int ACol, int ARow, int ButtonIndex)>
        OnDropDownFooterButtonClick;
    void DoDropDownHeaderButtonClick(int ButtonIndex);
    void DoDropDownFooterButtonClick(int ButtonIndex);
    // The memo drop-down's text becomes the current cell's edit text.
    void MemoDropDownChange(const QString& Text);
    // Rows of the selection rectangle into the row selection: rows inside are selected, the
    // others (with All) unselected.
    void SelectionToRowSelect(bool All);

    // Closes the open drop-down list of every combo box in the grid (in-place editor or cell
    // control): the list would otherwise stay where the cell was before scrolling.
    void CloseDropDowns();

    // --- hints ---
    // The text the hint shows for the cell under client point pos; empty for none.
    QString cellHint(QPoint pos);

protected:
    bool viewportEvent(QEvent* e) override;
    // With SyncGrid.SelectionRow (SelectionColumn), a key or mouse action that moved the
    // current row (column) moves the partner grid's row (column) too.
    bool event(QEvent* e) override;
    void followRow(int oldRow);
    void followCol(int oldCol);

private:
    // The display column a mouse drag has just sized, for the width-change steps; -1 else.
    int m_colSized = -1;
    // After a width change: the user-sized column within its limits, and no editor left open
    // over a check box.
    void colWidthsChangedSteps();
    // The text and graphic of display cell (ACol, ARow) as painted. With wrapped the text is
    // measured wrapped to the cell's width where the grid and the cell wrap; graphicPaddingX
    // is kept free of the cell's width when the graphic is measured.
    struct CellContentSize {
        QSize text{0, 0};
        const TCellGraphic* graphic = nullptr;
        QSize graphicSize{0, 0};
    };
    CellContentSize measureCellContent(int ACol, int ARow, bool wrapped = false,
                                       int graphicPaddingX = 0);
    // MinColWidth, or the lower limit a loaded grid keeps when MinColWidth is 0.
    int minColWidthLimit() const;
    bool wheelStep(bool down, TShiftState Shift, QPoint MousePos);
    void trackHover(const TGridCoord& cell);
    void dragFixedSelection(int X, int Y, const TGridCoord& cell);
    TMouseSelectMode pressModeAt(int X, int Y, const TGridCoord& cell);
    void showMouseSelectCursor();
    void reportSizing();
    void reportSize(bool cols, int index, int size);
    // The fixed column (row) whose right (bottom) border lies under the pointer and may be
    // dragged; -1 for none.
    int fixedSizingBorder(Qt::Orientation o, int X, int Y) const;
    bool pressFixedSizing(int X, int Y);
    void dragFixedSizing(int X, int Y);
    bool releaseFixedSizing(int X, int Y);
    std::optional<Qt::Orientation> m_sizingFixed;
    int m_sizingFixedIndex = -1;
    bool m_sizingHintShown = false;
    bool m_scrollHintShown = false;
    bool m_syncingScroll = false;
    bool wireScrolling();
    bool m_scrollWired = wireScrolling();
    TMouseSelectMode m_mouseSelectMode = TMouseSelectMode::msNormal;
    // The kind of selection a press in the fixed cells drags (from MouseSelectStart);
    // msNormal when no such drag runs.
    TMouseSelectMode m_fixedDragMode = TMouseSelectMode::msNormal;
    void selectAllByKey();
    void keyHomeEnd(int& Key, TShiftState Shift, bool& consumed);
    bool keySkipFixed(int Key);

    std::vector<bool> m_rowSelect;
    QList<int> m_selectedRows;
    std::vector<bool> m_colSelect;
    // The disjunct cells in selection order, each once.
    QList<TGridCoord> m_selectedCells;
    std::vector<bool> m_modifiedRows;
    std::vector<bool> m_disabledRows;
    bool m_useEnabledRows = false;
    bool m_selChange = false;
    bool m_dblClkSized = false;
    int m_lastTabCol = -1;
    int m_lastTabRow = -1;
    int m_zoomFactor = 0;
    TGridRect m_moveSelection;
    // The selection before the press, or as last reported while the mouse drags.
    TGridRect m_mouseSelection;

    // ===== the edit cycle: editability, opening and closing editors, validation and the end
    // of an edit (ExtGridEdit.cpp, ExtGridValidate.cpp) =====
    // Columns: SelectCell, the editor openers and GetEditText/SetEditText take display
    // columns (the framework grid calls them); IsCellEditable, DoEditingDone,
    // SetEditedCellText and every event of an edit take real columns.
public:
    // Editing state, shared with the editor controls.
    // An editor (text or special) is open for the current cell. Not the framework's
    // EditorMode, which covers the text editor only.
    bool EditMode = false;
    TEditorType EditControl = TEditorType::edNormal;
    // The special editor now shown; null for the text editor.
    QPointer<QWidget> EditCtrl;
    // An edit is running whose value still has to be validated.
    bool FEditing = false;
    bool FValidating = false;
    bool FSpecialEditor = false;
    // The special editor was opened by the show step: its commit reports the end of the edit.
    bool FEditActive = false;
    bool FEntered = false;
    // SelectCell has switched editing off for the current cell.
    bool FEditDisable = false;
    bool FEditChange = false;
    // While set, text changes of the editor raise no OnEditChange.
    bool FNoEditChange = false;
    bool FShowEditProcess = false;
    // Set by a refused commit so that the grid does not advance.
    bool FNoAutoAdvance = false;
    // The editor was opened by a left click in the cell, at FLButPos (viewport pixels).
    bool LButFlg = false;
    QPoint FLButPos;
    bool FBlockFocus = false;
    bool FBlockKill = false;
    bool FLastValidation = true;
    // Set while an advance moves the current cell: the cell-changing events stay silent.
    bool FDisableChange = false;
    // The cell's text when it was selected or its editor opened; Esc puts it back.
    QString FCellCache;
    QString FEditText;
    // The value as the last validation left it.
    QString FNewCellText;
    // The character typed to open the editor; 0 for none.
    char16_t FStartEditChar = 0;

    // Editing settings.
    QString EditMask;
    // Longest text of the text editor; 0: no limit.
    int MaxEditLength = 0;
    int MaxComboLength = 0;
    // Validate even when the text did not change.
    bool AlwaysValidate = false;
    // False: the text editor gets the cell text with mini-HTML tags removed.
    bool EditWithTags = false;
    // The keypad period types the locale's decimal separator.
    bool ExcelStyleDecimalSeparator = false;
    // The characters edValidChars accepts; when empty, the one-byte characters of
    // ValidCharSet.
    QString ValidChars;
    std::bitset<256> ValidCharSet;
    // ValidChars, or the characters of ValidCharSet when ValidChars is empty.
    QString AcceptedValidChars() const;
    // The grid's word wrap; the text editor wraps with it.
    bool WordWrap() const { return store().WordWrap(); }
    void SetWordWrap(bool Value);
    // Typing completes the text from LookupItems (compared with LookupCaseSensitivity); with
    // LookupHistory a text left in the editor joins the list.
    bool Lookup = false;
    bool LookupHistory = false;
    // The first entry of LookupItems that starts with prefix; a null text when none does.
    QString LookupEntry(const QString& prefix) const;

    std::function<void(QObject* Sender)> OnEditingDone;
    // ACol real. Value may be corrected; Valid false refuses it.
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)>
        OnCellValidate;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Valid)>
        OnCellValidateWide;
    // After each change of an editor's text (current display column and row).
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)> OnEditChange;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetEditMask;
    std::function<void(QObject* Sender, int OldRow, int NewRow, bool& Allow)> OnRowChanging;
    std::function<void(QObject* Sender, int OldCol, int NewCol, bool& Allow)> OnColChanging;
    std::function<void(QObject* Sender, int OldRow, int NewRow)> OnRowChanged;
    // Paste into the text editor: a veto, then the text may be changed or vetoed per cell.
    std::function<void(QObject* Sender, bool& Allow)> OnClipboardPaste;
    // The text editor took the cell's contents (current display column and row, no editor
    // link); a form may set the editor's properties here.
    std::function<void(QObject* Sender, int ACol, int ARow, QObject* AEditLink)> OnGetEditorProp;
    virtual void DoGetEditorProp(int ACol, int ARow, QObject* AEditLink);
    // Copy and cut of the text editor's selection; Allow false keeps the clipboard.
    std::function<void(QObject* Sender, bool& Allow)> OnClipboardCopy;
    std::function<void(QObject* Sender, bool& Allow)> OnClipboardCut;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value, bool& Allow)>
        OnClipboardBeforePasteCell;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)>
        OnClipboardAfterPasteCell;
    // The clipboard that copy, cut and paste use: the system's unless one was set (not owned;
    // null puts the system's back).
    IClipboard& clipboard() const { return m_clipboard ? *m_clipboard : systemClipboard(); }
    void setClipboard(IClipboard* clipboard) { m_clipboard = clipboard; }

    // The cell's own editability (ACol real): the can-edit and is-fixed hooks on the base
    // cell of its merged area.
    bool IsCellEditable(int ACol, int ARow);
    // Decides the editability of the new cell (switching goEditing on and off), validates a
    // running special edit, fires the cell-changing events, then asks the framework grid.
    bool SelectCell(int ACol, int ARow) override;
    // Opens special editors itself (and answers false); answers whether the text editor may
    // show.
    bool CanEditShow() override;
    TInplaceEdit* CreateEditor() override;
    // The text editor's text: mini-HTML removed unless EditWithTags.
    QString GetEditText(int DCol, int ARow) override;
    void SetEditText(int DCol, int ARow, const QString& Value) override;
    QString GetEditMask(int DCol, int ARow) override;
    // MaxEditLength; a column grid answers the column's limit.
    int GetEditLimit() override { return MaxEditLength; }
    // The text editor, null before it is first needed.
    TExtInplaceEdit* NormalEdit() const;

    void ShowInplaceEdit();
    // Closes and commits the open editor; nothing when none is open.
    void HideInplaceEdit();
    // Opens the editor as F2 would.
    void ShowCellEdit();
    void HideCellEdit();
    // A special editor's key ended the edit: close, then navigate as the key says.
    void DoneInplaceEdit(int Key, TShiftState Shift);
    virtual void ShowSpecialEditor(int ACol, int ARow);
    virtual void HideSpecialEditor(int ACol, int ARow);
    // The combo kinds' editor (edComboEdit, edComboList), in ExtGridCombo.cpp. Opens the
    // combo over display cell (DCol, ARow); false when it did not open.
    virtual bool ShowComboEditor(TEditorType kind, int DCol, int ARow, char16_t startChar);
    // Commits the open combo into the cell it was opened on and hides it; false when none
    // was open.
    virtual bool HideComboEditor();
    // Esc: the combo shows the cell's text again, and the commit that follows changes nothing.
    virtual void CancelComboEditor();

    // Validates the value of the running edit and stores it; true when accepted, also when
    // no edit is running. A refusal puts the old (or corrected) text back and reopens the
    // editor on the edited cell.
    virtual bool ValidateCell(const QString& NewValue);
    // ValidateCell for a cell of packed wide text: compared with the cell's characters,
    // reported through OnCellValidateWide after the column's footer is brought up to date.
    virtual bool ValidateCellWide(const QString& NewValue);
    // OnEditingDone now; OnEditCellDone (ACol real) once the current handler has returned.
    virtual void DoEditingDone(int ACol, int ARow);
    // A committed value: through SetEditText (display column), then into the cell.
    virtual void SetEditedCellText(int ACol, int ARow, const QString& Value);
    // Esc: the current cell gets its text from before the edit back.
    virtual void RestoreCellCache();
    // goTabs, or a validation event is assigned: the editors keep Tab for themselves.
    bool EditorWantsTab() const;
    virtual void DoCellChanging(int NewCol, int NewRow, bool& Allow);
    virtual void DoCheckBoxClick(int ACol, int ARow, bool State);

    // ----- combo cells (ExtGridCombo.cpp) -----
    // The grid's one combo editor, made on first use (a hidden child of the viewport).
    TGridCombo* EditCombo();
    // The combo editor's item list; one list per grid, whatever was loaded last.
    void ClearComboString();
    void AddComboString(const QString& s);
    // AObject is not owned.
    void AddComboStringObject(const QString& s, QObject* AObject);
    // False when no item equals s.
    bool RemoveComboString(const QString& s);
    // The item the opening selects when the cell's text matches none; false (and no change)
    // when no item equals s.
    bool SetComboSelectionString(const QString& s);
    void SetComboSelection(int idx) { FComboIdx = idx; }
    int GetComboCount();
    // The list loaded for the cell (ACol real) by its editor hook, then the index of the item
    // equal to the cell's text (case ignored); -1 when none.
    int GetComboIndex(int ACol, int ARow);
    // Writes item Value into the cell; false, and the cell unchanged, for an index outside.
    bool SetComboIndex(int ACol, int ARow, int Value);
    // ACol is the real column of the current cell; ASelection the item's text, or the combo's
    // text when no item is selected.
    std::function<void(QObject* Sender, int ACol, int ARow, int AItemIndex,
                       const QString& ASelection)>
        OnComboChange;
    std::function<void(QObject* Sender, int ACol, int ARow, int AItemIndex,
                       const QString& ASelection, QObject* AObject)>
        OnComboObjectChange;
    // The combo is open over a cell for an edit.
    bool comboEditing() const;
    // What a commit of the open combo stores: its text, the selected item's text for a list,
    // or the cell's own text while the list shows a fallback item the user has not chosen.
    QString comboValue() const;
    // Notifications of the combo editor.
    void comboSelectionChanged();
    void comboEditChanged();
    void comboClosedUp();
    void comboDroppedDown();
    // OnComboChange then OnComboObjectChange for item idx (the combo's text when -1).
    void fireComboChange(int idx);
    // Keeps the open combo over its cell after a size change.
    void placeComboEditor();

private:
    TGridCombo* m_editCombo = nullptr;
    int FComboIdx = -1;
    // The cell (real column, row) the combo was opened on.
    int m_comboCol = -1;
    int m_comboRow = -1;
    // A pick list opened on a text that is in none of its items shows a fallback item; the
    // cell keeps its text unless the user chooses an item.
    bool m_comboKeepText = false;
    bool m_comboPicked = false;
    QString m_comboCellText;

    void showValidationBalloon();
    bool validateEdit(const QString& NewValue, bool wide);
    // Set by a refused validation; a SelectCell that saw one refuses its move.
    bool m_validationRefused = false;
    int m_lastReportedRow = -1;

    // ===== painting: the cell pipeline, visual properties, text and looks (ExtGridPaint*.cpp) =====
public:
    // The fixed-cell look; SetLook resets the look's colours (glXP is the default).
    TGridLook Look() const { return m_look; }
    void SetLook(TGridLook Value);
    // The library-wide colour style. Only tsWindowsXP is built: any other style answers false
    // and changes nothing.
    bool SetComponentStyle(TVKTStyle AStyle);
    TVKTStyle componentStyle() const { return m_style; }
    // The look of check boxes and buttons in cells; its drawing settings repaint the grid and
    // its fixed gradient colours reach the VKTGradient colours below.
    TControlLook& controlLook() { return ControlLook; }
    const TControlLook& controlLook() const { return ControlLook; }
    // The fixed-cell gradients of the gradient looks under the mouse and pressed (the plain
    // ones are the VKTGradient settings above).
    TColor VKTGradientHoverFrom = clNone;
    TColor VKTGradientHoverTo = clNone;
    TColor VKTGradientHoverMirrorFrom = clNone;
    TColor VKTGradientHoverMirrorTo = clNone;
    TColor VKTGradientHoverBorder = clNone;
    TColor VKTGradientDownFrom = clNone;
    TColor VKTGradientDownTo = clNone;
    TColor VKTGradientDownMirrorFrom = clNone;
    TColor VKTGradientDownMirrorTo = clNone;
    TColor VKTGradientDownBorder = clNone;
    // Lines between normal cells and between fixed cells.
    TColor GridLineColor = 0xC0C0C0;
    TColor GridFixedLineColor = 0x808080;
    void SetGridLineColor(TColor Value);
    void SetGridFixedLineColor(TColor Value);

    // ----- appearance settings: plain fields above are read by painting; these writers store
    // and repaint as each setting needs -----
    bool SelectionColorMixer = false;
    bool SelectionRectangle = false;
    bool SelectionResizer = false;
    bool URLShow = false;
    bool URLFull = false;
    bool URLUnderlineOnHover = false;
    bool Hovering = false;
    // Flat scroll bars are not drawn: ScrollType, ScrollColor and ScrollWidth are kept for the
    // settings that carry them.
    // The background picture or gradient; kept, not yet painted.
    enum TBackGroundDisplay { bdTile, bdFixed, bdGradientHorz, bdGradientVert };
    enum TBackGroundCells { bcNormal, bcFixed, bcAll };
    struct TBackGround {
        int Top = 0;
        int Left = 0;
        TBackGroundDisplay Display = bdTile;
        TBackGroundCells Cells = bcNormal;
        TColor Color = clWindow;
        TColor ColorTo = clBtnFace;
        QImage Bitmap;
        bool operator==(const TBackGround&) const = default;
    };
    const TBackGround& BackGround() const { return m_backGround; }
    void SetBackGround(const TBackGround& Value);
    void SetSelectionColor(TColor Value);
    void SetSelectionColorTo(TColor Value);
    void SetSelectionMirrorColor(TColor Value);
    void SetSelectionMirrorColorTo(TColor Value);
    void SetSelectionTextColor(TColor Value);
    void SetSelectionColorMixer(bool Value);
    // Kept within 0..100.
    void SetSelectionColorMixerFactor(int Value);
    void SetSelectionRectangle(bool Value);
    void SetSelectionResizer(bool Value);
    void SetShowSelection(bool Value);
    void SetURLColor(TColor Value);
    void SetURLShow(bool Value);
    void SetURLFull(bool Value);
    void SetHighlightColor(TColor Value);
    void SetHighlightTextColor(TColor Value);
    void SetActiveCellShow(bool Value);
    void SetActiveCellColor(TColor Value);
    void SetActiveCellColorTo(TColor Value);
    void SetActiveCellFont(const QFont& Value);
    void SetXYOffset(QPoint Value);
    // Stores without repainting.
    void UpdateXYOffset(int X, int Y) { XYOffset = QPoint(X, Y); }
    void SetVAlignment(TVAlignment Value);
    void SetFlat(bool Value);
    // True switches on the selection rectangle and resizer, smart clipboard, range selection,
    // editing and range-select-and-edit; false leaves them as they are.
    void SetSpreadSheet(bool Value);
    void SetScrollType(TScrollType Value) { ScrollType = Value; }

    // ----- the paint pass -----
    // The base pass, the editor's cell outline, then OnPainted. Nothing while the update lock
    // is held: the lock's end repaints once.
    void Paint(QPainter& painter, const QRect& updateRect) override;
    std::function<void(QObject* Sender)> OnPainted;
    // An owner-draw event run before the text (background) and after the graphic.
    std::function<void(QObject* Sender, IGridCanvas& Canvas, int ACol, int ARow,
                       TGridDrawState AState, const TRect& ARect, bool Printing)>
        OnCustomCellBkgDraw;
    std::function<void(QObject* Sender, IGridCanvas& Canvas, int ACol, int ARow,
                       TGridDrawState AState, const TRect& ARect, bool Printing)>
        OnCustomCellDraw;
    // Border pens of one cell, after GetCellBorder.
    std::function<void(QObject* Sender, int ARow, int ACol, TCellBorderPen& LeftPen,
                       TCellBorderPen& TopPen, TCellBorderPen& RightPen, TCellBorderPen& BottomPen)>
        OnGetCellBorderProp;
    // Everything of a cell after the base background and lines, in a fixed order: look
    // gradient of fixed cells, modified mark, text, borders, look edges, graphic, focus.
    virtual void DrawGridCell(IGridCanvas& canvas, int DCol, int ARow, TRect ARect,
                              TGridDrawState AState);
    // Colours, font, alignment, word wrap and gradient direction of a cell in a fixed order;
    // Remap: ACol is a display column; Select: the selection may recolour the cell.
    virtual void GetVisualProperties(int ACol, int ARow, TGridDrawState& AState, bool Print,
                                     bool Select, bool Remap, TColor& ABrush, TColor& AColorTo,
                                     TColor& AMirrorColor, TColor& AMirrorColorTo, QFont& AFont,
                                     TColor& AFontColor, TAlignment& HA, TVAlignment& VA, bool& WW,
                                     TCellGradientDirection& GD);
    // Per channel Percent % of A and the rest of B, rounded; 100 or more: A; below 1 or A
    // clNone: B; B clNone: A. System colours resolved against the grid's palette.
    TColor MixColors(TColor A, TColor B, int Percent) const;
    TColor MixColorsIf(TColor A, TColor B, bool Mix, int Percent) const
    {
        return Mix ? MixColors(A, B, Percent) : A;
    }
    // The cell text as painted (display hooks applied).
    virtual QString GetFormattedCell(int ACol, int ARow);
    // The DrawText vertical flag of VAlignment: 0 top, 4 centre, 8 bottom.
    int FVAlign() const { return m_fvAlign; }
    // The dotted line shown while a column or row is sized; a second call with the same
    // position removes it (as the old XOR line did).
    void DrawColSizingLine(int X);
    void DrawRowSizingLine(int Y);
    std::optional<int> colSizingLine() const { return m_colSizingLine; }
    std::optional<int> rowSizingLine() const { return m_rowSizingLine; }

protected:
    CellVisual paintVisual(int ACol, int ARow, TGridDrawState& AState) override;
    CellPaintGrid cellPaintGrid() const override;
    // OnDrawCell runs after the graphic, with the real column and the cell's inner rectangle.
    bool firesDrawCellEvent() const override { return true; }

private:
    // The checks of opening the editor on a focus gain with AlwaysEdit.
    bool AlwaysEditCanOpen();
    // The focus entered with AlwaysEdit: the editor opens after the enter handling, which
    // closes any editor while it checks the current cell again.
    bool m_openOnEnter = false;
    struct CellGraphicExtent {
        const TCellGraphic* graphic = nullptr;
        int width = 0;
        int height = 0;
        bool textAllowed = true;
    };
    CellGraphicExtent GetCellGraphicExtent(int ACol, int ARow) const;
    void DrawCellText(IGridCanvas& canvas, int RCol, int ARow, const TRect& rect,
                      TGridDrawState AState, TColor fontColor, TAlignment HA, TVAlignment VA,
                      bool WW, const CellGraphicExtent& extent, const QFont& font);
    void DrawCellBorders(IGridCanvas& canvas, int RCol, int ARow, TRect rect);
    void DrawCellGraphics(IGridCanvas& canvas, int RCol, int ARow, const TRect& rect,
                          const CellGraphicExtent& extent);
    void paintLooseOverlays(QPainter& painter);
    void repaintIfChanged(bool changed)
    {
        if (changed)
            Invalidate();
    }

    // The fixed cell under the mouse, in the kind HoverFixedCells lets light up, while the
    // mouse neither sizes nor moves anything. Display column.
    bool isHoveredFixedCell(int DCol, int ARow) const;
    TGridLook m_look = TGridLook::glXP;
    TVKTStyle m_style = tsCustom;
    TBackGround m_backGround;
    int m_fvAlign = 0;
    std::optional<int> m_colSizingLine;
    std::optional<int> m_rowSizingLine;
    // Runs before the constructor's body: wires the control look and the mark to the grid and
    // gives the default look its colours.
    bool wirePainting();
    bool m_paintingWired = wirePainting();
    IClipboard* m_clipboard = nullptr;
};

}  // namespace zfw
