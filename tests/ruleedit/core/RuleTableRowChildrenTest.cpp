// Tables read by position whose rows carry child elements, and that are written through the
// last row holding a key.

#include "ruleedit/core/URuleSpecBuild.h"
#include "ruleedit/core/URuleTable.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

// Five rules directly under the root; a row may hold a <Note Text=".."/> kept as its object.
RuleFileSpec notedSpec(bool throughLastKey)
{
    RuleTableSpec t;
    t.rowCount = 6;
    t.keyAttribute = QStringLiteral("Key");
    t.writeThroughLastKey = throughLastKey;
    t.columns = {rulespec::numberColumn(0), rulespec::enableColumn(0), rulespec::column(u"Key", 0)};
    t.readRowChildren = [](RuleTable& table, int row, const XmlElement& e, QStringList& notes) {
        const XmlElement note = childElement(e, u"Note");
        if (note.isNull())
            return;
        if (const auto text = note.attribute(u"Text"))
            table.setRowObject(row, *text);
        else
            notes.append(QStringLiteral("row %1: note without text").arg(row));
    };
    t.writeRowChildren = [](const RuleTable& table, int row, ProjectXmlElement& e) {
        const QVariant note = table.rowObject(row);
        if (note.isValid())
            e.addChild(QStringLiteral("Note"))
                .setAttribute(QStringLiteral("Text"), note.toString());
    };
    RuleFileSpec f;
    f.rootElement = QStringLiteral("Root");
    f.tables = {t};
    return f;
}

const QByteArray kFile =
    "<Root>"
    "<row Enable=\"Y\" Key=\"a\"><Note Text=\"first\"/></row>"
    "<row Enable=\"N\" Key=\"\"/>"
    "<row Enable=\"Y\" Key=\"c\"><Note/></row>"
    "<row Enable=\"Y\" Key=\"d\"><Note Text=\"fourth\"/></row>"
    "</Root>";

TEST(RuleRowChildren, ReadIntoRowObjectsAndFaultsReported)
{
    RuleFile file(notedSpec(true));
    const RuleLoadReport report = loadRuleFile(file,
                                               parseProjectXml(kFile, QStringLiteral("noted.xml")));
    const RuleTable& t = file.tables[0];
    EXPECT_EQ(t.rowObject(1).toString(), QStringLiteral("first"));
    EXPECT_FALSE(t.rowObject(3).isValid());
    EXPECT_EQ(t.rowObject(4).toString(), QStringLiteral("fourth"));
    EXPECT_EQ(report.rowNotes, QStringList{QStringLiteral("row 3: note without text")});
    EXPECT_TRUE(report.askBeforeOverwrite());
}

TEST(RuleRowChildren, WrittenThroughLastKeyWithChildren)
{
    RuleFile file(notedSpec(true));
    loadRuleFile(file, parseProjectXml(kFile, QStringLiteral("noted.xml")));
    EXPECT_EQ(file.tables[0].writtenRowCount(), 4);
    EXPECT_EQ(file.tables[0].rowsBelowRuleList(), 0);
    const QByteArray bytes = ruleFileBytes(file);
    EXPECT_EQ(bytes.count("<row "), 4);
    EXPECT_TRUE(bytes.contains("<Note Text=\"fourth\"/>")) << bytes.toStdString();

    // Without the option the list still ends at the first empty key.
    RuleFile plain(notedSpec(false));
    loadRuleFile(plain, parseProjectXml(kFile, QStringLiteral("noted.xml")));
    EXPECT_EQ(plain.tables[0].writtenRowCount(), 1);
    EXPECT_EQ(ruleFileBytes(plain).count("<row "), 1);
}

}  // namespace
}  // namespace zfw
