#pragma once

#include "directory/Printer.h"
#include "directory/PrinterSource.h"

#include <QImage>
#include <QPainter>
#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QTextDocument>
#include <QTextFrame>

#include <memory>
#include <vector>

// A printer whose page is an image, white at the start of each job; it
// keeps the jobs' titles and the plain text of the documents it printed,
// with the font each was printed in and the pages it took when laid out as
// a printed document is: on pages of the page's size at `dpi` dots per
// inch, with margins of 2 cm.
class RecordingPrinter : public Printer {
public:
    explicit RecordingPrinter(QSize page = {2480, 3508}, int dpi = 300) : page(page, QImage::Format_RGB32), dpi(dpi) {}

    void BeginDoc(const QString& title) override
    {
        page.fill(Qt::white);
        painter = std::make_unique<QPainter>(&page);
        titles.push_back(title);
    }
    int PageWidth() const override { return page.width(); }
    int PageHeight() const override { return page.height(); }
    QPainter& Canvas() override { return *painter; }
    void EndDoc() override
    {
        painter.reset();
        ++pagesPrinted;
    }
    void PrintDocument(QTextDocument& document, const QString& title) override
    {
        titles.push_back(title);
        documents.push_back(document.toPlainText());
        fonts.push_back(document.defaultFont());
        // Fonts sized in pixels take the printer's pixels.
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(qRound(dpi / 0.0254));
        device.setDotsPerMeterY(qRound(dpi / 0.0254));
        std::unique_ptr<QTextDocument> paged(document.clone());
        paged->documentLayout()->setPaintDevice(&device);
        QTextFrameFormat frame = paged->rootFrame()->frameFormat();
        frame.setMargin(2 / 2.54 * 96); // in 96ths of an inch, scaled to the device by the layout
        paged->rootFrame()->setFrameFormat(frame);
        paged->setPageSize(page.size());
        pageCounts.push_back(paged->pageCount());
    }

    QImage page;
    std::unique_ptr<QPainter> painter;
    std::vector<QString> titles;
    int dpi;
    std::vector<QString> documents;
    std::vector<QFont> fonts;
    std::vector<int> pageCounts;
    int pagesPrinted = 0;
};

// Hands out one shared RecordingPrinter (or none, as a user who cancels).
class RecordingPrinterSource : public PrinterSource {
public:
    explicit RecordingPrinterSource(RecordingPrinter& printer) : m_printer(printer) {}

    std::unique_ptr<Printer> DefaultPrinter(const QString& suggestedName) override
    {
        suggestedNames.push_back(suggestedName);
        if (cancel)
            return nullptr;
        return std::make_unique<Forwarding>(m_printer);
    }

    bool cancel = false;
    std::vector<QString> suggestedNames;

private:
    class Forwarding : public Printer {
    public:
        explicit Forwarding(Printer& target) : m_target(target) {}
        void BeginDoc(const QString& title) override { m_target.BeginDoc(title); }
        int PageWidth() const override { return m_target.PageWidth(); }
        int PageHeight() const override { return m_target.PageHeight(); }
        QPainter& Canvas() override { return m_target.Canvas(); }
        void EndDoc() override { m_target.EndDoc(); }
        void PrintDocument(QTextDocument& document, const QString& title) override
        {
            m_target.PrintDocument(document, title);
        }

    private:
        Printer& m_target;
    };

    RecordingPrinter& m_printer;
};
