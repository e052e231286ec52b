#pragma once
// The EtherNet/IP scanner editor's table: ten target rules of EtherNetIP_Master_Rules.xml,
// directly under the root and read by position, each with an optional target configuration
// (its TargetCong part) kept as the row's object.

#include "editors/building/core/UTargetConfig.h"
#include "ruleedit/core/URuleTable.h"

#include <QMetaType>

#include <optional>

Q_DECLARE_METATYPE(zfw::TTargetConfig)

namespace zfw {

inline constexpr int kEtherNetIPRules = 10;
inline constexpr int kEtherNetIPMaxBytes = 1438;  // Num_Byte_In and Num_Byte_Out
inline constexpr int kEtherNetIPDataSegmentColumn = 17;

// The descriptor with the totals' limits.
RuleFileSpec etherNetIPRuleSpec(int Num_Byte_In = kEtherNetIPMaxBytes,
                                int Num_Byte_Out = kEtherNetIPMaxBytes);

// Byte lists typed as "b, b, ...": 1 a byte that is no integer 0 to 255 (decimal, or
// hexadecimal after "0x" or "$"), 2 not exactly 8 bytes (key) or more than 510 (segment),
// 0 no fault.
int CheckBytesElectronicKey(const QString& listBytes);
int CheckBytesDataSegment(const QString& listBytes);
// Bare hexadecimal bytes: 1 the first piece that is not 0 to 255, 2 fewer than Num_DP pieces.
int Err_Check_Data_Path(const QString& Data_Path, int Num_DP);

// The configuration a row holds, if any.
std::optional<TTargetConfig> rowTargetConfig(const RuleTable& table, int row);
void setRowTargetConfig(RuleTable& table, int row, const std::optional<TTargetConfig>& config);

}  // namespace zfw
