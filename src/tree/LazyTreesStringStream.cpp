// The string tree's caption chunk: the node's main-column text as UTF-16 code units, so that
// a saved, copied or dragged tree keeps its texts even when the owner saves no user data.

#include "tree/LazyTreesString.h"

#include <QIODevice>
#include <QtEndian>

#include <vector>

namespace zfw {

namespace {

constexpr std::int32_t ChunkCaption = 3;

}  // namespace

void TCustomLazyStringTree::WriteChunks(QIODevice& stream, PLazyNode node)
{
    TBaseLazyTree::WriteChunks(stream, node);
    if (!FStringOptions.contains(toSaveCaptions) || !node->has(vsInitialized))
        return;
    const QString text = GetText(node, NoColumn);
    if (text.isEmpty())
        return;
    const auto bytes = qsizetype(text.size()) * 2;
    if (bytes > std::numeric_limits<std::int32_t>::max())
        throw std::runtime_error("Writing the tree failed: a node text is too long.");
    std::vector<char> chunk(std::size_t(8 + bytes));
    qToLittleEndian(ChunkCaption, chunk.data());
    qToLittleEndian(std::int32_t(bytes), chunk.data() + 4);
    for (qsizetype i = 0; i < text.size(); ++i)
        qToLittleEndian(text.at(i).unicode(), chunk.data() + 8 + 2 * i);
    if (stream.write(chunk.data(), qint64(chunk.size())) != qint64(chunk.size()))
        throw std::runtime_error("Writing the tree failed: " + stream.errorString().toStdString());
}

bool TCustomLazyStringTree::ReadChunk(QIODevice& stream, int version, PLazyNode node, int chunkType,
                                      int chunkSize, int depth)
{
    if (chunkType != ChunkCaption)
        return TBaseLazyTree::ReadChunk(stream, version, node, chunkType, chunkSize, depth);
    // The size was checked against the node's record before this chunk was handed here.
    const QByteArray bytes = stream.read(chunkSize);
    if (bytes.size() != chunkSize)
        throw ELazyTreeError("Unable to load tree structure, not enough data available.", 2004);
    QString text(qsizetype(chunkSize / 2), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i)
        text[i] = QChar(qFromLittleEndian<char16_t>(bytes.constData() + 2 * i));
    DoNewText(node, NoColumn, text);
    return true;
}

}  // namespace zfw
