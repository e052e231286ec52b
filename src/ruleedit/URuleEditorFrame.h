#pragma once
// The frame every rule editor is built on: one rule grid, or two and more on tab pages, over
// the window-free rule tables of ruleedit/core. Each opening loads the editor's file into the
// tables and shows them in the grids; OK takes the grids' texts back into the tables, checks
// them, and writes the whole file. The row tools and grid events work on the grid of the
// active tab. An editor gives its names, its tables and what it prepares at each opening.
//
// The window exists from start-up and follows the language, but its title band, grids and
// buttons are made at its first showing, with the language of that moment: forty windows
// made whole at start-up would cost more than the whole program's start.
//
// The window and its buttons are in URuleEditorFrame.cpp, the grids' set-up, events and row
// tools in URuleEditorGrids.cpp.

#include "grid/GridSettingsEnums.h"
#include "platform/Form.h"
#include "ruleedit/URuleEditorContext.h"
#include "ruleedit/core/URuleRowTools.h"
#include "ruleedit/core/URuleTable.h"

#include <QRect>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QLabel;
class QTabWidget;

namespace zfw {

class TExtColumnGrid;
class TExtStringGrid;
class TLbButton;

// The grid a rule table is shown in.
using TRuleGrid = TExtColumnGrid;

// Which of the frame's grid events a grid takes.
struct RuleGridEvents {
    bool enterJump = true;  // Enter moves to the next cell when the option is on
    bool rowSelect = true;  // a click on the row number selects the row
    // A double click on the header fits the column when the option is on.
    bool autoSizeOnDoubleClick = true;
};

// A button of the editor's own in the button band, after the row tools.
struct RuleEditorButton {
    const char* name = "";
    int captionText = 0;
    int hintText = 0;
    // A caption no language changes; null or empty: captionText.
    const char* fixedCaption = nullptr;
};

enum class RuleRowTool { Delete, Insert, Copy, Paste };

// Object names of an editor window and its parts, its client size and what its window has.
struct RuleEditorNames {
    const char* form = "";
    const char* pageControl = "";    // used with two tables and more
    std::vector<const char*> tabs;   // one per tab page, with two tables and more
    std::vector<const char*> grids;  // one per table
    // Per grid: the tab page it stands on; the grids of one page stand one above the other with
    // a splitter between. Empty: a page per grid.
    std::vector<int> gridTabs;
    // Per tab page: a caption no language changes; null, empty or missing takes the language
    // text of the page's first table.
    std::vector<const char*> fixedTabCaptions;
    // Per grid: true makes it a string grid (ESG_) whose check-box columns, Enable included,
    // hold real check boxes; its columns are text or check-box columns. A grid without an
    // entry is a column grid (ACG_).
    std::vector<bool> stringGrids;
    int clientWidth = 900;
    int clientHeight = 600;
    std::vector<RuleGridEvents> gridEvents;  // per grid; a grid without an entry takes all
    // The row tools the window has: Delete, Insert, Copy, Paste.
    std::array<bool, 4> rowTools = {true, true, true, true};
    std::vector<RuleEditorButton> extraButtons;
    // Language texts of the six buttons (OK, Cancel, Delete, Insert, Copy, Paste Row) when
    // they are not the layout's consecutive numbers; 0 keeps that button's number.
    std::array<int, 6> buttonCaptions = {};
    std::array<int, 6> buttonHints = {};
    // Captions of the six buttons that no language changes; null or empty takes the language's.
    std::array<const char*, 6> fixedCaptions = {};
    int focusGrid = -1;  // the grid that has the focus at opening; -1 none
    // The grids ask the editor for each cell's editor (editorType).
    bool editorTypeHook = false;
    // The file has a format of the editor's own: the editor reads it into the tables
    // (readOwnFile), says what saving over it would lose (ownSaveWarnings) and writes it
    // (writeOwnFile); the frame never reads or writes it.
    bool ownFile = false;
};

// Where a window of the given size opens on a screen whose available area is given: centred
// within it, and no larger than it (the grids scroll).
QRect placeWithin(QSize wanted, const QRect& available);

class TRuleEditorFrame : public TForm {
    Q_OBJECT
public:
    ~TRuleEditorFrame() override;

    // ---- handlers ----
    // Runs each time the program shows the window (not when the window system re-exposes it).
    void FormShow();
    void Btn_OKClick();
    void Btn_DelRowClick();
    void Btn_InsRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void ClickCell(QObject* Sender, int ARow, int ACol);
    void DblClickCell(QObject* Sender, int ARow, int ACol);
    void KeyPress(QObject* Sender, char16_t& Key);
    void GridHint(QObject* Sender, int ARow, int ACol, QString& hintstr);

    // Takes the grids' texts into the tables and checks every enabled rule; at the first
    // fault shows its message and returns false.
    bool Controllo_dati();
    // Before the first showing only the caption follows; the rest takes the language when
    // the window is made.
    void Set_Lang() override;

    // ---- parts (null until the first showing) ----
    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QWidget* P_Button = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;
    TLbButton* Btn_DelRow = nullptr;
    TLbButton* Btn_InsRow = nullptr;
    TLbButton* Btn_CopyRow = nullptr;
    TLbButton* Btn_PasteRow = nullptr;

    // Makes the controls before the first showing, and places the window on the screen.
    void setVisible(bool visible) override;

    // True once the controls are made (at the first showing, or by ensureBuilt).
    bool isBuilt() const { return P_Title != nullptr; }
    // Makes the controls now when they are not yet.
    void ensureBuilt();

    const RuleEditorContext& context() const { return m_ctx; }
    int tableCount() const { return int(m_layout.tables.size()); }
    // The column grid of the table; null for a string grid or outside.
    TRuleGrid* grid(int table) const;
    // The table's grid of either kind; null outside.
    TExtStringGrid* gridOf(int table) const;
    // Null with one table.
    QTabWidget* pageControl() const { return m_pages; }
    // An extra button by its name; null when the window has none of that name.
    TLbButton* extraButton(const char* name) const;
    // The table of the active tab (0 with one table).
    int activeTable() const;
    void setActiveTable(int table);
    // Hint list of a grid: entry i is the hint of real column i + 1.
    const QStringList& hintList(int table) const;
    // The grid's copy flag: true while the shared buffer holds a row copied from it during
    // this opening.
    bool copyFlag(int table) const;
    // The tables of the last opening, as the grids held them at the last OK or check.
    const RuleFile* ruleFile() const;
    // The layout of the last opening (the texts' layout before the first).
    const RuleFileSpec& layout() const { return m_layout; }

protected:
    TRuleEditorFrame(const RuleEditorContext& context, RuleEditorNames names,
                     RuleFileSpec textLayout, QWidget* parent);

    // The editor's own preparation at each opening, before its file is read: the tables of
    // this opening (limits, row counts, hidden columns, lists). May tell the user something.
    virtual RuleFileSpec prepareOpening() = 0;
    // The editor's project file.
    virtual QString filePath() const = 0;
    // Once the controls are made: the editor takes its names for them.
    virtual void built() {}
    // After the file was shown in the grids at each opening.
    virtual void opened() {}

    // Grid hooks the editor may take; ACol is the real column.
    virtual void editorType(int table, int ACol, int ARow, TEditorType& AEditor) {}
    virtual void comboChange(int table, int ACol, int ARow, int AItemIndex,
                             const QString& ASelection)
    {
    }
    virtual void editCellDone(int table, int ACol, int ARow) {}
    virtual void checkBoxClick(int table, int ACol, int ARow, bool State) {}
    // A double click on a data cell; true when the editor took it (a picker, a sub-window).
    virtual bool cellDoubleClick(int table, int ACol, int ARow) { return false; }
    // The hint of a data cell (row 1 and on, column 1 and on); hint arrives empty.
    virtual void cellHint(int table, int ACol, int ARow, QString& hint) {}
    // A click on one of the editor's own buttons (index into RuleEditorNames::extraButtons).
    virtual void extraButtonClick(int index) {}
    // A click on any cell, the fixed ones included, after the frame's own handling.
    virtual void cellClick(int table, int ACol, int ARow) {}
    // Once the grids are made (the page control with two tables and more, else the grid): the
    // widget that fills the window between the title band and the button band. An editor with
    // controls of its own beside or above the grids places the grids among them. Made once,
    // with the controls; the window owns it.
    virtual QWidget* arrangeBody(QWidget* grids) { return grids; }
    // RuleEditorNames::ownFile: reads the editor's file into the cleared tables of this opening
    // (growing tables as the file needs), once the grids are set up and before they show the
    // tables; returns one message per fault, empty when clean. An editor whose file holds
    // records that each hold tables fills the tables with the record it shows.
    virtual QStringList readOwnFile(RuleFile& tables) { return {}; }
    // RuleEditorNames::ownFile: what saving over the file would lose, asked before OK writes
    // it together with the tables' own warnings; empty: nothing.
    virtual QStringList ownSaveWarnings() const { return {}; }
    // RuleEditorNames::ownFile: writes the file on OK, once the check passed, from the tables
    // as the grids held them (tablesTaken ran).
    virtual FileResult writeOwnFile(const RuleFile& tables)
    {
        return FileResult::failure(QStringLiteral("no writer"));
    }
    // After takeTables and after a row tool changed a table: an editor whose tables show one of
    // its records takes them back into it here.
    virtual void tablesTaken() {}

    // Messages of the window.
    QString text(int n) const;
    IUserDialogs& dialogs() const { return *m_ctx.dialogs; }
    // The tables of this opening as the window-free model holds them (call after the first
    // opening); editors that change cells from their hooks write the grids.
    RuleEditorModel* model() { return m_model ? &*m_model : nullptr; }

    void showEvent(QShowEvent* event) override;

    // For the editor's own actions; each does nothing before the first opening.
    // The grid shows the table as the model holds it (rows, texts, boxes, read-only cells).
    void showTable(int table);
    void showTables();
    // The model takes the grid's texts and boxes; a cell still being edited is closed and
    // counts as typed. No tablesTaken.
    void takeTable(int table);
    // Every grid into its table, then tablesTaken.
    void takeTables();

private:
    void build();
    void placeOnScreen();
    void buildTitle();
    void buildButtons();
    void applyTexts();
    // Every caption of the window, buttons, tabs and column headers: the fixed one when there
    // is one (no language changes it), else language text n.
    QString caption(const QString& fixed, int n) const;
    // Grid side (URuleEditorGrids.cpp).
    QWidget* buildGrids();
    void setupGrids();
    void applyGridTexts();
    void wireGrid(int table, TExtStringGrid* g);
    bool isStringGrid(int table) const;
    void setupGrid(int table, const RuleTableSpec& layout);
    void applyHeaders(int table);
    int tabOf(int table) const;
    int tableOf(QObject* sender) const;
    int currentRow(int table) const;
    RuleGridEvents eventsOf(int table) const;

    RuleEditorContext m_ctx;
    RuleEditorNames m_names;
    RuleFileSpec m_layout;
    QTabWidget* m_pages = nullptr;
    std::vector<TExtStringGrid*> m_grids;
    std::vector<TLbButton*> m_extra;
    std::vector<QStringList> m_hints;
    std::optional<RuleEditorModel> m_model;
};

}  // namespace zfw
