#include "EdsCheck.h"

#include <QRegularExpression>
#include <QSet>

namespace zfw::test {

namespace {

std::optional<quint64> number(const QString& text)
{
    bool ok = false;
    quint64 v = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = text.mid(2).toULongLong(&ok, 16);
    else
        v = text.toULongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<quint64> typeMax(const QString& dataType)
{
    const std::optional<quint64> t = number(dataType);
    if (!t)
        return std::nullopt;
    switch (*t) {
    case 0x5: return 0xFFull;
    case 0x6: return 0xFFFFull;
    case 0x7: return 0xFFFFFFFFull;
    default: return std::nullopt;
    }
}

const QRegularExpression kObject(QStringLiteral("^([0-9A-F]{4})$"));
const QRegularExpression kSub(QStringLiteral("^([0-9A-F]{4})sub([0-9A-F]{1,2})$"));

}  // namespace

EdsFile readEds(const QByteArray& bytes, QStringList* faults)
{
    EdsFile file;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        faults->append(QStringLiteral("byte-order mark"));
    for (char ch : bytes)
        if (static_cast<unsigned char>(ch) >= 0x80) {
            faults->append(QStringLiteral("a byte that is not ASCII"));
            break;
        }
    if (!bytes.endsWith("\r\n"))
        faults->append(QStringLiteral("the last line has no CR LF"));
    const QList<QByteArray> lines = bytes.split('\n');
    QSet<QString> names;
    QSet<QString> keys;
    for (qsizetype i = 0; i + 1 < lines.size() || (i < lines.size() && !lines[i].isEmpty()); ++i) {
        QByteArray line = lines[i];
        if (!line.endsWith('\r')) {
            faults->append(QStringLiteral("line %1 ends with a lone LF").arg(i + 1));
            continue;
        }
        line.chop(1);
        if (line.contains('\r')) {
            faults->append(QStringLiteral("line %1 holds a lone CR").arg(i + 1));
            continue;
        }
        const QString text = QString::fromLatin1(line);
        if (text.isEmpty())
            continue;
        if (text.startsWith(u'[')) {
            if (!text.endsWith(u']')) {
                faults->append(QStringLiteral("line %1: section name not closed").arg(i + 1));
                continue;
            }
            const QString name = text.mid(1, text.size() - 2);
            if (names.contains(name.toLower()))
                faults->append(QStringLiteral("section [%1] repeated").arg(name));
            names.insert(name.toLower());
            file.sections.append({name, {}});
            keys.clear();
            continue;
        }
        const qsizetype eq = text.indexOf(u'=');
        if (eq <= 0 || file.sections.isEmpty()) {
            faults->append(QStringLiteral("line %1 is no key outside a section").arg(i + 1));
            continue;
        }
        const QString key = text.left(eq);
        if (keys.contains(key.toLower()))
            faults->append(
                QStringLiteral("key %1 repeated in [%2]").arg(key, file.sections.back().name));
        keys.insert(key.toLower());
        file.sections.back().keys.append({key, text.mid(eq + 1)});
    }
    return file;
}

QStringList edsFaults(const QByteArray& bytes)
{
    QStringList faults;
    const EdsFile file = readEds(bytes, &faults);

    const QStringList head = {"FileInfo",           "DeviceInfo",       "Comments",
                              "DummyUsage",         "MandatoryObjects", "OptionalObjects",
                              "ManufacturerObjects"};
    for (qsizetype i = 0; i < head.size(); ++i)
        if (i >= file.sections.size() || file.sections[i].name != head[i])
            faults.append(QStringLiteral("[%1] is not section %2").arg(head[i]).arg(i + 1));

    // The object lists: numbered 1 to SupportedObjects, every object listed once.
    QList<int> listed;
    for (const char* list : {"MandatoryObjects", "OptionalObjects", "ManufacturerObjects"}) {
        const EdsSection* s = file.section(QLatin1String(list));
        if (!s)
            continue;
        const std::optional<quint64> count = number(
            s->value(QStringLiteral("SupportedObjects")).value_or(QString()));
        if (!count) {
            faults.append(QStringLiteral("[%1] without SupportedObjects").arg(list));
            continue;
        }
        if (qsizetype(*count) + 1 != s->keys.size())
            faults.append(QStringLiteral("[%1] lists %2 entries for SupportedObjects=%3")
                              .arg(list)
                              .arg(s->keys.size() - 1)
                              .arg(*count));
        for (quint64 n = 1; n <= *count; ++n) {
            const std::optional<QString> v = s->value(QString::number(n));
            const std::optional<quint64> index = v ? number(*v) : std::nullopt;
            if (!index || !v->startsWith(QLatin1String("0x")) || v->size() != 6) {
                faults.append(QStringLiteral("[%1] entry %2 is no index").arg(list).arg(n));
                continue;
            }
            if (listed.contains(int(*index)))
                faults.append(QStringLiteral("0x%1 listed twice").arg(*index, 4, 16));
            listed.append(int(*index));
        }
    }
    for (int index : listed)
        if (!file.section(QStringLiteral("%1").arg(index, 4, 16, QLatin1Char('0')).toUpper()))
            faults.append(QStringLiteral("0x%1 listed without its section").arg(index, 4, 16));

    auto countIn = [&](int from, int to) {
        int n = 0;
        for (int index : listed)
            n += index >= from && index <= to;
        return n;
    };
    if (const EdsSection* d = file.section(QStringLiteral("DeviceInfo"))) {
        if (number(d->value(QStringLiteral("NrOfRXPDO")).value_or(QString()))
            != quint64(countIn(0x1400, 0x15FF)))
            faults.append(QStringLiteral("NrOfRXPDO differs from the 0x1400 objects"));
        if (number(d->value(QStringLiteral("NrOfTXPDO")).value_or(QString()))
            != quint64(countIn(0x1800, 0x19FF)))
            faults.append(QStringLiteral("NrOfTXPDO differs from the 0x1800 objects"));
    }

    // Object sections: each listed; sub-sections right after their head, rising, as many as
    // SubNumber says; values within their data type.
    for (qsizetype i = 0; i < file.sections.size(); ++i) {
        const EdsSection& s = file.sections[i];
        const QRegularExpressionMatch object = kObject.match(s.name);
        const QRegularExpressionMatch sub = kSub.match(s.name);
        if (sub.hasMatch()) {
            const QString owner = sub.captured(1);
            const int subIndex = sub.captured(2).toInt(nullptr, 16);
            const EdsSection& before = file.sections[i - 1];
            const QRegularExpressionMatch prevSub = kSub.match(before.name);
            const bool follows = (before.name == owner && before.value(QStringLiteral("SubNumber")))
                                 || (prevSub.hasMatch() && prevSub.captured(1) == owner
                                     && prevSub.captured(2).toInt(nullptr, 16) < subIndex);
            if (!follows)
                faults.append(QStringLiteral("[%1] does not follow its head or a lower sub-index")
                                  .arg(s.name));
        }
        if (!object.hasMatch() && !sub.hasMatch())
            continue;
        if (object.hasMatch()) {
            const int index = object.captured(1).toInt(nullptr, 16);
            if (!listed.contains(index))
                faults.append(QStringLiteral("[%1] is not listed").arg(s.name));
            if (const std::optional<QString> subNumber = s.value(QStringLiteral("SubNumber"))) {
                int subs = 0;
                for (qsizetype j = i + 1;
                     j < file.sections.size()
                     && kSub.match(file.sections[j].name).captured(1) == s.name;
                     ++j)
                    ++subs;
                if (number(*subNumber) != quint64(subs))
                    faults.append(QStringLiteral("[%1] SubNumber=%2 with %3 sub-sections")
                                      .arg(s.name, *subNumber)
                                      .arg(subs));
                continue;
            }
        }
        const std::optional<QString> type = s.value(QStringLiteral("DataType"));
        if (!type) {
            faults.append(QStringLiteral("[%1] has no DataType").arg(s.name));
            continue;
        }
        const std::optional<quint64> max = typeMax(*type);
        for (const char* key : {"DefaultValue", "LowLimit", "HighLimit"}) {
            const std::optional<QString> v = s.value(QLatin1String(key));
            if (!v || !max || v->startsWith(QLatin1String("$NODEID")))
                continue;
            const std::optional<quint64> n = number(*v);
            if (!n || *n > *max)
                faults.append(QStringLiteral("[%1] %2=%3 outside its data type")
                                  .arg(s.name, QLatin1String(key), *v));
        }
        // A mapping entry points at an existing mappable 8-bit entry.
        const int owner = (object.hasMatch() ? object : sub).captured(1).toInt(nullptr, 16);
        const int subIndex = sub.hasMatch() ? sub.captured(2).toInt(nullptr, 16) : 0;
        const bool mapping = (owner >= 0x1600 && owner <= 0x17FF)
                             || (owner >= 0x1A00 && owner <= 0x1BFF);
        if (mapping && subIndex >= 1) {
            const quint64 entry =
                number(s.value(QStringLiteral("DefaultValue")).value_or(QString())).value_or(0);
            const QString target = QStringLiteral("%1sub%2")
                                       .arg(entry >> 16, 4, 16, QLatin1Char('0'))
                                       .arg((entry >> 8) & 0xFF, 0, 16)
                                       .toUpper()
                                       .replace(QLatin1String("SUB"), QLatin1String("sub"));
            const EdsSection* t = file.section(target);
            if ((entry & 0xFF) != 8 || !t || t->value(QStringLiteral("PDOMapping")) != u"1"
                || number(t->value(QStringLiteral("DataType")).value_or(QString())) != 5u)
                faults.append(QStringLiteral("[%1] maps no existing mappable 8-bit entry (%2)")
                                  .arg(s.name, target));
        }
    }
    return faults;
}

}  // namespace zfw::test
