#pragma once
// The I/O connections and the device identity of an EDS file, as the connection chooser
// lists them: the [Connection Manager] entries with their CIP paths, and the [Device] keys.

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace zfw {

// One decoded connection.
struct TConnData {
    std::int32_t ConnIndex = 0;
    QString ConnName;  // quotes kept, as the file writes them
    QString HelpStr;
    std::uint8_t DimHeaderTO = 0;
    std::uint8_t DimHeaderOT = 4;
    std::uint8_t NumClass = 4;
    std::uint32_t InstanceTO = 30;
    std::uint32_t ConnPointTO = 0;
    std::uint32_t InstanceOT = 30;
    std::uint32_t ConnPointOT = 0;
    QString TargetConfSize;
    QString TargetConfFormat;
};

struct EdsDeviceIdentity {
    std::uint16_t VendCode = 0;
    std::uint16_t ProdType = 0;
    std::uint16_t ProdCode = 0;
    std::uint8_t MajRev = 0;
    std::uint8_t MinRev = 0;

    bool isEmpty() const
    {
        return VendCode == 0 && ProdType == 0 && ProdCode == 0 && MajRev == 0 && MinRev == 0;
    }
};

struct EdsConnections {
    EdsDeviceIdentity identity;
    QList<TConnData> List_Conn;
};

// The most bytes a connection path holds; a longer path gives no connection.
inline constexpr int kEdsPathCapacity = 1001;

// Fields of a connection entry: "," or ";" outside double quotes ends a field (kept even when
// empty); quotes stay in the field; a non-empty rest is the last field.
void Split_EDS_Fields(QStringView text, QStringList& fields);

// The integer after key (a [Device] keyword in upper case, e.g. "VENDCODE") and "=" in an
// upper-case line, with any blanks before "="; the value runs to the first ";" and 0 stands for
// a missing ";" or an unreadable value. Nothing when the line does not hold the key.
std::optional<qint64> GetDeviceValue(QStringView str, QStringView key);

// The connection of one gathered entry text, or nothing when the entry has fewer than 15
// fields or its path lacks a class segment or two connection points. ConnIndex is left 0.
std::optional<TConnData> DecodeConnStr(QStringView ConnStr);

// The connection-point and instance values of a CIP path, as DecodeConnStr takes them.
struct ConnPathValues {
    std::uint32_t InstanceOT = 0;
    std::uint32_t InstanceTO = 0;
    std::uint32_t ConnPointOT = 0;
    std::uint32_t ConnPointTO = 0;
};
std::optional<ConnPathValues> decodeConnPath(const QList<std::uint8_t>& path);

// The identity and the connections of an EDS file's lines (as read, not yet prepared).
EdsConnections decodeEdsConnections(const QStringList& rawLines);

// The text a chooser cell shows for a header code: "Default" for the direction's default code.
QString dimHeaderOTText(std::uint8_t code);
QString dimHeaderTOText(std::uint8_t code);

// The electronic key of an identity, as the import writes it: eight "0x"-bytes joined by ", ".
QString electronicKeyText(const EdsDeviceIdentity& id);

}  // namespace zfw
