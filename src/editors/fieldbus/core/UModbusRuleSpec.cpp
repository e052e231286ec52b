#include "editors/fieldbus/core/UModbusRuleSpec.h"

#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

namespace zfw {

using namespace rulespec;

namespace {

// Attribute names of both files.
constexpr char IP_Address[] = "IP_Address";
constexpr char Port[] = "Port";
constexpr char Slave_ID[] = "Slave_ID";
constexpr char Type[] = "Type";
constexpr char Address[] = "Address";
constexpr char NPoint[] = "NPoint";
constexpr char PollTime[] = "PollTime";
constexpr char OnChange[] = "OnChange";
constexpr char OnCMD[] = "OnCMD";
constexpr char MaxError[] = "MaxError";
constexpr char Position[] = "Position";
constexpr char Bit[] = "Bit";
constexpr char Swap[] = "Swap";
constexpr char SwapWord[] = "SwapWord";
constexpr char Index_Topic[] = "Index_Topic";
constexpr char Mnemonic[] = "Mnemonic";

// Cell backgrounds (0xBBGGRR).
constexpr quint32 kEnableColour = 0xB0D8FF;
constexpr quint32 kSlaveColour = 0xFEFAE0;
constexpr quint32 kTimingColour = 0xA8FFA8;
constexpr quint32 kPositionColour = 0xF4D6FC;
constexpr quint32 kSwapColour = 0xA8FFFF;
constexpr quint32 kTopicColour = 0xFFD5D5;
constexpr quint32 kWhite = 0xFFFFFF;

// The per-request maxima of the Modbus application protocol.
constexpr int kReadStatusMax = 2000;
constexpr int kReadRegisterMax = 125;
constexpr int kWriteCoilMax = 1968;
constexpr int kWriteRegisterMax = 123;

const QStringList kReadTypes = {"Coil Status", "Input Status", "Holding Register",
                                "Input Register"};
const QStringList kWriteTypes = {"Coil Status", "Holding Register"};

QStringList numberItems(int count)
{
    QStringList out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(QString::number(i));
    return out;
}

RuleColumn sized(RuleColumn c, int width, std::optional<quint32> colour)
{
    c.width = width;
    c.colour = colour;
    return c;
}

// A status rule (bits) when the trimmed, upper-cased Type is one of the status kinds; any
// other text, blanks included, makes a register rule.
bool isStatusType(const QString& type, bool write)
{
    const QString t = asciiUpper(trimBlanks(type));
    if (t == QLatin1String("COIL STATUS"))
        return true;
    return !write && t == QLatin1String("INPUT STATUS");
}

// Message texts of one table's checks, in the order they run.
struct CheckTexts {
    int address = 0, port = 0;  // TCP only
    int slave, type, modbusAddress, nPoint, pollTime, maxError, position, bit, tooMany;
};

QList<RuleCheck> modbusChecks(const CheckTexts& t, bool write, bool tcp, int areaSize)
{
    QList<RuleCheck> out;
    if (tcp) {
        RuleCheck ip;
        ip.kind = RuleCheckKind::IpAddress;
        ip.attribute = QString::fromLatin1(IP_Address);
        ip.text = t.address;
        out += {ip, range(Port, t.port, 0, 65535)};
    }
    const int statusMax = write ? kWriteCoilMax : kReadStatusMax;
    const int registerMax = write ? kWriteRegisterMax : kReadRegisterMax;
    out += {
        range(Slave_ID, t.slave, 1, 247),
        // The Type must not be empty as it stands: a cell of blanks passes, as a register
        // rule.
        rowCheck(
            [t](const RuleTable& table, int row) -> std::optional<RuleFault> {
                if (table.text(u"Type", row).isEmpty())
                    return fault(t.type);
                return std::nullopt;
            },
            {Type}),
        range(Address, t.modbusAddress, 0, 65535),
        rowCheck(
            [t, write, statusMax, registerMax](const RuleTable& table,
                                               int row) -> std::optional<RuleFault> {
                const int max = isStatusType(table.text(u"Type", row), write) ? statusMax
                                                                              : registerMax;
                const int n = strToIntDef(table.text(u"NPoint", row), -1);
                if (n < 1 || n > max)
                    return fault(t.nPoint, max);
                return std::nullopt;
            },
            {Type, NPoint}),
        range(PollTime, t.pollTime, write ? 0 : 1, 100000000),
        range(MaxError, t.maxError, 0, 100000000),
        rangeWithBound(Position, t.position, 0, areaSize - 1),
        // The last byte the rule fills or sends must lie in the data area. Status rules pack
        // their points from Start Bit of the first byte on; Start Bit itself has no range
        // check and reads as 0 when it is no number.
        rowCheck(
            [t, write, areaSize](const RuleTable& table, int row) -> std::optional<RuleFault> {
                const qint64 position = strToIntDef(table.text(u"Position", row), -1);
                const qint64 n = strToIntDef(table.text(u"NPoint", row), -1);
                qint64 end = 0;
                if (isStatusType(table.text(u"Type", row), write)) {
                    const QString bitCell = table.text(u"Bit", row);
                    if (bitCell.isEmpty())
                        return fault(t.bit);
                    const qint64 bit = strToIntDef(bitCell, 0);
                    end = position + (n + bit - 1) / 8;
                } else {
                    end = position + 2 * n - 1;
                }
                if (end >= areaSize)
                    return fault(t.tooMany);
                return std::nullopt;
            },
            {Type, NPoint, Position, Bit}),
    };
    return out;
}

RuleTableSpec baseTable(const char* element, int tab, bool tcp)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = 513;
    t.keyAttribute = QString::fromLatin1(tcp ? IP_Address : Slave_ID);
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableRule = RuleEnableRule::TrimmedY;
    return t;
}

// Everything but Enable, the swap flags, On CMD and the topic index is required by the
// format: a row without it takes an empty cell and the load reports it.
void markRequired(QList<RuleColumn>& cols)
{
    for (RuleColumn& c : cols) {
        const QString& a = c.attribute;
        if (c.kind == RuleColumnKind::Number || a == QLatin1String("Enable")
            || a == QLatin1String(Swap) || a == QLatin1String(SwapWord) || a == QLatin1String(OnCMD)
            || a == QLatin1String(Index_Topic))
            continue;
        c.guarded = false;
    }
}

// Headers and widths of one table's columns, in column order; 0 where a column is absent.
struct Layout {
    int number, enable, ip, port, slave, type, address, nPoint, pollTime, onChange, onCmd, maxError,
        position, bit, swap, swapWord, topic, mnemonic;
};

QList<RuleColumn> modbusColumns(const Layout& h, const Layout& w, bool write, bool tcp,
                                const QStringList& topics, int areaSize)
{
    QList<RuleColumn> cols = {
        sized(numberColumn(h.number), w.number, std::nullopt),
        sized(enableColumn(h.enable), w.enable, kEnableColour),
    };
    if (tcp)
        cols += {sized(column(IP_Address, h.ip), w.ip, kSlaveColour),
                 sized(column(Port, h.port), w.port, kSlaveColour)};
    cols += {
        sized(column(Slave_ID, h.slave), w.slave, kSlaveColour),
        sized(combo(Type, h.type, write ? kWriteTypes : kReadTypes), w.type, kSlaveColour),
        sized(column(Address, h.address), w.address, kSlaveColour),
        sized(column(NPoint, h.nPoint), w.nPoint, kSlaveColour),
        sized(column(PollTime, h.pollTime), w.pollTime, kTimingColour),
    };
    if (write)
        cols += {sized(column(OnChange, h.onChange, RuleColumnKind::CheckBox), w.onChange,
                       kTimingColour),
                 sized(column(OnCMD, h.onCmd, RuleColumnKind::CheckBox), w.onCmd, kTimingColour)};
    cols += {
        sized(column(MaxError, h.maxError), w.maxError, kTimingColour),
        sized(combo(Position, h.position, numberItems(areaSize)), w.position, kPositionColour),
        sized(combo(Bit, h.bit, numberItems(8)), w.bit, kPositionColour),
        sized(column(Swap, h.swap, RuleColumnKind::CheckBox), w.swap, kSwapColour),
        sized(column(SwapWord, h.swapWord, RuleColumnKind::CheckBox), w.swapWord, kSwapColour),
    };
    if (!write) {
        // The topic feature is not settled: the column stays hidden at every opening and its
        // list empty.
        RuleColumn topic = sized(combo(Index_Topic, h.topic, topics), w.topic, kTopicColour);
        topic.hidden = true;
        cols += topic;
    }
    cols += sized(column(Mnemonic, h.mnemonic), w.mnemonic, kWhite);
    markRequired(cols);
    return cols;
}

// The file holds the topic's index; the cell shows the topic it names in the list.
void topicsFromIndexes(RuleTable& table, const QStringList& topics, bool keepIndex)
{
    const int c = table.spec().col(u"Index_Topic");
    for (int r = 1; r < table.rowCount(); ++r) {
        const int index = strToIntDef(table.cell(c, r), -1);
        if (keepIndex)
            table.setRowObject(r, index);
        table.setCell(c, r, Get_Topic_From_Index(topics, index));
    }
}

RuleFileSpec modbusSpec(bool tcp, const QStringList& topics, int nByteIn, int nByteOut)
{
    RuleTableSpec read = baseTable("Modbus_Read", tcp ? 3106 : 3014, tcp);
    RuleTableSpec write = baseTable("Modbus_Write", tcp ? 3107 : 3015, tcp);
    if (!tcp) {
        read.columns = modbusColumns({3016, 3017, 0, 0, 3018, 3019, 3020, 3021, 3022, 0, 0, 3023,
                                      3024, 3025, 3026, 3090, 3042, 3027},
                                     {40, 50, 0, 0, 60, 115, 60, 64, 64, 0, 0, 64, 61, 64, 40, 80,
                                      120, 120},
                                     false, false, topics, nByteIn);
        setHints(read.columns,
                 {3043, 3044, 3045, 3046, 3047, 3048, 3049, 3050, 3051, 3052, 3092, 3053, 3054});
        read.checks = modbusChecks({0, 0, 3069, 3070, 3071, 3072, 3073, 3074, 3075, 3076, 3077},
                                   false, false, nByteIn);
        write.columns = modbusColumns({3028, 3029, 0, 0, 3030, 3031, 3032, 3033, 3034, 3035, 3036,
                                       3037, 3038, 3039, 3040, 3091, 0, 3041},
                                      {40, 50, 0, 0, 60, 115, 60, 64, 64, 68, 56, 64, 64, 64, 40,
                                       80, 0, 113},
                                      true, false, topics, nByteOut);
        setHints(write.columns, {3055, 3056, 3057, 3058, 3059, 3060, 3061, 3062, 3063, 3064, 3065,
                                 3066, 3093, 3067});
        write.checks = modbusChecks({0, 0, 3079, 3080, 3081, 3082, 3083, 3084, 3085, 3086, 3087},
                                    true, false, nByteOut);
    } else {
        read.columns = modbusColumns({3108, 3109, 3110, 3111, 3112, 3113, 3114, 3115, 3116, 0, 0,
                                      3117, 3118, 3119, 3120, 3200, 3162, 3121},
                                     {40, 50, 101, 45, 55, 100, 55, 45, 60, 0, 0, 64, 60, 60, 40,
                                      80, 120, 140},
                                     false, true, topics, nByteIn);
        setHints(read.columns, {3169, 3170, 3171, 3172, 3173, 3174, 3175, 3176, 3177, 3178, 3179,
                                3180, 3202, 3181, 3182});
        read.checks = modbusChecks({3139, 3140, 3141, 3142, 3143, 3144, 3199, 3146, 3147, 3148,
                                    3149},
                                   false, true, nByteIn);
        write.columns = modbusColumns({3122, 3123, 3124, 3125, 3126, 3127, 3128, 3129, 3130, 3131,
                                       3132, 3133, 3134, 3135, 3136, 3201, 0, 3137},
                                      {40, 50, 101, 45, 55, 100, 55, 45, 60, 66, 56, 62, 55, 55, 40,
                                       80, 0, 150},
                                      true, true, topics, nByteOut);
        setHints(write.columns, {3183, 3184, 3185, 3186, 3187, 3188, 3189, 3190, 3191, 3192, 3193,
                                 3194, 3195, 3196, 3203, 3197});
        write.checks = modbusChecks({3150, 3151, 3152, 3153, 3154, 3155, 3156, 3157, 3158, 3159,
                                     3160},
                                    true, true, nByteOut);
    }

    RuleColumn& topic = read.columns[read.col(u"Index_Topic")];
    if (tcp) {
        topic.writtenText = [topics](const RuleTable& table, int row) {
            return QString::number(Get_Index_From_Topic(topics, table.text(u"Index_Topic", row)));
        };
        read.afterLoad = [topics](RuleTable& table) { topicsFromIndexes(table, topics, false); };
    } else {
        // While the Topic column is hidden, which it is at every opening, the serial master
        // writes no index at all.
        topic.writtenText = [](const RuleTable&, int) { return QString(); };
        read.afterLoad = [topics](RuleTable& table) { topicsFromIndexes(table, topics, true); };
    }
    // The serial master's read grid shows its header hints; the TCP master's write grid does.
    read.showHints = !tcp;
    write.showHints = tcp;

    RuleFileSpec f;
    f.captionText = tcp ? 3100 : 3000;
    f.titleText = tcp ? 3101 : 3001;
    f.buttonCaptionText = tcp ? 3102 : 3002;
    f.buttonHintText = tcp ? 3163 : 3008;
    f.rootElement = QLatin1String(tcp ? "PROFINET_Master_to_Modbus_TCP_Master"
                                      : "EtherNetIP_to_Modbus");
    f.version = QLatin1String(tcp ? "1.007" : "1.002");
    f.errorRowText = tcp ? 3138 : 3068;
    f.deleteRowText = tcp ? 3161 : 3088;
    f.tables = {read, write};
    return builtRuleSpec(f);
}

}  // namespace

int Get_Index_From_Topic(const QStringList& topics, const QString& Topic, int index)
{
    if (index >= 0 && index < topics.size() && topics[index] == Topic)
        return index;
    return int(topics.indexOf(Topic));
}

QString Get_Topic_From_Index(const QStringList& topics, int Index)
{
    return Index >= 0 && Index < topics.size() ? topics[Index] : QString();
}

RuleFileSpec modbusRtuRuleSpec(const QStringList& topics, int nByteIn, int nByteOut)
{
    return modbusSpec(false, topics, nByteIn, nByteOut);
}

RuleFileSpec modbusTcpRuleSpec(const QStringList& topics, int nByteIn, int nByteOut)
{
    return modbusSpec(true, topics, nByteIn, nByteOut);
}

}  // namespace zfw
