// SPDX-License-Identifier: MIT
// The library window on real widgets: the filter, applying as one undo step,
// renaming and deleting the user's own gradients only, files dropped on the
// window and on the main window, the error of a fit and a row's pixels.

#include "core/fit.h"
#include "guifixture.h"
#include "library/frmlibrary.h"
#include "points.h"
#include "table.h"

#include <QClipboard>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

using namespace velmix;
using QTest::keyClick;

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
        const auto c = Grey(k % 2);
        g.segments.push_back({l, (l + r) / 2, r, c, c});
    }
    return g;
}

void Put(const QString& folder, const NamedGradient& g)
{
    QDir().mkpath(folder);
    const auto name = QString::fromStdString(g.name);
    WriteAll(folder + "/" + name + ".ggr", WriteGgr(g).c_str());
}

const Names kOurs{"Blue Sky", "Shipped Red", "Zebra"};

// The rows of this test's own gradients, in order of name: gradients
// shipped beside the test program are not its.
Names Ours(Names names)
{
    names.removeIf([](auto& n) { return !kOurs.contains(n) && n != "Night"; });
    names.sort();
    return names;
}

const auto kSky = Plain("Blue Sky", {0, 0.4, 1, 1});
const auto kDawn = Plain("Dawn", {1, 0.5, 0, 1});

GradPoints PointsOf(const NamedGradient& g, int size = 100)
{
    return PointsFor(g, size, Sampling::Edges).points;
}

struct LibraryFixture : GuiFixture
{
    QTemporaryDir data;

    LibraryFixture()
    {
        qputenv("XDG_DATA_HOME", data.filePath("home").toUtf8());
        qputenv("XDG_DATA_DIRS", data.filePath("system").toUtf8());
        Put(user(), kSky);
        Put(user(), Stripes());
        Put(data.filePath("system/velmix/gradients"), Plain("Shipped Red", {1, 0, 0, 1}));
        trigger("mnuLibrary");
        QApplication::setActiveWindow(&lib());
        (void)QTest::qWaitForWindowActive(&lib());
    }

    QString user() const { return data.filePath("home/velmix/gradients"); }
    frmLibrary& lib() { return w().library(); }
    auto* list() { return child<QListView>(lib(), "lstGrad"); }
    auto* filter() { return child<QLineEdit>(lib(), "txtFilter"); }
    auto* button(const char* n) { return child<QPushButton>(lib(), n); }
    QString current() { return list()->currentIndex().data().toString(); }

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
        return m->match(m->index(0, 0), Qt::DisplayRole, name).value(0);
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
        QDragEnterEvent enter({5, 5}, copy, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped({5, 5}, copy, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &dropped);
    }
};

// Onto the main window, the file's text.
using Dropped = std::pair<bool, QByteArray>;

} // namespace

class tst_LibraryWindow : public QObject
{
    Q_OBJECT
private slots:
    void findAndApply();
    void renameAndDelete_data();
    void renameAndDelete();
    void drop_data();
    void drop();
    void errorAndStrip();
    void add();
    void exportAs();
    void paste_data() { TableRows("library_paste.txt", {"text", "read"}); }
    void paste();
    void several_data() { TableRows("library_several.txt", {"choice", "added"}); }
    void several();
};

// Found by part of its name in any case; applied by the arrow and Enter in
// the filter, by Enter in the list or by a double click, each one undo
// step that keeps the size and the orientation.
void tst_LibraryWindow::findAndApply()
{
    LibraryFixture f;
    QCOMPARE(Ours(f.shown()), kOurs);
    QTest::keyClicks(f.filter(), "violet");
    QVERIFY(f.shown().isEmpty() && !f.list()->currentIndex().isValid());
    keyClick(f.filter(), Qt::Key_Return); // nothing to apply
    QCOMPARE(f.steps(), 0);
    // The filter's own clear button empties it.
    auto* clear = f.filter()->findChild<QToolButton*>();
    QVERIFY(clear);
    Click(clear);
    QCOMPARE(Ours(f.shown()), kOurs);
    QTest::keyClicks(f.filter(), "sKY");
    QCOMPARE(f.shown(), Names{"Blue Sky"});
    QCOMPARE(f.current(), "Blue Sky");
    f.down();
    const auto before = f.doc().state();
    auto* list = f.list();
    const auto at = list->visualRect(f.at("Blue Sky")).center();
    const std::function<void()> ways[] = {
        [&] { // nothing chosen: the arrow key in the filter chooses the row
            list->setCurrentIndex({});
            keyClick(f.filter(), Qt::Key_Down);
            keyClick(f.filter(), Qt::Key_Return);
        },
        [&] {
            f.choose("Blue Sky");
            keyClick(list, Qt::Key_Return);
        },
        [&] { // as the window system sends one: a click, then the double click
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }};
    for (const auto& apply : ways) {
        apply();
        QVERIFY(WithinALevel(DrawGrad(f.pts(), 1000), SampleGradient(kSky, 1000)));
        QVERIFY(f.steps() == 2 && f.doc().size() == before.size && f.doc().vertical());
        QVERIFY(f.action("mnuUndo")->text().endsWith(UndoMenu::caption(EditStep::Library)));
        f.trigger("mnuUndo");
        QCOMPARE(f.doc().state(), before);
    }
    QCOMPARE(ShownFault(f), "");
}

// A key on a chosen row: the answer given (a typed name, or "yes"; empty:
// cancel), the row's name afterwards (empty: gone), and whether the window
// asked. The shipped gradient can be neither renamed nor deleted.
void tst_LibraryWindow::renameAndDelete_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("asked");
    QTest::newRow("F2 renames") << "Blue Sky" << int(Qt::Key_F2) << "Night"
                                << "Night" << true;
    QTest::newRow("F2 cancelled") << "Blue Sky" << int(Qt::Key_F2) << ""
                                  << "Blue Sky" << true;
    QTest::newRow("Delete, yes") << "Blue Sky" << int(Qt::Key_Delete) << "yes"
                                 << "" << true;
    QTest::newRow("Delete, no") << "Blue Sky" << int(Qt::Key_Delete) << ""
                                << "Blue Sky" << true;
    QTest::newRow("shipped: no F2") << "Shipped Red" << int(Qt::Key_F2) << "Night"
                                    << "Shipped Red" << false;
    QTest::newRow("shipped: no Delete") << "Shipped Red" << int(Qt::Key_Delete) << "yes"
                                        << "Shipped Red" << false;
}

void tst_LibraryWindow::renameAndDelete()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(QString, answer);
    QFETCH(QString, after);
    QFETCH(bool, asked);
    LibraryFixture f;
    auto& d = f.dialogs;
    d.answers = {answer == "yes"};
    if (!answer.isEmpty() && answer != "yes")
        d.texts = {answer};
    f.choose(target);
    const bool own = target != "Shipped Red";
    QCOMPARE(f.button("cmdRename")->isEnabled(), own);
    QCOMPARE(f.button("cmdDelete")->isEnabled(), own);
    keyClick(f.list(), Qt::Key(key));
    QCOMPARE(d.questions.size() + d.textPrompts.size(), size_t(asked));
    auto names = kOurs;
    names.removeAll(target);
    if (!after.isEmpty())
        names << after;
    QCOMPARE(Ours(f.shown()), Ours(names));
    // What the window shows is what the folder holds.
    const auto files = QDir(f.user()).entryList({"*.ggr"});
    QCOMPARE(files.size(), after.isEmpty() ? 1 : 2);
    QVERIFY(d.messages.empty());
}

// Both windows read a drop alike: a file that is no gradient is said once.
void tst_LibraryWindow::drop_data()
{
    const auto dawn = QByteArray::fromStdString(WriteGgr(kDawn));
    Rows<Dropped>({{"on the library", {false, dawn}},
                   {"on the main window: applied", {true, dawn}},
                   {"not a gradient", {false, "hello\n"}},
                   {"not a gradient, on the main", {true, "hello\n"}}});
}

void tst_LibraryWindow::drop()
{
    QFETCH(Dropped, row);
    const auto& [onMain, file] = row;
    LibraryFixture f;
    const auto path = f.data.filePath("Dawn.ggr");
    WriteAll(path, file);
    const auto before = f.pts();
    f.drop(onMain ? static_cast<QWidget*>(&f.w()) : &f.lib(), path);
    const bool good = file.startsWith("GIMP");
    QCOMPARE(f.shown().contains("Dawn"), good);
    QCOMPARE(f.said().size(), good ? 0u : 1u);
    QVERIFY(good || f.said()[0].second.contains(path));
    const bool applied = good && onMain;
    QCOMPARE(f.pts(), applied ? PointsOf(kDawn) : before);
    QCOMPARE(f.steps(), applied ? 1 : 0);
}

void tst_LibraryWindow::errorAndStrip()
{
    LibraryFixture f;
    const auto said = [&f](const char* n) {
        return f.at(n).data(Qt::AccessibleTextRole).toString();
    };
    // The error at the document's size, said again when the size changes.
    for (const int size : {100, 1000, 7}) {
        f.sizeBox()->setText(QString::number(size));
        const int error = PointsFor(Stripes(), size, Sampling::Edges).largestError;
        QCOMPARE(said("Zebra"), error ? "Zebra, " + frmLibrary::tr("誤差 %1").arg(error) : "Zebra");
    }
    QCOMPARE(said("Blue Sky"), "Blue Sky");
    // The selected row's strip too: its colours are not tinted.
    f.choose("Blue Sky");
    const auto shot = f.list()->viewport()->grab().toImage();
    const auto row = f.list()->visualRect(f.at("Blue Sky"));
    const int width = frmLibrary::kStripWidth;
    const auto line = DrawGrad(PointsOf(kSky), width);
    for (int x = 0; x < width; ++x)
        QCOMPARE(shot.pixel(row.left() + 4 + x, row.center().y()), Rgb(line[std::size_t(x)]));
}

void tst_LibraryWindow::add()
{
    LibraryFixture f;
    f.dialogs.texts = {QString("Mine")};
    Click(f.button("cmdAdd"));
    QCOMPARE(f.current(), "Mine");
    // Kept as the segments of the points.
    const auto& all = f.lib().library().entries();
    const auto isMine = [](auto& e) { return e.gradient.name == "Mine"; };
    const auto mine = std::ranges::find_if(all, isMine);
    QVERIFY(mine != all.end());
    QCOMPARE(mine->gradient, GradientFromPoints("Mine", f.pts()));
}

// Each type read back: the .ggr the gradient itself, the web files the
// points the window applies, at its size and orientation.
void tst_LibraryWindow::exportAs()
{
    LibraryFixture f;
    f.sizeBox()->setText("240");
    f.down();
    f.choose("Zebra");
    for (const QString type : {"ggr", "svg", "css"}) {
        f.dialogs.files = {f.data.filePath("out." + type)};
        Click(f.button("cmdExport"));
    }
    QCOMPARE(ImportFile(f.data.filePath("out.ggr")).gradients, std::vector{Stripes()});
    keyClick(f.list(), Qt::Key_Return);
    const WebGradient web{f.pts(), 240, true, 1};
    for (const char* file : {"out.svg", "out.css"})
        QVERIFY2(Carries(ImportFile(f.data.filePath(file)).carried, web), file);
}

void tst_LibraryWindow::paste()
{
    FETCH(text);
    FETCH(read);
    const bool css = read == "yes";
    LibraryFixture f;
    QGuiApplication::clipboard()->setText(text);
    const auto rows = f.shown().size();
    f.choose("Zebra");
    keyClick(f.list(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.shown().size(), rows + css);
    QCOMPARE(f.said().empty(), css);
    QCOMPARE(f.current() == "Zebra", !css);
}

// A file of several gradients asks which; a control character in a name,
// and one that turns the text's direction (U+202E), is shown as U+FFFD.
void tst_LibraryWindow::several()
{
    FETCH(choice);
    FETCH(added);
    LibraryFixture f;
    const auto path = f.data.filePath("two.svg");
    WriteAll(path, DataFile("library_two.svg"));
    if (choice.toInt() >= 0)
        f.dialogs.choices = {choice.toInt()};
    f.drop(&f.lib(), path);
    const std::vector<Names> asked{{"すべて (2個)", "g\uFFFD1", "g\uFFFD2"}};
    QCOMPARE(f.dialogs.choiceItems, asked);
    const auto shown = f.shown().filter(QRegularExpression("^g.?\\d$"));
    QCOMPARE(shown, added.replace('\t', u'\uFFFD').split(", ", Qt::SkipEmptyParts));
    QVERIFY(f.said().empty());
}

QTEST_MAIN(tst_LibraryWindow)
#include "tst_library_window.moc"
