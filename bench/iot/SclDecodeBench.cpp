// The SCL decoder on a generated ICD of 10 logical devices x 50 logical nodes x 20 data
// objects of 10 attributes each (100,000 attributes, one data set of 20 members per logical
// device), and the client file reopened over a catalogue of five such files.

#include "editors/iot/core/UIEC_61850_ClientFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zfw;

QByteArray generatedIcd(const QByteArray& iedName)
{
    QByteArray x =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SCL xmlns=\"urn:scl\">\n<IED name=\""
        + iedName + "\"><AccessPoint name=\"AP1\"><Server>\n";
    for (int ld = 0; ld < 10; ++ld) {
        x += "<LDevice inst=\"LD" + QByteArray::number(ld) + "\">\n";
        x += "<LN0 lnClass=\"LLN0\" lnType=\"LLN0_T\" inst=\"\"><DataSet name=\"DS\">";
        for (int d = 0; d < 20; ++d)
            x += "<FCDA ldInst=\"LD" + QByteArray::number(ld)
                 + "\" lnClass=\"GGIO\" lnInst=\"1\" doName=\"AnIn" + QByteArray::number(d)
                 + "\" daName=\"f\" fc=\"MX\"/>";
        x += "</DataSet><GSEControl name=\"GC\" datSet=\"DS\"/></LN0>\n";
        for (int ln = 0; ln < 49; ++ln)
            x += "<LN lnClass=\"GGIO\" lnType=\"GGIO_T\" inst=\"" + QByteArray::number(ln + 1)
                 + "\"/>\n";
        x += "</LDevice>\n";
    }
    x += "</Server></AccessPoint></IED>\n<DataTypeTemplates>\n"
         "<LNodeType id=\"LLN0_T\" lnClass=\"LLN0\">";
    for (int d = 0; d < 20; ++d)
        x += "<DO name=\"Mod" + QByteArray::number(d) + "\" type=\"MV_T\"/>";
    x += "</LNodeType>\n<LNodeType id=\"GGIO_T\" lnClass=\"GGIO\">";
    for (int d = 0; d < 20; ++d)
        x += "<DO name=\"AnIn" + QByteArray::number(d) + "\" type=\"MV_T\"/>";
    x += "</LNodeType>\n"
         "<DOType id=\"MV_T\" cdc=\"MV\"><DA name=\"mag\" bType=\"Struct\" type=\"AV_T\" "
         "fc=\"MX\"/><DA name=\"q\" bType=\"Quality\" fc=\"MX\"/><DA name=\"t\" "
         "bType=\"Timestamp\" fc=\"MX\"/><DA name=\"units\" bType=\"Struct\" type=\"Unit_T\" "
         "fc=\"CF\"/><DA name=\"db\" bType=\"INT32U\" fc=\"CF\"/><DA name=\"d\" "
         "bType=\"VisString255\" fc=\"DC\"/></DOType>\n"
         "<DAType id=\"AV_T\"><BDA name=\"f\" bType=\"FLOAT32\"/><BDA name=\"i\" "
         "bType=\"INT32\"/></DAType>\n"
         "<DAType id=\"Unit_T\"><BDA name=\"SIUnit\" bType=\"Enum\" type=\"SI\"/><BDA "
         "name=\"multiplier\" bType=\"Enum\" type=\"Mul\"/></DAType>\n"
         "</DataTypeTemplates>\n</SCL>\n";
    return x;
}

qint64 countAttributes(const TIEC_DA& da)
{
    qint64 n = 1;
    for (const auto& b : da.List_DA)
        n += countAttributes(*b);
    return n;
}

qint64 countAttributes(const TIEC_Device& d)
{
    qint64 n = 0;
    for (const auto& ld : d.List_LDevice)
        for (const auto& ln : ld->List_LN)
            for (const auto& o : ln->List_DO)
                for (const auto& a : o->List_DA)
                    n += countAttributes(*a);
    return n;
}

void BM_DecodeGeneratedIcd(benchmark::State& state)
{
    const QByteArray icd = generatedIcd("BENCH");
    qint64 attributes = 0;
    for (auto _ : state) {
        const SclDecodeResult r = decodeSclBytes(icd, QStringLiteral("bench.icd"));
        attributes = r.device ? countAttributes(*r.device) : -1;
        benchmark::DoNotOptimize(attributes);
    }
    state.counters["attributes"] = double(attributes);
    state.counters["bytes"] = double(icd.size());
}
BENCHMARK(BM_DecodeGeneratedIcd)->Unit(benchmark::kMillisecond);

void BM_ReopenCatalogueOfFive(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString catalog = dir.filePath(QStringLiteral("ICD_Catalog"));
    QDir().mkpath(catalog);
    QByteArray client = "<IEC_68850_Client><List_ICD_Files>";
    for (int i = 0; i < 5; ++i) {
        const QByteArray name = "S" + QByteArray::number(i);
        QFile f(QDir(catalog).filePath(QString::fromLatin1(name + ".icd")));
        f.open(QIODevice::WriteOnly);
        f.write(generatedIcd(name));
        client += "<ICD_File Name=\"" + name + "\" FileName=\"" + name + ".icd\"/>";
    }
    client += "</List_ICD_Files><List_DA_Selected/><List_DataSet_Selected/></IEC_68850_Client>";
    const QString path = dir.filePath(QStringLiteral("IEC_61850_Client.xml"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(client);
    f.close();
    size_t devices = 0;
    for (auto _ : state) {
        IecClientConfig config;
        loadIecClientFile(path, catalog, config);
        devices = config.List_IEC_Dev.size();
        benchmark::DoNotOptimize(devices);
    }
    state.counters["devices"] = double(devices);
}
BENCHMARK(BM_ReopenCatalogueOfFive)->Unit(benchmark::kMillisecond);

}  // namespace
