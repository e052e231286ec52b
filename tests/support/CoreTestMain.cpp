// Test main of the widget-free modules: a QCoreApplication, then GoogleTest. Its executables
// link no Widgets library, so a widget header included by mistake does not compile.

#include <QCoreApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
