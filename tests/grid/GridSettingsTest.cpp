// The settings objects of the string grid: their defaults as one golden table, the writers
// that do more than store, and what Assign leaves out.

#include "grid/GridSettings.h"

#include "support/CaseName.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace zfw {
namespace {

using test::CaseName;

QString b(bool v) { return v ? QStringLiteral("true") : QStringLiteral("false"); }
template <class E>
QString e(E v)
{
    return QString::number(int(v));
}
QString col(TColor c) { return QStringLiteral("%1").arg(c, 8, 16, QLatin1Char('0')).toUpper(); }

struct AllSix {
    TNavigation nav;
    TMouseActions mouse;
    TSearchFooter footer;
    TSearchFooter footerDesignNew{true};
    TSyncGrid sync;
    TBands bands;
    TFocusHelper focus;
};

// Name = value lines in the order of the golden file.
QString dump(const AllSix& s)
{
    std::vector<std::pair<QString, QString>> rows;
    auto add = [&](const char* name, QString v) {
        rows.emplace_back(QString::fromLatin1(name), v);
    };
    const TNavigation& n = s.nav;
    add("Navigation.AllowInsertRow", b(n.AllowInsertRow));
    add("Navigation.AllowDeleteRow", b(n.AllowDeleteRow));
    add("Navigation.AlwaysEdit", b(n.AlwaysEdit));
    add("Navigation.AdvanceOnEnter", b(n.AdvanceOnEnter));
    add("Navigation.AdvanceOnEnterLoop", b(n.AdvanceOnEnterLoop));
    add("Navigation.AdvanceInsert", b(n.AdvanceInsert()));
    add("Navigation.AdvanceAutoEdit", b(n.AdvanceAutoEdit));
    add("Navigation.AdvanceSkipReadOnlyCells", b(n.AdvanceSkipReadOnlyCells));
    add("Navigation.AdvanceAuto", b(n.AdvanceAuto()));
    add("Navigation.AdvanceDirection", e(n.AdvanceDirection()));
    add("Navigation.TabAdvanceDirection", e(n.TabAdvanceDirection));
    add("Navigation.TabToNextAtEnd", b(n.TabToNextAtEnd));
    add("Navigation.AutoGotoWhenSorted", b(n.AutoGotoWhenSorted));
    add("Navigation.AutoGotoIncremental", b(n.AutoGotoIncremental));
    add("Navigation.AutoComboDropSize", b(n.AutoComboDropSize));
    add("Navigation.AllowClipboardShortCuts", b(n.AllowClipboardShortCuts));
    add("Navigation.AllowCtrlEnter", b(n.AllowCtrlEnter));
    add("Navigation.AllowSmartClipboard", b(n.AllowSmartClipboard));
    add("Navigation.AllowRTFClipboard", b(n.AllowRTFClipboard));
    add("Navigation.AllowFmtClipboard", b(n.AllowFmtClipboard));
    add("Navigation.AllowClipboardAlways", b(n.AllowClipboardAlways));
    add("Navigation.AllowClipboardRowGrow", b(n.AllowClipboardRowGrow));
    add("Navigation.AllowClipboardColGrow", b(n.AllowClipboardColGrow));
    add("Navigation.ClipboardPasteAction", e(n.ClipboardPasteAction));
    add("Navigation.CopyHTMLTagsToClipboard", b(n.CopyHTMLTagsToClipboard));
    add("Navigation.AppendOnArrowDown", b(n.AppendOnArrowDown));
    add("Navigation.EditSelectAll", b(n.EditSelectAll));
    add("Navigation.InsertPosition", e(n.InsertPosition));
    add("Navigation.ComboGetUpDown", b(n.ComboGetUpDown));
    add("Navigation.CursorAdvance", e(n.CursorAdvance));
    add("Navigation.CursorWalkEditor", b(n.CursorWalkEditor));
    add("Navigation.CursorWalkAlwaysEdit", b(n.CursorWalkAlwaysEdit));
    add("Navigation.CursorMoveRows", b(n.CursorMoveRows));
    add("Navigation.MoveRowOnSort", b(n.MoveRowOnSort));
    add("Navigation.KeepScrollOnSort", b(n.KeepScrollOnSort));
    add("Navigation.MoveScrollOnly", b(n.MoveScrollOnly));
    add("Navigation.ImproveMaskSel", b(n.ImproveMaskSel));
    add("Navigation.LeftRightRowSelect", b(n.LeftRightRowSelect));
    add("Navigation.KeepHorizScroll", b(n.KeepHorizScroll));
    add("Navigation.LineFeedOnEnter", b(n.LineFeedOnEnter));
    add("Navigation.HomeEndKey", e(n.HomeEndKey));
    add("Navigation.SkipFixedCells", b(n.SkipFixedCells));
    add("Navigation.SkipDisabledRows", b(n.SkipDisabledRows));
    const TMouseActions& m = s.mouse;
    add("MouseActions.AllColumnSize", b(m.AllColumnSize));
    add("MouseActions.AllRowSize", b(m.AllRowSize));
    add("MouseActions.AllSelect", b(m.AllSelect));
    add("MouseActions.ColSelect", b(m.ColSelect));
    add("MouseActions.RowSelect", b(m.RowSelect));
    add("MouseActions.AutoSizeColOnDblClick", b(m.AutoSizeColOnDblClick));
    add("MouseActions.CaretPositioning", b(m.CaretPositioning));
    add("MouseActions.CheckAllCheck", b(m.CheckAllCheck));
    add("MouseActions.DirectComboClose", b(m.DirectComboClose));
    add("MouseActions.DirectComboDrop", b(m.DirectComboDrop));
    add("MouseActions.DirectDateClose", b(m.DirectDateClose));
    add("MouseActions.DirectDateDrop", b(m.DirectDateDrop));
    add("MouseActions.DirectEdit", b(m.DirectEdit));
    add("MouseActions.DisjunctRowSelect", b(m.DisjunctRowSelect()));
    add("MouseActions.DisjunctColSelect", b(m.DisjunctColSelect()));
    add("MouseActions.DisjunctCellSelect", b(m.DisjunctCellSelect()));
    add("MouseActions.DisjunctRowSelectNoCtrl", b(m.DisjunctRowSelectNoCtrl));
    add("MouseActions.EditOnDblClickOnly", b(m.EditOnDblClickOnly()));
    add("MouseActions.FixedRowsEdit", e(m.FixedRowsEdit));
    add("MouseActions.FixedColsEdit", e(m.FixedColsEdit));
    add("MouseActions.FixedRowsEditor", e(m.FixedRowsEditor));
    add("MouseActions.FixedColsEditor", e(m.FixedColsEditor));
    add("MouseActions.FixedComboValues", m.FixedComboValues().join(u'|'));
    add("MouseActions.HotmailRowSelect", b(m.HotmailRowSelect()));
    add("MouseActions.MoveRowOnNodeClick", b(m.MoveRowOnNodeClick));
    add("MouseActions.NodeAllExpandContract", b(m.NodeAllExpandContract));
    add("MouseActions.NoAutoRangeScroll", b(m.NoAutoRangeScroll));
    add("MouseActions.NoScrollOnPartialRow", b(m.NoScrollOnPartialRow));
    add("MouseActions.PreciseCheckBoxCheck", b(m.PreciseCheckBoxCheck));
    add("MouseActions.PreciseNodeClick", b(m.PreciseNodeClick));
    add("MouseActions.RangeSelectAndEdit", b(m.RangeSelectAndEdit));
    add("MouseActions.RowSelectPersistent", b(m.RowSelectPersistent));
    add("MouseActions.SelectOnRightClick", b(m.SelectOnRightClick));
    add("MouseActions.SizeFixedCol", b(m.SizeFixedCol));
    add("MouseActions.SizeFixedRow", b(m.SizeFixedRow));
    add("MouseActions.WheelIncrement", QString::number(m.WheelIncrement));
    add("MouseActions.WheelAction", e(m.WheelAction()));
    const TSearchFooter& f = s.footer;
    add("SearchFooter.Visible", b(f.Visible()));
    add("SearchFooter.Color", col(f.Color()));
    add("SearchFooter.ColorTo", col(f.ColorTo()));
    add("SearchFooter.FontIsDefault", b(f.Font() == QFont()));
    add("SearchFooter.AutoSearch", b(f.AutoSearch));
    add("SearchFooter.AlwaysHighLight", b(f.AlwaysHighLight));
    add("SearchFooter.SearchColumn", QString::number(f.SearchColumn));
    add("SearchFooter.SearchActiveColumnOnly", b(f.SearchActiveColumnOnly));
    add("SearchFooter.SearchMatchStart", b(f.SearchMatchStart));
    add("SearchFooter.SearchFixedCells", b(f.SearchFixedCells));
    add("SearchFooter.SearchHiddenRows", b(f.SearchHiddenRows));
    add("SearchFooter.SearchDirection", e(f.SearchDirection));
    add("SearchFooter.ShowFindNext", b(f.ShowFindNext()));
    add("SearchFooter.ShowFindPrev", b(f.ShowFindPrev()));
    add("SearchFooter.ShowHighLight", b(f.ShowHighLight()));
    add("SearchFooter.ShowMatchCase", b(f.ShowMatchCase()));
    add("SearchFooter.ShowClose", b(f.ShowClose()));
    for (const TSearchFooter* ff : {&s.footer, &s.footerDesignNew}) {
        const QString p = ff == &s.footer ? QStringLiteral("SearchFooter.")
                                          : QStringLiteral("SearchFooterDesignNew.");
        rows.emplace_back(p + QStringLiteral("FindNextCaption"), ff->FindNextCaption());
        rows.emplace_back(p + QStringLiteral("FindPrevCaption"), ff->FindPrevCaption());
        rows.emplace_back(p + QStringLiteral("MatchCaseCaption"), ff->MatchCaseCaption());
        rows.emplace_back(p + QStringLiteral("HighLightCaption"), ff->HighLightCaption());
        rows.emplace_back(p + QStringLiteral("HintFindNext"), ff->HintFindNext());
        rows.emplace_back(p + QStringLiteral("HintFindPrev"), ff->HintFindPrev());
        rows.emplace_back(p + QStringLiteral("HintHighlight"), ff->HintHighlight());
        rows.emplace_back(p + QStringLiteral("HintClose"), ff->HintClose());
        if (ff == &s.footer) {
            add("SearchFooter.AutoThemeAdapt", b(f.AutoThemeAdapt()));
            add("SearchFooter.LastSearch", f.LastSearch);
        }
    }
    add("SyncGrid.Grid", s.sync.Grid() ? QStringLiteral("set") : QStringLiteral("null"));
    add("SyncGrid.ScrollVertical", b(s.sync.ScrollVertical));
    add("SyncGrid.ScrollHorizontal", b(s.sync.ScrollHorizontal));
    add("SyncGrid.SelectionColumn", b(s.sync.SelectionColumn));
    add("SyncGrid.SelectionRow", b(s.sync.SelectionRow));
    add("SyncGrid.MoveColumn", b(s.sync.MoveColumn));
    add("SyncGrid.MoveRow", b(s.sync.MoveRow));
    add("Bands.Active", b(s.bands.Active()));
    add("Bands.PrimaryColor", col(s.bands.PrimaryColor()));
    add("Bands.PrimaryLength", QString::number(s.bands.PrimaryLength()));
    add("Bands.SecondaryColor", col(s.bands.SecondaryColor()));
    add("Bands.SecondaryLength", QString::number(s.bands.SecondaryLength()));
    add("Bands.TotalLength", QString::number(s.bands.TotalLength()));
    add("Bands.Print", b(s.bands.Print));
    add("FocusHelper.Enabled", b(s.focus.Enabled));
    QString out;
    for (const auto& [name, value] : rows)
        out += name + u'=' + value + u'\n';
    return out;
}

TEST(GridSettings, DefaultsMatchTheGoldenTable)
{
    QFile file(QStringLiteral(ZFW_TEST_DATA_DIR "/grid/settings-defaults.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString expected = QString::fromUtf8(file.readAll());
    AllSix s;
    const QStringList want = expected.split(u'\n', Qt::SkipEmptyParts);
    const QStringList got = dump(s).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(got.size(), want.size());
    for (qsizetype i = 0; i < want.size(); ++i)
        EXPECT_EQ(got[i].toStdString(), want[i].toStdString());
}

struct WriterCase {
    const char* name;
    std::function<void(AllSix&)> act;
    int navChanges, mouseChanges, mouseInvalidates, mouseDisableEdits, footerChanges, bandsChanges;
    std::function<void(const AllSix&)> check;
};

class Writers : public ::testing::TestWithParam<WriterCase> {};

TEST_P(Writers, NotifyAndSwitch)
{
    AllSix s;
    int nav = 0, mouse = 0, inval = 0, disable = 0, footer = 0, bands = 0;
    s.nav.OnChange = [&](TNavigation* sender) {
        EXPECT_EQ(sender, &s.nav);
        ++nav;
    };
    s.mouse.OnChange = [&](TMouseActions*) { ++mouse; };
    s.mouse.OnInvalidate = [&](TMouseActions*) { ++inval; };
    s.mouse.OnDisableEdit = [&](TMouseActions*) { ++disable; };
    s.footer.OnChange = [&](TSearchFooter*) { ++footer; };
    s.bands.OnChange = [&](TBands*) { ++bands; };
    const WriterCase& w = GetParam();
    w.act(s);
    EXPECT_EQ(nav, w.navChanges);
    EXPECT_EQ(mouse, w.mouseChanges);
    EXPECT_EQ(inval, w.mouseInvalidates);
    EXPECT_EQ(disable, w.mouseDisableEdits);
    EXPECT_EQ(footer, w.footerChanges);
    EXPECT_EQ(bands, w.bandsChanges);
    if (w.check)
        w.check(s);
}

const WriterCase kWriters[] = {
    {"AdvanceDirectionOnlyOnChange",
     [](AllSix& s) {
         s.nav.SetAdvanceDirection(TAdvanceDirection::adLeftRight);
         s.nav.SetAdvanceDirection(TAdvanceDirection::adTopBottom);
     },
     1, 0, 0, 0, 0, 0, nullptr},
    {"AdvanceInsertOnlyOnChange",
     [](AllSix& s) {
         s.nav.SetAdvanceInsert(false);
         s.nav.SetAdvanceInsert(true);
     },
     1, 0, 0, 0, 0, 0, nullptr},
    {"AdvanceAutoSwitchesAdvanceOnEnterOnOnly",
     [](AllSix& s) {
         s.nav.SetAdvanceAuto(true);
         s.nav.SetAdvanceAuto(false);
     },
     0, 0, 0, 0, 0, 0,
     [](const AllSix& s) {
         EXPECT_TRUE(s.nav.AdvanceOnEnter);
         EXPECT_FALSE(s.nav.AdvanceAuto());
     }},
    {"HotmailLeavesDisjunctAndCheckAllOn",
     [](AllSix& s) {
         s.mouse.SetHotmailRowSelect(true);
         s.mouse.SetHotmailRowSelect(false);
     },
     0, 0, 2, 0, 0, 0,
     [](const AllSix& s) {
         EXPECT_TRUE(s.mouse.DisjunctRowSelect());
         EXPECT_TRUE(s.mouse.CheckAllCheck);
         EXPECT_FALSE(s.mouse.HotmailRowSelect());
     }},
    {"EditOnDblClickOnlyDisablesEdit",
     [](AllSix& s) {
         s.mouse.SetEditOnDblClickOnly(true);
         s.mouse.SetEditOnDblClickOnly(false);
     },
     0, 0, 0, 1, 0, 0, nullptr},
    {"WheelActionOnlyOnChange",
     [](AllSix& s) {
         s.mouse.SetWheelAction(TWheelAction::waMoveSelection);
         s.mouse.SetWheelAction(TWheelAction::waScroll);
     },
     0, 1, 0, 0, 0, 0, nullptr},
    {"DisjunctIndependentAtRunTime",
     [](AllSix& s) {
         s.mouse.SetDisjunctRowSelect(true);
         s.mouse.SetDisjunctColSelect(true);
     },
     0, 0, 0, 0, 0, 0,
     [](const AllSix& s) {
         EXPECT_TRUE(s.mouse.DisjunctRowSelect());
         EXPECT_TRUE(s.mouse.DisjunctColSelect());
     }},
    {"DisjunctExclusiveInDesign",
     [](AllSix& s) {
         s.mouse.OnIsDesigning = [](TMouseActions*, bool& d) { d = true; };
         s.mouse.SetDisjunctRowSelect(true);
         s.mouse.SetDisjunctCellSelect(true);
     },
     0, 0, 0, 0, 0, 0,
     [](const AllSix& s) {
         EXPECT_FALSE(s.mouse.DisjunctRowSelect());
         EXPECT_TRUE(s.mouse.DisjunctCellSelect());
     }},
    {"FooterVisibleSameValueSilent", [](AllSix& s) { s.footer.SetVisible(false); }, 0, 0, 0, 0, 0,
     0, nullptr},
    {"FooterColorSameValueNotifies", [](AllSix& s) { s.footer.SetColor(s.footer.Color()); }, 0, 0,
     0, 0, 1, 0, nullptr},
    {"FooterShowCloseAlwaysNotifies",
     [](AllSix& s) {
         s.footer.SetShowClose(true);
         s.footer.SetShowFindNext(true);
     },
     0, 0, 0, 0, 1, 0, nullptr},
    {"BandsSilentWhileInactive",
     [](AllSix& s) {
         s.bands.SetPrimaryColor(clRed);
         s.bands.SetSecondaryLength(3);
     },
     0, 0, 0, 0, 0, 0, [](const AllSix& s) { EXPECT_EQ(s.bands.TotalLength(), 4); }},
    {"BandsActiveOnceThenChanges",
     [](AllSix& s) {
         s.bands.SetActive(true);
         s.bands.SetActive(true);
         s.bands.SetPrimaryLength(2);
         s.bands.SetPrimaryLength(2);
     },
     0, 0, 0, 0, 0, 2, nullptr},
};
INSTANTIATE_TEST_SUITE_P(Grid, Writers, ::testing::ValuesIn(kWriters), CaseName());

TEST(GridSettings, SyncGridIgnoresItsOwner)
{
    auto* owner = reinterpret_cast<TExtStringGrid*>(std::uintptr_t(0x1000));
    auto* other = reinterpret_cast<TExtStringGrid*>(std::uintptr_t(0x2000));
    TSyncGrid sync(owner);
    sync.SetGrid(other);
    sync.SetGrid(owner);
    EXPECT_EQ(sync.Grid(), other);
    TSyncGrid mirror(other);
    mirror.Assign(sync);
    EXPECT_EQ(mirror.Grid(), nullptr) << "the copied grid is the mirror's owner: ignored";
}

TEST(GridSettings, AssignCopiesAllButTheExclusionsAndStaysSilent)
{
    AllSix src;
    src.nav.AllowInsertRow = true;
    src.nav.KeepScrollOnSort = true;
    src.nav.SetAdvanceDirection(TAdvanceDirection::adTopBottomInCol);
    src.nav.SetAdvanceAuto(true);
    src.mouse.AllSelect = true;
    src.mouse.SizeFixedRow = true;
    src.mouse.SizeFixedCol = true;
    src.mouse.SetEditOnDblClickOnly(true);
    src.mouse.SetHotmailRowSelect(true);
    src.mouse.SetFixedComboValues({QStringLiteral("a")});
    src.mouse.SetWheelAction(TWheelAction::waScroll);
    src.footer.SetVisible(true);
    src.footer.AutoSearch = false;
    src.footer.SearchFixedCells = true;
    src.footer.SearchColumn = 4;
    src.footer.SetAutoThemeAdapt(true);
    src.footer.LastSearch = QStringLiteral("x");
    src.footer.SetHintClose(QStringLiteral("bye"));
    src.bands.SetPrimaryLength(3);
    src.bands.SetActive(true);
    src.focus.Enabled = true;

    AllSix dst;
    int events = 0;
    dst.nav.OnChange = [&](TNavigation*) { ++events; };
    dst.mouse.OnChange = [&](TMouseActions*) { ++events; };
    dst.mouse.OnInvalidate = [&](TMouseActions*) { ++events; };
    dst.footer.OnChange = [&](TSearchFooter*) { ++events; };
    dst.bands.OnChange = [&](TBands*) { ++events; };
    dst.nav.Assign(src.nav);
    dst.mouse.Assign(src.mouse);
    dst.footer.Assign(src.footer);
    dst.bands.Assign(src.bands);
    dst.focus.Assign(src.focus);
    EXPECT_EQ(events, 0);

    EXPECT_TRUE(dst.nav.AllowInsertRow);
    EXPECT_EQ(dst.nav.AdvanceDirection(), TAdvanceDirection::adTopBottomInCol);
    EXPECT_TRUE(dst.nav.AdvanceAuto());
    EXPECT_FALSE(dst.nav.KeepScrollOnSort);
    EXPECT_TRUE(dst.mouse.AllSelect);
    EXPECT_TRUE(dst.mouse.SizeFixedCol);
    EXPECT_EQ(dst.mouse.WheelAction(), TWheelAction::waScroll);
    EXPECT_TRUE(dst.mouse.DisjunctRowSelect()) << "switched on by the source's hotmail writer";
    EXPECT_FALSE(dst.mouse.SizeFixedRow);
    EXPECT_FALSE(dst.mouse.EditOnDblClickOnly());
    EXPECT_FALSE(dst.mouse.HotmailRowSelect());
    EXPECT_TRUE(dst.mouse.FixedComboValues().isEmpty());
    EXPECT_TRUE(dst.footer.Visible());
    EXPECT_EQ(dst.footer.SearchColumn, 4);
    EXPECT_EQ(dst.footer.HintClose(), QStringLiteral("bye"));
    EXPECT_TRUE(dst.footer.AutoSearch);
    EXPECT_FALSE(dst.footer.SearchFixedCells);
    EXPECT_FALSE(dst.footer.AutoThemeAdapt());
    EXPECT_TRUE(dst.footer.LastSearch.isEmpty());
    EXPECT_TRUE(dst.bands.Active());
    EXPECT_EQ(dst.bands.TotalLength(), 4);
    EXPECT_TRUE(dst.focus.Enabled);

    // The copied notifications stay the destination's own.
    dst.nav.SetAdvanceInsert(true);
    EXPECT_EQ(events, 1);
}

}  // namespace
}  // namespace zfw
