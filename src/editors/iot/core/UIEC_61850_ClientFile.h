#pragma once
// The IEC 61850 client editor's configuration without its window: the catalogue of decoded
// SCL files, the rows of the variables and data-set grids as texts, the chosen data sets with
// the settings of their members, and the file IEC_61850_Client.xml that keeps them. Also the
// checks of the variables grid and the start and number of bytes of the fixed-size types.
//
// Rows are grid rows from 1: entry i of daRows is row i + 1 of ACG_DA and holds the texts of
// columns 1 to 18; a grid that shows only its empty row 1 holds one row of empty texts.

#include "common/ProjectXml.h"
#include "editors/iot/core/UIEC_Client_Decode.h"

#include <QList>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace zfw {

inline constexpr int kIecDaColumns = 18;      // columns 1 to 18 of ACG_DA
inline constexpr int kIecDataSetColumns = 8;  // columns 1 to 8 of ACG_DataSet
inline constexpr int kIecPositionMax = 1399;
inline constexpr char kIecClientRoot[] = "IEC_68850_Client";
inline constexpr char kIecCatalogFolder[] = "ICD_Catalog";

// Attributes of a "DA_Item", entry c - 1 for column c.
extern const char* const kIecDaAttributes[kIecDaColumns];
// Attributes of a "DataSet_Item", entry c - 1 for column c.
extern const char* const kIecDataSetAttributes[kIecDataSetColumns];

// Real columns of ACG_DA.
namespace iecda {
inline constexpr int Index = 1, bType = 2, fc = 3, Reference = 4, StartByte = 5, NumByte = 6,
                     IPAddress = 7, Port = 8, OnChange = 9, OnCMD = 10, OnTimer = 11, Time = 12,
                     Position = 13, StartBit = 14, ReadWrite = 15, Convertion = 16, MoltFact = 17,
                     Mnemonic = 18;
}

// One member of a chosen data set.
class TDataSet_DA {
public:
    const TIEC_DA* Select_DA = nullptr;  // not owned
    QString Position;
    QString bitAddress;
    QString conversion;
    QString multFactor;
    QString Mnemonic;
    // What the file said of a member whose data set was not found again; written back in
    // place of Select_DA's texts so that nothing typed is lost.
    QString storedBType;
    QString storedReference;

    QString bType() const { return Select_DA ? Select_DA->bType : storedBType; }
    QString reference() const { return Select_DA ? Select_DA->Reference : storedReference; }
};

// One data set chosen by the user.
class TDataSet {
public:
    ~TDataSet();
    const TIEC_DataSet* Select_DataSet = nullptr;  // not owned; null when not found again
    std::vector<std::unique_ptr<TDataSet_DA>> List_DAs;
};

// A data set newly chosen: one member per attribute of the set, with empty settings.
std::unique_ptr<TDataSet> newDataSetSelection(const TIEC_DataSet& set);

struct IecClientConfig {
    ~IecClientConfig();
    std::vector<std::unique_ptr<TIEC_Device>> List_IEC_Dev;
    QList<QStringList> daRows = {emptyDaRow()};
    QList<QStringList> dataSetRows = {emptyDataSetRow()};
    // Entry i belongs to entry i of dataSetRows while that row names a data set; the empty
    // row 1 of a grid without data sets has none.
    std::vector<std::unique_ptr<TDataSet>> List_DataSet;

    static QStringList emptyDaRow() { return QStringList(kIecDaColumns); }
    static QStringList emptyDataSetRow() { return QStringList(kIecDataSetColumns); }
    void clear();
};

// The first data set of device index whose Reference equals reference exactly, walking
// logical devices, logical nodes and data sets in order; null for an index outside the list.
const TIEC_DataSet* Get_DataSet(const std::vector<std::unique_ptr<TIEC_Device>>& devices, int index,
                                const QString& reference);

// The decode of one catalogued file: a device, or on failure a placeholder that keeps the
// file's place in the catalogue (its Name the stored one) with a message naming the file.
struct CatalogEntry {
    std::unique_ptr<TIEC_Device> device;
    QString message;  // failure or warning; empty when the file decoded whole
};
CatalogEntry decodeCatalogFile(const QString& catalogDir, const QString& fileName,
                               const QString& storedName, const SclLimits& limits = {});

struct IecClientLoad {
    ProjectXmlLoad::Status status = ProjectXmlLoad::Status::Missing;
    // One message per fault, each naming the file it concerns; empty after a clean load.
    QStringList messages;
};

// Reads the file at path into config, which is cleared first; catalogued SCL files are
// decoded again from catalogDir. A missing file leaves the cleared state. A file the writer
// never produces loads what it can and says what it could not.
IecClientLoad loadIecClientFile(const QString& path, const QString& catalogDir,
                                IecClientConfig& config, const SclLimits& limits = {});

// The whole file: the root, then the catalogue, the variables and the data sets, always all
// three lists. A grid holding only its empty row 1 writes its list without rows.
QByteArray iecClientFileBytes(const IecClientConfig& config);
FileResult saveIecClientFile(const IecClientConfig& config, const QString& path);

// The start and number of bytes of a fixed-size basic type (any letter case); nullopt for a
// type whose range the user types (strings, octet strings) or does not need.
struct StartNumByte {
    QString start;
    QString count;
};
std::optional<StartNumByte> fixedStartNumByte(const QString& bType);
// Writes the two cells of every row of a fixed-size type; entry i of the result is true when
// row i + 1 is of such a type (its two cells read-only).
std::vector<bool> Set_Start_Num_Byte(QList<QStringList>& daRows);

struct IecDaFault {
    int row = 0;    // grid row; 0 when every row passed
    int text = 0;   // language text of the fault
    QString bound;  // appended after the text when not empty
    bool ok() const { return row == 0; }
};
// The checks of the variables grid, rows in order; a row without bType is passed over.
IecDaFault checkIecDaRows(const QList<QStringList>& daRows, QChar decimalSeparator);

}  // namespace zfw
