#pragma once
// The frame every rule editor is built on: one rule grid, or two on tab pages, over the
// window-free rule tables of config/core. Each opening loads the editor's file into the
// tables and shows them in the grids; OK takes the grids' texts back into the tables, checks
// them, and writes the whole file. The row tools and grid events work on the grid of the
// active tab. An editor gives its names, its tables and what it prepares at each opening.
//
// The window and its buttons are in URuleEditorFrame.cpp, the grids' set-up, events and row
// tools in URuleEditorGrids.cpp.

#include "config/core/URuleRowTools.h"
#include "config/core/URuleTable.h"
#include "platform/Form.h"

#include <QStringList>

#include <optional>
#include <vector>

class QLabel;
class QTabWidget;

namespace zfw {

class TExtColumnGrid;
class TLbButton;

// The grid a rule table is shown in.
using TRuleGrid = TExtColumnGrid;

// Object names of an editor window and its parts, and its client size.
struct RuleEditorNames {
    const char* form = "";
    const char* pageControl = "";  // used with two tables
    const char* tabs[2] = {"", ""};
    const char* grids[2] = {"", ""};
    int clientWidth = 900;
    int clientHeight = 600;
};

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
    // fault shows "Error row " + row + text (+ bound) and returns false.
    bool Controllo_dati();
    void Set_Lang() override;

    // ---- parts ----
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

    int tableCount() const { return int(m_grids.size()); }
    TRuleGrid* grid(int table) const;
    // Null with one table.
    QTabWidget* pageControl() const { return m_pages; }
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
    TRuleEditorFrame(const RuleEditorNames& names, RuleFileSpec textLayout, QWidget* parent);

    // The editor's own preparation at each opening, before its file is read: the tables of
    // this opening (limits, row counts, hidden columns, lists). May tell the user something.
    virtual RuleFileSpec prepareOpening() = 0;
    // The editor's project file.
    virtual QString filePath() const = 0;

    void showEvent(QShowEvent* event) override;

private:
    void buildTitle();
    void buildButtons();
    // Grid side (URuleEditorGrids.cpp).
    QWidget* buildGrids(const RuleEditorNames& names);
    void setupGrids();
    void applyGridTexts();
    void wireGrid(TRuleGrid* g);
    void setupGrid(int table, const RuleTableSpec& layout);
    void applyHeaders(int table);
    void showTables();
    void takeTables();
    int tableOf(QObject* sender) const;
    int currentRow(int table) const;

    RuleFileSpec m_layout;
    QTabWidget* m_pages = nullptr;
    std::vector<TRuleGrid*> m_grids;
    std::vector<QStringList> m_hints;
    std::optional<RuleEditorModel> m_model;
    std::vector<bool> m_copied;
};

}  // namespace zfw
