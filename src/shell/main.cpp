// Entry point of the configurator: builds every window once, shows the main window and runs
// the event loop until it closes.

#include "platform/DataRoot.h"
#include "platform/Form.h"
#include "shell/UZandovericoFirmWare.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zandoveric-configurator"));
    QApplication::setOrganizationName(QStringLiteral("Zandoveric"));

    const QString root = zfw::resolveDataRoot(QCoreApplication::applicationDirPath());
    std::unique_ptr<zfw::TFZandovericoFirmWare> main(zfw::createApplicationWindows(root));
    zfw::centreOnScreen(*main);
    main->show();
    return app.exec();
}
