#include "editors/iot/UOpcUaHelperBrowser.h"

#include <QDir>
#include <QFileInfo>

namespace zfw {

QString findOpcUaHelperDir(const QString& exeDir)
{
    QDir dir(exeDir);
    for (int up = 0; up <= 3; ++up) {
        const QString candidate = dir.filePath(QStringLiteral("opcua-browse"));
        if (QFileInfo::exists(candidate + QStringLiteral("/browse.js")))
            return candidate;
        if (!dir.cdUp())
            break;
    }
    return {};
}

OpcUaHelperBrowser::OpcUaHelperBrowser(OpcUaHelperSetup setup, IChildRunner& runner)
    : m_setup(std::move(setup)), m_runner(runner)
{
}

void OpcUaHelperBrowser::begin(const OpcUaBrowseRequest& request,
                               std::function<void(OpcUaBrowseResult)> done)
{
    ChildRunRequest run;
    run.program = m_setup.node;
    run.arguments = {QDir(m_setup.helperDir).filePath(QStringLiteral("browse.js"))};
    run.workDir = m_setup.helperDir;
    if (!m_setup.pkiDir.isEmpty()) {
        QDir().mkpath(m_setup.pkiDir);
        run.environment << QStringLiteral("OPCUA_PKI_DIR=") + m_setup.pkiDir;
    }
    run.input = opcUaBrowseRequestJson(request);
    run.timeoutMs = m_setup.timeoutMs;
    if (m_setup.helperDir.isEmpty()) {
        // Answered from the event loop like every other outcome.
        run.program.clear();
        m_runner.run(run, [done](const ChildRunResult&) {
            OpcUaBrowseResult b;
            b.status = OpcUaBrowseResult::Status::CannotStart;
            b.message = QStringLiteral("The browse helper is not installed");
            done(std::move(b));
        });
        return;
    }
    m_runner.run(run, [done](const ChildRunResult& r) { done(opcUaBrowseResultOf(r)); });
}

void OpcUaHelperBrowser::cancel() { m_runner.cancel(); }

OpcUaBrowseResult opcUaBrowseResultOf(const ChildRunResult& run)
{
    using S = OpcUaBrowseResult::Status;
    OpcUaBrowseResult b;
    const QString err = QString::fromUtf8(run.errorOutput).trimmed().right(400);
    switch (run.status) {
    case ChildRunResult::Status::CannotStart:
        b.status = S::CannotStart;
        b.message = run.message;
        return b;
    case ChildRunResult::Status::TimedOut:
        b.status = S::TimedOut;
        b.message = QStringLiteral("The OPC UA server did not answer in time");
        return b;
    case ChildRunResult::Status::TooMuchOutput:
        b.status = S::Unusable;
        b.message = QStringLiteral("The browse helper answered too much");
        return b;
    case ChildRunResult::Status::Crashed:
        b.status = S::Unusable;
        b.message = QStringLiteral("The browse helper ended abnormally")
                    + (err.isEmpty() ? QString() : u'\n' + err);
        return b;
    case ChildRunResult::Status::Finished: break;
    }
    OpcUaBrowseAnswer a = parseOpcUaBrowseAnswer(run.output);
    switch (a.status) {
    case OpcUaBrowseAnswer::Status::Ok:
        if (run.exitCode != 0) {
            b.status = S::Unusable;
            b.message = QStringLiteral("The browse helper ended with code %1").arg(run.exitCode);
            return b;
        }
        b.status = S::Ok;
        b.variables = std::move(a.variables);
        return b;
    case OpcUaBrowseAnswer::Status::Failed:
        b.status = S::Failed;
        b.message = a.message;
        return b;
    case OpcUaBrowseAnswer::Status::Unusable:
        b.status = S::Unusable;
        b.message = a.message + (err.isEmpty() ? QString() : u'\n' + err);
        return b;
    }
    return b;
}

namespace {
class OwningHelperBrowser final : public IOpcUaBrowser {
public:
    explicit OwningHelperBrowser(OpcUaHelperSetup setup) : m_browser(std::move(setup), m_runner) {}
    void begin(const OpcUaBrowseRequest& request,
               std::function<void(OpcUaBrowseResult)> done) override
    {
        m_browser.begin(request, std::move(done));
    }
    void cancel() override { m_browser.cancel(); }

private:
    QtChildRunner m_runner;
    OpcUaHelperBrowser m_browser;
};
}  // namespace

std::unique_ptr<IOpcUaBrowser> makeOpcUaHelperBrowser(OpcUaHelperSetup setup)
{
    return std::make_unique<OwningHelperBrowser>(std::move(setup));
}

}  // namespace zfw
