// A change of language after the M-Bus windows were made: the network editor and the new-node
// dialog take the new texts when the program hands them on; Scan & Decode and its three
// dialogs keep the language they were made in, also when shown again, and so do the dialogs
// the scan window opens itself.

#include "editors/metering/UMeter_Bus.h"
#include "editors/metering/UNewIDNode.h"
#include "editors/metering/UScanDecode.h"
#include "editors/metering/UScanDialogs.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "support/FakeServices.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zfw {
namespace {

class WindowLanguage : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        programState().SW_Code = QString::fromLatin1(Build_SW_Code);
        Fill_Default_Language(programState());
    }
    void TearDown() override { resetProgramState(); }
    static void translate(int n)
    {
        programState().Language_Table[n] = QStringLiteral("<%1>").arg(n);
    }

    test::ScopedFakeServices fakes;
};

struct LanguageCase {
    const char* name;
    std::function<std::unique_ptr<TModalForm>(IUserDialogs*)> make;
    int title;     // the text number of the window's caption
    bool follows;  // the program hands a change of language on to it
};

template <typename Form>
std::function<std::unique_ptr<TModalForm>(IUserDialogs*)> maker()
{
    return [](IUserDialogs* d) { return std::make_unique<Form>(nullptr, d); };
}

const LanguageCase kLanguageCases[] = {
    {"NetworkEditor", maker<TFMeter_Bus>(), 1700, true},
    {"NewNodeId", maker<TFNewIDNode>(), 2000, true},
    {"ScanDecode",
     [](IUserDialogs* d) {
         ScanDecodeServices s;
         s.dialogs = d;
         return std::make_unique<TFScanDecode>(nullptr, s);
     },
     2100, false},
    {"StartRegister", maker<TFScanModbusStart>(), 2200, false},
    {"PerNodeStart", maker<TFModbusStartAdd_SD>(), 2400, false},
};

class WindowLanguageCase : public WindowLanguage,
                           public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(WindowLanguageCase, KeepsOrFollowsAfterAChange)
{
    const LanguageCase& c = GetParam();
    std::unique_ptr<TModalForm> form = c.make(&fakes.dialogs);
    const QString before = form->windowTitle();
    ASSERT_EQ(before, programState().lang(c.title));
    translate(c.title);
    if (c.follows)
        form->Set_Lang();
    form->show();
    QApplication::processEvents();
    EXPECT_EQ(form->windowTitle(), c.follows ? QStringLiteral("<%1>").arg(c.title) : before);
}

INSTANTIATE_TEST_SUITE_P(, WindowLanguageCase, ::testing::ValuesIn(kLanguageCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The dialogs Scan & Decode opens itself speak the language the window was made in, however
// late they are first needed.
TEST_F(WindowLanguage, ScanDecodeDialogsKeepTheLanguageOfTheWindow)
{
    ScanDecodeServices s;
    s.dialogs = &fakes.dialogs;
    TFScanDecode window(nullptr, s);
    window.Form_Type = 1;
    window.FormShow();
    window.CB_ScanMethod->setCurrentIndex(1);
    window.Form_Style(5);
    TSlave_wMBus meter;
    meter.Cripted = true;
    window.Show_Wireless_Slave(0, meter);
    const QString key = programState().lang(2300);
    const QString nodeState = programState().lang(2402);
    for (int n : {2300, 2402})
        translate(n);

    QStringList shown;
    fakes.dialogs.onShowModal = [&](QDialog& d) {
        if (auto* k = dynamic_cast<TFInsertKeyWireless*>(&d))
            shown.append(k->L_InsKey->text());
        if (auto* p = dynamic_cast<TFModbusStartAdd_SD*>(&d))
            shown.append(p->CB_En_NodeState->text());
        return mrCancel;
    };
    window.ESG_WirelessDblClickCell(0, window.mapToGlobal(QPoint(10, 10)));
    window.Btn_SaveConfManual->click();
    EXPECT_EQ(shown, (QStringList{key, nodeState}));
}

}  // namespace
}  // namespace zfw
