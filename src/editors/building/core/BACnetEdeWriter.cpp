// Writing the gateway's EDE file from its server objects.

#include "editors/building/core/BACnetEde.h"
#include "editors/building/core/BACnetServerObjects.h"

#include "common/TextUtil.h"

#include <QTime>

#include <array>
#include <string_view>

namespace zfw {

namespace F = bacnetserverfile;

namespace {

struct EdeObjectType {
    std::string_view dataType;  // upper case
    int code;
};

constexpr EdeObjectType kObjectTypes[] = {
    {"ANALOG INPUT", 0},        {"ANALOG OUT", 1},
    {"ANALOG VALUE", 2},        {"BINARY INPUT", 3},
    {"BINARY OUT", 4},          {"BINARY VALUE", 5},
    {"MULTI STATE INPUT", 13},  {"MULTI STATE OUTPUT", 14},
    {"MULTI STATE VALUE", 19},  {"LIFE SAFETY POINT", 21},
    {"LIFE SAFETY ZONE", 22},   {"ACCUMULATOR", 23},
    {"ACCESS DOOR", 30},        {"CHARACTERSTRING VALUE", 40},
    {"DATETIME VALUE", 44},     {"INTEGER VALUE", 45},
    {"LARGE ANALOG VALUE", 46}, {"POSITIVE INTEGER VALUE", 48},
};

// The maker's name as the building-management tools know the gateway by it.
constexpr char kMaker[] = "Brenikcorp";

// One counter per object-type code of the table, shared by both tables of the file.
class InstanceCounters {
public:
    int next(int code)
    {
        for (std::size_t i = 0; i < std::size(kObjectTypes); ++i)
            if (kObjectTypes[i].code == code)
                return m_counts[i]++;
        return m_counts[0]++;
    }

private:
    std::array<int, std::size(kObjectTypes)> m_counts{};
};

struct DeviceParams {
    QString instance;
    int nameLength = 16;
};

// Mended: the device instance used to live for the whole program run, so an export whose
// general parameters lack it reused the instance of an earlier export, perhaps of another
// project. Each export now starts without one.
std::optional<DeviceParams> readDeviceParams(const QString& parGenPath, QString& message)
{
    DeviceParams p;
    const ProjectXmlLoad doc = loadProjectXml(parGenPath);
    if (doc.missing())
        return p;
    if (!doc.ok()) {
        message = doc.message;
        return std::nullopt;
    }
    const int type = childIntDef(doc.root, u"BACnet_Type", 0);
    const std::optional<QString> instance = childText(doc.root, type == 1 ? u"BACnet_Ser_DEV_IDE"
                                                                          : u"BACnet_DEV_IDE");
    if (instance)
        p.instance = *instance;
    if (childText(doc.root, u"BACnet_Desc_Chars_Limit") == QLatin1String("1"))
        p.nameLength = 32;
    return p;
}

QString rowFault(const QString& path, const QString& table, int row, const QString& what)
{
    return QStringLiteral("%1: %2, object %3: %4").arg(displayPath(path), table).arg(row).arg(what);
}

bool loadObjects(const QString& path, const DeviceParams& device, QList<TBACnet_EDE_Obj>& out,
                 QString& message)
{
    const ProjectXmlLoad doc = loadProjectXml(path);
    if (doc.missing())
        return true;
    if (!doc.ok()) {
        message = doc.message;
        return false;
    }
    InstanceCounters counters;
    for (const char* name : {F::Read, F::Write}) {
        const QString table = QString::fromLatin1(name);
        const XmlElement element = childElement(doc.root, table);
        if (element.isNull()) {
            message = QStringLiteral("%1: the table %2 is missing").arg(displayPath(path), table);
            return false;
        }
        int row = 0;
        for (const XmlElement& e : rowElements(element)) {
            ++row;
            const std::optional<QString> type = attributeText(e, F::Data_Type);
            const std::optional<QString> unit = attributeText(e, F::Eng_Unit);
            const std::optional<QString> mnemonic = attributeText(e, F::Mnemonic);
            if (!type || !unit || !mnemonic) {
                message = rowFault(path, table, row,
                                   QStringLiteral("Data_Type, Eng_Unit or Mnemonic is missing"));
                return false;
            }
            // Mended: the fields are not quoted, so a ";" or a line break in a name or a unit
            // moved every later column of the file. Such an object is refused.
            if (breaksEdeLine(*mnemonic) || breaksEdeLine(*unit)) {
                message = rowFault(path, table, row,
                                   QStringLiteral("the mnemonic or the unit holds \";\" or a "
                                                  "line break"));
                return false;
            }
            const int code = Get_EDE_Object_Type(asciiUpper(trimBlanks(*type)));
            const QString instance = QString::number(counters.next(code));
            TBACnet_EDE_Obj o;
            o.DevObjInstance = device.instance;
            o.ObjectName = mnemonic->left(device.nameLength);
            o.ObjectType = QString::number(code);
            o.ObjectInstance = instance;
            o.Keyname = device.instance + QLatin1Char('_') + *mnemonic + QLatin1Char('_')
                        + instance;
            o.Description = o.ObjectName;
            o.UnitCode = *unit;
            out.append(o);
        }
    }
    return true;
}

QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace

int Get_EDE_Object_Type(const QString& upperType)
{
    for (const EdeObjectType& t : kObjectTypes)
        if (upperType == QLatin1StringView(t.dataType.data(), qsizetype(t.dataType.size())))
            return t.code;
    return 0;
}

QString Get_TimeStamp_Str(const QDateTime& time)
{
    const QTime t = time.time();
    const QDate d = time.date();
    return two(t.hour()) + QLatin1Char(':') + two(t.minute()) + QLatin1Char(':') + two(t.second())
           + QLatin1Char(' ') + two(d.day()) + QLatin1Char('/') + two(d.month()) + QLatin1Char('/')
           + QString::number(d.year());
}

EdeExport buildEdeFile(const QString& parGenPath, const QString& objectsPath,
                       const QString& projectName, const QDateTime& time)
{
    EdeExport out;
    const std::optional<DeviceParams> device = readDeviceParams(parGenPath, out.message);
    if (!device || !loadObjects(objectsPath, *device, out.objects, out.message))
        return out;
    // The model text of the first line is empty in this family, hence the two dashes.
    QStringList lines = {
        QStringLiteral("PROJECT_NAME; %1--%2;;;;;;").arg(QLatin1String(kMaker), projectName),
        QStringLiteral("VERSION_OF_REFERENCEFILE;1.0;;;;;;"),
        QStringLiteral("TIMESTAMP_OF_LAST_CHANGE;%1;;;;;;").arg(Get_TimeStamp_Str(time)),
        QStringLiteral("AUTHOR_OF_LAST_CHANGE;%1;;;;;;").arg(QLatin1String(kMaker)),
        QStringLiteral("VERSION_OF_LAYOUT;2;;;;;;"),
        QStringLiteral("# mandatory;mandatory;mandatory;mandatory;mandatory;optional;optional;"),
        QStringLiteral("# keyname;device obj.-instance;object-name;object-type;object-instance;"
                       "description;unit-code;"),
    };
    for (const TBACnet_EDE_Obj& o : out.objects)
        lines.append(QStringList{o.Keyname, o.DevObjInstance, o.ObjectName, o.ObjectType,
                                 o.ObjectInstance, o.Description, o.UnitCode}
                         .join(QLatin1Char(';'))
                     + QLatin1Char(';'));
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    bool lossless = true;
    out.bytes = encodeWindows1252(text, &lossless);
    if (!lossless) {
        out.bytes.clear();
        out.message = QStringLiteral(
            "The EDE file cannot hold a character of the project name, "
            "a mnemonic or a unit: use Western European characters");
        return out;
    }
    out.ok = true;
    return out;
}

FileResult BACnet_EDE_Export(const QString& path, const QString& parGenPath,
                             const QString& objectsPath, const QString& projectName,
                             const QDateTime& time)
{
    const EdeExport e = buildEdeFile(parGenPath, objectsPath, projectName, time);
    if (!e.ok)
        return FileResult::failure(e.message);
    return saveFileAtomically(path, e.bytes);
}

}  // namespace zfw
