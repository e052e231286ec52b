#include "editors/fieldbus/core/UJ1939FrameRules.h"

#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

namespace {

using rulespec::fault;

struct ResolvedColumns {
    int transport = -1;
    int fastPacket = -1;
    int start = -1;
    int count = -1;
};

ResolvedColumns resolve(const RuleTable& table, const FrameReceiveColumns& columns)
{
    const RuleTableSpec& spec = table.spec();
    return {spec.col(columns.transport),
            columns.fastPacket.isEmpty() ? -1 : spec.col(columns.fastPacket),
            spec.col(columns.start), spec.col(columns.count)};
}

// A message of up to `limit` bytes from Start Byte: bytes, or the fault.
std::optional<RuleFault> messagePart(const RuleTable& table, int row, const ResolvedColumns& c,
                                     int limit, int startText, int sumText, qint64& bytes)
{
    const qint64 start = strToIntDef(table.cell(c.start, row), -1);
    if (start < 0 || start > limit)
        return fault(startText);
    const qint64 count = strToIntDef(table.cell(c.count, row), -1);
    if (count < 0 || start + count > limit)
        return fault(sumText);
    bytes = count;
    return std::nullopt;
}

// Bytes the row adds to the total, or the fault of its byte cells.
std::optional<RuleFault> rowBytes(const RuleTable& table, int row, const ResolvedColumns& c,
                                  const FrameReceiveTexts& t, qint64& bytes)
{
    const bool transport = table.isYes(c.transport, row);
    const bool fast = c.fastPacket >= 0 && table.isYes(c.fastPacket, row);
    if (transport)
        return messagePart(table, row, c, kJ1939TransportBytes, t.transportStart, t.transportSum,
                           bytes);
    if (fast)
        return messagePart(table, row, c, kFastPacketBytes, t.fastStart, t.fastSum, bytes);
    // One frame: the whole of it, or a part given by both cells.
    bytes = 8;
    const bool noStart = trimBlanks(table.cell(c.start, row)).isEmpty();
    const bool noCount = trimBlanks(table.cell(c.count, row)).isEmpty();
    if (noStart && noCount)
        return std::nullopt;
    if (noStart != noCount)
        return fault(t.bothGiven);
    const qint64 start = strToIntDef(table.cell(c.start, row), -1);
    if (start < 1 || start > 8)
        return fault(t.singleStart);
    const qint64 count = strToIntDef(table.cell(c.count, row), -1);
    if (count < 1 || count > 8)
        return fault(t.singleCount);
    if (start + count > 8)
        return fault(t.singleSum);
    bytes = count + 8;
    return std::nullopt;
}

}  // namespace

RuleTableSpec frameRuleTable(int rowCount, int titleText)
{
    RuleTableSpec t;
    t.rowCount = rowCount;
    t.tabText = titleText;
    t.keyAttribute = QStringLiteral("PGN");
    t.keyTest = RuleKeyTest::AsItStands;
    t.enableAttribute.clear();
    t.enableRule = RuleEnableRule::Exact;
    t.showHints = true;
    return t;
}

RuleFileSpec frameRuleFile(int captionText, QString root, int errorRowText, int deleteRowText)
{
    RuleFileSpec f;
    f.captionText = captionText;
    f.titleText = captionText + 1;
    f.buttonCaptionText = captionText + 2;
    f.buttonHintText = captionText + 8;
    f.rootElement = std::move(root);
    f.version = QStringLiteral("1.000");
    f.errorRowText = errorRowText;
    f.deleteRowText = deleteRowText;
    return f;
}

RuleCheck frameReceiveBytes(const FrameReceiveColumns& columns, const FrameReceiveTexts& texts,
                            int inputArea)
{
    QStringList uses = {columns.transport, columns.start, columns.count};
    if (!columns.fastPacket.isEmpty())
        uses.append(columns.fastPacket);
    return rulespec::rowCheck(
        [columns, texts, inputArea](const RuleTable& table, int row) -> std::optional<RuleFault> {
            const ResolvedColumns c = resolve(table, columns);
            qint64 total = 0;
            for (int r = 1; r < row; ++r) {
                qint64 bytes = 0;
                if (!rowBytes(table, r, c, texts, bytes))
                    total += bytes;
            }
            qint64 bytes = 0;
            if (std::optional<RuleFault> f = rowBytes(table, row, c, texts, bytes))
                return f;
            if (total + bytes > inputArea)
                return fault(texts.total, inputArea, RuleMessageForm::NoRowPrefix);
            return std::nullopt;
        },
        uses);
}

RuleCheck frameRunningTotal(const QString& countAttribute, int text, int outputArea)
{
    return rulespec::rowCheck(
        [countAttribute, text, outputArea](const RuleTable& table,
                                           int row) -> std::optional<RuleFault> {
            const int c = table.spec().col(countAttribute);
            qint64 total = 0;
            for (int r = 1; r <= row; ++r)
                total += qMax(0, strToIntDef(table.cell(c, r), 0));
            if (total > outputArea)
                return fault(text, outputArea, RuleMessageForm::NoRowPrefix);
            return std::nullopt;
        },
        {countAttribute});
}

}  // namespace zfw
