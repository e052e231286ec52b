// The string grid as a new grid and after Loaded: every starting value in one golden listing
// (tests/data/grid/ExtGridDefaults.txt), and the steps Loaded takes.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"
#include "support/Files.h"

#include <QCoreApplication>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace zfw {
namespace {

QString hex(TColor c) { return QStringLiteral("0x%1").arg(c, 0, 16).toUpper().replace(u'X', u'x'); }

// One "name = value" line per setting; what a new grid shows of itself.
QString describeDefaults(TExtStringGrid& g)
{
    QStringList out;
    auto add = [&](const char* name, const QString& value) {
        out << QStringLiteral("%1 = %2").arg(QLatin1String(name), value);
    };
    auto num = [](long long v) { return QString::number(v); };
    auto flag = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    add("ColCount", num(g.ColCount()));
    add("RowCount", num(g.RowCount()));
    add("FixedCols", num(g.FixedCols()));
    add("FixedRows", num(g.FixedRows()));
    add("DefaultRowHeight", num(g.DefaultRowHeight()));
    add("FixedRowHeight", num(g.store().FixedRowHeight()));
    add("RowHeights[9]", num(g.RowHeights(9)));
    add("Width", num(g.width()));
    add("Height", num(g.height()));
    add("ScrollBars", num(int(g.ScrollBars())));
    add("WordWrap", flag(g.store().WordWrap()));
    add("FixedFont", g.FixedFont.family() + (g.FixedFont.bold() ? " bold" : ""));
    add("ActiveCellFont.Bold", flag(g.ActiveCellFont.bold()));
    add("ActiveCellShow", flag(g.ActiveCellShow));
    add("ActiveCellColor", hex(g.ActiveCellColor));
    add("ActiveCellColorTo", hex(g.ActiveCellColorTo));
    add("DefaultEditor", num(int(g.DefaultEditor)));
    add("DefaultAlignment", num(int(g.DefaultAlignment)));
    add("VAlignment", num(int(g.VAlignment)));
    add("DisabledFontColor", hex(g.DisabledFontColor));
    add("UseDisabledFont", flag(g.UseDisabledFont));
    add("HintColor", hex(g.HintColor));
    add("HighlightColor", hex(g.HighlightColor));
    add("HighlightTextColor", hex(g.HighlightTextColor));
    add("SelectionColor", hex(g.SelectionColor));
    add("SelectionColorTo", hex(g.SelectionColorTo));
    add("SelectionMirrorColor", hex(g.SelectionMirrorColor));
    add("SelectionMirrorColorTo", hex(g.SelectionMirrorColorTo));
    add("SelectionTextColor", hex(g.SelectionTextColor));
    add("SelectionColorMixerFactor", num(g.SelectionColorMixerFactor));
    add("ShowSelection", flag(g.ShowSelection));
    add("HideFocusRect", flag(g.HideFocusRect));
    add("FixedAsButtons", flag(g.FixedAsButtons));
    add("EnableHTML", flag(g.EnableHTML));
    add("URLColor", hex(g.URLColor));
    add("EnableWheel", flag(g.EnableWheel));
    add("IntelliZoom", flag(g.IntelliZoom));
    add("Flat", flag(g.Flat));
    add("FloatFormat", g.FloatFormat);
    add("PasswordChar", QString(g.PasswordChar));
    add("CheckTrue", g.CheckTrue);
    add("CheckFalse", g.CheckFalse);
    add("FilterDropDownClear", g.FilterDropDownClear);
    add("FilterNormalCellsOnly", flag(g.FilterNormalCellsOnly));
    add("AutoFilterUpdate", flag(g.AutoFilterUpdate));
    add("ShowDesignHelper", flag(g.ShowDesignHelper));
    add("EnhRowColMove", flag(g.EnhRowColMove));
    add("XYOffset", QStringLiteral("%1,%2").arg(g.XYOffset.x()).arg(g.XYOffset.y()));
    add("MinRowHeight", num(g.MinRowHeight));
    add("MaxRowHeight", num(g.MaxRowHeight));
    add("MinColWidth", num(g.MinColWidth));
    add("MaxColWidth", num(g.MaxColWidth));
    add("NumHiddenColumns", num(g.store().NumHiddenColumns()));
    add("Navigation.AlwaysEdit", flag(g.Navigation.AlwaysEdit));
    add("SearchFooter.Visible", flag(g.SearchFooter.Visible()));
    add("FocusHelper.Enabled", flag(g.FocusHelper.Enabled));
    add("URLShowInText", flag(g.URLShowInText));
    add("SizeWithForm", flag(g.SizeWithForm));
    add("FilterDropDownAuto", flag(g.FilterDropDownAuto));
    add("FilterDropDownColumns", num(int(g.FilterDropDownColumns)));
    add("FilterIncremental", flag(g.FilterIncremental));
    add("FixedFooters", num(g.FixedFooters));
    add("Modified", flag(g.Modified));
    add("FNumNodes", num(g.FNumNodes));
    add("NumCellControls", num(g.numCellControls()));
    add("Grouping.HeaderUnderline", flag(g.Grouping.HeaderUnderline));
    add("Grouping.HeaderLineColor", hex(g.Grouping.HeaderLineColor));
    add("Grouping.HeaderLineWidth", num(g.Grouping.HeaderLineWidth));
    add("Grouping.SummaryLine", flag(g.Grouping.SummaryLine));
    add("Grouping.SummaryLineColor", hex(g.Grouping.SummaryLineColor));
    add("Grouping.SummaryLineWidth", num(g.Grouping.SummaryLineWidth));
    add("Grouping.ShowGroupCount", flag(g.Grouping.ShowGroupCount));
    add("Grouping.GroupCountFormat", g.Grouping.GroupCountFormat);
    add("SortSettings.Show", flag(g.SortSettings.Show()));
    add("SortSettings.Row", num(g.SortSettings.Row));
    add("CellNode.NodeIndent", num(g.CellNode.NodeIndent()));
    add("ControlLook.DropDownAlwaysVisible", flag(g.ControlLook.DropDownAlwaysVisible()));
    add("ControlLook.SpinButtonsAlwaysVisible", flag(g.ControlLook.SpinButtonsAlwaysVisible()));
    add("ScrollType", num(int(g.ScrollType)));
    add("ScrollColor", hex(g.ScrollColor));
    add("ScrollWidth = style's bar width",
        flag(g.ScrollWidth == g.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &g)));
    add("Look", num(int(g.Look())));
    add("VKTGradientFrom", hex(g.VKTGradientFrom));
    add("VKTGradientTo", hex(g.VKTGradientTo));
    add("VKTGradientMirrorFrom", hex(g.VKTGradientMirrorFrom));
    add("VKTGradientMirrorTo", hex(g.VKTGradientMirrorTo));
    for (auto [name, v] :
         {std::pair{"VKTGradientHoverFrom", g.VKTGradientHoverFrom},
          {"VKTGradientHoverTo", g.VKTGradientHoverTo},
          {"VKTGradientHoverMirrorFrom", g.VKTGradientHoverMirrorFrom},
          {"VKTGradientHoverMirrorTo", g.VKTGradientHoverMirrorTo},
          {"VKTGradientHoverBorder", g.VKTGradientHoverBorder},
          {"VKTGradientDownFrom", g.VKTGradientDownFrom},
          {"VKTGradientDownTo", g.VKTGradientDownTo},
          {"VKTGradientDownMirrorFrom", g.VKTGradientDownMirrorFrom},
          {"VKTGradientDownMirrorTo", g.VKTGradientDownMirrorTo},
          {"VKTGradientDownBorder", g.VKTGradientDownBorder},
          {"GridLineColor", g.GridLineColor},
          {"GridFixedLineColor", g.GridFixedLineColor},
          {"SearchFooter.Color", g.SearchFooter.Color()},
          {"SearchFooter.ColorTo", g.SearchFooter.ColorTo()},
          {"SortSettings.HeaderColor", g.SortSettings.HeaderColor()},
          {"SortSettings.HeaderColorTo", g.SortSettings.HeaderColorTo()},
          {"SortSettings.HeaderMirrorColor", g.SortSettings.HeaderMirrorColor()},
          {"SortSettings.HeaderMirrorColorTo", g.SortSettings.HeaderMirrorColorTo()}})
        add(name, hex(v));
    for (int role = 0; role < kFixedGradientCount; ++role)
        add(qPrintable(QStringLiteral("ControlLook.FixedGradient[%1]").arg(role)),
            hex(g.ControlLook.FixedGradient(TFixedGradient(role))));
    add("ComponentStyle", num(int(g.componentStyle())));
    add("BorderColor", hex(g.BorderColor));
    add("XMLEncoding", g.XMLEncoding);
    add("InvalidEntryIcon", num(int(g.InvalidEntryIcon)));
    add("UseInternalHintClass", flag(g.UseInternalHintClass));
    add("HintShowLargeTextPos", num(int(g.HintShowLargeTextPos)));
    add("HoverFixedCells", num(int(g.HoverFixedCells)));
    auto pt = [](QPoint p) { return QStringLiteral("%1,%2").arg(p.x()).arg(p.y()); };
    add("HoverFixedCell", pt(g.HoverFixedCell));
    add("SaveFixedCells", flag(g.SaveFixedCells));
    add("SaveFixedRows", flag(g.SaveFixedRows));
    add("SaveFixedCols", flag(g.SaveFixedCols));
    add("SaveHiddenCells", flag(g.SaveHiddenCells));
    add("SaveVirtCells", flag(g.SaveVirtCells));
    add("SaveWithHTML", flag(g.SaveWithHTML));
    add("QuoteEmptyCells", flag(g.QuoteEmptyCells));
    add("AlwaysQuotes", flag(g.AlwaysQuotes));
    add("Delimiter", num(g.Delimiter.unicode()));
    add("JavaCSV", flag(g.JavaCSV));
    add("PrintPage",
        QStringLiteral("%1..%2 #%3").arg(g.PrintPageFrom).arg(g.PrintPageTo).arg(g.PrintPageNum));
    add("FilterColumn", num(g.FilterColumn));
    add("FilterLevel", num(g.FilterLevel));
    add("PushedCellButton", pt(g.PushedCellButton));
    add("ClipTopLeft", pt(g.ClipTopLeft));
    add("LastHintPos", pt(g.LastHintPos));
    for (auto [name, v] : {std::pair{"HoverLink", g.HoverLink},
                           {"OleDragColumn", g.OleDragColumn},
                           {"GroupColumn", g.GroupColumn},
                           {"ComboIndex", g.ComboIndex},
                           {"ClickedCol", g.ClickedCol},
                           {"ClickedRow", g.ClickedRow},
                           {"OldRowSelect", g.OldRowSelect},
                           {"MouseSelectStart", g.MouseSelectStart},
                           {"OldSize", g.OldSize},
                           {"LastDesignChoice", g.LastDesignChoice},
                           {"ZoomFactor", g.ZoomFactor},
                           {"SearchTicks", g.SearchTicks}})
        add(name, num(v));
    add("OfficeThemeSeen", num(int(g.OfficeThemeSeen)));
    add("LookupItems", g.LookupItems.join(u','));
    add("LookupCaseSensitive", flag(g.LookupCaseSensitivity == Qt::CaseSensitive));
    add("SearchPanel.Height", num(g.SearchPanel.Height()));
    add("FloatingFooter.Visible", flag(g.FloatingFooter.Visible()));
    add("Filter.Count", num(g.Filter.Count()));
    add("ShowModified.Enabled", flag(g.ShowModified.Enabled));
    add("ControlLook.ControlStyle", num(int(g.ControlLook.ControlStyle())));
    add("ControlLook.DropDownHeader.Height", num(g.ControlLook.DropDownHeader().Height));
    add("ControlLook.DropDownFooter.SizeGrip", flag(g.ControlLook.DropDownFooter().SizeGrip));
    for (auto [name, e] : {std::pair<const char*, TEsgEditBtn*>{"EditBtn", g.editBtn()},
                           {"UnitEditBtn", g.unitEditBtn()}})
        add(name, QStringLiteral("parent %1, enabled %2, visible %3, caption \"%4\", frame %5")
                      .arg(flag(e->parent() == &g), flag(e->isEnabled()), flag(e->isVisibleTo(&g)),
                           e->buttonCaption(), flag(e->hasFrame())));
    add("ActiveRowShow", flag(g.ActiveRowShow));
    add("ActiveRowColor", hex(g.ActiveRowColor));
    add("ActiveRowColorTo", hex(g.ActiveRowColorTo));
    add("ActiveRowMirrorColor", hex(g.ActiveRowMirrorColor));
    add("ActiveRowMirrorColorTo", hex(g.ActiveRowMirrorColorTo));
    add("SelectionStyle", num(int(g.SelectionStyle)));
    add("HoverRow", flag(g.HoverRow));
    add("HoverRowColor", hex(g.HoverRowColor));
    add("HoverRowColorTo", hex(g.HoverRowColorTo));
    add("HoverRowCells", num(int(g.HoverRowCells)));
    add("FHoverRowIdx", num(g.FHoverRowIdx));
    add("GridLineWidth", num(g.GridLineWidth()));
    add("DefaultDrawing", flag(g.DefaultDrawing()));
    add("FCustomSelect", flag(g.FCustomSelect));
    add("Version", g.Version());
    add("VersionString", g.GetVersionString());
    add("VersionNr", hex(TColor(g.GetVersionNr())));
    add("Loaded", flag(g.isLoaded()));
    return out.join(u'\n') + u'\n';
}

TEST(ExtGridDefaults, NewGridMatchesTheGoldenListing)
{
    TExtStringGrid grid;
    const QString path = QStringLiteral(ZFW_TEST_DATA_DIR "/grid/ExtGridDefaults.txt");
    const QString got = describeDefaults(grid);
    if (qEnvironmentVariableIsSet("ZFW_UPDATE_GOLDEN")) {
        ASSERT_TRUE(test::writeFile(path, got.toUtf8()));
    }
    EXPECT_EQ(got.toStdString(), QString::fromUtf8(test::readFile(path)).toStdString());
    QString why;
    EXPECT_TRUE(grid.store().checkConsistency(&why)) << why.toStdString();
}

struct LoadedCase {
    const char* name;
    TGridOptions options;
    bool alwaysEdit;  // Navigation.AlwaysEdit afterwards
};

const LoadedCase kLoadedCases[] = {
    {"AlwaysShowEditorBecomesAlwaysEdit", TGridOptions(kDefaultGridOptions | goAlwaysShowEditor),
     true},
    {"WithoutItNothingChanges", kDefaultGridOptions, false},
};

class ExtGridLoaded : public ::testing::TestWithParam<LoadedCase> {};

TEST_P(ExtGridLoaded, EditorOptionMovesToNavigation)
{
    TExtStringGrid grid;
    grid.SetOptions(GetParam().options);
    grid.Loaded();
    EXPECT_FALSE(grid.Options().testFlag(goAlwaysShowEditor));
    EXPECT_EQ(grid.Navigation.AlwaysEdit, GetParam().alwaysEdit);
    EXPECT_TRUE(grid.isLoaded());
}

INSTANTIATE_TEST_SUITE_P(Options, ExtGridLoaded, ::testing::ValuesIn(kLoadedCases),
                         test::CaseName());

TEST(ExtGridLoadedSteps, HeadersShownMinimumsRecordedColumnsSized)
{
    TExtStringGrid grid;
    grid.SetDefaultRowHeight(25);
    grid.SetColumnHeaders({"", "Name", "Address\\nwith a long second line"});
    grid.SetCellEx(2, 0, "overwritten");
    grid.SetCellEx(1, 3, "a rather long text in column one");
    grid.AutoSize = true;
    grid.Loaded();
    // The headers are written again over what stood in row 0.
    EXPECT_EQ(grid.GetCellEx(1, 0), "Name");
    EXPECT_TRUE(grid.GetCellEx(2, 0).startsWith("Address"));
    EXPECT_EQ(grid.loadedMinRowHeight(), 25);
    EXPECT_EQ(grid.loadedMinColWidth(), 10);
    // Auto-size: the long text fits, the fixed column keeps its width.
    EXPECT_EQ(grid.ColWidths(1),
              QFontMetrics(grid.font()).horizontalAdvance("a rather long text in column one") + 4);
    EXPECT_EQ(grid.ColWidths(0), 64);
    EXPECT_EQ(static_cast<TStringGrid&>(grid).ColWidths(1), grid.store().ColWidths(1));
}

// Resizes the window and lets the size change arrive as a window system would deliver it.
void resizeWindow(QWidget& window, int w, int h)
{
    window.resize(w, h);
    QCoreApplication::processEvents();
}

TEST(ExtGridWindow, TwoGridsFollowTheirWindowAndGoInCreationOrder)
{
    QWidget window;
    window.resize(600, 400);
    auto* first = new TExtStringGrid(&window);
    auto* second = new TExtStringGrid(&window);
    first->SizeWithForm = true;
    second->SizeWithForm = true;
    first->resize(300, 200);
    second->resize(200, 100);
    int ownResizes = 0;
    struct WindowWatcher : QObject {
        int* count;
        explicit WindowWatcher(int* c) : count(c) {}
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Resize)
                ++*count;
            return false;
        }
    } watcher(&ownResizes);
    window.installEventFilter(&watcher);  // the window's own handling, set after the grids
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const int seenAtShow = ownResizes;

    resizeWindow(window, 650, 420);
    // Each grid follows once by the window's change; neither runs the other's handling.
    EXPECT_EQ(first->size(), QSize(350, 220));
    EXPECT_EQ(second->size(), QSize(250, 120));
    EXPECT_EQ(ownResizes, seenAtShow + 1);

    delete first;  // creation order
    resizeWindow(window, 700, 430);
    EXPECT_EQ(second->size(), QSize(300, 130));
    EXPECT_EQ(ownResizes, seenAtShow + 2);

    delete second;
    resizeWindow(window, 720, 440);  // no grid left: nothing to reach
    EXPECT_EQ(ownResizes, seenAtShow + 3);
}

TEST(ExtGridWindow, ShrinkToNothingLeavesGridAndRememberedSize)
{
    QWidget window;
    window.resize(600, 400);
    auto* grid = new TExtStringGrid(&window);
    grid->SizeWithForm = true;
    grid->resize(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    resizeWindow(window, 450, 400);  // would leave the grid -50 wide
    EXPECT_EQ(grid->size(), QSize(100, 100));
    // The remembered window size stays 600 x 400: growing back to 620 adds 20.
    resizeWindow(window, 620, 400);
    EXPECT_EQ(grid->size(), QSize(120, 100));
}

TEST(ExtGridWindow, WithoutSizeWithFormTheGridKeepsItsSize)
{
    QWidget window;
    window.resize(600, 400);
    auto* grid = new TExtStringGrid(&window);
    grid->resize(100, 100);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    resizeWindow(window, 700, 500);
    EXPECT_EQ(grid->size(), QSize(100, 100));
}

TEST(ExtGridWindow, FollowsTheWindowItWasMovedInto)
{
    QWidget a;
    QWidget b;
    a.resize(400, 300);
    b.resize(500, 300);
    auto* grid = new TExtStringGrid(&a);
    grid->SizeWithForm = true;
    grid->resize(100, 100);
    grid->setParent(&b);
    a.show();
    b.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&b));
    resizeWindow(a, 450, 300);
    EXPECT_EQ(grid->size(), QSize(100, 100));
    resizeWindow(b, 530, 310);
    EXPECT_EQ(grid->size(), QSize(130, 110));
}

TEST(ExtGridAssign, CopiesSettingsCountsAndSizesFromAnotherStringGridOnly)
{
    TExtStringGrid src;
    src.SetColCount(7);
    src.SetRowCount(12);
    src.SetFixedCols(2);
    src.SetDefaultRowHeight(30);
    src.SetColWidths(3, 111);
    src.SetRowHeights(5, 44);
    src.SetColumnHeaders({"", "A", "B"});
    src.ActiveCellShow = true;
    src.Grouping.ShowGroupCount = true;
    src.Navigation.AlwaysEdit = true;
    src.SetOptions(TGridOptions(src.Options() | goEditing));
    src.SetCellEx(1, 1, "cell");

    TExtStringGrid dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.ColCount(), 7);
    EXPECT_EQ(dst.RowCount(), 12);
    EXPECT_EQ(dst.FixedCols(), 2);
    EXPECT_EQ(dst.DefaultRowHeight(), 30);
    EXPECT_EQ(dst.ColWidths(3), 111);
    EXPECT_EQ(dst.RowHeights(5), 44);
    EXPECT_EQ(dst.ColumnHeaders(), src.ColumnHeaders());
    EXPECT_TRUE(dst.ActiveCellShow);
    EXPECT_TRUE(dst.Grouping.ShowGroupCount);
    EXPECT_TRUE(dst.Navigation.AlwaysEdit);
    EXPECT_TRUE(dst.Options().testFlag(goEditing));
    EXPECT_EQ(dst.GetCellEx(1, 1), "");  // cells are not part of the settings
    QString why;
    EXPECT_TRUE(dst.store().checkConsistency(&why)) << why.toStdString();

    TExtStringGrid other;
    QObject notAGrid;
    other.Assign(&notAGrid);
    other.Assign(nullptr);
    EXPECT_EQ(other.ColCount(), 5);
    EXPECT_EQ(other.RowCount(), 10);
}

}  // namespace
}  // namespace zfw
