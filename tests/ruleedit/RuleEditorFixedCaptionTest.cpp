// What an editor's names and descriptor fix of its window: a button caption that stays
// through every language change while the other buttons follow the language table, and the
// width of the row-number column.

#include "ruleedit/URuleEditorFrame.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "controls/LbButton.h"
#include "grid/ColumnGrid.h"
#include "ruleedit/core/URuleSpecBuild.h"
#include "support/FakeServices.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

using namespace rulespec;

constexpr int kCaptions = 6340;  // six captions, then six hints

class FixedCaptionEditor final : public TRuleEditorFrame {
public:
    FixedCaptionEditor(const RuleEditorContext& ctx, RuleEditorNames names, RuleFileSpec spec,
                       QString file)
        : TRuleEditorFrame(ctx, std::move(names), spec, nullptr), m_spec(std::move(spec)),
          m_file(std::move(file))
    {
    }

protected:
    RuleFileSpec prepareOpening() override { return m_spec; }
    QString filePath() const override { return m_file; }

private:
    RuleFileSpec m_spec;
    QString m_file;
};

TEST(RuleEditorFixedCaptions, StayThroughALanguageChangeWhileTheOthersFollowIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgramState state;
    Fill_Default_Language(state);
    for (int i = 0; i < 12; ++i)
        state.Language_Table[kCaptions + i] = QStringLiteral("text %1").arg(i);
    test::FakeDialogs dialogs;

    RuleTableSpec t;
    t.element = QStringLiteral("T");
    t.rowCount = 3;
    t.keyAttribute = QStringLiteral("Key");
    t.columns = {numberColumn(0), enableColumn(0), column(u"Key", 0)};
    RuleFileSpec spec;
    spec.rootElement = QStringLiteral("Root");
    spec.buttonCaptionText = kCaptions;
    spec.buttonHintText = kCaptions + 6;
    spec.tables = {t};
    RuleEditorNames names;
    names.form = "TestFixed";
    names.grids = {"ACG_T"};
    names.fixedCaptions[4] = "Copy Row";
    names.fixedCaptions[5] = "Paste Row";

    FixedCaptionEditor f({&state, QStringLiteral("CODE"), &dialogs}, names, spec,
                         dir.filePath(QStringLiteral("t.xml")));
    f.ensureBuilt();
    for (int i = 0; i < 12; ++i)
        state.Language_Table[kCaptions + i] = QStringLiteral("changed %1").arg(i);
    f.Set_Lang();
    EXPECT_EQ(f.Btn_OK->text(), QStringLiteral("changed 0"));
    EXPECT_EQ(f.Btn_InsRow->text(), QStringLiteral("changed 3"));
    EXPECT_EQ(f.Btn_CopyRow->text(), QStringLiteral("Copy Row"));
    EXPECT_EQ(f.Btn_PasteRow->text(), QStringLiteral("Paste Row"));
    // Only the caption is fixed: the hint follows the language.
    EXPECT_EQ(f.Btn_CopyRow->toolTip(), QStringLiteral("changed 10"));
}

TEST(RuleEditorNumberColumn, TakesTheWidthTheDescriptorGivesIt)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProgramState state;
    Fill_Default_Language(state);
    test::FakeDialogs dialogs;
    RuleTableSpec t;
    t.element = QStringLiteral("T");
    t.rowCount = 3;
    t.keyAttribute = QStringLiteral("Key");
    t.columns = {numberColumn(0), enableColumn(0), column(u"Key", 0)};
    RuleEditorNames names;
    names.form = "TestNumber";
    names.grids = {"ACG_T"};
    RuleFileSpec spec;
    spec.rootElement = QStringLiteral("Root");
    spec.tables = {t};
    FixedCaptionEditor plain({&state, QStringLiteral("CODE"), &dialogs}, names, spec,
                             dir.filePath(QStringLiteral("t.xml")));
    plain.ensureBuilt();
    spec.tables[0].columns[0].width = 77;
    FixedCaptionEditor wide({&state, QStringLiteral("CODE"), &dialogs}, names, spec,
                            dir.filePath(QStringLiteral("t.xml")));
    wide.ensureBuilt();
    EXPECT_EQ(wide.grid(0)->Columns().GetItem(0)->Width(), 77);
    EXPECT_NE(plain.grid(0)->Columns().GetItem(0)->Width(), 77);
}

}  // namespace
}  // namespace zfw
