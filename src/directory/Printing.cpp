#include "directory/Printing.h"

#include "directory/Printer.h"
#include "engine/scene/GxSceneViewer.h"

#include <QApplication>
#include <QPainter>
#include <QTextDocument>
#include <QTextEdit>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Single precision, rounded to nearest with ties to even (the default mode).
int roundSingle(float value)
{
    return int(std::nearbyint(value));
}

// a * b / c with a 64-bit product, rounded to nearest, halves away from zero.
int mulDiv(std::int64_t a, std::int64_t b, std::int64_t c)
{
    if (c == 0)
        return 0;
    const std::int64_t product = a * b;
    const std::int64_t quotient = product / c;
    const std::int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(c))
        return int(quotient + (((product < 0) != (c < 0)) ? -1 : 1));
    return int(quotient);
}

// The hourglass for a scope, put back also when the job fails.
class BusyCursor {
public:
    BusyCursor()
    {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()))
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            m_active = false;
    }
    ~BusyCursor()
    {
        if (m_active)
            QApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    bool m_active = true;
};

} // namespace

namespace Printing {

SnapPlan PlanSnap(QSize view, float scale)
{
    return {QSize(roundSingle(float(view.width()) * scale), roundSingle(float(view.height()) * scale)),
            roundSingle(96.0f * scale)};
}

QSize FitToPage(QSize bitmap, QSize page, int percent)
{
    if (bitmap.isEmpty() || page.isEmpty())
        return {0, 0};
    int w, h;
    const long double bitmapShape = (long double)bitmap.width() / bitmap.height();
    const long double pageShape = (long double)page.width() / page.height();
    if (bitmapShape > pageShape) {
        w = page.width();
        h = mulDiv(bitmap.height(), page.width(), bitmap.width());
    } else {
        w = mulDiv(bitmap.width(), page.height(), bitmap.height());
        h = page.height();
    }
    return {roundSingle(float(w * percent) / 100.0f), roundSingle(float(h * percent) / 100.0f)};
}

QString OrgListText(const QStringList& nodeTexts)
{
    QStringList lines;
    int sinceSeparator = 0;
    for (const QString& text : nodeTexts) {
        if (sinceSeparator == 5) {
            lines << QString::fromLatin1(kOrgsSeparator);
            sinceSeparator = 0;
        }
        lines << text;
        ++sinceSeparator;
    }
    return lines.join(QLatin1Char('\n'));
}

QString OrganisationsText(const QList<QStringList>& organisations)
{
    QStringList lines;
    for (const QStringList& organisation : organisations) {
        if (!lines.isEmpty())
            lines << QString::fromLatin1(kOrgsSeparator);
        lines << organisation;
    }
    return lines.join(QLatin1Char('\n'));
}

void DrawImage(QPainter& canvas, int left, int top, int width, int height, const QImage& bitmap)
{
    canvas.save();
    // Source pixels are copied, not blended with their neighbours.
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, false);
    canvas.drawImage(QRect(left, top, width, height), bitmap, bitmap.rect());
    canvas.restore();
}

void PrintImage(Printer& printer, const QImage& bitmap, int percent)
{
    BusyCursor busy;
    printer.BeginDoc(QString());
    const QSize size = FitToPage(bitmap.size(), {printer.PageWidth(), printer.PageHeight()}, percent);
    DrawImage(printer.Canvas(), 0, 0, size.width(), size.height(), bitmap);
    printer.EndDoc();
}

QImage SnapImage(TGxSceneViewer& view, float scale)
{
    const SnapPlan plan = PlanSnap(view.size(), scale);
    QImage bitmap(plan.size, QImage::Format_RGB888);
    bitmap.fill(Qt::white);
    view.SnapshotToBitmap(bitmap, plan.dpi);
    return bitmap;
}

void PrintSnap(Printer& printer, TGxSceneViewer& view, float scale)
{
    PrintImage(printer, SnapImage(view, scale), 100);
}

QFont PrintFont(const QFont& screenFont, int screenDpi)
{
    QFont font = screenFont;
    if (screenFont.pixelSize() > 0 && screenDpi > 0)
        font.setPointSizeF(screenFont.pixelSize() * 72.0 / screenDpi);
    return font;
}

void PrintOrgs(Printer& printer, const QStringList& nodeTexts, QTextEdit& printEdit)
{
    PrintOrgList(printer, OrgListText(nodeTexts), printEdit);
}

void PrintOrgs(Printer& printer, const QList<QStringList>& organisations, QTextEdit& printEdit)
{
    PrintOrgList(printer, OrganisationsText(organisations), printEdit);
}

void PrintOrgList(Printer& printer, const QString& text, QTextEdit& printEdit)
{
    printEdit.setPlainText(text);
    QTextDocument& document = *printEdit.document();
    // The window's font is sized in screen pixels, and a printer's pixel is
    // a 300th or a 1200th of an inch: the list would print in type under
    // 1 pt, all of it on one page.
    document.setDefaultFont(PrintFont(printEdit.font(), printEdit.logicalDpiY()));
    printer.PrintDocument(document, QString::fromLatin1(kOrgsJobTitle));
}

} // namespace Printing
