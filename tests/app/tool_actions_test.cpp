// The print menu, the help and the settings without the window.
#include "map/MainScene.h"
#include "map/MapState.h"
#include "app/ToolActions.h"
#include "data/TownModelWriter.h"
#include "directory/HelpFile.h"
#include "engine/objects/GxDummyCube.h"
#include "engine/objects/GxXYZGrid.h"
#include "platform/DocumentOpener.h"
#include "support/RecordingPrinter.h"
#include "support/TempDir.h"
#include "map/House.h"

#include <QFile>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class RecordingOpener : public DocumentOpener {
public:
    RecordingOpener(QStringList& opened, bool viewerThere) : m_opened(opened), m_viewerThere(viewerThere) {}
    bool Open(const QString& path) override
    {
        m_opened << path;
        return m_viewerThere;
    }

private:
    QStringList& m_opened;
    bool m_viewerThere;
};

class ToolActionsTest : public ::testing::Test {
protected:
    void make(bool viewerThere = true)
    {
        ToolActions::Services services;
        services.PopUpPrintMenu = [this] { done << "menu"; };
        services.PrintPicture = [this](Printer& printer, float scale) {
            printer.BeginDoc("picture");
            printer.EndDoc();
            done << QStringLiteral("picture x%1").arg(scale);
        };
        services.PrintList = [this](Printer& printer) {
            printer.BeginDoc("list");
            printer.EndDoc();
            done << "list";
        };
        services.ShowSettings = [this] { done << "settings"; };
        auto source = std::make_unique<RecordingPrinterSource>(printer);
        printers = source.get();
        actions = std::make_unique<ToolActions>(std::move(source), std::make_unique<RecordingOpener>(opened, viewerThere),
                                                QString::fromStdString(program.path()),
                                                [this] { return QString::fromStdString(spare.path()) + "/cache"; },
                                                std::move(services));
    }

    TempDir program;
    TempDir spare;
    RecordingPrinter printer{{100, 140}};
    RecordingPrinterSource* printers = nullptr;
    QStringList opened;
    QStringList done;
    std::unique_ptr<ToolActions> actions;
};

TEST_F(ToolActionsTest, ThePrintMenusItemsGoToTheirPrintsOnAPrinterNamedAfterThem)
{
    const struct {
        const char* item;
        bool cancel;
        QStringList done;
        int pages;
    } cases[] = {
        {"Изображение", false, {"picture x3.125"}, 1},
        {"Организации", false, {"list"}, 1},
        {"Изображение", true, {}, 0},
        {"Организации", true, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.item) + (c.cancel ? ", no printer chosen" : ""));
        make();
        printers->cancel = c.cancel;
        printer.pagesPrinted = 0;
        done.clear();
        actions->Print(QString::fromUtf8(c.item));
        EXPECT_EQ(done, c.done);
        EXPECT_EQ(printer.pagesPrinted, c.pages);
        EXPECT_EQ(printers->suggestedNames, std::vector<QString>{QString::fromUtf8(c.item)});
    }
}

TEST_F(ToolActionsTest, AnUnknownPrintItemIsAnErrorAndAsksForNoPrinter)
{
    make();
    EXPECT_THROW(actions->Print(QStringLiteral("Карта")), std::runtime_error);
    EXPECT_TRUE(printers->suggestedNames.empty());
    EXPECT_TRUE(done.isEmpty());
}

TEST_F(ToolActionsTest, TheMenuAndTheSettingsAreShownByTheWindow)
{
    make();
    actions->PrintMenu();
    actions->Settings();
    EXPECT_EQ(done, (QStringList{"menu", "settings"}));
    EXPECT_TRUE(printers->suggestedNames.empty()) << "opening the menu prints nothing";
}

TEST_F(ToolActionsTest, TheHelpOpensTheProgramsOwnCopyOrTheBuiltInOne)
{
    const QString own = QString::fromStdString(program.file(HelpFile::kHtmlName));
    const QString builtIn = QString::fromStdString(spare.path()) + "/cache/" + HelpFile::kHtmlName;
    for (bool beside : {true, false}) {
        SCOPED_TRACE(beside ? "beside the program" : "built in");
        if (beside) {
            QFile file(own);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("<html>help</html>");
        } else {
            QFile::remove(own);
        }
        opened.clear();
        make();
        actions->Help();
        ASSERT_EQ(opened.size(), 1);
        EXPECT_EQ(opened[0], beside ? own : builtIn);
        if (!beside)
            EXPECT_EQ(QFileInfo(builtIn).size(), HelpFile::BuiltIn().size());
    }
}

TEST_F(ToolActionsTest, WithoutAViewerTheHelpIsAnErrorNamingTheFile)
{
    make(false);
    try {
        actions->Help();
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_EQ(QString::fromUtf8(e.what()),
                  "Нет программы для просмотра справки \"" + QString::fromStdString(spare.path()) + "/cache/" +
                      HelpFile::kHtmlName + "\"");
    }
    EXPECT_EQ(opened.size(), 1);
}

TEST(ApplySettings, EverythingButTheHousesFollowsShowNonBuildings)
{
    MainScene scene;
    auto* house = scene.GxScene.ObjectRoot()->SpawnChild<Thouse>();
    // A house further down is not the settings' affair: only the root's children are.
    auto* nested = scene.GxDummyCube->SpawnChild<TGxDummyCube>();
    MapState state;
    for (bool show : {false, true, false}) {
        SCOPED_TRACE(show ? "shown" : "hidden");
        state.ShowNonBuildings = show;
        ToolActions::ApplySettings(state, scene.GxScene);
        EXPECT_TRUE(house->Visible());
        EXPECT_EQ(scene.GxXYZGrid->Visible(), show);
        EXPECT_EQ(scene.DCTarget->Visible(), show);
        EXPECT_EQ(scene.GxDummyCube->Visible(), show);
        EXPECT_TRUE(nested->Visible());
    }
}

} // namespace
