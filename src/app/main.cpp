#include "app/AppWindows.h"
#include "app/ApplicationTitle.h"
#include "app/SurfaceFormat.h"
#include "platform/ErrorBox.h"
#include "platform/Fonts.h"
#include "platform/KeyState.h"
#include "platform/ReportingApplication.h"
#include "platform/StandardDialogTexts.h"

int main(int argc, char** argv)
{
    installDefaultSurfaceFormat();
    ReportingApplication app(argc, argv);
    setApplicationTitle(QString::fromUtf8(kApplicationTitle));
    installFontSubstitutes();
    installStandardDialogTexts();

    LiveKeyState liveKeys;
    KeyStateScope keyState(liveKeys);

    // The process ends when the principal window closes, not with the last
    // visible one: the closing screen outlives the main window.
    app.setQuitOnLastWindowClosed(false);
    AppWindows windows(QCoreApplication::applicationDirPath(), [] { QCoreApplication::quit(); });
    windows.MessageLoopStarts();
    app.exec();
    return 0;
}
