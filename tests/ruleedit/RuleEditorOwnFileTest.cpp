// An editor whose file is its own: records that each hold a list, a panel of its own above
// the grid, the grid showing the list of the record chosen. What the frame must give such an
// editor: its own reading and writing, a cell still being edited taken before every action,
// the row tools' changes handed back at once, a table growing to a long list, and captions
// no language changes on the tab and the editor's own button.

#include "ruleedit/URuleEditorFrame.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "controls/LbButton.h"
#include "grid/ColumnGrid.h"
#include "grid/ExtGrid.h"
#include "grid/InplaceEdit.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "support/FakeServices.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using namespace rulespec;

constexpr int kFirstRows = 4;  // header and three rows

RuleTableSpec keyTable(const char* element)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.rowCount = kFirstRows;
    t.maxRowCount = 100000;
    t.keyAttribute = QStringLiteral("Key");
    t.keyTest = RuleKeyTest::AsItStands;
    t.columns = {numberColumn(0), enableColumn(0), column(u"Key", 0)};
    return t;
}

class RecordEditor final : public TRuleEditorFrame {
public:
    RecordEditor(const RuleEditorContext& ctx, RuleEditorNames names, RuleFileSpec spec,
                 QString file)
        : TRuleEditorFrame(ctx, std::move(names), spec, nullptr), m_spec(std::move(spec)),
          m_file(std::move(file))
    {
    }

    // Per record, per table: the keys.
    std::vector<std::array<QStringList, 2>> records;
    int shown = 0;
    QStringList loadMessages;
    QStringList saveQuestion;
    int saves = 0;

    // What an editor's own row click does: the grids go back into the record they show first.
    void showRecord(int i)
    {
        takeTables();
        shown = i;
        fill();
        showTables();
    }

    // Every table action an editor has, on the given table.
    void touchTables(int t)
    {
        takeTable(t);
        showTable(t);
        takeTables();
        showTables();
    }

protected:
    RuleFileSpec prepareOpening() override { return m_spec; }
    QString filePath() const override { return m_file; }
    QWidget* arrangeBody(QWidget* grids) override
    {
        auto* split = new QSplitter(Qt::Vertical, this);
        auto* panel = new QLabel(QStringLiteral("records"), split);
        panel->setObjectName(QStringLiteral("P_Records"));
        split->addWidget(panel);
        split->addWidget(grids);
        return split;
    }
    QStringList readOwnFile(RuleFile&) override
    {
        fill();
        return loadMessages;
    }
    QStringList ownSaveWarnings() const override { return saveQuestion; }
    FileResult writeOwnFile(const RuleFile&) override
    {
        ++saves;
        return FileResult::success();
    }
    void tablesTaken() override
    {
        for (int t = 0; t < 2; ++t) {
            const RuleTable& table = model()->file().tables[std::size_t(t)];
            QStringList keys;
            for (int r = 1; r <= table.ruleCount() && r < table.rowCount(); ++r)
                if (!table.keyEnds(r))
                    keys << table.text(u"Key", r);
            records[std::size_t(shown)][std::size_t(t)] = keys;
        }
    }

private:
    void fill()
    {
        for (int t = 0; t < 2; ++t) {
            RuleTable& table = model()->file().tables[std::size_t(t)];
            const QStringList& keys = records[std::size_t(shown)][std::size_t(t)];
            table.clear();
            table.setRowCount(qMax(table.rowCount(), int(keys.size()) + 2));
            for (int r = 1; r <= keys.size(); ++r)
                table.setCell(2, r, keys[r - 1]);
        }
    }

    RuleFileSpec m_spec;
    QString m_file;
};

class RuleEditorOwnFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Fill_Default_Language(m_state);
        RuleFileSpec spec;
        spec.rootElement = QStringLiteral("Root");
        spec.deleteRowText = 1249;
        spec.tables = {keyTable("A"), keyTable("B")};
        RuleEditorNames names;
        names.form = "TestRecords";
        names.pageControl = "PC_Lists";
        names.tabs = {"TS_A", "TS_B"};
        names.grids = {"ACG_A", "ACG_B"};
        names.fixedTabCaptions = {"Lists in A", "Lists in B"};
        names.extraButtons = {{"Btn_Own", 0, 0, "Own"}};
        names.ownFile = true;
        m_editor = std::make_unique<RecordEditor>(
            RuleEditorContext{&m_state, QStringLiteral("CODE"), &m_dialogs}, std::move(names),
            std::move(spec), m_dir.filePath(QStringLiteral("never.xml")));
        m_editor->records = {{QStringList{"a1", "a2"}, QStringList{"b1"}},
                             {QStringList{"c1"}, QStringList{}}};
    }

    QTemporaryDir m_dir;
    ProgramState m_state;
    test::FakeDialogs m_dialogs;
    std::unique_ptr<RecordEditor> m_editor;
};

// An editor's control may act before the window was ever shown (no tables yet) or name a
// table the window lacks: nothing happens, and its records are not taken from tables that
// are not there.
TEST_F(RuleEditorOwnFile, TableActionsBeforeTheFirstOpeningOrOnNoTableDoNothing)
{
    RecordEditor& e = *m_editor;
    for (int t : {0, 1, -1, 2})
        e.touchTables(t);
    EXPECT_EQ(e.records[0][0], (QStringList{"a1", "a2"}));
    e.show();
    for (int t : {-1, 2})
        e.touchTables(t);
    EXPECT_EQ(e.records[0][0], (QStringList{"a1", "a2"}));
    EXPECT_EQ(e.grid(0)->GetCellEx(2, 2), QStringLiteral("a2"));
}

TEST_F(RuleEditorOwnFile, ReadsItselfWithItsPanelAboveAndCaptionsNoLanguageChanges)
{
    m_editor->loadMessages = {QStringLiteral("record 3 unreadable")};
    m_editor->show();
    RecordEditor& e = *m_editor;
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("record 3 unreadable"));
    EXPECT_EQ(e.grid(0)->GetCellEx(2, 2), QStringLiteral("a2"));
    EXPECT_EQ(e.grid(1)->GetCellEx(2, 1), QStringLiteral("b1"));
    auto* panel = e.findChild<QLabel*>(QStringLiteral("P_Records"));
    ASSERT_NE(panel, nullptr);
    auto* split = qobject_cast<QSplitter*>(panel->parentWidget());
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->indexOf(panel), 0);
    EXPECT_EQ(split->indexOf(e.pageControl()), 1);

    m_state.Language_Table[1249] = QStringLiteral("other");
    e.Set_Lang();
    EXPECT_EQ(e.pageControl()->tabText(1), QStringLiteral("Lists in B"));
    EXPECT_EQ(e.extraButton("Btn_Own")->text(), QStringLiteral("Own"));
}

TEST_F(RuleEditorOwnFile, ACellBeingEditedGoesIntoTheRecordItWasTypedFor)
{
    m_editor->show();
    RecordEditor& e = *m_editor;
    TRuleGrid* g = e.grid(0);
    e.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&e));
    g->setFocus(Qt::OtherFocusReason);
    ASSERT_TRUE(g->MoveCurrentCell(2, 1, true, true));
    QTest::keyClick(g, Qt::Key_F2);
    ASSERT_NE(g->NormalEdit(), nullptr);
    ASSERT_TRUE(g->NormalEdit()->isVisible());
    g->NormalEdit()->setText(QStringLiteral("typed"));
    // The editor is still open when the other record is chosen.
    e.showRecord(1);
    EXPECT_EQ(e.records[0][0], (QStringList{"typed", "a2"}));
    EXPECT_EQ(g->GetCellEx(2, 1), QStringLiteral("c1"));
    EXPECT_EQ(g->GetCellEx(2, 2), QString());
}

TEST_F(RuleEditorOwnFile, RowToolsHandTheirChangeBackAtOnceAndALongListGrowsTheTable)
{
    QStringList many;
    for (int i = 0; i < 2000; ++i)
        many << QStringLiteral("k%1").arg(i);
    m_editor->records[1][0] = many;
    m_editor->show();
    RecordEditor& e = *m_editor;
    TRuleGrid* g = e.grid(0);
    ASSERT_TRUE(g->MoveCurrentCell(2, 1, true, true));
    QTest::mouseClick(e.Btn_CopyRow, Qt::LeftButton);
    ASSERT_TRUE(g->MoveCurrentCell(2, 3, true, true));
    QTest::mouseClick(e.Btn_PasteRow, Qt::LeftButton);
    EXPECT_EQ(e.records[0][0], (QStringList{"a1", "a2", "a1"}));

    e.showRecord(1);
    EXPECT_EQ(g->RowCount(), 2002);
    EXPECT_EQ(g->GetCellEx(2, 2000), QStringLiteral("k1999"));
    ASSERT_TRUE(g->MoveCurrentCell(2, 2000, true, true));
    m_dialogs.messageAnswers = {mrYes};
    QTest::mouseClick(e.Btn_DelRow, Qt::LeftButton);
    ASSERT_EQ(e.records[1][0].size(), 1999);
    EXPECT_EQ(e.records[1][0].back(), QStringLiteral("k1998"));
}

TEST_F(RuleEditorOwnFile, OkAsksTheOwnQuestionAndWritesTheOwnFile)
{
    m_editor->saveQuestion = {QStringLiteral("the file could not be read")};
    m_editor->show();
    RecordEditor& e = *m_editor;
    m_dialogs.messageAnswers = {mrNo};
    QTest::mouseClick(e.Btn_OK, Qt::LeftButton);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_TRUE(
        m_dialogs.messages[0].text.startsWith(QStringLiteral("the file could not be read")));
    EXPECT_EQ(e.saves, 0);
    EXPECT_EQ(e.result(), 0);
    // A key below the list's end in a table whose tab has no language text: the warning
    // names no tab.
    e.grid(1)->SetCellEx(2, 3, QStringLiteral("lost"));
    m_dialogs.messageAnswers = {mrYes};
    QTest::mouseClick(e.Btn_OK, Qt::LeftButton);
    ASSERT_EQ(m_dialogs.messages.size(), 2u);
    EXPECT_TRUE(m_dialogs.messages[1].text.contains(m_state.lang(kTextRowsBelowRuleList)
                                                    + QStringLiteral("1\n")))
        << m_dialogs.messages[1].text.toStdString();
    EXPECT_EQ(e.saves, 1);
    EXPECT_EQ(e.result(), int(mrOk));
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("never.xml"))));
}

}  // namespace
}  // namespace zfw
