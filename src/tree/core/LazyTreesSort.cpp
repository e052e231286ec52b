// Sorting: a stable merge sort on the NextSibling links of one sibling chain, then relinking.
// No node moves in memory and no event fires per node besides the comparison.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

#include <exception>

namespace zfw {

namespace {

struct ChainSorter {
    LazyTreeModel& tree;
    std::function<int(PLazyNode, PLazyNode)> compare;
    TSortDirection direction;
    PLazyNode head;  // rest of the chain still to be consumed

    // Equal nodes keep their relative order in both directions: the second list's head is taken
    // only on a strict answer.
    PLazyNode merge(PLazyNode a, PLazyNode b)
    {
        TLazyNode dummy;
        PLazyNode tail = &dummy;
        while (a && b) {
            const int c = compare(a, b);
            const bool takeB = direction == sdAscending ? c > 0 : c < 0;
            if (takeB) {
                tail->NextSibling = b;
                b = b->NextSibling;
            } else {
                tail->NextSibling = a;
                a = a->NextSibling;
            }
            tail = tail->NextSibling;
        }
        tail->NextSibling = a ? a : b;
        return dummy.NextSibling;
    }

    // Sorts the next n nodes of the chain; recursion depth is about log2(n).
    PLazyNode sort(std::uint32_t n)
    {
        if (n == 1) {
            PLazyNode single = head;
            head = head->NextSibling;
            single->NextSibling = nullptr;
            return single;
        }
        PLazyNode a = sort(n / 2);
        PLazyNode b = sort((n + 1) / 2);
        return merge(a, b);
    }
};

}  // namespace

void LazyTreeModel::sortChain(PLazyNode node, TColumnIndex column, TSortDirection direction)
{
    // A comparison that raises must not leave the chain cut into pieces: from then on every
    // comparison answers 0 (as after a cancel), the chain is relinked whole, and the exception
    // is raised again afterwards.
    std::exception_ptr failure;
    ChainSorter sorter{*this,
                       [this, column, &failure](PLazyNode a, PLazyNode b) {
                           if (failure || OperationCanceled())
                               return 0;
                           try {
                               return DoCompareNodes(a, b, column);
                           } catch (...) {
                               failure = std::current_exception();
                               return 0;
                           }
                       },
                       direction, node->FirstChild};
    PLazyNode first = sorter.sort(node->ChildCount);
    node->FirstChild = first;
    PLazyNode prev = nullptr;
    std::uint32_t index = 0;
    for (PLazyNode run = first; run; run = run->NextSibling) {
        run->PrevSibling = prev;
        run->Index = index++;
        prev = run;
    }
    node->LastChild = prev;
    if (failure)
        std::rethrow_exception(failure);
}

void LazyTreeModel::Sort(PLazyNode node, TColumnIndex column, TSortDirection direction, bool doInit)
{
    InterruptValidation();
    StopNoticeTimer(2);
    DoStateChange({}, {tsEditPending});
    if (FStates.contains(tsEditing) && !EndEditNode())
        return;
    if (!node)
        node = FRoot;
    if (!node->has(vsHasChildren))
        return;
    if (doInit) {
        if (node->ChildCount == 0)
            InitChildren(node);
        if (node->ChildCount > 0)
            ValidateChildren(node, false);
    }
    if (node->ChildCount > 1) {
        BeginOperation(okSortNode);
        ScopeGuard end([this] { EndOperation(okSortNode); });
        sortChain(node, column, direction);
        InvalidateCache();
    }
    if (FUpdateCount == 0) {
        ScheduleCacheValidation();
        Invalidate();
    }
}

void LazyTreeModel::sortTreeWalk(PLazyNode node, TColumnIndex column, TSortDirection direction,
                                 bool doInit)
{
    Sort(node, column, direction, doInit);
    for (PLazyNode c = node->FirstChild; c && !OperationCanceled(); c = c->NextSibling) {
        if (doInit)
            touch(c, true);
        if (c->has(vsInitialized)
            && (!m_options.AutoOptions.contains(toAutoSort) || c->has(vsExpanded)))
            sortTreeWalk(c, column, direction, doInit);
    }
}

void LazyTreeModel::SortTree(TColumnIndex column, TSortDirection direction, bool doInit)
{
    if (FRoot->TotalCount <= 2)
        return;
    ++FUpdateCount;
    ScopeGuard guard([this] {
        if (--FUpdateCount == 0) {
            ScheduleCacheValidation();
            Invalidate();
        }
    });
    if (column >= NoColumn) {
        BeginOperation(okSortTree);
        struct End {
            LazyTreeModel* t;
            ~End() { t->EndOperation(okSortTree); }
        } end{this};
        sortTreeWalk(FRoot, column, direction, doInit);
    }
    InvalidateCache();
}

}  // namespace zfw
