// The binary header stream: the bytes version 6 writes, a round trip with columns, the older
// forms and their option conversions, and damaged input that must leave the header as it was.

#include "support/CaseName.h"

#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesString.h"

#include <QApplication>
#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

namespace zfw::test {
namespace {

// Little-endian 32-bit values and UTF-16 texts, as the stream stores them.
struct Bytes {
    QByteArray data;
    Bytes& i32(std::int32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
        return *this;
    }
    Bytes& text(const QString& s)
    {
        i32(std::int32_t(s.size()));
        for (QChar c : s) {
            char b[2];
            qToLittleEndian(c.unicode(), b);
            data.append(b, 2);
        }
        return *this;
    }
    Bytes& utf8(const QByteArray& s)
    {
        i32(std::int32_t(s.size()));
        data.append(s);
        return *this;
    }
};

struct StreamTree {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    TLTHeader& header = tree->Header();

    StreamTree()
    {
        tree->setFrameStyle(QFrame::NoFrame);
        tree->resize(400, 200);
        tree->show();
        QApplication::processEvents();
        QFont font(QStringLiteral("Sans"));
        font.setPointSize(9);
        header.SetFont(font);
    }
    QByteArray save() const
    {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        header.SaveToStream(buffer);
        return out;
    }
    bool load(const QByteArray& data, QString* error = nullptr)
    {
        QByteArray copy = data;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        return header.LoadFromStream(buffer, error);
    }
};

// The envelope after the columns block as a fresh header writes it with the font above.
Bytes& defaultEnvelopeTail(Bytes& b)
{
    b.i32(-1).i32(std::int32_t(clBtnFace)).i32(19).i32(0x20A).i32(0);
    b.i32(std::int32_t(clWindowText)).i32(-9).utf8("Sans").i32(0).i32(0);
    b.i32(-1).i32(-1).i32(0).i32(0).i32(10000).i32(10).i32(19);
    return b.i32(0).i32(0).i32(0).i32(0);
}

TEST(TreeHeaderStream, VersionSixWithoutColumnsGivesTheKnownBytes)
{
    StreamTree f;
    Bytes want;
    want.i32(-1).i32(6).i32(0).i32(50);
    defaultEnvelopeTail(want);
    EXPECT_EQ(f.save().toHex(), want.data.toHex());
}

TEST(TreeHeaderStream, RoundTripKeepsColumnsPositionsAndSettings)
{
    StreamTree a;
    TLazyTreeColumns& cols = a.header.Columns();
    for (int i = 0; i < 3; ++i)
        cols.Add();
    cols[0].SetText(QStringLiteral("Name \u00E9\u4E2D"));
    cols[0].SetHint("first");
    cols[1].SetWidth(120);
    cols[1].SetMinWidth(30);
    cols[1].SetCaptionAlignment(taCenter);
    cols[2].SetColor(clRed);
    cols[2].SetAlignment(taRightJustify);
    cols[2].SetTag(77);
    cols[2].SetPosition(0);
    cols.SetDefaultWidth(64);
    a.header.SetSortColumn(2);
    a.header.SetSortDirection(sdDescending);
    a.header.SetMainColumn(1);
    a.header.SetOptions(a.header.Options() + TLTHeaderOptions{hoVisible, hoHotTrack});
    a.header.SetHeight(24);
    a.header.SetStyle(hsFlatButtons);
    a.header.FixedAreaConstraints().Set(TLTFixedAreaConstraints::MinWidthPercent, 20);
    const QByteArray bytes = a.save();

    StreamTree b;
    b.header.Columns().Add();
    QString error;
    ASSERT_TRUE(b.load(bytes, &error)) << error.toStdString();
    EXPECT_TRUE(b.header.Columns().Equals(cols));
    EXPECT_EQ(b.header.Columns().DefaultWidth(), 64);
    EXPECT_EQ(b.header.Columns()[0].Hint(), "first");
    EXPECT_EQ(b.header.SortColumn(), 2);
    EXPECT_EQ(b.header.SortDirection(), sdDescending);
    EXPECT_EQ(b.header.MainColumn(), 1);
    EXPECT_EQ(b.header.Options(), a.header.Options());
    EXPECT_EQ(b.header.Height(), 24);
    EXPECT_EQ(b.header.Style(), hsFlatButtons);
    EXPECT_EQ(b.header.FixedAreaConstraints().Get(TLTFixedAreaConstraints::MinWidthPercent), 20);
    EXPECT_EQ(b.save(), bytes);
}

// One column record of the given version with the stored options.
Bytes oldColumn(int version, std::int32_t options)
{
    Bytes b;
    b.text("C").text("").i32(80).i32(10).i32(10000).i32(0).i32(-1).i32(0).i32(4).i32(3).i32(0);
    b.i32(options);
    if (version > 0)
        b.i32(0).i32(0);
    if (version > 1)
        b.i32(std::int32_t(clWindow));
    return b;
}

Bytes envelopeTail(int version)
{
    Bytes b;
    b.i32(-1).i32(std::int32_t(clBtnFace)).i32(19).i32(0x20A).i32(0);
    b.i32(0).i32(-9).utf8("Sans").i32(0).i32(0);
    if (version > 0)
        b.i32(0).i32(-1).i32(0);
    if (version > 4)
        b.i32(0).i32(10000).i32(10).i32(19).i32(0).i32(0).i32(0).i32(0);
    return b;
}

struct OptionCase {
    const char* name;
    int version;
    std::int32_t stored;
    std::uint16_t want;
};

const OptionCase kOptionCases[] = {
    {"VersionOneMovesBitsUp", 1, 0xFF, 0xEF},
    {"VersionZeroDropsHighBits", 0, 0xFF0F, 0x0F},
    {"VersionTwoKeepsLowByte", 2, 0x12FF, 0xFF},
    {"VersionThreeKeepsAllBits", 3, 0x88FF, 0x88FF},
    {"OldestFormConvertsLikeVersionOne", -1, 0x7F, 0xEF},
};

class HeaderStreamOptions : public ::testing::TestWithParam<OptionCase> {};

TEST_P(HeaderStreamOptions, ColumnOptionsAreConvertedByVersion)
{
    const OptionCase& c = GetParam();
    Bytes b;
    if (c.version >= 0)
        b.i32(-1).i32(c.version);
    b.i32(1);
    b.data.append(oldColumn(c.version, c.stored).data);
    b.i32(0);  // position array
    if (c.version > 4)
        b.i32(50);
    b.data.append(envelopeTail(c.version).data);
    StreamTree f;
    QString error;
    ASSERT_TRUE(f.load(b.data, &error)) << error.toStdString();
    ASSERT_EQ(f.header.Columns().Count(), 1);
    EXPECT_EQ(f.header.Columns()[0].Options().bits(), c.want);
    EXPECT_EQ(f.header.Columns()[0].Width(), 80);
    EXPECT_EQ(f.header.Columns()[0].Text(), "C");
}

INSTANTIATE_TEST_SUITE_P(Table, HeaderStreamOptions, ::testing::ValuesIn(kOptionCases), CaseName{});

// A valid stream with two columns, for the damage below.
QByteArray twoColumnStream()
{
    StreamTree a;
    a.header.Columns().Add().SetText("one");
    a.header.Columns().Add().SetText("two");
    a.header.Columns()[1].SetPosition(0);
    a.header.SetOptions(a.header.Options() + TLTHeaderOptions{hoVisible});
    return a.save();
}

// A header with settings of its own that a failed load must leave alone.
void prepareTarget(StreamTree& f)
{
    f.header.Columns().Add().SetText("kept");
    f.header.SetOptions(TLTHeaderOptions{hoVisible, hoDrag, hoAutoSpring});
    f.header.SetHeight(22);
}

void expectUntouched(StreamTree& f)
{
    EXPECT_EQ(f.header.Options(), (TLTHeaderOptions{hoVisible, hoDrag, hoAutoSpring}));
    ASSERT_EQ(f.header.Columns().Count(), 1);
    EXPECT_EQ(f.header.Columns()[0].Text(), "kept");
    EXPECT_EQ(f.header.Height(), 22);
    EXPECT_FALSE(f.header.States().contains(hsLoading));
}

TEST(TreeHeaderStream, EveryTruncatedPrefixFailsAndKeepsTheHeader)
{
    const QByteArray full = twoColumnStream();
    StreamTree f;
    prepareTarget(f);
    for (int n = 0; n < full.size(); ++n) {
        QString error;
        EXPECT_FALSE(f.load(full.left(n), &error)) << "prefix " << n;
        EXPECT_FALSE(error.isEmpty()) << "prefix " << n;
        expectUntouched(f);
    }
    EXPECT_TRUE(f.load(full));
    EXPECT_EQ(f.header.Columns().Count(), 2);
}

TEST(TreeHeaderStream, FlippedBytesNeverCrash)
{
    const QByteArray full = twoColumnStream();
    for (int i = 0; i < full.size(); ++i) {
        QByteArray damaged = full;
        damaged[i] = char(damaged[i] ^ 0xA5);
        StreamTree f;
        f.load(damaged);
        EXPECT_EQ(int(f.header.Columns().PositionToIndex().size()), f.header.Columns().Count());
    }
}

struct BadCase {
    const char* name;
    QByteArray data;
    const char* errorPart;
};

QByteArray withColumnsBlock(int version, const Bytes& block)
{
    Bytes b;
    b.i32(-1).i32(version);
    b.data.append(block.data);
    b.data.append(envelopeTail(version).data);
    return b.data;
}

std::vector<BadCase> badCases()
{
    std::vector<BadCase> out;
    out.push_back({"NegativeVersion", Bytes().i32(-1).i32(-3).data, "version"});
    out.push_back({"UnknownVersion", withColumnsBlock(7, Bytes().i32(0).i32(50)), "version"});
    out.push_back({"HugeColumnCount", withColumnsBlock(6, Bytes().i32(0x7FFFFFFF)), "count"});
    out.push_back({"NegativeColumnCount", withColumnsBlock(6, Bytes().i32(-5)), "count"});
    Bytes longText;
    longText.i32(1).i32(1000000).i32(0);
    out.push_back({"TextLongerThanTheStream", withColumnsBlock(6, longText), "column 0 text"});
    Bytes negativeText;
    negativeText.i32(1).i32(-2).i32(0);
    out.push_back({"NegativeTextLength", withColumnsBlock(6, negativeText), "column 0 text"});
    Bytes longName;
    longName.i32(-1).i32(6).i32(0).i32(50).i32(-1).i32(0).i32(19).i32(0).i32(0).i32(0).i32(-9);
    longName.i32(0x40000000);
    out.push_back({"FontNameLongerThanTheStream", longName.data, "font name"});
    return out;
}

class HeaderStreamBadInput : public ::testing::TestWithParam<BadCase> {};

TEST_P(HeaderStreamBadInput, IsReportedAndChangesNothing)
{
    const BadCase& c = GetParam();
    StreamTree f;
    prepareTarget(f);
    QString error;
    EXPECT_FALSE(f.load(c.data, &error));
    EXPECT_TRUE(error.contains(QLatin1String(c.errorPart))) << error.toStdString();
    expectUntouched(f);
}

INSTANTIATE_TEST_SUITE_P(Table, HeaderStreamBadInput, ::testing::ValuesIn(badCases()), CaseName{});

struct PositionCase {
    const char* name;
    std::vector<std::int32_t> stored;
    std::vector<TColumnIndex> want;
};

const PositionCase kPositionCases[] = {
    {"PermutationKept", {2, 0, 1}, {2, 0, 1}},
    {"DuplicateResets", {1, 1, 0}, {0, 1, 2}},
    {"OutOfRangeResets", {0, 1, 7}, {0, 1, 2}},
    {"NegativeResets", {-1, 0, 1}, {0, 1, 2}},
};

class HeaderStreamPositions : public ::testing::TestWithParam<PositionCase> {};

TEST_P(HeaderStreamPositions, MustFormAPermutation)
{
    const PositionCase& c = GetParam();
    Bytes block;
    block.i32(3);
    for (int i = 0; i < 3; ++i)
        block.data.append(oldColumn(6, 0x88FF).data);
    for (std::int32_t p : c.stored)
        block.i32(p);
    block.i32(50);
    StreamTree f;
    QString error;
    ASSERT_TRUE(f.load(withColumnsBlock(6, block), &error)) << error.toStdString();
    EXPECT_EQ(f.header.Columns().PositionToIndex(), c.want);
    for (std::size_t p = 0; p < c.want.size(); ++p)
        EXPECT_EQ(f.header.Columns()[c.want[p]].Position(), p);
}

INSTANTIATE_TEST_SUITE_P(Table, HeaderStreamPositions, ::testing::ValuesIn(kPositionCases),
                         CaseName{});

TEST(TreeHeaderStream, ReadingStopsAtTheEnvelopesEnd)
{
    QByteArray data = twoColumnStream();
    const int size = int(data.size());
    data.append("tail");
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    StreamTree f;
    ASSERT_TRUE(f.header.LoadFromStream(buffer));
    EXPECT_EQ(buffer.pos(), size);
    EXPECT_EQ(buffer.readAll(), "tail");
}

}  // namespace
}  // namespace zfw::test
