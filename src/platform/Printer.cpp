#include "platform/Printer.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>

namespace zfw {

namespace {

QRect printableRect(const QPaintDevice& device) { return {0, 0, device.width(), device.height()}; }

// A PDF file: the pages go into a temporary file that replaces the named one only when the
// document is complete, so that an abandoned or failed job leaves an older file untouched.
class PdfJob final : public IPrintJob {
public:
    explicit PdfJob(const QString& path) : m_file(path) {}

    ~PdfJob() override
    {
        if (m_painter.isActive())
            m_painter.end();
        // The save file discards what was written unless it was committed.
    }

    bool start(const PrintSetup& setup, QString* error)
    {
        if (!m_file.open(QIODevice::WriteOnly)) {
            *error =
                QStringLiteral("Cannot write %1: %2").arg(m_file.fileName(), m_file.errorString());
            return false;
        }
        m_writer = std::make_unique<QPdfWriter>(&m_file);
        m_writer->setTitle(setup.documentName);
        m_writer->setCreator(QCoreApplication::applicationName());
        m_writer->setResolution(setup.resolution > 0 ? setup.resolution : 300);
        m_writer->setPageSize(setup.pageSize.isValid() ? setup.pageSize : QPageSize(QPageSize::A4));
        m_writer->setPageOrientation(setup.orientation);
        if (!m_painter.begin(m_writer.get())) {
            *error = QStringLiteral("Cannot start the PDF file %1").arg(m_file.fileName());
            return false;
        }
        return true;
    }

    QPainter& painter() override { return m_painter; }
    QRect pageRect() const override { return printableRect(*m_writer); }
    int resolution() const override { return m_writer->resolution(); }
    bool newPage() override { return m_painter.isActive() && m_writer->newPage(); }

    bool finish(QString* error) override
    {
        if (!m_painter.isActive()) {
            if (error)
                *error = QStringLiteral("The document has ended already");
            return false;
        }
        const bool painted = m_painter.end();
        if (!painted || !m_file.commit()) {
            if (error)
                *error = QStringLiteral("Cannot write %1: %2")
                             .arg(m_file.fileName(), m_file.errorString());
            return false;
        }
        return true;
    }

private:
    // Destroyed in reverse: the painter ends before the writer, the writer before the file.
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
};

class PrinterJob final : public IPrintJob {
public:
    PrinterJob() : m_printer(QPrinter::HighResolution) {}

    ~PrinterJob() override
    {
        if (m_painter.isActive()) {
            m_printer.abort();
            m_painter.end();
        }
    }

    bool start(const PrintSetup& setup, QString* error)
    {
        applyPrintSetup(setup, m_printer);
        if (!m_printer.isValid()) {
            *error = setup.printerName.isEmpty()
                         ? QStringLiteral("No printer is available")
                         : QStringLiteral("The printer %1 is not available").arg(setup.printerName);
            return false;
        }
        if (!m_painter.begin(&m_printer)) {
            *error = QStringLiteral("The printer %1 cannot start a document")
                         .arg(m_printer.printerName());
            return false;
        }
        return true;
    }

    QPainter& painter() override { return m_painter; }
    QRect pageRect() const override { return printableRect(m_printer); }
    int resolution() const override { return m_printer.resolution(); }
    bool newPage() override { return m_painter.isActive() && m_printer.newPage(); }

    bool finish(QString* error) override
    {
        if (!m_painter.isActive()) {
            if (error)
                *error = QStringLiteral("The document has ended already");
            return false;
        }
        if (!m_painter.end() || m_printer.printerState() == QPrinter::Error) {
            if (error)
                *error = QStringLiteral("The printer %1 did not take the document")
                             .arg(m_printer.printerName());
            return false;
        }
        return true;
    }

private:
    QPrinter m_printer;
    QPainter m_painter;
};

}  // namespace

std::unique_ptr<IPrintJob> QtPrinter::begin(const PrintSetup& setup, QString* error)
{
    QString message;
    if (!setup.outputFile.isEmpty()) {
        auto job = std::make_unique<PdfJob>(setup.outputFile);
        if (job->start(setup, &message))
            return job;
    } else {
        auto job = std::make_unique<PrinterJob>();
        if (job->start(setup, &message))
            return job;
    }
    if (error)
        *error = message;
    return nullptr;
}

void applyPrintSetup(const PrintSetup& setup, QPrinter& printer)
{
    if (!setup.outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(setup.outputFile);
    } else if (!setup.printerName.isEmpty()) {
        printer.setPrinterName(setup.printerName);
    }
    printer.setDocName(setup.documentName);
    if (setup.pageSize.isValid())
        printer.setPageSize(setup.pageSize);
    printer.setPageOrientation(setup.orientation);
    printer.setCopyCount(qMax(1, setup.copies));
    // A range the printer would refuse (reversed, or starting below 1) prints every page.
    if (setup.fromPage >= 1 && setup.toPage >= setup.fromPage) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(setup.fromPage, setup.toPage);
    } else {
        printer.setPrintRange(QPrinter::AllPages);
        printer.setFromTo(0, 0);
    }
}

PrintSetup printSetupOf(const QPrinter& printer, const PrintSetup& base)
{
    PrintSetup s = base;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        s.outputFile = printer.outputFileName();
    } else {
        s.outputFile.clear();
        s.printerName = printer.printerName();
    }
    const QPageLayout layout = printer.pageLayout();
    s.pageSize = layout.pageSize();
    s.orientation = layout.orientation();
    s.copies = printer.copyCount();
    if (printer.printRange() == QPrinter::PageRange) {
        s.fromPage = printer.fromPage();
        s.toPage = printer.toPage();
    } else {
        s.fromPage = 0;
        s.toPage = 0;
    }
    return s;
}

}  // namespace zfw
