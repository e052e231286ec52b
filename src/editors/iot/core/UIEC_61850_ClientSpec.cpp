#include "editors/iot/core/UIEC_61850_ClientSpec.h"

#include "editors/iot/core/UIEC_61850_ClientFile.h"
#include "ruleedit/core/URuleSpecBuild.h"

#include <limits>

namespace zfw {

using namespace rulespec;

namespace {

constexpr quint32 kCyan = 0xFEFAE0;    // 224, 250, 254
constexpr quint32 kYellow = 0xA8FFFF;  // 255, 255, 168
constexpr quint32 kGreen = 0xCAFFCA;   // 202, 255, 202
constexpr quint32 kPink = 0xF4D6FC;    // 252, 214, 244
constexpr quint32 kOrange = 0xB0D8FF;  // 255, 216, 176

const QStringList kBits = {"0", "1", "2", "3", "4", "5", "6", "7"};
const QStringList kReadWrite = {"Read", "Write"};
const QStringList kConversions = {"None", "ItoF/FtoI"};

// A grid that starts with its header and one empty row and grows one row per item.
RuleTableSpec growingTable(const char* element, const char* rowElement)
{
    RuleTableSpec t;
    t.element = QLatin1String(element);
    t.rowElement = QLatin1String(rowElement);
    t.rowCount = 2;
    t.maxRowCount = std::numeric_limits<int>::max();
    t.keyTest = RuleKeyTest::None;
    t.enableAttribute.clear();
    return t;
}

RuleColumn shown(const char* attribute, int header, const char* fixedHeader, int width,
                 std::optional<quint32> colour = std::nullopt)
{
    RuleColumn c = column(QLatin1String(attribute), header);
    if (fixedHeader)
        c.fixedHeader = QLatin1String(fixedHeader);
    c.width = width;
    c.colour = colour;
    return c;
}

RuleColumn readOnly(RuleColumn c)
{
    c.readOnly = true;
    return c;
}

RuleColumn box(RuleColumn c)
{
    c.kind = RuleColumnKind::CheckBox;
    c.defaultText = QStringLiteral("N");
    c.centred = true;
    return c;
}

RuleColumn list(RuleColumn c, const QStringList& items)
{
    c.kind = RuleColumnKind::Combo;
    c.items = items;
    return c;
}

RuleColumn number(int header, const char* fixedHeader, int hint)
{
    RuleColumn c = numberColumn(header);
    if (fixedHeader)
        c.fixedHeader = QLatin1String(fixedHeader);
    c.width = 40;
    c.hintText = hint;
    return c;
}

RuleTableSpec daTable(QChar separator)
{
    RuleTableSpec t = growingTable("List_DA_Selected", "DA_Item");
    t.showHints = true;
    const char* const* a = kIecDaAttributes;
    t.columns = {
        number(4918, nullptr, 4935),
        shown(a[0], 4919, nullptr, 60),
        readOnly(shown(a[1], 4920, nullptr, 60, kCyan)),
        readOnly(shown(a[2], 4921, nullptr, 30, kCyan)),
        readOnly(shown(a[3], 4922, nullptr, 150, kCyan)),
        shown(a[4], 4958, nullptr, 65, kCyan),
        shown(a[5], 4959, nullptr, 60, kCyan),
        shown(a[6], 4923, nullptr, 70, kYellow),
        shown(a[7], 4924, nullptr, 45, kYellow),
        box(shown(a[8], 4925, nullptr, 70, kGreen)),
        box(shown(a[9], 4926, nullptr, 50, kGreen)),
        box(shown(a[10], 4927, nullptr, 60, kGreen)),
        shown(a[11], 4928, nullptr, 64, kGreen),
        shown(a[12], 4929, nullptr, 55, kPink),
        list(shown(a[13], 4930, nullptr, 70, kPink), kBits),
        list(shown(a[14], 4931, nullptr, 60, kOrange), kReadWrite),
        list(shown(a[15], 4932, nullptr, 70, kOrange), kConversions),
        shown(a[16], 4933, nullptr, 64, kOrange),
        shown(a[17], 4934, nullptr, 150),
    };
    setHints(t.columns, {4936, 4937, 4938, 4939, 4960, 4961, 4940, 4941, 4942, 4943, 4944, 4945,
                         4946, 4947, 4948, 4949, 4950, 4951});
    // Every row is walked to the end: a row without bType is passed over by the check itself,
    // so an empty row never ends the list.
    t.checks = {rowCheck([separator](const RuleTable& table, int row) -> std::optional<RuleFault> {
        QStringList cells;
        for (int c = 1; c <= kIecDaColumns; ++c)
            cells << table.cell(c, row);
        const IecDaFault f = checkIecDaRows({cells}, separator);
        if (f.ok())
            return std::nullopt;
        RuleFault out = fault(f.text);
        if (!f.bound.isEmpty()) {
            out.hasBound = true;
            out.bound = f.bound.toLongLong();
        }
        out.row = row;
        return out;
    })};
    return t;
}

RuleTableSpec dataSetTable()
{
    RuleTableSpec t = growingTable("List_DataSet_Selected", "DataSet_Item");
    const char* const* a = kIecDataSetAttributes;
    t.columns = {
        number(0, "N", 0),
        shown(a[0], 0, "Index", 60),
        readOnly(shown(a[1], 0, "Reference", 150)),
        readOnly(shown(a[2], 0, "Goose Name", 80)),
        box(shown(a[3], 0, "En. Goose", 60)),
        shown(a[4], 0, "IP Address", 70),
        shown(a[5], 0, "Port", 45),
        shown(a[6], 0, "Time (ms)", 70),
        shown(a[7], 0, "Mnemonic", 100),
    };
    return t;
}

RuleTableSpec memberTable()
{
    RuleTableSpec t = growingTable("DataSet_List_DAs", "DataSet_DA_Item");
    t.columns = {
        number(0, "N", 0),
        readOnly(shown("bType", 0, "bType", 60)),
        readOnly(shown("Reference", 0, "Reference", 150)),
        shown("Position", 0, "Position", 55),
        list(shown("StartBit", 0, "Start Bit", 70), kBits),
        list(shown("Convertion", 0, "Convertion", 70), kConversions),
        shown("MoltFact", 0, "Mult Fact", 64),
        shown("Mnemonic", 0, "Mnemonic", 150),
    };
    return t;
}

}  // namespace

RuleFileSpec iecClientRuleSpec(QChar decimalSeparator)
{
    RuleFileSpec f;
    f.captionText = 4900;
    f.titleText = 4901;
    f.buttonCaptionText = 4902;
    f.buttonHintText = 4910;
    f.rootElement = QLatin1String(kIecClientRoot);
    f.version = QStringLiteral("1.000");
    f.errorRowText = 4952;
    f.tables = {daTable(decimalSeparator), dataSetTable(), memberTable()};
    return builtRuleSpec(f);
}

}  // namespace zfw
