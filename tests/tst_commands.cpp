// SPDX-License-Identifier: MIT
// The commands on the real window with scripted dialogs: the edit menu
// (random colours, equal spacing, remember and restore, brightness), undo and
// redo of every kind of step, and saving and copying (each file type read
// back, the thickness and its bounds, cancelling, failures that keep the old
// file), and help.

#include "app/renderargs.h"
#include "core/ggr.h"
#include "core/webgrad.h"
#include "export/clstransg.h"
#include "export/frmoption.h"
#include "guifixture.h"
#include "main/frmld.h"
#include "table.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>

#include <cstring>

using namespace velmix;
using QTest::keyClick;
using QTest::keyClicks;
using namespace std::chrono_literals;

namespace {

// Switches the points of the mask on, then the others off, by their boxes.
void OnlyEnable(GuiFixture& f, unsigned mask)
{
    for (bool on : {true, false})
        for (int i = 0; i < kPointCount; ++i)
            if (bool(mask & (1u << i)) == on && f.check(i)->isChecked() != on)
                Click(f.check(i));
}

using Script = std::function<void(QDialog*)>;

// Runs the brightness dialog with `run` for it.
void Brightness(GuiFixture& f, const std::function<void(frmLD&, QLineEdit*)>& run)
{
    f.dialogs.modals.push_back(
        [run](QDialog* d) { run(*static_cast<frmLD*>(d), child<QLineEdit>(*d, "txtLD")); });
    f.trigger("mnuLD");
}

// A settings file without its [Memory] section.
QByteArray OutsideMemory(QByteArray text)
{
    const auto from = text.indexOf("[Memory]");
    return text.remove(from, text.indexOf("\n[", from) - from);
}

// How a colour box's menu opens, the item's key, a text and what comes of it.
using TextRow = std::tuple<QString, Qt::Key, QString, QString, bool, QString>;

// Opens a colour box's menu by the right button ("right"), the Menu key
// ("menu") or Shift+F10 and presses `key` in it; whether a menu opened.
bool ColourMenu(QWidget* box, const QString& how, Qt::Key key)
{
    bool opened = false;
    QTimer::singleShot(0, [&opened, key] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            opened = true;
            keyClick(menu, key);
        }
    });
    box->setFocus();
    if (how == "right") {
        QContextMenuEvent e(QContextMenuEvent::Mouse, {4, 4}, box->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(box, &e);
    } else {
        keyClick(box, how == "menu" ? Qt::Key_Menu : Qt::Key_F10,
                 how == "menu" ? Qt::NoModifier : Qt::ShiftModifier);
    }
    QCoreApplication::processEvents(); // the timer, when no menu opened
    return opened;
}

// Types `text` into the colour entry and presses `key` there.
void TypeColour(GuiFixture& f, const QString& text, Qt::Key key = Qt::Key_Return)
{
    f.dialogs.modals.push_back([text, key](QDialog* d) {
        auto* line = child<QLineEdit>(*d, "colourText");
        line->selectAll();
        keyClicks(line, text);
        keyClick(line, key);
    });
}

// Everything undo promises to bring back, as the windows show it.
using Views = std::tuple<EditState, QImage, QImage, QImage>;

Views Capture(GuiFixture& f)
{
    const auto work = f.tile().picWork().copy();
    return {f.doc().state(), f.preview().copy(), work, f.grad()->image().copy()};
}

void Drag(QSlider* s, int to)
{
    s->setSliderDown(true);
    s->setSliderPosition(to);
    s->setSliderDown(false);
}

// Each kind of step: its name, what undo calls it, and how it is made.
using Step = EditStep;
const std::tuple<const char*, Step, std::function<void(GuiFixture&)>> kSteps[] = {
    {"check box", Step::Check, [](auto& f) { Click(f.check(5)); }},
    {"drag", Step::Slider, [](auto& f) { Drag(f.slider(2), 810); }},
    {"keys", Step::Slider, [](auto& f) { keyClick(f.slider(2), Qt::Key_PageUp); }},
    {"colour", Step::Colour,
     [](auto& f) {
         f.dialogs.colors.push_back(QColor(10, 20, 30));
         Click(f.colorBox(2));
     }},
    {"pasted colour", Step::Colour,
     [](auto& f) {
         QApplication::clipboard()->setText(" rgb(10 20 30)\n");
         ColourMenu(f.colorBox(2), "menu", Qt::Key_P);
     }},
    {"typed colour", Step::Colour,
     [](auto& f) {
         TypeColour(f, "navy");
         ColourMenu(f.colorBox(2), "shift", Qt::Key_E);
     }},
    {"random", Step::RandomUniform, [](auto& f) { f.trigger("mnuRandom"); }},
    {"down", Step::Orientation, [](auto& f) { f.down(); }},
    // The size box's Up key steps its spinner.
    {"spinner", Step::Size, [](auto& f) { keyClick(f.sizeBox(), Qt::Key_Up); }},
    {"OKLab", Step::Blend, [](auto& f) { f.trigger("mnuBlendKind_1"); }},
};

// Saves to `path` (or copies, when empty) through the options dialog with a
// thickness (0: the box left off) and Enter; `look` sees the dialog first.
void Export(GuiFixture& f, const QString& path, int thick, const Script& look = {})
{
    if (!path.isEmpty())
        f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([thick, look](QDialog* d) {
        if (look)
            look(d);
        child<QCheckBox>(*d, "chkHeight")->setChecked(thick > 0);
        if (thick > 0)
            child<QLineEdit>(*d, "txtSize")->setText(QString::number(thick));
        // OK is the default button.
        keyClick(d, Qt::Key_Return);
    });
    f.trigger(path.isEmpty() ? "mnuClipBoard" : "MenuSave");
}

QString OnlyError(GuiFixture& f)
{
    const auto& m = f.said();
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
    // Brightness typed over the selected 0 (letters discarded, four characters
    // at most): shown, on the slider, and on point 1 (green) but not on the
    // disabled point 2 (blue); +-255 at most.
    void brightnessTyped_data()
    {
        TableRows("brightness_typed.txt", {"typed", "shown", "at", "rgb"}, Named::ByInput);
    }
    void brightnessTyped();
    void undoEachStep_data()
    {
        QTest::addColumn<int>("step");
        for (int k = 0; k < int(std::size(kSteps)); ++k)
            QTest::newRow(std::get<0>(kSteps[k])) << k;
    }
    void undoEachStep();
    void undoHistory();
    void cssPage_data();
    void cssPage();
    void colourAsText_data();
    void colourAsText();
    void menuShortcutsFirst();
    void saveAndCopy_data();
    void saveAndCopy();
    void cancelAtEachStep();
    void thicknessBounds_data()
    {
        TableRows("thickness_bounds.txt", {"typed", "taken"}, Named::ByInput);
    }
    void thicknessBounds();
    void encoderBridge_data() { TableRows("encoder_bridge.txt", {"encoder", "v", "code"}); }
    void encoderBridge();
    // The save dialog's types: each text once, then patterns in any case.
    // The help page names the edit menu as it is shown and no item with its
    // raw "&"; its examples are each given once and read in a shell as meant.
    void saveNameFilters()
    {
        QCOMPARE(SaveNameFilters("B(*.BMP)|*.bmp|PNG|*.png|odd"),
                 QStringList({"B(*.BMP) (*.[bB][mM][pP])", "PNG (*.[pP][nN][gG])"}));
    }
    void helpPage();
    void copyCss();
    void helpOpener_data() { TableRows("help_opener.txt", {"opener", "said"}); }
    void helpOpener();
    void failedWrite_data()
    {
        TableRows("write_types.txt", {"type", "message", "next"}, Named::ByInput);
    }
    void failedWrite();
    void copyOutOfMemory();
};

void tst_Commands::randomAndEqual()
{
    GuiFixture f;
    f.random.values = {0.5f, 0.25f, 0.75f, 0.125f};
    f.trigger("mnuRandom");
    const auto& c = f.pts().color;
    // The last takes the first's colour; a disabled point is untouched.
    QCOMPARE(c[0], 0x800000);
    QCOMPARE(c[1], 0x400000);
    QCOMPARE(c[2], 0xC00000);
    QCOMPARE(c[3], c[0]);
    QCOMPARE(c[5], 0);
    QCOMPARE(ShownFault(f), "");
    OnlyEnable(f, 0b111);
    for (auto [i, at] : {std::pair{0, 900}, {1, 100}, {2, 500}, {5, 777}})
        f.slider(i)->setValue(at);
    f.trigger("MenuTile");
    f.trigger("mnuEqual");
    for (auto [i, at] : {std::pair{0, 1000}, {1, 0}, {2, 500}, {5, 777}})
        QCOMPARE(f.slider(i)->value(), at);
    QCOMPARE(ShownFault(f), "");
    QVERIFY(ImageShowsLine(f.tile().picWork(), f.expectedLine(100)));
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
    // Other units: the remember does not write them.
    f.dialogs.colors.push_back(QColor(255, 0, 0));
    f.tile().picForeColor_Click();
    f.w().move(300, 200);
    OnlyEnable(f, 1 << 6);
    f.slider(6)->setValue(250);
    f.dialogs.colors.push_back(QColor(1, 2, 3));
    Click(f.colorBox(6));
    f.sizeBox()->setText("321");
    f.down();
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

    // The next start offers it, and applies it only when asked. Its points
    // lie below the remembered one: restoring switches that on before it
    // switches them off, so nothing is refused.
    GuiFixture g(after);
    QVERIFY(g.pts() == StartupPoints());
    g.trigger("mnuMemoryLoad");
    QCOMPARE(g.doc().state(), f.doc().state());
    QCOMPARE(ShownFault(g), "");
    QVERIFY(g.get<QRadioButton>("Option1_1")->isChecked());
    QVERIFY(g.option<QCheckBox>("chkHeight")->isChecked());
    QCOMPARE(g.w().exportOptions().value().saveHeight, 50);
    // Undo takes the thickness back with the points; redo brings both again.
    g.trigger("mnuUndo");
    QVERIFY(!g.option<QCheckBox>("chkHeight")->isChecked() && g.pts() == StartupPoints());
    g.trigger("mnuRedo");
    QVERIFY(g.option<QCheckBox>("chkHeight")->isChecked() && g.doc().state() == f.doc().state());
    QVERIFY(g.said().empty());
    // A state remembered across comes back across.
    Click(g.get("Option1_0"));
    g.trigger("mnuMemorySave");
    g.down();
    g.trigger("mnuMemoryLoad");
    QVERIFY(g.get<QRadioButton>("Option1_0")->isChecked());
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
        keyClick(child<QSlider>(ld, "sldLD"), Qt::Key_PageUp);
        QCOMPARE(text->text(), "40");
        QCOMPARE(f.pts().color[2], MakeColour(40, 40, 255));
        // Live in the tiles too.
        QVERIFY(f.grad()->image() != std::get<3>(before));
        Click(child<QPushButton>(ld, "CmdCancel"));
    });
    // The close box and Escape are Cancel too.
    for (bool escape : {true, false})
        Brightness(f, [escape](frmLD& ld, QLineEdit* text) {
            text->setText("-30");
            escape ? keyClick(text, Qt::Key_Escape) : void(ld.close());
        });
    QVERIFY(Capture(f) == before);
    QCOMPARE(ShownFault(f), "");
    // None of these is a step.
    QVERIFY(!f.action("mnuUndo")->isEnabled());
}

void tst_Commands::brightnessTyped()
{
    FETCH(typed);
    FETCH(shown);
    FETCH(at);
    FETCH(rgb);
    GuiFixture f;
    Click(f.check(2));
    Brightness(f, [&](frmLD& ld, QLineEdit* text) {
        keyClicks(text, typed);
        QCOMPARE(text->text(), shown);
        QCOMPARE(child<QSlider>(ld, "sldLD")->value(), at.toInt());
        QCOMPARE(f.pts().color[1], rgb.toInt(nullptr, 16));
        QCOMPARE(f.pts().color[2], MakeColour(0, 0, 255));
        // Shown while the dialog is open.
        QCOMPARE(ShownFault(f, false), "");
    });
}

void tst_Commands::undoEachStep()
{
    QFETCH(int, step);
    const auto& [name, kind, make] = kSteps[step];
    GuiFixture f;
    // The work picture and the tiles are drawn too.
    f.trigger("MenuTile");
    f.slider(1)->setValue(100);
    const Views before = Capture(f);
    make(f);
    const Views after = Capture(f);
    QVERIFY(std::get<0>(after) != std::get<0>(before));
    QVERIFY(ImageShowsLine(std::get<1>(after), f.expectedLine(280)));
    // The set-up's move and this step.
    QCOMPARE(f.steps(), 2);
    f.trigger("mnuUndo");
    QVERIFY(Capture(f) == before);
    QCOMPARE(f.action("mnuRedo")->text().section(" - ", 1), UndoMenu::caption(kind));
    f.trigger("mnuRedo");
    QVERIFY(Capture(f) == after);
    QVERIFY(!f.action("mnuRedo")->isEnabled());
}

void tst_Commands::colourAsText_data()
{
    // Point 0's box: how its menu opens, the item's key, the clipboard's (P)
    // or the typed (E) text, and what comes of it: the point's colour, the
    // clipboard (C) or what was said; the entry's OK button and error line.
    const QString refused = "「rgb(1,2)」は色として読めません。";
    Rows<TextRow>({
        {"copy", {"right", Qt::Key_C, "", "#ff0000", true, ""}},
        {"paste hex of 3", {"menu", Qt::Key_P, "#fff", "#ffffff", true, ""}},
        {"paste a refusal", {"shift", Qt::Key_P, "rgb(1,2)", refused, true, ""}},
        {"typed hsl", {"shift", Qt::Key_E, "hsl(120deg 100% 25%)", "#008000", true, ""}},
        {"typed name", {"right", Qt::Key_E, "RebeccaPurple", "#663399", true, ""}},
        {"typed refusal", {"menu", Qt::Key_E, "rgb(1,2)", "#ff0000", false, refused}},
    });
}

// A typed or pasted colour is the point's, as the windows show it; copy
// writes #rrggbb; a disabled point's box opens no menu.
void tst_Commands::colourAsText()
{
    QFETCH(TextRow, row);
    const auto& [how, key, text, want, ok, error] = row;
    GuiFixture f;
    QApplication::clipboard()->setText(text);
    bool okShown = true;
    QString errorShown, swatch;
    f.dialogs.modals.push_back([&, text](QDialog* d) {
        auto* line = child<QLineEdit>(*d, "colourText");
        line->selectAll();
        keyClicks(line, text);
        okShown = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->isEnabled();
        errorShown = child<QLabel>(*d, "colourError")->text();
        swatch = child<ColorBox>(*d, "colourSwatch")->color().name();
        keyClick(d, okShown ? Qt::Key_Return : Qt::Key_Escape);
    });
    QVERIFY(ColourMenu(f.colorBox(0), how, key));
    const QString colour = ToQColor(f.pts().color[0]).name();
    const QString said = f.said().empty() ? "" : f.said().back().second;
    QCOMPARE(key == Qt::Key_C ? QApplication::clipboard()->text()
             : said.isEmpty() ? colour
                              : said,
             want);
    QCOMPARE(std::pair(okShown, errorShown), std::pair(ok, error));
    QCOMPARE(swatch, key == Qt::Key_E ? colour : "");
    QCOMPARE(f.steps(), int(colour != "#ff0000"));
    QCOMPARE(ShownFault(f), "");
    Click(f.check(0));
    QVERIFY(!ColourMenu(f.colorBox(0), how, key));
}

void tst_Commands::cssPage_data()
{
    QTest::addColumn<QString>("selector");
    QTest::addColumn<bool>("axis");
    QTest::addColumn<QString>("said");
    QTest::newRow("tiled, body") << "body" << false << "";
    QTest::newRow("one way, own selector") << ".hero > div" << true << "";
    QTest::newRow("tiled, own selector") << "main" << false << "";
    const QString refused = "ｾﾚｸﾀは1行で、{ } ; やｺﾒﾝﾄを含まないものにしてください。";
    QTest::newRow("a brace refused") << "a { b" << true << refused;
    QTest::newRow("a comment refused") << "a /* b" << false << refused;
}

// A CSS save offers the selector and the repeat, writes the rule with them,
// keeps them in the settings file once chosen, and the tile window shows the
// page as the rule draws it; a selector that would break the rule is refused.
void tst_Commands::cssPage()
{
    QFETCH(QString, selector);
    QFETCH(bool, axis);
    QFETCH(QString, said);
    GuiFixture f;
    f.trigger("MenuTile");
    f.dialogs.colors.push_back(QColor(0, 0, 255)); // the far end blue, the near red
    Click(f.colorBox(3));
    const QString path = f.programDir.filePath("page.css");
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([&](QDialog* d) {
        QVERIFY(child<QGroupBox>(*d, "fraCss")->isVisible());
        auto* line = child<QLineEdit>(*d, "txtSelector");
        line->selectAll();
        keyClicks(line, selector);
        child<QRadioButton>(*d, axis ? "optAxis" : "optTile")->click();
        keyClick(d, Qt::Key_Return);
        if (d->isVisible())
            keyClick(d, Qt::Key_Escape);
    });
    f.trigger("MenuSave");
    f.w().SaveSettingsNow();
    QCOMPARE(f.said().empty() ? "" : f.said().back().second, said);
    const QByteArray css = ReadAll(path), ini = f.iniText();
    QCOMPARE(css.contains("\n" + selector.toUtf8() + " {\n"), said.isEmpty());
    QCOMPARE(css.contains("background-repeat: repeat-y;"), axis && said.isEmpty());
    // Written once chosen: a user who keeps body and tiles keeps the file.
    const bool chosen = said.isEmpty() && (selector != "body" || axis);
    QCOMPARE(ini.contains("CssSelector=" + selector.toUtf8()), chosen);
    QCOMPARE(ini.contains(axis ? "CssRepeat=axis" : "CssRepeat=tile"), chosen);
    const QImage tiles = f.grad()->image();
    const int length = f.doc().size();
    QCOMPARE(tiles.pixel(length + 5, 0), tiles.pixel(axis && said.isEmpty() ? length - 1 : 5, 0));
}

void tst_Commands::undoHistory()
{
    // Three steps kept; key steps of one slider closer together than the
    // merge window are one.
    GuiFixture f({}, true, 3);
    f.random.values = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    auto* undo = f.action("mnuUndo");
    auto* redo = f.action("mnuRedo");
    QVERIFY(!undo->isEnabled() && !redo->isEnabled());
    auto* s = f.slider(1);
    keyClick(s, Qt::Key_Right);
    // A pause as long as the window: a new step.
    f.now += EditHistory::kMergeWindow;
    keyClick(s, Qt::Key_Right);
    // Back where this run began: it is gone.
    keyClick(s, Qt::Key_Left);
    QCOMPARE(f.steps(), 1);
    // A new run, not part of the first step.
    keyClick(s, Qt::Key_Right);
    f.now += EditHistory::kMergeWindow - 1ns;
    // Within the window: the same step.
    keyClick(s, Qt::Key_Right);
    const auto keys = f.doc().state();
    // A drag right after is a step of its own.
    Drag(s, 520);
    QCOMPARE(f.steps(), 3);
    undo->trigger();
    QCOMPARE(f.doc().state(), keys);
    undo->trigger();
    QCOMPARE(s->value(), 334);
    undo->trigger();
    QCOMPARE(f.pts(), StartupPoints());
    // A new step drops the redo.
    f.trigger("mnuRandom");
    QVERIFY(!redo->isEnabled());
    const auto random = f.doc().state();
    for (int k = 2; k <= 4; ++k) {
        f.trigger("mnuRandom");
        QCOMPARE(f.steps(), std::min(k, 3));
    }
    while (undo->isEnabled())
        undo->trigger();
    // Only the oldest step is forgotten.
    QCOMPARE(f.doc().state(), random);
}

void tst_Commands::menuShortcutsFirst()
{
    // Keys in the size box and in the tile window: the menus' shortcuts come
    // before the box's own; a size typed is one step by then or at Enter,
    // never one a key.
    GuiFixture f;
    auto* box = f.sizeBox();
    const auto press = [&](QWidget* target, const char* key) {
        QTest::keySequence(target, QKeySequence(key));
        return QString("%1 %2").arg(f.doc().size()).arg(f.steps());
    };
    box->setFocus();
    keyClicks(box, "\b\b\b500");
    QCOMPARE(press(box, "Ctrl+Z"), "100 0");
    // Ctrl+A opens the save dialog, Ctrl+C the options dialog.
    QCOMPARE(press(box, "Ctrl+A"), "100 0");
    QCOMPARE(press(box, "Ctrl+C"), "100 0");
    QVERIFY(f.dialogs.saveRequests.size() == 1 && f.dialogs.modalCount == 1);
    keyClicks(box, "\b\b\b61");
    QCOMPARE(press(box, "Return"), "61 1");
    f.trigger("MenuTile");
    QApplication::setActiveWindow(&f.tile());
    QCOMPARE(press(&f.tile(), "Ctrl+Z"), "100 0");
    QCOMPARE(press(&f.tile(), "Ctrl+Y"), "61 1");
}

// The extension alone decides the type, none or an unknown one a bitmap;
// the options show the size. No file name: the clipboard; the format as Qt
// reads it; thickness 0: the box off; dithered: the box on from the settings
// file, and OKLab.
void tst_Commands::saveAndCopy_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("down");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("dithered");
    QTest::newRow(".JPG") << "sky.JPG" << false << "jpeg" << 7 << false;
    QTest::newRow(".jpeg") << "a.jpeg" << true << "jpeg" << 0 << false;
    QTest::newRow(".Png") << "sky.Png" << false << "png" << 0 << false;
    QTest::newRow(".gif") << "sky.gif" << true << "bmp" << 33 << false;
    QTest::newRow("dotted") << "my.pics/sky" << false << "bmp" << 50 << false;
    QTest::newRow("copy") << "" << false << "" << 0 << false;
    QTest::newRow("copy down") << "" << true << "" << 9 << false;
    QTest::newRow("dithered .png") << "a.png" << false << "png" << 20 << true;
    QTest::newRow("dithered bitmap down") << "a" << true << "bmp" << 0 << true;
    QTest::newRow("dithered copy") << "" << false << "" << 11 << true;
    QTest::newRow("dithered .JPG down") << "a.JPG" << true << "jpeg" << 20 << true;
}

void tst_Commands::saveAndCopy()
{
    QFETCH(QString, name);
    QFETCH(bool, down);
    QFETCH(QString, format);
    QFETCH(int, size);
    QFETCH(bool, dithered);
    const bool jpeg = format == "jpeg";
    GuiFixture f(dithered ? Ini("[Option]\nDither=True\n") : "");
    QDir(f.userDir.path()).mkpath("my.pics");
    f.sizeBox()->setText("200");
    if (down)
        f.down();
    if (dithered) {
        f.trigger("mnuBlendKind_1");
        f.trigger("MenuTile");
    }
    bool boxShown = false;
    const QString path = name.isEmpty() ? "" : f.userDir.filePath(name);
    Export(f, path, size, [&](QDialog* d) {
        const QCheckBox* box = child<QCheckBox>(*d, "chkDither");
        boxShown = box->isChecked() == dithered && box->isEnabled() == !jpeg;
    });
    QVERIFY(boxShown && f.said().empty());
    const int thick = size ? size : 1 + down;
    const QSize pic = down ? QSize(thick, 200) : QSize(200, thick);
    const auto wh = QString(" %1 x %2 pixels").arg(pic.width()).arg(pic.height());
    QCOMPARE(f.option<QLabel>("lblSize")->text(), wh);
    auto img = QGuiApplication::clipboard()->image();
    if (!name.isEmpty())
        // The content, not the name, decides.
        QVERIFY(img.load(path, qPrintable(format)));
    QCOMPARE(img.size(), pic);
    if (dithered) {
        const auto strip = StripPicture(MakeStrip(f.pts(), 200, down, thick, true));
        QCOMPARE(f.tile().picWork(), strip);
        if (!jpeg) // a JPEG encoder makes its own pixels
            QCOMPARE(img, strip);
        f.w().close();
        GuiFixture g(f.iniText());
        QVERIFY(g.w().exportOptions().value().dither && g.action("mnuBlendKind_1")->isChecked());
        QCOMPARE(g.pts().blend, Blend::OkLab);
    } else if (!jpeg) {
        if (down) // read down as across
            img = img.transformed(QTransform(0, 1, 1, 0, 0, 0));
        QVERIFY(ImageShowsLine(img, DrawGrad(StartupPoints(), 200)));
    }
}

void tst_Commands::cancelAtEachStep()
{
    GuiFixture f;
    auto& d = f.dialogs;
    const auto save = [](GuiFixture& g) { Click(g.get("CmdSave")); };
    const auto height = [&f] { return f.option<QCheckBox>("chkHeight"); };
    const auto thick = [&f] { return f.option<QLineEdit>("txtSize")->text(); };
    // The file dialog cancelled: no options dialog.
    save(f);
    QCOMPARE(d.modalCount, 0);
    // The options dialog cancelled after a name: nothing written, the name
    // and the changed box kept for the next time.
    const auto path = f.userDir.filePath("keep.png");
    d.files.push_back(path);
    d.modals.push_back([](QDialog* d) {
        child<QCheckBox>(*d, "chkHeight")->setChecked(true);
        child<QLineEdit>(*d, "txtSize")->setText("64");
        Click(child<QPushButton>(*d, "CmdCancel"));
    });
    save(f);
    QCOMPARE(f.w().saveFileName(), path);
    QVERIFY(height()->isChecked());
    QCOMPARE(thick(), "64");
    // Escape is Cancel too; the close box also resets the dialog.
    for (bool escape : {true, false}) {
        d.files.push_back(path);
        d.modals.push_back(
            [escape](QDialog* d) { escape ? keyClick(d, Qt::Key_Escape) : void(d->close()); });
        save(f);
    }
    QVERIFY(!QFile::exists(path));
    QVERIFY(!height()->isChecked());
    QCOMPARE(thick(), "100");
    // A file written: the next dialog offers its name without the extension
    // and its type first, and the next start its folder.
    Export(f, f.userDir.filePath("sky.png"), 0);
    save(f);
    QCOMPARE(d.saveRequests.back().fileName, f.userDir.filePath("sky"));
    QCOMPARE(d.saveRequests.back().type, "png");
    f.w().close();
    GuiFixture g(f.iniText());
    save(g);
    QCOMPARE(g.dialogs.saveRequests.back().initialDir, f.userDir.path() + "/");
}

void tst_Commands::thicknessBounds()
{
    FETCH(typed);
    FETCH(taken);
    ScriptedDialogs dialogs;
    GradDocument doc;
    ExportOptions options(doc);
    frmOption o(dialogs, nullptr, options);
    auto* box = child<QLineEdit>(o, "txtSize");
    // Disabled until the box is checked.
    QVERIFY(!box->isEnabled());
    o.setTarget({true, 0, 100});
    child<QCheckBox>(o, "chkHeight")->setChecked(true);
    o.show();
    box->setText(typed);
    o.cmdOK_Click();
    QCOMPARE(o.isVisible(), taken == "no");
    QCOMPARE(dialogs.messages.empty(), taken == "yes");
}

void tst_Commands::encoderBridge()
{
    FETCH(encoder);
    FETCH(v);
    FETCH(code);
    ScriptedDialogs d;
    QTemporaryDir dir;
    const auto path = dir.filePath("out");
    const StripImage img{DrawGrad(StartupPoints(), 10), false, 1};
    clsTransG& t = clsTransG::instance();
    const bool jpeg = encoder == "JPEG";
    const int n = v.toInt();
    const short got =
        jpeg ? t.DCSaveJpeg(d, nullptr, img, path, n, 0) : t.DCSavePNG(d, nullptr, img, path, n);
    QCOMPARE(got, code.toShort());
    QCOMPARE(QFile::exists(path), code == "0");
}

void tst_Commands::helpPage()
{
    GuiFixture f({}, false);
    const QString page = DataFile("../../help/index.htm");
    QVERIFY(!page.isEmpty() && !page.contains("(&amp;"));
    const auto edit = f.get<QMenu>("mnuGradEdit")->title().remove('&');
    // The menu's name in any width of kana, with or without its key.
    const QString kana = "(ｸﾞ|グ)(ﾗﾞ|ﾗ|ラ)(ﾃﾞ|デ)(ｰ|ー)(ｼｮ|ショ)(ﾝ|ン)";
    const QRegularExpression named(kana + "編集(\\(E\\))?");
    for (const auto& m : named.globalMatch(page))
        QCOMPARE(m.captured(), edit);
    const QRegularExpression example("velmix-render( [^<\n\\[]+)(?=[<\n])");
    QStringList examples;
    for (const auto& m : example.globalMatch(page))
        examples << m.captured(1).section(" &gt; ", 0, 0);
    QCOMPARE(examples.size(), 5);
    QCOMPARE(examples.removeDuplicates(), 0);
    for (const auto& args : examples) {
        QProcess sh;
        sh.start("sh", {"-c", "printf '%s\\n' " + args});
        QVERIFY(sh.waitForFinished());
        std::vector<std::string> words;
        for (const auto& w : QString(sh.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts))
            words.push_back(w.toStdString());
        const RenderArgsResult r = ParseRenderArgs(words);
        QVERIFY2(r.job, qPrintable(args + ": " + r.error.c_str()));
    }
}

// No options for a CSS copy: every thickness tiles alike. The rule's
// declarations alone (a copy goes into someone else's rule: no selector, no
// points carried in a comment), which read back draw the window's line.
void tst_Commands::copyCss()
{
    GuiFixture f;
    f.sizeBox()->setText("2000");
    f.trigger("mnuCopyCss");
    QCOMPARE(f.dialogs.modalCount, 0);
    const auto copied = QGuiApplication::clipboard()->text();
    QVERIFY2(!copied.contains(QRegularExpression("[{}]|/\\*|\n\n")), qPrintable(copied));
    const auto read = ReadCss(copied.toStdString(), "c");
    QVERIFY(read.gradients.size() == 1 && !read.carried);
    QVERIFY(WithinALevel(f.expectedLine(2000), SampleGradient(read.gradients[0], 2000)));
}

void tst_Commands::helpOpener()
{
    FETCH(opener);
    FETCH(said);
    GuiFixture f;
    const auto page = f.programDir.filePath("help/index.htm");
    const bool folder = strcmp(QTest::currentDataTag(), "no help folder");
    if (folder) {
        QVERIFY(QDir().mkpath(f.programDir.filePath("help")));
        QVERIFY(QFile(page).open(QFile::WriteOnly));
    }
    f.openerResult = opener != "no viewer";
    f.openerProgram = f.openerResult ? opener : "";
    f.trigger("MenuPrintHelp");
    if (said.isEmpty()) {
        QTest::qWait(opener.isEmpty() ? 0 : 500);
        QVERIFY(f.said().empty());
    } else {
        QTRY_COMPARE(OnlyError(f), "ヘルプを表示できません。\r\n" + said.arg(page));
    }
    if (folder)
        QCOMPARE(f.opened, std::vector<QUrl>{QUrl::fromLocalFile(page)});
}

// A failed write keeps the old file and says the system's own reason.
void tst_Commands::failedWrite()
{
    FETCH(type);
    FETCH(message);
    FETCH(next);
    GuiFixture f;
    f.sizeBox()->setText("2000");
    const auto old = f.userDir.filePath("old." + type);
    WriteAll(old, "precious");
    {
        FileSizeLimit limit(4096);
        Export(f, old, 3000);
    }
    QCOMPARE(OnlyError(f), message.arg(strerror(EFBIG)));
    QCOMPARE(ReadAll(old), "precious");
    QCOMPARE(f.w().saveFileName(), f.userDir.filePath(next));
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
    auto* clip = QGuiApplication::clipboard();
    clip->setText("before");
    AddressSpaceHeadroom limit(64u << 20);
    Export(f, {}, 32767);
    QCOMPARE(OnlyError(f), "クリップボードにコピーできません。\r\n" + QString(strerror(ENOMEM)));
    QCOMPARE(clip->text(), "before");
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
