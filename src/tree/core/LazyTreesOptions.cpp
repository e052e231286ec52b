// Writing the option sets. The model reacts where counters or the selection depend on a set;
// the control adds the reactions that need a window through OptionsChanged().

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

namespace zfw {

void LazyTreeModel::SetPaintOptions(TLTPaintOptions value)
{
    const TLTPaintOptions old = m_options.PaintOptions;
    if (value.contains(toFixedIndent) && !old.contains(toFixedIndent))
        value.include(toShowRoot);
    if (value == old)
        return;
    const TLTPaintOptions changed = (value - old) + (old - value);
    // The background walk of the shown rows reads this set (children above, filtered rows
    // shown): it is written only while no walk runs. Writing it under a running walk was a
    // data race and left a cache built for the old order.
    InterruptValidation();
    m_options.PaintOptions = value;

    if (changed.contains(toShowFilteredNodes)) {
        // Filtered nodes gain (or lose) their own row: the visible count and every total height
        // along their ancestors follow.
        const bool shown = value.contains(toShowFilteredNodes);
        for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n)) {
            if (!n->has(vsFiltered))
                continue;
            if (GetFullyVisible(n)) {
                if (shown)
                    ++FVisibleCount;
                else
                    --FVisibleCount;
            }
            AdjustTotalHeight(n, shown ? std::int64_t(n->NodeHeight) : -std::int64_t(n->NodeHeight),
                              true);
        }
        if (FUpdateCount > 0)
            DoStateChange({tsUpdateHiddenChildrenNeeded});
        else
            UpdateAllChildrenHidden();
        if (FUpdateCount == 0)
            UpdateScrollBars(true);
    }
    // Also when neither of the two changed: the interrupt above left the cache unused.
    InvalidateCache();
    if (FUpdateCount == 0)
        ScheduleCacheValidation();
    OptionsChanged();
    Invalidate();
}

void LazyTreeModel::SetAutoOptions(TLTAutoOptions value)
{
    if (value == m_options.AutoOptions)
        return;
    m_options.AutoOptions = value;
    OptionsChanged();
}

void LazyTreeModel::SetSelectionOptions(TLTSelectionOptions value)
{
    const TLTSelectionOptions old = m_options.SelectionOptions;
    if (value == old)
        return;
    m_options.SelectionOptions = value;
    const TLTSelectionOptions set = value - old;
    if (value.contains(toMultiSelect) != old.contains(toMultiSelect)
        || set.contains(toLevelSelectConstraint) || set.contains(toSiblingSelectConstraint))
        ClearSelection();
    OptionsChanged();
}

void LazyTreeModel::SetMiscOptions(TLTMiscOptions value)
{
    const TLTMiscOptions old = m_options.MiscOptions;
    if (value == old)
        return;
    m_options.MiscOptions = value;
    OptionsChanged();
    if (value.contains(toVariableNodeHeight) && !old.contains(toVariableNodeHeight)) {
        // Every node is initialised again and loses its measured mark, so that its height is
        // asked for when it is next needed.
        BeginUpdate();
        ScopeGuard endUpdate([this] { EndUpdate(); });
        ReinitNode(FRoot, true);
    }
}

void LazyTreeModel::AssignOptions(const LazyTreeModel& source)
{
    SetPaintOptions(source.m_options.PaintOptions);
    SetAnimationOptions(source.m_options.AnimationOptions);
    SetAutoOptions(source.m_options.AutoOptions);
    SetSelectionOptions(source.m_options.SelectionOptions);
    SetMiscOptions(source.m_options.MiscOptions);
}

}  // namespace zfw
