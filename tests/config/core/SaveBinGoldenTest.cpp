#include "config/core/USaveBincc.h"

#include "SaveBinSupport.h"

#include <QDir>

#include <ostream>
#include <vector>

namespace zfw {
namespace {

using test::BankProjectTest;

struct GoldenCase {
    std::string name;  // folder under tests/data/config/bank
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

std::vector<GoldenCase> goldenCases()
{
    std::vector<GoldenCase> cases;
    const QStringList dirs =
        QDir(test::bankDataDir()).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& d : dirs)
        cases.push_back({d.toStdString()});
    return cases;
}

class BankGolden : public BankProjectTest, public ::testing::WithParamInterface<GoldenCase> {
protected:
    QString caseDir() const
    {
        return test::bankDataDir() + QLatin1Char('/') + QString::fromStdString(GetParam().name);
    }
};

TEST_P(BankGolden, ImagesMatchTheHandWorkedBytes)
{
    copyCase(caseDir());
    const FileResult compiled = Compile_Bin();
    ASSERT_TRUE(compiled.ok) << compiled.message.toStdString();
    const FileResult saved = Save_Bin_Files();
    ASSERT_TRUE(saved.ok) << saved.message.toStdString();

    const QByteArray bank1 = test::readFile(binFile(QStringLiteral("bank1.bin")));
    const QByteArray bank2 = test::readFile(binFile(QStringLiteral("bank2.bin")));
    ASSERT_EQ(bank1.size(), 2048);
    ASSERT_EQ(bank2.size(), 36864);
    const QByteArray want1 = test::parseExpectedImage(caseDir() + QStringLiteral("/bank1.expected"),
                                                      2048);
    const QByteArray want2 = test::parseExpectedImage(caseDir() + QStringLiteral("/bank2.expected"),
                                                      36864);
    EXPECT_TRUE(bank1 == want1) << "bank1.bin\n" << test::imageDiff(bank1, want1);
    EXPECT_TRUE(bank2 == want2) << "bank2.bin\n" << test::imageDiff(bank2, want2);
}

TEST_P(BankGolden, SecondCompilationIsByteIdentical)
{
    copyCase(caseDir());
    ASSERT_TRUE(Compile_Bin().ok);
    ASSERT_TRUE(Save_Bin_Files().ok);
    const QByteArray first1 = test::readFile(binFile(QStringLiteral("bank1.bin")));
    const QByteArray first2 = test::readFile(binFile(QStringLiteral("bank2.bin")));
    ASSERT_TRUE(Compile_Bin().ok);
    ASSERT_TRUE(Save_Bin_Files().ok);
    EXPECT_TRUE(test::readFile(binFile(QStringLiteral("bank1.bin"))) == first1);
    EXPECT_TRUE(test::readFile(binFile(QStringLiteral("bank2.bin"))) == first2);
}

// Truncated project files are bad input: a clear failure or a compiled image, never a crash,
// and a failure leaves nothing to save. The case is copied once; each cut rewrites only the cut
// file (the whole one is put back before the next file is cut) and goes through the inner
// compiler into the program's work area, which Save_Bin_Files then finds empty.
TEST_P(BankGolden, TruncatedFilesFailCleanly)
{
    copyCase(caseDir());
    const ProgramState& s = programState();
    const BinSourceFiles files{s.File_ParGen, s.File_S7_Protocol, s.File_LoRaWAN_SetAccess};
    for (const char* name : {"ParGen.xml", "S7_Protocol.xml", "LoRaWAN_SetAccess.xml"}) {
        const QByteArray whole = test::readFile(caseDir() + QLatin1Char('/') + QLatin1String(name));
        for (qsizetype cut = 0; cut < whole.size(); cut += 37) {
            writeProjectFile(QLatin1String(name), whole.left(cut));
            const BinCompileResult r = compileBinImages(files, binImages());
            if (!r.ok()) {
                EXPECT_FALSE(r.result.message.isEmpty());
                EXPECT_FALSE(Save_Bin_Files().ok) << name << " cut at " << cut;
            }
        }
        if (!whole.isEmpty())
            writeProjectFile(QLatin1String(name), whole);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BankGolden, ::testing::ValuesIn(goldenCases()),
                         [](const auto& info) { return info.param.name; });

// No earlier compilation survives into the next one.
TEST_F(BankProjectTest, RichProjectThenNoFilesGivesTheDefaults)
{
    copyCase(test::bankDataDir() + QStringLiteral("/rich_abp_variable"));
    ASSERT_TRUE(Compile_Bin().ok);
    copyCase(test::bankDataDir() + QStringLiteral("/no_files"));
    ASSERT_TRUE(Compile_Bin().ok);
    ASSERT_TRUE(Save_Bin_Files().ok);
    const QString dir = test::bankDataDir() + QStringLiteral("/no_files");
    EXPECT_TRUE(test::readFile(binFile(QStringLiteral("bank1.bin")))
                == test::parseExpectedImage(dir + QStringLiteral("/bank1.expected"), 2048));
    EXPECT_TRUE(test::readFile(binFile(QStringLiteral("bank2.bin")))
                == test::parseExpectedImage(dir + QStringLiteral("/bank2.expected"), 36864));
}

// The device finds its tables through bank1 bytes 1620 to 1631.
TEST_F(BankProjectTest, Bank1TableAddressesAndS7Count)
{
    copyCase(test::bankDataDir() + QStringLiteral("/rich_abp_variable"));
    ASSERT_TRUE(Compile_Bin().ok);
    ASSERT_TRUE(Save_Bin_Files().ok);
    const QByteArray bank1 = test::readFile(binFile(QStringLiteral("bank1.bin")));
    EXPECT_EQ(bank1.mid(1620, 12).toHex(' '), QByteArray("00 20 08 00 06 00 00 00 00 00 08 00"));
}

}  // namespace
}  // namespace zfw
