#pragma once

#include "directory/Printer.h"

#include <memory>

class QPrinter;

// A Printer on a Qt printer: a real device or a PDF file.
class QtPrinter : public Printer {
public:
    explicit QtPrinter(std::unique_ptr<QPrinter> printer);
    ~QtPrinter() override;

    void BeginDoc(const QString& title) override;
    int PageWidth() const override;
    int PageHeight() const override;
    QPainter& Canvas() override;
    void EndDoc() override;
    void PrintDocument(QTextDocument& document, const QString& title) override;

    QPrinter& Device() { return *m_printer; }

private:
    // Why a job cannot start on this printer.
    QString failureText() const;
    void checkCanStart() const;

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
};
