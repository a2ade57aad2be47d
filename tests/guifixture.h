// SPDX-License-Identifier: MIT
#pragma once
// A main window on the offscreen platform with scripted dialogs, a fixed
// random sequence and its own program and user folders.

#include "common/dialogs.h"
#include "main/frmmain.h"
#include "main/module1.h"
#include "main/undomenu.h"
#include "points.h"
#include "testutil.h"
#include "tile/frmtile.h"
#include "widgets/widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

// A text column of the current row, as a local of its name.
#define FETCH(name) QFETCH(QString, name)

namespace velmix {

// A window's control, found by its object name: the windows keep their
// controls private. A missing control fails the test at once.
template <class W> W* child(const QObject& window, const QString& name)
{
    W* w = window.findChild<W*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// One of a row of controls' names ("Check1_3").
inline QString Row(const char* name, int i)
{
    return name + QString("_%1").arg(i);
}

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
    // When given: run as the desktop's opener is.
    QString openerProgram;
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
        if (!settings.isEmpty())
            WriteAll(programDir.filePath("velmix.ini"), settings);
        SetUpJapaneseUi();
        const auto opener = [this](const QUrl& url, const OpenFailed& no) {
            opened.push_back(url);
            return openerProgram.isEmpty() || OpenWithProgram(openerProgram, url, no);
        };
        const auto clock = [this] { return now; };
        const auto dir = programDir.path();
        main = std::make_unique<frmMain>(AppEnvironment{
            &dialogs, &random, dir, userDir.path(), opener, undoLimit, clock});
        if (show) {
            main->show();
            QApplication::setActiveWindow(main.get());
            (void)QTest::qWaitForWindowActive(main.get());
        }
    }

    frmMain& w() { return *main; }
    frmTile& tile() { return main->tile(); }
    const auto& doc() const { return main->document(); }
    const auto& pts() const { return doc().points(); }
    int steps() const { return int(doc().history().undoCount()); }
    // What the windows said.
    const auto& said() const { return dialogs.messages; }

    // The main window's controls, by name or by row.
    template <class W = QWidget> W* get(const QString& n) const
    {
        return child<W>(*main, n);
    }
    auto* check(int i) const { return get<QCheckBox>(Row("Check1", i)); }
    auto* slider(int i) const { return get<QSlider>(Row("Slider1", i)); }
    auto* colorBox(int i) const { return get<ColorBox>(Row("PicColor", i)); }
    auto* label(const char* n, int i) const { return get<QLabel>(Row(n, i)); }
    QString text(const char* n, int i) const { return label(n, i)->text(); }
    auto* sizeBox() const { return get<QLineEdit>("txtSize"); }
    QImage preview() const { return get<ImageBox>("picPrev")->image(); }
    auto* grad() { return child<ImageBox>(tile(), "picGrad"); }
    auto* action(const char* n) const { return get<QAction>(n); }
    void trigger(const char* n) const { action(n)->trigger(); }
    void down() const { get<QRadioButton>("Option1_1")->click(); }

    // What the core computes for the window's current points.
    auto expectedLine(int n) const { return DrawGrad(pts(), n); }

    auto iniText() const { return ReadAll(programDir.filePath("velmix.ini")); }
    // A control of the options dialog.
    template <class W> W* option(const char* n) const
    {
        return child<W>(main->option(), n);
    }
};

// A settings file that is complete enough to be read, and `rest`.
inline QByteArray Ini(const QByteArray& rest)
{
    return "[IniCheck]\nDummy=1\n" + rest;
}

inline void Click(QWidget* w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}

inline QRgb Rgb(Colour c)
{
    return ToQColor(c).rgb();
}

// Does every pixel show the line's colour at its column (at its row when
// down), the line repeated? Read by rows: this runs after every action of
// the soak test.
inline bool ImageShowsLine(const QImage& image, const std::vector<Colour>& line,
                           bool down = false)
{
    const auto img = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (row[x] != Rgb(line[std::size_t(down ? y : x) % line.size()]))
                return false;
    }
    return true;
}

// What the windows show that is not what the core computes for the main
// window's state, or nothing: every point's row, the undo history (a change
// is a step once it is finished: a size still being typed is finished by the
// next step; a dialog's live preview by its OK), the preview and the tile
// window's pixels.
inline QString ShownFault(GuiFixture& f, bool finished = true)
{
    const auto& d = f.doc();
    const auto& p = d.points();
    const auto n = [](int v) { return QString::number(v); };
    for (int i = 0; i < kPointCount; ++i) {
        const int on = p.enabled[i];
        const int at = p.position[i];
        const auto c = ToQColor(p.color[i]);
        const auto* s = f.slider(i);
        const auto* box = f.colorBox(i);
        QStringList is, want;
        is << n(f.check(i)->isChecked()) << n(!f.label("LabX", i)->isVisible());
        is << n(s->isEnabled()) << n(box->isEnabled()) << n(s->value())
           << f.text("LabLocate", i);
        is << f.text("LabColor", i) << f.text("LabColor", i + 7)
           << f.text("LabColor", i + 14);
        is << box->color().name();
        want << n(on) << n(on) << n(on) << n(on) << n(at) << n(at) << n(c.red())
             << n(c.green());
        want << n(c.blue()) << c.name();
        if (is != want)
            return QString("point %1: %2, not %3")
                .arg(n(i), is.join(' '), want.join(' '));
    }
    if (std::ranges::count(p.enabled, true) == 0)
        return "no point enabled";
    auto shown = d.state();
    shown.size = d.history().current().size;
    if (finished && shown != d.history().current())
        return "a change that is no undo step";
    if (f.preview().width() != 280 || !ImageShowsLine(f.preview(), f.expectedLine(280)))
        return "preview pixels";
    const int size = d.size();
    auto& t = f.tile();
    if (!t.isVisible() || t.isMinimized() || size < 1)
        return {};
    const bool down = d.orientation() != 0;
    if (t.picWork().size() != (down ? QSize(1, size) : QSize(size, 1)))
        return "work picture size";
    if (!ImageShowsLine(f.grad()->image(), f.expectedLine(size), down))
        return "tile pixels";
    return {};
}

} // namespace velmix
