// Hints over the header's captions: a column's Hint (none without one, even over a cut-off
// caption), none while the header is busy or hints are off, and where the hint window goes.

#include "HeaderFixture.h"
#include "support/CaseName.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace zfw::test {
namespace {

// A header with hoShowHint over a focused tree; column i spans x = 100 i .. 100 i + 99.
struct HeaderHintFixture : HeaderFixture {
    HeaderHintFixture()
    {
        tree->SetHintAnimation(hatNone);
        header.SetOptions(header.Options() + TLTHeaderOptions{hoShowHint});
        tree->activateWindow();
        tree->setFocus();
        QApplication::processEvents();
    }
    QPoint overColumn(int index) const { return {100 * index + 50, header.Height() / 2}; }
    // What Qt sends to the band once the mouse rested at pos.
    void tooltipAt(QPoint pos)
    {
        QHelpEvent e(QEvent::ToolTip, pos, band().mapToGlobal(pos));
        QApplication::sendEvent(&band(), &e);
    }
    void hover(QPoint pos)
    {
        QMouseEvent e(QEvent::MouseMove, pos, band().mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(&band(), &e);
    }
    bool hintShown() const { return tree->hintWindow() && tree->hintWindow()->isVisible(); }
    QString shownText() const
    {
        return hintShown() ? tree->hintWindow()->paintedText() : QString();
    }
};

struct HeaderHintCase {
    std::string name;
    QString caption;  // of column 1, 100 pixels wide
    QString hint;
    THeaderStates states;
    bool treeShowHint;
    bool headerShowHint;
    QString shown;  // empty: no hint
};

const QString kLong = QStringLiteral("A caption far too long for one hundred pixels");

const HeaderHintCase kHeaderHintCases[] = {
    {"HintOverItsCaption", "Beta", "Beta's hint", {}, true, true, "Beta's hint"},
    {"CutCaptionWithoutHintShowsNothing", kLong, "", {}, true, true, ""},
    {"HintWinsOverACutCaption", kLong, "Beta's hint", {}, true, true, "Beta's hint"},
    {"FittingCaptionWithoutHint", "Beta", "", {}, true, true, ""},
    {"NotWhileDragging", "Beta", "Beta's hint", {hsDragging}, true, true, ""},
    {"NotWhileADragIsPending", "Beta", "Beta's hint", {hsDragPending}, true, true, ""},
    {"NotWhileTrackingAWidth", "Beta", "Beta's hint", {hsColumnWidthTracking}, true, true, ""},
    {"NotWhileTrackingTheHeight", kLong, "", {hsHeightTracking}, true, true, ""},
    {"NotWithTheTreesShowHintOff", "Beta", "Beta's hint", {}, false, true, ""},
    {"NotWithoutTheHeadersShowHint", kLong, "Beta's hint", {}, true, false, ""},
};

class HeaderHintCases : public ::testing::TestWithParam<HeaderHintCase> {};

TEST_P(HeaderHintCases, TheHeaderHintShowsOnlyWhenDue)
{
    const HeaderHintCase& c = GetParam();
    HeaderHintFixture f;
    f.col(1).SetText(c.caption);
    f.col(1).SetHint(c.hint);
    f.tree->SetShowHint(c.treeShowHint);
    if (!c.headerShowHint)
        f.header.SetOptions(f.header.Options() - TLTHeaderOptions{hoShowHint});
    f.header.SetStates(c.states);
    f.tooltipAt(f.overColumn(1));
    EXPECT_EQ(f.shownText(), c.shown);
    EXPECT_EQ(f.tree->LastHintRect().isEmpty(), c.shown.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, HeaderHintCases, ::testing::ValuesIn(kHeaderHintCases), CaseName());

TEST(HeaderHint, TheHintShowsBelowTheHeaderForItsColumnOnly)
{
    HeaderHintFixture f;
    f.col(0).SetHint(QStringLiteral("Alpha's hint"));
    f.col(1).SetHint(QStringLiteral("Beta's hint"));
    f.tooltipAt(f.overColumn(1));
    ASSERT_TRUE(f.hintShown());
    EXPECT_EQ(f.tree->HintData().Node, nullptr);
    EXPECT_EQ(f.tree->HintData().Column, 1);
    EXPECT_GE(f.tree->hintWindow()->geometry().top(),
              f.band().mapToGlobal(QPoint(0, f.header.Height())).y());
    // The area is the column's cell in client coordinates (above the viewport).
    EXPECT_EQ(f.tree->LastHintRect(), QRect(100, -f.header.Height(), 100, f.header.Height()));

    // Inside the column it stays; into the next column it goes, and Qt's next tooltip event
    // brings that column's hint.
    f.hover(f.overColumn(1) + QPoint(30, 0));
    EXPECT_TRUE(f.hintShown());
    f.hover(f.overColumn(0));
    EXPECT_FALSE(f.hintShown());
    f.tooltipAt(f.overColumn(0));
    EXPECT_EQ(f.shownText(), QStringLiteral("Alpha's hint"));

    // A press on the header (a click, a drag's start) takes it away.
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, f.overColumn(0));
    EXPECT_FALSE(f.hintShown());
    EXPECT_TRUE(f.tree->LastHintRect().isEmpty());
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, f.overColumn(0));
}

TEST(HeaderHint, NoHintDuringARealColumnDragOrWidthTracking)
{
    HeaderHintFixture f;
    f.col(1).SetHint(QStringLiteral("Beta's hint"));
    f.col(2).SetHint(QStringLiteral("Gamma's hint"));
    // Dragging column 1 over column 2.
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, f.overColumn(1));
    QMouseEvent drag(QEvent::MouseMove, f.overColumn(2), f.band().mapToGlobal(f.overColumn(2)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&f.band(), &drag);
    ASSERT_TRUE(f.header.States().contains(hsDragging));
    f.tooltipAt(f.overColumn(2));
    EXPECT_FALSE(f.hintShown());
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, f.overColumn(2));

    // Tracking the border right of column 0.
    const QPoint border(f.col(0).Left() + f.col(0).Width(), f.header.Height() / 2);
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, border);
    ASSERT_TRUE(f.header.States().intersects(
        THeaderStates{hsColumnWidthTracking, hsColumnWidthTrackPending}));
    f.tooltipAt(f.overColumn(1));
    EXPECT_FALSE(f.hintShown());
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, border);
    // Once the header is quiet again the hint is back.
    f.tooltipAt(f.overColumn(1) + QPoint(0, 1));
    EXPECT_TRUE(f.hintShown());
}

TEST(HeaderHint, AFirstHeaderHintShowsAtOnceLaterOnesWaitForQt)
{
    HeaderHintFixture f;
    f.col(0).SetHint(QStringLiteral("Alpha's hint"));
    f.col(1).SetHint(QStringLiteral("Beta's hint"));
    ASSERT_TRUE(f.tree->HintWindowDestroyed());
    f.hover(f.overColumn(0));
    EXPECT_EQ(f.shownText(), QStringLiteral("Alpha's hint"));
    // Leaving the column hides the hint; with the window there a move alone shows nothing.
    f.hover(f.overColumn(1));
    EXPECT_FALSE(f.hintShown());
    EXPECT_FALSE(f.tree->HintWindowDestroyed());
    f.tooltipAt(f.overColumn(1));
    EXPECT_EQ(f.shownText(), QStringLiteral("Beta's hint"));
}

TEST(HeaderHint, ALongHintIsShownWhole)
{
    HeaderHintFixture f;
    f.fillRows(4);
    f.col(1).SetHint(kLong);
    f.tooltipAt(f.overColumn(1));
    ASSERT_TRUE(f.hintShown());
    const QImage hint = f.tree->hintWindow()->grab().toImage();
    EXPECT_FALSE(hint.isNull());
    // The whole text fits: the window is wider than the column it belongs to.
    EXPECT_GT(hint.width(), f.col(1).Width());
}

}  // namespace
}  // namespace zfw::test
