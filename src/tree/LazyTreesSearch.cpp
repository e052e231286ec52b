// Incremental search: typed characters collect in a buffer that timer 7 forgets, and each one
// moves the focus to the next node whose text begins with the buffer.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesString.h"

namespace zfw {

namespace {

constexpr QChar kBackspace(8);

}  // namespace

int TBaseLazyTree::DoIncrementalSearch(PLazyNode node, const QString& text)
{
    int result = 0;
    if (OnIncrementalSearch)
        OnIncrementalSearch(*this, node, text, result);
    return result;
}

void TBaseLazyTree::IncrementalSearch(const QString& typed)
{
    StopTimer(SearchTimer);
    if (FIncrementalSearch == isNone)
        return;
    if (!typed.isEmpty()) {
        DoStateChange({tsIncrementalSearching});
        const bool backspace = typed.size() == 1 && typed.at(0) == kBackspace;
        if (!(backspace && FSearchBuffer.isEmpty())) {
            PLazyNode start = nullptr;
            if (FSearchStart == ssLastHit)
                start = FLastSearchNode;
            else if (FSearchStart == ssFocusedNode)
                start = FFocusedNode;
            if (start && FIncrementalSearch == isInitializedOnly && !start->has(vsInitialized))
                start = nullptr;
            if (start && FIncrementalSearch == isVisibleOnly
                && (!GetFullyVisible(start) || GetEffectivelyFiltered(start)))
                start = nullptr;
            PLazyNode const stop = start;
            const bool forward = (FSearchDirection == sdForward) != backspace;

            // The same letter again steps on to the next node that begins with it, unless the
            // start node also begins with the letter twice.
            bool singleLetter = !backspace && FSearchBuffer.size() == 1 && FSearchBuffer == typed;
            if (singleLetter && start && DoIncrementalSearch(start, FSearchBuffer + typed) == 0)
                singleLetter = false;

            const auto step = [&](PLazyNode node, bool cca) -> PLazyNode {
                switch (FIncrementalSearch) {
                case isInitializedOnly:
                    return forward ? GetNextNoInit(node, cca) : GetPreviousNoInit(node, cca);
                case isVisibleOnly:
                    return forward ? GetNextVisible(node, cca) : GetPreviousVisible(node, cca);
                default: return forward ? GetNext(node, cca) : GetPrevious(node, cca);
                }
            };
            const auto edge = [&]() -> PLazyNode {
                switch (FIncrementalSearch) {
                case isInitializedOnly:
                    return forward ? GetFirstNoInit(true) : GetLastNoInit(nullptr, true);
                case isVisibleOnly:
                    return forward ? GetFirstVisible(nullptr, true) : GetLastVisible(nullptr, true);
                default: return forward ? GetFirst(true) : GetLast(nullptr, true);
                }
            };
            // One node on, or to the first (last) node when there is none or no start node.
            const auto advance = [&](PLazyNode node) {
                PLazyNode next = node ? step(node, true) : nullptr;
                return next ? next : edge();
            };

            PLazyNode run = start;
            if (FSearchBuffer.isEmpty() || !start || singleLetter || backspace)
                run = advance(start);

            bool found = false;
            QString text;
            if (run) {
                if (singleLetter) {
                    text = FSearchBuffer;
                } else if (backspace) {
                    FSearchBuffer.chop(1);
                    text = FSearchBuffer;
                } else {
                    text = FSearchBuffer + typed;
                }
                // The walk ends where it began; it wraps to the other end only when it began
                // at a node. A second wrap means the start node is not on the walk at all (it
                // left the tree's order meanwhile), which must not loop for ever.
                int wraps = 0;
                do {
                    if (DoIncrementalSearch(run, text) == 0) {
                        found = true;
                        break;
                    }
                    run = step(run, false);
                    if (!run && stop) {
                        if (++wraps > 1)
                            break;
                        run = advance(nullptr);
                    }
                } while (run && run != stop);
            }

            if (found) {
                ClearSelection();
                FSearchBuffer = text;
                FLastSearchNode = run;
                SetFocusedNode(run);
                SetSelected(run, true);
            } else if (!(run && run == stop && DoIncrementalSearch(run, text) == 0) && FBeeper) {
                // A miss sounds once, unless the walk ended on a node that matches: that node
                // is already the focused hit.
                FBeeper->beep();
            }
        }
    }
    startTimerById(SearchTimer, FSearchTimeout);
}

int TCustomLazyStringTree::DoIncrementalSearch(PLazyNode node, const QString& text)
{
    if (OnIncrementalSearch)
        return TBaseLazyTree::DoIncrementalSearch(node, text);
    return GetText(node, FFocusedColumn).startsWith(text, Qt::CaseSensitive) ? 0 : 1;
}

}  // namespace zfw
