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
#include <QCoreApplication>
#include <QIcon>

#include <cstdio>
#include <cstdlib>
#include <string_view>

// Resources of the library are linked in only when asked for by name.
static void initProgramIcon()
{
    Q_INIT_RESOURCE(quorvel_icon);
}

namespace {
void describeArguments(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QString::fromUtf8(kApplicationTitle)
        + QStringLiteral("\n\nПеременная окружения QUORVEL_NOW (например, QUORVEL_NOW=2026-12-11T10:30, местное время) "
                         "останавливает часы программы на этом моменте: по ним «Открыто сейчас» и часы работы в списке."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(
        QStringLiteral("ПАПКА"),
        QStringLiteral("папка с файлами города data.mod, data.modt, fl.dat и data.tmd; без неё — "
                       "data/ рядом с программой, ~/.local/share/quorvel/data или установленный демонстрационный город"),
        QStringLiteral("[ПАПКА]"));
}

// --help and --version print and end the process before a window system is
// opened, so that they work without a display (the manual page is made from
// them at build time).
void answerHelpOrVersion(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--")
            return;
        if (arg == "-h" || arg == "-?" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version") {
            QCoreApplication app(argc, argv);
            QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
            installStandardDialogTexts();
            QCommandLineParser parser;
            describeArguments(parser);
            parser.process(app); // exits
            return;
        }
    }
}

// quorvel [FOLDER]: the folder of a town's data files, or nothing. Errors in
// the arguments end the process here.
QString townFolderArgument(const QCoreApplication& app)
{
    QCommandLineParser parser;
    describeArguments(parser);
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
    answerHelpOrVersion(argc, argv);
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
