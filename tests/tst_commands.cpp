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
#include "table.h"
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

// Switches the points of the mask on, then the others off, by their boxes.
void OnlyEnable(GuiFixture& f, unsigned mask)
{
    for (const bool on : {true, false})
        for (int i = 0; i < kPointCount; ++i)
            if (bool(mask & (1u << i)) == on && f.check(i)->isChecked() != on)
                Click(f.check(i));
}

// Runs the brightness dialog with `script` for it.
const auto Brightness = [](GuiFixture& f, std::function<void(frmLD&, QLineEdit*)> script) {
    f.dialogs.modals.push_back(
        [script](QDialog* d) { script(*static_cast<frmLD*>(d), child<QLineEdit>(*d, "txtLD")); });
    f.trigger("mnuLD");
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
    return {f.doc().state(), f.preview().copy(), f.w().picWork().copy(), f.grad()->image().copy()};
};

const auto Drag = [](QSlider* s, int to) {
    s->setSliderDown(true);
    s->setSliderPosition(to);
    s->setSliderDown(false);
};

using Taken = std::pair<QString, bool>;
using Bridge = std::tuple<bool, int, short>;
using Said = std::pair<QString, QString>;

// Each kind of step: its name, what undo calls it, and how it is made.
const std::tuple<const char*, EditStep, std::function<void(GuiFixture&)>> kSteps[] = {
    {"check box", EditStep::Check, [](auto& f) { Click(f.check(5)); }},
    {"drag", EditStep::Slider, [](auto& f) { Drag(f.slider(2), 810); }},
    {"keys", EditStep::Slider, [](auto& f) { QTest::keyClick(f.slider(2), Qt::Key_PageUp); }},
    {"colour", EditStep::Colour,
     [](auto& f) {
         f.dialogs.colors.push_back(QColor(10, 20, 30));
         Click(f.colorBox(2));
     }},
    {"random", EditStep::RandomUniform, [](auto& f) { f.trigger("mnuRandom"); }},
    {"down", EditStep::Orientation, [](auto& f) { Click(f.get("Option1_1")); }},
    // The size box's Up key steps its spinner.
    {"spinner", EditStep::Size, [](auto& f) { QTest::keyClick(f.sizeBox(), Qt::Key_Up); }},
    {"OKLab", EditStep::Blend, [](auto& f) { f.trigger("mnuBlendKind_1"); }},
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
        // OK is the default button.
        QTest::keyClick(d, Qt::Key_Return);
    });
    f.trigger(path.isEmpty() ? "mnuClipBoard" : "MenuSave");
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
    void randomAndEqual();
    void rememberAndRestore();
    void cancelsAndNoSteps();
    void brightnessTyped_data();
    void brightnessTyped();
    void undoEachStep_data();
    void undoEachStep();
    void undoHistory();
    void menuShortcutsFirst();
    void saveAndCopy_data();
    void saveAndCopy();
    void cancelAtEachStep();
    void thicknessBounds_data();
    void thicknessBounds();
    void encoderBridge_data();
    void encoderBridge();
    void saveNameFilters();
    void helpPage();
    void copyCss();
    void helpOpener_data();
    void helpOpener();
    void failedWrite_data();
    void failedWrite();
    void copyOutOfMemory();
};

void tst_Commands::randomAndEqual()
{
    GuiFixture f;
    f.random.values = {0.5f, 0.25f, 0.75f, 0.125f};
    f.trigger("mnuRandom");
    const auto& c = f.doc().points().color;
    // The last takes the first's colour; a disabled point is untouched.
    QVERIFY(c[0] == 0x800000 && c[1] == 0x400000 && c[2] == 0xC00000 && c[3] == c[0] && !c[5]);
    QCOMPARE(ShownFault(f), QString());
    OnlyEnable(f, 0b111);
    for (auto [i, at] : {std::pair{0, 900}, {1, 100}, {2, 500}, {5, 777}})
        f.slider(i)->setValue(at);
    f.trigger("MenuTile");
    f.trigger("mnuEqual");
    for (auto [i, at] : {std::pair{0, 1000}, {1, 0}, {2, 500}, {5, 777}})
        QCOMPARE(f.slider(i)->value(), at);
    QCOMPARE(ShownFault(f), QString());
    QVERIFY(ImageShowsLine(f.w().picWork(), f.expectedLine(100)));
}

void tst_Commands::rememberAndRestore()
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
    OnlyEnable(f, 1 << 6);
    f.slider(6)->setValue(250);
    f.dialogs.colors.push_back(QColor(1, 2, 3));
    Click(f.colorBox(6));
    f.sizeBox()->setText("321");
    Click(f.get("Option1_1"));
    f.option<QCheckBox>("chkHeight")->setChecked(true);
    f.option<QLineEdit>("txtSize")->setText("50");
    // Restored with the rest, not at start.
    f.trigger("mnuBlendKind_1");
    f.trigger("mnuMemorySave");
    QVERIFY(f.action("mnuMemoryLoad")->isEnabled());
    // Into the file at once, and only the remembered state.
    const QByteArray after = f.iniText();
    QCOMPARE(OutsideMemory(after), OutsideMemory(before));
    QVERIFY(after.contains("[Memory]\nnote=keep\nEnabled 0=0\nLocate 0=0\n"));
    QVERIFY(after.contains("Locate 6=250\n"));

    // The next start offers it, and applies it only when asked. Its points
    // lie below the remembered one: restoring switches that on before it
    // switches them off, so nothing is refused.
    GuiFixture next(after);
    QVERIFY(next.doc().points() == StartupPoints());
    next.trigger("mnuMemoryLoad");
    QCOMPARE(next.doc().state(), f.doc().state());
    QCOMPARE(ShownFault(next), QString());
    QVERIFY(next.get<QRadioButton>("Option1_1")->isChecked());
    QVERIFY(next.option<QCheckBox>("chkHeight")->isChecked());
    QCOMPARE(next.w().state().SaveHeight, 50);
    QVERIFY(next.dialogs.messages.empty());
    // A state remembered across comes back across.
    Click(next.get("Option1_0"));
    next.trigger("mnuMemorySave");
    Click(next.get("Option1_1"));
    next.trigger("mnuMemoryLoad");
    QVERIFY(next.get<QRadioButton>("Option1_0")->isChecked());
}

void tst_Commands::cancelsAndNoSteps()
{
    GuiFixture f;
    f.trigger("MenuTile");
    // The points are equally spaced already.
    f.trigger("mnuEqual");
    // The colour dialog cancelled.
    Click(f.colorBox(1));
    // Remember changes the slot only.
    f.trigger("mnuMemorySave");
    const Views before = Capture(f);
    Brightness(f, [&](frmLD& ld, QLineEdit* text) {
        text->setText("8");
        QTest::keyClick(child<QSlider>(ld, "sldLD"), Qt::Key_PageUp);
        QCOMPARE(text->text(), "40");
        QCOMPARE(f.doc().points().color[2], MakeColour(40, 40, 255));
        // Live in the tiles too.
        QVERIFY(std::get<3>(Capture(f)) != std::get<3>(before));
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
    // None of these is a step.
    QVERIFY(!f.action("mnuUndo")->isEnabled());
    // Nor is switching off the last enabled point, which is refused.
    OnlyEnable(f, 1 << 3);
    Click(f.check(3));
    QCOMPARE(int(f.dialogs.messages.size()), 1);
    QCOMPARE(f.steps(), 3);
}

// Brightness typed over the selected 0 (letters discarded, four characters
// at most): shown, on the slider, and on point 1 (green) but not on the
// disabled point 2 (blue); +-255 at most.
void tst_Commands::brightnessTyped_data()
{
    TableRows("brightness_typed.txt", {"typed", "shown", "at", "colour"}, Named::ByInput);
}

void tst_Commands::brightnessTyped()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, at);
    QFETCH(QString, colour);
    GuiFixture f;
    Click(f.check(2));
    Brightness(f, [&](frmLD& ld, QLineEdit* text) {
        QTest::keyClicks(text, typed);
        QCOMPARE(text->text(), shown);
        QCOMPARE(child<QSlider>(ld, "sldLD")->value(), at.toInt());
        const int rgb = colour.toInt(nullptr, 16);
        QCOMPARE(f.doc().points().color[1], MakeColour(rgb >> 16, (rgb >> 8) & 255, rgb & 255));
        QCOMPARE(f.doc().points().color[2], MakeColour(0, 0, 255));
        // Shown while the dialog is open.
        QCOMPARE(ShownFault(f, false), QString());
    });
}

void tst_Commands::undoEachStep_data()
{
    QTest::addColumn<int>("step");
    for (int k = 0; k < int(std::size(kSteps)); ++k)
        QTest::newRow(std::get<0>(kSteps[k])) << k;
}

void tst_Commands::undoEachStep()
{
    QFETCH(int, step);
    GuiFixture f;
    // The work picture and the tiles are drawn too.
    f.trigger("MenuTile");
    f.slider(1)->setValue(100);
    const Views before = Capture(f);
    std::get<2>(kSteps[step])(f);
    const Views after = Capture(f);
    QVERIFY(std::get<0>(after) != std::get<0>(before));
    QVERIFY(ImageShowsLine(std::get<1>(after), f.expectedLine(280)));
    // The set-up's move and this step.
    QCOMPARE(f.steps(), 2);
    f.trigger("mnuUndo");
    QVERIFY(Capture(f) == before);
    QCOMPARE(f.action("mnuRedo")->text().section(" - ", 1),
             UndoMenu::caption(std::get<1>(kSteps[step])));
    f.trigger("mnuRedo");
    QVERIFY(Capture(f) == after);
    QVERIFY(!f.action("mnuRedo")->isEnabled());
}

void tst_Commands::undoHistory()
{
    // Three steps kept; key steps of one slider closer together than the
    // merge window are one.
    GuiFixture f({}, true, 3);
    f.random.values = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    QVERIFY(!f.action("mnuUndo")->isEnabled() && !f.action("mnuRedo")->isEnabled());
    QSlider* s = f.slider(1);
    QTest::keyClick(s, Qt::Key_Right);
    // A pause as long as the window: a new step.
    f.now += EditHistory::kMergeWindow;
    QTest::keyClick(s, Qt::Key_Right);
    // Back where this run began: it is gone.
    QTest::keyClick(s, Qt::Key_Left);
    QCOMPARE(f.steps(), 1);
    // A new run, not part of the first step.
    QTest::keyClick(s, Qt::Key_Right);
    f.now += EditHistory::kMergeWindow - 1ns;
    // Within the window: the same step.
    QTest::keyClick(s, Qt::Key_Right);
    const EditState keys = f.doc().state();
    // A drag right after is a step of its own.
    Drag(s, 520);
    QCOMPARE(f.steps(), 3);
    f.trigger("mnuUndo");
    QCOMPARE(f.doc().state(), keys);
    f.trigger("mnuUndo");
    QCOMPARE(s->value(), 334);
    f.trigger("mnuUndo");
    QCOMPARE(f.doc().state().points, StartupPoints());
    // A new step drops the redo.
    f.trigger("mnuRandom");
    QVERIFY(!f.action("mnuRedo")->isEnabled());
    const EditState random = f.doc().state();
    for (int k = 2; k <= 4; ++k) {
        f.trigger("mnuRandom");
        QCOMPARE(f.steps(), std::min(k, 3));
    }
    while (f.action("mnuUndo")->isEnabled())
        f.trigger("mnuUndo");
    // Only the oldest step is forgotten.
    QCOMPARE(f.doc().state(), random);
}

void tst_Commands::menuShortcutsFirst()
{
    // Keys in the size box and in the tile window: the menus' shortcuts come
    // before the box's own; a size typed is one step by then or at Enter,
    // never one a key.
    GuiFixture f;
    QLineEdit* box = f.sizeBox();
    const auto press = [&](QWidget* target, const char* key) {
        QTest::keySequence(target, QKeySequence(key));
        return QString("%1 %2").arg(f.doc().size()).arg(f.steps());
    };
    box->setFocus();
    QTest::keyClicks(box, "\b\b\b500");
    QCOMPARE(press(box, "Ctrl+Z"), "100 0");
    // Ctrl+A opens the save dialog, Ctrl+C the options dialog.
    QCOMPARE(press(box, "Ctrl+A"), "100 0");
    QCOMPARE(press(box, "Ctrl+C"), "100 0");
    QVERIFY(f.dialogs.saveRequests.size() == 1 && f.dialogs.modalCount == 1);
    QTest::keyClicks(box, "\b\b\b61");
    QCOMPARE(press(box, "Return"), "61 1");
    f.trigger("MenuTile");
    QApplication::setActiveWindow(&f.tile());
    QCOMPARE(press(&f.tile(), "Ctrl+Z"), "100 0");
    QCOMPARE(press(&f.tile(), "Ctrl+Y"), "61 1");
}

void tst_Commands::saveAndCopy_data()
{
    TableRows("save_and_copy.txt", {"name", "orientation", "format", "size", "dither"});
}

void tst_Commands::saveAndCopy()
{
    QFETCH(QString, name);
    QFETCH(QString, orientation);
    QFETCH(QString, format);
    QFETCH(QString, size);
    QFETCH(QString, dither);
    const bool down = orientation == "down", dithered = dither == "yes";
    const int thickness = size.toInt();
    GuiFixture f(dithered ? QByteArray("[IniCheck]\nDummy=1\n[Option]\nDither=True\n") : "");
    QDir(f.userDir.path()).mkpath("my.pics");
    f.sizeBox()->setText("200");
    if (down)
        Click(f.get("Option1_1"));
    if (dithered) {
        f.trigger("mnuBlendKind_1");
        f.trigger("MenuTile");
    }
    bool boxShown = false;
    const QString path = name.isEmpty() ? name : f.userDir.filePath(name);
    Export(f, path, thickness, [&](QDialog* d) {
        const QCheckBox* box = child<QCheckBox>(*d, "chkDither");
        boxShown = box->isChecked() == dithered && box->isEnabled() == (format != "jpeg");
    });
    QVERIFY(boxShown && f.dialogs.messages.empty());
    const int thick = thickness ? thickness : 1 + down;
    const QSize picture = down ? QSize(thick, 200) : QSize(200, thick);
    QCOMPARE(f.option<QLabel>("lblSize")->text(),
             QString(" %1 x %2 pixels").arg(picture.width()).arg(picture.height()));
    QImage img = QGuiApplication::clipboard()->image();
    if (!name.isEmpty())
        // The content, not the name, decides.
        QVERIFY(img.load(path, qPrintable(format)));
    QCOMPARE(img.size(), picture);
    if (dithered) {
        const QImage strip = StripPicture(MakeStrip(f.doc().points(), 200, down, thick, true));
        QCOMPARE(f.w().picWork(), strip);
        if (format != "jpeg") // a JPEG encoder makes its own pixels
            QCOMPARE(img, strip);
        f.w().close();
        GuiFixture next(f.iniText());
        QVERIFY(next.w().state().Dither && next.action("mnuBlendKind_1")->isChecked());
        QCOMPARE(next.doc().points().blend, Blend::OkLab);
    } else if (format != "jpeg") {
        if (down) // read down as across
            img = img.transformed(QTransform(0, 1, 1, 0, 0, 0));
        QVERIFY(ImageShowsLine(img, DrawGrad(StartupPoints(), 200)));
    }
}

void tst_Commands::cancelAtEachStep()
{
    GuiFixture f;
    const auto save = [](GuiFixture& g) { Click(g.get("CmdSave")); };
    // The file dialog cancelled: no options dialog.
    save(f);
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
    save(f);
    QCOMPARE(f.w().saveFileName(), path);
    QVERIFY(f.option<QCheckBox>("chkHeight")->isChecked());
    QCOMPARE(f.option<QLineEdit>("txtSize")->text(), "64");
    // Escape is Cancel too; the close box also resets the dialog.
    for (bool escape : {true, false}) {
        f.dialogs.files.push_back(path);
        f.dialogs.modals.push_back([escape](QDialog* d) {
            escape ? QTest::keyClick(d, Qt::Key_Escape) : void(d->close());
        });
        save(f);
    }
    QVERIFY(!QFile::exists(path));
    QVERIFY(!f.option<QCheckBox>("chkHeight")->isChecked());
    QCOMPARE(f.option<QLineEdit>("txtSize")->text(), "100");
    // A file written: the next dialog offers its name without the extension
    // and its type first, and the next start its folder.
    Export(f, f.userDir.filePath("sky.png"), 0);
    save(f);
    const auto& asked = f.dialogs.saveRequests.back();
    QCOMPARE(asked.fileName, f.userDir.filePath("sky"));
    QCOMPARE(asked.type, "png");
    f.w().close();
    GuiFixture again(f.iniText());
    save(again);
    QCOMPARE(again.dialogs.saveRequests.back().initialDir, f.userDir.path() + "/");
}

// The thickness: 1 to 32767; a refused one is said, and asked again.
void tst_Commands::thicknessBounds_data()
{
    // The text typed, and whether it is taken.
    const Taken rows[] = {
        {"", false}, {"0", false}, {"1", true}, {"32767", true}, {"32768", false}};
    RowsByInput(rows);
}

void tst_Commands::thicknessBounds()
{
    QFETCH(Taken, row);
    ScriptedDialogs dialogs;
    frmOption o(dialogs, nullptr, 1);
    QLineEdit* box = child<QLineEdit>(o, "txtSize");
    // Disabled until the box is checked.
    QVERIFY(!box->isEnabled());
    o.setTarget({true, 0, 100});
    child<QCheckBox>(o, "chkHeight")->setChecked(true);
    o.show();
    box->setText(row.first);
    o.cmdOK_Click();
    QCOMPARE(o.isVisible(), !row.second);
    QCOMPARE(dialogs.messages.empty(), row.second);
}

// The encoders' bridge: JPEG quality 1 to 255, PNG option 0 to 2.
void tst_Commands::encoderBridge_data()
{
    // JPEG or PNG, the option, the code.
    Rows<Bridge>({{"JPEG 0", {true, 0, 252}},
                  {"JPEG 255", {true, 255, 0}},
                  {"JPEG 256", {true, 256, 252}},
                  {"PNG 0", {false, 0, 0}},
                  {"PNG 3", {false, 3, 252}}});
}

void tst_Commands::encoderBridge()
{
    QFETCH(Bridge, row);
    const auto& [jpeg, option, code] = row;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath("out");
    const StripImage img{DrawGrad(StartupPoints(), 10), false, 1};
    clsTransG& t = clsTransG::instance();
    QCOMPARE(jpeg ? t.DCSaveJpeg(dialogs, nullptr, img, path, option, 0)
                  : t.DCSavePNG(dialogs, nullptr, img, path, option),
             code);
    QCOMPARE(QFile::exists(path), code == 0);
}

// The save dialog's types: each text once, then patterns in any case.
void tst_Commands::saveNameFilters()
{
    QCOMPARE(SaveNameFilters("B(*.BMP)|*.bmp|PNG|*.png|odd"),
             QStringList({"B(*.BMP) (*.[bB][mM][pP])", "PNG (*.[pP][nN][gG])"}));
}

// The help page names the edit menu as it is shown and no item with its
// raw "&"; its examples are each given once and read in a shell as meant.
void tst_Commands::helpPage()
{
    GuiFixture f({}, false);
    const QString page =
        QString::fromUtf8(ReadAll(qEnvironmentVariable("VELMIX_SOURCE") + "/help/index.htm"));
    QVERIFY(!page.isEmpty() && !page.contains("(&amp;"));
    const QString edit = f.get<QMenu>("mnuGradEdit")->title().remove('&');
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
        const QString out = QString::fromUtf8(sh.readAllStandardOutput());
        std::vector<std::string> words;
        for (const QString& w : out.split('\n', Qt::SkipEmptyParts))
            words.push_back(w.toStdString());
        const RenderArgsResult r = ParseRenderArgs(words);
        QVERIFY2(r.job, qPrintable(args + ": " + QString::fromStdString(r.error)));
    }
}

// No options for a CSS copy: every thickness tiles alike. The rule's
// declarations as they stand in it, without a blank line (and without the
// comment that carries the points: a copy goes into someone else's rule).
void tst_Commands::copyCss()
{
    GuiFixture f;
    f.sizeBox()->setText("40");
    f.trigger("mnuCopyCss");
    QCOMPARE(f.dialogs.modalCount, 0);
    const WebGradient web{StartupPoints(), 40, false, 1};
    QCOMPARE("/* " + CarriedText(web) + " */\nbody {\n" +
                 QGuiApplication::clipboard()->text().toStdString() + "}\n",
             CssRule(web));
}

// The help page opened, by the desktop's opener too: one that cannot
// start, one that gives up after it started (said when it ends), one that
// ends well.
void tst_Commands::helpOpener_data()
{
    // The opener ("": the scripted one), what is said.
    Rows<Said>({{"no help folder", {"", "Ret= 2"}},
                {"opened", {"", ""}},
                {"no viewer", {"no viewer", "Ret= 31"}},
                {"opener cannot start", {"no-such-opener", "Ret= 31"}},
                {"opener gives up", {"false", "Ret= 1"}},
                {"opener ends well", {"true", ""}}});
}

void tst_Commands::helpOpener()
{
    QFETCH(Said, row);
    const auto& [opener, said] = row;
    GuiFixture f;
    const QString page = f.programDir.filePath("help/index.htm");
    const bool folder = QByteArray(QTest::currentDataTag()) != "no help folder";
    if (folder)
        QVERIFY(QDir(f.programDir.path()).mkpath("help") && QFile(page).open(QFile::WriteOnly));
    f.openerResult = opener != "no viewer";
    f.openerProgram = f.openerResult ? opener : "";
    f.trigger("MenuPrintHelp");
    if (said.isEmpty()) {
        QTest::qWait(opener.isEmpty() ? 0 : 500);
        QVERIFY(f.dialogs.messages.empty());
    } else {
        QTRY_COMPARE(OnlyError(f), "ヘルプを表示できません。\r\n" + said);
    }
    if (folder)
        QCOMPARE(f.opened, std::vector<QUrl>{QUrl::fromLocalFile(page)});
}

// A failed write keeps the old file; the same words for every type, and
// the system's own reason.
void tst_Commands::failedWrite_data()
{
    QTest::addColumn<QString>("type");
    for (const char* type : {"bmp", "png", "jpg"})
        QTest::newRow(type) << QString(type);
}

void tst_Commands::failedWrite()
{
    QFETCH(QString, type);
    GuiFixture f;
    f.sizeBox()->setText("2000");
    const QString old = f.userDir.filePath("old." + type);
    WriteAll(old, "precious");
    {
        FileSizeLimit limit(4096);
        Export(f, old, 3000);
    }
    QCOMPARE(OnlyError(f), QString("ファイルに書きこめません。\r\n") + strerror(EFBIG));
    QCOMPARE(ReadAll(old), "precious");
}

// A copy of the largest picture (2000 x 32767, 262 MB) when memory runs
// out: reported, and the clipboard keeps what it held.
void tst_Commands::copyOutOfMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves address space of its own");
#endif
    GuiFixture f;
    f.sizeBox()->setText("2000");
    QClipboard* clip = QGuiApplication::clipboard();
    clip->setText("before");
    AddressSpaceHeadroom limit(64u << 20);
    Export(f, {}, 32767);
    QCOMPARE(OnlyError(f), QString("クリップボードにコピーできません。\r\n") + strerror(ENOMEM));
    QCOMPARE(clip->text(), "before");
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
