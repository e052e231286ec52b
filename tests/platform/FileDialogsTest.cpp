// File pickers: the filters the windows write turned into Qt's, and the Qt dialog set up from
// a request (answered by a script through the dialog itself).

#include "platform/Dialogs.h"
#include "platform/FileDialogs.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

struct FilterCase {
    const char* name;
    const char* filter;
    QStringList expected;
};

const FilterCase kFilters[] = {
    {"Empty", "", {}},
    {"OnePair", "Electronic Data Sheet (*.eds)|*.eds", {"Electronic Data Sheet (*.eds)"}},
    {"DescriptionWithItsOwnParentheses", "CSV (MS-DOS) (*.csv)|*.csv", {"CSV (MS-DOS) (*.csv)"}},
    {"DescriptionWithoutAGroup", "XML|*.xml", {"XML (*.xml)"}},
    {"SeveralPatternsWithBlanksAndATrailingSemicolon",
     "SCL Files (*.scd, *.ssd)|*.scd; *.ssd;|Any File (*.*)|*.*",
     {"SCL Files (*.scd *.ssd)", "Any File (*)"}},
    {"LoneTrailingDescriptionIsLeftOut", "Text (*.txt)|*.txt|Broken", {"Text (*.txt)"}},
    {"EmptyPatternsMeanEveryFile", "Anything|", {"Anything (*)"}},
};

class QtNameFilters : public ::testing::TestWithParam<FilterCase> {};

TEST_P(QtNameFilters, OneQtFilterPerPair)
{
    EXPECT_EQ(qtNameFilters(QString::fromUtf8(GetParam().filter)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Filters, QtNameFilters, ::testing::ValuesIn(kFilters), test::CaseName());

TEST(PlainSuffix, StarAndDotAreDropped)
{
    EXPECT_EQ(plainSuffix(QStringLiteral("*.mib")), QStringLiteral("mib"));
    EXPECT_EQ(plainSuffix(QStringLiteral(".csv")), QStringLiteral("csv"));
    EXPECT_EQ(plainSuffix(QStringLiteral("eds")), QStringLiteral("eds"));
    EXPECT_EQ(plainSuffix(QString()), QString());
}

// Runs step on the file dialog once it is shown, from the event loop.
void onFileDialog(const std::function<void(QFileDialog&)>& step)
{
    QTimer::singleShot(0, [step] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(d) << "no file dialog is shown";
        step(*d);
    });
}

class QtFileDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        request.title = QStringLiteral("Save MIB");
        request.folder = dir.path();
        request.filter = QStringLiteral("Management Information Base (*.mib)|*.mib|All|*.*");
        request.filterIndex = 2;
        request.defaultSuffix = QStringLiteral("*.mib");
    }

    QTemporaryDir dir;
    FileDialogRequest request;
    QtUserDialogs dialogs;
};

TEST_F(QtFileDialogs, SaveIsSetUpFromTheRequestAndAddsTheSuffix)
{
    request.confirmOverwrite = false;
    onFileDialog([this](QFileDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Save MIB"));
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(QDir(d.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(d.nameFilters(), QStringList({"Management Information Base (*.mib)", "All (*)"}));
        EXPECT_EQ(d.selectedNameFilter(), QStringLiteral("All (*)"));
        EXPECT_EQ(d.defaultSuffix(), QStringLiteral("mib"));
        EXPECT_TRUE(d.testOption(QFileDialog::DontConfirmOverwrite));
        d.selectFile(QStringLiteral("agent"));
        static_cast<QDialog&>(d).accept();  // the file dialog's own accept: it checks the name
    });
    const std::optional<QString> chosen = dialogs.saveFileName(request, nullptr);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(QFileInfo(*chosen).fileName(), QStringLiteral("agent.mib"));
}

TEST_F(QtFileDialogs, OpenAsksForAnExistingFileAndCancelGivesNothing)
{
    onFileDialog([](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
        EXPECT_FALSE(d.testOption(QFileDialog::DontConfirmOverwrite));
        d.reject();
    });
    EXPECT_FALSE(dialogs.openFileName(request, nullptr));
}

}  // namespace
}  // namespace zfw
