// The print menu, the help and the settings reached from the keyboard.
#include "AppFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "directory/HelpFile.h"
#include "directory/ResultsTree.h"
#include "engine/scene/GxSceneViewer.h"
#include "platform/DocumentOpener.h"
#include "support/RecordingPrinter.h"

#include <QAction>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

namespace {

class RecordingOpener : public DocumentOpener {
public:
    RecordingOpener(QStringList& opened, const bool& viewerThere) : m_opened(opened), m_viewerThere(viewerThere) {}
    bool Open(const QString& path) override
    {
        m_opened << path;
        return m_viewerThere;
    }

private:
    QStringList& m_opened;
    const bool& m_viewerThere;
};

} // namespace

class PrintAndHelp : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        writeTown({}, {org("Аптека"), org("Баня")});
        start();
        main = windows->fm_main;
        auto source = std::make_unique<RecordingPrinterSource>(printer);
        printers = source.get();
        main->SetPrinterSource(std::move(source));
        main->SetDocumentOpener(std::make_unique<RecordingOpener>(opened, viewerThere));
    }

    static OrgRecord org(std::string_view name)
    {
        OrgRecord r;
        r.name = std::string(name); // ASCII-free names are fine as bytes here
        r.streetName = "Sadovaya";
        r.houseNo = "1";
        return r;
    }

    QShortcut* shortcut(const QKeySequence& keys)
    {
        for (QShortcut* s : main->findChildren<QShortcut*>())
            if (s->key() == keys)
                return s;
        return nullptr;
    }

    // The window's controls, found by their names.
    MainControls ui() const { return MainControls(*main); }
    Tfm_main* main = nullptr;
    RecordingPrinter printer{{1000, 1400}};
    RecordingPrinterSource* printers = nullptr;
    QStringList opened;
    bool viewerThere = true;
};

TEST_F(PrintAndHelp, ButtonsStayHiddenAndTheKeyboardReachesTheirActions)
{
    for (QToolButton* b : {ui().bt_print, ui().bt_Settings, ui().bt_info})
        EXPECT_FALSE(b->isVisibleTo(main)) << b->objectName().toStdString();
    main->show();
    ASSERT_TRUE(waitUntil([&] { return ui().GxSceneViewer->HasContext(); }, 10000));

    // Ctrl+P: the print menu at the lower-right corner of the print button.
    QShortcut* print = shortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    ASSERT_NE(print, nullptr);
    emit print->activated();
    ASSERT_TRUE(waitUntil([&] { return ui().PrintPopupMenu->isVisible(); }, 2000));
    EXPECT_EQ(ui().PrintPopupMenu->pos(),
              ui().bt_print->mapToGlobal(QPoint(ui().bt_print->width(), ui().bt_print->height())));
    ui().PrintPopupMenu->hide();

    // F1: the help beside the program, whatever the working directory.
    QShortcut* help = shortcut(QKeySequence(Qt::Key_F1));
    ASSERT_NE(help, nullptr);
    QDir::setCurrent(QDir::tempPath());
    QFile(QDir(programFolder()).filePath("qvhelp.chm")).open(QIODevice::WriteOnly);
    emit help->activated();
    emit help->activated();
    EXPECT_EQ(opened, QStringList(2, QDir(programFolder()).filePath("qvhelp.chm")));

    // Ctrl+, and F10: the settings dialog.
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Comma), QKeySequence(Qt::Key_F10)}) {
        QShortcut* settings = shortcut(keys);
        ASSERT_NE(settings, nullptr) << keys.toString().toStdString();
        bool shown = false;
        QTimer::singleShot(0, windows->fm_sett, [&] {
            shown = windows->fm_sett->isVisible();
            windows->fm_sett->reject();
        });
        emit settings->activated();
        EXPECT_TRUE(shown) << keys.toString().toStdString();
    }
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(PrintAndHelp, MenuItemsPrintThePictureAndTheListOrNothingWhenTheUserDeclines)
{
    main->show();
    ASSERT_TRUE(waitUntil([&] { return ui().GxSceneViewer->Buffer().FrameCount() > 0; }, 10000));
    ui().TreeView->AddSimpleRecord(org("Apteka"));
    ui().TreeView->AddSimpleRecord(org("Banya"));

    ui().N1->trigger();
    EXPECT_EQ(printer.pagesPrinted, 1);
    // The picture fills the page's width from its top-left corner, in the view's proportions.
    const QSize view = ui().GxSceneViewer->size();
    const int pictureHeight = qRound(1000.0 * view.height() / view.width());
    const auto nonWhite = [&](QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += printer.page.pixelColor(x, y) != QColor(Qt::white);
        return n;
    };
    EXPECT_GT(nonWhite({0, 0, 1000, pictureHeight - 1}), 100); // the designed objects of an empty town
    EXPECT_EQ(nonWhite({0, pictureHeight + 1, 1000, 1400 - pictureHeight - 1}), 0);

    ui().N2->trigger();
    ASSERT_EQ(printer.documents.size(), 1u);
    EXPECT_EQ(printer.documents[0].count(QString(17, QLatin1Char('-'))), 1);
    EXPECT_EQ(printer.documents[0].split('\n').size(), 11);
    EXPECT_EQ(printer.titles.back(), QStringLiteral("Quorvel 2007"));
    EXPECT_EQ(printers->suggestedNames, (std::vector<QString>{"Изображение", "Организации"}));

    printers->cancel = true;
    ui().N1->trigger();
    ui().N2->trigger();
    EXPECT_EQ(printer.pagesPrinted, 1);
    EXPECT_EQ(printer.documents.size(), 1u);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
}

TEST_F(PrintAndHelp, ProgramWithoutItsHelpOpensTheBuiltInCopyOrSaysWhyNot)
{
    // The program folder holds no help and there is no installation around it.
    const QString cache = programFolder() + "/cache";
    qputenv("XDG_CACHE_HOME", cache.toUtf8());
    ui().bt_info->click();
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], cache + "/quorvel/qvhelp.html");
    QFile copy(opened[0]);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), HelpFile::BuiltIn());
    EXPECT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();

    // No viewer for the document: the user is told.
    viewerThere = false;
    ui().bt_info->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors[0], "Нет программы для просмотра справки \"" + cache + "/quorvel/qvhelp.html\"");

    // The copy cannot be written: the user is told, and nothing is handed to the desktop.
    viewerThere = true;
    opened.clear();
    QFile::remove(cache + "/quorvel/qvhelp.html");
    QDir(cache).rmdir("quorvel");
    QFile(cache + "/quorvel").open(QIODevice::WriteOnly);
    ui().bt_info->click();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[1], "Не удалось записать справку в файл \"" + cache + "/quorvel/qvhelp.html\"");
}
