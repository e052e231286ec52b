#include "editors/building/core/UEDSText.h"

#include "common/IntText.h"
#include "common/TextUtil.h"
#include "common/ULanguage.h"

#include <QFile>
#include <QFileInfo>

#include <limits>

namespace zfw {

std::optional<QStringList> readEdsLines(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot read the EDS file %1").arg(QFileInfo(path).fileName());
        return std::nullopt;
    }
    const QString text = decodeTextFile(f.readAll());
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || c == u'\r') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

QString prepareEdsLine(QStringView raw)
{
    QString line = trimBlanks(raw);
    const qsizetype dollar = line.indexOf(u'$');
    if (dollar >= 0)
        line = trimBlanks(QStringView(line).left(dollar));
    return line;
}

std::optional<qint64> parseEdsInt64(QStringView s)
{
    const auto n = scanIntText(s, quint64(std::numeric_limits<qint64>::max()) + 1,
                               std::numeric_limits<quint64>::max());
    if (!n)
        return std::nullopt;
    if (!n->hex && !n->negative && n->magnitude > quint64(std::numeric_limits<qint64>::max()))
        return std::nullopt;
    // Unsigned arithmetic keeps -2^63 and the hexadecimal patterns defined.
    return n->negative ? qint64(0 - n->magnitude) : qint64(n->magnitude);
}

QStringList splitEdsCommaList(QStringView text)
{
    QStringList fields;
    if (text.isEmpty())
        return fields;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        qsizetype first = i;
        while (first < n && text[first] == u' ')
            ++first;
        if (first < n && text[first] == u'"') {
            QString field;
            qsizetype j = first + 1;
            while (j < n) {
                if (text[j] == u'"') {
                    if (j + 1 < n && text[j + 1] == u'"') {
                        field.append(u'"');
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                field.append(text[j]);
                ++j;
            }
            fields.append(field);
            // What stands between the closing quote and the next "," is a further field,
            // unless it is only blanks, which would shift every later pair by one.
            const qsizetype comma = text.indexOf(u',', j);
            const QStringView rest = text.mid(j, (comma < 0 ? n : comma) - j);
            if (!trimBlanks(rest).isEmpty())
                fields.append(rest.toString());
            if (comma < 0)
                return fields;
            i = comma + 1;
        } else {
            const qsizetype comma = text.indexOf(u',', i);
            if (comma < 0) {
                fields.append(text.mid(i).toString());
                return fields;
            }
            fields.append(text.mid(i, comma - i).toString());
            i = comma + 1;
        }
        if (i >= n) {
            fields.append(QString());
            return fields;
        }
    }
}

EdsIndex::EdsIndex(const QStringList& rawLines)
{
    m_lines.reserve(rawLines.size());
    for (const QString& raw : rawLines) {
        QString line = prepareEdsLine(raw);
        if (!line.isEmpty())
            m_lines.append(std::move(line));
    }
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        if (line.contains(u'[') && line.contains(u']')) {
            if (!m_sections.isEmpty())
                m_sections.last().end = i;
            Section s;
            s.header = i;
            s.end = m_lines.size();
            m_sections.append(std::move(s));
            continue;
        }
        if (m_sections.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0)
            m_sections.last().keys[trimBlanks(QStringView(line).left(eq))].append(i);
    }
}

const EdsIndex::Section* EdsIndex::section(QStringView marker) const
{
    for (const Section& s : m_sections)
        if (m_lines[s.header].contains(marker))
            return &s;
    return nullptr;
}

QList<qsizetype> EdsIndex::keyLines(const Section& s, const QString& key) const
{
    return s.keys.value(key);
}

}  // namespace zfw
