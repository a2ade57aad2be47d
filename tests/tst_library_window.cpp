// SPDX-License-Identifier: MIT
// The library window on real widgets: the filter, applying as one undo step,
// renaming and deleting the user's own gradients only, files dropped on the
// window and on the main window, the error of a fit and a row's pixels.

#include "guifixture.h"
#include "library/frmlibrary.h"
#include "points.h"

#include <QClipboard>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>

using QTest::keyClick;

namespace {

using Names = QStringList;

// One segment to white: linear, seven points hold it exactly; a curve,
// they cannot.
NamedGradient Plain(const char* name, SegmentColour from, SegmentBlend blend = {})
{
    return {name, {GradSegment{0, 0.5, 1, from, {1, 1, 1, 1}, blend}}};
}

void Put(const QString& folder, const NamedGradient& g)
{
    QDir().mkpath(folder);
    WriteAll(folder + "/" + Q(g.name) + ".ggr", WriteGgr(g).c_str());
}

const Names kOurs{"Blue Sky", "Shipped Red", "Wave"};

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
const auto kWave = Plain("Wave", {0, 0, 0, 1}, SegmentBlend::Sine);

struct LibraryFixture : GuiFixture
{
    QTemporaryDir data;

    LibraryFixture()
    {
        qputenv("XDG_DATA_HOME", data.filePath("home").toUtf8());
        qputenv("XDG_DATA_DIRS", data.filePath("system").toUtf8());
        Put(user(), kSky);
        Put(user(), kWave);
        Put(data.filePath("system/velmix/gradients"),
            Plain("Shipped Red", {1, 0, 0, 1}));
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

} // namespace

class tst_LibraryWindow : public QObject
{
    Q_OBJECT
private slots:
    // Each row says the error of its fit at the document's size, again when
    // the size changes; the selected row's strip is not tinted. Found by part
    // of its name in any case; applied by the arrow and Enter in the filter or
    // by a double click (Enter in the list: drop), each one undo step that
    // keeps the size and the orientation.
    void findAndApply()
    {
        LibraryFixture f;
        QCOMPARE(Ours(f.shown()), kOurs);
        const auto said = [&f](const char* n, const char* size) {
            f.sizeBox()->setText(size);
            return f.at(n).data(Qt::AccessibleTextRole).toString();
        };
        QCOMPARE(said("Wave", "1000"), "Wave, 誤差 2");
        QCOMPARE(said("Wave", "2"), "Wave, 誤差 82");
        QCOMPARE(said("Blue Sky", "2"), "Blue Sky");
        f.choose("Blue Sky");
        const auto shot = f.list()->viewport()->grab().toImage();
        const auto row = f.list()->visualRect(f.at("Blue Sky"));
        std::vector<Colour> strip;
        for (int x = 0; x < frmLibrary::kStripWidth; ++x) {
            const QColor c = shot.pixel(row.left() + 4 + x, row.center().y());
            strip.push_back(MakeColour(c.red(), c.green(), c.blue()));
        }
        QVERIFY(WithinALevel(strip, SampleGradient(kSky, frmLibrary::kStripWidth)));
        QTest::keyClicks(f.filter(), "violet");
        QVERIFY(f.shown().isEmpty() && !f.list()->currentIndex().isValid());
        // Nothing to apply.
        keyClick(f.filter(), Qt::Key_Return);
        QCOMPARE(f.steps(), 0);
        // The filter's own clear button empties it.
        Click(f.filter()->findChild<QToolButton*>());
        QCOMPARE(Ours(f.shown()), kOurs);
        QTest::keyClicks(f.filter(), "sKY");
        QCOMPARE(f.shown(), Names{"Blue Sky"});
        QCOMPARE(f.current(), "Blue Sky");
        f.down();
        const auto before = f.doc().state();
        auto* view = f.list()->viewport();
        const auto at = f.list()->visualRect(f.at("Blue Sky")).center();
        // Nothing chosen: the arrow key in the filter chooses the row; as the
        // window system sends one: a click, then the double click.
        const std::function<void()> ways[] = {
            [&] {
                f.list()->setCurrentIndex({});
                keyClick(f.filter(), Qt::Key_Down);
                keyClick(f.filter(), Qt::Key_Return);
            },
            [&] {
                QTest::mouseClick(view, Qt::LeftButton, {}, at);
                QTest::mouseDClick(view, Qt::LeftButton, {}, at);
            }};
        for (const auto& apply : ways) {
            apply();
            QVERIFY(WithinALevel(DrawGrad(f.pts(), 99), SampleGradient(kSky, 99)));
            QVERIFY(f.steps() == 2 && f.doc().size() == before.size &&
                    f.doc().vertical());
            QVERIFY(f.action("mnuUndo")->text().endsWith(
                UndoMenu::caption(EditStep::Library)));
            f.trigger("mnuUndo");
            QCOMPARE(f.doc().state(), before);
        }
        QCOMPARE(ShownFault(f), "");
    }
    // F2 renames and Delete deletes the user's own gradients, each after asking
    // (a cancel keeps the row); the shipped one can be neither, and nothing is
    // asked. What the window shows is what the folder holds.
    void renameAndDelete()
    {
        LibraryFixture f;
        auto& d = f.dialogs;
        const auto press = [&](const char* row, Qt::Key key) {
            f.choose(row);
            keyClick(f.list(), key);
            return int(d.questions.size() + d.textPrompts.size());
        };
        f.choose("Shipped Red");
        QVERIFY(!f.button("cmdRename")->isEnabled() &&
                !f.button("cmdDelete")->isEnabled());
        QCOMPARE(press("Blue Sky", Qt::Key_F2), 1);
        QVERIFY(f.button("cmdRename")->isEnabled());
        QCOMPARE(press("Blue Sky", Qt::Key_Delete), 2);
        QCOMPARE(Ours(f.shown()), kOurs);
        d.answers = {true};
        d.texts = {QString("Night")};
        QCOMPARE(press("Shipped Red", Qt::Key_F2), 2);
        QCOMPARE(press("Shipped Red", Qt::Key_Delete), 2);
        QCOMPARE(press("Blue Sky", Qt::Key_F2), 3);
        QCOMPARE(Ours(f.shown()), Names({"Night", "Shipped Red", "Wave"}));
        QCOMPARE(press("Night", Qt::Key_Delete), 4);
        QCOMPARE(Ours(f.shown()), Names({"Shipped Red", "Wave"}));
        QCOMPARE(QDir(f.user()).entryList({"*.ggr"}), Names{"Wave.ggr"});
        QVERIFY(d.messages.empty());
    }
    // Both windows read a drop alike: a file that is no gradient is said once;
    // one dropped on the main window is applied too, as one step.
    void drop()
    {
        LibraryFixture f;
        const auto path = f.data.filePath("Dawn.ggr");
        QWidget* on[] = {&f.lib(), &f.w()};
        WriteAll(path, "hello\n");
        for (auto* w : on) {
            f.drop(w, path);
            QCOMPARE(f.said().size(), 1u);
            QVERIFY(f.said()[0].second.contains(path));
            f.dialogs.messages.clear();
        }
        WriteAll(path, WriteGgr(kDawn).c_str());
        f.drop(on[0], path);
        QCOMPARE(f.steps(), 0);
        // As the library applies it.
        f.choose("Dawn");
        keyClick(f.list(), Qt::Key_Return);
        const auto dawn = f.pts();
        f.trigger("mnuUndo");
        f.drop(on[1], path);
        QCOMPARE(f.pts(), dawn);
        QCOMPARE(f.steps(), 1);
        QVERIFY(f.said().empty());
    }
    // Added from the window's points; each type exported read back (the .ggr
    // the gradient itself, the web files the points the window applies, at its
    // size and orientation); Ctrl+V adds a gradient the clipboard holds as CSS,
    // and says why it cannot read anything else.
    void addExportPaste()
    {
        LibraryFixture f;
        f.dialogs.texts = {QString("Mine")};
        Click(f.button("cmdAdd"));
        QCOMPARE(f.current(), "Mine");
        keyClick(f.list(), Qt::Key_Return);
        QCOMPARE(f.pts(), StartupPoints());
        f.sizeBox()->setText("240");
        f.down();
        f.choose("Wave");
        for (const QString type : {"ggr", "svg", "css"}) {
            f.dialogs.files = {f.data.filePath("out." + type)};
            Click(f.button("cmdExport"));
        }
        QCOMPARE(ImportFile(f.data.filePath("out.ggr")).gradients, std::vector{kWave});
        keyClick(f.list(), Qt::Key_Return);
        const WebGradient web{f.pts(), 240, true, 1};
        for (const char* file : {"out.svg", "out.css"})
            QVERIFY(Carries(ImportFile(f.data.filePath(file)).carried, web));
        const auto rows = f.shown().size();
        for (const char* text : {"hello", "a{background:linear-gradient(red,blue)}"}) {
            QGuiApplication::clipboard()->setText(text);
            f.choose("Wave");
            keyClick(f.list(), Qt::Key_V, Qt::ControlModifier);
        }
        QCOMPARE(f.shown().size(), rows + 1);
        QCOMPARE(f.said().size(), 1u);
        QVERIFY(f.current() != "Wave");
    }
    // A file of several gradients asks which (all, or one; or none, cancelled);
    // a control character in a name, and one that turns the text's direction
    // (U+202E), is shown as U+FFFD.
    void several()
    {
        const std::pair<int, const char*> rows[] = {{0, "g1 g2"}, {2, "g2"}, {-1, ""}};
        for (const auto& [choice, added] : rows) {
            LibraryFixture f;
            const auto path = f.data.filePath("two.svg");
            WriteAll(path,
                     "<svg><linearGradient id='g&#9;1'><stop/></linearGradient>"
                     "<linearGradient id='g&#8238;2'><stop/></linearGradient></svg>");
            if (choice >= 0)
                f.dialogs.choices = {choice};
            f.drop(&f.lib(), path);
            const std::vector asked{Names{"すべて (2個)", "g\uFFFD1", "g\uFFFD2"}};
            QCOMPARE(f.dialogs.choiceItems, asked);
            const auto want = QString(added).replace("g", "g\uFFFD");
            QCOMPARE(f.shown().filter("g\uFFFD"), want.split(' ', Qt::SkipEmptyParts));
            QVERIFY(f.said().empty());
        }
    }
};

QTEST_MAIN(tst_LibraryWindow)
#include "tst_library_window.moc"
