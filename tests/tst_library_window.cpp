// SPDX-License-Identifier: MIT
// The library window on real widgets: the filter, applying as one undo step,
// renaming and deleting the user's own gradients only, files dropped on the
// window and on the main window, the error of a fit and a row's pixels.

#include "core/fit.h"
#include "guifixture.h"
#include "library/frmlibrary.h"
#include "table.h"
#include "testutil.h"

#include <QClipboard>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>

using namespace velmix;

namespace {

using Names = QStringList;

SegmentColour Grey(double v)
{
    return {v, v, v, 1};
}

// One linear segment: seven points hold it exactly.
NamedGradient Plain(const char* name, SegmentColour from)
{
    return {name, {GradSegment{0, 0.5, 1, from, Grey(1)}}};
}

// Twelve stripes of black and white: seven points cannot.
NamedGradient Stripes()
{
    NamedGradient g{"Zebra", {}};
    for (int k = 0; k < 12; ++k) {
        const double l = k / 12.0;
        const double r = (k + 1) / 12.0;
        const SegmentColour c = Grey(k % 2);
        g.segments.push_back({l, (l + r) / 2, r, c, c});
    }
    return g;
}

void Put(const QString& folder, const NamedGradient& g)
{
    QDir().mkpath(folder);
    const QString name = QString::fromStdString(g.name);
    WriteAll(folder + "/" + name + ".ggr", WriteGgr(g).c_str());
}

const Names kOurs{"Blue Sky", "Shipped Red", "Zebra"};

// The rows of this test's own gradients, in order of name: gradients
// shipped beside the test program are not its.
Names Ours(Names names)
{
    names.removeIf([](const QString& n) { return !kOurs.contains(n) && n != "Night"; });
    names.sort();
    return names;
}

const NamedGradient kSky = Plain("Blue Sky", {0, 0.4, 1, 1});
const NamedGradient kRed = Plain("Shipped Red", {1, 0, 0, 1});
const NamedGradient kDawn = Plain("Dawn", {1, 0.5, 0, 1});

GradPoints PointsOf(const NamedGradient& g)
{
    return PointsFor(g).points;
}

struct LibraryFixture : GuiFixture
{
    QTemporaryDir data;

    LibraryFixture()
    {
        const QByteArray home = data.filePath("home").toUtf8();
        qputenv("XDG_DATA_HOME", home);
        qputenv("XDG_DATA_DIRS", data.filePath("system").toUtf8());
        Put(user(), kSky);
        Put(user(), Stripes());
        Put(data.filePath("system/velmix/gradients"), kRed);
        trigger("mnuLibrary");
        QApplication::setActiveWindow(&lib());
        (void)QTest::qWaitForWindowActive(&lib());
    }

    QString user() const { return data.filePath("home/velmix/gradients"); }
    frmLibrary& lib() { return w().library(); }
    QListView* list() { return child<QListView>(lib(), "lstGrad"); }
    QLineEdit* filter() { return child<QLineEdit>(lib(), "txtFilter"); }
    QPushButton* button(const char* name) { return child<QPushButton>(lib(), name); }

    Names shown()
    {
        Names names;
        const auto* m = list()->model();
        for (int r = 0; r < m->rowCount(); ++r)
            names << m->index(r, 0).data().toString();
        return names;
    }
    QModelIndex at(const QString& name)
    {
        const auto* m = list()->model();
        const QModelIndex top = m->index(0, 0);
        return m->match(top, Qt::DisplayRole, name).value(0);
    }
    void choose(const QString& name)
    {
        list()->setFocus();
        list()->setCurrentIndex(at(name));
    }
    void drop(QWidget* on, const QString& file)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file)});
        const auto copy = Qt::CopyAction;
        const auto left = Qt::LeftButton;
        QDragEnterEvent enter({5, 5}, copy, &mime, left, {});
        QApplication::sendEvent(on, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped({5, 5}, copy, &mime, left, {});
        QApplication::sendEvent(on, &dropped);
    }
};

} // namespace

class tst_LibraryWindow : public QObject
{
    Q_OBJECT
private slots:
    void filter_data();
    void filter();
    void apply_data();
    void apply();
    void renameAndDelete_data();
    void renameAndDelete();
    void drop_data();
    void drop();
    void errorAndStrip();
    void add();
    void exportAs_data();
    void exportAs();
    void paste_data();
    void paste();
    void several_data();
    void several();
};

void tst_LibraryWindow::filter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<Names>("ours");
    QTest::newRow("nothing typed: all") << "" << kOurs;
    QTest::newRow("a part, in any case") << "sKY" << Names{"Blue Sky"};
    QTest::newRow("shipped ones too") << "red" << Names{"Shipped Red"};
    QTest::newRow("no match") << "violet" << Names{};
}

void tst_LibraryWindow::filter()
{
    QFETCH(QString, typed);
    QFETCH(Names, ours);
    LibraryFixture f;
    QTest::keyClicks(f.filter(), typed);
    QCOMPARE(Ours(f.shown()), ours);
    QCOMPARE(f.list()->currentIndex().isValid(), !f.shown().isEmpty());
}

void tst_LibraryWindow::apply_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Enter in the list") << "enter";
    QTest::newRow("double click") << "double";
    QTest::newRow("Enter in the filter") << "filter";
}

void tst_LibraryWindow::apply()
{
    QFETCH(QString, how);
    LibraryFixture f;
    f.get<QRadioButton>("Option1_1")->click();
    const EditState before = f.doc().state();
    const int steps = f.steps();
    QListView* list = f.list();
    if (how == "filter") {
        // Nothing chosen: the arrow key in the filter chooses the row.
        QTest::keyClicks(f.filter(), "sky");
        list->setCurrentIndex({});
        QTest::keyClick(f.filter(), Qt::Key_Down);
        QTest::keyClick(f.filter(), Qt::Key_Return);
    } else if (how == "enter") {
        f.choose("Blue Sky");
        QTest::keyClick(list, Qt::Key_Return);
    } else {
        const QRect r = list->visualRect(f.at("Blue Sky"));
        const auto left = Qt::LeftButton;
        // As the window system sends one: a click, then the double
        // click.
        QTest::mouseClick(list->viewport(), left, {}, r.center());
        QTest::mouseDClick(list->viewport(), left, {}, r.center());
    }
    QCOMPARE(f.doc().points(), PointsOf(kSky));
    QCOMPARE(f.steps(), steps + 1);
    QCOMPARE(f.doc().size(), before.size);
    QVERIFY(f.doc().vertical());
    const QString undo = f.action("mnuUndo")->text();
    QVERIFY(undo.endsWith(UndoMenu::caption(EditStep::Library)));
    f.trigger("mnuUndo");
    QCOMPARE(f.doc().state(), before);
    QCOMPARE(ShownFault(f), QString());
}

void tst_LibraryWindow::renameAndDelete_data()
{
    TableRows("library_keys.txt", {"target", "key", "answer", "after", "asked"});
}

void tst_LibraryWindow::renameAndDelete()
{
    QFETCH(QString, target);
    QFETCH(QString, key);
    QFETCH(QString, answer);
    QFETCH(QString, after);
    QFETCH(QString, asked);
    LibraryFixture f;
    auto& d = f.dialogs;
    d.answers = {answer == "yes"};
    if (!answer.isEmpty() && answer != "yes")
        d.texts = {answer};
    f.choose(target);
    const bool own = target != "Shipped Red";
    QCOMPARE(f.button("cmdRename")->isEnabled(), own);
    QCOMPARE(f.button("cmdDelete")->isEnabled(), own);
    QTest::keyClick(f.list(), key == "F2" ? Qt::Key_F2 : Qt::Key_Delete);
    QCOMPARE(d.questions.size() + d.textPrompts.size(), asked.toUInt());
    Names names = kOurs;
    names.removeAll(target);
    if (!after.isEmpty())
        names << after;
    QCOMPARE(Ours(f.shown()), Ours(names));
    // What the window shows is what the folder holds.
    const auto files = QDir(f.user()).entryList({"*.ggr"});
    QCOMPARE(files.size(), after.isEmpty() ? 1 : 2);
    QVERIFY(d.messages.empty());
}

void tst_LibraryWindow::drop_data()
{
    QTest::addColumn<bool>("onMain");
    QTest::addColumn<QByteArray>("file");
    const auto dawn = QByteArray::fromStdString(WriteGgr(kDawn));
    const QByteArray text = "hello\n";
    QTest::newRow("on the library") << false << dawn;
    QTest::newRow("on the main window: applied") << true << dawn;
    QTest::newRow("not a gradient") << false << text;
    QTest::newRow("not a gradient, on the main") << true << text;
}

void tst_LibraryWindow::drop()
{
    QFETCH(bool, onMain);
    QFETCH(QByteArray, file);
    LibraryFixture f;
    const QString path = f.data.filePath("Dawn.ggr");
    WriteAll(path, file);
    const GradPoints before = f.doc().points();
    f.drop(onMain ? static_cast<QWidget*>(&f.w()) : &f.lib(), path);
    const bool good = file.startsWith("GIMP");
    QCOMPARE(f.shown().contains("Dawn"), good);
    const auto& said = f.dialogs.messages;
    QCOMPARE(said.size(), good ? 0u : 1u);
    if (!good)
        QVERIFY(said[0].second.contains(path));
    const bool applied = good && onMain;
    const auto now = applied ? PointsOf(kDawn) : before;
    QCOMPARE(f.doc().points(), now);
    QCOMPARE(f.steps(), applied ? 1 : 0);
}

void tst_LibraryWindow::errorAndStrip()
{
    LibraryFixture f;
    const int error = PointsFor(Stripes()).largestError;
    QVERIFY(error > 0);
    const auto said = [&f](const char* name) {
        const auto role = Qt::AccessibleTextRole;
        return f.at(name).data(role).toString();
    };
    const auto text = frmLibrary::tr("誤差 %1").arg(error);
    QCOMPARE(said("Zebra"), "Zebra, " + text);
    QCOMPARE(said("Blue Sky"), "Blue Sky");
    // The selected row's strip too: its colours are not tinted.
    f.choose("Blue Sky");
    QWidget* view = f.list()->viewport();
    const QImage shot = view->grab().toImage();
    const QRect row = f.list()->visualRect(f.at("Blue Sky"));
    const int width = frmLibrary::kStripWidth;
    const auto line = DrawGrad(PointsOf(kSky), width);
    const int y = row.center().y();
    for (int x = 0; x < width; ++x) {
        const QRgb got = shot.pixel(row.left() + 4 + x, y);
        QCOMPARE(got, Rgb(line[std::size_t(x)]));
    }
}

void tst_LibraryWindow::add()
{
    LibraryFixture f;
    f.dialogs.texts = {QString("Mine")};
    Click(f.button("cmdAdd"));
    QCOMPARE(f.list()->currentIndex().data().toString(), "Mine");
    // Kept as the segments of the points.
    const auto& all = f.lib().library().entries();
    const auto mine = std::find_if(all.begin(), all.end(),
                                   [](const auto& e) { return e.gradient.name == "Mine"; });
    QVERIFY(mine != all.end());
    QCOMPARE(mine->gradient, GradientFromPoints("Mine", f.doc().points()));
}

void tst_LibraryWindow::exportAs_data()
{
    QTest::addColumn<QString>("type");
    QTest::newRow("ggr: the gradient as it is") << "ggr";
    QTest::newRow("svg: its points") << "svg";
    QTest::newRow("css: its points") << "css";
}

void tst_LibraryWindow::exportAs()
{
    QFETCH(QString, type);
    LibraryFixture f;
    f.sizeBox()->setText("240");
    f.get<QRadioButton>("Option1_1")->click();
    f.choose("Zebra");
    const QString path = f.data.filePath("out." + type);
    f.dialogs.files = {path};
    Click(f.button("cmdExport"));
    const NamedGradient zebra = Stripes();
    const WebGradient web{PointsOf(zebra), 240, true, 1};
    std::string wanted = CssRule(web);
    if (type == "ggr")
        wanted = WriteGgr(zebra);
    if (type == "svg")
        wanted = SvgDocument(web);
    QCOMPARE(ReadAll(path).toStdString(), wanted);
}

void tst_LibraryWindow::paste_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    const QString css = "background: linear-gradient(to right, #f00, #00f);";
    QTest::newRow("CSS") << css << true;
    QTest::newRow("not CSS") << "hello" << false;
}

void tst_LibraryWindow::paste()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    LibraryFixture f;
    QGuiApplication::clipboard()->setText(text);
    const auto rows = f.shown().size();
    f.choose("Zebra");
    QTest::keyClick(f.list(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.shown().size(), rows + (read ? 1 : 0));
    QCOMPARE(f.dialogs.messages.size(), read ? 0u : 1u);
    const QString chosen = f.list()->currentIndex().data().toString();
    QCOMPARE(chosen == "Zebra", !read);
}

void tst_LibraryWindow::several_data()
{
    QTest::addColumn<int>("choice"); // -1: cancelled
    QTest::addColumn<Names>("added");
    QTest::newRow("all") << 0 << Names{"g\t1", "g2"};
    QTest::newRow("the second") << 2 << Names{"g2"};
    QTest::newRow("cancelled") << -1 << Names{};
}

// A file of several gradients asks which; a control character in a name
// is shown as U+FFFD.
void tst_LibraryWindow::several()
{
    QFETCH(int, choice);
    QFETCH(Names, added);
    LibraryFixture f;
    const QString path = f.data.filePath("two.svg");
    WriteAll(path, "<svg xmlns='http://www.w3.org/2000/svg'><linearGradient id='g&#9;1'><stop/>"
                   "</linearGradient><linearGradient id='g2'><stop/></linearGradient></svg>");
    if (choice >= 0)
        f.dialogs.choices = {choice};
    f.drop(&f.lib(), path);
    const std::vector<Names> asked{{"すべて (2個)", "g\uFFFD1", "g2"}};
    QCOMPARE(f.dialogs.choiceItems, asked);
    const Names shown = f.shown().filter(QRegularExpression("^g.?\\d$"));
    QCOMPARE(shown, added.replaceInStrings("\t", "\uFFFD"));
    QVERIFY(f.dialogs.messages.empty());
}

QTEST_MAIN(tst_LibraryWindow)
#include "tst_library_window.moc"
