#include "editors/fieldbus/core/UEDSWriter.h"

#include "common/TextUtil.h"
#include "common/UComon.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>

namespace zfw {

namespace {

// Name prefixes of the mapped PDO bytes, by the PDO's position. The receive list has j, k, i
// at 7 to 9, and the two-letter prefixes skip j and k: device tools know the bytes by these
// names, so they stay as they are.
constexpr std::array<const char*, kEdsMaxPdos> RPDO_Name_Prefix = {
    "b",  "c",  "d",  "e",  "f",  "g",  "h",  "j",  "k",  "i",  "aa", "ab", "ac", "ad", "ae",
    "af", "ag", "ah", "ai", "al", "am", "an", "ao", "ap", "aq", "ar", "as", "at", "au", "av"};
constexpr std::array<const char*, kEdsMaxPdos> TPDO_Name_Prefix = {
    "l",  "m",  "n",  "o",  "p",  "q",  "r",  "s",  "t",  "u",  "ca", "cb", "cc", "cd", "ce",
    "cf", "cg", "ch", "ci", "cl", "cm", "cn", "co", "cp", "cq", "cr", "cs", "ct", "cu", "cv"};

QString hex(quint64 value, int digits)
{
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

// ---- reading -------------------------------------------------------------------------------

EdsFault faultAt(int text, const QString& file, const QString& table, int row,
                 const QString& detail)
{
    return {text, file, table, row, detail};
}

// A readable file, or the fault of one that exists and cannot be read.
bool usable(const ProjectXmlLoad& doc, const QString& file, EdsFault& fault)
{
    if (doc.missing())
        return false;
    if (!doc.ok()) {
        fault = faultAt(kEdsTextFileUnreadable, file, {}, 0, doc.message);
        return false;
    }
    return true;
}

bool readPdoTable(const XmlElement& root, const QString& file, const char* element,
                  QList<PDO_Entry>& list, int& leftOut, EdsFault& fault)
{
    const QString table = QString::fromLatin1(element);
    const XmlElement t = childElement(root, table);
    if (t.isNull()) {
        fault = faultAt(kEdsTextNoTable, file, table, 0, {});
        return false;
    }
    int row = 0;
    for (XmlElement r = t.firstChildElement(); !r.isNull(); r = r.nextSiblingElement()) {
        ++row;
        if (row > kEdsMaxPdos) {
            ++leftOut;
            continue;
        }
        const std::optional<QStringView> cob = r.attributeView(u"COB-ID");
        const std::optional<QStringView> dim = r.attributeView(u"Dimension");
        if (!cob || !dim) {
            fault = faultAt(kEdsTextNoAttribute, file, table, row,
                            cob ? QStringLiteral("Dimension") : QStringLiteral("COB-ID"));
            return false;
        }
        PDO_Entry e;
        e.COB_ID = strToIntDef(*cob, 0);
        e.Dimension = strToIntDef(*dim, 8);
        // A hand-edited length would give a mapping object of no or more than eight entries.
        if (e.Dimension < 1 || e.Dimension > 8) {
            fault = faultAt(kEdsTextDimension, file, table, row, dim->toString());
            return false;
        }
        list.append(e);
    }
    return true;
}

// Where each index stands in SDO_Index_List. A hashed look-up in place of a search from the
// front: a file of 100,000 rows would otherwise compare each row with every object before it.
using SdoIndexPositions = QHash<int, qsizetype>;

bool readSdoTable(const XmlElement& root, const QString& file, const char* element, bool readOnly,
                  QList<SDO_Index>& list, SdoIndexPositions& positions, QSet<int>& seen,
                  EdsFault& fault)
{
    const QString table = QString::fromLatin1(element);
    const XmlElement t = childElement(root, table);
    if (t.isNull()) {
        fault = faultAt(kEdsTextNoTable, file, table, 0, {});
        return false;
    }
    int row = 0;
    for (XmlElement r = t.firstChildElement(); !r.isNull(); r = r.nextSiblingElement()) {
        ++row;
        struct Field {
            const char16_t* attribute;
            int text;
            int value = -1;
        };
        Field fields[] = {{u"Index", kEdsTextIndex},
                          {u"SubIndex", kEdsTextSubIndex},
                          {u"NByte", kEdsTextNByte}};
        for (Field& f : fields) {
            const std::optional<QStringView> v = r.attributeView(QStringView(f.attribute));
            if (!v) {
                fault = faultAt(kEdsTextNoAttribute, file, table, row,
                                QString::fromUtf16(f.attribute));
                return false;
            }
            const std::optional<int> n = parseIntText(*v);
            // The editor's checks: a hand-edited value would collide with a fixed object or
            // be cut to the low bits of a sub-index.
            const bool fits = n
                              && (f.text == kEdsTextIndex      ? *n >= 0x2000 && *n <= 0x5FFF
                                  : f.text == kEdsTextSubIndex ? *n >= 0 && *n <= 255
                                                               : *n == 1 || *n == 2 || *n == 4);
            if (!fits) {
                fault = faultAt(f.text, file, table, row, v->toString());
                return false;
            }
            f.value = *n;
        }
        const int index = fields[0].value;
        const int sub = fields[1].value;
        // Two rows of one index and sub-index would give two equal sections, which readers
        // refuse.
        if (seen.contains(index << 8 | sub)) {
            fault = faultAt(kEdsTextDuplicate, file, table, row,
                            QStringLiteral("0x%1 sub %2").arg(hex(quint64(index), 4)).arg(sub));
            return false;
        }
        seen.insert(index << 8 | sub);
        SDO_Sub_Type s;
        s.Sub = std::uint8_t(sub);
        s.Quantity = std::uint8_t(fields[2].value);
        s.Readonly = readOnly;
        const auto at = positions.constFind(index);
        if (at == positions.constEnd()) {
            positions.insert(index, list.size());
            list.append({std::uint16_t(index), {s}});
        } else {
            list[*at].Sub_Indexs.append(s);
        }
    }
    return true;
}

// ---- writing -------------------------------------------------------------------------------

class Lines {
public:
    void add(const QString& line) { m_lines.append(line); }
    void add(const char* line) { m_lines.append(QString::fromLatin1(line)); }
    void key(const char* k, const QString& v) { add(QLatin1String(k) + u'=' + v); }
    void key(const char* k, const char* v) { key(k, QString::fromLatin1(v)); }
    void empty() { m_lines.append(QString()); }

    void head(const QString& section, int subNumber, const QString& name, const char* type)
    {
        add(u'[' + section + u']');
        key("SubNumber", QString::number(subNumber));
        key("ParameterName", name);
        key("ObjectType", type);
        empty();
    }
    // A variable section; an empty default is left out.
    void variable(const QString& section, const QString& name, const char* dataType,
                  const char* access, const QString& defaultValue, const char* mapping = "0",
                  bool blankAfter = true)
    {
        add(u'[' + section + u']');
        key("ParameterName", name);
        key("ObjectType", "0x07");
        key("DataType", dataType);
        key("AccessType", access);
        if (!defaultValue.isEmpty())
            key("DefaultValue", defaultValue);
        key("PDOMapping", mapping);
        if (blankAfter)
            empty();
    }

    QStringList take() { return std::move(m_lines); }

private:
    QStringList m_lines;
};

QString section(int index) { return hex(quint64(index), 4); }
QString subSection(int index, int sub)
{
    return section(index) + QStringLiteral("sub") + QString::number(sub, 16).toUpper();
}
QString lit(const char* s) { return QString::fromLatin1(s); }

void headerSections(Lines& l, const EdsLists& lists, const QDateTime& localTime)
{
    const QString date = edsDateText(localTime.date());
    const QString time = edsTimeText(localTime.time());
    const int R = int(lists.PDO_Receive_List.size());
    const int T = int(lists.PDO_Transmit_List.size());

    l.add("[FileInfo]");
    l.key("FileName", EDS_File_Name);
    l.add("FileVersion=1");
    l.add("FileRevision=0");
    l.add("EDSVersion=4.0");
    l.key("Description", EDS_Product_Name);
    l.key("CreationTime", time);
    l.key("CreationDate", date);
    l.add("CreatedBy=Brenikcorp");
    l.key("ModificationTime", time);
    l.key("ModificationDate", date);
    l.add("ModifiedBy=Brenikcorp");
    l.empty();

    l.add("[DeviceInfo]");
    l.add("VendorName=Brenikcorp");
    l.add("VendorNumber=0x00");
    l.key("ProductName", EDS_Product_Name);
    l.key("ProductNumber", EDS_Product_Number);
    l.add("RevisionNumber=0x0");
    l.key("OrderCode", EDS_Order_Code);
    for (const char* rate : {"10=1", "20=1", "50=1", "125=1", "250=1", "500=1", "800=0", "1000=1"})
        l.add(QStringLiteral("BaudRate_") + QLatin1String(rate));
    for (const char* line : {"DynamicChannelsSupported=0", "GroupMessaging=0", "LSS_Supported=0",
                             "Granularity=0", "SimpleBootUpSlave=1", "SimpleBootUpMaster=0"})
        l.add(line);
    l.key("NrOfRXPDO", QString::number(R));
    l.key("NrOfTXPDO", QString::number(T));
    l.empty();

    l.add("[Comments]");
    l.add("Lines=0");
    l.empty();

    l.add("[DummyUsage]");
    for (int i = 1; i <= 7; ++i)
        l.add(QStringLiteral("Dummy%1=0").arg(i, 4, 10, QLatin1Char('0')));
    l.empty();

    l.add("[MandatoryObjects]");
    l.add("SupportedObjects=3");
    l.add("1=0x1000");
    l.add("2=0x1001");
    l.add("3=0x1018");
    l.empty();

    l.add("[OptionalObjects]");
    l.key("SupportedObjects", QString::number(8 + 3 * R + 3 * T));
    int n = 0;
    for (int index : {0x1005, 0x1006, 0x1008, 0x1014, 0x1016, 0x1017, 0x1029, 0x1280})
        l.add(QStringLiteral("%1=0x%2").arg(++n).arg(section(index)));
    const std::pair<int, int> runs[] = {{0x1400, R}, {0x1600, R}, {0x1800, T},
                                        {0x1A00, T}, {0x7000, R}, {0x7050, T}};
    for (const auto& [base, count] : runs)
        for (int i = 0; i < count; ++i)
            l.add(QStringLiteral("%1=0x%2").arg(++n).arg(section(base + i)));
    l.empty();

    l.add("[ManufacturerObjects]");
    l.key("SupportedObjects", QString::number(lists.SDO_Index_List.size()));
    n = 0;
    for (const SDO_Index& o : lists.SDO_Index_List)
        l.add(QStringLiteral("%1=0x%2").arg(++n).arg(section(o.Index)));
    l.empty();
}

void fixedObjects(Lines& l)
{
    l.variable(lit("1000"), lit("Device Type"), "0x0007", "const", lit("0x000101A4"));
    l.variable(lit("1001"), lit("Error Register"), "0x0005", "ro", lit("0x00"));
    l.variable(lit("1005"), lit("COB-ID SYNC"), "0x0007", "rw", lit("0x80000080"));
    l.variable(lit("1006"), lit("Communication Cycle Period"), "0x0007", "rw", lit("0x00000000"));
    l.variable(lit("1008"), lit("Manufacturer Device Name"), "0x0009", "const", lit("s1"));
    l.variable(lit("1014"), lit("COB-ID EMCY"), "0x0007", "ro", lit("$NODEID+0x80"));
    l.head(lit("1016"), 3, lit("Heartbeat Consumer Entries"), "0x08");
    l.variable(lit("1016sub0"), lit("Number of Entries"), "0x0005", "ro", lit("0x02"));
    l.variable(lit("1016sub1"), lit("Consumer Heartbeat Time 1"), "0x0007", "rw",
               lit("0x00000000"));
    l.variable(lit("1016sub2"), lit("Consumer Heartbeat Time 2"), "0x0007", "rw",
               lit("0x00000000"));
    l.variable(lit("1017"), lit("Producer Heartbeat Time"), "0x0006", "rw", lit("0x000003E8"));
    l.head(lit("1018"), 5, lit("Identity Object"), "0x09");
    // "number of entries" in lower case and "0x4" are written as the device's tools know them.
    l.variable(lit("1018sub0"), lit("number of entries"), "0x0005", "ro", lit("0x4"));
    l.variable(lit("1018sub1"), lit("Vendor Id"), "0x0007", "ro", {});
    l.variable(lit("1018sub2"), lit("Product Code"), "0x0007", "ro", {});
    l.variable(lit("1018sub3"), lit("Revision number"), "0x0007", "ro", {});
    l.variable(lit("1018sub4"), lit("Serial number"), "0x0007", "ro", {});
    l.head(lit("1029"), 2, lit("Error Behaviour"), "0x08");
    l.variable(lit("1029sub0"), lit("Number of Entries"), "0x0005", "ro", lit("1"));
    l.variable(lit("1029sub1"), lit("Communication Error"), "0x0005", "rw", lit("0x0"));
    l.head(lit("1280"), 4, lit("Client SDO Parameter 1"), "0x09");
    l.variable(lit("1280sub0"), lit("Number of Entries"), "0x0005", "ro", lit("0x03"));
    l.variable(lit("1280sub1"), lit("COB-ID Client -> Server"), "0x0007", "rw", {});
    l.variable(lit("1280sub2"), lit("COB-ID Server -> Client"), "0x0007", "rw", {});
    // The one section without an empty line after it; readers do not need one.
    l.variable(lit("1280sub3"), lit("Node ID of the SDO Server"), "0x0005", "rw", {}, "0", false);
}

void communicationObjects(Lines& l, const QList<PDO_Entry>& list, int base, const char* name)
{
    for (int i = 0; i < list.size(); ++i) {
        const int x = base + i;
        l.head(section(x), 4, QLatin1String(name) + QString::number(i + 1), "0x09");
        l.variable(subSection(x, 0), lit("Number of Entries"), "0x0005", "ro", lit("0x03"));
        l.variable(subSection(x, 1), lit("COB-ID"), "0x0007", "rw",
                   QStringLiteral("0x") + hex(quint32(list[i].COB_ID), 8));
        l.variable(subSection(x, 2), lit("Transmission Type"), "0x0005", "rw", lit("0xFE"));
        l.variable(subSection(x, 3), lit("Inhibit Time"), "0x0006", "rw", lit("0x0"));
    }
}

void mappingObjects(Lines& l, const QList<PDO_Entry>& list, int base, int dataBase, bool receive)
{
    for (int i = 0; i < list.size(); ++i) {
        const int x = base + i;
        const int d = list[i].Dimension;
        // The receive mapping objects carry no number in their name.
        const QString name = receive
                                 ? lit("Receive PDO Mapping Parameter")
                                 : lit("Transmit PDO Mapping Parameter ") + QString::number(i + 1);
        l.head(section(x), d + 1, name, "0x09");
        l.variable(subSection(x, 0), lit("Number of Entries"), "0x0005", "ro",
                   QStringLiteral("0x") + hex(quint64(d), 2));
        for (int k = 1; k <= d; ++k)
            l.variable(subSection(x, k), QStringLiteral("Mapping Entry %1").arg(k), "0x0007", "ro",
                       QStringLiteral("0x") + section(dataBase + i) + hex(quint64(k), 2)
                           + QStringLiteral("08"));
    }
}

void dataObjects(Lines& l, const QList<PDO_Entry>& list, int base, bool receive)
{
    for (int i = 0; i < list.size(); ++i) {
        const int x = base + i;
        const int d = list[i].Dimension;
        l.head(section(x), d + 1, (receive ? lit("RPDO") : lit("TPDO")) + QString::number(i + 1),
               "0x08");
        l.variable(subSection(x, 0), lit("Number of Entries"), "0x0005", receive ? "ro" : "rw",
                   QStringLiteral("0x") + hex(quint64(d), 2));
        const char* prefix = receive ? RPDO_Name_Prefix[std::size_t(i)]
                                     : TPDO_Name_Prefix[std::size_t(i)];
        for (int k = 1; k <= d; ++k)
            l.variable(subSection(x, k), QLatin1String(prefix) + QString::number(k), "0x0005",
                       receive ? "rww" : "rwr", lit("0x00"), "1");
    }
}

void manufacturerObjects(Lines& l, const QList<SDO_Index>& list)
{
    for (const SDO_Index& o : list) {
        const int n = int(o.Sub_Indexs.size());
        const int smallest = o.Sub_Indexs.front().Sub;
        const int largest = o.Sub_Indexs.back().Sub;
        l.add(u'[' + section(o.Index) + u']');
        l.key("SubNumber", QString::number(smallest != 0 ? n + 1 : n));
        l.add("ParameterName=App Vars");
        l.add("ObjectType=0x9");
        l.empty();
        if (smallest != 0) {
            l.add(u'[' + subSection(o.Index, 0) + u']');
            l.add("ParameterName=Largest Sub-Index supported");
            l.add("ObjectType=0x7");
            l.add("DataType=0x0005");
            l.add("AccessType=ro");
            l.key("DefaultValue", QStringLiteral("0x") + hex(quint64(largest), 2));
            l.add("PDOMapping=0");
            l.empty();
        }
        for (const SDO_Sub_Type& s : o.Sub_Indexs) {
            l.add(u'[' + subSection(o.Index, s.Sub) + u']');
            l.add("ParameterName=Application Variable");
            l.add("ObjectType=0x7");
            const int digits = s.Quantity == 1 ? 2 : s.Quantity == 2 ? 4 : 8;
            l.add(s.Quantity == 1   ? "DataType=0x0005"
                  : s.Quantity == 2 ? "DataType=0x0006"
                                    : "DataType=0x0007");
            l.key("LowLimit", QStringLiteral("0x") + QString(digits, QLatin1Char('0')));
            l.key("HighLimit", QStringLiteral("0x") + QString(digits, QLatin1Char('F')));
            l.key("DefaultValue", QStringLiteral("0x") + QString(digits, QLatin1Char('0')));
            l.add(s.Readonly ? "AccessType=ro" : "AccessType=rw");
            l.add("PDOMapping=0");
            l.empty();
        }
    }
}

}  // namespace

EdsLists readEdsLists(const ProjectXmlLoad& pdoFile, const ProjectXmlLoad& sdoServerFile,
                      EdsFault& fault, const QString& pdoName, const QString& sdoName)
{
    EdsLists lists;
    fault = {};
    if (usable(pdoFile, pdoName, fault)) {
        if (!readPdoTable(pdoFile.root, pdoName, "Receive_PDO", lists.PDO_Receive_List,
                          lists.receiveRowsLeftOut, fault)
            || !readPdoTable(pdoFile.root, pdoName, "Transmit_PDO", lists.PDO_Transmit_List,
                             lists.transmitRowsLeftOut, fault))
            return lists;
    }
    if (!fault.ok())
        return lists;
    if (usable(sdoServerFile, sdoName, fault)) {
        QSet<int> seen;
        SdoIndexPositions positions;
        if (!readSdoTable(sdoServerFile.root, sdoName, "SDO_Read", true, lists.SDO_Index_List,
                          positions, seen, fault))
            return lists;
        readSdoTable(sdoServerFile.root, sdoName, "SDO_Write", false, lists.SDO_Index_List,
                     positions, seen, fault);
    }
    return lists;
}

void Sort_SDO_Sub_Index(QList<SDO_Index>& list)
{
    for (SDO_Index& o : list)
        std::stable_sort(o.Sub_Indexs.begin(), o.Sub_Indexs.end(),
                         [](const SDO_Sub_Type& a, const SDO_Sub_Type& b) {
                             return a.Sub < b.Sub;
                         });
}

QString edsDateText(const QDate& date)
{
    return QStringLiteral("%1-%2-%3")
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(date.year());
}

// Mended: the old conversion wrote 00:30 as "00:30AM", noon as "12:00AM" and 12:30 as
// "00:30PM". Readers expect the standard 12-hour clock: the hours 0 and 12 are "12", the
// suffix changes at noon.
QString edsTimeText(const QTime& time)
{
    const int h = time.hour();
    const int h12 = h % 12 == 0 ? 12 : h % 12;
    return QStringLiteral("%1:%2%3")
        .arg(h12, 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(h < 12 ? QLatin1String("AM") : QLatin1String("PM"));
}

QStringList edsLines(const EdsLists& lists, const QDateTime& localTime)
{
    Lines l;
    headerSections(l, lists, localTime);
    fixedObjects(l);
    communicationObjects(l, lists.PDO_Receive_List, 0x1400, "Receive PDO Communication Parameter ");
    mappingObjects(l, lists.PDO_Receive_List, 0x1600, 0x7000, true);
    communicationObjects(l, lists.PDO_Transmit_List, 0x1800,
                         "Transmit PDO Communication Parameter ");
    mappingObjects(l, lists.PDO_Transmit_List, 0x1A00, 0x7050, false);
    dataObjects(l, lists.PDO_Receive_List, 0x7000, true);
    dataObjects(l, lists.PDO_Transmit_List, 0x7050, false);
    manufacturerObjects(l, lists.SDO_Index_List);
    l.empty();
    return l.take();
}

EdsResult buildEdsFile(const ProjectXmlLoad& pdoFile, const ProjectXmlLoad& sdoServerFile,
                       const QDateTime& localTime, const ProgramState& lang, const QString& pdoName,
                       const QString& sdoName)
{
    EdsResult result;
    EdsLists lists = readEdsLists(pdoFile, sdoServerFile, result.fault, pdoName, sdoName);
    if (!result.fault.ok())
        return result;
    Sort_SDO_Sub_Index(lists.SDO_Index_List);
    QByteArray bytes;
    for (const QString& line : edsLines(lists, localTime)) {
        bytes += line.toLatin1();
        bytes += "\r\n";
    }
    result.bytes = bytes;
    const int leftOut = lists.receiveRowsLeftOut + lists.transmitRowsLeftOut;
    if (leftOut > 0)
        result.warnings.append(lang.lang(kEdsTextPdosLeftOut) + QString::number(leftOut));
    return result;
}

EdsResult Create_EDS_File(const QString& target, const QString& pdoPath,
                          const QString& sdoServerPath, const QDateTime& localTime,
                          const ProgramState& lang)
{
    ProjectXmlLoad pdo = loadProjectXml(pdoPath);
    ProjectXmlLoad sdo = loadProjectXml(sdoServerPath);
    EdsResult result = buildEdsFile(pdo, sdo, localTime, lang, displayPath(pdoPath),
                                    displayPath(sdoServerPath));
    if (!result.ok())
        return result;
    const FileResult saved = saveFileAtomically(target, result.bytes);
    if (!saved.ok) {
        result.fault = faultAt(kEdsTextWriteFailed, displayPath(target), {}, 0, saved.message);
        result.bytes.clear();
    }
    return result;
}

QString edsFaultMessage(const EdsFault& fault, const ProgramState& lang)
{
    if (fault.ok())
        return {};
    QString out = lang.lang(fault.text) + fault.file;
    if (!fault.table.isEmpty())
        out += lang.lang(kEdsTextTable) + fault.table;
    if (fault.row > 0)
        out += lang.lang(kEdsTextRow) + QString::number(fault.row);
    if (!fault.detail.isEmpty())
        out += QStringLiteral(": ") + fault.detail;
    return out;
}

}  // namespace zfw
