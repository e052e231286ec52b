#pragma once
// A page control with tabs it draws itself: pages (TExtTabSheet) of which the active one is
// shown, tabs on any side in two styles, an optional close button on the active tab, a list
// of closed pages that can be opened again, hot tracking and Ctrl+Tab.
//
// A QTabBar underneath keeps the tab texts and their geometry (it is transparent for the
// mouse and paints only when TabBorder3D hands the tabs back to it); the control paints the
// strip, the sheet border and the tabs through PaintTabs (ExtPageControlCore.h) and handles
// the mouse and keys itself. Pages are child widgets of the control laid over its sheet area.
//
// Misuse is refused with exceptions carrying fixed English texts: std::out_of_range for a page
// index past the last page, std::runtime_error for disabling the active page's tab and for a
// split line in the tsDotNet style. Docking of other windows as pages is not offered.

#include "controls/ExtPageControlCore.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class QTabBar;

namespace zfw {

class TExtPageControl;
class ExtTabBar;

class TExtTabSheet : public QWidget {
    Q_OBJECT
    friend class TExtPageControl;

public:
    explicit TExtTabSheet(QWidget* parent = nullptr);
    ~TExtTabSheet() override;

    QString Caption() const { return FCaption; }
    // Captions end in blanks that make room for the close button ("  Nodes    ").
    void SetCaption(const QString& caption);
    // The text the tab reserves its width with.
    QString TabCaption() const { return FTabCaption; }

    TExtPageControl* ExtPageControl() const { return FExtPageControl; }
    // Moves the page to another control (nullptr detaches it and leaves it hidden).
    void SetExtPageControl(TExtPageControl* control);

    // Index in the control's pages, -1 without a control.
    int PageIndex() const;
    // Throws std::out_of_range past the last page; does nothing without a control.
    void SetPageIndex(int index);
    // Index among the shown tabs, -1 when the tab does not show.
    int TabIndex() const;

    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool visible);
    bool TabShowing() const { return FTabShowing; }
    bool TabEnable() const { return FTabEnable; }
    // Throws std::runtime_error("Can not disable active tab.") for the active page.
    void SetTabEnable(bool enable);
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool show);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int index);
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool on) { FHighlighted = on; }

    TColor TextColor() const { return FTextColor; }
    void SetTextColor(TColor c);
    TColor TabColor() const { return FTabColor; }
    void SetTabColor(TColor c);
    TColor TabColorTo() const { return FTabColorTo; }
    void SetTabColorTo(TColor c);
    // The page's background, and the end colour of its top-to-bottom gradient.
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor c);
    TGradientDirection TabGradientDirection() const { return FTabGradientDirection; }
    void SetTabGradientDirection(TGradientDirection d);
    TGradientDirection HoverGradientDirection() const { return FHoverGradientDirection; }
    void SetHoverGradientDirection(TGradientDirection d) { FHoverGradientDirection = d; }

    // Fires OnClose.
    void DoClose();
    // Asks OnCanClose, starting from true.
    bool CanClose();

    std::function<void(TExtTabSheet* Sender)> OnShow;
    std::function<void(TExtTabSheet* Sender)> OnHide;
    std::function<void(TExtTabSheet* Sender)> OnClose;
    std::function<void(TExtTabSheet* Sender, bool& CanClose)> OnCanClose;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateTabShowing();
    void SetTabShowing(bool showing);
    void repaintControl();

    QString FCaption;
    QString FTabCaption;
    TColor FTextColor = clBlack;
    TColor FTabColor = clNone;
    TColor FTabColorTo = clNone;
    bool FShowClose = false;
    TGradientDirection FTabGradientDirection = gdVertical;
    TGradientDirection FHoverGradientDirection = gdVertical;
    int FImageIndex = -1;
    int FImageIndexDummy = 0;
    TExtPageControl* FExtPageControl = nullptr;
    bool FTabVisible = true;
    bool FTabShowing = false;
    bool FHighlighted = false;
    bool FTabEnable = true;
    TColor FColor = clBtnFace;
    TColor FColorTo = clNone;
};

class TExtPageControl : public QWidget {
    Q_OBJECT
    friend class TExtTabSheet;
    friend class ExtTabBar;

public:
    explicit TExtPageControl(QWidget* parent = nullptr);
    ~TExtPageControl() override;

    // ----- pages
    int PageCount() const { return int(FPages.size()); }
    TExtTabSheet* Pages(int index) const;
    TExtTabSheet* ActivePage() const { return FActivePage; }
    // A page of another control is ignored; nullptr leaves no page active and hides the one
    // that was.
    void SetActivePage(TExtTabSheet* page);
    int ActivePageIndex() const;
    // An index outside the pages activates none.
    void SetActivePageIndex(int index);
    // The selected tab, -1 for none.
    int TabIndex() const { return FTabIndex; }
    TExtTabSheet* FindNextPage(TExtTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    // The next page with a shown tab from the active one, when OnCanChange allows it.
    void SelectNextPage(bool GoForward);
    // The page whose tab lies under a point of the control, -1 for none.
    int GetPageIndexAt(const QPoint& pos) const;
    // The tab rectangle of a page, in control coordinates.
    TRect GetPageTabRect(int pageIndex) const;

    // Tabs that do not fit wrap into rows (false: one row). The selected tab's row lies
    // against the sheet.
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool on);
    // Rows keep their natural length instead of filling the strip.
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool on);
    // With several rows, the rows before the selected one move to the far side of the sheet.
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool on);
    // The tab under the mouse shows its text in the hot-light colour.
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool on);
    // The picture index a tab reserves room with: OnGetImageIndex's answer (starting from the
    // tab index) when there is a handler, else the owning page's index, which is 0 for a page
    // without a picture so that every tab keeps the margins' room. Below 0: no room.
    int GetImageIndex(int tabIndex) const;
    // Every shown tab's rectangle, by tab index, in control coordinates.
    std::vector<TRect> tabRects() const;

    // ----- closed pages
    // Gives the first closed page of that name back to the control; false when none is listed.
    bool OpenClosedTab(const QString& TabName);
    void OpenAllClosedTabs();
    // Names of the pages closed and not yet opened again, oldest first.
    QStringList ClosedTabs() const;

    // ----- look
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition p);
    TTabStyle TabStyle() const { return FTabStyle; }
    void SetTabStyle(TTabStyle s);
    const QFont& ActiveFont() const { return FActiveFont; }
    void SetActiveFont(const QFont& f);
    // The text colour of the active font.
    TColor ActiveFontColor() const { return FActiveFontColor; }
    void SetActiveFontColor(TColor c);
    TColor Color() const { return FColor; }
    void SetColor(TColor c);
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor c);
    TColor ActiveColorTo() const { return FActiveColorTo; }
    void SetActiveColorTo(TColor c);
    TColor DefaultTextColor() const { return FDefaultTextColor; }
    void SetDefaultTextColor(TColor c);
    TColor DefaultTabColor() const { return FDefaultTabColor; }
    void SetDefaultTabColor(TColor c);
    TColor DefaultTabColorTo() const { return FDefaultTabColorTo; }
    void SetDefaultTabColorTo(TColor c);
    bool TabBorder3D() const { return FTabBorder3D; }
    // True hands the tabs back to the tab bar's own painting.
    void SetTabBorder3D(bool on);
    TColor TabBorderColor() const { return FTabBorderColor; }
    void SetTabBorderColor(TColor c);
    bool TabSheet3D() const { return FTabSheet3D; }
    void SetTabSheet3D(bool on);
    TColor TabSheetBorderColor() const { return FTabSheetBorderColor; }
    void SetTabSheetBorderColor(TColor c);
    TColor TabHoverColor() const { return FTabHoverColor; }
    void SetTabHoverColor(TColor c);
    TColor TabHoverColorTo() const { return FTabHoverColorTo; }
    void SetTabHoverColorTo(TColor c);
    TColor TabHoverBorder() const { return FTabHoverBorder; }
    void SetTabHoverBorder(TColor c);
    TColor TabBackGroundColor() const { return FTabBackGroundColor; }
    void SetTabBackGroundColor(TColor c);
    const QImage& TabBackGround() const { return FTabBackGround; }
    void SetTabBackGround(const QImage& picture);
    const QImage& TabBackGroundActive() const { return FTabBackGroundActive; }
    void SetTabBackGroundActive(const QImage& picture);
    const QImage& CloseGlyph() const { return FCloseGlyph; }
    void SetCloseGlyph(const QImage& picture);
    TTabMargin& TabMargin() { return *FTabMargin; }
    // Copies the margins; nullptr is ignored.
    void SetTabMargin(const TTabMargin* margins);
    int TabOverlap() const { return FTabOverlap; }
    // Kept within 0 to 15.
    void SetTabOverlap(int overlap);
    bool TabSplitLine() const { return FTabSplitLine; }
    // Throws std::runtime_error when true is asked for in the tsDotNet style.
    void SetTabSplitLine(bool on);
    bool RoundEdges() const { return FRoundEdges; }
    void SetRoundEdges(bool on);
    int LowerActive() const { return FLowerActive; }
    void SetLowerActive(int pixels);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool on) { FFreeOnClose = on; }
    bool ShowFocus() const { return FShowFocus; }
    void SetShowFocus(bool on);
    // Extent of every tab across the strip, and along it; 0 follows the text.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int pixels);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int pixels);
    const TTabImageList* Images() const { return FImages; }
    // The list stays the caller's; it must outlive its use here.
    void SetImages(const TTabImageList* images);
    QString Version() const;
    static constexpr quint32 VersionNr = 0x01040000;

    // The page whose tab is under the mouse, -1 for none.
    int HoverTab() const { return FHoverTab; }
    // What PaintTabs is given for the control as it is now.
    TabPaintState paintState() const;

    std::function<void(TExtPageControl* Sender)> OnChange;
    std::function<void(TExtPageControl* Sender, int FromPage, int ToPage, bool& AllowChange)>
        OnCanChange;
    std::function<void(TExtPageControl* Sender, bool& AllowChange)> OnChanging;
    // Called for every shown tab before the control paints its own tabs over them, as the
    // tab list's drawing of each tab.
    std::function<void(TExtPageControl* Control, ICanvas& Canvas, int TabIndex, const TRect& Rect,
                       bool Active)>
        OnDrawTab;
    std::function<void(TExtPageControl* Sender, int TabIndex, int& ImageIndex)> OnGetImageIndex;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // Makes the page of the selected tab the active one.
    virtual void UpdateActivePage();

private:
    void InsertPage(TExtTabSheet* page);
    void RemovePage(TExtTabSheet* page);
    void InsertTab(TExtTabSheet* page);
    void DeleteTab(TExtTabSheet* page, int index);
    void MoveTab(int curIndex, int newIndex);
    void UpdateTab(TExtTabSheet* page);
    void UpdateTabForActiveFont(TExtTabSheet* page);
    void ChangeActivePage(TExtTabSheet* page);
    void SetTabIndex(int index);
    // Asks OnCanChange and OnChanging about a change to the page.
    bool CanChange(int ToPage);
    void Change();
    bool IsOnCloseButton(const QPoint& pos) const;
    bool activeShowsClose() const;
    void MarginChanged(TMarginSize NewValue, TMarginSize OldValue, int Index);
    // Tab sizes changed: the tab bar lays its tabs out again, then pages follow.
    void refreshTabs();
    void layoutChildren();
    std::vector<bool> tabShowingFlags() const;
    QSize tabSizeFor(int tabIndex) const;
    void forgetClosed(TExtTabSheet* page);
    TabRowLayout tabLayout() const;
    // With TabBorder3D the tab list draws the user's pictures itself.
    void updateTabIcons();
    // Moves the selection to the neighbouring tab (arrow keys), skipping disabled ones.
    void selectNeighbourTab(int step);

    std::vector<TExtTabSheet*> FPages;
    TExtTabSheet* FActivePage = nullptr;
    std::unique_ptr<TTabMargin> FTabMargin;
    // The margins a change is about to store, while tabs are measured for it.
    const TTabMargin* FSizingMargins = nullptr;
    // Closed pages by name; a page destroyed meanwhile leaves a null pointer that is skipped.
    std::vector<std::pair<QString, QPointer<TExtTabSheet>>> FClosedTabList;
    const TTabImageList* FImages = nullptr;
    TColor FColor = clBtnFace;
    TColor FDefaultTextColor = clBlack;
    TColor FDefaultTabColor = clBtnFace;
    TColor FDefaultTabColorTo = clNone;
    TColor FActiveColor = clBtnFace;
    TColor FActiveColorTo = clNone;
    TColor FActiveFontColor = clWindowText;
    bool FTabBorder3D = false;
    TColor FTabBorderColor = clGray;
    TColor FTabHoverColor = clNone;
    TColor FTabHoverColorTo = clNone;
    TColor FTabHoverBorder = clNone;
    bool FShowFocus = false;
    int FTabOverlap = 0;
    bool FTabSheet3D = false;
    TColor FTabSheetBorderColor = clGray;
    TColor FTabBackGroundColor = clBtnFace;
    bool FTabSplitLine = false;
    bool FRoundEdges = false;
    int FHoverTab = -1;
    QImage FTabBackGround;
    QImage FTabBackGroundActive;
    TTabStyle FTabStyle = tsClassic;
    TTabPosition FTabPosition = tpTop;
    int FLowerActive = 2;
    bool FFreeOnClose = false;
    QFont FActiveFont;
    QImage FCloseGlyph;
    int FTabHeight = 0;
    int FTabWidth = 0;
    int FTabIndex = -1;
    bool FMultiLine = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
    bool FHotTrack = false;
    CloseButtonState FCloseState = CloseButtonState::Normal;
    ExtTabBar* FTabBar = nullptr;
};

}  // namespace zfw
