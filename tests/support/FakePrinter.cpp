#include "support/FakePrinter.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace zfw::test {

namespace {

class FakePrintJob final : public IPrintJob {
public:
    FakePrintJob(FakePrinter& printer, const PrintSetup& setup)
        : m_printer(printer), m_document{setup, {}}
    {
        const QPageLayout layout(setup.pageSize.isValid() ? setup.pageSize
                                                          : QPageSize(QPageSize::A4),
                                 setup.orientation, QMarginsF());
        m_pageSize = layout.fullRectPixels(printer.dotsPerInch).size();
        startPage();
    }

    ~FakePrintJob() override
    {
        if (!m_ended) {
            m_painter.end();
            ++m_printer.abandoned;
        }
    }

    QPainter& painter() override
    {
        if (m_ended)
            ADD_FAILURE() << "drawing on a print job that has ended";
        return m_painter;
    }
    QRect pageRect() const override { return {QPoint(0, 0), m_pageSize}; }
    int resolution() const override { return m_printer.dotsPerInch; }

    bool newPage() override
    {
        if (m_ended) {
            ADD_FAILURE() << "a new page on a print job that has ended";
            return false;
        }
        m_painter.end();
        m_document.pages.push_back(m_page);
        startPage();
        return true;
    }

    bool finish(QString* error) override
    {
        if (m_ended) {
            ADD_FAILURE() << "a print job ended twice";
            return false;
        }
        m_ended = true;
        m_painter.end();
        m_document.pages.push_back(m_page);
        if (!m_printer.finishError.isEmpty()) {
            ++m_printer.abandoned;
            if (error)
                *error = m_printer.finishError;
            return false;
        }
        m_printer.printed.push_back(std::move(m_document));
        return true;
    }

private:
    void startPage()
    {
        m_page = QImage(m_pageSize, QImage::Format_RGB32);
        m_page.fill(Qt::white);
        m_page.setDotsPerMeterX(qRound(m_printer.dotsPerInch / 0.0254));
        m_page.setDotsPerMeterY(qRound(m_printer.dotsPerInch / 0.0254));
        m_painter.begin(&m_page);
    }

    FakePrinter& m_printer;
    FakePrintedDocument m_document;
    QSize m_pageSize;
    QImage m_page;
    QPainter m_painter;
    bool m_ended = false;
};

}  // namespace

std::unique_ptr<IPrintJob> FakePrinter::begin(const PrintSetup& setup, QString* error)
{
    begun.push_back(setup);
    if (!failText.isEmpty()) {
        if (error)
            *error = failText;
        return nullptr;
    }
    return std::make_unique<FakePrintJob>(*this, setup);
}

}  // namespace zfw::test
