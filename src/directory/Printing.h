#pragma once

#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class Printer;
class QPainter;
class QTextEdit;
class TGxSceneViewer;

// Printing the map picture and the organisation list.
namespace Printing {

// The job title of the organisation list.
inline constexpr char kOrgsJobTitle[] = "Quorvel 2007";
// Between two organisations of the printed list.
inline constexpr char kOrgsSeparator[] = "-----------------";

// The bitmap a snapshot of a view `scale` times its size is rendered into,
// and the resolution to render it at (96 dots per inch times the scale).
struct SnapPlan {
    QSize size;
    int dpi = 96;
};
SnapPlan PlanSnap(QSize view, float scale);

// The size a bitmap is printed at: as large as fits on the page keeping its
// proportions (filling the page's width or its height), then scaled to percent.
QSize FitToPage(QSize bitmap, QSize page, int percent);

// The printed list: the tree's node texts, a separator between consecutive
// organisations (every five lines), joined with line breaks.
QString OrgListText(const QStringList& nodeTexts);
// The same for organisations of any number of lines (with their kinds and
// hours): the separator stands between consecutive organisations.
QString OrganisationsText(const QList<QStringList>& organisations);

// Copies the bitmap's pixels, stretched, into the rectangle of the canvas.
void DrawImage(QPainter& canvas, int left, int top, int width, int height, const QImage& bitmap);

// Prints the bitmap in the top-left corner of the page, as large as fits,
// scaled to percent, as one job. The hourglass shows meanwhile.
void PrintImage(Printer& printer, const QImage& bitmap, int percent);

// The view rendered off-screen into a 24-bit bitmap `scale` times its size.
QImage SnapImage(TGxSceneViewer& view, float scale);
// Prints the view rendered off-screen at `scale` times its size.
void PrintSnap(Printer& printer, TGxSceneViewer& view, float scale);

// The font of a window shown at `screenDpi` as it is printed: a size in
// pixels becomes the same size in points, so that the type prints as large
// as it shows (11 pixels at 96 dots per inch print in 8.25 pt).
QFont PrintFont(const QFont& screenFont, int screenDpi);

// Prints the list made of `nodeTexts` through `printEdit`, whose content it
// replaces, in the edit's font at its size on the screen, over as many pages
// as it takes.
void PrintOrgs(Printer& printer, const QStringList& nodeTexts, QTextEdit& printEdit);
// The list made of the organisations' texts (ResultsTree::OrganisationTexts).
void PrintOrgs(Printer& printer, const QList<QStringList>& organisations, QTextEdit& printEdit);
// Prints the list's text through `printEdit`.
void PrintOrgList(Printer& printer, const QString& text, QTextEdit& printEdit);

} // namespace Printing
