#include "config/core/USaveBincc.h"

#include "config/core/URuleFileNames.h"

#include "common/TextUtil.h"
#include "common/UComon.h"
#include "common/UComonValidators.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cstring>
#include <memory>

namespace zfw {

namespace {

void putU16(quint8* out, quint16 v)
{
    out[0] = quint8(v);
    out[1] = quint8(v >> 8);
}

void putU32(quint8* out, quint32 v)
{
    out[0] = quint8(v);
    out[1] = quint8(v >> 8);
    out[2] = quint8(v >> 16);
    out[3] = quint8(v >> 24);
}

// A rule file missing one of its tables was not written by its editor; compiling it would
// send the device a configuration nobody made, so the compilation stops and names the file.
FileResult missingTable(const QString& path, const char* table)
{
    return FileResult::failure(QStringLiteral("%1: the table element \"%2\" is missing; "
                                              "the bank files were not compiled")
                                   .arg(displayPath(path), QLatin1String(table)));
}

FileResult tooManyRules(const QString& path, const char* table, int capacity)
{
    return FileResult::failure(QStringLiteral("%1: more than %2 enabled rules in \"%3\"; "
                                              "the bank files were not compiled")
                                   .arg(displayPath(path))
                                   .arg(capacity)
                                   .arg(QLatin1String(table)));
}

// Fills field from a hex text: padded on the left with "0" to two digits per byte, then read
// two characters at a time into the field's bytes in written order.
template <std::size_t N>
void setHexKey(std::array<quint8, N>& field, const QString& text)
{
    field.fill(0);
    const QString padded = Pad_Left_Zero(text, int(N) * 2);
    // A text longer than the field (never written by the editor) must not run past it:
    // its digits beyond the field are ignored.
    for (std::size_t i = 0; i < N; ++i) {
        const QString pair = padded.mid(qsizetype(i) * 2, 2);
        if (pair.isEmpty())
            break;
        field[i] = quint8(strToIntDef(QStringLiteral("0x") + pair, 0));
    }
}

// Text-to-code tables: one row per text the editors write.
struct TextCode {
    const char* text;
    quint8 code;
};

quint8 codeOf(std::span<const TextCode> table, const QString& text, quint8 other)
{
    for (const TextCode& c : table) {
        if (text == QLatin1String(c.text))
            return c.code;
    }
    return other;
}

QString upperTrimmed(const QString& s) { return asciiUpper(trimBlanks(s)); }

}  // namespace

// ---- Records ------------------------------------------------------------------------------

void TPar_Gen_Bank::setU16(int offset, quint16 v) { putU16(&bytes[offset], v); }

void TPar_Gen_Bank::setU32(int offset, quint32 v) { putU32(&bytes[offset], v); }

quint16 TPar_Gen_Bank::u16(int offset) const
{
    return quint16(bytes[offset] | bytes[offset + 1] << 8);
}

quint32 TPar_Gen_Bank::u32(int offset) const
{
    return quint32(bytes[offset]) | quint32(bytes[offset + 1]) << 8
           | quint32(bytes[offset + 2]) << 16 | quint32(bytes[offset + 3]) << 24;
}

quint32 TPar_Gen_Bank::checksum() const
{
    quint32 sum = 0;
    for (int i = 0; i < kChecksum; ++i)
        sum += bytes[i];
    return sum;
}

void TLoRa_Rule::store(quint8* out) const
{
    std::memset(out, 0, kSize);
    putU16(out + 0, startByte);
    putU16(out + 2, numByte);
    out[4] = flags;
    out[5] = fPort;
    putU32(out + 8, time);
}

void TLoRa_Bank::store(quint8* out) const
{
    std::memset(out, 0, kSize);
    out[0] = region;
    out[1] = networkType;
    out[2] = activation;
    out[3] = dataRate;
    std::copy(devAddr.begin(), devAddr.end(), out + 4);
    std::copy(joinEui.begin(), joinEui.end(), out + 8);
    std::copy(nwkSKey.begin(), nwkSKey.end(), out + 16);
    std::copy(appSKey.begin(), appSKey.end(), out + 32);
    std::copy(appKey.begin(), appKey.end(), out + 48);
    out[64] = adaptiveDataRate;
    out[65] = confirmed;
    out[66] = payloadSize;
    out[67] = fPortMode;
    putU32(out + 68, transmitInterval);
    putU32(out + 72, uplinkTableAddress);
    putU32(out + 76, downlinkTableAddress);
    putU16(out + 80, uplinkCount);
    putU16(out + 82, downlinkCount);
    out[84] = subBand;
    out[85] = lnCheck;
}

void TS7_Rule::store(quint8* out) const
{
    std::memset(out, 0, kSize);
    putU32(out + 0, plcAddress);
    putU32(out + 4, pollTime);
    putU16(out + 8, plcAdd);
    putU16(out + 10, dbNumber);
    putU16(out + 12, plcPort);
    putU16(out + 14, position);
    out[18] = bit;
    out[19] = plcType;
    out[20] = dataType;
    out[21] = dataIdentifier;
    out[23] = flags;
    out[24] = plcBit;
    out[25] = plcArea;
    out[26] = rackSlot;
}

BinImages& binImages()
{
    static BinImages images;
    return images;
}

// ---- Inner compiler -----------------------------------------------------------------------

BinSourceFiles binSourceFiles(const QString& projectDir)
{
    return {joinPath(projectDir, QStringLiteral("ParGen.xml")),
            joinPath(projectDir, QStringLiteral("S7_Protocol.xml")),
            joinPath(projectDir, QStringLiteral("LoRaWAN_SetAccess.xml"))};
}

BinCompileResult compileBinImages(const BinSourceFiles& files, BinImages& img)
{
    BinCompileResult out;
    // Nothing is left to save until this compilation has finished.
    img.Bank1_Length = 0;
    img.Bank2_Length = 0;

    Init_Par_Gen_Default(img.Par_Gen_Bank);
    Init_LoRa_Default(img);
    Init_S7_Default(img);

    // ParGen.xml first: its FPort mode decides how the LoRaWAN rules take their FPort.
    if (FileResult r = Read_Par_Gen_XML(img, files.File_ParGen); !r) {
        out.result = r;
        return out;
    }
    img.Par_Gen_Bank.setU32(TPar_Gen_Bank::kBank2Address, kBank2DeviceAddress);
    img.Par_Gen_Bank.setU32(TPar_Gen_Bank::kS7TableAddress, kS7TableDeviceAddress);
    const S7ReadResult s7 = Read_S7_Protocol_XML(img, files.File_S7_Protocol);
    if (!s7.result) {
        out.result = s7.result;
        return out;
    }
    img.Par_Gen_Bank.setU32(TPar_Gen_Bank::kS7RuleCount, quint32(s7.count));
    if (FileResult r = Read_LoRaWAN_Set_Access_XML(img, files.File_LoRaWAN_SetAccess,
                                                   kBank2DeviceAddress);
        !r) {
        out.result = r;
        return out;
    }

    // The checksum is taken in Add_Par_Gen_To_Bank, after every bank1 field is set.
    const int bank1 = Add_Par_Gen_To_Bank(img.Par_Gen_Bank, 0, img.Bank1_Buffer);
    int bank2 = Add_LoRa_To_Bank(img, 0, img.Bank2_Buffer);
    bank2 = Add_S7_To_Bank(img, bank2, img.Bank2_Buffer);
    img.Bank1_Length = bank1;
    img.Bank2_Length = bank2;
    out.bank1 = QByteArray(reinterpret_cast<const char*>(img.Bank1_Buffer.data()), bank1);
    out.bank2 = QByteArray(reinterpret_cast<const char*>(img.Bank2_Buffer.data()), bank2);
    return out;
}

BinCompileResult compileBinImages(const BinSourceFiles& files)
{
    // About 90 KB: kept off the stack.
    const auto work = std::make_unique<BinImages>();
    return compileBinImages(files, *work);
}

BinCompileResult compileBinProject(const QString& projectDir)
{
    return compileBinImages(binSourceFiles(projectDir));
}

// The old writer checked nothing: without a bin folder, on a locked file or a full disk the
// update went on with missing, short or stale images. Here the folder is created, both images
// are written to temporary files, and only when both are complete do they replace the old
// ones; any failure is returned so that the update stops.
FileResult saveBinImages(const QString& projectDir, const QByteArray& bank1,
                         const QByteArray& bank2)
{
    if (projectDir.isEmpty())
        return FileResult::failure(QStringLiteral("No project is active"));
    if (bank1.size() != kBank1Size || bank2.size() != kBank2Size)
        return FileResult::failure(
            QStringLiteral("The bank files were not compiled; nothing was written"));

    const QString binDir = joinPath(projectDir, QStringLiteral("bin"));
    if (!QDir().mkpath(binDir) || !QFileInfo(binDir).isDir())
        return FileResult::failure(
            QStringLiteral("Cannot create the folder %1").arg(displayPath(binDir)));

    struct Image {
        QString path;
        const QByteArray& bytes;
    };
    const Image images[2] = {
        {joinPath(binDir, QStringLiteral("bank1.bin")), bank1},
        {joinPath(binDir, QStringLiteral("bank2.bin")), bank2},
    };
    QSaveFile files[2];
    for (int i = 0; i < 2; ++i) {
        QSaveFile& f = files[i];
        f.setFileName(images[i].path);
        if (!f.open(QIODevice::WriteOnly) || f.write(images[i].bytes) != images[i].bytes.size()) {
            const QString why = f.errorString();
            for (QSaveFile& g : files)
                g.cancelWriting();
            return FileResult::failure(
                QStringLiteral("Cannot write %1: %2").arg(displayPath(images[i].path), why));
        }
    }
    for (int i = 0; i < 2; ++i) {
        if (!files[i].commit()) {
            const QString why = files[i].errorString();
            for (int j = i + 1; j < 2; ++j)
                files[j].cancelWriting();
            return FileResult::failure(
                QStringLiteral("Cannot write %1: %2").arg(displayPath(images[i].path), why));
        }
    }
    return FileResult::success();
}

// ---- Driver -------------------------------------------------------------------------------

FileResult Compile_Bin() { return Compile_Bin_K4R89(); }

FileResult Compile_Bin_K4R89()
{
    BinImages& img = binImages();
    const ProgramState& s = programState();
    if (!s.isProjectActive()) {
        img.Bank1_Length = 0;
        img.Bank2_Length = 0;
        return FileResult::failure(QStringLiteral("No project is active"));
    }
    return compileBinImages({s.File_ParGen, s.File_S7_Protocol, s.File_LoRaWAN_SetAccess}, img)
        .result;
}

FileResult Save_Bin_Files() { return Save_Bin_Files_K4R89(); }

FileResult Save_Bin_Files_K4R89()
{
    const BinImages& img = binImages();
    const ProgramState& s = programState();
    if (!s.isProjectActive())
        return FileResult::failure(QStringLiteral("No project is active"));
    // Views of the buffers; nothing is copied.
    return saveBinImages(
        s.Dir_Project,
        QByteArray::fromRawData(reinterpret_cast<const char*>(img.Bank1_Buffer.data()),
                                img.Bank1_Length),
        QByteArray::fromRawData(reinterpret_cast<const char*>(img.Bank2_Buffer.data()),
                                img.Bank2_Length));
}

// ---- General parameters -------------------------------------------------------------------

void Init_Par_Gen_Default(TPar_Gen_Bank& b)
{
    b.bytes.fill(0);
    b.setU32(0, 250000);
    b.setU32(4, 250000);
    b.setU32(8, 0);
    b.setU32(12, 9600);
    const quint8 ip[4] = {192, 168, 2, 205};
    const quint8 mask[4] = {255, 255, 255, 0};
    for (int i = 0; i < 4; ++i) {
        b.setU8(TPar_Gen_Bank::kIpAddress + i, ip[i]);
        b.setU8(TPar_Gen_Bank::kSubnetMask + i, mask[i]);
        b.setU8(TPar_Gen_Bank::kGateway + i, 255);
    }
    b.setU16(52, 10000);
    b.setU16(54, 10001);
    b.setU16(56, 10001);
    for (int i = 436; i <= 443; ++i)
        b.setU8(i, 8);
}

void Set_SW_Version(TPar_Gen_Bank& b)
{
    std::fill_n(b.bytes.begin() + TPar_Gen_Bank::kSwVersion, 8, quint8(0));
    const QByteArray v(Build_SW_Version);
    for (qsizetype i = 0; i < v.size() && i < 8; ++i)
        b.setU8(TPar_Gen_Bank::kSwVersion + int(i), quint8(v[i]));
}

namespace {

// The LoRaWAN settings of ParGen.xml, in the order the device block expects them read.
void readLoRaSettings(TLoRa_Bank& lb, const XmlElement& root)
{
    lb.region = Get_LoRa_Region_Code(childTextDef(root, u"LoRa_RF_Band", QString()));
    lb.networkType = Get_LoRa_Network_Type(childTextDef(root, u"LoRa_Network_Type", QString()));
    lb.adaptiveDataRate = quint8(childIntDef(root, u"LoRa_Adaptive_DataRate", 0));

    // The data-rate items start with their number, then blanks or a tab and "-".
    lb.dataRate = 0;
    if (const auto t = childText(root, u"LoRa_DataRate")) {
        const qsizetype dash = t->indexOf(QLatin1Char('-'));
        if (dash >= 0)
            lb.dataRate = quint8(strToIntDef(trimBlanks(QStringView(*t).left(dash)), 0));
    }

    lb.confirmed = Get_LoRa_Transmission_Type(
        childTextDef(root, u"LoRa_Transmission_Type", QString()));
    lb.payloadSize = quint8(childIntDef(root, u"LoRa_Payload_Size", 1));
    Set_LoRa_JoinEUI(lb, childTextDef(root, u"LoRa_JoinEUI", QString()));
    lb.transmitInterval = quint32(childIntDef(root, u"LoRa_Transmit_Interval", 1));
    lb.activation = Get_LoRa_Activation_Method(
        childTextDef(root, u"LoRa_Activation_Method", QString()));
    if (lb.activation == 1) {
        Set_LoRa_AppKey(lb, childTextDef(root, u"LoRa_Application_Key", QString()));
    } else {
        Set_LoRa_DevAddr(lb, childTextDef(root, u"LoRa_Device_Address", QString()));
        Set_LoRa_NwkSKey(lb, childTextDef(root, u"LoRa_Network_Session_Key", QString()));
        Set_LoRa_AppSKey(lb, childTextDef(root, u"LoRa_Application_Session_Key", QString()));
    }
    lb.fPortMode = upperTrimmed(childTextDef(root, u"LoRa_FPort", QString()))
                           == QLatin1String("VARIABLE")
                       ? 1
                       : 0;
    lb.subBand = quint8(childIntDef(root, u"LoRa_Frequency_SubBand", 1));
    lb.lnCheck = quint8(childIntDef(root, u"LoRa_LNCHECK", 5));
}

void readOctets(TPar_Gen_Bank& b, int offset, const XmlElement& root, const char* prefix,
                const int (&defaults)[4])
{
    for (int i = 0; i < 4; ++i) {
        const QString name = QLatin1String(prefix) + QString::number(i + 1);
        b.setU8(offset + i, quint8(childIntDef(root, name, defaults[i])));
    }
}

}  // namespace

FileResult Read_Par_Gen_XML(BinImages& img, const QString& path)
{
    const ProjectXmlLoad doc = loadProjectXml(path);
    if (doc.missing())
        return FileResult::success();
    if (!doc.ok())
        return FileResult::failure(doc.message);
    const XmlElement& root = doc.root;
    TPar_Gen_Bank& b = img.Par_Gen_Bank;

    Set_SW_Version(b);

    if (const auto name = childText(root, u"Eth_Conn_Device_Name")) {
        const qsizetype n = std::min<qsizetype>(name->size(), TPar_Gen_Bank::kDeviceNameLength);
        for (qsizetype i = 0; i < n; ++i)
            b.setU8(TPar_Gen_Bank::kDeviceName + int(i), quint8(name->at(i).unicode() & 0xFF));
    }

    quint16 dhcp = 0;
    if (childChecked(root, u"Eth_Conn_DHCP_Cable"))
        dhcp |= 0x01;
    if (childChecked(root, u"Eth_Conn_DHCP_WiFi"))
        dhcp |= 0x02;
    b.setU16(TPar_Gen_Bank::kDhcpFlags, dhcp);

    if (childChecked(root, u"Eth_Conn_Enable_DNS")) {
        readOctets(b, TPar_Gen_Bank::kPrimaryDns, root, "Eth_Conn_Primary_DNS", {8, 8, 8, 8});
        readOctets(b, TPar_Gen_Bank::kSecondaryDns, root, "Eth_Conn_Secondary_DNS", {8, 8, 4, 4});
    }

    readLoRaSettings(img.LoRa_Bank, root);

    b.setU32(420, 19200);
    b.setU8(429, 0);
    b.setU8(435, 1);
    b.setU8(441, 8);

    readOctets(b, TPar_Gen_Bank::kIpAddress, root, "S7_Protocol_IP", {192, 168, 0, 10});
    readOctets(b, TPar_Gen_Bank::kSubnetMask, root, "S7_Protocol_SM", {255, 255, 255, 0});
    readOctets(b, TPar_Gen_Bank::kGateway, root, "S7_Protocol_GAT", {192, 168, 0, 1});
    if (!childChecked(root, u"S7_Protocol_EN_GAT")) {
        for (int i = 0; i < 4; ++i)
            b.setU8(TPar_Gen_Bank::kGateway + i, 255);
    }
    return FileResult::success();
}

int Add_Par_Gen_To_Bank(TPar_Gen_Bank& b, int position, std::span<quint8> buffer)
{
    Q_ASSERT(position >= 0 && std::size_t(position) + TPar_Gen_Bank::kSize <= buffer.size());
    b.setU32(TPar_Gen_Bank::kChecksum, b.checksum());
    std::copy(b.bytes.begin(), b.bytes.end(), buffer.begin() + position);
    return position + TPar_Gen_Bank::kSize;
}

// ---- LoRaWAN ------------------------------------------------------------------------------

void Init_LoRa_Default(BinImages& img)
{
    img.LoRa_Bank = TLoRa_Bank{};
    img.LoRa_Bank.dataRate = 6;
    img.LoRa_Bank.payloadSize = 1;
    img.LoRa_Bank.transmitInterval = 1;
    img.LoRa_Bank.lnCheck = 5;
    img.LoRa_Uplink_Rules.fill(TLoRa_Rule{});
    img.LoRa_Downlink_Rules.fill(TLoRa_Rule{});
}

quint8 Get_LoRa_Region_Code(const QString& text)
{
    static constexpr TextCode kRegions[] = {
        {"AS923", 0}, {"AU915", 1}, {"EU868", 5},        {"KR920", 6},
        {"IN865", 7}, {"US915", 8}, {"US915-HYBRID", 9},
    };
    return codeOf(kRegions, upperTrimmed(text), 0);
}

quint8 Get_LoRa_Network_Type(const QString& text)
{
    return upperTrimmed(text) == QLatin1String("PUBLIC") ? 1 : 0;
}

quint8 Get_LoRa_Activation_Method(const QString& text)
{
    return upperTrimmed(text) == QLatin1String("OVER-THE-AIR ACTIVATION [OTAA]") ? 1 : 0;
}

quint8 Get_LoRa_Transmission_Type(const QString& text)
{
    return text == QLatin1String("Confirmed") ? 1 : 0;
}

QString Pad_Left_Zero(const QString& text, int length)
{
    if (text.size() >= length)
        return text;
    return QString(length - text.size(), QLatin1Char('0')) + text;
}

void Set_LoRa_DevAddr(TLoRa_Bank& bank, const QString& text) { setHexKey(bank.devAddr, text); }

void Set_LoRa_JoinEUI(TLoRa_Bank& bank, const QString& text) { setHexKey(bank.joinEui, text); }

void Set_LoRa_NwkSKey(TLoRa_Bank& bank, const QString& text) { setHexKey(bank.nwkSKey, text); }

void Set_LoRa_AppSKey(TLoRa_Bank& bank, const QString& text) { setHexKey(bank.appSKey, text); }

void Set_LoRa_AppKey(TLoRa_Bank& bank, const QString& text) { setHexKey(bank.appKey, text); }

bool loRaRowEnabled(const XmlElement& row)
{
    const auto enable = attributeText(row, rulefile::Enable);
    return !enable || upperTrimmed(*enable) == QLatin1String("Y");
}

namespace {

// Flag attributes are compared in upper case but not trimmed.
bool loRaFlag(const XmlElement& row, QAnyStringView name)
{
    const auto t = attributeText(row, name);
    return t && asciiUpper(*t) == QLatin1String("Y");
}

quint8 loRaFPort(const TLoRa_Bank& bank, const XmlElement& row)
{
    if (bank.fPortMode != 1)
        return 2;
    return quint8(attributeIntDef(row, rulefile::FPort, 2));
}

}  // namespace

FileResult Read_LoRaWAN_Set_Access_XML(BinImages& img, const QString& path, quint32 base)
{
    TLoRa_Bank& lb = img.LoRa_Bank;
    lb.uplinkTableAddress = base + kLoRaUplinkTableOffset;
    lb.downlinkTableAddress = base + kLoRaDownlinkTableOffset;
    lb.uplinkCount = 0;
    lb.downlinkCount = 0;

    const ProjectXmlLoad doc = loadProjectXml(path);
    if (doc.missing())
        return FileResult::success();
    if (!doc.ok())
        return FileResult::failure(doc.message);

    const struct {
        const char* name;
        bool uplink;  // downlink rules carry no flags and no time
        std::array<TLoRa_Rule, kLoRaRuleCapacity>& rules;
        quint16& count;
    } kTables[] = {
        {rulefile::LoRaWAN_Uplink, true, img.LoRa_Uplink_Rules, lb.uplinkCount},
        {rulefile::LoRaWAN_Downlink, false, img.LoRa_Downlink_Rules, lb.downlinkCount},
    };
    for (const auto& t : kTables) {
        const XmlElement table = childElement(doc.root, QLatin1String(t.name));
        if (table.isNull())
            return missingTable(path, t.name);
        for (const XmlElement& row : rowElements(table)) {
            if (!loRaRowEnabled(row))
                continue;
            // More rules than the table holds cannot come from the editor; cutting them
            // would silently drop rules the user believes are on the device.
            if (t.count >= kLoRaRuleCapacity)
                return tooManyRules(path, t.name, kLoRaRuleCapacity);
            TLoRa_Rule& r = t.rules[t.count];
            r = TLoRa_Rule{};
            r.startByte = quint16(attributeIntDef(row, rulefile::StartByte, 0));
            r.numByte = quint16(attributeIntDef(row, rulefile::NumByte, 0));
            r.fPort = loRaFPort(lb, row);
            if (t.uplink) {
                if (loRaFlag(row, rulefile::OnChange))
                    r.flags |= TLoRa_Rule::kOnChange;
                if (loRaFlag(row, rulefile::OnCMD))
                    r.flags |= TLoRa_Rule::kOnCMD;
                if (loRaFlag(row, rulefile::OnTimer))
                    r.flags |= TLoRa_Rule::kOnTimer;
                r.time = quint32(attributeIntDef(row, rulefile::Time, 30));
            }
            ++t.count;
        }
    }
    return FileResult::success();
}

int Add_LoRa_To_Bank(const BinImages& img, int position, std::span<quint8> buffer)
{
    Q_ASSERT(position >= 0 && std::size_t(position) + kLoRaImageSize <= buffer.size());
    quint8* out = buffer.data() + position;
    std::memset(out, 0, kLoRaImageSize);
    img.LoRa_Bank.store(out);
    for (int i = 0; i < kLoRaRuleCapacity; ++i) {
        img.LoRa_Uplink_Rules[i].store(out + kLoRaUplinkTableOffset + i * TLoRa_Rule::kSize);
        img.LoRa_Downlink_Rules[i].store(out + kLoRaDownlinkTableOffset + i * TLoRa_Rule::kSize);
    }
    return position + kLoRaImageSize;
}

// ---- S7 -----------------------------------------------------------------------------------

void Init_S7_Default(BinImages& img) { img.S7_Rules.fill(TS7_Rule{}); }

namespace {

// Code tables of the S7 rule editor's combo items; the text must match exactly.
constexpr TextCode kS7PlcTypes[] = {
    {"Logo0BA8", 1}, {"S7200", 0}, {"S7300", 10}, {"S7400", 20}, {"S71200", 30}, {"S71500", 40},
};
constexpr TextCode kS7DataTypes[] = {
    {"Bit", 1}, {"Byte", 2},  {"Char", 3}, {"Word", 4},
    {"Int", 5}, {"DWord", 6}, {"DInt", 7}, {"Real", 8},
};
constexpr TextCode kS7DataIdentifiers[] = {
    {"OB", 8}, {"DB", 10}, {"SDB", 11}, {"FC", 12}, {"SFC", 13}, {"FB", 14}, {"SFB", 15},
};
constexpr TextCode kS7PlcAreas[] = {
    {"Direct peripheral access (P)", 0x80},
    {"Inputs (I)", 0x81},
    {"Output (Q)", 0x82},
    {"Flags (M) (Merker)", 0x83},
};

}  // namespace

quint8 Get_S7_PLC_Type(const QString& text) { return codeOf(kS7PlcTypes, text, 0); }

quint8 Get_S7_Data_Type(const QString& text) { return codeOf(kS7DataTypes, text, 1); }

quint8 Get_S7_Data_Identifier(const QString& text) { return codeOf(kS7DataIdentifiers, text, 8); }

quint8 Get_S7_PLC_Area(const QString& text) { return codeOf(kS7PlcAreas, text, 0x80); }

namespace {

TS7_Rule readS7Row(const XmlElement& row, bool write)
{
    TS7_Rule r;
    quint8 a = 0, b = 0, c = 0, d = 0;
    const auto address = attributeText(row, rulefile::PLC_Address);
    if (address && !IP_Str_To_Bytes(*address, a, b, c, d))
        r.plcAddress = quint32(a) << 24 | quint32(b) << 16 | quint32(c) << 8 | d;
    r.plcPort = quint16(attributeIntDef(row, rulefile::PLC_Port, 0));
    r.plcType = Get_S7_PLC_Type(attributeTextDef(row, rulefile::PLC_Type, QString()));
    // The byte is the low 8 bits of rack * 32 + slot. Computed in signed int, as it was, a
    // huge rack from a hand-edited file overflowed (undefined behaviour); unsigned 32-bit
    // arithmetic wraps and keeps exactly those low 8 bits for every rack and slot.
    const auto rack = quint32(attributeIntDef(row, rulefile::Rack, 0));
    const auto slot = quint32(attributeIntDef(row, rulefile::Slot, 0));
    r.rackSlot = quint8(rack * 32u + slot);
    r.dataType = Get_S7_Data_Type(attributeTextDef(row, rulefile::Data_Type, QString()));
    r.dataIdentifier = Get_S7_Data_Identifier(
        attributeTextDef(row, rulefile::Data_Identifier, QString()));
    r.dbNumber = quint16(attributeIntDef(row, rulefile::DB_Number, 0));
    r.plcArea = Get_S7_PLC_Area(attributeTextDef(row, rulefile::PLC_Area, QString()));
    r.plcAdd = quint16(attributeIntDef(row, rulefile::PLC_Add, 0));
    r.plcBit = quint8(attributeIntDef(row, rulefile::PLC_Bit, 0));
    r.pollTime = quint32(attributeIntDef(row, rulefile::PollTime, 1000));
    r.position = quint16(attributeIntDef(row, rulefile::Position, 0));
    r.bit = quint8(attributeIntDef(row, rulefile::Bit, 0));

    r.flags = write ? TS7_Rule::kWriteRule : 0;
    if (write && attributeIsY(row, rulefile::OnChange))
        r.flags |= TS7_Rule::kOnChange;
    if (write && attributeIsY(row, rulefile::OnCMD))
        r.flags |= TS7_Rule::kOnCMD;
    if (attributeIsY(row, rulefile::Swap))
        r.flags |= TS7_Rule::kSwap;
    if (attributeIsY(row, rulefile::SwapWord))
        r.flags |= TS7_Rule::kSwapWord;
    return r;
}

}  // namespace

S7ReadResult Read_S7_Protocol_XML(BinImages& img, const QString& path)
{
    S7ReadResult out;
    const ProjectXmlLoad doc = loadProjectXml(path);
    if (doc.missing())
        return out;
    if (!doc.ok()) {
        out.result = FileResult::failure(doc.message);
        return out;
    }
    auto& rules = img.S7_Rules;
    const struct {
        const char* table;
        bool write;
    } kTables[] = {{rulefile::S7_Read, false}, {rulefile::S7_Write, true}};
    for (const auto& t : kTables) {
        const XmlElement table = childElement(doc.root, QLatin1String(t.table));
        if (table.isNull()) {
            out.result = missingTable(path, t.table);
            return out;
        }
        for (const XmlElement& row : rowElements(table)) {
            // Only exactly "Y": a row without "Enable" is not an S7 rule for the device.
            if (!attributeIsY(row, rulefile::Enable))
                continue;
            // More rules than the table holds cannot come from the editor; refusing beats
            // silently dropping the surplus.
            if (out.count >= kS7RuleCapacity) {
                out.result = tooManyRules(path, t.table, kS7RuleCapacity);
                return out;
            }
            rules[out.count] = readS7Row(row, t.write);
            ++out.count;
        }
    }
    return out;
}

int Add_S7_To_Bank(const BinImages& img, int position, std::span<quint8> buffer)
{
    const auto& rules = img.S7_Rules;
    Q_ASSERT(position >= 0
             && std::size_t(position) + kS7RuleCapacity * TS7_Rule::kSize <= buffer.size());
    for (int i = 0; i < kS7RuleCapacity; ++i)
        rules[i].store(buffer.data() + position + i * TS7_Rule::kSize);
    return position + kS7RuleCapacity * TS7_Rule::kSize;
}

}  // namespace zfw
