#pragma once
// Reading an EDS file: its text, its prepared lines and an index of its sections and keys, so
// that a decoder looks an entry up instead of scanning the file once per member.

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace zfw {

// The file's lines, decoded from UTF-8 or UTF-16 with a byte-order mark, else from UTF-8 when
// valid, else from Windows-1252. Nothing and *error set (naming the file) when it cannot be read.
std::optional<QStringList> readEdsLines(const QString& path, QString* error);

// A line trimmed, cut at its first "$" (a comment; a "$" inside quotes cuts as well) and
// trimmed again.
QString prepareEdsLine(QStringView raw);

// Decimal with a sign, or hexadecimal after "0x" or "$" (up to 16 digits give the 64-bit
// pattern); nothing for any other text. The text is taken as it stands, blanks included.
std::optional<qint64> parseEdsInt64(QStringView s);

// Fields of an entry text by the comma rule of assembly, parameter and enumeration entries:
// "," separates; an empty text has no field, a final "," adds an empty one; a field whose
// first non-blank character is a double quote runs to the closing quote ("" stands for one)
// and loses its quotes; other fields are kept as they stand.
QStringList splitEdsCommaList(QStringView text);

// The prepared non-empty lines of an EDS file, cut into sections at every line holding both
// "[" and "]", with the lines of each section indexed by their key (the text before the first
// "=", trimmed).
class EdsIndex {
public:
    explicit EdsIndex(const QStringList& rawLines);

    struct Section {
        qsizetype header = -1;  // the line holding "[" and "]"
        qsizetype end = 0;      // one past the section's last line
        QHash<QString, QList<qsizetype>> keys;
    };

    const QStringList& lines() const { return m_lines; }
    // The first section whose header line contains marker (exact case), or null.
    const Section* section(QStringView marker) const;
    // The lines of section s that start entry key, in file order.
    QList<qsizetype> keyLines(const Section& s, const QString& key) const;

private:
    QStringList m_lines;
    QList<Section> m_sections;
};

}  // namespace zfw
