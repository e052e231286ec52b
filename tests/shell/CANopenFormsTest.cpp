// The CANopen and DeviceNet windows as the main window makes them: real windows, not stand-ins,
// that follow a language change; and the hidden EDS button's action.

#include "editors/fieldbus/UDeviceNetOffset.h"
#include "editors/fieldbus/UDeviceNet_Net.h"
#include "editors/fieldbus/UPDO_Access.h"
#include "editors/fieldbus/USDO_Client_Access.h"
#include "editors/fieldbus/USDO_Server_Access.h"
#include "shell/ShellTestFixture.h"
#include "shell/UPlaceholder.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

class CANopenForms : public test::ShellTest {};

TEST_F(CANopenForms, AreMadeAsTheirOwnWindowsAndFollowTheLanguage)
{
    auto w = start();
    struct Expected {
        FormId id;
        int caption;
    };
    const Expected forms[] = {{FormId::TFSet_PDO_Access, 3500},
                              {FormId::TFSet_SDO_Client_Access, 3600},
                              {FormId::TFSet_SDO_Server_Access, 3700},
                              {FormId::TFDNet, 3800},
                              {FormId::TFDefOffset, 3900}};
    for (const Expected& e : forms) {
        TForm* f = w->forms().form(e.id);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(qobject_cast<TFPlaceholder*>(f), nullptr) << formInfo(e.id).className;
        EXPECT_EQ(f->objectName(), QLatin1String(formInfo(e.id).className));
        EXPECT_EQ(f->windowTitle(), programState().lang(e.caption));
        programState().Language_Table[e.caption] = QStringLiteral("Caption %1").arg(e.caption);
    }
    EXPECT_NE(qobject_cast<TFSet_PDO_Access*>(w->forms().form(FormId::TFSet_PDO_Access)), nullptr);
    EXPECT_NE(qobject_cast<TFDefOffset*>(w->forms().form(FormId::TFDefOffset)), nullptr);
    w->Change_Language();
    for (const Expected& e : forms)
        EXPECT_EQ(w->forms().form(e.id)->windowTitle(),
                  QStringLiteral("Caption %1").arg(e.caption));
}

TEST_F(CANopenForms, TheEdsButtonWritesTheChosenFile)
{
    makeProject(QStringLiteral("Plant"));
    rememberProject(QStringLiteral("Plant"));
    auto w = start();
    const QString target = path(QStringLiteral("PROJECTS/Plant/gateway.eds"));
    fakes.dialogs.fileAnswers = {target};
    w->Btn_Click(w->findChild<TStepButton*>(QStringLiteral("Btn_CANopen_EDS")));
    EXPECT_TRUE(fakes.dialogs.messages.empty());
    ASSERT_EQ(fakes.dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(fakes.dialogs.fileDialogs[0].request.folder, programState().Dir_Project);
    EXPECT_TRUE(test::readFile(target).startsWith("[FileInfo]\r\n"));
    EXPECT_FALSE(
        w->findChild<TStepButton*>(QStringLiteral("Btn_CANopen_EDS"))->isVisibleTo(w.get()));
}

}  // namespace
}  // namespace zfw
