// The string grid's edit cycle: which cells may be edited, SelectCell switching editing on
// and off as the current cell moves, opening the text editor or a special editor, taking the
// value back and reporting the end of an edit.

#include "grid/CheckBoxCells.h"
#include "grid/EsgHTMLE.h"
#include "grid/ExtGrid.h"
#include "grid/ExtUtil.h"
#include "grid/InplaceEdit.h"

#include <utility>

namespace zfw {

namespace {

// Carries a refusal seen by a nested SelectCell up to the caller that started the move.
class RefusalScope {
public:
    explicit RefusalScope(bool& flag) : m_flag(flag), m_saved(std::exchange(flag, false)) {}
    ~RefusalScope() { m_flag = m_saved || m_flag; }
    bool refused() const { return m_flag; }

private:
    bool& m_flag;
    bool m_saved;
};

}  // namespace

TExtInplaceEdit* TExtStringGrid::NormalEdit() const
{
    return qobject_cast<TExtInplaceEdit*>(InplaceEditor());
}

TInplaceEdit* TExtStringGrid::CreateEditor() { return new TExtInplaceEdit(this); }

bool TExtStringGrid::IsCellEditable(int ACol, int ARow)
{
    const QPoint b = store().BaseCell(ACol, ARow);
    bool canEdit = true;
    QueryCellEditable(b.x(), b.y(), canEdit);
    bool fixed = false;
    IsFixedCell(b.x(), b.y(), fixed);
    return canEdit && !fixed;
}

bool TExtStringGrid::SelectCell(int ACol, int ARow)
{
    RefusalScope refusal(m_validationRefused);
    const TGridRect oldSel = Selection();
    if (ACol < 0 || ARow < 0)
        return false;
    const int C = RealColIndex(ACol);
    FEditText = GetCellEx(C, ARow);

    // A merged cell is entered at its base cell.
    if (!Options().testFlag(goRangeSelect) && store().IsMergedNonBaseCell(C, ARow)) {
        const QPoint b = store().BaseCell(C, ARow);
        const int bd = DisplColIndex(b.x());
        MoveCurrentCell(bd, b.y(), true, true);
        RepaintCell(bd, b.y());
        if (MouseActions.DirectEdit
            || (ControlLook.DropDownAlwaysVisible() && DoHasComboBox(b.x(), b.y())))
            ShowInplaceEdit();
        return false;
    }
    // Column 0 of a grid with nodes holds the node buttons.
    if (ACol == 0 && HasNodes() && !Options().testFlag(goRowSelect))
        return false;
    if (useEnabledRows() && Navigation.SkipDisabledRows && !GetRowEnabled(ARow))
        return false;

    // Editability of the new cell.
    const int oldCol = Col();
    const int oldRow = Row();
    const QPoint nb = store().BaseCell(C, ARow);
    auto readCache = [&] { return store().GetGridCell(nb.x(), nb.y()); };
    QString newCache = readCache();
    const TExtInplaceEdit* editor = NormalEdit();
    const bool editorFocused = editor && editor->hasFocus();
    if (!HasCheckBoxOrRadioButton(*this, nb.x(), nb.y())) {
        bool canEdit = Options().testFlag(goEditing) || FEditDisable;
        QueryCellEditable(C, ARow, canEdit);
        if (MouseActions.DirectEdit) {
            EditControl = DefaultEditor;
            GetCellEditor(nb.x(), nb.y(), EditControl);
            if (EditControl == TEditorType::edNone)
                canEdit = false;
        }
        if (MouseActions.EditOnDblClickOnly())
            canEdit = false;
        if (canEdit) {
            FEditDisable = false;
            if (!Options().testFlag(goEditing)) {
                FEditChange = true;
                if (!FEditing)
                    RememberCellValue(ACol, ARow);
                TGridOptions o = Options();
                if (MouseActions.RangeSelectAndEdit)
                    o.setFlag(goRowSelect, false);
                SetOptions(o | goEditing);
            }
            HideInplaceEdit();
            newCache = readCache();
        } else {
            HideInplaceEdit();
            newCache = readCache();
            if (Options().testFlag(goEditing)) {
                EditMode = false;
                FEditDisable = true;
                FEditChange = true;
                SetOptions(Options() & ~TGridOptions(goEditing));
                HideEditor();
            }
        }
    } else {
        bool canEdit = true;
        QueryCellEditable(C, ARow, canEdit);
        if (!FEditDisable)
            FEditDisable = !canEdit
                           && (Options().testFlag(goEditing) || MouseActions.RangeSelectAndEdit);
        if (!Options().testFlag(goEditing) && !Options().testFlag(goRowSelect) && canEdit) {
            FEditChange = true;
            SetOptions(Options() | goEditing);
        }
    }

    // The move.
    bool result = false;
    if (FEditing && !editorFocused) {
        const QString keep = FCellCache;
        // A refused value refuses the move: the edit stays on its cell. (The old steps went
        // on to move the current cell after a refusal, leaving the reopened editor behind.)
        const QString current = GetCurrentCell();
        bool allow = IsWideCell(RealColIndex(Col()), Row())
                         ? ValidateCellWide(UnpackWideText(current))
                         : ValidateCell(current);
        if (allow)
            DoCellChanging(ACol, ARow, allow);
        result = allow && TBaseGrid::SelectCell(ACol, ARow);
        if (!result)
            newCache = keep;
    } else {
        bool allow = true;
        DoCellChanging(ACol, ARow, allow);
        if (IsFixed(C, ARow) || !allow)
            result = (allow && Options().testFlag(goRowSelect))
                     || (store().FixedRowAlways() && RowCount() == FixedRows());
        else
            result = TBaseGrid::SelectCell(ACol, ARow);
    }
    if (refusal.refused())
        result = false;

    // Repaints and notifications, whatever the result.
    if (ActiveCellShow) {
        if (FixedCols() > 0) {
            RepaintCell(FixedCols() - 1, oldRow);
            RepaintCell(FixedCols() - 1, ARow);
        }
        if (FixedRows() > 0) {
            RepaintCell(oldCol, FixedRows() - 1);
            RepaintCell(ACol, FixedRows() - 1);
            if (oldSel.Left != oldCol && oldSel.Top != oldRow)
                RepaintCell(oldSel.Left, FixedRows() - 1);
        }
    }
    if (ARow != m_lastReportedRow && OnRowChanged) {
        OnRowChanged(this, oldRow, ARow);
        m_lastReportedRow = ARow;
    }
    FCellCache = newCache;
    return result;
}

bool TExtStringGrid::CanEditShow()
{
    // An open special editor (a combo) owns the cell: a refused value reopening the edit must
    // not put the text editor over it as well.
    if (FValidating || (EditMode && FSpecialEditor))
        return false;
    const bool ret = TBaseGrid::CanEditShow();
    const QPoint b = store().BaseCell(RealColIndex(Col()), Row());
    if (ret && !EditMode && HasCheckBoxOrRadioButton(*this, b.x(), b.y()))
        return false;
    if (ret && !EditMode) {
        FNoEditChange = true;
        FCellCache = store().GetGridCell(b.x(), b.y());
        // The edit is validated against the cell it opens on: remembering it here keeps a
        // later validation from comparing with, and writing to, the cell edited before.
        if (!FEditing)
            RememberCellValue(Col(), Row());
        EditControl = DefaultEditor;
        GetCellEditor(b.x(), b.y(), EditControl);
        if (EditControl == TEditorType::edNone) {
            FNoEditChange = false;
            return false;
        }
        EditMode = true;
        if (IsTextEditorKind(EditControl)) {
            FShowEditProcess = true;
        } else {
            FNoEditChange = false;
            ShowSpecialEditor(DisplColIndex(b.x()), b.y());
            FEntered = true;
            return false;
        }
    }
    if (ret) {
        FEntered = true;
        FEditing = true;
    }
    return ret;
}

QString TExtStringGrid::GetEditText(int DCol, int ARow)
{
    FNoEditChange = true;
    const int C = RealColIndex(DCol);
    const QPoint b = store().BaseCell(C, ARow);
    // The raw text: display hooks (formats, links, group counts) are no part of the value.
    QString value = store().GetGridCell(b.x(), b.y());
    if (OnGetEditText)
        OnGetEditText(this, DisplColIndex(b.x()), b.y(), value);
    // Only a text that is mini-HTML loses its tags: a plain text may hold "<" and ">".
    const int kind = GetCellTextKind(value, true);
    if (!EditWithTags && kind == ctkMiniHtml)
        value = HtmlToPlainText(value);
    // Packed wide text is edited as its characters; the old editor showed the packed bytes,
    // and a commit stored whatever was typed among them.
    if (kind == ctkPackedWide)
        value = UnpackWideText(value);
    return value;
}

void TExtStringGrid::SetEditText(int DCol, int ARow, const QString& Value)
{
    const QPoint b = store().BaseCell(RealColIndex(DCol), ARow);
    // The editor's unchanged characters leave a packed wide text packed.
    const QString stored = store().GetGridCell(b.x(), b.y());
    if (GetCellTextKind(stored, false) == ctkPackedWide && UnpackWideText(stored) == Value)
        return;
    TBaseGrid::SetEditText(DisplColIndex(b.x()), b.y(), Value);
}

QString TExtStringGrid::GetEditMask(int DCol, int ARow)
{
    QString value = EditMask;
    if (OnGetEditMask)
        OnGetEditMask(this, DCol, ARow, value);
    return value;
}

void TExtStringGrid::ShowInplaceEdit()
{
    const QPoint b = store().BaseCell(RealColIndex(Col()), Row());
    if (HasCheckBoxOrRadioButton(*this, b.x(), b.y()))
        return;
    if (Row() < TopRow())
        SetTopRow(Row());
    if (Col() < LeftCol())
        SetLeftCol(Col());
    FEditText = GetCurrentCell();
    ShowEditor();
}

void TExtStringGrid::HideInplaceEdit()
{
    // The text editor may still be shown after the end of its edit was reported (its focus
    // went to the grid): it is closed all the same.
    if (!EditMode && !EditorMode())
        return;
    HideEditor();
    HideSpecialEditor(Col(), Row());
    EditMode = false;
    SelectCell(Col(), Row());
}

void TExtStringGrid::ShowCellEdit() { WMKeyDown(VK_F2, TShiftState()); }

void TExtStringGrid::HideCellEdit() { HideSpecialEditor(Col(), Row()); }

void TExtStringGrid::WMSetFocus()
{
    TBaseGrid::WMSetFocus();
    m_openOnEnter = false;
    if (!AlwaysEditCanOpen())
        return;
    if (FocusInside())
        ShowInplaceEdit();
    else
        m_openOnEnter = true;
}

bool TExtStringGrid::AlwaysEditCanOpen()
{
    // Reopening the editor while the focus returns from it would undo every Esc and commit.
    if (!Navigation.AlwaysEdit || TakingFocusBack() || EditMode || EditorMode() || FSpecialEditor)
        return false;
    if (GridState() == gsRowMoving || GridState() == gsColMoving)
        return false;
    const int C = Col();
    const int R = Row();
    const int RC = RealColIndex(C);
    if (HasCheckBox(RC, R))
        return false;
    // A cell scrolled partly or wholly out of view is left alone: opening it would scroll.
    if (C < LeftCol() || C >= LeftCol() + VisibleColCount() || R < TopRow()
        || R >= TopRow() + VisibleRowCount())
        return false;
    bool allow = true;
    QueryCellEditable(RC, R, allow);
    if (!allow)
        return false;
    // Before any text edit the focus opens only a drop-down cell, and only where the
    // drop-down is not already on show or opened by the first click.
    return NormalEdit()
           || (!MouseActions.DirectEdit && !ControlLook.DropDownAlwaysVisible()
               && DoHasComboBox(RC, R));
}

void TExtStringGrid::DoneInplaceEdit(int Key, TShiftState Shift)
{
    FBlockFocus = true;
    FEditing = false;
    HideInplaceEdit();
    if (Navigation.AppendOnArrowDown && Key == VK_DOWN && Row() == RowCount() - FixedFooters - 1)
        AddRow();
    if (Key == VK_TAB || (Key >= VK_LEFT && Key <= VK_DOWN))
        WMKeyDown(Key, Shift);
    const bool alwaysEdit = std::exchange(Navigation.AlwaysEdit, false);
    setFocus(Qt::OtherFocusReason);
    if (Key == VK_RETURN)
        AdvanceToNextCell(Col(), Row(), false, true, true);
    Navigation.AlwaysEdit = alwaysEdit;
    FBlockFocus = false;
}

void TExtStringGrid::ShowSpecialEditor(int ACol, int ARow)
{
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    SetGridState(gsNormal);
    EditCtrl = nullptr;
    if (EditControl != TEditorType::edCustom)
        FLastValidation = true;
    bool opened = false;
    switch (EditControl) {
    case TEditorType::edComboEdit:
    case TEditorType::edComboList:
        opened = ShowComboEditor(EditControl, ACol, ARow, FStartEditChar);
        break;
    default: break;
    }
    if (!opened) {
        // A kind without an editor here opens nothing and leaves no edit behind: a later
        // commit must neither store a value nor report an edit that never happened.
        EditMode = false;
        FEditing = false;
        FSpecialEditor = false;
        FEditActive = false;
    }
    FStartEditChar = 0;
}

void TExtStringGrid::HideSpecialEditor(int ACol, int ARow)
{
    if (isDestroying())
        return;
    FSpecialEditor = false;
    FBlockKill = true;
    const int C = RealColIndex(ACol);
    FStartEditChar = 0;
    switch (EditControl) {
    case TEditorType::edComboEdit:
    case TEditorType::edComboList: HideComboEditor(); break;
    default: break;
    }
    if (EditControl != TEditorType::edNormal && FEditActive)
        DoEditingDone(C, ARow);
    FBlockKill = false;
    FEditActive = false;
}

void TExtStringGrid::DoEditingDone(int ACol, int ARow)
{
    if (OnEditingDone)
        OnEditingDone(this);
    EditMode = false;
    PostGridEditDone(ACol, ARow);
}

void TExtStringGrid::SetEditedCellText(int ACol, int ARow, const QString& Value)
{
    SetEditText(DisplColIndex(ACol), ARow, Value);
    SetCellEx(ACol, ARow, Value);
}

void TExtStringGrid::RestoreCellCache() { SetCurrentCell(FCellCache); }

void TExtStringGrid::SetWordWrap(bool Value)
{
    if (store().WordWrap() == Value)
        return;
    store().SetWordWrap(Value);
    if (TExtInplaceEdit* ed = NormalEdit())
        ed->SetWordWrap(Value && EditControl != TEditorType::edPassword);
    viewport()->update();
}

QString TExtStringGrid::LookupEntry(const QString& prefix) const
{
    for (const QString& item : LookupItems)
        if (item.startsWith(prefix, LookupCaseSensitivity))
            return item;
    return QString();
}

QString TExtStringGrid::AcceptedValidChars() const
{
    if (!ValidChars.isEmpty())
        return ValidChars;
    QString set;
    for (int c = 0; c < 256; ++c)
        if (ValidCharSet.test(std::size_t(c)))
            set += QChar(c);
    return set;
}

void TExtStringGrid::DoGetEditorProp(int ACol, int ARow, QObject* AEditLink)
{
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, AEditLink);
}

bool TExtStringGrid::EditorWantsTab() const
{
    return Options().testFlag(goTabs) || bool(OnCellValidate) || bool(OnCellValidateWide);
}

void TExtStringGrid::DoCellChanging(int NewCol, int NewRow, bool& Allow)
{
    if (NewRow != Row() && OnRowChanging)
        OnRowChanging(this, Row(), NewRow, Allow);
    if (NewCol != Col() && OnColChanging)
        OnColChanging(this, Col(), NewCol, Allow);
    if ((NewCol != Col() || NewRow != Row()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), NewRow, NewCol, Allow);
}

void TExtStringGrid::DoCheckBoxClick(int ACol, int ARow, bool State)
{
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

}  // namespace zfw
