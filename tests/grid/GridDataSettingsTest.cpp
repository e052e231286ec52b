// The settings objects of the grid's data operations and output: their defaults as one golden
// table, what Assign copies and what it leaves, the writers that notify, the filter list's
// order rules and the node predicates on a grid with and without nodes.

#include "grid/GridDataSettings.h"
#include "grid/GridOutputSettings.h"

#include "FakeGraphicHost.h"
#include "support/CaseName.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <vector>

namespace zfw {

void PrintTo(const FloatingFooterLayout& l, std::ostream* os)
{
    *os << "{panel " << l.panelHeight << ", footers " << l.fixedFooters << ", hide "
        << l.hideLastRow << "}";
}

namespace {

using test::CaseName;

QString b(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
template <class E>
QString e(E v)
{
    return QString::number(int(v));
}
QString n(int v) { return QString::number(v); }
QString col(TColor c) { return QStringLiteral("%1").arg(c, 8, 16, QLatin1Char('0')).toUpper(); }

struct AllData {
    TSortSettings sort;
    TFilterData filterData;
    TFilterDropDown dropDown;
    TCellNode node;
    TGrouping grouping;
    TFloatingFooter footer;
    TSearchPanel searchPanel;
    THTMLSettings html;
    TPrintSettings print;
    TDragDropSettings dnd;

    void assign(const AllData& s)
    {
        sort.Assign(s.sort);
        filterData.Assign(s.filterData);
        dropDown.Assign(s.dropDown);
        node.Assign(s.node);
        grouping.Assign(s.grouping);
        footer.Assign(s.footer);
        html.Assign(s.html);
        print.Assign(s.print);
        dnd.Assign(s.dnd);
    }
};

QString dump(const AllData& s)
{
    std::vector<std::pair<QString, QString>> rows;
    auto add = [&](const char* name, QString v) {
        rows.emplace_back(QString::fromLatin1(name), v);
    };
    const TSortSettings& so = s.sort;
    add("SortSettings.AutoSortForGrouping", b(so.AutoSortForGrouping));
    add("SortSettings.AutoColumnMerge", b(so.AutoColumnMerge));
    add("SortSettings.Column", n(so.Column));
    add("SortSettings.Show", b(so.Show()));
    add("SortSettings.IndexShow", b(so.IndexShow));
    add("SortSettings.IndexColor", col(so.IndexColor));
    add("SortSettings.IndexSortKey", e(so.IndexSortKey));
    add("SortSettings.Full", b(so.Full));
    add("SortSettings.SingleColumn", b(so.SingleColumn));
    add("SortSettings.IgnoreBlanks", b(so.IgnoreBlanks));
    add("SortSettings.BlankPos", e(so.BlankPos));
    add("SortSettings.AutoFormat", b(so.AutoFormat));
    add("SortSettings.Direction", e(so.Direction));
    add("SortSettings.GlyphsEmpty", b(so.UpGlyph.isNull() && so.DownGlyph.isNull()
                                      && so.IndexUpGlyph.isNull() && so.IndexDownGlyph.isNull()));
    add("SortSettings.IgnoreCase", b(so.IgnoreCase));
    add("SortSettings.InitSortDirection", e(so.InitSortDirection));
    add("SortSettings.FixedCols", b(so.FixedCols));
    add("SortSettings.NormalCellsOnly", b(so.NormalCellsOnly));
    add("SortSettings.Row", n(so.Row));
    add("SortSettings.UndoSort", b(so.UndoSort));
    add("SortSettings.SortOnVirtualCells", b(so.SortOnVirtualCells));
    add("SortSettings.HeaderColor", col(so.HeaderColor()));
    add("SortSettings.HeaderColorTo", col(so.HeaderColorTo()));
    add("SortSettings.HeaderMirrorColor", col(so.HeaderMirrorColor()));
    add("SortSettings.HeaderMirrorColorTo", col(so.HeaderMirrorColorTo()));
    const TFilterData& f = s.filterData;
    add("FilterData.Column", n(f.Column));
    add("FilterData.Condition", f.Condition);
    add("FilterData.CaseSensitive", b(f.CaseSensitive));
    add("FilterData.Data", e(f.Data));
    add("FilterData.Prefix", f.Prefix);
    add("FilterData.Suffix", f.Suffix);
    add("FilterData.Operation", e(f.Operation));
    add("FilterData.Method", e(f.Method));
    const TFilterDropDown& d = s.dropDown;
    add("FilterDropDown.AutoSize", b(d.AutoSize));
    add("FilterDropDown.Color", col(d.Color));
    add("FilterDropDown.ColumnWidth", b(d.ColumnWidth));
    add("FilterDropDown.FontIsDefault", b(d.Font == QFont()));
    add("FilterDropDown.Height", n(d.Height));
    add("FilterDropDown.Width", n(d.Width));
    add("FilterDropDown.GlyphsEmpty", b(d.Glyph().isNull() && d.GlyphActive().isNull()));
    const TCellNode& cn = s.node;
    add("CellNode.Color", col(cn.Color));
    add("CellNode.ExpandOne", b(cn.ExpandOne));
    add("CellNode.NodeType", e(cn.NodeType()));
    add("CellNode.NodeColor", col(cn.NodeColor));
    add("CellNode.NodeIndent", n(cn.NodeIndent()));
    add("CellNode.GlyphsEmpty", b(cn.ExpandGlyph.isNull() && cn.ContractGlyph.isNull()));
    add("CellNode.ShowTree", b(cn.ShowTree()));
    add("CellNode.ShowTreeFull", b(cn.ShowTreeFull()));
    add("CellNode.TreeColor", col(cn.TreeColor()));
    const TGrouping& g = s.grouping;
    add("Grouping.AutoSelectGroup", b(g.AutoSelectGroup));
    add("Grouping.AutoCheckGroup", b(g.AutoCheckGroup));
    add("Grouping.GroupCountFormat", g.GroupCountFormat);
    add("Grouping.HeaderColor", col(g.HeaderColor));
    add("Grouping.HeaderColorTo", col(g.HeaderColorTo));
    add("Grouping.HeaderTextColor", col(g.HeaderTextColor));
    add("Grouping.HeaderUnderline", b(g.HeaderUnderline));
    add("Grouping.HeaderLineColor", col(g.HeaderLineColor));
    add("Grouping.HeaderLineWidth", n(g.HeaderLineWidth));
    add("Grouping.MergeHeader", b(g.MergeHeader));
    add("Grouping.MergeSummary", b(g.MergeSummary));
    add("Grouping.ShowGroupCount", b(g.ShowGroupCount));
    add("Grouping.Summary", b(g.Summary));
    add("Grouping.SummaryColor", col(g.SummaryColor));
    add("Grouping.SummaryColorTo", col(g.SummaryColorTo));
    add("Grouping.SummaryTextColor", col(g.SummaryTextColor));
    add("Grouping.SummaryLine", b(g.SummaryLine));
    add("Grouping.SummaryLineColor", col(g.SummaryLineColor));
    add("Grouping.SummaryLineWidth", n(g.SummaryLineWidth));
    const TFloatingFooter& ff = s.footer;
    add("FloatingFooter.BorderColor", col(ff.BorderColor()));
    add("FloatingFooter.CalculateHiddenRows", b(ff.CalculateHiddenRows));
    add("FloatingFooter.Color", col(ff.Color()));
    add("FloatingFooter.Column", n(ff.Column()));
    add("FloatingFooter.CustomTemplate", ff.CustomTemplate());
    add("FloatingFooter.FooterStyle", e(ff.FooterStyle()));
    add("FloatingFooter.ShowHint", b(ff.ShowHint()));
    add("FloatingFooter.Visible", b(ff.Visible()));
    add("FloatingFooter.Height", n(ff.Height()));
    add("FloatingFooter.EnableCalculation", b(ff.EnableCalculation));
    add("FloatingFooter.PanelHeight", n(ff.layout().panelHeight));
    add("FloatingFooter.FixedFooters", n(ff.layout().fixedFooters));
    add("SearchPanel.Height", n(s.searchPanel.Height()));
    add("SearchPanel.ColorTo", col(s.searchPanel.ColorTo()));
    const THTMLSettings& h = s.html;
    add("HTMLSettings.AutoPreview", b(h.AutoPreview));
    add("HTMLSettings.ConvertSpecialChars", b(h.ConvertSpecialChars));
    add("HTMLSettings.NonBreakingText", b(h.NonBreakingText));
    add("HTMLSettings.SaveColor", b(h.SaveColor));
    add("HTMLSettings.SaveFonts", b(h.SaveFonts));
    add("HTMLSettings.FooterFile", h.FooterFile);
    add("HTMLSettings.HeaderFile", h.HeaderFile);
    add("HTMLSettings.BorderSize", n(h.BorderSize));
    add("HTMLSettings.CellSpacing", n(h.CellSpacing));
    add("HTMLSettings.CellPadding", n(h.CellPadding));
    add("HTMLSettings.TableStyle", h.TableStyle);
    add("HTMLSettings.PrefixTag", h.PrefixTag);
    add("HTMLSettings.SuffixTag", h.SuffixTag);
    add("HTMLSettings.Summary", h.Summary);
    add("HTMLSettings.Width", n(h.Width));
    add("HTMLSettings.ColWidths", n(int(h.ColWidths.size())));
    add("HTMLSettings.XHTML", b(h.XHTML));
    add("HTMLSettings.ExportImages", b(h.ExportImages));
    const TPrintSettings& p = s.print;
    add("PrintSettings.Time", e(p.Time));
    add("PrintSettings.Date", e(p.Date));
    add("PrintSettings.PageNr", e(p.PageNr));
    add("PrintSettings.PageNumSep", p.PageNumSep);
    add("PrintSettings.DateFormat", p.DateFormat);
    add("PrintSettings.Title", e(p.Title));
    add("PrintSettings.FontsAreDefault", b(p.Font == QFont() && p.HeaderFont == QFont()
                                           && p.FooterFont == QFont() && p.FixedFont == QFont()));
    add("PrintSettings.Borders", e(p.Borders));
    add("PrintSettings.BorderStyle", e(p.BorderStyle));
    add("PrintSettings.TitleText", p.TitleText);
    add("PrintSettings.TitleLines", n(int(p.TitleLines.size())));
    add("PrintSettings.Centered", b(p.Centered));
    add("PrintSettings.RepeatFixedRows", b(p.RepeatFixedRows));
    add("PrintSettings.RepeatFixedCols", b(p.RepeatFixedCols));
    add("PrintSettings.FooterSize", n(p.FooterSize));
    add("PrintSettings.HeaderSize", n(p.HeaderSize));
    add("PrintSettings.LeftSize", n(p.LeftSize));
    add("PrintSettings.RightSize", n(p.RightSize));
    add("PrintSettings.ColumnSpacing", n(p.ColumnSpacing));
    add("PrintSettings.RowSpacing", n(p.RowSpacing));
    add("PrintSettings.TitleSpacing", n(p.TitleSpacing));
    add("PrintSettings.Orientation", e(p.Orientation));
    add("PrintSettings.PagePrefix", p.PagePrefix);
    add("PrintSettings.PageSuffix", p.PageSuffix);
    add("PrintSettings.FixedHeight", n(p.FixedHeight));
    add("PrintSettings.UseFixedHeight", b(p.UseFixedHeight));
    add("PrintSettings.FixedWidth", n(p.FixedWidth));
    add("PrintSettings.UseFixedWidth", b(p.UseFixedWidth));
    add("PrintSettings.FitToPage", e(p.FitToPage));
    add("PrintSettings.NoAutoSize", b(p.NoAutoSize));
    add("PrintSettings.PrintGraphics", b(p.PrintGraphics));
    add("PrintSettings.JobName", p.JobName);
    add("PrintSettings.NoAutoSizeRow", b(p.NoAutoSizeRow));
    add("PrintSettings.PageNumberOffset", n(p.PageNumberOffset));
    add("PrintSettings.MaxPagesOffset", n(p.MaxPagesOffset));
    add("PrintSettings.UseDisplayFont", b(p.UseDisplayFont));
    add("PrintSettings.UseDefaultOrientation", b(p.UseDefaultOrientation));
    add("PrintSettings.FixedCellsAlways", b(p.FixedCellsAlways));
    add("PrintSettings.BorderColor", col(p.BorderColor));
    const TDragDropSettings& dd = s.dnd;
    add("DragDropSettings.OleDropRTF", b(dd.OleDropRTF));
    add("DragDropSettings.OleAcceptText", b(dd.OleAcceptText));
    add("DragDropSettings.OleEntireRows", b(dd.OleEntireRows));
    add("DragDropSettings.OleDropSource", b(dd.OleDropSource));
    add("DragDropSettings.OleRemoveRows", b(dd.OleRemoveRows));
    add("DragDropSettings.OleAcceptFiles", b(dd.OleAcceptFiles));
    add("DragDropSettings.OleAcceptURLs", b(dd.OleAcceptURLs));
    add("DragDropSettings.OleDropTarget", b(dd.OleDropTarget()));
    add("DragDropSettings.OleInsertRows", b(dd.OleInsertRows));
    add("DragDropSettings.OleAppendRows", b(dd.OleAppendRows));
    add("DragDropSettings.OleCopyAlways", b(dd.OleCopyAlways));
    add("DragDropSettings.OleColumnDragDrop", b(dd.OleColumnDragDrop));
    add("DragDropSettings.OleColumnReorder", b(dd.OleColumnReorder));
    add("DragDropSettings.OleColumnsOnly", b(dd.OleColumnsOnly));
    add("DragDropSettings.ShowCells", b(dd.ShowCells));
    QString out;
    for (const auto& [name, value] : rows)
        out += name + u'=' + value + u'\n';
    return out;
}

TEST(GridDataSettings, DefaultsMatchTheGoldenTable)
{
    QFile file(QStringLiteral(ZFW_TEST_DATA_DIR "/grid/data-settings-defaults.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList want = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    AllData s;
    const QStringList got = dump(s).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i].toStdString(), want[i].toStdString());
}

QImage dot()
{
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    return img;
}

QFont bigFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(31);
    return font;
}

// One setting changed away from its default in the source; after Assign the destination has
// it (copied) or keeps its own (left out).
struct AssignCase {
    const char* name;
    std::function<void(AllData&)> change;
    std::function<QString(const AllData&)> read;
    bool copied;
};

class AssignTable : public ::testing::TestWithParam<AssignCase> {};

TEST_P(AssignTable, CopiesOrLeaves)
{
    const AssignCase& c = GetParam();
    AllData src;
    AllData dst;
    c.change(src);
    ASSERT_NE(c.read(src), c.read(dst)) << "the change must differ from the default";
    dst.assign(src);
    if (c.copied)
        EXPECT_EQ(c.read(dst), c.read(src));
    else
        EXPECT_EQ(c.read(dst), c.read(AllData()));
}

const AssignCase kAssign[] = {
    {"SortColumn", [](AllData& s) { s.sort.Column = 3; },
     [](const AllData& s) { return n(s.sort.Column); }, true},
    {"SortShow", [](AllData& s) { s.sort.SetShow(true); },
     [](const AllData& s) { return b(s.sort.Show()); }, true},
    {"SortUpGlyphByContent", [](AllData& s) { s.sort.UpGlyph = dot(); },
     [](const AllData& s) { return n(s.sort.UpGlyph.width()); }, true},
    {"SortHeaderMirrorColorTo", [](AllData& s) { s.sort.SetHeaderMirrorColorTo(clRed); },
     [](const AllData& s) { return col(s.sort.HeaderMirrorColorTo()); }, true},
    {"SortUndoSort", [](AllData& s) { s.sort.UndoSort = true; },
     [](const AllData& s) { return b(s.sort.UndoSort); }, true},
    {"SortIgnoreCaseLeft", [](AllData& s) { s.sort.IgnoreCase = true; },
     [](const AllData& s) { return b(s.sort.IgnoreCase); }, false},
    {"SortOnVirtualCellsLeft", [](AllData& s) { s.sort.SortOnVirtualCells = false; },
     [](const AllData& s) { return b(s.sort.SortOnVirtualCells); }, false},
    {"FilterCondition", [](AllData& s) { s.filterData.Condition = QStringLiteral(">3"); },
     [](const AllData& s) { return s.filterData.Condition; }, true},
    {"FilterOperation", [](AllData& s) { s.filterData.Operation = TFilterOperation::foOR; },
     [](const AllData& s) { return e(s.filterData.Operation); }, true},
    {"FilterMethodLeft", [](AllData& s) { s.filterData.Method = TFilterMethod::fmLiteral; },
     [](const AllData& s) { return e(s.filterData.Method); }, false},
    {"DropDownFont", [](AllData& s) { s.dropDown.Font = bigFont(); },
     [](const AllData& s) { return n(s.dropDown.Font.pixelSize()); }, true},
    {"DropDownGlyphActive", [](AllData& s) { s.dropDown.SetGlyphActive(dot()); },
     [](const AllData& s) { return n(s.dropDown.GlyphActive().width()); }, true},
    {"DropDownAutoSizeLeft", [](AllData& s) { s.dropDown.AutoSize = true; },
     [](const AllData& s) { return b(s.dropDown.AutoSize); }, false},
    {"NodeIndent", [](AllData& s) { s.node.SetNodeIndent(20); },
     [](const AllData& s) { return n(s.node.NodeIndent()); }, true},
    {"NodeExpandGlyph", [](AllData& s) { s.node.ExpandGlyph = dot(); },
     [](const AllData& s) { return n(s.node.ExpandGlyph.width()); }, true},
    {"NodeExpandOne", [](AllData& s) { s.node.ExpandOne = true; },
     [](const AllData& s) { return b(s.node.ExpandOne); }, true},
    {"GroupingHeaderUnderline", [](AllData& s) { s.grouping.HeaderUnderline = true; },
     [](const AllData& s) { return b(s.grouping.HeaderUnderline); }, true},
    {"GroupingAutoCheckGroup", [](AllData& s) { s.grouping.AutoCheckGroup = true; },
     [](const AllData& s) { return b(s.grouping.AutoCheckGroup); }, true},
    {"GroupingSummaryLeft", [](AllData& s) { s.grouping.Summary = true; },
     [](const AllData& s) { return b(s.grouping.Summary); }, false},
    {"GroupingHeaderLineColorLeft", [](AllData& s) { s.grouping.HeaderLineColor = clRed; },
     [](const AllData& s) { return col(s.grouping.HeaderLineColor); }, false},
    {"GroupingSummaryLineWidthLeft", [](AllData& s) { s.grouping.SummaryLineWidth = 5; },
     [](const AllData& s) { return n(s.grouping.SummaryLineWidth); }, false},
    {"FooterVisible", [](AllData& s) { s.footer.SetVisible(true); },
     [](const AllData& s) { return b(s.footer.Visible()); }, true},
    {"FooterCustomTemplate", [](AllData& s) { s.footer.SetCustomTemplate(QStringLiteral("t")); },
     [](const AllData& s) { return s.footer.CustomTemplate(); }, true},
    {"FooterBorderColorLeft", [](AllData& s) { s.footer.SetBorderColor(clRed); },
     [](const AllData& s) { return col(s.footer.BorderColor()); }, false},
    {"FooterEnableCalculationLeft", [](AllData& s) { s.footer.EnableCalculation = false; },
     [](const AllData& s) { return b(s.footer.EnableCalculation); }, false},
    {"HtmlTableStyle", [](AllData& s) { s.html.TableStyle = QStringLiteral("x=1"); },
     [](const AllData& s) { return s.html.TableStyle; }, true},
    {"HtmlExportImagesLeft", [](AllData& s) { s.html.ExportImages = false; },
     [](const AllData& s) { return b(s.html.ExportImages); }, false},
    {"HtmlColWidthsLeft",
     [](AllData& s) {
         s.html.ColWidths = {40, 50};
     },
     [](const AllData& s) { return n(int(s.html.ColWidths.size())); }, false},
    {"PrintTitleLinesByValue", [](AllData& s) { s.print.TitleLines = {QStringLiteral("a")}; },
     [](const AllData& s) { return s.print.TitleLines.join(u'|'); }, true},
    {"PrintHeaderFont", [](AllData& s) { s.print.HeaderFont = bigFont(); },
     [](const AllData& s) { return n(s.print.HeaderFont.pixelSize()); }, true},
    {"PrintFixedCellsAlways", [](AllData& s) { s.print.FixedCellsAlways = true; },
     [](const AllData& s) { return b(s.print.FixedCellsAlways); }, true},
    {"DragDropTarget", [](AllData& s) { s.dnd.SetOleDropTarget(true); },
     [](const AllData& s) { return b(s.dnd.OleDropTarget()); }, true},
    {"DragDropShowCells", [](AllData& s) { s.dnd.ShowCells = false; },
     [](const AllData& s) { return b(s.dnd.ShowCells); }, true},
};
INSTANTIATE_TEST_SUITE_P(Grid, AssignTable, ::testing::ValuesIn(kAssign), CaseName());

TEST(GridDataSettings, AssignKeepsTheOwnersAndNotifiesOnlyWhereTheWritersWould)
{
    auto* owner = reinterpret_cast<TExtStringGrid*>(std::uintptr_t(0x1000));
    AllData src;
    src.sort.SetShow(true);
    src.sort.SetHeaderColor(clRed);
    src.node.SetTreeColor(clRed);
    src.dnd.SetOleDropTarget(true);
    src.footer.SetVisible(true);
    src.dropDown.SetGlyph(dot());

    TSortSettings sort(owner);
    TCellNode node(owner);
    TDragDropSettings dnd(owner);
    TPrintSettings print(owner);
    TFloatingFooter footer(owner);
    TFilterDropDown dropDown;
    int silent = 0, layouts = 0, glyphs = 0;
    sort.OnInvalidate = [&](TSortSettings*) { ++silent; };
    sort.OnHeaderChange = [&](TSortSettings*) { ++silent; };
    node.OnChange = [&](TCellNode*) { ++silent; };
    dnd.OnDropTargetChange = [&](TDragDropSettings*, bool) { ++silent; };
    footer.OnLayout = [&](TFloatingFooter*, const FloatingFooterLayout&) { ++layouts; };
    dropDown.OnChange = [&](TFilterDropDown*) { ++glyphs; };

    sort.Assign(src.sort);
    node.Assign(src.node);
    dnd.Assign(src.dnd);
    print.Assign(src.print);
    footer.Assign(src.footer);
    dropDown.Assign(src.dropDown);

    EXPECT_EQ(silent, 0) << "copying a drop target flag registers nothing";
    EXPECT_EQ(layouts, 1) << "Visible goes through its writer";
    EXPECT_EQ(glyphs, 1);
    EXPECT_EQ(sort.Grid(), owner);
    EXPECT_EQ(dnd.Grid(), owner);
    EXPECT_EQ(print.Grid(), owner);
    EXPECT_EQ(footer.Grid(), owner);
    EXPECT_TRUE(dnd.OleDropTarget());
    // The copied objects still tell their own grid.
    dnd.SetOleDropTarget(false);
    EXPECT_EQ(silent, 1);
}

struct NotifyCase {
    const char* name;
    std::function<void(AllData&)> act;
    int sortInvalidates, sortHeaders, nodeChanges, footerPanel, footerLayouts;
};

class Notifications : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(Notifications, FireAsTheWritersSay)
{
    AllData s;
    int inval = 0, header = 0, node = 0, panel = 0, layout = 0;
    s.sort.OnInvalidate = [&](TSortSettings*) { ++inval; };
    s.sort.OnHeaderChange = [&](TSortSettings*) { ++header; };
    s.node.OnChange = [&](TCellNode*) { ++node; };
    s.footer.OnPanelChange = [&](TFloatingFooter*) { ++panel; };
    s.footer.OnLayout = [&](TFloatingFooter*, const FloatingFooterLayout&) { ++layout; };
    const NotifyCase& c = GetParam();
    c.act(s);
    EXPECT_EQ(inval, c.sortInvalidates);
    EXPECT_EQ(header, c.sortHeaders);
    EXPECT_EQ(node, c.nodeChanges);
    EXPECT_EQ(panel, c.footerPanel);
    EXPECT_EQ(layout, c.footerLayouts);
}

const NotifyCase kNotify[] = {
    {"SortShowAlwaysInvalidates", [](AllData& s) { s.sort.SetShow(false); }, 1, 0, 0, 0, 0},
    {"SortHeaderSameValueSilent",
     [](AllData& s) {
         s.sort.SetHeaderColor(clNone);
         s.sort.SetHeaderColorTo(clRed);
         s.sort.SetHeaderColorTo(clRed);
     },
     0, 1, 0, 0, 0},
    {"NodeWritersOnlyOnChange",
     [](AllData& s) {
         s.node.SetShowTree(true);
         s.node.SetNodeIndent(12);
         s.node.SetNodeType(TNodeType::cnFlat);
         s.node.SetTreeColor(clRed);
     },
     0, 0, 2, 0, 0},
    {"FooterBorderOnlyOnChange",
     [](AllData& s) {
         s.footer.SetBorderColor(clNone);
         s.footer.SetColor(s.footer.Color());
     },
     0, 0, 0, 1, 0},
    {"FooterZeroHeightNoLayout",
     [](AllData& s) {
         s.footer.SetHeight(0);
         s.footer.SetHeight(21);
     },
     0, 0, 0, 0, 1},
};
INSTANTIATE_TEST_SUITE_P(Grid, Notifications, ::testing::ValuesIn(kNotify), CaseName());

struct FooterLayoutCase {
    const char* name;
    bool visible;
    TFooterStyle style;
    int height;
    FloatingFooterLayout want;
};

class FooterLayout : public ::testing::TestWithParam<FooterLayoutCase> {};

TEST_P(FooterLayout, FollowsVisibleStyleAndHeight)
{
    const FooterLayoutCase& c = GetParam();
    TFloatingFooter f;
    FloatingFooterLayout last;
    f.OnLayout = [&](TFloatingFooter*, const FloatingFooterLayout& l) { last = l; };
    f.SetHeight(c.height);
    f.SetFooterStyle(c.style);
    f.SetVisible(c.visible);
    EXPECT_EQ(f.layout(), c.want);
    EXPECT_EQ(last, c.want);
}

const FooterLayoutCase kFooterLayout[] = {
    {"HiddenTakesNothing", false, TFooterStyle::fsFixedLastRow, 22, {0, 0, false}},
    {"LastRowIsAFixedFooter", true, TFooterStyle::fsFixedLastRow, 22, {21, 1, true}},
    {"PreviewLeavesTheLastRow", true, TFooterStyle::fsColumnPreview, 22, {21, 0, false}},
    {"NoHeightYetNoNegativePanel", true, TFooterStyle::fsCustomPaint, 0, {0, 0, false}},
};
INSTANTIATE_TEST_SUITE_P(Grid, FooterLayout, ::testing::ValuesIn(kFooterLayout), CaseName());

TEST(GridFloatingFooter, StyleChangedWhileVisibleReleasesTheLastRow)
{
    TFloatingFooter f;
    std::vector<FloatingFooterLayout> seen;
    f.OnLayout = [&](TFloatingFooter*, const FloatingFooterLayout& l) { seen.push_back(l); };
    f.SetHeight(22);
    f.SetVisible(true);
    f.SetFooterStyle(TFooterStyle::fsColumnPreview);
    f.SetFooterStyle(TFooterStyle::fsFixedLastRow);
    const std::vector<FloatingFooterLayout> want = {{0, 0, false},
                                                    {21, 1, true},
                                                    {21, 0, false},
                                                    {21, 1, true}};
    EXPECT_EQ(seen, want);
}

TEST(GridFilter, AddJoinsWithAndAfterTheFirstCondition)
{
    TFilter filter;
    EXPECT_EQ(filter.Add()->Operation, TFilterOperation::foNONE);
    EXPECT_EQ(filter.Add()->Operation, TFilterOperation::foAND);
    filter.Delete(0);
    filter.Delete(0);
    EXPECT_EQ(filter.Add()->Operation, TFilterOperation::foNONE);
}

TEST(GridFilter, InsertPlacesTheConditionWhereAsked)
{
    TFilter filter;
    filter.Add()->Column = 1;
    filter.Add()->Column = 2;
    TFilterData* mid = filter.Insert(1);
    mid->Column = 9;
    EXPECT_EQ(mid->Operation, TFilterOperation::foSHORT);
    filter.Insert(-5)->Column = 7;
    filter.Insert(99)->Column = 8;
    std::vector<int> cols;
    for (int i = 0; i < filter.Count(); ++i)
        cols.push_back(filter.Items(i)->Column);
    EXPECT_EQ(cols, (std::vector<int>{7, 1, 9, 2, 8}));
    EXPECT_EQ(filter.Items(5), nullptr);
    EXPECT_EQ(filter.Items(-1), nullptr);
    EXPECT_FALSE(filter.Delete(5));
}

TEST(GridFilter, ColumnFiltersAreFoundAddedAndRemovedTogether)
{
    TFilter filter;
    std::vector<int> repainted;
    filter.OnRepaintHeader = [&](TFilter*, int col) { repainted.push_back(col); };
    filter.Add()->Column = 2;
    filter.Add()->Column = 3;
    filter.Add()->Column = 2;
    EXPECT_EQ(filter.GetColFilter(2), filter.Items(0));
    EXPECT_FALSE(filter.HasFilter(4));
    TFilterData* added = filter.GetColFilter(4);
    EXPECT_EQ(added->Column, 4);
    EXPECT_EQ(added->Operation, TFilterOperation::foAND);
    EXPECT_EQ(filter.Count(), 4);
    filter.RemoveColumnFilter(2);
    EXPECT_EQ(filter.Count(), 2);
    EXPECT_FALSE(filter.HasFilter(2));
    EXPECT_EQ(repainted, std::vector<int>{2});
}

TEST(GridFilter, AssignCopiesTheConditionsButNotTheirMethod)
{
    TFilter src;
    TFilterData* d = src.Add();
    d->Condition = QStringLiteral("a*");
    d->Method = TFilterMethod::fmLiteral;
    src.Add()->Column = 5;
    TFilter dst;
    dst.Add();
    dst.Add();
    dst.Add();
    dst.Assign(src);
    ASSERT_EQ(dst.Count(), 2);
    EXPECT_EQ(dst.Items(0)->Condition, QStringLiteral("a*"));
    EXPECT_EQ(dst.Items(0)->Method, TFilterMethod::fmExpression);
    EXPECT_EQ(dst.Items(1)->Column, 5);
    EXPECT_EQ(dst.Items(1)->Operation, TFilterOperation::foAND);
    src.Items(0)->Condition = QStringLiteral("changed");
    EXPECT_EQ(dst.Items(0)->Condition, QStringLiteral("a*")) << "copies, not shared items";
}

TEST(GridSortSettings, ToggleAndRemove)
{
    TSortSettings s;
    int removed = 0;
    s.OnRemove = [&](TSortSettings*) { ++removed; };
    s.Column = 4;
    s.ToggleDirection();
    EXPECT_EQ(s.Direction, sdDescending);
    s.ToggleDirection();
    EXPECT_EQ(s.Direction, sdAscending);
    s.Remove();
    EXPECT_EQ(s.Column, -1);
    EXPECT_EQ(removed, 1);
}

// Nodes live in the column-0 graphics: a 2 x 6 grid with a contracted node of span 3 at row 1,
// a summary row at row 4 and a check box in column 0 of row 5.
struct NodeRowCase {
    const char* name;
    int row;
    bool isNode, isSummary, contracted;
    int span, subNodes;
};

class NodePredicates : public ::testing::TestWithParam<NodeRowCase> {};

TEST_P(NodePredicates, ReadTheColumnZeroGraphic)
{
    test::FakeGraphicHost host(2, 6);
    auto node = std::make_unique<TCellGraphic>();
    node->CellType = ctNode;
    node->CellBoolean = true;
    node->CellIndex = 3;
    node->CellErrFrom = 1;
    host.setOwnGraphic(0, 1, std::move(node));
    auto summary = std::make_unique<TCellGraphic>();
    summary->CellType = ctSummary;
    host.setOwnGraphic(0, 4, std::move(summary));
    auto nodeInColumn1 = std::make_unique<TCellGraphic>();
    nodeInColumn1->CellType = ctNode;
    host.setOwnGraphic(1, 2, std::move(nodeInColumn1));
    auto box = std::make_unique<TCellGraphic>();
    box->SetCheckBox(true, false, false, haLeft, vaTop);
    host.setOwnGraphic(0, 5, std::move(box));

    const NodeRowCase& c = GetParam();
    EXPECT_EQ(IsNode(host, c.row), c.isNode);
    EXPECT_EQ(IsSummary(host, c.row), c.isSummary);
    EXPECT_EQ(GetNodeState(host, c.row), c.contracted);
    EXPECT_EQ(GetNodeSpan(host, c.row), c.span);
    EXPECT_EQ(GetSubNodeCount(host, c.row), c.subNodes);
}

const NodeRowCase kNodeRows[] = {
    {"ContractedNode", 1, true, false, true, 3, 1},
    {"PlainRow", 0, false, false, false, -1, 0},
    {"NodeGraphicOutsideColumnZero", 2, false, false, false, -1, 0},
    {"SummaryRow", 4, false, true, false, -1, 0},
    {"CheckBoxRow", 5, false, false, false, -1, 0},
    {"NegativeRow", -1, false, false, false, -1, 0},
    {"PastTheLastRow", 6, false, false, false, -1, 0},
};
INSTANTIATE_TEST_SUITE_P(Grid, NodePredicates, ::testing::ValuesIn(kNodeRows), CaseName());

}  // namespace
}  // namespace zfw
