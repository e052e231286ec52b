// Ranges of nodes for loops, and finding the row at a vertical position.

#include "tree/core/LazyTrees.h"

namespace zfw {

PLazyNode TLTLazyNodeEnumeration::step(PLazyNode node) const
{
    LazyTreeModel& t = *FTree;
    const bool cca = FConsiderChildrenAbove;
    switch (FMode) {
    case vneAll: return node ? t.GetNext(node, cca) : t.GetFirst(cca);
    case vneChecked:
        return node ? t.GetNextChecked(node, FState, cca) : t.GetFirstChecked(FState, cca);
    case vneChild: return node ? t.GetNextSibling(node) : t.GetFirstChild(FNode);
    case vneCutCopy: return node ? t.GetNextCutCopy(node, cca) : t.GetFirstCutCopy(cca);
    case vneInitialized: return node ? t.GetNextInitialized(node, cca) : t.GetFirstInitialized(cca);
    case vneLeaf: return node ? t.GetNextLeaf(node) : t.GetFirstLeaf();
    case vneLevel: return node ? t.GetNextLevel(node, FNodeLevel) : t.GetFirstLevel(FNodeLevel);
    case vneNoInit: return node ? t.GetNextNoInit(node, cca) : t.GetFirstNoInit(cca);
    case vneSelected: return node ? t.GetNextSelected(node, cca) : t.GetFirstSelected(cca);
    case vneVisible: {
        PLazyNode r = node ? t.GetNextVisible(node, cca)
                           : t.GetFirstVisible(FNode, cca, FIncludeFiltered);
        while (r && !FIncludeFiltered && t.GetEffectivelyFiltered(r))
            r = t.GetNextVisible(r, cca);
        return r;
    }
    case vneVisibleChild:
        return node ? t.GetNextVisibleSibling(node, FIncludeFiltered)
                    : t.GetFirstVisibleChild(FNode, FIncludeFiltered);
    case vneVisibleNoInitChild:
        return node ? t.GetNextVisibleSiblingNoInit(node, FIncludeFiltered)
                    : t.GetFirstVisibleChildNoInit(FNode, FIncludeFiltered);
    case vneVisibleNoInit: {
        PLazyNode r = node ? t.GetNextVisibleNoInit(node, cca)
                           : t.GetFirstVisibleNoInit(FNode, cca, FIncludeFiltered);
        while (r && !FIncludeFiltered && t.GetEffectivelyFiltered(r))
            r = t.GetNextVisibleNoInit(r, cca);
        return r;
    }
    }
    return nullptr;
}

TLTLazyNodeEnumeration::iterator TLTLazyNodeEnumeration::begin() const
{
    iterator it;
    it.FEnumeration = this;
    it.FNode = FTree ? step(nullptr) : nullptr;
    return it;
}

TLTLazyNodeEnumeration::iterator& TLTLazyNodeEnumeration::iterator::operator++()
{
    if (FNode)
        FNode = FEnumeration->step(FNode);
    return *this;
}

namespace {

TLTLazyNodeEnumeration make(LazyTreeModel* tree, TLZLazyNodeEnumerationMode mode, bool cca = false)
{
    TLTLazyNodeEnumeration e;
    e.FTree = tree;
    e.FMode = mode;
    e.FConsiderChildrenAbove = cca;
    return e;
}

}  // namespace

TLTLazyNodeEnumeration LazyTreeModel::Nodes(bool cca) { return make(this, vneAll, cca); }
TLTLazyNodeEnumeration LazyTreeModel::CheckedNodes(TCheckState state, bool cca)
{
    auto e = make(this, vneChecked, cca);
    e.FState = state;
    return e;
}
TLTLazyNodeEnumeration LazyTreeModel::ChildNodes(PLazyNode node)
{
    auto e = make(this, vneChild);
    e.FNode = node;
    return e;
}
TLTLazyNodeEnumeration LazyTreeModel::CutCopyNodes(bool cca) { return make(this, vneCutCopy, cca); }
TLTLazyNodeEnumeration LazyTreeModel::InitializedNodes(bool cca)
{
    return make(this, vneInitialized, cca);
}
TLTLazyNodeEnumeration LazyTreeModel::LeafNodes() { return make(this, vneLeaf); }
TLTLazyNodeEnumeration LazyTreeModel::LevelNodes(std::uint32_t nodeLevel)
{
    auto e = make(this, vneLevel);
    e.FNodeLevel = nodeLevel;
    return e;
}
TLTLazyNodeEnumeration LazyTreeModel::NoInitNodes(bool cca) { return make(this, vneNoInit, cca); }
TLTLazyNodeEnumeration LazyTreeModel::SelectedNodes(bool cca)
{
    return make(this, vneSelected, cca);
}
TLTLazyNodeEnumeration LazyTreeModel::VisibleNodes(PLazyNode node, bool cca, bool includeFiltered)
{
    auto e = make(this, vneVisible, cca);
    e.FNode = node;
    e.FIncludeFiltered = includeFiltered;
    return e;
}
TLTLazyNodeEnumeration LazyTreeModel::VisibleChildNodes(PLazyNode node, bool includeFiltered)
{
    auto e = make(this, vneVisibleChild);
    e.FNode = node;
    e.FIncludeFiltered = includeFiltered;
    return e;
}
TLTLazyNodeEnumeration LazyTreeModel::VisibleChildNoInitNodes(PLazyNode node, bool includeFiltered)
{
    auto e = make(this, vneVisibleNoInitChild);
    e.FNode = node;
    e.FIncludeFiltered = includeFiltered;
    return e;
}
TLTLazyNodeEnumeration LazyTreeModel::VisibleNoInitNodes(PLazyNode node, bool cca,
                                                         bool includeFiltered)
{
    auto e = make(this, vneVisibleNoInit, cca);
    e.FNode = node;
    e.FIncludeFiltered = includeFiltered;
    return e;
}

PLazyNode LazyTreeModel::GetNodeAt(int x, int y, bool relative, int& nodeTop)
{
    if (relative)
        y -= OffsetY();
    if (y < 0)
        y = 0;
    int top = 0;
    PLazyNode node = nullptr;
    takeValidationResult();
    if (FStates.contains(tsUseCache))
        node = CachedNodeAt(y, top);
    if (!m_options.MiscOptions.contains(toVariableNodeHeight) && !childrenAbove(true)) {
        // Stored heights are final: the row is found by the subtree heights, skipping whole
        // subtrees (and, from a cache entry, the rows before the position) instead of
        // adding up the rows one by one.
        std::int64_t t = node ? top : 0;
        node = skipToPosition(node ? node : FRoot, t, y);
        nodeTop = node ? int(t) + (relative ? OffsetY() : 0) : 0;
        return node;
    }
    if (!node) {
        top = 0;
        node = GetFirstVisibleNoInit(nullptr, true, false);
    }
    while (node) {
        const std::int64_t height = MeasureNodeHeight(node);
        if (y < top + height)
            break;
        top += int(height);
        node = GetNextVisibleNoInit(node, true);
    }
    nodeTop = node ? top + (relative ? OffsetY() : 0) : 0;
    return node;
}

PLazyNode LazyTreeModel::GetNodeAt(int x, int y)
{
    int top = 0;
    return GetNodeAt(x, y, true, top);
}

}  // namespace zfw
