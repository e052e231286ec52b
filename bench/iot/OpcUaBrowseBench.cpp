// A live browse into the browse window: the test server holding 20,000 variables, started
// here on 127.0.0.1 and ended by its process id, browsed through the helper until the
// window's grid shows every variable (helper start, session, browse, attribute reads, the
// answer read and the grid filled). Needs node and the helper installed by
// scripts/setup-deps.sh; skipped otherwise. Run with QT_QPA_PLATFORM=offscreen (set when unset).

#include "BenchApp.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "editors/iot/UOPC_UA_Client_Access.h"
#include "editors/iot/UOPC_UA_Scan_Server.h"
#include "editors/iot/UOpcUaHelperBrowser.h"
#include "editors/iot/core/UOpcUaClientFile.h"
#include "grid/ColumnGrid.h"
#include "platform/ChildProcess.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zfw;

constexpr int kVariables = 20000;

using zfw::bench::ensureApp;

// A message box would wait for a user; any shown is an error of the run.
class CountingDialogs final : public IUserDialogs {
public:
    TModalResult messageDlg(const QString& text, TMsgDlgType, TMsgDlgButtons, QWidget*) override
    {
        ++shown;
        last = text;
        return mrOk;
    }
    TModalResult showModal(QDialog&) override { return mrCancel; }
    std::optional<QString> openFileName(const FileDialogRequest&, QWidget*) override
    {
        return std::nullopt;
    }
    std::optional<QString> saveFileName(const FileDialogRequest&, QWidget*) override
    {
        return std::nullopt;
    }
    bool choosePrinter(PrintSetup&, int, QWidget*) override { return false; }
    int shown = 0;
    QString last;
};

// The test server of the browse tests with many variables; its endpoint, or empty with the
// reason in `failure`.
struct TestServer {
    QTemporaryDir dir;
    QProcess process;
    QString endpoint;
    QString failure;

    TestServer(const QString& helperDir, int variables)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("NODE_PATH"), helperDir + QStringLiteral("/node_modules"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("node"),
                      {QStringLiteral(ZFW_SOURCE_DIR "/tests/editors/iot/opcua/test-server.js"),
                       dir.filePath(QStringLiteral("pki")), QString::number(variables)});
        if (!process.waitForStarted(10000)) {
            failure = QStringLiteral("node cannot be started");
            return;
        }
        QByteArray out;
        for (int i = 0; i < 240 && process.state() == QProcess::Running; ++i) {
            process.waitForReadyRead(500);
            out += process.readAllStandardOutput();
            const qsizetype at = out.indexOf("ENDPOINT ");
            const qsizetype end = at < 0 ? -1 : out.indexOf('\n', at);
            if (end > at) {
                endpoint = QString::fromUtf8(out.mid(at + 9, end - at - 9)).trimmed();
                return;
            }
        }
        failure = QStringLiteral("the test server did not come up: ")
                  + QString::fromUtf8(process.readAllStandardError().right(500));
    }

    ~TestServer()
    {
        process.kill();  // our own child, by its process id
        process.waitForFinished(5000);
    }
};

// Runs one browse in the window and waits on the event loop until it has ended.
void browseInto(TFOPC_UA_Scan_Server& window)
{
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!window.browsing())
            loop.quit();
    });
    window.Erase_Table();
    window.Timer_ScanTimer();
    poll.start();
    loop.exec();
}

void BM_BrowseTwentyThousandIntoGrid(benchmark::State& state)
{
    ensureApp();
    const QString helperDir = findOpcUaHelperDir(QCoreApplication::applicationDirPath());
    if (helperDir.isEmpty()
        || !QFileInfo::exists(helperDir + QStringLiteral("/node_modules/node-opcua"))) {
        state.SkipWithError("the browse helper is not installed (scripts/setup-deps.sh)");
        return;
    }
    TestServer server(helperDir, kVariables);
    if (server.endpoint.isEmpty()) {
        state.SkipWithError(server.failure.toStdString().c_str());
        return;
    }
    ProgramState& s = programState();
    Fill_Default_Language(s);
    CountingDialogs dialogs;
    OpcUaHelperSetup setup;
    setup.helperDir = helperDir;
    setup.pkiDir = server.dir.filePath(QStringLiteral("pki/client"));
    QtChildRunner runner;
    OpcUaHelperBrowser browser(setup, runner);
    TFOPC_UA_Scan_Server window(RuleEditorContext{&s, QStringLiteral("CODE"), &dialogs}, &browser);
    window.Server.server_address = server.endpoint;
    // The first browse makes the helper's certificate, once per data folder; not timed.
    browseInto(window);
    for (auto _ : state) {
        browseInto(window);
        const int rows = window.ACG_OPC_UA_Scan_Var->RowCount() - 1;
        if (dialogs.shown != 0 || rows < kVariables) {
            state.SkipWithError(
                ("the grid shows " + std::to_string(rows) + " rows; " + dialogs.last.toStdString())
                    .c_str());
            return;
        }
        state.counters["rows"] = rows;
    }
}
BENCHMARK(BM_BrowseTwentyThousandIntoGrid)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

// Answers every browse at once with the list it was given.
class ListBrowser final : public IOpcUaBrowser {
public:
    explicit ListBrowser(std::vector<OpcUaBrowsedVariable> list) : m_list(std::move(list)) {}
    void begin(const OpcUaBrowseRequest&, std::function<void(OpcUaBrowseResult)> done) override
    {
        OpcUaBrowseResult r;
        r.status = OpcUaBrowseResult::Status::Ok;
        r.variables = m_list;
        done(std::move(r));
    }
    void cancel() override {}

private:
    std::vector<OpcUaBrowsedVariable> m_list;
};

// The editor's side of a big browse, without a server: 20,000 browsed variables taken into
// the read list of a server (the frame's table grows to them and the grid shows them), then
// another server row clicked and the first again, each click taking both grids back into
// their server. Shows what every button costs once a list is that long.
void BM_TakeTwentyThousandIntoEditor(benchmark::State& state)
{
    ensureApp();
    QTemporaryDir dir;
    ProgramState& s = programState();
    Fill_Default_Language(s);
    s.File_OPC_UA_Client = dir.filePath(QStringLiteral("OPC_UA_Client.xml"));
    OpcUaServerList servers;
    for (int i = 0; i < 2; ++i) {
        auto server = std::make_unique<TOPC_UA_Server>();
        server->ServerAddress = QStringLiteral("opc.tcp://127.0.0.1:%1").arg(4840 + i);
        servers.push_back(std::move(server));
    }
    if (!saveOpcUaClientFile(s.File_OPC_UA_Client, servers).ok) {
        state.SkipWithError("cannot write the file");
        return;
    }
    std::vector<OpcUaBrowsedVariable> list(kVariables);
    for (int i = 0; i < kVariables; ++i) {
        list[size_t(i)].displayName = QStringLiteral("M%1").arg(i);
        list[size_t(i)].numeric = quint32(200000 + i);
        list[size_t(i)].dataType = 5;
        list[size_t(i)].accessLevel = 1;
    }
    ListBrowser browser(std::move(list));
    // The browse window browses and closes with OK as soon as it is shown; the questions
    // answer Yes.
    class AnsweringDialogs final : public IUserDialogs {
    public:
        TModalResult messageDlg(const QString&, TMsgDlgType, TMsgDlgButtons, QWidget*) override
        {
            return mrYes;
        }
        TModalResult showModal(QDialog& d) override
        {
            d.show();
            // The browse starts on the window's timer; here at once.
            if (auto* scan = qobject_cast<TFOPC_UA_Scan_Server*>(&d))
                scan->Timer_ScanTimer();
            d.hide();
            return mrOk;
        }
        std::optional<QString> openFileName(const FileDialogRequest&, QWidget*) override
        {
            return std::nullopt;
        }
        std::optional<QString> saveFileName(const FileDialogRequest&, QWidget*) override
        {
            return std::nullopt;
        }
        bool choosePrinter(PrintSetup&, int, QWidget*) override { return false; }
    } dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        TFOPC_UA_Client_Access w(RuleEditorContext{&s, QStringLiteral("CODE"), &dialogs}, &browser);
        w.show();
        state.ResumeTiming();
        w.Btn_Scan_Server->click();
        w.ACG_OPC_UA_Server->MoveCurrentCell(1, 2, true, true);
        w.ACG_OPC_UA_ServerClickCell(2, 1);
        w.ACG_OPC_UA_Server->MoveCurrentCell(1, 1, true, true);
        w.ACG_OPC_UA_ServerClickCell(1, 1);
        if (w.OPC_UA_Server_List[0]->Var_List_R.size() != size_t(kVariables)
            || w.ACG_OPC_UA_Var_R->RowCount() != kVariables + 2) {
            state.SkipWithError("the list did not reach the grid whole");
            return;
        }
        state.PauseTiming();
        w.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TakeTwentyThousandIntoEditor)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
