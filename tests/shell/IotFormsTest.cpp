// The IEC 61850 client, known TLS certificates and SNMP windows as the main window makes them:
// real windows, not placeholders, titled in the language of the moment.

#include "shell/ShellTestFixture.h"
#include "shell/UPlaceholder.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

class IotForms : public test::ShellTest {};

struct IotForm {
    FormId id;
    const char* className;
    int caption;
};

constexpr IotForm kIotForms[] = {
    {FormId::TFIEC_61850_Access, "TFIEC_61850_Access", 4900},
    {FormId::TFTLS_Server_Known_Cert, "TFTLS_Server_Known_Cert", 5100},
    {FormId::TFSNMPManagerAccess, "TFSNMPManagerAccess", 6100},
    {FormId::TFSNMP_Trap_Access, "TFSNMP_Trap_Access", 6200},
};

TEST_F(IotForms, AreRealWindowsThatFollowALanguageChange)
{
    auto w = start();
    ProgramState& s = programState();
    for (const IotForm& f : kIotForms)
        s.Language_Table[f.caption] = QStringLiteral("caption %1").arg(f.caption);
    w->Change_Language();
    for (const IotForm& f : kIotForms) {
        SCOPED_TRACE(f.className);
        TForm* form = w->forms().form(f.id);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(qobject_cast<TFPlaceholder*>(form), nullptr);
        EXPECT_EQ(form->objectName(), QLatin1String(f.className));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("caption %1").arg(f.caption));
    }
}

}  // namespace
}  // namespace zfw
