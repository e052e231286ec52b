#include "grid/CheckBoxCells.h"

#include <algorithm>

namespace zfw {

bool isValidCheckBoxCell(const CellGraphicHost& host, int ACol, int ARow)
{
    return ACol >= 0 && ARow >= 0 && ACol < host.totalColCount()
           && ARow < host.rowCount() + host.numHiddenRows();
}

TCellVAlign checkBoxVAlign(int vAlignment)
{
    switch (vAlignment) {
    case 1: return vaCenter;
    case 2: return vaBottom;
    default: return vaTop;
    }
}

std::optional<QString> dataCheckBoxInitialText(const QString& cellText, bool state,
                                               const CheckTexts& texts)
{
    if (cellText == texts.checkTrue || cellText == texts.checkFalse)
        return std::nullopt;
    return state ? texts.checkTrue : texts.checkFalse;
}

DataToggle toggledDataCheckText(const QString& cellText, const CheckTexts& texts)
{
    if (cellText == texts.checkTrue)
        return {texts.checkFalse, false};
    return {texts.checkTrue, true};
}

TCheckBoxState nextTriState(TCheckBoxState s)
{
    switch (s) {
    case cbUnchecked: return cbGrayed;
    case cbGrayed: return cbChecked;
    case cbChecked: return cbUnchecked;
    }
    return cbUnchecked;
}

QString AddCheckBox(CellGraphicHost& host, int ACol, int ARow, bool state, bool data,
                    int vAlignment, const CheckTexts& texts)
{
    if (!isValidCheckBoxCell(host, ACol, ARow))
        return QString::fromLatin1(kInvalidCellMessage);
    TCellGraphic* g = CreateCellGraphic(host, ACol, ARow);
    if (!g)
        return QString::fromLatin1(kInvalidCellMessage);
    g->SetCheckBox(state, data, true, haBeforeText, checkBoxVAlign(vAlignment));
    if (data) {
        // The stored Boolean of a data box is only this default; its state is the text.
        if (auto text = dataCheckBoxInitialText(host.cellText(ACol, ARow), state, texts))
            host.setCellText(ACol, ARow, *text);
    }
    return {};
}

QString AddCheckBox(CellGraphicHost& host, int ACol, int ARow, TCheckBoxState state, int vAlignment)
{
    if (!isValidCheckBoxCell(host, ACol, ARow))
        return QString::fromLatin1(kInvalidCellMessage);
    TCellGraphic* g = CreateCellGraphic(host, ACol, ARow);
    if (!g)
        return QString::fromLatin1(kInvalidCellMessage);
    g->SetCheckBox(state, true, haBeforeText, checkBoxVAlign(vAlignment));
    return {};
}

bool RemoveCheckBox(CellGraphicHost& host, int ACol, int ARow)
{
    const TCellType kind = GetCellType(host, ACol, ARow);
    if (kind != ctCheckBox && kind != ctDataCheckBox && kind != ctTriStateCheckBox)
        return false;
    return RemoveCellGraphic(host, ACol, ARow);
}

bool HasCheckBox(const CellGraphicHost& host, int baseCol, int baseRow)
{
    return isCheckBoxKind(GetCellType(host, baseCol, baseRow));
}

bool HasDataCheckBox(const CellGraphicHost& host, int baseCol, int baseRow)
{
    return isDataCheckBoxKind(GetCellType(host, baseCol, baseRow));
}

bool HasCheckBoxOrRadioButton(const CellGraphicHost& host, int baseCol, int baseRow)
{
    return isClickableKind(GetCellType(host, baseCol, baseRow));
}

bool IsDataCellGraphic(const CellGraphicHost& host, int baseCol, int baseRow)
{
    const TCellType kind = GetCellType(host, baseCol, baseRow);
    return isDataCheckBoxKind(kind) || kind == ctDataImage;
}

bool GetCheckBoxState(const CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts,
                      bool& state)
{
    const TCellGraphic* g = GetCellGraphic(host, ACol, ARow);
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox: state = g->CellBoolean; return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: state = host.cellText(ACol, ARow) == texts.checkTrue; return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        state = host.rowSelect(ARow);
        return true;
    default: return false;
    }
}

bool GetCheckBoxState(const CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts,
                      TCheckBoxState& state)
{
    const TCellGraphic* g = GetCellGraphic(host, ACol, ARow);
    if (!g)
        return false;
    if (g->CellType == ctTriStateCheckBox) {
        state = g->CellCheckBoxState;
        return true;
    }
    bool b = false;
    if (!GetCheckBoxState(host, ACol, ARow, texts, b))
        return false;
    state = b ? cbChecked : cbUnchecked;
    return true;
}

bool IsChecked(const CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts)
{
    bool state = false;
    return GetCheckBoxState(host, ACol, ARow, texts, state) && state;
}

bool SetCheckBoxState(CellGraphicHost& host, int ACol, int ARow, bool state,
                      const CheckTexts& texts)
{
    TCellGraphic* g = GetCellGraphic(host, ACol, ARow);
    if (!g)
        return false;
    switch (g->CellType) {
    case ctCheckBox:
        g->CellBoolean = state;
        host.repaintCell(host.displColIndex(ACol), ARow);
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox:
        host.setCellText(ACol, ARow, state ? texts.checkTrue : texts.checkFalse);
        return true;
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        host.setRowSelect(ARow, state);
        return true;
    default: return false;
    }
}

ChangeResult changeCheckBoxCell(CellGraphicHost& host, int ACol, int ARow, bool state,
                                const CheckTexts& texts)
{
    TCellGraphic* g = GetCellGraphic(host, ACol, ARow);
    if (!g)
        return {};
    switch (g->CellType) {
    case ctCheckBox: {
        const bool changed = g->CellBoolean != state;
        if (changed) {
            g->CellBoolean = state;
            host.repaintCell(host.displColIndex(ACol), ARow);
        }
        return {true, changed};
    }
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const bool was = host.cellText(ACol, ARow) == texts.checkTrue;
        host.setCellText(ACol, ARow, state ? texts.checkTrue : texts.checkFalse);
        return {true, was != state};
    }
    case ctRowCheckBox: {
        if (ACol != 0)
            return {};
        const bool changed = host.rowSelect(ARow) != state;
        if (changed)
            host.setRowSelect(ARow, state);
        return {true, changed};
    }
    default: return {};
    }
}

void prepareRowCheckGraphic(TCellGraphic& g, bool headerRow, int selectedRows, int normalRows,
                            bool rowSelected, bool flat)
{
    g.CellType = ctRowCheckBox;
    g.CellTransparent = flat;
    if (!headerRow) {
        g.CellAngle = 0;
        g.CellBoolean = rowSelected;
        return;
    }
    g.CellAngle = (selectedRows >= 1 && selectedRows < normalRows) ? 1 : 0;
    // A grid without normal rows has nothing selected: the old rule (selected >= rows) showed
    // the header box checked on an empty grid.
    g.CellBoolean = normalRows > 0 && selectedRows >= normalRows;
}

bool IsInCheckBox(TCellType kind, bool precise, const TRect& r, int s, TCellVAlign va,
                  Qt::Alignment textAlignment, int textWidth, int x, int y)
{
    if (!TCellTypes{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctRadioButton,
                    ctTriStateCheckBox}
             .contains(kind))
        return false;
    if (!precise)
        return true;
    int top = r.Top + 2;
    if (va == vaBottom)
        top = r.Bottom - s - 2;
    else if (va == vaCenter)
        top = r.Top + (r.Height() - s) / 2;
    int left = r.Left + 2;
    if (textAlignment & Qt::AlignRight)
        left = r.Right - s - 2 - std::max(0, textWidth);
    else if (textAlignment & Qt::AlignHCenter)
        left = r.Left + (r.Width() - s) / 2;
    return x >= left && x < left + s && y >= top && y < top + s;
}

ToggleResult toggleCheckBoxCell(CellGraphicHost& host, int ACol, int ARow, const CheckTexts& texts)
{
    TCellGraphic* g = GetCellGraphic(host, ACol, ARow);
    if (!g)
        return {};
    ToggleResult result{true, false};
    switch (g->CellType) {
    case ctCheckBox:
        g->CellBoolean = !g->CellBoolean;
        result.newState = g->CellBoolean;
        break;
    case ctTriStateCheckBox:
        g->CellCheckBoxState = nextTriState(g->CellCheckBoxState);
        result.newState = false;
        break;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        const DataToggle t = toggledDataCheckText(host.cellText(ACol, ARow), texts);
        host.setCellText(ACol, ARow, t.text);
        result.newState = t.newState;
        break;
    }
    case ctRowCheckBox:
        // The old toggle wrote a check text into the cell of a row check box: that overwrote
        // the row header's text and left the row selection, where this box keeps its state,
        // unchanged. The toggle flips the row selection instead.
        if (ACol != 0)
            return {};
        result.newState = !host.rowSelect(ARow);
        host.setRowSelect(ARow, result.newState);
        break;
    default: return {};
    }
    host.repaintCell(host.displColIndex(ACol), ARow);
    return result;
}

std::vector<CheckColumnPlanRow> planCheckBoxColumn(int rowCount, int fixedRows, bool checkAllCheck,
                                                   const std::function<bool(int)>& isSummaryRow,
                                                   const std::function<bool(int)>& isNodeRow)
{
    std::vector<CheckColumnPlanRow> plan;
    const int first = checkAllCheck ? 0 : std::max(0, fixedRows);
    for (int r = first; r < rowCount; ++r) {
        if (isSummaryRow && isSummaryRow(r))
            plan.push_back({r, CheckColumnRow::Skip});
        else if (isNodeRow && isNodeRow(r))
            plan.push_back({r, CheckColumnRow::TriStateBox});
        else
            plan.push_back({r, CheckColumnRow::CheckBox});
    }
    return plan;
}

QString AddCheckBoxColumn(CellGraphicHost& host, int ACol, bool defaultState, bool dataCheckBox,
                          int fixedRows, bool checkAllCheck, int vAlignment,
                          const CheckTexts& texts, const std::function<bool(int)>& isSummaryRow,
                          const std::function<bool(int)>& isNodeRow)
{
    for (const CheckColumnPlanRow& p :
         planCheckBoxColumn(host.rowCount(), fixedRows, checkAllCheck, isSummaryRow, isNodeRow)) {
        QString error;
        switch (p.what) {
        case CheckColumnRow::Skip: break;
        case CheckColumnRow::TriStateBox:
            error = AddCheckBox(host, ACol, p.row, cbUnchecked, vAlignment);
            break;
        case CheckColumnRow::CheckBox:
            error = AddCheckBox(host, ACol, p.row, defaultState, dataCheckBox, vAlignment, texts);
            break;
        }
        if (!error.isEmpty())
            return error;
    }
    return {};
}

void RemoveCheckBoxColumn(CellGraphicHost& host, int ACol, int fixedRows, bool checkAllCheck)
{
    const int first = checkAllCheck ? 0 : std::max(0, fixedRows);
    for (int r = first; r < host.rowCount(); ++r)
        if (HasCheckBox(host, ACol, r))
            RemoveCheckBox(host, ACol, r);
}

std::vector<int> CheckAll(CellGraphicHost& host, int ACol, bool state, int fixedRows,
                          const CheckTexts& texts)
{
    std::vector<int> changed;
    for (int r = std::max(0, fixedRows); r < host.rowCount(); ++r)
        if (changeCheckBoxCell(host, ACol, r, state, texts).changed)
            changed.push_back(r);
    return changed;
}

}  // namespace zfw
