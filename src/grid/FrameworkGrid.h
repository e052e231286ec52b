#pragma once
// The framework string grid: the platform grid layer that the program's own grids derive from,
// and a usable grid on its own. It keeps counts, sizes, the scroll position, the current cell
// with its anchor, the options and the grid state, and turns Qt's events into the virtual hooks
// a derived grid overrides (DrawCell, SelectCell, KeyDown, MouseDown, CanEditShow ...). The
// arithmetic lives in FrameworkGridGeometry and FrameworkGridSelection; this class adapts.
//
// Every event is a std::function member: a derived grid tests whether one is assigned, fires
// it with by-reference arguments and may detach it for a moment.
//
// Indexes are display indexes throughout.

#include "grid/FrameworkGridGeometry.h"
#include "grid/FrameworkGridSelection.h"
#include "grid/FrameworkGridTypes.h"
#include "grid/GridEditField.h"
#include "platform/Colors.h"
#include "platform/Rect.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QEvent>
#include <QHash>
#include <QMetaObject>

#include <functional>

class QPainter;

namespace zfw {

class TStringGrid;

// The grid's text editor: a child of the viewport, placed over the current cell. Its keys
// are split like the grid's: the grid's key hooks see navigation keys and every character
// first, and may consume them.
class TInplaceEdit : public TGridEditField {
    Q_OBJECT
public:
    explicit TInplaceEdit(TStringGrid* grid);
    TStringGrid* Grid() const { return m_grid; }
    // Loads the current cell: text, limit.
    virtual void UpdateContents();
    // Re-places the editor after the grid set its geometry.
    virtual void BoundsChanged() {}

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    TStringGrid* m_grid;
};

// Posted by a grid to itself after an edit completed; it arrives once the handler that posted
// it has returned.
class GridEditDoneEvent : public QEvent {
public:
    GridEditDoneEvent(int col, int row) : QEvent(type()), Col(col), Row(row) {}
    static QEvent::Type type();
    int Col;
    int Row;
};

class TStringGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    // ----- events -----
    std::function<void(QObject* Sender, int ACol, int ARow, bool& CanSelect)> OnSelectCell;
    std::function<void(QObject* Sender, int ACol, int ARow, const TRect& Rect,
                       TGridDrawState State)>
        OnDrawCell;
    std::function<void(QObject* Sender)> OnTopLeftChanged;
    std::function<void(QObject* Sender, int ACol, int ARow, QString& Value)> OnGetEditText;
    std::function<void(QObject* Sender, int ACol, int ARow, const QString& Value)> OnSetEditText;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyDown;
    std::function<void(QObject* Sender, char16_t& Key)> OnKeyPress;
    std::function<void(QObject* Sender, int& Key, TShiftState Shift)> OnKeyUp;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseDown;
    std::function<void(QObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>
        OnMouseUp;
    std::function<void(QObject* Sender, TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(QObject* Sender, TShiftState Shift, QPoint MousePos, bool& Handled)>
        OnMouseWheelDown;
    std::function<void(QObject* Sender, TShiftState Shift, QPoint MousePos, bool& Handled)>
        OnMouseWheelUp;
    std::function<void(QObject* Sender)> OnClick;
    std::function<void(QObject* Sender)> OnDblClick;
    std::function<void(QObject* Sender)> OnEnter;
    std::function<void(QObject* Sender)> OnExit;
    std::function<void(QObject* Sender)> OnResize;

    // ----- counts and sizes -----
    int ColCount() const { return m_geo.ColCount(); }
    int RowCount() const { return m_geo.RowCount(); }
    // Cell texts beyond a lowered count are kept; raising the count shows them again. A current
    // cell that falls outside is brought back to the last cell; one parked outside on purpose
    // (SetSelection beyond the grid) is left there.
    void SetColCount(int n);
    void SetRowCount(int n);
    int FixedCols() const { return m_geo.FixedCols(); }
    int FixedRows() const { return m_geo.FixedRows(); }
    // At most count - 1, so that one scrollable column (row) remains; a larger value is clamped
    // with a warning.
    void SetFixedCols(int n);
    void SetFixedRows(int n);
    int DefaultColWidth() const { return m_geo.DefaultColWidth(); }
    int DefaultRowHeight() const { return m_geo.DefaultRowHeight(); }
    // Also sets every column width (row height).
    void SetDefaultColWidth(int w);
    void SetDefaultRowHeight(int h);
    int ColWidths(int col) const { return m_geo.ColWidths(col); }
    int RowHeights(int row) const { return m_geo.RowHeights(row); }
    // Calls ColWidthsChanged (RowHeightsChanged) when the size changed.
    void SetColWidths(int col, int w);
    void SetRowHeights(int row, int h);

    // ----- scrolling -----
    int TopRow() const { return m_geo.TopRow(); }
    int LeftCol() const { return m_geo.LeftCol(); }
    // Accepted anywhere in Fixed..Count - 1; calls TopLeftChanged when it moved.
    void SetTopRow(int row);
    void SetLeftCol(int col);
    int VisibleColCount() const { return m_geo.VisibleColCount(); }
    int VisibleRowCount() const { return m_geo.VisibleRowCount(); }
    int ClientWidth() const { return m_geo.ClientWidth(); }
    int ClientHeight() const { return m_geo.ClientHeight(); }
    TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle s);
    const FrameworkGridGeometry& geometryModel() const { return m_geo; }

    // Client rectangle of a visible or partly visible cell; empty otherwise.
    virtual TRect CellRect(int ACol, int ARow) const { return m_geo.CellRect(ACol, ARow); }
    // The cell under a client point; -1 on an axis where no cell lies there.
    TGridCoord MouseToCell(int X, int Y) const { return m_geo.MouseToCell(X, Y); }

    // ----- current cell and selection -----
    int Col() const { return m_cursor.current.X; }
    int Row() const { return m_cursor.current.Y; }
    void SetCol(int c) { MoveCurrentCell(c, Row(), true, true); }
    void SetRow(int r) { MoveCurrentCell(Col(), r, true, true); }
    // Asks SelectCell first; a refusal changes nothing. Returns whether the cell moved there.
    bool MoveCurrentCell(int ACol, int ARow, bool MoveAnchor, bool Show);
    // The range between anchor and current cell, corners ordered.
    TGridRect Selection() const { return m_cursor.selection(m_geo, m_options); }
    // Anchor := (Left, Top), current := (Right, Bottom); no SelectCell, no clamping (a range
    // outside the grid hides the selection).
    void SetSelection(const TGridRect& r);

    TGridOptions Options() const { return m_options; }
    void SetOptions(TGridOptions o);
    TGridState GridState() const { return m_gridState; }
    void SetGridState(TGridState s) { m_gridState = s; }
    // The cell painting of the framework: backgrounds, the cell text and the lines inside each
    // cell. A derived grid that paints its cells itself turns it off.
    bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool on);
    TColor Color() const { return m_color; }
    void SetColor(TColor c);
    TColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(TColor c);
    // The grid widget itself has the focus (its editor having it does not count).
    bool Focused() const { return hasFocus(); }

    // ----- cell store -----
    // Texts and object slots by (column, row), independent of the counts. Object slots are not
    // owned. A write repaints the cell.
    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString& s);
    void* Objects(int ACol, int ARow) const;
    void SetObjects(int ACol, int ARow, void* obj);

    // ----- in-place editor -----
    bool EditorMode() const { return m_editorMode; }
    // true shows the editor (when CanEditShow agrees), false hides it.
    void SetEditorMode(bool on);
    void ShowEditor();
    // Shows the editor and types the character into it, replacing its text.
    void ShowEditorChar(char16_t ch);
    // Commits the editor's text through SetEditText, then hides it.
    void HideEditor();
    // Re-places a shown editor over the current cell, or hides it while the cell is out of view.
    void UpdateEditor();
    // null before the editor is first needed.
    TInplaceEdit* InplaceEditor() const { return m_editor; }

    // The painter of the paint pass in progress (DrawCell paints with it); null outside one.
    QPainter* Canvas() const { return m_canvas; }
    // The draw state Paint hands to DrawCell for a cell.
    TGridDrawState drawStateOf(int ACol, int ARow) const;

    // Repaint requests.
    virtual void Invalidate();
    void InvalidateCell(int ACol, int ARow);
    void InvalidateGridRect(const TGridRect& r);

    // Posts a GridEditDoneEvent for the cell to this grid.
    void PostGridEditDone(int ACol, int ARow);

    // ----- hooks: base behaviour, overridden by derived grids -----
    virtual void Paint(QPainter& painter, const QRect& updateRect);
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    virtual bool SelectCell(int ACol, int ARow);
    virtual bool CanEditShow();
    virtual bool CanEditModify() { return true; }
    virtual bool CanEditAcceptKey(char16_t) { return true; }
    virtual TInplaceEdit* CreateEditor();
    virtual QString GetEditText(int ACol, int ARow);
    virtual void SetEditText(int ACol, int ARow, const QString& Value);
    virtual QString GetEditMask(int, int) { return {}; }
    // 0: no limit.
    virtual int GetEditLimit() { return 0; }
    virtual void TopLeftChanged();
    virtual void SizeChanged(int OldColCount, int OldRowCount);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos,
                                 int& SizingOfs);
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyPress(char16_t& Key);
    virtual void KeyUp(int& Key, TShiftState Shift);
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Click();
    virtual void DblClick();
    virtual bool DoMouseWheelDown(TShiftState Shift, QPoint MousePos);
    virtual bool DoMouseWheelUp(TShiftState Shift, QPoint MousePos);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    // Runs after the owner has set the grid's properties (no form streaming here).
    virtual void Loaded() {}

    // ----- message layer: one Qt event becomes one of these; a derived grid overrides one and
    // calls the base version as its inherited processing. -----
    virtual void WMKeyDown(int Key, TShiftState Shift);
    virtual void WMChar(char16_t Ch, int KeyData);
    virtual void WMKeyUp(int Key, TShiftState Shift);
    // Whether the grid takes Tab itself (goTabs) instead of moving the focus on.
    virtual bool WantsTab() const { return m_options.testFlag(goTabs); }
    virtual void WMLButtonDown(TShiftState Shift, int X, int Y);
    virtual void WMLButtonUp(TShiftState Shift, int X, int Y);
    virtual void WMLButtonDblClk(TShiftState Shift, int X, int Y);
    virtual void WMRButtonDown(TShiftState Shift, int X, int Y);
    virtual void WMRButtonUp(TShiftState Shift, int X, int Y);
    virtual void WMMouseMove(TShiftState Shift, int X, int Y);
    virtual void WMMouseWheel(TShiftState Shift, int Notches, QPoint MousePos);
    // Timer 1: the auto-scroll while a range is dragged beyond the client area.
    virtual void WMTimer(int TimerId);
    virtual void WMVScroll(int Code, int Pos);
    virtual void WMHScroll(int Code, int Pos);
    virtual void WMSetFocus();
    // True while the grid takes the focus back from its editor as that closes.
    bool TakingFocusBack() const { return m_takingFocusBack; }
    // True once the focus is within the grid (itself or its editor) as far as enter and exit go.
    bool FocusInside() const { return m_focusInside; }
    virtual void WMKillFocus();
    // Ends selecting or sizing: state gsNormal, timer 1 stopped.
    virtual void WMCancelMode();
    // Sees every event of the grid before its dispatch; true consumes it. The base consumes
    // the GridEditDone event and does nothing else with it.
    virtual bool WndProc(QEvent* e);

    // Interval of timer 1 in milliseconds.
    static constexpr int kScrollTimerMs = 60;
    // The id WMTimer receives for timer 1; a derived grid's own timers use other ids.
    static constexpr int kScrollTimerId = 1;

protected:
    bool event(QEvent* e) override;
    bool viewportEvent(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void scrollContentsBy(int, int) override {}
    void changeEvent(QEvent* e) override;

    // A bar the derived grid keeps shown even when everything fits (it is then disabled).
    virtual bool keepsScrollBar(Qt::Orientation) const { return false; }
    // Shows, hides, enables and places the scroll bars for the current layout.
    void refreshScrollBars() { updateScrollBars(); }

    // The sizing drag in progress (for painting its line).
    int sizingPos() const { return m_sizingPos; }
    int sizingIndex() const { return m_sizingIndex; }

private:
    friend class TInplaceEdit;

    void paintViewport(const QRect& updateRect);
    void hideEditorWidget();
    void fireTopLeftChanged();
    void scrollTo(int leftCol, int topRow);
    void updateScrollBars();
    void barAction(Qt::Orientation o, int action);
    void barReleased(Qt::Orientation o);
    void focusChangedInApp(QWidget* old, QWidget* now);
    void extendSelectionTo(int x, int y);
    void applyKeyMove(int key, TShiftState shift);
    void clampCurrentAfterShrink(int oldColCount, int oldRowCount);
    static quint64 cellKey(int col, int row);

    FrameworkGridGeometry m_geo;
    FrameworkGridCursor m_cursor;
    TGridOptions m_options = kDefaultGridOptions;
    TGridState m_gridState = gsNormal;
    TScrollStyle m_scrollBars = ssBoth;
    bool m_defaultDrawing = true;
    TColor m_color = clWindow;
    TColor m_fixedColor = clBtnFace;

    QHash<quint64, QString> m_cells;
    QHash<quint64, void*> m_objects;

    TInplaceEdit* m_editor = nullptr;
    bool m_editorMode = false;
    bool m_takingFocusBack = false;

    // Mouse: the press that started a selection or sizing drag.
    QBasicTimer m_scrollTimer;
    QPoint m_lastMouse;
    int m_pressX = 0;
    int m_pressY = 0;
    bool m_pressOnCurrent = false;
    bool m_dragged = false;
    int m_wheelRest = 0;
    int m_sizingIndex = -1;
    int m_sizingPos = 0;
    int m_sizingOfs = 0;
    int m_sizingOldSize = 0;

    QPainter* m_canvas = nullptr;
    bool m_focusInside = false;
    bool m_updatingBars = false;
    QMetaObject::Connection m_focusConnection;
};

}  // namespace zfw
