// TExtPageControl and TExtTabSheet: pages, tabs, activation, closing, mouse and keys.

#include "controls/ExtPageControl.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QTabBar>

#include <QtDebug>

#include <algorithm>
#include <stdexcept>

namespace zfw {

// The tab list under the control: it keeps texts and geometry, takes no mouse and paints only
// while the control hands the tabs back to it.
class ExtTabBar final : public QTabBar {
public:
    explicit ExtTabBar(TExtPageControl* control) : QTabBar(control), m_control(control)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setDrawBase(false);
        setExpanding(false);
        setUsesScrollButtons(false);
        setElideMode(Qt::ElideNone);
    }

protected:
    QSize tabSizeHint(int index) const override { return m_control->tabSizeFor(index); }
    QSize minimumTabSizeHint(int index) const override { return m_control->tabSizeFor(index); }
    void paintEvent(QPaintEvent* event) override
    {
        if (m_control->TabBorder3D())
            QTabBar::paintEvent(event);
    }

private:
    TExtPageControl* m_control;
};

namespace {

QTabBar::Shape shapeOf(TTabPosition p)
{
    switch (p) {
    case tpBottom: return QTabBar::RoundedSouth;
    case tpLeft: return QTabBar::RoundedWest;
    case tpRight: return QTabBar::RoundedEast;
    case tpTop: break;
    }
    return QTabBar::RoundedNorth;
}

// The first child of the page that takes the keyboard focus by Tab.
QWidget* firstFocusable(QWidget* page)
{
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(page)
            && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

void callSafely(const std::function<void(TExtTabSheet*)>& handler, TExtTabSheet* sheet)
{
    if (!handler)
        return;
    // An exception must not leave a Qt event handler.
    try {
        handler(sheet);
    } catch (const std::exception& e) {
        qWarning("TExtTabSheet: show or hide handler failed: %s", e.what());
    }
}

}  // namespace

// ----- TExtTabSheet --------------------------------------------------------------------------

TExtTabSheet::TExtTabSheet(QWidget* parent) : QWidget(parent)
{
    FTabCaption = tabCaptionFor(FCaption, FShowClose);
    if (auto* control = qobject_cast<TExtPageControl*>(parent)) {
        FExtPageControl = nullptr;
        SetExtPageControl(control);
    }
}

TExtTabSheet::~TExtTabSheet()
{
    if (FExtPageControl)
        FExtPageControl->RemovePage(this);
}

void TExtTabSheet::SetCaption(const QString& caption)
{
    FTabCaption = tabCaptionFor(caption, FShowClose);
    FCaption = caption;
    setWindowTitle(caption);
    if (FExtPageControl)
        FExtPageControl->UpdateTab(this);
}

void TExtTabSheet::SetExtPageControl(TExtPageControl* control)
{
    if (FExtPageControl == control)
        return;
    if (FExtPageControl)
        FExtPageControl->RemovePage(this);
    setParent(control);
    if (!control)
        return;
    if (FTextColor == 0)
        FTextColor = control->FDefaultTextColor;
    if (FTabColor == clNone)
        FTabColor = control->FDefaultTabColor;
    if (FTabColorTo == clNone)
        FTabColorTo = control->FDefaultTabColorTo;
    control->InsertPage(this);
}

int TExtTabSheet::PageIndex() const
{
    if (!FExtPageControl)
        return -1;
    const auto& pages = FExtPageControl->FPages;
    const auto it = std::find(pages.begin(), pages.end(), this);
    return it == pages.end() ? -1 : int(it - pages.begin());
}

void TExtTabSheet::SetPageIndex(int index)
{
    if (!FExtPageControl)
        return;
    auto& pages = FExtPageControl->FPages;
    const int last = int(pages.size()) - 1;
    if (index < 0 || index > last) {
        throw std::out_of_range(
            QStringLiteral("%1 is an invalid PageIndex value.  PageIndex must be between 0 and %2")
                .arg(index)
                .arg(last)
                .toStdString());
    }
    const int oldTab = TabIndex();
    const int from = PageIndex();
    TExtTabSheet* self = this;
    pages.erase(pages.begin() + from);
    pages.insert(pages.begin() + index, self);
    if (FTabShowing)
        FExtPageControl->MoveTab(oldTab, TabIndex());
}

int TExtTabSheet::TabIndex() const
{
    if (!FTabShowing || !FExtPageControl)
        return -1;
    return tabIndexOfPage(FExtPageControl->tabShowingFlags(), PageIndex());
}

void TExtTabSheet::SetTabVisible(bool visible)
{
    if (FTabVisible == visible)
        return;
    FTabVisible = visible;
    UpdateTabShowing();
}

void TExtTabSheet::UpdateTabShowing() { SetTabShowing(FExtPageControl && FTabVisible); }

void TExtTabSheet::SetTabShowing(bool showing)
{
    if (FTabShowing == showing)
        return;
    if (showing) {
        FTabShowing = true;
        FExtPageControl->InsertTab(this);
    } else {
        const int index = TabIndex();
        FTabShowing = false;
        FExtPageControl->DeleteTab(this, index);
    }
}

void TExtTabSheet::SetTabEnable(bool enable)
{
    if (FTabEnable == enable)
        return;
    if (FExtPageControl && FExtPageControl->FActivePage == this)
        throw std::runtime_error("Can not disable active tab.");
    FTabEnable = enable;
    repaintControl();
}

void TExtTabSheet::SetShowClose(bool show)
{
    FShowClose = show;
    SetCaption(FCaption);
    repaintControl();
}

void TExtTabSheet::SetImageIndex(int index)
{
    if (index < 0) {
        FImageIndex = -1;
        FImageIndexDummy = 0;
    } else {
        FImageIndex = index;
        FImageIndexDummy = index;
    }
    SetCaption(FCaption);
}

void TExtTabSheet::SetTextColor(TColor c)
{
    FTextColor = c;
    repaintControl();
}

void TExtTabSheet::SetTabColor(TColor c)
{
    FTabColor = c;
    repaintControl();
}

void TExtTabSheet::SetTabColorTo(TColor c)
{
    FTabColorTo = c;
    repaintControl();
}

void TExtTabSheet::SetColor(TColor c)
{
    FColor = c;
    update();
    repaintControl();
}

void TExtTabSheet::SetColorTo(TColor c)
{
    FColorTo = c;
    update();
    repaintControl();
}

void TExtTabSheet::SetTabGradientDirection(TGradientDirection d)
{
    FTabGradientDirection = d;
    repaintControl();
}

void TExtTabSheet::repaintControl()
{
    if (FExtPageControl)
        FExtPageControl->update();
}

void TExtTabSheet::DoClose()
{
    if (OnClose)
        OnClose(this);
}

bool TExtTabSheet::CanClose()
{
    bool can = true;
    if (OnCanClose)
        OnCanClose(this, can);
    return can;
}

void TExtTabSheet::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPainterCanvas canvas(painter, palette());
    const TRect all{0, 0, width(), height()};
    canvas.fillRect(all, FColor);
    if (FColorTo != clNone)
        DrawGradient(canvas, FColor, FColorTo, false, all, 64);
}

void TExtTabSheet::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    callSafely(OnShow, this);
}

void TExtTabSheet::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    callSafely(OnHide, this);
}

// ----- TExtPageControl: pages and tabs -------------------------------------------------------

TExtPageControl::TExtPageControl(QWidget* parent)
    : QWidget(parent), FTabMargin(std::make_unique<TTabMargin>())
{
    FTabBar = new ExtTabBar(this);
    // Where the face is missing, Qt substitutes a similar one.
    FActiveFont = QFont(QStringLiteral("Tahoma"), font().pointSize());
    setFont(QFont(QStringLiteral("Tahoma"), font().pointSize()));
    FTabMargin->OnMarginChange = [this](TMarginSize n, TMarginSize o, int i) {
        MarginChanged(n, o, i);
    };
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    layoutChildren();
}

TExtPageControl::~TExtPageControl()
{
    // The pages are child widgets and go with the control; they must not call back into it.
    for (TExtTabSheet* page : FPages) {
        page->FExtPageControl = nullptr;
        page->FTabShowing = false;
    }
    FPages.clear();
    FActivePage = nullptr;
}

TExtTabSheet* TExtPageControl::Pages(int index) const
{
    return index >= 0 && index < PageCount() ? FPages[size_t(index)] : nullptr;
}

std::vector<bool> TExtPageControl::tabShowingFlags() const
{
    std::vector<bool> v;
    v.reserve(FPages.size());
    for (const TExtTabSheet* p : FPages)
        v.push_back(p->FTabShowing);
    return v;
}

void TExtPageControl::forgetClosed(TExtTabSheet* page)
{
    std::erase_if(FClosedTabList, [page](const auto& e) { return e.second == page || !e.second; });
}

void TExtPageControl::InsertPage(TExtTabSheet* page)
{
    // A closed page that comes back is no longer listed as closed.
    forgetClosed(page);
    FPages.push_back(page);
    page->FExtPageControl = this;
    page->hide();
    layoutChildren();
    page->UpdateTabShowing();
}

void TExtPageControl::RemovePage(TExtTabSheet* page)
{
    TExtTabSheet* next = FindNextPage(page, true, true);
    if (next == page)
        next = nullptr;
    const bool wasActive = FActivePage == page;
    page->SetTabShowing(false);
    page->FExtPageControl = nullptr;
    std::erase(FPages, page);
    if (FActivePage == page)
        FActivePage = nullptr;
    // Only the removal of the active page moves to the next one; the old way activated the
    // removed page's neighbour in any case, so removing a page in the background switched
    // the page the user was looking at.
    if (wasActive)
        SetActivePage(next);
    update();
}

void TExtPageControl::InsertTab(TExtTabSheet* page)
{
    const int index = page->TabIndex();
    FTabBar->insertTab(index, FTabBorder3D ? page->FCaption : page->FTabCaption);
    if (FTabBorder3D)
        updateTabIcons();
    // The tab list selects its first tab and keeps the selected one when others come.
    if (FTabIndex >= index)
        ++FTabIndex;
    else if (FTabIndex < 0 && FTabBar->count() == 1)
        FTabIndex = 0;
    layoutChildren();
    UpdateActivePage();
    update();
}

void TExtPageControl::DeleteTab(TExtTabSheet* page, int index)
{
    if (index < 0 || index >= FTabBar->count())
        return;
    FTabBar->removeTab(index);
    if (FTabIndex > index)
        --FTabIndex;
    else if (FTabIndex == index)
        FTabIndex = -1;
    if (page == FActivePage) {
        const int n = FTabBar->count();
        FTabIndex = index < n ? index : n - 1;
    }
    if (FTabIndex >= 0)
        FTabBar->setCurrentIndex(FTabIndex);
    layoutChildren();
    UpdateActivePage();
    update();
}

void TExtPageControl::MoveTab(int curIndex, int newIndex)
{
    if (curIndex < 0 || newIndex < 0 || curIndex == newIndex)
        return;
    FTabBar->moveTab(curIndex, newIndex);
    if (FTabIndex == curIndex)
        FTabIndex = newIndex;
    else if (curIndex < FTabIndex && FTabIndex <= newIndex)
        --FTabIndex;
    else if (newIndex <= FTabIndex && FTabIndex < curIndex)
        ++FTabIndex;
    update();
}

void TExtPageControl::UpdateTab(TExtTabSheet* page)
{
    if (!page->FTabShowing)
        return;
    if (FTabBorder3D) {
        FTabBar->setTabText(page->TabIndex(), page->FCaption);
        updateTabIcons();
    } else {
        UpdateTabForActiveFont(page);
    }
    layoutChildren();
    update();
}

void TExtPageControl::UpdateTabForActiveFont(TExtTabSheet* page)
{
    if (FTabBorder3D || !page || !page->FTabShowing)
        return;
    QString text = page->FTabCaption;
    if (page == FActivePage && (FActiveFont.bold() || FActiveFont.italic())) {
        const QFontMetrics active(FActiveFont);
        const QFontMetrics normal(font());
        text = activeTabText(
            text, [&](const QString& s) { return active.horizontalAdvance(s); },
            [&](const QString& s) { return normal.horizontalAdvance(s); });
    }
    const int index = page->TabIndex();
    if (FTabBar->tabText(index) != text)
        FTabBar->setTabText(index, text);
}

void TExtPageControl::UpdateActivePage()
{
    if (FTabIndex >= 0)
        SetActivePage(Pages(pageIndexOfTab(tabShowingFlags(), FTabIndex)));
    else
        SetActivePage(nullptr);
}

void TExtPageControl::SetTabIndex(int index)
{
    FTabIndex = index >= 0 && index < FTabBar->count() ? index : -1;
    if (FTabIndex >= 0)
        FTabBar->setCurrentIndex(FTabIndex);
    if (FMultiLine)
        layoutChildren();  // the selected tab's row moves next to the sheet
    update();
}

void TExtPageControl::SetActivePage(TExtTabSheet* page)
{
    if (page && page->FExtPageControl != this)
        return;
    ChangeActivePage(page);
    if (!page) {
        // No page is active: none shows either.
        if (FActivePage)
            FActivePage->hide();
        FTabIndex = -1;
        FActivePage = nullptr;
        update();
    } else if (page == FActivePage) {
        SetTabIndex(page->TabIndex());
    }
}

int TExtPageControl::ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }

void TExtPageControl::SetActivePageIndex(int index) { SetActivePage(Pages(index)); }

void TExtPageControl::ChangeActivePage(TExtTabSheet* page)
{
    if (page == FActivePage || !page || !page->FTabEnable)
        return;
    TExtTabSheet* old = FActivePage;
    QWidget* focus = QApplication::focusWidget();
    const bool hadFocus = old && focus && (focus == old || old->isAncestorOf(focus));
    layoutChildren();
    page->raise();
    page->show();
    if (hadFocus) {
        if (QWidget* first = firstFocusable(page))
            first->setFocus(Qt::OtherFocusReason);
        else
            setFocus(Qt::OtherFocusReason);
    }
    if (old)
        old->hide();
    FActivePage = page;
    FCloseState = CloseButtonState::Normal;
    UpdateTabForActiveFont(old);
    UpdateTabForActiveFont(page);
    update();
}

TExtTabSheet* TExtPageControl::FindNextPage(TExtTabSheet* CurPage, bool GoForward,
                                            bool CheckTabVisible) const
{
    std::vector<bool> visible;
    visible.reserve(FPages.size());
    for (const TExtTabSheet* p : FPages)
        visible.push_back(p->FTabVisible);
    const auto it = std::find(FPages.begin(), FPages.end(), CurPage);
    const int current = it == FPages.end() ? -1 : int(it - FPages.begin());
    return Pages(findNextPage(visible, current, GoForward, CheckTabVisible));
}

void TExtPageControl::SelectNextPage(bool GoForward)
{
    TExtTabSheet* page = FindNextPage(FActivePage, GoForward, true);
    if (!page || page == FActivePage || !CanChange(page->PageIndex()))
        return;
    SetTabIndex(page->TabIndex());
    Change();
}

bool TExtPageControl::CanChange(int ToPage)
{
    // The handler hears of the page the change goes to, whether a click or a key asked for
    // it; the old way looked under the mouse cursor even for Ctrl+Tab and named the wrong page.
    bool allow = true;
    if (OnCanChange)
        OnCanChange(this, ActivePageIndex(), ToPage, allow);
    if (allow && OnChanging)
        OnChanging(this, allow);
    return allow;
}

void TExtPageControl::Change()
{
    UpdateActivePage();
    if (OnChange)
        OnChange(this);
    update();
}

int TExtPageControl::GetPageIndexAt(const QPoint& pos) const
{
    const int tab = tabAtPoint(tabRects(), pos);
    return tab < 0 ? -1 : pageIndexOfTab(tabShowingFlags(), tab);
}

TRect TExtPageControl::GetPageTabRect(int pageIndex) const
{
    const std::vector<TRect> rects = tabRects();
    const int tab = tabIndexForPageRect(tabShowingFlags(), pageIndex);
    return tab >= 0 && tab < int(rects.size()) ? rects[size_t(tab)] : TRect{};
}

std::vector<TRect> TExtPageControl::tabRects() const { return tabLayout().rects; }

TabRowLayout TExtPageControl::tabLayout() const
{
    const int n = FTabBar->count();
    if (FTabBorder3D) {
        // The tab list paints the tabs itself, in one row.
        TabRowLayout l;
        l.rows = n > 0 ? 1 : 0;
        for (int i = 0; i < n; ++i)
            l.rects.push_back(TRect::fromQRect(FTabBar->tabRect(i).translated(FTabBar->pos())));
        l.rowOf.assign(size_t(n), 0);
        l.opposite.assign(size_t(n), false);
        return l;
    }
    const bool side = FTabPosition == tpLeft || FTabPosition == tpRight;
    std::vector<int> along;
    int across = 0;
    for (int i = 0; i < n; ++i) {
        const QSize size = tabSizeFor(i);
        along.push_back(side ? size.height() : size.width());
        across = std::max(across, side ? size.width() : size.height());
    }
    TabRowOptions o;
    o.position = FTabPosition;
    o.width = width();
    o.height = height();
    o.multiLine = FMultiLine;
    o.raggedRight = FRaggedRight;
    o.selected = FTabIndex;
    o.scrollOpposite = FScrollOpposite;
    return layoutTabRows(along, across, o);
}

int TExtPageControl::GetImageIndex(int tabIndex) const
{
    if (OnGetImageIndex) {
        int index = tabIndex;
        OnGetImageIndex(const_cast<TExtPageControl*>(this), tabIndex, index);
        return index;
    }
    const TExtTabSheet* page = Pages(pageIndexOfTab(tabShowingFlags(), tabIndex));
    return page ? page->FImageIndexDummy : -1;
}

void TExtPageControl::selectNeighbourTab(int step)
{
    const std::vector<bool> showing = tabShowingFlags();
    for (int tab = FTabIndex + step; tab >= 0 && tab < FTabBar->count(); tab += step) {
        const int page = pageIndexOfTab(showing, tab);
        if (!Pages(page) || !Pages(page)->FTabEnable)
            continue;
        if (CanChange(page)) {
            SetTabIndex(tab);
            Change();
        }
        return;
    }
}

void TExtPageControl::SetMultiLine(bool on)
{
    if (FMultiLine == on)
        return;
    FMultiLine = on;
    refreshTabs();
}

void TExtPageControl::SetRaggedRight(bool on)
{
    if (FRaggedRight == on)
        return;
    FRaggedRight = on;
    refreshTabs();
}

void TExtPageControl::SetScrollOpposite(bool on)
{
    if (FScrollOpposite == on)
        return;
    FScrollOpposite = on;
    refreshTabs();
}

void TExtPageControl::SetHotTrack(bool on)
{
    FHotTrack = on;
    update();
}

// ----- closed pages --------------------------------------------------------------------------

bool TExtPageControl::OpenClosedTab(const QString& TabName)
{
    forgetClosed(nullptr);
    const auto it = std::find_if(FClosedTabList.begin(), FClosedTabList.end(),
                                 [&](const auto& entry) { return entry.first == TabName; });
    if (it == FClosedTabList.end())
        return false;
    // Joining the control takes the entry off the list.
    const QPointer<TExtTabSheet> page = it->second;
    page->SetExtPageControl(this);
    return true;
}

void TExtPageControl::OpenAllClosedTabs()
{
    forgetClosed(nullptr);
    std::vector<QPointer<TExtTabSheet>> pages;
    for (const auto& entry : FClosedTabList)
        pages.push_back(entry.second);
    for (const QPointer<TExtTabSheet>& page : pages) {
        if (page)
            page->SetExtPageControl(this);
    }
}

QStringList TExtPageControl::ClosedTabs() const
{
    QStringList names;
    for (const auto& [name, page] : FClosedTabList) {
        if (page)
            names << name;
    }
    return names;
}

// ----- look ----------------------------------------------------------------------------------

QSize TExtPageControl::tabSizeFor(int tabIndex) const
{
    const QFontMetrics fm(font());
    const int textWidth = fm.horizontalAdvance(FTabBar->tabText(tabIndex));
    const int imageWidth = FImages ? FImages->Width : 0;
    const int imageHeight = FImages ? FImages->Height : 0;
    // A tab whose picture index is below 0 keeps no room for a picture or the margins.
    const int room = GetImageIndex(tabIndex) < 0
                         ? 0
                         : tabImageRoom(FTabPosition, imageWidth, imageHeight,
                                        FSizingMargins ? *FSizingMargins : *FTabMargin);
    const bool side = FTabPosition == tpLeft || FTabPosition == tpRight;
    const TabExtent e = tabExtent(textWidth, fm.height(), room, side ? imageWidth : imageHeight,
                                  FTabWidth, FTabHeight);
    return side ? QSize(e.across, e.along) : QSize(e.along, e.across);
}

void TExtPageControl::refreshTabs()
{
    // Setting the elide mode makes the tab bar measure its tabs again.
    FTabBar->setElideMode(Qt::ElideNone);
    layoutChildren();
    update();
}

void TExtPageControl::layoutChildren()
{
    const QSize hint = FTabBar->sizeHint();
    const int W = width();
    const int H = height();
    switch (FTabPosition) {
    case tpTop: FTabBar->setGeometry(2, 2, std::max(0, W - 4), hint.height()); break;
    case tpBottom:
        FTabBar->setGeometry(2, H - 2 - hint.height(), std::max(0, W - 4), hint.height());
        break;
    case tpLeft: FTabBar->setGeometry(2, 2, hint.width(), std::max(0, H - 4)); break;
    case tpRight:
        FTabBar->setGeometry(W - 2 - hint.width(), 2, hint.width(), std::max(0, H - 4));
        break;
    }
    const TabPaintState s = paintState();
    TRect area = pageArea(FTabPosition, W, H, tabStrip(s), FTabSheet3D);
    TabStrip far;
    if (oppositeStrip(s, far)) {
        // The sheet ends before the rows on its far side, inside the border line there.
        switch (FTabPosition) {
        case tpTop: area.Bottom = std::min(area.Bottom, far.top - 4); break;
        case tpBottom: area.Top = std::max(area.Top, far.bottom + 4); break;
        case tpLeft: area.Right = std::min(area.Right, far.left - 4); break;
        case tpRight: area.Left = std::max(area.Left, far.right + 4); break;
        }
    }
    for (TExtTabSheet* page : FPages)
        page->setGeometry(area.toQRect());
}

TabPaintState TExtPageControl::paintState() const
{
    TabPaintState s;
    s.width = width();
    s.height = height();
    s.position = FTabPosition;
    s.style = FTabStyle;
    s.color = FColor;
    const QWidget* parent = parentWidget();
    s.parentColor = parent ? fromQColor(parent->palette().color(parent->backgroundRole()))
                           : clBtnFace;
    s.activeColor = FActiveColor;
    s.activeColorTo = FActiveColorTo;
    s.tabBorderColor = FTabBorderColor;
    s.tabHoverColor = FTabHoverColor;
    s.tabHoverColorTo = FTabHoverColorTo;
    s.tabHoverBorder = FTabHoverBorder;
    s.tabSheetBorderColor = FTabSheetBorderColor;
    s.tabBackGroundColor = FTabBackGroundColor;
    s.tabSheet3D = FTabSheet3D;
    s.tabSplitLine = FTabSplitLine;
    s.roundEdges = FRoundEdges;
    s.showFocus = FShowFocus;
    s.hasFocus = hasFocus();
    s.tabOverlap = FTabOverlap;
    s.lowerActive = FLowerActive;
    s.tabHeight = FTabHeight;
    s.margins.Assign(*FTabMargin);
    s.font = font();
    s.activeFont = FActiveFont;
    s.activeFontColor = FActiveFontColor;
    s.tabBackGround = FTabBackGround;
    s.tabBackGroundActive = FTabBackGroundActive;
    s.closeGlyph = FCloseGlyph;
    s.images = FImages;
    const std::vector<bool> showing = tabShowingFlags();
    const TabRowLayout layout = tabLayout();
    for (size_t i = 0; i < FPages.size(); ++i) {
        const TExtTabSheet* p = FPages[i];
        TabPageState t;
        if (showing[i]) {
            const int tab = tabIndexOfPage(showing, int(i));
            if (tab >= 0 && tab < int(layout.rects.size())
                && !layout.rects[size_t(tab)].isEmpty()) {
                t.rect = layout.rects[size_t(tab)];
                t.opposite = layout.opposite[size_t(tab)];
            }
        }
        t.tabVisible = p->FTabVisible;
        t.tabEnable = p->FTabEnable;
        t.showClose = p->FShowClose;
        t.caption = p->FCaption;
        t.textColor = p->FTextColor;
        t.tabColor = p->FTabColor;
        t.tabColorTo = p->FTabColorTo;
        t.color = p->FColor;
        t.colorTo = p->FColorTo;
        t.tabGradientDirection = p->FTabGradientDirection;
        t.hoverGradientDirection = p->FHoverGradientDirection;
        t.imageIndex = p->FImageIndex;
        s.pages.push_back(t);
    }
    s.activePage = ActivePageIndex();
    s.hoverTab = FHoverTab;
    s.hotTrack = FHotTrack;
    s.closeState = FCloseState;
    return s;
}

void TExtPageControl::SetTabPosition(TTabPosition p)
{
    if (FTabPosition == p)
        return;
    FTabPosition = p;
    FTabBar->setShape(shapeOf(p));
    refreshTabs();
}

void TExtPageControl::SetTabStyle(TTabStyle s)
{
    if (FTabStyle == s)
        return;
    FTabStyle = s;
    update();
}

void TExtPageControl::SetActiveFont(const QFont& f)
{
    FActiveFont = f;
    UpdateTabForActiveFont(FActivePage);
    refreshTabs();
}

void TExtPageControl::SetActiveFontColor(TColor c)
{
    FActiveFontColor = c;
    update();
}

void TExtPageControl::SetColor(TColor c)
{
    FColor = c;
    update();
}

void TExtPageControl::SetActiveColor(TColor c)
{
    FActiveColor = c;
    update();
}

void TExtPageControl::SetActiveColorTo(TColor c)
{
    FActiveColorTo = c;
    update();
}

void TExtPageControl::SetDefaultTextColor(TColor c)
{
    for (TExtTabSheet* p : FPages) {
        if (p->FTextColor == FDefaultTextColor)
            p->FTextColor = c;
    }
    FDefaultTextColor = c;
    update();
}

void TExtPageControl::SetDefaultTabColor(TColor c)
{
    for (TExtTabSheet* p : FPages) {
        if (p->FTabColor == FDefaultTabColor)
            p->FTabColor = c;
    }
    FDefaultTabColor = c;
    update();
}

void TExtPageControl::SetDefaultTabColorTo(TColor c)
{
    for (TExtTabSheet* p : FPages) {
        if (p->FTabColorTo == FDefaultTabColorTo)
            p->FTabColorTo = c;
    }
    FDefaultTabColorTo = c;
    update();
}

void TExtPageControl::SetTabBorder3D(bool on)
{
    if (FTabBorder3D == on)
        return;
    FTabBorder3D = on;
    for (auto it = FPages.rbegin(); it != FPages.rend(); ++it) {
        if ((*it)->FTabShowing)
            FTabBar->setTabText((*it)->TabIndex(), on ? (*it)->FCaption : (*it)->FTabCaption);
    }
    UpdateTabForActiveFont(FActivePage);
    updateTabIcons();
    FTabBar->update();
    refreshTabs();
}

void TExtPageControl::SetTabBorderColor(TColor c)
{
    FTabBorderColor = c;
    update();
}

void TExtPageControl::SetTabSheet3D(bool on)
{
    if (FTabSheet3D == on)
        return;
    FTabSheet3D = on;
    layoutChildren();
    update();
}

void TExtPageControl::SetTabSheetBorderColor(TColor c)
{
    if (FTabSheetBorderColor == c)
        return;
    FTabSheetBorderColor = c;
    update();
}

void TExtPageControl::SetTabHoverColor(TColor c)
{
    FTabHoverColor = c;
    update();
}

void TExtPageControl::SetTabHoverColorTo(TColor c)
{
    FTabHoverColorTo = c;
    update();
}

void TExtPageControl::SetTabHoverBorder(TColor c)
{
    FTabHoverBorder = c;
    update();
}

void TExtPageControl::SetTabBackGroundColor(TColor c)
{
    if (FTabBackGroundColor == c)
        return;
    FTabBackGroundColor = c;
    update();
}

void TExtPageControl::SetTabBackGround(const QImage& picture)
{
    FTabBackGround = picture;
    update();
}

void TExtPageControl::SetTabBackGroundActive(const QImage& picture)
{
    FTabBackGroundActive = picture;
    update();
}

void TExtPageControl::SetCloseGlyph(const QImage& picture)
{
    FCloseGlyph = picture;
    update();
}

void TExtPageControl::SetTabMargin(const TTabMargin* margins)
{
    if (!margins)
        return;
    FTabMargin->Assign(*margins);
    refreshTabs();
}

void TExtPageControl::SetTabOverlap(int overlap)
{
    FTabOverlap = std::clamp(overlap, 0, kMaxTabOverlap);
    update();
}

void TExtPageControl::SetTabSplitLine(bool on)
{
    if (on && FTabStyle == tsDotNet)
        throw std::runtime_error("TabSplitLine must be false when TabStyle is tsDotNet");
    FTabSplitLine = on;
    update();
}

void TExtPageControl::SetRoundEdges(bool on)
{
    if (FRoundEdges == on)
        return;
    FRoundEdges = on;
    update();
}

void TExtPageControl::SetLowerActive(int pixels)
{
    if (FLowerActive == pixels)
        return;
    FLowerActive = pixels;
    update();
}

void TExtPageControl::SetShowFocus(bool on)
{
    FShowFocus = on;
    update();
}

void TExtPageControl::SetTabHeight(int pixels)
{
    FTabHeight = std::max(0, pixels);
    refreshTabs();
}

void TExtPageControl::SetTabWidth(int pixels)
{
    FTabWidth = std::max(0, pixels);
    refreshTabs();
}

void TExtPageControl::SetImages(const TTabImageList* images)
{
    FImages = images;
    updateTabIcons();
    refreshTabs();
}

void TExtPageControl::updateTabIcons()
{
    const std::vector<bool> showing = tabShowingFlags();
    for (int tab = 0; tab < FTabBar->count(); ++tab) {
        QIcon icon;
        if (FTabBorder3D && FImages) {
            // The page's own picture: a page without one shows none, where the room-keeping
            // index 0 used to show the list's first picture on it.
            const TExtTabSheet* page = Pages(pageIndexOfTab(showing, tab));
            int index = page ? page->FImageIndex : -1;
            if (OnGetImageIndex)
                index = GetImageIndex(tab);
            if (index >= 0 && index < int(FImages->Pictures.size()))
                icon = QIcon(QPixmap::fromImage(FImages->Pictures[size_t(index)]));
            FTabBar->setIconSize(QSize(FImages->Width, FImages->Height));
        }
        FTabBar->setTabIcon(tab, icon);
    }
}

QString TExtPageControl::Version() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(VersionNr >> 24)
        .arg((VersionNr >> 16) & 0xFF)
        .arg((VersionNr >> 8) & 0xFF)
        .arg(VersionNr & 0xFF);
}

void TExtPageControl::MarginChanged(TMarginSize NewValue, TMarginSize, int Index)
{
    // Told before the margin stores the value: tabs are measured with the new one.
    TTabMargin next;
    next.Assign(*FTabMargin);
    next.SetMargin(Index, NewValue);
    FSizingMargins = &next;
    refreshTabs();
    FSizingMargins = nullptr;
}

// ----- events --------------------------------------------------------------------------------

void TExtPageControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QPainterCanvas canvas(painter, palette());
    if (!FTabBorder3D) {
        // What the tab list would paint below the drawn tabs: the control's colour, and each
        // tab through OnDrawTab.
        canvas.fillRect({0, 0, width(), height()}, FColor);
        if (OnDrawTab) {
            const std::vector<TRect> rects = tabRects();
            for (int i = 0; i < int(rects.size()); ++i)
                OnDrawTab(this, canvas, i, rects[size_t(i)], i == FTabIndex);
        }
        PaintTabs(canvas, paintState());
        return;
    }
    // The tab bar paints the tabs; the sheet gets the style's frame.
    canvas.fillRect({0, 0, width(), height()}, FColor);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = pageArea(FTabPosition, width(), height(), tabStrip(paintState()), true)
                     .toQRect()
                     .adjusted(-4, -4, 4, 4);
    frame.shape = shapeOf(FTabPosition);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void TExtPageControl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void TExtPageControl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        for (TExtTabSheet* p : FPages)
            UpdateTab(p);
        refreshTabs();
    }
}

bool TExtPageControl::activeShowsClose() const
{
    // Without an active page there is no close button to handle (the old handlers read the
    // active page regardless and failed on an empty control).
    return !FTabBorder3D && FActivePage && FActivePage->FShowClose && FActivePage->FTabShowing;
}

bool TExtPageControl::IsOnCloseButton(const QPoint& pos) const
{
    if (!activeShowsClose())
        return false;
    const TRect tab = GetPageTabRect(FActivePage->PageIndex());
    return closeButtonHitBox(FTabPosition, tab, *FTabMargin, FTabOverlap,
                             !FTabBackGroundActive.isNull())
        .contains(pos.x(), pos.y());
}

void TExtPageControl::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (IsOnCloseButton(pos)) {
        FCloseState = CloseButtonState::Down;
        update();
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (focusPolicy() & Qt::ClickFocus)
        setFocus(Qt::MouseFocusReason);
    const int tab = tabAtPoint(tabRects(), pos);
    if (tab < 0 || tab == FTabIndex)
        return;
    const int page = pageIndexOfTab(tabShowingFlags(), tab);
    if (!Pages(page) || !Pages(page)->FTabEnable || !CanChange(page))
        return;
    SetTabIndex(tab);
    Change();
}

void TExtPageControl::mouseReleaseEvent(QMouseEvent* event)
{
    if (FCloseState == CloseButtonState::Down) {
        FCloseState = CloseButtonState::Normal;
        update();
    }
    if (event->button() != Qt::LeftButton || !IsOnCloseButton(event->position().toPoint()))
        return;
    const QPointer<TExtTabSheet> page = FActivePage;
    const QPointer<TExtTabSheet> next = FindNextPage(page, true, true);
    if (!page->CanClose() || !page)
        return;
    page->DoClose();
    // The handlers may have freed or moved the page themselves.
    if (!page || page->FExtPageControl != this)
        return;
    SetActivePage(next && next->FExtPageControl == this ? next.data() : nullptr);
    if (FFreeOnClose) {
        delete page.data();
    } else {
        const QString name = page->objectName();
        page->SetExtPageControl(nullptr);
        FClosedTabList.emplace_back(name, page);
    }
    update();
}

void TExtPageControl::mouseMoveEvent(QMouseEvent* event)
{
    if (FTabBorder3D || (FTabHoverColor == clNone && !FHotTrack))
        return;
    const QPoint pos = event->position().toPoint();
    if (FTabBackGround.isNull()) {
        const int page = GetPageIndexAt(pos);
        if (page != FHoverTab) {
            FHoverTab = page;
            update();
        }
    }
    if (FTabHoverColor == clNone || !activeShowsClose() || FCloseState == CloseButtonState::Down)
        return;
    const bool on = IsOnCloseButton(pos);
    if (on != (FCloseState == CloseButtonState::Hot)) {
        FCloseState = on ? CloseButtonState::Hot : CloseButtonState::Normal;
        update();
    }
}

void TExtPageControl::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (FHoverTab >= 0 && FTabBackGround.isNull())
        update();
    FHoverTab = -1;
    if (FCloseState == CloseButtonState::Hot) {
        FCloseState = CloseButtonState::Normal;
        update();
    }
}

void TExtPageControl::keyPressEvent(QKeyEvent* event)
{
    // Reaches here when the control has the focus, or a control on a page let the key pass.
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier)) {
        const bool back = event->key() == Qt::Key_Backtab
                          || (event->modifiers() & Qt::ShiftModifier);
        SelectNextPage(!back);
        event->accept();
        return;
    }
    // The arrow keys move along the tabs when the control itself has the focus, as on any
    // tab strip: no wrap-around, disabled tabs passed over.
    if (hasFocus() && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const int key = event->key();
        if (key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Right
            || key == Qt::Key_Down) {
            selectNeighbourTab(key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1);
            event->accept();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void TExtPageControl::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    if (FShowFocus)
        update();
}

void TExtPageControl::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    if (FShowFocus)
        update();
}

}  // namespace zfw
