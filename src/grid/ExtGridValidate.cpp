// Validation of an edited value: the form may accept, correct or refuse it; an accepted value
// is stored and reported, a refused one is taken back and the editor reopens on its cell.

#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"
#include "grid/InplaceEdit.h"

#include <QToolTip>

#include <utility>

namespace zfw {

bool TExtStringGrid::ValidateCell(const QString& NewValue) { return validateEdit(NewValue, false); }

bool TExtStringGrid::ValidateCellWide(const QString& NewValue)
{
    return validateEdit(NewValue, true);
}

bool TExtStringGrid::validateEdit(const QString& NewValue, bool wide)
{
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    bool Valid = true;
    const int C = RealColIndex(oldCol());
    const int R = oldRow();
    FNewCellText = NewValue;

    // The closing step runs on every way out, also when a handler throws.
    struct Closing {
        TExtStringGrid& g;
        ~Closing()
        {
            g.RememberCellValue(g.Col(), g.Row());
            g.FValidating = false;
        }
    } closing{*this};

    // A cell of packed wide text is compared by its characters, whichever editor asks: the
    // text editor shows it unpacked.
    wide = wide || IsPackedWideText(oldCellText());
    const QString old = wide ? oldWideCellText() : oldCellText();
    if (NewValue != old || AlwaysValidate) {
        const bool changed = NewValue != old;
        const bool advance = std::exchange(Navigation.AdvanceOnEnter, false);
        QString Value = NewValue;
        if (wide) {
            // The footer is brought up to date before the handler sees the value.
            UpdateFooterColumn(C);
            if (OnCellValidateWide)
                OnCellValidateWide(this, C, R, Value, Valid);
        } else if (OnCellValidate) {
            OnCellValidate(this, C, R, Value, Valid);
        }
        // Only an accepted value marks the row and the grid: a refusal stores nothing, so it
        // leaves no mark behind (the old steps marked the row before knowing the outcome and
        // kept the mark after a refusal).
        if (Valid && (wide ? NewValue : Value) != old) {
            Modified = true;
            if (FixedCols() > 0)
                SetRowModified(Row(), true);
        }
        if (Valid && !wide)
            UpdateFooterColumn(C);
        if (Valid && changed) {
            DoCellsChanged(TCellRange{C, R, C, R});
            NotifyCellsChanged(TRect{C, R, C, R});
        }
        Navigation.AdvanceOnEnter = advance;
        FNewCellText = Value;
        if (Valid) {
            // SetCellEx writes the base cell of a merged area.
            if (wide)
                SetWideCells(C, R, Value);
            else
                SetCellEx(C, R, Value);
        } else {
            FLastValidation = false;
            const int DCol = DisplColIndex(C);
            HideEditor();
            SetCellEx(C, R, Value != NewValue ? Value : (wide ? oldCellText() : old));
            if (Col() != DCol || Row() != R)
                MoveCurrentCell(DCol, R, true, true);
            FValidating = false;
            FEditing = true;
            ShowInplaceEdit();
            Modified = oldModified();
            if (!wide)
                showValidationBalloon();
            m_validationRefused = true;
        }
    }
    return Valid;
}

void TExtStringGrid::showValidationBalloon()
{
    if (InvalidEntryTitle.isEmpty() && InvalidEntryText.isEmpty())
        return;
    QWidget* target = nullptr;
    if (!FSpecialEditor && EditMode)
        target = InplaceEditor();
    else
        target = EditCtrl.data();
    if (!target || !target->isVisible())
        return;
    QString tip = InvalidEntryTitle;
    if (!InvalidEntryText.isEmpty())
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + InvalidEntryText;
    QToolTip::showText(target->mapToGlobal(QPoint(0, target->height())), tip, target);
}

}  // namespace zfw
