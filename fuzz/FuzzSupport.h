#pragma once
// Pieces the fuzz targets share. A target runs many thousand inputs in one process, so
// everything it writes goes to a folder of its own that is rewritten at every input, and
// every program-wide record it touches is reset before and after the input.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zfw::fuzz {

// A private folder per target name, created on first use; the whole tree is removed when
// the process ends.
inline QString scratchDir(const char* target)
{
    static QTemporaryDir root;
    const QString dir = root.filePath(QString::fromLatin1(target));
    QDir().mkpath(dir);
    return dir;
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

// Replaces the file with bytes; false when it cannot be written completely.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A broken promise of the code under test: the fuzzer keeps the input as a crash.
[[noreturn]] inline void failed(const char* check, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, check);
    std::abort();
}

}  // namespace zfw::fuzz

#define ZFW_FUZZ_CHECK(cond)                                                                       \
    ((cond) ? static_cast<void>(0) : ::zfw::fuzz::failed(#cond, __FILE__, __LINE__))
