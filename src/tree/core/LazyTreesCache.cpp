// The position cache: the rebuild that runs on the shared worker, the lookups, and the
// scheduling, interrupt and take-over steps of the model (see the design note in the header).

#include "tree/core/LazyTreesCache.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace zfw {

std::uint32_t cacheEntryCount(std::uint32_t visibleCount)
{
    if (visibleCount <= 1)
        return 0;
    return (visibleCount + CacheSpacing - 1) / CacheSpacing;
}

bool buildPositionCache(const LazyTreeModel& tree, std::uint32_t entryCount,
                        const std::atomic<bool>& stop, TCache& out)
{
    out.clear();
    if (entryCount == 0)
        return false;
    out.reserve(entryCount);
    std::uint64_t top = 0;
    std::uint32_t count = 0;
    for (PLazyNode node = tree.GetFirstVisibleNoInit(nullptr, true, false); node;
         node = tree.GetNextVisibleNoInit(node, true), ++count) {
        if (stop.load(std::memory_order_relaxed))
            return false;
        if (count % CacheSpacing == 0) {
            out.push_back({node, std::uint32_t(top)});
            if (out.size() == entryCount)
                break;
        }
        top += node->NodeHeight;
    }
    // Fewer rows than counted would leave the tail unfilled. The entries filled are right as
    // they are; a made-up tail entry (the last row paired with the position below it) would
    // give that row a top one row too low and map positions below the content to it.
    return !out.empty() && !stop.load(std::memory_order_relaxed);
}

TTreeCacheState::TTreeCacheState(const LazyTreeModel& tree)
    : job([this, &tree](const std::atomic<bool>& stop) {
          return buildPositionCache(tree, entryCount, stop, building);
      })
{
}

// ----- the model's side -------------------------------------------------------------------

void LazyTreeModel::SetTreeWorker(std::shared_ptr<TreeWorker> worker)
{
    if (worker == m_cache->worker)
        return;
    InterruptValidation();
    m_cache->worker = std::move(worker);
    if (m_cache->worker && !m_destroying) {
        InvalidateCache();
        if (FUpdateCount == 0)
            ScheduleCacheValidation();
    }
}

const std::shared_ptr<TreeWorker>& LazyTreeModel::treeWorker() const { return m_cache->worker; }

void LazyTreeModel::setValidationNotifier(std::function<void()> notify)
{
    if (m_cache->handedOver)
        InterruptValidation();
    m_cache->job.finished = std::move(notify);
}

const TCache& LazyTreeModel::positionCache() const { return m_cache->entries; }

std::uint32_t LazyTreeModel::CacheEntryCount() const { return cacheEntryCount(FVisibleCount); }

void LazyTreeModel::InvalidateCache() { DoStateChange({tsValidationNeeded}, {tsUseCache}); }

void LazyTreeModel::ScheduleCacheValidation()
{
    InterruptValidation();
    if (m_destroying || !m_cache->worker || !FStates.contains(tsValidationNeeded)
        || FVisibleCount <= CacheSpacing)
        return;
    m_cache->entryCount = CacheEntryCount();
    DoStateChange({}, {tsStopValidation});
    if (!m_cache->worker->schedule(m_cache->job))
        return;
    m_cache->handedOver = true;
    DoStateChange({tsValidating});
}

void LazyTreeModel::InterruptValidation()
{
    DoStateChange({tsStopValidation}, {tsUseCache});
    if (!m_cache->handedOver)
        return;
    m_cache->handedOver = false;
    m_cache->worker->withdraw(m_cache->job);
    m_cache->building.clear();
    // Decided after the wait, not before it: the worker may have taken the tree up meanwhile,
    // and nothing it built matches the tree that is about to change.
    DoStateChange({tsValidationNeeded}, {tsValidating});
}

bool LazyTreeModel::takeValidationResult()
{
    if (!m_cache->handedOver)
        return false;
    const TreeJobOutcome outcome = m_cache->worker->takeOutcome(m_cache->job);
    if (outcome == TreeJobOutcome::None)
        return false;
    m_cache->handedOver = false;
    if (outcome == TreeJobOutcome::Finished) {
        m_cache->entries.swap(m_cache->building);
        m_cache->building.clear();
        DoStateChange({tsUseCache}, {tsValidating, tsValidationNeeded, tsStopValidation});
        return true;
    }
    m_cache->building.clear();
    DoStateChange({}, {tsValidating, tsStopValidation});
    return false;
}

int LazyTreeModel::ComparePositions(PLazyNode node1, PLazyNode node2,
                                    bool considerChildrenAbove) const
{
    if (!node1 || !node2)
        lazyTreeAssert("Nodes must never be nil.");
    if (node1 == node2)
        return 0;
    const bool above = considerChildrenAbove && m_options.PaintOptions.contains(toChildrenAbove);
    if (HasAsParent(node1, node2))
        return above ? -1 : 1;
    if (HasAsParent(node2, node1))
        return above ? 1 : -1;
    std::uint32_t level1 = GetNodeLevel(node1);
    std::uint32_t level2 = GetNodeLevel(node2);
    for (; level1 > level2; --level1)
        node1 = node1->Parent;
    for (; level2 > level1; --level2)
        node2 = node2->Parent;
    while (node1->Parent != node2->Parent) {
        node1 = node1->Parent;
        node2 = node2->Parent;
    }
    const std::int64_t diff = std::int64_t(node1->Index) - std::int64_t(node2->Index);
    return diff < INT_MIN ? INT_MIN : diff > INT_MAX ? INT_MAX : int(diff);
}

namespace {

// The last cache entry for which notAfter holds (entries are in shown order, so notAfter is
// true for a leading run); null when it holds for none.
template <class NotAfter>
PLazyNode lastEntryNotAfter(const TCache& cache, std::uint32_t& currentPos, NotAfter notAfter)
{
    const auto end = std::partition_point(cache.begin(), cache.end(), notAfter);
    if (end == cache.begin())
        return nullptr;
    currentPos = std::prev(end)->AbsoluteTop;
    return std::prev(end)->Node;
}

}  // namespace

PLazyNode LazyTreeModel::FindInPositionCache(PLazyNode node, std::uint32_t& currentPos) const
{
    currentPos = 0;
    const TCache& cache = m_cache->entries;
    if (!node || !FStates.contains(tsUseCache) || cache.empty())
        return nullptr;
    // The entries are in shown order, where children come first under toChildrenAbove; the
    // comparison must use the same order, or the search may settle on an entry after the node.
    return lastEntryNotAfter(cache, currentPos, [&](const auto& entry) {
        return ComparePositions(entry.Node, node, true) <= 0;
    });
}

PLazyNode LazyTreeModel::FindInPositionCache(std::uint32_t position,
                                             std::uint32_t& currentPos) const
{
    currentPos = 0;
    const TCache& cache = m_cache->entries;
    if (!FStates.contains(tsUseCache) || cache.empty())
        return nullptr;
    return lastEntryNotAfter(cache, currentPos,
                             [&](const auto& entry) { return entry.AbsoluteTop <= position; });
}

PLazyNode LazyTreeModel::CachedNodeAt(int y, int& nodeTop) const
{
    std::uint32_t top = 0;
    PLazyNode node = FindInPositionCache(std::uint32_t(y < 0 ? 0 : y), top);
    nodeTop = int(top);
    return node;
}

std::int64_t LazyTreeModel::rowTop(PLazyNode node)
{
    takeValidationResult();
    if (!m_options.MiscOptions.contains(toVariableNodeHeight) && !childrenAbove(true) && node
        && node != FRoot && GetFullyVisible(node)) {
        // Stored heights are final: the rows above are the shown subtrees of the earlier
        // siblings along the path plus the ancestors' own rows. A long sibling chain is left
        // to the cache below, which never needs more than one block.
        std::int64_t top = 0;
        std::uint32_t steps = 0;
        bool done = true;
        for (PLazyNode run = node; run != FRoot && done; run = run->Parent) {
            for (PLazyNode s = run->PrevSibling; s; s = s->PrevSibling) {
                if (++steps > 2 * CacheSpacing) {
                    done = false;
                    break;
                }
                if (s->has(vsVisible))
                    top += s->TotalHeight;
            }
            if (run->Parent != FRoot)
                top += ownRowHeight(run->Parent);
        }
        if (done)
            return top;
    }
    std::uint32_t cachedTop = 0;
    if (PLazyNode run = FindInPositionCache(node, cachedTop)) {
        // The node lies within the block that starts at the entry; a node that is not shown
        // is never met, and the walk gives up after one block.
        std::int64_t top = cachedTop;
        for (std::uint32_t steps = 0; run && steps <= CacheSpacing; ++steps) {
            if (run == node)
                return top;
            top += MeasureNodeHeight(run);
            run = GetNextVisibleNoInit(run, true);
        }
    }
    std::int64_t top = 0;
    for (PLazyNode run = GetPreviousVisibleNoInit(node, true); run;
         run = GetPreviousVisibleNoInit(run, true))
        top += MeasureNodeHeight(run);
    return top;
}

PLazyNode LazyTreeModel::skipToPosition(PLazyNode node, std::int64_t& top, std::int64_t y) const
{
    // Each node's TotalHeight is the span of its shown rows (its own row, then, when expanded,
    // its children with vsVisible), so a subtree that ends at or above y is passed in one step.
    const auto firstShownChild = [](PLazyNode n) {
        PLazyNode c = n->FirstChild;
        while (c && !c->has(vsVisible))
            c = c->NextSibling;
        return c;
    };
    if (node == FRoot) {
        node = firstShownChild(FRoot);
        if (!FRoot->has(vsExpanded))
            node = nullptr;
    }
    while (node) {
        const std::int64_t span = node->TotalHeight;
        if (y < top + span) {
            const std::int64_t own = ownRowHeight(node);
            if (y < top + own)
                return node;
            top += own;
            node = node->has(vsExpanded) ? firstShownChild(node) : nullptr;
            continue;
        }
        top += span;
        // The next shown sibling, climbing to the parents' siblings at the end of a chain.
        PLazyNode next = node->NextSibling;
        while (true) {
            while (next && !next->has(vsVisible))
                next = next->NextSibling;
            if (next || node->Parent == FRoot || !node->Parent)
                break;
            node = node->Parent;
            next = node->NextSibling;
        }
        node = next;
    }
    return nullptr;
}

}  // namespace zfw
