#include "editors/building/core/UGSDWriter.h"

#include "common/TextUtil.h"

#include <QDomDocument>

namespace zfw {

namespace {

constexpr int kBoxWidth = 85;

QString boxLine(const QString& text)
{
    // ";*", the text, blanks up to column 84 and "*" in column 85; a longer text is cut so
    // that the box stays closed.
    QString inner = text.left(kBoxWidth - 3);
    return QStringLiteral(";*") + inner.leftJustified(kBoxWidth - 3, u' ') + u'*';
}

QString labelled(const QString& label, const QString& value)
{
    // Values start in column 20, after ";* " and the label.
    return boxLine((QStringLiteral(" ") + label).leftJustified(17, u' ') + value);
}

QString ruler(int width) { return QStringLiteral(";") + QString(width - 1, u'='); }

void sectionHeader(QStringList& out, const QString& title, int width)
{
    out << ruler(width);
    const QString head = QStringLiteral(";==== ") + title + u' ';
    out << head + QString(std::max<qsizetype>(0, width - head.size()), u'=');
    out << ruler(width) << QString();
}

QString hex2(int v) { return QString::number(v, 16).toUpper().rightJustified(2, u'0'); }

}  // namespace

QStringList buildGsdLines(int GSD_Nb_In, int GSD_Nb_Out, const MakerTexts& maker)
{
    const int nIn = GSD_Nb_Out > 0 ? (GSD_Nb_Out + 63) / 64 : 0;
    const int nOut = GSD_Nb_In > 0 ? (GSD_Nb_In + 63) / 64 : 0;
    const QString empty = boxLine(QString());
    const QString separator = QStringLiteral(";* ") + QString(80, u'=') + QStringLiteral(" *");

    QStringList l;
    l << QStringLiteral(";")
      << QStringLiteral(
             ";********************* PROFIBUS Slave / LoRaWAN - Converter "
             "*************************")
      << separator << empty;
    l << labelled(QStringLiteral("Vendor:"), maker.company);
    for (const QString* t :
         {&maker.street, &maker.town, &maker.country, &maker.phone, &maker.fax, &maker.email})
        l << labelled(QString(), *t);
    l << empty << separator << empty
      << labelled(QStringLiteral("Function:"),
                  QStringLiteral("PROFIBUS Slave / LoRaWAN - Converter"))
      << empty << empty << boxLine(QStringLiteral(" Order Number : GWK4R81")) << empty << empty
      << QStringLiteral(";") + QString(84, u'*');
    l << QString() << QString() << QStringLiteral("#Profibus_DP") << QString() << QString();

    sectionHeader(l, QStringLiteral("Prm-Text-Def-List"), 85);
    l << QStringLiteral("PrmText=1") << QStringLiteral("Text(0)=\"disable\"")
      << QStringLiteral("Text(1)=\"enable\"") << QStringLiteral("EndPrmText") << QString();
    l << QStringLiteral("PrmText  = 2") << QStringLiteral("Text(0)  = \"clock up\"")
      << QStringLiteral("Text(1)  = \"clock down\"") << QStringLiteral("EndPrmText") << QString();
    l << QStringLiteral("PrmText  = 3");
    for (int i = 1; i <= 5; ++i)
        l << QStringLiteral("Text(%1)  = \"%2\"").arg(i).arg(i * 10);
    l << QStringLiteral("EndPrmText") << QString() << QString();

    sectionHeader(l, QStringLiteral("Ext-User-Prm-Data-Def-List"), 86);
    const struct {
        const char* def;
        const char* body;
        const char* ref;
    } kExt[] = {
        {"ExtUserPrmData=1 \"[SlotNumber]\"", "Unsigned8 0 0-32", nullptr},
        {"ExtUserPrmData=2 \"Diagnostic Alarm\"", "Bit(0) 0 0-1", "Prm_Text_Ref=1"},
        {"ExtUserPrmData=3 \"Process Alarm\"", "Bit(1) 0 0-1", "Prm_Text_Ref=1"},
        {"ExtUserPrmData=4 \"Counter mode\"", "Unsigned8 0 0-1", "Prm_Text_Ref=2"},
        {"ExtUserPrmData=5 \"Counter timebase (ms)\"", "Unsigned8 1 1-5", "Prm_Text_Ref=3"},
        {"ExtUserPrmData=6 \"Counter high-limit\"", "Unsigned16 65535 0-65535", nullptr},
        {"ExtUserPrmData=7 \"Counter low-limit\"", "Unsigned16 0 0-65535", nullptr},
    };
    for (const auto& e : kExt) {
        l << QString::fromLatin1(e.def) << QString::fromLatin1(e.body);
        if (e.ref)
            l << QString::fromLatin1(e.ref);
        l << QStringLiteral("EndExtUserPrmData") << QString();
    }
    l << QString();

    sectionHeader(l, QStringLiteral("General DP Keywords"), 86);
    for (const char* s :
         {"GSD_Revision = 5", "Vendor_Name = \"Brenikcorp\"", "Model_Name = \"GWK4R81\"",
          "Revision = \"1.00\"", "Ident_Number = 0x7C3D", "Protocol_Ident = 0", "Station_Type = 0",
          "FMS_supp = 0", "Hardware_Release = \"V1.00\"", "Software_Release = \"V1.00\"",
          "Redundancy = 0", "Repeater_Ctrl_Sig = 2", "24V_Pins = 0", "", ""})
        l << QString::fromLatin1(s);

    sectionHeader(l, QStringLiteral("Supported baudrates"), 79);
    for (const char* s : {"9.6_supp = 1",
                          "19.2_supp = 1",
                          "45.45_supp = 1",
                          "93.75_supp = 1",
                          "187.5_supp = 1",
                          "500_supp = 1",
                          "1.5M_supp = 1",
                          "3M_supp = 1",
                          "6M_supp = 1",
                          "12M_supp = 1",
                          "",
                          "MaxTsdr_9.6=15",
                          "MaxTsdr_19.2=15",
                          "MaxTsdr_45.45=15",
                          "MaxTsdr_93.75=15",
                          "MaxTsdr_187.5=15",
                          "MaxTsdr_500=15",
                          "MaxTsdr_1.5M=20",
                          "MaxTsdr_3M=35",
                          "MaxTsdr_6M=50",
                          "MaxTsdr_12M=95",
                          "",
                          ""})
        l << QString::fromLatin1(s);

    sectionHeader(l, QStringLiteral("Slave specific values"), 79);
    for (const char* s :
         {"OrderNumber=\"GWK4R81\"", "Slave_Family = 9@Brenikcorp@GWK4R81",
          "Implementation_Type = \"VPC3+\"",
          "Info_Text=\"Brenikcorp: PROFIBUS Slave / LoRaWAN - Converter\"",
          "Bitmap_Device = \"DPV0_1N\"", "Bitmap_SF=\"DPV0_1S\"", "", "Freeze_Mode_supp=1",
          "Sync_Mode_supp=1", "Fail_Safe=1", "Auto_Baud_supp=1", "Set_Slave_Add_supp=0", "",
          "Min_Slave_Intervall=6", "", "Modular_Station=1"})
        l << QString::fromLatin1(s);
    l << QStringLiteral("Max_Module=%1").arg(nIn + nOut) << QStringLiteral("Modul_Offset=1")
      << QStringLiteral("Max_Input_Len=%1").arg(GSD_Nb_Out)
      << QStringLiteral("Max_Output_Len=%1").arg(GSD_Nb_In)
      << QStringLiteral("Max_Data_Len=%1").arg(qint64(GSD_Nb_Out) + GSD_Nb_In)
      << QStringLiteral("Max_Diag_Data_Len=15") << QString()
      << QStringLiteral("WD_Base_1ms_supp = 1") << QStringLiteral("Publisher_supp = 1")
      << QString();

    sectionHeader(l, QStringLiteral("User-Prm-Data"), 79);
    l << QStringLiteral("Max_User_Prm_Data_Len = 12")
      << QStringLiteral("Ext_User_Prm_Data_Const(0)= 0x00,0x00,0x00") << QString();

    sectionHeader(l, QStringLiteral("Modulstatus"), 79);
    for (int slot = 1; slot <= 2; ++slot) {
        l << QStringLiteral("Unit_Diag_Area = %1 - %2").arg(22 + 2 * slot).arg(23 + 2 * slot)
          << QStringLiteral("Value(1)= \"Slot %1: Module error\"").arg(slot)
          << QStringLiteral("Value(2)= \"Slot %1: Wrong module\"").arg(slot)
          << QStringLiteral("Value(3)= \"Slot %1: No module\"").arg(slot)
          << QStringLiteral("Unit_Diag_Area_End");
    }
    l << QString() << QString();

    sectionHeader(l, QStringLiteral("Module-Definition-List"), 79);
    int k = 0;
    auto modules = [&](int count, int bytes, bool input) {
        for (int m = 0; m < count; ++m) {
            ++k;
            const int len = m + 1 < count ? 64 : bytes - 64 * (count - 1);
            l << QStringLiteral("Module=\"%1  (PORT%2)    \" %3,0x%4,0x00,0x%5")
                     .arg(input ? QStringLiteral("DI") : QStringLiteral("DO"))
                     .arg(k)
                     .arg(input ? QStringLiteral("0x42") : QStringLiteral("0x82"))
                     .arg(hex2(len - 1))
                     .arg(hex2(k))
              << QString::number(k) << QStringLiteral("EndModule");
        }
    };
    modules(nIn, GSD_Nb_Out, true);
    modules(nOut, GSD_Nb_In, false);
    l << QString() << QString() << QString() << QStringLiteral("SlotDefinition");
    for (int s = 1; s <= nIn + nOut; ++s)
        l << QStringLiteral("Slot(%1) = \"Slot %1\" %1 %1").arg(s);
    l << QStringLiteral("EndSlotDefinition") << QString() << QString() << QString() << QString();
    return l;
}

GsdCounts readGsdCounts(const QByteArray& parGenXml)
{
    GsdCounts c;
    QDomDocument doc;
    if (parGenXml.isEmpty() || !doc.setContent(parGenXml))
        return c;
    const QDomElement root = doc.documentElement();
    c.GSD_Nb_In =
        parseIntText(root.firstChildElement(QStringLiteral("PROFINET_NB_IN")).text()).value_or(0);
    c.GSD_Nb_Out =
        parseIntText(root.firstChildElement(QStringLiteral("PROFINET_NB_OUT")).text()).value_or(0);
    return c;
}

QByteArray gsdFileBytes(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines) {
        for (QChar c : line)
            out.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
        out.append("\r\n");
    }
    return out;
}

QString gsdFileName(const QString& chosen)
{
    if (chosen.endsWith(QLatin1String(".gsd"), Qt::CaseInsensitive))
        return chosen;
    return chosen + QLatin1String(".gsd");
}

bool gsdCountsDescribable(int GSD_Nb_In, int GSD_Nb_Out)
{
    return GSD_Nb_In >= 0 && GSD_Nb_In <= kGsdMaxBytesPerDirection && GSD_Nb_Out >= 0
           && GSD_Nb_Out <= kGsdMaxBytesPerDirection;
}

}  // namespace zfw
