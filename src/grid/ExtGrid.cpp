// The string grid's construction and lifecycle. Process-wide set-up that the grid had
// elsewhere (a thread window hook, class registration, OLE) has no counterpart here: the
// grid needs no state outside its own object.

#include "grid/ExtGrid.h"
#include "grid/GridCombo.h"
#include "grid/InplaceEdit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QStyle>

namespace zfw {

TGridEditBtn::TGridEditBtn(TExtStringGrid* Grid) : TEsgEditBtn(Grid), FGrid(Grid) {}

TGridUnitEditBtn::TGridUnitEditBtn(TExtStringGrid* Grid) : TEsgUnitEditBtn(Grid), FGrid(Grid) {}

void TExtStringGrid::repaintLastFixedRow()
{
    if (FixedRows() > 0)
        InvalidateGridRect({0, FixedRows() - 1, ColCount() - 1, FixedRows() - 1});
}

TExtStringGrid::TExtStringGrid(QWidget* parent)
    : TBaseGrid(parent), SearchPanel(this), FloatingFooter(this), PrintSettings(this),
      SortSettings(this), ControlLook(this), CellNode(this), SyncGrid(this), Filter(this)
{
    SearchPanel.OnInvalidate = [this](TSearchPanel*) { Invalidate(); };
    FloatingFooter.OnPanelChange = [this](TFloatingFooter*) { Invalidate(); };
    FloatingFooter.OnLayout = [this](TFloatingFooter*, const FloatingFooterLayout&) {
        Invalidate();
    };
    SortSettings.OnInvalidate = [this](TSortSettings*) { Invalidate(); };
    SortSettings.OnHeaderChange = [this](TSortSettings*) { repaintLastFixedRow(); };
    SortSettings.OnRemove = [this](TSortSettings*) { repaintLastFixedRow(); };
    CellNode.OnChange = [this](TCellNode*) { Invalidate(); };
    Filter.OnRepaintHeader = [this](TFilter*, int Col) {
        if (RowCount() > 0 && Col >= 0 && Col < ColCount())
            InvalidateCell(DisplColIndex(Col), 0);
    };
    FilterDropDown.OnChange = [this](TFilterDropDown*) { Invalidate(); };
    Navigation.OnChange = [this](TNavigation*) { Invalidate(); };
    MouseActions.OnChange = [this](TMouseActions*) { Invalidate(); };
    Bands.OnChange = [this](TBands*) { BandsChanged(); };
    store().OnGetDisplText = [this](int ACol, int ARow, QString& Value) {
        GetDisplText(ACol, ARow, Value);
    };
    // New properties of a fixed cell, or of any cell while bands colour the rows, carry no
    // background of their own: a read-only flag set on a header must not paint it in the
    // window colour, and banded rows keep their bands.
    store().GetDefaultVisualProperties = [this](int ACol, int ARow, TCellDefaults& d) {
        bool fixed = false;
        IsFixedCell(ACol, ARow, fixed);
        if (fixed || Bands.Active()) {
            d.BrushColor = clNone;
            d.ColorTo = clNone;
        }
    };

    FixedFont.setFamily(QStringLiteral("Tahoma"));
    FixedFont.setBold(true);
    ActiveCellFont.setBold(true);

    store().SetWordWrap(true);
    SetScrollBars(ssBoth);
    SetRowCount(10);
    resize(400, 250);
    SetDefaultRowHeight(22);
    store().SetFixedRowHeight(22);

    ScrollWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    VKTGradientTo = fromQColor(toQColor(clBtnFace, palette())) & 0xFFFFFF;
    // The colour style comes after the look's colours and the selection colour above, so its
    // reset is what a new grid shows: system selection colours and button-face headers.
    SetComponentStyle(tsWindowsXP);

    // The two button editors exist from the start, hidden and disabled until an edit opens
    // one of them.
    m_editBtn = new TGridEditBtn(this);
    m_unitEditBtn = new TGridUnitEditBtn(this);
    for (TEsgEditBtn* e :
         {static_cast<TEsgEditBtn*>(m_editBtn), static_cast<TEsgEditBtn*>(m_unitEditBtn)}) {
        e->setEnabled(false);
        e->hide();
        e->setButtonCaption(QStringLiteral("..."));
        e->setBorder(false);
    }
    m_editBtn->setIsWinXP(true);
    connect(m_unitEditBtn, &TEsgUnitEditBtn::unitChanged, this,
            [this](QObject*, const QString& NewUnit) { DoUnitChanged(NewUnit); });

    // The grid follows its window's size through its own event filter. Handing each grid the
    // window's one resize handler (and restoring it when the grid goes) chained the grids:
    // freeing them in creation order left the window calling a freed grid, and a handler the
    // window's own code set afterwards was dropped.
    installEventFilter(this);
    watchWindow();
}

TExtStringGrid::~TExtStringGrid()
{
    // The editor goes with the grid's children, after this grid is torn down; its focus
    // handling must not reach the grid meanwhile.
    if (TExtInplaceEdit* ed = NormalEdit())
        ed->gridDestroying();
    if (m_editCombo)
        m_editCombo->gridDestroying();
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    // Controls placed in cells are children of the grid and go with it; their destroyed
    // signals must not reach a grid that is being torn down.
    for (const ControlItem& item : m_controls)
        if (item.Control)
            item.Control->disconnect(this);
}

void TExtStringGrid::watchWindow()
{
    QWidget* w = window();
    if (w == this)
        w = nullptr;
    if (w == m_watchedWindow)
        return;
    if (m_watchedWindow)
        m_watchedWindow->removeEventFilter(this);
    m_watchedWindow = w;
    if (w) {
        w->installEventFilter(this);
        m_prevFormSize = w->size();
    }
}

bool TExtStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    // The window is settled once the grid is shown: an ancestor may have been moved into
    // another window without the grid hearing of it.
    if (watched == this && (event->type() == QEvent::ParentChange || event->type() == QEvent::Show))
        watchWindow();
    else if (watched == this && event->type() == QEvent::Resize)
        placeControls();
    else if (watched == m_watchedWindow && event->type() == QEvent::Resize)
        OwnerFormResize();
    return TBaseGrid::eventFilter(watched, event);
}

void TExtStringGrid::OwnerFormResize()
{
    if (!m_watchedWindow || isDestroying())
        return;
    if (SizeWithForm) {
        const QSize form = m_watchedWindow->size();
        const int W = width() + form.width() - m_prevFormSize.width();
        const int H = height() + form.height() - m_prevFormSize.height();
        if (W > 0 && H > 0) {
            resize(W, H);
            m_prevFormSize = form;
        }
    }
}

void TExtStringGrid::Click()
{
    TBaseGrid::Click();
    RememberCellValue(Col(), Row());
}

void TExtStringGrid::Assign(const QObject* Source)
{
    const auto* src = qobject_cast<const TExtStringGrid*>(Source);
    if (!src || src == this)
        return;
    setFont(src->font());
    ActiveCellColor = src->ActiveCellColor;
    ActiveCellColorTo = src->ActiveCellColorTo;
    ActiveCellFont = src->ActiveCellFont;
    ActiveCellShow = src->ActiveCellShow;
    FilterDropDownAuto = src->FilterDropDownAuto;
    FilterDropDownColumns = src->FilterDropDownColumns;
    FilterDropDown.Assign(src->FilterDropDown);
    AutoSize = src->AutoSize;
    AutoFilterUpdate = src->AutoFilterUpdate;
    MouseActions.Assign(src->MouseActions);
    Navigation.Assign(src->Navigation);
    Grouping.Assign(src->Grouping);
    SearchFooter.Assign(src->SearchFooter);
    PrintSettings.Assign(src->PrintSettings);
    Filter.Assign(src->Filter);
    HTMLSettings.Assign(src->HTMLSettings);
    Bands.Assign(src->Bands);
    CellNode.Assign(src->CellNode);
    SortSettings.Assign(src->SortSettings);
    DragDropSettings.Assign(src->DragDropSettings);
    SyncGrid.Assign(src->SyncGrid);
    FocusHelper.Assign(src->FocusHelper);
    store().SetFixedRowAlways(src->store().FixedRowAlways());
    SetColCount(src->ColCount());
    SetRowCount(src->RowCount());
    SetFixedRows(src->FixedRows());
    SetFixedCols(src->FixedCols());
    SetDefaultColWidth(src->DefaultColWidth());
    SetDefaultRowHeight(src->DefaultRowHeight());
    store().SetFixedRowHeight(src->store().FixedRowHeight());
    store().SetFixedColWidth(src->store().FixedColWidth());
    InvalidEntryTitle = src->InvalidEntryTitle;
    InvalidEntryIcon = src->InvalidEntryIcon;
    InvalidEntryText = src->InvalidEntryText;
    SetOptions(src->Options());
    for (int DCol = 0; DCol < src->ColCount(); ++DCol)
        SetColWidths(DCol, src->ColWidths(DCol));
    SetColumnHeaders(src->ColumnHeaders());
    for (int r = 0; r < src->RowCount(); ++r)
        SetRowHeights(r, src->RowHeights(r));
    ScrollWidth = src->ScrollWidth;
    SetScrollBarAlways(src->ScrollBarAlways());
    SetScrollBars(src->ScrollBars());
    ScrollColor = src->ScrollColor;
    ScrollType = src->ScrollType;
}

void TExtStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    store().ShowColumnHeaders();
    store().ShowRowHeaders();
    if (AutoSize)
        AutoSizeColumns(false, 4);
    m_loadedMinRowHeight = DefaultRowHeight();
    m_loadedMinColWidth = 10;
    m_loaded = true;
    if (Options().testFlag(goAlwaysShowEditor)) {
        // The grid opens its own editors: always-edit is a navigation setting here.
        Navigation.AlwaysEdit = true;
        TGridOptions o = Options();
        o.setFlag(goAlwaysShowEditor, false);
        SetOptions(o);
    }
}

void TExtStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const QFontMetrics normal(font());
    const QFontMetrics fixed(FixedFont);
    for (int DCol = DoFixedCols ? 0 : FixedCols(); DCol < ColCount(); ++DCol) {
        const int ACol = RealColIndex(DCol);
        int widest = 0;
        for (int r = 0; r < RowCount(); ++r) {
            const QFontMetrics& fm = r < FixedRows() || DCol < FixedCols() ? fixed : normal;
            for (const QString& line : GetCellEx(ACol, r).split(u'\n'))
                widest = std::max(widest, fm.horizontalAdvance(line));
        }
        if (widest > 0)
            SetColWidths(DCol, widest + Padding);
    }
}

QString TExtStringGrid::Version() const
{
    const int v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

QString TExtStringGrid::GetVersionString() const
{
    return Version() + QStringLiteral(" Sep, 2012");
}

}  // namespace zfw
