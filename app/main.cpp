// velmix: the gradient maker's window.

#include "appicon.h"
#include "dialogs.h"
#include "frmmain.h"
#include "shutdownsignals.h"
#include "widgets.h"

#include <QApplication>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

using namespace velmix;

namespace {

// When the X server goes away, Qt ends the process with exit() from inside
// the event loop: no window is closed, but the program's state is intact and
// exit handlers still run. That is the last chance to write the settings.
frmMain* g_window = nullptr;
std::thread::id g_guiThread;

void WriteSettingsOnExit()
{
    if (g_window && std::this_thread::get_id() == g_guiThread)
        g_window->SaveSettingsNow();
}

} // namespace

int main(int argc, char** argv)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "velmix: no display found (DISPLAY and WAYLAND_DISPLAY are not "
                             "set).\nStart it from a desktop session, or under xvfb-run.\n");
        return 1;
    }
#endif
    int result = 0;
    int endedBy = 0;
    {
        QApplication app(argc, argv);
        QApplication::setApplicationName(QStringLiteral("velmix"));
        QApplication::setDesktopFileName(QStringLiteral("org.velmix.Velmix"));
        QApplication::setWindowIcon(AppIcon());
        // No display name: it would be appended to every window's caption.
        SetUpJapaneseUi();
        // Before the window: a signal during start-up waits for the event loop.
        ShutdownSignals shutdownSignals;
        // A file size limit makes a write fail with EFBIG, reported like a
        // full disk, instead of killing the program.
        std::signal(SIGXFSZ, SIG_IGN);

        QtDialogs dialogs;
        ClockRandom random;
        AppEnvironment env;
        env.dialogs = &dialogs;
        env.random = &random;
        env.programDir = QCoreApplication::applicationDirPath(); // links resolved
        env.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);

        frmMain window(env);
        QObject::connect(&shutdownSignals, &ShutdownSignals::requested, &window,
                         &frmMain::EndUnattended);
        g_window = &window;
        g_guiThread = std::this_thread::get_id();
        std::atexit(WriteSettingsOnExit);
        window.show();
        result = app.exec();
        g_window = nullptr;
        endedBy = ShutdownSignals::received();
    }
    // Ended by a signal: say so to whoever sent it (a shell stops its script
    // on Ctrl+C only when the program died of it).
    if (endedBy != 0) {
        std::signal(endedBy, SIG_DFL);
        std::raise(endedBy);
    }
    return result;
}
