#pragma once
// The live browse on this system: the helper script browse.js run by node as a child process
// through the platform's child runner. The server's settings go on its standard input; its
// answer is read as JSON lines into owned records.

#include "editors/iot/core/UOpcUaBrowse.h"
#include "platform/ChildProcess.h"

#include <QString>

#include <memory>

namespace zfw {

struct OpcUaHelperSetup {
    QString node = QStringLiteral("node");  // the node program
    QString helperDir;                      // the folder of browse.js and its node_modules
    QString pkiDir;                         // the helper's certificate store
    int timeoutMs = 120000;
};

// The helper's folder: "opcua-browse" beside the program, or in one of its three parent
// folders (the build tree); empty when none holds browse.js.
QString findOpcUaHelperDir(const QString& exeDir);

class OpcUaHelperBrowser final : public IOpcUaBrowser {
public:
    // runner: not owned; must outlive the browser.
    OpcUaHelperBrowser(OpcUaHelperSetup setup, IChildRunner& runner);

    void begin(const OpcUaBrowseRequest& request,
               std::function<void(OpcUaBrowseResult)> done) override;
    void cancel() override;

private:
    OpcUaHelperSetup m_setup;
    IChildRunner& m_runner;
};

// The browse result of a helper run.
OpcUaBrowseResult opcUaBrowseResultOf(const ChildRunResult& run);

// A browser that owns its runner, as the program's windows use it.
std::unique_ptr<IOpcUaBrowser> makeOpcUaHelperBrowser(OpcUaHelperSetup setup);

}  // namespace zfw
