// The printer's contract, run against PDF files written by the Qt printer and against the
// fake that tests of its callers use; then what only the PDF output and the print dialog's
// mapping onto Qt's printer can get wrong.

#include "platform/Printer.h"

#include "support/CaseName.h"
#include "support/FakePrinter.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <type_traits>

namespace zfw {
namespace {

using test::FakePrinter;

// Pages in a PDF file: its page objects ("/Type /Page", not the "/Pages" tree).
int pdfPageCount(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray pdf = f.readAll();
    if (!pdf.startsWith("%PDF-"))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    return int(QString::fromLatin1(pdf).count(page));
}

struct PdfTarget {
    QTemporaryDir dir;
    QtPrinter printer;
    QString path() const { return dir.filePath(QStringLiteral("out.pdf")); }
    PrintSetup setup()
    {
        PrintSetup s;
        s.documentName = QStringLiteral("Rules");
        s.outputFile = path();
        s.resolution = 72;
        return s;
    }
    // Pages of the printed document; nullopt when none was printed.
    std::optional<int> printedPages() const
    {
        if (!QFile::exists(path()))
            return std::nullopt;
        return pdfPageCount(path());
    }
};

struct FakeTarget {
    FakePrinter printer;
    PrintSetup setup()
    {
        PrintSetup s;
        s.documentName = QStringLiteral("Rules");
        return s;
    }
    std::optional<int> printedPages() const
    {
        if (printer.printed.empty())
            return std::nullopt;
        return int(printer.printed.back().pages.size());
    }
};

template <typename T>
class PrinterContract : public ::testing::Test {
protected:
    T target;
};

using Implementations = ::testing::Types<PdfTarget, FakeTarget>;

class ImplementationNames {
public:
    template <typename T>
    static std::string GetName(int)
    {
        return std::is_same_v<T, PdfTarget> ? "Pdf" : "Fake";
    }
};

TYPED_TEST_SUITE(PrinterContract, Implementations, ImplementationNames);

TYPED_TEST(PrinterContract, PagesDrawnAreThePagesPrinted)
{
    QString error;
    auto job = this->target.printer.begin(this->target.setup(), &error);
    ASSERT_TRUE(job) << error.toStdString();
    EXPECT_TRUE(job->painter().isActive());
    for (int page = 0; page < 3; ++page) {
        if (page > 0) {
            ASSERT_TRUE(job->newPage());
        }
        job->painter().drawText(job->pageRect(), Qt::AlignCenter, QString::number(page + 1));
    }
    EXPECT_FALSE(this->target.printedPages()) << "nothing is printed before the end";
    ASSERT_TRUE(job->finish(&error)) << error.toStdString();
    EXPECT_EQ(this->target.printedPages(), 3);
}

TYPED_TEST(PrinterContract, PageRectFollowsSizeOrientationAndResolution)
{
    PrintSetup s = this->target.setup();
    QString error;
    auto portrait = this->target.printer.begin(s, &error);
    ASSERT_TRUE(portrait) << error.toStdString();
    const QRect p = portrait->pageRect();
    const int dpi = portrait->resolution();
    ASSERT_TRUE(portrait->finish(&error));
    // A4 is 210 mm x 297 mm; the printable area is at most that.
    EXPECT_EQ(p.topLeft(), QPoint(0, 0));
    EXPECT_LE(p.width(), qRound(210 / 25.4 * dpi) + 1);
    EXPECT_GT(p.width(), qRound(180 / 25.4 * dpi));
    EXPECT_GT(p.height(), p.width());

    s.orientation = QPageLayout::Landscape;
    auto landscape = this->target.printer.begin(s, &error);
    ASSERT_TRUE(landscape) << error.toStdString();
    EXPECT_EQ(landscape->pageRect().size(), p.size().transposed());
    ASSERT_TRUE(landscape->finish(&error));
}

TYPED_TEST(PrinterContract, AnAbandonedJobPrintsNothing)
{
    QString error;
    {
        auto job = this->target.printer.begin(this->target.setup(), &error);
        ASSERT_TRUE(job) << error.toStdString();
        job->painter().drawLine(0, 0, 100, 100);
        job->newPage();
    }
    EXPECT_FALSE(this->target.printedPages());
}

TEST(PdfPrinter, AFileIsReplacedOnlyByACompleteDocument)
{
    PdfTarget t;
    QFile old(t.path());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("earlier");
    old.close();
    QString error;
    {
        auto job = t.printer.begin(t.setup(), &error);
        ASSERT_TRUE(job) << error.toStdString();
        job->painter().drawText(10, 10, QStringLiteral("abandoned"));
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "earlier");
    old.close();

    auto job = t.printer.begin(t.setup(), &error);
    ASSERT_TRUE(job) << error.toStdString();
    ASSERT_TRUE(job->finish(&error));
    EXPECT_EQ(pdfPageCount(t.path()), 1);
    EXPECT_FALSE(job->finish(&error)) << "ending twice";
    EXPECT_FALSE(error.isEmpty());
}

TEST(PdfPrinter, AFolderThatDoesNotExistIsAnErrorNamingTheFile)
{
    QTemporaryDir dir;
    PrintSetup s;
    s.outputFile = dir.filePath(QStringLiteral("missing/out.pdf"));
    QString error;
    QtPrinter printer;
    EXPECT_FALSE(printer.begin(s, &error));
    EXPECT_TRUE(error.contains(s.outputFile)) << error.toStdString();
}

TEST(FakePrinterTest, PagesAreImagesAtTheFakesResolution)
{
    FakePrinter printer;
    printer.dotsPerInch = 36;
    QString error;
    auto job = printer.begin(PrintSetup(), &error);
    ASSERT_TRUE(job);
    job->painter().fillRect(QRect(10, 10, 5, 5), Qt::black);
    ASSERT_TRUE(job->finish(&error));
    ASSERT_EQ(printer.printed.size(), 1u);
    const QImage& page = printer.printed[0].pages[0];
    EXPECT_EQ(page.size(), QSize(298, 421));  // A4 at 36 dpi
    EXPECT_EQ(page.pixelColor(12, 12), QColor(Qt::black));
    EXPECT_EQ(page.pixelColor(20, 20), QColor(Qt::white));
}

TEST(FakePrinterTest, ScriptedFailuresAtTheStartAndAtTheEnd)
{
    FakePrinter printer;
    QString error;
    printer.failText = QStringLiteral("offline");
    EXPECT_FALSE(printer.begin(PrintSetup(), &error));
    EXPECT_EQ(error, QStringLiteral("offline"));

    printer.failText.clear();
    printer.finishError = QStringLiteral("out of paper");
    auto job = printer.begin(PrintSetup(), &error);
    ASSERT_TRUE(job);
    EXPECT_FALSE(job->finish(&error));
    EXPECT_EQ(error, QStringLiteral("out of paper"));
    EXPECT_TRUE(printer.printed.empty());
    EXPECT_EQ(printer.abandoned, 1);
    EXPECT_EQ(printer.begun.size(), 2u);
}

struct RangeCase {
    const char* name;
    int from;
    int to;
    int expectFrom;
    int expectTo;
};

const RangeCase kRanges[] = {
    {"AllPages", 0, 0, 0, 0},         {"OnePage", 2, 2, 2, 2},           {"ARange", 2, 5, 2, 5},
    {"ReversedMeansAll", 5, 2, 0, 0}, {"BelowOneMeansAll", -1, 3, 0, 0},
};

class PrintSetupOnQtPrinter : public ::testing::TestWithParam<RangeCase> {};

TEST_P(PrintSetupOnQtPrinter, RoundTripKeepsTheChoices)
{
    const RangeCase& c = GetParam();
    PrintSetup s;
    s.documentName = QStringLiteral("Rules");
    s.outputFile = QStringLiteral("/tmp/never-written.pdf");
    s.pageSize = QPageSize(QPageSize::Letter);
    s.orientation = QPageLayout::Landscape;
    s.copies = 3;
    s.fromPage = c.from;
    s.toPage = c.to;
    QPrinter printer;
    applyPrintSetup(s, printer);
    const PrintSetup back = printSetupOf(printer, PrintSetup());
    EXPECT_EQ(back.outputFile, s.outputFile);
    EXPECT_EQ(back.pageSize.id(), QPageSize::Letter);
    EXPECT_EQ(back.orientation, QPageLayout::Landscape);
    EXPECT_EQ(back.copies, 3);
    EXPECT_EQ(back.fromPage, c.expectFrom);
    EXPECT_EQ(back.toPage, c.expectTo);
    EXPECT_EQ(printer.docName(), QStringLiteral("Rules"));
}

INSTANTIATE_TEST_SUITE_P(Ranges, PrintSetupOnQtPrinter, ::testing::ValuesIn(kRanges),
                         test::CaseName());

}  // namespace
}  // namespace zfw
