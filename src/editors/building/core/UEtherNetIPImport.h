#pragma once
// What the scanner editor does with an EDS connection and with an edited configuration,
// without its windows: the import into the first free rule row, the data-segment editor's
// value check, and taking the edited values back.

#include "editors/building/core/UEDSConnections.h"
#include "editors/building/core/UTargetConfig.h"

#include <QStringList>

#include <optional>

namespace zfw {

class RuleTable;

struct EdsImportResult {
    int row = 0;    // the row filled; 0 when no row was free
    QString error;  // the configuration could not be decoded (names the file); the row keeps
                    // the connection's texts, an empty Data Segment and no configuration
};

// Copies the chosen connection into the first row whose IP Address and Instance T > O are
// both blank: instances, connection points and header codes, the electronic key when the
// identity is not empty, and the configuration the connection names, decoded from the file.
EdsImportResult importEdsTarget(RuleTable& table, const TConnData& conn,
                                const EdsDeviceIdentity& identity, const QString& edsPath);

// A refused value of the data-segment editor: its grid row (from 1) and the limits.
struct DataSegFault {
    int row = 0;
    qint64 min = 0;
    qint64 max = 0;
};

// Reads the Value texts (one per parameter, in order) of the parameters that are not
// enumerated, decimal or hexadecimal after "0x" or "$". The first one that is unreadable or
// outside Min to Max is the fault, and nothing changes; else every such Value is set.
std::optional<DataSegFault> Check_Value(TTargetConfig& TC, const QStringList& valueTexts);

// Text 6315 with its "%d" replaced by the row, Min and Max in order.
QString dataSegFaultMessage(const QString& format, const DataSegFault& fault);

// The Value of each parameter of edited goes into the parameter at the same position of
// config.
void takeEditedValues(TTargetConfig& config, const TTargetConfig& edited);

}  // namespace zfw
