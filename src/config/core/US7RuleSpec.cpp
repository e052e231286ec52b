#include "config/core/US7RuleSpec.h"

#include "config/core/URuleFileNames.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;
using namespace rulefile;

namespace {

// The combo items are exactly the code texts the image compiler knows.
const QStringList kPlcTypes = {"Logo0BA8", "S7200", "S7300", "S7400", "S71200", "S71500"};
const QStringList kDataTypes = {"Bit", "Byte", "Char", "Word", "Int", "DWord", "DInt", "Real"};
const QStringList kDataIdentifiers = {"OB", "DB", "SDB", "FC", "SFC", "FB", "SFB"};
const QStringList kPlcAreas = {"Direct peripheral access (P)", "Inputs (I)", "Output (Q)",
                               "Flags (M) (Merker)"};

QStringList numberItems(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(i));
    return out;
}

// Header texts of columns 0 to 13, which both tables share in meaning.
struct CommonHeaders {
    int number, enable, address, port, type, rack, slot, dataType, identifier, dbNumber, area, add,
        bit, pollTime;
};

// Message texts of the fifteen checks, in the order they run.
struct CheckTexts {
    int address, port, connection, type, rack, slot, dataType, identifier, dbNumber, area, add, bit,
        pollTime, position, startBit;
};

QList<RuleColumn> commonColumns(const CommonHeaders& h)
{
    // Enable, Rack and Slot are read with a default ("Y", "0", "0"); every other attribute
    // is required by the format (markRequired).
    RuleColumn rack = column(Rack, h.rack);
    rack.defaultText = QStringLiteral("0");
    RuleColumn slot = column(Slot, h.slot);
    slot.defaultText = QStringLiteral("0");
    QList<RuleColumn> cols = {
        numberColumn(h.number),
        enableColumn(h.enable),
        column(PLC_Address, h.address),
        column(PLC_Port, h.port),
        combo(PLC_Type, h.type, kPlcTypes),
        rack,
        slot,
        combo(Data_Type, h.dataType, kDataTypes),
        combo(Data_Identifier, h.identifier, kDataIdentifiers),
        column(DB_Number, h.dbNumber),
        combo(PLC_Area, h.area, kPlcAreas),
        column(PLC_Add, h.add),
        combo(PLC_Bit, h.bit, numberItems(8)),
        column(PollTime, h.pollTime),
    };
    return cols;
}

QList<RuleCheck> checks(const CheckTexts& t, int minPollTime, int areaSize)
{
    RuleCheck address;
    address.kind = RuleCheckKind::IpAddress;
    address.attribute = QString::fromLatin1(PLC_Address);
    address.text = t.address;
    RuleCheck connection;
    connection.kind = RuleCheckKind::Connection;
    connection.attribute = QString::fromLatin1(PLC_Address);
    connection.portAttribute = QString::fromLatin1(PLC_Port);
    connection.text = t.connection;
    return {
        address,
        range(PLC_Port, t.port, 0, 65535),
        connection,
        notBlank(PLC_Type, t.type),
        range(Rack, t.rack, 0, 3),
        range(Slot, t.slot, 0, 31),
        notBlank(Data_Type, t.dataType),
        notBlank(Data_Identifier, t.identifier),
        range(DB_Number, t.dbNumber, 0, 65535),
        notBlank(PLC_Area, t.area),
        range(PLC_Add, t.add, 0, 65535),
        notBlank(PLC_Bit, t.bit),
        range(PollTime, t.pollTime, minPollTime, 100000000),
        rangeWithBound(Position, t.position, 0, areaSize - 1),
        notBlank(Bit, t.startBit),
    };
}

RuleTableSpec table(const char* element, int tab)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.keyAttribute = QString::fromLatin1(PLC_Address);
    t.tabText = tab;
    t.rowCount = 513;
    t.firstNumber = 1;
    t.enableRule = RuleEnableRule::TrimmedY;
    return t;
}

void markRequired(QList<RuleColumn>& cols)
{
    for (RuleColumn& c : cols)
        if (c.kind != RuleColumnKind::Number && c.attribute != QLatin1String(Enable)
            && c.attribute != QLatin1String(Rack) && c.attribute != QLatin1String(Slot))
            c.guarded = false;
}

}  // namespace

RuleFileSpec s7RuleSpec(int nByteIn, int nByteOut)
{
    RuleTableSpec read = table(S7_Read, 5914);
    read.columns = commonColumns(
        {5916, 5917, 5918, 5919, 5920, 6013, 6014, 5921, 5922, 5989, 5990, 5991, 5992, 5923});
    read.columns += {
        combo(Position, 5924, numberItems(nByteIn)),
        combo(Bit, 5925, numberItems(8)),
        column(Swap, 5926, RuleColumnKind::CheckBox),
        column(SwapWord, 5927, RuleColumnKind::CheckBox),
        column(Mnemonic, 5928),
    };
    markRequired(read.columns);
    setHints(read.columns, {5944, 5945, 5946, 5947, 6017, 6018, 5948, 5949, 5997, 5998, 5999, 6000,
                            5950, 5951, 5952, 5953, 5954, 5955});
    read.showHints = true;
    read.checks = checks({5971, 5972, 5987, 5973, 6021, 6022, 5974, 5975, 6005, 6006, 6007, 6008,
                          5976, 5977, 5978},
                         1, nByteIn);

    RuleTableSpec write = table(S7_Write, 5915);
    write.columns = commonColumns(
        {5929, 5930, 5931, 5932, 5933, 6015, 6016, 5934, 5935, 5993, 5994, 5995, 5996, 5936});
    write.columns += {
        column(OnChange, 5937, RuleColumnKind::CheckBox),
        column(OnCMD, 5938, RuleColumnKind::CheckBox),
        combo(Position, 5939, numberItems(nByteOut)),
        combo(Bit, 5940, numberItems(8)),
        column(Swap, 5941, RuleColumnKind::CheckBox),
        column(SwapWord, 5942, RuleColumnKind::CheckBox),
        column(Mnemonic, 5943),
    };
    markRequired(write.columns);
    setHints(write.columns, {5956, 5957, 5958, 5959, 6019, 6020, 5960, 5961, 6001, 6002,
                             6003, 6004, 5962, 5963, 5964, 5965, 5966, 5967, 5968, 5969});
    write.checks = checks({5979, 5980, 5988, 5981, 6023, 6024, 5982, 5983, 6009, 6010, 6011, 6012,
                           5984, 5985, 5986},
                          0, nByteOut);

    RuleFileSpec f;
    f.captionText = 5900;
    f.titleText = 5901;
    f.buttonCaptionText = 5902;
    f.buttonHintText = 5908;
    f.rootElement = QString::fromLatin1(S7_Root);
    f.version = QStringLiteral("1.002");
    f.errorRowText = 5970;
    f.deleteRowText = 1249;
    f.connectionLimit = kS7ConnectionLimit;
    f.tables = {read, write};
    return builtRuleSpec(f);
}

}  // namespace zfw
