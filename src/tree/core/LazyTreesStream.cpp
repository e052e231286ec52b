// The tree stream: the node records that save and load trees, and that carry nodes from one
// tree to another (moves, copies, the clipboard and drags). Records come from files and from
// other programs, so every size is checked against the bytes it claims before it is used.

#include "tree/core/LazyTrees.h"
#include "tree/core/LazyTreesGuard.h"

#include <QBuffer>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <array>
#include <limits>

namespace zfw {

namespace {

constexpr std::array<std::uint16_t, 6> kHeader{0x2045, 0x0056, 0x0054, 2, 0x0020, 0x2046};
constexpr int kVersionUnit = 3;
constexpr int kCurrentVersion = 2;
constexpr std::int32_t ChunkAnchor = 1;
constexpr std::int32_t ChunkBase = 2;
constexpr std::int32_t ChunkUserData = 4;
constexpr int kChunkHeaderSize = 8;
constexpr int kBaseBodySize = 19;
constexpr int kBaseBodySizeV1 = 12;
// The reader descends one level per nested record; deeper streams are refused before the
// stack runs out. No tree of this program comes near it.
constexpr int kMaxNesting = 1000;

// States that describe work in progress or the owner's data bookkeeping: never written, and
// never taken from a stream (a foreign stream could otherwise ask for a release call on user
// data it never set).
constexpr TLazyNodeStates kNotSaved{vsChecking, vsCutOrCopy, vsDeleting, vsOnFreeNodeCallRequired,
                                    vsHeightMeasured};
constexpr TLazyNodeStates kNotLoaded = kNotSaved
                                       + TLazyNodeStates{vsReleaseCallOnUserDataRequired,
                                                         vsToggling, vsInitializing,
                                                         vsAllChildrenHidden};

[[noreturn]] void notEnoughData()
{
    throw ELazyTreeError("Unable to load tree structure, not enough data available.", 2004);
}

[[noreturn]] void anchorMissing()
{
    throw ELazyTreeError("Stream data corrupt. A node's anchor chunk is missing.", 2005);
}

[[noreturn]] void dataAfterEnd()
{
    throw ELazyTreeError("Stream data corrupt. Unexpected data after node's end position.", 2006);
}

void readExact(QIODevice& stream, char* buffer, qint64 count)
{
    if (stream.read(buffer, count) != count)
        notEnoughData();
}

template <class T>
T readLE(QIODevice& stream)
{
    std::array<char, sizeof(T)> bytes{};
    readExact(stream, bytes.data(), qint64(sizeof(T)));
    return qFromLittleEndian<T>(bytes.data());
}

void writeExact(QIODevice& stream, const char* data, qint64 count)
{
    if (stream.write(data, count) != count)
        throw std::runtime_error("Writing the tree failed: " + stream.errorString().toStdString());
}

template <class T>
void writeLE(QIODevice& stream, T value)
{
    std::array<char, sizeof(T)> bytes{};
    qToLittleEndian(value, bytes.data());
    writeExact(stream, bytes.data(), qint64(sizeof(T)));
}

void writeHeader(QIODevice& stream)
{
    for (std::uint16_t unit : kHeader)
        writeLE(stream, unit);
}

// Reads and checks the 12-byte header; returns the version. A short header is 2004, a foreign
// one 2002, a newer version 2003.
int readHeader(QIODevice& stream)
{
    std::array<std::uint16_t, 6> units{};
    for (auto& unit : units)
        unit = readLE<std::uint16_t>(stream);
    if (units[0] != kHeader[0] || units[1] != kHeader[1] || units[2] != kHeader[2]
        || units[5] != kHeader[5])
        throw ELazyTreeError("Unable to load tree structure, the format is wrong.", 2002);
    if (units[kVersionUnit] > kCurrentVersion)
        throw ELazyTreeError("Unable to load tree structure, the version is unknown.", 2003);
    return units[kVersionUnit];
}

// Records are written with sizes filled in afterwards and read with seeks; a device that
// cannot seek is served through a buffer in memory.
class RandomAccess {
public:
    RandomAccess(QIODevice& stream, bool forReading) : m_outer(stream), m_forReading(forReading)
    {
        m_sequential = stream.isSequential();
        if (!m_sequential)
            return;
        if (forReading)
            m_buffer.setData(stream.readAll());
        m_buffer.open(forReading ? QIODevice::ReadOnly : QIODevice::ReadWrite);
    }
    QIODevice& device() { return m_sequential ? static_cast<QIODevice&>(m_buffer) : m_outer; }
    // Hands what was assembled in memory to a device that cannot seek.
    void finishWriting()
    {
        if (m_sequential && !m_forReading)
            writeExact(m_outer, m_buffer.data().constData(), m_buffer.data().size());
    }

private:
    QIODevice& m_outer;
    QBuffer m_buffer;
    bool m_forReading;
    bool m_sequential = false;
};

}  // namespace

// ----- writing -----------------------------------------------------------------------------

void LazyTreeModel::FinishChunkHeader(QIODevice& stream, qint64 startPos, qint64 endPos)
{
    const qint64 size = endPos - startPos - kChunkHeaderSize;
    if (size > std::numeric_limits<std::int32_t>::max())
        throw std::runtime_error("Writing the tree failed: a node holds more than 2 GB of data.");
    stream.seek(startPos + 4);
    writeLE(stream, std::int32_t(size));
    stream.seek(endPos);
}

void LazyTreeModel::WriteNode(QIODevice& stream, PLazyNode node)
{
    if (m_options.MiscOptions.contains(toInitOnSave)) {
        if (!node->has(vsInitialized))
            InitNode(node);
        if (node->has(vsHasChildren) && node->ChildCount == 0)
            InitChildren(node);
    }
    const qint64 start = stream.pos();
    writeLE(stream, ChunkAnchor);
    writeLE(stream, std::int32_t(0));
    WriteChunks(stream, node);
    FinishChunkHeader(stream, start, stream.pos());
}

void LazyTreeModel::WriteChunks(QIODevice& stream, PLazyNode node)
{
    const qint64 baseStart = stream.pos();
    std::array<char, kChunkHeaderSize + kBaseBodySize> base{};
    char* p = base.data();
    qToLittleEndian(ChunkBase, p);
    qToLittleEndian(node->ChildCount, p + 8);
    qToLittleEndian(std::uint32_t(node->NodeHeight), p + 12);
    qToLittleEndian((node->States.value() - kNotSaved).bits(), p + 16);
    p[20] = char(node->Align);
    p[21] = char(node->CheckState);
    p[22] = char(node->CheckType);
    writeExact(stream, base.data(), qint64(base.size()));
    // The children that exist are written whatever the node's initialisation says, so the
    // stored child count and the records that follow always agree.
    for (PLazyNode child = node->FirstChild; child; child = child->NextSibling)
        WriteNode(stream, child);
    FinishChunkHeader(stream, baseStart, stream.pos());

    const qint64 dataStart = stream.pos();
    writeLE(stream, ChunkUserData);
    writeLE(stream, std::int32_t(0));
    DoSaveNode(node, stream);
    const qint64 dataEnd = stream.pos();
    if (dataEnd == dataStart + kChunkHeaderSize) {
        // Nothing written: the header goes again.
        stream.seek(dataStart);
        if (auto* file = qobject_cast<QFileDevice*>(&stream))
            file->resize(dataStart);
        else if (auto* buffer = qobject_cast<QBuffer*>(&stream))
            buffer->buffer().truncate(int(dataStart));
    } else {
        FinishChunkHeader(stream, dataStart, dataEnd);
    }
}

void LazyTreeModel::DoSaveNode(PLazyNode node, QIODevice& stream)
{
    if (OnSaveNode)
        OnSaveNode(*this, node, stream);
}

void LazyTreeModel::SaveToStream(QIODevice& stream, PLazyNode node)
{
    RandomAccess access(stream, false);
    QIODevice& out = access.device();
    writeHeader(out);
    if (node) {
        writeLE(out, std::uint32_t(1));
        WriteNode(out, node);
    } else {
        writeLE(out, FRoot->ChildCount);
        for (PLazyNode child = FRoot->FirstChild; child; child = child->NextSibling)
            WriteNode(out, child);
    }
    access.finishWriting();
    if (OnSaveTree)
        OnSaveTree(*this, stream);
}

void LazyTreeModel::SaveToFile(const QString& fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("Cannot write \"" + fileName.toStdString()
                                 + "\": " + file.errorString().toStdString());
    // QSaveFile cannot shrink what it wrote, so the records are assembled in memory.
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    SaveToStream(buffer, nullptr);
    writeExact(file, buffer.data().constData(), buffer.data().size());
    if (!file.commit())
        throw std::runtime_error("Cannot write \"" + fileName.toStdString()
                                 + "\": " + file.errorString().toStdString());
}

// ----- reading -----------------------------------------------------------------------------

void LazyTreeModel::ReadNode(QIODevice& stream, int version, PLazyNode node, int depth)
{
    if (depth > kMaxNesting)
        throw ELazyTreeError("Stream data corrupt. The nodes are nested too deeply.", 2005);
    const auto type = readLE<std::int32_t>(stream);
    const auto size = readLE<std::int32_t>(stream);
    if (type != ChunkAnchor || size < 0)
        anchorMissing();
    const qint64 end = stream.pos() + size;
    if (end > stream.size())
        notEnoughData();
    while (stream.pos() < end) {
        const auto chunkType = readLE<std::int32_t>(stream);
        const auto chunkSize = readLE<std::int32_t>(stream);
        // A chunk must lie inside its node: a negative size would read the same header again
        // and again, a large one would take the next node's bytes.
        if (chunkSize < 0 || stream.pos() + chunkSize > end)
            dataAfterEnd();
        ReadChunk(stream, version, node, chunkType, chunkSize, depth);
    }
    if (stream.pos() != end)
        dataAfterEnd();
}

bool LazyTreeModel::ReadChunk(QIODevice& stream, int version, PLazyNode node, int chunkType,
                              int chunkSize, int depth)
{
    const qint64 chunkEnd = stream.pos() + chunkSize;
    if (chunkType == ChunkBase) {
        const int bodySize = version >= 2 ? kBaseBodySize : kBaseBodySizeV1;
        if (chunkSize < bodySize)
            dataAfterEnd();
        std::array<char, kBaseBodySize> body{};
        readExact(stream, body.data(), bodySize);
        const char* p = body.data();
        const auto childCount = qFromLittleEndian<std::uint32_t>(p);
        const auto height = qFromLittleEndian<std::uint32_t>(p + 4);
        TLazyNodeStates states;
        int tail = 12;
        if (version >= 2) {
            states = TLazyNodeStates::fromBits(qFromLittleEndian<std::uint32_t>(p + 8)
                                               & ((1u << (unsigned(vsInitializing) + 1)) - 1));
        } else {
            // One byte of states: bits 0 to 6 as they are, bit 7 the selection; such nodes
            // are always visible.
            const auto byte = std::uint8_t(p[8]);
            states = TLazyNodeStates::fromBits(byte & 0x7Fu) + TLazyNodeStates{vsVisible};
            if (byte & 0x80u)
                states.include(vsSelected);
            tail = 9;
        }
        node->States = states - kNotLoaded;
        node->NodeHeight = std::uint16_t(std::min<std::uint32_t>(height, 0xFFFF));
        node->Align = std::uint8_t(p[tail]);
        node->CheckState = TCheckState(std::min<int>(std::uint8_t(p[tail + 1]), csMixedDisabled));
        node->CheckType = TCheckType(std::min<int>(std::uint8_t(p[tail + 2]), ctButton));
        node->TotalHeight = ownRowHeight(node);
        // Children are read one by one, each complete before it is linked, so the node's
        // counters grow only by what is really there. Their records lie inside this chunk.
        for (std::uint32_t i = 0; i < childCount; ++i) {
            if (stream.pos() >= chunkEnd)
                notEnoughData();
            PLazyNode child = MakeNewNode();
            ScopeGuard release([&] { freeDetachedNodes(child); });
            ReadNode(stream, version, child, depth + 1);
            if (stream.pos() > chunkEnd)
                dataAfterEnd();
            release.dismiss();
            InternalConnectNode(child, node, amAddChildLast, *this);
        }
        if (childCount > 0)
            node->States.include(vsHasChildren);
        if (!node->has(vsExpanded) || node->ChildCount == 0)
            node->States.exclude(vsExpanded);
        if (node->ChildCount > 0)
            DetermineAllChildrenHidden(node);
        if (stream.pos() != chunkEnd)
            dataAfterEnd();
        return true;
    }
    if (chunkType == ChunkUserData) {
        if (chunkSize == 0)
            return true;
        const bool read = DoLoadNode(node, stream);
        // A handler that read less is moved to the chunk's end; one that read more has taken
        // bytes of other nodes, and the stream cannot be trusted.
        if (stream.pos() > chunkEnd)
            dataAfterEnd();
        if (stream.pos() < chunkEnd)
            stream.seek(chunkEnd);
        return read;
    }
    stream.seek(chunkEnd);
    return false;
}

bool LazyTreeModel::DoLoadNode(PLazyNode node, QIODevice& stream)
{
    if (!OnLoadNode)
        return false;
    const qint64 before = stream.pos();
    OnLoadNode(*this, node == FRoot ? nullptr : node, stream);
    return stream.pos() != before;
}

void LazyTreeModel::SkipNode(QIODevice& stream)
{
    const auto type = readLE<std::int32_t>(stream);
    const auto size = readLE<std::int32_t>(stream);
    if (type != ChunkAnchor || size < 0)
        anchorMissing();
    if (stream.pos() + size > stream.size())
        notEnoughData();
    stream.seek(stream.pos() + size);
}

void LazyTreeModel::freeDetachedNodes(PLazyNode node)
{
    for (PLazyNode c = node->FirstChild; c;) {
        PLazyNode next = c->NextSibling;
        freeDetachedNodes(c);
        c = next;
    }
    // Not in the selection yet: the flag came from the stream.
    node->States.exclude(vsSelected);
    DoFreeNode(node);
}

PLazyNode LazyTreeModel::AddNodeFromStream(QIODevice& stream, int version, PLazyNode destination,
                                           TLTNodeAttachMode mode)
{
    if (!destination)
        lazyTreeAssert("The root node cannot be loaded from stream.");
    PLazyNode node = MakeNewNode();
    {
        ScopeGuard release([&] { freeDetachedNodes(node); });
        ReadNode(stream, version, node);
        release.dismiss();
    }
    InterruptValidation();
    InternalConnectNode(node, destination, mode, *this);

    ClearTempCache();
    const PLazyNode stop = nextAfterSubtree(node);
    const bool multi = m_options.SelectionOptions.contains(toMultiSelect);
    for (PLazyNode run = node; run && run != stop; run = GetNextNoInit(run)) {
        if (!run->has(vsSelected))
            continue;
        int index = 0;
        if (!multi || FindNodeInSelection(run, index, -1, -1)) {
            if (!multi)
                run->States.exclude(vsSelected);
            continue;
        }
        run->States.exclude(vsSelected);
        AddToTempNodeCache(run);
    }
    if (FTempNodeCount > 0) {
        TNodeArray items(FTempNodeCache.begin(), FTempNodeCache.begin() + FTempNodeCount);
        AddNodesToSelection(items, int(items.size()), true);
    }
    ClearTempCache();
    InvalidateCache();
    return node;
}

void LazyTreeModel::readRecords(QIODevice& in, int version, PLazyNode destination)
{
    if (version < 2) {
        // Version 1 has no count: its records run to the end.
        while (in.pos() < in.size())
            AddNodeFromStream(in, version, destination, amAddChildLast);
        return;
    }
    // The count only says how many records to expect; a stream that ends before them is
    // truncated, not a shorter tree.
    for (auto count = readLE<std::uint32_t>(in); count > 0; --count) {
        if (in.pos() >= in.size())
            notEnoughData();
        AddNodeFromStream(in, version, destination, amAddChildLast);
    }
}

void LazyTreeModel::LoadFromStream(QIODevice& stream)
{
    if (m_options.MiscOptions.contains(toReadOnly))
        return;
    RandomAccess access(stream, true);
    QIODevice& in = access.device();
    // A foreign or damaged file is refused before anything of the tree is given up.
    const int version = readHeader(in);
    Clear();
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });
    readRecords(in, version, FRoot);
    DoNodeCopied(nullptr);
    if (OnLoadTree)
        OnLoadTree(*this, stream);
}

void LazyTreeModel::LoadFromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("Cannot read \"" + fileName.toStdString()
                                 + "\": " + file.errorString().toStdString());
    LoadFromStream(file);
}

void LazyTreeModel::AddFromStream(QIODevice& stream, PLazyNode targetNode)
{
    if (m_options.MiscOptions.contains(toReadOnly))
        return;
    if (!targetNode)
        targetNode = FRoot;
    else if (targetNode != FRoot && TreeFromNode(targetNode) != this)
        lazyTreeAssert("The target node must belong to this tree.");
    RandomAccess access(stream, true);
    QIODevice& in = access.device();
    const int version = readHeader(in);
    {
        BeginUpdate();
        ScopeGuard endUpdate([this] { EndUpdate(); });
        readRecords(in, version, targetNode);
    }
    DoNodeCopied(targetNode == FRoot ? nullptr : targetNode);
}

// ----- moving and copying through the stream -----------------------------------------------

std::vector<PLazyNode> LazyTreeModel::streamNodesTo(const std::vector<PLazyNode>& sources,
                                                    LazyTreeModel& target, PLazyNode destination,
                                                    TLTNodeAttachMode mode,
                                                    const std::function<void(PLazyNode)>& perNode)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    for (PLazyNode s : sources)
        WriteNode(buffer, s);
    buffer.seek(0);
    std::vector<PLazyNode> added;
    target.BeginUpdate();
    ScopeGuard endUpdate([&target] { target.EndUpdate(); });
    while (buffer.pos() < buffer.size()) {
        PLazyNode node = target.AddNodeFromStream(buffer, kCurrentVersion, destination, mode);
        added.push_back(node);
        if (perNode)
            perNode(node);
    }
    return added;
}

}  // namespace zfw
