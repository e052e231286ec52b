#pragma once
// A printer that paints each page into an image the test can look at. Only documents that
// were finished count as printed; the fake fails the test on a misuse of a job (drawing or
// adding a page after the end, ending twice).

#include "platform/Printer.h"

#include <QImage>
#include <QString>

#include <memory>
#include <vector>

namespace zfw::test {

struct FakePrintedDocument {
    PrintSetup setup;
    std::vector<QImage> pages;
};

class FakePrinter final : public IPrinter {
public:
    // Jobs must end (or be destroyed) before the printer.
    std::unique_ptr<IPrintJob> begin(const PrintSetup& setup, QString* error) override;

    // Not empty: begin() fails with this text.
    QString failText;
    // Not empty: finish() fails with this text and the document is not printed.
    QString finishError;
    // Resolution of the page images.
    int dotsPerInch = 72;

    std::vector<PrintSetup> begun;             // every begin(), also a failed one
    std::vector<FakePrintedDocument> printed;  // finished documents
    int abandoned = 0;                         // jobs destroyed unfinished or failed at the end
};

}  // namespace zfw::test
