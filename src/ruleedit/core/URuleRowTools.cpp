#include "ruleedit/core/URuleRowTools.h"

#include "common/UComon.h"

namespace zfw {

void Delete_Row_Grid(int r, RuleTable& grid)
{
    if (r < 1 || r >= grid.rowCount())
        return;
    grid.moveRowsUp(r);
    const int last = grid.rowCount() - 1;
    if (grid.spec().lockEmptiedRow)
        grid.setRowReadOnly(last, true);
    if (grid.spec().enableEmptiedRow && grid.spec().enableColumn >= 0)
        grid.setCell(grid.spec().enableColumn, last, QStringLiteral("Y"));
}

void Insert_Row_Grid(int r, RuleTable& grid, bool enable)
{
    if (r < 1 || r >= grid.rowCount())
        return;
    grid.moveRowsDown(r);
    if (enable && grid.spec().enableColumn >= 0)
        grid.setCell(grid.spec().enableColumn, r, QStringLiteral("Y"));
}

void Copy_Row_Grid(const RuleTable& grid, int r, QStringList& Copy_Row_Buffer)
{
    Copy_Row_Buffer.clear();
    for (int c = 1; c < grid.columnCount(); ++c)
        Copy_Row_Buffer.append(grid.cell(c, r));
}

PasteResult Paste_Row_Grid(RuleTable& grid, int r, bool copied, const QStringList& Copy_Row_Buffer,
                           const RuleConfirm& confirm)
{
    if (!copied)
        return {false, kTextPasteNoCopy};
    if (Copy_Row_Buffer.size() != grid.columnCount() - 1)
        return {false, kTextPasteWrongRow};
    if (r < 1 || r >= grid.rowCount())
        return {};
    if (grid.rowInUse(r) && !(confirm && confirm(kTextPasteOverwrite)))
        return {};
    for (int c = 1; c < grid.columnCount(); ++c)
        grid.setCell(c, r, Copy_Row_Buffer[c - 1]);
    return {true, 0};
}

std::optional<GridCell> nextCellOnEnter(GridCell current, int colCount, int rowCount)
{
    if (current.col <= 0 || current.row <= 0)
        return std::nullopt;
    if (current.col < colCount - 1)
        return GridCell{current.col + 1, current.row};
    return GridCell{1, current.row < rowCount - 1 ? current.row + 1 : 1};
}

RuleEditorModel::RuleEditorModel(QString path, QStringList& copyRowBuffer)
    : m_path(std::move(path)), m_buffer(copyRowBuffer)
{
}

RuleLoadReport RuleEditorModel::open(const RuleFileSpec& spec)
{
    m_file.emplace(spec);
    m_report = loadRuleFile(*m_file, m_path);
    m_copied.assign(m_file->tables.size(), false);
    return m_report;
}

void RuleEditorModel::openEmpty(const RuleFileSpec& spec)
{
    m_file.emplace(spec);
    m_report = RuleLoadReport();
    m_copied.assign(m_file->tables.size(), false);
}

QStringList RuleEditorModel::saveWarnings(const ProgramState& lang) const
{
    QStringList out;
    if (!m_file)
        return out;
    if (m_report.askBeforeOverwrite())
        out = ruleLoadMessages(m_report, m_file->spec, lang);
    for (const RuleTable& t : m_file->tables) {
        const int below = t.rowsBelowRuleList();
        if (below <= 0)
            continue;
        QString line = lang.lang(kTextRowsBelowRuleList) + QString::number(below);
        // A table without a language text for its tab (a caption no language changes) is not
        // named: the language's text 0 would stand there.
        if (t.spec().tabText != 0)
            line += " (" + lang.lang(t.spec().tabText) + ")";
        out.append(line);
    }
    return out;
}

QString RuleEditorModel::deleteQuestion(int row, const ProgramState& lang) const
{
    const QString text = lang.lang(m_file ? m_file->spec.deleteRowText : 0);
    // Most questions end with the number; one that holds "%d" takes it there instead.
    const qsizetype at = text.indexOf(QLatin1String("%d"));
    if (at >= 0)
        return QString(text).replace(at, 2, QString::number(row));
    return text + QString::number(row);
}

RuleTable* RuleEditorModel::table(int t)
{
    if (!m_file || t < 0 || std::size_t(t) >= m_file->tables.size())
        return nullptr;
    return &m_file->tables[std::size_t(t)];
}

void RuleEditorModel::deleteRow(int t, int row)
{
    if (RuleTable* g = table(t))
        Delete_Row_Grid(row, *g);
}

// Mended: inserting on a full table pushed the rule in the last row out without a word.
// The user is asked first; with a free last row nothing changes.
bool RuleEditorModel::insertRow(int t, int row, const RuleConfirm& confirm)
{
    RuleTable* g = table(t);
    if (!g || row < 1 || row >= g->rowCount())
        return false;
    if (g->rowInUse(g->rowCount() - 1)) {
        // A growing table takes one more row rather than lose its last.
        if (g->spec().grows() && g->rowCount() < g->spec().maxRowCount)
            g->setRowCount(g->rowCount() + 1);
        else if (!(confirm && confirm(kTextInsertLosesRow)))
            return false;
    }
    Insert_Row_Grid(row, *g, true);
    return true;
}

void RuleEditorModel::copyRow(int t, int row)
{
    const RuleTable* g = table(t);
    if (!g)
        return;
    Copy_Row_Grid(*g, row, m_buffer);
    // Only this grid may paste what was copied: the other grid of the window has other
    // columns.
    std::fill(m_copied.begin(), m_copied.end(), false);
    m_copied[std::size_t(t)] = true;
}

PasteResult RuleEditorModel::pasteRow(int t, int row, const RuleConfirm& confirm)
{
    RuleTable* g = table(t);
    if (!g)
        return {};
    return Paste_Row_Grid(*g, row, m_copied[std::size_t(t)], m_buffer, confirm);
}

bool RuleEditorModel::copied(int t) const
{
    return t >= 0 && std::size_t(t) < m_copied.size() && m_copied[std::size_t(t)];
}

}  // namespace zfw
