// Printing the tree: page counts, what lands on the pages, the tree's state after a print
// that failed, and a real PDF file.

#include "platform/Printer.h"
#include "tree/LazyTreesString.h"

#include "support/CaseName.h"
#include "support/FakePrinter.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace zfw::test {
namespace {

struct PageCountCase {
    const char* name;
    QSize picture;
    QSize page;
    QSize counts;
};

const PageCountCase kPageCountCases[] = {
    {"OnePage", {80, 90}, {100, 100}, {1, 1}},
    {"ExactlyTwoWide", {200, 100}, {100, 100}, {2, 1}},
    {"OnePixelMore", {201, 100}, {100, 100}, {3, 1}},
    {"ThreeDown", {100, 250}, {100, 100}, {1, 3}},
    {"Empty", {0, 0}, {100, 100}, {1, 1}},
};

class TreePrintPages : public ::testing::TestWithParam<PageCountCase> {};

TEST_P(TreePrintPages, CountsWholePagesOnly)
{
    const PageCountCase& c = GetParam();
    EXPECT_EQ(TBaseLazyTree::printPageCounts(c.picture, c.page), c.counts);
}

INSTANTIATE_TEST_SUITE_P(Cases, TreePrintPages, ::testing::ValuesIn(kPageCountCases), CaseName());

struct PrintFixture {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    FakePrinter printer;

    explicit PrintFixture(int rows)
    {
        tree->resize(300, 200);
        tree->SetRootNodeCount(std::uint32_t(rows));
        tree->OnGetText = [](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType type,
                             QString& text) {
            if (type == ttNormal)
                text = QStringLiteral("Row %1").arg(n->Index);
        };
        QPalette p = tree->palette();
        p.setColor(QPalette::Base, QColor(0x20, 0x40, 0x60));
        tree->setPalette(p);
    }
};

bool hasDarkPixel(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                return true;
    return false;
}

TEST(TreePrint, NilPrinterPrintsNothing)
{
    PrintFixture f(3);
    EXPECT_FALSE(f.tree->Print(nullptr, true));
}

TEST(TreePrint, SmallTreeFitsOnePageOnWhite)
{
    PrintFixture f(5);
    const QFont font = f.tree->font();
    const QColor base = f.tree->palette().color(QPalette::Base);
    ASSERT_TRUE(f.tree->Print(&f.printer, true));
    ASSERT_EQ(f.printer.printed.size(), 1u);
    const auto& pages = f.printer.printed[0].pages;
    ASSERT_EQ(pages.size(), 1u);
    const QImage& page = pages[0];
    // The rows' texts are dark on white; the tree's own dark background is not printed.
    EXPECT_TRUE(hasDarkPixel(page, QRect(0, 0, 200, 60)));
    EXPECT_EQ(page.pixel(page.width() - 5, page.height() / 2), qRgb(255, 255, 255));
    EXPECT_EQ(f.tree->font(), font);
    EXPECT_EQ(f.tree->palette().color(QPalette::Base), base);
}

// With shown header columns a print asked for the header puts the header's band above the
// rows, which move down by its height; without the header the rows start at the top.
TEST(TreePrint, TheHeaderIsPrintedAboveTheRowsWhenAsked)
{
    PrintFixture f(5);
    TLTHeader& header = f.tree->Header();
    header.Columns().Add().SetText(QStringLiteral("Name"));
    header.Columns().Add().SetText(QStringLiteral("Value"));
    header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
    ASSERT_TRUE(f.tree->Print(&f.printer, true));
    ASSERT_TRUE(f.tree->Print(&f.printer, false));
    ASSERT_EQ(f.printer.printed.size(), 2u);
    const QImage& with = f.printer.printed[0].pages.at(0);
    const QImage& without = f.printer.printed[1].pages.at(0);
    const int h = header.Height();
    ASSERT_GT(h, 0);
    // The band differs (captions and cell edges), and the rows below it are those printed at
    // the top without the header, moved down by its height (the band scaled as the page is).
    EXPECT_NE(with.copy(0, 0, with.width(), h / 2), without.copy(0, 0, without.width(), h / 2));
    EXPECT_TRUE(hasDarkPixel(with, QRect(0, 0, 120, h / 2)));
}

TEST(TreePrint, TallTreeGoesOnSeveralPagesOfOneSize)
{
    PrintFixture f(400);  // 7,200 pixels high
    ASSERT_TRUE(f.tree->Print(&f.printer, false));
    ASSERT_EQ(f.printer.printed.size(), 1u);
    const auto& pages = f.printer.printed[0].pages;
    // An A4 page at the printer's resolution holds about 1,100 tree pixels.
    EXPECT_GE(pages.size(), 6u);
    EXPECT_LE(pages.size(), 8u);
    // Every page carries rows, the last one too.
    for (const QImage& page : pages)
        EXPECT_TRUE(hasDarkPixel(page, QRect(0, 0, 120, 60)));
}

TEST(TreePrint, FailuresAbandonTheJobAndRestoreTheTree)
{
    PrintFixture f(50);
    const QFont font = f.tree->font();
    const QColor base = f.tree->palette().color(QPalette::Base);
    f.tree->OnGetText = [](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType, QString&) {
        if (n->Index == 20)
            throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(f.tree->Print(&f.printer, false), std::runtime_error);
    EXPECT_TRUE(f.printer.printed.empty());
    EXPECT_EQ(f.printer.abandoned, 1);
    EXPECT_EQ(f.tree->font(), font);
    EXPECT_EQ(f.tree->palette().color(QPalette::Base), base);
    EXPECT_EQ(f.tree->UpdateCount(), 0);

    f.tree->OnGetText = nullptr;
    f.printer.failText = QStringLiteral("no printer");
    QString error;
    EXPECT_FALSE(f.tree->Print(&f.printer, false, PrintSetup(), &error));
    EXPECT_EQ(error, "no printer");
    f.printer.failText.clear();
    f.printer.finishError = QStringLiteral("out of paper");
    EXPECT_FALSE(f.tree->Print(&f.printer, false, PrintSetup(), &error));
    EXPECT_EQ(error, "out of paper");
    EXPECT_EQ(f.tree->palette().color(QPalette::Base), base);
}

TEST(TreePrint, WritesAPdfFileOffscreen)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PrintFixture f(100);  // 1,800 pixels: two pages down
    QtPrinter printer;
    PrintSetup setup;
    setup.documentName = QStringLiteral("Tree");
    setup.outputFile = dir.filePath(QStringLiteral("tree.pdf"));
    QString error;
    ASSERT_TRUE(f.tree->Print(&printer, true, setup, &error)) << error.toStdString();
    QFile file(setup.outputFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    const auto pages = QString::fromLatin1(pdf).count(QRegularExpression("/Type\\s*/Page[^s]"));
    EXPECT_EQ(pages, 2);
}

}  // namespace
}  // namespace zfw::test
