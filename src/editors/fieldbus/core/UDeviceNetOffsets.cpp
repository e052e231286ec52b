#include "editors/fieldbus/core/UDeviceNetOffsets.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "editors/fieldbus/core/UDeviceNetRuleSpec.h"

#include <QHash>
#include <QSet>

namespace zfw {

namespace {

constexpr int kTextDuplicate = 3921;
constexpr int kTextFirstId = 3922;
constexpr int kTextByte = 3923;
constexpr int kTextSecondId = 3924;
constexpr int kTextSecondByte = 3925;
constexpr int kTextUnread = 3926;
constexpr int kTextRow = 3927;
constexpr int kTextBadValue = 3928;
constexpr int kTextMissing = 3929;
constexpr int kTextAboveArray = 3930;
constexpr int kTextMissingElement = 3932;

const QString kNone = QStringLiteral("None");

// Reads the slave list; stops at the first row that cannot be a slave, keeping those before.
void loadSlaves(const XmlElement& root, const QString& file, std::vector<TSlave_DN>& slaves,
                DefOffsetOpening& opening)
{
    static const char16_t* const kAttributes[] = {u"ID", u"NB_IN", u"NB_OUT", u"Mnemonic"};
    static const int kMax[] = {kDeviceNetMaxId, kDeviceNetMaxBytes, kDeviceNetMaxBytes};
    int row = 0;
    for (XmlElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        ++row;
        TSlave_DN s;
        int values[3] = {};
        for (int a = 0; a < 4; ++a) {
            const QString name = QString::fromUtf16(kAttributes[a]);
            const std::optional<QString> text = e.attribute(name);
            if (!text) {
                opening.problems.push_back({file, row, name, {}, true});
                return;
            }
            s.texts[a] = *text;
            if (a == 3)
                continue;
            // Mended: the old reader stored any integer in the field's width, so a hand-edited
            // 70000 bytes became 4464. A value the slave editor would refuse stops the reading.
            const std::optional<int> v = parseIntText(*text);
            if (!v || *v < 0 || *v > kMax[a]) {
                opening.problems.push_back({file, row, name, *text, false});
                return;
            }
            values[a] = *v;
        }
        s.ID = std::uint8_t(values[0]);
        s.ByteIN = std::uint16_t(values[1]);
        s.ByteOUT = std::uint16_t(values[2]);
        s.Mnemonic = s.texts[3];
        s.SL_ByteIN = QStringList(s.ByteIN, kNone);
        s.SL_ByteIN_M = QStringList(s.ByteIN, QString());
        s.SL_ByteOUT = QStringList(s.ByteOUT, kNone);
        s.SL_ByteOUT_M = QStringList(s.ByteOUT, QString());
        slaves.push_back(std::move(s));
    }
}

// One "ByteIN" or "ByteOUT" element into the slave's lists, up to its byte count.
void loadBytes(const XmlElement& node, const char16_t* element, int count, QStringList& offsets,
               QStringList& mnemonics, const QString& file, int row, DefOffsetOpening& opening)
{
    const QString name = QString::fromUtf16(element);
    const XmlElement bytes = childElement(node, name);
    if (bytes.isNull()) {
        // The bytes keep "None" and empty mnemonics.
        opening.problems.push_back({file, row, name, {}, true});
        return;
    }
    int j = 0;
    for (XmlElement r = bytes.firstChildElement(); !r.isNull() && j < count;
         r = r.nextSiblingElement(), ++j) {
        const std::optional<QString> offset = r.attribute(u"Offset");
        const std::optional<QString> mnemonic = r.attribute(u"Mnemonic");
        if (offset)
            offsets[j] = *offset;
        if (mnemonic)
            mnemonics[j] = *mnemonic;
        if (!offset || !mnemonic)
            opening.problems.push_back(
                {file,
                 row,
                 offset ? QStringLiteral("Mnemonic") : QStringLiteral("Offset"),
                 {},
                 true});
    }
}

void loadOffsets(const XmlElement& root, const QString& file, std::vector<TSlave_DN>& slaves,
                 DefOffsetOpening& opening)
{
    QList<XmlElement> nodes;
    for (XmlElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        nodes.append(e);

    // By ID when every element carries one and no ID is given twice, on either side.
    QHash<int, int> slaveOfId;
    bool byId = !nodes.isEmpty();
    for (std::size_t i = 0; i < slaves.size() && byId; ++i) {
        if (slaveOfId.contains(slaves[i].ID))
            byId = false;
        slaveOfId.insert(slaves[i].ID, int(i));
    }
    QSet<int> nodeIds;
    for (const XmlElement& n : nodes) {
        const std::optional<QString> id = n.attribute(u"ID");
        const std::optional<int> v = id ? parseIntText(*id) : std::nullopt;
        if (!byId || !v || nodeIds.contains(*v)) {
            byId = false;
            break;
        }
        nodeIds.insert(*v);
    }

    for (qsizetype k = 0; k < nodes.size(); ++k) {
        int slave = int(k);
        if (byId) {
            const int id = parseIntText(*nodes[k].attribute(u"ID")).value_or(-1);
            slave = slaveOfId.value(id, -1);
            if (slave < 0)
                continue;  // the slave was deleted from the list: its offsets go with it
        } else if (slave >= int(slaves.size())) {
            break;
        }
        TSlave_DN& s = slaves[std::size_t(slave)];
        loadBytes(nodes[k], u"ByteIN", s.ByteIN, s.SL_ByteIN, s.SL_ByteIN_M, file, int(k + 1),
                  opening);
        loadBytes(nodes[k], u"ByteOUT", s.ByteOUT, s.SL_ByteOUT, s.SL_ByteOUT_M, file, int(k + 1),
                  opening);
    }
}

}  // namespace

DefOffsetOpening TDefOffsetModel::open(const QString& netPath, const QString& offsetPath)
{
    return open(loadProjectXml(netPath), loadProjectXml(offsetPath), displayPath(netPath),
                displayPath(offsetPath));
}

DefOffsetOpening TDefOffsetModel::open(const ProjectXmlLoad& net, const ProjectXmlLoad& offsets,
                                       const QString& netName, const QString& offsetName)
{
    DefOffsetOpening opening;
    List_Slaves_DN.clear();
    MAX_BYTE_IN = kDeviceNetArraySize;
    MAX_BYTE_OUT = kDeviceNetArraySize;
    if (!net.missing()) {
        if (!net.ok()) {
            opening.fileError = net.message;
            return opening;
        }
        loadSlaves(net.root, netName, List_Slaves_DN, opening);
    }
    if (!offsets.missing()) {
        if (!offsets.ok()) {
            opening.fileError = offsets.message;
            return opening;
        }
        loadOffsets(offsets.root, offsetName, List_Slaves_DN, opening);
    }
    return opening;
}

DefOffsetFault TDefOffsetModel::Check_Data() const
{
    // Check_Byte_Offset: who took each output offset first; -1 free.
    std::vector<std::pair<int, int>> Check_Byte_Offset(std::size_t(qMax(0, MAX_BYTE_OUT)),
                                                       {-1, -1});
    for (const TSlave_DN& s : List_Slaves_DN) {
        for (int i = 0; i < s.SL_ByteOUT.size(); ++i) {
            const int offset = strToIntDef(s.SL_ByteOUT[i], -1);
            if (offset < 0)
                continue;  // "None"
            // Only a hand-edited file can hold an offset past the array; the old check read
            // its table past the end.
            if (offset >= MAX_BYTE_OUT)
                return {kTextAboveArray, 0, 0, s.ID, i};
            auto& taken = Check_Byte_Offset[std::size_t(offset)];
            if (taken.first >= 0)
                return {kTextDuplicate, taken.first, taken.second, s.ID, i};
            taken = {s.ID, i};
        }
    }
    return {};
}

ProjectXmlWriter TDefOffsetModel::document() const
{
    ProjectXmlWriter doc(QStringLiteral("Define_Offset"), QStringLiteral("1.000"));
    for (const TSlave_DN& s : List_Slaves_DN) {
        ProjectXmlElement& node = doc.root().addChild(QStringLiteral("Nodo_DNET"));
        // Mended: the offsets followed their slave by position only, so deleting a slave
        // handed its offsets to the next one. The ID lets the next opening find the slave.
        node.setAttribute(QStringLiteral("ID"), QString::number(s.ID));
        auto bytes = [&node](const char* name, const QStringList& offsets,
                             const QStringList& mnemonics) {
            ProjectXmlElement& e = node.addChild(QString::fromLatin1(name));
            for (int j = 0; j < offsets.size(); ++j)
                e.addChild(QStringLiteral("row"))
                    .setAttribute(QStringLiteral("Offset"), offsets[j])
                    .setAttribute(QStringLiteral("Mnemonic"), mnemonics.value(j));
        };
        bytes("ByteIN", s.SL_ByteIN, s.SL_ByteIN_M);
        bytes("ByteOUT", s.SL_ByteOUT, s.SL_ByteOUT_M);
    }
    return doc;
}

QStringList TDefOffsetModel::offsetItems(int size)
{
    QStringList items;
    items.reserve(size + 1);
    items.append(kNone);
    for (int i = 0; i < size; ++i)
        items.append(QString::number(i));
    return items;
}

QString defOffsetOpeningMessage(const DefOffsetOpening& opening, const ProgramState& lang)
{
    QStringList lines;
    if (!opening.fileError.isEmpty())
        lines.append(lang.lang(kTextUnread) + opening.fileError);
    for (const DefOffsetProblem& p : opening.problems) {
        QString line = lang.lang(kTextUnread) + p.file + lang.lang(kTextRow)
                       + QString::number(p.row);
        if (p.missing)
            line += lang.lang(p.what == QLatin1String("ByteIN")
                                      || p.what == QLatin1String("ByteOUT")
                                  ? kTextMissingElement
                                  : kTextMissing)
                    + p.what;
        else
            line += lang.lang(kTextBadValue) + p.what + QStringLiteral(" = \"") + p.value
                    + QLatin1Char('"');
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

QString defOffsetFaultMessage(const DefOffsetFault& fault, const ProgramState& lang)
{
    if (fault.text == kTextDuplicate)
        return lang.lang(kTextDuplicate) + QStringLiteral("\n\r( ") + lang.lang(kTextFirstId)
               + QString::number(fault.firstId) + lang.lang(kTextByte)
               + QString::number(fault.firstByte) + lang.lang(kTextSecondId)
               + QString::number(fault.id) + lang.lang(kTextSecondByte)
               + QString::number(fault.byte) + QStringLiteral(")");
    if (fault.text == kTextAboveArray)
        return lang.lang(kTextAboveArray) + QString::number(fault.id) + lang.lang(kTextByte)
               + QString::number(fault.byte);
    return {};
}

}  // namespace zfw
