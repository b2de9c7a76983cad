#include "platform/TownFolder.h"

#include <QDir>
#include <QFileInfo>

namespace TownFolder {

namespace {
QString under(const QString& folder, const char* relative)
{
    return QDir::cleanPath(folder + QLatin1Char('/') + QString::fromLatin1(relative));
}

// Per the XDG base directory rules a relative $XDG_DATA_HOME is invalid and ignored.
QString userDataHome(const Places& places)
{
    if (!places.xdgDataHome.isEmpty() && QDir::isAbsolutePath(places.xdgDataHome))
        return places.xdgDataHome;
    if (!places.home.isEmpty())
        return places.home + QStringLiteral("/.local/share");
    return {};
}
} // namespace

Choice choose(const Places& places, const std::function<bool(const QString&)>& isFolder)
{
    if (!places.commandLine.isEmpty())
        return {QDir::cleanPath(places.commandLine), Source::CommandLine};

    const QString beside = under(places.programFolder, "data");
    if (isFolder(beside))
        return {beside, Source::BesideProgram};

    const QString dataHome = userDataHome(places);
    if (!dataHome.isEmpty()) {
        const QString user = under(dataHome, kUserRelative);
        if (isFolder(user))
            return {user, Source::UserData};
    }

    const QString installed = under(places.programFolder, kInstalledRelative);
    if (isFolder(installed))
        return {installed, Source::Installed};

    return {beside, Source::NoneFound};
}

Places placesOfThisProcess(const QString& commandLineArgument, const QString& programFolder)
{
    Places places;
    if (!commandLineArgument.isEmpty())
        places.commandLine = QFileInfo(commandLineArgument).absoluteFilePath();
    places.programFolder = programFolder;
    places.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    places.home = qEnvironmentVariable("HOME");
    return places;
}

bool isExistingFolder(const QString& path)
{
    return QFileInfo(path).isDir();
}

} // namespace TownFolder
