#pragma once
// The application windows in a temporary data folder, with fake dialogs, and a way to play
// the user inside a modal window.

#include "common/UComon.h"
#include "common/USettings.h"
#include "platform/Dialogs.h"
#include "shell/UZandovericoFirmWare.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zfw::test {

class ShellTest : public TempStateTest {
protected:
    std::unique_ptr<TFZandovericoFirmWare> start()
    {
        return std::unique_ptr<TFZandovericoFirmWare>(createApplicationWindows(root()));
    }
    void makeProject(const QString& name)
    {
        ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("PROJECTS/") + name)));
    }
    // Writes a settings file of the defaults as edit changes them.
    void saveSettings(const std::function<void(ProgramState&)>& edit)
    {
        ProgramState s;
        s.Dir_Exe = root();
        s.Device_IP_Address = QStringLiteral("192.168.2.205");
        s.Language_Name = QStringLiteral("English");
        edit(s);
        ASSERT_TRUE(Save_Setting(s));
    }
    void rememberProject(const QString& name)
    {
        saveSettings([&](ProgramState& s) { s.Project_Name = name; });
    }
    void writeFile(const QString& rel, const QByteArray& bytes)
    {
        ASSERT_TRUE(test::writeFile(path(rel), bytes)) << rel.toStdString();
    }
    QByteArray readFile(const QString& rel) { return test::readFile(path(rel)); }

    // Shows d as the modal loop would, lets act play the user, and returns how it closed.
    // A window still open after act is closed with Cancel; *stillOpen tells.
    static TModalResult playModal(QDialog& d, const std::function<void()>& act,
                                  bool* stillOpen = nullptr)
    {
        d.show();
        act();
        QCoreApplication::processEvents();
        const bool open = d.isVisible();
        if (stillOpen)
            *stillOpen = open;
        if (open)
            d.reject();
        return modalResultOf(d.result());
    }

    ScopedFakeServices fakes;
};

}  // namespace zfw::test
