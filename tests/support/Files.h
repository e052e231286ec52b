#pragma once
// Whole-file reading and writing for tests.

#include <QByteArray>
#include <QFile>
#include <QString>

namespace zfw::test {

// Replaces the file with bytes; false when it cannot be written completely.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// The file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace zfw::test
