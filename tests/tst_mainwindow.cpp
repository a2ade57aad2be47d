// SPDX-License-Identifier: MIT
// The main window and the tile window driven as a user drives them: the point
// controls, the size box, the pixels of the preview, the tiles and the strip,
// the sample text, and the settings read at start-up and written at exit.

#include "about/frmabout.h"
#include "export/frmoption.h"
#include "guifixture.h"
#include "main/frmld.h"
#include "testutil.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QFrame>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>

#include <cerrno>
#include <cstring>

using namespace velmix;

namespace {

// Do the row's three value labels and its colour box show the colour?
bool RowShows(frmMain& w, int i, Colour c)
{
    return child<QLabel>(w, "LabColor", i)->text() == QString::number(GetRed(c)) &&
           child<QLabel>(w, "LabColor", i + 7)->text() == QString::number(GetGreen(c)) &&
           child<QLabel>(w, "LabColor", i + 14)->text() == QString::number(GetBlue(c)) &&
           child<ColorBox>(w, "PicColor", i)->color() == ToQColor(c);
}

// Every pixel of the picture repeats the work picture from the top left.
bool TilesRepeatWork(const QImage& grad, const QImage& work)
{
    for (int y = 0; y < grad.height(); ++y)
        for (int x = 0; x < grad.width(); ++x)
            if (grad.pixel(x, y) != work.pixel(x % work.width(), y % work.height()))
                return false;
    return true;
}

// The lines of one section of a settings file.
QByteArray Section(const QByteArray& text, const char* name)
{
    const qsizetype start = text.indexOf('\n', text.indexOf('[' + QByteArray(name) + ']')) + 1;
    const qsizetype end = text.indexOf("\n[", start - 1);
    return text.mid(start, end < 0 ? -1 : end + 1 - start);
}

} // namespace

class tst_MainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startupState()
    {
        GuiFixture f;
        frmMain& w = f.w();
        const int pos[4] = {0, 333, 667, 1000};
        const Colour colour[4] = {255, 65280, 16711680, 255};
        for (int i = 0; i < kPointCount; ++i) {
            const bool on = i < 4;
            QCOMPARE(child<QCheckBox>(w, "Check1", i)->isChecked(), on);
            QCOMPARE(child<QLabel>(w, "LabX", i)->isVisible(), !on);
            QCOMPARE(child<QSlider>(w, "Slider1", i)->isEnabled(), on);
            QCOMPARE(child<QLabel>(w, "LabLocate", i)->text(), QString::number(on ? pos[i] : 0));
            QVERIFY(RowShows(w, i, on ? colour[i] : 0));
            // A row's controls stand beside its slider, above the next row.
            const QRect s = child<QSlider>(w, "Slider1", i)->geometry();
            for (const char* name : {"LabLocate", "PicColor", "LabColor"})
                QVERIFY(std::abs(child<QWidget>(w, name, i)->geometry().center().y() -
                                 s.center().y()) < s.height() / 2);
            QVERIFY(s.bottom() < (i < 6 ? child<QSlider>(w, "Slider1", i + 1)->y()
                                        : child<ImageBox>(w, "picPrev")->y()));
        }
        for (int c = 0; c < 3; ++c) // the R, G, B heads over their columns
            QCOMPARE(child<QLabel>(w, "LabRGB", c)->x(), child<QLabel>(w, "LabColor", 7 * c)->x());
        QVERIFY(child<QRadioButton>(w, "Option1_0")->isChecked());
        QVERIFY(!child<QAction>(w, "mnuMemoryLoad")->isEnabled());
        QVERIFY(ShownFault(f).isEmpty());
        // The pop-up menu opens on a right click on the background only.
        for (const char* name : {"Slider1_0", "PicColor_0", "picPrev", "LabEnabled"})
            QTest::mouseClick(child<QWidget>(w, name), Qt::RightButton);
        QTest::mouseClick(child<QWidget>(w, "surface"), Qt::LeftButton, {}, QPoint(250, 340));
        QVERIFY(!child<QMenu>(w, "mnuGradEdit")->isVisible());
        QTest::mouseClick(child<QWidget>(w, "surface"), Qt::RightButton, {}, QPoint(250, 340));
        QVERIFY(child<QMenu>(w, "mnuGradEdit")->isVisible());
        child<QMenu>(w, "mnuGradEdit")->hide();
    }

    void pointControls()
    {
        GuiFixture f;
        frmMain& w = f.w();
        // Switched off, a point keeps its place and colour, greyed, out of the preview.
        QTest::mouseClick(child<QCheckBox>(w, "Check1_1"), Qt::LeftButton);
        QVERIFY(child<QLabel>(w, "LabX_1")->isVisible() && RowShows(w, 1, 65280));
        for (const char* name :
             {"Slider1_1", "LabLocate_1", "PicColor_1", "LabColor_1", "LabColor_8", "LabColor_15"})
            QVERIFY2(!child<QWidget>(w, name)->isEnabled(), name);
        QVERIFY(ShownFault(f).isEmpty());
        // The last enabled point cannot be switched off.
        for (int i : {0, 2, 3})
            QTest::mouseClick(child<QCheckBox>(w, "Check1", i), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Exclamation);
        QVERIFY(child<QCheckBox>(w, "Check1_3")->isChecked() &&
                !child<QLabel>(w, "LabX_3")->isVisible());
        QVERIFY(child<QSlider>(w, "Slider1_3")->isEnabled() && ShownFault(f).isEmpty());
        // A drag moves the label along and redraws on release; keys redraw at once.
        QTest::mouseClick(child<QCheckBox>(w, "Check1_1"), Qt::LeftButton);
        QSlider* s = child<QSlider>(w, "Slider1_1");
        const QImage before = child<ImageBox>(w, "picPrev")->image();
        s->setSliderDown(true);
        s->setSliderPosition(512);
        QCOMPARE(child<QLabel>(w, "LabLocate_1")->text(), QString("512"));
        QCOMPARE(child<ImageBox>(w, "picPrev")->image(), before);
        s->setSliderDown(false);
        QVERIFY(child<ImageBox>(w, "picPrev")->image() != before && ShownFault(f).isEmpty());
        s->setFocus();
        QTest::keyClick(s, Qt::Key_PageUp);
        QCOMPARE(child<QLabel>(w, "LabLocate_1")->text(), QString("562"));
        QVERIFY(ShownFault(f).isEmpty());
        QTest::keyClick(s, Qt::Key_Left);
        QCOMPARE(child<QLabel>(w, "LabLocate_1")->text(), QString("561"));
        // A click on the colour box opens the dialog at the point's colour.
        f.dialogs.colors.push_back(QColor(10, 20, 30));
        QTest::mouseClick(child<ColorBox>(w, "PicColor_1"), Qt::LeftButton);
        QCOMPARE(f.dialogs.colorPresets, std::vector<QColor>{QColor(0, 255, 0)});
        QVERIFY(RowShows(w, 1, MakeColour(10, 20, 30)) && ShownFault(f).isEmpty());
    }

    void sizeBox()
    {
        // The text set, the keys typed, the text then and once the box is left,
        // which makes the size one undo step.
        const QStringList rows[] = {
            {"100", "2500", "2000", "2000"},  {"100", "a-.x 7", "7", "7"}, {"100", "3", "3", "4"},
            {"100", "12345", "1234", "1234"}, {"100", "\b", "", "4"},      {"abc", "", "abc", "4"}};
        for (const QStringList& texts : rows) {
            GuiFixture f;
            QLineEdit* box = child<QLineEdit>(f.w(), "txtSize");
            box->setFocus();
            box->setText(texts[0]);
            box->selectAll();
            QTest::keyClicks(box, texts[1]);
            QCOMPARE(box->text(), texts[2]);
            QCOMPARE(f.w().document().size(), box->text().toInt());
            child<QSlider>(f.w(), "Slider1_0")->setFocus();
            QCOMPARE(box->text(), texts[3]);
            QCOMPARE(f.w().document().history().undoCount(), std::size_t(1)); // not one a key
        }
    }

    // The offscreen screen is 800 x 800 pixels of 15 twips; the main window
    // 478 x 381, the tile window's designed size 513 x 224.
    void placesAtExit_data()
    {
        QTest::addColumn<QByteArray>("option");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QByteArray>("written"); // empty: as it was
        const QByteArray main = "MainLeft= 1500\nMainTop= 3000\n";
        const QByteArray inBounds =
            main + "TileLeft= 1507\nTileTop= 1208\nTileWidth= 8000\nTileHeight= 4000\n";
        const QByteArray moved = "MainLeft= 450\nMainTop= 675\nTileLeft=-300\nTileTop= 150\n";
        const QByteArray noHeight = main + "TileLeft= 1507\nTileTop= 1208\nTileWidth= 9000\n";
        QTest::newRow("no places") << QByteArray() << "" << QByteArray("MainLeft= 0\nMainTop= 0\n");
        QTest::newRow("untouched") << inBounds << "" << QByteArray();
        QTest::newRow("tile shown, not moved") << inBounds << "show tile" << QByteArray();
        QTest::newRow("tile closed, not moved") << inBounds << "close tile" << QByteArray();
        QTest::newRow("both moved")
            << inBounds << "move both" << moved + "TileWidth= 7995\nTileHeight= 4005\n";
        QTest::newRow("maximised") << inBounds << "maximise" << QByteArray();
        QTest::newRow("beyond the screen")
            << QByteArray("MainLeft= 99999\nMainTop= 99999\nTileLeft= 999999\nTileTop= 999999\n"
                          "TileWidth= 9000\nTileHeight= 4500\n")
            << ""
            << QByteArray("MainLeft= 4830\nMainTop= 0\nTileLeft= 3000\nTileTop= 0\n"
                          "TileWidth= 9000\nTileHeight= 4500\n");
        QTest::newRow("beyond the window system, moved")
            << QByteArray("MainLeft=-999999\nMainTop= 300\nTileLeft=-2147483648\nTileTop= 0\n"
                          "TileWidth= 300000\nTileHeight= 300000\n")
            << "move both" << moved + "TileWidth= 12000\nTileHeight= 12000\n";
        QTest::newRow("no tile width")
            << main + "TileLeft= 1500\nTileTop= 1200\nTileWidth= 0\nTileHeight= 4500\n"
            << "" << QByteArray();
        // A missing key is written, from what the file's place gave.
        QTest::newRow("no tile height") << noHeight << "show tile" << noHeight + "TileHeight= 0\n";
        QTest::newRow("no height, beyond the right edge")
            << main + "TileLeft= 99999\nTileTop= 1200\nTileWidth= 9000\nTileHeight= 0\n"
            << "" << main + "TileLeft= 4305\nTileTop= 1200\nTileWidth= 7695\nTileHeight= 3360\n";
        QTest::newRow("title bar below the screen")
            << main + "TileLeft= 1507\nTileTop= 11641\nTileWidth= 9000\nTileHeight= 4500\n"
            << "" << main + "TileLeft= 1500\nTileTop= 0\nTileWidth= 9000\nTileHeight= 4500\n";
    }
    void placesAtExit()
    {
        QFETCH(QByteArray, option);
        QFETCH(QString, action);
        QFETCH(QByteArray, written);
        // Nothing is saved: the stored folder stays.
        GuiFixture f("[IniCheck]\nDummy=1\n[Option]\nSaveInitPath=/tmp/\n" + option);
        if (action != "")
            Trigger(f.w(), "MenuTile");
        if (action == "close tile")
            f.tile().close();
        if (action == "move both") {
            f.tile().move(-20, 10);
            f.w().move(30, 45);
        }
        if (action == "maximise")
            f.w().showMaximized();
        f.w().close();
        // The blend and dither keys the file lacked follow, as first written.
        QCOMPARE(Section(f.iniText(), "Option"), "SaveInitPath=/tmp/\n" +
                                                     (written.isEmpty() ? option : written) +
                                                     "Blend=0\nDither=False\n");
    }

    // Closed by its close box and opened again, the tile window comes back
    // where it was, placed by the file or by the window system.
    void tileComesBack_data()
    {
        QTest::addColumn<QByteArray>("option");
        QTest::newRow("stored place") << QByteArray("TileLeft= 1500\nTileTop= 1200\n"
                                                    "TileWidth= 9000\nTileHeight= 4500\n");
        QTest::newRow("first run") << QByteArray();
    }
    void tileComesBack()
    {
        QFETCH(QByteArray, option);
        GuiFixture f("[IniCheck]\nDummy=1\n[Option]\n" + option);
        Trigger(f.w(), "MenuTile");
        if (!option.isEmpty())
            QCOMPARE(f.tile().frameGeometry(), QRect(100, 80, 600, 300));
        f.tile().move(40, 50);
        f.tile().resize(520, 230);
        const QRect was = f.tile().frameGeometry();
        f.tile().close();
        Trigger(f.w(), "MenuTile");
        QCOMPARE(f.tile().frameGeometry(), was);
    }

    void sessionSaveAndFailedWrite()
    {
        GuiFixture f(
            "[IniCheck]\nDummy=1\n[SampleTextFont]\nName=x\nSize= 0\n"); // no size: its own
        f.w().move(30, 45);
        f.w().SaveSettingsNow(); // the session's request at logout: nothing asked, nothing ended
        QVERIFY(f.iniText().contains("\nMainLeft= 450\n") && f.w().isVisible());
        const QByteArray saved = f.iniText();
        f.w().move(60, 45);
        {
            FileSizeLimit limit(16);
            f.w().SaveSettingsNow(); // a failure too goes unsaid
            QVERIFY(f.dialogs.messages.empty());
            f.w().close(); // at exit it is reported: the file and the reason
        }
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        const auto& [icon, text] = f.dialogs.messages[0];
        QVERIFY(icon == MsgIcon::Error && text.contains(f.programDir.filePath("velmix.ini")));
        QVERIFY2(text.endsWith("\r\n" + QString::fromLocal8Bit(strerror(EFBIG))), qPrintable(text));
        f.w().move(90, 45);
        f.w().SaveSettingsNow(); // unloaded: a late request writes nothing
        QCOMPARE(f.iniText(), saved);
    }

    // A change is in the file within a second, with no exit; a write that
    // fails meanwhile says nothing and is made again at the next change.
    void settingsFollowChanges()
    {
        GuiFixture f;
        Trigger(f.w(), "mnuBlendKind_1");
        QTRY_VERIFY(f.iniText().contains("\nBlend=1"));
        {
            FileSizeLimit limit(16);
            Trigger(f.w(), "mnuBlendKind_0");
            QTest::qWait(1500);
        }
        QVERIFY(f.iniText().contains("\nBlend=1") && f.dialogs.messages.empty());
        f.w().move(70, 80);
        QTRY_VERIFY(f.iniText().contains("\nBlend=0") && f.iniText().contains("MainLeft= 1050"));
    }

    // At logout or shutdown nobody answers a message box: the program ends.
    void signalEndsWithoutAsking()
    {
        GuiFixture f;
        f.w().move(30, 45);
        {
            FileSizeLimit limit(16);
            f.w().EndUnattended();
        }
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(!f.w().isVisible());
    }

    void tiles()
    {
        // Across: two copies, one pixel, longer than the area; down: part of a band left,
        // smallest, longer than the area.
        const std::tuple<bool, int, QSize> rows[] = {{false, 300, {}},      {false, 1, {431, 180}},
                                                     {false, 2000, {}},     {true, 100, {513, 217}},
                                                     {true, 4, {700, 333}}, {true, 2000, {}}};
        for (const auto& [vertical, size, window] : rows) {
            GuiFixture f;
            frmMain& w = f.w();
            child<QAction>(w, "MenuTile")->trigger();
            frmTile& t = f.tile();
            if (window.isValid())
                t.resize(window);
            // A long strip the other way, then this way, then shortened: nothing of
            // the earlier strips may stay.
            QLineEdit* box = child<QLineEdit>(w, "txtSize");
            QTest::mouseClick(child<QRadioButton>(w, "Option1", vertical ? 0 : 1), Qt::LeftButton);
            box->setText("2000");
            QTest::mouseClick(child<QRadioButton>(w, "Option1", vertical ? 1 : 0), Qt::LeftButton);
            box->setText(QString::number(size));
            const QImage work = w.picWork();
            QCOMPARE(work.size(), vertical ? QSize(1, size) : QSize(size, 1));
            const std::vector<Colour> line = f.expectedLine(size);
            for (int k = 0; k < size; ++k)
                QCOMPARE(work.pixel(vertical ? 0 : k, vertical ? k : 0), Rgb(line[std::size_t(k)]));
            ImageBox* grad = child<ImageBox>(t, "picGrad");
            QVERIFY(TilesRepeatWork(grad->image(), work));
            // The surface shows the strip once, 8 pixels off picGrad, and nothing else.
            const QPoint strip = grad->pos() + (vertical ? QPoint(-8, 0) : QPoint(0, -8));
            const QImage& surface = t.surfaceImage();
            const QRgb back = t.palette().color(QPalette::Window).rgb();
            QCOMPARE(surface.size(), t.size());
            for (int y = 0; y < surface.height(); ++y)
                for (int x = 0; x < surface.width(); ++x)
                    if (surface.pixel(x, y) != (work.valid(QPoint(x, y) - strip)
                                                    ? work.pixel(QPoint(x, y) - strip)
                                                    : back))
                        QFAIL(qPrintable(QString("surface pixel %1,%2").arg(x).arg(y)));
            // And so does the screen, with picGrad's picture inside its border.
            const QImage screen = t.grab().toImage();
            QCOMPARE(screen.pixel(strip), work.pixel(0, 0));
            QCOMPARE(screen.pixel(grad->pos() + QPoint(grad->border(), grad->border())),
                     work.pixel(0, 0));
            // Size 0 while typing leaves the last drawing.
            const QImage last = grad->image();
            box->setText("0");
            QCOMPARE(grad->image(), last);
            QVERIFY(ShownFault(f).isEmpty()); // the same either way
        }
    }

    void smallTileWindow()
    {
        GuiFixture f;
        Trigger(f.w(), "MenuTile");
        frmTile& t = f.tile();
        ImageBox* grad = child<ImageBox>(t, "picGrad");
        // At its smallest: one row of tiles, the top row just clear of the strip's label.
        t.resize(10, 10);
        QCOMPARE(grad->image().height(), 1);
        const int gap = child<QCheckBox>(t, "ChkText")->x() -
                        child<QLabel>(t, "LabSavePicture")->geometry().right();
        QVERIFY2(gap > 0 && gap <= 5, qPrintable(QString::number(gap)));
        // Smaller still, as a window system may make it: picGrad keeps a height.
        QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
        t.setMinimumSize(0, 0);
        for (const int height : {44, 43}) { // and the status line's
            t.resize(300, height + child<QFrame>(t, "fraStatus")->height());
            QCOMPARE(grad->height(), 1);
        }
    }

    void committedText()
    {
        // An input method's text is filtered as typed keys are, full-width digits
        // and signs read as the plain ones; the thickness box takes digits only.
        GuiFixture f;
        frmMain& w = f.w();
        child<QCheckBox>(w.option(), "chkHeight")->setChecked(true);
        const std::tuple<QLineEdit*, QString, const char*> rows[] = {
            {child<QLineEdit>(w, "txtSize"), "５ａ０．０", "500"},
            {child<QLineEdit>(w.ld(), "txtLD"), "－２．５ａ", "-2.5"},
            {child<QLineEdit>(w.option(), "txtSize"), "６４ｐｘ", "64"}};
        for (const auto& [box, committed, shown] : rows) {
            QInputMethodEvent event; // in place of the whole text, as a reconversion
            event.setCommitString(committed, -box->cursorPosition(), box->text().size());
            QApplication::sendEvent(box, &event);
            QCOMPARE(box->text(), QString(shown));
        }
    }

    void qtDialogs()
    {
        // Qt's message box, read while it is shown: the icon, and lines as the system
        // ends them.
        for (const auto& [icon, shown] : {std::pair{MsgIcon::Error, QMessageBox::Critical},
                                          {MsgIcon::Exclamation, QMessageBox::Warning},
                                          {MsgIcon::None, QMessageBox::NoIcon}}) {
            QString seen;
            QTimer::singleShot(0, [&seen] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                seen = QString("%1 %2").arg(box->icon()).arg(box->text());
                box->accept();
            });
            QtDialogs().message(nullptr, icon, "a\r\nb");
            QCOMPARE(seen, QString("%1 a\nb").arg(shown));
        }
        // OK without a change gives back the font asked about, where the dialog
        // shows the face that stands in for it; a change gives the change.
        const QFont asked("ＭＳ Ｐゴシック", 10);
        for (const int size : {0, 20, -1}) { // unchanged, changed, cancelled
            QTimer::singleShot(0, [size] {
                auto* dlg = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
                QFont font = dlg->currentFont();
                font.setPointSize(size > 0 ? size : font.pointSize());
                dlg->setCurrentFont(font);
                size < 0 ? dlg->reject() : dlg->accept();
            });
            const std::optional<QFont> got = QtDialogs().font(nullptr, asked);
            QCOMPARE(got ? QString("%1 %2").arg(*got == asked).arg(got->pointSize()) : "none",
                     QString(size < 0   ? "none"
                             : size > 0 ? "0 20"
                                        : "1 10"));
        }
        // The font dialog opens at the face's own style of that weight and slant, of
        // its normal width.
        for (const bool italic : {false, true})
            QCOMPARE(FontDialogPreset(QFont("DejaVu Sans", 12, QFont::Normal, italic)).styleName(),
                     QString(italic ? "Oblique" : "Book"));
    }

    // Qt's save dialog: the type picked is the type written. A name typed
    // without an extension gets the type's, also in the question before
    // overwriting (bg.png exists); a name with one keeps it.
    void saveDialogType()
    {
        QTemporaryDir dir;
        QVERIFY(QFile(dir.filePath("bg.png")).open(QIODevice::WriteOnly));
        // The type offered first, the one picked (-1: none), typed, written.
        for (const auto& [offered, picked, typed, written] :
             std::initializer_list<std::tuple<const char*, int, const char*, const char*>>{
                 {"", 2, "bg", "bg.png"},
                 {"", 2, "bg.gif", "bg.gif"},
                 {"", -1, "sky", "sky.bmp"},
                 {"PNG", -1, "bg", "bg.png"},
                 {"png", 3, "bg", "bg.svg"}}) {
            QString asked;
            QTimer::singleShot(0, [&, picked = picked, typed = typed] {
                auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                auto* types = dlg->findChild<QComboBox*>("fileTypeCombo");
                for (int i = 0; i <= picked; ++i) // as a user picks it
                    QTest::keyClick(types, i == 0 ? Qt::Key_Home : Qt::Key_Down);
                auto* name = dlg->findChild<QLineEdit*>("fileNameEdit");
                name->setText(typed);
                QTimer::singleShot(0, [&] {
                    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                        asked = box->text().section(' ', 0, 0);
                        box->button(QMessageBox::Yes)->click();
                    }
                });
                QTest::keyClick(name, Qt::Key_Return);
            });
            const SaveFileRequest req{
                "B(*.BMP)|*.bmp|J|*.jpg|PNG(*.PNG)|*.png|S|*.svg", dir.path(), {}, offered};
            QCOMPARE(QtDialogs().saveFileName(nullptr, req), dir.filePath(written));
            QCOMPARE(asked, QString(written) == "bg.png" ? "bg.png" : "");
        }
    }

    // The designed faces are drawn by their metric twins, the about box's
    // title too.
    void faces()
    {
        GuiFixture f({}, false);
        frmAbout about(f.dialogs, &f.w());
        QCOMPARE(QFontInfo(child<QLabel>(about, "lblTitle")->font()).family(), "IPAPMincho");
        QCOMPARE(QFontInfo(child<QLabel>(about, "labAuthor")->font()).family(), "IPAPGothic");
    }

    void sampleText()
    {
        GuiFixture f;
        Trigger(f.w(), "MenuTile");
        frmTile& t = f.tile();
        for (const bool on : {false, true}) { // the sample's controls, all off, then all on
            if (on)
                QTest::mouseClick(child<QCheckBox>(t, "ChkText"), Qt::LeftButton);
            QCOMPARE(child<QCheckBox>(t, "ChkText")->isChecked(), on);
            QCOMPARE(child<CrossLabel>(t, "LabX")->isVisible(), !on);
            QCOMPARE(child<QPushButton>(t, "CmdFont")->isEnabled(), on);
            for (const char* name : {"Line1", "LabContrast", "Labsample_0", "Labsample_3"})
                QCOMPARE(child<QWidget>(t, name)->isVisible(), on);
        }
        // The designed face at 28 points on a first start; black on red, green,
        // blue, red: the lowest contrast where blue turns to red.
        QCOMPARE(child<QLabel>(t, "Labsample_2")->text(), QString("FontSize =  28"));
        QCOMPARE(child<QLabel>(t, "LabContrast")->text(),
                 QString("最低コントラスト比 1.95:1 (77 px) 不足 (3:1 未満)"));
        // Cut, not rounded (1.9594 is no 1.96), in a status line along the
        // window's bottom edge, below the tiles.
        const QFrame* line = child<QFrame>(t, "fraStatus");
        QVERIFY(child<QLabel>(t, "LabContrast")->parent() == line && line->width() == t.width());
        QVERIFY(child<ImageBox>(t, "picGrad")->geometry().bottom() < line->y() &&
                line->geometry().bottom() == t.height() - 1);
        // The colour dialog opens at black; the rule is drawn in the colour
        // chosen, ending a pixel short of picGrad's inner edge.
        f.dialogs.colors.push_back(QColor(200, 100, 50));
        QTest::mouseClick(child<ColorBox>(t, "picForeColor"), Qt::LeftButton);
        QCOMPARE(f.dialogs.colorPresets, std::vector<QColor>{QColor(0, 0, 0)});
        ImageBox* grad = child<ImageBox>(t, "picGrad");
        const QImage shown = grad->grab().toImage();
        const QRect rule = child<QFrame>(t, "Line1")->geometry();
        const int right = grad->border() + grad->innerWidth() - 2;
        for (int x = rule.left(); x <= right; ++x)
            QCOMPARE(shown.pixel(x, rule.top()), qRgb(200, 100, 50));
        QVERIFY(shown.pixel(right + 1, rule.top()) != qRgb(200, 100, 50));
        // Each style of font chosen; 10.5 points are stored as 10.
        const char* styles[4] = {"標準　　", "太字　　", "斜体　　", "太字斜体"};
        for (int i = 0; i < 4; ++i) {
            QFont chosen("DejaVu Sans", -1, i & 1 ? QFont::Bold : QFont::Normal, i & 2);
            chosen.setPointSizeF(10.5);
            f.dialogs.fonts.push_back(chosen);
            QTest::mouseClick(child<QPushButton>(t, "CmdFont"), Qt::LeftButton);
            QCOMPARE(child<QLabel>(t, "Labsample_3")->text(), QString("FontStyle = ") + styles[i]);
            const QFont font = child<QLabel>(t, "Labsample_0")->font();
            QVERIFY(font.pointSize() == 10 && font.bold() == bool(i & 1) &&
                    font.italic() == bool(i & 2));
        }
        // A Cancel changes nothing: the dialog opened in the sample's own style.
        t.CmdFont_Click();
        QVERIFY(f.dialogs.fontPresets.back().bold() && f.dialogs.fontPresets.back().italic());
        f.w().close();
        QCOMPARE(Section(f.iniText(), "SampleTextFont"),
                 QByteArray("Name=DejaVu Sans\nSize= 10\nbold=-1\nItalic=-1\nColor= 3302600\n"
                            "TextOnOff=True\n"));
    }
};

QTEST_MAIN(tst_MainWindow)
#include "tst_mainwindow.moc"
