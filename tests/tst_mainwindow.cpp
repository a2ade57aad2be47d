// SPDX-License-Identifier: MIT
// The main window and the tile window driven as a user drives them: the point
// controls, the size box, the pixels of the preview, the tiles and the strip,
// the sample text, and the settings read at start-up and written at exit.

#include "about/frmabout.h"
#include "export/frmoption.h"
#include "guifixture.h"
#include "main/frmld.h"
#include "table.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstring>

using namespace velmix;
using QTest::keyClick;

namespace {

// The lines of one section of a settings file.
QByteArray Section(const QByteArray& text, const char* name)
{
    const auto at = text.indexOf('\n', text.indexOf('[' + QByteArray(name) + ']')) + 1;
    const auto end = text.indexOf("\n[", at - 1);
    return text.mid(at, end < 0 ? -1 : end + 1 - at);
}

// "Main left top Tile left top width height" as the settings file has the
// places ("MainLeft= 450\n"...), a number with room for its sign.
QByteArray Places(const QString& text)
{
    const char* keys[] = {"Left", "Top", "Width", "Height"};
    QByteArray out, window;
    int k = 0;
    for (const auto& word : text.split(' ', Qt::SkipEmptyParts)) {
        if (word[0].isLetter()) {
            window = word.toUtf8();
            k = 0;
        } else {
            out += window + keys[k++] + (word[0] == '-' ? "=" : "= ") + word.toUtf8() + '\n';
        }
    }
    return out;
}

// The dialog Qt shows now.
template <class D> D* Modal()
{
    return qobject_cast<D*>(QApplication::activeModalWidget());
}

using Icons = std::pair<MsgIcon, int>;

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startupState();
    void pointControls();
    void previewTip();
    void sizeBox_data() { TableRows("size_box.txt", {"typed", "then", "left"}); }
    void sizeBox();
    void sizeArrows();
    void placesAtExit_data();
    void placesAtExit();
    void neverShownTile_data() { TableRows("tile_never_shown.txt", {"file"}); }
    void neverShownTile();
    void tileComesBack_data() { TableRows("tile_return.txt", {"option"}); }
    void tileComesBack();
    void sessionSaveAndFailedWrite();
    void settingsFollowChanges();
    void tiles_data() { TableRows("tile_strips.txt", {"way", "size", "window"}); }
    void tiles();
    void smallTileWindow();
    void committedText_data() { TableRows("committed_text.txt", {"box", "text", "shown"}); }
    void committedText();
    void messageBox_data();
    void messageBox();
    // OK without a change gives back the font asked about, where the dialog
    // shows the face that stands in for it; a change gives the change.
    void fontDialog_data() { TableRows("font_dialog.txt", {"size", "given"}); }
    void fontDialog();
    // The font dialog opens at the face's own style of that weight and slant,
    // of its normal width.
    void fontDialogStyle()
    {
        QFont font("DejaVu Sans", 12);
        QCOMPARE(FontDialogPreset(font).styleName(), "Book");
        font.setItalic(true);
        QCOMPARE(FontDialogPreset(font).styleName(), "Oblique");
    }
    // Qt's save dialog: the type picked is the type written. A name typed
    // without an extension gets the type's, also in the question before
    // overwriting (bg.png exists); a name with one keeps it.
    void saveDialogType_data()
    {
        TableRows("save_dialog_types.txt", {"offer", "pick", "typed", "to"});
    }
    void saveDialogType();
    void faces();
    void sampleText();
};

void tst_MainWindow::startupState()
{
    GuiFixture f;
    QVERIFY(f.pts() == StartupPoints() && ShownFault(f).isEmpty());
    for (int i = 0; i < kPointCount; ++i) {
        // A row's controls stand beside its slider, above the next row.
        const auto s = f.slider(i)->geometry();
        for (const char* row : {"LabLocate", "PicColor", "LabColor"}) {
            const int y = f.get(Row(row, i))->geometry().center().y();
            QVERIFY(std::abs(y - s.center().y()) < s.height() / 2);
        }
        QVERIFY(s.bottom() < (i < 6 ? f.slider(i + 1) : f.get("picPrev"))->y());
    }
    for (int c = 0; c < 3; ++c) // the R, G, B heads over their columns
        QCOMPARE(f.label("LabRGB", c)->x(), f.label("LabColor", 7 * c)->x());
    QVERIFY(f.get<QRadioButton>("Option1_0")->isChecked());
    QVERIFY(!f.action("mnuMemoryLoad")->isEnabled());
    // The pop-up menu opens on a right click on the background only.
    for (const char* n : {"Slider1_0", "PicColor_0", "picPrev", "LabEnabled"})
        QTest::mouseClick(f.get(n), Qt::RightButton);
    const QPoint at(250, 340);
    auto* bg = f.get("surface");
    QTest::mouseClick(bg, Qt::LeftButton, {}, at);
    auto* menu = f.get<QMenu>("mnuGradEdit");
    QVERIFY(!menu->isVisible());
    QTest::mouseClick(bg, Qt::RightButton, {}, at);
    QVERIFY(menu->isVisible());
    menu->hide();
}

void tst_MainWindow::pointControls()
{
    GuiFixture f;
    // Switched off, a point keeps its place and colour, greyed, out of the preview.
    Click(f.check(1));
    QVERIFY(f.pts().color[1] == 0xFF00 && ShownFault(f).isEmpty());
    for (const char* n : {"LabLocate_1", "LabColor_1", "LabColor_8", "LabColor_15"})
        QVERIFY2(!f.get(n)->isEnabled(), n);
    // Its cross stands in the middle of its box: its red as far from either
    // side, within a pixel and a half (the glyph's own ink).
    const auto x = f.label("LabX", 1)->grab().toImage();
    const int w = x.width();
    int left = w, right = -1;
    for (int r = 0; r < x.height(); ++r)
        for (int c = 0; c < w; ++c)
            if (x.pixel(c, r) == qRgb(255, 0, 0)) {
                left = std::min(left, c);
                right = std::max(right, c);
            }
    const auto ink = QString("%1 %2 of %3").arg(left).arg(right).arg(w).toUtf8();
    QVERIFY2(right > 0 && std::abs(left + right + 1 - w) <= 3, ink);
    // The last enabled point cannot be switched off.
    for (int i : {0, 2, 3})
        Click(f.check(i));
    QVERIFY(f.said().size() == 1 && f.said()[0].first == MsgIcon::Exclamation);
    QVERIFY(f.check(3)->isChecked() && ShownFault(f).isEmpty());
    // A drag moves the label along and redraws on release; keys redraw at once.
    Click(f.check(1));
    auto* s = f.slider(1);
    const auto before = f.preview();
    s->setSliderDown(true);
    s->setSliderPosition(512);
    QCOMPARE(f.text("LabLocate", 1), "512");
    QCOMPARE(f.preview(), before);
    s->setSliderDown(false);
    QVERIFY(f.preview() != before && ShownFault(f).isEmpty());
    s->setFocus();
    keyClick(s, Qt::Key_PageUp);
    QCOMPARE(f.text("LabLocate", 1), "562");
    QCOMPARE(ShownFault(f), "");
    keyClick(s, Qt::Key_Left);
    QCOMPARE(f.text("LabLocate", 1), "561");
    // A click on the colour box opens the dialog at the point's colour.
    f.dialogs.colors.push_back(QColor(10, 20, 30));
    Click(f.colorBox(1));
    QCOMPARE(f.dialogs.colorPresets, std::vector<QColor>{Qt::green});
    QCOMPARE(f.pts().color[1], MakeColour(10, 20, 30));
    QCOMPARE(ShownFault(f), "");
}

// The preview's tip names the colour under the pointer.
void tst_MainWindow::previewTip()
{
    GuiFixture f;
    auto* prev = f.get<ImageBox>("picPrev");
    QTest::mouseMove(prev, QPoint(140, 2) + QPoint(1, 1) * prev->border());
    const auto c = f.expectedLine(280)[140];
    const auto rgb = QString("R=%1 G=%2 B=%3").arg(GetRed(c)).arg(GetGreen(c)).arg(GetBlue(c));
    QCOMPARE(prev->toolTip(), rgb);
}

// Leaving the box makes the size one undo step.
void tst_MainWindow::sizeBox()
{
    FETCH(typed);
    FETCH(then);
    FETCH(left);
    GuiFixture f;
    auto* box = f.sizeBox();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed.replace("\\b", "\b"));
    QCOMPARE(box->text(), then);
    QCOMPARE(f.doc().size(), then.toInt());
    f.slider(0)->setFocus();
    QCOMPARE(box->text(), left);
    // One step, not one a key.
    QCOMPARE(f.steps(), 1);
}

// Up and Down in the size box step it, once a press, as its spinner does.
void tst_MainWindow::sizeArrows()
{
    GuiFixture f;
    auto* box = f.sizeBox();
    QTest::keyPress(box, Qt::Key_Up);
    QCOMPARE(f.doc().size(), 101);
    QTest::keyRelease(box, Qt::Key_Up);
    keyClick(box, Qt::Key_Down);
    keyClick(box, Qt::Key_Down);
    QCOMPARE(f.doc().size(), 99);
}

// What the user does before the program ends.
enum class Did
{
    Nothing,
    ShowTile,
    CloseTile,
    MoveBoth,
    ResizeTile,
    Maximise
};

// The places a settings file holds ("Main left top Tile left top width
// height", in twips; a value left out is a key missing), what the user
// does, and the places written at exit ("": as they were; a tile window
// never shown: its designed place). The offscreen
// screen is 800 x 800 pixels of 15 twips; the main window 478 x 381, the
// tile window's designed size 513 x 224.
void tst_MainWindow::placesAtExit_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<Did>("did");
    QTest::addColumn<QString>("written");
    const QString usual = "Main 1500 3000 Tile 1507 1208 8000 4000";
    const QString moved = "Main 450 675 Tile -300 150 ";
    const QString noHeight = "Main 1500 3000 Tile 1507 1208 9000";
    QTest::newRow("no places") << "" << Did::Nothing << "Main 0 0 Tile 0 0 7755 3690";
    QTest::newRow("untouched") << usual << Did::Nothing << "";
    QTest::newRow("tile shown, not moved") << usual << Did::ShowTile << "";
    QTest::newRow("tile closed, not moved") << usual << Did::CloseTile << "";
    QTest::newRow("both moved") << usual << Did::MoveBoth << moved + "7995 4005";
    QTest::newRow("maximised") << usual << Did::Maximise << "";
    QTest::newRow("beyond the screen") << "Main 99999 99999 Tile 999999 999999 9000 4500"
                                       << Did::Nothing << "Main 4830 0 Tile 3000 0 9000 4500";
    QTest::newRow("beyond the window system, moved")
        << "Main -999999 300 Tile " + QString::number(INT_MIN) + " 0 300000 300000" << Did::MoveBoth
        << moved + "12000 12000";
    QTest::newRow("no tile width") << "Main 1500 3000 Tile 1500 1200 0 4500" << Did::Nothing << "";
    // A missing key is written, from what the file's place gave; resized,
    // the file's place stays: the file left the size to the window.
    QTest::newRow("no tile height") << noHeight << Did::ShowTile << noHeight + " 0";
    QTest::newRow("no tile height, resized") << noHeight << Did::ResizeTile << noHeight + " 0";
    QTest::newRow("no height, beyond the right edge")
        << "Main 1500 3000 Tile 99999 1200 9000 0" << Did::Nothing
        << "Main 1500 3000 Tile 4305 1200 7695 3360";
    QTest::newRow("title bar below the screen")
        << "Main 1500 3000 Tile 1507 11641 9000 4500" << Did::Nothing
        << "Main 1500 3000 Tile 1500 0 9000 4500";
}

void tst_MainWindow::placesAtExit()
{
    QFETCH(QString, option);
    QFETCH(Did, did);
    QFETCH(QString, written);
    // Nothing is saved: the stored folder stays.
    GuiFixture f(Ini("[Option]\n" + Places(option) + "SaveInitPath=/tmp/\n"));
    if (did != Did::Nothing)
        f.trigger("MenuTile");
    if (did == Did::CloseTile)
        f.tile().close();
    if (did == Did::MoveBoth) {
        f.tile().move(-20, 10);
        f.w().move(30, 45);
    }
    if (did == Did::ResizeTile)
        f.tile().resize(600, 300);
    if (did == Did::Maximise)
        f.w().showMaximized();
    f.w().close();
    // The keys the file lacked take their places in the table's order.
    const auto places = Places(written.isEmpty() ? option : written);
    QCOMPARE(Section(f.iniText(), "Option"),
             places + "SaveInitPath=/tmp/\nBlend=0\nDither=False\n");
}

// A run that never shows the tile window writes its designed sample text
// and place, also over a file whose marker says it is not to be read; the
// next start leaves the window unmade, for the window system to place.
void tst_MainWindow::neverShownTile()
{
    FETCH(file);
    const QByteArray written = [&file] {
        GuiFixture f(file.toUtf8());
        f.w().close();
        return f.iniText();
    }();
    QCOMPARE(Section(written, "SampleTextFont"),
             "Name=ＭＳ Ｐゴシック\nSize= 28\nbold= 0\nItalic= 0\nColor= 0\nTextOnOff=False\n");
    QVERIFY2(Section(written, "Option")
                 .contains("\nTileLeft= 0\nTileTop= 0\nTileWidth= 7755\nTileHeight= 3690\n"),
             written.constData());
    GuiFixture g(written);
    const auto tiles = [] {
        const auto all = QApplication::topLevelWidgets();
        return std::count_if(all.begin(), all.end(),
                             [](QWidget* w) { return qobject_cast<frmTile*>(w); });
    };
    QCOMPARE(tiles(), 0);
    g.trigger("MenuTile");
    QCOMPARE(g.tile().size(), QSize(513, 224));
    // The designed sample text is what the window itself takes for no face.
    GradDocument doc;
    const ExportOptions options(doc);
    const frmTile own(g.dialogs, {"", 0, -1, -1, 0, false}, doc, options);
    QVERIFY(own.sampleText() == SampleTextFontT{});
}

// Closed by its close box and opened again, the tile window comes back
// where it was, placed by the file or by the window system.
void tst_MainWindow::tileComesBack()
{
    FETCH(option);
    GuiFixture f(Ini("[Option]\n" + Places(option)));
    auto& t = f.tile();
    f.trigger("MenuTile");
    if (!option.isEmpty())
        QCOMPARE(t.frameGeometry(), QRect(100, 80, 600, 300));
    t.move(40, 50);
    t.resize(520, 230);
    const auto was = t.frameGeometry();
    t.close();
    f.trigger("MenuTile");
    // Put back, should a window manager place it anew as it maps it.
    t.move(0, 0);
    QTRY_COMPARE(t.frameGeometry(), was);
}

void tst_MainWindow::sessionSaveAndFailedWrite()
{
    // No font size: its own.
    GuiFixture f(Ini("[SampleTextFont]\nName=x\nSize= 0\n"));
    f.w().move(30, 45);
    // The session's request at logout: nothing asked, nothing ended.
    f.w().SaveSettingsNow();
    QVERIFY(f.iniText().contains("\nMainLeft= 450\n") && f.w().isVisible());
    const QByteArray saved = f.iniText();
    f.w().move(60, 45);
    {
        FileSizeLimit limit(16);
        // A failure too goes unsaid.
        f.w().SaveSettingsNow();
        QVERIFY(f.said().empty());
        // At exit it is reported: the file and the reason.
        f.w().close();
    }
    QCOMPARE(f.said().size(), 1u);
    const auto& [icon, text] = f.said()[0];
    QVERIFY(icon == MsgIcon::Error && text.contains(f.programDir.filePath("velmix.ini")));
    QVERIFY2(text.endsWith(QString("\r\n") + strerror(EFBIG)), qPrintable(text));
    f.w().move(90, 45);
    // Unloaded: a late request writes nothing.
    f.w().SaveSettingsNow();
    QCOMPARE(f.iniText(), saved);
}

// A change is in the file within a second, with no exit; a write that
// fails meanwhile says nothing and is made again at the next change. The
// end of the session asks nothing either.
void tst_MainWindow::settingsFollowChanges()
{
    GuiFixture f;
    const auto has = [&f](const char* s) { return f.iniText().contains(s); };
    f.trigger("mnuBlendKind_1");
    QTRY_VERIFY(has("\nBlend=1"));
    {
        FileSizeLimit limit(16);
        f.trigger("mnuBlendKind_0");
        QTest::qWait(1500);
    }
    QVERIFY(has("\nBlend=1") && f.said().empty());
    f.w().move(70, 80);
    QTRY_VERIFY(has("\nBlend=0") && has("MainLeft= 1050"));
    // At logout or shutdown nobody answers a message box: the program ends.
    f.w().move(30, 45);
    {
        FileSizeLimit limit(16);
        f.w().EndUnattended();
    }
    QVERIFY(f.said().empty() && !f.w().isVisible());
}

void tst_MainWindow::tiles()
{
    FETCH(way);
    FETCH(size);
    FETCH(window);
    const bool down = way == "down";
    GuiFixture f;
    f.trigger("MenuTile");
    auto& t = f.tile();
    if (const QStringList wh = window.split(' '); wh.size() == 2)
        t.resize(wh[0].toInt(), wh[1].toInt());
    // A long strip the other way, then this way, then shortened: nothing of
    // the earlier strips may stay.
    auto* box = f.sizeBox();
    Click(f.get(Row("Option1", !down)));
    box->setText("2000");
    Click(f.get(Row("Option1", down)));
    box->setText(size);
    const auto work = f.tile().picWork();
    const QRgb first = work.pixel(0, 0);
    const auto across = down ? work.transformed(QTransform(0, 1, 1, 0, 0, 0)) : work;
    QVERIFY(ImageShowsLine(across, f.expectedLine(size.toInt())));
    // The tiles too.
    QCOMPARE(ShownFault(f), "");
    // The surface shows the strip once, 8 pixels off picGrad, and nothing else.
    auto* grad = f.grad();
    const auto strip = grad->pos() + (down ? QPoint(-8, 0) : QPoint(0, -8));
    QImage drawn(t.size(), t.surfaceImage().format());
    drawn.fill(t.palette().color(QPalette::Window));
    QPainter(&drawn).drawImage(strip, work);
    QCOMPARE(t.surfaceImage(), drawn);
    // And so does the screen, with picGrad's picture inside its border.
    const auto screen = t.grab().toImage();
    QCOMPARE(screen.pixel(strip), first);
    QCOMPARE(screen.pixel(grad->pos() + QPoint(1, 1) * grad->border()), first);
    // Size 0 while typing leaves the last drawing.
    const auto last = grad->image();
    box->setText("0");
    QCOMPARE(grad->image(), last);
    QCOMPARE(ShownFault(f), "");
}

void tst_MainWindow::smallTileWindow()
{
    GuiFixture f;
    f.trigger("MenuTile");
    auto& t = f.tile();
    const auto at = [&t](const char* n) { return child<QWidget>(t, n)->geometry(); };
    auto* grad = f.grad();
    // At its smallest: one row of tiles, the top row just clear of the strip's label.
    t.resize(10, 10);
    QCOMPARE(grad->image().height(), 1);
    const int gap = at("ChkText").x() - at("LabSavePicture").right();
    QVERIFY2(gap > 0 && gap <= 5, qPrintable(QString::number(gap)));
    // Smaller still, as a window system may make it: picGrad keeps a height.
    f.down();
    t.setMinimumSize(0, 0);
    // And the status line's.
    for (int height : {44, 43}) {
        t.resize(300, height + at("fraStatus").height());
        QCOMPARE(grad->height(), 1);
    }
}

// An input method's text is filtered as typed keys are, full-width digits
// and signs read as the plain ones; the thickness box takes digits only.
void tst_MainWindow::committedText()
{
    FETCH(box);
    FETCH(text);
    FETCH(shown);
    GuiFixture f;
    f.option<QCheckBox>("chkHeight")->setChecked(true);
    const QWidget* windows[] = {&f.w(), &f.w().ld(), &f.w().option()};
    const int which = box.toInt();
    auto* edit = child<QLineEdit>(*windows[which], which == 1 ? "txtLD" : "txtSize");
    // In place of the whole text, as a reconversion.
    QInputMethodEvent event;
    event.setCommitString(text, -edit->cursorPosition(), edit->text().size());
    QApplication::sendEvent(edit, &event);
    QCOMPARE(edit->text(), shown);
}

// Qt's message box, read while it is shown: the icon, and lines as the
// system ends them.
void tst_MainWindow::messageBox_data()
{
    Rows<Icons>({{"error", {MsgIcon::Error, QMessageBox::Critical}},
                 {"exclamation", {MsgIcon::Exclamation, QMessageBox::Warning}},
                 {"none", {MsgIcon::None, QMessageBox::NoIcon}}});
}

void tst_MainWindow::messageBox()
{
    QFETCH(Icons, row);
    QString seen;
    QTimer::singleShot(0, [&seen] {
        auto* box = Modal<QMessageBox>();
        seen = QString("%1 %2").arg(box->icon()).arg(box->text());
        box->accept();
    });
    QtDialogs().message(nullptr, row.first, "a\r\nb");
    QCOMPARE(seen, QString("%1 a\nb").arg(row.second));
}

void tst_MainWindow::fontDialog()
{
    FETCH(size);
    FETCH(given);
    QTimer::singleShot(0, [size = size.toInt()] {
        auto* dlg = Modal<QFontDialog>();
        QFont font = dlg->currentFont();
        font.setPointSize(size > 0 ? size : font.pointSize());
        dlg->setCurrentFont(font);
        size < 0 ? dlg->reject() : dlg->accept();
    });
    const QFont asked("ＭＳ Ｐゴシック", 10);
    const auto font = QtDialogs().font(nullptr, asked);
    const auto got = [&] { return QString("%1 %2").arg(*font == asked).arg(font->pointSize()); };
    QCOMPARE(font ? got() : "none", given);
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
        for (int i = 0; i <= pick.toInt(); ++i) // as a user picks it
            keyClick(types, i == 0 ? Qt::Key_Home : Qt::Key_Down);
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
    const auto got = QtDialogs().saveFileName(nullptr, {types, dir.path(), {}, offer});
    QCOMPARE(got, dir.filePath(to));
    QCOMPARE(asked, to == "bg.png" ? to : QString());
}

// The designed faces are drawn by their metric twins, the about box's
// title too.
void tst_MainWindow::faces()
{
    GuiFixture f({}, false);
    frmAbout about(f.dialogs, &f.w());
    const auto face = [&](const char* n) {
        return QFontInfo(child<QLabel>(about, n)->font()).family();
    };
    QCOMPARE(face("lblTitle"), "IPAPMincho");
    QCOMPARE(face("labAuthor"), "IPAPGothic");
}

void tst_MainWindow::sampleText()
{
    GuiFixture f;
    f.trigger("MenuTile");
    auto& t = f.tile();
    const auto get = [&t](const char* n) { return child<QWidget>(t, n); };
    const auto text = [&t](const char* n) { return child<QLabel>(t, n)->text(); };
    // The sample's controls, all off, then all on.
    for (bool on : {false, true}) {
        if (on)
            Click(get("ChkText"));
        QCOMPARE(get("LabX")->isVisible(), !on);
        QCOMPARE(get("CmdFont")->isEnabled(), on);
        for (const char* n : {"Line1", "LabContrast", "Labsample_0", "Labsample_3"})
            QCOMPARE(get(n)->isVisible(), on);
    }
    // The designed face at 28 points on a first start; black on red, green,
    // blue, red: the lowest contrast where blue turns to red.
    QCOMPARE(text("Labsample_2"), "FontSize =  28");
    QCOMPARE(text("LabContrast"), "最低コントラスト比 1.95:1 (77 px) 不足 (3:1 未満)");
    // Cut, not rounded (1.9594 is no 1.96), in a status line along the
    // window's bottom edge, below the tiles.
    const auto* line = get("fraStatus");
    QVERIFY(get("LabContrast")->parent() == line && line->width() == t.width());
    QVERIFY(get("picGrad")->geometry().bottom() < line->y());
    QCOMPARE(line->geometry().bottom(), t.height() - 1);
    // The colour dialog opens at black; the rule is drawn in the colour
    // chosen, ending a pixel short of picGrad's inner edge.
    const QRgb ink = qRgb(200, 100, 50);
    f.dialogs.colors.push_back(QColor(ink));
    Click(get("picForeColor"));
    QCOMPARE(f.dialogs.colorPresets, std::vector<QColor>{Qt::black});
    auto* grad = f.grad();
    const auto shown = grad->grab().toImage();
    const auto rule = get("Line1")->geometry();
    const int right = grad->border() + grad->innerWidth() - 2;
    for (int x = rule.left(); x <= right; ++x)
        QCOMPARE(shown.pixel(x, rule.top()), ink);
    QVERIFY(shown.pixel(right + 1, rule.top()) != ink);
    // Each style of font chosen; 10.5 points are stored as 10.
    const char* styles[4] = {"標準　　", "太字　　", "斜体　　", "太字斜体"};
    for (int i = 0; i < 4; ++i) {
        QFont chosen("DejaVu Sans", -1, i & 1 ? QFont::Bold : QFont::Normal, i & 2);
        chosen.setPointSizeF(10.5);
        f.dialogs.fonts.push_back(chosen);
        Click(get("CmdFont"));
        QCOMPARE(text("Labsample_3"), QString("FontStyle = ") + styles[i]);
        const QFont font = get("Labsample_0")->font();
        QCOMPARE(font.pointSize(), 10);
        QCOMPARE(font.bold(), bool(i & 1));
        QCOMPARE(font.italic(), bool(i & 2));
    }
    // A Cancel changes nothing: the dialog opened in the sample's own style.
    t.CmdFont_Click();
    const QFont& asked = f.dialogs.fontPresets.back();
    QVERIFY(asked.bold() && asked.italic());
    f.w().close();
    QCOMPARE(Section(f.iniText(), "SampleTextFont"), DataFile("sample_text_font.ini"));
}

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
