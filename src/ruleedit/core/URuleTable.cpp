#include "ruleedit/core/URuleTable.h"

#include "common/TextUtil.h"

namespace zfw {

namespace {

// Resolves one attribute of a table; false with *error naming it when no column has it.
bool resolveName(const RuleTableSpec& t, const QString& attribute, const char* role, int& out,
                 QString* error)
{
    out = t.columnOf(attribute);
    if (out >= 1)
        return true;
    *error = QStringLiteral(
                 "table \"%1\": the %2 names the attribute \"%3\", which no column "
                 "has")
                 .arg(t.element, QLatin1String(role), attribute);
    return false;
}

}  // namespace

int RuleTableSpec::columnOf(QStringView attribute) const
{
    for (int c = 1; c < columns.size(); ++c)
        if (columns[c].attribute == attribute)
            return c;
    return -1;
}

int RuleTableSpec::col(QStringView attribute) const
{
    const int c = columnOf(attribute);
    Q_ASSERT_X(c >= 1, "RuleTableSpec::col", "the descriptor has no such attribute");
    return c;
}

QString resolveRuleSpec(RuleFileSpec& spec)
{
    if (spec.tables.isEmpty())
        return QStringLiteral("the descriptor has no table");
    QString error;
    for (RuleTableSpec& t : spec.tables) {
        if (t.element.isEmpty() && spec.tables.size() > 1)
            return QStringLiteral("rows directly under the root need a file of one table");
        if (t.columns.isEmpty() || t.columns[0].kind != RuleColumnKind::Number)
            return QStringLiteral("table \"%1\": column 0 must be the row number").arg(t.element);
        if (t.rowCount < 1 || (t.maxRowCount != 0 && t.maxRowCount < t.rowCount))
            return QStringLiteral("table \"%1\": the row counts do not fit").arg(t.element);
        for (int c = 1; c < t.columns.size(); ++c) {
            if (t.columns[c].attribute.isEmpty())
                return QStringLiteral("table \"%1\": column %2 has no attribute")
                    .arg(t.element)
                    .arg(c);
            if (t.columnOf(t.columns[c].attribute) != c)
                return QStringLiteral("table \"%1\": the attribute \"%2\" is named twice")
                    .arg(t.element, t.columns[c].attribute);
        }
        t.keyColumn = -1;
        if (t.keyTest != RuleKeyTest::None
            && !resolveName(t, t.keyAttribute, "key", t.keyColumn, &error))
            return error;
        t.enableColumn = -1;
        if (!t.enableAttribute.isEmpty()
            && !resolveName(t, t.enableAttribute, "Enable column", t.enableColumn, &error))
            return error;
        for (RuleCheck& check : t.checks) {
            check.column = check.onlyWhenYesColumn = check.portColumn = -1;
            if (check.kind != RuleCheckKind::Row || !check.attribute.isEmpty())
                if (!resolveName(t, check.attribute, "check", check.column, &error))
                    return error;
            if (!check.onlyWhenYesIn.isEmpty()
                && !resolveName(t, check.onlyWhenYesIn, "check's condition",
                                check.onlyWhenYesColumn, &error))
                return error;
            if (check.kind == RuleCheckKind::Connection
                && !resolveName(t, check.portAttribute, "port of a check", check.portColumn,
                                &error))
                return error;
            if (check.kind == RuleCheckKind::Row && !check.rowCheck)
                return QStringLiteral("table \"%1\": a row check without its function")
                    .arg(t.element);
            for (const QString& used : check.uses) {
                int ignored = -1;
                if (!resolveName(t, used, "row check", ignored, &error))
                    return error;
            }
        }
    }
    return {};
}

RuleFileSpec builtRuleSpec(RuleFileSpec spec)
{
    [[maybe_unused]] const QString error = resolveRuleSpec(spec);
    Q_ASSERT_X(error.isEmpty(), "builtRuleSpec", qPrintable(error));
    return spec;
}

RuleTable::RuleTable(RuleTableSpec spec) : m_spec(std::move(spec)) { clear(); }

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

bool RuleTable::readOnly(int ACol, int ARow) const
{
    if (ACol < 0 || ACol >= columnCount() || ARow < 0 || ARow >= rowCount())
        return false;
    return m_readOnly[std::size_t(index(ACol, ARow))];
}

void RuleTable::setReadOnly(int ACol, int ARow, bool value)
{
    if (ACol < 0 || ACol >= columnCount() || ARow < 0 || ARow >= rowCount())
        return;
    m_readOnly[std::size_t(index(ACol, ARow))] = value;
}

void RuleTable::setRowReadOnly(int ARow, bool value)
{
    for (int c = 1; c < columnCount(); ++c)
        setReadOnly(c, ARow, value);
}

QVariant RuleTable::rowObject(int ARow) const
{
    if (ARow < 1 || ARow >= rowCount())
        return {};
    return m_objects[std::size_t(ARow)];
}

void RuleTable::setRowObject(int ARow, QVariant object)
{
    if (ARow >= 1 && ARow < rowCount())
        m_objects[std::size_t(ARow)] = std::move(object);
}

int RuleTable::setRowCount(int rows)
{
    if (!m_spec.grows())
        return m_rowCount;
    const int wanted = qBound(m_spec.rowCount, rows, m_spec.maxRowCount);
    const int old = m_rowCount;
    m_rowCount = wanted;
    m_cells.resize(std::size_t(m_rowCount) * std::size_t(qMax(0, columnCount())));
    m_readOnly.resize(m_cells.size(), false);
    m_objects.resize(std::size_t(m_rowCount));
    for (int r = old; r < m_rowCount; ++r) {
        emptyRow(r);
        setCell(0, r, QString::number(r - 1 + m_spec.firstNumber));
        for (int c = 1; c < columnCount(); ++c)
            setCell(c, r, m_spec.columns[c].openingText);
    }
    return m_rowCount;
}

void RuleTable::clear()
{
    m_rowCount = qMax(0, m_spec.rowCount);
    m_cells.assign(std::size_t(m_rowCount) * std::size_t(qMax(0, columnCount())), QString());
    m_readOnly.assign(m_cells.size(), false);
    m_objects.assign(std::size_t(m_rowCount), QVariant());
    for (int r = 1; r < rowCount(); ++r) {
        setCell(0, r, QString::number(r - 1 + m_spec.firstNumber));
        for (int c = 1; c < columnCount(); ++c)
            setCell(c, r, m_spec.columns[c].openingText);
    }
}

bool RuleTable::keyEnds(int ARow) const
{
    switch (m_spec.keyTest) {
    case RuleKeyTest::Trimmed: return trimBlanks(cell(m_spec.keyColumn, ARow)).isEmpty();
    case RuleKeyTest::AsItStands: return cell(m_spec.keyColumn, ARow).isEmpty();
    case RuleKeyTest::None: break;
    }
    return false;
}

int RuleTable::writtenRowCount() const
{
    if (!m_spec.writeThroughLastKey)
        return ruleCount();
    for (int r = rowCount() - 1; r >= 1; --r)
        if (!keyEnds(r))
            return r;
    return 0;
}

int RuleTable::ruleCount() const
{
    for (int r = 1; r < rowCount(); ++r)
        if (keyEnds(r))
            return r - 1;
    return qMax(0, rowCount() - 1);
}

bool RuleTable::isYes(int ACol, int ARow) const
{
    const QString raw = cell(ACol, ARow);
    switch (m_spec.enableRule) {
    case RuleEnableRule::Exact: return raw == QLatin1String("Y");
    case RuleEnableRule::TrimmedY: return trimBlanks(raw) == QLatin1String("Y");
    case RuleEnableRule::TrimmedAnyCaseY: {
        const QString text = trimBlanks(raw);
        return text == QLatin1String("Y") || text == QLatin1String("y");
    }
    case RuleEnableRule::UpperCasedY: return raw == QLatin1String("Y") || raw == QLatin1String("y");
    }
    return false;
}

bool RuleTable::isEnabled(int ARow) const
{
    return m_spec.enableColumn < 0 || isYes(m_spec.enableColumn, ARow);
}

bool RuleTable::rowInUse(int ARow) const
{
    for (int c = 1; c < columnCount(); ++c) {
        const RuleColumn& column = m_spec.columns[c];
        if (column.kind == RuleColumnKind::CheckBox || !column.stored)
            continue;
        if (!trimBlanks(cell(c, ARow)).isEmpty())
            return true;
    }
    return false;
}

int RuleTable::rowsBelowRuleList() const
{
    int count = 0;
    for (int r = writtenRowCount() + 1; r < rowCount(); ++r)
        if (rowInUse(r))
            ++count;
    return count;
}

void RuleTable::moveRowsUp(int from)
{
    if (from < 1 || from >= rowCount())
        return;
    const int last = rowCount() - 1;
    for (int i = from; i < last; ++i) {
        for (int c = 1; c < columnCount(); ++c) {
            setCell(c, i, cell(c, i + 1));
            setReadOnly(c, i, readOnly(c, i + 1));
        }
        m_objects[std::size_t(i)] = m_objects[std::size_t(i + 1)];
    }
    emptyRow(last);
}

void RuleTable::moveRowsDown(int from)
{
    if (from < 1 || from >= rowCount())
        return;
    for (int i = rowCount() - 2; i >= from; --i) {
        for (int c = 1; c < columnCount(); ++c) {
            setCell(c, i + 1, cell(c, i));
            setReadOnly(c, i + 1, readOnly(c, i));
        }
        m_objects[std::size_t(i + 1)] = m_objects[std::size_t(i)];
    }
    emptyRow(from);
}

void RuleTable::emptyRow(int ARow)
{
    if (ARow < 1 || ARow >= rowCount())
        return;
    for (int c = 1; c < columnCount(); ++c) {
        setCell(c, ARow, QString());
        setReadOnly(c, ARow, false);
    }
    m_objects[std::size_t(ARow)] = QVariant();
}

RuleFile::RuleFile(const RuleFileSpec& s) : spec(builtRuleSpec(s))
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
