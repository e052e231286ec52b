// Start-up of the program up to its main window shown, beside a bare window of the same size
// shown, in one run. Two pairs:
// - in process: the application object exists already, so the pair shows what our own
//   windows add to one window of Qt's (the part our code decides);
// - cold: a fresh process of this program for each start, so the pair also counts loading
//   the libraries, the platform, fonts and styles, as a user waits for them.
// Beside them, the construction of each window of the start-up table on its own, so that each
// editor can be held to a budget as it replaces its placeholder.

#include "platform/Form.h"
#include "shell/Forms.h"
#include "shell/UPlaceholder.h"
#include "shell/UZandovericoFirmWare.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace zfw;

// The design size of the main window: the bare window is made as large.
QSize g_mainWindowSize;

// Everything the first frame needs is done when the posted events (layout, the expose of the
// new window and its first paint) have been handled.
void settle() { QCoreApplication::processEvents(); }

// The program's own sequence, as its entry point runs it: every window created in creation
// order, the main window centred and shown.
std::unique_ptr<TFZandovericoFirmWare> startProgram(const QString& dataRoot)
{
    std::unique_ptr<TFZandovericoFirmWare> main(createApplicationWindows(dataRoot));
    centreOnScreen(*main);
    main->show();
    settle();
    return main;
}

std::unique_ptr<QWidget> showBareWindow(QSize size)
{
    auto bare = std::make_unique<QWidget>();
    bare->resize(size);
    centreOnScreen(*bare);
    bare->show();
    settle();
    return bare;
}

// Each run starts from a data folder that holds the three folders the program makes on its
// first start, as on every later start.
void BM_StartupToMainWindowShown(benchmark::State& state)
{
    QTemporaryDir root;
    for (auto _ : state) {
        auto main = startProgram(root.path());
        state.PauseTiming();
        main.reset();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToMainWindowShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_BareWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        auto bare = showBareWindow(g_mainWindowSize);
        state.PauseTiming();
        bare.reset();
        settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareWindowShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The main window alone: its constructor without the other windows it creates at start-up.
void BM_MainWindowConstruction(benchmark::State& state)
{
    QTemporaryDir root;
    for (auto _ : state) {
        auto main = std::make_unique<TFZandovericoFirmWare>(root.path());
        state.PauseTiming();
        main.reset();
        settle();
        state.ResumeTiming();
    }
}

// One window of the table made as at start-up: under the main window, with its services.
// The label says when the window is still a placeholder.
void BM_WindowConstruction(benchmark::State& state, FormId id, TFZandovericoFirmWare* main)
{
    bool placeholder = false;
    for (auto _ : state) {
        std::unique_ptr<TForm> form(createForm(id, main, main->shellServices()));
        state.PauseTiming();
        placeholder = qobject_cast<TFPlaceholder*>(form.get()) != nullptr;
        form.reset();
        settle();
        state.ResumeTiming();
    }
    if (placeholder)
        state.SetLabel("placeholder");
}

// One benchmark per window class of the start-up table, named after it, in creation order.
void registerWindowConstructions(TFZandovericoFirmWare* main)
{
    for (const FormInfo& info : kFormTable) {
        const std::string name = std::string("BM_WindowConstruction/") + info.className;
        if (info.id == FormId::TFZandovericoFirmWare) {
            benchmark::RegisterBenchmark(name.c_str(), BM_MainWindowConstruction)
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(0.5);
            continue;
        }
        benchmark::RegisterBenchmark(name.c_str(), BM_WindowConstruction, info.id, main)
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(0.2);
    }
}

constexpr const char* kChildOption = "--startup-child=";

// One start in a new process of this program; the child leaves as soon as its first frame is
// done, so the time ends there and not after tearing the windows down. Seconds; negative when
// the child failed.
double runChild(const char* what, const QString& dataRoot)
{
    const QStringList args = {QLatin1String(kChildOption) + QLatin1String(what), dataRoot,
                              QString::number(g_mainWindowSize.width()),
                              QString::number(g_mainWindowSize.height())};
    QElapsedTimer clock;
    clock.start();
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), args);
    if (!child.waitForFinished(30000) || child.exitStatus() != QProcess::NormalExit
        || child.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1e9;
}

// The two cold starts alternate within each iteration, so that a change of load on the machine
// touches both alike. The time is the program's; the counters give both and their ratio.
void BM_ColdStartupPair(benchmark::State& state)
{
    QTemporaryDir root;
    double program = 0;
    double bare = 0;
    for (auto _ : state) {
        const double b = runChild("bare", root.path());
        const double p = runChild("program", root.path());
        if (b < 0 || p < 0) {
            state.SkipWithError("a child start failed");
            break;
        }
        bare += b;
        program += p;
        state.SetIterationTime(p);
    }
    const double n = std::max<double>(1, state.iterations());
    state.counters["program_ms"] = program / n * 1e3;
    state.counters["bare_ms"] = bare / n * 1e3;
    state.counters["ratio"] = bare > 0 ? program / bare : 0;
}
BENCHMARK(BM_ColdStartupPair)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseManualTime();

void useOffscreenPlatformUnlessSet()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

int childMain(int argc, char** argv, const char* what)
{
    QApplication app(argc, argv);
    if (argc < 5)
        return 2;
    const QString root = QString::fromLocal8Bit(argv[2]);
    const QSize size(std::atoi(argv[3]), std::atoi(argv[4]));
    if (std::strcmp(what, "program") == 0) {
        auto main = startProgram(root);
        std::fflush(nullptr);
        std::_Exit(main->isVisible() ? 0 : 1);
    }
    if (std::strcmp(what, "bare") == 0) {
        auto bare = showBareWindow(size);
        std::fflush(nullptr);
        std::_Exit(bare->isVisible() ? 0 : 1);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    useOffscreenPlatformUnlessSet();
    if (argc > 1 && std::strncmp(argv[1], kChildOption, std::strlen(kChildOption)) == 0)
        return childMain(argc, argv, argv[1] + std::strlen(kChildOption));

    QApplication app(argc, argv);
    {
        QTemporaryDir root;
        g_mainWindowSize = startProgram(root.path())->size();
        settle();
    }
    // The parent of the windows measured one by one, made (and its start-up work done) once.
    QTemporaryDir hostRoot;
    auto host = std::make_unique<TFZandovericoFirmWare>(hostRoot.path());
    registerWindowConstructions(host.get());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::AddCustomContext("main window", std::to_string(g_mainWindowSize.width()) + "x"
                                                   + std::to_string(g_mainWindowSize.height()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
