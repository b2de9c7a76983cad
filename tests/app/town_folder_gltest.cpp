// Start-up on a town folder named on the command line, and the town's own title.
#include "AppFixture.h"

#include "MainControls.h"
#include "app/MainWindow.h"
#include "data/TownIniWriter.h"
#include "directory/SortedComboBox.h"

#include <fstream>

class TownFolderStartup : public AppFixture {
protected:
    QString elsewhere() const { return programFolder() + "/города/Тверь"; }

    void writeTitle(const QString& folder, std::string_view title)
    {
        std::ofstream(folder.toStdString() + "/town.ini", std::ios::binary) << writeTownIni(title);
    }

    // The error boxes of a start on `folder`, which then ends.
    QStringList errorsOfStartOn(const QString& folder)
    {
        errors.clear();
        start(folder);
        const QStringList seen = errors;
        windows.reset();
        return seen;
    }
};

TEST_F(TownFolderStartup, FolderElsewhereIsLoadedAndItsTownIniNamesTheWindow)
{
    // Nothing beside the program: everything comes from the named folder.
    writeTown({{fixtureHouse("Ленина", "5", 0, 0, 2)}, {}, {}, 0},
              {fixtureOrg("Аптека", "Ленина", "5"), fixtureOrg("Банк", "Ленина", "5")}, elsewhere());
    writeTitle(elsewhere(), "Тверь, центр");
    start(elsewhere());

    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    Tfm_main* main = windows->fm_main;
    EXPECT_EQ(main->windowTitle(), "Тверь, центр");
    EXPECT_EQ(main->Records().size(), 2u);
    EXPECT_EQ(controlsOf(*main).OrgName->Count(), 2);
    EXPECT_NE(windows->fm_start, nullptr);
    // The working directory is still the program's folder.
    EXPECT_EQ(QDir::currentPath(), QDir(programFolder()).canonicalPath());
}

TEST_F(TownFolderStartup, WithoutTownIniTheDesignedTitleStays)
{
    writeEmptyTown();
    const QString data = programFolder() + "/data";
    for (const std::string& ini : {std::string(), std::string("[town]\ntitle=\n")}) {
        if (!ini.empty())
            std::ofstream((data + "/town.ini").toStdString(), std::ios::binary) << ini;
        start();
        EXPECT_EQ(windows->fm_main->windowTitle(), QString::fromUtf8(Tfm_main::kDesignedTitle)) << ini;
        EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
        windows.reset();
    }
}

TEST_F(TownFolderStartup, MissingOrDamagedFileGivesTheDesignedFoldersErrorNamingIt)
{
    const QString designed = programFolder() + "/data";
    const struct {
        const char* file;
        bool cut; // cut to its first 10 bytes instead of removed
    } cases[] = {{"data.mod", false}, {"data.modt", false}, {"fl.dat", false},
                 {"data.tmd", false}, {"data.mod", true},   {"data.tmd", true}};
    for (const auto& c : cases) {
        const std::string what = std::string(c.file) + (c.cut ? " cut short" : " missing");
        QStringList seen[2];
        int i = 0;
        for (const QString& folder : {designed, elsewhere()}) {
            writeTown({{fixtureHouse("Ленина", "5", 0, 0, 2)}, {}, {}, 0}, {fixtureOrg("Аптека", "Ленина", "5")},
                      folder);
            const QString path = folder + "/" + c.file;
            if (c.cut)
                ASSERT_TRUE(QFile::resize(path, 10)) << what;
            else
                ASSERT_TRUE(QFile::remove(path)) << what;
            seen[i] = errorsOfStartOn(folder);
            ASSERT_EQ(seen[i].size(), 1) << what << ": " << seen[i].join("\n").toStdString();
            EXPECT_TRUE(seen[i][0].contains(path)) << what << ": " << seen[i][0].toStdString();
            ++i;
        }
        EXPECT_EQ(seen[1][0], QString(seen[0][0]).replace(designed, elsewhere())) << what;
    }
}
