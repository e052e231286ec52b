// What an editor may bring to the frame: two grids sharing a tab page, captions and headers no
// language changes, controls of its own beside the grids, clicks on cells, cells read-only per
// row, and a file format of its own that the frame never reads or writes itself.

#include "ruleedit/URuleEditorFrame.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/ColumnGrid.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "support/FakeServices.h"
#include "support/Files.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QSplitter>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using namespace rulespec;

constexpr int kTab = 6386;
constexpr int kHeader = 6387;

// A growing table of Key and Value, no Enable, every row a rule.
RuleTableSpec table(const char* element)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = kTab;
    t.rowCount = 2;
    t.maxRowCount = 100;
    t.keyTest = RuleKeyTest::None;
    t.enableAttribute.clear();
    t.columns = {numberColumn(0), column(u"Key", kHeader), column(u"Value", kHeader)};
    return t;
}

RuleFileSpec spec()
{
    RuleFileSpec f;
    f.rootElement = QStringLiteral("Root");
    RuleTableSpec a = table("A");
    a.columns[1].colour = 0x00FFFF;  // yellow
    a.columns[2].readOnly = true;
    a.columns[2].colour = 0xFFFF00;  // cyan
    RuleTableSpec b = table("B");
    b.columns[1].fixedHeader = QStringLiteral("Fixed");
    f.tables = {a, b, table("C")};
    return f;
}

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TestOwn";
    n.pageControl = "PC";
    n.tabs = {"TS_1", "TS_2"};
    n.grids = {"ACG_A", "ACG_B", "ACG_C"};
    n.gridTabs = {0, 1, 1};
    n.fixedTabCaptions = {"First"};
    n.rowTools = {false, false, false, false};
    n.ownFile = true;
    return n;
}

class OwnPartsEditor final : public TRuleEditorFrame {
public:
    OwnPartsEditor(const RuleEditorContext& ctx, QString file)
        : TRuleEditorFrame(ctx, names(), spec(), nullptr), m_file(std::move(file))
    {
    }

    QString m_file;
    QLabel* side = nullptr;
    int reads = 0;
    QStringList written;  // Key of every row of table A at each write
    bool failWrite = false;
    QList<QList<int>> clicks;  // (table, real column, row)

    using TRuleEditorFrame::model;

protected:
    RuleFileSpec prepareOpening() override { return spec(); }
    QString filePath() const override { return m_file; }
    QWidget* arrangeBody(QWidget* grids) override
    {
        auto* body = new QWidget(this);
        auto* row = new QHBoxLayout(body);
        side = new QLabel(QStringLiteral("side"), body);
        side->setObjectName(QStringLiteral("Side"));
        row->addWidget(side);
        row->addWidget(grids, 1);
        return body;
    }
    QStringList readOwnFile(RuleFile& tables) override
    {
        ++reads;
        RuleTable& a = tables.tables[0];
        a.setRowCount(4);
        for (int r = 1; r <= 3; ++r)
            a.setCell(1, r, QStringLiteral("own%1").arg(r));
        a.setReadOnly(1, 2, true);
        return {QStringLiteral("a note of the own reader")};
    }
    FileResult writeOwnFile(const RuleFile& tables) override
    {
        const RuleTable& a = tables.tables[0];
        for (int r = 1; r < a.rowCount(); ++r)
            written << a.cell(1, r);
        return failWrite ? FileResult::failure(QStringLiteral("cannot write")) : FileResult{};
    }
    void cellClick(int t, int ACol, int ARow) override { clicks.append({t, ACol, ARow}); }
};

class RuleEditorOwnParts : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Fill_Default_Language(m_state);
        m_state.Language_Table[kTab] = QStringLiteral("Tab");
        m_state.Language_Table[kHeader] = QStringLiteral("Head");
        m_path = m_dir.filePath(QStringLiteral("own.dat"));
        // Not the frame's format: the frame must neither read it nor overwrite it.
        ASSERT_TRUE(test::writeFile(m_path, "key=value\n"));
        m_form = std::make_unique<OwnPartsEditor>(
            RuleEditorContext{&m_state, QStringLiteral("CODE"), &m_dialogs}, m_path);
        m_form->show();
    }

    QTemporaryDir m_dir;
    ProgramState m_state;
    test::FakeDialogs m_dialogs;
    QString m_path;
    std::unique_ptr<OwnPartsEditor> m_form;
};

TEST_F(RuleEditorOwnParts, GridsOfOnePageStandInASplitterUnderFixedOrLanguageCaptions)
{
    QTabWidget* pages = m_form->pageControl();
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->widget(1)->objectName(), QStringLiteral("TS_2"));
    auto* stack = qobject_cast<QSplitter*>(m_form->grid(1)->parentWidget());
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(stack->orientation(), Qt::Vertical);
    EXPECT_EQ(m_form->grid(2)->parentWidget(), stack);
    EXPECT_EQ(stack->parentWidget(), pages->widget(1));
    EXPECT_EQ(m_form->grid(0)->parentWidget(), pages->widget(0));

    m_state.Language_Table[kTab] = QStringLiteral("Scheda");
    m_state.Language_Table[kHeader] = QStringLiteral("Testa");
    m_form->Set_Lang();
    EXPECT_EQ(pages->tabText(0), QStringLiteral("First"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("Scheda"));
    EXPECT_EQ(m_form->grid(1)->Columns().GetItem(1)->Header(), QStringLiteral("Fixed"));
    EXPECT_EQ(m_form->grid(1)->Columns().GetItem(2)->Header(), QStringLiteral("Testa"));

    m_form->setActiveTable(2);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(m_form->activeTable(), 1);
    m_form->setActiveTable(0);
    EXPECT_EQ(m_form->activeTable(), 0);
}

TEST_F(RuleEditorOwnParts, EditorsControlsStandBesideTheGridsAndClicksReachIt)
{
    ASSERT_NE(m_form->side, nullptr);
    EXPECT_TRUE(m_form->side->isVisible());
    EXPECT_TRUE(m_form->pageControl()->isVisibleTo(m_form.get()));
    EXPECT_TRUE(m_form->isAncestorOf(m_form->side));
    TRuleGrid* b = m_form->grid(1);
    b->OnClickCell(b, 1, 2);
    b->OnClickCell(b, 1, 0);
    EXPECT_EQ(m_form->clicks, (QList<QList<int>>{{1, 2, 1}, {1, 0, 1}}));
}

TEST_F(RuleEditorOwnParts, OwnFileFillsTheGridsWithItsReadOnlyCellsAndIsWrittenByTheEditor)
{
    EXPECT_EQ(m_form->reads, 1);
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("a note of the own reader"));
    TRuleGrid* a = m_form->grid(0);
    ASSERT_EQ(a->RowCount(), 4);
    EXPECT_EQ(a->GetCellEx(1, 3), QStringLiteral("own3"));
    EXPECT_EQ(a->GetCellEx(0, 3), QStringLiteral("3"));
    // Per row: the editor's flag; per column: the descriptor's.
    EXPECT_TRUE(a->GetReadOnly(1, 2));
    EXPECT_FALSE(a->GetReadOnly(1, 1));
    EXPECT_FALSE(a->GetReadOnly(1, 3));
    for (int r = 1; r <= 3; ++r)
        EXPECT_TRUE(a->GetReadOnly(2, r)) << r;
    // A read-only cell keeps its column's colour.
    a->MoveCurrentCell(1, 3, true, true);
    QApplication::processEvents();
    const QImage img = a->viewport()->grab().toImage();
    auto colourAt = [&](int c, int r) {
        const TRect cell = a->CellRect(a->DisplColIndex(c), r);
        return img.pixelColor(cell.Right - 5, cell.Bottom - 4);
    };
    EXPECT_EQ(colourAt(1, 2), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(1, 1), QColor(Qt::yellow));
    EXPECT_EQ(colourAt(2, 1), QColor(Qt::cyan));

    a->SetCellEx(1, 1, QStringLiteral("typed"));
    m_form->failWrite = true;
    m_dialogs.messages.clear();
    m_form->Btn_OKClick();
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("cannot write"));
    EXPECT_NE(m_form->result(), int(mrOk));
    m_form->failWrite = false;
    m_form->written.clear();
    m_form->Btn_OKClick();
    EXPECT_EQ(m_form->written, (QStringList{"typed", "own2", "own3"}));
    EXPECT_EQ(m_form->result(), int(mrOk));
    EXPECT_EQ(test::readFile(m_path), QByteArray("key=value\n"));

    // Each opening reads afresh into cleared tables.
    m_form->hide();
    m_form->show();
    EXPECT_EQ(m_form->reads, 2);
    EXPECT_EQ(m_form->grid(0)->GetCellEx(1, 1), QStringLiteral("own1"));
}

}  // namespace
}  // namespace zfw
