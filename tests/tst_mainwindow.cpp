// SPDX-License-Identifier: MIT
// The main window and the tile window walked through as a user walks them:
// a gradient made with the point controls and the size box, the tiles, the
// strip and the sample text, the settings written during a run and read at
// the next start; and Qt's own dialogs behind the dialog seam.

#include "about/frmabout.h"
#include "export/frmoption.h"
#include "guifixture.h"
#include "table.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <cstring>

using namespace velmix;
using QTest::keyClick;

namespace {

// The places "MainLeft MainTop TileLeft TileTop TileWidth TileHeight" as
// the settings file has them ("MainLeft= 450\n"...); a number left out at
// the end is a key missing.
QByteArray Places(const QString& text)
{
    const auto keys =
        QByteArray("MainLeft MainTop TileLeft TileTop TileWidth TileHeight").split(' ');
    QByteArray out;
    int k = 0;
    for (const auto& n : text.split(' ', Qt::SkipEmptyParts)) {
        out += keys[k++];
        out += n[0] == '-' ? "=" : "= ";
        out += n.toUtf8() + '\n';
    }
    return out;
}

// The dialog Qt shows now.
template <class D> D* Modal()
{
    return qobject_cast<D*>(QApplication::activeModalWidget());
}

// A text an input method commits in place of the box's whole text, as a
// reconversion does.
QString Commit(QLineEdit* box, const QString& text)
{
    QInputMethodEvent e;
    e.setCommitString(text, -box->cursorPosition(), box->text().size());
    QApplication::sendEvent(box, &e);
    return box->text();
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void makeGradient();
    void sizeBox();
    void placesAtExit_data();
    void placesAtExit();
    void tileAcrossRuns();
    void settingsWritten();
    void sampleText();
    void qtDialogs();
    void saveDialogType_data();
    void saveDialogType();
};

void tst_MainWindow::makeGradient()
{
    GuiFixture f;
    // The R, G, B heads over their columns.
    for (int c = 0; c < 3; ++c)
        QCOMPARE(f.label("LabRGB", c)->x(), f.label("LabColor", 7 * c)->x());
    QVERIFY(!f.action("mnuMemoryLoad")->isEnabled());
    // The pop-up menu opens on a right click on the background only.
    for (auto n : {"PicColor_0", "picPrev", "LabEnabled"})
        QTest::mouseClick(f.get(n), Qt::RightButton);
    const QPoint at(250, 340);
    auto* bg = f.get("surface");
    QTest::mouseClick(bg, Qt::LeftButton, {}, at);
    auto* menu = f.get<QMenu>("mnuGradEdit");
    QVERIFY(!menu->isVisible());
    QTest::mouseClick(bg, Qt::RightButton, {}, at);
    QVERIFY(menu->isVisible());
    menu->hide();

    // Switched off, a point keeps its place and colour, greyed, out of the
    // preview.
    Click(f.check(1));
    QCOMPARE(f.pts().color[1], 0xFF00);
    for (auto n : {"LabLocate_1", "LabColor_1", "LabColor_8"})
        QVERIFY2(!f.get(n)->isEnabled(), n);
    // The last enabled point cannot be switched off.
    for (int i : {0, 2, 3})
        Click(f.check(i));
    QCOMPARE(f.said().size(), 1u);
    QVERIFY(f.said()[0].first == MsgIcon::Exclamation);
    QCOMPARE(ShownFault(f), "");

    // A drag moves the label along and redraws on release; keys redraw at
    // once.
    Click(f.check(1));
    auto* s = f.slider(1);
    const auto before = f.preview();
    s->setSliderDown(true);
    s->setSliderPosition(512);
    QCOMPARE(f.text("LabLocate", 1), "512");
    QCOMPARE(f.preview(), before);
    s->setSliderDown(false);
    QVERIFY(f.preview() != before);
    s->setFocus();
    keyClick(s, Qt::Key_PageUp);
    QCOMPARE(ShownFault(f), "");
    keyClick(s, Qt::Key_Left);
    QCOMPARE(f.text("LabLocate", 1), "561");
    // The colour dialog opens at the point's colour.
    f.dialogs.colors.push_back(QColor(10, 20, 30));
    Click(f.colorBox(1));
    QCOMPARE(f.dialogs.colorPresets.at(0), QColor(Qt::green));
    QCOMPARE(ShownFault(f), "");

    // The preview's tip names the colour under the pointer.
    auto* prev = f.get<ImageBox>("picPrev");
    const int b = prev->border();
    QTest::mouseMove(prev, QPoint(140 + b, 2 + b));
    const auto c = f.expectedLine(280)[140];
    const auto rgb = QString("R=%1 G=%2 B=%3");
    const auto tip = rgb.arg(GetRed(c)).arg(GetGreen(c)).arg(GetBlue(c));
    QCOMPARE(prev->toolTip(), tip);

    // Up and Down in the size box step it, once a press, as its spinner
    // does.
    auto* box = f.sizeBox();
    QTest::keyPress(box, Qt::Key_Up);
    QCOMPARE(f.doc().size(), 101);
    QTest::keyRelease(box, Qt::Key_Up);
    keyClick(box, Qt::Key_Down);
    QCOMPARE(f.doc().size(), 100);
    // An input method's text is filtered as typed keys are, full-width
    // digits and signs read as the plain ones; the thickness box takes
    // digits only.
    f.option<QCheckBox>("chkHeight")->setChecked(true);
    QCOMPARE(Commit(box, "－５ａ０．０"), "500");
    QCOMPARE(Commit(f.option<QLineEdit>("txtSize"), "６４ｐｘ"), "64");
}

// Typed over the whole box ("\b": Backspace): the text then, and once the
// box is left, which makes the size one undo step, not one a key.
void tst_MainWindow::sizeBox()
{
    const char* typed[][3] = {{"2500", "2000", "2000"},
                              {"a-.x 7", "7", "7"},
                              {"3", "3", "4"},
                              {"12345", "1234", "1234"},
                              {"\b", "", "4"}};
    for (const auto& [keys, then, left] : typed) {
        GuiFixture f;
        auto* box = f.sizeBox();
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, keys);
        QCOMPARE(box->text(), then);
        QCOMPARE(f.doc().size(), QString(then).toInt());
        f.slider(0)->setFocus();
        QCOMPARE(box->text(), left);
        QCOMPARE(f.steps(), 1);
    }
}

// The places a settings file holds (in twips), what the user does (shows
// the tile window, and closes it, moves both windows, resizes the tile
// window or maximises the main window), and the places written at exit ("": as they
// were; a tile window never shown: its designed place). The offscreen screen is 800 x
// 800 pixels of 15 twips; the main window 478 x 381, the tile window's designed size
// 513 x 224.
void tst_MainWindow::placesAtExit_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("did");
    QTest::addColumn<QString>("written");
    const auto row = [](auto n, QString o, QString d, QString w) {
        QTest::newRow(n) << o << d << w;
    };
    const QString usual = "1500 3000 1507 1208 8000 4000";
    const QString noHeight = "1500 3000 1507 1208 9000";
    row("no places", "", "", "0 0 0 0 7755 3690");
    row("tile closed", usual, "close", "");
    row("maximised", usual, "maximise", "");
    const auto huge = QString("-999999 300 %1 0 300000 300000").arg(INT_MIN);
    row("beyond it all, moved", huge, "move", "450 675 -300 150 12000 12000");
    row("no tile width", "1500 3000 1500 1200 0 4500", "", "");
    // A missing key is written, from what the file's place gave; resized,
    // the file's place stays: the file left the size to the window.
    row("no tile height", noHeight, "show", noHeight + " 0");
    row("no height, resized", noHeight, "resize", noHeight + " 0");
    const auto right = "1500 3000 99999 1200 9000 0";
    row("no height, far right", right, "", "1500 3000 4305 1200 7695 3360");
}

void tst_MainWindow::placesAtExit()
{
    FETCH(option);
    FETCH(did);
    FETCH(written);
    // Nothing is saved: the stored folder stays.
    const auto dir = "SaveInitPath=/tmp/\n";
    GuiFixture f(Ini("[Option]\n" + Places(option) + dir));
    auto& t = f.tile();
    if (!did.isEmpty())
        f.trigger("MenuTile");
    if (did == "close")
        t.close();
    if (did == "move") {
        t.move(-20, 10);
        f.w().move(30, 45);
    }
    if (did == "resize")
        t.resize(600, 300);
    if (did == "maximise")
        f.w().showMaximized();
    f.w().close();
    // The keys the file lacked take their places in the table's order.
    const auto places = Places(written.isEmpty() ? option : written);
    const auto rest = "Blend=0\nDither=False\n";
    QVERIFY(f.iniText().contains("[Option]\n" + places + dir + rest));
}

// A run that never shows the tile window writes its designed place, also
// over a file whose marker says it is not to be read; the next start leaves
// the window unmade, for the window system to place. Closed by its close box
// and opened again, it comes back where it was (the next start puts it where
// the file says: placesAtExit).
void tst_MainWindow::tileAcrossRuns()
{
    const auto ignored = "[IniCheck]\nDummy=0\n[Option]\n" + Places("9 9 9 9 9 9");
    const QByteArray written = [&] {
        GuiFixture f(ignored);
        f.w().close();
        return f.iniText();
    }();
    QVERIFY(written.contains(Places("0 0 0 0 7755 3690")));
    GuiFixture g(written);
    for (auto* w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<frmTile*>(w));
    g.trigger("MenuTile");
    auto& t = g.tile();
    QCOMPARE(t.size(), QSize(513, 224));
    t.move(40, 50);
    t.resize(520, 230);
    const auto was = t.frameGeometry();
    t.close();
    g.trigger("MenuTile");
    // Put back, should a window manager place it anew as it maps it.
    t.move(0, 0);
    QTRY_COMPARE(t.frameGeometry(), was);
    // Once there, the user's own move stays, through the exposure a
    // resize brings.
    t.move(60, 70);
    t.resize(500, 220);
    QTest::qWait(400);
    QCOMPARE(t.pos(), QPoint(60, 70));
}

// A change is in the file within a second, with no exit; a write that fails
// meanwhile says nothing and is made again at the next change. The session's
// request at logout writes at once, asking nothing and ending nothing; at
// exit a failure is said, with the file and the reason.
void tst_MainWindow::settingsWritten()
{
    // No font size: its own.
    GuiFixture f(Ini("[SampleTextFont]\nName=x\nSize= 0\n"));
    const auto has = [&](auto s) { return f.iniText().contains(s); };
    f.trigger("mnuBlendKind_1");
    QTRY_VERIFY(has("\nBlend=1"));
    {
        FileSizeLimit limit(16);
        f.trigger("mnuBlendKind_0");
        QTest::qWait(1500);
    }
    QVERIFY(has("\nBlend=1"));
    f.w().move(70, 80);
    QTRY_VERIFY(has("\nBlend=0") && has("MainLeft= 1050"));
    f.w().move(30, 45);
    f.w().SaveSettingsNow();
    QVERIFY(has("\nMainLeft= 450\n"));
    QVERIFY(f.w().isVisible());
    const QByteArray saved = f.iniText();
    f.w().move(60, 45);
    {
        FileSizeLimit limit(16);
        f.w().SaveSettingsNow();
        QVERIFY(f.said().empty());
        f.w().close();
    }
    QCOMPARE(f.said().size(), 1u);
    const auto& [icon, text] = f.said()[0];
    QVERIFY(icon == MsgIcon::Error);
    QVERIFY(text.contains(f.programDir.filePath("velmix.ini")));
    QVERIFY(text.endsWith(strerror(EFBIG)));
    // Unloaded: a late request writes nothing.
    f.w().move(90, 45);
    f.w().SaveSettingsNow();
    QCOMPARE(f.iniText(), saved);
    // At logout or shutdown nobody answers a message box: the program ends.
    GuiFixture g;
    {
        FileSizeLimit limit(16);
        g.w().EndUnattended();
    }
    QVERIFY(g.said().empty());
    QVERIFY(!g.w().isVisible());
}

// The tile window walked: the strip both ways, the sample text's controls,
// its contrast, rule, fonts, and the window at its smallest.
void tst_MainWindow::sampleText()
{
    GuiFixture f;
    f.trigger("MenuTile");
    auto& t = f.tile();
    auto* grad = f.grad();
    auto* size = f.sizeBox();
    // The surface shows the strip once, 8 pixels off picGrad, and nothing
    // else; and so does the screen.
    const auto stripShown = [&](QPoint off) {
        const auto work = t.picWork();
        const auto at = grad->pos() + off;
        QImage drawn(t.size(), t.surfaceImage().format());
        drawn.fill(t.palette().color(QPalette::Window));
        QPainter(&drawn).drawImage(at, work);
        const auto screen = t.grab().toImage().pixel(at);
        return t.surfaceImage() == drawn && screen == work.pixel(0, 0);
    };
    // A long strip the other way, then this way, shortened: nothing of the
    // earlier strips may stay.
    f.down();
    size->setText("2000");
    Click(f.get("Option1_0"));
    size->setText("1");
    QVERIFY(stripShown(QPoint(0, -8)));
    const auto get = [&](auto n) { return child<QWidget>(t, n); };
    const auto text = [&](auto n) { return child<QLabel>(t, n)->text(); };
    // The sample's controls, all off, then all on.
    for (bool on : {false, true}) {
        if (on)
            Click(get("ChkText"));
        QCOMPARE(get("LabX")->isVisible(), !on);
        QCOMPARE(get("CmdFont")->isEnabled(), on);
        for (auto n : {"Line1", "LabContrast", "Labsample_0"})
            QCOMPARE(get(n)->isVisible(), on);
    }
    // The designed face at 28 points on a first start; black on red, green,
    // blue, red: the lowest contrast where blue turns to red.
    size->setText("100");
    QCOMPARE(text("Labsample_2"), "FontSize =  28");
    QCOMPARE(text("LabContrast"), "最低コントラスト比 1.95:1 (77 px) 不足 (3:1 未満)");
    // Cut, not rounded (1.9594 is no 1.96), in a status line along the
    // window's bottom edge, below the tiles.
    const auto* line = get("fraStatus");
    QVERIFY(grad->geometry().bottom() < line->y());
    QCOMPARE(line->geometry().bottom(), t.height() - 1);
    // The colour dialog opens at black; the rule is drawn in the colour
    // chosen, ending a pixel short of picGrad's inner edge.
    const QRgb ink = qRgb(200, 100, 50);
    f.dialogs.colors.push_back(QColor(ink));
    Click(get("picForeColor"));
    QCOMPARE(f.dialogs.colorPresets.at(0), QColor(Qt::black));
    const auto shown = grad->grab().toImage();
    const int y = get("Line1")->y();
    const int right = grad->border() + grad->innerWidth() - 2;
    for (int x = get("Line1")->x(); x <= right; ++x)
        QCOMPARE(shown.pixel(x, y), ink);
    QVERIFY(shown.pixel(right + 1, y) != ink);
    // Each style of font chosen; 10.5 points are stored as 10.
    const QStringList styles = {"標準　　", "太字　　", "斜体　　", "太字斜体"};
    for (int i = 0; i < 4; ++i) {
        QFont chosen("DejaVu Sans", -1, i & 1 ? QFont::Bold : 400, i & 2);
        chosen.setPointSizeF(10.5);
        f.dialogs.fonts.push_back(chosen);
        Click(get("CmdFont"));
        QCOMPARE(text("Labsample_3"), "FontStyle = " + styles[i]);
        const QFont font = get("Labsample_0")->font();
        QCOMPARE(font.pointSize(), 10);
        QCOMPARE(font.bold() + 2 * font.italic(), i);
    }
    // A Cancel changes nothing: the dialog opened in the sample's own style.
    t.CmdFont_Click();
    const QFont& asked = f.dialogs.fontPresets.back();
    QVERIFY(asked.bold() && asked.italic());
    // At its smallest: one row of tiles, the top row just clear of the
    // strip's label.
    const auto at = [&](auto n) { return get(n)->geometry(); };
    t.resize(10, 10);
    QCOMPARE(grad->image().height(), 1);
    const int gap = at("ChkText").x() - at("LabSavePicture").right();
    QVERIFY(gap > 0 && gap <= 5);
    // Smaller still, as a window system may make it: picGrad keeps a height,
    // and the status line's. And the strip down, long then shortened.
    size->setText("2000");
    f.down();
    size->setText("1");
    QVERIFY(stripShown(QPoint(-8, 0)));
    t.setMinimumSize(0, 0);
    for (int height : {44, 43}) {
        t.resize(300, height + at("fraStatus").height());
        QCOMPARE(grad->height(), 1);
    }
    // Size 0 while typing leaves the last drawing.
    const auto last = grad->image();
    size->setText("0");
    QCOMPARE(grad->image(), last);
    f.w().close();
    const QByteArray font = "Name=DejaVu Sans\nSize= 10\nbold=-1\nItalic=-1\n";
    QVERIFY(f.iniText().contains(font + "Color= 3302600\nTextOnOff=True\n"));
}

// Qt's message box, read while it is shown: the icon, and lines as the
// system ends them. The font dialog gives back the font asked about on an
// OK without a change (where it shows the face that stands in for it), a
// change, or nothing; it opens at the face's own style of that weight and
// slant. The designed faces are drawn by their metric twins.
void tst_MainWindow::qtDialogs()
{
    using M = MsgIcon;
    using B = QMessageBox;
    const std::pair<M, int> icons[] = {
        {M::Error, B::Critical}, {M::Exclamation, B::Warning}, {M::None, B::NoIcon}};
    for (const auto& [icon, shown] : icons) {
        QString seen;
        QTimer::singleShot(0, [&seen] {
            auto* box = Modal<QMessageBox>();
            seen = QString("%1 %2").arg(box->icon()).arg(box->text());
            box->accept();
        });
        QtDialogs().message(nullptr, icon, "a\r\nb");
        QCOMPARE(seen, QString("%1 a\nb").arg(shown));
    }
    const QFont asked("ＭＳ Ｐゴシック", 10);
    // OK as it opened, OK at 20 points (what was chosen), Cancel.
    for (int size : {0, 20, -1}) {
        QTimer::singleShot(0, [size] {
            auto* dlg = Modal<QFontDialog>();
            QFont font = dlg->currentFont();
            font.setPointSize(size > 0 ? size : font.pointSize());
            dlg->setCurrentFont(font);
            size < 0 ? dlg->reject() : dlg->accept();
        });
        const auto font = QtDialogs().font(nullptr, asked);
        QCOMPARE(font.has_value(), size >= 0);
        QCOMPARE(font == asked, size == 0);
    }
    // A choice among the items given, none typed.
    QTimer::singleShot(0, [] {
        auto* dlg = Modal<QInputDialog>();
        if (!dlg->isComboBoxEditable())
            dlg->setTextValue("b");
        dlg->accept();
    });
    QCOMPARE(QtDialogs().choose(nullptr, "t", "l", {"a", "b"}), 1);
    QFont font("DejaVu Sans", 12);
    QCOMPARE(FontDialogPreset(font).styleName(), "Book");
    font.setItalic(true);
    QCOMPARE(FontDialogPreset(font).styleName(), "Oblique");
    GuiFixture f({}, false);
    frmAbout about(f.dialogs, &f.w());
    const QFontInfo face(child<QLabel>(about, "lblTitle")->font());
    QCOMPARE(face.family(), "IPAPMincho");
}

// Qt's save dialog offering the types below in a folder that holds bg.png:
// the type offered first, the one picked (-1: none), the name typed, the file
// written. The type picked is the type written. A name typed without an
// extension gets the type's, also in the question before overwriting; a name
// with one keeps it.
void tst_MainWindow::saveDialogType_data()
{
    TableRows("save_dialog_types.txt", {"offer", "pick", "typed", "to"});
}

void tst_MainWindow::saveDialogType()
{
    FETCH(offer);
    FETCH(pick);
    FETCH(typed);
    FETCH(to);
    QTemporaryDir dir;
    WriteAll(dir.filePath("bg.png"), "");
    QString asked;
    QTimer::singleShot(0, [&] {
        auto* dlg = Modal<QFileDialog>();
        auto* types = dlg->findChild<QComboBox*>("fileTypeCombo");
        // As a user picks it.
        for (int i = 0; i <= pick.toInt(); ++i)
            keyClick(types, i ? Qt::Key_Down : Qt::Key_Home);
        auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
        name->setText(typed);
        QTimer::singleShot(0, [&] {
            if (auto* box = Modal<QMessageBox>()) {
                asked = box->text().section(' ', 0, 0);
                box->button(QMessageBox::Yes)->click();
            }
        });
        keyClick(name, Qt::Key_Return);
    });
    const QString types = "B(*.BMP)|*.bmp|J|*.jpg|PNG(*.PNG)|*.png|S|*.svg";
    const SaveFileRequest req{types, dir.path(), {}, offer};
    QCOMPARE(QtDialogs().saveFileName(nullptr, req), dir.filePath(to));
    QCOMPARE(asked, to == "bg.png" ? to : QString());
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
