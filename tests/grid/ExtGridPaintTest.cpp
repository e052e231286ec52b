// The string grid's cell painter as recorded drawing calls and as pixels: the fixed-cell look,
// the text as a cell shows it, data check boxes, the read-only box, the selection colours and
// the update lock.
//
// Fixture: a 5 x 6 string grid (one fixed row and column, columns of 60 px, rows of 22 px),
// header texts in row 0, a pinned font.

#include "grid/ExtGrid.h"
#include "grid/GridDrawRecorder.h"

#include "support/CaseName.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace zfw {
namespace {

using test::CaseName;

class PaintGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid = std::make_unique<TExtStringGrid>();
        grid->setFrameShape(QFrame::NoFrame);
        grid->SetScrollBars(ssNone);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(12);
        grid->setFont(f);
        grid->FixedFont = f;
        grid->SetColCount(5);
        grid->SetRowCount(6);
        grid->SetFixedCols(1);
        grid->SetFixedRows(1);
        grid->SetDefaultColWidth(60);
        grid->SetDefaultRowHeight(22);
        grid->resize(300, 132);
        for (int c = 0; c < 5; ++c)
            grid->SetCellEx(c, 0, QStringLiteral("H%1").arg(c));
    }

    std::vector<GridDrawOp> recordPass()
    {
        QImage scratch(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
        QPainter painter(&scratch);
        RecordingGridCanvas canvas;
        grid->paintCells(canvas, painter, QRect(0, 0, grid->ClientWidth(), grid->ClientHeight()));
        return canvas.ops();
    }

    // The calls that start inside the cell, in drawing order.
    std::vector<GridDrawOp> opsInCell(int DCol, int ARow)
    {
        const TRect cell = grid->CellRect(DCol, ARow);
        std::vector<GridDrawOp> in;
        for (const GridDrawOp& op : recordPass()) {
            const int x = op.kind == GridDrawOp::Line ? op.x1 : op.rect.Left;
            const int y = op.kind == GridDrawOp::Line ? op.y1 : op.rect.Top;
            if (op.kind != GridDrawOp::PushClip && op.kind != GridDrawOp::PopClip && x >= cell.Left
                && x < cell.Right && y >= cell.Top && y < cell.Bottom)
                in.push_back(op);
        }
        return in;
    }

    std::vector<GridDrawOp> textsIn(int DCol, int ARow)
    {
        std::vector<GridDrawOp> t;
        for (const GridDrawOp& op : opsInCell(DCol, ARow))
            if (op.kind == GridDrawOp::Text)
                t.push_back(op);
        return t;
    }

    QImage render()
    {
        QImage image(grid->size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        grid->render(&image);
        return image;
    }

    std::unique_ptr<TExtStringGrid> grid;
};

// ----- the fixed-cell look -----

// A loaded grid taken back to the bare XP look: a look change applies the look's own colours
// (white to button face), which the colour style of a new grid replaced.
void bareXPLook(TExtStringGrid& g)
{
    g.Loaded();
    g.SetLook(TGridLook::glCustom);
    g.SetLook(TGridLook::glXP);
}

struct LookCase {
    const char* name;
    std::function<void(TExtStringGrid&)> setup;
    bool gradient;   // the header is filled in bands from white
    bool whiteEdge;  // the raised white edge along the top
};

class FixedCellLook : public PaintGrid, public ::testing::WithParamInterface<LookCase> {};

TEST_P(FixedCellLook, HeaderBackgroundTextThenEdges)
{
    const LookCase& c = GetParam();
    c.setup(*grid);
    const std::vector<GridDrawOp> ops = opsInCell(2, 0);

    int firstWhiteFill = -1, fills = 0, text = -1, whiteLine = -1;
    for (int i = 0; i < int(ops.size()); ++i) {
        const GridDrawOp& op = ops[i];
        if (op.kind == GridDrawOp::Fill) {
            ++fills;
            if (op.color == clWhite && firstWhiteFill < 0)
                firstWhiteFill = i;
            // The style of a new grid paints its headers in button face only.
            if (!c.gradient && text < 0) {
                EXPECT_EQ(colorToRGB(op.color, grid->palette()),
                          colorToRGB(clBtnFace, grid->palette()))
                    << std::hex << op.color;
            }
        }
        if (op.kind == GridDrawOp::Text && text < 0)
            text = i;
        if (op.kind == GridDrawOp::Line && op.color == clWhite && whiteLine < 0)
            whiteLine = i;
    }
    ASSERT_GE(text, 0);
    EXPECT_EQ(ops[text].text, QStringLiteral("H2"));
    EXPECT_EQ(firstWhiteFill >= 0 && fills > 2, c.gradient);
    if (c.gradient) {
        EXPECT_LT(firstWhiteFill, text) << "the background comes before the text";
    }
    EXPECT_EQ(whiteLine >= 0, c.whiteEdge);
    if (c.whiteEdge) {
        EXPECT_GT(whiteLine, text) << "the edge is drawn over the text's cell, after it";
    }
}

const LookCase kLooks[] = {
    {"NewGridWindowsXPStyle", [](TExtStringGrid&) {}, false, true},
    {"XP", bareXPLook, true, true},
    {"Standard",
     [](TExtStringGrid& g) {
         g.Loaded();
         g.SetLook(TGridLook::glStandard);
     },
     false, false},
};
INSTANTIATE_TEST_SUITE_P(Grid, FixedCellLook, ::testing::ValuesIn(kLooks), CaseName());

TEST_F(PaintGrid, FlatXPHeaderKeepsThePlainFill)
{
    grid->Loaded();
    grid->SetFlat(true);
    int fills = 0;
    for (const GridDrawOp& op : opsInCell(2, 0)) {
        EXPECT_FALSE(op.kind == GridDrawOp::Line && op.color == clWhite) << "no raised edge";
        if (op.kind == GridDrawOp::Fill) {
            ++fills;
            EXPECT_TRUE(op.color == grid->FixedColor()
                        || op.color == colorToRGB(grid->FixedColor(), grid->palette()))
                << "no gradient: " << std::hex << op.color;
        }
    }
    EXPECT_GT(fills, 0);
}

struct HeaderPixelCase {
    const char* name;
    std::function<void(TExtStringGrid&)> setup;
    bool whiteTop;  // else button face at the top as well
};

class HeaderOnScreen : public PaintGrid, public ::testing::WithParamInterface<HeaderPixelCase> {};

TEST_P(HeaderOnScreen, TopAndBottomColours)
{
    const HeaderPixelCase& c = GetParam();
    c.setup(*grid);
    const QImage image = render();
    const TRect cell = grid->CellRect(2, 0);
    const QColor top(image.pixel(cell.Left + 30, cell.Top + 2));
    const QColor bottom(image.pixel(cell.Left + 30, cell.Bottom - 3));
    const QColor face = grid->palette().color(QPalette::Button);
    if (c.whiteTop) {
        EXPECT_GT(top.lightness(), 245);
    } else {
        EXPECT_LT(std::abs(top.lightness() - face.lightness()), 12);
    }
    EXPECT_LT(std::abs(bottom.lightness() - face.lightness()), 12);
}

const HeaderPixelCase kHeaderPixels[] = {
    {"NewGridButtonFace", [](TExtStringGrid&) {}, false},
    {"XPLookWhiteToButtonFace", bareXPLook, true},
};
INSTANTIATE_TEST_SUITE_P(Grid, HeaderOnScreen, ::testing::ValuesIn(kHeaderPixels), CaseName());

// ----- the hovered fixed cell -----

struct HoverCase {
    const char* name;
    THoverFixedCells mode;
    QPoint hovered;  // display column, row
    QPoint probed;
    std::function<void(TExtStringGrid&)> setup;
    bool hoverFill;  // the hover gradient is painted before the text
};

class FixedCellHover : public PaintGrid, public ::testing::WithParamInterface<HoverCase> {};

TEST_P(FixedCellHover, HoverGradientOnlyOnTheHoveredCellItsModeCovers)
{
    const HoverCase& c = GetParam();
    grid->SetCellEx(0, 2, QStringLiteral("R2"));
    grid->HoverFixedCells = c.mode;
    grid->HoverFixedCell = c.hovered;
    c.setup(*grid);
    const std::vector<GridDrawOp> ops = opsInCell(c.probed.x(), c.probed.y());
    int hoverFill = -1, text = -1;
    for (int i = 0; i < int(ops.size()); ++i) {
        if (ops[i].kind == GridDrawOp::Fill && ops[i].color == grid->VKTGradientHoverFrom
            && hoverFill < 0)
            hoverFill = i;
        if (ops[i].kind == GridDrawOp::Text && text < 0)
            text = i;
    }
    EXPECT_EQ(hoverFill >= 0, c.hoverFill);
    if (c.hoverFill) {
        ASSERT_GE(text, 0);
        EXPECT_LT(hoverFill, text);
    }
}

void noSetup(TExtStringGrid&) {}

const HoverCase kHovers[] = {
    {"AllHeader", THoverFixedCells::hfAll, {2, 0}, {2, 0}, noSetup, true},
    {"AllNeighbourStaysPlain", THoverFixedCells::hfAll, {2, 0}, {3, 0}, noSetup, false},
    {"NoneByDefault", THoverFixedCells::hfNone, {2, 0}, {2, 0}, noSetup, false},
    {"FixedRowsHeader", THoverFixedCells::hfFixedRows, {2, 0}, {2, 0}, noSetup, true},
    {"FixedRowsNotTheRowHeader", THoverFixedCells::hfFixedRows, {0, 2}, {0, 2}, noSetup, false},
    {"FixedColumnsRowHeader", THoverFixedCells::hfFixedColumns, {0, 2}, {0, 2}, noSetup, true},
    {"FixedColumnsNotTheHeader", THoverFixedCells::hfFixedColumns, {2, 0}, {2, 0}, noSetup, false},
    {"FlatStillHovers",
     THoverFixedCells::hfAll,
     {2, 0},
     {2, 0},
     [](TExtStringGrid& g) {
         g.Loaded();
         g.SetFlat(true);
     },
     true},
    {"NotWhileSizing",
     THoverFixedCells::hfAll,
     {2, 0},
     {2, 0},
     [](TExtStringGrid& g) { g.SetGridState(gsColSizing); },
     false},
    {"PlainLookHasNone",
     THoverFixedCells::hfAll,
     {2, 0},
     {2, 0},
     [](TExtStringGrid& g) {
         g.Loaded();
         g.SetLook(TGridLook::glStandard);
     },
     false},
};
INSTANTIATE_TEST_SUITE_P(Grid, FixedCellHover, ::testing::ValuesIn(kHovers), CaseName());

// ----- data check boxes -----

struct DataBoxCase {
    const char* name;
    const char* checkTrue;
    const char* text;
    int checked;
};

class DataBoxPainted : public PaintGrid, public ::testing::WithParamInterface<DataBoxCase> {};

TEST_P(DataBoxPainted, CheckedExactlyForTheCheckTrueText)
{
    const DataBoxCase& c = GetParam();
    grid->CheckTrue = QString::fromUtf8(c.checkTrue);
    ASSERT_EQ(grid->AddCheckBoxColumn(2, false, true), QString());
    grid->SetCellEx(2, 3, QString::fromUtf8(c.text));
    int boxes = 0;
    for (const GridDrawOp& op : opsInCell(2, 3)) {
        EXPECT_NE(op.kind, GridDrawOp::Text) << "a data box shows no text";
        if (op.kind == GridDrawOp::StyleCheckBox) {
            ++boxes;
            EXPECT_EQ(op.flags, c.checked);
        }
    }
    EXPECT_EQ(boxes, 1);
}

const DataBoxCase kDataBoxes[] = {
    {"TrueText", "Y", "Y", 1},
    {"FalseText", "Y", "N", 0},
    {"OtherCase", "Y", "y", 0},
    {"TrailingSpace", "Y", "Y ", 0},
    {"Empty", "Y", "", 0},
    {"OwnTrueText", "1", "1", 1},
    {"DefaultTrueUnderOwn", "1", "Y", 0},
};
INSTANTIATE_TEST_SUITE_P(Grid, DataBoxPainted, ::testing::ValuesIn(kDataBoxes), CaseName());

struct ReadOnlyCase {
    const char* name;
    bool editing;
    bool readOnly;
    bool enabled;
};

class ReadOnlyBox : public PaintGrid, public ::testing::WithParamInterface<ReadOnlyCase> {};

TEST_P(ReadOnlyBox, DrawnDisabledWhenItCannotBeChanged)
{
    const ReadOnlyCase& c = GetParam();
    TGridOptions o = grid->Options();
    o.setFlag(goEditing, c.editing);
    grid->SetOptions(o);
    ASSERT_EQ(grid->AddCheckBoxColumn(2, true, true), QString());
    grid->SetReadOnly(2, 2, c.readOnly);
    int boxes = 0;
    for (const GridDrawOp& op : opsInCell(2, 2)) {
        if (op.kind == GridDrawOp::StyleCheckBox) {
            ++boxes;
            EXPECT_EQ(op.enabled, c.enabled);
            EXPECT_EQ(op.flags, 1);
        }
    }
    EXPECT_EQ(boxes, 1);
}

const ReadOnlyCase kReadOnly[] = {
    {"Editable", true, false, true},
    {"ReadOnlyCell", true, true, false},
    {"GridNotEditing", false, false, false},
};
INSTANTIATE_TEST_SUITE_P(Grid, ReadOnlyBox, ::testing::ValuesIn(kReadOnly), CaseName());

// ----- text -----

struct TextCase {
    const char* name;
    const char* text;
    bool wordWrap;
    bool password;
    bool urlShow;
    const char* shown;
    bool underlined;
};

class CellTextShown : public PaintGrid, public ::testing::WithParamInterface<TextCase> {};

TEST_P(CellTextShown, AsTheCellShowsIt)
{
    const TextCase& c = GetParam();
    grid->SetCellEx(2, 2, QString::fromUtf8(c.text));
    grid->SetWordWraps(2, 2, c.wordWrap);
    if (c.password)
        grid->OnIsPasswordCell = [](QObject*, int, int, bool& pw) { pw = true; };
    grid->SetURLShow(c.urlShow);
    const std::vector<GridDrawOp> texts = textsIn(2, 2);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, QString::fromUtf8(c.shown));
    EXPECT_EQ((texts[0].flags & Qt::TextWordWrap) != 0, c.wordWrap);
    EXPECT_EQ(texts[0].color == grid->URLColor, c.underlined);
}

const TextCase kTexts[] = {
    {"Plain", "abc", false, false, false, "abc", false},
    {"FirstLineWithoutWrap", "one\r\ntwo", false, false, false, "one", false},
    {"AllLinesWithWrap", "one\r\ntwo", true, false, false, "one\ntwo", false},
    {"MarkupAsPlainText", "<b>bold</b> text", false, false, false, "bold text", false},
    {"Password", "secret", false, true, false, "******", false},
    {"MailLinkWithoutPrefix", "mailto:a@b.c", false, false, true, "a@b.c", true},
    {"LinkNotShownAsLink", "http://x.y", false, false, false, "http://x.y", false},
};
INSTANTIATE_TEST_SUITE_P(Grid, CellTextShown, ::testing::ValuesIn(kTexts), CaseName());

TEST_F(PaintGrid, TextKeepsTheOffsetFromTheCellEdges)
{
    grid->SetCellEx(2, 2, QStringLiteral("x"));
    grid->SetXYOffset(QPoint(5, 4));
    const TRect cell = grid->CellRect(2, 2);
    const std::vector<GridDrawOp> texts = textsIn(2, 2);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_GE(texts[0].rect.Left - cell.Left, 5);
    EXPECT_GE(texts[0].rect.Top - cell.Top, 4);
    EXPECT_LE(texts[0].rect.Right, cell.Right - 5);
}

// ----- selection colours -----

struct MixCase {
    const char* name;
    TColor a;
    TColor b;
    int percent;
    TColor mixed;
};

class MixColorsCase : public PaintGrid, public ::testing::WithParamInterface<MixCase> {};

TEST_P(MixColorsCase, BlendsPerChannel)
{
    const MixCase& c = GetParam();
    EXPECT_EQ(grid->MixColors(c.a, c.b, c.percent), c.mixed);
}

const MixCase kMixes[] = {
    {"HalfBlueOverWhite", clBlue, clWhite, 50, 0xFF8080},
    {"NoneOfA", clBlue, clWhite, 0, clWhite},
    {"AllOfA", clBlue, clWhite, 100, clBlue},
    {"BeyondAll", clBlue, clWhite, 150, clBlue},
    {"ANone", clNone, clWhite, 50, clWhite},
    {"BNone", clBlue, clNone, 50, clBlue},
    {"QuarterRounded", 0x000064, 0x000000, 25, 0x000019},
};
INSTANTIATE_TEST_SUITE_P(Grid, MixColorsCase, ::testing::ValuesIn(kMixes), CaseName());

TEST_F(PaintGrid, SelectedCellIsPaintedInTheSelectionColourOnScreen)
{
    grid->SetOptions(grid->Options() | goDrawFocusSelected);
    grid->SetSelectionColor(0x00FF00);
    grid->SetCol(2);
    grid->SetRow(2);
    const QImage image = render();
    const TRect sel = grid->CellRect(2, 2);
    const TRect other = grid->CellRect(3, 3);
    EXPECT_EQ(QColor(image.pixel(sel.Left + 40, sel.Top + 15)), QColor(0, 0xFF, 0));
    EXPECT_EQ(QColor(image.pixel(other.Left + 40, other.Top + 15)),
              grid->palette().color(QPalette::Base));
}

TEST_F(PaintGrid, MixedSelectionOverAnOwnColour)
{
    grid->SetOptions(grid->Options() | goDrawFocusSelected);
    grid->SetColors(2, 2, clWhite);
    grid->SetSelectionColor(clBlue);
    grid->SetSelectionColorMixer(true);
    grid->SetSelectionColorMixerFactor(50);
    grid->SetCol(2);
    grid->SetRow(2);
    TGridDrawState state = gdSelected;
    TColor brush, to, mirror, mirrorTo, fontColor;
    QFont font;
    TAlignment ha;
    TVAlignment va;
    bool ww = false;
    TCellGradientDirection gd;
    grid->GetVisualProperties(2, 2, state, false, true, true, brush, to, mirror, mirrorTo, font,
                              fontColor, ha, va, ww, gd);
    EXPECT_EQ(brush, TColor(0xFF8080));
    EXPECT_TRUE(state.testFlag(gdSelected));
}

TEST_F(PaintGrid, MixerFactorIsKeptWithinPercent)
{
    const std::pair<int, int> cases[] = {{150, 100}, {-5, 0}, {30, 30}};
    for (auto [in, stored] : cases) {
        grid->SetSelectionColorMixerFactor(in);
        EXPECT_EQ(grid->SelectionColorMixerFactor, stored) << in;
    }
}

// ----- visual properties of single cells -----

struct VisualCase {
    const char* name;
    int col;
    int row;
    std::function<void(TExtStringGrid&)> setup;
    TColor brush;
    bool fixed;
};

class CellVisualProps : public PaintGrid, public ::testing::WithParamInterface<VisualCase> {};

TEST_P(CellVisualProps, BrushAndFixedState)
{
    const VisualCase& c = GetParam();
    grid->SetRowCount(8);
    c.setup(*grid);
    TGridDrawState state;
    TColor brush, to, mirror, mirrorTo, fontColor;
    QFont font;
    TAlignment ha;
    TVAlignment va;
    bool ww = false;
    TCellGradientDirection gd;
    grid->GetVisualProperties(c.col, c.row, state, false, true, true, brush, to, mirror, mirrorTo,
                              font, fontColor, ha, va, ww, gd);
    EXPECT_EQ(brush, c.brush) << std::hex << brush;
    EXPECT_EQ(state.testFlag(gdFixed), c.fixed);
}

void bands(TExtStringGrid& g)
{
    g.Bands.SetPrimaryColor(0x0000AA);
    g.Bands.SetSecondaryColor(0x00AA00);
    g.Bands.SetPrimaryLength(1);
    g.Bands.SetSecondaryLength(1);
    g.Bands.SetActive(true);
}

const VisualCase kVisuals[] = {
    {"PlainNormalCell", 2, 2, [](TExtStringGrid&) {}, clWindow, false},
    {"OwnColour", 2, 2, [](TExtStringGrid& g) { g.SetColors(2, 2, 0x123456); }, 0x123456, false},
    {"NewGridHeaderIsButtonFace", 2, 0, [](TExtStringGrid&) {}, clBtnFace, true},
    {"XPLookHeaderStartsWhite", 2, 0, bareXPLook, clWhite, true},
    {"PlainLookHeader", 2, 0,
     [](TExtStringGrid& g) {
         g.Loaded();
         g.SetLook(TGridLook::glStandard);
     },
     clBtnFace, true},
    {"OwnColourKeptInAFixedTextCell", 2, 0, [](TExtStringGrid& g) { g.SetColors(2, 0, 0x123456); },
     0x123456, false},
    {"OwnColourLostUnderAFixedCheckBox", 2, 0,
     [](TExtStringGrid& g) {
         g.AddCheckBox(2, 0, false, false);
         g.SetColors(2, 0, 0x123456);
     },
     clBtnFace, true},
    {"BandRow1Primary", 2, 1, bands, 0x0000AA, false},
    {"BandRow2Secondary", 2, 2, bands, 0x00AA00, false},
    {"BandRow3Primary", 2, 3, bands, 0x0000AA, false},
    {"FixedByHook", 2, 4,
     [](TExtStringGrid& g) { g.OnIsFixedCell = [](QObject*, int r, int, bool& f) { f = r == 4; }; },
     clBtnFace, true},
};
INSTANTIATE_TEST_SUITE_P(Grid, CellVisualProps, ::testing::ValuesIn(kVisuals), CaseName());

TEST_F(PaintGrid, ActiveCellHeadersTakeTheActiveColour)
{
    grid->SetActiveCellShow(true);
    grid->SetActiveCellColor(0x00C0FF);
    grid->SetCol(3);
    grid->SetRow(2);
    auto filled = [&](int c, int r) {
        for (const GridDrawOp& op : opsInCell(c, r))
            if (op.kind == GridDrawOp::Fill && op.color == TColor(0x00C0FF))
                return true;
        return false;
    };
    EXPECT_TRUE(filled(3, 0));
    EXPECT_TRUE(filled(0, 2));
    EXPECT_FALSE(filled(2, 0));
    EXPECT_FALSE(filled(0, 3));
}

TEST_F(PaintGrid, DrawCellEventGetsTheRealColumnOncePerCell)
{
    grid->HideColumn(2);
    std::vector<std::pair<int, int>> seen;
    grid->OnDrawCell = [&](QObject*, int ACol, int ARow, const TRect&, TGridDrawState) {
        if (ARow == 2)
            seen.emplace_back(ACol, ARow);
    };
    recordPass();
    const std::vector<std::pair<int, int>> expected = {{0, 2}, {1, 2}, {3, 2}, {4, 2}};
    EXPECT_EQ(seen, expected);
}

// ----- looks and styles -----

TEST_F(PaintGrid, WindowsXPStyleResetsSelectionAndGivesButtonFaceHeaders)
{
    grid->SetSelectionColor(0x123456);
    EXPECT_TRUE(grid->SetComponentStyle(tsWindowsXP));
    EXPECT_EQ(grid->SelectionColor, clHighlight);
    EXPECT_EQ(grid->SelectionTextColor, clHighlightText);
    EXPECT_EQ(grid->VKTGradientFrom, clBtnFace);
    EXPECT_EQ(grid->VKTGradientTo, clBtnFace);
    EXPECT_EQ(grid->Look(), TGridLook::glXP);
}

TEST_F(PaintGrid, StylesNotBuiltAreRefusedAndChangeNothing)
{
    grid->SetSelectionColor(0x123456);
    EXPECT_FALSE(grid->SetComponentStyle(tsOffice2007Luna));
    EXPECT_EQ(grid->SelectionColor, TColor(0x123456));
}

TEST_F(PaintGrid, ControlLookGradientReachesTheHeaders)
{
    grid->controlLook().SetFixedGradientFrom(0x0000FF);
    grid->controlLook().SetFixedGradientTo(clNone);
    EXPECT_EQ(grid->VKTGradientFrom, TColor(0x0000FF));
    EXPECT_NE(grid->VKTGradientTo, clNone) << "none leaves the grid's colour";
}

// Clearing the switch used to turn spreadsheet editing on as well.
TEST_F(PaintGrid, SpreadSheetOffLeavesTheSettings)
{
    grid->SetSpreadSheet(false);
    EXPECT_FALSE(grid->SelectionRectangle);
    EXPECT_FALSE(grid->Options().testFlag(goEditing));
    EXPECT_FALSE(grid->MouseActions.RangeSelectAndEdit);
    grid->SetSpreadSheet(true);
    EXPECT_TRUE(grid->SelectionRectangle);
    EXPECT_TRUE(grid->SelectionResizer);
    EXPECT_TRUE(grid->Navigation.AllowSmartClipboard);
    EXPECT_TRUE(grid->Options().testFlag(goEditing));
    EXPECT_TRUE(grid->Options().testFlag(goRangeSelect));
    EXPECT_TRUE(grid->MouseActions.RangeSelectAndEdit);
}

// ----- the pass -----

TEST_F(PaintGrid, UpdateLockPaintsNothingThenOnce)
{
    int painted = 0;
    grid->OnPainted = [&](QObject*) { ++painted; };
    grid->show();
    QApplication::processEvents();
    painted = 0;
    grid->BeginUpdate();
    grid->SetCellEx(2, 2, QStringLiteral("a"));
    grid->SetCellEx(3, 3, QStringLiteral("b"));
    grid->viewport()->repaint();
    QApplication::processEvents();
    EXPECT_EQ(painted, 0);
    grid->EndUpdate();
    QApplication::processEvents();
    EXPECT_EQ(painted, 1);
}

TEST_F(PaintGrid, FocusFrameOnTheCurrentCellOnly)
{
    grid->show();
    grid->setFocus();
    QApplication::processEvents();
    if (!grid->Focused())
        GTEST_SKIP() << "no focus on this platform";
    grid->SetCol(3);
    grid->SetRow(2);
    auto frames = [&](int c, int r) {
        int n = 0;
        for (const GridDrawOp& op : opsInCell(c, r))
            n += op.kind == GridDrawOp::Frame && op.color == clWindowFrame;
        return n;
    };
    EXPECT_EQ(frames(3, 2), 1);
    EXPECT_EQ(frames(2, 2), 0);
    grid->HideFocusRect = true;
    EXPECT_EQ(frames(3, 2), 0);
}

TEST_F(PaintGrid, SizingLineShowsAndASecondCallRemovesIt)
{
    grid->DrawColSizingLine(90);
    EXPECT_EQ(grid->colSizingLine(), 90);
    grid->DrawColSizingLine(90);
    EXPECT_FALSE(grid->colSizingLine().has_value());
}

// The dotted line crosses the body down its whole height, and goes again with the second call.
TEST_F(PaintGrid, SizingLineIsPaintedOverTheCells)
{
    const int x = grid->CellRect(2, 0).Left + 25;
    auto darkRowsAt = [&](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < grid->ClientHeight(); ++y)
            dark += QColor(image.pixel(x, y)).lightness() < 60;
        return dark;
    };
    grid->SetCellEx(2, 3, QString());
    const int before = darkRowsAt(render());
    grid->DrawColSizingLine(x);
    const int during = darkRowsAt(render());
    EXPECT_GT(during - before, grid->ClientHeight() / 4) << "dotted: one pixel in three";
    grid->DrawColSizingLine(x);
    EXPECT_EQ(darkRowsAt(render()), before);
}

}  // namespace
}  // namespace zfw

namespace zfw {
namespace {

// A grid set up as the rule editors use it: headers in the fixed row, row numbers in column 0,
// a data check-box column, some texts, the XP look with XP check boxes.
TEST(RuleEditorGridPicture, ShowsHeadersNumbersBoxesAndTexts)
{
    TExtStringGrid grid;
    grid.setFrameShape(QFrame::NoFrame);
    grid.SetScrollBars(ssNone);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    grid.setFont(f);
    QFont bold = f;
    bold.setBold(true);
    grid.FixedFont = bold;
    grid.SetComponentStyle(tsWindowsXP);
    grid.controlLook().SetControlStyle(TControlStyle::csWinXP);
    grid.SetColCount(4);
    grid.SetRowCount(6);
    grid.SetFixedCols(1);
    grid.SetFixedRows(1);
    grid.SetDefaultRowHeight(22);
    grid.SetColWidths(0, 30);
    grid.SetColWidths(1, 50);
    grid.SetColWidths(2, 120);
    grid.SetColWidths(3, 90);
    grid.resize(291, 133);
    grid.SetOptions(grid.Options() | goEditing | goDrawFocusSelected);
    grid.SetColumnHeaders(
        {QString(), QStringLiteral("Use"), QStringLiteral("Name"), QStringLiteral("Value")});
    for (int r = 1; r < 6; ++r)
        grid.SetCellEx(0, r, QString::number(r));
    ASSERT_EQ(grid.AddCheckBoxColumn(1, false, true), QString());
    const char* names[] = {"Pump", "Valve", "Fan", "Heater", "Meter"};
    for (int r = 1; r < 6; ++r) {
        grid.SetCellEx(2, r, QString::fromUtf8(names[r - 1]));
        grid.SetCellEx(3, r, QString::number(r * 12.5, 'f', 1));
    }
    grid.SetCellEx(1, 2, grid.CheckTrue);
    grid.SetCellEx(1, 4, grid.CheckTrue);
    grid.SetCol(2);
    grid.SetRow(3);

    QImage image(grid.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    grid.render(&image);
    if (qEnvironmentVariableIsSet("ZFW_DUMP_PNG"))
        image.save(QStringLiteral("/tmp/g8-rule-grid.png"));

    // No cell is left unpainted.
    for (int y = 0; y < image.height(); y += 3)
        for (int x = 0; x < image.width(); x += 3)
            ASSERT_NE(QColor(image.pixel(x, y)), QColor(Qt::magenta)) << x << "," << y;
    // The checked boxes carry the green mark, the others none.
    auto markAt = [&](int row) {
        const TRect cell = grid.CellRect(1, row);
        int green = 0;
        for (int y = cell.Top; y < cell.Bottom; ++y)
            for (int x = cell.Left; x < cell.Right; ++x)
                green += QColor(image.pixel(x, y)) == toQColor(xpCheckBoxColors(true).mark);
        return green;
    };
    EXPECT_GT(markAt(2), 10);
    EXPECT_GT(markAt(4), 10);
    EXPECT_EQ(markAt(1), 0);
    EXPECT_EQ(markAt(3), 0);
    // The header and number cells are darker at their foot than at their head (button face
    // gradient of the XP style), the selected row cell is in the selection colour.
    const TRect header = grid.CellRect(2, 0);
    EXPECT_GE(QColor(image.pixel(header.Left + 100, header.Top + 3)).lightness(),
              QColor(image.pixel(header.Left + 100, header.Bottom - 3)).lightness());
}

}  // namespace
}  // namespace zfw
