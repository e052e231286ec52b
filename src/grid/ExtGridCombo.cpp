// Combo cells of the string grid: the combo editor's item list, opening the combo over a cell
// with the cell's item selected, taking its value back, and the combo events.

#include "grid/ExtGrid.h"
#include "grid/GridCombo.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace zfw {

namespace {

// The item equal to a text, compared as whole texts with case ignored.
int findItem(const TGridCombo* combo, const QString& text)
{
    return combo->findText(text, Qt::MatchFixedString);
}

}  // namespace

TGridCombo* TExtStringGrid::EditCombo()
{
    if (!m_editCombo) {
        m_editCombo = new TGridCombo(this);
        m_editCombo->hide();
        m_editCombo->setEnabled(false);
    }
    return m_editCombo;
}

void TExtStringGrid::ClearComboString()
{
    const QSignalBlocker quiet(EditCombo());
    EditCombo()->clear();
}

void TExtStringGrid::AddComboString(const QString& s)
{
    const QSignalBlocker quiet(EditCombo());
    EditCombo()->addItem(s);
}

void TExtStringGrid::AddComboStringObject(const QString& s, QObject* AObject)
{
    const QSignalBlocker quiet(EditCombo());
    EditCombo()->addItem(s, QVariant::fromValue(AObject));
}

bool TExtStringGrid::RemoveComboString(const QString& s)
{
    TGridCombo* combo = EditCombo();
    const int i = combo->findText(s, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i < 0)
        return false;
    const QSignalBlocker quiet(combo);
    combo->removeItem(i);
    return true;
}

bool TExtStringGrid::SetComboSelectionString(const QString& s)
{
    const int i = findItem(EditCombo(), s);
    if (i < 0)
        return false;
    FComboIdx = i;
    return true;
}

int TExtStringGrid::GetComboCount() { return EditCombo()->count(); }

int TExtStringGrid::GetComboIndex(int ACol, int ARow)
{
    TEditorType kind = DefaultEditor;
    GetCellEditor(ACol, ARow, kind);
    return findItem(EditCombo(), GetCellEx(ACol, ARow));
}

bool TExtStringGrid::SetComboIndex(int ACol, int ARow, int Value)
{
    TEditorType kind = DefaultEditor;
    GetCellEditor(ACol, ARow, kind);
    // The old writer raised a list-index error for an index outside the list; the cell is
    // left as it is and the caller told so.
    if (Value < 0 || Value >= EditCombo()->count())
        return false;
    return SetCellEx(ACol, ARow, EditCombo()->itemText(Value));
}

bool TExtStringGrid::comboEditing() const
{
    return m_editCombo && EditMode && m_editCombo->isVisible()
           && (EditControl == TEditorType::edComboEdit || EditControl == TEditorType::edComboList);
}

QString TExtStringGrid::comboValue() const
{
    if (!m_editCombo)
        return {};
    if (m_comboKeepText && !m_comboPicked)
        return m_comboCellText;
    return m_editCombo->text();
}

bool TExtStringGrid::ShowComboEditor(TEditorType kind, int DCol, int ARow, char16_t startChar)
{
    if (kind != TEditorType::edComboEdit && kind != TEditorType::edComboList)
        return false;
    TGridCombo* combo = EditCombo();
    const int C = RealColIndex(DCol);
    EditMode = true;
    m_comboCol = C;
    m_comboRow = ARow;
    m_comboKeepText = false;
    m_comboPicked = false;
    m_comboCellText = GetCellEx(C, ARow);

    const TRect R = CellRect(DCol, ARow);
    const int W = R.Right - R.Left;
    const int H = R.Bottom - R.Top;

    int reported = -1;
    {
        // Filling and preselecting are no change of the user's: they raise no combo events.
        const QSignalBlocker quiet(combo);
        combo->setDropDownCount(ControlLook.DropDownCount);
        if (combo->droppedDown())
            combo->hidePopup();
        if (kind == TEditorType::edComboEdit) {
            combo->setComboStyle(csDropDown);
            // Completion is the grid's Lookup (the combo's DoChange), nothing of the box's own.
            combo->setCompleter(nullptr);
            combo->setCurrentIndex(-1);
            const QString text = GetEditText(DCol, ARow);
            if (FComboIdx != -1)
                combo->setItemIndex(FComboIdx);
            combo->setEditText(text);
            if (QLineEdit* edit = combo->lineEdit())
                edit->setMaxLength(32767);
        } else {
            combo->setComboStyle(csDropDownList);
            int idx = findItem(combo, m_comboCellText);
            if (idx < 0 && FComboIdx == -1) {
                idx = findItem(combo, GetEditText(DCol, ARow));
                if (idx < 0 && combo->count() > 0) {
                    idx = 0;
                    // A blank cell takes the first item as its preselection; a cell whose
                    // text is in no item only shows it. The old opening wrote item 0 into
                    // such a cell on the first commit, without the user choosing anything.
                    m_comboKeepText = !m_comboCellText.trimmed().isEmpty();
                }
                if (idx >= 0 && !m_comboKeepText)
                    reported = idx;
            } else if (idx < 0) {
                idx = FComboIdx;
            }
            combo->setItemIndex(idx);
        }
        QPalette pal = combo->palette();
        TGridDrawState state;
        TColor brush = clNone, colorTo = clNone, mirror = clNone, mirrorTo = clNone;
        TColor fontColor = clWindowText;
        QFont f = font();
        TAlignment ha = DefaultAlignment;
        TVAlignment va = VAlignment;
        bool ww = false;
        TCellGradientDirection gd = TCellGradientDirection::GradientVertical;
        GetVisualProperties(C, ARow, state, false, false, false, brush, colorTo, mirror, mirrorTo,
                            f, fontColor, ha, va, ww, gd);
        pal.setColor(QPalette::Base, toQColor(brush == clNone ? Color() : brush));
        combo->setPalette(pal);
        combo->setFont(f);
    }
    combo->setGeometry(R.Left, R.Top, std::max(W, 1), std::max(H, 1));
    combo->setEnabled(true);
    if (Navigation.AutoComboDropSize)
        combo->SizeDropDownWidth();
    combo->show();
    combo->raise();
    combo->setFocus(Qt::OtherFocusReason);
    EditCtrl = combo;
    if (MouseActions.DirectComboDrop || ControlLook.DropDownAlwaysVisible())
        combo->showPopup();
    // A list that a click opens and drops at once tells the form what it shows. This is no
    // choice of the user's: a text kept for the cell stays kept.
    if (MouseActions.DirectEdit && MouseActions.DirectComboDrop && comboEditing())
        fireComboChange(combo->itemIndex());

    // The fallback choice is reported as the item really selected (the old report named item
    // 0 even when the edit text had matched another item).
    if (reported >= 0)
        fireComboChange(reported);

    if (startChar != 0 && comboEditing()) {
        if (kind == TEditorType::edComboEdit && combo->lineEdit())
            combo->lineEdit()->selectAll();
        QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                        QString(QChar(startChar)));
        QCoreApplication::sendEvent(combo, &typed);
    }
    return true;
}

bool TExtStringGrid::HideComboEditor()
{
    if (!m_editCombo)
        return false;
    const bool wasOpen = EditMode && m_comboCol >= 0;
    if (wasOpen) {
        EditMode = false;
        SetEditedCellText(m_comboCol, m_comboRow, comboValue());
    }
    {
        const QSignalBlocker quiet(m_editCombo);
        if (m_editCombo->droppedDown())
            m_editCombo->hidePopup();
    }
    const bool hadFocus = m_editCombo->hasFocus();
    m_editCombo->hide();
    m_editCombo->setEnabled(false);
    if (EditCtrl == m_editCombo)
        EditCtrl = nullptr;
    if (hadFocus && isVisible())
        setFocus(Qt::OtherFocusReason);
    m_comboCol = -1;
    m_comboRow = -1;
    m_comboKeepText = false;
    return wasOpen;
}

void TExtStringGrid::CancelComboEditor()
{
    if (!m_editCombo || m_comboCol < 0)
        return;
    const QString current = GetCellEx(m_comboCol, m_comboRow);
    const QSignalBlocker quiet(m_editCombo);
    if (EditControl == TEditorType::edComboEdit) {
        m_editCombo->setEditText(current);
    } else {
        const int i = findItem(m_editCombo, current);
        if (i >= 0)
            m_editCombo->setItemIndex(i);
    }
    // The commit that ends the edit stores the cell's own text: a list whose items hold none
    // equal to it kept its previous selection, which the old cancel then wrote into the cell.
    m_comboKeepText = true;
    m_comboPicked = false;
    m_comboCellText = current;
}

void TExtStringGrid::fireComboChange(int idx)
{
    if (!m_editCombo)
        return;
    const QString sel = idx >= 0 ? m_editCombo->itemText(idx) : m_editCombo->currentText();
    QObject* object = idx >= 0 ? m_editCombo->itemData(idx).value<QObject*>() : nullptr;
    const int ACol = RealColIndex(Col());
    if (OnComboChange)
        OnComboChange(this, ACol, Row(), idx, sel);
    if (OnComboObjectChange)
        OnComboObjectChange(this, ACol, Row(), idx, sel, object);
}

void TExtStringGrid::comboSelectionChanged()
{
    if (!EditMode)
        return;
    m_comboPicked = true;
    fireComboChange(m_editCombo->itemIndex());
}

void TExtStringGrid::comboEditChanged()
{
    // Typing reports one change with the real column. The old grid raised a second
    // OnComboChange for the same typing, with the display column and index -1, which a
    // handler keyed on the column read as a change of another column.
    if (!EditMode)
        return;
    m_comboPicked = true;
    fireComboChange(m_editCombo->itemIndex());
}

void TExtStringGrid::comboClosedUp()
{
    if (MouseActions.DirectComboClose && comboEditing()) {
        // Closing the list is no choice by itself (a chosen item has already marked the pick):
        // a cell whose text is in no item keeps it when the list is dismissed.
        if (EditControl == TEditorType::edComboEdit) {
            const QSignalBlocker quiet(m_editCombo);
            const int i = m_editCombo->itemIndex();
            m_editCombo->setEditText(i >= 0 ? m_editCombo->itemText(i) : QString());
        }
        fireComboChange(m_editCombo->itemIndex());
        const bool direct = std::exchange(MouseActions.DirectEdit, false);
        HideInplaceEdit();
        MouseActions.DirectEdit = direct;
        setFocus(Qt::OtherFocusReason);
    }
    DoComboCloseUp(Col(), Row());
}

void TExtStringGrid::comboDroppedDown() { DoComboDropDown(Col(), Row()); }

void TExtStringGrid::placeComboEditor()
{
    if (!comboEditing())
        return;
    const int DCol = DisplColIndex(m_comboCol);
    const TRect R = CellRect(DCol, m_comboRow);
    if (R.isEmpty())
        return;
    m_editCombo->setGeometry(R.Left, R.Top, std::max(R.Right - R.Left, 1),
                             std::max(R.Bottom - R.Top, 1));
}

}  // namespace zfw
