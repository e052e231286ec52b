// Nodes on the clipboard: the format registry and a tree's allowed formats, the data object
// rendering on demand, copy, cut and paste within one tree and between two, refusals, foreign
// and damaged data, and trees that go while their data is on the clipboard.

#include "tree/LazyTreesClipboard.h"
#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesString.h"

#include "NumberedNodes.h"
#include "support/FakeClipboard.h"

#include <QIODevice>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace zfw::test {
namespace {

// Trees numbered through their user data (saved and loaded by the events), sharing a context
// over a fake clipboard.
struct Trees {
    FakeClipboard clipboard;
    std::shared_ptr<TLTClipboardContext> context = std::make_shared<TLTClipboardContext>(clipboard);

    std::unique_ptr<TBaseLazyTree> make()
    {
        auto tree = std::make_unique<TBaseLazyTree>();
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetSelectionOptions(tree->options().SelectionOptions
                                  + TLTSelectionOptions{toMultiSelect});
        tree->SetNodeDataSize(4);
        tree->SetClipboardContext(context);
        tree->SetClipboardFormats({QStringLiteral("Lazy Tree Data")});
        tree->OnSaveNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
            s.write(t.nodeData<char>(n), 4);
        };
        tree->OnLoadNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
            s.read(t.nodeData<char>(n), 4);
        };
        return tree;
    }
};

// "1(11 12) 2 3" with 1 expanded.
void fill(TBaseLazyTree& tree)
{
    PLazyNode one = add(tree, nullptr, 1);
    add(tree, one, 11);
    add(tree, one, 12);
    add(tree, nullptr, 2);
    add(tree, nullptr, 3);
}

PLazyNode top(TBaseLazyTree& tree, int index)
{
    PLazyNode n = tree.GetFirstNoInit();
    while (n && index-- > 0)
        n = n->NextSibling;
    return n;
}

TEST(TreeClipboardFormats, RegistryAndAllowedFormats)
{
    FakeClipboard clipboard;
    TLTClipboardContext context(clipboard);
    auto& formats = context.Formats();
    EXPECT_FALSE(formats.RegisterLTClipboardFormat(0, lazyTreeClass<TBaseLazyTree>(), 10));
    EXPECT_FALSE(formats.RegisterLTClipboardFormat(18, lazyTreeClass<TBaseLazyTree>(), 10));
    ASSERT_TRUE(formats.RegisterLTClipboardFormat(1, lazyTreeClass<TCustomLazyStringTree>(), 100));
    EXPECT_EQ(formats.FindFormat("plain TEXT")->MimeType, "text/plain");
    // A name registered twice: the entry that sorts last answers.
    formats.Add("Twice", "application/x-a", lazyTreeClass<TBaseLazyTree>(), 20);
    formats.Add("twice", "application/x-b", lazyTreeClass<TBaseLazyTree>(), 70);
    EXPECT_EQ(formats.FindFormat("Twice")->MimeType, "application/x-b");

    auto shared = std::make_shared<TLTClipboardContext>(clipboard);
    shared->Formats().RegisterLTClipboardFormat(1, lazyTreeClass<TCustomLazyStringTree>(), 100);
    TBaseLazyTree base;
    base.SetClipboardContext(shared);
    TLazyStringTree strings;
    strings.SetClipboardContext(shared);
    const QStringList wanted{"Plain text", "Lazy Tree Data", "No such format", "lazy tree data"};
    base.SetClipboardFormats(wanted);
    strings.SetClipboardFormats(wanted);
    // Only what the registry knows for the kind of tree, sorted, without duplicates.
    EXPECT_EQ(base.ClipboardFormats(), QStringList{"Lazy Tree Data"});
    EXPECT_EQ(strings.ClipboardFormats(), (QStringList{"Lazy Tree Data", "Plain text"}));
    // Offered in priority order, the owner's formats after the tree's.
    strings.OnGetUserClipboardFormats = [](TBaseLazyTree&, QStringList& f) {
        f << "application/x-own";
    };
    EXPECT_EQ(strings.EnumerateClipboardFormats(),
              (QStringList{kLazyTreeDataMime, "text/plain", "application/x-own"}));
    base.SetClipboardFormats({});
    EXPECT_TRUE(base.EnumerateClipboardFormats().isEmpty());
}

TEST(TreeClipboard, CopyRendersOnDemandAndPastesCopies)
{
    Trees f;
    auto one = f.make();
    fill(*one);
    one->SetSelected(top(*one, 0), true);
    one->SetSelected(top(*one, 2), true);
    int saves = 0;
    auto save = one->OnSaveNode;
    one->OnSaveNode = [&](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        ++saves;
        save(t, n, s);
    };
    one->CopyToClipboard();
    EXPECT_TRUE(one->TreeStates().contains(tsCopyPending));
    EXPECT_EQ(one->CutCopyCount(), 2u);
    EXPECT_EQ(saves, 0) << "nothing is rendered before a receiver asks";
    ASSERT_NE(f.clipboard.mimeData(), nullptr);
    EXPECT_TRUE(f.clipboard.mimeData()->hasFormat(kLazyTreeDataMime));

    auto two = f.make();
    add(*two, nullptr, 9);
    two->SetFocusedNode(two->GetFirstNoInit());
    EXPECT_TRUE(two->PasteFromClipboard());
    EXPECT_EQ(shape(*two), "9(1(11 12) 3)");
    EXPECT_EQ(saves, 4);
    // A copy stays on the clipboard and in the source.
    EXPECT_EQ(shape(*one), "1(11 12) 2 3");
    EXPECT_TRUE(one->TreeStates().contains(tsCopyPending));
    EXPECT_EQ(two->checkConsistency(), QString());

    // Anything else on the clipboard ends the pending copy.
    f.clipboard.setText("x");
    EXPECT_FALSE(one->TreeStates().contains(tsCopyPending));
    EXPECT_EQ(one->CutCopyCount(), 0u);
}

TEST(TreeClipboard, CutAndPasteMovesNodes)
{
    Trees f;
    auto one = f.make();
    fill(*one);
    auto two = f.make();
    add(*two, nullptr, 9);

    // Into another tree: the nodes move there and leave the source.
    one->SetSelected(top(*one, 0), true);
    one->CutToClipboard();
    EXPECT_TRUE(one->TreeStates().contains(tsCutPending));
    two->SetFocusedNode(nullptr);
    EXPECT_TRUE(two->PasteFromClipboard());
    EXPECT_EQ(shape(*two), "9 1(11 12)");
    EXPECT_EQ(shape(*one), "2 3");
    EXPECT_FALSE(one->TreeStates().contains(tsCutPending));

    // Within one tree: moved, nothing deleted afterwards.
    one->ClearSelection();
    one->SetSelected(top(*one, 0), true);
    one->CutToClipboard();
    one->SetFocusedNode(top(*one, 1));
    EXPECT_TRUE(one->PasteFromClipboard());
    EXPECT_EQ(shape(*one), "3(2)");
    EXPECT_FALSE(one->TreeStates().contains(tsCutPending));
    for (TBaseLazyTree* t : {one.get(), two.get()})
        EXPECT_EQ(t->checkConsistency(), QString());
}

TEST(TreeClipboard, RefusalsAndForeignData)
{
    Trees f;
    auto one = f.make();
    fill(*one);
    one->SetSelected(top(*one, 1), true);
    one->CopyToClipboard();
    auto two = f.make();

    // A paste whose every node is refused adds nothing but reports true.
    two->OnNodeCopying = [](LazyTreeModel&, PLazyNode, PLazyNode, bool& allowed) {
        allowed = false;
    };
    EXPECT_TRUE(two->PasteFromClipboard());
    EXPECT_TRUE(two->IsEmpty());

    // Read-only: false, nothing added.
    auto three = f.make();
    three->SetMiscOptions(three->options().MiscOptions + TLTMiscOptions{toReadOnly});
    EXPECT_FALSE(three->PasteFromClipboard());
    EXPECT_TRUE(three->IsEmpty());

    // Text of another program: false.
    f.clipboard.setText("plain words");
    auto four = f.make();
    EXPECT_FALSE(four->PasteFromClipboard());
    EXPECT_TRUE(four->IsEmpty());

    // Node data whose byte count disagrees with what arrived is refused before anything is read.
    for (const char* count : {"ff000000", "00000000"}) {
        auto damaged = std::make_unique<QMimeData>();
        QByteArray bytes = QByteArray::fromHex(count);
        bytes += QByteArray(35, '\0');
        damaged->setData(kLazyTreeDataMime, bytes);
        f.clipboard.setMimeData(std::move(damaged));
        EXPECT_THROW(four->PasteFromClipboard(), ELazyTreeError) << count;
        EXPECT_TRUE(four->IsEmpty());
        EXPECT_EQ(four->checkConsistency(), QString());
    }
}

TEST(TreeClipboard, ATreeThatGoesLeavesItsDataOrNothing)
{
    Trees f;
    auto one = f.make();
    fill(*one);
    one->SetSelected(top(*one, 0), true);
    one->CopyToClipboard();
    one.reset();
    // The pending copy was rendered into the clipboard before the tree went; the reference to
    // it was not kept.
    const QMimeData* data = f.clipboard.mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_FALSE(data->hasFormat(kLazyTreeReferenceMime));
    auto two = f.make();
    EXPECT_TRUE(two->PasteFromClipboard());
    EXPECT_EQ(shape(*two), "1(11 12)");

    // Data of a tree that went without a pending copy (a drag's data object kept elsewhere)
    // renders nothing and names no tree.
    auto three = f.make();
    fill(*three);
    three->SetSelected(top(*three, 2), true);
    auto dragData = std::make_unique<TLTDataObject>(f.context, three->clipboardId(), false,
                                                    three->EnumerateClipboardFormats());
    EXPECT_FALSE(dragData->data(kLazyTreeDataMime).isEmpty());
    EXPECT_EQ(two->GetTreeFromDataObject(*dragData), three.get());
    three.reset();
    EXPECT_TRUE(dragData->data(kLazyTreeDataMime).isEmpty());
    EXPECT_TRUE(dragData->data(kLazyTreeReferenceMime).isEmpty());
    EXPECT_EQ(two->GetTreeFromDataObject(*dragData), nullptr);
}

TEST(TreeClipboard, ReferencesNameTreesOfThisProcessAndContextOnly)
{
    const QByteArray ref = lazyTreeReference(1234, 0xABCDEF, 7);
    EXPECT_EQ(ref.size(), 16);
    EXPECT_EQ(lazyTreeFromReference(ref, 1234, 0xABCDEF), 7u);
    EXPECT_EQ(lazyTreeFromReference(ref, 1235, 0xABCDEF), 0u);
    EXPECT_EQ(lazyTreeFromReference(ref, 1234, 0xABCDEE), 0u);
    EXPECT_EQ(lazyTreeFromReference(ref.left(15), 1234, 0xABCDEF), 0u);
}

TEST(TreeClipboard, EditActions)
{
    Trees f;
    auto one = f.make();
    fill(*one);
    EXPECT_TRUE(one->ExecuteAction(TBaseLazyTree::eaSelectAll));
    EXPECT_EQ(one->SelectedCount(), 5u);
    EXPECT_TRUE(one->ExecuteAction(TBaseLazyTree::eaCopy));
    EXPECT_TRUE(one->TreeStates().contains(tsCopyPending));
    one->SetMiscOptions(one->options().MiscOptions + TLTMiscOptions{toReadOnly});
    for (auto action : {TBaseLazyTree::eaCut, TBaseLazyTree::eaPaste, TBaseLazyTree::eaDelete})
        EXPECT_FALSE(one->ExecuteAction(action));
    EXPECT_EQ(shape(*one), "1(11 12) 2 3");
}

}  // namespace
}  // namespace zfw::test
