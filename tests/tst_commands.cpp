// SPDX-License-Identifier: MIT
// The commands on the real window with scripted dialogs: the edit menu
// (random colours, equal spacing, remember and restore, brightness), undo and
// redo of every kind of step, and saving and copying (each file type read
// back, the thickness and its bounds, cancelling, failures that keep the old
// file), and help.

#include "app/renderargs.h"
#include "core/webgrad.h"
#include "export/clstransg.h"
#include "export/frmoption.h"
#include "guifixture.h"
#include "main/frmld.h"
#include "main/undomenu.h"
#include "testutil.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QPushButton>

#include <cstring>

using namespace velmix;
using namespace std::chrono_literals;

namespace {

const auto Act = [](frmMain& w, const char* name) { return child<QAction>(w, name); };
const auto Click = [](QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); };

// Clicks the point's check box unless it already shows `on`.
void SetCheck(frmMain& w, int i, bool on)
{
    if (child<QCheckBox>(w, "Check1", i)->isChecked() != on)
        QTest::mouseClick(child<QCheckBox>(w, "Check1", i), Qt::LeftButton);
}

void OnlyEnable(frmMain& w, std::initializer_list<int> on)
{
    for (int i : on)
        SetCheck(w, i, true);
    for (int i = 0; i < kPointCount; ++i)
        SetCheck(w, i, std::find(on.begin(), on.end(), i) != on.end());
}

// Runs the brightness dialog with `script` for it.
const auto Brightness = [](GuiFixture& f, std::function<void(frmLD&, QLineEdit*)> script) {
    f.dialogs.modals.push_back(
        [script](QDialog* d) { script(*static_cast<frmLD*>(d), child<QLineEdit>(*d, "txtLD")); });
    Trigger(f.w(), "mnuLD");
};

// A settings file without its [Memory] section.
QByteArray OutsideMemory(QByteArray text)
{
    const auto from = text.indexOf("[Memory]");
    return text.remove(from, text.indexOf("\n[", from) - from);
}

// Everything undo promises to bring back, as the windows show it.
using Views = std::tuple<EditState, QImage, QImage, QImage>;

const auto Capture = [](GuiFixture& f) -> Views {
    return {f.w().document().state(), child<ImageBox>(f.w(), "picPrev")->image().copy(),
            f.w().picWork().copy(), child<ImageBox>(f.tile(), "picGrad")->image().copy()};
};

const auto Drag = [](QSlider* s, int to) {
    s->setSliderDown(true);
    s->setSliderPosition(to);
    s->setSliderDown(false);
};

// A file name (empty: the clipboard), down, the format as Qt reads it, the
// thickness (0: the box off, 1 across, 2 down), the size the options show,
// dithered (the box on from the settings file, and OKLab).
using Saved = std::tuple<QString, bool, QString, int, QString, bool>;

// Each kind of step: its name, what undo calls it, and how it is made.
const std::tuple<const char*, EditStep, std::function<void(GuiFixture&)>> kSteps[] = {
    {"check box", EditStep::Check, [](auto& f) { Click(child<QCheckBox>(f.w(), "Check1_5")); }},
    {"drag", EditStep::Slider, [](auto& f) { Drag(child<QSlider>(f.w(), "Slider1_2"), 810); }},
    {"keys", EditStep::Slider,
     [](auto& f) { QTest::keyClick(child<QSlider>(f.w(), "Slider1_2"), Qt::Key_PageUp); }},
    {"colour", EditStep::Colour,
     [](auto& f) {
         f.dialogs.colors.push_back(QColor(10, 20, 30));
         QTest::mouseClick(child<ColorBox>(f.w(), "PicColor", 2), Qt::LeftButton);
     }},
    {"random", EditStep::RandomUniform, [](auto& f) { Act(f.w(), "mnuRandom")->trigger(); }},
    {"down", EditStep::Orientation,
     [](auto& f) { Click(child<QRadioButton>(f.w(), "Option1_1")); }},
    {"spinner", EditStep::Size, [](auto& f) { child<UpDown>(f.w(), "UpDown1")->step(1); }},
    {"OKLab", EditStep::Blend, [](auto& f) { Act(f.w(), "mnuBlendKind_1")->trigger(); }},
};

// Saves to `path` (or copies, when empty) through the options dialog with a
// thickness (0: the box left off) and Enter; `look` sees the dialog first.
void Export(GuiFixture& f, const QString& path, int thickness,
            const std::function<void(QDialog*)>& look = {})
{
    if (!path.isEmpty())
        f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([thickness, look](QDialog* d) {
        if (look)
            look(d);
        child<QCheckBox>(*d, "chkHeight")->setChecked(thickness > 0);
        if (thickness > 0)
            child<QLineEdit>(*d, "txtSize")->setText(QString::number(thickness));
        QTest::keyClick(d, Qt::Key_Return); // OK is the default button
    });
    path.isEmpty() ? Trigger(f.w(), "mnuClipBoard") : Trigger(f.w(), "MenuSave");
}

QString OnlyError(GuiFixture& f)
{
    const auto& m = f.dialogs.messages;
    return m.size() == 1 && m[0].first == MsgIcon::Error ? m[0].second : "not one error";
}

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT
private slots:
    void randomAndEqual()
    {
        GuiFixture f;
        frmMain& w = f.w();
        f.random.values = {0.5f, 0.25f, 0.75f, 0.125f};
        Trigger(w, "mnuRandom");
        const auto& c = w.document().points().color;
        // The last takes the first's colour.
        QVERIFY(c[0] == 8388608 && c[1] == 4194304 && c[2] == 12582912 && c[3] == 8388608);
        QCOMPARE(c[5], 0); // disabled: untouched
        QCOMPARE(ShownFault(f), QString());
        OnlyEnable(w, {0, 1, 2});
        for (auto [i, at] : {std::pair{0, 900}, {1, 100}, {2, 500}, {5, 777}})
            child<QSlider>(w, "Slider1", i)->setValue(at);
        Trigger(w, "MenuTile");
        Trigger(w, "mnuEqual");
        for (auto [i, at] : {std::pair{0, 1000}, {1, 0}, {2, 500}, {5, 777}})
            QCOMPARE(child<QSlider>(w, "Slider1", i)->value(), at);
        QCOMPARE(ShownFault(f), QString());
        QVERIFY(ImageShowsLine(w.picWork(), f.expectedLine(100)));
    }

    void rememberAndRestore()
    {
        // A complete file (missing keys would be added), with lines of the user's.
        const QByteArray before = [] {
            GuiFixture first;
            first.w().close();
            QByteArray text = "; mine\n" + first.iniText() + "[Mine]\nkeep=me\n";
            return text.replace("[Memory]\n", "[Memory]\nnote=keep\n");
        }();
        GuiFixture f(before);
        frmMain& w = f.w();
        // Other units: the remember does not write them.
        f.dialogs.colors.push_back(QColor(255, 0, 0));
        f.tile().picForeColor_Click();
        w.move(300, 200);
        OnlyEnable(w, {6});
        child<QSlider>(w, "Slider1_6")->setValue(250);
        f.dialogs.colors.push_back(QColor(1, 2, 3));
        QTest::mouseClick(child<ColorBox>(w, "PicColor", 6), Qt::LeftButton);
        child<QLineEdit>(w, "txtSize")->setText("321");
        Click(child<QRadioButton>(w, "Option1_1"));
        child<QCheckBox>(w.option(), "chkHeight")->setChecked(true);
        child<QLineEdit>(w.option(), "txtSize")->setText("50");
        Act(w, "mnuBlendKind_1")->trigger(); // restored with the rest, not at start
        Trigger(w, "mnuMemorySave");
        QVERIFY(Act(w, "mnuMemoryLoad")->isEnabled());
        // Into the file at once, and only the remembered state.
        const QByteArray after = f.iniText();
        QCOMPARE(OutsideMemory(after), OutsideMemory(before));
        QVERIFY(after.contains("[Memory]\nnote=keep\nEnabled 0=0\nLocate 0=0\n"));
        QVERIFY(after.contains("Locate 6=250\n"));

        // The next start offers it, and applies it only when asked. Its points
        // lie below the remembered one: restoring switches that on before it
        // switches them off, so nothing is refused.
        GuiFixture next(after);
        frmMain& n = next.w();
        QVERIFY(n.document().points() == StartupPoints());
        Trigger(n, "mnuMemoryLoad");
        QCOMPARE(n.document().state(), w.document().state());
        QCOMPARE(ShownFault(next), QString());
        QVERIFY(child<QRadioButton>(n, "Option1_1")->isChecked());
        QVERIFY(child<QCheckBox>(n.option(), "chkHeight")->isChecked());
        QCOMPARE(n.state().SaveHeight, 50);
        QVERIFY(next.dialogs.messages.empty());
        // A state remembered across comes back across.
        Click(child<QRadioButton>(n, "Option1_0"));
        Trigger(n, "mnuMemorySave");
        Click(child<QRadioButton>(n, "Option1_1"));
        Trigger(n, "mnuMemoryLoad");
        QVERIFY(child<QRadioButton>(n, "Option1_0")->isChecked());
    }

    void cancelsAndNoSteps()
    {
        GuiFixture f;
        frmMain& w = f.w();
        Trigger(w, "MenuTile");
        Act(w, "mnuEqual")->trigger(); // the points are equally spaced already
        QTest::mouseClick(child<ColorBox>(w, "PicColor", 1),
                          Qt::LeftButton);  // colour dialog cancelled
        Act(w, "mnuMemorySave")->trigger(); // remember changes the slot only
        const Views before = Capture(f);
        Brightness(f, [&](frmLD& ld, QLineEdit* text) {
            text->setText("8");
            QTest::keyClick(child<QSlider>(ld, "sldLD"), Qt::Key_PageUp);
            QCOMPARE(text->text(), QString("40"));
            QCOMPARE(w.document().points().color[2], MakeColour(40, 40, 255));
            QVERIFY(std::get<3>(Capture(f)) != std::get<3>(before)); // live in the tiles too
            Click(child<QPushButton>(ld, "CmdCancel"));
        });
        // The close box and Escape are Cancel too.
        for (bool escape : {true, false})
            Brightness(f, [escape](frmLD& ld, QLineEdit* text) {
                text->setText("-30");
                escape ? QTest::keyClick(text, Qt::Key_Escape) : void(ld.close());
            });
        QVERIFY(Capture(f) == before);
        QCOMPARE(ShownFault(f), QString());
        QVERIFY(!Act(w, "mnuUndo")->isEnabled()); // none of these is a step
        // Nor is switching off the last enabled point, which is refused.
        OnlyEnable(w, {3});
        Click(child<QCheckBox>(w, "Check1_3"));
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(w.document().history().undoCount(), std::size_t(3));

        // Brightness typed over the selected 0 (letters discarded, four characters
        // at most): shown, on the slider, and on point 1 (green) but not on the
        // disabled point 2 (blue); +-255 at most.
        SetCheck(w, 1, true);
        const std::tuple<const char*, const char*, int, Colour> rows[] = {
            {"20", "20", 20, 0x14FF14},    {"-20", "-20", -20, 0x00EB00},
            {"-", "-", 0, 0x00FF00},       {"2.5x", "2.5", 2, 0x02FF02},
            {"255", "255", 255, 0xFFFFFF}, {"256", "255", 255, 0xFFFFFF},
            {"-255", "-255", -255, 0},     {"-256", "-255", -255, 0},
            {"05", "05", 5, 0x05FF05},     {"0.001", "0.00", 0, 0x00FF00},
        };
        for (auto [typed, shown, at, colour] : rows)
            Brightness(f, [&](frmLD& ld, QLineEdit* text) {
                QTest::keyClicks(text, typed);
                QCOMPARE(text->text(), QString(shown));
                QCOMPARE(child<QSlider>(ld, "sldLD")->value(), at);
                QCOMPARE(w.document().points().color[1], colour);
                QCOMPARE(w.document().points().color[2], MakeColour(0, 0, 255));
                QCOMPARE(ShownFault(f, false), QString()); // live
                ld.CmdCancel_Click();
            });
    }

    void undoEachStep_data()
    {
        QTest::addColumn<int>("step");
        for (int k = 0; k < int(std::size(kSteps)); ++k)
            QTest::newRow(std::get<0>(kSteps[k])) << k;
    }

    void undoEachStep()
    {
        QFETCH(int, step);
        GuiFixture f;
        frmMain& w = f.w();
        Trigger(w, "MenuTile"); // the work picture and the tiles are drawn too
        child<QSlider>(w, "Slider1_1")->setValue(100);
        const Views before = Capture(f);
        std::get<2>(kSteps[step])(f);
        const Views after = Capture(f);
        QVERIFY(std::get<0>(after) != std::get<0>(before));
        QVERIFY(ImageShowsLine(std::get<1>(after), f.expectedLine(280)));
        QCOMPARE(w.document().history().undoCount(), std::size_t(2)); // the set-up's move and this
        Act(w, "mnuUndo")->trigger();
        QVERIFY(Capture(f) == before);
        QCOMPARE(Act(w, "mnuRedo")->text().section(" - ", 1),
                 UndoMenu::caption(std::get<1>(kSteps[step])));
        Act(w, "mnuRedo")->trigger();
        QVERIFY(Capture(f) == after);
        QVERIFY(!Act(w, "mnuRedo")->isEnabled());
    }

    void undoHistory()
    {
        // Three steps kept; key steps of one slider closer together than the
        // merge window are one.
        GuiFixture f({}, true, 3);
        frmMain& w = f.w();
        f.random.values = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
        QVERIFY(!Act(w, "mnuUndo")->isEnabled() && !Act(w, "mnuRedo")->isEnabled());
        QSlider* s = child<QSlider>(w, "Slider1_1");
        QTest::keyClick(s, Qt::Key_Right);
        f.now += EditHistory::kMergeWindow; // a pause as long as the window: a new step
        QTest::keyClick(s, Qt::Key_Right);
        QTest::keyClick(s, Qt::Key_Left); // back where this run began: it is gone
        QCOMPARE(w.document().history().undoCount(), std::size_t(1));
        QTest::keyClick(s, Qt::Key_Right); // a new run, not part of the first step
        f.now += EditHistory::kMergeWindow - 1ns;
        QTest::keyClick(s, Qt::Key_Right); // within the window: the same step
        const EditState keys = w.document().state();
        Drag(s, 520); // a drag right after is a step of its own
        QCOMPARE(w.document().history().undoCount(), std::size_t(3));
        Act(w, "mnuUndo")->trigger();
        QCOMPARE(w.document().state(), keys);
        Act(w, "mnuUndo")->trigger();
        QCOMPARE(s->value(), 334);
        Act(w, "mnuUndo")->trigger();
        QCOMPARE(w.document().state().points, StartupPoints());
        Act(w, "mnuRandom")->trigger(); // a new step drops the redo
        QVERIFY(!Act(w, "mnuRedo")->isEnabled());
        const EditState random = w.document().state();
        for (std::size_t k = 2; k <= 4; ++k) {
            Act(w, "mnuRandom")->trigger();
            QCOMPARE(w.document().history().undoCount(), std::min<std::size_t>(k, 3));
        }
        while (Act(w, "mnuUndo")->isEnabled())
            Act(w, "mnuUndo")->trigger();
        QCOMPARE(w.document().state(), random); // only the oldest step is forgotten
    }

    void menuShortcutsFirst()
    {
        // Keys in the size box and in the tile window: the menus' shortcuts come
        // before the box's own; a size typed is one step by then or at Enter,
        // never one a key.
        GuiFixture f;
        frmMain& w = f.w();
        QLineEdit* box = child<QLineEdit>(w, "txtSize");
        const auto press = [&](QWidget* target, const char* key) {
            QTest::keySequence(target, QKeySequence(key));
            return QString("%1 %2")
                .arg(w.document().size())
                .arg(w.document().history().undoCount());
        };
        box->setFocus();
        QTest::keyClicks(box, "\b\b\b500");
        QCOMPARE(press(box, "Ctrl+Z"), "100 0");
        QCOMPARE(press(box, "Ctrl+A"), "100 0"); // the save dialog
        QCOMPARE(press(box, "Ctrl+C"), "100 0"); // the options dialog
        QVERIFY(f.dialogs.saveRequests.size() == 1 && f.dialogs.modalCount == 1);
        QTest::keyClicks(box, "\b\b\b61");
        QCOMPARE(press(box, "Return"), "61 1");
        Trigger(w, "MenuTile");
        QApplication::setActiveWindow(&f.tile());
        QCOMPARE(press(&f.tile(), "Ctrl+Z"), "100 0");
        QCOMPARE(press(&f.tile(), "Ctrl+Y"), "61 1");
    }

    void saveAndCopy_data()
    {
        // The extension alone decides the type; the options show the size.
        QTest::addColumn<Saved>("row");
        QTest::newRow(".JPG") << Saved{"sky.JPG", false, "jpeg", 7, " 200 x 7 pixels", false};
        QTest::newRow(".jpeg") << Saved{"a.jpeg", true, "jpeg", 0, " 2 x 200 pixels", false};
        QTest::newRow(".Png") << Saved{"sky.Png", false, "png", 0, " 200 x 1 pixels", false};
        QTest::newRow(".gif") << Saved{"sky.gif", true, "bmp", 33, " 33 x 200 pixels", false};
        QTest::newRow("none") << Saved{"sky", false, "bmp", 1, " 200 x 1 pixels", false};
        QTest::newRow("dotted") << Saved{"my.pics/sky", false, "bmp", 50, "", false};
        QTest::newRow("copy") << Saved{"", false, "", 0, " 200 x 1 pixels", false};
        QTest::newRow("copy down") << Saved{"", true, "", 9, " 9 x 200 pixels", false};
        QTest::newRow("dithered .png") << Saved{"a.png", false, "png", 20, "", true};
        QTest::newRow("dithered bitmap down") << Saved{"a", true, "bmp", 0, "", true};
        QTest::newRow("dithered copy") << Saved{"", false, "", 11, "", true};
        QTest::newRow("dithered .JPG down") << Saved{"a.JPG", true, "jpeg", 20, "", true};
    }

    // A dithered bitmap, PNG or copy is the core's dithered OKLab strip, and
    // so is the tile window at the thickness saved; for a JPEG the dither box
    // is disabled but keeps its state. Both choices last to the next run.
    void saveAndCopy()
    {
        QFETCH(Saved, row);
        const auto& [name, vertical, format, thickness, label, dithered] = row;
        GuiFixture f(dithered ? QByteArray("[IniCheck]\nDummy=1\n[Option]\nDither=True\n") : "");
        frmMain& w = f.w();
        QDir(f.userDir.path()).mkpath("my.pics");
        child<QLineEdit>(w, "txtSize")->setText("200");
        if (vertical)
            Click(child<QRadioButton>(w, "Option1_1"));
        if (dithered) {
            Act(w, "mnuBlendKind_1")->trigger();
            Trigger(w, "MenuTile");
        }
        bool boxShown = false;
        const QString path = name.isEmpty() ? name : f.userDir.filePath(name);
        Export(f, path, thickness, [&, dithered = dithered, format = format](QDialog* d) {
            const QCheckBox* box = child<QCheckBox>(*d, "chkDither");
            boxShown = box->isChecked() == dithered && box->isEnabled() == (format != "jpeg");
        });
        QVERIFY(boxShown && f.dialogs.messages.empty());
        if (!label.isEmpty())
            QCOMPARE(child<QLabel>(w.option(), "lblSize")->text(), label);
        const int thick = thickness ? thickness : 1 + vertical;
        QImage img = QGuiApplication::clipboard()->image();
        if (!name.isEmpty())
            QVERIFY(img.load(path, qPrintable(format))); // the content, not the name, decides
        QCOMPARE(img.size(), vertical ? QSize(thick, 200) : QSize(200, thick));
        if (dithered) {
            const QImage strip =
                StripPicture(MakeStrip(w.document().points(), 200, vertical, thick, true));
            QCOMPARE(w.picWork(), strip);
            if (format != "jpeg") // a JPEG encoder makes its own pixels
                QCOMPARE(img, strip);
            w.close();
            GuiFixture next(f.iniText());
            QVERIFY(next.w().state().Dither && Act(next.w(), "mnuBlendKind_1")->isChecked());
            QCOMPARE(next.w().document().points().blend, Blend::OkLab);
        } else if (format != "jpeg") {
            if (vertical) // read down as across
                img = img.transformed(QTransform(0, 1, 1, 0, 0, 0));
            QVERIFY(ImageShowsLine(img, DrawGrad(StartupPoints(), 200)));
        }
    }

    void cancelAtEachStep()
    {
        GuiFixture f;
        QTest::mouseClick(child<QPushButton>(f.w(), "CmdSave"),
                          Qt::LeftButton); // the file dialog cancelled: no options dialog
        QCOMPARE(f.dialogs.modalCount, 0);
        // The options dialog cancelled after a name: nothing written, the name
        // and the changed box kept for the next time.
        const QString path = f.userDir.filePath("keep.png");
        f.dialogs.files.push_back(path);
        f.dialogs.modals.push_back([](QDialog* d) {
            child<QCheckBox>(*d, "chkHeight")->setChecked(true);
            child<QLineEdit>(*d, "txtSize")->setText("64");
            Click(child<QPushButton>(*d, "CmdCancel"));
        });
        QTest::mouseClick(child<QPushButton>(f.w(), "CmdSave"), Qt::LeftButton);
        QCOMPARE(f.w().saveFileName(), path);
        QVERIFY(child<QCheckBox>(f.w().option(), "chkHeight")->isChecked());
        QCOMPARE(child<QLineEdit>(f.w().option(), "txtSize")->text(), QString("64"));
        // Escape is Cancel too; the close box also resets the dialog.
        for (bool escape : {true, false}) {
            f.dialogs.files.push_back(path);
            f.dialogs.modals.push_back([escape](QDialog* d) {
                escape ? QTest::keyClick(d, Qt::Key_Escape) : void(d->close());
            });
            QTest::mouseClick(child<QPushButton>(f.w(), "CmdSave"), Qt::LeftButton);
        }
        QVERIFY(!QFile::exists(path));
        QVERIFY(!child<QCheckBox>(f.w().option(), "chkHeight")->isChecked());
        QCOMPARE(child<QLineEdit>(f.w().option(), "txtSize")->text(), QString("100"));
        // A file written: the next dialog offers its name without the extension
        // and its type first, and the next start its folder.
        Export(f, f.userDir.filePath("sky.png"), 0);
        QTest::mouseClick(child<QPushButton>(f.w(), "CmdSave"), Qt::LeftButton);
        QCOMPARE(f.dialogs.saveRequests.back().fileName, f.userDir.filePath("sky"));
        QCOMPARE(f.dialogs.saveRequests.back().type, QString("png"));
        f.w().close();
        GuiFixture again(f.iniText());
        QTest::mouseClick(child<QPushButton>(again.w(), "CmdSave"), Qt::LeftButton);
        QCOMPARE(again.dialogs.saveRequests.back().initialDir, f.userDir.path() + "/");

        // The thickness: 1 to 32767.
        frmOption o(f.dialogs, nullptr, 1);
        QVERIFY(!child<QLineEdit>(o, "txtSize")->isEnabled()); // until the box is checked
        o.setTarget({true, 0, 100});
        child<QCheckBox>(o, "chkHeight")->setChecked(true);
        for (auto [text, taken] :
             {std::pair{"", false}, {"0", false}, {"1", true}, {"32767", true}, {"32768", false}}) {
            o.show();
            child<QLineEdit>(o, "txtSize")->setText(text);
            o.cmdOK_Click();
            QVERIFY2(o.isVisible() != taken, text); // refused: still asking
        }
        QCOMPARE(f.dialogs.messages.size(), std::size_t(3)); // none before
        // The encoders' bridge: JPEG quality 1 to 255, PNG option 0 to 2.
        const StripImage img{DrawGrad(StartupPoints(), 10), false, 1};
        clsTransG& t = clsTransG::instance();
        const std::tuple<bool, int, short> bridge[] = {
            {true, 0, 252}, {true, 255, 0}, {true, 256, 252}, {false, 0, 0}, {false, 3, 252}};
        for (auto [jpeg, option, code] : bridge) {
            const QString path = f.userDir.filePath(QString::number(option));
            QCOMPARE(jpeg ? t.DCSaveJpeg(f.dialogs, nullptr, img, path, option, 0)
                          : t.DCSavePNG(f.dialogs, nullptr, img, path, option),
                     code);
            QCOMPARE(QFile::exists(path), code == 0);
        }
        // The save dialog's types: each text once, then patterns in any case.
        QCOMPARE(SaveNameFilters("B(*.BMP)|*.bmp|PNG|*.png|odd"),
                 QStringList({"B(*.BMP) (*.[bB][mM][pP])", "PNG (*.[pP][nN][gG])"}));
    }

    // The help page names the edit menu as it is shown and no item with its
    // raw "&"; its examples are each given once and read in a shell as meant.
    void helpPage()
    {
        GuiFixture f({}, false);
        QFile file(qEnvironmentVariable("VELMIX_SOURCE") + "/help/index.htm");
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(file.readAll());
        QVERIFY(!page.contains("(&amp;"));
        const QString edit = child<QMenu>(f.w(), "mnuGradEdit")->title().remove('&');
        static const QRegularExpression named(
            "(ｸﾞ|グ)(ﾗﾞ|ﾗ|ラ)(ﾃﾞ|デ)(ｰ|ー)(ｼｮ|ショ)(ﾝ|ン)編集(\\(E\\))?");
        for (const QRegularExpressionMatch& m : named.globalMatch(page))
            QCOMPARE(m.captured(), edit);
        static const QRegularExpression example("velmix-render( [^<\n\\[]+)(?=[<\n])");
        QStringList examples;
        for (const QRegularExpressionMatch& m : example.globalMatch(page))
            examples << m.captured(1).section(" &gt; ", 0, 0);
        QCOMPARE(examples.size(), 5);
        QCOMPARE(examples.removeDuplicates(), 0);
        for (const QString& args : examples) {
            QProcess sh;
            sh.start("sh", {"-c", "printf '%s\\n' " + args});
            QVERIFY(sh.waitForFinished());
            std::vector<std::string> words;
            for (const QString& w :
                 QString::fromUtf8(sh.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
                words.push_back(w.toStdString());
            const RenderArgsResult r = ParseRenderArgs(words);
            QVERIFY2(r.job, qPrintable(args + ": " + QString::fromStdString(r.error)));
        }
    }

    void copyHelpAndFailures()
    {
        GuiFixture f;
        child<QLineEdit>(f.w(), "txtSize")->setText("40");
        Act(f.w(), "mnuCopyCss")->trigger();
        QVERIFY(f.dialogs.modals.empty()); // no options: every thickness tiles alike
        // The rule's declarations as they stand in it, without a blank line.
        QCOMPARE("body {\n" + QGuiApplication::clipboard()->text().toStdString() + "}\n",
                 CssRule({StartupPoints(), 40, false, 1}));
        Trigger(f.w(), "MenuPrintHelp"); // no help folder here
        QCOMPARE(OnlyError(f), QString("ヘルプを表示できません。\r\nRet= 2"));
        const QString page = f.programDir.filePath("help/index.htm");
        QVERIFY(QDir(f.programDir.path()).mkpath("help") && QFile(page).open(QIODevice::WriteOnly));
        Trigger(f.w(), "MenuPrintHelp");
        QCOMPARE(f.opened, std::vector<QUrl>{QUrl::fromLocalFile(page)});
        f.openerResult = false; // no viewer
        Trigger(f.w(), "MenuPrintHelp");
        QCOMPARE(f.dialogs.messages.size(), std::size_t(2));
        QCOMPARE(f.dialogs.messages.back().second, QString("ヘルプを表示できません。\r\nRet= 31"));
        // The desktop's opener: one that cannot start, one that gives up after
        // it started (said when it ends), one that ends well.
        for (const auto& [opener, said] :
             {std::pair{"no-such-opener", "Ret= 31"}, {"false", "Ret= 1"}, {"true", ""}}) {
            f.dialogs.messages.clear();
            f.openerProgram = opener;
            Trigger(f.w(), "MenuPrintHelp");
            if (*said) {
                QTRY_COMPARE(OnlyError(f), QString("ヘルプを表示できません。\r\n") + said);
            } else {
                QTest::qWait(500);
                QVERIFY(f.dialogs.messages.empty());
            }
        }
        child<QLineEdit>(f.w(), "txtSize")->setText("2000");
        for (const char* ext : {"bmp", "png", "jpg"}) {
            QFile old(f.userDir.filePath(QString("old.") + ext));
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("precious") == 8);
            old.close();
            f.dialogs.messages.clear();
            FileSizeLimit limit(4096); // up to the end of this round
            Export(f, old.fileName(), 3000);
            // The same words for every type, and the system's own reason.
            QCOMPARE(OnlyError(f), QString("ファイルに書きこめません。\r\n") + strerror(EFBIG));
            QVERIFY(old.open(QIODevice::ReadOnly));
            QCOMPARE(old.readAll(), "precious");
        }
#if !defined(__SANITIZE_ADDRESS__) // it reserves address space of its own
        // A copy of the largest picture (2000 x 32767, 262 MB) when memory runs
        // out: reported, and the clipboard keeps what it held.
        f.dialogs.messages.clear();
        QGuiApplication::clipboard()->setText("before");
        AddressSpaceHeadroom limit(64u << 20); // up to the end
        Export(f, {}, 32767);
        QCOMPARE(OnlyError(f),
                 QString("クリップボードにコピーできません。\r\n") + strerror(ENOMEM));
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
#endif
    }
};

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
