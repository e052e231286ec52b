#pragma once
// The program's string grid: the base grid with the settings every rule editor relies on, the
// settings objects it owns, and the steps it runs once its owner has set its properties.
// Painting, input, editing and data operations build on it in files of their own.

#include "grid/BaseGrid.h"
#include "grid/CheckBoxCells.h"
#include "grid/ExtGridWindow.h"
#include "grid/GridSettings.h"

#include <QFont>
#include <QPoint>
#include <QStringList>

namespace zfw {

class TExtStringGrid : public TBaseGrid {
    Q_OBJECT
public:
    explicit TExtStringGrid(QWidget* parent = nullptr);
    ~TExtStringGrid() override;

    // ----- owned settings objects -----
    TNavigation Navigation;
    TMouseActions MouseActions;
    TSearchFooter SearchFooter;
    TSyncGrid SyncGrid;
    TBands Bands;
    TFocusHelper FocusHelper;
    QFont FixedFont;
    QFont ActiveCellFont;

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
    // 0: no limit.
    int MinRowHeight = 0;
    int MaxRowHeight = 0;
    int MinColWidth = 0;
    int MaxColWidth = 0;

    // Header texts of row 0 and column 0; a write shows them at once.
    const QStringList& ColumnHeaders() const { return store().ColumnHeaders(); }
    void SetColumnHeaders(const QStringList& Value) { store().SetColumnHeaders(Value); }
    const QStringList& RowHeaders() const { return store().RowHeaders(); }
    void SetRowHeaders(const QStringList& Value) { store().SetRowHeaders(Value); }

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
    std::function<void(QObject* Sender, int ARow, int ACol, TGridDrawState AState,
                       TColor& ABrush, QFont& AFont, TColor& AFontColor)>
        OnGetCellColor;
    std::function<void(QObject* Sender, int ARow, int ACol, TAlignment& HAlign,
                       TVAlignment& VAlign)>
        OnGetAlignment;
    std::function<void(QObject* Sender, int ACol, int ARow, TEditorType& AEditor)>
        OnGetEditorType;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& IsFixed)> OnIsFixedCell;
    std::function<void(QObject* Sender, int ARow, int ACol, bool& IsPassword)> OnIsPasswordCell;
    std::function<void(QObject* Sender, int ACol, int ARow, bool& WordWrap)> OnGetWordWrap;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetCheckTrue;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetCheckFalse;

    // The current cell (base cell of a merged area): raw text, text through the display
    // hooks, and a write through SetCellEx.
    virtual QString GetCurrentCell();
    virtual void SetCurrentCell(const QString& Value);
    virtual QString GetCurrentCellText();
    virtual QString GetFloatFormat() { return FloatFormat; }
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
    virtual void GetCellAlignment(int ACol, int ARow, TAlignment& HAlign, TVAlignment& VAlign);
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

    bool m_loaded = false;
    int m_loadedMinRowHeight = 0;
    int m_loadedMinColWidth = 0;

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
    // outside the stored columns and rows); the cell is then unchanged.
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
    // The user's toggle: with CheckEditable the cell must be editable (QueryCellEditable);
    // repaints and fires DoCheckBoxChange. False when nothing was toggled.
    bool ToggleCheckBox(int ACol, int ARow) { return ToggleCheckBoxEx(ACol, ARow, false); }
    virtual bool ToggleCheckBoxEx(int ACol, int ARow, bool CheckEditable);
    std::function<void(QObject* Sender, int ACol, int ARow, bool State)> OnCheckBoxChange;
    virtual void DoCheckBoxChange(int ACol, int ARow, bool State);
    // Paints a check-box cell's box (and the text, for the kinds that show one) or else the
    // base content.
    void DrawCellContent(IGridCanvas& canvas, int ACol, int ARow, const TRect& content,
                         bool selected) override;
    // Where the box of a check-box cell is painted in the content rectangle.
    TRect checkBoxRect(int ACol, int ARow, const TRect& content);

protected:
    bool keepsScrollBar(Qt::Orientation o) const override;

private:
    CheckTexts cellCheckTexts(int ACol, int ARow);

private:
    bool m_editChange = false;
    bool m_integralHeight = false;
    TScrollBarAlways m_scrollBarAlways = saNone;
    ITExtStringGridSelect* m_selListener = nullptr;
    QList<QPointer<TGridChangeNotifier>> m_notifiers;
};

}  // namespace zfw
