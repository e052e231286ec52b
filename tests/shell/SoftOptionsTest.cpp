#include "shell/ShellTestFixture.h"
#include "shell/USoftOptions.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class Options : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("LANGUAGE"))));
    }
    void startApp()
    {
        w = start();
        opt = dynamic_cast<TFSoftOptions*>(w->forms().form(FormId::TFSoftOptions));
        ASSERT_NE(opt, nullptr);
    }
    void addLanguage(const QString& name, const QByteArray& text = "STR0 =x\n")
    {
        writeFile(QStringLiteral("LANGUAGE/") + name, text);
    }
    void addPicture(const QString& name, int size)
    {
        QImage img(size, size, QImage::Format_RGB32);
        img.fill(Qt::red);
        img.setPixelColor(0, size - 1, Qt::white);  // the transparent colour
        ASSERT_TRUE(img.save(path(QStringLiteral("LANGUAGE/") + name), "BMP"));
    }
    // Opens the options from the main window; act plays the user and the window's own
    // result is returned to the main window.
    void openOptions(const std::function<void()>& act)
    {
        fakes.dialogs.onShowModal = [&](QDialog& d) { return playModal(d, act); };
        w->Btn_Click(w->Btn_Opz);
    }
    static void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
    QStringList shownSlotNames() const
    {
        QStringList names;
        for (QLabel* l : opt->L_L)
            if (!l->isHidden())
                names << l->text();
        return names;
    }

    std::unique_ptr<TFZandovericoFirmWare> w;
    TFSoftOptions* opt = nullptr;
};

struct PageCase {
    const char* name;
    int files;
    int nextClicks;
    int prevClicks;
    int page;
    int shownSlots;
    const char* first;  // name in slot 1, or nullptr
    bool prevShown;
    bool nextShown;
    const char* label;
};

void PrintTo(const PageCase& c, std::ostream* os) { *os << c.name; }

const PageCase kPages[] = {
    {"noFiles", 0, 0, 0, 1, 0, nullptr, false, false, "Page 1 / 0"},
    {"oneFile", 1, 0, 0, 1, 1, "Lang01", false, false, "Page 1 / 1"},
    {"sixFiles", 6, 0, 0, 1, 6, "Lang01", false, false, "Page 1 / 1"},
    {"sevenPage1", 7, 0, 0, 1, 6, "Lang01", false, true, "Page 1 / 2"},
    {"sevenPage2", 7, 1, 0, 2, 1, "Lang07", true, false, "Page 2 / 2"},
    {"sevenBackToPage1", 7, 1, 1, 1, 6, "Lang01", false, true, "Page 1 / 2"},
    {"twelvePage2", 12, 1, 0, 2, 6, "Lang07", true, false, "Page 2 / 2"},
    {"thirteenPage3", 13, 2, 0, 3, 1, "Lang13", true, false, "Page 3 / 3"},
};

class LanguagePages : public Options, public ::testing::WithParamInterface<PageCase> {};

TEST_P(LanguagePages, ShowSixToAPage)
{
    const PageCase& c = GetParam();
    for (int i = 1; i <= c.files; ++i)
        addLanguage(QStringLiteral("Lang%1.lng").arg(i, 2, 10, QLatin1Char('0')));
    startApp();
    openOptions([&] {
        for (int i = 0; i < c.nextClicks; ++i)
            click(opt->Btn_Next);
        for (int i = 0; i < c.prevClicks; ++i)
            click(opt->Btn_Prev);
        EXPECT_EQ(opt->Show_Page, c.page);
        EXPECT_EQ(shownSlotNames().size(), c.shownSlots);
        if (c.first) {
            EXPECT_EQ(opt->L_L[0]->text(), QLatin1String(c.first));
        }
        EXPECT_EQ(!opt->Btn_Prev->isHidden(), c.prevShown);
        EXPECT_EQ(!opt->Btn_Next->isHidden(), c.nextShown);
        EXPECT_EQ(opt->L_Page_Lang->text(), QLatin1String(c.label));
        EXPECT_EQ(opt->L_Sel_Lang->text(), QStringLiteral("Selected Language : English"));
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, LanguagePages, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Options, OffersOnlyLoadableLanguageFilesSortedWithoutCase)
{
    addLanguage(QStringLiteral("german.lng"));
    addLanguage(QStringLiteral("English.lng"));
    addLanguage(QStringLiteral("Zulu.lng"));
    addLanguage(QStringLiteral("French.LNG"));  // the loader asks for ".lng" exactly
    addLanguage(QStringLiteral("notes.txt"));
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("LANGUAGE/Folder.lng"))));
    addLanguage(QStringLiteral("Locked.lng"));
    ASSERT_TRUE(QFile::setPermissions(path(QStringLiteral("LANGUAGE/Locked.lng")),
                                      QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    startApp();
    openOptions([] {});
    const QStringList expected = {QStringLiteral("English.lng"), QStringLiteral("german.lng"),
                                  QStringLiteral("Zulu.lng")};
    EXPECT_EQ(opt->SL_Languages, expected);
    EXPECT_EQ(shownSlotNames(), (QStringList{QStringLiteral("English"), QStringLiteral("german"),
                                             QStringLiteral("Zulu")}));
}

TEST_F(Options, FlagIsTheLanguagesPictureElseTheDefaultElseNone)
{
    addLanguage(QStringLiteral("German.lng"));
    addLanguage(QStringLiteral("French.lng"));
    addLanguage(QStringLiteral("Broken.lng"));
    addPicture(QStringLiteral("German.bmp"), 10);
    writeFile(QStringLiteral("LANGUAGE/Broken.bmp"), "not a picture");
    startApp();
    auto flagSize = [&](int slot) { return opt->I_L[slot]->pixmap().size(); };

    openOptions([] {});
    // Broken, French, German: no default picture yet.
    EXPECT_TRUE(opt->I_L[0]->isHidden());
    EXPECT_TRUE(opt->I_L[1]->isHidden());
    EXPECT_FALSE(opt->L_L[1]->isHidden());
    ASSERT_FALSE(opt->I_L[2]->isHidden());
    EXPECT_EQ(flagSize(2), QSize(10, 10));
    // The lower-left colour is see-through; the picture is not scaled.
    EXPECT_EQ(opt->I_L[2]->pixmap().toImage().pixelColor(0, 9).alpha(), 0);
    EXPECT_EQ(opt->I_L[2]->pixmap().toImage().pixelColor(5, 5).alpha(), 255);
    EXPECT_EQ(opt->I_L[2]->size(), QSize(48, 48));

    addPicture(QStringLiteral("DefaultFlag.bmp"), 20);
    openOptions([] {});
    EXPECT_EQ(flagSize(0), QSize(20, 20));
    EXPECT_EQ(flagSize(1), QSize(20, 20));
    EXPECT_EQ(flagSize(2), QSize(10, 10));
}

TEST_F(Options, ChoosingALanguageReloadsEveryWindowButRemembersItOnlyOnOk)
{
    addLanguage(QStringLiteral("German.lng"), "STR15 =Neue Konfiguration\nSTR302 =Sprache\n");
    startApp();
    openOptions([&] {
        click(opt->L_L[0]);
        ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
        EXPECT_EQ(fakes.dialogs.messages[0].text,
                  QStringLiteral("Do you want to change the Language from English to German?"));
        EXPECT_EQ(fakes.dialogs.messages[0].type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(fakes.dialogs.messages[0].buttons, TMsgDlgButtons(mbYes | mbNo));
        EXPECT_EQ(w->Btn_New->text(), QStringLiteral("Neue Konfiguration"));
        EXPECT_EQ(opt->PC_Options->tabText(0), QStringLiteral("Sprache"));
        EXPECT_EQ(opt->L_Sel_Lang->text(), QStringLiteral("Selected Language : German"));
        EXPECT_EQ(programState().Language_Name, QStringLiteral("English"));
        click(opt->Btn_OK);
    });
    EXPECT_EQ(programState().Language_Name, QStringLiteral("German"));
    EXPECT_TRUE(readFile(QStringLiteral("Zandoveric.xml")).contains("<language>German</language>"));
}

TEST_F(Options, LanguageKeptForTheRunWhenCancelled)
{
    addLanguage(QStringLiteral("German.lng"), "STR15 =Neue Konfiguration\n");
    startApp();
    openOptions([&] {
        click(opt->I_L[0]);
        click(opt->Btn_Cancel);
    });
    EXPECT_EQ(w->Btn_New->text(), QStringLiteral("Neue Konfiguration"));
    EXPECT_EQ(programState().Language_Name, QStringLiteral("English"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("Zandoveric.xml"))));
}

TEST_F(Options, AnsweringNoChangesNothing)
{
    addLanguage(QStringLiteral("German.lng"), "STR15 =Neue Konfiguration\n");
    startApp();
    fakes.dialogs.messageAnswers = {mrNo};
    openOptions([&] { click(opt->L_L[0]); });
    EXPECT_EQ(w->Btn_New->text(), QStringLiteral("New Configuration"));
    EXPECT_EQ(opt->Language_In_Use, QStringLiteral("English"));
}

TEST_F(Options, LanguageInUseIsAskedAndReloadedToo)
{
    addLanguage(QStringLiteral("English.lng"), "STR15 =Brand new\n");
    startApp();
    ASSERT_EQ(w->Btn_New->text(), QStringLiteral("Brand new"));
    programState().Language_Table[15] = QStringLiteral("changed in memory");
    openOptions([&] { click(opt->L_L[0]); });
    EXPECT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(w->Btn_New->text(), QStringLiteral("Brand new"));
}

TEST_F(Options, LanguageRemovedAfterListingFallsBackToEnglishAndSaysSo)
{
    addLanguage(QStringLiteral("German.lng"), "STR15 =Neue Konfiguration\n");
    startApp();
    openOptions([&] {
        ASSERT_TRUE(QFile::remove(path(QStringLiteral("LANGUAGE/German.lng"))));
        click(opt->L_L[0]);
        EXPECT_EQ(w->Btn_New->text(), QStringLiteral("New Configuration"));
        EXPECT_EQ(opt->Language_In_Use, QStringLiteral("English"));
        EXPECT_EQ(opt->L_Sel_Lang->text(), QStringLiteral("Selected Language : English"));
    });
}

TEST_F(Options, PageLabelSurvivesALanguageChange)
{
    for (int i = 1; i <= 7; ++i)
        addLanguage(QStringLiteral("Lang%1.lng").arg(i));
    startApp();
    openOptions([&] {
        click(opt->Btn_Next);
        click(opt->L_L[0]);
        EXPECT_EQ(opt->L_Page_Lang->text(), QStringLiteral("Page 2 / 2"));
        EXPECT_EQ(opt->L_Sel_Lang->text(), QStringLiteral("Selected Language : Lang7"));
    });
}

struct EnableCase {
    const char* name;
    bool internet;
    bool update;
    bool updateEnabled;
    bool checkEnabled;
};

void PrintTo(const EnableCase& c, std::ostream* os) { *os << c.name; }

const EnableCase kEnable[] = {
    {"bothOff", false, false, false, false},
    {"updateOnly", false, true, false, false},
    {"internetOnly", true, false, true, false},
    {"both", true, true, true, true},
};

class CheckBoxRule : public Options, public ::testing::WithParamInterface<EnableCase> {};

TEST_P(CheckBoxRule, EnablesUpdateAndCheckByTheInternetOption)
{
    const EnableCase& c = GetParam();
    startApp();
    openOptions([&] {
        opt->CB_Update->setChecked(c.update);
        opt->CB_En_Con->setChecked(c.internet);
        EXPECT_EQ(opt->CB_Update->isEnabled(), c.updateEnabled);
        EXPECT_EQ(opt->Btn_Check_Update->isEnabled(), c.checkEnabled);
    });
}

INSTANTIATE_TEST_SUITE_P(Cases, CheckBoxRule, ::testing::ValuesIn(kEnable),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Options, OkStoresTheOptionsSavesThemAndStartsTheTimer)
{
    startApp();
    ASSERT_FALSE(w->Timer_Update->isActive());
    openOptions([&] {
        EXPECT_FALSE(opt->CB_En_Con->isChecked());
        EXPECT_EQ(opt->PC_Options->currentWidget(), opt->TS_Language);
        opt->CB_En_Con->setChecked(true);
        opt->CB_Update->setChecked(true);
        opt->CB_Soft_Set_Jump_Table->setChecked(true);
        click(opt->Btn_OK);
    });
    const ProgramState& s = programState();
    EXPECT_TRUE(s.Opt_Enable_Internet);
    EXPECT_TRUE(s.Opt_Enable_Update);
    EXPECT_TRUE(s.Opt_Jump_Field_Tables);
    EXPECT_FALSE(s.Opt_Double_Click_Auto_Size);
    EXPECT_TRUE(w->Timer_Update->isActive());
    ProgramState r;
    r.Dir_Exe = root();
    Load_Settings(r);
    EXPECT_TRUE(r.Opt_Enable_Internet);
    EXPECT_TRUE(r.Opt_Enable_Update);
    EXPECT_TRUE(r.Opt_Jump_Field_Tables);

    // The next opening shows the stored values; switching the internet off stops the timer.
    openOptions([&] {
        EXPECT_TRUE(opt->CB_Update->isChecked());
        opt->CB_En_Con->setChecked(false);
        click(opt->Btn_OK);
    });
    EXPECT_FALSE(w->Timer_Update->isActive());
    EXPECT_TRUE(programState().Opt_Enable_Update);
}

TEST_F(Options, CancelChangesNeitherSettingsFileNorTimer)
{
    saveSettings([](ProgramState& s) {
        s.Opt_Enable_Internet = true;
        s.Opt_Enable_Update = true;
    });
    const QByteArray before = readFile(QStringLiteral("Zandoveric.xml"));
    startApp();
    ASSERT_TRUE(w->Timer_Update->isActive());
    openOptions([&] {
        opt->CB_En_Con->setChecked(false);
        opt->CB_DoubleClick_Auto_Size->setChecked(true);
        click(opt->Btn_Cancel);
    });
    EXPECT_TRUE(w->Timer_Update->isActive());
    EXPECT_TRUE(programState().Opt_Enable_Internet);
    EXPECT_FALSE(programState().Opt_Double_Click_Auto_Size);
    EXPECT_EQ(readFile(QStringLiteral("Zandoveric.xml")), before);
}

TEST_F(Options, SizeAndTexts)
{
    startApp();
    EXPECT_EQ(opt->size(), QSize(509, 373));
    EXPECT_EQ(opt->windowTitle(), QStringLiteral("Software Options"));
    EXPECT_EQ(opt->PC_Options->count(), 3);
    EXPECT_EQ(opt->PC_Options->tabText(1), QStringLiteral("Connection Options"));
    EXPECT_EQ(opt->PC_Options->tabText(2), QStringLiteral("Software Settings"));
    EXPECT_EQ(opt->CB_Update->text(), QStringLiteral("Check Software Update at Start of Program"));
    EXPECT_EQ(opt->Btn_Check_Update->text(), QStringLiteral("Check Available Update"));
    EXPECT_EQ(opt->Btn_Cancel->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(opt->L_SW_Code->text(), QStringLiteral("CFK4R89"));
    const QPoint imageTops[] = {{24, 40}, {26, 94}, {24, 148}, {254, 40}, {254, 94}, {254, 148}};
    const QPoint labelTops[] = {{80, 56}, {80, 110}, {80, 164}, {310, 56}, {310, 110}, {310, 164}};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(opt->I_L[k]->pos(), imageTops[k]) << k;
        EXPECT_EQ(opt->L_L[k]->pos(), labelTops[k]) << k;
        EXPECT_EQ(opt->I_L[k]->parentWidget(), opt->TS_Language);
    }
}

}  // namespace
}  // namespace zfw
