// SPDX-License-Identifier: MIT
// velmix: the gradient maker's window.

#include "app/appicon.h"
#include "app/programdir.h"
#include "app/shutdownsignals.h"
#include "common/dialogs.h"
#include "core/version.h"
#include "main/frmmain.h"
#include "widgets/widgets.h"

#include <QApplication>
#include <QStandardPaths>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace velmix;

namespace {

constexpr const char* kUsage =
    "Usage: velmix [QT-OPTION]...\n"
    "Make linear colour gradients for web page backgrounds.\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "      --version  print the version and exit\n"
    "\n"
    "Qt's own options are understood too, for example -platform NAME,\n"
    "-display DISPLAY and -style NAME. The settings file is velmix.ini beside\n"
    "the program, or ~/.config/velmix/velmix.ini for an installed copy.\n"
    "The windows speak Japanese on a Japanese desktop or without a language\n"
    "(LANG=C), else English; the View menu switches between them.\n"
    "Images from the command line: velmix-render --help. Manual: man velmix.\n";

// --help and --version are answered before Qt is started: they need no
// display and open no window. Returns the exit code, or -1 to go on.
int AnswerInfoOptions(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velmix %s\n", kVersionText);
            return 0;
        }
    }
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    if (const int answered = AnswerInfoOptions(argc, argv); answered >= 0)
        return answered;
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
        // Qt took its own options out of argv; anything left is not ours either.
        if (argc > 1) {
            std::fprintf(stderr, "velmix: unknown argument '%s' (see velmix --help)\n", argv[1]);
            return 2;
        }
        QApplication::setApplicationName(QStringLiteral("velmix"));
        QApplication::setDesktopFileName(QStringLiteral("org.velmix.Velmix"));
        QApplication::setWindowIcon(AppIcon());
        // No display name: it would be appended to every window's caption.
        // Japanese or English as the locale says; the settings file's choice,
        // if any, is applied when the window reads it.
        SetUpUi(LanguageFromEnvironment());
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
        const ProgramFolders folders = FindProgramFolders(
            QCoreApplication::applicationDirPath(), // links resolved
            QStringLiteral(VELMIX_INSTALL_BINDIR), QStringLiteral(VELMIX_DATA_FROM_BIN));
        env.programDir = folders.programDir;
        env.settingsBesideProgram = !folders.installed;
        env.userConfigDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);

        frmMain window(env);
        QObject::connect(&shutdownSignals, &ShutdownSignals::requested, &window,
                         &frmMain::EndUnattended);
        window.show();
        result = app.exec();
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
