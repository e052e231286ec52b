#pragma once
// The string grid's groups of switches: Navigation, MouseActions, SearchFooter, SyncGrid,
// Bands and FocusHelper. Plain switches are plain members; a switch whose writer does more
// than store (change notification, switching another one) is a getter and a Set... writer.
// Assign copies what the grid copies between grids, without notifications.

#include "grid/GridSettingsEnums.h"
#include "platform/Colors.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

namespace zfw {

class TExtStringGrid;

class TNavigation {
public:
    std::function<void(TNavigation* Sender)> OnChange;

    bool AllowInsertRow = false;
    bool AllowDeleteRow = false;
    bool AlwaysEdit = false;
    bool AdvanceOnEnter = false;
    bool AdvanceOnEnterLoop = true;
    bool AdvanceAutoEdit = true;
    bool AdvanceSkipReadOnlyCells = true;
    TAdvanceDirection TabAdvanceDirection = TAdvanceDirection::adLeftRight;
    bool TabToNextAtEnd = false;
    bool AutoGotoWhenSorted = false;
    bool AutoGotoIncremental = false;
    bool AutoComboDropSize = false;
    bool AllowClipboardShortCuts = false;
    bool AllowCtrlEnter = true;
    bool AllowSmartClipboard = false;
    bool AllowRTFClipboard = false;
    bool AllowFmtClipboard = false;
    bool AllowClipboardAlways = false;
    bool AllowClipboardRowGrow = true;
    bool AllowClipboardColGrow = true;
    TClipboardPasteAction ClipboardPasteAction = TClipboardPasteAction::paReplace;
    bool CopyHTMLTagsToClipboard = true;
    bool AppendOnArrowDown = false;
    bool EditSelectAll = true;
    TInsertPosition InsertPosition = TInsertPosition::pInsertBefore;
    bool ComboGetUpDown = true;
    TCursorAdvance CursorAdvance = TCursorAdvance::caDefault;
    bool CursorWalkEditor = false;
    bool CursorWalkAlwaysEdit = true;
    bool CursorMoveRows = false;
    bool MoveRowOnSort = false;
    bool KeepScrollOnSort = false;
    bool MoveScrollOnly = false;
    bool ImproveMaskSel = false;
    bool LeftRightRowSelect = true;
    bool KeepHorizScroll = false;
    bool LineFeedOnEnter = false;
    THomeEndAction HomeEndKey = THomeEndAction::heFirstLastColumn;
    bool SkipFixedCells = true;
    bool SkipDisabledRows = true;

    bool AdvanceInsert() const { return FAdvanceInsert; }
    // Fires OnChange when the value changes.
    void SetAdvanceInsert(bool Value);
    TAdvanceDirection AdvanceDirection() const { return FAdvanceDirection; }
    // Fires OnChange when the value changes.
    void SetAdvanceDirection(TAdvanceDirection Value);
    bool AdvanceAuto() const { return FAdvanceAuto; }
    // Switching it on switches AdvanceOnEnter on too (no notification); off leaves that alone.
    void SetAdvanceAuto(bool Value);

    // Everything but KeepScrollOnSort.
    void Assign(const TNavigation& Source);

private:
    bool FAdvanceInsert = false;
    TAdvanceDirection FAdvanceDirection = TAdvanceDirection::adLeftRight;
    bool FAdvanceAuto = false;
};

class TMouseActions {
public:
    std::function<void(TMouseActions* Sender)> OnChange;
    std::function<void(TMouseActions* Sender)> OnInvalidate;
    std::function<void(TMouseActions* Sender)> OnDisableEdit;
    std::function<void(TMouseActions* Sender, bool& Designing)> OnIsDesigning;

    bool AllColumnSize = false;
    bool AllRowSize = false;
    bool AllSelect = false;
    bool ColSelect = false;
    bool RowSelect = false;
    bool AutoSizeColOnDblClick = true;
    bool CaretPositioning = false;
    bool CheckAllCheck = false;
    bool DirectComboClose = false;
    bool DirectComboDrop = false;
    bool DirectDateClose = false;
    bool DirectDateDrop = false;
    bool DirectEdit = false;
    bool DisjunctRowSelectNoCtrl = false;
    TGridFixedCellEdit FixedRowsEdit = TGridFixedCellEdit::fceNone;
    TGridFixedCellEdit FixedColsEdit = TGridFixedCellEdit::fceNone;
    TGridFixedCellEditor FixedRowsEditor = TGridFixedCellEditor::fceEdit;
    TGridFixedCellEditor FixedColsEditor = TGridFixedCellEditor::fceEdit;
    bool MoveRowOnNodeClick = false;
    bool NodeAllExpandContract = false;
    bool NoAutoRangeScroll = false;
    bool NoScrollOnPartialRow = false;
    bool PreciseCheckBoxCheck = false;
    bool PreciseNodeClick = true;
    bool RangeSelectAndEdit = false;
    bool RowSelectPersistent = false;
    bool SelectOnRightClick = false;
    bool SizeFixedCol = false;
    bool SizeFixedRow = false;
    int WheelIncrement = 0;

    // The three disjunct selections: in design mode switching one on switches the other two
    // off; at run time they are independent.
    bool DisjunctRowSelect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelect(bool Value);
    bool DisjunctColSelect() const { return FDisjunctColSelect; }
    void SetDisjunctColSelect(bool Value);
    bool DisjunctCellSelect() const { return FDisjunctCellSelect; }
    void SetDisjunctCellSelect(bool Value);
    // The field without the writer's side effects.
    bool DisjunctRowSelectDirect() const { return FDisjunctRowSelect; }
    void SetDisjunctRowSelectDirect(bool Value) { FDisjunctRowSelect = Value; }
    bool HotmailRowSelect() const { return FHotmailRowSelect; }
    // On also switches DisjunctRowSelect and CheckAllCheck on; fires OnInvalidate.
    void SetHotmailRowSelect(bool Value);
    bool EditOnDblClickOnly() const { return FEditOnDblClickOnly; }
    // On fires OnDisableEdit.
    void SetEditOnDblClickOnly(bool Value);
    TWheelAction WheelAction() const { return FWheelAction; }
    // Fires OnChange when the value changes.
    void SetWheelAction(TWheelAction Value);
    const QStringList& FixedComboValues() const { return FFixedComboValues; }
    void SetFixedComboValues(const QStringList& Value) { FFixedComboValues = Value; }

    // Everything but EditOnDblClickOnly, FixedComboValues, HotmailRowSelect and SizeFixedRow.
    void Assign(const TMouseActions& Source);

private:
    bool designing();

    bool FDisjunctRowSelect = false;
    bool FDisjunctColSelect = false;
    bool FDisjunctCellSelect = false;
    bool FHotmailRowSelect = false;
    bool FEditOnDblClickOnly = false;
    TWheelAction FWheelAction = TWheelAction::waMoveSelection;
    QStringList FFixedComboValues;
};

class TSearchFooter {
public:
    // NewAtDesignTime: the grid is being placed new in a designer, which gives the captions
    // and hints their starting texts; at run time they stay empty unless set.
    explicit TSearchFooter(bool NewAtDesignTime = false);

    std::function<void(TSearchFooter* Sender)> OnChange;
    // The last searched text.
    QString LastSearch;

    bool AutoSearch = true;
    bool AlwaysHighLight = false;
    int SearchColumn = -1;  // all columns
    bool SearchActiveColumnOnly = false;
    bool SearchMatchStart = false;
    bool SearchFixedCells = false;
    bool SearchHiddenRows = false;
    TSearchDirection SearchDirection = TSearchDirection::sdTopBottom;

    // Fire OnChange when the value changes.
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool ShowFindNext() const { return FShowFindNext; }
    void SetShowFindNext(bool Value);
    bool ShowFindPrev() const { return FShowFindPrev; }
    void SetShowFindPrev(bool Value);
    bool ShowHighLight() const { return FShowHighLight; }
    void SetShowHighLight(bool Value);
    bool ShowMatchCase() const { return FShowMatchCase; }
    void SetShowMatchCase(bool Value);

    // Fire OnChange on every write.
    bool ShowClose() const { return FShowClose; }
    void SetShowClose(bool Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TColor ColorTo() const { return FColorTo; }
    void SetColorTo(TColor Value);
    const QFont& Font() const { return FFont; }
    void SetFont(const QFont& Value);
    bool AutoThemeAdapt() const { return FAutoThemeAdapt; }
    void SetAutoThemeAdapt(bool Value);
    const QString& FindNextCaption() const { return FFindNextCaption; }
    void SetFindNextCaption(const QString& Value);
    const QString& FindPrevCaption() const { return FFindPrevCaption; }
    void SetFindPrevCaption(const QString& Value);
    const QString& MatchCaseCaption() const { return FMatchCaseCaption; }
    void SetMatchCaseCaption(const QString& Value);
    const QString& HighLightCaption() const { return FHighLightCaption; }
    void SetHighLightCaption(const QString& Value);
    const QString& HintFindNext() const { return FHintFindNext; }
    void SetHintFindNext(const QString& Value);
    const QString& HintFindPrev() const { return FHintFindPrev; }
    void SetHintFindPrev(const QString& Value);
    const QString& HintHighlight() const { return FHintHighlight; }
    void SetHintHighlight(const QString& Value);
    const QString& HintClose() const { return FHintClose; }
    void SetHintClose(const QString& Value);

    // Everything published but AutoSearch and SearchFixedCells; AutoThemeAdapt and LastSearch
    // stay too.
    void Assign(const TSearchFooter& Source);

private:
    void changed();
    void setIfChanged(bool& field, bool Value);

    bool FVisible = false;
    bool FShowFindNext = true;
    bool FShowFindPrev = true;
    bool FShowHighLight = true;
    bool FShowMatchCase = true;
    bool FShowClose = true;
    TColor FColor = 0xFFFFFF;
    TColor FColorTo = clBtnFace;
    QFont FFont;
    bool FAutoThemeAdapt = false;
    QString FFindNextCaption;
    QString FFindPrevCaption;
    QString FMatchCaseCaption;
    QString FHighLightCaption;
    QString FHintFindNext;
    QString FHintFindPrev;
    QString FHintHighlight;
    QString FHintClose;
};

class TSyncGrid {
public:
    explicit TSyncGrid(TExtStringGrid* Owner = nullptr) : FOwner(Owner) {}

    bool ScrollVertical = false;
    bool ScrollHorizontal = false;
    bool SelectionColumn = false;
    bool SelectionRow = false;
    bool MoveColumn = false;
    bool MoveRow = false;

    TExtStringGrid* Owner() const { return FOwner; }
    TExtStringGrid* Grid() const { return FGrid; }
    // A grid cannot follow itself: writing the owner is ignored.
    void SetGrid(TExtStringGrid* Value);

    void Assign(const TSyncGrid& Source);

private:
    TExtStringGrid* FOwner = nullptr;
    TExtStringGrid* FGrid = nullptr;
};

class TBands {
public:
    std::function<void(TBands* Sender)> OnChange;

    bool Print = false;

    // Fires OnChange when it changes.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The colours and lengths store a changed value and fire OnChange only while Active.
    TColor PrimaryColor() const { return FPrimaryColor; }
    void SetPrimaryColor(TColor Value);
    TColor SecondaryColor() const { return FSecondaryColor; }
    void SetSecondaryColor(TColor Value);
    int PrimaryLength() const { return FPrimaryLength; }
    void SetPrimaryLength(int Value);
    int SecondaryLength() const { return FSecondaryLength; }
    void SetSecondaryLength(int Value);
    // The band cycle in rows.
    int TotalLength() const { return FPrimaryLength + FSecondaryLength; }

    void Assign(const TBands& Source);

private:
    void changedWhileActive();

    bool FActive = false;
    TColor FPrimaryColor = clInfoBk;
    TColor FSecondaryColor = clWindow;
    int FPrimaryLength = 1;
    int FSecondaryLength = 1;
};

// Grow the cell while the user types in it: Height the row (with the grid's word wrap),
// Width the column (never narrower).
class TSizeWhileTyping {
public:
    bool Height = false;
    bool Width = false;
    void Assign(const TSizeWhileTyping& Source) { *this = Source; }
};

// The column sizing switches the editing steps read.
class TColumnSize {
public:
    // Resizing the grid scales the columns from their recorded widths.
    bool SynchWithGrid = false;
};

class TFocusHelper {
public:
    bool Enabled = false;
    void Assign(const TFocusHelper& Source) { Enabled = Source.Enabled; }
};

}  // namespace zfw
