#include "editors/building/core/UEtherNetIPImport.h"

#include "common/TextUtil.h"
#include "editors/building/core/UEDSText.h"
#include "editors/building/core/UEtherNetIPRuleSpec.h"
#include "ruleedit/core/URuleTable.h"

namespace zfw {

EdsImportResult importEdsTarget(RuleTable& t, const TConnData& conn,
                                const EdsDeviceIdentity& identity, const QString& edsPath)
{
    EdsImportResult result;
    for (int r = 1; r < t.rowCount() && result.row == 0; ++r)
        if (trimBlanks(t.text(u"IP_Address", r)).isEmpty()
            && trimBlanks(t.text(u"Instance_T_O", r)).isEmpty())
            result.row = r;
    if (result.row == 0)
        return result;
    const int r = result.row;
    const RuleTableSpec& s = t.spec();
    t.setCell(s.col(u"Instance_O_T"), r, QString::number(conn.InstanceOT));
    t.setCell(s.col(u"Connection_Point_O_T"), r, QString::number(conn.ConnPointOT));
    t.setCell(s.col(u"Instance_T_O"), r, QString::number(conn.InstanceTO));
    t.setCell(s.col(u"Connection_Point_T_O"), r, QString::number(conn.ConnPointTO));
    t.setCell(s.col(u"Dim_Header_T_O"), r, dimHeaderTOText(conn.DimHeaderTO));
    t.setCell(s.col(u"Dim_Header_O_T"), r, dimHeaderOTText(conn.DimHeaderOT));
    if (!identity.isEmpty())
        t.setCell(s.col(u"ElectronicKey"), r, electronicKeyText(identity));
    t.setCell(s.col(u"DataSegment"), r, QString());
    setRowTargetConfig(t, r, std::nullopt);
    if (conn.TargetConfSize.isEmpty() || conn.TargetConfFormat.isEmpty())
        return result;

    TTargetConfig config;
    config.FileName = edsPath;
    config.Size = conn.TargetConfSize;
    config.Format = conn.TargetConfFormat;
    if (!config.DecodeTargetConf(&result.error))
        return result;
    t.setCell(s.col(u"DataSegment"), r, config.GetConfigStrData());
    setRowTargetConfig(t, r, config);
    return result;
}

std::optional<DataSegFault> Check_Value(TTargetConfig& TC, const QStringList& valueTexts)
{
    QList<qint64> values(TC.ListParamObject.size(), 0);
    for (qsizetype k = 0; k < TC.ListParamObject.size(); ++k) {
        const TTC_ParamObj& p = TC.ListParamObject[k];
        if (p.Enum)
            continue;
        // Mended: an unreadable text used to count as Min - 1, which overflows for the
        // smallest 64-bit minimum and then passed; it is a refusal in its own right now.
        const auto v = k < valueTexts.size() ? parseEdsInt64(trimBlanks(valueTexts[k]))
                                             : std::nullopt;
        if (!v || *v < p.Min || *v > p.Max)
            return DataSegFault{int(k) + 1, p.Min, p.Max};
        values[k] = *v;
    }
    for (qsizetype k = 0; k < TC.ListParamObject.size(); ++k)
        if (!TC.ListParamObject[k].Enum)
            TC.ListParamObject[k].Value = values[k];
    return std::nullopt;
}

QString dataSegFaultMessage(const QString& format, const DataSegFault& fault)
{
    const qint64 numbers[] = {fault.row, fault.min, fault.max};
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size() && format[i + 1] == u'd' && next < 3) {
            out += QString::number(numbers[next++]);
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}

void takeEditedValues(TTargetConfig& config, const TTargetConfig& edited)
{
    const qsizetype n = std::min(config.ListParamObject.size(), edited.ListParamObject.size());
    for (qsizetype k = 0; k < n; ++k)
        config.ListParamObject[k].Value = edited.ListParamObject[k].Value;
}

}  // namespace zfw
