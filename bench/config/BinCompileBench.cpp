// Compiling and writing both bank images of a project whose rule tables are full, through
// the compiler's inner functions; reading hostile project files.

#include "common/ProjectXml.h"
#include "config/core/USaveBincc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace zfw;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray loRaTable(const char* name, int count, bool uplink)
{
    QByteArray out = QByteArray("  <") + name + ">\n";
    for (int i = 0; i < count; ++i) {
        out += "    <row Enable=\"Y\" StartByte=\"" + QByteArray::number(i * 6)
               + "\" NumByte=\"6\"";
        if (uplink)
            out += " OnChange=\"Y\" OnCMD=\"N\" OnTimer=\"Y\" Time=\"60\"";
        out += " FPort=\"" + QByteArray::number(1 + i % 223) + "\" Mnemonic=\"rule "
               + QByteArray::number(i) + "\"/>\n";
    }
    return out + "  </" + name + ">\n";
}

QByteArray s7Table(const char* name, int count, bool write)
{
    QByteArray out = QByteArray("  <") + name + ">\n";
    for (int i = 0; i < count; ++i) {
        out += "    <row Enable=\"Y\" PLC_Address=\"192.168.1." + QByteArray::number(1 + i % 250)
               + "\" PLC_Port=\"102\" PLC_Type=\"S71500\" Rack=\"0\" Slot=\"1\" Data_Type=\"Word\""
                 " Data_Identifier=\"DB\" DB_Number=\"" + QByteArray::number(i)
               + "\" PLC_Area=\"Direct peripheral access (P)\" PLC_Add=\"" + QByteArray::number(i * 2)
               + "\" PLC_Bit=\"0\" PollTime=\"1000\"";
        if (write)
            out += " OnChange=\"Y\" OnCMD=\"N\"";
        out += " Position=\"" + QByteArray::number(i % 1500)
               + "\" Bit=\"0\" Swap=\"N\" SwapWord=\"N\" Mnemonic=\"rule " + QByteArray::number(i)
               + "\"/>\n";
    }
    return out + "  </" + name + ">\n";
}

// A project with ParGen.xml and every table at its capacity: 256 + 256 LoRaWAN rules and
// 512 + 512 S7 rules. No program state: the compiler gets the folder.
struct FullProject {
    QTemporaryDir dir;

    FullProject()
    {
        const BinSourceFiles files = binSourceFiles(dir.path());
        writeFile(
            files.File_ParGen,
            "<Par_Gen>\n<Eth_Conn_Device_Name>bench</Eth_Conn_Device_Name>\n"
            "<Eth_Conn_Enable_DNS>1</Eth_Conn_Enable_DNS>\n"
            "<LoRa_RF_Band>EU868</LoRa_RF_Band>\n"
            "<LoRa_DataRate>5 -\tLoRa: SF7/125kHz 5470 [bit/s]</LoRa_DataRate>\n"
            "<LoRa_Payload_Size>222</LoRa_Payload_Size>\n"
            "<LoRa_Activation_Method>Over-the-Air Activation [OTAA]</LoRa_Activation_Method>\n"
            "<LoRa_JoinEUI>70B3D57ED0001234</LoRa_JoinEUI>\n"
            "<LoRa_Application_Key>000102030405060708090A0B0C0D0E0F</LoRa_Application_Key>\n"
            "<LoRa_FPort>Variable</LoRa_FPort>\n"
            "<S7_Protocol_EN_GAT>1</S7_Protocol_EN_GAT>\n</Par_Gen>\n"
            "<!--SW_VERSION = 1.002-->\n");
        writeFile(files.File_LoRaWAN_SetAccess,
                  "<LoRaWAN_Set_Access>\n" + loRaTable("LoRaWAN_Uplink", 256, true)
                      + loRaTable("LoRaWAN_Downlink", 256, false)
                      + "</LoRaWAN_Set_Access>\n<!--SW_VERSION = 1.002-->\n");
        writeFile(files.File_S7_Protocol, "<S7_Protocol>\n"
                                              + s7Table("S7_Protocol_Read", 512, false)
                                              + s7Table("S7_Protocol_Write", 512, true)
                                              + "</S7_Protocol>\n<!--SW_VERSION = 1.002-->\n");
    }
};

void BM_CompileAndSaveFullProject(benchmark::State& state)
{
    FullProject project;
    for (auto _ : state) {
        const BinCompileResult compiled = compileBinProject(project.dir.path());
        const FileResult saved = saveBinImages(project.dir.path(), compiled.bank1, compiled.bank2);
        if (!compiled.ok() || !saved.ok) {
            state.SkipWithError("compilation or save failed");
            break;
        }
        benchmark::DoNotOptimize(compiled.bank2.size());
    }
}
BENCHMARK(BM_CompileAndSaveFullProject)->Unit(benchmark::kMillisecond);

void BM_CompileFullProject(benchmark::State& state)
{
    FullProject project;
    for (auto _ : state) {
        const BinCompileResult compiled = compileBinProject(project.dir.path());
        if (!compiled.ok()) {
            state.SkipWithError("compilation failed");
            break;
        }
        benchmark::DoNotOptimize(compiled.bank2.size());
    }
}
BENCHMARK(BM_CompileFullProject)->Unit(benchmark::kMillisecond);

// Hostile files: elements nested state.range(0) deep, refused at the depth limit, and one
// element with state.range(0) attributes, refused at the attribute limit. Both must stay
// linear in the file size.
void BM_ReadDeepFile(benchmark::State& state)
{
    const int depth = int(state.range(0));
    const QByteArray bytes = QByteArray("<a>").repeated(depth) + QByteArray("</a>").repeated(depth);
    for (auto _ : state) {
        const ProjectXmlLoad r = parseProjectXml(bytes, QStringLiteral("deep.xml"));
        benchmark::DoNotOptimize(r.status);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadDeepFile)->Arg(50000)->Arg(200000)->Unit(benchmark::kMillisecond);

void BM_ReadManyAttributes(benchmark::State& state)
{
    QByteArray bytes = "<P><row";
    for (int i = 0; i < state.range(0); ++i)
        bytes += " a" + QByteArray::number(i) + "=\"1\"";
    bytes += "/></P>";
    for (auto _ : state) {
        const ProjectXmlLoad r = parseProjectXml(bytes, QStringLiteral("wide.xml"));
        benchmark::DoNotOptimize(r.status);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadManyAttributes)->Arg(256)->Arg(30000)->Unit(benchmark::kMillisecond);

}  // namespace
