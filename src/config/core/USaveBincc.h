#pragma once
// The bank-image compiler: turns ParGen.xml, S7_Protocol.xml and LoRaWAN_SetAccess.xml of the
// active project into bank1.bin (general parameters) and bank2.bin (LoRaWAN block, LoRaWAN
// rule tables, S7 rule table), the two images the gateway loads.
//
// Runs without any window. The inner functions (compileBinImages, saveBinImages) take the
// files and the project folder as arguments and touch no process-wide state; Compile_Bin and
// Save_Bin_Files take them from programState() and keep binImages() filled for the program's
// callers. Missing files and missing or malformed values take their defaults; what cannot be
// compiled or written is returned as a FileResult naming the file (and the line and column of
// a malformed file), and the images are then not written.

#include "common/ProjectXml.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <span>

namespace zfw {

// Device addresses of the images and tables, fixed in this build.
inline constexpr quint32 kBank1DeviceAddress = 0x07000;
inline constexpr quint32 kBank2DeviceAddress = 0x80000;
inline constexpr quint32 kS7TableDeviceAddress = 0x82000;
inline constexpr int kLoRaUplinkTableOffset = 1024;    // in bank2
inline constexpr int kLoRaDownlinkTableOffset = 4096;  // in bank2
inline constexpr int kS7TableOffset = 8192;            // in bank2

inline constexpr int kBank1Size = 2048;
inline constexpr int kLoRaImageSize = 8192;
inline constexpr int kBank2Size = 36864;
inline constexpr int kLoRaRuleCapacity = 256;  // per table
inline constexpr int kS7RuleCapacity = 1024;

// General parameters, kept byte for byte as they stand in bank1.bin. Bytes not set are 0.
struct TPar_Gen_Bank {
    static constexpr int kSize = kBank1Size;

    // Offsets of the fields that a project sets or the compiler fills in.
    static constexpr int kIpAddress = 40;     // 4 bytes a.b.c.d
    static constexpr int kSubnetMask = 44;    // 4 bytes
    static constexpr int kGateway = 48;       // 4 bytes
    static constexpr int kDhcpFlags = 1256;   // u16: bit 0 cable, bit 1 Wi-Fi
    static constexpr int kDeviceName = 1300;  // 32 bytes, at most 31 characters
    static constexpr int kDeviceNameLength = 31;
    static constexpr int kSecondaryDns = 1340;    // 4 bytes
    static constexpr int kPrimaryDns = 1420;      // 4 bytes
    static constexpr int kS7TableAddress = 1620;  // u32
    static constexpr int kS7RuleCount = 1624;     // u32
    static constexpr int kBank2Address = 1628;    // u32
    static constexpr int kSwVersion = 1644;       // 8 bytes
    static constexpr int kChecksum = 2044;        // u32: sum of bytes 0 to 2043

    std::array<quint8, kSize> bytes{};

    void setU8(int offset, quint8 v) { bytes[offset] = v; }
    void setU16(int offset, quint16 v);
    void setU32(int offset, quint32 v);
    quint16 u16(int offset) const;
    quint32 u32(int offset) const;
    // Sum of the unsigned bytes 0 to 2043, wrapping at 32 bits.
    quint32 checksum() const;
};

// One LoRaWAN rule as it stands in a rule table: 12 bytes.
struct TLoRa_Rule {
    static constexpr int kSize = 12;
    static constexpr quint8 kOnChange = 0x01;
    static constexpr quint8 kOnCMD = 0x02;
    static constexpr quint8 kOnTimer = 0x04;

    quint16 startByte = 0;
    quint16 numByte = 0;
    quint8 flags = 0;  // uplink only
    quint8 fPort = 0;
    quint32 time = 0;  // seconds, uplink only

    // Writes the 12 bytes little-endian (reserved bytes 6 and 7 zero).
    void store(quint8* out) const;
};

// The LoRaWAN block at the start of bank2.bin: 88 bytes.
struct TLoRa_Bank {
    static constexpr int kSize = 88;

    quint8 region = 0;
    quint8 networkType = 0;
    quint8 activation = 0;  // 0 ABP, 1 OTAA
    quint8 dataRate = 0;
    std::array<quint8, 4> devAddr{};
    std::array<quint8, 8> joinEui{};
    std::array<quint8, 16> nwkSKey{};
    std::array<quint8, 16> appSKey{};
    std::array<quint8, 16> appKey{};
    quint8 adaptiveDataRate = 0;
    quint8 confirmed = 0;
    quint8 payloadSize = 0;
    quint8 fPortMode = 0;  // 0 fixed FPort 2, 1 FPort per rule
    quint32 transmitInterval = 0;
    quint32 uplinkTableAddress = 0;
    quint32 downlinkTableAddress = 0;
    quint16 uplinkCount = 0;
    quint16 downlinkCount = 0;
    quint8 subBand = 0;
    quint8 lnCheck = 0;

    // Writes the 88 bytes little-endian (reserved bytes 86 and 87 zero).
    void store(quint8* out) const;
};

// One S7 rule as it stands in the S7 table: 28 bytes.
struct TS7_Rule {
    static constexpr int kSize = 28;
    static constexpr quint8 kOnChange = 0x01;
    static constexpr quint8 kSwap = 0x04;
    static constexpr quint8 kSwapWord = 0x08;
    static constexpr quint8 kOnCMD = 0x10;
    static constexpr quint8 kWriteRule = 0x20;

    quint32 plcAddress = 0;  // a.b.c.d as a*2^24 + b*2^16 + c*2^8 + d
    quint32 pollTime = 0;    // milliseconds
    quint16 plcAdd = 0;
    quint16 dbNumber = 0;
    quint16 plcPort = 0;
    quint16 position = 0;
    quint8 bit = 0;
    quint8 plcType = 0;
    quint8 dataType = 0;
    quint8 dataIdentifier = 0;
    quint8 flags = 0;
    quint8 plcBit = 0;
    quint8 plcArea = 0;
    quint8 rackSlot = 0;  // low 8 bits of rack * 32 + slot

    // Writes the 28 bytes little-endian (reserved bytes 16, 17, 22 and 27 zero).
    void store(quint8* out) const;
};

// The compiler's records and images: the work area of one compilation. Every compilation
// starts by resetting the records, so nothing of an earlier compilation survives.
struct BinImages {
    TPar_Gen_Bank Par_Gen_Bank;
    TLoRa_Bank LoRa_Bank;
    std::array<TLoRa_Rule, kLoRaRuleCapacity> LoRa_Uplink_Rules{};
    std::array<TLoRa_Rule, kLoRaRuleCapacity> LoRa_Downlink_Rules{};
    std::array<TS7_Rule, kS7RuleCapacity> S7_Rules{};

    std::array<quint8, kBank1Size> Bank1_Buffer{};
    std::array<quint8, kBank2Size> Bank2_Buffer{};
    int Bank1_Length = 0;  // kBank1Size after a successful compilation, else 0
    int Bank2_Length = 0;  // kBank2Size after a successful compilation, else 0
};

// The program's work area, which Compile_Bin fills and Save_Bin_Files writes.
BinImages& binImages();

// ---- Inner compiler: explicit inputs and outputs ------------------------------------------

// The three files the compiler reads.
struct BinSourceFiles {
    QString File_ParGen;
    QString File_S7_Protocol;
    QString File_LoRaWAN_SetAccess;
};

// The three files in the project folder projectDir.
BinSourceFiles binSourceFiles(const QString& projectDir);

struct BinCompileResult {
    FileResult result;
    QByteArray bank1;  // kBank1Size bytes when the compilation succeeded, else empty
    QByteArray bank2;  // kBank2Size bytes when the compilation succeeded, else empty
    bool ok() const { return result.ok; }
};

// Builds both images from the files, in work (whose records and buffers it resets first).
// Fails, with empty images and work's lengths 0, when a file exists but cannot be read or is
// no XML, a rule file lacks one of its tables, or a rule table would overflow.
BinCompileResult compileBinImages(const BinSourceFiles& files, BinImages& work);
// The same in a work area of its own.
BinCompileResult compileBinImages(const BinSourceFiles& files);
// The same for the files of the project folder projectDir.
BinCompileResult compileBinProject(const QString& projectDir);

// Writes bin/bank1.bin and bin/bank2.bin in projectDir, creating the bin folder when missing.
// Both files are written in full or not at all; a failure names the file. Images of another
// size than kBank1Size and kBank2Size are refused.
FileResult saveBinImages(const QString& projectDir, const QByteArray& bank1,
                         const QByteArray& bank2);

// ---- Driver -------------------------------------------------------------------------------

// Builds both images in binImages() from the active project's files (the paths of
// programState()). Fails, leaving nothing to save, when no project is active or
// compileBinImages fails.
FileResult Compile_Bin();
FileResult Compile_Bin_K4R89();

// Writes the images of binImages() with saveBinImages into the active project's folder.
FileResult Save_Bin_Files();
FileResult Save_Bin_Files_K4R89();

// ---- General parameters (bank1.bin) -------------------------------------------------------

void Init_Par_Gen_Default(TPar_Gen_Bank& bank);
// Reads the ParGen.xml at path into Par_Gen_Bank and the LoRaWAN block of img; a missing
// file changes nothing.
FileResult Read_Par_Gen_XML(BinImages& img, const QString& path);
void Set_SW_Version(TPar_Gen_Bank& bank);
// Stores the checksum, copies the 2048 bytes to buffer at position; returns the position after.
int Add_Par_Gen_To_Bank(TPar_Gen_Bank& bank, int position, std::span<quint8> buffer);

// ---- LoRaWAN (bank2.bin 0 to 8191) --------------------------------------------------------

void Init_LoRa_Default(BinImages& img);
// Sets the table addresses from base, then fills the rule tables of img from the
// LoRaWAN_SetAccess.xml at path. The FPort mode of img's LoRaWAN block must be read first.
FileResult Read_LoRaWAN_Set_Access_XML(BinImages& img, const QString& path, quint32 base);
// Copies the block, the two rule tables and the zero gaps (8192 bytes); returns the position after.
int Add_LoRa_To_Bank(const BinImages& img, int position, std::span<quint8> buffer);

quint8 Get_LoRa_Region_Code(const QString& text);
quint8 Get_LoRa_Network_Type(const QString& text);
quint8 Get_LoRa_Activation_Method(const QString& text);
quint8 Get_LoRa_Transmission_Type(const QString& text);
// The text with "0" put in front up to length characters; a longer text is returned as is.
QString Pad_Left_Zero(const QString& text, int length);
// Hex key texts to the block's key fields, two hex digits per byte in written order; a pair
// that is no hex number gives 0. Digits beyond the field's length are ignored.
void Set_LoRa_DevAddr(TLoRa_Bank& bank, const QString& text);
void Set_LoRa_JoinEUI(TLoRa_Bank& bank, const QString& text);
void Set_LoRa_NwkSKey(TLoRa_Bank& bank, const QString& text);
void Set_LoRa_AppSKey(TLoRa_Bank& bank, const QString& text);
void Set_LoRa_AppKey(TLoRa_Bank& bank, const QString& text);

// ---- S7 rules (bank2.bin 8192 to 36863) ---------------------------------------------------

struct S7ReadResult {
    FileResult result;
    int count = 0;  // rules taken, read and write together
};

void Init_S7_Default(BinImages& img);
// Fills the S7 table of img from the S7_Protocol.xml at path.
S7ReadResult Read_S7_Protocol_XML(BinImages& img, const QString& path);
// Copies the 1024 records (28672 bytes); returns the position after.
int Add_S7_To_Bank(const BinImages& img, int position, std::span<quint8> buffer);

quint8 Get_S7_PLC_Type(const QString& text);
quint8 Get_S7_Data_Type(const QString& text);
quint8 Get_S7_Data_Identifier(const QString& text);
quint8 Get_S7_PLC_Area(const QString& text);

// True when the compiler takes a LoRaWAN rule row: its "Enable" is "Y" after trimming and
// upper-casing, or the attribute is missing. The configuration check selects rows with it too.
bool loRaRowEnabled(const XmlElement& row);

}  // namespace zfw
