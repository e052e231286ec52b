// The frame's grids: what they show, the row tools and the grid events.

#include "config/URuleEditorFrame.h"

#include "common/UComon.h"
#include "config/UGridRows.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"

#include <QFontMetrics>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zfw {

namespace {

constexpr int kRowHeight = 20;
constexpr int kNumberColumnWidth = 42;
constexpr int kMinColumnWidth = 56;

constexpr int kTextColumnWidth = 70;
constexpr int kLastColumnWidth = 160;
constexpr int kMaxListColumnWidth = 200;

IUserDialogs& dialogs() { return *services().dialogs; }

// Wide enough for the header in the header font, a list column for its longest item (up to
// a limit), the last column (the rule's name) for a short text.
int columnWidth(const TRuleGrid& g, const RuleTableSpec& layout, int c, const QString& header)
{
    if (c == 0)
        return kNumberColumnWidth;
    const RuleColumn& column = layout.columns[c];
    int width = QFontMetrics(g.FixedFont).horizontalAdvance(header) + 14;
    switch (column.kind) {
    case RuleColumnKind::CheckBox:
        width = qMax(width, kMinColumnWidth);
        break;
    case RuleColumnKind::Combo: {
        const QFontMetrics fm(g.font());
        int items = 0;
        for (const QString& item : column.items)
            items = qMax(items, fm.horizontalAdvance(item));
        width = qMax(width, qMin(items + 24, kMaxListColumnWidth));
        break;
    }
    default:
        width = qMax(width, c == layout.columnCount() - 1 ? kLastColumnWidth : kTextColumnWidth);
        break;
    }
    return width;
}

}  // namespace

QWidget* TRuleEditorFrame::buildGrids(const RuleEditorNames& names)
{
    const int tables = int(qMin<qsizetype>(m_layout.tables.size(), 2));
    Q_ASSERT(tables >= 1);
    if (tables > 1) {
        m_pages = new QTabWidget(this);
        m_pages->setObjectName(QLatin1String(names.pageControl));
        m_pages->setDocumentMode(true);
    }
    for (int t = 0; t < tables; ++t) {
        QWidget* owner = this;
        QWidget* tab = nullptr;
        if (m_pages) {
            tab = new QWidget(m_pages);
            tab->setObjectName(QLatin1String(names.tabs[t]));
            owner = tab;
        }
        auto* g = new TRuleGrid(owner);
        g->setObjectName(QLatin1String(names.grids[t]));
        if (tab) {
            auto* box = new QVBoxLayout(tab);
            box->setContentsMargins(2, 2, 2, 2);
            box->addWidget(g);
            m_pages->addTab(tab, QString());
        }
        wireGrid(g);
        m_grids.push_back(g);
        m_hints.emplace_back();
    }
    if (m_pages)
        return m_pages;
    return m_grids.front();
}

void TRuleEditorFrame::setupGrids()
{
    for (int t = 0; t < tableCount(); ++t) {
        setupGrid(t, m_layout.tables[t]);
        m_grids[std::size_t(t)]->Loaded();
    }
    m_copied.assign(m_grids.size(), false);
}

void TRuleEditorFrame::wireGrid(TRuleGrid* g)
{
    g->OnClickCell = [this](QObject* s, int r, int c) { ClickCell(s, r, c); };
    g->OnDblClickCell = [this](QObject* s, int r, int c) { DblClickCell(s, r, c); };
    g->OnKeyPress = [this](QObject* s, char16_t& key) { KeyPress(s, key); };
    g->OnGridHint = [this](QObject* s, int r, int c, QString& hint) { GridHint(s, r, c, hint); };
}

// Column count, rows, check-box columns and hidden columns of a table.
void TRuleEditorFrame::setupGrid(int table, const RuleTableSpec& layout)
{
    TRuleGrid* g = m_grids[std::size_t(table)];
    g->BeginUpdate();
    for (int c = 0; c < g->store().AllColCount(); ++c)
        if (g->IsHiddenColumn(c))
            g->UnHideColumn(c);
    g->SetColCount(layout.columnCount());
    g->SetRowCount(layout.rowCount);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->SetDefaultRowHeight(kRowHeight);
    // A long text stays on its line (cut at the cell's edge), as in a one-line edit.
    g->store().SetWordWrap(false);
    g->SetOptions(g->Options() | goColSizing | goEditing);
    for (int c = 0; c < layout.columnCount(); ++c) {
        TGridColumnItem* item = g->Columns().GetItem(c);
        const RuleColumn& column = layout.columns[c];
        switch (column.kind) {
        case RuleColumnKind::Number:
            item->SetEditor(TEditorType::edNone);
            break;
        case RuleColumnKind::CheckBox:
            item->SetEditor(TEditorType::edDataCheckBox);
            break;
        case RuleColumnKind::Combo:
            item->SetEditor(TEditorType::edComboList);
            item->SetComboItems(column.items);
            break;
        case RuleColumnKind::Text:
            item->SetEditor(TEditorType::edNormal);
            break;
        }
    }
    for (int c = layout.columnCount() - 1; c >= 1; --c)
        if (layout.columns[c].hidden)
            g->HideColumn(c);
    g->EndUpdate();
}

void TRuleEditorFrame::applyHeaders(int table)
{
    TRuleGrid* g = m_grids[std::size_t(table)];
    const RuleTableSpec& layout = m_layout.tables[table];
    const ProgramState& s = programState();
    g->BeginUpdate();
    for (int c = 0; c < layout.columnCount(); ++c) {
        const QString header = s.lang(layout.columns[c].headerText);
        TGridColumnItem* item = g->Columns().GetItem(c);
        item->SetHeader(header);
        item->SetWidth(columnWidth(*g, layout, c, header));
    }
    g->EndUpdate();
}

TRuleGrid* TRuleEditorFrame::grid(int table) const
{
    return table >= 0 && table < tableCount() ? m_grids[std::size_t(table)] : nullptr;
}

int TRuleEditorFrame::activeTable() const
{
    return m_pages ? qMax(0, m_pages->currentIndex()) : 0;
}

void TRuleEditorFrame::setActiveTable(int table)
{
    if (m_pages)
        m_pages->setCurrentIndex(table);
}

const QStringList& TRuleEditorFrame::hintList(int table) const
{
    return m_hints[std::size_t(table)];
}

bool TRuleEditorFrame::copyFlag(int table) const
{
    return table >= 0 && table < tableCount() && m_copied[std::size_t(table)];
}

const RuleFile* TRuleEditorFrame::ruleFile() const
{
    return m_model ? &m_model->file() : nullptr;
}

int TRuleEditorFrame::tableOf(QObject* sender) const
{
    for (int t = 0; t < tableCount(); ++t)
        if (m_grids[std::size_t(t)] == sender)
            return t;
    return -1;
}

int TRuleEditorFrame::currentRow(int table) const
{
    const TRuleGrid* g = grid(table);
    return g ? g->Row() : 0;
}

// ---- opening, checking, writing ---------------------------------------------------------------

void TRuleEditorFrame::FormShow()
{
    const ProgramState& s = programState();
    m_layout = prepareOpening();
    m_model.emplace(filePath(), programState().Copy_Row_Buffer);
    const RuleLoadReport report = m_model->open(m_layout);
    for (int t = 0; t < tableCount(); ++t) {
        setupGrid(t, m_layout.tables[t]);
        applyHeaders(t);
    }
    showTables();
    setActiveTable(0);
    for (TRuleGrid* g : m_grids)
        g->MoveCurrentCell(1, 1, true, true);
    m_copied.assign(m_grids.size(), false);
    // What the file held that the tables do not show, or could not be read, is said now,
    // before anything can be saved over it.
    const QStringList messages = ruleLoadMessages(report, m_layout, s);
    if (!messages.isEmpty())
        dialogs().showWarning(messages.join(QLatin1Char('\n')), this);
}

void TRuleEditorFrame::showTables()
{
    const RuleFile& file = m_model->file();
    for (int t = 0; t < tableCount(); ++t) {
        TRuleGrid* g = m_grids[std::size_t(t)];
        const RuleTable& table = file.tables[std::size_t(t)];
        g->BeginUpdate();
        for (int r = 1; r < table.rowCount(); ++r)
            for (int c = 0; c < table.columnCount(); ++c)
                g->SetCellEx(c, r, table.cell(c, r));
        g->EndUpdate();
    }
}

void TRuleEditorFrame::takeTables()
{
    RuleFile& file = m_model->file();
    for (int t = 0; t < tableCount(); ++t) {
        const TRuleGrid* g = m_grids[std::size_t(t)];
        RuleTable& table = file.tables[std::size_t(t)];
        for (int r = 1; r < table.rowCount(); ++r)
            for (int c = 1; c < table.columnCount(); ++c)
                table.setCell(c, r, g->GetCellEx(c, r));
    }
}

bool TRuleEditorFrame::Controllo_dati()
{
    if (!m_model)
        return false;
    takeTables();
    const RuleFault fault = m_model->check();
    if (fault.ok())
        return true;
    dialogs().showError(ruleFaultMessage(fault, m_layout, programState()), this);
    return false;
}

void TRuleEditorFrame::Btn_OKClick()
{
    if (!Controllo_dati())
        return;
    const ProgramState& s = programState();
    // Mended: a file that could not be read, rules the tables could not show and rows after
    // a blank key cell were all overwritten or dropped by OK without a word. The user now
    // sees what saving would lose and decides.
    const QStringList warnings = m_model->saveWarnings(s);
    if (!warnings.isEmpty()
        && !dialogs().askYesNo(warnings.join(QLatin1Char('\n')) + QLatin1Char('\n')
                                   + s.lang(kTextSaveAnyway),
                               this))
        return;
    // A failed save leaves the window open with every edit in it.
    const FileResult saved = m_model->save();
    if (!saved.ok) {
        dialogs().showError(saved.message, this);
        return;
    }
    done(mrOk);
}

// ---- row tools ---------------------------------------------------------------------------------

void TRuleEditorFrame::Btn_DelRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (!m_model || r < 1)
        return;
    if (dialogs().askYesNo(m_model->deleteQuestion(r, programState()), this))
        Delete_Row_Grid(r, *grid(t));
}

void TRuleEditorFrame::Btn_InsRowClick()
{
    const int t = activeTable();
    TRuleGrid* g = grid(t);
    const int r = currentRow(t);
    if (!g || r < 1)
        return;
    // Mended: inserting on a full table pushed the rule of the last row out without a word.
    // The user is asked first when that row holds a rule.
    if (gridRowInUse(*g, g->RowCount() - 1)
        && !dialogs().askYesNo(programState().lang(kTextInsertLosesRow), this))
        return;
    Insert_Row_Grid(r, *g, true);
}

void TRuleEditorFrame::Btn_CopyRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (r < 1)
        return;
    Copy_Row_Grid(*grid(t), r, programState().Copy_Row_Buffer);
    // Only this grid may paste what was copied: the other grid has other columns.
    m_copied.assign(m_grids.size(), false);
    m_copied[std::size_t(t)] = true;
}

void TRuleEditorFrame::Btn_PasteRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (r < 1)
        return;
    const ProgramState& s = programState();
    const PasteResult result =
        Paste_Row_Grid(*grid(t), r, m_copied[std::size_t(t)], s.Copy_Row_Buffer,
                       [this, &s](int text) { return dialogs().askYesNo(s.lang(text), this); });
    if (result.errorText)
        dialogs().showError(s.lang(result.errorText), this);
}

// ---- grid events -------------------------------------------------------------------------------

void TRuleEditorFrame::ClickCell(QObject* Sender, int ARow, int ACol)
{
    const int t = tableOf(Sender);
    if (t >= 0 && ACol == 0 && ARow > 0)
        grid(t)->SelectRows(ARow, 1);
}

void TRuleEditorFrame::DblClickCell(QObject* Sender, int ARow, int ACol)
{
    const int t = tableOf(Sender);
    if (t >= 0)
        Grid_Auto_Size_Col(*grid(t), ARow, ACol, programState().Opt_Double_Click_Auto_Size);
}

void TRuleEditorFrame::KeyPress(QObject* Sender, char16_t& Key)
{
    const int t = tableOf(Sender);
    if (t >= 0)
        Grid_Jump_Next_Cell(*grid(t), Key, programState().Opt_Jump_Field_Tables);
}

void TRuleEditorFrame::GridHint(QObject* Sender, int ARow, int ACol, QString& hintstr)
{
    hintstr.clear();
    const int t = tableOf(Sender);
    if (t < 0 || ARow != 0 || ACol <= 0 || !m_layout.tables[t].showHints)
        return;
    const QStringList& hints = m_hints[std::size_t(t)];
    const int entry = grid(t)->RealColIndex(ACol) - 1;
    if (entry >= 0 && entry < hints.size())
        hintstr = hints[entry];
}

// ---- language ----------------------------------------------------------------------------------

void TRuleEditorFrame::applyGridTexts()
{
    const ProgramState& s = programState();
    for (int t = 0; t < tableCount(); ++t) {
        const RuleTableSpec& layout = m_layout.tables[t];
        if (m_pages)
            m_pages->setTabText(t, s.lang(layout.tabText));
        applyHeaders(t);
        QStringList& hints = m_hints[std::size_t(t)];
        hints.clear();
        for (int c = 1; c < layout.columnCount(); ++c)
            hints.append(s.lang(layout.columns[c].hintText));
    }
}

}  // namespace zfw
