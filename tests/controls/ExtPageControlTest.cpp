// TExtPageControl as a user and its window drive it: hidden tabs, removing pages, closing and
// reopening through the close button, Ctrl+Tab, the change events, the property writers that
// refuse, and a few pixels of the drawn tabs.

#include "controls/ExtPageControl.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <stdexcept>

namespace zfw {
namespace {

using test::CaseName;

void click(QWidget* w, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), w->mapToGlobal(QPointF(pos)), button,
                      button, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), w->mapToGlobal(QPointF(pos)),
                        button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

QPoint centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// A 400 by 250 control with four pages "P0" to "P3", captions ending in two blanks.
class ExtPageControlWidget : public ::testing::Test {
protected:
    void SetUp() override
    {
        control = std::make_unique<TExtPageControl>();
        control->resize(400, 250);
        for (int i = 0; i < 4; ++i) {
            auto* page = new TExtTabSheet();
            page->setObjectName(QStringLiteral("P%1").arg(i));
            page->SetCaption(QStringLiteral("Page %1  ").arg(i));
            page->SetExtPageControl(control.get());
            pages.push_back(page);
        }
    }

    TRect tabRectOf(int page) const { return control->GetPageTabRect(page); }
    QPoint closeBoxOfActive() const
    {
        const TRect tab = tabRectOf(control->ActivePageIndex());
        const TRect box = closeButtonHitBox(control->TabPosition(), tab, control->TabMargin(),
                                            control->TabOverlap(), false);
        return centre(box);
    }

    std::unique_ptr<TExtPageControl> control;
    std::vector<QPointer<TExtTabSheet>> pages;
};

TEST_F(ExtPageControlWidget, FirstPageBecomesActiveAndOnlyItShows)
{
    EXPECT_EQ(control->PageCount(), 4);
    EXPECT_EQ(control->ActivePage(), pages[0]);
    EXPECT_EQ(control->TabIndex(), 0);
    control->show();
    EXPECT_TRUE(pages[0]->isVisible());
    EXPECT_FALSE(pages[1]->isVisible());
    EXPECT_EQ(control->Version(), QStringLiteral("1.4.0.0"));
}

TEST_F(ExtPageControlWidget, HiddenTabShiftsTabIndexesAndComesBackInPageOrder)
{
    pages[1]->SetTabVisible(false);
    EXPECT_EQ(control->PageCount(), 4);
    EXPECT_EQ(pages[1]->TabIndex(), -1);
    EXPECT_EQ(pages[2]->TabIndex(), 1);
    EXPECT_EQ(pages[3]->TabIndex(), 2);
    // The second shown tab belongs to page 2, both ways.
    const TRect second = tabRectOf(2);
    EXPECT_FALSE(second.isEmpty());
    EXPECT_EQ(control->GetPageIndexAt(centre(second)), 2);
    EXPECT_EQ(control->GetPageIndexAt(QPoint(390, 240)), -1);

    pages[1]->SetTabVisible(true);
    EXPECT_EQ(pages[1]->TabIndex(), 1);
    EXPECT_EQ(pages[2]->TabIndex(), 2);
    EXPECT_EQ(control->GetPageIndexAt(centre(tabRectOf(1))), 1);
    EXPECT_EQ(control->ActivePage(), pages[0]);
}

TEST_F(ExtPageControlWidget, PageAddedWithHiddenTabCountsButHasNoTab)
{
    auto* page = new TExtTabSheet();
    page->SetTabVisible(false);
    page->SetExtPageControl(control.get());
    EXPECT_EQ(control->PageCount(), 5);
    EXPECT_EQ(page->PageIndex(), 4);
    EXPECT_EQ(page->TabIndex(), -1);
    EXPECT_TRUE(control->GetPageTabRect(4).isEmpty());
}

TEST_F(ExtPageControlWidget, MovingAPageMovesItsTab)
{
    control->SetActivePage(pages[1]);
    pages[3]->SetPageIndex(0);
    EXPECT_EQ(pages[3]->TabIndex(), 0);
    EXPECT_EQ(pages[0]->TabIndex(), 1);
    EXPECT_EQ(control->ActivePage(), pages[1]);
    EXPECT_EQ(control->TabIndex(), 2);
    EXPECT_EQ(control->GetPageIndexAt(centre(tabRectOf(0))), 0);
    try {
        pages[3]->SetPageIndex(4);
        FAIL() << "no error";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(),
                     "4 is an invalid PageIndex value.  PageIndex must be between 0 and 3");
    }
}

TEST_F(ExtPageControlWidget, RemovingTheActivePageActivatesTheNextShownOne)
{
    pages[2]->SetTabVisible(false);
    control->SetActivePage(pages[1]);
    delete pages[1];
    EXPECT_EQ(control->PageCount(), 3);
    EXPECT_EQ(control->ActivePage(), pages[3]);
    EXPECT_EQ(control->TabIndex(), pages[3]->TabIndex());

    pages[0]->SetExtPageControl(nullptr);
    pages[2]->SetExtPageControl(nullptr);
    EXPECT_EQ(control->ActivePage(), pages[3]);
    delete pages[3];
    EXPECT_EQ(control->ActivePage(), nullptr);
    EXPECT_EQ(control->TabIndex(), -1);
    delete pages[0];
    delete pages[2];
}

TEST_F(ExtPageControlWidget, ClosedPageIsListedOnceAndReopens)
{
    for (const auto& p : pages)
        p->SetShowClose(true);
    control->SetActivePage(pages[1]);
    click(control.get(), closeBoxOfActive());

    EXPECT_EQ(pages[1]->ExtPageControl(), nullptr);
    EXPECT_EQ(control->PageCount(), 3);
    EXPECT_EQ(control->ActivePage(), pages[2]);
    EXPECT_EQ(control->ClosedTabs(), QStringList{QStringLiteral("P1")});

    EXPECT_FALSE(control->OpenClosedTab(QStringLiteral("P9")));
    EXPECT_TRUE(control->OpenClosedTab(QStringLiteral("P1")));
    EXPECT_EQ(pages[1]->ExtPageControl(), control.get());
    EXPECT_GE(pages[1]->TabIndex(), 0);
    // A reopened page leaves the list, so closing it again lists it once.
    EXPECT_TRUE(control->ClosedTabs().isEmpty());
    control->SetActivePage(pages[1]);
    click(control.get(), closeBoxOfActive());
    EXPECT_EQ(control->ClosedTabs(), QStringList{QStringLiteral("P1")});

    // A closed page destroyed meanwhile cannot be reached through the list.
    delete pages[1];
    EXPECT_TRUE(control->ClosedTabs().isEmpty());
    EXPECT_FALSE(control->OpenClosedTab(QStringLiteral("P1")));
    control->OpenAllClosedTabs();
    EXPECT_EQ(control->PageCount(), 3);
}

TEST_F(ExtPageControlWidget, OpenAllClosedTabsInListOrder)
{
    control->SetFreeOnClose(false);
    for (const auto& p : pages)
        p->SetShowClose(true);
    click(control.get(), closeBoxOfActive());  // P0
    click(control.get(), closeBoxOfActive());  // P1
    EXPECT_EQ(control->ClosedTabs(), (QStringList{QStringLiteral("P0"), QStringLiteral("P1")}));
    control->OpenAllClosedTabs();
    EXPECT_TRUE(control->ClosedTabs().isEmpty());
    ASSERT_EQ(control->PageCount(), 4);
    EXPECT_EQ(control->Pages(2), pages[0]);
    EXPECT_EQ(control->Pages(3), pages[1]);
}

TEST_F(ExtPageControlWidget, FreeOnCloseDestroysThePage)
{
    control->SetFreeOnClose(true);
    pages[0]->SetShowClose(true);
    int closed = 0;
    pages[0]->OnClose = [&](TExtTabSheet*) { ++closed; };
    click(control.get(), closeBoxOfActive());
    EXPECT_EQ(closed, 1);
    EXPECT_TRUE(pages[0].isNull());
    EXPECT_EQ(control->ActivePage(), pages[1]);
    EXPECT_TRUE(control->ClosedTabs().isEmpty());
}

TEST_F(ExtPageControlWidget, RefusedCloseLeavesEverything)
{
    pages[0]->SetShowClose(true);
    pages[0]->OnCanClose = [](TExtTabSheet*, bool& can) { can = false; };
    click(control.get(), closeBoxOfActive());
    EXPECT_EQ(control->PageCount(), 4);
    EXPECT_EQ(control->ActivePage(), pages[0]);
    EXPECT_TRUE(control->ClosedTabs().isEmpty());
}

TEST_F(ExtPageControlWidget, CloseButtonWithoutActivePageDoesNothing)
{
    // No page active: neither the press nor the release may read the missing page.
    for (const auto& p : pages)
        p->SetShowClose(true);
    control->SetActivePage(nullptr);
    EXPECT_EQ(control->TabIndex(), -1);
    const TRect box = closeButtonHitBox(tpTop, tabRectOf(0), control->TabMargin(), 0, false);
    click(control.get(), centre(box), Qt::RightButton);
    EXPECT_EQ(control->PageCount(), 4);
    EXPECT_EQ(control->ActivePage(), nullptr);

    TExtPageControl empty;
    empty.resize(200, 100);
    empty.SetTabHoverColor(clYellow);
    click(&empty, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 12), empty.mapToGlobal(QPointF(12, 12)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&empty, &move);
    EXPECT_EQ(empty.ActivePage(), nullptr);
}

TEST_F(ExtPageControlWidget, ClickOnATabAsksWithTheRealTarget)
{
    std::vector<std::pair<int, int>> asked;
    bool allow = false;
    control->OnCanChange = [&](TExtPageControl*, int from, int to, bool& ok) {
        asked.emplace_back(from, to);
        ok = allow;
    };
    int changes = 0;
    control->OnChange = [&](TExtPageControl*) { ++changes; };
    click(control.get(), centre(tabRectOf(2)));
    EXPECT_EQ(control->ActivePage(), pages[0]);
    allow = true;
    click(control.get(), centre(tabRectOf(2)));
    EXPECT_EQ(control->ActivePage(), pages[2]);
    EXPECT_EQ((asked), (std::vector<std::pair<int, int>>{{0, 2}, {0, 2}}));
    EXPECT_EQ(changes, 1);
}

TEST_F(ExtPageControlWidget, DisabledPageCannotBeActivated)
{
    pages[2]->SetTabEnable(false);
    click(control.get(), centre(tabRectOf(2)));
    EXPECT_EQ(control->ActivePage(), pages[0]);
    control->SetActivePage(pages[2]);
    EXPECT_EQ(control->ActivePage(), pages[0]);
    try {
        pages[0]->SetTabEnable(false);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Can not disable active tab.");
    }
    EXPECT_TRUE(pages[0]->TabEnable());
}

struct CtrlTabCase {
    const char* name;
    int start;
    bool shift;
    int expected;
};

// Page 2 of four is hidden.
const CtrlTabCase kCtrlTabCases[] = {
    {"ForwardSkipsHidden", 1, false, 3},
    {"ForwardWraps", 3, false, 0},
    {"BackwardSkipsHidden", 3, true, 1},
    {"BackwardWraps", 0, true, 3},
};

class ExtPageControlCtrlTab : public ExtPageControlWidget,
                              public ::testing::WithParamInterface<CtrlTabCase> {};

TEST_P(ExtPageControlCtrlTab, WrapsPastHiddenTabs)
{
    const CtrlTabCase& c = GetParam();
    pages[2]->SetTabVisible(false);
    control->SetActivePage(pages[size_t(c.start)]);
    std::vector<int> targets;
    control->OnCanChange = [&](TExtPageControl*, int, int to, bool&) { targets.push_back(to); };
    // From a field on the page, which lets the key pass to the control.
    auto* edit = new QLineEdit(pages[size_t(c.start)]);
    QTest::keyClick(edit, Qt::Key_Tab,
                    c.shift ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
    EXPECT_EQ(control->ActivePageIndex(), c.expected);
    // The handler is told the page the key goes to, not the one under the mouse.
    EXPECT_EQ(targets, std::vector<int>{c.expected});
}

INSTANTIATE_TEST_SUITE_P(ExtPageControl, ExtPageControlCtrlTab, ::testing::ValuesIn(kCtrlTabCases),
                         CaseName());

TEST_F(ExtPageControlWidget, CtrlTabRefusedByTheHandlerStays)
{
    control->OnCanChange = [](TExtPageControl*, int, int, bool& ok) { ok = false; };
    QTest::keyClick(control.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(control->ActivePage(), pages[0]);
}

TEST_F(ExtPageControlWidget, DefaultTabColourReachesOnlyPagesOnTheOldDefault)
{
    pages[1]->SetTabColor(clYellow);
    control->SetDefaultTabColor(clAqua);
    EXPECT_EQ(pages[0]->TabColor(), clAqua);
    EXPECT_EQ(pages[1]->TabColor(), clYellow);
    auto* late = new TExtTabSheet();
    late->SetExtPageControl(control.get());
    EXPECT_EQ(late->TabColor(), clAqua);
}

TEST_F(ExtPageControlWidget, SplitLineIsRefusedInTheDotNetStyle)
{
    control->SetTabStyle(tsDotNet);
    try {
        control->SetTabSplitLine(true);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "TabSplitLine must be false when TabStyle is tsDotNet");
    }
    EXPECT_FALSE(control->TabSplitLine());
    control->SetTabOverlap(40);
    EXPECT_EQ(control->TabOverlap(), 15);
}

TEST_F(ExtPageControlWidget, MarginsWidenEveryTab)
{
    const int before = tabRectOf(0).Width();
    control->TabMargin().SetLeftMargin(10);
    control->TabMargin().SetRightMargin(5);
    EXPECT_EQ(tabRectOf(0).Width(), before + 15);
    control->SetTabPosition(tpLeft);
    const TRect side = tabRectOf(0);
    EXPECT_GT(side.Height(), side.Width());
    EXPECT_LT(side.Right, 60);
}

TEST_F(ExtPageControlWidget, BoldActiveFontPadsTheActiveTabOnly)
{
    QFont bold = control->font();
    bold.setBold(true);
    control->SetActiveFont(bold);
    const TRect plain = tabRectOf(1);
    EXPECT_GT(tabRectOf(0).Width(), plain.Width());
    control->SetActivePage(pages[1]);
    EXPECT_GT(tabRectOf(1).Width(), tabRectOf(0).Width());
}

TEST_F(ExtPageControlWidget, RemovingAPageInTheBackgroundKeepsTheActiveOne)
{
    control->SetActivePage(pages[1]);
    delete pages[2];
    EXPECT_EQ(control->ActivePage(), pages[1]);
    pages[0]->SetExtPageControl(nullptr);
    EXPECT_EQ(control->ActivePage(), pages[1]);
    EXPECT_EQ(control->TabIndex(), 0);
    delete pages[0];
}

TEST_F(ExtPageControlWidget, NoActivePageShowsNoPage)
{
    control->show();
    control->SetActivePageIndex(7);
    EXPECT_EQ(control->ActivePage(), nullptr);
    EXPECT_EQ(control->TabIndex(), -1);
    EXPECT_FALSE(pages[0]->isVisible());
    control->SetActivePageIndex(3);
    EXPECT_TRUE(pages[3]->isVisible());
    EXPECT_EQ(control->TabIndex(), 3);
}

void moveTo(QWidget* w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(pos), w->mapToGlobal(QPointF(pos)), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

TEST_F(ExtPageControlWidget, HotTrackingNeedsAHoverColour)
{
    moveTo(control.get(), centre(tabRectOf(2)));
    EXPECT_EQ(control->HoverTab(), -1);
    control->SetTabHoverColor(clYellow);
    moveTo(control.get(), centre(tabRectOf(2)));
    EXPECT_EQ(control->HoverTab(), 2);
    EXPECT_EQ(control->paintState().hoverTab, 2);
    moveTo(control.get(), QPoint(200, 200));
    EXPECT_EQ(control->HoverTab(), -1);
    moveTo(control.get(), centre(tabRectOf(1)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(control.get(), &leave);
    EXPECT_EQ(control->HoverTab(), -1);
}

TEST_F(ExtPageControlWidget, CloseButtonTurnsHotAndPressed)
{
    control->SetTabHoverColor(clYellow);
    pages[0]->SetShowClose(true);
    const QPoint box = closeBoxOfActive();
    moveTo(control.get(), box);
    EXPECT_EQ(control->paintState().closeState, CloseButtonState::Hot);
    moveTo(control.get(), box + QPoint(20, 0));
    EXPECT_EQ(control->paintState().closeState, CloseButtonState::Normal);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(box), control->mapToGlobal(QPointF(box)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(control.get(), &press);
    EXPECT_EQ(control->paintState().closeState, CloseButtonState::Down);
    // Released away from the box: nothing closes.
    const QPoint away(200, 200);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(away),
                        control->mapToGlobal(QPointF(away)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(control.get(), &release);
    EXPECT_EQ(control->paintState().closeState, CloseButtonState::Normal);
    EXPECT_EQ(control->PageCount(), 4);
}

TEST_F(ExtPageControlWidget, FocusFollowsToTheNewPage)
{
    QWidget window;
    window.resize(420, 270);
    control->setParent(&window);
    auto* first = new QLineEdit(pages[0]);
    auto* second = new QLineEdit(pages[1]);
    window.show();
    QApplication::setActiveWindow(&window);
    first->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(first->hasFocus());
    control->SetActivePage(pages[1]);
    EXPECT_TRUE(second->hasFocus());
    // A page without a field hands the focus to the control.
    control->SetActivePage(pages[2]);
    EXPECT_TRUE(control->hasFocus());
    control->setParent(nullptr);
}

// ----- pixels --------------------------------------------------------------------------------

QImage render(TExtPageControl& control)
{
    QImage img(control.size(), QImage::Format_ARGB32);
    img.fill(Qt::magenta);
    control.render(&img);
    return img;
}

TEST_F(ExtPageControlWidget, TabBorder3DHandsTheTabsBackToTheTabBar)
{
    pages[0]->SetShowClose(true);
    const int drawn = tabRectOf(1).Width();
    control->SetTabBorder3D(true);
    // The tab bar shows the whole caption, two blanks wider than the drawn tab's text.
    EXPECT_GT(tabRectOf(1).Width(), drawn);
    const QImage img = render(*control);
    EXPECT_FALSE(img.isNull());
    // Without drawn tabs there is no close button to press.
    click(control.get(), closeBoxOfActive());
    EXPECT_EQ(control->PageCount(), 4);
    control->SetTabBorder3D(false);
    EXPECT_EQ(tabRectOf(1).Width(), drawn);
}

TEST_F(ExtPageControlWidget, CloseBoxAndBorderPixels)
{
    pages[0]->SetShowClose(true);
    control->SetTabSheetBorderColor(clNavy);
    const QImage img = render(*control);
    const TabPaintState s = control->paintState();
    const CloseButtonShape box = closeButtonShape(tpTop, CloseButtonState::Normal, true,
                                                  s.pages[0].rect, s.margins, 2, 0, false);
    EXPECT_EQ(img.pixelColor(box.box.Left, box.box.Top), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixelColor(box.box.Right - 1, box.box.Bottom - 1), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixelColor(box.box.Left + 1, box.box.Top + 1), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(box.box.Right, box.box.Top),
              img.pixelColor(box.box.Right + 1, box.box.Top));
    // The sheet's left border, below the tabs, in the border colour.
    EXPECT_EQ(img.pixelColor(0, 150), QColor(0, 0, 0x80));
}

TEST_F(ExtPageControlWidget, LeftTabsInDotNetStylePixels)
{
    control->SetTabPosition(tpLeft);
    control->SetTabStyle(tsDotNet);
    control->SetActiveColor(clWhite);
    control->SetTabBackGroundColor(clSilver);
    const QImage img = render(*control);
    const TRect active = tabRectOf(0);
    const TRect other = tabRectOf(1);
    // The active tab is filled white and framed grey on its outer side; the strip is silver
    // below the last tab.
    EXPECT_EQ(img.pixelColor(active.Left + 3, (active.Top + active.Bottom) / 2 + 20).rgb()
                  & 0xFFFFFF,
              img.pixelColor(active.Left + 3, active.Top + 3).rgb() & 0xFFFFFF);
    EXPECT_EQ(img.pixelColor(active.Left, active.Top + 5), QColor(0x80, 0x80, 0x80));
    EXPECT_EQ(img.pixelColor(active.Left + 3, active.Top + 3), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(other.Left + 1, 245), QColor(0xC0, 0xC0, 0xC0));
    // Some text was written on the active tab.
    bool ink = false;
    for (int y = active.Top; y < active.Bottom && !ink; ++y) {
        for (int x = active.Left + 2; x < active.Right - 2 && !ink; ++x)
            ink = img.pixelColor(x, y).lightness() < 100;
    }
    EXPECT_TRUE(ink);
}

TEST_F(ExtPageControlWidget, PageFillsTheSheetAreaWithItsGradient)
{
    pages[0]->SetColor(clWhite);
    pages[0]->SetColorTo(clBlue);
    control->show();
    const QImage img = render(*control);
    const QRect g = pages[0]->geometry();
    ASSERT_FALSE(g.isEmpty());
    const QColor top = img.pixelColor(g.center().x(), g.top() + 1);
    const QColor bottom = img.pixelColor(g.center().x(), g.bottom() - 1);
    EXPECT_GT(top.red(), 200);
    EXPECT_LT(bottom.red(), 60);
    EXPECT_GT(bottom.blue(), 200);
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

// ----- rows, keys, hooks ----------------------------------------------------------------------

TEST_F(ExtPageControlWidget, MultiLineRowsTurnSoTheSelectedRowMeetsTheSheet)
{
    control->resize(150, 250);
    control->SetMultiLine(true);
    const auto bottomOf = [&](int page) { return tabRectOf(page).Bottom; };
    int stripBottom = 0;
    for (int i = 0; i < 4; ++i)
        stripBottom = std::max(stripBottom, bottomOf(i));
    ASSERT_GT(stripBottom, bottomOf(3)) << "the last tab wraps to a row further out";
    EXPECT_EQ(bottomOf(0), stripBottom);
    // Rows fill the strip: the last tab of the first row ends 2 pixels before the right edge.
    int lastOfRow = 0;
    while (lastOfRow + 1 < 4 && bottomOf(lastOfRow + 1) == stripBottom)
        ++lastOfRow;
    EXPECT_EQ(tabRectOf(lastOfRow).Right, 148);
    EXPECT_GE(pages[0]->geometry().top(), stripBottom) << "the page lies below every row";

    click(control.get(), centre(tabRectOf(3)));
    EXPECT_EQ(control->ActivePage(), pages[3]);
    EXPECT_EQ(bottomOf(3), stripBottom);
    EXPECT_LT(bottomOf(0), stripBottom);

    control->SetRaggedRight(true);
    EXPECT_LT(tabRectOf(lastOfRow).Right, 148);
    control->SetMultiLine(false);
    EXPECT_EQ(bottomOf(3), bottomOf(0));
}

TEST_F(ExtPageControlWidget, ArrowKeysMoveAlongTheTabsWithoutWrapping)
{
    QWidget window;
    window.resize(420, 270);
    control->setParent(&window);
    window.show();
    QApplication::setActiveWindow(&window);
    control->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    ASSERT_TRUE(control->hasFocus());
    pages[2]->SetTabEnable(false);
    std::vector<int> targets;
    control->OnCanChange = [&](TExtPageControl*, int, int to, bool&) { targets.push_back(to); };

    QTest::keyClick(control.get(), Qt::Key_Right);
    EXPECT_EQ(control->ActivePageIndex(), 1);
    QTest::keyClick(control.get(), Qt::Key_Right);
    EXPECT_EQ(control->ActivePageIndex(), 3) << "the disabled tab is passed over";
    QTest::keyClick(control.get(), Qt::Key_Down);
    EXPECT_EQ(control->ActivePageIndex(), 3) << "no wrap-around";
    QTest::keyClick(control.get(), Qt::Key_Up);
    EXPECT_EQ(control->ActivePageIndex(), 1);
    EXPECT_EQ(targets, (std::vector<int>{1, 3, 1}));
    control->setParent(nullptr);
}

TEST_F(ExtPageControlWidget, OnDrawTabSeesEveryShownTabAndOnGetImageIndexSizesThem)
{
    pages[1]->SetTabVisible(false);
    std::vector<std::tuple<int, TRect, bool>> drawn;
    control->OnDrawTab = [&](TExtPageControl*, ICanvas&, int tab, const TRect& r, bool active) {
        drawn.emplace_back(tab, r, active);
    };
    QImage img(control->size(), QImage::Format_ARGB32);
    control->render(&img);
    const std::vector<TRect> rects = control->tabRects();
    ASSERT_EQ(drawn.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(std::get<0>(drawn[size_t(i)]), i);
        EXPECT_EQ(std::get<1>(drawn[size_t(i)]), rects[size_t(i)]);
        EXPECT_EQ(std::get<2>(drawn[size_t(i)]), i == 0);
    }

    // Every tab keeps the margins' room, unless the handler answers no picture for it.
    control->TabMargin().SetLeftMargin(10);
    const int wide = tabRectOf(2).Width();
    EXPECT_EQ(control->GetImageIndex(1), 0);
    std::vector<int> asked;
    control->OnGetImageIndex = [&](TExtPageControl*, int tab, int& index) {
        asked.push_back(index);
        if (tab == 1)
            index = -1;
    };
    control->SetMultiLine(true);  // the tabs are measured again
    EXPECT_EQ(tabRectOf(2).Width(), wide - 10);
    EXPECT_NE(std::find(asked.begin(), asked.end(), 1), asked.end()) << "asked with the tab index";
}

TEST_F(ExtPageControlWidget, HotTrackFollowsTheMouseWithoutAHoverColour)
{
    control->SetHotTrack(true);
    moveTo(control.get(), centre(tabRectOf(2)));
    EXPECT_EQ(control->HoverTab(), 2);
    EXPECT_TRUE(control->paintState().hotTrack);
}

TEST_F(ExtPageControlWidget, TabSheet3DRaisedEdgePixels)
{
    control->SetTabSheet3D(true);
    const QImage img = render(*control);
    const int strip = tabRectOf(0).Bottom;
    // Lighter than the sheet at the top and left, darker at the right and bottom.
    const int face = img.pixelColor(200, 150).lightness();
    EXPECT_GT(img.pixelColor(1, 150).lightness(), face);
    EXPECT_GT(img.pixelColor(300, strip + 1).lightness(), face);
    EXPECT_LT(img.pixelColor(399, 150).lightness(), face);
    EXPECT_LT(img.pixelColor(200, 249).lightness(), face);
    EXPECT_LT(img.pixelColor(398, 150).lightness(), face);
}

TEST_F(ExtPageControlWidget, ScrollOppositeSendsTheRowsInFrontBelowThePage)
{
    control->resize(150, 250);
    control->SetMultiLine(true);
    control->SetScrollOpposite(true);
    EXPECT_LT(tabRectOf(3).Bottom, tabRectOf(0).Bottom);
    click(control.get(), centre(tabRectOf(3)));
    ASSERT_EQ(control->ActivePage(), pages[3]);
    // The first row now lies along the bottom edge, the page between the two strips.
    const TRect first = tabRectOf(0);
    EXPECT_EQ(first.Bottom, 248);
    const QRect page = pages[3]->geometry();
    EXPECT_LT(page.bottom(), first.Top);
    EXPECT_GE(page.top(), tabRectOf(3).Bottom);
    // A click on it brings it back to the top.
    click(control.get(), centre(first));
    EXPECT_EQ(control->ActivePage(), pages[0]);
    EXPECT_LT(tabRectOf(0).Bottom, 100);
    EXPECT_GE(pages[0]->geometry().bottom(), 240);
}

TEST_F(ExtPageControlWidget, TabBorder3DShowsEachPagesOwnPicture)
{
    TTabImageList images;
    images.Width = images.Height = 8;
    for (Qt::GlobalColor colour : {Qt::red, Qt::blue}) {
        QImage picture(8, 8, QImage::Format_ARGB32);
        picture.fill(colour);
        images.Pictures.push_back(picture);
    }
    control->SetImages(&images);
    pages[1]->SetImageIndex(1);
    control->SetTabBorder3D(true);
    const QTabBar* bar = control->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->tabIcon(0).isNull()) << "no picture of its own, none shown";
    ASSERT_FALSE(bar->tabIcon(1).isNull());
    EXPECT_EQ(bar->tabIcon(1).pixmap(8, 8).toImage().pixelColor(4, 4), QColor(Qt::blue));
    // A handler decides for every tab.
    control->OnGetImageIndex = [](TExtPageControl*, int tab, int& index) {
        index = tab == 0 ? 0 : -1;
    };
    pages[0]->SetCaption(QStringLiteral("Renamed  "));
    EXPECT_FALSE(bar->tabIcon(0).isNull());
    EXPECT_TRUE(bar->tabIcon(1).isNull());
    control->SetTabBorder3D(false);
    EXPECT_TRUE(bar->tabIcon(0).isNull()) << "drawn tabs paint their pictures themselves";
    control->SetImages(nullptr);
}

}  // namespace
}  // namespace zfw
