// The string grid's window helpers: bars kept shown, the integral height, the edit-change
// repaint skip, notifier and listener registration, and the locale helpers.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace zfw {
namespace {

using test::CaseName;

class CountingGrid : public TExtStringGrid {
public:
    int passes = 0;
    void Paint(QPainter& painter, const QRect& updateRect) override
    {
        ++passes;
        TExtStringGrid::Paint(painter, updateRect);
    }
};

// A 4 x 3 grid of 50 x 20 cells in a 400 x 300 window: everything fits.
std::unique_ptr<CountingGrid> smallShownGrid()
{
    auto g = std::make_unique<CountingGrid>();
    g->SetColCount(4);
    g->SetRowCount(3);
    g->SetDefaultColWidth(50);
    g->SetDefaultRowHeight(20);
    g->resize(400, 300);
    g->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(g.get()));
    return g;
}

struct BarCase {
    const char* name;
    TScrollBarAlways always;
    bool vertShown;
    bool horzShown;
};

class ScrollBarAlwaysCases : public ::testing::TestWithParam<BarCase> {};

TEST_P(ScrollBarAlwaysCases, KeepsTheBarShownAndDisabledWhileEverythingFits)
{
    const BarCase& bc = GetParam();
    auto g = smallShownGrid();
    g->SetScrollBarAlways(bc.always);
    EXPECT_EQ(g->verticalScrollBar()->isVisible(), bc.vertShown);
    EXPECT_EQ(g->horizontalScrollBar()->isVisible(), bc.horzShown);
    if (bc.vertShown) {
        EXPECT_FALSE(g->verticalScrollBar()->isEnabled()) << "nothing to scroll";
    }
    if (bc.horzShown) {
        EXPECT_FALSE(g->horizontalScrollBar()->isEnabled());
    }
    if (qEnvironmentVariableIsSet("ZFW_DUMP_PNG"))
        g->grab().save(QStringLiteral("/tmp/g6-bars-%1.png").arg(QString::fromLatin1(bc.name)));

    // Rows and columns that no longer fit: both bars shown and usable.
    g->SetRowCount(40);
    g->SetColCount(20);
    EXPECT_TRUE(g->verticalScrollBar()->isVisible());
    EXPECT_TRUE(g->verticalScrollBar()->isEnabled());
    EXPECT_TRUE(g->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(g->horizontalScrollBar()->isEnabled());

    // And back: the kept bars stay, the others go.
    g->SetRowCount(3);
    g->SetColCount(4);
    EXPECT_EQ(g->verticalScrollBar()->isVisible(), bc.vertShown);
    EXPECT_EQ(g->horizontalScrollBar()->isVisible(), bc.horzShown);
}

const BarCase kBarCases[] = {
    {"None", saNone, false, false},
    {"Vert", saVert, true, false},
    {"Horz", saHorz, false, true},
    {"Both", saBoth, true, true},
};
INSTANTIATE_TEST_SUITE_P(Grid, ScrollBarAlwaysCases, ::testing::ValuesIn(kBarCases), CaseName());

struct HeightCase {
    const char* name;
    bool integral;
    bool frame;
    int colCount;  // 4 fit in 300 px; 20 do not
    bool locked;
    int requested;
    int expectedWithoutBar;  // the horizontal bar's extent is added when columns do not fit
};

class IntegralHeightCases : public ::testing::TestWithParam<HeightCase> {};

TEST_P(IntegralHeightCases, CutsTheHeightToWholeRows)
{
    const HeightCase& hc = GetParam();
    TExtStringGrid g;
    g.SetScrollBars(ssNone);
    g.SetColCount(hc.colCount);
    g.SetDefaultColWidth(50);
    g.SetDefaultRowHeight(22);
    g.setFrameShape(hc.frame ? QFrame::StyledPanel : QFrame::NoFrame);
    g.resize(300, 200);
    g.SetIntegralHeight(hc.integral);
    if (hc.locked)
        g.BeginUpdate();
    g.SetBounds(5, 6, 300, hc.requested);
    int expected = hc.expectedWithoutBar;
    if (hc.integral && !hc.locked && hc.colCount > 4) {
        const int s = g.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &g);
        const int b = hc.frame ? 2 : 0;
        expected = s + (hc.requested - s - b) / 22 * 22 + 2 * b;
    }
    EXPECT_EQ(g.geometry(), QRect(5, 6, 300, expected));
}

const HeightCase kHeightCases[] = {
    {"SingleBorderAllColumnsFit", true, true, 4, false, 100, 92},
    {"NoBorder", true, false, 4, false, 100, 88},
    {"ExactRows", true, false, 4, false, 88, 88},
    {"LessThanOneRow", true, false, 4, false, 15, 0},
    {"ColumnsDoNotFitKeepRoomForTheBar", true, true, 20, false, 150, 0},
    {"Off", false, true, 4, false, 100, 100},
    {"UnderTheUpdateLock", true, true, 4, true, 100, 100},
};
INSTANTIATE_TEST_SUITE_P(Grid, IntegralHeightCases, ::testing::ValuesIn(kHeightCases), CaseName());

TEST(ExtGridWindow, EditChangeSkipsOneInvalidateButNotTheEndOfTheLock)
{
    auto g = smallShownGrid();
    QApplication::processEvents();
    g->passes = 0;
    g->setEditChange(true);
    g->Invalidate();
    QApplication::processEvents();
    EXPECT_EQ(g->passes, 0);
    EXPECT_FALSE(g->editChange()) << "the skip is used up";
    g->Invalidate();
    QApplication::processEvents();
    EXPECT_EQ(g->passes, 1);

    g->passes = 0;
    g->BeginUpdate();
    g->setEditChange(true);
    g->EndUpdate();
    QApplication::processEvents();
    EXPECT_EQ(g->passes, 1) << "a pending edit change must not swallow the lock's repaint";
}

TEST(ExtGridWindow, ResizeFiresOnResize)
{
    auto g = smallShownGrid();
    int fired = 0;
    g->OnResize = [&](QObject* sender) {
        EXPECT_EQ(sender, g.get());
        ++fired;
    };
    g->resize(350, 250);
    QApplication::processEvents();
    EXPECT_GE(fired, 1);
}

class RecordingNotifier : public TGridChangeNotifier {
public:
    std::vector<TRect> told;
    void CellsChanged(const TRect& R) override { told.push_back(R); }
};

TEST(ExtGridWindow, NotifiersAreKeptOnceAndDropOutWhenDestroyed)
{
    TExtStringGrid g;
    RecordingNotifier a;
    auto b = std::make_unique<RecordingNotifier>();
    g.RegisterNotifier(&a);
    g.RegisterNotifier(b.get());
    g.RegisterNotifier(&a);
    g.RegisterNotifier(nullptr);
    EXPECT_EQ(g.notifiers(), (QList<TGridChangeNotifier*>{&a, b.get()}));

    const TRect r{1, 2, 3, 4};
    g.NotifyCellsChanged(r);
    EXPECT_EQ(a.told.size(), 1u);
    EXPECT_EQ(b->told.size(), 1u);

    b.reset();  // destroyed while registered
    EXPECT_EQ(g.notifiers(), (QList<TGridChangeNotifier*>{&a}));
    g.NotifyCellsChanged(r);
    EXPECT_EQ(a.told.size(), 2u);

    g.UnRegisterNotifier(&a);
    EXPECT_TRUE(g.notifiers().isEmpty());
    g.UnRegisterNotifier(&a);  // not there: nothing happens
}

TEST(ExtGridWindow, OneSelectionListenerClearedWhateverIsPassed)
{
    struct Listener : ITExtStringGridSelect {};
    Listener first, second;
    TExtStringGrid g;
    g.RegisterSelListener(&first);
    g.RegisterSelListener(&second);
    EXPECT_EQ(g.selListener(), &second);
    g.UnRegisterSelListener(&first);
    EXPECT_EQ(g.selListener(), nullptr);
}

struct LocaleCase {
    const char* name;
    QLocale locale;
    QChar time, date, thousand, decimal;
};

class LocaleHelpers : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleHelpers, SeparatorsComeFromTheLocale)
{
    const LocaleCase& lc = GetParam();
    EXPECT_EQ(GetTimeSeparatorSetting(lc.locale), lc.time);
    EXPECT_EQ(GetDateSeparatorSetting(lc.locale), lc.date);
    EXPECT_EQ(GetThousandSeparatorSetting(lc.locale), lc.thousand);
    EXPECT_EQ(GetDecimalSeparatorSetting(lc.locale), lc.decimal);
    EXPECT_EQ(GetShortDateFormatSetting(lc.locale), lc.locale.dateFormat(QLocale::ShortFormat));
    EXPECT_EQ(GetShortTimeFormatSetting(lc.locale), lc.locale.timeFormat(QLocale::ShortFormat));
    EXPECT_EQ(GetLongTimeFormatSetting(lc.locale), lc.locale.timeFormat(QLocale::LongFormat));
}

const LocaleCase kLocales[] = {
    {"UnitedStates", QLocale(QLocale::English, QLocale::UnitedStates), u':', u'/', u',', u'.'},
    {"Germany", QLocale(QLocale::German, QLocale::Germany), u':', u'.', u'.', u','},
    {"Netherlands", QLocale(QLocale::Dutch, QLocale::Netherlands), u':', u'-', u'.', u','},
};
INSTANTIATE_TEST_SUITE_P(Grid, LocaleHelpers, ::testing::ValuesIn(kLocales), CaseName());

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

TEST(ExtGridWindowHelpers, FindParentFormWalksUpToTheTopLevelWindow)
{
    QWidget form;
    QWidget panel(&form);
    TExtStringGrid grid(&panel);
    EXPECT_EQ(FindParentForm(&grid), &form);
    EXPECT_EQ(FindParentForm(&panel), &form);
    EXPECT_EQ(FindParentForm(&form), nullptr);
    EXPECT_EQ(FindParentForm(nullptr), nullptr);
    SetWindowTransparentStyle(&form);  // nothing to switch: must leave the window as it was
    EXPECT_TRUE(form.isWindow());
    grid.RepaintHeaderCells(2, 3, 50, 60);  // cells outside the grid are harmless
    grid.SetFixedRows(0);
    grid.SetFixedCols(0);
    grid.RepaintHeaderCells(1, 1, 2, 2);
}

}  // namespace
}  // namespace zfw
