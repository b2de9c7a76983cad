#include "directory/QtPrinter.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>

namespace {
const QString kNoDefaultPrinter = QStringLiteral("There is no default printer currently selected");
}

QtPrinter::QtPrinter(std::unique_ptr<QPrinter> printer) : m_printer(std::move(printer)) {}

QtPrinter::~QtPrinter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

QString QtPrinter::failureText() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("Не удалось записать файл %1").arg(m_printer->outputFileName());
    if (m_printer->printerName().isEmpty())
        return kNoDefaultPrinter;
    return QStringLiteral("Не удалось начать печать на принтере %1").arg(m_printer->printerName());
}

void QtPrinter::checkCanStart() const
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat) {
        // The document print below would fail without a word.
        QFile probe(m_printer->outputFileName());
        if (m_printer->outputFileName().isEmpty() || !probe.open(QIODevice::WriteOnly))
            throw EPrinter(failureText());
        return;
    }
    if (!m_printer->isValid() || m_printer->printerName().isEmpty())
        throw EPrinter(failureText());
}

void QtPrinter::BeginDoc(const QString& title)
{
    checkCanStart();
    if (!title.isEmpty())
        m_printer->setDocName(title);
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        m_painter.reset();
        throw EPrinter(failureText());
    }
}

int QtPrinter::PageWidth() const
{
    return m_printer->width();
}

int QtPrinter::PageHeight() const
{
    return m_printer->height();
}

QPainter& QtPrinter::Canvas()
{
    if (!m_painter)
        throw EPrinter(QStringLiteral("Печать не начата"));
    return *m_painter;
}

void QtPrinter::EndDoc()
{
    if (!m_painter)
        return;
    const bool written = m_painter->end();
    m_painter.reset();
    if (!written)
        throw EPrinter(failureText());
}

void QtPrinter::PrintDocument(QTextDocument& document, const QString& title)
{
    checkCanStart();
    m_printer->setDocName(title);
    document.print(m_printer.get());
    if (m_printer->outputFormat() == QPrinter::PdfFormat && QFileInfo(m_printer->outputFileName()).size() == 0)
        throw EPrinter(failureText());
}
