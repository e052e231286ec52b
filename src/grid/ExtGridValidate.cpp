// Validation of an edited value: the form may accept, correct or refuse it; an accepted value
// is stored and reported, a refused one is taken back and the editor reopens on its cell.

#include "grid/ExtGrid.h"
#include "grid/InplaceEdit.h"

#include <QToolTip>

#include <utility>

namespace zfw {

bool TExtStringGrid::ValidateCell(const QString& NewValue)
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

    const QString old = oldCellText();
    if (NewValue != old || AlwaysValidate) {
        const bool changed = NewValue != old;
        const bool advance = std::exchange(Navigation.AdvanceOnEnter, false);
        QString Value = NewValue;
        if (OnCellValidate)
            OnCellValidate(this, C, R, Value, Valid);
        // Only an accepted value marks the row and the grid: a refusal stores nothing, so it
        // leaves no mark behind (the old steps marked the row before knowing the outcome and
        // kept the mark after a refusal).
        if (Valid && Value != old) {
            Modified = true;
            if (FixedCols() > 0)
                SetRowModified(Row(), true);
        }
        if (Valid)
            UpdateFooterColumn(C);
        if (Valid && changed) {
            DoCellsChanged(TCellRange{C, R, C, R});
            NotifyCellsChanged(TRect{C, R, C, R});
        }
        Navigation.AdvanceOnEnter = advance;
        FNewCellText = Value;
        if (Valid) {
            // SetCellEx writes the base cell of a merged area.
            SetCellEx(C, R, Value);
        } else {
            FLastValidation = false;
            const int DCol = DisplColIndex(C);
            HideEditor();
            SetCellEx(C, R, Value != NewValue ? Value : old);
            if (Col() != DCol || Row() != R)
                MoveCurrentCell(DCol, R, true, true);
            FValidating = false;
            FEditing = true;
            ShowInplaceEdit();
            Modified = oldModified();
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
