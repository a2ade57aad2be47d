// velmix: the gradient maker's window.

#include "appicon.h"
#include "dialogs.h"
#include "frmmain.h"

#include <QApplication>
#include <QStandardPaths>

#include <cstdio>
#include <cstdlib>

using namespace velmix;

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("velmix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmix"));
    QApplication::setDesktopFileName(QStringLiteral("org.velmix.Velmix"));
    QApplication::setWindowIcon(AppIcon());

    QtDialogs dialogs;
    ClockRandom random;
    AppEnvironment env;
    env.dialogs = &dialogs;
    env.random = &random;
    env.programDir = QCoreApplication::applicationDirPath(); // links resolved
    env.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);

    frmMain window(env);
    window.show();
    return app.exec();
}
