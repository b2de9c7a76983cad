#pragma once

#include <QString>

#include <functional>

// Where the program's town, its four data files, is looked for.
namespace TownFolder {

// The installed demo town, relative to the folder of the installed executable.
inline constexpr char kInstalledRelative[] = "../share/quorvel/data";
// The user's own town, relative to the user's data folder.
inline constexpr char kUserRelative[] = "quorvel/data";

// What the choice is made from.
struct Places {
    QString commandLine;   // the folder named on the command line, absolute; empty when none was named
    QString programFolder; // the folder of the executable
    QString xdgDataHome;   // $XDG_DATA_HOME as the environment has it
    QString home;          // $HOME
};

enum class Source { CommandLine, BesideProgram, UserData, Installed, NoneFound };

struct Choice {
    QString folder;
    Source source = Source::NoneFound;
};

// The first of: the folder named on the command line (taken as it is: what
// is missing in it is reported when it is read); data/ beside the
// executable; the user's data folder by the XDG rules ($XDG_DATA_HOME when
// it is an absolute path, else ~/.local/share); the installed demo town.
// `isFolder` tells whether a path is an existing folder. When none of them
// is there, data/ beside the executable, so that the error names it.
Choice choose(const Places& places, const std::function<bool(const QString&)>& isFolder);

// This process's places: `commandLineArgument` made absolute against the
// current working directory (call before start-up changes it), and the
// environment's XDG_DATA_HOME and HOME.
Places placesOfThisProcess(const QString& commandLineArgument, const QString& programFolder);

// An existing folder on the file system.
bool isExistingFolder(const QString& path);

} // namespace TownFolder
