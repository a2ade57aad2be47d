// SPDX-License-Identifier: MIT
// Interaction speed on the real widgets under the offscreen platform, each
// figure beside a physical reference measured in the same run.
//   bench_interactive            the measurements (prints a table)
//   bench_interactive --startup  start the program's window, print the time
//                                to its first painted frame and the RSS
//   bench_interactive --minimal  the same for a plain one-window Qt program
//   bench_interactive --minimal-text  ... with one label of Japanese text
//   bench_interactive --drags    live drags on the platform in use (xcb under
//                                Xvfb included): slider release and brightness
//                                drag, both orientations, two tile sizes

#include "common/dialogs.h"
#include "core/gradient.h"
#include "main/frmld.h"
#include "main/frmmain.h"
#include "tile/frmtile.h"
#include "widgets/widgets.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

using namespace velmix;
using Clock = std::chrono::steady_clock;

namespace {

// A window's control by object name (the windows keep them private).
template <class W> W* child(const QObject& window, const char* name)
{
    W* w = window.findChild<W*>(QLatin1String(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

template <class W> W* child(const QObject& window, const char* name, int index)
{
    return child<W>(window,
                    qPrintable(QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index)));
}

long RssKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Where the memory is, for VELMIX_BENCH_SMAPS=1.
void DumpSmaps()
{
    std::ifstream maps("/proc/self/smaps");
    std::string l, name;
    while (std::getline(maps, l)) {
        if (l.size() > 40 && std::isxdigit(static_cast<unsigned char>(l[0])) &&
            l.find('-') != std::string::npos)
            name = l.find('/') != std::string::npos || l.find('[') != std::string::npos
                       ? l.substr(l.find_last_of(' ') + 1)
                       : "[anon]";
        if (l.rfind("Rss:", 0) == 0)
            std::fprintf(stderr, "%ld %s\n", std::stol(l.substr(4)), name.c_str());
    }
}

// Quits the event loop at the first paint of the watched window.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Paint && !done) {
            done = true;
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(o, e);
    }
    bool done = false;
};

template <typename F> double BestMicros(int rounds, F f)
{
    double best = 1e300;
    for (int r = 0; r < rounds; ++r) {
        const auto t0 = Clock::now();
        f();
        best = std::min(best, std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
    }
    return best;
}

int StartupRun(const char* mode, const Clock::time_point& t0)
{
    FirstPaint watcher;
    int code = 0;
    if (std::strcmp(mode, "--minimal") == 0 || std::strcmp(mode, "--minimal-text") == 0) {
        QWidget w;
        w.resize(478, 386);
        // With one line of Japanese text: what fonts alone add.
        QLabel label(QStringLiteral("Velmix グラデーション"), &w);
        label.setVisible(std::strcmp(mode, "--minimal-text") == 0);
        w.installEventFilter(&watcher);
        w.show();
        code = QApplication::exec();
    } else {
        QTemporaryDir dir;
        QtDialogs dialogs;
        ClockRandom random;
        AppEnvironment env{
            &dialogs, &random, dir.path(), dir.path(), {}, EditHistory::kDefaultLimit, {}};
        frmMain w(env);
        w.installEventFilter(&watcher);
        w.show();
        code = QApplication::exec();
    }
    (void)t0;
    if (qEnvironmentVariableIsSet("VELMIX_BENCH_SMAPS"))
        DumpSmaps();
    // Wall-clock time of the first paint, so that the caller can measure from
    // before the process existed (loading included).
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    std::printf(
        "%lld %ld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()),
        RssKiB());
    return code;
}

// One step of a live drag, as the user sees it: the handlers, the repaint
// the event loop does next, and (on a real window system) the round trip
// that the server has taken every pixel. Median and best of the steps.
template <typename F> std::pair<double, double> StepMillis(int steps, F step)
{
    std::vector<double> t;
    for (int i = 0; i < steps; ++i) {
        const auto t0 = Clock::now();
        step(i);
        QCoreApplication::processEvents();
        QGuiApplication::sync();
        t.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    std::sort(t.begin(), t.end());
    return {t[t.size() / 2], t.front()};
}

int Drags()
{
    SetUpJapaneseUi();
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ClockRandom random;
    AppEnvironment env{&dialogs, &random, dir.path(), dir.path(), {}, EditHistory::kDefaultLimit,
                       {}};
    frmMain w(env);
    w.show();
    child<QLineEdit>(w, "txtSize")->setText(QStringLiteral("2000"));
    Trigger(w, "MenuTile");
    frmTile& tile = w.tile();
    std::printf("platform %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("| tile window | orientation | slider release, median (best) | brightness "
                "step, median (best) | memcpy of the tile bytes |\n|---|---|---|---|---|\n");
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)}) {
        for (int o : {0, 1}) {
            child<QRadioButton>(w, "Option1", o)->setChecked(true);
            tile.move(0, 0);
            tile.resize(size);
            for (int i = 0; i < 20; ++i) {
                QCoreApplication::processEvents();
                QGuiApplication::sync();
            }
            QSlider* s = child<QSlider>(w, "Slider1_1");
            const auto release = StepMillis(30, [&](int i) {
                s->setSliderDown(true);
                s->setSliderPosition(300 + (i % 2));
                s->setSliderDown(false);
            });
            frmLD& ld = w.ld();
            ld.show();
            QSlider* sldLD = child<QSlider>(ld, "sldLD");
            sldLD->setSliderDown(true);
            const auto drag =
                StepMillis(60, [&](int i) { sldLD->setSliderPosition((i % 2) ? 40 : 41); });
            sldLD->setSliderDown(false);
            ld.CmdCancel_Click();
            const QImage& grad = child<ImageBox>(tile, "picGrad")->image();
            const std::size_t bytes = static_cast<std::size_t>(grad.sizeInBytes());
            std::vector<char> a(bytes, 1), b(bytes);
            const double copy = BestMicros(30,
                                           [&] {
                                               std::memcpy(b.data(), a.data(), bytes);
                                               asm volatile("" : : "r"(b.data()) : "memory");
                                           }) /
                                1000.0;
            std::printf("| %dx%d | %s | %.1f ms (%.1f) | %.1f ms (%.1f) | %.1f ms (%.1f MB) |\n",
                        tile.width(), tile.height(), o == 0 ? "horizontal" : "vertical",
                        release.first, release.second, drag.first, drag.second, copy,
                        static_cast<double>(bytes) / 1e6);
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const auto t0 = Clock::now();
    const GradPoints p = StartupPoints();
    std::vector<Colour> line(2000);
    const double drawBefore = BestMicros(2000, [&] {
        DrawGrad(p, 2000, line.data());
        asm volatile("" : : "r"(line.data()) : "memory");
    });
    const bool drags = argc > 1 && std::strcmp(argv[1], "--drags") == 0;
    if (!drags || !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (drags)
        return Drags();
    if (argc > 1 && std::strncmp(argv[1], "--", 2) == 0)
        return StartupRun(argv[1], t0);

    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ClockRandom random;
    AppEnvironment env{&dialogs, &random, dir.path(), dir.path(), {}, EditHistory::kDefaultLimit,
                       {}};
    frmMain w(env);
    w.show();
    Trigger(w, "MenuTile");
    frmTile& tile = w.tile();
    tile.resize(3840, 2160);
    QCoreApplication::processEvents();

    const double draw = BestMicros(2000, [&] {
        DrawGrad(p, 2000, line.data());
        asm volatile("" : : "r"(line.data()) : "memory");
    });
    // Slider release: preview and tile window redrawn and repainted.
    QSlider* s = child<QSlider>(w, "Slider1_1");
    int v = 300;
    const double release = BestMicros(30, [&] {
        s->setSliderDown(true);
        s->setSliderPosition(v = (v == 300 ? 301 : 300));
        s->setSliderDown(false);
        // As the event loop does next: paint what the release made dirty.
        QCoreApplication::processEvents();
    });
    const QImage& grad = child<ImageBox>(tile, "picGrad")->image();
    const std::size_t bytes = static_cast<std::size_t>(grad.sizeInBytes());
    std::vector<char> a(bytes, 1), b(bytes);
    const double copy = BestMicros(30, [&] {
        std::memcpy(b.data(), a.data(), bytes);
        asm volatile("" : : "r"(b.data()) : "memory");
    });
    // Retiling picGrad's backing image is one copy of the tile area, painting
    // it into the window's backing store another.
    std::printf("slider release, tile window %dx%d: %.0f us; memcpy of %zu bytes: %.0f us; "
                "ratio %.2f\n",
                tile.width(), tile.height(), release, bytes, copy, release / copy);

    std::printf("DrawGrad at 2000 pixels: %.2f us (%.2f us before Qt started; target < 20 us)\n",
                draw, drawBefore);
    return 0;
}
