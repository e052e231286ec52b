#pragma once
// Results of decoding M-Bus answers: a wired meter with its data records. The wireless meter
// (TSlave_wMBus) is declared with its intake in WMBusIntake.h.

#include <QString>
#include <QtGlobal>

#include <vector>

namespace zfw {

// One decoded data record.
class TVariable_MBus {
public:
    quint8 dimension = 0;       // data field of the DIF (DIF and 0Fh)
    quint16 function_fild = 0;  // (DIF shr 4) and 3
    qint64 storage_number = 0;  // DIF bit 6 extended by the DIFEs
    // The tariff takes two bits per DIFE; ten DIFEs give 20 bits, which 16 bits would cut.
    quint32 tarif = 0;
    quint16 device = 0;         // subunit, one bit per DIFE
    quint16 type_data = 65535;  // group code; 65535 when the VIF has none
    qint32 nbyte = 0;           // data bytes as given by the data coding
    quint8 VIF = 0;
    QString VIFE;               // "$3B $10 "
    QString DIF;                // "$04"
    QString DIFE;               // "$10 "
    QString totdati;            // data bytes as hexadecimal text, in the order received
    QString VIF_ASCII;          // plain-text unit of VIF 7Ch/FCh, reversed
    qint32 Type_Data_Vife = 0;  // type code; 0 when none
    QString Desc_Type_Data;
    QString ValueStr;
    QString FunctionFieldStr;
    QString DataFieldStr;
    bool Enable = true;             // selected for saving
    bool Real_Wireless_Var = true;  // false for the filler records of a wireless decode
    bool Is_BCD = false;            // data field 9, 10, 11, 12 or 14
};

// One wired meter found by a scan; owns its records (all frames read from it, in order).
class TSlave_MBus {
public:
    quint16 Primary_Addresss = 0;
    QString Secondary_Addresss;  // 8 upper-case hexadecimal digits
    qint32 Manufacture = 0;
    qint32 Version = 0;
    qint32 Medium = 0;
    qint32 Status = 0;
    QString descManufacture;
    QString descmedium;
    QString description;
    std::vector<TVariable_MBus> List_Var;
};

}  // namespace zfw
