// The binary header stream: 32-bit little-endian values, texts as a length and UTF-16 units
// (the font name as a length and UTF-8 bytes). The writer writes version 6; the reader reads
// back to the oldest form, which has no envelope.
//
// The reader parses the whole stream into plain values before it changes the header, so a
// stream that fails part way leaves the header exactly as it was. (The old reader emptied the
// options first and left them empty when the columns block failed.) Counts and text lengths
// are checked against the bytes left before anything is allocated for them, and positions
// that do not form a permutation of 0..N-1 are replaced by the natural order.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <span>

namespace zfw {

namespace {

constexpr int kWriterVersion = 6;

void putInt(QByteArray& out, std::int32_t v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putText(QByteArray& out, const QString& text)
{
    putInt(out, std::int32_t(text.size()));
    for (QChar c : text) {
        char b[2];
        qToLittleEndian(c.unicode(), b);
        out.append(b, 2);
    }
}

// Reads named values and keeps the first failure as a message.
class StreamIn {
public:
    explicit StreamIn(ByteReader& r) : m_r(r) {}

    bool i32(std::int32_t& out, const QString& what)
    {
        if (!m_error.isEmpty())
            return false;
        const std::size_t at = m_r.pos();
        const auto v = m_r.u32le();
        if (!v)
            return fail(what + QStringLiteral(" is cut short"), at);
        out = std::int32_t(*v);
        return true;
    }
    bool text(QString& out, const QString& what)
    {
        std::int32_t length = 0;
        if (!i32(length, what + QStringLiteral(" length")))
            return false;
        const std::size_t at = m_r.pos();
        if (length < 0 || std::size_t(length) * 2 > m_r.remaining())
            return fail(what + QStringLiteral(" length %1 exceeds the stream").arg(length), at);
        const auto bytes = m_r.bytes(std::size_t(length) * 2);
        out.resize(length);
        for (std::int32_t i = 0; i < length; ++i)
            out[i] = QChar(qFromLittleEndian<char16_t>((*bytes).data() + 2 * i));
        return true;
    }
    bool utf8(QString& out, const QString& what)
    {
        std::int32_t length = 0;
        if (!i32(length, what + QStringLiteral(" length")))
            return false;
        const std::size_t at = m_r.pos();
        if (length < 0 || std::size_t(length) > m_r.remaining())
            return fail(what + QStringLiteral(" length %1 exceeds the stream").arg(length), at);
        const auto bytes = m_r.bytes(std::size_t(length));
        out = QString::fromUtf8(reinterpret_cast<const char*>((*bytes).data()), length);
        return true;
    }
    bool fail(const QString& what, std::size_t at)
    {
        if (m_error.isEmpty())
            m_error = QStringLiteral("Header stream: %1 (byte %2)").arg(what).arg(at);
        return false;
    }
    std::size_t remaining() const { return m_r.remaining(); }
    std::size_t pos() const { return m_r.pos(); }
    const QString& error() const { return m_error; }

private:
    ByteReader& m_r;
    QString m_error;
};

struct ColumnRecord {
    QString text, hint;
    std::int32_t width = 50, minWidth = 10, maxWidth = 10000, style = 0, imageIndex = -1;
    std::int32_t layout = 0, margin = 4, spacing = 3, bidiMode = 0;
    TLTColumnOptions options = DefaultColumnOptions;
    std::int32_t tag = 0, alignment = 0;
    std::int32_t color = std::int32_t(clWindow);
    std::int32_t captionAlignment = 0;
    bool hasTag = false, hasColor = false, hasCaptionAlignment = false;
};

TLTColumnOptions convertColumnOptions(std::int32_t stored, int version)
{
    const auto bits = std::uint32_t(stored);
    if (version >= 3)
        return TLTColumnOptions::fromBits(std::uint16_t(bits & 0xFFFF));
    if (version == 2)
        return TLTColumnOptions::fromBits(std::uint16_t(bits & 0xFF));
    // The oldest layout had no coParentBidiMode: its bits 4 to 6 are today's 5 to 7.
    return TLTColumnOptions::fromBits(std::uint16_t((bits & 0x0F) | ((bits & 0x70) << 1)));
}

bool readColumnRecord(StreamIn& in, int version, int index, ColumnRecord& rec)
{
    const QString c = QStringLiteral("column %1 ").arg(index);
    std::int32_t options = 0;
    bool ok = in.text(rec.text, c + QStringLiteral("text")) && in.text(rec.hint, c + "hint")
              && in.i32(rec.width, c + "width") && in.i32(rec.minWidth, c + "minimal width")
              && in.i32(rec.maxWidth, c + "maximal width") && in.i32(rec.style, c + "style")
              && in.i32(rec.imageIndex, c + "image index") && in.i32(rec.layout, c + "layout")
              && in.i32(rec.margin, c + "margin") && in.i32(rec.spacing, c + "spacing")
              && in.i32(rec.bidiMode, c + "reading order") && in.i32(options, c + "options");
    if (!ok)
        return false;
    rec.options = convertColumnOptions(options, version);
    if (version > 0) {
        rec.hasTag = true;
        if (!in.i32(rec.tag, c + "tag") || !in.i32(rec.alignment, c + "alignment"))
            return false;
    }
    if (version > 1) {
        rec.hasColor = true;
        if (!in.i32(rec.color, c + "colour"))
            return false;
    }
    if (version > 5 && rec.options.contains(coUseCaptionAlignment)) {
        rec.hasCaptionAlignment = true;
        if (!in.i32(rec.captionAlignment, c + "caption alignment"))
            return false;
    }
    return true;
}

template <typename E>
E lowByteEnum(std::int32_t v, E last)
{
    const auto b = std::uint8_t(v & 0xFF);
    return b <= std::uint8_t(last) ? E(b) : E(0);
}

void applyColumnRecord(TLazyTreeColumn& column, const ColumnRecord& rec)
{
    column.SetText(rec.text);
    column.SetHint(rec.hint);
    column.SetWidth(rec.width);
    column.SetMinWidth(rec.minWidth);
    column.SetMaxWidth(rec.maxWidth);
    column.SetStyle(lowByteEnum(rec.style, vsOwnerDraw));
    column.SetImageIndex(rec.imageIndex);
    column.SetLayout(lowByteEnum(rec.layout, blGlyphBottom));
    column.SetMargin(rec.margin);
    column.SetSpacing(rec.spacing);
    column.SetBiDiMode(lowByteEnum(rec.bidiMode, bdRightToLeftReadingOnly));
    column.SetOptions(rec.options);
    if (rec.hasTag) {
        column.SetTag(rec.tag);
        column.SetAlignment(lowByteEnum(rec.alignment, taCenter));
    }
    if (rec.hasColor)
        column.SetColor(TColor(std::uint32_t(rec.color)));
    if (rec.hasCaptionAlignment)
        column.SetCaptionAlignment(lowByteEnum(rec.captionAlignment, taCenter));
}

// The smallest record of a version: the fields every record has.
std::size_t minimalRecordSize(int version)
{
    return 4 * (12 + (version > 0 ? 2 : 0) + (version > 1 ? 1 : 0));
}

struct ColumnsBlock {
    std::vector<ColumnRecord> records;
    std::vector<TColumnIndex> positions;
    bool hasDefaultWidth = false;
    std::int32_t defaultWidth = 50;
};

bool readColumnsBlock(StreamIn& in, int version, ColumnsBlock& block)
{
    std::int32_t n = 0;
    if (!in.i32(n, QStringLiteral("column count")))
        return false;
    if (n < 0 || std::size_t(n) > in.remaining() / (minimalRecordSize(version) + 4))
        return in.fail(QStringLiteral("column count %1 exceeds the stream").arg(n), in.pos() - 4);
    block.records.resize(std::size_t(n));
    for (std::int32_t i = 0; i < n; ++i)
        if (!readColumnRecord(in, version, i, block.records[std::size_t(i)]))
            return false;
    block.positions.resize(std::size_t(n));
    std::vector<bool> seen(std::size_t(n), false);
    bool permutation = true;
    for (std::int32_t p = 0; p < n; ++p) {
        std::int32_t index = 0;
        if (!in.i32(index, QStringLiteral("position %1").arg(p)))
            return false;
        if (index < 0 || index >= n || seen[std::size_t(index)])
            permutation = false;
        else
            seen[std::size_t(index)] = true;
        block.positions[std::size_t(p)] = index;
    }
    // Out-of-range or repeated entries would make lookups run outside the columns.
    if (!permutation)
        for (std::int32_t p = 0; p < n; ++p)
            block.positions[std::size_t(p)] = p;
    if (version > 4) {
        block.hasDefaultWidth = true;
        if (!in.i32(block.defaultWidth, QStringLiteral("default column width")))
            return false;
    }
    return true;
}

void applyColumnsBlock(TLazyTreeColumns& columns, const ColumnsBlock& block)
{
    columns.Clear();
    if (!block.records.empty()) {
        columns.BeginUpdate();
        for (const ColumnRecord& rec : block.records)
            applyColumnRecord(columns.Add(), rec);
        columns.setPositions(block.positions);
        columns.UpdatePositions(true);
        columns.EndUpdate();
    }
    if (block.hasDefaultWidth)
        columns.SetDefaultWidth(block.defaultWidth);
}

}  // namespace

// ----- writing ------------------------------------------------------------------------------

void TLazyTreeColumn::SaveToStream(QIODevice& stream) const
{
    QByteArray out;
    putText(out, FText);
    putText(out, FHint);
    for (std::int32_t v :
         {FWidth, FMinWidth, FMaxWidth, int(FStyle), FImageIndex, int(FLayout), FMargin, FSpacing,
          int(FBiDiMode), int(FOptions.bits()), int(FTag), int(FAlignment), int(FColor)})
        putInt(out, v);
    if (FOptions.contains(coUseCaptionAlignment))
        putInt(out, FCaptionAlignment);
    stream.write(out);
}

void TLazyTreeColumns::SaveToStream(QIODevice& stream) const
{
    QByteArray out;
    putInt(out, Count());
    stream.write(out);
    if (Count() > 0) {
        for (const auto& c : m_items)
            c->SaveToStream(stream);
        out.clear();
        for (TColumnIndex index : FPositionToIndex)
            putInt(out, index);
        stream.write(out);
    }
    out.clear();
    putInt(out, FDefaultWidth);
    stream.write(out);
}

void TLTHeader::SaveToStream(QIODevice& stream) const
{
    QByteArray out;
    putInt(out, -1);
    putInt(out, kWriterVersion);
    stream.write(out);
    FColumns->SaveToStream(stream);
    out.clear();
    putInt(out, FAutoSizeIndex);
    putInt(out, std::int32_t(FBackgroundColor));
    putInt(out, FHeight);
    putInt(out, std::int32_t(FOptions.bits()));
    putInt(out, FStyle);
    putInt(out, std::int32_t(FFontColor));
    // Point sizes are stored negative, pixel sizes positive.
    putInt(out, FFont.pointSize() > 0 ? -FFont.pointSize() : FFont.pixelSize());
    const QByteArray name = FFont.family().toUtf8();
    putInt(out, std::int32_t(name.size()));
    out.append(name);
    putInt(out, FFont.fixedPitch() ? fpFixed : fpDefault);
    putInt(out, (FFont.bold() ? 1 : 0) | (FFont.italic() ? 2 : 0) | (FFont.underline() ? 4 : 0)
                    | (FFont.strikeOut() ? 8 : 0));
    putInt(out, FMainColumn);
    putInt(out, FSortColumn);
    putInt(out, FSortDirection);
    putInt(out, FParentFont ? 1 : 0);
    putInt(out, FMaxHeight);
    putInt(out, FMinHeight);
    putInt(out, FDefaultHeight);
    using C = TLTFixedAreaConstraints;
    for (int index :
         {C::MaxHeightPercent, C::MaxWidthPercent, C::MinHeightPercent, C::MinWidthPercent})
        putInt(out, FFixedAreaConstraints.Get(index));
    stream.write(out);
}

// ----- reading ------------------------------------------------------------------------------

struct TLTHeader::StreamValues {
    int version = -1;
    ColumnsBlock columns;
    std::int32_t autoSizeIndex = -1, background = 0, height = 19, options = 0, style = 0;
    std::int32_t fontColor = 0, fontHeight = 0, pitch = 0, fontStyle = 0;
    QString fontName;
    std::int32_t mainColumn = -1, sortColumn = -1, sortDirection = 0;
    std::int32_t parentFont = 0, maxHeight = 10000, minHeight = 10, defaultHeight = 19;
    std::int32_t percents[4] = {0, 0, 0, 0};
};

bool TLazyTreeColumn::LoadFromStream(ByteReader& reader, int version, QString& error)
{
    StreamIn in(reader);
    ColumnRecord rec;
    if (!readColumnRecord(in, version, m_index, rec)) {
        error = in.error();
        return false;
    }
    applyColumnRecord(*this, rec);
    return true;
}

bool TLazyTreeColumns::LoadFromStream(ByteReader& reader, int version, QString& error)
{
    StreamIn in(reader);
    ColumnsBlock block;
    if (!readColumnsBlock(in, version, block)) {
        error = in.error();
        return false;
    }
    applyColumnsBlock(*this, block);
    return true;
}

void TLazyTreeColumns::setPositions(const std::vector<TColumnIndex>& positions)
{
    if (positions.size() == m_items.size())
        FPositionToIndex = positions;
}

bool TLTHeader::LoadFromStream(QIODevice& stream, QString* error)
{
    const qint64 start = stream.pos();
    const QByteArray data = stream.readAll();
    ByteReader reader(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(data.constData()),
                                      std::size_t(data.size())));
    const bool ok = LoadFromBytes(reader, error);
    // Only the envelope is consumed; a failed read consumes nothing.
    stream.seek(ok ? start + qint64(reader.pos()) : start);
    return ok;
}

bool TLTHeader::LoadFromBytes(ByteReader& reader, QString* error)
{
    StreamIn in(reader);
    StreamValues v;
    auto fail = [&] {
        if (error)
            *error = in.error();
        // The owner still hears that the columns may have to be looked at again.
        FOwner->DoColumnResize(NoColumn);
        return false;
    };
    const ByteReader atStart = reader;
    std::int32_t first = 0;
    if (!in.i32(first, QStringLiteral("marker")))
        return fail();
    const std::size_t afterFirst = in.pos();
    if (first < 0) {
        if (!in.i32(v.version, QStringLiteral("version")))
            return fail();
        if (v.version < 0 || v.version > kWriterVersion) {
            in.fail(QStringLiteral("unknown version %1").arg(v.version), afterFirst);
            return fail();
        }
    } else {
        // The oldest form has no envelope header: the value is the column count.
        reader = atStart;
        v.version = -1;
    }
    if (!readColumnsBlock(in, v.version, v.columns))
        return fail();
    bool ok = in.i32(v.autoSizeIndex, QStringLiteral("auto-size column"))
              && in.i32(v.background, QStringLiteral("background colour"))
              && in.i32(v.height, QStringLiteral("height"))
              && in.i32(v.options, QStringLiteral("options"))
              && in.i32(v.style, QStringLiteral("style"))
              && in.i32(v.fontColor, QStringLiteral("font colour"))
              && in.i32(v.fontHeight, QStringLiteral("font height"))
              && in.utf8(v.fontName, QStringLiteral("font name"))
              && in.i32(v.pitch, QStringLiteral("font pitch"))
              && in.i32(v.fontStyle, QStringLiteral("font style"));
    if (ok && v.version > 0)
        ok = in.i32(v.mainColumn, QStringLiteral("main column"))
             && in.i32(v.sortColumn, QStringLiteral("sort column"))
             && in.i32(v.sortDirection, QStringLiteral("sort direction"));
    if (ok && v.version > 4)
        ok = in.i32(v.parentFont, QStringLiteral("parent font"))
             && in.i32(v.maxHeight, QStringLiteral("maximal height"))
             && in.i32(v.minHeight, QStringLiteral("minimal height"))
             && in.i32(v.defaultHeight, QStringLiteral("default height"))
             && in.i32(v.percents[0], QStringLiteral("maximal height percent"))
             && in.i32(v.percents[1], QStringLiteral("maximal width percent"))
             && in.i32(v.percents[2], QStringLiteral("minimal height percent"))
             && in.i32(v.percents[3], QStringLiteral("minimal width percent"));
    if (!ok)
        return fail();
    applyStreamValues(v, v.version);
    return true;
}

void TLTHeader::applyStreamValues(const StreamValues& v, int version)
{
    FStates.include(hsLoading);
    const TLTHeaderOptions kept = FOptions;
    FOptions = {};
    applyColumnsBlock(*FColumns, v.columns);
    SetAutoSizeIndex(v.autoSizeIndex);
    SetBackground(TColor(std::uint32_t(v.background)));
    SetHeight(v.height);
    FOptions = kept;
    SetOptions(TLTHeaderOptions::fromBits(std::uint32_t(v.options) & 0x3FFFF));
    SetStyle(lowByteEnum(v.style, hsPlates));
    FFontColor = TColor(std::uint32_t(v.fontColor));
    // Sizes beyond any screen are not taken (nor is the negative of the lowest value).
    constexpr std::int32_t maxFontSize = 4096;
    if (v.fontHeight < 0 && v.fontHeight >= -maxFontSize)
        FFont.setPointSize(-v.fontHeight);
    else if (v.fontHeight > 0 && v.fontHeight <= maxFontSize)
        FFont.setPixelSize(v.fontHeight);
    if (!v.fontName.isEmpty())
        FFont.setFamily(v.fontName);
    FFont.setFixedPitch(lowByteEnum(v.pitch, fpFixed) == fpFixed);
    FFont.setBold(v.fontStyle & 1);
    FFont.setItalic(v.fontStyle & 2);
    FFont.setUnderline(v.fontStyle & 4);
    FFont.setStrikeOut(v.fontStyle & 8);
    FStates.exclude(hsLoading);
    if (version > 0) {
        SetMainColumn(v.mainColumn);
        SetSortColumn(v.sortColumn);
        SetSortDirection(lowByteEnum(v.sortDirection, sdDescending));
    }
    if (version > 4) {
        SetParentFont(v.parentFont != 0);
        FMaxHeight = v.maxHeight;
        FMinHeight = v.minHeight;
        FDefaultHeight = v.defaultHeight;
        // Stored as they are, without reconciling minimum and maximum and without a rescale.
        FFixedAreaConstraints.SetStored({std::uint8_t(std::clamp(v.percents[0] & 0xFF, 0, 100)),
                                         std::uint8_t(std::clamp(v.percents[1] & 0xFF, 0, 100)),
                                         std::uint8_t(std::clamp(v.percents[2] & 0xFF, 0, 100)),
                                         std::uint8_t(std::clamp(v.percents[3] & 0xFF, 0, 100))});
    }
    // Older streams carry no main or sort column: the ones kept from before must still name
    // a column that exists.
    SetMainColumn(FMainColumn);
    ApplySortColumn(FSortColumn);
    FOwner->DoColumnResize(NoColumn);
    Invalidate();
}

}  // namespace zfw
