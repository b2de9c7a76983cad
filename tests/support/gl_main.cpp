// Entry point of the test programs that draw with OpenGL or open windows.
// They run under Xvfb with Mesa's software renderer.
#include "app/EngineErrorBox.h"
#include "app/SurfaceFormat.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
#if defined(__SANITIZE_ADDRESS__)
    // Keep Mesa's driver loaded until the leak checker has run, so its
    // own allocations can be matched by the suppression file.
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
#endif
    // Listing the tests (ctest's discovery) needs no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // Without a session bus, Qt's D-Bus thread makes libdbus try to launch
    // one, and that failed attempt leaks inside libdbus. The tests need no bus.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    // An X display drawn by Mesa's software renderer, unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("LIBGL_ALWAYS_SOFTWARE"))
        qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
    installDefaultSurfaceFormat();
    QApplication app(argc, argv);
    installEngineErrorBox();
    // The program keeps settings in the user's configuration: the tests
    // keep theirs apart, and start from none.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    const int result = RUN_ALL_TESTS();
#if defined(__SANITIZE_ADDRESS__)
    // Look for leaks now, while Qt's and Mesa's threads wait idle, not while
    // exit is stopping them.
    __lsan_do_leak_check();
#endif
    return result;
}
