// The frame's window on small editors made for the tests, each with its own program state,
// build code and fake dialogs: one grid without tabs, three grids on tabs, a window built
// after a language change, row objects and a growing table through the row tools, the
// window's own events and buttons, the grid hooks an editor is passed, its place on the
// screen, and the question's safe default.

#include "ruleedit/URuleEditorFrame.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "controls/LbButton.h"
#include "grid/ColumnGrid.h"
#include "grid/ExtGrid.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "support/CaseName.h"
#include "support/FakeServices.h"
#include "support/Files.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using namespace rulespec;

constexpr int kCaption = 6370;  // texts 6370-6389 of the test windows
constexpr int kHeader = 6375;
constexpr int kTab = 6376;
constexpr int kExtra = 6377;
constexpr int kErrorRow = 6378;
constexpr int kBadValue = 6379;

// A table of n rules: Enable, Key, Value.
RuleTableSpec smallTable(const char* element, int rules, int tab = kTab)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = rules + 1;
    t.keyAttribute = QStringLiteral("Key");
    t.columns = {numberColumn(0), enableColumn(0), column(u"Key", kHeader), column(u"Value", 0)};
    t.checks = {range(u"Value", kBadValue, 0, 9)};
    return t;
}

RuleFileSpec smallFile(QList<RuleTableSpec> tables)
{
    RuleFileSpec f;
    f.captionText = kCaption;
    f.rootElement = QStringLiteral("Root");
    f.version = QStringLiteral("1.000");
    f.deleteRowText = 1249;
    f.errorRowText = kErrorRow;
    f.tables = std::move(tables);
    return f;
}

// An editor of the tests: its descriptor and names given, its hooks recorded.
class TestEditor final : public TRuleEditorFrame {
public:
    TestEditor(const RuleEditorContext& ctx, RuleEditorNames names, RuleFileSpec spec, QString file)
        : TRuleEditorFrame(ctx, std::move(names), spec, nullptr), m_spec(std::move(spec)),
          m_file(std::move(file))
    {
    }

    RuleFileSpec m_spec;
    QString m_file;
    QList<QPoint> doubleClicks;  // (real column, row) the editor took
    QList<QPoint> editsDone;     // (real column, row) of each edit ended
    int extraClicks = 0;
    int builtCalls = 0;

    using TRuleEditorFrame::model;

protected:
    RuleFileSpec prepareOpening() override { return m_spec; }
    QString filePath() const override { return m_file; }
    void built() override { ++builtCalls; }
    bool cellDoubleClick(int, int ACol, int ARow) override
    {
        if (m_spec.tables[0].columns[ACol].attribute != QLatin1String("Value"))
            return false;
        doubleClicks.append(QPoint(ACol, ARow));
        return true;
    }
    void extraButtonClick(int) override { ++extraClicks; }
    void editCellDone(int, int ACol, int ARow) override { editsDone.append(QPoint(ACol, ARow)); }
};

RuleEditorNames oneGridNames()
{
    RuleEditorNames n;
    n.form = "TestOne";
    n.grids = {"ACG_One"};
    n.clientWidth = 500;
    n.clientHeight = 400;
    return n;
}

RuleEditorNames threeGridNames()
{
    RuleEditorNames n;
    n.form = "TestThree";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_A", "TS_B", "TS_C"};
    n.grids = {"ACG_A", "ACG_B", "ACG_C"};
    return n;
}

class RuleEditorFrameWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        Fill_Default_Language(m_state);
        m_state.Language_Table[kCaption] = QStringLiteral("Test rules");
        m_state.Language_Table[kHeader] = QStringLiteral("Key");
        m_state.Language_Table[kTab] = QStringLiteral("Tab");
        m_state.Language_Table[kExtra] = QStringLiteral("More");
        m_state.Language_Table[kErrorRow] = QStringLiteral("Error row ");
        m_state.Language_Table[kBadValue] = QStringLiteral(" bad value");
    }
    RuleEditorContext context() { return {&m_state, QStringLiteral("TESTCODE"), &m_dialogs}; }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

    std::unique_ptr<TestEditor> make(RuleEditorNames names, RuleFileSpec spec)
    {
        return std::make_unique<TestEditor>(context(), std::move(names), std::move(spec),
                                            path("rules.xml"));
    }
    static void click(TRuleEditorFrame& f, const char* name)
    {
        auto* b = f.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    QTemporaryDir m_dir;
    ProgramState m_state;  // this test's own: the program's state is never read
    test::FakeDialogs m_dialogs;
};

TEST_F(RuleEditorFrameWindow, OneGridWithoutTabsEditedAndSavedThroughItsOwnContext)
{
    auto f = make(oneGridNames(), smallFile({smallTable("T", 3)}));
    f->show();
    EXPECT_EQ(f->pageControl(), nullptr);
    EXPECT_EQ(f->findChildren<QTabWidget*>().size(), 0);
    EXPECT_EQ(f->L_SW_Code->text(), QStringLiteral("TESTCODE"));
    TRuleGrid* g = f->grid(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->objectName(), QStringLiteral("ACG_One"));
    EXPECT_EQ(g->RowCount(), 4);
    g->SetCellEx(2, 1, QStringLiteral("a"));
    g->SetCellEx(3, 1, QStringLiteral("10"));
    click(*f, "Btn_OK");
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, QStringLiteral("Error row 1 bad value"));
    g->SetCellEx(3, 1, QStringLiteral("4"));
    click(*f, "Btn_OK");
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path("rules.xml")),
              "<Root>\n  <T>\n    <row Enable=\"Y\" Key=\"a\" Value=\"4\"/>\n  </T>\n</Root>\n"
              "<!--SW_VERSION = 1.000-->\n");
}

TEST_F(RuleEditorFrameWindow, ThreeGridsOnTabsAndTheShowingPageTakesTheRowTools)
{
    auto f = make(threeGridNames(),
                  smallFile({smallTable("A", 2), smallTable("B", 2), smallTable("C", 2)}));
    f->show();
    ASSERT_NE(f->pageControl(), nullptr);
    EXPECT_EQ(f->pageControl()->count(), 3);
    EXPECT_EQ(f->pageControl()->widget(2)->objectName(), QStringLiteral("TS_C"));
    f->setActiveTable(2);
    TRuleGrid* c = f->grid(2);
    c->SetCellEx(2, 1, QStringLiteral("k"));
    c->MoveCurrentCell(1, 1, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(c->GetCellEx(2, 2), QStringLiteral("k"));
    EXPECT_EQ(c->GetCellEx(1, 1), QStringLiteral("Y"));
    EXPECT_EQ(f->grid(0)->GetCellEx(2, 2), QString());
    // A copy from the third grid pastes only there.
    click(*f, "Btn_CopyRow");
    EXPECT_TRUE(f->copyFlag(2));
    f->setActiveTable(1);
    click(*f, "Btn_PasteRow");
    ASSERT_EQ(m_dialogs.messages.size(), 1u);
    EXPECT_EQ(m_dialogs.messages[0].text, m_state.lang(kTextPasteNoCopy));
}

TEST_F(RuleEditorFrameWindow, WindowMadeAtItsFirstShowingTakesTheLanguageOfThen)
{
    auto f = make(threeGridNames(),
                  smallFile({smallTable("A", 2), smallTable("B", 2), smallTable("C", 2)}));
    EXPECT_FALSE(f->isBuilt());
    EXPECT_EQ(f->findChildren<QWidget*>().size(), 0);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Test rules"));
    m_state.Language_Table[kCaption] = QStringLiteral("Regole");
    m_state.Language_Table[kTab] = QStringLiteral("Scheda");
    m_state.Language_Table[kHeader] = QStringLiteral("Chiave");
    f->Set_Lang();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Regole"));
    EXPECT_FALSE(f->isBuilt());
    f->show();
    ASSERT_TRUE(f->isBuilt());
    EXPECT_EQ(f->builtCalls, 1);
    EXPECT_EQ(f->pageControl()->tabText(1), QStringLiteral("Scheda"));
    EXPECT_EQ(f->grid(2)->Columns().GetItem(2)->Header(), QStringLiteral("Chiave"));
    // Later changes reach the made window at once.
    m_state.Language_Table[kTab] = QStringLiteral("Tab 2");
    f->Set_Lang();
    EXPECT_EQ(f->pageControl()->tabText(0), QStringLiteral("Tab 2"));
    f->hide();
    f->show();
    EXPECT_EQ(f->builtCalls, 1);
}

TEST_F(RuleEditorFrameWindow, RowObjectsAndAGrowingTableFollowTheWindowsRowTools)
{
    RuleTableSpec t = smallTable("T", 2);
    t.maxRowCount = 4;
    auto f = make(oneGridNames(), smallFile({t}));
    f->show();
    TRuleGrid* g = f->grid(0);
    RuleTable& table = f->model()->file().tables[0];
    g->SetCellEx(2, 1, QStringLiteral("a"));
    g->SetCellEx(2, 2, QStringLiteral("b"));
    table.setRowObject(1, QVariant(1));
    table.setRowObject(2, QVariant(2));
    g->MoveCurrentCell(1, 1, true, true);
    click(*f, "Btn_InsRow");  // the last row holds "b": the table grows instead of asking
    EXPECT_TRUE(m_dialogs.messages.empty());
    EXPECT_EQ(g->RowCount(), 4);
    EXPECT_EQ(g->GetCellEx(2, 3), QStringLiteral("b"));
    EXPECT_EQ(table.rowObject(3), QVariant(2));
    EXPECT_EQ(table.rowObject(1), QVariant());
    m_dialogs.messageAnswers = {mrYes};
    g->MoveCurrentCell(1, 2, true, true);
    click(*f, "Btn_DelRow");
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("b"));
    EXPECT_EQ(table.rowObject(2), QVariant(2));
}

TEST_F(RuleEditorFrameWindow, EventsButtonsAndFocusAsTheEditorGivesThem)
{
    RuleEditorNames names = oneGridNames();
    names.gridEvents = {RuleGridEvents{false, false}};
    names.rowTools = {true, true, false, false};
    names.extraButtons = {{"Btn_More", kExtra, kExtra}};
    names.focusGrid = 0;
    RuleTableSpec t = smallTable("T", 3);
    t.columns[3].width = 123;
    t.columns[3].colour = 0x00FFFF;
    auto f = make(names, smallFile({t}));
    m_state.Opt_Jump_Field_Tables = true;
    m_state.Opt_Double_Click_Auto_Size = true;
    QApplication::setActiveWindow(f.get());
    f->show();
    TRuleGrid* g = f->grid(0);
    EXPECT_TRUE(g->hasFocus() || QApplication::focusWidget() == g || f->focusWidget() == g);
    // No row select, no Enter jump.
    f->ClickCell(g, 2, 0);
    EXPECT_EQ(g->Selection().Top, g->Selection().Bottom);
    EXPECT_NE(g->Selection().Right, g->ColCount() - 1);
    char16_t key = 13;
    f->KeyPress(g, key);
    EXPECT_EQ(key, 13);
    // The Value column's double click is the editor's; the header's still sizes.
    f->DblClickCell(g, 2, 3);
    EXPECT_EQ(f->doubleClicks, QList<QPoint>({QPoint(3, 2)}));
    f->DblClickCell(g, 2, 2);
    EXPECT_EQ(f->doubleClicks.size(), 1);
    // Copy and Paste are not on this window; the extra button is, with its texts.
    EXPECT_FALSE(f->Btn_CopyRow->isVisible());
    EXPECT_FALSE(f->Btn_PasteRow->isVisible());
    // Width and colour of the Value column as the descriptor gives them.
    EXPECT_EQ(g->Columns().GetItem(3)->Width(), 123);
    EXPECT_EQ(g->Columns().GetItem(3)->Color(), TColor(0x00FFFF));
    // A typed cell's end of edit reaches the editor with its real column.
    g->setFocus();
    g->MoveCurrentCell(3, 2, true, true);
    QTest::keyClicks(g, QStringLiteral("7"));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(g->GetCellEx(3, 2), QStringLiteral("7"));
    EXPECT_EQ(f->editsDone, QList<QPoint>({QPoint(3, 2)}));
    TLbButton* more = f->extraButton("Btn_More");
    ASSERT_NE(more, nullptr);
    EXPECT_EQ(more->text(), QStringLiteral("More"));
    click(*f, "Btn_More");
    EXPECT_EQ(f->extraClicks, 1);
}

TEST_F(RuleEditorFrameWindow, StringGridShowsEnableAsRealBoxesAndWritesTheirState)
{
    ASSERT_TRUE(test::writeFile(path("rules.xml"),
                                "<Root><T><row Enable=\"N\" Key=\"a\" Value=\"1\"/>"
                                "<row Enable=\"y\" Key=\"b\" Value=\"2\"/></T></Root>"));
    RuleEditorNames names = oneGridNames();
    names.grids = {"ESG_One"};
    names.stringGrids = {true};
    auto f = make(names, smallFile({smallTable("T", 3)}));
    f->show();
    EXPECT_EQ(f->grid(0), nullptr);
    TExtStringGrid* g = f->gridOf(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->objectName(), QStringLiteral("ESG_One"));
    EXPECT_EQ(g->GetCellEx(2, 0), QStringLiteral("Key"));
    bool state = true;
    ASSERT_TRUE(g->GetCheckBoxState(1, 1, state));
    EXPECT_FALSE(state);
    ASSERT_TRUE(g->GetCheckBoxState(1, 2, state));
    EXPECT_TRUE(state);  // on unless exactly "N"
    // Insert through the window: the boxes move with their rows, the new row's is on.
    g->MoveCurrentCell(1, 1, true, true);
    click(*f, "Btn_InsRow");
    ASSERT_TRUE(g->GetCheckBoxState(1, 1, state));
    EXPECT_TRUE(state);
    ASSERT_TRUE(g->GetCheckBoxState(1, 2, state));
    EXPECT_FALSE(state);
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("a"));
    g->SetCellEx(2, 1, QStringLiteral("n"));
    g->SetCellEx(3, 1, QStringLiteral("3"));
    g->SetCheckBoxState(1, 3, false);
    click(*f, "Btn_OK");
    ASSERT_EQ(f->result(), mrOk);
    EXPECT_EQ(test::readFile(path("rules.xml")),
              "<Root>\n  <T>\n    <row Enable=\"Y\" Key=\"n\" Value=\"3\"/>\n"
              "    <row Enable=\"N\" Key=\"a\" Value=\"1\"/>\n"
              "    <row Enable=\"N\" Key=\"b\" Value=\"2\"/>\n  </T>\n</Root>\n"
              "<!--SW_VERSION = 1.000-->\n");
}

TEST_F(RuleEditorFrameWindow, ColumnGridCentresItsCheckBoxColumns)
{
    auto f = make(oneGridNames(), smallFile({smallTable("T", 3)}));
    f->show();
    TRuleGrid* g = f->grid(0);
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->Columns().GetItem(1)->Alignment(), TAlignment::taCenter);
    EXPECT_EQ(g->Columns().GetItem(2)->Alignment(), TAlignment::taLeftJustify);
}

// A string grid has no column items: the columns' colours and the centred boxes go on every
// cell below the header.
TEST_F(RuleEditorFrameWindow, StringGridColoursItsCellsAndCentresItsBoxes)
{
    RuleEditorNames names = oneGridNames();
    names.grids = {"ESG_One"};
    names.stringGrids = {true};
    RuleTableSpec t = smallTable("T", 3);
    t.columns[3].colour = 0xA8FFA8;
    auto f = make(names, smallFile({t}));
    f->show();
    TExtStringGrid* g = f->gridOf(0);
    ASSERT_NE(g, nullptr);
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(g->GetColors(3, r), TColor(0xA8FFA8)) << r;
        EXPECT_EQ(g->GetAlignments(1, r), TAlignment::taCenter) << r;
    }
    EXPECT_NE(g->GetColors(3, 0), TColor(0xA8FFA8));
    EXPECT_NE(g->GetColors(2, 1), TColor(0xA8FFA8));
    EXPECT_NE(g->GetAlignments(2, 1), TAlignment::taCenter);
}

// A string grid's read-only cells, locked by the editor as the user types, move with their
// rows: Insert makes the new row editable, Delete leaves the emptied last row read-only (the
// table's option) until a row moves into it.
TEST_F(RuleEditorFrameWindow, StringGridRowToolsMoveTheReadOnlyCells)
{
    RuleEditorNames names = oneGridNames();
    names.grids = {"ESG_One"};
    names.stringGrids = {true};
    RuleTableSpec t = smallTable("T", 4);
    t.lockEmptiedRow = true;
    auto f = make(names, smallFile({t}));
    f->show();
    TExtStringGrid* g = f->gridOf(0);
    ASSERT_NE(g, nullptr);
    for (int r = 1; r <= 3; ++r)
        g->SetCellEx(2, r, QString::number(r));
    g->SetReadOnly(3, 1, true);
    g->SetReadOnly(3, 2, true);
    auto readOnly = [&](int c) {
        QString out;
        for (int r = 1; r <= 4; ++r)
            out += g->GetReadOnly(c, r) ? u'R' : u'-';
        return out;
    };
    g->MoveCurrentCell(1, 2, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(readOnly(3), QStringLiteral("R-R-"));
    EXPECT_EQ(g->GetCellEx(2, 3), QStringLiteral("2"));

    g->MoveCurrentCell(1, 1, true, true);
    m_dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_DelRow");
    EXPECT_EQ(readOnly(3), QStringLiteral("-R-R"));
    EXPECT_EQ(readOnly(2), QStringLiteral("---R"));
    EXPECT_EQ(g->GetCellEx(2, 2), QStringLiteral("2"));

    g->MoveCurrentCell(1, 3, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(readOnly(2), QStringLiteral("----"));
    EXPECT_EQ(readOnly(3), QStringLiteral("-R--"));
}

TEST_F(RuleEditorFrameWindow, ComboWithFreeTextTakesItsItemsAtEachOpening)
{
    RuleTableSpec t = smallTable("T", 2);
    t.columns[3] = comboEdit(u"Value", 0, {"1", "2"});
    auto f = make(oneGridNames(), smallFile({t}));
    f->show();
    const TGridColumnItem* item = f->grid(0)->Columns().GetItem(3);
    EXPECT_EQ(item->Editor(), TEditorType::edComboEdit);
    EXPECT_EQ(item->ComboItems(), QStringList({"1", "2"}));
    f->m_spec.tables[0].columns[3].items = {"7", "8", "9"};
    f->hide();
    f->show();
    EXPECT_EQ(f->grid(0)->Columns().GetItem(3)->ComboItems(), QStringList({"7", "8", "9"}));
}

struct PlaceCase {
    const char* name;
    QSize wanted;
    QRect available;
    QRect placed;
};

const PlaceCase kPlaceCases[] = {
    {"FitsCentred", {800, 600}, {0, 0, 1280, 1024}, {240, 212, 800, 600}},
    {"WiderShrunkToTheWidth", {1350, 640}, {0, 0, 1280, 984}, {0, 172, 1280, 640}},
    {"TallerShrunk", {600, 900}, {0, 30, 1024, 738}, {212, 30, 600, 738}},
    {"SecondScreenOffset", {1350, 640}, {1280, 0, 1024, 768}, {1280, 64, 1024, 640}},
};

class RuleEditorPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(RuleEditorPlace, CentredWithinTheAvailableAreaAndNeverLarger)
{
    EXPECT_EQ(placeWithin(GetParam().wanted, GetParam().available), GetParam().placed);
}

INSTANTIATE_TEST_SUITE_P(Cases, RuleEditorPlace, ::testing::ValuesIn(kPlaceCases),
                         test::CaseName());

TEST_F(RuleEditorFrameWindow, WindowWiderThanTheScreenOpensInsideIt)
{
    RuleEditorNames names = oneGridNames();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    names.clientWidth = available.width() + 500;
    names.clientHeight = available.height() + 300;
    auto f = make(names, smallFile({smallTable("T", 3)}));
    f->show();
    EXPECT_TRUE(available.contains(f->frameGeometry()))
        << f->frameGeometry().x() << "," << f->frameGeometry().width();
    EXPECT_LT(f->width(), names.clientWidth);
}

TEST(RuleEditorQuestion, EnterOnAYesNoQuestionAnswersNo)
{
    QtUserDialogs dialogs;
    bool defaultWasNo = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        defaultWasNo = box->defaultButton() != nullptr
                       && box->defaultButton() == box->button(QMessageBox::No);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(dialogs.askYesNo(QStringLiteral("Saving will replace the file. Save?")));
    EXPECT_TRUE(defaultWasNo);
}

// An editor that records every grid hook it is passed, over a table whose hidden column
// (Spare) makes display and real columns differ: a hook given the display column names the
// wrong attribute.
class HookEditor final : public TRuleEditorFrame {
public:
    struct Call {
        int table, ACol, ARow;
        QString what;
        bool operator==(const Call&) const = default;
    };

    HookEditor(const RuleEditorContext& ctx, RuleEditorNames names, RuleFileSpec spec, QString file)
        : TRuleEditorFrame(ctx, std::move(names), spec, nullptr), m_spec(std::move(spec)),
          m_file(std::move(file))
    {
    }

    QString attribute(int ACol) const { return m_spec.tables[0].columns[ACol].attribute; }
    RuleFileSpec m_spec;
    QString m_file;
    QList<Call> calls;
    QList<QPoint> editorAsked;  // (real column, row) of each editor-type question

protected:
    RuleFileSpec prepareOpening() override { return m_spec; }
    QString filePath() const override { return m_file; }
    // Value is read-only on row 2: the editor's answer must win over the column's.
    void editorType(int, int ACol, int ARow, TEditorType& AEditor) override
    {
        editorAsked.append(QPoint(ACol, ARow));
        if (attribute(ACol) == QLatin1String("Value") && ARow == 2)
            AEditor = TEditorType::edNone;
    }
    void comboChange(int table, int ACol, int ARow, int, const QString& ASelection) override
    {
        calls.append({table, ACol, ARow, QStringLiteral("combo ") + ASelection});
    }
    void editCellDone(int table, int ACol, int ARow) override
    {
        calls.append({table, ACol, ARow, QStringLiteral("done")});
    }
    void checkBoxClick(int table, int ACol, int ARow, bool State) override
    {
        calls.append({table, ACol, ARow, State ? QStringLiteral("on") : QStringLiteral("off")});
    }
    bool cellDoubleClick(int table, int ACol, int ARow) override
    {
        calls.append({table, ACol, ARow, QStringLiteral("dbl ") + attribute(ACol)});
        return true;
    }
    void cellHint(int table, int ACol, int ARow, QString& hint) override
    {
        hint = QStringLiteral("%1/%2/%3 %4").arg(table).arg(ACol).arg(ARow).arg(attribute(ACol));
    }
};

void PrintTo(const HookEditor::Call& c, std::ostream* os)
{
    *os << c.table << "/" << c.ACol << "/" << c.ARow << " " << c.what.toStdString();
}

class RuleEditorHooks : public RuleEditorFrameWindow {
protected:
    static constexpr int kButtonCaptions = 6380, kButtonHints = 6386;             // six each
    static constexpr int kSpare = 2, kKey = 3, kMode = 4, kFlag = 5, kValue = 6;  // real columns

    std::unique_ptr<HookEditor> makeHooked(bool stringGrid)
    {
        RuleTableSpec t;
        t.element = QStringLiteral("T");
        t.rowCount = 4;
        t.keyAttribute = QStringLiteral("Key");
        t.columns = {numberColumn(0),
                     enableColumn(0),
                     column(u"Spare", 0),
                     column(u"Key", kHeader),
                     comboEdit(u"Mode", 0, {"A", "B"}),
                     column(u"Flag", 0, RuleColumnKind::CheckBox),
                     column(u"Value", 0)};
        t.columns[kSpare].hidden = true;
        RuleEditorNames names = oneGridNames();
        names.editorTypeHook = true;
        if (stringGrid) {
            names.grids = {"ESG_One"};
            names.stringGrids = {true};
        }
        // Delete Row takes its own caption and hint; the other buttons keep the layout's.
        names.buttonCaptions[2] = kExtra;
        names.buttonHints[2] = kBadValue;
        RuleFileSpec spec = smallFile({t});
        spec.buttonCaptionText = kButtonCaptions;
        spec.buttonHintText = kButtonHints;
        auto f = std::make_unique<HookEditor>(context(), names, spec, path("rules.xml"));
        QApplication::setActiveWindow(f.get());
        f->show();
        return f;
    }
    // Types into the cell as a user would and ends the edit with Enter.
    static void typeInto(TExtStringGrid& g, int ACol, int ARow, const QString& text)
    {
        g.setFocus();
        g.MoveCurrentCell(g.DisplColIndex(ACol), ARow, true, true);
        QTest::keyClicks(&g, text);
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus ? focus : &g, Qt::Key_Return);
        QApplication::processEvents();
    }
    static QPoint centreOf(const TExtStringGrid& g, int ACol, int ARow)
    {
        const TRect r = g.CellRect(g.DisplColIndex(ACol), ARow);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

TEST_F(RuleEditorHooks, EditorTypeAndEndOfEditReachTheEditorWithTheRealColumn)
{
    auto f = makeHooked(false);
    TRuleGrid* g = f->grid(0);
    typeInto(*g, kValue, 1, QStringLiteral("5"));
    EXPECT_EQ(g->GetCellEx(kValue, 1), QStringLiteral("5"));
    EXPECT_TRUE(f->editorAsked.contains(QPoint(kValue, 1)));
    EXPECT_EQ(f->calls, QList<HookEditor::Call>({{0, kValue, 1, QStringLiteral("done")}}));
    // The editor's edNone makes the cell read-only, though its column has a text editor.
    f->calls.clear();
    typeInto(*g, kValue, 2, QStringLiteral("6"));
    EXPECT_TRUE(f->editorAsked.contains(QPoint(kValue, 2)));
    EXPECT_EQ(g->GetCellEx(kValue, 2), QString());
    EXPECT_TRUE(f->calls.isEmpty());
}

TEST_F(RuleEditorHooks, TypingInTheComboReportsItsTextForTheRealColumn)
{
    auto f = makeHooked(false);
    TRuleGrid* g = f->grid(0);
    typeInto(*g, kMode, 1, QStringLiteral("B"));
    EXPECT_EQ(g->GetCellEx(kMode, 1), QStringLiteral("B"));
    ASSERT_FALSE(f->calls.isEmpty());
    EXPECT_EQ(f->calls.front(), (HookEditor::Call{0, kMode, 1, QStringLiteral("combo B")}));
    EXPECT_EQ(f->calls.back(), (HookEditor::Call{0, kMode, 1, QStringLiteral("done")}));
}

TEST_F(RuleEditorHooks, DoubleClickOnACellIsTheEditorsWithItsRealColumn)
{
    auto f = makeHooked(false);
    TRuleGrid* g = f->grid(0);
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, centreOf(*g, kValue, 3));
    QApplication::processEvents();
    ASSERT_FALSE(f->calls.isEmpty());
    EXPECT_EQ(f->calls.front(), (HookEditor::Call{0, kValue, 3, QStringLiteral("dbl Value")}));
}

TEST_F(RuleEditorHooks, CheckBoxClickAndSpaceReportTheRealColumnAndTheNewState)
{
    auto f = makeHooked(true);
    TExtStringGrid* g = f->gridOf(0);
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, centreOf(*g, kFlag, 2));
    QApplication::processEvents();
    bool state = true;
    ASSERT_TRUE(g->GetCheckBoxState(kFlag, 2, state));
    EXPECT_FALSE(state);  // on at opening (the cell is not "N"), off after the click
    g->setFocus();
    g->MoveCurrentCell(g->DisplColIndex(kFlag), 3, true, true);
    QTest::keyClick(g, Qt::Key_Space);
    QApplication::processEvents();
    EXPECT_EQ(f->calls, QList<HookEditor::Call>({{0, kFlag, 2, QStringLiteral("off")},
                                                 {0, kFlag, 3, QStringLiteral("off")}}));
}

TEST_F(RuleEditorHooks, ButtonTextNumbersOfTheEditorReachCaptionAndHint)
{
    m_state.Language_Table[kExtra] = QStringLiteral("Remove");
    auto f = makeHooked(false);
    EXPECT_EQ(f->Btn_DelRow->text(), QStringLiteral("Remove"));
    EXPECT_EQ(f->Btn_DelRow->toolTip(), QStringLiteral(" bad value"));
    // A language table override reaches the buttons that keep the layout's numbers.
    m_state.Language_Table[kButtonCaptions + 3] = QStringLiteral("Nuova riga");
    m_state.Language_Table[kButtonHints + 3] = QStringLiteral("Inserisce");
    m_state.Language_Table[kExtra] = QStringLiteral("Togli");
    f->Set_Lang();
    EXPECT_EQ(f->Btn_InsRow->text(), QStringLiteral("Nuova riga"));
    EXPECT_EQ(f->Btn_InsRow->toolTip(), QStringLiteral("Inserisce"));
    EXPECT_EQ(f->Btn_DelRow->text(), QStringLiteral("Togli"));
}

// A data cell's hint is the editor's, asked with the real column; the header row keeps the
// hint lists and column 0 has none.
TEST_F(RuleEditorHooks, DataCellHintIsTheEditorsWithTheRealColumn)
{
    auto f = makeHooked(false);
    TRuleGrid* g = f->grid(0);
    QString hint = QStringLiteral("stale");
    f->GridHint(g, 2, g->DisplColIndex(kValue), hint);
    EXPECT_EQ(hint, QStringLiteral("0/6/2 Value"));
    hint = QStringLiteral("stale");
    f->GridHint(g, 2, 0, hint);
    EXPECT_EQ(hint, QString());
    hint = QStringLiteral("stale");
    f->GridHint(g, 0, g->DisplColIndex(kValue), hint);
    EXPECT_EQ(hint, QString());  // the table shows no header hints
}

// A grid without the frame's double-click hook keeps its column widths on a header double
// click, though the option is on.
TEST_F(RuleEditorFrameWindow, HeaderDoubleClickSizesOnlyGridsThatTakeIt)
{
    m_state.Opt_Double_Click_Auto_Size = true;
    for (const bool takes : {true, false}) {
        RuleEditorNames names = oneGridNames();
        RuleGridEvents events;
        events.autoSizeOnDoubleClick = takes;
        names.gridEvents = {events};
        RuleTableSpec t = smallTable("T", 3);
        t.columns[3].width = 300;
        auto f = make(names, smallFile({t}));
        f->show();
        TRuleGrid* g = f->grid(0);
        f->DblClickCell(g, 0, 3);
        EXPECT_EQ(g->Columns().GetItem(3)->Width() != 300, takes) << takes;
    }
}

}  // namespace
}  // namespace zfw
