#include "editors/building/core/UTargetConfig.h"

#include "common/TextUtil.h"
#include "editors/building/core/UEDSText.h"

#include <QFileInfo>

namespace zfw {

QString TTC_ParamObj::GetEnumString() const
{
    for (const TTC_EnumObj& e : ListEnum)
        if (qint64(e.Value) == Value)
            return e.Description;
    return QString();
}

qint64 TTC_ParamObj::SetValueFromEnum(const QString& Val_Enum) const
{
    for (const TTC_EnumObj& e : ListEnum)
        if (e.Description == Val_Enum)
            return e.Value;
    return Default;
}

namespace {

// The text after the first "=" of a line, trimmed.
QString afterEquals(const QString& line)
{
    return trimBlanks(QStringView(line).mid(line.indexOf(u'=') + 1));
}

enum class EntryEnd { AnySemicolon, SemicolonLast };

bool endsEntry(const QString& line, EntryEnd rule)
{
    const qsizetype semi = line.indexOf(u';');
    if (rule == EntryEnd::AnySemicolon)
        return semi >= 0;
    return semi >= 0 && semi == line.size() - 1;
}

// Every entry of key in the section, each from its line to the first line that ends it, joined
// with no separator (a key written twice gathers onto the same text).
QString gather(const EdsIndex& eds, const EdsIndex::Section& s, const QString& key, EntryEnd rule,
               bool firstOnly)
{
    QString text;
    qsizetype doneUpTo = -1;
    for (qsizetype start : eds.keyLines(s, key)) {
        if (start <= doneUpTo)
            continue;  // a continuation line of the entry already gathered
        const QStringList& lines = eds.lines();
        text += afterEquals(lines[start]);
        qsizetype i = start;
        while (!endsEntry(lines[i], rule) && i + 1 < s.end) {
            ++i;
            text += lines[i];
        }
        doneUpTo = i;
        if (firstOnly)
            break;
    }
    return text;
}

QString withoutFinalSemicolon(const QString& text)
{
    QString t = trimBlanks(text);
    if (t.endsWith(u';'))
        t = trimBlanks(QStringView(t).left(t.size() - 1));
    return t;
}

qint64 numberField(const QStringList& f, int i)
{
    const QString t = trimBlanks(f[i]);
    return t.isEmpty() ? 0 : parseEdsInt64(t).value_or(0);
}

}  // namespace

QString TTargetConfig::Find_Assembly_Object(const EdsIndex& eds) const
{
    const EdsIndex::Section* s = eds.section(u"[Assembly]");
    if (!s)
        return QString();
    // The key matches exactly: a Format of Assem1 must not take the entry of Assem10.
    return gather(eds, *s, trimBlanks(Format), EntryEnd::AnySemicolon, true);
}

QString TTargetConfig::find_Param_Enum_Object(const QString& Param, const EdsIndex& eds,
                                              QString* EnumStr)
{
    if (EnumStr)
        EnumStr->clear();
    const EdsIndex::Section* s = eds.section(u"[Params]");
    if (!s)
        return QString();
    const QString key = trimBlanks(Param);
    if (EnumStr)
        *EnumStr = gather(eds, *s, QStringLiteral("Enum") + key.mid(5), EntryEnd::AnySemicolon,
                          false);
    return gather(eds, *s, key, EntryEnd::SemicolonLast, false);
}

bool TTargetConfig::DecodeTargetConf(QString* error)
{
    AO_Name.clear();
    AO_SizeBit.clear();
    ListParamObject.clear();
    if (!QFileInfo::exists(FileName))
        return true;
    const auto lines = readEdsLines(FileName, error);
    if (!lines)
        return false;
    return decodeFrom(EdsIndex(*lines), error);
}

bool TTargetConfig::decodeFrom(const EdsIndex& eds, QString* error)
{
    ListParamObject.clear();
    const QStringList f = splitEdsCommaList(withoutFinalSemicolon(Find_Assembly_Object(eds)));
    if (f.size() <= 6)
        return true;
    AO_Name = f[0];
    AO_SizeBit = f[2];

    const QString file = QFileInfo(FileName).fileName();
    auto fail = [&](const QString& why) {
        ListParamObject.clear();
        if (error)
            *error = QStringLiteral("EDS file %1: %2").arg(file, why);
        return false;
    };
    for (qsizetype k = 0; 7 + 2 * k < f.size(); ++k) {
        TTC_ParamObj p;
        p.BitSize = f[6 + 2 * k];
        p.ParamName = f[7 + 2 * k];

        QString enumText;
        const QString paramText = withoutFinalSemicolon(
            find_Param_Enum_Object(p.ParamName, eds, &enumText));
        enumText = withoutFinalSemicolon(enumText);
        const QStringList pf = splitEdsCommaList(paramText);
        if (paramText.isEmpty())
            return fail(QStringLiteral("the parameter %1 is missing").arg(trimBlanks(p.ParamName)));
        if (pf.size() < 12)
            return fail(QStringLiteral("the parameter %1 has %2 fields instead of 12")
                            .arg(trimBlanks(p.ParamName))
                            .arg(pf.size()));
        p.Name = pf[6];
        p.DataSizeByte = std::int32_t(numberField(pf, 5));
        p.DataType = std::int32_t(numberField(pf, 4));
        p.Min = numberField(pf, 9);
        p.Max = numberField(pf, 10);
        p.Default = numberField(pf, 11);
        p.Value = p.Default;
        // A width no data segment can hold would only make the segment text explode.
        if (p.DataSizeByte < 0 || p.DataSizeByte > kDataSegmentMaxBytes)
            return fail(QStringLiteral("the parameter %1 has a data size of %2 bytes")
                            .arg(trimBlanks(p.ParamName))
                            .arg(p.DataSizeByte));
        p.Enum = !enumText.isEmpty();
        if (p.Enum) {
            const QStringList ef = splitEdsCommaList(enumText);
            for (qsizetype j = 0; 2 * j + 1 < ef.size(); ++j) {
                TTC_EnumObj e;
                e.Value = std::int32_t(parseEdsInt64(trimBlanks(ef[2 * j])).value_or(0));
                e.Description = trimBlanks(ef[2 * j + 1]);
                p.ListEnum.append(e);
                p.EnumString.append(e.Description);
            }
        }
        ListParamObject.append(std::move(p));
    }
    return true;
}

QString TTargetConfig::GetConfigStrData() const
{
    QStringList bytes;
    for (const TTC_ParamObj& p : ListParamObject) {
        for (int i = 0; i < p.DataSizeByte; ++i) {
            // Past the eighth byte the value's sign goes on, as a wider integer would hold it.
            const qint64 b = i < 8 ? (p.Value >> (8 * i)) & 0xFF : (p.Value < 0 ? 0xFF : 0);
            bytes.append(
                QStringLiteral("0x%1").arg(QString::number(b, 16).toUpper(), 2, QLatin1Char('0')));
        }
    }
    // The fill is bounded: a Size far beyond any data segment would only exhaust memory, and
    // the rule check refuses more than 510 bytes anyway.
    const qint64 size = std::min<qint64>(parseEdsInt64(trimBlanks(Size)).value_or(-1), 65535);
    while (size > 0 && bytes.size() < size)
        bytes.append(QStringLiteral("0x00"));
    return bytes.join(u',');
}

}  // namespace zfw
