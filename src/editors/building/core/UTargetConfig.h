#pragma once
// The configuration data of an EtherNet/IP target: an assembly of the EDS [Assembly] section
// whose members refer to [Params] entries, some with an enumeration; and the data segment
// text that a scanner rule stores for it.

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace zfw {

class EdsIndex;

struct TTC_EnumObj {
    std::int32_t Value = 0;
    QString Description;
};

struct TTC_ParamObj {
    QString BitSize;
    QString ParamName;
    QString Name;
    std::int32_t DataSizeByte = 0;
    std::int32_t DataType = 0;
    qint64 Min = 0;
    qint64 Max = 0;
    qint64 Default = 0;
    qint64 Value = 0;
    bool Enum = false;
    QList<TTC_EnumObj> ListEnum;
    QStringList EnumString;  // the descriptions of ListEnum, same order

    // The description of the first entry whose value is Value; empty when none matches.
    QString GetEnumString() const;
    // The value of the first entry described exactly by Val_Enum, else Default. Value stays.
    qint64 SetValueFromEnum(const QString& Val_Enum) const;

    friend bool operator==(const TTC_ParamObj&, const TTC_ParamObj&) = default;
};

inline bool operator==(const TTC_EnumObj& a, const TTC_EnumObj& b)
{
    return a.Value == b.Value && a.Description == b.Description;
}

// The most bytes a data segment holds; a member wider than this cannot be described.
inline constexpr int kDataSegmentMaxBytes = 510;

class TTargetConfig {
public:
    QString FileName;
    QString Size;
    QString Format;
    QString AO_Name;
    QString AO_SizeBit;
    QList<TTC_ParamObj> ListParamObject;

    // Decodes the assembly Format of the EDS file FileName. A missing file, section or entry,
    // or an entry of 6 fields or fewer, leave no members and count as success. A member whose
    // parameter is missing or malformed fails: the members are then cleared and *error names
    // the file and the parameter.
    bool DecodeTargetConf(QString* error);
    // The same on an already indexed file (FileName only names it in messages).
    bool decodeFrom(const EdsIndex& eds, QString* error);

    // The gathered text of the assembly entry whose key is Format; empty when there is none.
    QString Find_Assembly_Object(const EdsIndex& eds) const;
    // The gathered text of the parameter entry Param and, in *EnumStr, that of its enumeration.
    static QString find_Param_Enum_Object(const QString& Param, const EdsIndex& eds,
                                          QString* EnumStr);

    // The data segment: each member's DataSizeByte bytes of Value, least significant first,
    // zero-filled up to Size bytes, as "0x" upper-case bytes joined by ",".
    QString GetConfigStrData() const;

    friend bool operator==(const TTargetConfig&, const TTargetConfig&) = default;
};

}  // namespace zfw
