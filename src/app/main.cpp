#include "app/AppWindows.h"
#include "app/ApplicationTitle.h"
#include "app/EngineErrorBox.h"
#include "app/SurfaceFormat.h"
#include "platform/ErrorBox.h"
#include "platform/Fonts.h"
#include "platform/HeapPolicy.h"
#include "platform/KeyState.h"
#include "platform/ReportingApplication.h"
#include "platform/StandardDialogTexts.h"
#include "platform/TownFolder.h"

#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>
#include <cstdlib>

// Resources of the library are linked in only when asked for by name.
static void initProgramIcon()
{
    Q_INIT_RESOURCE(quorvel_icon);
}

namespace {
// quorvel [FOLDER]: the folder of a town's data files, or nothing. Help and
// errors in the arguments end the process here.
QString townFolderArgument(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromUtf8(kApplicationTitle));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("ПАПКА"),
        QStringLiteral("папка с файлами города data.mod, data.modt, fl.dat и data.tmd; без неё — "
                       "data/ рядом с программой, ~/.local/share/quorvel/data или установленный демонстрационный город"),
        QStringLiteral("[ПАПКА]"));
    parser.process(app);
    const QStringList folders = parser.positionalArguments();
    if (folders.size() > 1) {
        std::fputs(qPrintable(QStringLiteral("Укажите одну папку города.\n\n") + parser.helpText()), stderr);
        std::exit(2);
    }
    return folders.isEmpty() ? QString() : folders.front();
}

QIcon programIcon()
{
    initProgramIcon();
    QIcon icon;
    for (int size : {48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/quorvel-%1.png").arg(size));
    return icon;
}
} // namespace

int main(int argc, char** argv)
{
    keepLargeBlocksOutOfTheHeap();
    installDefaultSurfaceFormat();
    ReportingApplication app(argc, argv);
    setApplicationTitle(QString::fromUtf8(kApplicationTitle));
    installEngineErrorBox();
    installFontSubstitutes();
    installStandardDialogTexts();
    QApplication::setWindowIcon(programIcon());

    // Before start-up makes the executable's folder the working directory.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const TownFolder::Choice town = TownFolder::choose(
        TownFolder::placesOfThisProcess(townFolderArgument(app), programFolder), TownFolder::isExistingFolder);

    LiveKeyState liveKeys;
    KeyStateScope keyState(liveKeys);

    // The process ends when the principal window closes, not with the last
    // visible one: the closing screen outlives the main window.
    app.setQuitOnLastWindowClosed(false);
    AppWindows windows(programFolder, town.folder, [] { QCoreApplication::quit(); });
    windows.MessageLoopStarts();
    app.exec();
    return 0;
}
