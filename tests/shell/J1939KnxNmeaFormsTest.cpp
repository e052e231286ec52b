// The J1939, KNX and NMEA 2000 rule windows as the main window makes them: real editors, not
// placeholders, that follow a change of language.

#include "editors/fieldbus/UJ1939Frames.h"
#include "editors/fieldbus/UKNXAccess.h"
#include "editors/fieldbus/UNMEAFrames.h"
#include "grid/ColumnGrid.h"
#include "shell/ShellTestFixture.h"
#include "shell/UPlaceholder.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class J1939KnxNmeaForms : public test::ShellTest {};

struct FormTexts {
    FormId id;
    const char* className;
    int caption;
    int header;  // a column header of the grid, column 1
    int pasteRow;
};

constexpr FormTexts kForms[] = {
    {FormId::TFReceiveJ1939, "TFReceiveJ1939", 4300, 4315, 4307},
    {FormId::TFTransmitJ1939, "TFTransmitJ1939", 4400, 4415, 4407},
    {FormId::TFKNXAccess, "TFKNXAccess", 4500, 4515, 4507},
    {FormId::TFReceiveNMEA, "TFReceiveNMEA", 4600, 4615, 4607},
    {FormId::TFTransmitNMEA, "TFTransmitNMEA", 4700, 4715, 4707},
};

TEST_F(J1939KnxNmeaForms, AreRealEditorsThatFollowALanguageChange)
{
    auto w = start();
    ProgramState& s = programState();
    for (const FormTexts& t : kForms) {
        s.Language_Table[t.caption] = QStringLiteral("caption %1").arg(t.caption);
        s.Language_Table[t.header] = QStringLiteral("header %1").arg(t.header);
    }
    w->Change_Language();
    for (const FormTexts& t : kForms) {
        SCOPED_TRACE(t.className);
        TForm* form = w->forms().form(t.id);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(qobject_cast<TFPlaceholder*>(form), nullptr);
        auto* editor = qobject_cast<TRuleEditorFrame*>(form);
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->objectName(), QLatin1String(t.className));
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("caption %1").arg(t.caption));
        // The controls are made at the first showing, in the language of then.
        EXPECT_FALSE(editor->isBuilt());
        editor->ensureBuilt();
        EXPECT_EQ(editor->grid(0)->GetCellEx(1, 0), QStringLiteral("header %1").arg(t.header));
        s.Language_Table[t.pasteRow] = QStringLiteral("paste %1").arg(t.pasteRow);
        w->Change_Language();
        EXPECT_EQ(editor->Btn_PasteRow->text(), QStringLiteral("paste %1").arg(t.pasteRow));
    }
}

}  // namespace
}  // namespace zfw
