#include "editors/building/core/BACnetServerObjects.h"

#include "common/ProjectXml.h"
#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>

namespace zfw {

using namespace rulespec;
namespace F = bacnetserverfile;

namespace {

constexpr int kTextMaxRequests = 1559;

const QStringList kReadTypes = {"Analog Input",      "Analog Value",           "Binary Input",
                                "Binary Value",      "Positive Integer Value", "Large Analog Value",
                                "Integer Value",     "Multi State Input",      "Multi State Value",
                                "Life Safety Point", "Life Safety Zone",       "Access Door",
                                "Accumulator"};
const QStringList kWriteTypes = {"Analog Out",    "Analog Value",           "Binary Out",
                                 "Binary Value",  "Positive Integer Value", "Large Analog Value",
                                 "Integer Value", "Multi State Output",     "Multi State Value",
                                 "Access Door"};

// Length bounds of a type in one table, with the message of a Length outside them.
struct LengthBound {
    std::string_view type;  // exact list text
    int min;
    int max;
    int text;
};

constexpr LengthBound kReadBounds[] = {
    {"Analog Input", 1, 4, 1535},
    {"Analog Value", 1, 4, 1538},
    {"Positive Integer Value", 1, 4, 1536},
    {"Large Analog Value", 1, 8, 1537},
    {"Multi State Input", 1, 4, 1539},
    {"Multi State Value", 1, 4, 1540},
    {"Life Safety Point", 1, 2, 1541},
    {"Life Safety Zone", 1, 2, 1542},
    {"Access Door", 1, 1, 1543},
    {"Accumulator", 1, 4, 1544},
};
constexpr LengthBound kWriteBounds[] = {
    {"Analog Out", 1, 4, 1549},
    {"Analog Value", 1, 4, 1550},
    {"Positive Integer Value", 1, 4, 1551},
    {"Large Analog Value", 1, 8, 1552},
    {"Integer Value", 1, 4, 1553},
    {"Multi State Output", 1, 4, 1554},
    {"Multi State Value", 1, 4, 1555},
    {"Access Door", 1, 1, 1556},
};

// Texts and types that differ between the tables.
struct TableRules {
    std::span<const LengthBound> bounds;
    std::array<std::string_view, 2> binaryTypes;
    int engUnit, position, bit, lastByte, mnemonic;
};

const TableRules kReadRules = {kReadBounds, {"Binary Input", "Binary Value"},
                               1533,        1534,
                               1545,        1546,
                               1561};
const TableRules kWriteRules = {kWriteBounds, {"Binary Out", "Binary Value"},
                                1547,         1548,
                                1557,         1558,
                                1562};

bool is(const QString& text, std::string_view type)
{
    return text == QLatin1StringView(type.data(), qsizetype(type.size()));
}

std::optional<RuleFault> checkObject(const RuleTable& t, int row, const TableRules& rules,
                                     int areaSize)
{
    auto cell = [&](const char* attribute) { return t.text(QString::fromLatin1(attribute), row); };
    const int unit = strToIntDef(cell(F::Eng_Unit), -1);
    if (unit < 0 || unit > 65535)
        return fault(rules.engUnit);
    const int position = strToIntDef(cell(F::Position), -1);
    if (position < 0 || position > areaSize - 1)
        return fault(rules.position, areaSize - 1);
    const QString type = cell(F::Data_Type);
    qint64 lastByte = position;
    if (is(type, rules.binaryTypes[0]) || is(type, rules.binaryTypes[1])) {
        if (trimBlanks(cell(F::Bit)).isEmpty())
            return fault(rules.bit);
    } else {
        const int length = strToIntDef(cell(F::Length), 0);
        for (const LengthBound& b : rules.bounds)
            if (is(type, b.type) && (length < b.min || length > b.max))
                return fault(b.text);
        lastByte = qint64(position) + length - 1;
    }
    if (lastByte >= areaSize)
        return fault(rules.lastByte);
    // Mended: a ";" or a line break in a mnemonic went into the EDE file unchanged and moved
    // every later column of its line; such a name is refused here, where it can be corrected.
    if (breaksEdeLine(cell(F::Mnemonic)))
        return fault(rules.mnemonic);
    return std::nullopt;
}

QStringList numberItems(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(i));
    return out;
}

RuleTableSpec table(const char* element, int tab, int headers, const QStringList& types, int rows,
                    int areaSize)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = rows + 1;
    t.keyAttribute = QString::fromLatin1(F::Data_Type);
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableAttribute.clear();
    RuleColumn swap = column(F::Swap, headers + 6, RuleColumnKind::CheckBox);
    swap.hidden = true;
    t.columns = {
        numberColumn(headers),
        combo(F::Data_Type, headers + 1, types),
        column(F::Eng_Unit, headers + 2),
        combo(F::Position, headers + 3, numberItems(areaSize)),
        combo(F::Bit, headers + 4, numberItems(8)),
        column(F::Length, headers + 5),
        swap,
        column(F::Mnemonic, headers + 7),
    };
    // Swap alone may be missing from a row; the others are required by the format.
    constexpr int kWidths[] = {40, 150, 100, 64, 64, 64, 40, 250};
    constexpr quint32 kColours[] = {0,        16710368, 16710368, 16045820,
                                    16045820, 16045820, 11075583, 16777215};
    for (int c = 1; c < t.columns.size(); ++c) {
        RuleColumn& col = t.columns[c];
        col.guarded = col.attribute == QLatin1String(F::Swap);
        col.width = kWidths[c];
        col.colour = kColours[c];
    }
    return t;
}

}  // namespace

bool readBACnetLongDescriptions(const QString& parGenPath)
{
    const ProjectXmlLoad doc = loadProjectXml(parGenPath);
    return doc.ok() && childText(doc.root, u"BACnet_Desc_Chars_Limit") == QLatin1String("1");
}

RuleFileSpec bacnetServerRuleSpec(bool longDescriptions, int areaSize)
{
    const int limit = bacnetServerObjectLimit(longDescriptions);
    RuleTableSpec read = table(F::Read, 1508, 1516, kReadTypes, limit, areaSize);
    read.checks = {
        rowCheck([areaSize](const RuleTable& t,
                            int row) { return checkObject(t, row, kReadRules, areaSize); },
                 {F::Data_Type, F::Eng_Unit, F::Position, F::Bit, F::Length, F::Mnemonic})};
    RuleTableSpec write = table(F::Write, 1509, 1524, kWriteTypes, limit, areaSize);
    write.checks = {
        rowCheck([areaSize](const RuleTable& t,
                            int row) { return checkObject(t, row, kWriteRules, areaSize); },
                 {F::Data_Type, F::Eng_Unit, F::Position, F::Bit, F::Length, F::Mnemonic})};

    RuleFileSpec f;
    f.captionText = 1500;
    f.titleText = 1501;
    f.buttonCaptionText = 1502;
    f.buttonHintText = 1510;
    f.rootElement = QString::fromLatin1(F::Root);
    f.version = QStringLiteral("1.000");
    f.errorRowText = 1532;
    f.deleteRowText = 1560;
    f.tables = {read, write};
    // Every object of both tables counts against one limit, though each table alone could
    // hold it.
    f.fileChecks = {[limit](const RuleFile& file) -> std::optional<RuleFault> {
        int objects = 0;
        for (const RuleTable& t : file.tables)
            objects += t.ruleCount();
        if (objects <= limit)
            return std::nullopt;
        return fault(kTextMaxRequests, limit, RuleMessageForm::NoRowPrefix);
    }};
    return builtRuleSpec(f);
}

QString bacnetServerLengthPreset(const QString& dataType)
{
    const QString t = asciiUpper(dataType);
    for (const char* four : {"ANALOG OUT", "ANALOG VALUE", "POSITIVE INTEGER VALUE",
                             "INTEGER VALUE", "MULTI STATE OUTPUT", "MULTI STATE VALUE"})
        if (t == QLatin1String(four))
            return QStringLiteral("4");
    if (t == QLatin1String("LARGE ANALOG VALUE"))
        return QStringLiteral("8");
    for (const char* one : {"BINARY OUT", "BINARY VALUE", "ACCESS DOOR"})
        if (t == QLatin1String(one))
            return QStringLiteral("1");
    return {};
}

bool breaksEdeLine(QStringView text)
{
    for (QChar c : text)
        if (c == QLatin1Char(';') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            return true;
    return false;
}

}  // namespace zfw
