#pragma once
// The lazy tree's node model, without a widget: node blocks with an inline user data area, the
// hidden root, the subtree counters, lazy initialisation, structure editing, walks and sorting.
//
// The tree keeps no texts or item objects. A node is one heap block: the TLazyNode record, then
// NodeDataSize bytes of user data, then the internal data areas of derived classes. Whatever a
// node shows is asked from the owner through the Do... hooks (and the On... callbacks they fire)
// the first time it is needed.
//
// LazyTreeModel is the part of the tree control that needs no display. The control derives from
// it and overrides the display hooks (repaints, scroll bars, timers, the position cache); without
// a control those hooks do nothing and every notice is delivered at once.
//
// Invariants kept by every operation (checkConsistency() verifies them):
// - TotalCount of a node is 1 plus the sum of its children's TotalCount.
// - TotalHeight of a node is its own row height (0 when it is effectively filtered) plus, when it
//   is expanded, the TotalHeight of its children that have vsVisible.
// - visibleCount() is the number of nodes that are effectively visible and whose ancestors below
//   the root all have vsExpanded and vsVisible.
// - Index runs 0, 1, 2 ... along every sibling chain; sibling and child links are consistent.

#include "common/SortDirection.h"

#include <QString>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

class QIODevice;

namespace zfw {

// A small set over an enumeration whose member n is bit n of Word.
template <class Enum, class Word>
class TSmallSet {
public:
    constexpr TSmallSet() = default;
    constexpr TSmallSet(std::initializer_list<Enum> members)
    {
        for (Enum e : members)
            m_bits |= bit(e);
    }
    static constexpr TSmallSet fromBits(Word w)
    {
        TSmallSet s;
        s.m_bits = w;
        return s;
    }
    constexpr Word bits() const { return m_bits; }
    constexpr bool contains(Enum e) const { return (m_bits & bit(e)) != 0; }
    constexpr bool containsAll(TSmallSet o) const { return (m_bits & o.m_bits) == o.m_bits; }
    constexpr bool intersects(TSmallSet o) const { return (m_bits & o.m_bits) != 0; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr void include(Enum e) { m_bits |= bit(e); }
    constexpr void exclude(Enum e) { m_bits &= static_cast<Word>(~bit(e)); }
    constexpr void include(TSmallSet o) { m_bits |= o.m_bits; }
    constexpr void exclude(TSmallSet o) { m_bits &= static_cast<Word>(~o.m_bits); }
    constexpr TSmallSet operator+(TSmallSet o) const { return fromBits(m_bits | o.m_bits); }
    constexpr TSmallSet operator-(TSmallSet o) const
    {
        return fromBits(m_bits & static_cast<Word>(~o.m_bits));
    }
    constexpr bool operator==(const TSmallSet&) const = default;

private:
    static constexpr Word bit(Enum e) { return static_cast<Word>(Word(1) << static_cast<int>(e)); }
    Word m_bits = 0;
};

enum TLazyNodeState : std::uint8_t {
    vsInitialized,
    vsChecking,
    vsCutOrCopy,
    vsDisabled,
    vsDeleting,
    vsExpanded,
    vsHasChildren,
    vsVisible,
    vsSelected,
    vsOnFreeNodeCallRequired,
    vsAllChildrenHidden,
    vsReleaseCallOnUserDataRequired,
    vsMultiline,
    vsHeightMeasured,
    vsToggling,
    vsFiltered,
    vsInitializing
};
using TLazyNodeStates = TSmallSet<TLazyNodeState, std::uint32_t>;

// A node's state word. The position cache's worker thread reads the bits that decide whether a
// row is shown (vsVisible, vsExpanded, vsFiltered) while the main thread sets other bits of the
// same word (selection, initialisation, measuring); a plain word would be a data race, so every
// access is a relaxed atomic operation. The bits the worker relies on change only while the
// worker is kept away from the tree (see LazyTreesCache.h); relaxed order is enough for the rest.
class TAtomicNodeStates {
public:
    TAtomicNodeStates() = default;
    TAtomicNodeStates(TLazyNodeStates s) : m_bits(s.bits()) {}
    TAtomicNodeStates(const TAtomicNodeStates& o) : m_bits(o.bits()) {}
    TAtomicNodeStates& operator=(TLazyNodeStates s)
    {
        m_bits.store(s.bits(), std::memory_order_relaxed);
        return *this;
    }
    TAtomicNodeStates& operator=(const TAtomicNodeStates& o) { return *this = o.value(); }
    TLazyNodeStates value() const { return TLazyNodeStates::fromBits(bits()); }
    operator TLazyNodeStates() const { return value(); }
    std::uint32_t bits() const { return m_bits.load(std::memory_order_relaxed); }
    bool contains(TLazyNodeState e) const { return value().contains(e); }
    bool containsAll(TLazyNodeStates o) const { return value().containsAll(o); }
    bool intersects(TLazyNodeStates o) const { return value().intersects(o); }
    bool empty() const { return bits() == 0; }
    void include(TLazyNodeState e) { include(TLazyNodeStates{e}); }
    void exclude(TLazyNodeState e) { exclude(TLazyNodeStates{e}); }
    void include(TLazyNodeStates o) { m_bits.fetch_or(o.bits(), std::memory_order_relaxed); }
    void exclude(TLazyNodeStates o) { m_bits.fetch_and(~o.bits(), std::memory_order_relaxed); }
    TLazyNodeStates operator+(TLazyNodeStates o) const { return value() + o; }
    TLazyNodeStates operator-(TLazyNodeStates o) const { return value() - o; }
    bool operator==(TLazyNodeStates o) const { return value() == o; }

private:
    std::atomic<std::uint32_t> m_bits{0};
};
static_assert(sizeof(TAtomicNodeStates) == sizeof(std::uint32_t));

enum TLazyNodeInitState : std::uint8_t {
    ivsDisabled,
    ivsExpanded,
    ivsHasChildren,
    ivsMultiline,
    ivsSelected,
    ivsFiltered,
    ivsReInit
};
using TLazyNodeInitStates = TSmallSet<TLazyNodeInitState, std::uint8_t>;

enum TCheckState : std::uint8_t {
    csUncheckedNormal,
    csUncheckedPressed,
    csCheckedNormal,
    csCheckedPressed,
    csMixedNormal,
    csMixedPressed,
    csUncheckedDisabled,
    csCheckedDisabled,
    csMixedDisabled
};
enum TCheckType : std::uint8_t { ctNone, ctTriStateCheckBox, ctCheckBox, ctRadioButton, ctButton };

enum TChangeReason : std::uint8_t {
    crIgnore,
    crAccumulated,
    crChildAdded,
    crChildDeleted,
    crNodeAdded,
    crNodeCopied,
    crNodeMoved
};
enum TLTUpdateState : std::uint8_t { usBegin, usBeginSynch, usSynch, usUpdate, usEnd, usEndSynch };
enum TLTOperationKind : std::uint8_t {
    okAutoFitColumns,
    okGetMaxColumnWidth,
    okSortNode,
    okSortTree,
    okExport,
    okExpand
};
enum TLTNodeAttachMode : std::uint8_t {
    amNoWhere,
    amInsertBefore,
    amInsertAfter,
    amAddChildFirst,
    amAddChildLast
};

// Index of a column of the header; NoColumn: the tree has no columns, InvalidColumn: none.
using TColumnIndex = int;
inline constexpr TColumnIndex NoColumn = -1;
inline constexpr TColumnIndex InvalidColumn = -2;

enum TLazyTreeState : std::uint8_t {
    tsCancelHintAnimation,
    tsChangePending,
    tsCheckPropagation,
    tsCollapsing,
    tsToggleFocusedSelection,
    tsClearPending,
    tsClipboardFlushing,
    tsCopyPending,
    tsCutPending,
    tsDrawSelPending,
    tsDrawSelecting,
    tsEditing,
    tsEditPending,
    tsExpanding,
    tsNodeHeightTracking,
    tsNodeHeightTrackPending,
    tsHint,
    tsInAnimation,
    tsIncrementalSearching,
    tsIncrementalSearchPending,
    tsIterating,
    tsKeyCheckPending,
    tsLeftButtonDown,
    tsLeftDblClick,
    tsMouseCheckPending,
    tsMiddleButtonDown,
    tsMiddleDblClick,
    tsNeedRootCountUpdate,
    tsOLEDragging,
    tsOLEDragPending,
    tsPainting,
    tsRightButtonDown,
    tsRightDblClick,
    tsPopupMenuShown,
    tsScrolling,
    tsScrollPending,
    tsSizing,
    tsStopValidation,
    tsStructureChangePending,
    tsSynchMode,
    tsThumbTracking,
    tsToggling,
    tsUpdateHiddenChildrenNeeded,
    tsUpdating,
    tsUseCache,
    tsUserDragObject,
    tsUseThemes,
    tsValidating,
    tsPreviouslySelectedLocked,
    tsValidationNeeded,
    tsVCLDragging,
    tsVCLDragPending,
    tsVCLDragFinished,
    tsWheelPanning,
    tsWheelScrolling,
    tsWindowCreating,
    tsUseExplorerTheme
};
using TLazyTreeStates = TSmallSet<TLazyTreeState, std::uint64_t>;

// ----- options ----------------------------------------------------------------------------

enum TLTPaintOption : std::uint8_t {
    toHideFocusRect,
    toHideSelection,
    toHotTrack,
    toPopupMode,
    toShowBackground,
    toShowButtons,
    toShowDropmark,
    toShowHorzGridLines,
    toShowRoot,
    toShowTreeLines,
    toShowVertGridLines,
    toThemeAware,
    toUseBlendedImages,
    toGhostedIfUnfocused,
    toFullVertGridLines,
    toAlwaysHideSelection,
    toUseBlendedSelection,
    toStaticBackground,
    toChildrenAbove,
    toFixedIndent,
    toUseExplorerTheme,
    toHideTreeLinesIfThemed,
    toShowFilteredNodes
};
using TLTPaintOptions = TSmallSet<TLTPaintOption, std::uint32_t>;

// toAnimatedToggle: expanding and collapsing slide the rows over AnimationDuration.
// toAdvancedAnimatedToggle: the animation may also move the rows above the toggled one.
enum TLTAnimationOption : std::uint8_t { toAnimatedToggle, toAdvancedAnimatedToggle };
using TLTAnimationOptions = TSmallSet<TLTAnimationOption, std::uint8_t>;

enum TLTAutoOption : std::uint8_t {
    toAutoDropExpand,
    toAutoExpand,
    toAutoScroll,
    toAutoScrollOnExpand,
    toAutoSort,
    toAutoSpanColumns,
    toAutoTristateTracking,
    toAutoHideButtons,
    toAutoDeleteMovedNodes,
    toDisableAutoscrollOnFocus,
    toAutoChangeScale,
    toAutoFreeOnCollapse,
    toDisableAutoscrollOnEdit,
    toAutoBidiColumnOrdering
};
using TLTAutoOptions = TSmallSet<TLTAutoOption, std::uint16_t>;

enum TLTSelectionOption : std::uint8_t {
    toDisableDrawSelection,
    toExtendedFocus,
    toFullRowSelect,
    toLevelSelectConstraint,
    toMiddleClickSelect,
    toMultiSelect,
    toRightClickSelect,
    toSiblingSelectConstraint,
    toCenterScrollIntoView,
    toSimpleDrawSelection,
    toAlwaysSelectNode,
    toRestoreSelection
};
using TLTSelectionOptions = TSmallSet<TLTSelectionOption, std::uint16_t>;

enum TLTMiscOption : std::uint8_t {
    toAcceptOLEDrop,
    toCheckSupport,
    toEditable,
    toFullRepaintOnResize,
    toGridExtensions,
    toInitOnSave,
    toReportMode,
    toToggleOnDblClick,
    toWheelPanning,
    toReadOnly,
    toVariableNodeHeight,
    toFullRowDrag,
    toNodeHeightResize,
    toNodeHeightDblClickResize,
    toEditOnClick,
    toEditOnDblClick,
    toReverseFullExpandHotKey
};
using TLTMiscOptions = TSmallSet<TLTMiscOption, std::uint32_t>;

enum TLTExportMode : std::uint8_t {
    emAll,
    emChecked,
    emUnchecked,
    emVisibleDueToExpansion,
    emSelected
};

// The behaviour switches the node model reads. The control adds the reactions to a change.
struct TLazyTreeOptionSets {
    TLTPaintOptions PaintOptions{toShowButtons,   toShowDropmark, toShowRoot,
                                 toShowTreeLines, toThemeAware,   toUseBlendedImages};
    TLTAutoOptions AutoOptions{toAutoDropExpand,       toAutoScrollOnExpand,   toAutoSort,
                               toAutoTristateTracking, toAutoDeleteMovedNodes, toAutoChangeScale};
    TLTSelectionOptions SelectionOptions{};
    TLTMiscOptions MiscOptions{toAcceptOLEDrop,    toFullRepaintOnResize, toInitOnSave,
                               toToggleOnDblClick, toWheelPanning,        toEditOnClick};
    TLTAnimationOptions AnimationOptions{};
    // Which nodes the exports take; a plain setting without reactions, not copied by Assign.
    TLTExportMode ExportMode = emAll;
};

// ----- errors -----------------------------------------------------------------------------

// Misuse of the tree by its caller (a nil node where one is needed, deleting while iterating).
class ELazyTreeAssertion : public std::logic_error {
public:
    using std::logic_error::logic_error;
};

// An operation that cannot be done (a move into the moved node's own subtree, a corrupt stream).
class ELazyTreeError : public std::runtime_error {
public:
    ELazyTreeError(const std::string& message, int helpContext)
        : std::runtime_error(message), m_helpContext(helpContext)
    {
    }
    int helpContext() const { return m_helpContext; }

private:
    int m_helpContext;
};

// ----- the node ---------------------------------------------------------------------------

struct TLazyNode;
using PLazyNode = TLazyNode*;
using TNodeArray = std::vector<PLazyNode>;

struct TLazyNode {
    std::uint32_t Index = 0;
    std::uint32_t ChildCount = 0;
    std::uint16_t NodeHeight = 0;
    TAtomicNodeStates States;
    std::uint8_t Align = 50;
    TCheckState CheckState = csUncheckedNormal;
    TCheckType CheckType = ctNone;
    std::uint8_t Dummy = 0;
    std::uint32_t TotalCount = 1;
    std::uint32_t TotalHeight = 0;
    PLazyNode Parent = nullptr;
    PLazyNode PrevSibling = nullptr;
    PLazyNode NextSibling = nullptr;
    PLazyNode FirstChild = nullptr;
    PLazyNode LastChild = nullptr;

    bool has(TLazyNodeState s) const { return States.contains(s); }
    // Only the root is its own next sibling.
    bool isRoot() const { return NextSibling == this; }
    // Start of the user data area, right behind the record. Marks the node so that OnFreeNode
    // fires for it.
    void* GetData()
    {
        States.include(vsOnFreeNodeCallRequired);
        return dataArea();
    }
    void* dataArea() { return reinterpret_cast<char*>(this) + sizeof(TLazyNode); }
    // Stores one pointer-sized value at the start of the user data area, as the tree's
    // SetNodeData does (the same room check; nothing for the root).
    void SetData(void* userData);
};
static_assert(sizeof(TLazyNode) % alignof(std::max_align_t) == 0 || sizeof(TLazyNode) % 8 == 0,
              "the user data area must start aligned for pointers");

// One entry of the position cache: a shown node and its top in tree coordinates.
struct TCacheEntry {
    PLazyNode Node = nullptr;
    std::uint32_t AbsoluteTop = 0;
};
using TCache = std::vector<TCacheEntry>;

class TreeWorker;
struct TTreeCacheState;

// ----- enumeration of nodes ----------------------------------------------------------------

class LazyTreeModel;

enum TLZLazyNodeEnumerationMode : std::uint8_t {
    vneAll,
    vneChecked,
    vneChild,
    vneCutCopy,
    vneInitialized,
    vneLeaf,
    vneLevel,
    vneNoInit,
    vneSelected,
    vneVisible,
    vneVisibleChild,
    vneVisibleNoInitChild,
    vneVisibleNoInit
};

// A range of nodes for a range-based for loop: the first step runs from nil, every later step
// from the current node. Deleting nodes while looping is not allowed.
class TLTLazyNodeEnumeration {
public:
    class iterator {
    public:
        PLazyNode operator*() const { return FNode; }
        iterator& operator++();
        bool operator==(const iterator& o) const { return FNode == o.FNode; }

    private:
        friend class TLTLazyNodeEnumeration;
        const TLTLazyNodeEnumeration* FEnumeration = nullptr;
        PLazyNode FNode = nullptr;
    };
    iterator begin() const;
    iterator end() const { return {}; }

    TLZLazyNodeEnumerationMode FMode = vneAll;
    LazyTreeModel* FTree = nullptr;
    bool FConsiderChildrenAbove = false;
    PLazyNode FNode = nullptr;
    std::uint32_t FNodeLevel = 0;
    TCheckState FState = csCheckedNormal;
    bool FIncludeFiltered = false;

    // One step of the mode: from nil the first node, else the one after `node`.
    PLazyNode step(PLazyNode node) const;
};

// ----- the model --------------------------------------------------------------------------

class LazyTreeModel {
public:
    LazyTreeModel();
    virtual ~LazyTreeModel();
    LazyTreeModel(const LazyTreeModel&) = delete;
    LazyTreeModel& operator=(const LazyTreeModel&) = delete;

    // Events. Each is fired by the Do... hook of the same name when it is assigned.
    std::function<void(LazyTreeModel&, PLazyNode parent, PLazyNode node,
                       TLazyNodeInitStates& initialStates)>
        OnInitNode;
    std::function<void(LazyTreeModel&, PLazyNode node, std::uint32_t& childCount)> OnInitChildren;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnResetNode;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnFreeNode;
    std::function<void(LazyTreeModel&, PLazyNode node, TChangeReason reason)> OnStructureChange;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnChange;
    std::function<void(LazyTreeModel&, TLTUpdateState state)> OnUpdating;
    std::function<void(LazyTreeModel&, TLazyTreeStates enter, TLazyTreeStates leave)> OnStateChange;
    std::function<void(LazyTreeModel&, TLTOperationKind kind)> OnStartOperation;
    std::function<void(LazyTreeModel&, TLTOperationKind kind)> OnEndOperation;
    std::function<void(LazyTreeModel&, int& nodeDataSize)> OnGetNodeDataSize;
    std::function<void(LazyTreeModel&, PLazyNode node1, PLazyNode node2, TColumnIndex column,
                       int& result)>
        OnCompareNodes;
    std::function<void(LazyTreeModel&, PLazyNode node, PLazyNode target, bool& allowed)>
        OnNodeMoving;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnNodeMoved;
    std::function<void(LazyTreeModel&, PLazyNode node, PLazyNode target, bool& allowed)>
        OnNodeCopying;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnNodeCopied;
    std::function<void(LazyTreeModel&, PLazyNode node, bool& allowed)> OnExpanding;
    std::function<void(LazyTreeModel&, PLazyNode node, bool& allowed)> OnCollapsing;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnExpanded;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnCollapsed;
    std::function<void(LazyTreeModel&, PLazyNode node, TColumnIndex column)> OnFocusChanged;

    // ----- settings ----------------------------------------------------------------------
    const TLazyTreeOptionSets& options() const { return m_options; }
    // Each setter does nothing for an unchanged set; otherwise it stores the set and keeps the
    // counters right (showing filtered nodes changes heights and the visible count).
    void SetPaintOptions(TLTPaintOptions value);
    void SetAutoOptions(TLTAutoOptions value);
    void SetSelectionOptions(TLTSelectionOptions value);
    void SetMiscOptions(TLTMiscOptions value);
    // Stored only; the toggle animation reads it.
    void SetAnimationOptions(TLTAnimationOptions value) { m_options.AnimationOptions = value; }
    TLTExportMode ExportMode() const { return m_options.ExportMode; }
    void SetExportMode(TLTExportMode value) { m_options.ExportMode = value; }
    // Writes the source's sets through the setters (paint, animation, auto, selection, misc),
    // so that this tree reacts as if each had been set by hand. The export mode stays.
    void AssignOptions(const LazyTreeModel& source);
    int NodeDataSize() const { return FNodeDataSize; }
    // -1 asks OnGetNodeDataSize when the next node is made. Changing it with nodes present is
    // refused (the existing blocks would be too small).
    void SetNodeDataSize(int size);
    int DefaultNodeHeight() const { return FDefaultNodeHeight; }
    // Height of nodes made from now on; 0 counts as 18. Existing nodes keep their heights.
    virtual void SetDefaultNodeHeight(int height);
    int ChangeDelay() const { return FChangeDelay; }
    void SetChangeDelay(int ms) { FChangeDelay = ms < 0 ? 0 : ms; }

    // ----- the node model --------------------------------------------------------------
    PLazyNode RootNode() const { return FRoot; }
    std::uint32_t RootNodeCount() const { return FRoot->ChildCount; }
    void SetRootNodeCount(std::uint32_t count);
    std::uint32_t TotalNodeCount() const { return FRoot->TotalCount - 1; }
    std::uint32_t visibleCount() const { return FVisibleCount; }
    TLazyTreeStates TreeStates() const { return FStates; }
    bool IsEmpty() const { return FRoot->ChildCount == 0; }
    bool IsUpdating() const { return FUpdateCount > 0; }

    // Address of the node's user data area; nil for nil and the root. Throws when NodeDataSize
    // is not positive.
    void* GetNodeData(PLazyNode node);
    template <class T>
    T* nodeData(PLazyNode node)
    {
        return static_cast<T*>(GetNodeData(node));
    }
    // Stores one pointer-sized value at the start of the user data area.
    void SetNodeData(PLazyNode node, void* userData);
    std::uint32_t GetNodeLevel(PLazyNode node) const;
    // The model that owns the node. Throws for nil.
    static LazyTreeModel* TreeFromNode(PLazyNode node);
    // Reserves Size bytes (rounded up to 4) in every node for a derived class; only while the
    // tree has no nodes. Returns the offset behind the user data area.
    virtual std::size_t AllocateInternalData(std::size_t size);

    void ReinitNode(PLazyNode node, bool recursive);
    void ReinitChildren(PLazyNode node, bool recursive);
    void ResetNode(PLazyNode node);
    void ValidateNode(PLazyNode node, bool recursive);
    void ValidateChildren(PLazyNode node, bool recursive);
    void InitRecursive(PLazyNode node, std::uint32_t levels = ~0u, bool visibleOnly = true);

    virtual void BeginUpdate();
    virtual void EndUpdate();
    void BeginSynch();
    void EndSynch();
    void BeginOperation(TLTOperationKind kind);
    void EndOperation(TLTOperationKind kind);
    void CancelOperation();
    bool OperationCanceled() const { return FOperationCanceled && FOperationCount > 0; }

    // ----- node properties -------------------------------------------------------------
    bool GetEffectivelyFiltered(PLazyNode node) const;
    bool GetEffectivelyVisible(PLazyNode node) const;
    bool GetFullyVisible(PLazyNode node) const;
    bool IsVisible(PLazyNode node) const { return node && node->has(vsVisible); }
    void SetVisible(PLazyNode node, bool visible);
    void SetFiltered(PLazyNode node, bool filtered);
    bool Expanded(PLazyNode node) const { return node && node->has(vsExpanded); }
    void SetExpanded(PLazyNode node, bool expanded);
    void SetNodeHeight(PLazyNode node, std::uint32_t height);
    bool HasChildren(PLazyNode node) const { return node && node->has(vsHasChildren); }
    void SetHasChildren(PLazyNode node, bool value);
    void ToggleNode(PLazyNode node);
    void FullExpand(PLazyNode node = nullptr);
    void FullCollapse(PLazyNode node = nullptr);

    // ----- selection and focus (LazyTreesSelection.cpp) ---------------------------------
    // The selected nodes are kept in one array ascending by address (whole pointer values),
    // so that membership is a binary search and a bulk insert is one merge. An entry that is
    // to leave is marked (bit 0 of its value) and the array packed once per operation.
    PLazyNode FocusedNode() const { return FFocusedNode; }
    virtual void SetFocusedNode(PLazyNode node);
    std::uint32_t SelectedCount() const { return FSelectionCount; }
    bool Selected(PLazyNode node) const { return node && node->has(vsSelected); }
    // Nothing while locked, for nil or the root, or when unchanged. Selecting with an empty
    // selection makes the node the range anchor; without toMultiSelect it replaces the
    // selection and takes the focus.
    void SetSelected(PLazyNode node, bool value);
    bool SelectionLocked() const { return FSelectionLocked; }
    void SetSelectionLocked(bool value) { FSelectionLocked = value; }
    PLazyNode RangeAnchor() const { return FRangeAnchor; }
    PLazyNode NextNodeToSelect() const { return FNextNodeToSelect; }
    int LastSelectionLevel() const { return FLastSelectionLevel; }
    // Adds one node (rejected silently when selected, disabled or against a constraint); the
    // first node of an empty selection takes the focus. Throws for nil.
    void AddToSelection(PLazyNode node);
    // Adds several nodes in one merge; forceInsert skips every check (the caller guarantees
    // unselected nodes). The items are reordered and packed in place.
    void AddNodesToSelection(TNodeArray& newItems, int newLength, bool forceInsert);
    // Removes one node at once (no marks left behind). Throws for nil.
    void RemoveFromSelection(PLazyNode node);
    void ClearSelection() { InvalidateAndClearSelection(true); }
    void InvalidateAndClearSelection(bool doChange);
    // Selects the visible nodes from start to end (in tree order, both included); without
    // addOnly the rest of the selection is cleared first. Throws for a nil end.
    void SelectNodes(PLazyNode startNode, PLazyNode endNode, bool addOnly);
    // Inverts the visible nodes between start and end; the end at the range anchor keeps its
    // state and the anchor ends up selected.
    void ToggleSelection(PLazyNode startNode, PLazyNode endNode);
    void UnselectNodes(PLazyNode startNode, PLazyNode endNode);
    void SelectAll(bool visibleOnly);
    void InvertSelection(bool visibleOnly);
    // Binary search of the selection array between the bounds (negative: the ends). index: the
    // position of p when found, else where it would go.
    bool FindNodeInSelection(PLazyNode p, int& index, int lowBound, int highBound) const;
    // Level of node2 minus level of node1. Throws for nil.
    int CountLevelDifference(PLazyNode node1, PLazyNode node2) const;
    // The selection rules of a click on newNode (Ctrl toggles, Shift extends from the anchor,
    // neither adds the node and makes it the anchor). Clearing the rest is the caller's.
    void HandleClickSelection(PLazyNode lastFocused, PLazyNode newNode, bool shift, bool ctrl,
                              bool dragPending);
    // The selection array as it is (tests check its order and its agreement with the flags).
    TNodeArray selectionArray() const
    {
        return TNodeArray(FSelection.begin(), FSelection.begin() + FSelectionCount);
    }
    std::function<void(LazyTreeModel&, PLazyNode node)> OnAddToSelection;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnRemoveFromSelection;

    // ----- check boxes (LazyTreesCheck.cpp) ---------------------------------------------
    std::function<void(LazyTreeModel&, PLazyNode node, TCheckState& newState, bool& allowed)>
        OnChecking;
    std::function<void(LazyTreeModel&, PLazyNode node)> OnChecked;
    TCheckState CheckState(PLazyNode node) const
    {
        return node ? node->CheckState : csUncheckedNormal;
    }
    // Only when the state differs, the node is not disabled and OnChecking allows it; then the
    // change runs as a click does (propagation, OnChecked).
    void SetCheckState(PLazyNode node, TCheckState value);
    TCheckType CheckType(PLazyNode node) const { return node ? node->CheckType : ctNone; }
    // Nothing when unchanged or read-only. A mixed state becomes unchecked unless the new type
    // is tri-state; with toAutoTristateTracking the node takes its tri-state parent's state.
    void SetCheckType(PLazyNode node, TCheckType value);
    // Every node not in csUncheckedNormal is set to it, asking and propagating as a click.
    void ClearChecked();
    // Nodes in csCheckedNormal.
    std::uint32_t CheckedCount();
    void SetCheckStateForAll(TCheckState state, bool selectedOnly, bool excludeDisabled);
    // The state a click proposes for a box of the type in the state.
    static TCheckState DetermineNextCheckState(TCheckType type, TCheckState state);
    // Applies a state with propagation. True when the node's own state changed: OnChecked
    // follows for it even when an ancestor refused its derived state.
    bool ChangeCheckState(PLazyNode node, TCheckState value);
    // ChangeCheckState, then OnChecked when the node changed.
    void DoCheckClick(PLazyNode node, TCheckState newState);
    // Image index of a check box: type and state, enabled, hot (columns disabled, enabled,
    // enabled hot of the check image strips); -1 for ctNone.
    static int GetCheckImage(TCheckType type, TCheckState state, bool enabled, bool hot);

    // ----- structure editing -----------------------------------------------------------
    virtual PLazyNode AddChild(PLazyNode parent, void* userData = nullptr);
    PLazyNode InsertNode(PLazyNode node, TLTNodeAttachMode mode, void* userData = nullptr);
    virtual void SetChildCount(PLazyNode node, std::uint32_t newChildCount);
    void DeleteNode(PLazyNode node) { InternalDeleteNode(node, true, false); }
    void DeleteChildren(PLazyNode node, bool resetHasChildren = false);
    virtual void DeleteSelectedNodes();
    virtual void Clear();
    void MoveTo(PLazyNode source, PLazyNode target, TLTNodeAttachMode mode, bool childrenOnly);
    PLazyNode CopyTo(PLazyNode source, PLazyNode target, TLTNodeAttachMode mode, bool childrenOnly);
    // Below the other tree's root. A move or copy to another tree, and every copy, goes through
    // the tree stream: user data travels as far as OnSaveNode and OnLoadNode carry it.
    void MoveTo(PLazyNode source, LazyTreeModel& tree, TLTNodeAttachMode mode, bool childrenOnly);
    PLazyNode CopyTo(PLazyNode source, LazyTreeModel& tree, TLTNodeAttachMode mode,
                     bool childrenOnly);

    // ----- the tree stream (LazyTreesStream.cpp) ---------------------------------------
    // Little-endian records: a 12-byte header, from version 2 a node count, then one anchor
    // chunk per top-level node holding its base chunk, children, user data and caption.
    std::function<void(LazyTreeModel&, PLazyNode node, QIODevice& stream)> OnSaveNode;
    // node is nil for the root.
    std::function<void(LazyTreeModel&, PLazyNode node, QIODevice& stream)> OnLoadNode;
    std::function<void(LazyTreeModel&, QIODevice& stream)> OnSaveTree;
    std::function<void(LazyTreeModel&, QIODevice& stream)> OnLoadTree;
    // Version 2 records of the node, or of every top-level node when node is nil. A device
    // that cannot seek gets the records assembled in memory first.
    virtual void SaveToStream(QIODevice& stream, PLazyNode node = nullptr);
    // Written to a temporary file that replaces the old one only when complete.
    void SaveToFile(const QString& fileName);
    // Replaces the whole tree; nothing under toReadOnly. The header is checked before the tree
    // is cleared, so a wrong file leaves the tree as it was. Faults raise ELazyTreeError
    // (help contexts 2002 to 2006); the records read before a fault stay in the tree.
    virtual void LoadFromStream(QIODevice& stream);
    virtual void LoadFromFile(const QString& fileName);
    // Appends the stream's nodes as last children of target (nil: the root); the tree is not
    // cleared and OnLoadTree does not fire.
    void AddFromStream(QIODevice& stream, PLazyNode targetNode);

    // ----- navigation ------------------------------------------------------------------
    PLazyNode GetFirst(bool cca = false);
    PLazyNode GetFirstNoInit(bool cca = false) const;
    PLazyNode GetNext(PLazyNode node, bool cca = false);
    PLazyNode GetNextNoInit(PLazyNode node, bool cca = false) const;
    PLazyNode GetPrevious(PLazyNode node, bool cca = false);
    PLazyNode GetPreviousNoInit(PLazyNode node, bool cca = false) const;
    PLazyNode GetLast(PLazyNode node = nullptr, bool cca = false);
    PLazyNode GetLastNoInit(PLazyNode node = nullptr, bool cca = false) const;
    PLazyNode GetFirstChild(PLazyNode node);
    PLazyNode GetFirstChildNoInit(PLazyNode node) const;
    PLazyNode GetLastChild(PLazyNode node);
    PLazyNode GetLastChildNoInit(PLazyNode node) const;
    PLazyNode GetNextSibling(PLazyNode node);
    PLazyNode GetNextSiblingNoInit(PLazyNode node) const;
    PLazyNode GetPreviousSibling(PLazyNode node);
    PLazyNode GetPreviousSiblingNoInit(PLazyNode node) const;
    PLazyNode GetNextVisibleSibling(PLazyNode node, bool includeFiltered = false);
    PLazyNode GetNextVisibleSiblingNoInit(PLazyNode node, bool includeFiltered = false) const;
    PLazyNode GetPreviousVisibleSibling(PLazyNode node, bool includeFiltered = false);
    PLazyNode GetPreviousVisibleSiblingNoInit(PLazyNode node, bool includeFiltered = false) const;
    PLazyNode GetFirstVisibleChild(PLazyNode node, bool includeFiltered = false);
    PLazyNode GetFirstVisibleChildNoInit(PLazyNode node, bool includeFiltered = false) const;
    PLazyNode GetLastVisibleChild(PLazyNode node, bool includeFiltered = false);
    PLazyNode GetLastVisibleChildNoInit(PLazyNode node, bool includeFiltered = false) const;
    PLazyNode GetFirstVisible(PLazyNode node = nullptr, bool cca = true,
                              bool includeFiltered = false);
    PLazyNode GetFirstVisibleNoInit(PLazyNode node = nullptr, bool cca = true,
                                    bool includeFiltered = false) const;
    PLazyNode GetNextVisible(PLazyNode node, bool cca = true);
    PLazyNode GetNextVisibleNoInit(PLazyNode node, bool cca = true) const;
    PLazyNode GetPreviousVisible(PLazyNode node, bool cca = true);
    PLazyNode GetPreviousVisibleNoInit(PLazyNode node, bool cca = true) const;
    PLazyNode GetLastVisible(PLazyNode node = nullptr, bool cca = true,
                             bool includeFiltered = false);
    PLazyNode GetLastVisibleNoInit(PLazyNode node = nullptr, bool cca = true,
                                   bool includeFiltered = false) const;
    PLazyNode GetFirstChecked(TCheckState state = csCheckedNormal, bool cca = false);
    PLazyNode GetNextChecked(PLazyNode node, TCheckState state = csCheckedNormal, bool cca = false);
    PLazyNode GetPreviousChecked(PLazyNode node, TCheckState state = csCheckedNormal,
                                 bool cca = false);
    PLazyNode GetFirstCutCopy(bool cca = false);
    PLazyNode GetNextCutCopy(PLazyNode node, bool cca = false);
    PLazyNode GetPreviousCutCopy(PLazyNode node, bool cca = false);
    PLazyNode GetFirstSelected(bool cca = false);
    PLazyNode GetNextSelected(PLazyNode node, bool cca = false);
    PLazyNode GetPreviousSelected(PLazyNode node, bool cca = false);
    PLazyNode GetFirstInitialized(bool cca = false) const;
    PLazyNode GetNextInitialized(PLazyNode node, bool cca = false) const;
    PLazyNode GetPreviousInitialized(PLazyNode node, bool cca = false) const;
    PLazyNode GetLastInitialized(PLazyNode node = nullptr, bool cca = false) const;
    PLazyNode GetFirstLeaf();
    PLazyNode GetNextLeaf(PLazyNode node);
    PLazyNode GetPreviousLeaf(PLazyNode node);
    PLazyNode GetFirstLevel(std::uint32_t nodeLevel);
    PLazyNode GetNextLevel(PLazyNode node, std::uint32_t nodeLevel);
    PLazyNode GetPreviousLevel(PLazyNode node, std::uint32_t nodeLevel);

    TLTLazyNodeEnumeration Nodes(bool cca = false);
    TLTLazyNodeEnumeration CheckedNodes(TCheckState state = csCheckedNormal, bool cca = false);
    TLTLazyNodeEnumeration ChildNodes(PLazyNode node);
    TLTLazyNodeEnumeration CutCopyNodes(bool cca = false);
    TLTLazyNodeEnumeration InitializedNodes(bool cca = false);
    TLTLazyNodeEnumeration LeafNodes();
    TLTLazyNodeEnumeration LevelNodes(std::uint32_t nodeLevel);
    TLTLazyNodeEnumeration NoInitNodes(bool cca = false);
    TLTLazyNodeEnumeration SelectedNodes(bool cca = false);
    TLTLazyNodeEnumeration VisibleNodes(PLazyNode node = nullptr, bool cca = true,
                                        bool includeFiltered = false);
    TLTLazyNodeEnumeration VisibleChildNodes(PLazyNode node, bool includeFiltered = false);
    TLTLazyNodeEnumeration VisibleChildNoInitNodes(PLazyNode node, bool includeFiltered = false);
    TLTLazyNodeEnumeration VisibleNoInitNodes(PLazyNode node = nullptr, bool cca = true,
                                              bool includeFiltered = false);

    // The shown row that covers vertical position y (x is not used); nil below the last row.
    // With relative, y is a client coordinate (the vertical offset is taken off) and nodeTop
    // comes back in client coordinates too.
    PLazyNode GetNodeAt(int x, int y, bool relative, int& nodeTop);
    PLazyNode GetNodeAt(int x, int y);

    // Position in document order counted from 0; nil and the root give 0.
    std::uint32_t AbsoluteIndex(PLazyNode node);
    PLazyNode GetVisibleParent(PLazyNode node, bool includeFiltered = false);
    bool HasAsParent(PLazyNode node, PLazyNode potentialParent) const;
    TNodeArray GetSortedSelection(bool resolve) const;
    TNodeArray GetSortedCutCopySet(bool resolve) const;
    using TLTGetNodeProc =
        std::function<void(LazyTreeModel&, PLazyNode node, void* data, bool& abort)>;
    PLazyNode IterateSubtree(PLazyNode node, const TLTGetNodeProc& callback, void* data,
                             TLazyNodeStates filter = {}, bool doInit = false,
                             bool childNodesOnly = false);

    // ----- sorting ---------------------------------------------------------------------
    virtual void Sort(PLazyNode node, TColumnIndex column, TSortDirection direction,
                      bool doInit = true);
    virtual void SortTree(TColumnIndex column, TSortDirection direction, bool doInit = true);

    // ----- position cache (LazyTreesCache.cpp) ------------------------------------------
    // The shared background worker that rebuilds this tree's position cache; nil: none, every
    // lookup walks from the first row. Setting it takes the tree back from the old worker.
    void SetTreeWorker(std::shared_ptr<TreeWorker> worker);
    const std::shared_ptr<TreeWorker>& treeWorker() const;
    // Takes over a rebuild the worker has finished (main thread). Returns true when the cache
    // came into use. The lookups call it themselves.
    bool takeValidationResult();
    // The cache entries; meaningful only while TreeStates() contains tsUseCache.
    const TCache& positionCache() const;
    std::uint32_t CacheEntryCount() const;
    // Order of two nodes: negative when node1 comes first, 0 for the same node. A descendant
    // comes after its ancestor, before it with considerChildrenAbove under toChildrenAbove.
    // Throws for nil.
    int ComparePositions(PLazyNode node1, PLazyNode node2, bool considerChildrenAbove) const;
    // The cached node at or before a shown node (at or above a tree position) and its top;
    // nil and 0 while the cache is not in use or has no such entry.
    PLazyNode FindInPositionCache(PLazyNode node, std::uint32_t& currentPos) const;
    PLazyNode FindInPositionCache(std::uint32_t position, std::uint32_t& currentPos) const;
    // Top of a shown node's row in tree coordinates: from the nearest cache entry when the
    // cache is in use, otherwise the sum of the rows above it.
    std::int64_t rowTop(PLazyNode node);

    // ----- checking --------------------------------------------------------------------
    // Verifies every invariant of the model. Returns an empty text when all hold, otherwise a
    // description of the first broken one.
    virtual QString checkConsistency() const;

protected:
    // Event hooks; each fires its On... callback when one is assigned.
    virtual void DoInitNode(PLazyNode parent, PLazyNode node, TLazyNodeInitStates& initStates);
    virtual bool DoInitChildren(PLazyNode node, std::uint32_t& childCount);
    virtual void DoResetNode(PLazyNode node);
    virtual void DoFreeNode(PLazyNode node);
    virtual void DoStructureChange(PLazyNode node, TChangeReason reason);
    virtual void DoChange(PLazyNode node);
    virtual void DoUpdating(TLTUpdateState state);
    virtual void DoStartOperation(TLTOperationKind kind);
    virtual void DoEndOperation(TLTOperationKind kind);
    virtual void DoStateChange(TLazyTreeStates enter, TLazyTreeStates leave = {});
    virtual int DoGetNodeDataSize();
    virtual int DoCompareNodes(PLazyNode node1, PLazyNode node2, TColumnIndex column);
    virtual bool DoNodeMoving(PLazyNode node, PLazyNode target);
    virtual void DoNodeMoved(PLazyNode node);
    virtual bool DoNodeCopying(PLazyNode node, PLazyNode target);
    virtual void DoNodeCopied(PLazyNode node);
    virtual bool DoExpanding(PLazyNode node);
    virtual bool DoCollapsing(PLazyNode node);
    virtual void DoExpanded(PLazyNode node);
    virtual void DoCollapsed(PLazyNode node);
    virtual void DoFocusChanged(PLazyNode node, TColumnIndex column);
    // Asks OnChecking; false without asking on a read-only tree.
    virtual bool DoChecking(PLazyNode node, TCheckState& newState);
    virtual void DoChecked(PLazyNode node);
    // Derives the parent's state from its children and applies it through OnChecking.
    bool CheckParentCheckState(PLazyNode node, TCheckState newCheckState);
    virtual void SetCursorBusy(bool busy) {}
    // The column that holds the focus; the model alone has only the implicit column.
    virtual TColumnIndex focusedColumnIndex() const { return NoColumn; }

    virtual void InitNode(PLazyNode node);
    virtual void InitChildren(PLazyNode node);
    virtual void StructureChange(PLazyNode node, TChangeReason reason);
    virtual void Change(PLazyNode node);
    virtual void InternalConnectNode(PLazyNode node, PLazyNode destination, TLTNodeAttachMode mode,
                                     LazyTreeModel& target);
    virtual void InternalDisconnectNode(PLazyNode node, bool keepFocus, bool reindex = true,
                                        bool parentClearing = false);
    void InternalDeleteNode(PLazyNode node, bool reindex, bool parentClearing);
    PLazyNode MakeNewNode();
    void FreeNodeBlock(PLazyNode node);

    // Display hooks, overridden by the control. The model alone has no window: notices are
    // delivered at once and nothing is repainted.
    virtual bool HandleAllocated() const { return false; }
    virtual void StartNoticeTimer(int id, int ms) {}
    virtual void StopNoticeTimer(int id) {}
    // The position cache (LazyTreesCache.cpp). Every change of structure, expansion,
    // visibility, filtering or height calls InterruptValidation before it touches a node and
    // InvalidateCache (then, outside update brackets, ScheduleCacheValidation) afterwards.
    virtual void InvalidateCache();
    virtual void ScheduleCacheValidation();
    virtual void InterruptValidation();
    // Called on the worker thread after each rebuild of this tree, while the tree cannot be
    // destroyed; it must only post work to the main thread (takeValidationResult).
    void setValidationNotifier(std::function<void()> notify);
    virtual void UpdateScrollBars(bool repaint) {}
    virtual void UpdateVerticalRange() {}
    virtual void Invalidate() {}
    virtual void InvalidateNode(PLazyNode node) {}
    virtual void InvalidateToBottom(PLazyNode node) {}
    // Node editing lives in the control; the model alone never edits. EndEditNode refuses
    // only while an edit runs that nothing could end.
    virtual bool CancelEditNode() { return true; }
    virtual bool EndEditNode() { return !FStates.contains(tsEditing); }
    virtual void UpdateEditBounds() {}
    virtual void EnsureNodeSelected() {}
    virtual void SetRedraw(bool on) {}
    virtual std::uint32_t MeasureNodeHeight(PLazyNode node) { return node->NodeHeight; }
    // Vertical scroll offset, 0 or negative.
    virtual int OffsetY() const { return 0; }
    // While the position cache is valid: the cached node at or above tree position y and its
    // top, so that a lookup need not walk from the first row.
    virtual PLazyNode CachedNodeAt(int y, int& nodeTop) const;
    // After a toggle outside update brackets: moves the view so that the toggled rows are
    // seen. heightChange is the change of the node's TotalHeight. Returns true when the whole
    // window must be repainted, false when the rows from the node down are enough.
    virtual bool AdjustViewAfterToggle(PLazyNode node, bool expanded, std::int64_t heightChange)
    {
        return true;
    }
    // Reactions of the control to a changed option set (themes, drop target, repaint).
    virtual void OptionsChanged() {}
    // The header's sort column and direction, used by automatic sorting.
    virtual TColumnIndex SortColumn() const { return NoColumn; }
    virtual TSortDirection SortDirection() const { return sdAscending; }

    // The tree stream's records (LazyTreesStream.cpp). The reader builds each record detached
    // and attaches it only when it is complete, so a fault never leaves a half-read subtree
    // whose counters disagree with its links.
    virtual void WriteNode(QIODevice& stream, PLazyNode node);
    virtual void WriteChunks(QIODevice& stream, PLazyNode node);
    virtual void FinishChunkHeader(QIODevice& stream, qint64 startPos, qint64 endPos);
    // One node record into a detached node; depth counts the records it is nested in.
    virtual void ReadNode(QIODevice& stream, int version, PLazyNode node, int depth = 0);
    // One chunk whose header has been read; true when it was understood. chunkEnd is where
    // the chunk must end.
    virtual bool ReadChunk(QIODevice& stream, int version, PLazyNode node, int chunkType,
                           int chunkSize, int depth = 0);
    // Reads one record into a new node and connects it at destination; the counters, the
    // visible count and the selection follow. Returns the new node.
    virtual PLazyNode AddNodeFromStream(QIODevice& stream, int version, PLazyNode destination,
                                        TLTNodeAttachMode mode);
    virtual void SkipNode(QIODevice& stream);
    virtual void DoSaveNode(PLazyNode node, QIODevice& stream);
    // True when the handler read anything.
    virtual bool DoLoadNode(PLazyNode node, QIODevice& stream);
    // Records of several nodes (each with WriteNode) into one buffer, read back at target in
    // the other tree. Returns the new nodes in order.
    std::vector<PLazyNode> streamNodesTo(const std::vector<PLazyNode>& sources,
                                         LazyTreeModel& target, PLazyNode destination,
                                         TLTNodeAttachMode mode,
                                         const std::function<void(PLazyNode)>& perNode);

    // Counters.
    void AdjustTotalCount(PLazyNode node, std::int64_t value, bool relative);
    void AdjustTotalHeight(PLazyNode node, std::int64_t value, bool relative);
    std::uint32_t CountVisibleChildren(PLazyNode node) const;
    void DetermineAllChildrenHidden(PLazyNode node);
    void UpdateAllChildrenHidden();
    std::uint32_t ownRowHeight(PLazyNode node) const;
    bool autoSortApplies() const;

    // Timer ids of the delayed notices.
    static constexpr int ChangeTimer = 5;
    static constexpr int StructureChangeTimer = 6;

    // The insert without notices besides OnAddToSelection; true when a node was added.
    bool InternalAddToSelection(PLazyNode node, bool forceInsert = false);
    bool InternalAddToSelection(TNodeArray& newItems, int newLength, bool forceInsert);
    // Marks the node's entry (no packing) and clears its flag; the caller packs.
    void InternalRemoveFromSelection(PLazyNode node);
    void InternalClearSelection();
    void PackSelection();
    // Drops the marked entries of the first count; -1 for an empty array (no change).
    static int PackArray(TNodeArray& array, int count);
    void AddToTempNodeCache(PLazyNode node);
    void ClearTempCache();
    void ResetRangeAnchor();
    void UpdateNextNodeToSelect(PLazyNode node);
    virtual void DoAddToSelection(PLazyNode node);
    virtual void DoRemoveFromSelection(PLazyNode node);

    bool isDestroying() const { return m_destroying; }

    PLazyNode FRoot = nullptr;
    int FNodeDataSize = -1;
    std::size_t FTotalInternalDataSize = 0;
    int FDefaultNodeHeight = 18;
    int FUpdateCount = 0;
    int FSynchUpdateCount = 0;
    std::uint32_t FVisibleCount = 0;
    TLazyTreeStates FStates;
    PLazyNode FLastStructureChangeNode = nullptr;
    TChangeReason FLastStructureChangeReason = crIgnore;
    PLazyNode FLastChangedNode = nullptr;
    int FChangeDelay = 0;
    int FOperationCount = 0;
    bool FOperationCanceled = false;

    // Node references besides the links; DoFreeNode clears every one that names a freed node.
    std::vector<PLazyNode> FSelection;
    std::uint32_t FSelectionCount = 0;
    bool FSelectionLocked = false;
    int FLastSelectionLevel = -1;
    TNodeArray FTempNodeCache;
    int FCheckPropagationCount = 0;
    TCheckState FPendingCheckState = csUncheckedNormal;
    std::uint32_t FTempNodeCount = 0;
    PLazyNode FFocusedNode = nullptr;
    PLazyNode FRangeAnchor = nullptr;
    PLazyNode FNextNodeToSelect = nullptr;
    PLazyNode FLastSelected = nullptr;
    PLazyNode FCurrentHotNode = nullptr;
    PLazyNode FDropTargetNode = nullptr;
    PLazyNode FCheckNode = nullptr;
    PLazyNode FLastVCLDragTarget = nullptr;
    PLazyNode FLastSearchNode = nullptr;
    PLazyNode FHeightTrackNode = nullptr;

private:
    void InitRootNode(std::size_t oldSize = 0);
    std::size_t nodeBlockSize() const;
    void freeDetached(PLazyNode node);
    void moveToTree(PLazyNode source, LazyTreeModel& tree, PLazyNode target, TLTNodeAttachMode mode,
                    bool childrenOnly);
    // Frees a subtree read from a stream that never reached the tree, OnFreeNode included.
    void freeDetachedNodes(PLazyNode node);
    void readRecords(QIODevice& in, int version, PLazyNode destination);
    void sortChain(PLazyNode node, TColumnIndex column, TSortDirection direction);
    void sortTreeWalk(PLazyNode node, TColumnIndex column, TSortDirection direction, bool doInit);
    void collapseCore(PLazyNode node);
    // DeleteChildren without its structure notice, for a node that is deleted itself.
    void deleteChildren(PLazyNode node, bool resetHasChildren, bool notify);
    void expandCore(PLazyNode node);
    PLazyNode nextAfterSubtree(PLazyNode node) const;
    bool childrenAbove(bool cca) const;
    void touch(PLazyNode node, bool init);
    void askChildren(PLazyNode node, bool init);
    PLazyNode walkFirst(bool cca, bool init);
    PLazyNode walkNext(PLazyNode node, bool cca, bool init);
    PLazyNode walkPrevious(PLazyNode node, bool cca, bool init);
    PLazyNode walkLast(PLazyNode node, bool cca, bool init);
    PLazyNode walkFirstChild(PLazyNode node, bool init);
    PLazyNode walkLastChild(PLazyNode node, bool init);
    PLazyNode walkVisibleSibling(PLazyNode node, bool forward, bool includeFiltered, bool init);
    PLazyNode walkFirstVisibleChild(PLazyNode node, bool includeFiltered, bool init);
    PLazyNode walkLastVisibleChild(PLazyNode node, bool includeFiltered, bool init);
    PLazyNode walkFirstVisible(PLazyNode node, bool cca, bool includeFiltered, bool init);
    PLazyNode walkNextVisible(PLazyNode node, bool cca, bool init);
    PLazyNode walkPreviousVisible(PLazyNode node, bool cca, bool init);
    PLazyNode walkLastVisible(PLazyNode node, bool cca, bool includeFiltered, bool init);
    PLazyNode nextVisibleStep(PLazyNode node, bool cca, bool init);
    PLazyNode previousVisibleStep(PLazyNode node, bool cca, bool init);
    PLazyNode lastShownDescendant(PLazyNode node, bool init);
    PLazyNode firstShownCA(PLazyNode node, bool init);
    PLazyNode nextSiblingOrClimb(PLazyNode node, bool init);
    PLazyNode previousVisibleSiblingOrClimb(PLazyNode node, bool init);
    PLazyNode topmostUnshown(PLazyNode node) const;
    // From a shown node whose row starts at top (or from the root, top 0): the shown row that
    // covers tree position y, top set to its start; nil below the last row. Stored heights.
    PLazyNode skipToPosition(PLazyNode node, std::int64_t& top, std::int64_t y) const;
    template <class Pred>
    PLazyNode scanForward(PLazyNode from, bool cca, Pred pred);
    template <class Pred>
    PLazyNode scanBackward(PLazyNode from, bool cca, Pred pred);

    TLazyTreeOptionSets m_options;
    bool m_destroying = false;
    std::unique_ptr<TTreeCacheState> m_cache;
};

// Raised by operations refused for a nil node, the root or a node of another tree.
[[noreturn]] void lazyTreeAssert(const char* message);

}  // namespace zfw
