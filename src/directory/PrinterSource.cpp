#include "directory/PrinterSource.h"

#include "directory/QtPrinter.h"
#include "platform/ErrorBox.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

std::unique_ptr<Printer> DesktopPrinterSource::DefaultPrinter(const QString& suggestedName)
{
    const QPrinterInfo installed = QPrinterInfo::defaultPrinter();
    if (!installed.isNull())
        return std::make_unique<QtPrinter>(std::make_unique<QPrinter>(installed, QPrinter::HighResolution));

    QMessageBox box(QMessageBox::Warning, applicationTitle(),
                    withFullStop(QStringLiteral("There is no default printer currently selected")), QMessageBox::NoButton,
                    m_parent);
    box.setObjectName("NoPrinterBox");
    box.setInformativeText(QStringLiteral("Принтер не установлен. Можно сохранить страницу в файл PDF."));
    QPushButton* toPdf = box.addButton(QStringLiteral("Сохранить в PDF…"), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(toPdf);
    box.exec();
    if (box.clickedButton() != toPdf)
        return nullptr;

    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QFileDialog dialog(m_parent, QStringLiteral("Сохранить в PDF"), folder, QStringLiteral("Документ PDF (*.pdf)"));
    dialog.setObjectName("PdfFileDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The suffix is added before the dialog asks about overwriting.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(suggestedName + QStringLiteral(".pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return nullptr;
    const QString path = dialog.selectedFiles().constFirst();
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return std::make_unique<QtPrinter>(std::move(printer));
}
