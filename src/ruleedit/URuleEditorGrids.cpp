// The frame's grids: what they show, the row tools and the grid events.

#include "ruleedit/URuleEditorFrame.h"

#include "common/UComon.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"
#include "ruleedit/UGridRows.h"

#include <QFontMetrics>
#include <QSplitter>
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

// Wide enough for the header in the header font, a list column for its longest item (up to
// a limit), the last column (the rule's name) for a short text.
int columnWidth(const TExtStringGrid& g, const RuleTableSpec& layout, int c, const QString& header)
{
    const RuleColumn& column = layout.columns[c];
    if (column.width > 0)
        return column.width;
    if (c == 0)
        return kNumberColumnWidth;
    int width = QFontMetrics(g.FixedFont).horizontalAdvance(header) + 14;
    switch (column.kind) {
    case RuleColumnKind::CheckBox: width = qMax(width, kMinColumnWidth); break;
    case RuleColumnKind::Combo:
    case RuleColumnKind::ComboEdit: {
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

QWidget* TRuleEditorFrame::buildGrids()
{
    const int tables = tableCount();
    Q_ASSERT(tables >= 1);
    Q_ASSERT(m_names.gridTabs.empty() || int(m_names.gridTabs.size()) == tables);
    const int pages = tables > 1 ? tabOf(tables - 1) + 1 : 0;
    std::vector<QSplitter*> stacks(std::size_t(pages), nullptr);
    if (tables > 1) {
        Q_ASSERT(int(m_names.tabs.size()) == pages);
        m_pages = new QTabWidget(this);
        m_pages->setObjectName(QLatin1String(m_names.pageControl));
        m_pages->setDocumentMode(true);
        for (int p = 0; p < pages; ++p) {
            auto* tab = new QWidget(m_pages);
            tab->setObjectName(QLatin1String(m_names.tabs[std::size_t(p)]));
            auto* box = new QVBoxLayout(tab);
            box->setContentsMargins(2, 2, 2, 2);
            m_pages->addTab(tab, QString());
        }
    }
    for (int t = 0; t < tables; ++t) {
        QWidget* owner = this;
        QWidget* tab = m_pages ? m_pages->widget(tabOf(t)) : nullptr;
        if (tab)
            owner = tab;
        TExtStringGrid* g = isStringGrid(t) ? new TExtStringGrid(owner) : new TRuleGrid(owner);
        g->setObjectName(QLatin1String(m_names.grids[std::size_t(t)]));
        if (tab) {
            const int p = tabOf(t);
            const bool shared = (t > 0 && tabOf(t - 1) == p)
                                || (t + 1 < tables && tabOf(t + 1) == p);
            if (shared) {
                QSplitter*& stack = stacks[std::size_t(p)];
                if (!stack) {
                    stack = new QSplitter(Qt::Vertical, tab);
                    stack->setChildrenCollapsible(false);
                    tab->layout()->addWidget(stack);
                }
                stack->addWidget(g);
            } else {
                tab->layout()->addWidget(g);
            }
        }
        wireGrid(t, g);
        m_grids.push_back(g);
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
}

RuleGridEvents TRuleEditorFrame::eventsOf(int table) const
{
    return table >= 0 && std::size_t(table) < m_names.gridEvents.size()
               ? m_names.gridEvents[std::size_t(table)]
               : RuleGridEvents{};
}

bool TRuleEditorFrame::isStringGrid(int table) const
{
    return table >= 0 && std::size_t(table) < m_names.stringGrids.size()
           && m_names.stringGrids[std::size_t(table)];
}

void TRuleEditorFrame::wireGrid(int table, TExtStringGrid* g)
{
    g->OnClickCell = [this](QObject* s, int r, int c) { ClickCell(s, r, c); };
    g->OnDblClickCell = [this](QObject* s, int r, int c) { DblClickCell(s, r, c); };
    g->OnKeyPress = [this](QObject* s, char16_t& key) { KeyPress(s, key); };
    g->OnGridHint = [this](QObject* s, int r, int c, QString& hint) { GridHint(s, r, c, hint); };
    g->OnComboChange = [this, table](QObject*, int c, int r, int index, const QString& text) {
        comboChange(table, c, r, index, text);
    };
    g->OnEditCellDone = [this, table](QObject*, int c, int r) { editCellDone(table, c, r); };
    // The grid reports a box's display column; the editor names columns by their real one,
    // which differs once a column before the box is hidden.
    g->OnCheckBoxClick = [this, table, g](QObject*, int DCol, int r, bool state) {
        checkBoxClick(table, g->RealColIndex(DCol), r, state);
    };
    if (m_names.editorTypeHook)
        g->OnGetEditorType = [this, table](QObject*, int c, int r, TEditorType& editor) {
            editorType(table, c, r, editor);
        };
}

// Column count, rows, editors, widths, colours and hidden columns of a table.
void TRuleEditorFrame::setupGrid(int table, const RuleTableSpec& layout)
{
    TExtStringGrid* g = m_grids[std::size_t(table)];
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
    if (auto* columns = dynamic_cast<TRuleGrid*>(g)) {
        for (int c = 0; c < layout.columnCount(); ++c) {
            TGridColumnItem* item = columns->Columns().GetItem(c);
            const RuleColumn& column = layout.columns[c];
            switch (column.kind) {
            case RuleColumnKind::Number: item->SetEditor(TEditorType::edNone); break;
            case RuleColumnKind::CheckBox:
                item->SetEditor(TEditorType::edDataCheckBox);
                item->SetAlignment(TAlignment::taCenter);
                break;
            case RuleColumnKind::Combo:
                item->SetEditor(TEditorType::edComboList);
                item->SetComboItems(column.items);
                break;
            case RuleColumnKind::ComboEdit:
                item->SetEditor(TEditorType::edComboEdit);
                item->SetComboItems(column.items);
                break;
            case RuleColumnKind::Text: item->SetEditor(TEditorType::edNormal); break;
            }
            if (column.colour)
                item->SetColor(TColor(*column.colour));
            if (column.centred)
                item->SetAlignment(taCenter);
        }
    }
    // A string grid has no column items: showTable gives its cells the column's colour,
    // centring and real check boxes.
    for (int c = layout.columnCount() - 1; c >= 1; --c)
        if (layout.columns[c].hidden)
            g->HideColumn(c);
    g->EndUpdate();
}

void TRuleEditorFrame::applyHeaders(int table)
{
    TExtStringGrid* g = m_grids[std::size_t(table)];
    auto* columns = dynamic_cast<TRuleGrid*>(g);
    const RuleTableSpec& layout = m_layout.tables[table];
    g->BeginUpdate();
    int DCol = 0;
    for (int c = 0; c < layout.columnCount(); ++c) {
        const QString header = caption(layout.columns[c].fixedHeader, layout.columns[c].headerText);
        if (columns) {
            TGridColumnItem* item = columns->Columns().GetItem(c);
            item->SetHeader(header);
            item->SetWidth(columnWidth(*g, layout, c, header));
            continue;
        }
        g->SetCellEx(c, 0, header);
        if (!layout.columns[c].hidden)
            g->SetColWidths(DCol++, columnWidth(*g, layout, c, header));
    }
    g->EndUpdate();
}

TExtStringGrid* TRuleEditorFrame::gridOf(int table) const
{
    return table >= 0 && std::size_t(table) < m_grids.size() ? m_grids[std::size_t(table)]
                                                             : nullptr;
}

TRuleGrid* TRuleEditorFrame::grid(int table) const
{
    return dynamic_cast<TRuleGrid*>(gridOf(table));
}

int TRuleEditorFrame::tabOf(int table) const
{
    return m_names.gridTabs.empty() ? table : m_names.gridTabs[std::size_t(table)];
}

// The first table of the page that shows.
int TRuleEditorFrame::activeTable() const
{
    if (!m_pages)
        return 0;
    const int page = qMax(0, m_pages->currentIndex());
    for (int t = 0; t < tableCount(); ++t)
        if (tabOf(t) == page)
            return t;
    return 0;
}

void TRuleEditorFrame::setActiveTable(int table)
{
    if (m_pages && table >= 0 && table < tableCount())
        m_pages->setCurrentIndex(tabOf(table));
}

const QStringList& TRuleEditorFrame::hintList(int table) const
{
    return m_hints[std::size_t(table)];
}

bool TRuleEditorFrame::copyFlag(int table) const { return m_model && m_model->copied(table); }

const RuleFile* TRuleEditorFrame::ruleFile() const { return m_model ? &m_model->file() : nullptr; }

int TRuleEditorFrame::tableOf(QObject* sender) const
{
    for (int t = 0; t < int(m_grids.size()); ++t)
        if (m_grids[std::size_t(t)] == sender)
            return t;
    return -1;
}

int TRuleEditorFrame::currentRow(int table) const
{
    const TExtStringGrid* g = gridOf(table);
    return g ? g->Row() : 0;
}

// ---- opening, checking, writing ---------------------------------------------------------------

void TRuleEditorFrame::FormShow()
{
    ensureBuilt();
    const ProgramState& s = *m_ctx.state;
    m_layout = builtRuleSpec(prepareOpening());
    Q_ASSERT(tableCount() == int(m_grids.size()));
    m_model.emplace(filePath(), m_ctx.state->Copy_Row_Buffer);
    m_model->openEmpty(m_layout);
    for (int t = 0; t < tableCount(); ++t) {
        setupGrid(t, m_layout.tables[t]);
        applyHeaders(t);
    }
    // An editor that reads its own file fills the tables once the grids are set up (its
    // reader may show the file's records in controls of its own).
    const QStringList messages = m_names.ownFile
                                     ? readOwnFile(m_model->file())
                                     : ruleLoadMessages(m_model->open(m_layout), m_layout, s);
    showTables();
    setActiveTable(0);
    for (TExtStringGrid* g : m_grids)
        g->MoveCurrentCell(1, 1, true, true);
    if (TExtStringGrid* g = gridOf(m_names.focusGrid))
        g->setFocus();
    opened();
    // What the file held that the tables do not show, or could not be read, is said now,
    // before anything can be saved over it.
    if (!messages.isEmpty())
        dialogs().showWarning(messages.join(QLatin1Char('\n')), this);
}

void TRuleEditorFrame::showTables()
{
    for (int t = 0; t < tableCount(); ++t)
        showTable(t);
}

void TRuleEditorFrame::showTable(int t)
{
    if (!m_model || t < 0 || t >= tableCount())
        return;
    const RuleTable& table = m_model->file().tables[std::size_t(t)];
    TExtStringGrid* g = m_grids[std::size_t(t)];
    const bool boxes = isStringGrid(t);
    // A string grid has no column items: its cells carry the column's look.
    const bool cellLook = !dynamic_cast<TRuleGrid*>(g);
    g->BeginUpdate();
    // A growing table may have more rows than at the last showing.
    if (g->RowCount() != table.rowCount())
        g->SetRowCount(table.rowCount());
    for (int r = 1; r < table.rowCount(); ++r) {
        for (int c = 0; c < table.columnCount(); ++c) {
            const RuleColumn& column = table.spec().columns[c];
            if (c > 0) {
                // Only a change is written: every cell given properties would cost a large
                // table its memory.
                const bool readOnly = column.readOnly || table.readOnly(c, r);
                if (g->GetReadOnly(c, r) != readOnly) {
                    g->SetReadOnly(c, r, readOnly);
                    // The cell's new properties would paint the grid's background over the
                    // column's colour.
                    if (column.colour)
                        g->SetColors(c, r, TColor(*column.colour));
                }
                if (cellLook && column.colour && g->GetColors(c, r) != TColor(*column.colour))
                    g->SetColors(c, r, TColor(*column.colour));
                const bool centred = column.centred || column.kind == RuleColumnKind::CheckBox;
                if (cellLook && centred && g->GetAlignments(c, r) != taCenter)
                    g->SetAlignments(c, r, taCenter);
            }
            if (boxes && c > 0 && column.kind == RuleColumnKind::CheckBox) {
                // The box is on unless the text is exactly "N", as a file's Enable reads.
                const bool on = table.cell(c, r) != QLatin1String("N");
                if (!g->SetCheckBoxState(c, r, on))
                    g->AddCheckBox(c, r, on, false);
                continue;
            }
            g->SetCellEx(c, r, table.cell(c, r));
        }
    }
    g->EndUpdate();
}

void TRuleEditorFrame::takeTables()
{
    if (!m_model)
        return;
    for (int t = 0; t < tableCount(); ++t)
        takeTable(t);
    tablesTaken();
}

void TRuleEditorFrame::takeTable(int t)
{
    if (!m_model || t < 0 || t >= tableCount())
        return;
    TExtStringGrid* g = m_grids[std::size_t(t)];
    // A cell still being edited counts as typed: the text goes into the cell first, whatever
    // control the click that got here went to.
    g->HideInplaceEdit();
    RuleTable& table = m_model->file().tables[std::size_t(t)];
    const bool boxes = isStringGrid(t);
    for (int r = 1; r < table.rowCount(); ++r) {
        for (int c = 1; c < table.columnCount(); ++c) {
            // An editor may lock a string grid's cell as the user types (a length fixed by
            // its type): the table keeps the flag, so that it moves with its row.
            if (boxes && !table.spec().columns[c].readOnly)
                table.setReadOnly(c, r, g->GetReadOnly(c, r));
            bool state = false;
            if (boxes && table.spec().columns[c].kind == RuleColumnKind::CheckBox
                && g->GetCheckBoxState(c, r, state)) {
                table.setCell(c, r, state ? QStringLiteral("Y") : QStringLiteral("N"));
                continue;
            }
            table.setCell(c, r, g->GetCellEx(c, r));
        }
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
    dialogs().showError(ruleFaultMessage(fault, m_layout, *m_ctx.state), this);
    return false;
}

void TRuleEditorFrame::Btn_OKClick()
{
    if (!Controllo_dati())
        return;
    // Mended: a file that could not be read, rules the tables could not show and rows after
    // a blank key cell were all overwritten or dropped by OK without a word. The user now
    // sees what saving would lose and decides; the question's safe answer, No, is its
    // default, so that Enter on it never replaces the file.
    // An editor's own file adds what its reader could not take; the tables, read by nobody
    // but the editor then, add only their rows below the list.
    const QStringList warnings = (m_names.ownFile ? ownSaveWarnings() : QStringList())
                                 + m_model->saveWarnings(*m_ctx.state);
    if (!warnings.isEmpty()
        && !dialogs().askYesNo(warnings.join(QLatin1Char('\n')) + QLatin1Char('\n')
                                   + text(kTextSaveAnyway),
                               this))
        return;
    // A failed save leaves the window open with every edit in it.
    const FileResult saved = m_names.ownFile ? writeOwnFile(m_model->file()) : m_model->save();
    if (!saved.ok) {
        dialogs().showError(saved.message, this);
        return;
    }
    done(mrOk);
}

// ---- row tools ---------------------------------------------------------------------------------
// Each tool works on the window-free table of the active tab, so that the Enable column, a
// growing table and the row objects behave as in the model; the grid shows the result.

void TRuleEditorFrame::Btn_DelRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (!m_model || !m_names.rowTools[0] || r < 1)
        return;
    takeTable(t);
    if (!dialogs().askYesNo(m_model->deleteQuestion(r, *m_ctx.state), this)) {
        tablesTaken();
        return;
    }
    m_model->deleteRow(t, r);
    tablesTaken();
    showTable(t);
}

void TRuleEditorFrame::Btn_InsRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (!m_model || !m_names.rowTools[1] || r < 1)
        return;
    takeTable(t);
    // Mended: inserting on a full table pushed the rule of the last row out without a word.
    // The user is asked first when that row holds a rule.
    const bool inserted = m_model->insertRow(t, r, [this](int n) {
        return dialogs().askYesNo(text(n), this);
    });
    tablesTaken();
    if (inserted)
        showTable(t);
}

void TRuleEditorFrame::Btn_CopyRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (!m_model || !m_names.rowTools[2] || r < 1)
        return;
    takeTable(t);
    tablesTaken();
    // Only this grid may paste what was copied: the other grids have other columns.
    m_model->copyRow(t, r);
}

void TRuleEditorFrame::Btn_PasteRowClick()
{
    const int t = activeTable();
    const int r = currentRow(t);
    if (!m_model || !m_names.rowTools[3] || r < 1)
        return;
    takeTable(t);
    const PasteResult result = m_model->pasteRow(t, r, [this](int n) {
        return dialogs().askYesNo(text(n), this);
    });
    tablesTaken();
    if (result.errorText)
        dialogs().showError(text(result.errorText), this);
    if (result.pasted)
        showTable(t);
}

// ---- grid events -------------------------------------------------------------------------------

void TRuleEditorFrame::ClickCell(QObject* Sender, int ARow, int ACol)
{
    const int t = tableOf(Sender);
    if (t < 0)
        return;
    if (eventsOf(t).rowSelect && ACol == 0 && ARow > 0)
        gridOf(t)->SelectRows(ARow, 1);
    cellClick(t, gridOf(t)->RealColIndex(ACol), ARow);
}

void TRuleEditorFrame::DblClickCell(QObject* Sender, int ARow, int ACol)
{
    const int t = tableOf(Sender);
    if (t < 0)
        return;
    TExtStringGrid* g = gridOf(t);
    if (ARow > 0 && ACol > 0 && cellDoubleClick(t, g->RealColIndex(ACol), ARow))
        return;
    if (eventsOf(t).autoSizeOnDoubleClick)
        Grid_Auto_Size_Col(*g, ARow, ACol, m_ctx.state->Opt_Double_Click_Auto_Size);
}

void TRuleEditorFrame::KeyPress(QObject* Sender, char16_t& Key)
{
    const int t = tableOf(Sender);
    if (t >= 0 && eventsOf(t).enterJump)
        Grid_Jump_Next_Cell(*gridOf(t), Key, m_ctx.state->Opt_Jump_Field_Tables);
}

void TRuleEditorFrame::GridHint(QObject* Sender, int ARow, int ACol, QString& hintstr)
{
    hintstr.clear();
    const int t = tableOf(Sender);
    if (t >= 0 && ARow > 0 && ACol > 0) {
        cellHint(t, gridOf(t)->RealColIndex(ACol), ARow, hintstr);
        return;
    }
    if (t < 0 || ARow != 0 || ACol <= 0 || !m_layout.tables[t].showHints)
        return;
    const QStringList& hints = m_hints[std::size_t(t)];
    const int entry = gridOf(t)->RealColIndex(ACol) - 1;
    if (entry >= 0 && entry < hints.size())
        hintstr = hints[entry];
}

// ---- language ----------------------------------------------------------------------------------

void TRuleEditorFrame::applyGridTexts()
{
    for (int t = 0; t < tableCount(); ++t) {
        const RuleTableSpec& layout = m_layout.tables[t];
        const int page = tabOf(t);
        if (m_pages && (t == 0 || tabOf(t - 1) != page)) {
            const char* fixed = std::size_t(page) < m_names.fixedTabCaptions.size()
                                    ? m_names.fixedTabCaptions[std::size_t(page)]
                                    : nullptr;
            m_pages->setTabText(page, caption(QString::fromUtf8(fixed), layout.tabText));
        }
        applyHeaders(t);
        QStringList& hints = m_hints[std::size_t(t)];
        hints.clear();
        for (int c = 1; c < layout.columnCount(); ++c)
            hints.append(text(layout.columns[c].hintText));
    }
}

}  // namespace zfw
