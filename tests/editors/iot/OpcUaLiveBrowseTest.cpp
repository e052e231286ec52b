// The browse helper against a real OPC UA server on 127.0.0.1: the test server script is
// started by the test on a free port and ended by its process id. Skipped when the helper is
// not installed (scripts/setup-deps.sh installs it into build/opcua-browse).

#include "editors/iot/UOpcUaHelperBrowser.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString helperDir()
{
    return QDir::cleanPath(QStringLiteral(ZFW_TEST_DATA_DIR "/../../build/opcua-browse"));
}

class LiveBrowse : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QFileInfo::exists(helperDir() + QStringLiteral("/node_modules/node-opcua")))
            GTEST_SKIP() << "browse helper not installed";
        ASSERT_TRUE(m_dir.isValid());
    }

    void TearDown() override { stopServer(); }

    // Starts the test server; its endpoint, or empty when it did not come up in time.
    QString startServer()
    {
        m_server = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("NODE_PATH"), helperDir() + QStringLiteral("/node_modules"));
        m_server->setProcessEnvironment(env);
        m_server->setProcessChannelMode(QProcess::SeparateChannels);
        m_server->start(QStringLiteral("node"),
                        {QStringLiteral(ZFW_TEST_DATA_DIR "/../editors/iot/opcua/test-server.js"),
                         m_dir.filePath(QStringLiteral("pki"))});
        if (!m_server->waitForStarted(10000))
            return {};
        QByteArray out;
        auto listening = [&out] {
            const qsizetype at = out.indexOf("ENDPOINT ");
            return at >= 0 && out.indexOf('\n', at) > at;
        };
        for (int i = 0; i < 120 && !listening() && m_server->state() == QProcess::Running; ++i) {
            m_server->waitForReadyRead(500);
            out += m_server->readAllStandardOutput();
        }
        const qsizetype at = out.indexOf("ENDPOINT ");
        if (at < 0) {
            ADD_FAILURE() << m_server->readAllStandardError().right(2000).toStdString();
            return {};
        }
        return QString::fromUtf8(out.mid(at + 9, out.indexOf('\n', at) - at - 9)).trimmed();
    }

    void stopServer()
    {
        if (!m_server)
            return;
        m_server->kill();  // our own child, by its process id
        m_server->waitForFinished(5000);
        m_server.reset();
    }

    OpcUaBrowseResult browse(const OpcUaBrowseRequest& request)
    {
        QtChildRunner runner;
        OpcUaHelperSetup setup;
        setup.helperDir = helperDir();
        setup.pkiDir = m_dir.filePath(QStringLiteral("pki/client"));
        setup.timeoutMs = 90000;
        OpcUaHelperBrowser browser(setup, runner);
        OpcUaBrowseResult result;
        result.message = QStringLiteral("no answer");
        QEventLoop loop;
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
        guard.start(100000);
        browser.begin(request, [&](OpcUaBrowseResult r) {
            result = std::move(r);
            loop.quit();
        });
        loop.exec();
        return result;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<QProcess> m_server;
};

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const OpcUaBrowsedVariable* named(const OpcUaBrowseResult& r, const char* name)
{
    for (const auto& v : r.variables)
        if (v.displayName == QLatin1String(name))
            return &v;
    return nullptr;
}

TEST_F(LiveBrowse, ListsTypesIdentifiersAndAccessThenFailsCleanly)
{
    const QString endpoint = startServer();
    ASSERT_FALSE(endpoint.isEmpty());
    ASSERT_TRUE(endpoint.startsWith(QStringLiteral("opc.tcp://127.0.0.1:")));
    OpcUaBrowseRequest request;
    request.server_address = endpoint;

    const OpcUaBrowseResult r = browse(request);
    ASSERT_EQ(int(r.status), int(OpcUaBrowseResult::Status::Ok)) << r.message.toStdString();
    ASSERT_FALSE(r.variables.empty());
    const char* types[] = {"Boolean", "SByte",  "Byte",     "Int16",  "UInt16",
                           "Int32",   "UInt32", "Int64",    "UInt64", "Float",
                           "Double",  "String", "DateTime", "Guid",   "ByteString"};
    for (int i = 0; i < 15; ++i) {
        const auto* v = named(r, (std::string("V_") + types[i]).c_str());
        ASSERT_NE(v, nullptr) << types[i];
        EXPECT_EQ(v->dataType, i) << types[i];
        EXPECT_EQ(v->accessLevel, 3) << types[i];
        EXPECT_EQ(v->identifierType, 0);
        EXPECT_EQ(v->numeric, quint32(50000 + i));
    }
    const auto* s = named(r, "ById_String");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->identifierType, 3);
    EXPECT_EQ(s->stringname, QStringLiteral("Tank.Level"));
    EXPECT_EQ(s->accessLevel, 1);
    const auto* g = named(r, "ById_Guid");
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(g->identifierType, 4);
    EXPECT_EQ(opcUaBrowsedNodeId(*g), QStringLiteral("A1B2C3D4-E5F6-A7B8-C9D0-E1F2A3B4C5D6"));
    EXPECT_EQ(g->accessLevel, 2);
    const auto* b = named(r, "ById_Bytes");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->identifierType, 5);
    EXPECT_EQ(b->byteString, QStringLiteral("AAEC"));

    // A user with its password is accepted, a wrong password refused with a message.
    request.user_pass_auth_flag = 1;
    request.username = QStringLiteral("operator");
    request.password = QStringLiteral("s3cret");
    request.security_type = 2;
    request.security_policy = 3;
    const OpcUaBrowseResult secure = browse(request);
    EXPECT_EQ(int(secure.status), int(OpcUaBrowseResult::Status::Ok))
        << secure.message.toStdString();
    request.password = QStringLiteral("wrong");
    const OpcUaBrowseResult refused = browse(request);
    EXPECT_EQ(int(refused.status), int(OpcUaBrowseResult::Status::Failed));
    EXPECT_FALSE(refused.message.isEmpty());

    // A policy the client no longer offers is refused before connecting.
    request.security_policy = 1;
    const OpcUaBrowseResult old = browse(request);
    EXPECT_EQ(int(old.status), int(OpcUaBrowseResult::Status::Failed));
    EXPECT_TRUE(old.message.contains(QStringLiteral("Basic 128 RSA 15")))
        << old.message.toStdString();

    // A stopped server gives a message, no list.
    stopServer();
    OpcUaBrowseRequest gone;
    gone.server_address = endpoint;
    const OpcUaBrowseResult down = browse(gone);
    EXPECT_NE(int(down.status), int(OpcUaBrowseResult::Status::Ok));
    EXPECT_TRUE(down.variables.empty());
    EXPECT_FALSE(down.message.isEmpty());
}

// A user identified by a certificate and its private key, as the server record keeps them
// (PEM texts); the pair is made here with the openssl program.
TEST_F(LiveBrowse, UserCertificateIsAccepted)
{
    const QString openssl = QStandardPaths::findExecutable(QStringLiteral("openssl"));
    if (openssl.isEmpty())
        GTEST_SKIP() << "no openssl program to make a user certificate";
    const QString key = m_dir.filePath(QStringLiteral("user-key.pem"));
    const QString cert = m_dir.filePath(QStringLiteral("user-cert.pem"));
    QProcess make;
    make.start(openssl,
               {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                QStringLiteral("rsa:2048"), QStringLiteral("-nodes"), QStringLiteral("-keyout"),
                key, QStringLiteral("-out"), cert, QStringLiteral("-days"), QStringLiteral("30"),
                QStringLiteral("-subj"), QStringLiteral("/CN=operator")});
    ASSERT_TRUE(make.waitForFinished(30000));
    ASSERT_EQ(make.exitCode(), 0) << make.readAllStandardError().toStdString();
    const QString endpoint = startServer();
    ASSERT_FALSE(endpoint.isEmpty());

    OpcUaBrowseRequest request;
    request.server_address = endpoint;
    request.security_type = 2;
    request.security_policy = 3;
    request.user_pass_auth_flag = 2;
    request.cert = QString::fromUtf8(readAll(cert));
    request.priv_key = QString::fromUtf8(readAll(key));
    const OpcUaBrowseResult r = browse(request);
    ASSERT_EQ(int(r.status), int(OpcUaBrowseResult::Status::Ok)) << r.message.toStdString();
    EXPECT_NE(named(r, "ById_String"), nullptr);
}

TEST(HelperBrowser, HelperThatCannotStartOrAnswersJunkIsReported)
{
    QtChildRunner runner;
    OpcUaHelperSetup setup;
    setup.node = QStringLiteral("/nonexistent/node-program");
    setup.helperDir = QStringLiteral("/nonexistent");
    OpcUaHelperBrowser browser(setup, runner);
    OpcUaBrowseResult result;
    QEventLoop loop;
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    browser.begin(OpcUaBrowseRequest{}, [&](OpcUaBrowseResult r) {
        result = std::move(r);
        loop.quit();
    });
    loop.exec();
    EXPECT_EQ(int(result.status), int(OpcUaBrowseResult::Status::CannotStart));

    ChildRunResult junk;
    junk.status = ChildRunResult::Status::Finished;
    junk.output = "hello\n";
    EXPECT_EQ(int(opcUaBrowseResultOf(junk).status), int(OpcUaBrowseResult::Status::Unusable));
    junk.output = "{\"count\":1}\n{\"ns\":1,\"idType\":0,\"numeric\":5}\n";
    junk.exitCode = 0;
    EXPECT_EQ(int(opcUaBrowseResultOf(junk).status), int(OpcUaBrowseResult::Status::Ok));
    junk.status = ChildRunResult::Status::TimedOut;
    EXPECT_EQ(int(opcUaBrowseResultOf(junk).status), int(OpcUaBrowseResult::Status::TimedOut));
}

}  // namespace
}  // namespace zfw
