// The main window makes the EtherNet/IP windows and the PROFINET file-name dialog at start-up
// as real windows, keeps their step buttons hidden, and brings them a new language.

#include "common/ULanguage.h"
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
    int caption;             // the window's caption text
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

const FormCase kForms[] = {
    {"TFEtherNetIP_Master_Access", FormId::TFEtherNetIP_Master_Access, "Btn_EtherNetIP_Access",
     4100},
    {"TFEtherNEtIP_EDS", FormId::TFEtherNEtIP_EDS, nullptr, 4200},
    {"TFEtherNetIP_Data_Seg", FormId::TFEtherNetIP_Data_Seg, nullptr, 6300},
    {"TFProfinetFileName", FormId::TFProfinetFileName, "Btn_PROFINET_XML", 4800},
};

class EtherNetIPForms : public test::ShellTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(EtherNetIPForms, MadeAtStartUpAsARealWindowThatFollowsALanguageFile)
{
    const FormCase& c = GetParam();
    auto w = start();
    TForm* f = w->forms().form(c.id);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(qobject_cast<TFPlaceholder*>(f), nullptr);
    EXPECT_EQ(f->objectName(), QLatin1String(c.name));
    if (c.stepButton) {
        auto* step = w->findChild<QAbstractButton*>(QLatin1String(c.stepButton));
        ASSERT_NE(step, nullptr);
        EXPECT_FALSE(step->isVisibleTo(w.get()));
    }

    writeFile(QStringLiteral("LANGUAGE/Italiano.lng"),
              "STR" + QByteArray::number(c.caption) + " =Finestra\n");
    ProgramState& s = programState();
    s.Language_Name = QStringLiteral("Italiano");
    Load_Language(s);
    w->Change_Language();
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Finestra"));
}

INSTANTIATE_TEST_SUITE_P(Windows, EtherNetIPForms, ::testing::ValuesIn(kForms), test::CaseName());

}  // namespace
}  // namespace zfw
