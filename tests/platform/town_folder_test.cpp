#include "platform/TownFolder.h"

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using TownFolder::Source;

TEST(TownFolder, FirstPlaceThatIsThereWins)
{
    const QString program = "/opt/q/bin";
    const QString beside = "/opt/q/bin/data";
    const QString xdgUser = "/xdg/quorvel/data";
    const QString homeUser = "/home/u/.local/share/quorvel/data";
    const QString installed = "/opt/q/share/quorvel/data";
    const struct {
        const char* what;
        QString commandLine, xdgDataHome, home;
        QSet<QString> folders; // what exists
        QString expected;
        Source source;
    } cases[] = {
        {"command line wins over everything", "/towns/moscow", "/xdg", "/home/u",
         {beside, xdgUser, homeUser, installed}, "/towns/moscow", Source::CommandLine},
        {"command line is taken even when missing", "/towns/nowhere", "", "/home/u", {beside}, "/towns/nowhere",
         Source::CommandLine},
        {"command line path is cleaned", "/towns/./moscow/", "", "", {}, "/towns/moscow", Source::CommandLine},
        {"designed data/ beside the program", "", "/xdg", "/home/u", {beside, xdgUser, installed}, beside,
         Source::BesideProgram},
        {"XDG_DATA_HOME before the installed town", "", "/xdg", "/home/u", {xdgUser, homeUser, installed}, xdgUser,
         Source::UserData},
        {"XDG_DATA_HOME set: ~/.local/share is not asked", "", "/xdg", "/home/u", {homeUser, installed}, installed,
         Source::Installed},
        {"XDG_DATA_HOME unset: ~/.local/share", "", "", "/home/u", {homeUser, installed}, homeUser,
         Source::UserData},
        {"relative XDG_DATA_HOME is ignored", "", "xdg", "/home/u", {"xdg/quorvel/data", homeUser}, homeUser,
         Source::UserData},
        {"no HOME, no XDG: the installed town", "", "", "", {installed, "/.local/share/quorvel/data"}, installed,
         Source::Installed},
        {"nothing there: designed data/ so the error names it", "", "/xdg", "/home/u", {}, beside,
         Source::NoneFound},
    };
    for (const auto& c : cases) {
        QStringList asked;
        const TownFolder::Choice choice =
            TownFolder::choose({c.commandLine, program, c.xdgDataHome, c.home}, [&](const QString& path) {
                asked << path;
                return c.folders.contains(path);
            });
        EXPECT_EQ(choice.folder, c.expected) << c.what << "; asked " << asked.join(", ").toStdString();
        EXPECT_EQ(choice.source, c.source) << c.what;
    }
}

TEST(TownFolder, InstalledTownIsFoundFromTheProgramsOwnFolder)
{
    // A relocated installation: the program in PREFIX/bin, its town in PREFIX/share.
    QTemporaryDir prefix;
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin"));
    ASSERT_TRUE(QDir(prefix.path()).mkpath("share/quorvel/data"));
    const TownFolder::Choice choice =
        TownFolder::choose({{}, prefix.path() + "/bin", {}, prefix.path() + "/home"}, TownFolder::isExistingFolder);
    EXPECT_EQ(choice.folder, prefix.path() + "/share/quorvel/data");
    EXPECT_EQ(choice.source, Source::Installed);
}

TEST(TownFolder, RelativeCommandLineFolderIsTakenFromTheWorkingDirectory)
{
    const QString before = QDir::currentPath();
    QTemporaryDir dir;
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const TownFolder::Places places = TownFolder::placesOfThisProcess("towns/../moscow", "/opt/q/bin");
    QDir::setCurrent(before);
    EXPECT_EQ(TownFolder::choose(places, TownFolder::isExistingFolder).folder,
              QDir(dir.path()).canonicalPath() + "/moscow");
}
