#include "config/core/URuleTable.h"

#include "common/TextUtil.h"

namespace zfw {

int RuleTableSpec::columnOf(const QString& attribute) const
{
    for (int c = 1; c < columns.size(); ++c)
        if (columns[c].attribute == attribute)
            return c;
    return -1;
}

RuleTable::RuleTable(RuleTableSpec spec)
    : m_spec(std::move(spec)),
      m_cells(std::size_t(qMax(0, m_spec.rowCount)) * std::size_t(qMax(0, m_spec.columnCount())))
{
    clear();
}

QString RuleTable::cell(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= columnCount() || ARow < 0 || ARow >= rowCount())
        return {};
    return m_cells[std::size_t(index(ACol, ARow))];
}

void RuleTable::setCell(int ACol, int ARow, const QString& text)
{
    if (ACol < 0 || ACol >= columnCount() || ARow < 0 || ARow >= rowCount())
        return;
    m_cells[std::size_t(index(ACol, ARow))] = text;
}

void RuleTable::clear()
{
    for (int r = 1; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c)
            setCell(c, r, QString());
        setCell(0, r, QString::number(r - 1 + m_spec.firstNumber));
        setCell(m_spec.enableColumn, r, QStringLiteral("Y"));
    }
}

int RuleTable::ruleCount() const
{
    for (int r = 1; r < rowCount(); ++r)
        if (trimBlanks(cell(m_spec.keyColumn, r)).isEmpty())
            return r - 1;
    return qMax(0, rowCount() - 1);
}

bool RuleTable::isYes(int ACol, int ARow) const
{
    const QString text = trimBlanks(cell(ACol, ARow));
    if (m_spec.enableRule == RuleEnableRule::TrimmedAnyCaseY)
        return text == QLatin1String("Y") || text == QLatin1String("y");
    return text == QLatin1String("Y");
}

bool RuleTable::isEnabled(int ARow) const
{
    return isYes(m_spec.enableColumn, ARow);
}

bool RuleTable::rowInUse(int ARow) const
{
    for (int c = 1; c < columnCount(); ++c) {
        if (m_spec.columns[c].kind == RuleColumnKind::CheckBox)
            continue;
        if (!trimBlanks(cell(c, ARow)).isEmpty())
            return true;
    }
    return false;
}

int RuleTable::rowsBelowRuleList() const
{
    int count = 0;
    for (int r = ruleCount() + 1; r < rowCount(); ++r)
        if (rowInUse(r))
            ++count;
    return count;
}

RuleFile::RuleFile(const RuleFileSpec& s) : spec(s)
{
    tables.reserve(std::size_t(spec.tables.size()));
    for (const RuleTableSpec& t : spec.tables)
        tables.emplace_back(t);
}

void RuleFile::clear()
{
    for (RuleTable& t : tables)
        t.clear();
}

}  // namespace zfw
