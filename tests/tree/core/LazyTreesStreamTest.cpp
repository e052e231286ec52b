// The tree stream: exact bytes of small trees, round trips with user data, every fault a
// damaged or hostile stream can show, and moves and copies between trees.

#include "TreeFixture.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstring>

namespace zfw::test {
namespace {

// User data of the tests: one 32-bit number per node, saved and loaded by the events.
struct Numbered {
    ProbeTree tree;
    int saves = 0;
    int loads = 0;

    Numbered()
    {
        tree.SetNodeDataSize(int(sizeof(std::uint32_t)));
        tree.SetAutoOptions(tree.options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree.OnSaveNode = [this](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
            ++saves;
            const auto v = *t.nodeData<std::uint32_t>(n);
            if (v != 0) {
                char b[4];
                qToLittleEndian(v, b);
                s.write(b, 4);
            }
        };
        tree.OnLoadNode = [this](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
            ++loads;
            char b[4];
            if (s.read(b, 4) == 4)
                *t.nodeData<std::uint32_t>(n) = qFromLittleEndian<std::uint32_t>(b);
        };
    }

    PLazyNode add(PLazyNode parent, std::uint32_t value)
    {
        PLazyNode n = tree.AddChild(parent);
        *tree.nodeData<std::uint32_t>(n) = value;
        return n;
    }

    // "1(11 12(121)) 2" style: each node's number, children in brackets.
    std::string shape(PLazyNode parent = nullptr)
    {
        std::string out;
        PLazyNode first = parent ? parent->FirstChild : tree.RootNode()->FirstChild;
        for (PLazyNode n = first; n; n = n->NextSibling) {
            if (!out.empty())
                out += ' ';
            out += std::to_string(*tree.nodeData<std::uint32_t>(n));
            if (n->FirstChild)
                out += '(' + shape(n) + ')';
        }
        return out;
    }
};

QByteArray save(LazyTreeModel& tree, PLazyNode node = nullptr)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    tree.SaveToStream(buffer, node);
    return buffer.data();
}

// The help context of the error raised by loading the bytes; 0 when none.
int loadError(LazyTreeModel& tree, const QByteArray& bytes, std::string* message = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        tree.LoadFromStream(buffer);
    } catch (const ELazyTreeError& e) {
        if (message)
            *message = e.what();
        return e.helpContext();
    }
    return 0;
}

QByteArray hex(const char* text) { return QByteArray::fromHex(QByteArray(text)); }

const char* const kHeader = "45205600540002002000 4620";

void buildSample(Numbered& t)
{
    PLazyNode one = t.add(nullptr, 1);
    t.add(one, 11);
    PLazyNode twelve = t.add(one, 12);
    t.add(twelve, 121);
    t.add(nullptr, 2);
    t.tree.SetExpanded(one, true);
}

TEST(TreeStream, GoldenBytes)
{
    ProbeTree empty;
    EXPECT_EQ(save(empty).toHex(' '), hex(kHeader).append(hex("00000000")).toHex(' '));

    ProbeTree one;
    PLazyNode node = one.AddChild(nullptr);
    const std::uint32_t states = (node->States.value()).bits();
    QByteArray expected = hex(kHeader);
    expected += hex("01000000");           // one top-level record
    expected += hex("01000000 1b000000");  // anchor, 27 bytes
    expected += hex("02000000 13000000");  // base chunk, 19 bytes
    expected += hex("00000000 12000000");  // no children, height 18
    char st[4];
    qToLittleEndian(states, st);
    expected += QByteArray(st, 4);
    expected += hex("32 00 00 00000000");  // align 50, unchecked, no box, reserved
    const QByteArray bytes = save(one);
    EXPECT_EQ(bytes.toHex(' '), expected.toHex(' '));
    EXPECT_EQ(bytes.size() - 16, 35);

    // User data follows the base chunk in a chunk of its own.
    Numbered t;
    t.add(nullptr, 0x01020304);
    const QByteArray withData = save(t.tree);
    EXPECT_EQ(withData.size(), 16 + 35 + 12);
    EXPECT_EQ(withData.mid(16 + 4, 4), hex("27000000"));  // the anchor covers the data chunk
    EXPECT_EQ(withData.right(12), hex("04000000 04000000 04030201"));
}

TEST(TreeStream, LoadThenSaveGivesTheSameBytes)
{
    Numbered source;
    buildSample(source);
    source.tree.SetSelectionOptions(source.tree.options().SelectionOptions
                                    + TLTSelectionOptions{toMultiSelect});
    source.tree.SetCheckType(source.tree.GetFirstNoInit(), ctCheckBox);
    const QByteArray bytes = save(source.tree);

    Numbered target;
    EXPECT_EQ(loadError(target.tree, bytes), 0);
    EXPECT_EQ(target.shape(), "1(11 12(121)) 2");
    EXPECT_EQ(target.tree.TotalNodeCount(), 5u);
    EXPECT_EQ(target.tree.visibleCount(), 4u);  // 1 expanded: 1, 11, 12, 2
    EXPECT_EQ(target.tree.CheckType(target.tree.GetFirstNoInit()), ctCheckBox);
    EXPECT_EQ(target.tree.checkConsistency().toStdString(), "");
    EXPECT_EQ(save(target.tree).toHex(' ').toStdString(), bytes.toHex(' ').toStdString());
}

TEST(TreeStream, EmptyStreamFiresTheLoadEvents)
{
    ProbeTree source;
    const QByteArray bytes = save(source);
    ProbeTree target;
    target.SetRootNodeCount(3);
    std::vector<std::string> events;
    target.OnNodeCopied = [&](LazyTreeModel&, PLazyNode n) {
        events.push_back(n ? "copied node" : "copied nil");
    };
    target.OnLoadTree = [&](LazyTreeModel&, QIODevice&) { events.push_back("load tree"); };
    EXPECT_EQ(loadError(target, bytes), 0);
    EXPECT_TRUE(target.IsEmpty());
    EXPECT_EQ(events, (std::vector<std::string>{"copied nil", "load tree"}));
}

struct FaultCase {
    const char* name;
    std::function<QByteArray()> bytes;
    int helpContext;
};

QByteArray bareRecord(const char* base)
{
    return hex("01000000 1b000000") + hex("02000000 13000000") + hex(base);
}

const char* const kBareBase = "00000000 12000000 80000000 32 00 00 00000000";

const FaultCase kFaults[] = {
    {"ElevenBytes", [] { return hex(kHeader).left(11); }, 2004},
    {"FirstUnitDiffers", [] { return hex("46205600540002002000 4620 00000000"); }, 2002},
    {"LastUnitDiffers", [] { return hex("45205600540002002000 4720 00000000"); }, 2002},
    {"VersionThree", [] { return hex("45205600540003002000 4620 00000000"); }, 2003},
    {"CountWithoutRecords", [] { return hex(kHeader) + hex("02000000") + bareRecord(kBareBase); },
     2004},
    {"NotAnAnchor",
     [] { return hex(kHeader) + hex("01000000") + hex("02000000 1b000000") + QByteArray(27, 0); },
     2005},
    {"NegativeAnchorSize", [] { return hex(kHeader) + hex("01000000 01000000 f8ffffff"); }, 2005},
    // A negative chunk size would read the same header for ever.
    {"NegativeChunkSize",
     [] { return hex(kHeader) + hex("01000000 01000000 08000000 09000000 f8ffffff"); }, 2006},
    {"ChunkPastItsAnchor",
     [] {
         return hex(kHeader) + hex("01000000 01000000 1b000000 02000000 14000000") + hex(kBareBase)
                + hex("00");
     },
     2006},
    {"AnchorPastTheEnd", [] { return hex(kHeader) + hex("01000000 01000000 ff000000"); }, 2004},
    {"ChildCountWithoutChildren",
     [] {
         return hex(kHeader) + hex("01000000")
                + bareRecord("ffffff7f 12000000 80000000 32 00 00 00000000");
     },
     2004},
};

class TreeStreamFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(TreeStreamFault, RaisesItsErrorAndKeepsTheTreeSound)
{
    ProbeTree tree;
    std::string message;
    EXPECT_EQ(loadError(tree, GetParam().bytes(), &message), GetParam().helpContext) << message;
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Tree, TreeStreamFault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TreeStream, AWrongFileLeavesTheTreeAsItWas)
{
    for (const char* bytes : {"45205600540003002000 4620", "00", "4520560054000200200046"}) {
        Numbered t;
        buildSample(t);
        EXPECT_NE(loadError(t.tree, hex(bytes)), 0) << bytes;
        EXPECT_EQ(t.shape(), "1(11 12(121)) 2") << bytes;
    }
    // AddFromStream checks the header the same way.
    Numbered t;
    buildSample(t);
    QBuffer buffer;
    buffer.setData(hex("46205600540002002000 4620 00000000"));
    buffer.open(QIODevice::ReadOnly);
    try {
        t.tree.AddFromStream(buffer, nullptr);
        ADD_FAILURE() << "no error";
    } catch (const ELazyTreeError& e) {
        EXPECT_EQ(e.helpContext(), 2002);
    }
    EXPECT_EQ(t.shape(), "1(11 12(121)) 2");
}

TEST(TreeStream, EveryPrefixAndEveryFlippedByteFailsCleanly)
{
    Numbered source;
    buildSample(source);
    const QByteArray bytes = save(source.tree);
    for (int cut = 0; cut < bytes.size(); ++cut) {
        Numbered t;
        EXPECT_NE(loadError(t.tree, bytes.left(cut)), 0) << "prefix " << cut;
        ASSERT_EQ(t.tree.checkConsistency().toStdString(), "") << "prefix " << cut;
    }
    for (int at = 0; at < bytes.size(); ++at) {
        for (char mask : {char(0x01), char(0x80), char(0xff)}) {
            QByteArray flipped = bytes;
            flipped[at] = char(flipped[at] ^ mask);
            Numbered t;
            loadError(t.tree, flipped);
            ASSERT_EQ(t.tree.checkConsistency().toStdString(), "") << "byte " << at;
        }
    }
}

TEST(TreeStream, DeepNestingIsRefusedWithoutExhaustingTheStack)
{
    // 100,000 records each holding the next as its only child.
    constexpr int depth = 100'000;
    QByteArray bytes = hex(kHeader) + hex("01000000");
    std::vector<int> sizePositions;
    for (int i = 0; i < depth; ++i) {
        sizePositions.push_back(int(bytes.size()));
        bytes += hex("01000000 00000000 02000000 00000000");
        bytes += hex(i + 1 < depth ? "01000000" : "00000000");
        bytes += hex("12000000 80000000 32 00 00 00000000");
    }
    // Sizes from the innermost record out: each anchor holds 27 bytes plus the inner record.
    for (int i = depth - 1; i >= 0; --i) {
        const int anchorSize = int(bytes.size()) - sizePositions[std::size_t(i)] - 8;
        qToLittleEndian(std::int32_t(anchorSize), bytes.data() + sizePositions[std::size_t(i)] + 4);
        qToLittleEndian(std::int32_t(anchorSize - 8),
                        bytes.data() + sizePositions[std::size_t(i)] + 12);
    }
    ProbeTree tree;
    std::string message;
    EXPECT_EQ(loadError(tree, bytes, &message), 2005);
    EXPECT_NE(message.find("nested too deeply"), std::string::npos) << message;
    EXPECT_TRUE(tree.IsEmpty());
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

TEST(TreeStream, UserDataHandlersThatReadTooLittleOrTooMuch)
{
    Numbered source;
    source.add(nullptr, 7);
    source.add(nullptr, 8);
    const QByteArray bytes = save(source.tree);

    // Reading less: the stream moves on to the chunk's end.
    Numbered shortReader;
    shortReader.tree.OnLoadNode = [](LazyTreeModel&, PLazyNode, QIODevice& s) { s.read(1); };
    EXPECT_EQ(loadError(shortReader.tree, bytes), 0);
    EXPECT_EQ(shortReader.tree.RootNodeCount(), 2u);

    // Reading into the next node's bytes is corrupt data.
    Numbered greedy;
    greedy.tree.OnLoadNode = [](LazyTreeModel&, PLazyNode, QIODevice& s) { s.read(6); };
    EXPECT_EQ(loadError(greedy.tree, bytes), 2006);
    EXPECT_EQ(greedy.tree.checkConsistency().toStdString(), "");
}

TEST(TreeStream, VersionOneRecords)
{
    // States byte 0x80: selected; version 1 nodes are always visible.
    const QByteArray bytes = hex("45205600540001002000 4620") + hex("01000000 14000000")
                             + hex("02000000 0c000000 00000000 12000000 80 32 02 02");
    ProbeTree tree;
    tree.SetSelectionOptions(tree.options().SelectionOptions + TLTSelectionOptions{toMultiSelect});
    EXPECT_EQ(loadError(tree, bytes), 0);
    PLazyNode node = tree.GetFirstNoInit();
    ASSERT_NE(node, nullptr);
    EXPECT_TRUE(node->has(vsVisible));
    EXPECT_TRUE(node->has(vsSelected));
    EXPECT_EQ(tree.SelectedCount(), 1u);
    EXPECT_EQ(node->CheckState, csCheckedNormal);
    EXPECT_EQ(node->CheckType, ctCheckBox);
    EXPECT_EQ(tree.checkConsistency().toStdString(), "");
}

TEST(TreeStream, SelectionOfLoadedNodes)
{
    Numbered source;
    buildSample(source);
    source.tree.SetSelectionOptions(source.tree.options().SelectionOptions
                                    + TLTSelectionOptions{toMultiSelect});
    source.tree.AddToSelection(source.tree.GetFirstNoInit()->FirstChild);
    source.tree.AddToSelection(source.tree.GetFirstNoInit()->NextSibling);
    const QByteArray bytes = save(source.tree);

    Numbered multi;
    multi.tree.SetSelectionOptions(multi.tree.options().SelectionOptions
                                   + TLTSelectionOptions{toMultiSelect});
    EXPECT_EQ(loadError(multi.tree, bytes), 0);
    EXPECT_EQ(multi.tree.SelectedCount(), 2u);
    EXPECT_EQ(multi.tree.checkConsistency().toStdString(), "");

    Numbered single;
    EXPECT_EQ(loadError(single.tree, bytes), 0);
    EXPECT_EQ(single.tree.SelectedCount(), 0u);
    EXPECT_EQ(single.tree.checkConsistency().toStdString(), "");
}

TEST(TreeStream, ChildrenOfAnUninitialisedNodeAreWrittenWithIt)
{
    // A stream may give a node children without marking it initialised; saving such a node
    // again must still write its children, or the reader would take the next records for them.
    Numbered source;
    PLazyNode parent = source.add(nullptr, 1);
    source.add(parent, 11);
    source.add(nullptr, 2);
    QByteArray bytes = save(source.tree);
    const int statesAt = 16 + 8 + 8 + 8;
    auto states = qFromLittleEndian<std::uint32_t>(bytes.constData() + statesAt);
    qToLittleEndian(states & ~(1u << unsigned(vsInitialized)), bytes.data() + statesAt);

    Numbered middle;
    middle.tree.SetMiscOptions(middle.tree.options().MiscOptions - TLTMiscOptions{toInitOnSave});
    ASSERT_EQ(loadError(middle.tree, bytes), 0);
    ASSERT_FALSE(middle.tree.GetFirstNoInit()->has(vsInitialized));
    Numbered target;
    EXPECT_EQ(loadError(target.tree, save(middle.tree)), 0);
    EXPECT_EQ(target.shape(), "1(11) 2");
    EXPECT_EQ(target.tree.checkConsistency().toStdString(), "");
}

TEST(TreeStream, AppendsBelowANodeAndThroughFiles)
{
    Numbered source;
    buildSample(source);
    QTemporaryDir dir;
    const QString file = dir.filePath("tree.bin");
    source.tree.SaveToFile(file);

    Numbered target;
    PLazyNode nine = target.add(nullptr, 9);
    QFile in(file);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    PLazyNode copiedAt = nullptr;
    target.tree.OnNodeCopied = [&](LazyTreeModel&, PLazyNode n) { copiedAt = n; };
    target.tree.AddFromStream(in, nine);
    EXPECT_EQ(target.shape(), "9(1(11 12(121)) 2)");
    EXPECT_EQ(copiedAt, nine);
    EXPECT_EQ(target.tree.checkConsistency().toStdString(), "");

    Numbered reloaded;
    reloaded.tree.LoadFromFile(file);
    EXPECT_EQ(reloaded.shape(), "1(11 12(121)) 2");
    EXPECT_THROW(reloaded.tree.LoadFromFile(dir.filePath("missing.bin")), std::runtime_error);
    EXPECT_EQ(reloaded.shape(), "1(11 12(121)) 2");

    // A read-only tree takes nothing.
    reloaded.tree.SetMiscOptions(reloaded.tree.options().MiscOptions + TLTMiscOptions{toReadOnly});
    ProbeTree empty;
    EXPECT_EQ(loadError(reloaded.tree, save(empty)), 0);
    EXPECT_EQ(reloaded.shape(), "1(11 12(121)) 2");
}

TEST(TreeStream, MovesAndCopiesBetweenTrees)
{
    Numbered one;
    buildSample(one);
    Numbered two;
    PLazyNode target = two.add(nullptr, 5);

    // A copy carries the user data through the events, also within one tree.
    PLazyNode copy = one.tree.CopyTo(one.tree.GetFirstNoInit(), target, amAddChildLast, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(two.shape(), "5(1(11 12(121)))");
    EXPECT_EQ(two.tree.TotalNodeCount(), 5u);
    EXPECT_EQ(one.tree
                  .CopyTo(one.tree.GetFirstNoInit()->NextSibling, one.tree.GetFirstNoInit(),
                          amAddChildFirst, false)
                  ->Index,
              0u);
    EXPECT_EQ(one.shape(), "1(2 11 12(121)) 2");
    EXPECT_EQ(one.tree.TotalNodeCount(), 6u);

    // A move takes the children below the other tree's root and leaves an empty parent.
    one.tree.MoveTo(one.tree.GetFirstNoInit(), two.tree, amAddChildLast, true);
    EXPECT_EQ(one.shape(), "1 2");
    EXPECT_EQ(two.shape(), "5(1(11 12(121))) 2 11 12(121)");
    EXPECT_EQ(one.tree.TotalNodeCount(), 2u);
    EXPECT_EQ(two.tree.TotalNodeCount(), 9u);
    EXPECT_EQ(one.tree.visibleCount(), 2u);
    for (ProbeTree* t : {&one.tree, &two.tree})
        EXPECT_EQ(t->checkConsistency().toStdString(), "");
}

TEST(TreeStream, AFailedMoveLeavesTheSourceAsItWas)
{
    Numbered one;
    buildSample(one);
    Numbered two;
    two.tree.OnLoadNode = [](LazyTreeModel&, PLazyNode, QIODevice&) {
        throw std::runtime_error("owner refuses");
    };
    EXPECT_THROW(one.tree.MoveTo(one.tree.GetFirstNoInit(), two.tree, amAddChildLast, false),
                 std::runtime_error);
    EXPECT_EQ(one.shape(), "1(11 12(121)) 2");
    EXPECT_TRUE(two.tree.IsEmpty());
    for (ProbeTree* t : {&one.tree, &two.tree})
        EXPECT_EQ(t->checkConsistency().toStdString(), "");
}

}  // namespace
}  // namespace zfw::test
