#include "editors/metering/core/MBusScanTexts.h"

#include "common/ProjectXml.h"

namespace zfw {

namespace {

const char* addressPrefix(int code)
{
    switch (code) {
    case 15: return "Modbus_TCP_Slave_IP";
    case 11:
    case 17:
    case 20:
    case 22: return "PROFINET_IP";
    case 6: return "BACnet_IP";
    case 10:
    case 16:
    case 19: return "Eth_IP";
    case 18: return "Ethernet_IP";
    default: return "IP_";
    }
}

QString hex(qint64 v, int digits)
{
    return QStringLiteral("%1").arg(v, digits, 16, QLatin1Char('0')).toUpper();
}

}  // namespace

std::array<std::optional<QString>, 4> gatewayAddressFromParGen(const QByteArray& parGen,
                                                               int XML_Code_Dev)
{
    std::array<std::optional<QString>, 4> bytes;
    const ProjectXmlLoad load = parseProjectXml(parGen, QStringLiteral("ParGen.xml"));
    if (!load.ok())
        return bytes;
    const QString prefix = QString::fromLatin1(addressPrefix(XML_Code_Dev));
    for (int i = 0; i < 4; ++i) {
        const XmlElement e = childElement(load.root, prefix + QString::number(i + 1));
        if (!e.isNull())
            bytes[std::size_t(i)] = e.text();
    }
    return bytes;
}

std::optional<QString> progressLine(int kind, int address, int found, int scanKind,
                                    const QString& startText, const QString& endText)
{
    if (kind == 1 && scanKind == 2)
        return startText;
    if (kind == 3 && scanKind == 2)
        return endText;
    if (kind != 2)
        return std::nullopt;
    if (scanKind == 1) {
        QString line = QStringLiteral("ID = ") + QString::number(address) + QLatin1Char('\t');
        if (!found)
            line += QLatin1String(kNotFound);
        return line;
    }
    if (scanKind == 2)
        return QStringLiteral("ID = ") + hex(quint32(address), 8);
    return std::nullopt;
}

QString slaveNodeText(const TSlave_MBus& s)
{
    return QStringLiteral("Primary Address = ") + QString::number(s.Primary_Addresss)
           + QStringLiteral(" - Secondary Address = ") + s.Secondary_Addresss
           + QStringLiteral(" - Manufacturer = ") + s.descManufacture + QLatin1Char('(')
           + QString::number(s.Manufacture) + QStringLiteral(") - Version = ")
           + QString::number(s.Version) + QStringLiteral(" - Type = ") + QString::number(s.Medium);
}

QString recordNodeText(const TVariable_MBus& r)
{
    return QStringLiteral("Value = ") + r.ValueStr + QStringLiteral(" - Type = ") + r.Desc_Type_Data
           + QStringLiteral(" (U") + QString::number(r.device) + QLatin1Char('S')
           + QString::number(r.storage_number) + QLatin1Char('T') + QString::number(r.tarif)
           + QLatin1Char(')');
}

std::array<QString, 12> recordDetailTexts(const TVariable_MBus& r)
{
    return {QStringLiteral("Storage Number = ") + QString::number(r.storage_number),
            QStringLiteral("Tariff = ") + QString::number(r.tarif),
            QStringLiteral("Unit = ") + QString::number(r.device),
            QStringLiteral("Data Field = ") + r.DataFieldStr,
            QStringLiteral("Function Field = ") + r.FunctionFieldStr,
            QStringLiteral("Type = ") + r.Desc_Type_Data,
            QStringLiteral("Value = ") + r.ValueStr,
            QStringLiteral("DIF = ") + r.DIF,
            QStringLiteral("VIF = $") + hex(r.VIF, 2),
            QStringLiteral("DIFE = ") + r.DIFE,
            QStringLiteral("VIFE = ") + r.VIFE,
            QStringLiteral("DATA = $") + r.totdati};
}

bool hidesPerNodeSave(int code)
{
    return code == 6 || code == 11 || code == 15 || code == 20 || code == 22;
}

bool asksStartRegisters(int code)
{
    return code == 0 || code == 1 || code == 9 || code == 13 || code == 14;
}

}  // namespace zfw
