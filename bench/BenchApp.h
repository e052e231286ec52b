#pragma once
// The one application object of a benchmark program. Widgets need an application; the benchmark
// library owns main, so the first benchmark that needs one makes it, every other uses the
// same, and it lives until the process ends.

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include <memory>

namespace zfw::bench {

inline void ensureApp()
{
    static int argc = 1;
    static char name[] = "zfw_bench";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QApplication> app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        auto a = std::make_unique<QApplication>(argc, argv);
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
        return a;
    }();
}

}  // namespace zfw::bench
