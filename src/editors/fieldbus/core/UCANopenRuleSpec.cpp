#include "editors/fieldbus/core/UCANopenRuleSpec.h"

#include "common/TextUtil.h"
#include "ruleedit/core/URuleSpecBuild.h"

#include <QHash>

namespace zfw {

using namespace rulespec;

namespace {

// Column colours in the grid's form (0xBBGGRR).
constexpr quint32 kKeyColour = 0xFEFAE0;      // RGB(224,250,254)
constexpr quint32 kAddressColour = 0xF4D6FC;  // RGB(252,214,244)
constexpr quint32 kTimeColour = 0xA8FFA8;     // RGB(168,255,168)
constexpr quint32 kWhite = 0xFFFFFF;

RuleColumn col(const QString& attribute, int header, int width, quint32 colour,
               RuleColumnKind kind = RuleColumnKind::Text)
{
    RuleColumn c = column(attribute, header, kind);
    c.width = width;
    c.colour = colour;
    // Every value is required by the format: a missing one is reported at opening.
    c.guarded = false;
    if (kind == RuleColumnKind::CheckBox)
        c.defaultText.clear();  // an On Change never touched is empty
    return c;
}

RuleColumn numberCol(int header)
{
    RuleColumn c = numberColumn(header);
    c.width = 40;
    return c;
}

QString address(int k) { return QStringLiteral("Address_B%1").arg(k); }

RuleTableSpec table(const char* element, int tab, int rowCount, const char* key)
{
    RuleTableSpec t;
    t.element = QString::fromLatin1(element);
    t.tabText = tab;
    t.rowCount = rowCount;
    t.keyAttribute = QString::fromLatin1(key);
    t.keyTest = RuleKeyTest::Trimmed;
    t.enableAttribute.clear();
    t.showHints = true;
    return t;
}

void setHintRun(QList<RuleColumn>& cols, int first)
{
    for (int c = 1; c < cols.size(); ++c)
        cols[c].hintText = first + c - 1;
}

// N Byte read with the integer parse: 1, 2 or 4.
RuleCheck nByteCheck(int text)
{
    return rowCheck(
        [text](const RuleTable& t, int row) -> std::optional<RuleFault> {
            const int n = strToIntDef(t.text(u"NByte", row), -1);
            if (n == 1 || n == 2 || n == 4)
                return std::nullopt;
            return fault(text);
        },
        {QStringLiteral("NByte")});
}

// Add Bk for k = 1 up to the count the row's own column gives (a Dimension, or an N Byte of
// 1, 2 or 4); a count that failed its check never gets here.
RuleCheck addressChecks(const QString& countAttribute, int firstText, int areaSize, int columns)
{
    QStringList uses{countAttribute};
    for (int k = 1; k <= columns; ++k)
        uses.append(address(k));
    return rowCheck(
        [=](const RuleTable& t, int row) -> std::optional<RuleFault> {
            const int count = strToIntDef(t.text(countAttribute, row), -1);
            // By N Byte: 1 uses Add Byte1, 2 also Add Byte2, 4 all four.
            const int used = qBound(0, count, columns);
            for (int k = 1; k <= used; ++k) {
                const int v = strToIntDef(t.text(address(k), row), -1);
                if (v < 0 || v > areaSize - 1)
                    return fault(firstText + k - 1, areaSize - 1);
            }
            return std::nullopt;
        },
        uses);
}

RuleFileSpec fileSpec(int first, const char* root)
{
    RuleFileSpec f;
    f.captionText = first;
    f.titleText = first + 1;
    f.buttonCaptionText = first + 2;
    f.buttonHintText = first + 8;
    f.rootElement = QString::fromLatin1(root);
    f.version = QStringLiteral("1.000");
    return f;
}

}  // namespace

RuleFileSpec pdoRuleSpec(int nByteIn, int nByteOut)
{
    auto pdoTable = [](bool receive, int areaSize) {
        RuleTableSpec t = table(receive ? "Receive_PDO" : "Transmit_PDO", receive ? 3514 : 3515, 31,
                                "COB-ID");
        const int h = receive ? 3516 : 3529;
        t.columns = {numberCol(h), col(QStringLiteral("COB-ID"), h + 1, 65, kKeyColour),
                     col(QStringLiteral("Dimension"), h + 2, 65, kKeyColour)};
        for (int k = 1; k <= 8; ++k)
            t.columns.append(col(address(k), h + 2 + k, 45, kAddressColour));
        if (receive) {
            t.columns.append(col(QStringLiteral("TimeOut"), 3527, 65, kTimeColour));
            t.columns.append(col(QStringLiteral("Mnemonic"), 3528, 173, kWhite));
        } else {
            t.columns.append(col(QStringLiteral("Send_Time"), 3540, 65, kTimeColour));
            t.columns.append(
                col(QStringLiteral("On_Change"), 3541, 68, kTimeColour, RuleColumnKind::CheckBox));
            t.columns.append(col(QStringLiteral("Mnemonic"), 3542, 105, kWhite));
        }
        setHintRun(t.columns, receive ? 3543 : 3555);
        const int text = receive ? 3569 : 3580;
        t.checks = {range(u"COB-ID", text, 0, 2047), range(u"Dimension", text + 1, 1, 8),
                    addressChecks(QStringLiteral("Dimension"), text + 2, areaSize, 8)};
        t.checks.append(receive ? range(u"TimeOut", 3579, 0, 65535)
                                : range(u"Send_Time", 3590, 0, 100000000));
        return t;
    };
    RuleFileSpec f = fileSpec(3500, "PDO_CANopen");
    f.errorRowText = 3568;
    f.deleteRowText = 3591;
    f.tables = {pdoTable(true, nByteIn), pdoTable(false, nByteOut)};
    return builtRuleSpec(f);
}

RuleFileSpec sdoClientRuleSpec(int nByteIn, int nByteOut)
{
    auto sdoTable = [](bool read, int areaSize) {
        RuleTableSpec t = table(read ? "SDO_Read" : "SDO_Write", read ? 3614 : 3615, 257,
                                "Device_ID");
        const int h = read ? 3616 : 3627;
        t.columns = {numberCol(h),
                     col(QStringLiteral("Device_ID"), h + 1, 60, kKeyColour),
                     col(QStringLiteral("Index"), h + 2, 55, kKeyColour),
                     col(QStringLiteral("SubIndex"), h + 3, 60, kKeyColour),
                     col(QStringLiteral("NByte"), h + 4, 45, kKeyColour),
                     col(QStringLiteral("Poll_Time"), h + 5, 60, kTimeColour)};
        int next = h + 6;
        if (!read)
            t.columns.append(col(QStringLiteral("On_Change"), next++, 68, kTimeColour,
                                 RuleColumnKind::CheckBox));
        for (int k = 1; k <= 4; ++k)
            t.columns.append(col(address(k), next++, 70, kAddressColour));
        t.columns.append(col(QStringLiteral("Mnemonic"), next, read ? 163 : 95, kWhite));
        setHintRun(t.columns, read ? 3639 : 3649);
        const int text = read ? 3661 : 3670;
        t.checks = {range(u"Device_ID", text, 1, 127),
                    range(u"Index", text + 1, 4096, 65535),
                    range(u"SubIndex", text + 2, 0, 255),
                    nByteCheck(text + 3),
                    range(u"Poll_Time", text + 4, read ? 1 : 0, 100000000),
                    addressChecks(QStringLiteral("NByte"), text + 5, areaSize, 4)};
        return t;
    };
    RuleFileSpec f = fileSpec(3600, "SDO_Client_CANopen");
    f.errorRowText = 3660;
    f.deleteRowText = 3679;
    f.tables = {sdoTable(true, nByteIn), sdoTable(false, nByteOut)};
    return builtRuleSpec(f);
}

RuleFileSpec sdoServerRuleSpec(int nByteIn, int nByteOut)
{
    auto sdoTable = [](bool read, int areaSize) {
        RuleTableSpec t = table(read ? "SDO_Read" : "SDO_Write", read ? 3714 : 3715, 501, "Index");
        const int h = read ? 3716 : 3725;
        t.columns = {numberCol(h), col(QStringLiteral("Index"), h + 1, 65, kKeyColour),
                     col(QStringLiteral("SubIndex"), h + 2, 61, kKeyColour),
                     col(QStringLiteral("NByte"), h + 3, 55, kKeyColour)};
        for (int k = 1; k <= 4; ++k)
            t.columns.append(col(address(k), h + 3 + k, 80, kAddressColour));
        t.columns.append(col(QStringLiteral("Mnemonic"), h + 8, 170, kWhite));
        setHintRun(t.columns, read ? 3734 : 3742);
        const int text = read ? 3751 : 3758;
        t.checks = {range(u"Index", text, 8192, 24575), range(u"SubIndex", text + 1, 0, 255),
                    nByteCheck(text + 2),
                    addressChecks(QStringLiteral("NByte"), text + 3, areaSize, 4)};
        return t;
    };
    RuleFileSpec f = fileSpec(3700, "SDO_Server_CANopen");
    f.errorRowText = 3750;
    f.deleteRowText = 3765;
    f.tables = {sdoTable(true, nByteIn), sdoTable(false, nByteOut)};
    // Mended: the same index and sub-index in two rows was accepted and gave the EDS file two
    // equal sections, which readers refuse. The later row is named, with the earlier one.
    f.fileChecks = {[](const RuleFile& file) -> std::optional<RuleFault> {
        QHash<int, std::pair<int, int>> seen;  // index << 8 | sub -> (table, row)
        for (std::size_t t = 0; t < file.tables.size(); ++t) {
            const RuleTable& table = file.tables[t];
            for (int r = 1; r <= table.ruleCount(); ++r) {
                const int key = strToIntDef(table.text(u"Index", r), -1) << 8
                                | strToIntDef(table.text(u"SubIndex", r), -1);
                const auto earlier = seen.constFind(key);
                if (earlier == seen.constEnd()) {
                    seen.insert(key, {int(t), r});
                    continue;
                }
                RuleFault f = fault(t == 0 ? kSdoServerTextDuplicateRead
                                           : kSdoServerTextDuplicateWrite,
                                    earlier->second);
                f.table = int(t);
                f.row = r;
                f.afterText = earlier->first == 0 ? kSdoServerTextInRead : kSdoServerTextInWrite;
                return f;
            }
        }
        return std::nullopt;
    }};
    return builtRuleSpec(f);
}

}  // namespace zfw
