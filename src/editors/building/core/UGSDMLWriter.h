#pragma once
// The PROFINET device description (GSDML) of the gateway's PROFINET model: a fixed template
// whose station name and cyclic data lengths come from the general parameters, and the
// composition of its file name.

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

namespace zfw {

// The largest cyclic data length per direction the template's IOConfigData allows.
inline constexpr int kGsdmlMaxBytesPerDirection = 1440;

struct GsdmlParams {
    int GSDML_Nb_In = 1438;   // gateway input: the controller's output data item
    int GSDML_Nb_Out = 1438;  // gateway output: the controller's input data item
    QString GSDML_Name_Sta = QStringLiteral("SERIAL");
};

// The values of a ParGen.xml text; missing or unreadable ones keep the defaults, and a blank
// station name becomes "SERIAL". An empty text (no file) gives the defaults.
GsdmlParams Read_GSDML_Param(const QByteArray& parGenXml);

// The template's lines, values escaped for XML.
QStringList buildGsdmlLines(const GsdmlParams& p);

// The file: UTF-8 with byte-order mark, every line ending with CR LF.
QByteArray gsdmlFileBytes(const QStringList& lines);

// True when both lengths fit the template's limits (0 to 1440).
bool gsdmlCountsDescribable(const GsdmlParams& p);

// The fixed parts of the file name and its composition from the user part.
inline constexpr char kGsdmlNameFix1[] = "GSDML-V2.25-Brenik-";
QString gsdmlDatePart(const QDate& date);  // "-YYYYMMDD.xml"
QString composeGsdmlFileName(const QString& userPart, const QString& datePart);

}  // namespace zfw
