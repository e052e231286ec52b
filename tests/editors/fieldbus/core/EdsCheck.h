#pragma once
// A strict reader of EDS files of its own, independent of the writer: it reads the bytes as a
// configuration tool would and reports every rule of the format a file breaks. An empty list
// means the file is sound.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace zfw::test {

struct EdsSection {
    QString name;
    QList<std::pair<QString, QString>> keys;  // in file order

    std::optional<QString> value(const QString& key) const
    {
        for (const auto& [k, v] : keys)
            if (k.compare(key, Qt::CaseInsensitive) == 0)
                return v;
        return std::nullopt;
    }
};

struct EdsFile {
    QList<EdsSection> sections;  // in file order
    const EdsSection* section(const QString& name) const
    {
        for (const EdsSection& s : sections)
            if (s.name.compare(name, Qt::CaseInsensitive) == 0)
                return &s;
        return nullptr;
    }
};

// Parses bytes; problems are appended to *faults.
EdsFile readEds(const QByteArray& bytes, QStringList* faults);
// Every rule of the format the file breaks.
QStringList edsFaults(const QByteArray& bytes);

}  // namespace zfw::test
