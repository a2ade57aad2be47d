// SPDX-License-Identifier: MIT
// The commands walked through on the real window with scripted dialogs: the
// edit menu (random colours, equal spacing, brightness), undo and redo of
// every kind of step, remembering a state across a restart, a colour as
// text, saving in each type and copying (read back, cancelled at each step,
// failures that keep the old file), and help.

#include "export/frmoption.h"
#include "guifixture.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>

#include <cstring>

using namespace velmix;
using QTest::keyClick;
using QTest::keyClicks;
using namespace std::chrono_literals;

namespace {

// Runs the brightness dialog with `run` for it and its text box.
void Bright(GuiFixture& f, const std::function<void(QDialog&, QLineEdit*)>& run)
{
    f.dialogs.modals.push_back(
        [run](QDialog* d) { run(*d, child<QLineEdit>(*d, "txtLD")); });
    f.trigger("mnuLD");
}

// How a colour box's menu opens, the item's key, a text and what comes of it.
using TextRow = std::tuple<QString, Qt::Key, QString, QString, QString>;

// Opens a colour box's menu by the right button ("right"), the Menu key
// ("menu") or Shift+F10 and presses `key` in it; whether a menu opened.
bool Menu(QWidget* box, const QString& how, Qt::Key key)
{
    QWidget* menu = nullptr;
    QTimer::singleShot(0, [&menu, key] {
        menu = QApplication::activePopupWidget();
        if (menu)
            keyClick(menu, key);
    });
    box->setFocus();
    const QPoint at(4, 4);
    QContextMenuEvent right(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    if (how == "right")
        QApplication::sendEvent(box, &right);
    else if (how == "menu")
        keyClick(box, Qt::Key_Menu);
    else
        keyClick(box, Qt::Key_F10, Qt::ShiftModifier);
    // The timer, when no menu opened.
    QCoreApplication::processEvents();
    return menu != nullptr;
}

// Saves to `path` (or copies, when empty) through the options dialog with a
// thickness (0: the box left off) and Enter.
void Export(GuiFixture& f, const QString& path, int thick)
{
    if (!path.isEmpty())
        f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([=](QDialog* d) {
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
    const bool one = m.size() == 1 && m[0].first == MsgIcon::Error;
    return one ? m[0].second : "not one error";
}

using CssRow = std::tuple<QString, bool, QString>;
using OpenerRow = std::pair<QString, int>;

} // namespace

class tst_Commands : public QObject
{
    Q_OBJECT
private slots:
    void editMenu();
    void undoHistory();
    void colourAsText_data();
    void colourAsText();
    void saveEachType();
    void cssPage_data();
    void cssPage();
    void ditheredAndFailed();
    void helpOpener_data();
    void helpOpener();
};

void tst_Commands::editMenu()
{
    GuiFixture f;
    f.trigger("MenuTile");
    // The points are equally spaced already.
    f.trigger("mnuEqual");
    const auto before = f.doc().state();
    // The slider's value shown as text; Cancel. (Escape cancels the typed
    // rows below; the close box is the soak test's.)
    Bright(f, [](QDialog& ld, QLineEdit* t) {
        t->setText("-30");
        keyClick(child<QSlider>(ld, "sldLD"), Qt::Key_PageUp);
        QCOMPARE(t->text(), "2");
        Click(child<QPushButton>(ld, "CmdCancel"));
    });
    QCOMPARE(f.doc().state(), before);
    // None of these is a step.
    QVERIFY(!f.action("mnuUndo")->isEnabled());
    // Typed over the selected 0 (letters discarded, four characters at
    // most): shown, on the slider, and on point 1 (green) but not on the
    // disabled point 2 (blue); +-255 at most. The slider set from the text
    // leaves the text as typed ("05").
    Click(f.check(2));
    const std::tuple<const char*, const char*, int> typed[] = {
        {"-20", "-20", -20}, {"-", "-", 0},          {"2.5x", "2.5", 2},
        {"256", "255", 255}, {"-256", "-255", -255}, {"0.001", "0.00", 0},
        {"05", "05", 5}};
    for (const auto& [keys, shown, at] : typed)
        Bright(f, [&](QDialog& ld, QLineEdit* t) {
            keyClicks(t, keys);
            QCOMPARE(t->text(), shown);
            QCOMPARE(child<QSlider>(ld, "sldLD")->value(), at);
            const int v = std::max(at, 0);
            const auto& c = f.pts().color;
            QCOMPARE(c[1], MakeColour(v, std::min(255 + at, 255), v));
            QCOMPARE(c[2], MakeColour(0, 0, 255));
            // Shown while the dialog is open.
            QCOMPARE(ShownFault(f, false), "");
            keyClick(t, Qt::Key_Escape);
        });
    // OK keeps it, one step.
    Bright(f, [](QDialog& ld, QLineEdit* t) {
        keyClicks(t, "9");
        Click(child<QPushButton>(ld, "cmdOK"));
    });
    QCOMPARE(f.pts().color[1], MakeColour(9, 255, 9));
    QCOMPARE(f.steps(), 2);
}

void tst_Commands::undoHistory()
{
    // Three steps kept; key steps of one slider closer together than the
    // merge window are one.
    GuiFixture f({}, true, 3);
    f.random.values = {.1f, .2f, .3f, .4f, .5f};
    auto* undo = f.action("mnuUndo");
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
    s->setSliderDown(true);
    s->setSliderPosition(520);
    s->setSliderDown(false);
    QCOMPARE(f.steps(), 3);
    undo->trigger();
    QCOMPARE(f.doc().state(), keys);
    undo->trigger();
    QCOMPARE(s->value(), 334);
    undo->trigger();
    QCOMPARE(f.pts(), StartupPoints());
    // A new step drops the redo.
    f.trigger("mnuRandom");
    QVERIFY(!f.action("mnuRedo")->isEnabled());
    // The last point takes the first's colour.
    QCOMPARE(f.pts().color[3], f.pts().color[0]);
    const auto first = f.doc().state();
    for (int k = 2; k <= 4; ++k) {
        f.trigger("mnuRandom");
        QCOMPARE(f.steps(), std::min(k, 3));
    }
    while (undo->isEnabled())
        undo->trigger();
    // Only the oldest step is forgotten.
    QCOMPARE(f.doc().state(), first);
    // Keys in the size box and in the tile window: the menus' shortcuts come
    // before the box's own; a size typed is one step by then or at Enter,
    // never one a key.
    auto* box = f.sizeBox();
    const auto press = [&](QWidget* to, const char* k) {
        QTest::keySequence(to, QKeySequence(k));
        return QString("%1 %2").arg(f.doc().size()).arg(f.steps());
    };
    box->setFocus();
    keyClicks(box, "\b\b\b500");
    QCOMPARE(press(box, "Ctrl+Z"), "100 0");
    keyClicks(box, "\b\b\b61");
    QCOMPARE(press(box, "Return"), "61 1");
    f.trigger("MenuTile");
    auto* t = &f.tile();
    QApplication::setActiveWindow(t);
    QCOMPARE(press(t, "Ctrl+Z"), "100 0");
    QCOMPARE(press(t, "Ctrl+Y"), "61 1");
}

void tst_Commands::colourAsText_data()
{
    // Point 0's box: how its menu opens, the item's key, the clipboard's (P)
    // or the typed (E) text, and what comes of it: the point's colour, the
    // clipboard (C) or what was said; the entry's error (its OK button is
    // enabled without one).
    const QString no = "「rgb(1,2)」は色として読めません。";
    const auto C = Qt::Key_C, P = Qt::Key_P, E = Qt::Key_E;
    Rows<TextRow>({
        {"copy", {"right", C, "", "#ff0000", ""}},
        {"paste #fff", {"menu", P, "#fff", "#ffffff", ""}},
        {"paste no", {"shift", P, "rgb(1,2)", no, ""}},
        {"typed hsl", {"shift", E, "hsl(120deg 100% 25%)", "#008000", ""}},
        {"typed no", {"menu", E, "rgb(1,2)", "#ff0000", no}},
    });
}

// A typed or pasted colour is the point's, as the windows show it; copy
// writes #rrggbb. (A disabled point's box gets no mouse or key events from
// Qt: no menu opens even without the menu's own guard.)
void tst_Commands::colourAsText()
{
    QFETCH(TextRow, row);
    const auto& [how, key, text, want, error] = row;
    GuiFixture f;
    auto* clip = QApplication::clipboard();
    clip->setText(text);
    bool ok = true;
    QString errorShown, swatch;
    f.dialogs.modals.push_back([&, text](QDialog* d) {
        auto* t = child<QLineEdit>(*d, "colourText");
        t->selectAll();
        keyClicks(t, text);
        ok = d->findChild<QDialogButtonBox*>()
                 ->button(QDialogButtonBox::Ok)
                 ->isEnabled();
        errorShown = child<QLabel>(*d, "colourError")->text();
        swatch = child<ColorBox>(*d, "colourSwatch")->color().name();
        keyClick(d, ok ? Qt::Key_Return : Qt::Key_Escape);
    });
    QVERIFY(Menu(f.colorBox(0), how, key));
    const auto c = ToQColor(f.pts().color[0]).name();
    const auto& m = f.said();
    const QString said = m.empty() ? c : m.back().second;
    QCOMPARE(key == Qt::Key_C ? clip->text() : said, want);
    QCOMPARE(ok, error.isEmpty());
    QCOMPARE(errorShown, error);
    QCOMPARE(swatch, key == Qt::Key_E ? c : "");
    QCOMPARE(ShownFault(f), "");
}

// A gradient saved in each type and copied, cancelled at each step of the
// way. The extension alone decides the type, none or an unknown one a bitmap;
// the picture read back is the window's line; the options show its size and
// offer dithering but for a JPEG; the next save offers the last name without
// its extension, its type first, and the next start its folder.
void tst_Commands::saveEachType()
{
    GuiFixture f;
    auto& d = f.dialogs;
    const auto save = [](GuiFixture& g) { Click(g.get("CmdSave")); };
    // The close box deletes the dialog: its controls found anew each time.
    const auto height = [&f] { return f.option<QCheckBox>("chkHeight"); };
    const auto thick = [&f] { return f.option<QLineEdit>("txtSize"); };
    // The options dialog cancelled after a name: nothing written, the name
    // and the changed box kept for the next time.
    const auto path = f.userDir.filePath("keep.png");
    d.files.push_back(path);
    d.modals.push_back([&](QDialog* d) {
        height()->setChecked(true);
        thick()->setText("64");
        Click(child<QPushButton>(*d, "CmdCancel"));
    });
    save(f);
    QCOMPARE(f.w().saveFileName(), path);
    QVERIFY(height()->isChecked());
    // The close box resets the dialog.
    d.files.push_back(path);
    d.modals.push_back([](QDialog* d) { d->close(); });
    save(f);
    QVERIFY(!QFile::exists(path));
    QVERIFY(!height()->isChecked());
    QCOMPARE(thick()->text(), "100");
    // The thickness, 1 to 32767, disabled until its box is checked: one out
    // of range is said.
    QVERIFY(!thick()->isEnabled());
    height()->setChecked(true);
    for (int n : {0, 1, 32767, 32768}) {
        thick()->setText(QString::number(n));
        f.w().option().cmdOK_Click();
        QCOMPARE(d.messages.size(), std::size_t(n < 1 || n > 32767));
        d.messages.clear();
    }
    // The name, the format Qt reads, the thickness (0: the box left off),
    // and down; no name: the clipboard.
    QDir(f.userDir.path()).mkpath("my.pics");
    f.sizeBox()->setText("200");
    const std::tuple<const char*, const char*, int, bool> saves[] = {
        {"", "", 9, true},
        {"sky.JPG", "jpeg", 7, false},
        {"a.Png", "png", 0, true},
        {"sky.gif", "bmp", 33, true},
        {"my.pics/sky", "bmp", 50, false},
        {"sky.png", "png", 0, false}};
    const auto line = DrawGrad(StartupPoints(), 200);
    for (const auto& [name, format, size, down] : saves) {
        const bool jpeg = QString(format) == "jpeg";
        Click(f.get(Row("Option1", down)));
        const auto to = *name ? f.userDir.filePath(name) : "";
        Export(f, to, size);
        QCOMPARE(f.option<QCheckBox>("chkDither")->isEnabled(), !jpeg);
        const int h = size ? size : 1 + down;
        const QSize pic = down ? QSize(h, 200) : QSize(200, h);
        const auto wh = QString(" %1 x %2 pixels").arg(pic.width()).arg(pic.height());
        QCOMPARE(f.option<QLabel>("lblSize")->text(), wh);
        auto img = QGuiApplication::clipboard()->image();
        // The content, not the name, decides.
        if (*name)
            QVERIFY(img.load(to, format));
        QCOMPARE(img.size(), pic);
        QVERIFY(jpeg || ImageShowsLine(img, line, down));
    }
    save(f);
    QCOMPARE(d.saveRequests.back().fileName, f.userDir.filePath("sky"));
    QCOMPARE(d.saveRequests.back().type, "png");
    // The save dialog's types: each text once, then patterns in any case.
    const QStringList types{"B(*.BMP) (*.[bB][mM][pP])", "PNG (*.[pP][nN][gG])"};
    QCOMPARE(SaveNameFilters("B(*.BMP)|*.bmp|PNG|*.png|odd"), types);
    // Remembered, the state is in the file at once; the next start offers it
    // and applies it, thickness and all, only when asked. Its points lie
    // below the remembered one: restoring switches that on before it switches
    // them off, so nothing is refused.
    Click(f.check(6));
    for (int i : {0, 1, 2, 3})
        Click(f.check(i));
    f.slider(6)->setValue(250);
    d.colors.push_back(QColor(1, 2, 3));
    Click(f.colorBox(6));
    f.sizeBox()->setText("321");
    f.down();
    height()->setChecked(true);
    thick()->setText("50");
    f.trigger("mnuMemorySave");
    QVERIFY(f.action("mnuMemoryLoad")->isEnabled());
    // Not remembered: the thickness the next start begins with.
    height()->setChecked(false);
    f.w().close();
    GuiFixture g(f.iniText());
    save(g);
    QCOMPARE(g.dialogs.saveRequests.back().initialDir, f.userDir.path() + "/");
    QVERIFY(g.pts() == StartupPoints());
    g.trigger("mnuMemoryLoad");
    QCOMPARE(g.doc().state(), f.doc().state());
    QCOMPARE(ShownFault(g), "");
    auto* on = g.option<QCheckBox>("chkHeight");
    QCOMPARE(g.w().exportOptions().value().saveHeight, 50);
    // Undo takes the thickness back with the points; redo brings both again.
    g.trigger("mnuUndo");
    QVERIFY(!on->isChecked());
    QVERIFY(g.pts() == StartupPoints());
    g.trigger("mnuRedo");
    QVERIFY(on->isChecked());
    QVERIFY(g.said().empty());
    // A CSS copy of the restored gradient (down): the declarations alone, for
    // someone else's rule.
    g.trigger("mnuCopyCss");
    const auto css = QGuiApplication::clipboard()->text();
    QVERIFY(css.contains("(to bottom") && !css.contains('{'));
}

void tst_Commands::cssPage_data()
{
    const QString no = "ｾﾚｸﾀは1行で、{ } ; やｺﾒﾝﾄを含まないものにしてください。";
    Rows<CssRow>({
        {"tiled, body", {"body", false, ""}},
        {"one way, own", {".hero > div", true, ""}},
        // The selector alone changed is written too.
        {"tiled, own", {"main", false, ""}},
        {"a brace", {"a { b", true, no}},
    });
}

// A CSS save offers the selector and the repeat, writes the rule with them,
// keeps them in the settings file once chosen, and the tile window shows the
// page as the rule draws it; a selector that would break the rule is refused.
void tst_Commands::cssPage()
{
    QFETCH(CssRow, row);
    const auto& [selector, axis, said] = row;
    GuiFixture f;
    f.trigger("MenuTile");
    // The far end blue, the near red.
    f.dialogs.colors.push_back(QColor(0, 0, 255));
    Click(f.colorBox(3));
    const auto path = f.programDir.filePath("p.css");
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([&](QDialog* d) {
        child<QLineEdit>(*d, "txtSelector")->setText(selector);
        child<QRadioButton>(*d, axis ? "optAxis" : "optTile")->click();
        keyClick(d, Qt::Key_Return);
        if (d->isVisible())
            keyClick(d, Qt::Key_Escape);
    });
    f.trigger("MenuSave");
    f.w().SaveSettingsNow();
    const auto& m = f.said();
    QCOMPARE(m.empty() ? "" : m.back().second, said);
    const bool ok = said.isEmpty();
    const auto css = ReadAll(path);
    const auto sel = selector.toUtf8();
    QCOMPARE(css.contains("\n" + sel + " {\n"), ok);
    QCOMPARE(css.contains("repeat-y;"), axis && ok);
    // Written once chosen: a user who keeps body and tiles keeps the file.
    const auto ini = f.iniText();
    const bool chosen = ok && (sel != "body" || axis);
    QCOMPARE(ini.contains("CssSelector=" + sel), chosen);
    QCOMPARE(ini.contains(axis ? "=axis" : "=tile"), chosen);
    const auto& tiles = f.grad()->image();
    const int n = f.doc().size();
    QCOMPARE(tiles.pixel(n + 5, 0), tiles.pixel(axis && ok ? n - 1 : 5, 0));
}

// Dithered, as the settings file chose it, with OKLab: the copy is the
// dithered strip the tile window shows (the type of a save only decides
// whether the box is offered); both choices are kept for the next start.
// Then a failed write keeps the old file and says the system's own reason
// (after a JPEG or PNG write the next save offers the name without the
// extension, whatever came of it); a copy of the largest picture (2000 x
// 32767, 262 MB) when memory runs out is reported, and the clipboard keeps
// what it held.
void tst_Commands::ditheredAndFailed()
{
    GuiFixture f(Ini("[Option]\nDither=True\n"));
    f.sizeBox()->setText("200");
    f.trigger("mnuBlendKind_1");
    f.trigger("MenuTile");
    // Dithered only if the box starts checked.
    Export(f, {}, 11);
    const auto strip = StripPicture(MakeStrip(f.pts(), 200, false, 11, true));
    QCOMPARE(f.tile().picWork(), strip);
    auto* clip = QGuiApplication::clipboard();
    QCOMPARE(clip->image(), strip);
    f.w().close();
    GuiFixture g(f.iniText());
    QVERIFY(g.w().exportOptions().value().dither);
    QVERIFY(g.action("mnuBlendKind_1")->isChecked());
    QCOMPARE(g.pts().blend, Blend::OkLab);
    g.sizeBox()->setText("2000");
    const QString no = "ファイルに書きこめません。\r\n";
    const QString why = strerror(EFBIG);
    for (const QString type : {"bmp", "png", "jpg"}) {
        const auto old = g.userDir.filePath("old." + type);
        WriteAll(old, "precious");
        {
            FileSizeLimit limit(4096);
            Export(g, old, 3000);
        }
        const bool bmp = type == "bmp";
        QCOMPARE(OnlyError(g), bmp ? why : no + why);
        QCOMPARE(ReadAll(old), "precious");
        QCOMPARE(g.w().saveFileName(), bmp ? old : old.chopped(4));
        g.dialogs.messages.clear();
    }
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer reserves address space of its own.
    clip->setText("before");
    AddressSpaceHeadroom limit(64u << 20);
    Export(g, {}, 32767);
    const QString full = "クリップボードにコピーできません。\r\n";
    QCOMPARE(OnlyError(g), full + strerror(ENOMEM));
    QCOMPARE(clip->text(), "before");
#endif
}

// The help page opened by the desktop's opener: none there to open (the
// scripted opener), one that cannot start, one that gives up after it
// started (said when it ends); the code said.
void tst_Commands::helpOpener_data()
{
    Rows<OpenerRow>({
        {"no help folder", {"", 2}},
        {"cannot start", {"no-such-opener", 31}},
        {"gives up", {"false", 1}},
    });
}

void tst_Commands::helpOpener()
{
    QFETCH(OpenerRow, row);
    const auto& [opener, ret] = row;
    GuiFixture f;
    const auto page = f.programDir.filePath("help/index.htm");
    const bool folder = !opener.isEmpty();
    if (folder) {
        QDir(f.programDir.path()).mkdir("help");
        WriteAll(page, "");
    }
    f.openerProgram = opener;
    f.trigger("MenuPrintHelp");
    QCOMPARE(f.opened, std::vector<QUrl>(folder, QUrl::fromLocalFile(page)));
    const QString no =
        "ヘルプを表示できません。\r\nRet= %1\r\n%2 をブラウザで開いてください。";
    QTRY_COMPARE(OnlyError(f), no.arg(ret).arg(page));
}

QTEST_MAIN(tst_Commands)
#include "tst_commands.moc"
