// Walking the tree: document order and children-above order, with and without initialising
// what the walk touches, visible walks, the filtered families, levels, absolute positions and
// the callback iterator.
//
// Every pair Xxx / XxxNoInit shares one walker with an `init` switch; with init off a walker
// only follows the links that exist and changes nothing.

#include "tree/core/LazyTrees.h"

namespace zfw {

namespace {

void assertNotRoot(PLazyNode node, PLazyNode root)
{
    if (node == root)
        lazyTreeAssert("Node must not be the hidden root node.");
}

}  // namespace

bool LazyTreeModel::childrenAbove(bool cca) const
{
    return cca && m_options.PaintOptions.contains(toChildrenAbove);
}

void LazyTreeModel::touch(PLazyNode node, bool init)
{
    if (init && node && node != FRoot && !node->has(vsInitialized))
        InitNode(node);
}

void LazyTreeModel::askChildren(PLazyNode node, bool init)
{
    if (!init || !node)
        return;
    touch(node, true);
    if (node->has(vsHasChildren) && node->ChildCount == 0)
        InitChildren(node);
}

// ----- plain order ------------------------------------------------------------------------

PLazyNode LazyTreeModel::walkFirst(bool cca, bool init)
{
    if (!childrenAbove(cca)) {
        PLazyNode r = FRoot->FirstChild;
        touch(r, init);
        return r;
    }
    PLazyNode run = FRoot;
    for (;;) {
        askChildren(run, init);
        if (!run->FirstChild)
            break;
        run = run->FirstChild;
    }
    return run == FRoot ? nullptr : run;
}

PLazyNode LazyTreeModel::nextAfterSubtree(PLazyNode node) const
{
    for (PLazyNode run = node; run && run != FRoot; run = run->Parent) {
        if (run->NextSibling)
            return run->NextSibling;
    }
    return nullptr;
}

PLazyNode LazyTreeModel::walkNext(PLazyNode node, bool cca, bool init)
{
    if (!node)
        return nullptr;
    assertNotRoot(node, FRoot);
    PLazyNode r;
    if (!childrenAbove(cca)) {
        askChildren(node, init);
        r = node->FirstChild ? node->FirstChild : nextAfterSubtree(node);
    } else if (node->NextSibling) {
        r = node->NextSibling;
        for (;;) {
            askChildren(r, init);
            if (!r->FirstChild)
                break;
            r = r->FirstChild;
        }
    } else {
        r = node->Parent == FRoot ? nullptr : node->Parent;
    }
    touch(r, init);
    return r;
}

PLazyNode LazyTreeModel::walkLast(PLazyNode node, bool cca, bool init)
{
    if (!node)
        node = FRoot;
    askChildren(node, init);
    PLazyNode r = node->LastChild;
    if (!childrenAbove(cca)) {
        while (r) {
            askChildren(r, init);
            if (!r->LastChild)
                break;
            r = r->LastChild;
        }
    }
    touch(r, init);
    return r;
}

PLazyNode LazyTreeModel::walkPrevious(PLazyNode node, bool cca, bool init)
{
    if (!node)
        return nullptr;
    assertNotRoot(node, FRoot);
    PLazyNode r = nullptr;
    if (!childrenAbove(cca)) {
        if (node->PrevSibling) {
            r = walkLast(node->PrevSibling, false, init);
            if (!r)
                r = node->PrevSibling;
        } else {
            r = node->Parent == FRoot ? nullptr : node->Parent;
        }
    } else {
        askChildren(node, init);
        if (node->LastChild) {
            r = node->LastChild;
        } else {
            for (PLazyNode run = node; run && run != FRoot; run = run->Parent) {
                if (run->PrevSibling) {
                    r = run->PrevSibling;
                    break;
                }
            }
        }
    }
    touch(r, init);
    return r;
}

PLazyNode LazyTreeModel::walkFirstChild(PLazyNode node, bool init)
{
    if (!node)
        node = FRoot;
    if (!init && !node->has(vsHasChildren))
        return nullptr;
    askChildren(node, init);
    touch(node->FirstChild, init);
    return node->FirstChild;
}

PLazyNode LazyTreeModel::walkLastChild(PLazyNode node, bool init)
{
    if (!node)
        node = FRoot;
    if (!init && !node->has(vsHasChildren))
        return nullptr;
    askChildren(node, init);
    touch(node->LastChild, init);
    return node->LastChild;
}

PLazyNode LazyTreeModel::GetFirst(bool cca) { return walkFirst(cca, true); }
PLazyNode LazyTreeModel::GetFirstNoInit(bool cca) const
{
    return const_cast<LazyTreeModel*>(this)->walkFirst(cca, false);
}
PLazyNode LazyTreeModel::GetNext(PLazyNode node, bool cca) { return walkNext(node, cca, true); }
PLazyNode LazyTreeModel::GetNextNoInit(PLazyNode node, bool cca) const
{
    return const_cast<LazyTreeModel*>(this)->walkNext(node, cca, false);
}
PLazyNode LazyTreeModel::GetPrevious(PLazyNode node, bool cca)
{
    return walkPrevious(node, cca, true);
}
PLazyNode LazyTreeModel::GetPreviousNoInit(PLazyNode node, bool cca) const
{
    return const_cast<LazyTreeModel*>(this)->walkPrevious(node, cca, false);
}
PLazyNode LazyTreeModel::GetLast(PLazyNode node, bool cca) { return walkLast(node, cca, true); }
PLazyNode LazyTreeModel::GetLastNoInit(PLazyNode node, bool cca) const
{
    return const_cast<LazyTreeModel*>(this)->walkLast(node, cca, false);
}
PLazyNode LazyTreeModel::GetFirstChild(PLazyNode node) { return walkFirstChild(node, true); }
PLazyNode LazyTreeModel::GetFirstChildNoInit(PLazyNode node) const
{
    return const_cast<LazyTreeModel*>(this)->walkFirstChild(node, false);
}
PLazyNode LazyTreeModel::GetLastChild(PLazyNode node) { return walkLastChild(node, true); }
PLazyNode LazyTreeModel::GetLastChildNoInit(PLazyNode node) const
{
    return const_cast<LazyTreeModel*>(this)->walkLastChild(node, false);
}
PLazyNode LazyTreeModel::GetNextSibling(PLazyNode node)
{
    PLazyNode r = node ? node->NextSibling : nullptr;
    touch(r, true);
    return r;
}
PLazyNode LazyTreeModel::GetNextSiblingNoInit(PLazyNode node) const
{
    return node ? node->NextSibling : nullptr;
}
PLazyNode LazyTreeModel::GetPreviousSibling(PLazyNode node)
{
    PLazyNode r = node ? node->PrevSibling : nullptr;
    touch(r, true);
    return r;
}
PLazyNode LazyTreeModel::GetPreviousSiblingNoInit(PLazyNode node) const
{
    return node ? node->PrevSibling : nullptr;
}

// ----- visible siblings and children -------------------------------------------------------

PLazyNode LazyTreeModel::walkVisibleSibling(PLazyNode node, bool forward, bool includeFiltered,
                                            bool init)
{
    if (!node || node == FRoot)
        lazyTreeAssert("Invalid parameter.");
    PLazyNode r = node;
    do {
        r = forward ? r->NextSibling : r->PrevSibling;
        touch(r, init);
    } while (r && !(r->has(vsVisible) && (includeFiltered || !GetEffectivelyFiltered(r))));
    return r;
}

PLazyNode LazyTreeModel::walkFirstVisibleChild(PLazyNode node, bool includeFiltered, bool init)
{
    PLazyNode r = walkFirstChild(node, init);
    if (r && !(r->has(vsVisible) && (includeFiltered || !GetEffectivelyFiltered(r))))
        r = walkVisibleSibling(r, true, includeFiltered, init);
    return r;
}

PLazyNode LazyTreeModel::walkLastVisibleChild(PLazyNode node, bool includeFiltered, bool init)
{
    if (node && node != FRoot && !(GetFullyVisible(node) && node->has(vsExpanded)))
        return nullptr;
    PLazyNode r = walkLastChild(node, init);
    if (r && !(r->has(vsVisible) && (includeFiltered || !GetEffectivelyFiltered(r))))
        r = walkVisibleSibling(r, false, includeFiltered, init);
    return r;
}

PLazyNode LazyTreeModel::GetNextVisibleSibling(PLazyNode node, bool includeFiltered)
{
    return walkVisibleSibling(node, true, includeFiltered, true);
}
PLazyNode LazyTreeModel::GetNextVisibleSiblingNoInit(PLazyNode node, bool includeFiltered) const
{
    return const_cast<LazyTreeModel*>(this)->walkVisibleSibling(node, true, includeFiltered, false);
}
PLazyNode LazyTreeModel::GetPreviousVisibleSibling(PLazyNode node, bool includeFiltered)
{
    return walkVisibleSibling(node, false, includeFiltered, true);
}
PLazyNode LazyTreeModel::GetPreviousVisibleSiblingNoInit(PLazyNode node, bool includeFiltered) const
{
    return const_cast<LazyTreeModel*>(this)->walkVisibleSibling(node, false, includeFiltered,
                                                                false);
}
PLazyNode LazyTreeModel::GetFirstVisibleChild(PLazyNode node, bool includeFiltered)
{
    return walkFirstVisibleChild(node, includeFiltered, true);
}
PLazyNode LazyTreeModel::GetFirstVisibleChildNoInit(PLazyNode node, bool includeFiltered) const
{
    return const_cast<LazyTreeModel*>(this)->walkFirstVisibleChild(node, includeFiltered, false);
}
PLazyNode LazyTreeModel::GetLastVisibleChild(PLazyNode node, bool includeFiltered)
{
    return walkLastVisibleChild(node, includeFiltered, true);
}
PLazyNode LazyTreeModel::GetLastVisibleChildNoInit(PLazyNode node, bool includeFiltered) const
{
    return const_cast<LazyTreeModel*>(this)->walkLastVisibleChild(node, includeFiltered, false);
}

// ----- visible order ----------------------------------------------------------------------

// The outermost node on the path from the root to `node` (inclusive) that is not shown: either
// hidden itself, or below a collapsed parent. Nil when the node is fully visible.
PLazyNode LazyTreeModel::topmostUnshown(PLazyNode node) const
{
    PLazyNode result = nullptr;
    for (PLazyNode run = node; run && run != FRoot; run = run->Parent) {
        const bool parentOpen = run->Parent == FRoot
                                || (run->Parent->has(vsExpanded) && run->Parent->has(vsVisible));
        if (!run->has(vsVisible) || !parentOpen)
            result = run;
    }
    return result;
}

PLazyNode LazyTreeModel::nextSiblingOrClimb(PLazyNode node, bool init)
{
    PLazyNode r = nextAfterSubtree(node);
    touch(r, init);
    return r;
}

// First node in children-above order of the shown part of the chain starting at `node`.
PLazyNode LazyTreeModel::firstShownCA(PLazyNode node, bool init)
{
    for (PLazyNode s = node; s; s = s->NextSibling) {
        touch(s, init);
        if (!s->has(vsVisible))
            continue;
        if (s->has(vsExpanded)) {
            askChildren(s, init);
            if (PLazyNode d = firstShownCA(s->FirstChild, init))
                return d;
        }
        return s;
    }
    return nullptr;
}

PLazyNode LazyTreeModel::nextVisibleStep(PLazyNode node, bool cca, bool init)
{
    const bool ca = childrenAbove(cca);
    if (PLazyNode x = topmostUnshown(node)) {
        const bool hiddenByCollapse = x->Parent != FRoot && !x->Parent->has(vsExpanded);
        if (ca) {
            if (hiddenByCollapse)
                return x->Parent;
            PLazyNode r = firstShownCA(x->NextSibling, init);
            return r ? r : (x->Parent == FRoot ? nullptr : x->Parent);
        }
        node = hiddenByCollapse ? x->Parent : x;
        PLazyNode r = nextSiblingOrClimb(node, init);
        while (r && !r->has(vsVisible))
            r = nextSiblingOrClimb(r, init);
        return r;
    }
    if (ca) {
        PLazyNode r = firstShownCA(node->NextSibling, init);
        return r ? r : (node->Parent == FRoot ? nullptr : node->Parent);
    }
    PLazyNode r = nullptr;
    if (node->has(vsExpanded)) {
        askChildren(node, init);
        r = node->FirstChild;
        touch(r, init);
    }
    if (!r)
        r = nextSiblingOrClimb(node, init);
    while (r && !r->has(vsVisible))
        r = nextSiblingOrClimb(r, init);
    return r;
}

PLazyNode LazyTreeModel::walkNextVisible(PLazyNode node, bool cca, bool init)
{
    if (!node)
        return nullptr;
    assertNotRoot(node, FRoot);
    PLazyNode r = node;
    do {
        r = nextVisibleStep(r, cca, init);
    } while (r && !(GetFullyVisible(r) && !GetEffectivelyFiltered(r)));
    return r;
}

// The last shown node of the subtree below `node` in document order, nil when none is shown.
PLazyNode LazyTreeModel::lastShownDescendant(PLazyNode node, bool init)
{
    PLazyNode result = nullptr;
    for (PLazyNode cur = node; cur == FRoot || cur->has(vsExpanded);) {
        askChildren(cur, init);
        PLazyNode c = cur->LastChild;
        while (c && !c->has(vsVisible))
            c = c->PrevSibling;
        if (!c)
            break;
        touch(c, init);
        result = cur = c;
    }
    return result;
}

PLazyNode LazyTreeModel::previousVisibleSiblingOrClimb(PLazyNode node, bool init)
{
    for (PLazyNode run = node; run && run != FRoot; run = run->Parent) {
        for (PLazyNode s = run->PrevSibling; s; s = s->PrevSibling) {
            touch(s, init);
            if (s->has(vsVisible))
                return s;
        }
    }
    return nullptr;
}

PLazyNode LazyTreeModel::previousVisibleStep(PLazyNode node, bool cca, bool init)
{
    const bool ca = childrenAbove(cca);
    if (PLazyNode x = topmostUnshown(node)) {
        const bool hiddenByCollapse = x->Parent != FRoot && !x->Parent->has(vsExpanded);
        if (!ca && hiddenByCollapse)
            return x->Parent;
        node = (ca && hiddenByCollapse) ? x->Parent : x;
        if (ca)
            return previousVisibleSiblingOrClimb(node, init);
    } else if (ca) {
        if (node->has(vsExpanded)) {
            askChildren(node, init);
            PLazyNode c = node->LastChild;
            while (c && !c->has(vsVisible))
                c = c->PrevSibling;
            if (c) {
                touch(c, init);
                return c;
            }
        }
        return previousVisibleSiblingOrClimb(node, init);
    }
    PLazyNode s = node->PrevSibling;
    touch(s, init);
    while (s && !s->has(vsVisible)) {
        s = s->PrevSibling;
        touch(s, init);
    }
    if (!s)
        return node->Parent == FRoot ? nullptr : node->Parent;
    PLazyNode d = lastShownDescendant(s, init);
    return d ? d : s;
}

PLazyNode LazyTreeModel::walkPreviousVisible(PLazyNode node, bool cca, bool init)
{
    if (!node)
        return nullptr;
    assertNotRoot(node, FRoot);
    PLazyNode r = node;
    do {
        r = previousVisibleStep(r, cca, init);
    } while (r && !(GetFullyVisible(r) && !GetEffectivelyFiltered(r)));
    return r;
}

PLazyNode LazyTreeModel::walkFirstVisible(PLazyNode node, bool cca, bool includeFiltered, bool init)
{
    if (!node)
        node = FRoot;
    if (!node->has(vsHasChildren))
        return nullptr;
    askChildren(node, init);
    PLazyNode r = node->FirstChild;
    touch(r, init);
    if (!childrenAbove(cca)) {
        while (r && !r->has(vsVisible))
            r = nextSiblingOrClimb(r, init);
    } else {
        PLazyNode d = firstShownCA(r, init);
        r = d ? d : (node == FRoot ? nullptr : node);
    }
    if (r && !includeFiltered && GetEffectivelyFiltered(r))
        r = walkNextVisible(r, true, init);
    return r;
}

// The last node of the subtree (nil: the tree) that is fully visible and, unless filtered
// nodes are included, not filtered. Found by descending last shown children instead of walking
// back through whole collapsed subtrees.
PLazyNode LazyTreeModel::walkLastVisible(PLazyNode node, bool cca, bool includeFiltered, bool init)
{
    if (!node)
        node = FRoot;
    if (node != FRoot && !(GetFullyVisible(node) && node->has(vsExpanded)))
        return nullptr;
    PLazyNode r;
    if (childrenAbove(cca)) {
        askChildren(node, init);
        r = node->LastChild;
        while (r && !r->has(vsVisible))
            r = r->PrevSibling;
        touch(r, init);
    } else {
        r = lastShownDescendant(node, init);
    }
    if (r && !includeFiltered && GetEffectivelyFiltered(r)) {
        r = walkPreviousVisible(r, cca, init);
        if (r && node != FRoot && !HasAsParent(r, node))
            r = nullptr;
    }
    return r;
}

PLazyNode LazyTreeModel::GetFirstVisible(PLazyNode node, bool cca, bool includeFiltered)
{
    return walkFirstVisible(node, cca, includeFiltered, true);
}
PLazyNode LazyTreeModel::GetFirstVisibleNoInit(PLazyNode node, bool cca, bool includeFiltered) const
{
    return const_cast<LazyTreeModel*>(this)->walkFirstVisible(node, cca, includeFiltered, false);
}
PLazyNode LazyTreeModel::GetNextVisible(PLazyNode node, bool cca)
{
    return walkNextVisible(node, cca, true);
}
PLazyNode LazyTreeModel::GetNextVisibleNoInit(PLazyNode node, bool cca) const
{
    return const_cast<LazyTreeModel*>(this)->walkNextVisible(node, cca, false);
}
PLazyNode LazyTreeModel::GetPreviousVisible(PLazyNode node, bool cca)
{
    return walkPreviousVisible(node, cca, true);
}
PLazyNode LazyTreeModel::GetPreviousVisibleNoInit(PLazyNode node, bool cca) const
{
    return const_cast<LazyTreeModel*>(this)->walkPreviousVisible(node, cca, false);
}
PLazyNode LazyTreeModel::GetLastVisible(PLazyNode node, bool cca, bool includeFiltered)
{
    return walkLastVisible(node, cca, includeFiltered, true);
}
PLazyNode LazyTreeModel::GetLastVisibleNoInit(PLazyNode node, bool cca, bool includeFiltered) const
{
    return const_cast<LazyTreeModel*>(this)->walkLastVisible(node, cca, includeFiltered, false);
}

// ----- filtered families -------------------------------------------------------------------

// Walks without initialising from `from` (inclusive) and initialises only the node found.
template <class Pred>
PLazyNode LazyTreeModel::scanForward(PLazyNode from, bool cca, Pred pred)
{
    PLazyNode r = from;
    while (r && !pred(r))
        r = GetNextNoInit(r, cca);
    touch(r, true);
    return r;
}

template <class Pred>
PLazyNode LazyTreeModel::scanBackward(PLazyNode from, bool cca, Pred pred)
{
    PLazyNode r = from;
    while (r && !pred(r))
        r = GetPreviousNoInit(r, cca);
    touch(r, true);
    return r;
}

PLazyNode LazyTreeModel::GetFirstChecked(TCheckState state, bool cca)
{
    return scanForward(GetFirstNoInit(cca), cca,
                       [state](PLazyNode n) { return n->CheckState == state; });
}
PLazyNode LazyTreeModel::GetNextChecked(PLazyNode node, TCheckState state, bool cca)
{
    return scanForward(node ? GetNextNoInit(node, cca) : GetFirstNoInit(cca), cca,
                       [state](PLazyNode n) { return n->CheckState == state; });
}
PLazyNode LazyTreeModel::GetPreviousChecked(PLazyNode node, TCheckState state, bool cca)
{
    return scanBackward(node ? GetPreviousNoInit(node, cca) : GetLastNoInit(nullptr, cca), cca,
                        [state](PLazyNode n) { return n->CheckState == state; });
}

PLazyNode LazyTreeModel::GetFirstCutCopy(bool cca) { return GetNextCutCopy(nullptr, cca); }
PLazyNode LazyTreeModel::GetNextCutCopy(PLazyNode node, bool cca)
{
    if (!FStates.contains(tsCutPending) && !FStates.contains(tsCopyPending))
        return nullptr;
    return scanForward(node ? GetNextNoInit(node, cca) : GetFirstNoInit(cca), cca,
                       [](PLazyNode n) { return n->has(vsCutOrCopy); });
}
PLazyNode LazyTreeModel::GetPreviousCutCopy(PLazyNode node, bool cca)
{
    if (!FStates.contains(tsCutPending) && !FStates.contains(tsCopyPending))
        return nullptr;
    return scanBackward(node ? GetPreviousNoInit(node, cca) : GetLastNoInit(nullptr, cca), cca,
                        [](PLazyNode n) { return n->has(vsCutOrCopy); });
}

PLazyNode LazyTreeModel::GetFirstSelected(bool cca) { return GetNextSelected(nullptr, cca); }
PLazyNode LazyTreeModel::GetNextSelected(PLazyNode node, bool cca)
{
    if (FSelectionCount == 0)
        return nullptr;
    return scanForward(node ? GetNextNoInit(node, cca) : GetFirstNoInit(cca), cca,
                       [](PLazyNode n) { return n->has(vsSelected); });
}
PLazyNode LazyTreeModel::GetPreviousSelected(PLazyNode node, bool cca)
{
    if (FSelectionCount == 0)
        return nullptr;
    return scanBackward(node ? GetPreviousNoInit(node, cca) : GetLastNoInit(nullptr, cca), cca,
                        [](PLazyNode n) { return n->has(vsSelected); });
}

PLazyNode LazyTreeModel::GetFirstInitialized(bool cca) const
{
    return GetNextInitialized(nullptr, cca);
}
PLazyNode LazyTreeModel::GetNextInitialized(PLazyNode node, bool cca) const
{
    PLazyNode r = node ? GetNextNoInit(node, cca) : GetFirstNoInit(cca);
    while (r && !r->has(vsInitialized))
        r = GetNextNoInit(r, cca);
    return r;
}
PLazyNode LazyTreeModel::GetPreviousInitialized(PLazyNode node, bool cca) const
{
    PLazyNode r = node ? GetPreviousNoInit(node, cca) : GetLastNoInit(nullptr, cca);
    while (r && !r->has(vsInitialized))
        r = GetPreviousNoInit(r, cca);
    return r;
}
PLazyNode LazyTreeModel::GetLastInitialized(PLazyNode node, bool cca) const
{
    PLazyNode r = GetLastNoInit(node, cca);
    while (r && r != node && !r->has(vsInitialized))
        r = GetPreviousNoInit(r, cca);
    return r == node ? nullptr : r;
}

PLazyNode LazyTreeModel::GetFirstLeaf() { return GetNextLeaf(nullptr); }
PLazyNode LazyTreeModel::GetNextLeaf(PLazyNode node)
{
    PLazyNode r = node ? GetNext(node) : GetFirst();
    // Asking for the children first: a node whose owner answers no children is a leaf.
    while (r) {
        askChildren(r, true);
        if (!r->has(vsHasChildren))
            break;
        r = GetNext(r);
    }
    return r;
}
PLazyNode LazyTreeModel::GetPreviousLeaf(PLazyNode node)
{
    PLazyNode r = node ? GetPrevious(node) : GetLast();
    while (r) {
        askChildren(r, true);
        if (!r->has(vsHasChildren))
            break;
        r = GetPrevious(r);
    }
    return r;
}

PLazyNode LazyTreeModel::GetFirstLevel(std::uint32_t nodeLevel)
{
    const bool ca = m_options.PaintOptions.contains(toChildrenAbove);
    PLazyNode r = GetFirstNoInit(ca);
    while (r && GetNodeLevel(r) != nodeLevel)
        r = GetNextNoInit(r, ca);
    touch(r, true);
    return r;
}

PLazyNode LazyTreeModel::GetNextLevel(PLazyNode node, std::uint32_t nodeLevel)
{
    if (!node || node == FRoot)
        return nullptr;
    std::uint32_t level = GetNodeLevel(node);
    while (level > nodeLevel) {
        node = node->Parent;
        --level;
    }
    PLazyNode r;
    if (level == nodeLevel) {
        if (node->NextSibling) {
            touch(node->NextSibling, true);
            return node->NextSibling;
        }
        PLazyNode a = node->Parent;
        while (a != FRoot && !a->NextSibling)
            a = a->Parent;
        if (a == FRoot)
            return nullptr;
        r = a->NextSibling;
        touch(r, true);
        if (GetNodeLevel(r) == nodeLevel)
            return r;
    } else {
        r = node;
    }
    do {
        r = GetNext(r);
    } while (r && GetNodeLevel(r) != nodeLevel);
    return r;
}

PLazyNode LazyTreeModel::GetPreviousLevel(PLazyNode node, std::uint32_t nodeLevel)
{
    if (!node || node == FRoot)
        return nullptr;
    std::uint32_t level = GetNodeLevel(node);
    if (level > nodeLevel) {
        // The ancestor at the level comes right before its subtree in document order.
        while (level > nodeLevel) {
            node = node->Parent;
            --level;
        }
        touch(node, true);
        return node;
    }
    PLazyNode r = node;
    do {
        r = GetPrevious(r);
    } while (r && GetNodeLevel(r) != nodeLevel);
    return r;
}

// ----- positions and ancestry --------------------------------------------------------------

std::uint32_t LazyTreeModel::AbsoluteIndex(PLazyNode node)
{
    std::uint32_t result = 0;
    while (node && node != FRoot) {
        touch(node, true);
        if (node->PrevSibling) {
            node = node->PrevSibling;
            result += node->TotalCount;
        } else {
            node = node->Parent;
            if (node != FRoot)
                ++result;
        }
    }
    return result;
}

PLazyNode LazyTreeModel::GetVisibleParent(PLazyNode node, bool includeFiltered)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    assertNotRoot(node, FRoot);
    PLazyNode r = node->Parent;
    while (r != FRoot && !(GetFullyVisible(r) && (includeFiltered || !GetEffectivelyFiltered(r))))
        r = r->Parent;
    return r;
}

bool LazyTreeModel::HasAsParent(PLazyNode node, PLazyNode potentialParent) const
{
    if (!node || !potentialParent || node == potentialParent)
        return false;
    for (PLazyNode run = node; run && !run->isRoot();) {
        run = run->Parent;
        if (run == potentialParent)
            return true;
    }
    return false;
}

TNodeArray LazyTreeModel::GetSortedSelection(bool resolve) const
{
    TNodeArray result;
    if (FSelectionCount == 0)
        return result;
    result.reserve(FSelectionCount);
    for (PLazyNode run = GetFirstNoInit(); run;) {
        if (run->has(vsSelected)) {
            result.push_back(run);
            if (resolve) {
                run = nextAfterSubtree(run);
                continue;
            }
        }
        run = GetNextNoInit(run);
    }
    return result;
}

TNodeArray LazyTreeModel::GetSortedCutCopySet(bool resolve) const
{
    TNodeArray result;
    for (PLazyNode run = GetFirstNoInit(); run;) {
        if (run->has(vsCutOrCopy)) {
            result.push_back(run);
            if (resolve) {
                run = nextAfterSubtree(run);
                continue;
            }
        }
        run = GetNextNoInit(run);
    }
    return result;
}

PLazyNode LazyTreeModel::IterateSubtree(PLazyNode node, const TLTGetNodeProc& callback, void* data,
                                        TLazyNodeStates filter, bool doInit, bool childNodesOnly)
{
    assertNotRoot(node, FRoot);
    const bool wasIterating = FStates.contains(tsIterating);
    DoStateChange({tsIterating});
    struct Leave {
        LazyTreeModel* t;
        bool was;
        ~Leave()
        {
            if (!was)
                t->DoStateChange({}, {tsIterating});
        }
    } leave{this, wasIterating};

    PLazyNode stop = nullptr;
    PLazyNode run;
    if (node) {
        stop = nextAfterSubtree(node);
        touch(node, doInit);
        run = node;
        if (childNodesOnly) {
            if (doInit)
                askChildren(node, true);
            run = node->FirstChild;
        }
    } else {
        run = GetFirstNoInit();
        touch(run, doInit);
    }
    while (run && run != stop) {
        if (filter.empty() || run->States.containsAll(filter)) {
            bool abort = false;
            callback(*this, run, data, abort);
            if (abort)
                return run;
        }
        run = doInit ? GetNext(run) : GetNextNoInit(run);
    }
    return nullptr;
}

}  // namespace zfw
