#include "editors/iot/core/USNMPMib.h"

#include "common/TextUtil.h"

#include <QSet>

namespace zfw {

namespace {

constexpr qsizetype kMaxNameLength = 64;  // longest descriptor the SMI allows

// Every name the module defines or imports itself, whatever the agent file holds.
const QSet<QString>& fixedNames()
{
    static const QSet<QString> kNames = [] {
        QSet<QString> s = {"identity",    "brenik",       "gateway",  "application", "data",
                           "hellostring", "countin",      "countout", "bufferin",    "bufferinval",
                           "bufferout",   "bufferoutval", "traps",    "trapsval",    "enterprises"};
        for (int k = 1; k <= 8; ++k) {
            s.insert(QStringLiteral("bufferinblk%1").arg(k));
            s.insert(QStringLiteral("bufferoutblk%1").arg(k));
        }
        return s;
    }();
    return kNames;
}

bool isGenerated(QStringView name, QLatin1StringView stem)
{
    if (!name.startsWith(stem) || name.size() == stem.size())
        return false;
    for (QChar c : name.mid(stem.size()))
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool isDescriptor(QStringView name)
{
    if (name.isEmpty() || name.front() < u'a' || name.front() > u'z')
        return false;
    for (QChar c : name) {
        const bool ok = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z')
                        || (c >= u'0' && c <= u'9');
        if (!ok)
            return false;
    }
    return true;
}

void readTable(const XmlElement& table, QStringList& names, QList<bool>& isInt, QList<int>& rows)
{
    int row = 0;
    for (XmlElement e = table.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        ++row;
        // Upper-cased as the agent editor does (letters a to z only), so both agree on which
        // rows are enabled objects and which are "Int".
        if (asciiUpper(e.attribute(u"Enable").value_or(QString())) != QLatin1String("Y"))
            continue;
        names.append(e.attribute(u"Description").value_or(QString()));
        isInt.append(asciiUpper(e.attribute(u"Type").value_or(QString())) == QLatin1String("INT"));
        rows.append(row);
    }
}

QString quoteSafe(QString text)
{
    text.replace(QLatin1Char('"'), QLatin1Char('\''));
    return text;
}

QString syntaxOf(bool isInt)
{
    return isInt ? QStringLiteral("INTEGER") : QStringLiteral("OCTET STRING");
}

}  // namespace

SnmpTrapLoad Load_SNMP_Trap_Lists(const QString& path)
{
    return Load_SNMP_Trap_Lists(loadProjectXml(path));
}

// The table elements are looked up under the root by name; a file without one (or hand-cut
// short) gives that table no objects instead of failing the whole module.
SnmpTrapLoad Load_SNMP_Trap_Lists(const ProjectXmlLoad& doc)
{
    SnmpTrapLoad out;
    if (doc.missing())
        return out;
    if (!doc.ok()) {
        out.error = doc.message;
        return out;
    }
    SnmpTrapLists& l = out.lists;
    readTable(childElement(doc.root, u"SNMP_Trap_Read"), l.SNMP_Trap_Read_Names,
              l.SNMP_Trap_Read_Is_Int, l.readRows);
    readTable(childElement(doc.root, u"SNMP_Trap_Write"), l.SNMP_Trap_Write_Names,
              l.SNMP_Trap_Write_Is_Int, l.writeRows);
    return out;
}

QString snmpReadObjectName(const SnmpTrapLists& lists, int k)
{
    const QString d = lists.SNMP_Trap_Read_Names.value(k - 1);
    return d.isEmpty() ? QStringLiteral("bufferinval%1").arg(k) : d;
}

QString snmpWriteObjectName(const SnmpTrapLists& lists, int k)
{
    const QString d = lists.SNMP_Trap_Write_Names.value(k - 1);
    return d.isEmpty() ? QStringLiteral("bufferoutval%1").arg(k) : d;
}

bool isSnmpMibReservedName(QStringView name)
{
    return fixedNames().contains(name.toString())
           || isGenerated(name, QLatin1StringView("bufferinval"))
           || isGenerated(name, QLatin1StringView("bufferoutval"))
           || isGenerated(name, QLatin1StringView("trapval"));
}

// Mended: a Description equal to a fixed or generated name, or to another Description, used
// to be written as it stood and gave a module with two objects of one name, which managers
// refuse to load. Such a name is now refused with its row before anything is written.
std::optional<SnmpMibNameProblem> checkSnmpMibNames(const SnmpTrapLists& lists)
{
    QSet<QString> seen;
    const auto walk = [&](bool write) -> std::optional<SnmpMibNameProblem> {
        const QStringList& names = write ? lists.SNMP_Trap_Write_Names : lists.SNMP_Trap_Read_Names;
        const QList<int>& rows = write ? lists.writeRows : lists.readRows;
        for (int i = 0; i < names.size(); ++i) {
            const int k = i + 1;
            const QString name = write ? snmpWriteObjectName(lists, k)
                                       : snmpReadObjectName(lists, k);
            SnmpMibNameProblem p{write, rows.value(i, k), name, SnmpMibNameFault::Characters};
            if (!names[i].isEmpty()) {
                if (!isDescriptor(name))
                    return p;
                if (name.size() > kMaxNameLength) {
                    p.fault = SnmpMibNameFault::TooLong;
                    return p;
                }
                if (isSnmpMibReservedName(name)) {
                    p.fault = SnmpMibNameFault::Reserved;
                    return p;
                }
            }
            if (seen.contains(name)) {
                p.fault = SnmpMibNameFault::Duplicate;
                return p;
            }
            seen.insert(name);
        }
        return std::nullopt;
    };
    if (auto p = walk(false))
        return p;
    return walk(true);
}

// Mended: the module used to import enterprises from the SMIv1 module and to give its
// notifications SYNTAX and MAX-ACCESS clauses, which no SMIv2 reader accepts. It now
// imports NOTIFICATION-TYPE and enterprises from SNMPv2-SMI and gives each notification its
// read object in OBJECTS. Every name, every object identifier and the other lines stay.
QStringList buildSnmpMibLines(const SnmpTrapLists& lists, const MakerTexts& maker)
{
    const QString q = QStringLiteral("\"");
    QStringList l;
    l << QStringLiteral("GATEWAY DEFINITIONS ::= BEGIN") << QStringLiteral("IMPORTS")
      << QStringLiteral("       MODULE-IDENTITY,OBJECT-TYPE,NOTIFICATION-TYPE,enterprises")
      << QStringLiteral("         FROM SNMPv2-SMI")
      << QStringLiteral("         DisplayString, TimeStamp")
      << QStringLiteral("         FROM SNMPv2-TC;") << QString()
      << QStringLiteral("identity MODULE-IDENTITY")
      << QStringLiteral("    LAST-UPDATED \"201701310000Z\"")
      << QStringLiteral("    ORGANIZATION ") + q + quoteSafe(maker.web) + q
      << QStringLiteral("    CONTACT-INFO") << QStringLiteral("\t ") + q + quoteSafe(maker.street)
      << QStringLiteral("    ") + quoteSafe(maker.town)
      << QStringLiteral("    ") + quoteSafe(maker.country)
      << QStringLiteral("    email:    ") + quoteSafe(maker.email) + q
      << QStringLiteral("    DESCRIPTION") << QStringLiteral("\t\"MIB objects for agent module \"")
      << QStringLiteral("    REVISION     \"201701310000Z\"") << QStringLiteral("    DESCRIPTION")
      << QStringLiteral("\t\"Corrected notification \"")
      << QStringLiteral("    REVISION     \"200202060000Z\"") << QStringLiteral("    DESCRIPTION")
      << QStringLiteral("\t\"First draft\"") << QStringLiteral("    ::= { brenik 2 }")
      << QStringLiteral("brenik          OBJECT IDENTIFIER ::= { enterprises 57203 }")
      << QStringLiteral("gateway OBJECT IDENTIFIER::= { brenik 1 }")
      << QStringLiteral("application OBJECT IDENTIFIER::= { gateway 1 }")
      << QStringLiteral("data OBJECT IDENTIFIER::= { application 1 }")
      << QStringLiteral(
             "hellostring OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only  STATUS "
             "current  DESCRIPTION \"\" ::= { data 1}")
      << QStringLiteral(
             "countin  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-only  STATUS "
             "current  DESCRIPTION \"\" ::= { data 2}")
      << QStringLiteral(
             "countout  OBJECT-TYPE SYNTAX INTEGER       MAX-ACCESS read-write STATUS "
             "current  DESCRIPTION \"\" ::= { data 3}")
      << QStringLiteral("bufferin OBJECT IDENTIFIER::= { data 4 }");
    for (int k = 1; k <= 8; ++k)
        l << QStringLiteral(
                 "bufferinblk%1 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-only "
                 "STATUS current DESCRIPTION \"data block n.%1\" ::= { bufferin %1 }")
                 .arg(k);
    l << QStringLiteral(" bufferinval OBJECT IDENTIFIER::= { bufferin 9 }");
    for (int k = 1; k <= lists.SNMP_Trap_Read_Names.size(); ++k)
        l << snmpReadObjectName(lists, k) + QStringLiteral(" OBJECT-TYPE SYNTAX ")
                 + syntaxOf(lists.SNMP_Trap_Read_Is_Int.value(k - 1))
                 + QStringLiteral(" MAX-ACCESS read-only STATUS current DESCRIPTION ") + q
                 + lists.SNMP_Trap_Read_Names[k - 1] + q
                 + QStringLiteral(" ::= { bufferinval %1 }").arg(k);
    l << QStringLiteral("bufferout OBJECT IDENTIFIER::= { data 5 }");
    for (int k = 1; k <= 8; ++k)
        l << QStringLiteral(
                 "bufferoutblk%1 OBJECT-TYPE SYNTAX OCTET STRING MAX-ACCESS read-write "
                 "STATUS current DESCRIPTION \"data block n.%1\" ::= { bufferout %1 }")
                 .arg(k);
    l << QStringLiteral(" bufferoutval OBJECT IDENTIFIER::= { bufferout 9 }");
    for (int k = 1; k <= lists.SNMP_Trap_Write_Names.size(); ++k)
        l << snmpWriteObjectName(lists, k) + QStringLiteral(" OBJECT-TYPE SYNTAX ")
                 + syntaxOf(lists.SNMP_Trap_Write_Is_Int.value(k - 1))
                 + QStringLiteral(" MAX-ACCESS read-write STATUS current DESCRIPTION ") + q
                 + lists.SNMP_Trap_Write_Names[k - 1] + q
                 + QStringLiteral(" ::= { bufferoutval %1 }").arg(k);
    l << QStringLiteral("traps OBJECT IDENTIFIER::= { application 2 }")
      << QStringLiteral(" trapsval OBJECT IDENTIFIER::= { traps 1 }");
    for (int k = 1; k <= lists.SNMP_Trap_Read_Names.size(); ++k)
        l << QStringLiteral("trapval%1 NOTIFICATION-TYPE OBJECTS { ").arg(k)
                 + snmpReadObjectName(lists, k) + QStringLiteral(" } STATUS current DESCRIPTION ")
                 + q + lists.SNMP_Trap_Read_Names[k - 1] + q
                 + QStringLiteral(" ::= { trapsval %1 }").arg(k);
    l << QStringLiteral("END");
    return l;
}

QByteArray snmpMibBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        for (QChar c : line)
            out.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
        out.append("\r\n");
    }
    return out;
}

FileResult Write_MIB_File(const QString& path, const SnmpTrapLists& lists, const MakerTexts& maker)
{
    return saveFileAtomically(path, snmpMibBytes(buildSnmpMibLines(lists, maker)));
}

QString snmpMibFileName(const QString& chosen)
{
    if (chosen.endsWith(QLatin1String(".mib"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QLatin1String(".mib");
}

}  // namespace zfw
