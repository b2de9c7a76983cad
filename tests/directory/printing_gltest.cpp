// Printing the map picture and the organisation list, on a recording
// printer and into PDF files.
#include "map/MapState.h"
#include "base/Cp1251.h"
#include "directory/MapOverlays.h"
#include "directory/Printing.h"
#include "directory/QtPrinter.h"
#include "directory/ResultsTree.h"
#include "engine/objects/GxHUDSprite.h"
#include "engine/scene/GxCamera.h"
#include "engine/scene/GxSceneViewer.h"
#include "engine/scene/RenderTestObjects.h"
#include "platform/Fonts.h"
#include "platform/HeapPolicy.h"
#include "support/PixelCount.h"
#include "support/RecordingPrinter.h"
#include "support/TempDir.h"
#include "map/House.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTextEdit>

#include <gtest/gtest.h>
#include <malloc.h>

namespace {

bool dark(QColor c)
{
    return c.red() < 100 && c.green() < 100 && c.blue() < 100;
}

bool yellowish(QColor c)
{
    return c.red() > 200 && c.green() > 200 && c.blue() < 180;
}

QRect scaled(QRect r, double f)
{
    return QRect(int(r.left() * f), int(r.top() * f), int(r.width() * f), int(r.height() * f));
}

// The map view of the designed size: a red square, a house with its
// floating label, and the legend and address line painted over each frame.
class PrintedMap : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFontSubstitutes();
        camera = scene.CameraRoot()->SpawnChild<TGxCamera>();
        camera->Position().AssignPoint(0, 0, 10);
        camera->Direction().AssignVector(0, 0, -1);
        camera->Up().AssignVector(0, 1, 0);
        view.SetCamera(camera);
        view.Buffer().SetBackgroundColor(0x00E0C0A0); // a light blue, unlike the white paper
        view.Buffer().SetLighting(false);
        auto* square = scene.ObjectRoot()->SpawnChild<TestQuad>(nullptr, "square", 1.0f);
        square->Position().AssignPoint(-1.5f, -1.0f, 0);
        square->SetColour(1, 0, 0);
        house = scene.ObjectRoot()->SpawnChild<Thouse>();
        for (auto [x, y] : {std::pair{0.5f, 0.5f}, {2.5f, 0.5f}, {2.5f, 1.5f}, {0.5f, 1.5f}})
            house->AppendNode(x, y, 0);
        house->SetParam(0, cp1251::fromUtf8("Садовая"));
        house->SetParam(1, cp1251::fromUtf8("12"));
        view.AfterRender = [this](TGxSceneViewer& v, QPainter& painter) {
            MapOverlays::Draw(painter, v.height(), house);
        };
        view.resize(593, 440);
        view.show();
        ASSERT_TRUE(waitForFrames(1));
        TGxSceneBuffer& buffer = view.Buffer();
        MapOverlays::ViewHint(
            state, *scene.ObjectRoot(), *house, [&](const TGxVector& p) { return buffer.ProjectToWindow(p); },
            buffer.Height());
        labelAt = QPoint(int(state.HintSprite->Position().X()), int(state.HintSprite->Position().Y()));
        view.update();
        ASSERT_TRUE(waitForFrames(buffer.FrameCount() + 1));
    }

    bool waitForFrames(int frames)
    {
        QElapsedTimer clock;
        clock.start();
        while (view.Buffer().FrameCount() < frames) {
            if (clock.elapsed() > 10000)
                return false;
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return true;
    }

    TGxScene scene;
    TGxCamera* camera = nullptr;
    Thouse* house = nullptr;
    MapState state;
    TGxSceneViewer view;
    QPoint labelAt; // the label's centre, view pixels
};

OrgRecord org(std::string_view name)
{
    OrgRecord r;
    r.name = cp1251::fromUtf8(name);
    r.streetName = cp1251::fromUtf8("Садовая");
    r.houseNo = "12";
    r.phone = "1-23-45";
    r.email = "mail@vereskola.ru";
    r.web = "vereskola.ru";
    return r;
}

} // namespace

TEST_F(PrintedMap, SnapshotHoldsTheSceneAndTheLabelButNotTheLegendOrTheAddressLine)
{
    const QRect legend(3, 3, 180, 83);
    const QRect addressLine(3, 440 - 20, 250, 18);
    const QRect label(labelAt.x() - 75, labelAt.y() - 10, 150, 20);
    const QImage window = view.grabFramebuffer();
    ASSERT_EQ(window.size(), QSize(593, 440));
    EXPECT_GT(countPixels(window, legend, dark), 200);
    EXPECT_GT(countPixels(window, addressLine, dark), 100);
    EXPECT_GT(countPixels(window, label, yellowish), 150 * 20 / 2);

    const QImage snap = Printing::SnapImage(view, 3.125f);
    ASSERT_EQ(snap.size(), QSize(1853, 1375));
    const double f = 3.125;
    EXPECT_EQ(countPixels(snap, scaled(legend, f), dark), 0);
    EXPECT_EQ(countPixels(snap, scaled(addressLine, f), dark), 0);
    // The label is rendered at 300 dpi: 3.125 times its 150 x 20 pixels, at the same relative place.
    const QRect bigLabel = scaled(label, f);
    EXPECT_GT(countPixels(snap, bigLabel, yellowish), bigLabel.width() * bigLabel.height() / 2);
    EXPECT_EQ(countPixels(snap, bigLabel.adjusted(-8, -8, 8, 8), yellowish), countPixels(snap, bigLabel.adjusted(-30, -30, 30, 30), yellowish));
    // Its text, half covered like the rest of the label.
    const auto text = [](QColor c) { return c.red() + c.green() + c.blue() < 3 * 140; };
    EXPECT_GT(countPixels(snap, bigLabel.adjusted(10, 8, -10, -8), text), 400);

    // The scene: the same picture with more pixels.
    int red = 0, redInSnap = 0;
    for (int y = 0; y < 440; y += 2)
        for (int x = 0; x < 593; x += 2) {
            const bool w = window.pixelColor(x, y) == QColor(Qt::red);
            red += w;
            redInSnap += w && snap.pixelColor(int(x * f + 1), int(y * f + 1)) == QColor(Qt::red);
        }
    EXPECT_GT(red, 100);
    EXPECT_GE(redInSnap, red * 95 / 100);

    // The window is left as it was.
    EXPECT_EQ(view.Buffer().ViewPort().Width, 593);
    EXPECT_FALSE(view.Buffer().Rendering());
}

TEST_F(PrintedMap, PrintSnapPutsTheBigPictureInTheTopLeftCornerFillingThePageWidth)
{
    // A page exactly as wide as the picture takes it pixel for pixel.
    RecordingPrinter printer({1853, 2600});
    Printing::PrintSnap(printer, view, 3.125f);
    EXPECT_EQ(printer.pagesPrinted, 1);
    const QColor background(0xA0, 0xC0, 0xE0);
    const QImage& page = printer.page;
    EXPECT_EQ(page.pixelColor(1852, 1374), background);
    EXPECT_EQ(page.pixelColor(0, 1374), background);
    EXPECT_EQ(page.pixelColor(1852, 1375), QColor(Qt::white));
    EXPECT_EQ(page.pixelColor(0, 1375), QColor(Qt::white));
    EXPECT_EQ(countPixels(page, {0, 1375, 1853, 1225}, [](QColor c) { return c != Qt::white; }), 0);

    // Half of the page for a tall page: the width rule still, the picture half as large.
    RecordingPrinter narrow({926, 2600});
    Printing::PrintSnap(narrow, view, 3.125f);
    EXPECT_EQ(narrow.page.pixelColor(925, 686), background);
    EXPECT_EQ(narrow.page.pixelColor(925, 688), QColor(Qt::white));
}

TEST_F(PrintedMap, PrintsGiveTheirLargeBlocksBackAsTheProgramRuns)
{
    // As the program does at start; the C library's default kept each print's
    // picture and framebuffer in the heap after the first print had freed its own.
    keepLargeBlocksOutOfTheHeap();
    RecordingPrinter printer({1853, 2600});
    Printing::PrintSnap(printer, view, 3.125f);
    const std::size_t heapAfterFirst = mallinfo2().arena;
    std::size_t largest = heapAfterFirst;
    for (int i = 0; i < 5; ++i) {
        Printing::PrintSnap(printer, view, 3.125f);
        largest = std::max(largest, mallinfo2().arena);
    }
    // One picture alone is 7.6 MB, its framebuffer 20 MB.
    EXPECT_LT(largest - heapAfterFirst, kLargeBlockBytes * 4);
}

TEST(PrintOrgs, PrintsTheTreesTextsWithSeparatorsUnderItsTitle)
{
    ResultsTree tree;
    QTextEdit printEdit;
    RecordingPrinter printer;
    const QString sep(17, QLatin1Char('-'));

    Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
    ASSERT_EQ(printer.documents.size(), 1u);
    EXPECT_EQ(printer.documents[0], QString()); // an empty document all the same

    tree.AddSimpleRecord(org("Аптека"));
    Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
    ASSERT_EQ(printer.documents.size(), 2u);
    EXPECT_EQ(printer.documents[1].split('\n'), tree.NodeTexts());
    EXPECT_EQ(printer.documents[1].split('\n').size(), 5);

    tree.AddSimpleRecord(org("Баня"));
    tree.AddSimpleRecord(org("Вокзал"));
    Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
    Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
    ASSERT_EQ(printer.documents.size(), 4u);
    const QStringList lines = printer.documents[2].split('\n');
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], QStringLiteral("Аптека"));
    EXPECT_EQ(lines[5], sep);
    EXPECT_EQ(lines[6], QStringLiteral("Баня"));
    EXPECT_EQ(lines[11], sep);
    EXPECT_EQ(lines[12], QStringLiteral("Вокзал"));
    EXPECT_EQ(lines.count(sep), 2);
    EXPECT_EQ(printer.documents[3], printer.documents[2]); // twice the same
    EXPECT_EQ(printEdit.toPlainText(), printer.documents[3]);
    for (const QString& title : printer.titles)
        EXPECT_EQ(title, QStringLiteral("Quorvel 2007"));
}

// A whole street of the demo town: 146 organisations, 875 lines.
ResultsTree& wholeStreet(ResultsTree& tree)
{
    for (int i = 0; i < 146; ++i)
        tree.AddSimpleRecord(org("Организация " + std::to_string(i + 1)));
    return tree;
}

TEST(PrintOrgs, ListPrintsInTheScreensTypeSizeOverAsManyPagesAsItTakes)
{
    // The list takes the main window's font, sized in pixels of the screen;
    // a printer's pixel is far smaller.
    ResultsTree tree;
    wholeStreet(tree);
    QTextEdit printEdit;
    printEdit.setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    const double screenPoints = 11 * 72.0 / printEdit.logicalDpiY();
    for (const int dpi : {300, 600, 1200}) {
        SCOPED_TRACE(testing::Message() << dpi << " dpi");
        RecordingPrinter printer({int(8.27 * dpi), int(11.69 * dpi)}, dpi); // A4
        Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
        ASSERT_EQ(printer.fonts.size(), 1u);
        EXPECT_NEAR(printer.fonts[0].pointSizeF(), screenPoints, 0.01);
        EXPECT_EQ(printer.fonts[0].family(), printEdit.font().family());
        // Some 80 lines of 8 pt type to an A4 page.
        EXPECT_GE(printer.pageCounts[0], 9);
        EXPECT_LE(printer.pageCounts[0], 16);
    }
    // Twice the same.
    RecordingPrinter printer;
    Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
    Printing::PrintOrgs(printer, tree.NodeTexts(), printEdit);
    EXPECT_EQ(printer.fonts[0], printer.fonts[1]);
    EXPECT_EQ(printer.pageCounts[0], printer.pageCounts[1]);
}

TEST(QtPrinterPdf, WritesBothJobsToPdfFilesAndNamesAFileItCannotWrite)
{
    TempDir folder;
    const auto pdfPrinter = [](const QString& path) {
        auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
        device->setOutputFormat(QPrinter::PdfFormat);
        device->setOutputFileName(path);
        return std::make_unique<QtPrinter>(std::move(device));
    };
    const auto header = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.read(5) : QByteArray();
    };

    const QString image = QString::fromStdString(folder.file("map.pdf"));
    QImage bitmap(300, 200, QImage::Format_RGB888);
    bitmap.fill(Qt::red);
    auto printer = pdfPrinter(image);
    Printing::PrintImage(*printer, bitmap, 100);
    EXPECT_EQ(header(image), "%PDF-");

    const QString list = QString::fromStdString(folder.file("orgs.pdf"));
    ResultsTree tree;
    tree.AddSimpleRecord(org("Аптека"));
    QTextEdit printEdit;
    printer = pdfPrinter(list);
    Printing::PrintOrgs(*printer, tree.NodeTexts(), printEdit);
    EXPECT_EQ(header(list), "%PDF-");

    const QString nowhere = QString::fromStdString(folder.file("missing/folder/x.pdf"));
    for (bool orgs : {false, true}) {
        printer = pdfPrinter(nowhere);
        try {
            if (orgs)
                Printing::PrintOrgs(*printer, tree.NodeTexts(), printEdit);
            else
                Printing::PrintImage(*printer, bitmap, 100);
            ADD_FAILURE() << "printed to " << nowhere.toStdString();
        } catch (const EPrinter& e) {
            EXPECT_EQ(QString::fromStdString(e.what()), QStringLiteral("Не удалось записать файл ") + nowhere);
        }
        EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the hourglass is gone again
    }
}

TEST(QtPrinterPdf, WholeStreetPrintsInReadableTypeOnManyPages)
{
    // Read back with poppler's tools (the project's dependencies): the
    // number of pages, and the height of the words' boxes.
    TempDir folder;
    const QString path = QString::fromStdString(folder.file("street.pdf"));
    auto device = std::make_unique<QPrinter>(QPrinter::HighResolution);
    device->setOutputFormat(QPrinter::PdfFormat);
    device->setOutputFileName(path);
    QtPrinter printer(std::move(device));
    ResultsTree tree;
    QTextEdit printEdit;
    printEdit.setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    Printing::PrintOrgs(printer, wholeStreet(tree).NodeTexts(), printEdit);

    const auto run = [](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << program.toStdString() << " did not run";
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QRegularExpressionMatch pages =
        QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))")).match(run(QStringLiteral("pdfinfo"), {path}));
    ASSERT_TRUE(pages.hasMatch());
    EXPECT_GE(pages.captured(1).toInt(), 9);
    EXPECT_LE(pages.captured(1).toInt(), 16);

    const QString words = run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
    const QRegularExpression box(QStringLiteral(R"re(<word xMin="[\d.]+" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">)re"));
    int counted = 0;
    for (const QRegularExpressionMatch& m : box.globalMatch(words)) {
        // A word's box is about the type's size, in points.
        const double height = m.captured(2).toDouble() - m.captured(1).toDouble();
        EXPECT_GT(height, 7.0);
        EXPECT_LT(height, 12.0);
        if (++counted == 50)
            break;
    }
    EXPECT_EQ(counted, 50);
}
