#include "editors/iot/core/UOpcUaClientSpec.h"

#include "ruleedit/core/URuleSpecBuild.h"

#include <array>

namespace zfw {

using namespace rulespec;

namespace {

// Language texts of the tables' headers and hints, per column from 1.
constexpr std::array<int, 16> kReadHeaders = {5446, 5447, 5448, 5449, 5450, 5451, 5513, 5514,
                                              5515, 5452, 5453, 5529, 5505, 5506, 5525, 5454};
constexpr std::array<int, 16> kReadHints = {5455, 5456, 5457, 5458, 5459, 5460, 5516, 5517,
                                            5518, 5461, 5462, 5530, 5507, 5508, 5526, 5463};
constexpr std::array<int, 16> kWriteHeaders = {5465, 5466, 5467, 5468, 5469, 5470, 5471, 5472,
                                               5473, 5474, 5475, 5531, 5509, 5510, 5527, 5476};
constexpr std::array<int, 16> kWriteHints = {5477, 5478, 5479, 5480, 5481, 5482, 5484, 5483,
                                             5485, 5486, 5487, 5532, 5511, 5512, 5528, 5488};
constexpr std::array<int, 16> kWidths = {50, 140, 80, 150, 80, 60, 70, 50,
                                         50, 70,  60, 60,  50, 70, 60, 160};
constexpr int kNumberWidth = 42;

template <size_t N>
QStringList names(const std::array<const char*, N>& list)
{
    QStringList out;
    for (const char* n : list)
        out << QLatin1String(n);
    return out;
}

RuleTableSpec varTable(bool write)
{
    const auto& heads = write ? kWriteHeaders : kReadHeaders;
    const auto& hints = write ? kWriteHints : kReadHints;
    QStringList bits;
    for (int b = 0; b <= 7; ++b)
        bits << QString::number(b);
    const auto box = RuleColumnKind::CheckBox;
    RuleTableSpec t;
    // The file's names of the lists; the window reads and writes the file itself.
    t.element = write ? QStringLiteral("OPC_UA_Write_Var") : QStringLiteral("OPC_UA_Read_Var");
    t.rowCount = kOpcUaVarRows + 1;
    t.maxRowCount = kOpcUaMaxVarRows;
    t.keyAttribute = QStringLiteral("DisplayName");
    // A single blank is a name: only an empty cell ends the list.
    t.keyTest = RuleKeyTest::AsItStands;
    t.showHints = true;
    t.enableEmptiedRow = true;
    t.columns = {numberColumn(write ? 5464 : 5445),
                 enableColumn(heads[0]),
                 column(u"DisplayName", heads[1]),
                 combo(u"NodeType", heads[2], names(opcUaNodeTypeNames())),
                 column(u"NodeID", heads[3]),
                 combo(u"VarType", heads[4], names(opcUaDataTypeNames())),
                 column(u"NameSpaceIndex", heads[5])};
    if (write)
        t.columns += {column(u"OnChange", heads[6], box), column(u"OnCMD", heads[7], box),
                      column(u"OnTimer", heads[8], box)};
    else
        t.columns += {combo(u"VarArray", heads[6],
                            {QStringLiteral("Variable"), QStringLiteral("Array")}),
                      column(u"Start", heads[7]), column(u"Length", heads[8])};
    t.columns += {column(u"Time", heads[9]),
                  column(u"Position", heads[10]),
                  combo(u"StartBit", heads[11], bits),
                  column(u"Swap", heads[12], box),
                  column(u"Swap_Word", heads[13], box),
                  column(u"Swap_All", heads[14], box),
                  column(u"Mnemonic", heads[15])};
    Q_ASSERT(t.columns.size() == kOpcUaVarColumns);
    t.columns[0].width = kNumberWidth;
    for (int c = 1; c < kOpcUaVarColumns; ++c) {
        t.columns[c].width = kWidths[size_t(c - 1)];
        t.columns[c].hintText = hints[size_t(c - 1)];
    }
    return t;
}

}  // namespace

RuleFileSpec opcUaClientSpec()
{
    RuleFileSpec f;
    f.captionText = 5400;
    f.titleText = 5401;
    f.buttonCaptionText = 5433;
    f.buttonHintText = 5439;
    f.rootElement = QStringLiteral("OPC_UA_Client");
    f.deleteRowText = 5493;
    f.tables = {varTable(false), varTable(true)};
    return builtRuleSpec(std::move(f));
}

std::optional<RuleFault> opcUaCheckFault(const OpcUaServerList& servers)
{
    const std::optional<OpcUaCheckFault> found = opcUaCheckServers(servers);
    if (!found)
        return std::nullopt;
    RuleFault f;
    f.table = 0;
    f.row = found->variable;
    f.text = found->text;
    f.form = RuleMessageForm::Format;
    f.values = {found->server, found->variable, kOpcUaMaxPosition};
    return f;
}

OpcUaVariableList opcUaVariablesOfTable(const RuleTable& table, bool write)
{
    std::vector<QStringList> rows;
    const int count = table.ruleCount();
    rows.reserve(size_t(count));
    for (int r = 1; r <= count; ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c)
            cells << table.cell(c, r);
        rows.push_back(std::move(cells));
    }
    return opcUaVariablesFromRows(rows, write);
}

void opcUaFillTable(RuleTable& table, const OpcUaVariableList& list, bool write)
{
    table.clear();
    // Mended: a list longer than the grid (a big browse) used to be cut to the grid's rows
    // the next time the grid was saved. The table now grows to the list, with one free row.
    table.setRowCount(std::max(kOpcUaVarRows, int(list.size()) + 1) + 1);
    for (size_t k = 0; k < list.size(); ++k) {
        const QStringList cells = opcUaVariableRow(*list[k], write);
        for (int c = 1; c < kOpcUaVarColumns; ++c)
            table.setCell(c, int(k) + 1, cells[c]);
    }
}

}  // namespace zfw
