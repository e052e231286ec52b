// The header's mouse handling, driven with QTest on the header band: the border zone, width
// and height tracking, clicks that sort or toggle a header check box, the column drag with its
// threshold, drop marks and drops, Escape and focus loss, hover and the column menu.

#include "HeaderFixture.h"
#include "support/CaseName.h"

#include "tree/LazyTreesHeaderPopup.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace zfw::test {
namespace {

// The application's drag threshold for one test, set back afterwards.
struct DragDistance {
    int saved = QApplication::startDragDistance();
    explicit DragDistance(int value) { QApplication::setStartDragDistance(value); }
    ~DragDistance() { QApplication::setStartDragDistance(saved); }
};

// A mouse move over the band with no button held (QTest would move the cursor instead).
void hover(QWidget& band, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, band.mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&band, &move);
}

std::vector<int> positions(HeaderFixture& f)
{
    std::vector<int> out;
    for (int i = 0; i < f.columns.Count(); ++i)
        out.push_back(int(f.col(i).Position()));
    return out;
}

// ----- the border zone ------------------------------------------------------------------------

struct ZoneCase {
    const char* name;
    int x;
    bool grabbed;
};

const ZoneCase kZoneCases[] = {
    {"LeftOfZone97", 97, false}, {"ZoneStart98", 98, true},      {"OnBorder100", 100, true},
    {"ZoneEnd104", 104, true},   {"RightOfZone105", 105, false},
};

class HeaderSplitterZone : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(HeaderSplitterZone, PressGrabsTheBorderOnlyInsideTheZone)
{
    const ZoneCase& c = GetParam();
    HeaderFixture f;
    ASSERT_EQ(f.header.SplitterHitTolerance(), 8);
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(c.x, 5));
    EXPECT_EQ(f.header.States().contains(hsColumnWidthTrackPending), c.grabbed);
    EXPECT_EQ(f.columns.TrackIndex(), c.grabbed ? 0 : NoColumn);
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(c.x, 5));
    EXPECT_TRUE(f.header.States().empty());
    hover(f.band(), QPoint(c.x, 5));
    EXPECT_EQ(f.band().cursor().shape(), c.grabbed ? Qt::SplitHCursor : Qt::ArrowCursor);
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderSplitterZone, ::testing::ValuesIn(kZoneCases), CaseName());

TEST(TreeHeaderMouse, DraggingABorderSetsTheWidthFromTheColumnsLeftEdge)
{
    HeaderFixture f;
    std::vector<TColumnIndex> before, after;
    f.tree->OnBeforeColumnWidthTracking = [&](TLTHeader&, TColumnIndex c, Qt::KeyboardModifiers) {
        before.push_back(c);
    };
    f.tree->OnAfterColumnWidthTracking = [&](TLTHeader&, TColumnIndex c) { after.push_back(c); };
    // Grabbed 3 pixels right of the border between columns 1 and 2: the width follows the
    // mouse from column 1's left edge, not from where the press was.
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(203, 5));
    QTest::mouseMove(&f.band(), QPoint(210, 5));
    QTest::mouseMove(&f.band(), QPoint(240, 5));
    EXPECT_EQ(f.col(1).Width(), 140);
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(240, 5));
    EXPECT_EQ(f.col(1).Width(), 140);
    EXPECT_EQ(f.col(2).UnscrolledLeft(), 240);
    EXPECT_EQ(before, std::vector<TColumnIndex>{1});
    EXPECT_EQ(after, std::vector<TColumnIndex>{1});
}

TEST(TreeHeaderMouse, HeightFollowsTheMouseAndADoubleClickGoesToTheMinimum)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options()
                        + TLTHeaderOptions{hoHeightResize, hoHeightDblClickResize});
    f.header.SetMinHeight(12);
    int afterEvents = 0;
    f.tree->OnAfterHeaderHeightTracking = [&](TLTHeader&) { ++afterEvents; };
    const int bottom = f.header.Height() - 1;
    hover(f.band(), QPoint(50, bottom));
    EXPECT_EQ(f.band().cursor().shape(), Qt::SplitVCursor);
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(50, bottom));
    EXPECT_TRUE(f.header.States().contains(hsHeightTrackPending));
    QTest::mouseMove(&f.band(), QPoint(50, bottom + 2));
    QTest::mouseMove(&f.band(), QPoint(50, 30));
    EXPECT_EQ(f.header.Height(), 30);
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(50, 30));
    EXPECT_EQ(afterEvents, 1);

    f.header.SetDefaultHeight(25);
    QTest::mouseDClick(&f.band(), Qt::LeftButton, {}, QPoint(50, f.header.Height() - 1));
    EXPECT_EQ(f.header.Height(), 12);
}

struct ClientBorderCase {
    const char* name;
    bool fixedFirstColumn;
    QPoint viewportPoint;
    THeaderStates pressState;
};

const ClientBorderCase kClientBorderCases[] = {
    {"HeightBorderJustBelowTheBand", false, {50, 1}, {hsHeightTrackPending}},
    {"FixedAreaBorderBesideRows", true, {101, 20}, {hsColumnWidthTrackPending}},
    {"OtherBordersBelowTheBandAreTheTrees", false, {101, 20}, {}},
    {"FixedAreaBorderBelowTheLastRow", true, {101, 150}, {}},
};

class HeaderClientBorder : public ::testing::TestWithParam<ClientBorderCase> {};

TEST_P(HeaderClientBorder, APressInTheClientAreaReachesTheHeaderOnlyOnItsBorders)
{
    const ClientBorderCase& c = GetParam();
    HeaderFixture f;
    f.fillRows(3);
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHeightResize});
    if (c.fixedFirstColumn)
        f.col(0).SetOptions(f.col(0).Options() + TLTColumnOptions{coFixed});
    QWidget* viewport = f.tree->viewport();
    EXPECT_EQ(f.tree->cursorAt(c.viewportPoint) != Qt::ArrowCursor, !c.pressState.empty());
    QTest::mousePress(viewport, Qt::LeftButton, {}, c.viewportPoint);
    EXPECT_EQ(f.header.States(), c.pressState);
    QTest::mouseMove(viewport, c.viewportPoint + QPoint(0, 1));
    QTest::mouseMove(viewport, c.viewportPoint + QPoint(30, 10));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, c.viewportPoint + QPoint(30, 10));
    EXPECT_TRUE(f.header.States().empty());
    EXPECT_EQ(f.col(0).Width(), c.pressState.contains(hsColumnWidthTrackPending) ? 131 : 100);
    EXPECT_EQ(f.header.Height(), c.pressState.contains(hsHeightTrackPending) ? 19 + 11 : 19);
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderClientBorder, ::testing::ValuesIn(kClientBorderCases),
                         CaseName());

// ----- clicks ---------------------------------------------------------------------------------

TEST(TreeHeaderMouse, ClickSortsBySecondClickFlipsAndAPressMovedToAnotherColumnIsNoClick)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort}
                        - TLTHeaderOptions{hoDrag});
    f.col(1).SetDefaultSortDirection(sdDescending);
    std::vector<TLTHeaderHitInfo> clicks;
    f.tree->OnHeaderClick = [&](TLTHeader&, const TLTHeaderHitInfo& hit) { clicks.push_back(hit); };

    QTest::mouseClick(&f.band(), Qt::LeftButton, {}, QPoint(150, 8));
    EXPECT_EQ(f.header.SortColumn(), 1);
    EXPECT_EQ(f.header.SortDirection(), sdDescending);
    QTest::mouseClick(&f.band(), Qt::LeftButton, {}, QPoint(160, 8));
    EXPECT_EQ(f.header.SortColumn(), 1);
    EXPECT_EQ(f.header.SortDirection(), sdAscending);
    ASSERT_EQ(clicks.size(), 2u);
    EXPECT_EQ(clicks[0].Column, 1);
    EXPECT_TRUE(clicks[0].HitPosition.contains(hhiOnColumn));
    EXPECT_EQ(clicks[0].Button, Qt::LeftButton);

    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(50, 8));
    QTest::mouseMove(&f.band(), QPoint(250, 8));
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(250, 8));
    EXPECT_EQ(f.header.SortColumn(), 1);
    ASSERT_EQ(clicks.size(), 3u);
    EXPECT_EQ(clicks[2].Column, NoColumn);
}

struct CheckClickCase {
    const char* name;
    bool onBox;
    TCheckState checkAfter;
    TColumnIndex sortAfter;
};

const CheckClickCase kCheckClickCases[] = {
    {"OnTheBoxTogglesWithoutSorting", true, csCheckedNormal, NoColumn},
    {"OnTheCaptionSortsWithoutToggling", false, csUncheckedNormal, 1},
};

class HeaderCheckBoxClick : public ::testing::TestWithParam<CheckClickCase> {};

TEST_P(HeaderCheckBoxClick, OnlyTheBoxToggles)
{
    const CheckClickCase& c = GetParam();
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoShowImages, hoHeaderClickAutoSort});
    f.col(1).SetCheckBox(true);
    f.render();  // the box's place on screen comes from painting
    ASSERT_TRUE(f.col(1).HasImage());
    const QRect box = f.col(1).ImageRect();
    ASSERT_TRUE(box.left() >= 100 && box.right() < 200) << box.x();
    TLTHeaderHitPositions hit;
    f.tree->OnHeaderClick = [&](TLTHeader&, const TLTHeaderHitInfo& h) { hit = h.HitPosition; };
    const QPoint at = c.onBox ? box.center() : QPoint(180, 8);
    QTest::mouseClick(&f.band(), Qt::LeftButton, {}, at);
    EXPECT_EQ(f.col(1).CheckState(), c.checkAfter);
    EXPECT_EQ(f.header.SortColumn(), c.sortAfter);
    EXPECT_EQ(hit.contains(hhiOnCheckbox), c.onBox);
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderCheckBoxClick, ::testing::ValuesIn(kCheckClickCases),
                         CaseName());

// ----- column drag ----------------------------------------------------------------------------

struct ThresholdCase {
    const char* name;
    int dx;
    int dy;
    bool drags;
};

const ThresholdCase kThresholdCases[] = {
    {"Right5", 5, 0, false}, {"Down5", 0, 5, false}, {"UpLeft5", -5, -5, false},
    {"Right6", 6, 0, true},  {"Down6", 0, 6, true},  {"Left6", -6, 0, true},
};

class HeaderDragThreshold : public ::testing::TestWithParam<ThresholdCase> {};

TEST_P(HeaderDragThreshold, FiveStaysAPressSixStartsTheDrag)
{
    const ThresholdCase& c = GetParam();
    DragDistance distance(5);
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
    int draggedOut = 0;
    f.tree->OnHeaderDraggedOut = [&](TLTHeader&, TColumnIndex, QPoint) { ++draggedOut; };
    const QPoint start(50, 8);
    const QPoint end = start + QPoint(c.dx, c.dy);
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, start);
    QTest::mouseMove(&f.band(), end);
    EXPECT_EQ(f.header.States().contains(hsDragging), c.drags);
    EXPECT_EQ(f.header.States().contains(hsDragPending), !c.drags);
    EXPECT_EQ(f.header.dragImage().isNull(), !c.drags);
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, end);
    // A pending press released is a click; a drag dropped back on its own column is nothing.
    EXPECT_EQ(f.header.SortColumn(), c.drags ? NoColumn : 0);
    EXPECT_EQ(draggedOut, 0);
    EXPECT_EQ(positions(f), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(f.header.States().empty());
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderDragThreshold, ::testing::ValuesIn(kThresholdCases),
                         CaseName());

struct DropCase {
    const char* name;
    int dropX;  // over column 2 (200..300), its middle at 250
    bool before;
    std::vector<int> positions;
    int markX;  // a pixel of the drop mark's bar
};

const DropCase kDropCases[] = {
    {"BeforeTheLastColumn", 220, true, {1, 0, 2}, 202},
    {"AfterTheLastColumn", 280, false, {2, 0, 1}, 297},
};

class HeaderDrop : public ::testing::TestWithParam<DropCase> {};

TEST_P(HeaderDrop, FirstColumnDroppedOnTheLast)
{
    const DropCase& c = GetParam();
    DragDistance distance(5);
    HeaderFixture f;
    std::vector<std::pair<TColumnIndex, int>> dragged;
    f.tree->OnHeaderDragged = [&](TLTHeader&, TColumnIndex column, int oldPosition) {
        dragged.emplace_back(column, oldPosition);
    };
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(50, 8));
    QTest::mouseMove(&f.band(), QPoint(120, 8));
    QTest::mouseMove(&f.band(), QPoint(c.dropX, 8));
    EXPECT_EQ(f.columns.FDropTarget, 2);
    EXPECT_EQ(f.columns.FDropBefore, c.before);
    // The mark is drawn in the highlight colour at the side the column will land on, over
    // the moving cell.
    const QImage picture = f.render();
    const QColor highlight = f.tree->palette().color(QPalette::Highlight);
    EXPECT_EQ(picture.pixelColor(c.markX, 9).rgb(), highlight.rgb());
    EXPECT_NE(picture.pixelColor(c.before ? 297 : 202, 9).rgb(), highlight.rgb());

    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(c.dropX, 8));
    EXPECT_EQ(positions(f), c.positions);
    ASSERT_EQ(dragged.size(), 1u);
    EXPECT_EQ(dragged[0], std::make_pair(TColumnIndex(0), 0));
    EXPECT_EQ(f.columns.FDropTarget, NoColumn);
    EXPECT_TRUE(f.header.dragImage().isNull());
}

INSTANTIATE_TEST_SUITE_P(Tree, HeaderDrop, ::testing::ValuesIn(kDropCases), CaseName());

TEST(TreeHeaderMouse, ReleasedOutsideTheTreeIsDraggedOutAndKeepsTheOrder)
{
    DragDistance distance(5);
    HeaderFixture f;
    std::vector<TColumnIndex> out;
    int dragged = 0;
    f.tree->OnHeaderDraggedOut = [&](TLTHeader&, TColumnIndex column, QPoint) {
        out.push_back(column);
    };
    f.tree->OnHeaderDragged = [&](TLTHeader&, TColumnIndex, int) { ++dragged; };
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(150, 8));
    QTest::mouseMove(&f.band(), QPoint(250, 8));
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(250, -300));
    EXPECT_EQ(out, std::vector<TColumnIndex>{1});
    EXPECT_EQ(dragged, 0);
    EXPECT_EQ(positions(f), (std::vector<int>{0, 1, 2}));
}

TEST(TreeHeaderMouse, EscapeCancelsADragWithoutAnEvent)
{
    DragDistance distance(5);
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHeaderClickAutoSort});
    int events = 0;
    f.tree->OnHeaderDragged = [&](TLTHeader&, TColumnIndex, int) { ++events; };
    f.tree->OnHeaderDraggedOut = [&](TLTHeader&, TColumnIndex, QPoint) { ++events; };
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(50, 8));
    QTest::mouseMove(&f.band(), QPoint(280, 8));
    ASSERT_TRUE(f.header.States().contains(hsDragging));
    QTest::keyClick(f.tree.get(), Qt::Key_Escape);
    EXPECT_FALSE(f.header.States().contains(hsDragging));
    EXPECT_EQ(f.columns.FDropTarget, NoColumn);
    EXPECT_TRUE(f.header.dragImage().isNull());
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(280, 8));
    EXPECT_EQ(events, 0);
    EXPECT_EQ(positions(f), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(f.header.SortColumn(), NoColumn);
}

TEST(TreeHeaderMouse, FocusLossEndsBorderTrackingWithItsEvent)
{
    HeaderFixture f;
    std::vector<TColumnIndex> after;
    f.tree->OnAfterColumnWidthTracking = [&](TLTHeader&, TColumnIndex c) { after.push_back(c); };
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(100, 5));
    QTest::mouseMove(&f.band(), QPoint(105, 5));
    QTest::mouseMove(&f.band(), QPoint(130, 5));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(f.tree.get(), &focusOut);
    EXPECT_TRUE(f.header.States().empty());
    EXPECT_EQ(after, std::vector<TColumnIndex>{0});
    // Further moves no longer resize.
    QTest::mouseMove(&f.band(), QPoint(170, 5));
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(170, 5));
    EXPECT_EQ(f.col(0).Width(), 130);
    EXPECT_EQ(after.size(), 1u);
}

TEST(TreeHeaderMouse, AFailingDropHandlerLeavesTheMouseToTheTree)
{
    DragDistance distance(5);
    HeaderFixture f;
    f.fillRows(3);
    f.tree->OnHeaderDragged = [](TLTHeader&, TColumnIndex, int) {
        throw std::runtime_error("owner failed");
    };
    QTest::mousePress(&f.band(), Qt::LeftButton, {}, QPoint(50, 8));
    QTest::mouseMove(&f.band(), QPoint(120, 8));
    QTest::mouseMove(&f.band(), QPoint(280, 8));
    ASSERT_EQ(f.columns.FDropTarget, 2);
    QTest::mouseRelease(&f.band(), Qt::LeftButton, {}, QPoint(280, 8));
    EXPECT_FALSE(f.tree->lastHandlerError().isEmpty());
    EXPECT_TRUE(f.header.States().empty());
    EXPECT_TRUE(f.header.dragImage().isNull());
    EXPECT_EQ(f.columns.FDropTarget, NoColumn);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(150, 20),
                      f.tree->viewport()->mapToGlobal(QPointF(150, 20)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    EXPECT_FALSE(f.header.HandleClientMouse(press));
}

TEST(TreeHeaderMouse, AFocusedTreeGoesAfterHeaderUseWithoutTouchingTheGoneHeader)
{
    DragDistance distance(5);
    auto f = std::make_unique<HeaderFixture>();
    f->tree->activateWindow();
    f->tree->setFocus();
    QTest::mousePress(&f->band(), Qt::LeftButton, {}, QPoint(50, 8));
    QTest::mouseMove(&f->band(), QPoint(120, 8));
    ASSERT_TRUE(f->header.States().contains(hsDragging));
    f.reset();
}

// ----- hover and menus ------------------------------------------------------------------------

TEST(TreeHeaderMouse, HoverStartsTheHeaderTimerWhichForgetsTheHoverOnceTheMouseIsGone)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoHotTrack});
    QCursor::setPos(f.band().mapToGlobal(QPoint(150, 8)));
    hover(f.band(), QPoint(150, 8));
    EXPECT_EQ(f.columns.FHoverIndex, 1);
    EXPECT_TRUE(f.tree->timerActive(TBaseLazyTree::HeaderTimer));
    f.header.HeaderHoverTimer();
    EXPECT_EQ(f.columns.FHoverIndex, 1);
    QCursor::setPos(f.band().mapToGlobal(QPoint(150, 300)));
    f.header.HeaderHoverTimer();
    EXPECT_EQ(f.columns.FHoverIndex, NoColumn);
    EXPECT_FALSE(f.tree->timerActive(TBaseLazyTree::HeaderTimer));
}

TEST(TreeHeaderMouse, RightClickOpensTheColumnMenuThenReportsTheClick)
{
    HeaderFixture f;
    f.header.SetOptions(f.header.Options() + TLTHeaderOptions{hoAutoColumnPopupMenu});
    bool menuShownAtClick = false;
    Qt::MouseButton button = Qt::NoButton;
    f.tree->OnHeaderClick = [&](TLTHeader& h, const TLTHeaderHitInfo& hit) {
        menuShownAtClick = h.columnPopupMenu() && h.columnPopupMenu()->isVisible();
        button = hit.Button;
    };
    QTest::mouseClick(&f.band(), Qt::RightButton, {}, QPoint(150, 8));
    EXPECT_TRUE(menuShownAtClick);
    EXPECT_EQ(button, Qt::RightButton);
    ASSERT_NE(f.header.columnPopupMenu(), nullptr);
    EXPECT_EQ(f.header.columnPopupMenu()->actions().size(), 3);
    f.header.columnPopupMenu()->close();
}

}  // namespace
}  // namespace zfw::test
