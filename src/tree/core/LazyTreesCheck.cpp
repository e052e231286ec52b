// Check boxes: the state a click proposes, the change of a state with its propagation down to
// the children and up to the parents, radio groups, types, and the image index table.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

namespace zfw {

namespace {

bool isDisabledState(TCheckState s) { return s >= csUncheckedDisabled; }
bool isCheckBox(TCheckType t) { return t == ctTriStateCheckBox || t == ctCheckBox; }
bool isChecked(TCheckState s) { return s == csCheckedNormal || s == csCheckedDisabled; }
bool isUnchecked(TCheckState s) { return s == csUncheckedNormal || s == csUncheckedDisabled; }

}  // namespace

bool LazyTreeModel::DoChecking(PLazyNode node, TCheckState& newState)
{
    if (m_options.MiscOptions.contains(toReadOnly))
        return false;
    bool allowed = true;
    if (OnChecking)
        OnChecking(*this, node, newState, allowed);
    return allowed;
}

void LazyTreeModel::DoChecked(PLazyNode node)
{
    if (OnChecked)
        OnChecked(*this, node);
}

TCheckState LazyTreeModel::DetermineNextCheckState(TCheckType type, TCheckState state)
{
    switch (type) {
    case ctTriStateCheckBox:
    case ctCheckBox:
        switch (state) {
        case csUncheckedNormal: return csCheckedNormal;
        case csUncheckedPressed: return csCheckedPressed;
        case csCheckedNormal: return csUncheckedNormal;
        case csCheckedPressed: return csUncheckedPressed;
        case csMixedNormal: return csCheckedNormal;
        case csMixedPressed: return csCheckedPressed;
        default: return state;
        }
    case ctRadioButton: return csCheckedNormal;
    case ctButton: return csUncheckedNormal;
    case ctNone: break;
    }
    return csMixedNormal;
}

int LazyTreeModel::GetCheckImage(TCheckType type, TCheckState state, bool enabled, bool hot)
{
    // Columns: disabled, enabled, enabled and hot.
    struct Row {
        int disabled, normal, hot;
    };
    if (isDisabledState(state)) {
        state = TCheckState(state == csUncheckedDisabled ? csUncheckedNormal
                            : state == csCheckedDisabled ? csCheckedNormal
                                                         : csMixedNormal);
        enabled = false;
    }
    if (type == ctTriStateCheckBox)
        type = ctCheckBox;
    if (type == ctNone)
        return -1;
    static constexpr Row kMixed[2] = {{20, 17, 18}, {20, 19, 19}};
    static constexpr Row kCheckBox[4] = {{12, 9, 10}, {12, 11, 11}, {16, 13, 14}, {16, 15, 15}};
    static constexpr Row kRadio[4] = {{4, 1, 2}, {4, 3, 3}, {8, 5, 6}, {8, 7, 7}};
    static constexpr Row kButton[2] = {{24, 21, 22}, {24, 23, 23}};
    Row row{};
    if (state == csMixedNormal || state == csMixedPressed) {
        row = kMixed[state == csMixedPressed ? 1 : 0];
    } else if (type == ctButton) {
        row = kButton[(state == csUncheckedPressed || state == csCheckedPressed) ? 1 : 0];
    } else {
        row = (type == ctRadioButton ? kRadio : kCheckBox)[int(state)];
    }
    if (!enabled)
        return row.disabled;
    return hot ? row.hot : row.normal;
}

void LazyTreeModel::SetCheckState(PLazyNode node, TCheckState value)
{
    if (!node || node == FRoot || node->CheckState == value || node->has(vsDisabled))
        return;
    if (DoChecking(node, value))
        DoCheckClick(node, value);
}

void LazyTreeModel::DoCheckClick(PLazyNode node, TCheckState newCheckState)
{
    if (ChangeCheckState(node, newCheckState))
        DoChecked(node);
}

bool LazyTreeModel::ChangeCheckState(PLazyNode node, TCheckState value)
{
    if (!node || node == FRoot || node->has(vsChecking))
        return false;
    node->States.include(vsChecking);
    ScopeGuard notChecking([node] { node->States.exclude(vsChecking); });
    if (!node->has(vsInitialized))
        InitNode(node);
    else if (node->CheckState == value)
        return false;
    if (FCheckPropagationCount++ == 0)
        DoStateChange({tsCheckPropagation});
    ScopeGuard propagationEnds([this] {
        if (--FCheckPropagationCount == 0)
            DoStateChange({}, {tsCheckPropagation});
    });
    const bool tracking = m_options.AutoOptions.contains(toAutoTristateTracking);
    if (node->CheckType == ctTriStateCheckBox && tracking && node->ChildCount > 0
        && (value == csCheckedNormal || value == csUncheckedNormal)) {
        const bool checking = value == csCheckedNormal;
        for (PLazyNode c = GetFirstChild(node); c; c = GetNextSibling(c)) {
            if (isCheckBox(c->CheckType) && !isDisabledState(c->CheckState))
                SetCheckState(c, value);
        }
        int unchecked = 0, checked = 0, mixed = 0;
        for (PLazyNode c = node->FirstChild; c; c = c->NextSibling) {
            if (!isCheckBox(c->CheckType))
                continue;
            // Checking counts only the enabled forms; unchecking counts the disabled ones too.
            const TCheckState s = c->CheckState;
            if (checking ? s == csUncheckedNormal : isUnchecked(s))
                ++unchecked;
            else if (checking ? s == csCheckedNormal : isChecked(s))
                ++checked;
            else if (s == csMixedNormal)
                ++mixed;
        }
        if (mixed > 0)
            value = csMixedNormal;
        else if (checked > 0)
            value = unchecked > 0 ? csMixedNormal : csCheckedNormal;
    }
    if (node->CheckType == ctRadioButton && value == csCheckedNormal) {
        for (PLazyNode s = node->Parent->FirstChild; s; s = s->NextSibling) {
            if (s->CheckType == ctRadioButton)
                s->CheckState = csUncheckedNormal;
        }
        Invalidate();
    }
    node->CheckState = value;
    PLazyNode parent = node->Parent;
    if (parent != FRoot && !parent->has(vsInitialized))
        InitNode(parent);
    if (tracking && parent != FRoot && !parent->has(vsChecking) && !parent->has(vsDisabled)
        && isCheckBox(node->CheckType) && parent->CheckType == ctTriStateCheckBox) {
        // The node has changed whatever the parent's handler answers: the parent's refusal of
        // its derived state used to swallow the node's own OnChecked as well.
        CheckParentCheckState(node, value);
    }
    InvalidateNode(node);
    return true;
}

bool LazyTreeModel::CheckParentCheckState(PLazyNode node, TCheckState newCheckState)
{
    PLazyNode parent = node->Parent;
    int count = 0, checkedCount = 0;
    bool anyMixed = false;
    for (PLazyNode c = parent->FirstChild; c; c = c->NextSibling) {
        if (!isCheckBox(c->CheckType))
            continue;
        const TCheckState s = c == node ? newCheckState : c->CheckState;
        ++count;
        if (isChecked(s))
            ++checkedCount;
        if (s == csMixedNormal)
            anyMixed = true;
    }
    TCheckState state = csUncheckedNormal;
    if (checkedCount > 0 || anyMixed)
        state = checkedCount < count ? csMixedNormal : csCheckedNormal;
    const bool allowed = DoChecking(parent, state);
    if (allowed)
        DoCheckClick(parent, state);
    return allowed;
}

void LazyTreeModel::SetCheckType(PLazyNode node, TCheckType value)
{
    if (!node || node == FRoot || node->CheckType == value
        || m_options.MiscOptions.contains(toReadOnly))
        return;
    node->CheckType = value;
    if ((node->CheckState == csMixedNormal || node->CheckState == csMixedPressed)
        && value != ctTriStateCheckBox)
        node->CheckState = csUncheckedNormal;
    PLazyNode parent = node->Parent;
    if (m_options.AutoOptions.contains(toAutoTristateTracking) && isCheckBox(value)
        && parent != FRoot) {
        if (!parent->has(vsInitialized))
            InitNode(parent);
        if (parent->CheckType == ctTriStateCheckBox) {
            if (isUnchecked(parent->CheckState))
                SetCheckState(node, csUncheckedNormal);
            else if (isChecked(parent->CheckState))
                SetCheckState(node, csCheckedNormal);
        }
    }
    InvalidateNode(node);
}

void LazyTreeModel::ClearChecked()
{
    for (PLazyNode run = FRoot->FirstChild; run; run = GetNextNoInit(run, false)) {
        if (run->CheckState != csUncheckedNormal)
            SetCheckState(run, csUncheckedNormal);
    }
}

std::uint32_t LazyTreeModel::CheckedCount()
{
    std::uint32_t count = 0;
    for (PLazyNode run = GetFirstChecked(csCheckedNormal); run;
         run = GetNextChecked(run, csCheckedNormal))
        ++count;
    return count;
}

void LazyTreeModel::SetCheckStateForAll(TCheckState state, bool selectedOnly, bool excludeDisabled)
{
    SetCursorBusy(true);
    ScopeGuard cursor([this] { SetCursorBusy(false); });
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });
    PLazyNode run = selectedOnly ? GetFirstSelected() : GetFirst();
    while (run) {
        if (!excludeDisabled || !isDisabledState(run->CheckState))
            SetCheckState(run, state);
        run = selectedOnly ? GetNextSelected(run) : GetNext(run);
    }
}

}  // namespace zfw
