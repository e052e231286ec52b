#pragma once
// The PROFIBUS device description (GSD) of the gateway's PROFIBUS-slave model: a fixed text
// whose modules carry the configured input and output byte counts.

#include "common/MakerTexts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace zfw {

// The most bytes a DP master takes per direction.
inline constexpr int kGsdMaxBytesPerDirection = 244;

struct GsdCounts {
    int GSD_Nb_In = 0;
    int GSD_Nb_Out = 0;
};
// The counts of a ParGen.xml text: "PROFINET_NB_IN" and "PROFINET_NB_OUT", each 0 when missing
// or not an integer.
GsdCounts readGsdCounts(const QByteArray& parGenXml);

// The file's lines. GSD_Nb_In is the gateway's input count (the master's output modules),
// GSD_Nb_Out its output count (the master's input modules). A count of 0 or less gives no
// module on its side.
QStringList buildGsdLines(int GSD_Nb_In, int GSD_Nb_Out, const MakerTexts& maker);

// The lines as the file holds them: each ends with CR LF, characters outside ASCII become "?".
QByteArray gsdFileBytes(const QStringList& lines);

// The file name for a name chosen in the save dialog: kept when it ends in ".gsd" in any
// letter case, else with ".gsd" appended.
QString gsdFileName(const QString& chosen);

// True when a master can take both counts (0 to 244 each).
bool gsdCountsDescribable(int GSD_Nb_In, int GSD_Nb_Out);

}  // namespace zfw
