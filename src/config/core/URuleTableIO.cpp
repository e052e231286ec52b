#include "config/core/URuleTable.h"

#include "common/UComon.h"

namespace zfw {

namespace {

// Texts of the load and save reports.
constexpr int kTextUnreadable = 1110;
constexpr int kTextMissingTable = 1111;
constexpr int kTextMissingValues = 1112;
constexpr int kTextFirstMissing = 1113;
constexpr int kTextRowsNotShown = 1114;

}  // namespace

int RuleLoadReport::totalRowsNotShown() const
{
    int n = 0;
    for (int k : rowsNotShown)
        n += k;
    return n;
}

bool RuleLoadReport::askBeforeOverwrite() const
{
    return !fileError.isEmpty() || !missingTables.isEmpty() || totalRowsNotShown() > 0;
}

RuleLoadReport loadRuleFile(RuleFile& file, const QString& path)
{
    return loadRuleFile(file, loadProjectXml(path));
}

// Mended: a table element missing from the file, or an attribute missing from a row that
// was read without a guard, used to stop the loading where it stood, and the next OK wrote
// back only the half that had been read. Each table now loads on its own, a missing value
// takes its column's default, and the report says what was missing. Rows beyond the table
// used to be dropped without a word on the next OK; they are counted for the user now.
RuleLoadReport loadRuleFile(RuleFile& file, const ProjectXmlLoad& doc)
{
    RuleLoadReport report;
    report.status = doc.status;
    report.rowsNotShown = QList<int>(qsizetype(file.tables.size()), 0);
    file.clear();
    if (doc.missing())
        return report;
    if (!doc.ok()) {
        report.fileError = doc.message;
        return report;
    }
    for (std::size_t t = 0; t < file.tables.size(); ++t) {
        RuleTable& table = file.tables[t];
        const RuleTableSpec& spec = table.spec();
        const XmlElement element = childElement(doc.root, spec.element);
        if (element.isNull()) {
            report.missingTables.append(spec.element);
            continue;
        }
        int row = 1;
        for (XmlElement e = element.firstChildElement(); !e.isNull();
             e = e.nextSiblingElement(), ++row) {
            if (row >= table.rowCount()) {
                ++report.rowsNotShown[qsizetype(t)];
                continue;
            }
            for (int c = 1; c < table.columnCount(); ++c) {
                const RuleColumn& column = spec.columns[c];
                const std::optional<QStringView> value = e.attributeView(column.attribute);
                if (value) {
                    table.setCell(c, row, value->toString());
                    continue;
                }
                table.setCell(c, row, column.defaultText);
                if (!column.guarded)
                    report.missingValues.append({int(t), row, column.attribute});
            }
        }
    }
    return report;
}

QStringList ruleLoadMessages(const RuleLoadReport& report, const RuleFileSpec& spec,
                             const ProgramState& lang)
{
    QStringList out;
    auto tabName = [&](int table) {
        return table >= 0 && table < spec.tables.size() ? lang.lang(spec.tables[table].tabText)
                                                        : QString();
    };
    if (!report.fileError.isEmpty())
        out.append(lang.lang(kTextUnreadable) + report.fileError);
    for (const QString& table : report.missingTables)
        out.append(lang.lang(kTextMissingTable) + table);
    if (!report.missingValues.isEmpty()) {
        const RuleLoadReport::MissingValue& first = report.missingValues.first();
        out.append(lang.lang(kTextMissingValues) + QString::number(report.missingValues.size())
                   + lang.lang(kTextFirstMissing) + QString::number(first.row) + " ("
                   + tabName(first.table) + ", " + first.attribute + ")");
    }
    for (int t = 0; t < report.rowsNotShown.size(); ++t)
        if (report.rowsNotShown[t] > 0)
            out.append(lang.lang(kTextRowsNotShown) + QString::number(report.rowsNotShown[t])
                       + " (" + tabName(t) + ")");
    return out;
}

ProjectXmlWriter ruleFileDocument(const RuleFile& file)
{
    ProjectXmlWriter w(file.spec.rootElement, file.spec.version);
    const QString rowName = QStringLiteral("row");
    for (const RuleTable& table : file.tables) {
        const RuleTableSpec& spec = table.spec();
        ProjectXmlElement& element = w.root().addChild(spec.element);
        const int rules = table.ruleCount();
        for (int r = 1; r <= rules; ++r) {
            ProjectXmlElement& row = element.addChild(rowName);
            for (int c = 1; c < table.columnCount(); ++c)
                row.setAttribute(spec.columns[c].attribute, table.cell(c, r));
        }
    }
    return w;
}

FileResult saveRuleFile(const RuleFile& file, const QString& path)
{
    return ruleFileDocument(file).save(path);
}

}  // namespace zfw
