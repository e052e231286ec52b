#include "platform/Http.h"
#include "shell/ShellTestFixture.h"
#include "shell/USoftOptions.h"
#include "support/LocalHttpServer.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

namespace zfw {
namespace {

using test::LocalHttpServer;
using test::waitUntil;

struct ConvCase {
    const char* name;
    const char* text;
    int number;
};

void PrintTo(const ConvCase& c, std::ostream* os) { *os << c.name; }

const ConvCase kConv[] = {
    {"bare", "1.002", 1002},
    {"withPrefix", "VER. 1.003", 1003},
    {"lowerPrefix", "ver. 1.010", 1010},
    {"blanksAround", "VER.   2.345  ", 2345},
    {"zero", "VER. 0.000", 0},
    {"tooShort", "VER. 2.1", -1},
    {"empty", "", -1},
    {"letters", "VER. 1.0a3", -1},
    {"htmlPage", "<html> <body>Not Found</body></html>", -1},
};

class ConvVersion : public ::testing::TestWithParam<ConvCase> {};

TEST_P(ConvVersion, ReadsTheFourDigits)
{
    EXPECT_EQ(TFSoftOptions::Conv_Version(QString::fromUtf8(GetParam().text)), GetParam().number);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConvVersion, ::testing::ValuesIn(kConv),
                         [](const auto& info) { return std::string(info.param.name); });

struct InterpretCase {
    const char* name;
    const char* reply;
    bool newer;
};

void PrintTo(const InterpretCase& c, std::ostream* os) { *os << c.name; }

const InterpretCase kInterpret[] = {
    {"newer", "VER. 1.003", true},
    {"same", "VER. 1.002", false},
    {"older", "VER. 0.999", false},
    {"lowerCasePrefix", "ver. 1.010", true},
    {"blanksAndLineEnd", "  VER. 1.003 \r\n", true},
    {"unknownCode", "VER. 0.000", false},
    {"unknownCodeLowerCase", "ver. 0.000", false},
    {"empty", "", false},
    {"onlyBlanks", " \r\n", false},
    {"tooShort", "VER. 2.1", false},
    {"htmlErrorPage", "<html><head><title>404 Not Found</title></head></html>", false},
};

class InterpretReply : public ::testing::TestWithParam<InterpretCase> {};

TEST_P(InterpretReply, AgainstVersion1002)
{
    EXPECT_EQ(TFSoftOptions::versionReplyIsNewer(QString::fromUtf8(GetParam().reply),
                                                 QStringLiteral("1.002")),
              GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(Cases, InterpretReply, ::testing::ValuesIn(kInterpret),
                         [](const auto& info) { return std::string(info.param.name); });

struct ReplyCase {
    const char* name;
    QByteArray serverReply;  // raw bytes the server sends
    LocalHttpServer::Mode mode;
    bool newer;
};

void PrintTo(const ReplyCase& c, std::ostream* os) { *os << c.name; }

const ReplyCase kReplies[] = {
    {"newer", LocalHttpServer::reply("VER. 1.003"), LocalHttpServer::Mode::Reply, true},
    {"same", LocalHttpServer::reply("VER. 1.002"), LocalHttpServer::Mode::Reply, false},
    {"older", LocalHttpServer::reply("VER. 1.001"), LocalHttpServer::Mode::Reply, false},
    {"lowerCasePrefix", LocalHttpServer::reply("ver. 1.010"), LocalHttpServer::Mode::Reply, true},
    {"withLineEnd", LocalHttpServer::reply("VER. 2.000\r\n"), LocalHttpServer::Mode::Reply, true},
    {"unknownCode", LocalHttpServer::reply("VER. 0.000"), LocalHttpServer::Mode::Reply, false},
    {"emptyReply", LocalHttpServer::reply(""), LocalHttpServer::Mode::Reply, false},
    {"tooShort", LocalHttpServer::reply("VER. 2.1"), LocalHttpServer::Mode::Reply, false},
    {"htmlPage", LocalHttpServer::reply("<html><body>Sorry</body></html>"),
     LocalHttpServer::Mode::Reply, false},
    {"errorStatus", LocalHttpServer::reply("VER. 9.999", "404 Not Found"),
     LocalHttpServer::Mode::Reply, false},
    {"serverError", LocalHttpServer::reply("VER. 9.999", "500 Internal Server Error"),
     LocalHttpServer::Mode::Reply, false},
    {"hangsUp", "", LocalHttpServer::Mode::HangUp, false},
    {"slowServer", "", LocalHttpServer::Mode::Silent, false},
};

class VersionCheck : public test::ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        w = start();
        opt = dynamic_cast<TFSoftOptions*>(w->forms().form(FormId::TFSoftOptions));
        ASSERT_NE(opt, nullptr);
    }
    void useServer(quint16 port, int timeoutMs = 3000)
    {
        MakerWebServer web;
        web.host = QStringLiteral("127.0.0.1");
        web.port = port;
        web.timeoutMs = timeoutMs;
        w->setMakerWebServer(web);
    }
    // Runs Check_Version and waits for its answer.
    std::optional<bool> check()
    {
        std::optional<bool> result;
        opt->Check_Version([&](VersionAnswer answer) { result = answer == VersionAnswer::Newer; });
        waitUntil([&] { return result.has_value(); }, 10000);
        return result;
    }
    void enableUpdates()
    {
        programState().Opt_Enable_Internet = true;
        programState().Opt_Enable_Update = true;
        w->updateTimer();
    }
    QString downloadUrl(quint16 port) const
    {
        return QStringLiteral("http://127.0.0.1:%1/Home/download/download.asp#GWK4R89").arg(port);
    }

    std::unique_ptr<TFZandovericoFirmWare> w;
    TFSoftOptions* opt = nullptr;
};

class ServerReply : public VersionCheck, public ::testing::WithParamInterface<ReplyCase> {};

TEST_P(ServerReply, DecidesWhetherANewerVersionExists)
{
    const ReplyCase& c = GetParam();
    LocalHttpServer server(c.serverReply, c.mode);
    ASSERT_TRUE(server.isListening());
    useServer(server.port(), 400);
    QElapsedTimer clock;
    clock.start();
    const std::optional<bool> newer = check();
    ASSERT_TRUE(newer.has_value());
    EXPECT_EQ(*newer, c.newer);
    EXPECT_LT(clock.elapsed(), 5000);
    if (c.mode != LocalHttpServer::Mode::HangUp) {
        ASSERT_EQ(server.requests().size(), 1);
        EXPECT_TRUE(server.requests()[0].startsWith(
            "GET /home/download/GetversionSW.asp?nomesw=CFK4R89 HTTP/1.0\r\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ServerReply, ::testing::ValuesIn(kReplies),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(VersionCheck, NoServerMeansNoNewerVersion)
{
    useServer(LocalHttpServer::closedPort());
    const std::optional<bool> newer = check();
    ASSERT_TRUE(newer.has_value());
    EXPECT_FALSE(*newer);
}

using FakeHttp = test::FakeHttpGet;

TEST_F(VersionCheck, RequestOfTheBuildIsBoundedToFifteenSeconds)
{
    auto http = std::make_unique<FakeHttp>();
    FakeHttp* fake = http.get();
    fake->reply.ok = true;
    fake->reply.body = "VER. 1.003";
    w->setHttpClient(std::move(http));
    MakerWebServer web = defaultMakerWebServer();
    web.host = QStringLiteral("www.example.test");  // answered by the fake, never contacted
    w->setMakerWebServer(web);
    const std::optional<bool> newer = check();
    ASSERT_TRUE(newer.has_value());
    EXPECT_TRUE(*newer);
    ASSERT_EQ(fake->urls.size(), 1u);
    EXPECT_EQ(fake->urls[0],
              QUrl(QStringLiteral(
                  "http://www.example.test/home/download/GetversionSW.asp?nomesw=CFK4R89")));
    EXPECT_EQ(fake->timeouts[0], 15000);
}

TEST_F(VersionCheck, BuildWithoutServerSendsNothing)
{
    LocalHttpServer server(LocalHttpServer::reply("VER. 1.003"));
    w->setMakerWebServer(MakerWebServer{});
    const std::optional<bool> newer = check();
    ASSERT_TRUE(newer.has_value());
    EXPECT_FALSE(*newer);
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(VersionCheck, TimerShowsTheLinkWithoutBlockingAndWaitsTwoHours)
{
    LocalHttpServer server(LocalHttpServer::reply("VER. 1.003"));
    useServer(server.port());
    enableUpdates();
    ASSERT_TRUE(w->Timer_Update->isActive());
    ASSERT_EQ(w->Timer_Update->interval(), 60000);

    w->Timer_UpdateTimer();
    // The request is under way; nothing has been decided yet and the timer is off meanwhile.
    EXPECT_FALSE(w->Timer_Update->isActive());
    EXPECT_TRUE(w->LL_Update->isHidden());

    ASSERT_TRUE(waitUntil([&] { return w->Timer_Update->isActive(); }));
    EXPECT_FALSE(w->LL_Update->isHidden());
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);
    EXPECT_EQ(w->LL_Update->text(),
              QStringLiteral(
                  "<a href=\"%1\">New Version Available. Click Here for more Details</a>")
                  .arg(downloadUrl(server.port())));

    emit w->LL_Update->linkActivated(downloadUrl(server.port()));
    ASSERT_EQ(fakes.urls.opened.size(), 1u);
    EXPECT_EQ(fakes.urls.opened[0], QUrl(downloadUrl(server.port())));
}

TEST_F(VersionCheck, TimerHidesTheLinkWhenTheServerIsSilent)
{
    LocalHttpServer server("", LocalHttpServer::Mode::Silent);
    useServer(server.port(), 300);
    enableUpdates();
    w->LL_Update->show();
    w->Timer_UpdateTimer();
    ASSERT_TRUE(waitUntil([&] { return w->Timer_Update->isActive(); }));
    EXPECT_TRUE(w->LL_Update->isHidden());
    EXPECT_EQ(w->Timer_Update->interval(), 7200000);
}

TEST_F(VersionCheck, TimerStaysOffWhenTheOptionsWereSwitchedOffMeanwhile)
{
    LocalHttpServer server(LocalHttpServer::reply("VER. 1.003"));
    useServer(server.port());
    enableUpdates();
    w->Timer_UpdateTimer();
    programState().Opt_Enable_Update = false;
    ASSERT_TRUE(waitUntil([&] { return !w->LL_Update->isHidden(); }));
    EXPECT_FALSE(w->Timer_Update->isActive());
}

TEST_F(VersionCheck, TimerFiresTheCheck)
{
    LocalHttpServer server(LocalHttpServer::reply("VER. 1.003"));
    useServer(server.port());
    enableUpdates();
    w->Timer_Update->setInterval(10);
    ASSERT_TRUE(waitUntil([&] { return !w->LL_Update->isHidden(); }));
    EXPECT_EQ(server.requests().size(), 1);
}

class ManualCheck : public VersionCheck {
protected:
    void checkInOptions(const std::function<void()>& afterAnswer)
    {
        fakes.dialogs.onShowModal = [&](QDialog& d) {
            return playModal(d, [&] {
                EXPECT_TRUE(opt->LL_Check_Update->isHidden());
                opt->PC_Options->setCurrentWidget(opt->TS_Con_Options);
                opt->CB_En_Con->setChecked(true);
                opt->CB_Update->setChecked(true);
                QTest::mouseClick(opt->Btn_Check_Update, Qt::LeftButton);
                ASSERT_TRUE(waitUntil([&] { return !opt->LL_Check_Update->isHidden(); }));
                afterAnswer();
            });
        };
        w->Btn_Click(w->Btn_Opz);
    }
};

TEST_F(ManualCheck, ShowsTheDownloadLink)
{
    LocalHttpServer server(LocalHttpServer::reply("VER. 1.003"));
    useServer(server.port());
    checkInOptions([&] {
        EXPECT_EQ(opt->LL_Check_Update->textFormat(), Qt::RichText);
        EXPECT_TRUE(opt->LL_Check_Update->text().contains(
            QStringLiteral(">New Version Available. Click Here for more Details</a>")));
        emit opt->LL_Check_Update->linkActivated(downloadUrl(server.port()));
    });
    ASSERT_EQ(fakes.urls.opened.size(), 1u);
    EXPECT_EQ(fakes.urls.opened[0], QUrl(downloadUrl(server.port())));
}

TEST_F(ManualCheck, SaysNoUpdateWhenThereIsNoServer)
{
    useServer(LocalHttpServer::closedPort());
    checkInOptions([&] {
        EXPECT_EQ(opt->LL_Check_Update->textFormat(), Qt::PlainText);
        EXPECT_EQ(opt->LL_Check_Update->text(), QStringLiteral("No Update Available"));
    });
}

TEST_F(ManualCheck, AnswerArrivingAfterTheWindowClosedIsDropped)
{
    LocalHttpServer server("", LocalHttpServer::Mode::Silent);
    useServer(server.port(), 200);
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        return playModal(d, [&] {
            opt->CB_En_Con->setChecked(true);
            opt->CB_Update->setChecked(true);
            opt->Btn_Check_UpdateClick();
            QTest::mouseClick(opt->Btn_Cancel, Qt::LeftButton);
        });
    };
    w->Btn_Click(w->Btn_Opz);
    // The options open again before the late answer arrives.
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        return playModal(d, [&] {
            waitUntil([] { return false; }, 500);
            EXPECT_TRUE(opt->LL_Check_Update->isHidden());
        });
    };
    w->Btn_Click(w->Btn_Opz);
}

}  // namespace
}  // namespace zfw
