// Node blocks, the hidden root, the subtree counters, lazy initialisation, the update and
// synchronisation brackets, change notices and long operations.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesCache.h"
#include "tree/core/LazyTreesGuard.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

namespace zfw {

void lazyTreeAssert(const char* message) { throw ELazyTreeAssertion(message); }

namespace {

// The root block carries the owning model right behind its record, so that TreeFromNode needs
// no process-wide registry.
LazyTreeModel*& rootOwner(PLazyNode root)
{
    return *reinterpret_cast<LazyTreeModel**>(root->dataArea());
}

}  // namespace

LazyTreeModel::LazyTreeModel() : m_cache(std::make_unique<TTreeCacheState>(*this))
{
    InitRootNode();
}

LazyTreeModel::~LazyTreeModel()
{
    m_destroying = true;
    // The worker must be done with the nodes before they are freed.
    SetTreeWorker(nullptr);
    try {
        Clear();
    } catch (...) {
        // A free handler failed; the blocks still linked are released without further events
        // (a destructor must not throw).
        for (PLazyNode c = FRoot->FirstChild; c;) {
            PLazyNode next = c->NextSibling;
            freeDetached(c);
            c = next;
        }
    }
    std::free(FRoot);
}

std::size_t LazyTreeModel::nodeBlockSize() const
{
    return sizeof(TLazyNode) + std::size_t(std::max(0, FNodeDataSize)) + FTotalInternalDataSize;
}

void LazyTreeModel::InitRootNode(std::size_t oldSize)
{
    const std::size_t size = sizeof(TLazyNode) + sizeof(void*) + FTotalInternalDataSize;
    if (!FRoot) {
        FRoot = static_cast<PLazyNode>(std::calloc(1, size));
        if (!FRoot)
            throw std::bad_alloc();
        new (FRoot) TLazyNode();
    } else {
        // Only while the tree has no nodes, so no other thread looks at the root. Its lock-free
        // atomic state word moves with its bytes like the plain fields.
        auto* grown = static_cast<PLazyNode>(std::realloc(static_cast<void*>(FRoot), size));
        if (!grown)
            throw std::bad_alloc();
        FRoot = grown;
        if (size > oldSize)
            std::memset(reinterpret_cast<char*>(FRoot) + oldSize, 0, size - oldSize);
    }
    FRoot->Parent = nullptr;
    FRoot->PrevSibling = FRoot;
    FRoot->NextSibling = FRoot;
    FRoot->States = {vsInitialized, vsExpanded, vsHasChildren, vsVisible};
    FRoot->TotalCount = 1;
    FRoot->NodeHeight = static_cast<std::uint16_t>(FDefaultNodeHeight);
    FRoot->TotalHeight = std::uint32_t(FDefaultNodeHeight);
    FRoot->Align = 50;
    rootOwner(FRoot) = this;
}

PLazyNode LazyTreeModel::MakeNewNode()
{
    if (FNodeDataSize == -1)
        FNodeDataSize = std::max(0, DoGetNodeDataSize());
    void* block = std::calloc(1, nodeBlockSize());
    if (!block)
        throw std::bad_alloc();
    auto* node = new (block) TLazyNode();
    node->NodeHeight = static_cast<std::uint16_t>(FDefaultNodeHeight);
    node->TotalHeight = std::uint32_t(FDefaultNodeHeight);
    node->States = {vsVisible};
    return node;
}

void LazyTreeModel::FreeNodeBlock(PLazyNode node) { std::free(node); }

void LazyTreeModel::SetNodeDataSize(int size)
{
    if (size < -1)
        size = -1;
    if (size == FNodeDataSize)
        return;
    // Existing blocks were made for the old size; growing it would let callers write past them.
    if (!IsEmpty())
        lazyTreeAssert("NodeDataSize cannot change while the tree has nodes.");
    FNodeDataSize = size;
}

void LazyTreeModel::SetDefaultNodeHeight(int height)
{
    if (height <= 0)
        height = 18;
    height = std::min(height, 0xFFFF);
    if (height == FDefaultNodeHeight && height == FRoot->NodeHeight)
        return;
    InterruptValidation();
    FDefaultNodeHeight = height;
    // The root's own share of the total height follows the default height.
    const std::int64_t delta = height - std::int64_t(FRoot->NodeHeight);
    FRoot->NodeHeight = static_cast<std::uint16_t>(height);
    FRoot->TotalHeight = std::uint32_t(std::int64_t(FRoot->TotalHeight) + delta);
    InvalidateCache();
}

std::size_t LazyTreeModel::AllocateInternalData(std::size_t size)
{
    if (!IsEmpty())
        lazyTreeAssert("Internal data allocation must be done before any node is created.");
    const std::size_t offset = FTotalInternalDataSize;
    const std::size_t oldRoot = sizeof(TLazyNode) + sizeof(void*) + FTotalInternalDataSize;
    FTotalInternalDataSize += (size + 3) & ~std::size_t(3);
    InitRootNode(oldRoot);
    return offset;
}

void* LazyTreeModel::GetNodeData(PLazyNode node)
{
    if (FNodeDataSize <= 0)
        lazyTreeAssert("NodeDataSize not initialized.");
    if (!node || node == FRoot)
        return nullptr;
    return node->GetData();
}

void LazyTreeModel::SetNodeData(PLazyNode node, void* userData)
{
    if (!node || node == FRoot)
        return;
    if (FNodeDataSize < int(sizeof(void*)))
        lazyTreeAssert(
            "TBaseLazyTree: Cannot set initial user data because there is not enough "
            "user data space allocated.");
    std::memcpy(node->GetData(), &userData, sizeof(void*));
}

void TLazyNode::SetData(void* userData)
{
    LazyTreeModel::TreeFromNode(this)->SetNodeData(this, userData);
}

std::uint32_t LazyTreeModel::GetNodeLevel(PLazyNode node) const
{
    std::uint32_t level = 0;
    if (!node || node->isRoot())
        return 0;
    for (PLazyNode p = node->Parent; p && !p->isRoot(); p = p->Parent)
        ++level;
    return level;
}

LazyTreeModel* LazyTreeModel::TreeFromNode(PLazyNode node)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    while (!node->isRoot()) {
        node = node->Parent;
        if (!node)
            lazyTreeAssert("Node is not linked into a tree.");
    }
    return rootOwner(node);
}

// ----- counters ---------------------------------------------------------------------------

std::uint32_t LazyTreeModel::ownRowHeight(PLazyNode node) const
{
    return GetEffectivelyFiltered(node) ? 0u : node->NodeHeight;
}

void LazyTreeModel::AdjustTotalCount(PLazyNode node, std::int64_t value, bool relative)
{
    const std::int64_t delta = relative ? value : value - std::int64_t(node->TotalCount);
    if (delta == 0)
        return;
    for (PLazyNode run = node; run; run = run->isRoot() ? nullptr : run->Parent)
        run->TotalCount = std::uint32_t(std::int64_t(run->TotalCount) + delta);
}

void LazyTreeModel::AdjustTotalHeight(PLazyNode node, std::int64_t value, bool relative)
{
    const std::int64_t delta = relative ? value : value - std::int64_t(node->TotalHeight);
    if (delta == 0)
        return;
    for (PLazyNode run = node;;) {
        run->TotalHeight = std::uint32_t(std::int64_t(run->TotalHeight) + delta);
        if (!run->has(vsVisible) || run->isRoot() || !run->Parent || !run->Parent->has(vsExpanded))
            break;
        run = run->Parent;
    }
    UpdateVerticalRange();
}

std::uint32_t LazyTreeModel::CountVisibleChildren(PLazyNode node) const
{
    if (!node->has(vsExpanded))
        return 0;
    std::uint32_t count = 0;
    for (PLazyNode c = node->FirstChild; c; c = c->NextSibling) {
        if (!c->has(vsVisible))
            continue;
        count += CountVisibleChildren(c) + (GetEffectivelyFiltered(c) ? 0u : 1u);
    }
    return count;
}

void LazyTreeModel::DetermineAllChildrenHidden(PLazyNode node)
{
    if (!node)
        return;
    bool hidden;
    if (node->ChildCount > 0) {
        hidden = true;
        for (PLazyNode c = node->FirstChild; c && hidden; c = c->NextSibling)
            hidden = !GetEffectivelyVisible(c);
    } else {
        hidden = !node->has(vsHasChildren);
    }
    if (hidden)
        node->States.include(vsAllChildrenHidden);
    else
        node->States.exclude(vsAllChildrenHidden);
}

void LazyTreeModel::UpdateAllChildrenHidden()
{
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        DetermineAllChildrenHidden(n);
}

bool LazyTreeModel::GetEffectivelyFiltered(PLazyNode node) const
{
    return node && node->has(vsFiltered) && !m_options.PaintOptions.contains(toShowFilteredNodes);
}

bool LazyTreeModel::GetEffectivelyVisible(PLazyNode node) const
{
    return node && node->has(vsVisible) && !GetEffectivelyFiltered(node);
}

bool LazyTreeModel::GetFullyVisible(PLazyNode node) const
{
    if (!node)
        lazyTreeAssert("Invalid parameter.");
    if (node == FRoot)
        return true;
    if (!node->has(vsVisible))
        return false;
    // A node that is not (yet) linked below the root is not shown.
    for (PLazyNode p = node->Parent; p != FRoot; p = p->Parent) {
        if (!p || !p->has(vsExpanded) || !p->has(vsVisible))
            return false;
    }
    return true;
}

// ----- initialisation ---------------------------------------------------------------------

void LazyTreeModel::InitNode(PLazyNode node)
{
    node->States.include(vsInitializing);
    ScopeGuard initialised([node] { node->States.exclude(vsInitializing); });

    TLazyNodeInitStates initStates;
    if (node->has(vsInitialized))
        initStates.include(ivsReInit);
    node->States.include(vsInitialized);
    DoInitNode(node->Parent == FRoot ? nullptr : node->Parent, node, initStates);

    if (initStates.contains(ivsDisabled))
        node->States.include(vsDisabled);
    if (initStates.contains(ivsHasChildren))
        node->States.include(vsHasChildren);
    if (initStates.contains(ivsSelected) && !node->has(vsSelected))
        InternalAddToSelection(node);
    if (initStates.contains(ivsMultiline))
        node->States.include(vsMultiline);
    if (initStates.contains(ivsFiltered)) {
        const bool wasFiltered = initStates.contains(ivsReInit) && node->has(vsFiltered);
        if (!wasFiltered && !m_options.PaintOptions.contains(toShowFilteredNodes)) {
            // The row disappears: the background walk of the rows must not see it half done,
            // and the cache it built is out of date afterwards.
            InterruptValidation();
            const bool counted = GetFullyVisible(node) && !GetEffectivelyFiltered(node);
            node->States.include(vsFiltered);
            AdjustTotalHeight(node, -std::int64_t(node->NodeHeight), true);
            if (counted)
                --FVisibleCount;
            if (node->Parent != FRoot) {
                if (FUpdateCount > 0)
                    DoStateChange({tsUpdateHiddenChildrenNeeded});
                else
                    DetermineAllChildrenHidden(node->Parent);
            }
            InvalidateCache();
            if (FUpdateCount == 0) {
                ScheduleCacheValidation();
                UpdateScrollBars(true);
            }
        }
        node->States.include(vsFiltered);
    }

    if (node->has(vsExpanded) != initStates.contains(ivsExpanded)) {
        if (initStates.contains(ivsExpanded))
            ToggleNode(node);
        else if (node->has(vsHasChildren))
            InitChildren(node);
    }
}

void LazyTreeModel::InitChildren(PLazyNode node)
{
    if (!node || node == FRoot || !node->has(vsHasChildren))
        return;
    std::uint32_t count = node->ChildCount;
    if (!DoInitChildren(node, count))
        return;
    // Asking for the children on demand is not a change by the user: a read-only tree still
    // gets them (otherwise its lazy nodes could never show any children).
    const bool readOnly = m_options.MiscOptions.contains(toReadOnly);
    m_options.MiscOptions.exclude(toReadOnly);
    ScopeGuard restore([&] {
        if (readOnly)
            m_options.MiscOptions.include(toReadOnly);
    });
    SetChildCount(node, count);
    if (count == 0)
        node->States.exclude(vsHasChildren);
}

void LazyTreeModel::ValidateNode(PLazyNode node, bool recursive)
{
    if (!node)
        node = FRoot;
    if (node != FRoot && !node->has(vsInitialized))
        InitNode(node);
    if (recursive) {
        if (node->has(vsHasChildren) && node->ChildCount == 0)
            InitChildren(node);
        for (PLazyNode c = node->FirstChild; c; c = c->NextSibling)
            ValidateNode(c, true);
    }
}

void LazyTreeModel::ValidateChildren(PLazyNode node, bool recursive)
{
    if (!node)
        node = FRoot;
    if (node->has(vsHasChildren) && node->ChildCount == 0)
        InitChildren(node);
    for (PLazyNode c = node->FirstChild; c; c = c->NextSibling)
        ValidateNode(c, recursive);
}

void LazyTreeModel::InitRecursive(PLazyNode node, std::uint32_t levels, bool visibleOnly)
{
    if (!node)
        node = FRoot;
    if (node != FRoot && !node->has(vsInitialized))
        InitNode(node);
    if (levels == 0)
        return;
    if (visibleOnly && node != FRoot && !node->has(vsExpanded))
        return;
    if (node->has(vsHasChildren) && node->ChildCount == 0)
        InitChildren(node);
    for (PLazyNode c = node->FirstChild; c; c = c->NextSibling)
        InitRecursive(c, levels - 1, visibleOnly);
}

void LazyTreeModel::ReinitNode(PLazyNode node, bool recursive)
{
    if (node && node != FRoot) {
        node->States.exclude(
            TLazyNodeStates{vsChecking, vsCutOrCopy, vsDeleting, vsHeightMeasured});
        if (node->has(vsInitialized))
            InitNode(node);
    }
    if (recursive)
        ReinitChildren(node, true);
}

void LazyTreeModel::ReinitChildren(PLazyNode node, bool recursive)
{
    if (!node)
        node = FRoot;
    InitChildren(node);
    for (PLazyNode c = node->FirstChild; c; c = c->NextSibling)
        ReinitNode(c, recursive);
}

void LazyTreeModel::ResetNode(PLazyNode node)
{
    CancelEditNode();
    if (!node || node == FRoot) {
        Clear();
        return;
    }
    DoResetNode(node);
    DeleteChildren(node, false);
    // Collapsing changes the shown rows, which the background walk reads.
    InterruptValidation();
    // A collapsed node keeps only its own row in its total height.
    if (node->has(vsExpanded)) {
        if (GetFullyVisible(node))
            FVisibleCount -= CountVisibleChildren(node);
        node->States.exclude(vsExpanded);
        AdjustTotalHeight(node, ownRowHeight(node), false);
    }
    node->States.exclude(TLazyNodeStates{vsInitialized, vsChecking, vsCutOrCopy, vsDeleting,
                                         vsExpanded, vsHasChildren, vsHeightMeasured});
    InvalidateCache();
    if (FUpdateCount == 0)
        ScheduleCacheValidation();
    InvalidateNode(node);
}

// ----- brackets and notices ---------------------------------------------------------------

void LazyTreeModel::BeginUpdate()
{
    if (auto* app = QCoreApplication::instance(); app && QThread::currentThread() != app->thread())
        lazyTreeAssert(
            "UI controls like TBaseLazyTree should only be manipulated through the "
            "main thread.");
    if (!m_destroying) {
        if (FUpdateCount == 0) {
            DoUpdating(usBegin);
            SetRedraw(false);
        } else {
            DoUpdating(usUpdate);
        }
    }
    ++FUpdateCount;
    // When the state change fails the bracket was not opened after all; the caller will not
    // close it.
    ScopeGuard undo([this] {
        if (--FUpdateCount == 0)
            SetRedraw(true);
    });
    DoStateChange({tsUpdating});
    undo.dismiss();
}

void LazyTreeModel::EndUpdate()
{
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (m_destroying)
        return;
    if (FUpdateCount == 0 && FStates.contains(tsUpdating)) {
        ScopeGuard finish([this] {
            if (m_options.AutoOptions.contains(toAutoSort))
                SortTree(SortColumn(), SortDirection(), true);
            SetRedraw(true);
            Invalidate();
        });
        if (FStates.contains(tsUpdateHiddenChildrenNeeded)) {
            UpdateAllChildrenHidden();
            DoStateChange({}, {tsUpdateHiddenChildrenNeeded});
        }
        DoStateChange({}, {tsUpdating});
        PackSelection();
        InvalidateCache();
        ScheduleCacheValidation();
        UpdateScrollBars(false);
        if (FStates.contains(tsStructureChangePending))
            DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
        if (FStates.contains(tsChangePending))
            DoChange(FLastChangedNode);
    }
    if (FUpdateCount == 0) {
        DoUpdating(usEnd);
        EnsureNodeSelected();
    } else {
        DoUpdating(usUpdate);
    }
}

void LazyTreeModel::BeginSynch()
{
    if (!m_destroying) {
        if (FSynchUpdateCount == 0) {
            DoUpdating(usBeginSynch);
            for (int id : {ChangeTimer, StructureChangeTimer, 1, 2, 3, 4, 7})
                StopNoticeTimer(id);
            FLastSearchNode = nullptr;
            DoStateChange({},
                          {tsEditPending, tsIncrementalSearching, tsScrolling, tsScrollPending});
            if (FStates.contains(tsStructureChangePending))
                DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
            if (FStates.contains(tsChangePending))
                DoChange(FLastChangedNode);
        } else {
            DoUpdating(usSynch);
        }
    }
    ++FSynchUpdateCount;
    ScopeGuard undo([this] { --FSynchUpdateCount; });
    DoStateChange({tsSynchMode});
    undo.dismiss();
}

void LazyTreeModel::EndSynch()
{
    if (FSynchUpdateCount > 0)
        --FSynchUpdateCount;
    if (m_destroying)
        return;
    if (FSynchUpdateCount > 0) {
        DoUpdating(usSynch);
    } else {
        DoStateChange({}, {tsSynchMode});
        DoUpdating(usEndSynch);
    }
}

void LazyTreeModel::StructureChange(PLazyNode node, TChangeReason reason)
{
    if (FStates.contains(tsStructureChangePending))
        StopNoticeTimer(StructureChangeTimer);
    else
        DoStateChange({tsStructureChangePending});
    FLastStructureChangeNode = node;
    if (FLastStructureChangeReason == crIgnore)
        FLastStructureChangeReason = reason;
    else if (reason != crIgnore)
        FLastStructureChangeReason = crAccumulated;

    if (FUpdateCount > 0)
        return;
    // The recorded node and reason are delivered: a notice still pending from before (a
    // bracket whose end set off further changes) was otherwise cleared without ever reaching
    // the owner.
    if (FChangeDelay > 0 && HandleAllocated() && !FStates.contains(tsSynchMode))
        StartNoticeTimer(StructureChangeTimer, FChangeDelay);
    else
        DoStructureChange(FLastStructureChangeNode, FLastStructureChangeReason);
}

void LazyTreeModel::Change(PLazyNode node)
{
    FLastChangedNode = node;
    if (FStates.contains(tsChangePending))
        StopNoticeTimer(ChangeTimer);
    else
        DoStateChange({tsChangePending});
    if (FUpdateCount > 0)
        return;
    if (FChangeDelay > 0 && HandleAllocated() && !FStates.contains(tsSynchMode))
        StartNoticeTimer(ChangeTimer, FChangeDelay);
    else
        DoChange(node);
}

void LazyTreeModel::BeginOperation(TLTOperationKind kind)
{
    ++FOperationCount;
    DoStartOperation(kind);
    if (FOperationCount == 1)
        FOperationCanceled = false;
}

void LazyTreeModel::EndOperation(TLTOperationKind kind)
{
    if (FOperationCount == 0)
        lazyTreeAssert("EndOperation must not be called when no operation in progress.");
    --FOperationCount;
    DoEndOperation(kind);
}

void LazyTreeModel::CancelOperation()
{
    if (FOperationCount > 0)
        FOperationCanceled = true;
}

// ----- hooks ------------------------------------------------------------------------------

void LazyTreeModel::DoInitNode(PLazyNode parent, PLazyNode node, TLazyNodeInitStates& states)
{
    if (OnInitNode)
        OnInitNode(*this, parent, node, states);
}

bool LazyTreeModel::DoInitChildren(PLazyNode node, std::uint32_t& childCount)
{
    if (!OnInitChildren)
        return false;
    OnInitChildren(*this, node, childCount);
    return true;
}

void LazyTreeModel::DoResetNode(PLazyNode node)
{
    if (OnResetNode)
        OnResetNode(*this, node);
}

// The notice counts as delivered even when the handler throws: a pending state left behind
// would deliver the same notice again at the next bracket end, naming a node that may be gone.
void LazyTreeModel::DoStructureChange(PLazyNode node, TChangeReason reason)
{
    StopNoticeTimer(StructureChangeTimer);
    {
        ScopeGuard done([this] {
            FStates.exclude(tsStructureChangePending);
            FLastStructureChangeNode = nullptr;
            FLastStructureChangeReason = crIgnore;
        });
        if (OnStructureChange)
            OnStructureChange(*this, node, reason);
        // Reported before the guard clears the flag, so that a state handler sees the change.
        DoStateChange({}, {tsStructureChangePending});
    }
}

void LazyTreeModel::DoChange(PLazyNode node)
{
    StopNoticeTimer(ChangeTimer);
    {
        ScopeGuard done([this] {
            FStates.exclude(tsChangePending);
            FLastChangedNode = nullptr;
        });
        if (OnChange)
            OnChange(*this, node);
        DoStateChange({}, {tsChangePending});
    }
}

void LazyTreeModel::DoUpdating(TLTUpdateState state)
{
    if (OnUpdating)
        OnUpdating(*this, state);
}

void LazyTreeModel::DoStateChange(TLazyTreeStates enter, TLazyTreeStates leave)
{
    // A tree being destroyed reports no state changes: its owner may already be gone.
    if (OnStateChange && !m_destroying
        && (!FStates.containsAll(enter) || FStates.intersects(leave))) {
        // States being left are left all the same when the handler fails (their guards rely
        // on it); states being entered are not, as the operation that asked for them does not
        // go on.
        ScopeGuard leaveAnyway([&] { FStates = FStates - leave; });
        OnStateChange(*this, enter, leave);
        leaveAnyway.dismiss();
    }
    FStates = (FStates + enter) - leave;
}

void LazyTreeModel::DoStartOperation(TLTOperationKind kind)
{
    if (OnStartOperation)
        OnStartOperation(*this, kind);
}

void LazyTreeModel::DoEndOperation(TLTOperationKind kind)
{
    if (OnEndOperation)
        OnEndOperation(*this, kind);
}

int LazyTreeModel::DoGetNodeDataSize()
{
    int size = int(sizeof(void*));
    if (OnGetNodeDataSize)
        OnGetNodeDataSize(*this, size);
    return size;
}

int LazyTreeModel::DoCompareNodes(PLazyNode node1, PLazyNode node2, TColumnIndex column)
{
    int result = 0;
    if (OnCompareNodes)
        OnCompareNodes(*this, node1, node2, column, result);
    return result;
}

bool LazyTreeModel::DoNodeMoving(PLazyNode node, PLazyNode target)
{
    bool allowed = true;
    if (OnNodeMoving)
        OnNodeMoving(*this, node, target, allowed);
    return allowed;
}

void LazyTreeModel::DoNodeMoved(PLazyNode node)
{
    if (OnNodeMoved)
        OnNodeMoved(*this, node);
}

bool LazyTreeModel::DoNodeCopying(PLazyNode node, PLazyNode target)
{
    bool allowed = true;
    if (OnNodeCopying)
        OnNodeCopying(*this, node, target, allowed);
    return allowed;
}

void LazyTreeModel::DoNodeCopied(PLazyNode node)
{
    if (OnNodeCopied)
        OnNodeCopied(*this, node);
}

bool LazyTreeModel::DoExpanding(PLazyNode node)
{
    bool allowed = true;
    if (OnExpanding)
        OnExpanding(*this, node, allowed);
    return allowed;
}

bool LazyTreeModel::DoCollapsing(PLazyNode node)
{
    bool allowed = true;
    if (OnCollapsing)
        OnCollapsing(*this, node, allowed);
    return allowed;
}

void LazyTreeModel::DoExpanded(PLazyNode node)
{
    if (OnExpanded)
        OnExpanded(*this, node);
}

void LazyTreeModel::DoCollapsed(PLazyNode node)
{
    if (OnCollapsed)
        OnCollapsed(*this, node);
}

void LazyTreeModel::DoFocusChanged(PLazyNode node, TColumnIndex column)
{
    if (OnFocusChanged)
        OnFocusChanged(*this, node, column);
}

// ----- consistency ------------------------------------------------------------------------

QString LazyTreeModel::checkConsistency() const
{
    std::unordered_set<PLazyNode> live;
    std::uint32_t visible = 0;
    std::uint32_t selected = 0;
    QString error;
    auto fail = [&](PLazyNode n, const char* what) {
        if (error.isEmpty())
            error = QStringLiteral("node %1 (level %2, index %3): %4")
                        .arg(reinterpret_cast<quintptr>(n), 0, 16)
                        .arg(n == FRoot ? -1 : int(GetNodeLevel(n)))
                        .arg(n->Index)
                        .arg(QString::fromLatin1(what));
    };
    const bool checkHidden = FUpdateCount == 0 && !FStates.contains(tsUpdateHiddenChildrenNeeded);

    // Post-order with an explicit stack: deep chains must not overflow the call stack.
    struct Frame {
        PLazyNode node;
        bool shown;  // every ancestor below the root expanded and visible
    };
    std::vector<Frame> order;
    std::vector<Frame> stack{{FRoot, true}};
    while (!stack.empty()) {
        Frame f = stack.back();
        stack.pop_back();
        order.push_back(f);
        PLazyNode n = f.node;
        live.insert(n);
        const bool childShown = n == FRoot || (f.shown && n->has(vsExpanded) && n->has(vsVisible));
        std::uint32_t count = 0;
        PLazyNode prev = nullptr;
        for (PLazyNode c = n->FirstChild; c; c = c->NextSibling) {
            if (c->Parent != n)
                fail(c, "Parent does not point to the parent");
            if (c->PrevSibling != prev)
                fail(c, "PrevSibling is wrong");
            if (c->Index != count)
                fail(c, "Index is not its position");
            if (live.count(c))
                fail(c, "node linked twice");
            ++count;
            prev = c;
            stack.push_back({c, childShown});
            if (count > n->TotalCount)
                break;
        }
        if (n->LastChild != prev)
            fail(n, "LastChild is not the last of the chain");
        if (count != n->ChildCount)
            fail(n, "ChildCount differs from the linked children");
        if (count > 0 && !n->has(vsHasChildren))
            fail(n, "children without vsHasChildren");
        if (n != FRoot) {
            if (f.shown && GetEffectivelyVisible(n))
                ++visible;
            if (n->has(vsSelected))
                ++selected;
            if (checkHidden && count > 0) {
                bool hidden = true;
                for (PLazyNode c = n->FirstChild; c; c = c->NextSibling)
                    hidden = hidden && !GetEffectivelyVisible(c);
                if (hidden != n->has(vsAllChildrenHidden))
                    fail(n, "vsAllChildrenHidden does not match the children");
            }
            if (n->has(vsDeleting) || n->has(vsInitializing) || n->has(vsToggling))
                fail(n, "a transient state is left over");
        }
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        PLazyNode n = it->node;
        std::uint64_t count = 1;
        std::uint64_t height = n == FRoot ? n->NodeHeight : ownRowHeight(n);
        for (PLazyNode c = n->FirstChild; c; c = c->NextSibling) {
            count += c->TotalCount;
            if (n->has(vsExpanded) && c->has(vsVisible))
                height += c->TotalHeight;
        }
        if (count != n->TotalCount)
            fail(n, "TotalCount is not 1 plus the children's");
        if (height != n->TotalHeight)
            fail(n, "TotalHeight is not the own row plus the shown children's");
    }
    if (!FRoot->isRoot() || FRoot->PrevSibling != FRoot || !FRoot->has(vsExpanded))
        fail(FRoot, "root links or states are wrong");
    if (visible != FVisibleCount)
        fail(FRoot, QStringLiteral("visible count %1, counted %2")
                        .arg(FVisibleCount)
                        .arg(visible)
                        .toLatin1()
                        .constData());
    if (selected != FSelectionCount || FSelection.size() < FSelectionCount)
        fail(FRoot, "selection count differs from the selected nodes");
    for (std::uint32_t i = 0; i < FSelectionCount && i < FSelection.size(); ++i) {
        if (!live.count(FSelection[i]) || !FSelection[i]->has(vsSelected))
            fail(FRoot, "selection holds a node that is not selected or not in the tree");
        if (i > 0 && !std::less<PLazyNode>()(FSelection[i - 1], FSelection[i]))
            fail(FRoot, "selection is not strictly ascending by address");
    }
    for (PLazyNode ref :
         {FFocusedNode, FRangeAnchor, FNextNodeToSelect, FLastSelected, FCurrentHotNode,
          FDropTargetNode, FCheckNode, FLastVCLDragTarget, FLastSearchNode, FHeightTrackNode,
          FLastChangedNode, FLastStructureChangeNode}) {
        if (ref && ref != FRoot && !live.count(ref))
            fail(FRoot, "a node reference of the tree names a node that is not in it");
    }
    return error;
}

}  // namespace zfw
