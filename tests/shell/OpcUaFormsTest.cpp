// The OPC UA client windows as the main window makes them: real windows, not placeholders,
// that follow a change of language.

#include "editors/iot/UOPC_UA_Add_Server.h"
#include "editors/iot/UOPC_UA_Client_Access.h"
#include "editors/iot/UOPC_UA_Scan_Server.h"
#include "shell/ShellTestFixture.h"
#include "shell/UPlaceholder.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

class OpcUaForms : public test::ShellTest {};

struct FormCase {
    FormId id;
    const char* className;
    int caption;
};

constexpr FormCase kForms[] = {
    {FormId::TFOPC_UA_Client_Access, "TFOPC_UA_Client_Access", 5400},
    {FormId::TFOPC_UA_Add_Server, "TFOPC_UA_Add_Server", 5600},
    {FormId::TFOPC_UA_Scan_Server, "TFOPC_UA_Scan_Server", 5700},
};

TEST_F(OpcUaForms, AreRealWindowsThatFollowALanguageChange)
{
    auto w = start();
    ProgramState& s = programState();
    for (const FormCase& f : kForms)
        s.Language_Table[f.caption] = QStringLiteral("caption %1").arg(f.caption);
    w->Change_Language();
    for (const FormCase& f : kForms) {
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
