#include "platform/Colors.h"
#include "platform/DataRoot.h"
#include "platform/Dialogs.h"
#include "platform/Rect.h"
#include "platform/Services.h"

#include <QDialog>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zfw {
namespace {

TEST(Colors, RgbValuesAreStoredBlueGreenRed)
{
    EXPECT_EQ(rgbColor(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(toQColor(0x563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    // The main window's background colour.
    EXPECT_EQ(toQColor(15595512), QColor(0xF8, 0xF7, 0xED));
    EXPECT_EQ(toQColor(clRed), QColor(255, 0, 0));
}

TEST(Colors, SystemColoursResolveAgainstThePalette)
{
    QPalette p;
    p.setColor(QPalette::Button, QColor(1, 2, 3));
    p.setColor(QPalette::Highlight, QColor(4, 5, 6));
    p.setColor(QPalette::Shadow, QColor(7, 8, 9));
    EXPECT_TRUE(isSystemColor(clBtnFace));
    EXPECT_FALSE(isSystemColor(clWhite));
    EXPECT_EQ(toQColor(clBtnFace, p), QColor(1, 2, 3));
    EXPECT_EQ(toQColor(clHighlight, p), QColor(4, 5, 6));
    EXPECT_EQ(toQColor(cl3DDkShadow, p), QColor(7, 8, 9));
    EXPECT_EQ(colorToRGB(clBtnFace, p), rgbColor(1, 2, 3));
    EXPECT_EQ(colorToRGB(clLime, p), clLime);
}

TEST(Colors, NoneHasNoColour)
{
    EXPECT_FALSE(toQColor(clNone).isValid());
    EXPECT_FALSE(isSystemColor(clNone));
}

TEST(RectTest, RightAndBottomAreExclusive)
{
    const TRect r = Bounds(10, 20, 30, 40);
    EXPECT_EQ(r, Rect(10, 20, 40, 60));
    EXPECT_EQ(r.Width(), 30);
    EXPECT_TRUE(r.contains(10, 20));
    EXPECT_TRUE(r.contains(39, 59));
    EXPECT_FALSE(r.contains(40, 59));
    EXPECT_FALSE(r.contains(39, 60));
    EXPECT_EQ(r.toQRect(), QRect(10, 20, 30, 40));
    EXPECT_EQ(TRect::fromQRect(QRect(10, 20, 30, 40)), r);
    EXPECT_TRUE(Rect(5, 5, 5, 9).isEmpty());
    EXPECT_EQ(r.inflated(-1, -2), Rect(11, 22, 39, 58));
}

TEST(ModalResult, ClosingADialogIsCancel)
{
    EXPECT_EQ(modalResultOf(QDialog::Rejected), mrCancel);
    EXPECT_EQ(modalResultOf(QDialog::Accepted), mrOk);
    EXPECT_EQ(modalResultOf(mrYes), mrYes);
    EXPECT_EQ(modalResultOf(mrNo), mrNo);
}

TEST(DataRoot, WritableExeFolderIsTheRoot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(isFolderWritable(dir.path()));
    EXPECT_EQ(resolveDataRoot(dir.path() + QStringLiteral("/")), dir.path());
}

TEST(DataRoot, ReadOnlyExeFolderFallsBackToUserData)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    if (isFolderWritable(dir.path()))
        GTEST_SKIP() << "running with rights that ignore folder permissions";
    const QString root = resolveDataRoot(dir.path());
    EXPECT_NE(root, dir.path());
    EXPECT_FALSE(root.isEmpty());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(ProcessLauncher, StartsAProgramAndReportsItsExitCode)
{
    QtProcessLauncher launcher;
    QString error;
    auto p = launcher.start(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), QStringLiteral("exit 3")}, QString(), &error);
    ASSERT_NE(p, nullptr) << error.toStdString();
    ASSERT_TRUE(p->waitForFinished(10000));
    EXPECT_FALSE(p->isRunning());
    EXPECT_EQ(p->exitCode(), 3);
}

TEST(ProcessLauncher, MissingProgramIsReported)
{
    QtProcessLauncher launcher;
    QString error;
    EXPECT_EQ(launcher.start(QStringLiteral("/nonexistent/program"), {}, QString(), &error),
              nullptr);
    EXPECT_FALSE(error.isEmpty());
}

TEST(ClockTest, MonotonicClockDoesNotGoBack)
{
    SystemClock clock;
    const qint64 a = clock.monotonicMs();
    EXPECT_GE(clock.monotonicMs(), a);
}

}  // namespace
}  // namespace zfw

#include "platform/Form.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace zfw {
namespace {

TEST(FormTest, EscapeDoesNotCloseTheWindow)
{
    TForm form;
    auto* edit = new QLineEdit(&form);
    int result = -1;
    QTimer::singleShot(0, &form, [&] {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Escape);
        const bool stillOpen = form.isVisible();
        form.done(mrOk);
        result = stillOpen ? 1 : 0;
    });
    form.exec();
    EXPECT_EQ(result, 1);
}

}  // namespace
}  // namespace zfw
