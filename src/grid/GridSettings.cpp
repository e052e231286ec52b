#include "grid/GridSettings.h"

namespace zfw {

void TNavigation::SetAdvanceInsert(bool Value)
{
    if (FAdvanceInsert == Value)
        return;
    FAdvanceInsert = Value;
    if (OnChange)
        OnChange(this);
}

void TNavigation::SetAdvanceDirection(TAdvanceDirection Value)
{
    if (FAdvanceDirection == Value)
        return;
    FAdvanceDirection = Value;
    if (OnChange)
        OnChange(this);
}

void TNavigation::SetAdvanceAuto(bool Value)
{
    if (FAdvanceAuto == Value)
        return;
    FAdvanceAuto = Value;
    if (Value)
        AdvanceOnEnter = true;
}

void TNavigation::Assign(const TNavigation& Source)
{
    if (&Source == this)
        return;
    const bool keepScroll = KeepScrollOnSort;
    auto onChange = std::move(OnChange);
    *this = Source;
    OnChange = std::move(onChange);
    KeepScrollOnSort = keepScroll;
}

bool TMouseActions::designing()
{
    bool d = false;
    if (OnIsDesigning)
        OnIsDesigning(this, d);
    return d;
}

void TMouseActions::SetDisjunctRowSelect(bool Value)
{
    FDisjunctRowSelect = Value;
    if (Value && designing()) {
        FDisjunctColSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctColSelect(bool Value)
{
    FDisjunctColSelect = Value;
    if (Value && designing()) {
        FDisjunctRowSelect = false;
        FDisjunctCellSelect = false;
    }
}

void TMouseActions::SetDisjunctCellSelect(bool Value)
{
    FDisjunctCellSelect = Value;
    if (Value && designing()) {
        FDisjunctRowSelect = false;
        FDisjunctColSelect = false;
    }
}

void TMouseActions::SetHotmailRowSelect(bool Value)
{
    FHotmailRowSelect = Value;
    if (Value) {
        FDisjunctRowSelect = true;
        CheckAllCheck = true;
    }
    if (OnInvalidate)
        OnInvalidate(this);
}

void TMouseActions::SetEditOnDblClickOnly(bool Value)
{
    FEditOnDblClickOnly = Value;
    if (Value && OnDisableEdit)
        OnDisableEdit(this);
}

void TMouseActions::SetWheelAction(TWheelAction Value)
{
    if (FWheelAction == Value)
        return;
    FWheelAction = Value;
    if (OnChange)
        OnChange(this);
}

void TMouseActions::Assign(const TMouseActions& Source)
{
    if (&Source == this)
        return;
    const bool editOnDblClickOnly = FEditOnDblClickOnly;
    const QStringList fixedComboValues = FFixedComboValues;
    const bool hotmail = FHotmailRowSelect;
    const bool sizeFixedRow = SizeFixedRow;
    auto onChange = std::move(OnChange);
    auto onInvalidate = std::move(OnInvalidate);
    auto onDisableEdit = std::move(OnDisableEdit);
    auto onIsDesigning = std::move(OnIsDesigning);
    *this = Source;
    OnChange = std::move(onChange);
    OnInvalidate = std::move(onInvalidate);
    OnDisableEdit = std::move(onDisableEdit);
    OnIsDesigning = std::move(onIsDesigning);
    FEditOnDblClickOnly = editOnDblClickOnly;
    FFixedComboValues = fixedComboValues;
    FHotmailRowSelect = hotmail;
    SizeFixedRow = sizeFixedRow;
}

TSearchFooter::TSearchFooter(bool NewAtDesignTime)
{
    if (NewAtDesignTime) {
        FFindNextCaption = QStringLiteral("Find &next");
        FFindPrevCaption = QStringLiteral("Find &previous");
        FMatchCaseCaption = QStringLiteral("Match case");
        FHighLightCaption = QStringLiteral("Highlight");
        FHintFindNext = QStringLiteral("Find next occurrence");
        FHintFindPrev = QStringLiteral("Find previous occurrence");
        FHintHighlight = QStringLiteral("Highlight occurrences");
        FHintClose = QStringLiteral("Close");
    }
}

void TSearchFooter::changed()
{
    if (OnChange)
        OnChange(this);
}

void TSearchFooter::setIfChanged(bool& field, bool Value)
{
    if (field == Value)
        return;
    field = Value;
    changed();
}

void TSearchFooter::SetVisible(bool Value) { setIfChanged(FVisible, Value); }
void TSearchFooter::SetShowFindNext(bool Value) { setIfChanged(FShowFindNext, Value); }
void TSearchFooter::SetShowFindPrev(bool Value) { setIfChanged(FShowFindPrev, Value); }
void TSearchFooter::SetShowHighLight(bool Value) { setIfChanged(FShowHighLight, Value); }
void TSearchFooter::SetShowMatchCase(bool Value) { setIfChanged(FShowMatchCase, Value); }

void TSearchFooter::SetShowClose(bool Value)
{
    FShowClose = Value;
    changed();
}
void TSearchFooter::SetColor(TColor Value)
{
    FColor = Value;
    changed();
}
void TSearchFooter::SetColorTo(TColor Value)
{
    FColorTo = Value;
    changed();
}
void TSearchFooter::SetFont(const QFont& Value)
{
    FFont = Value;
    changed();
}
void TSearchFooter::SetAutoThemeAdapt(bool Value)
{
    FAutoThemeAdapt = Value;
    changed();
}
void TSearchFooter::SetFindNextCaption(const QString& Value)
{
    FFindNextCaption = Value;
    changed();
}
void TSearchFooter::SetFindPrevCaption(const QString& Value)
{
    FFindPrevCaption = Value;
    changed();
}
void TSearchFooter::SetMatchCaseCaption(const QString& Value)
{
    FMatchCaseCaption = Value;
    changed();
}
void TSearchFooter::SetHighLightCaption(const QString& Value)
{
    FHighLightCaption = Value;
    changed();
}
void TSearchFooter::SetHintFindNext(const QString& Value)
{
    FHintFindNext = Value;
    changed();
}
void TSearchFooter::SetHintFindPrev(const QString& Value)
{
    FHintFindPrev = Value;
    changed();
}
void TSearchFooter::SetHintHighlight(const QString& Value)
{
    FHintHighlight = Value;
    changed();
}
void TSearchFooter::SetHintClose(const QString& Value)
{
    FHintClose = Value;
    changed();
}

void TSearchFooter::Assign(const TSearchFooter& Source)
{
    if (&Source == this)
        return;
    const bool autoSearch = AutoSearch;
    const bool searchFixedCells = SearchFixedCells;
    const bool autoThemeAdapt = FAutoThemeAdapt;
    const QString lastSearch = LastSearch;
    auto onChange = std::move(OnChange);
    *this = Source;
    OnChange = std::move(onChange);
    AutoSearch = autoSearch;
    SearchFixedCells = searchFixedCells;
    FAutoThemeAdapt = autoThemeAdapt;
    LastSearch = lastSearch;
}

void TSyncGrid::SetGrid(TExtStringGrid* Value)
{
    if (Value != nullptr && Value == FOwner)
        return;
    FGrid = Value;
}

void TSyncGrid::Assign(const TSyncGrid& Source)
{
    SetGrid(Source.FGrid);
    ScrollVertical = Source.ScrollVertical;
    ScrollHorizontal = Source.ScrollHorizontal;
    SelectionColumn = Source.SelectionColumn;
    SelectionRow = Source.SelectionRow;
    MoveColumn = Source.MoveColumn;
    MoveRow = Source.MoveRow;
}

void TBands::changedWhileActive()
{
    if (FActive && OnChange)
        OnChange(this);
}

void TBands::SetActive(bool Value)
{
    if (FActive == Value)
        return;
    FActive = Value;
    if (OnChange)
        OnChange(this);
}

void TBands::SetPrimaryColor(TColor Value)
{
    if (FPrimaryColor == Value)
        return;
    FPrimaryColor = Value;
    changedWhileActive();
}

void TBands::SetSecondaryColor(TColor Value)
{
    if (FSecondaryColor == Value)
        return;
    FSecondaryColor = Value;
    changedWhileActive();
}

void TBands::SetPrimaryLength(int Value)
{
    if (FPrimaryLength == Value)
        return;
    FPrimaryLength = Value;
    changedWhileActive();
}

void TBands::SetSecondaryLength(int Value)
{
    if (FSecondaryLength == Value)
        return;
    FSecondaryLength = Value;
    changedWhileActive();
}

void TBands::Assign(const TBands& Source)
{
    FActive = Source.FActive;
    FPrimaryColor = Source.FPrimaryColor;
    FSecondaryColor = Source.FSecondaryColor;
    FPrimaryLength = Source.FPrimaryLength;
    FSecondaryLength = Source.FSecondaryLength;
    Print = Source.Print;
}

}  // namespace zfw
