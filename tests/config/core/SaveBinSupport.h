#pragma once
// Shared pieces of the bank-image tests: a project folder in a fresh program state, and the
// reader of the readable expected-image files of tests/data/config/bank.

#include "common/UComon.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zfw::test {

inline QString bankDataDir() { return QStringLiteral(ZFW_TEST_DATA_DIR "/config/bank"); }

// Expected image of size bytes from lines "<offset> u8|u16|u32 <value>", "<offset> bytes
// <hh>...", or "<offset> u32 sum" (sum of the expected bytes before offset); "#" starts a
// comment; bytes not listed are 0. A line that does not parse is a test failure.
inline QByteArray parseExpectedImage(const QString& path, int size)
{
    QByteArray image(size, '\0');
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return image;
    }
    int lineNo = 0;
    while (!f.atEnd()) {
        ++lineNo;
        QString line = QString::fromUtf8(f.readLine());
        line = line.left(line.indexOf(QLatin1Char('#'))).trimmed();
        if (line.isEmpty())
            continue;
        const QStringList t = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const auto where = [&] { return path.toStdString() + ":" + std::to_string(lineNo); };
        bool ok = false;
        const int offset = t.value(0).toInt(&ok);
        if (!ok || t.size() < 3) {
            ADD_FAILURE() << "bad line " << where();
            continue;
        }
        const QString kind = t[1];
        auto put = [&](int at, quint8 v) {
            if (at < 0 || at >= size)
                ADD_FAILURE() << "offset out of image at " << where();
            else
                image[at] = char(v);
        };
        if (kind == QLatin1String("bytes")) {
            for (int i = 2; i < t.size(); ++i) {
                const uint v = t[i].toUInt(&ok, 16);
                if (!ok || v > 0xFF)
                    ADD_FAILURE() << "bad byte at " << where();
                put(offset + i - 2, quint8(v));
            }
            continue;
        }
        const int width = kind == QLatin1String("u8")    ? 1
                          : kind == QLatin1String("u16") ? 2
                          : kind == QLatin1String("u32") ? 4
                                                         : 0;
        if (width == 0) {
            ADD_FAILURE() << "bad kind at " << where();
            continue;
        }
        quint32 value = 0;
        if (t[2] == QLatin1String("sum")) {
            for (int i = 0; i < offset; ++i)
                value += quint8(image[i]);
        } else {
            value = t[2].toUInt(&ok, 0);
            if (!ok)
                ADD_FAILURE() << "bad value at " << where();
        }
        for (int i = 0; i < width; ++i)
            put(offset + i, quint8(value >> (8 * i)));
    }
    return image;
}

// Differences between two images as "offset: got xx, expected yy" lines (at most 20).
inline std::string imageDiff(const QByteArray& got, const QByteArray& expected)
{
    std::string out;
    if (got.size() != expected.size())
        out += "size " + std::to_string(got.size()) + ", expected "
               + std::to_string(expected.size()) + "\n";
    int shown = 0;
    for (qsizetype i = 0; i < std::min(got.size(), expected.size()) && shown < 20; ++i) {
        if (got[i] != expected[i]) {
            out += QStringLiteral("%1: got %2, expected %3\n")
                       .arg(i)
                       .arg(quint8(got[i]), 2, 16, QLatin1Char('0'))
                       .arg(quint8(expected[i]), 2, 16, QLatin1Char('0'))
                       .toStdString();
            ++shown;
        }
    }
    return out;
}

// A fresh program state with an active, empty project folder.
class BankProjectTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ASSERT_TRUE(QDir(root()).mkpath(QStringLiteral("PROJECTS/Plant")));
        ProgramState& s = programState();
        s.Dir_Project = path(QStringLiteral("PROJECTS/Plant"));
        s.Project_Name = QStringLiteral("Plant");
        Set_Files(s);
    }

    QString projectFile(const QString& name) const
    {
        return joinPath(programState().Dir_Project, name);
    }
    QString binFile(const QString& name) const
    {
        return joinPath(joinPath(programState().Dir_Project, QStringLiteral("bin")), name);
    }
    void writeProjectFile(const QString& name, const QByteArray& bytes) const
    {
        ASSERT_TRUE(test::writeFile(projectFile(name), bytes));
    }
    // Copies the project files of a golden case folder into the project.
    void copyCase(const QString& caseDir) const
    {
        for (const char* name : {"ParGen.xml", "S7_Protocol.xml", "LoRaWAN_SetAccess.xml"}) {
            const QString from = caseDir + QLatin1Char('/') + QLatin1String(name);
            QFile::remove(projectFile(QLatin1String(name)));
            if (QFile::exists(from)) {
                ASSERT_TRUE(QFile::copy(from, projectFile(QLatin1String(name))));
            }
        }
    }
};

}  // namespace zfw::test
