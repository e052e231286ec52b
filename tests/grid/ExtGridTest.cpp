// The string grid as a new grid and after Loaded: every starting value in one golden listing
// (tests/data/grid/ExtGridDefaults.txt), and the steps Loaded takes.

#include "grid/ExtGrid.h"

#include "support/CaseName.h"
#include "support/Files.h"

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
    {"AlwaysShowEditorBecomesAlwaysEdit",
     TGridOptions(kDefaultGridOptions | goAlwaysShowEditor), true},
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

}  // namespace
}  // namespace zfw
