#include "editors/fieldbus/core/UCANRuleSpec.h"

#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

constexpr char COBID[] = "COBID";
constexpr char CAN_Type[] = "CAN_Type";
constexpr char Dim[] = "Dim";
constexpr char OnTimer[] = "OnTimer";

// Cell backgrounds (0xBBGGRR).
constexpr quint32 kEnableColour = 0xB0D8FF;
constexpr quint32 kFrameColour = 0xFEFAE0;
constexpr quint32 kTimingColour = 0xA8FFA8;
constexpr quint32 kByteColour = 0xF4D6FC;

constexpr int kRowCount = 513;
constexpr qint64 kMax11Bits = 2047;
constexpr qint64 kMax29Bits = 0x1FFFFFFF;

const QStringList kTypes = {kCAN11Bits, "2.0B (29 bits)"};

QString byteAttribute(int k) { return QStringLiteral("Byte%1").arg(k); }

QStringList byteItems(int maxByte)
{
    QStringList out;
    out.reserve(maxByte + 1);
    out.append(QStringLiteral("None"));
    for (int i = 0; i < maxByte; ++i)
        out.append(QString::number(i));
    return out;
}

RuleColumn sized(RuleColumn c, int width, std::optional<quint32> colour)
{
    c.width = width;
    c.colour = colour;
    return c;
}

// Message texts of the checks every CAN frame table shares.
struct FrameTexts {
    int cobId11, cobId29, dimension;
    int byte1;      // Byte1's text
    int byte2;      // Byte2's; Byte3 to Byte8 follow it
    int noneAfter;  // " or None", after the bound
};

// The identifier's range follows the frame's own Type: 11 bits only for exactly the 2.0A
// text (blanks around it allowed), 29 bits for anything else, a blank Type included.
RuleCheck cobIdCheck(const FrameTexts& t)
{
    return rowCheck(
        [t](const RuleTable& table, int row) -> std::optional<RuleFault> {
            const bool elevenBits = trimBlanks(table.text(u"CAN_Type", row))
                                    == QLatin1String(kCAN11Bits);
            const qint64 id = strToIntDef(table.text(u"COBID", row), -1);
            if (id < 0 || id > (elevenBits ? kMax11Bits : kMax29Bits))
                return fault(elevenBits ? t.cobId11 : t.cobId29);
            return std::nullopt;
        },
        {COBID, CAN_Type});
}

// Only the bytes the frame carries (1 to Dimension) are checked; each holds "None" (as it
// stands, in this case), nothing, or a position of the data area.
RuleCheck bytesCheck(const FrameTexts& t, int maxByte)
{
    QStringList uses = {Dim};
    for (int k = 1; k <= 8; ++k)
        uses.append(byteAttribute(k));
    return rowCheck(
        [t, maxByte](const RuleTable& table, int row) -> std::optional<RuleFault> {
            const int dimension = strToIntDef(table.text(u"Dim", row), -1);
            for (int k = 1; k <= qMin(dimension, 8); ++k) {
                const QString cell = trimBlanks(table.text(byteAttribute(k), row));
                if (cell.isEmpty() || cell == QLatin1String("None"))
                    continue;
                const int position = strToIntDef(cell, -1);
                if (position >= 0 && position <= maxByte - 1)
                    continue;
                RuleFault f = fault(k == 1 ? t.byte1 : t.byte2 + k - 2, maxByte - 1);
                f.afterText = t.noneAfter;
                return f;
            }
            return std::nullopt;
        },
        uses);
}

RuleTableSpec frameTable(int tab)
{
    RuleTableSpec t;
    t.tabText = tab;
    t.rowCount = kRowCount;
    t.keyAttribute = QString::fromLatin1(COBID);
    t.keyTest = RuleKeyTest::Trimmed;
    // "y" enables a frame as well as "Y".
    t.enableRule = RuleEnableRule::TrimmedAnyCaseY;
    t.showHints = true;
    return t;
}

QList<RuleColumn> byteColumns(int firstHeader, int maxByte)
{
    const QStringList items = byteItems(maxByte);
    QList<RuleColumn> out;
    for (int k = 1; k <= 8; ++k)
        out.append(sized(combo(byteAttribute(k), firstHeader + k - 1, items), 48, kByteColour));
    return out;
}

RuleFileSpec frameFile(const char* root, int caption, int errorRow, int deleteRow,
                       RuleTableSpec table)
{
    RuleFileSpec f;
    f.captionText = caption;
    f.titleText = caption + 1;
    f.buttonCaptionText = caption + 2;
    f.rootElement = QString::fromLatin1(root);
    f.version = QStringLiteral("1.000");
    f.errorRowText = errorRow;
    f.deleteRowText = deleteRow;
    f.tables = {std::move(table)};
    return f;
}

}  // namespace

RuleFileSpec canReceiveRuleSpec(int maxByte)
{
    // Every value is read with its own default: a frame without one still loads.
    RuleColumn timeOut = sized(column(u"TimeOut", 3313), 75, kTimingColour);
    timeOut.defaultText = QStringLiteral("0");
    RuleTableSpec t = frameTable(3301);
    t.columns = {
        sized(numberColumn(3308), 40, std::nullopt),
        sized(enableColumn(3309), 50, kEnableColour),
        sized(column(COBID, 3310), 90, kFrameColour),
        sized(combo(CAN_Type, 3311, kTypes), 90, kFrameColour),
        sized(column(Dim, 3312), 70, kFrameColour),
        timeOut,
    };
    t.columns += byteColumns(3314, maxByte);
    t.columns += sized(column(u"Mnemonic", 3322), 185, std::nullopt);
    // Text 3333 describes a column this table has none of, so TimeOut skips it.
    setHints(t.columns,
             {3329, 3330, 3331, 3332, 3334, 3335, 3336, 3337, 3338, 3339, 3340, 3341, 3342, 3343});
    const FrameTexts texts{3345, 3346, 3347, 3349, 3351, 3350};
    t.checks = {cobIdCheck(texts), range(Dim, texts.dimension, 1, 8),
                range(u"TimeOut", 3348, 0, 100000000), bytesCheck(texts, maxByte)};

    RuleFileSpec f = frameFile("Receive_Frames", 3300, 3344, 3358, t);
    f.buttonHintText = 3323;
    return builtRuleSpec(f);
}

RuleFileSpec canTransmitRuleSpec(int maxByte)
{
    RuleColumn type = sized(combo(CAN_Type, 3411, kTypes), 90, kFrameColour);
    type.defaultText = QString::fromLatin1(kCAN11Bits);
    RuleColumn onChange = sized(column(u"OnChange", 3413, RuleColumnKind::CheckBox), 65,
                                kTimingColour);
    onChange.defaultText = QStringLiteral("Y");
    // A frame on a timer stored without its period takes 0; one not on a timer leaves the
    // period empty, which no check reads.
    RuleColumn time = sized(column(u"Time", 3415), 70, kTimingColour);
    time.rowDefault = [](const RuleTable& table, int row) {
        return table.text(u"OnTimer", row) == QLatin1String("Y") ? QStringLiteral("0") : QString();
    };
    RuleTableSpec t = frameTable(3401);
    t.columns = {
        sized(numberColumn(3408), 40, std::nullopt),
        sized(enableColumn(3409), 50, kEnableColour),
        sized(column(COBID, 3410), 90, kFrameColour),
        type,
        sized(column(Dim, 3412), 70, kFrameColour),
        onChange,
        sized(column(u"OnCMD", 3462, RuleColumnKind::CheckBox), 50, kTimingColour),
        sized(column(OnTimer, 3414, RuleColumnKind::CheckBox), 55, kTimingColour),
        time,
    };
    t.columns += byteColumns(3416, maxByte);
    t.columns += sized(column(u"Mnemonic", 3424), 110, std::nullopt);
    setHints(t.columns, {3431, 3432, 3433, 3434, 3435, 3463, 3436, 3437, 3438, 3439, 3440, 3441,
                         3442, 3443, 3444, 3445, 3446});
    const FrameTexts texts{3448, 3449, 3450, 3452, 3454, 3453};
    RuleCheck timeCheck = range(u"Time", 3451, 0, 100000000);
    timeCheck.onlyWhenYesIn = QString::fromLatin1(OnTimer);
    t.checks = {cobIdCheck(texts), range(Dim, texts.dimension, 1, 8), timeCheck,
                bytesCheck(texts, maxByte)};

    RuleFileSpec f = frameFile("Transmit_Frames", 3400, 3447, 3461, t);
    f.buttonHintText = 3425;
    return builtRuleSpec(f);
}

}  // namespace zfw
