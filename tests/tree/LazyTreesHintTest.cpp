// Hints and tooltips of the tree: when a tooltip is due (only over a cut-off text, at once and
// exactly over it), the four hint modes, the rectangle inside which a hint is not restarted,
// and the hint's place inside the screen.

#include "support/CaseName.h"
#include "tree/LazyTreesDraw.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace zfw::test {
namespace {

// ----- the arithmetic ---------------------------------------------------------------------

struct CutOffCase {
    std::string name;
    QRect text;
    QPoint margin;
    bool cut;
};

// Column bounds 0..200 in a client of 200 x 100.
const CutOffCase kCutOffCases[] = {
    {"FitsWithRoom", QRect(10, 10, 100, 18), {}, false},
    {"FitsExactly", QRect(10, 10, 190, 18), {}, false},
    {"OnePixelTooWide", QRect(10, 10, 191, 18), {}, true},
    {"MarginMakesItTooWide", QRect(10, 10, 190, 18), {1, 0}, true},
    {"StartsLeftOfTheClient", QRect(-1, 10, 50, 18), {}, true},
    {"EndsOnTheBottomEdge", QRect(10, 82, 50, 18), {}, false},
    {"EndsBelowTheClient", QRect(10, 83, 50, 18), {}, true},
    {"StartsAboveTheClient", QRect(10, -1, 50, 18), {}, true},
};

class HintCutOff : public ::testing::TestWithParam<CutOffCase> {};

TEST_P(HintCutOff, OnlyATextNotShownInFullIsCut)
{
    const CutOffCase& c = GetParam();
    EXPECT_EQ(tooltipTextCutOff(c.text, c.margin, 0, 200, 200, 100), c.cut);
}

INSTANTIATE_TEST_SUITE_P(Cases, HintCutOff, ::testing::ValuesIn(kCutOffCases), CaseName());

struct PlaceCase {
    std::string name;
    QRect hint;
    QRect expect;
};

// A desktop of 1000 x 800 whose left edge lies at 100 (a second screen, say).
const PlaceCase kPlaceCases[] = {
    {"InsideStays", QRect(200, 100, 50, 20), QRect(200, 100, 50, 20)},
    {"BeyondTheRightEdgeMovesLeft", QRect(1080, 100, 50, 20), QRect(1050, 100, 50, 20)},
    {"BelowTheBottomMovesUp", QRect(200, 790, 50, 20), QRect(200, 780, 50, 20)},
    {"LeftOfTheDesktopMovesRight", QRect(90, 100, 50, 20), QRect(100, 100, 50, 20)},
    {"AboveTheTopMovesDown", QRect(200, -5, 50, 20), QRect(200, 0, 50, 20)},
    {"WiderThanTheDesktopIsCut", QRect(500, 100, 5000, 20), QRect(100, 100, 1000, 20)},
    {"HigherThanTheDesktopIsCut", QRect(200, 300, 50, 9000), QRect(200, 0, 50, 800)},
};

class HintPlacement : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(HintPlacement, TheHintEndsInsideTheDesktop)
{
    const PlaceCase& c = GetParam();
    EXPECT_EQ(placeHintInside(c.hint, QRect(100, 0, 1000, 800)), c.expect);
}

INSTANTIATE_TEST_SUITE_P(Cases, HintPlacement, ::testing::ValuesIn(kPlaceCases), CaseName());

// ----- the tree ---------------------------------------------------------------------------

// Three top-level nodes "short", "a longer text to cut" and "third", no images, no check
// boxes, a focused top-level window; the node hint is "<text> hint".
struct HintFixture {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    std::map<PLazyNode, QString> texts;
    std::vector<PLazyNode> nodes;
    int hintAsked = 0;

    HintFixture()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetAnimationDuration(0);
        tree->SetHintAnimation(hatNone);
        tree->OnGetText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType type,
                                 QString& text) {
            if (type == ttNormal && texts.count(n))
                text = texts[n];
        };
        tree->OnGetHint = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex,
                                 TLTTooltipLineBreakStyle&, QString& hint) {
            ++hintAsked;
            if (tree->HintMode() != hmTooltip)
                hint = texts[n] + QStringLiteral(" hint");
            else
                hint = texts[n];
        };
        for (const char* t : {"short", "a longer text to cut", "third"}) {
            PLazyNode n = tree->AddChild(nullptr);
            texts[n] = QString::fromLatin1(t);
            nodes.push_back(n);
            // The width measured while the node had no text yet is measured again.
            tree->ReinitNode(n, false);
        }
        tree->resize(300, 200);
        tree->show();
        tree->activateWindow();
        tree->setFocus();
        QApplication::processEvents();
    }
    QRect textRect(PLazyNode n) const { return tree->GetDisplayRect(n, NoColumn, true, true); }
    QPoint inText(PLazyNode n) const { return textRect(n).center(); }
    // The tree's width for a client exactly `clientWidth` pixels wide.
    void setClientWidth(int clientWidth)
    {
        const int extra = tree->width() - tree->viewport()->width();
        tree->resize(clientWidth + extra, tree->height());
        QApplication::processEvents();
        ASSERT_EQ(tree->viewport()->width(), clientWidth);
    }
    void move(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, p, tree->viewport()->mapToGlobal(p), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &e);
    }
    bool hintShown() const { return tree->hintWindow() && tree->hintWindow()->isVisible(); }
};

TEST(TreeHint, ATooltipShowsOnlyOverACutOffText)
{
    HintFixture f;
    f.tree->SetHintMode(hmTooltip);
    PLazyNode cut = f.nodes[1];
    const QRect r = f.textRect(cut);
    ASSERT_GT(r.width(), 40);

    // The text's rectangle ends exactly at the client's right edge: it is shown in full.
    f.setClientWidth(r.left() + r.width());
    f.move(f.inText(cut));
    EXPECT_FALSE(f.hintShown());
    EXPECT_TRUE(f.tree->LastHintRect().isEmpty());

    // One pixel less and the mouse move alone shows the tooltip, without Qt's delay.
    f.setClientWidth(r.left() + r.width() - 1);
    f.move(f.inText(cut));
    ASSERT_TRUE(f.hintShown());
    EXPECT_TRUE(f.tree->TreeStates().contains(tsHint));
    EXPECT_EQ(f.tree->hintWindow()->paintedText(), QStringLiteral("a longer text to cut"));
    // Exactly over the cell text: the window starts at the text rectangle and is one pixel
    // wider on each side.
    const QRect shown = f.tree->hintWindow()->geometry();
    EXPECT_EQ(shown.topLeft(), f.tree->viewport()->mapToGlobal(r.topLeft()));
    EXPECT_EQ(shown.size(), r.size() + QSize(2, 2));
    EXPECT_EQ(f.tree->LastHintRect(), r);

    // The tooltip's text is painted in the cell's font, as the owner sets it for painting.
    EXPECT_EQ(f.tree->hintWindow()->hintFont(), f.tree->font());
    f.tree->CancelHint();
    f.tree->OnPaintText = [](TBaseLazyTree&, ICanvas& canvas, PLazyNode, TColumnIndex,
                             TVSTTextType) {
        QFont bold;
        bold.setBold(true);
        canvas.setFont(bold);
    };
    f.move(f.inText(cut));
    ASSERT_TRUE(f.hintShown());
    EXPECT_TRUE(f.tree->hintWindow()->hintFont().bold());

    // A short text that fits shows none; the old tooltip goes.
    f.move(f.inText(f.nodes[0]));
    EXPECT_FALSE(f.hintShown());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsHint));
}

struct ModeCase {
    std::string name;
    TLTHintMode mode;
    int row;  // -1: below the nodes
    QString treeHint;
    std::function<void(HintFixture&)> setup;
    bool shown;
    QString text;
};

const ModeCase kModeCases[] = {
    {"DefaultLeavesItToQt", hmDefault, 0, "tree hint", nullptr, false, ""},
    {"HintOverANode", hmHint, 0, "", nullptr, true, "short hint"},
    {"HintBelowTheNodesShowsNothing", hmHint, -1, "tree hint", nullptr, false, ""},
    {"HintEmptyShowsNothing", hmHint, 0, "",
     [](HintFixture& f) {
         f.tree->OnGetHint = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TLTTooltipLineBreakStyle&,
                                QString& hint) { hint.clear(); };
     },
     false, ""},
    {"HintAndDefaultOverANode", hmHintAndDefault, 2, "tree hint", nullptr, true, "third hint"},
    {"HintAndDefaultBelowTheNodes", hmHintAndDefault, -1, "tree hint", nullptr, true, "tree hint"},
    {"HintAndDefaultWithoutATreeHint", hmHintAndDefault, -1, "", nullptr, false, ""},
    {"TooltipOverAFittingText", hmTooltip, 0, "", nullptr, false, ""},
    {"OwnerDrawnWithoutASize", hmHint, 0, "",
     [](HintFixture& f) {
         f.tree->OnGetHintKind = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TLTHintKind& k) {
             k = vhkOwnerDraw;
         };
     },
     false, ""},
    {"OwnerDrawnWithASize", hmHint, 0, "",
     [](HintFixture& f) {
         f.tree->OnGetHintKind = [](TBaseLazyTree&, PLazyNode, TColumnIndex, TLTHintKind& k) {
             k = vhkOwnerDraw;
         };
         f.tree->OnGetHintSize = [](TBaseLazyTree&, PLazyNode, TColumnIndex, QRect& r) {
             r = QRect(0, 0, 50, 20);
         };
     },
     true, ""},
    {"HintsOff", hmHint, 0, "", [](HintFixture& f) { f.tree->SetShowHint(false); }, false, ""},
};

class HintModes : public ::testing::TestWithParam<ModeCase> {};

TEST_P(HintModes, TheModeDecidesWhatShows)
{
    const ModeCase& c = GetParam();
    HintFixture f;
    f.tree->SetHintMode(c.mode);
    f.tree->setToolTip(c.treeHint);
    if (c.setup)
        c.setup(f);
    const QPoint at = c.row >= 0 ? f.inText(f.nodes[std::size_t(c.row)])
                                 : QPoint(20, f.tree->viewport()->height() - 5);
    EXPECT_EQ(f.tree->ShowHintAt(at), c.shown);
    EXPECT_EQ(f.hintShown(), c.shown);
    if (c.shown && !c.text.isEmpty()) {
        EXPECT_EQ(f.tree->hintWindow()->paintedText(), c.text);
    }
    if (c.shown) {
        EXPECT_TRUE(f.tree->LastHintRect().contains(at));
    } else {
        EXPECT_TRUE(f.tree->LastHintRect().isEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HintModes, ::testing::ValuesIn(kModeCases), CaseName());

TEST(TreeHint, AHintIsNotRestartedInsideItsRectangle)
{
    HintFixture f;
    f.tree->SetHintMode(hmHint);
    PLazyNode node = f.nodes[0];
    ASSERT_TRUE(f.tree->ShowHintAt(f.inText(node)));
    const QRect area = f.tree->LastHintRect();
    const QRect shownAt = f.tree->hintWindow()->geometry();
    const int asked = f.hintAsked;
    // Anywhere in the row: the same hint stays where it is, nothing is asked again.
    for (QPoint p : {area.topLeft(), area.bottomRight(), area.center() + QPoint(30, 0)}) {
        EXPECT_TRUE(f.tree->ShowHintAt(p));
        f.move(p);
    }
    EXPECT_EQ(f.hintAsked, asked);
    EXPECT_EQ(f.tree->hintWindow()->geometry(), shownAt);
    // Leaving the rectangle hides it; the next request starts a new one.
    f.move(area.bottomLeft() + QPoint(0, 1));
    EXPECT_FALSE(f.hintShown());
    EXPECT_TRUE(f.tree->LastHintRect().isEmpty());
    EXPECT_TRUE(f.tree->ShowHintAt(f.inText(f.nodes[1])));
    EXPECT_GT(f.hintAsked, asked);
}

TEST(TreeHint, QtsTooltipEventShowsTheTreesHintAndAClickHidesIt)
{
    HintFixture f;
    f.tree->setToolTip(QStringLiteral("tree hint"));
    const QPoint at = f.inText(f.nodes[0]);
    const auto tooltipEvent = [&] {
        QHelpEvent e(QEvent::ToolTip, at, f.tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(f.tree->viewport(), &e);
    };
    // The control's plain hint is Qt's: the tree makes no window of its own.
    f.tree->SetHintMode(hmDefault);
    tooltipEvent();
    EXPECT_EQ(f.tree->hintWindow(), nullptr);

    f.tree->SetHintMode(hmHint);
    tooltipEvent();
    ASSERT_TRUE(f.hintShown());
    EXPECT_EQ(f.tree->hintWindow()->paintedText(), QStringLiteral("short hint"));
    QMouseEvent press(QEvent::MouseButtonPress, at, f.tree->viewport()->mapToGlobal(at),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(f.tree->viewport(), &press);
    EXPECT_FALSE(f.hintShown());
    EXPECT_TRUE(f.tree->LastHintRect().isEmpty());
}

TEST(TreeHint, AMultiLineNodeShowsItsTooltipOnlyOverTheLabel)
{
    HintFixture f;
    f.tree->SetHintMode(hmTooltip);
    PLazyNode node = f.nodes[1];
    f.tree->SetMultiline(node, true);
    const QRect label = f.tree->GetDisplayRect(node, NoColumn, true);
    ASSERT_GT(f.tree->viewport()->width() - (label.left() + label.width()), 20);
    // Right of the text, in the same row: no tooltip.
    EXPECT_FALSE(f.tree->ShowHintAt(QPoint(f.tree->viewport()->width() - 5, label.center().y())));
    // Over the text, even one that fits: the tooltip starts at the label.
    ASSERT_TRUE(f.tree->ShowHintAt(label.center()));
    EXPECT_EQ(f.tree->hintWindow()->geometry().topLeft(),
              f.tree->viewport()->mapToGlobal(label.topLeft()));
    EXPECT_EQ(f.tree->hintWindow()->hintData().LineBreakStyle, hlbForceMultiLine);
}

TEST(TreeHint, ANodeHintShowsBelowTheRowInsideTheScreen)
{
    HintFixture f;
    f.tree->SetHintMode(hmHint);
    const QRect desktop = f.tree->screen()->availableGeometry();
    PLazyNode node = f.nodes[1];
    ASSERT_TRUE(f.tree->ShowHintAt(f.inText(node)));
    const QRect row = f.tree->GetDisplayRect(node, NoColumn, false);
    const QRect shown = f.tree->hintWindow()->geometry();
    EXPECT_EQ(shown.top(), f.tree->viewport()->mapToGlobal(row.bottomLeft()).y() + 3);
    EXPECT_TRUE(desktop.contains(shown));

    // The tree at the desktop's bottom-right corner: the hint moves up and left into it.
    f.tree->move(desktop.bottomRight() - QPoint(f.tree->width() - 1, f.tree->height() - 1));
    QApplication::processEvents();
    f.tree->CancelHint();
    const QPoint lastRow(f.tree->viewport()->width() - 5, f.inText(f.nodes[2]).y());
    ASSERT_TRUE(f.tree->ShowHintAt(lastRow));
    EXPECT_TRUE(desktop.contains(f.tree->hintWindow()->geometry()))
        << "hint at " << f.tree->hintWindow()->geometry().x() << ","
        << f.tree->hintWindow()->geometry().y();
}

TEST(TreeHint, HugeTextsAreShownCutToTheScreen)
{
    HintFixture f;
    const QString huge(100000, QLatin1Char('w'));
    f.texts[f.nodes[1]] = huge;
    f.tree->ReinitNode(f.nodes[1], false);
    const QRect desktop = f.tree->screen()->availableGeometry();
    for (TLTHintMode mode : {hmHint, hmTooltip}) {
        f.tree->CancelHint();
        f.tree->SetHintMode(mode);
        ASSERT_TRUE(f.tree->ShowHintAt(QPoint(f.inText(f.nodes[0]).x(), f.inText(f.nodes[1]).y())))
            << int(mode);
        EXPECT_TRUE(desktop.contains(f.tree->hintWindow()->geometry())) << int(mode);
        EXPECT_EQ(f.tree->hintWindow()->paintedText().size(), kMaxHintTextLength);
        f.tree->hintWindow()->grab();
    }
    // A hint made of blanks only, in the control's own hint.
    f.tree->CancelHint();
    f.tree->SetHintMode(hmHintAndDefault);
    f.tree->setToolTip(QString(100000, QLatin1Char(' ')));
    EXPECT_TRUE(f.tree->ShowHintAt(QPoint(20, f.tree->viewport()->height() - 5)));
    EXPECT_TRUE(desktop.contains(f.tree->hintWindow()->geometry()));
}

TEST(TreeHint, AFadeRunsFromATimerAndEndsWithTheWindow)
{
    HintFixture f;
    EXPECT_TRUE(f.tree->HintWindowDestroyed());
    f.tree->SetHintMode(hmHint);
    f.tree->SetHintAnimation(hatFade);
    f.tree->SetAnimationDuration(200);
    ASSERT_TRUE(f.tree->ShowHintAt(f.inText(f.nodes[0])));
    EXPECT_FALSE(f.tree->HintWindowDestroyed());
    EXPECT_TRUE(f.tree->hintWindow()->fading());
    EXPECT_LT(f.tree->hintWindow()->windowOpacity(), 1.0);
    EXPECT_TRUE(f.tree->TreeStates().contains(tsInAnimation));
    // Hiding ends the fade at full opacity.
    f.move(QPoint(5, f.tree->viewport()->height() - 2));
    EXPECT_FALSE(f.hintShown());
    EXPECT_FALSE(f.tree->hintWindow()->fading());
    EXPECT_FALSE(f.tree->TreeStates().contains(tsInAnimation));
    EXPECT_FALSE(f.tree->HintWindowDestroyed());
    delete f.tree->hintWindow();
    EXPECT_TRUE(f.tree->HintWindowDestroyed());
    EXPECT_EQ(f.tree->hintWindow(), nullptr);
    // The slide is shown without animation; the system default follows Qt's tooltip effects.
    f.tree->SetHintAnimation(hatSlide);
    ASSERT_TRUE(f.tree->ShowHintAt(f.inText(f.nodes[0])));
    EXPECT_FALSE(f.tree->hintWindow()->fading());
}

TEST(TreeHint, ADrawTreesHintIsDrawnByItsOwner)
{
    TLazyDrawTree tree;
    tree.SetHintMode(hmHint);
    tree.AddChild(nullptr);
    tree.resize(200, 100);
    tree.show();
    tree.activateWindow();
    tree.setFocus();
    QApplication::processEvents();
    int drawn = 0;
    tree.OnGetHintSize = [](TBaseLazyTree&, PLazyNode, TColumnIndex, QRect& r) {
        r = QRect(0, 0, 40, 16);
    };
    tree.OnDrawHint = [&](TBaseLazyTree&, ICanvas& canvas, PLazyNode, const QRect& r,
                          TColumnIndex) {
        ++drawn;
        canvas.fillRect(TRect::fromQRect(r), clRed);
    };
    const QRect row = tree.GetDisplayRect(tree.GetFirst(), NoColumn, false);
    ASSERT_TRUE(tree.ShowHintAt(row.center()));
    const QImage picture = tree.hintWindow()->grab().toImage();
    EXPECT_GE(drawn, 1);
    EXPECT_EQ(picture.size(), QSize(40, 16) * picture.devicePixelRatio());
    EXPECT_EQ(QColor(picture.pixel(5, 5)), QColor(Qt::red));
}

}  // namespace
}  // namespace zfw::test
