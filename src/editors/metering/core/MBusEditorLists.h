#pragma once
// The fixed lists of the network editor's variable page. A variable stores the index of its
// choice, so the order of each list is part of the network file.

#include <QStringList>

namespace zfw {

inline constexpr int kTypeOfDataTimePoint = 20;
inline constexpr int kTypeOfDataVifAscii = 21;
inline constexpr int kDimensionVariableLength = 7;
inline constexpr int kVifeNothingChosen = 255;

// Type of data: the VIF group codes 0 to 25.
const QStringList& typeOfDataTexts();
// Function field 0 to 3.
const QStringList& functionFieldTexts();
// Dimension 0 to 7 (bits; not ascending).
const QStringList& dimensionTexts();
// Unit "0" to "10".
const QStringList& unitTexts();
// VIFE: index 0 "Not Selected", then the type codes 1 to 151.
const QStringList& vifeTexts();
// Post operation 0 "None", 1 to 6 divide and 7 to 12 multiply by 10 to 1000000.
const QStringList& postOperationTexts();

}  // namespace zfw
