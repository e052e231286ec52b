// Printing the whole tree: painted one page tile at a time and stretched over the printer's
// pages.

#include "platform/Printer.h"
#include "tree/LazyTreesControl.h"
#include "tree/core/LazyTreesGuard.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

namespace zfw {

QSize TBaseLazyTree::printPageCounts(QSize picture, QSize page)
{
    // A picture exactly n pages wide takes n pages; counting whole pages plus one printed a
    // blank page after it.
    auto count = [](int length, int pageLength) {
        if (pageLength <= 0 || length <= 0)
            return 1;
        return std::max(1, (length + pageLength - 1) / pageLength);
    };
    return {count(picture.width(), page.width()), count(picture.height(), page.height())};
}

int TBaseLazyTree::printHeaderHeight() const
{
    return FHeader->UseColumns() && FHeader->Options().contains(hoVisible) ? FHeader->Height() : 0;
}

void TBaseLazyTree::paintHeaderForPrint(QPainter& painter, int width)
{
    // The whole header, unscrolled, at the painter's origin.
    FHeader->Columns().PaintHeader(painter, Rect(0, 0, width, printHeaderHeight()), QPoint(0, 0));
}

bool TBaseLazyTree::Print(IPrinter* printer, bool printHeader)
{
    return Print(printer, printHeader, PrintSetup());
}

bool TBaseLazyTree::Print(IPrinter* printer, bool printHeader, const PrintSetup& setup,
                          QString* error)
{
    if (!printer)
        return false;
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });

    // The tree's font and colour change for the print and come back on every way out; a
    // failing paint used to leave the tree white, in the print font.
    const QFont savedFont = font();
    const QPalette savedPalette = palette();
    ScopeGuard restore([&] {
        setFont(savedFont);
        setPalette(savedPalette);
    });
    QFont printFont = savedFont;
    printFont.setStyleStrategy(QFont::PreferAntialias);
    setFont(printFont);
    QPalette white = savedPalette;
    white.setColor(QPalette::Base, Qt::white);
    setPalette(white);

    const QRect treeRect = GetTreeRect();
    const int headerHeight = printHeader ? printHeaderHeight() : 0;
    const QSize picture(treeRect.width(), treeRect.height() + headerHeight);

    QString jobError;
    std::unique_ptr<IPrintJob> job = printer->begin(setup, &jobError);
    if (!job) {
        if (error)
            *error = jobError;
        return false;
    }
    QPainter& painter = job->painter();
    painter.setFont(printFont);
    const int screenHeight = std::max(1, QFontMetrics(printFont, this).height());
    const int printerHeight = std::max(1, QFontMetrics(printFont, painter.device()).height());
    const double scale = double(printerHeight) / screenHeight;
    const QRect pageRect = job->pageRect();
    // Halves round to the even neighbour.
    const QSize page(std::max(1, int(std::lrint(pageRect.width() / scale))),
                     std::max(1, int(std::lrint(pageRect.height() / scale))));
    const QSize counts = printPageCounts(picture, page);

    // One page tile at a time: a picture of the whole tree grew with its height until it
    // could not be allocated.
    QImage tile(page, QImage::Format_ARGB32_Premultiplied);
    const TLTInternalPaintOptions options{poGridLines};
    for (int row = 0; row < counts.height(); ++row) {
        for (int column = 0; column < counts.width(); ++column) {
            const int x0 = column * page.width();
            const int y0 = row * page.height();
            tile.fill(Qt::white);
            {
                QPainter tilePainter(&tile);
                if (headerHeight > 0 && y0 < headerHeight) {
                    tilePainter.save();
                    tilePainter.translate(-x0, -y0);
                    paintHeaderForPrint(tilePainter, picture.width());
                    tilePainter.restore();
                }
                // The tile's part of the tree, in tree coordinates, below the header.
                const int top = std::max(y0 - headerHeight, 0);
                const int bottom = std::min(y0 + page.height() - headerHeight, treeRect.height());
                const int right = std::min(x0 + page.width(), treeRect.width());
                if (bottom > top && right > x0) {
                    QPainterCanvas canvas(tilePainter, palette());
                    canvas.setStyle(style());
                    PaintTree(canvas, Rect(x0, top, right, bottom),
                              QPoint(0, std::max(headerHeight - y0, 0)), options);
                }
            }
            painter.drawImage(QRect(0, 0, pageRect.width(), pageRect.height() - 1), tile);
            const bool last = row + 1 == counts.height() && column + 1 == counts.width();
            if (!last && !job->newPage()) {
                if (error)
                    *error = QStringLiteral("The printer refused a new page.");
                return false;
            }
        }
    }
    if (!job->finish(&jobError)) {
        if (error)
            *error = jobError;
        return false;
    }
    return true;
}

}  // namespace zfw
