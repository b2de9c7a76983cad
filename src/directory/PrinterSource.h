#pragma once

#include "directory/Printer.h"

#include <memory>

class QWidget;

// Where a print job goes.
class PrinterSource {
public:
    virtual ~PrinterSource() = default;
    // The printer for one job; null when the user chose not to print.
    // `suggestedName` names the file when the job goes to a file.
    virtual std::unique_ptr<Printer> DefaultPrinter(const QString& suggestedName) = 0;
};

// The desktop's default printer. Without one the user is told so and may
// print to a PDF file instead.
class DesktopPrinterSource : public PrinterSource {
public:
    explicit DesktopPrinterSource(QWidget* parent) : m_parent(parent) {}
    std::unique_ptr<Printer> DefaultPrinter(const QString& suggestedName) override;

private:
    QWidget* m_parent;
};
