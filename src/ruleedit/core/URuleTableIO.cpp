#include "ruleedit/core/URuleTable.h"

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
    // A value that took its default is written back as that default: the user agrees first.
    return !fileError.isEmpty() || !missingTables.isEmpty() || !missingValues.isEmpty()
           || totalRowsNotShown() > 0 || !rowNotes.isEmpty();
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
        const XmlElement element = spec.element.isEmpty() ? doc.root
                                                          : childElement(doc.root, spec.element);
        if (element.isNull()) {
            report.missingTables.append(spec.element);
            continue;
        }
        if (spec.grows()) {
            int rows = 1;
            for (XmlElement e = element.firstChildElement();
                 !e.isNull() && rows <= spec.maxRowCount; e = e.nextSiblingElement())
                ++rows;
            table.setRowCount(rows);
        }
        std::vector<bool> missing(std::size_t(table.columnCount()), false);
        int row = 1;
        for (XmlElement e = element.firstChildElement(); !e.isNull();
             e = e.nextSiblingElement(), ++row) {
            if (row >= table.rowCount()) {
                ++report.rowsNotShown[qsizetype(t)];
                continue;
            }
            // The attributes the row has first, so that a default computed from the row sees
            // them whatever their column.
            for (int c = 1; c < table.columnCount(); ++c) {
                const RuleColumn& column = spec.columns[c];
                missing[std::size_t(c)] = false;
                if (!column.stored)
                    continue;
                std::optional<QStringView> value = e.attributeView(column.attribute);
                for (qsizetype k = 0; !value && k < column.legacyAttributes.size(); ++k)
                    value = e.attributeView(column.legacyAttributes[k]);
                if (value)
                    table.setCell(c, row, value->toString());
                else
                    missing[std::size_t(c)] = true;
            }
            for (int c = 1; c < table.columnCount(); ++c) {
                if (!missing[std::size_t(c)])
                    continue;
                const RuleColumn& column = spec.columns[c];
                table.setCell(c, row,
                              column.rowDefault ? column.rowDefault(table, row)
                                                : column.defaultText);
                if (!column.guarded)
                    report.missingValues.append({int(t), row, column.attribute});
            }
            if (spec.rowLoaded)
                spec.rowLoaded(table, row, e);
            if (spec.readRowChildren)
                spec.readRowChildren(table, row, e, report.rowNotes);
        }
        if (spec.afterLoad)
            spec.afterLoad(table);
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
            out.append(lang.lang(kTextRowsNotShown) + QString::number(report.rowsNotShown[t]) + " ("
                       + tabName(t) + ")");
    out.append(report.rowNotes);
    return out;
}

ProjectXmlWriter ruleFileDocument(const RuleFile& file)
{
    ProjectXmlWriter w(file.spec.rootElement, file.spec.version);
    for (const RuleTable& table : file.tables) {
        const RuleTableSpec& spec = table.spec();
        ProjectXmlElement& element = spec.element.isEmpty() ? w.root()
                                                            : w.root().addChild(spec.element);
        const int rules = table.writtenRowCount();
        for (int r = 1; r <= rules; ++r) {
            ProjectXmlElement& row = element.addChild(spec.rowElement);
            for (int c = 1; c < table.columnCount(); ++c) {
                const RuleColumn& column = spec.columns[c];
                if (!column.stored)
                    continue;
                row.setAttribute(column.attribute, column.writtenText ? column.writtenText(table, r)
                                                                      : table.cell(c, r));
            }
            if (spec.writeRowChildren)
                spec.writeRowChildren(table, r, row);
        }
    }
    return w;
}

namespace {

// A character a project file cannot hold: the controls other than tab, line feed and
// carriage return.
bool storable(const ProjectXmlElement& e)
{
    auto ok = [](const QString& text) {
        for (QChar ch : text)
            if (ch.unicode() < 0x20 && ch != u'\t' && ch != u'\n' && ch != u'\r')
                return false;
        return true;
    };
    for (const auto& [name, value] : e.attributes())
        if (!ok(value))
            return false;
    for (const ProjectXmlElement& child : e.children())
        if (!storable(child))
            return false;
    return true;
}

// The writer always ends the file with the version comment, on a line of its own.
QByteArray withoutVersionComment(const ProjectXmlWriter& w)
{
    QByteArray bytes = w.toByteArray();
    const QByteArray comment = "<!--" + w.versionComment().toUtf8() + "-->\n";
    if (bytes.endsWith(comment))
        bytes.chop(comment.size());
    return bytes;
}

}  // namespace

QByteArray ruleFileBytes(const RuleFile& file)
{
    const ProjectXmlWriter w = ruleFileDocument(file);
    return file.spec.version.isEmpty() ? withoutVersionComment(w) : w.toByteArray();
}

FileResult saveRuleFile(const RuleFile& file, const QString& path)
{
    const ProjectXmlWriter w = ruleFileDocument(file);
    if (!file.spec.version.isEmpty())
        return w.save(path);
    if (!storable(w.root()))
        return FileResult::failure(
            QStringLiteral("Cannot write %1: a value holds a character that the file cannot "
                           "store")
                .arg(displayPath(path)));
    return saveFileAtomically(path, withoutVersionComment(w));
}

}  // namespace zfw
