#include "shell/ShellTestFixture.h"
#include "shell/UNew_Project.h"
#include "shell/UOpenConf.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace zfw {
namespace {

const char kNotValid[] = "Error! Name project is not valid";
const char kExists[] = "Error! Name project is not valid because directory already exists";
const char kEmpty[] = "Error! Name Project is not valid";

class Projects : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        w = start();
        newForm = dynamic_cast<TFNew_Project*>(w->forms().form(FormId::TFNew_Project));
        openForm = dynamic_cast<TFOpenConf*>(w->forms().form(FormId::TFOpenConf));
        ASSERT_NE(newForm, nullptr);
        ASSERT_NE(openForm, nullptr);
    }

    // New Configuration with name typed and confirmed with Enter; the dialog's outcome.
    TModalResult createProject(const QString& name, bool* stillOpen = nullptr)
    {
        TModalResult result = mrNone;
        fakes.dialogs.onShowModal = [&](QDialog& d) {
            return playModal(
                d,
                [&] {
                    QTest::keyClicks(newForm->E_New_Proj, name);
                    QTest::keyClick(newForm->E_New_Proj, Qt::Key_Return);
                },
                stillOpen);
        };
        w->Btn_Click(w->Btn_New);
        result = newForm->result() == 0 ? mrCancel : modalResultOf(newForm->result());
        return result;
    }

    // Open Configuration: act plays the user; the window's Name_Conf is what OK returns.
    void openProject(const std::function<TModalResult()>& act)
    {
        fakes.dialogs.onShowModal = [&](QDialog& d) {
            d.show();
            const TModalResult r = act();
            d.hide();
            return r;
        };
        w->Btn_Click(w->Btn_Open);
    }

    QStringList messageTexts() const
    {
        QStringList texts;
        for (const auto& m : fakes.dialogs.messages)
            texts << m.text;
        return texts;
    }

    std::unique_ptr<TFZandovericoFirmWare> w;
    TFNew_Project* newForm = nullptr;
    TFOpenConf* openForm = nullptr;
};

TEST_F(Projects, NewCreatesTheFolderWithBinAndActivatesIt)
{
    bool stillOpen = true;
    EXPECT_EQ(createProject(QStringLiteral("Plant 1"), &stillOpen), mrOk);
    EXPECT_FALSE(stillOpen);
    // Enter ran the OK action once: a second run would have found the folder and complained.
    EXPECT_TRUE(fakes.dialogs.messages.empty()) << messageTexts().join(u'|').toStdString();
    const ProgramState& s = programState();
    EXPECT_TRUE(QDir(path(QStringLiteral("PROJECTS/Plant 1/bin"))).exists());
    EXPECT_EQ(s.Project_Name, QStringLiteral("Plant 1"));
    EXPECT_EQ(s.Dir_Project, path(QStringLiteral("PROJECTS/Plant 1")));
    EXPECT_EQ(s.File_ParGen, path(QStringLiteral("PROJECTS/Plant 1/ParGen.xml")));
    EXPECT_EQ(s.File_SNMP_Trap, path(QStringLiteral("PROJECTS/Plant 1/SNMP_Trap.xml")));
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("Opened Configuration of the Converter : "));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Plant 1"));
}

struct NameBoxCase {
    const char* name;
    QString project;
    bool shortened;
};

void PrintTo(const NameBoxCase& c, std::ostream* os) { *os << c.name; }

// 100 characters: a readable head and tail around a long middle.
const QString kLongName = QStringLiteral("Head of the name ") + QString(78, QLatin1Char('m'))
                          + QStringLiteral(" tail");

const NameBoxCase kNameBoxes[] = {
    {"shortNameWhole", QStringLiteral("Plant 1"), false},
    {"hundredCharactersShortenedInTheMiddle", kLongName, true},
};

class NameBox : public Projects, public ::testing::WithParamInterface<NameBoxCase> {};

TEST_P(NameBox, NameStaysInsideTheProjectBoxAndTheTooltipTellsItWhole)
{
    const NameBoxCase& c = GetParam();
    ASSERT_EQ(kLongName.size(), 100);
    ASSERT_EQ(createProject(c.project), mrOk);
    QLabel* line = w->L_Name_Conf_L2;
    const QString shown = line->text();
    if (c.shortened) {
        EXPECT_NE(shown, c.project);
        EXPECT_TRUE(shown.startsWith(QStringLiteral("Head of"))) << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(QStringLiteral(" tail"))) << shown.toStdString();
        EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    } else {
        EXPECT_EQ(shown, c.project);
    }
    // The text keeps the box's left margin on the right, clear of the Info button.
    const int margin = line->x() - w->Shape2->x();
    EXPECT_LE(line->x() + line->fontMetrics().horizontalAdvance(shown),
              w->Shape2->geometry().right() + 1 - margin);
    EXPECT_LE(line->geometry().right(), w->Shape2->geometry().right());
    EXPECT_LT(line->geometry().right(), w->Btn_Info->x());
    for (QWidget* tipped : {static_cast<QWidget*>(w->Shape2), static_cast<QWidget*>(line),
                            static_cast<QWidget*>(w->L_Name_Conf)})
        EXPECT_EQ(tipped->toolTip(), c.project) << tipped->objectName().toStdString();

    // A change of language shows the name the same way; with no project the tooltip goes.
    w->Change_Language();
    EXPECT_EQ(line->text(), shown);
    openProject([&] {
        openForm->Name_Conf.clear();
        return mrOk;
    });
    EXPECT_EQ(line->text(), programState().lang(10));
    EXPECT_TRUE(w->Shape2->toolTip().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Shell, NameBox, ::testing::ValuesIn(kNameBoxes),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Projects, NewEmptiesTheNameAtEveryShowing)
{
    ASSERT_EQ(createProject(QStringLiteral("A")), mrOk);
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        d.show();
        EXPECT_TRUE(newForm->E_New_Proj->text().isEmpty());
        d.hide();
        return mrCancel;
    };
    w->Btn_Click(w->Btn_New);
}

struct RefusedName {
    const char* name;
    QString typed;
    const char* existing;  // entry made in PROJECTS first ("dir/" for a folder), or nullptr
    const char* message;
};

void PrintTo(const RefusedName& c, std::ostream* os) { *os << c.name; }

const RefusedName kRefused[] = {
    {"empty", QString(), nullptr, kEmpty},
    {"sameName", QStringLiteral("Plant 1"), "Plant 1/", kExists},
    {"otherCase", QStringLiteral("PLANT 1"), "plant 1/", kExists},
    {"fileOfThatNameAnyCase", QStringLiteral("Notes"), "NOTES", kNotValid},
    {"parent", QStringLiteral(".."), nullptr, kNotValid},
    {"dot", QStringLiteral("."), nullptr, kNotValid},
    // A hidden folder, which the Open dialog does not list: the project could never be
    // reached again once another was opened.
    {"leadingDot", QStringLiteral(".hidden"), nullptr, kNotValid},
    {"leadingDots", QStringLiteral("..Plant 1"), nullptr, kNotValid},
    {"climbsOut", QStringLiteral("../outside"), nullptr, kNotValid},
    {"climbsOutBackslash", QStringLiteral("..\\outside"), nullptr, kNotValid},
    {"subFolder", QStringLiteral("a/b"), nullptr, kNotValid},
    {"absolute", QStringLiteral("/tmp/x"), nullptr, kNotValid},
    {"reservedCharacter", QStringLiteral("a:b"), nullptr, kNotValid},
    {"wildcard", QStringLiteral("a*"), nullptr, kNotValid},
    {"trailingBlank", QStringLiteral("Plant "), nullptr, kNotValid},
    {"trailingDot", QStringLiteral("Plant."), nullptr, kNotValid},
    {"deviceName", QStringLiteral("con"), nullptr, kNotValid},
    {"deviceWithExtension", QStringLiteral("COM1.xml"), nullptr, kNotValid},
};

class NewRefuses : public Projects, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(NewRefuses, StaysOpenAndChangesNothing)
{
    const RefusedName& c = GetParam();
    makeProject(QStringLiteral("Active"));
    ProgramState& s = programState();
    s.Project_Name = QStringLiteral("Active");
    s.Dir_Project = path(QStringLiteral("PROJECTS/Active"));
    Set_Files(s);
    if (c.existing) {
        const QString e = QLatin1String(c.existing);
        if (e.endsWith(u'/'))
            makeProject(e.chopped(1));
        else
            writeFile(QStringLiteral("PROJECTS/") + e, "x");
    }
    const auto entries = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
    const QStringList before = QDir(path(QStringLiteral("PROJECTS"))).entryList(entries);
    const QStringList beforeRoot = QDir(root()).entryList(entries);

    bool stillOpen = false;
    EXPECT_EQ(createProject(c.typed, &stillOpen), mrCancel);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].text, QLatin1String(c.message));
    EXPECT_EQ(fakes.dialogs.messages[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(QDir(path(QStringLiteral("PROJECTS"))).entryList(entries), before);
    EXPECT_EQ(QDir(root()).entryList(entries), beforeRoot);
    EXPECT_EQ(s.Project_Name, QStringLiteral("Active"));
    EXPECT_EQ(s.File_ParGen, path(QStringLiteral("PROJECTS/Active/ParGen.xml")));
}

INSTANTIATE_TEST_SUITE_P(Cases, NewRefuses, ::testing::ValuesIn(kRefused),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Projects, NewRefusedNameCanBeCorrectedInTheOpenDialog)
{
    makeProject(QStringLiteral("Plant 1"));
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        return playModal(d, [&] {
            newForm->E_New_Proj->setText(QStringLiteral("Plant 1"));
            QTest::mouseClick(newForm->Btn_OK, Qt::LeftButton);
            EXPECT_TRUE(newForm->isVisible());
            newForm->E_New_Proj->setText(QStringLiteral("Plant 2"));
            QTest::mouseClick(newForm->Btn_OK, Qt::LeftButton);
        });
    };
    w->Btn_Click(w->Btn_New);
    EXPECT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(programState().Project_Name, QStringLiteral("Plant 2"));
}

TEST_F(Projects, NewCancelChangesNothing)
{
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        return playModal(d, [&] {
            newForm->E_New_Proj->setText(QStringLiteral("Plant 1"));
            QTest::mouseClick(newForm->Btn_Cancel, Qt::LeftButton);
        });
    };
    w->Btn_Click(w->Btn_New);
    EXPECT_FALSE(QDir(path(QStringLiteral("PROJECTS/Plant 1"))).exists());
    EXPECT_FALSE(programState().isProjectActive());
    EXPECT_TRUE(programState().File_ParGen.isEmpty());
    EXPECT_EQ(w->L_Name_Conf->text(), QStringLiteral("None Configuration Opened "));
}

TEST_F(Projects, NewWithoutWritableProjectsFolderSaysNotValid)
{
    // PROJECTS replaced by a file: the folder cannot be made, whatever the name.
    ASSERT_TRUE(QDir(path(QStringLiteral("PROJECTS"))).removeRecursively());
    writeFile(QStringLiteral("PROJECTS"), "");
    bool stillOpen = false;
    createProject(QStringLiteral("Plant 1"), &stillOpen);
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(fakes.dialogs.messages[0].text, QLatin1String(kNotValid));
    EXPECT_FALSE(programState().isProjectActive());
}

TEST_F(Projects, OpenListsProjectFoldersSortedWithoutCase)
{
    for (const char* n : {"gamma", "Alpha", "beta", "Beta2", ".hidden", "CON", "trail."})
        makeProject(QLatin1String(n));
    writeFile(QStringLiteral("PROJECTS/afile.txt"), "x");
    openProject([&] { return mrCancel; });
    const QStringList expected = {QStringLiteral("Alpha"), QStringLiteral("beta"),
                                  QStringLiteral("Beta2"), QStringLiteral("gamma")};
    EXPECT_EQ(openForm->SL, expected);
    ASSERT_EQ(openForm->ListBox1->count(), 4);
    EXPECT_EQ(openForm->ListBox1->item(1)->text(), QStringLiteral("beta"));
    // No project active: the first line is chosen.
    EXPECT_EQ(openForm->ListBox1->currentRow(), 0);
    EXPECT_EQ(openForm->Name_Conf, QStringLiteral("Alpha"));
    EXPECT_EQ(openForm->Search_Open_Conf(QStringLiteral("BETA")), 1);
    EXPECT_EQ(openForm->Search_Open_Conf(QStringLiteral("delta")), -1);
}

TEST_F(Projects, OpenPreselectsTheActiveProjectInAnyCase)
{
    makeProject(QStringLiteral("Alpha"));
    makeProject(QStringLiteral("Plant 1"));
    ProgramState& s = programState();
    s.Project_Name = QStringLiteral("plant 1");
    s.Dir_Project = joinPath(s.Dir_Projects, QStringLiteral("plant 1"));
    openProject([&] { return mrCancel; });
    EXPECT_EQ(openForm->ListBox1->currentItem()->text(), QStringLiteral("Plant 1"));
    EXPECT_EQ(openForm->Name_Conf, QStringLiteral("Plant 1"));
}

TEST_F(Projects, OpenOkActivatesTheClickedProject)
{
    makeProject(QStringLiteral("Alpha"));
    makeProject(QStringLiteral("Plant 1"));
    openProject([&] {
        QListWidget* list = openForm->ListBox1;
        const QRect r = list->visualItemRect(list->item(1));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
        EXPECT_EQ(openForm->Name_Conf, QStringLiteral("Plant 1"));
        QTest::mouseClick(openForm->Btn_OK, Qt::LeftButton);
        return modalResultOf(openForm->result());
    });
    const ProgramState& s = programState();
    EXPECT_EQ(s.Project_Name, QStringLiteral("Plant 1"));
    EXPECT_EQ(s.Dir_Project, path(QStringLiteral("PROJECTS/Plant 1")));
    EXPECT_EQ(s.File_S7_Protocol, path(QStringLiteral("PROJECTS/Plant 1/S7_Protocol.xml")));
    EXPECT_EQ(w->L_Name_Conf_L2->text(), QStringLiteral("Plant 1"));
}

TEST_F(Projects, OpenCancelChangesNothing)
{
    makeProject(QStringLiteral("Alpha"));
    makeProject(QStringLiteral("Beta"));
    ProgramState& s = programState();
    s.Project_Name = QStringLiteral("Alpha");
    s.Dir_Project = path(QStringLiteral("PROJECTS/Alpha"));
    Set_Files(s);
    openProject([&] {
        openForm->ListBox1->setCurrentRow(1);
        QTest::mouseClick(openForm->Btn_Cancel, Qt::LeftButton);
        return modalResultOf(openForm->result());
    });
    EXPECT_EQ(s.Project_Name, QStringLiteral("Alpha"));
    EXPECT_EQ(s.File_ParGen, path(QStringLiteral("PROJECTS/Alpha/ParGen.xml")));
}

TEST_F(Projects, OpenWithEmptyListAtFirstOpeningLeavesNoProject)
{
    openProject([&] {
        EXPECT_EQ(openForm->ListBox1->count(), 0);
        QTest::mouseClick(openForm->Btn_OK, Qt::LeftButton);
        return modalResultOf(openForm->result());
    });
    EXPECT_FALSE(programState().isProjectActive());
    EXPECT_TRUE(programState().Project_Name.isEmpty());
    EXPECT_TRUE(programState().File_ParGen.isEmpty());
}

TEST_F(Projects, OpenNeverActivatesAFolderThatIsGone)
{
    makeProject(QStringLiteral("Old"));
    auto pressOk = [&] {
        QTest::mouseClick(openForm->Btn_OK, Qt::LeftButton);
        return modalResultOf(openForm->result());
    };
    openProject(pressOk);
    ASSERT_EQ(programState().Project_Name, QStringLiteral("Old"));
    // The list is empty now; OK returns the name of the previous opening.
    ASSERT_TRUE(QDir(path(QStringLiteral("PROJECTS/Old"))).removeRecursively());
    openProject(pressOk);
    EXPECT_EQ(openForm->Name_Conf, QStringLiteral("Old"));
    const ProgramState& s = programState();
    EXPECT_EQ(s.Project_Name, QStringLiteral("Old"));
    EXPECT_EQ(s.Dir_Project, path(QStringLiteral("PROJECTS/Old")));
    EXPECT_TRUE(fakes.dialogs.messages.empty());

    // With another project active, that one stays active.
    makeProject(QStringLiteral("Next"));
    openProject(pressOk);
    ASSERT_EQ(s.Project_Name, QStringLiteral("Next"));
    ASSERT_TRUE(QDir(path(QStringLiteral("PROJECTS/Next"))).removeRecursively());
    openProject([&] {
        openForm->Name_Conf = QStringLiteral("Next");
        return pressOk();
    });
    EXPECT_EQ(s.Project_Name, QStringLiteral("Next"));
}

TEST_F(Projects, OpenedProjectIsRememberedAndReactivated)
{
    makeProject(QStringLiteral("Plant 1"));
    openProject([&] {
        QTest::mouseClick(openForm->Btn_OK, Qt::LeftButton);
        return modalResultOf(openForm->result());
    });
    w->close();
    w.reset();
    resetProgramState();
    w = start();
    EXPECT_EQ(programState().Dir_Project, path(QStringLiteral("PROJECTS/Plant 1")));
}

TEST_F(Projects, DialogSizesAndTexts)
{
    EXPECT_EQ(newForm->size(), QSize(331, 162));
    EXPECT_EQ(openForm->size(), QSize(377, 351));
    EXPECT_EQ(newForm->windowTitle(), QStringLiteral("Create New Configuration"));
    EXPECT_EQ(newForm->Label1->text(), QStringLiteral("Name of the new Configuration"));
    EXPECT_EQ(newForm->Btn_OK->toolTip(), QStringLiteral("Confirm the Name of new Configuration"));
    EXPECT_EQ(newForm->E_New_Proj->toolTip(),
              QStringLiteral("Insert here the name of new configuration"));
    EXPECT_EQ(newForm->L_SW_Code->text(), QStringLiteral("CFK4R89"));
    EXPECT_EQ(openForm->windowTitle(), QStringLiteral("Open Configuration"));
    EXPECT_EQ(openForm->L_SW_Desc->text(), QStringLiteral("Open an Existing Configuration"));
    EXPECT_EQ(openForm->Btn_Cancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(openForm->ListBox1->toolTip(),
              QStringLiteral("Select from this list the configuration to open"));

    programState().Language_Table[102] = QStringLiteral("Nome");
    programState().Language_Table[203] = QStringLiteral("Apri");
    w->Change_Language();
    EXPECT_EQ(newForm->Label1->text(), QStringLiteral("Nome"));
    EXPECT_EQ(openForm->Btn_OK->text(), QStringLiteral("Apri"));
}

}  // namespace
}  // namespace zfw
