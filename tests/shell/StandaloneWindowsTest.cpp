// The About and Options windows made without the main window: with no parent or under a
// plain widget, given only what they need.

#include "common/ULanguage.h"
#include "shell/UAbout.h"
#include "shell/USoftOptions.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/LocalHttpServer.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace zfw {
namespace {

const QUrl kHome(QStringLiteral("http://127.0.0.1:8080/HOME/default.asp?frompg=CFK4R89"));
const QString kDownload = QStringLiteral(
    "http://127.0.0.1:8080/Home/download/download.asp#GWK4R89");

class Standalone : public test::TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        s.Dir_Exe = root();
        s.Dir_Language = path(QStringLiteral("LANGUAGE"));
        s.SW_Code = QString::fromLatin1(Build_SW_Code);
        ASSERT_TRUE(QDir().mkpath(s.Dir_Language));
        Fill_Default_Language(s);
    }

    ShellServices shell(bool withServer, bool withClient)
    {
        ShellServices sh;
        sh.web = MakerWebServer{};
        if (withServer) {
            sh.web.host = QStringLiteral("127.0.0.1");
            sh.web.port = 8080;
        }
        sh.http = withClient ? &http : nullptr;
        sh.urlOpener = &urls;
        return sh;
    }

    // Takes ownership of a window made without a parent; one with a parent is the parent's.
    template <class W>
    W* keep(W* window)
    {
        if (!window->parentWidget())
            m_orphans.emplace_back(window);
        return window;
    }

    test::ScopedFakeServices fakes;
    test::FakeHttpGet http;
    test::FakeUrlOpener urls;
    std::unique_ptr<QWidget> m_parent;
    std::vector<std::unique_ptr<QWidget>> m_orphans;
};

struct ParentCase {
    const char* name;
    bool plainParent;
};

void PrintTo(const ParentCase& c, std::ostream* os) { *os << c.name; }

const ParentCase kParents[] = {
    {"noParent", false},
    {"plainWidget", true},
};

class AnyParent : public Standalone, public ::testing::WithParamInterface<ParentCase> {
protected:
    void SetUp() override
    {
        Standalone::SetUp();
        if (GetParam().plainParent)
            m_parent = std::make_unique<QWidget>();
    }
    QWidget* parent() const { return m_parent.get(); }
};

TEST_P(AnyParent, AboutShowsTheGivenServerAndOpensItsHomePage)
{
    auto* about = keep(new TFAbout(shell(true, false), parent()));
    about->show();
    EXPECT_EQ(about->Label4->text(), QStringLiteral("127.0.0.1:8080"));
    QTest::mouseClick(about->Label4, Qt::LeftButton);
    QTest::mouseClick(about->Image2, Qt::LeftButton);
    ASSERT_EQ(urls.opened.size(), 2u);
    EXPECT_EQ(urls.opened[0], kHome);
    EXPECT_EQ(urls.opened[1], kHome);
    EXPECT_TRUE(fakes.urls.opened.empty());

    // A build without a server shows no address, and the link does nothing.
    about->setShellServices(shell(false, false));
    EXPECT_TRUE(about->Label4->text().isEmpty());
    about->Label4Click();
    EXPECT_EQ(urls.opened.size(), 2u);

    QTest::mouseClick(about->LbButton1, Qt::LeftButton);
    EXPECT_EQ(modalResultOf(about->result()), mrOk);
    EXPECT_FALSE(about->isVisible());
}

TEST_P(AnyParent, OptionsTakeAChosenLanguageThemselves)
{
    ASSERT_TRUE(test::writeFile(path(QStringLiteral("LANGUAGE/Italiano.lng")),
                                "STR300 =Opzioni\nSTR302 =Lingua\n"));
    auto* opt = keep(new TFSoftOptions(shell(false, false), parent()));
    opt->show();
    ASSERT_EQ(opt->SL_Languages, QStringList{QStringLiteral("Italiano.lng")});
    opt->LangClick(1);
    ASSERT_EQ(fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(opt->windowTitle(), QStringLiteral("Opzioni"));
    EXPECT_EQ(opt->PC_Options->tabText(0), QStringLiteral("Lingua"));
    EXPECT_EQ(opt->Language_In_Use, QStringLiteral("Italiano"));
}

TEST_P(AnyParent, OptionsOkStoresTheChoicesAndCloses)
{
    auto* opt = keep(new TFSoftOptions(shell(false, false), parent()));
    opt->show();
    opt->CB_En_Con->setChecked(true);
    opt->CB_Update->setChecked(true);
    QTest::mouseClick(opt->Btn_OK, Qt::LeftButton);
    EXPECT_TRUE(programState().Opt_Enable_Internet);
    EXPECT_TRUE(programState().Opt_Enable_Update);
    EXPECT_EQ(modalResultOf(opt->result()), mrOk);
    EXPECT_FALSE(opt->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Shell, AnyParent, ::testing::ValuesIn(kParents),
                         [](const auto& info) { return std::string(info.param.name); });

// The manual version check of an Options window under a plain widget.
struct CheckCase {
    const char* name;
    bool server;
    bool client;
    const char* reply;  // body of a good reply; nullptr: the request fails
    const char* shown;  // plain text shown; nullptr: the download link
    int requests;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

const CheckCase kChecks[] = {
    {"buildWithoutServer", false, true, "VER. 9.999",
     "The update check is not available in this build", 0},
    {"noClientGiven", true, false, "VER. 9.999", "The update check is not available in this build",
     0},
    {"serverNamesThisVersion", true, true, "VER. 1.002", "No Update Available", 1},
    {"requestFails", true, true, nullptr, "No Update Available", 1},
    {"serverNamesANewerVersion", true, true, "VER. 1.003", nullptr, 1},
};

class ManualCheckAnswer : public Standalone, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(ManualCheckAnswer, ShownUnderAPlainParent)
{
    const CheckCase& c = GetParam();
    http.reply.ok = c.reply != nullptr;
    http.reply.body = c.reply ? QByteArray(c.reply) : QByteArray();
    m_parent = std::make_unique<QWidget>();
    auto* opt = new TFSoftOptions(shell(c.server, c.client), m_parent.get());
    opt->show();
    opt->CB_En_Con->setChecked(true);
    opt->CB_Update->setChecked(true);
    QTest::mouseClick(opt->Btn_Check_Update, Qt::LeftButton);
    ASSERT_TRUE(test::waitUntil([&] { return !opt->LL_Check_Update->isHidden(); }));

    EXPECT_EQ(http.urls.size(), static_cast<size_t>(c.requests));
    if (c.shown) {
        EXPECT_EQ(opt->LL_Check_Update->textFormat(), Qt::PlainText);
        EXPECT_EQ(opt->LL_Check_Update->text(), QString::fromUtf8(c.shown));
        return;
    }
    EXPECT_EQ(opt->LL_Check_Update->textFormat(), Qt::RichText);
    EXPECT_TRUE(opt->LL_Check_Update->text().contains(kDownload));
    emit opt->LL_Check_Update->linkActivated(kDownload);
    ASSERT_EQ(urls.opened.size(), 1u);
    EXPECT_EQ(urls.opened[0], QUrl(kDownload));
}

INSTANTIATE_TEST_SUITE_P(Shell, ManualCheckAnswer, ::testing::ValuesIn(kChecks),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zfw
