#pragma once
// Printing behind a small interface: a job is a painter on one page after another, on a
// printer or into a PDF file. The choice of printer is a dialog of the dialogs service.

#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace zfw {

struct PrintSetup {
    QString documentName;  // the job's name in the printer queue, the title of a PDF file
    QString printerName;   // empty: the system's default printer
    QString outputFile;    // not empty: the pages go into this PDF file, no printer is used
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    int copies = 1;
    // Pages chosen in the print dialog, counted from 1; both 0: every page. The job prints
    // whatever it is given: the caller leaves out the pages outside the range.
    int fromPage = 0;
    int toPage = 0;
    int resolution = 300;  // dots per inch of a PDF file; a printer keeps its own
};

// One document being printed. Destroying a job before finish() abandons it: a PDF file is
// not written, a printer job is cancelled.
class IPrintJob {
public:
    virtual ~IPrintJob() = default;

    // Draws on the current page, in device pixels from the top left of the printable area.
    virtual QPainter& painter() = 0;
    // The printable area of a page in device pixels, at (0, 0).
    virtual QRect pageRect() const = 0;
    // Device pixels per inch.
    virtual int resolution() const = 0;
    // Ends the current page and starts the next; false when the device refused.
    virtual bool newPage() = 0;
    // Ends the document; false with *error set when it could not be printed or written.
    virtual bool finish(QString* error) = 0;
};

class IPrinter {
public:
    virtual ~IPrinter() = default;

    // Starts a document on the first page; null with *error set when the printer or the
    // file cannot be opened.
    virtual std::unique_ptr<IPrintJob> begin(const PrintSetup& setup, QString* error) = 0;
};

// The choice of printer, copies and page range, as part of the dialogs service.
class IPrintDialog {
public:
    virtual ~IPrintDialog() = default;

    // Shows the print dialog for a document of pageCount pages, starting from setup; true
    // with the user's choices in setup when he confirmed, false (setup unchanged) otherwise.
    virtual bool choosePrinter(PrintSetup& setup, int pageCount, QWidget* parent) = 0;
};

// Printers of the system through Qt, and PDF files written to a temporary file that takes the
// file's name only when the document is complete.
class QtPrinter final : public IPrinter {
public:
    std::unique_ptr<IPrintJob> begin(const PrintSetup& setup, QString* error) override;
};

// Setup into a Qt printer (printer name, file, page, copies, range), and back: the printer's
// current choices over base.
void applyPrintSetup(const PrintSetup& setup, QPrinter& printer);
PrintSetup printSetupOf(const QPrinter& printer, const PrintSetup& base);

}  // namespace zfw
