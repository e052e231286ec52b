// The main window makes the Modbus master, CAN frame and DMX windows at start-up as real
// editors, keeps their step buttons hidden, and brings them a new language.

#include "common/ULanguage.h"
#include "ruleedit/URuleEditorFrame.h"
#include "shell/ShellTestFixture.h"
#include "shell/UPlaceholder.h"
#include "support/CaseName.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace zfw {
namespace {

struct FormCase {
    const char* name;
    FormId id;
    const char* stepButton;  // the hidden main-window button that would open it; null none
    int caption;             // first text of the window's block
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

const FormCase kForms[] = {
    {"TFSetAccess", FormId::TFSetAccess, nullptr, 3000},
    {"TFModbus_TCP_Master_Set_Access", FormId::TFModbus_TCP_Master_Set_Access,
     "Btn_Modbus_Set_Access", 3100},
    {"TFReceiveCAN", FormId::TFReceiveCAN, "Btn_CAN_Rec_Frame", 3300},
    {"TFTransmitCAN", FormId::TFTransmitCAN, "Btn_CAN_Send_Frame", 3400},
    {"TFDMXDefVal", FormId::TFDMXDefVal, "Btn_DMX_Default", 4000},
};

class ModbusCanForms : public test::ShellTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(ModbusCanForms, MadeAtStartUpAsARealEditorThatFollowsALanguageFile)
{
    const FormCase& c = GetParam();
    auto w = start();
    TForm* f = w->forms().form(c.id);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(qobject_cast<TFPlaceholder*>(f), nullptr);
    EXPECT_NE(qobject_cast<TRuleEditorFrame*>(f), nullptr);
    EXPECT_EQ(f->objectName(), QLatin1String(c.name));
    if (c.stepButton) {
        auto* step = w->findChild<QAbstractButton*>(QLatin1String(c.stepButton));
        ASSERT_NE(step, nullptr);
        EXPECT_FALSE(step->isVisibleTo(w.get()));
    }

    writeFile(QStringLiteral("LANGUAGE/Italiano.lng"),
              "STR" + QByteArray::number(c.caption) + " =Regole\n");
    ProgramState& s = programState();
    s.Language_Name = QStringLiteral("Italiano");
    Load_Language(s);
    w->Change_Language();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Regole"));
}

INSTANTIATE_TEST_SUITE_P(Windows, ModbusCanForms, ::testing::ValuesIn(kForms), test::CaseName());

}  // namespace
}  // namespace zfw
