// A tree stream from a file, the clipboard or another program's drag: loading either fails
// with a tree error or succeeds; either way the tree's counters agree with its links, and what
// was loaded saves to a stream that loads back to the same bytes.

#include "FuzzSupport.h"

#include "tree/core/LazyTrees.h"

#include <QBuffer>

namespace {

using namespace zfw;

// User data: up to four bytes per node, as an owner might keep.
void attachHandlers(LazyTreeModel& tree)
{
    tree.SetNodeDataSize(4);
    tree.OnSaveNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        const char* data = t.nodeData<char>(n);
        if (data[0] != 0)
            s.write(data, 4);
    };
    tree.OnLoadNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        s.read(t.nodeData<char>(n), 4);
    };
}

QByteArray saved(LazyTreeModel& tree)
{
    QBuffer out;
    out.open(QIODevice::ReadWrite);
    tree.SaveToStream(out, nullptr);
    return out.data();
}

// False when the stream was refused.
bool load(LazyTreeModel& tree, const QByteArray& bytes)
{
    QBuffer in;
    in.setData(bytes);
    in.open(QIODevice::ReadOnly);
    try {
        tree.LoadFromStream(in);
    } catch (const ELazyTreeError& e) {
        ZFW_FUZZ_CHECK(e.helpContext() >= 2002 && e.helpContext() <= 2007);
        return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = zfw::fuzz::bytesOf(data, size);
    LazyTreeModel tree;
    attachHandlers(tree);
    tree.SetSelectionOptions(tree.options().SelectionOptions + TLTSelectionOptions{toMultiSelect});
    const bool loaded = load(tree, bytes);
    ZFW_FUZZ_CHECK(tree.checkConsistency().isEmpty());

    // Appending below a node keeps the tree sound too.
    if (PLazyNode first = tree.GetFirstNoInit()) {
        QBuffer in;
        in.setData(bytes);
        in.open(QIODevice::ReadOnly);
        try {
            tree.AddFromStream(in, first);
        } catch (const ELazyTreeError&) {
        }
        ZFW_FUZZ_CHECK(tree.checkConsistency().isEmpty());
    }
    if (!loaded)
        return 0;

    LazyTreeModel first;
    attachHandlers(first);
    ZFW_FUZZ_CHECK(load(first, bytes));
    const QByteArray once = saved(first);
    LazyTreeModel again;
    attachHandlers(again);
    ZFW_FUZZ_CHECK(load(again, once));
    ZFW_FUZZ_CHECK(again.checkConsistency().isEmpty());
    ZFW_FUZZ_CHECK(saved(again) == once);
    return 0;
}
