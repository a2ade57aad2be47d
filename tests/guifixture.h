#pragma once
// A main window on the offscreen platform with scripted dialogs, a fixed
// random sequence and its own program and user folders.

#include "dialogs.h"
#include "frmmain.h"
#include "frmtile.h"
#include "module1.h"
#include "widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace velmix {

class FixedRandom : public RandomSource
{
public:
    std::vector<float> values{0.25f};
    std::size_t at = 0;
    float next() override { return values[at++ % values.size()]; }
};

struct GuiFixture
{
    QTemporaryDir programDir;
    QTemporaryDir userDir;
    ScriptedDialogs dialogs;
    FixedRandom random;
    std::vector<QUrl> opened;
    bool openerResult = true;
    std::unique_ptr<frmMain> main;
    // The undo history's clock: it stands still unless a test moves it.
    std::chrono::steady_clock::time_point now{};

    // settings: the text of velmix.ini beside the program, if any.
    explicit GuiFixture(const QByteArray& settings = {}, bool show = true,
                        std::size_t undoLimit = EditHistory::kDefaultLimit)
    {
        // Qt warns of what a program should never do (a connection to no
        // object, a picture read out of range); here that fails. The offscreen
        // platform's notes on what it cannot do are no fault.
        QTest::failOnWarning(QRegularExpression("^(?!This plugin does not support)"));
        QFile ini(programDir.filePath("velmix.ini"));
        if (!settings.isEmpty() && ini.open(QIODevice::WriteOnly))
            ini.write(settings);
        ini.close();
        SetUpJapaneseUi();
        const auto opener = [this](const QUrl& url) {
            opened.push_back(url);
            return openerResult;
        };
        main = std::make_unique<frmMain>(AppEnvironment{&dialogs, &random, programDir.path(),
                                                        userDir.path(), opener, undoLimit,
                                                        [this] { return now; }});
        if (show) {
            main->show();
            QApplication::setActiveWindow(main.get());
            (void)QTest::qWaitForWindowActive(main.get());
        }
    }

    frmMain& w() { return *main; }
    frmTile& tile() { return main->tile(); }

    // What the core computes for the window's current points.
    std::vector<Colour> expectedLine(int length) const
    {
        return DrawGrad(main->currentPoints(), length);
    }

    QByteArray iniText() const
    {
        QFile f(programDir.filePath("velmix.ini"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// A window's control, found by its object name: the windows keep their
// controls private. A missing control fails the test at once.
template <class W> W* child(const QObject& window, const QString& name)
{
    W* w = window.findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// One of a row of controls, named name_index ("Check1_3").
template <class W> W* child(const QObject& window, const char* name, int index)
{
    return child<W>(window, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index));
}

inline QRgb Rgb(Colour c)
{
    return ToQColor(c).rgb();
}

// Does every column of the image show the line's colour (left to right)?
inline bool ImageShowsLine(const QImage& img, const std::vector<Colour>& line)
{
    if (img.width() != static_cast<int>(line.size()))
        return false;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != Rgb(line[static_cast<std::size_t>(x)]))
                return false;
    return true;
}

} // namespace velmix
