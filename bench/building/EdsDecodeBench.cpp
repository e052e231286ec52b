// Decoding a target configuration of 200 members from an EDS file of about 2 MB: the file read,
// indexed once, and each member's parameter and enumeration looked up.

#include "editors/building/core/UTargetConfig.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// An EDS with `params` parameters, each with an enumeration, a [Connection Manager] section,
// padding comments up to about `bytes`, and one assembly naming the first `members`.
QByteArray makeEds(int params, int members, qsizetype bytes)
{
    QByteArray eds = "[File]\r\n  DescText = \"bench\";\r\n[Device]\r\n  VendCode = 1;\r\n";
    eds += "[Connection Manager]\r\n";
    for (int i = 1; i <= 50; ++i)
        eds += "  Connection" + QByteArray::number(i) +
               " = 0x04030002,0x44640405,,,,,,,,,4,Assem1,\"Conn\",\"\",\"20 04 24 64 2C 96 2C 64\";\r\n";
    eds += "[Params]\r\n";
    for (int i = 1; i <= params; ++i) {
        const QByteArray n = QByteArray::number(i);
        eds += "  Param" + n + " =\r\n      0, \"\", \"\",   $ link, path\r\n      0x0000, 0xC7, 2,"
               "\r\n      \"Parameter " + n + "\", \"\", \"help text\",\r\n      0, 60000, " + n +
               ";\r\n";
        eds += "  Enum" + n + " = 0, \"Off\", 1, \"On\", 2, \"Auto\";\r\n";
    }
    eds += "[Assembly]\r\n  Assem1 = \"Config\", \"\", " + QByteArray::number(members * 16)
           + ",,,,\r\n";
    for (int i = 1; i <= members; ++i)
        eds += "      16, Param" + QByteArray::number(i) + (i == members ? ";\r\n" : ",\r\n");
    eds += "[Padding]\r\n";
    while (eds.size() < bytes)
        eds += "$ padding comment line to make the file as large as a big device description\r\n";
    return eds;
}

void BM_DecodeTargetConf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.eds"));
    const QByteArray eds = makeEds(4000, int(state.range(0)), 2 * 1024 * 1024);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(eds) != eds.size()) {
        state.SkipWithError("cannot write the EDS file");
        return;
    }
    f.close();
    for (auto _ : state) {
        zfw::TTargetConfig t;
        t.FileName = path;
        t.Size = QStringLiteral("400");
        t.Format = QStringLiteral("Assem1");
        QString error;
        if (!t.DecodeTargetConf(&error) || t.ListParamObject.size() != state.range(0)) {
            state.SkipWithError("decoding failed");
            return;
        }
        benchmark::DoNotOptimize(t.GetConfigStrData());
    }
    state.counters["file_bytes"] = double(eds.size());
}
BENCHMARK(BM_DecodeTargetConf)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace
