// SPDX-License-Identifier: MIT
// The library window on real widgets: the filter, applying as one undo step,
// renaming and deleting the user's own gradients only, files dropped on the
// window and on the main window, the error of a fit and a row's pixels.

#include "core/fit.h"
#include "guifixture.h"
#include "library/frmlibrary.h"

#include <QClipboard>
#include <QListView>
#include <QMimeData>
#include <QPushButton>

using namespace velmix;

namespace {

SegmentColour Grey(double v)
{
    return {v, v, v, 1};
}

// One linear segment: seven points hold it exactly.
NamedGradient Plain(const std::string& name, SegmentColour from)
{
    return {name, {GradSegment{0, 0.5, 1, from, Grey(1)}}};
}

// Twelve stripes of black and white: seven points cannot.
NamedGradient Stripes(const std::string& name)
{
    NamedGradient g{name, {}};
    for (int k = 0; k < 12; ++k) {
        const double left = k / 12.0;
        const double right = (k + 1) / 12.0;
        const SegmentColour c = Grey(k % 2);
        g.segments.push_back({left, (left + right) / 2, right, c, c});
    }
    return g;
}

void Put(const QString& folder, const NamedGradient& g)
{
    QDir().mkpath(folder);
    QFile f(folder + "/" + QString::fromStdString(g.name) + ".ggr");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(WriteGgr(g).c_str());
}

// The rows of this test's own gradients, in order of name: gradients shipped
// beside the test program are not its.
QStringList Ours(QStringList names)
{
    const QStringList ours{"Blue Sky", "Night", "Shipped Red", "Zebra"};
    names.removeIf([&](const QString& n) { return !ours.contains(n); });
    names.sort();
    return names;
}

const NamedGradient kSky = Plain("Blue Sky", {0, 0.4, 1, 1});
const NamedGradient kShipped = Plain("Shipped Red", {1, 0, 0, 1});
const NamedGradient kDawn = Plain("Dawn", {1, 0.5, 0, 1});

struct LibraryFixture : GuiFixture
{
    QTemporaryDir data;

    LibraryFixture()
    {
        qputenv("XDG_DATA_HOME", data.filePath("home").toUtf8());
        qputenv("XDG_DATA_DIRS", data.filePath("system").toUtf8());
        Put(user(), kSky);
        Put(user(), Stripes("Zebra"));
        Put(data.filePath("system/velmix/gradients"), kShipped);
        trigger("mnuLibrary");
        QApplication::setActiveWindow(&lib());
        (void)QTest::qWaitForWindowActive(&lib());
    }

    QString user() const { return data.filePath("home/velmix/gradients"); }
    frmLibrary& lib() { return w().library(); }
    QListView* list() { return child<QListView>(lib(), "lstGrad"); }
    QLineEdit* filter() { return child<QLineEdit>(lib(), "txtFilter"); }

    QStringList shown()
    {
        QStringList names;
        for (int r = 0; r < list()->model()->rowCount(); ++r)
            names << list()->model()->index(r, 0).data().toString();
        return names;
    }
    QModelIndex at(const QString& name)
    {
        const QAbstractItemModel* m = list()->model();
        const auto found = m->match(m->index(0, 0), Qt::DisplayRole, name);
        return found.value(0);
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
};

void tst_LibraryWindow::filter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("ours");
    const QStringList all{"Blue Sky", "Shipped Red", "Zebra"};
    QTest::newRow("nothing typed: all") << "" << all;
    QTest::newRow("a part, in any case") << "sKY" << QStringList{"Blue Sky"};
    QTest::newRow("shipped ones too") << "red" << QStringList{"Shipped Red"};
    QTest::newRow("no match") << "violet" << QStringList{};
}

void tst_LibraryWindow::filter()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, ours);
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
    if (how == "filter") {
        // Nothing chosen: the arrow key in the filter chooses the row.
        QTest::keyClicks(f.filter(), "sky");
        f.list()->setCurrentIndex({});
        QTest::keyClick(f.filter(), Qt::Key_Down);
        QTest::keyClick(f.filter(), Qt::Key_Return);
    } else if (how == "enter") {
        f.choose("Blue Sky");
        QTest::keyClick(f.list(), Qt::Key_Return);
    } else {
        const QPoint p = f.list()->visualRect(f.at("Blue Sky")).center();
        // As the window system sends one: a click, then the double click.
        QTest::mouseClick(f.list()->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(f.list()->viewport(), Qt::LeftButton, {}, p);
    }
    QCOMPARE(f.doc().points(), PointsFor(kSky).points);
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
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("key");
    // A typed name, or "yes"; empty: cancel.
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("asked");
    // The target's name afterwards; empty: gone.
    QTest::addColumn<QString>("after");
    const QString sky = "Blue Sky";
    const QString red = "Shipped Red";
    const int f2 = Qt::Key_F2;
    const int del = Qt::Key_Delete;
    QTest::newRow("F2 renames") << sky << f2 << "Night" << true << "Night";
    QTest::newRow("F2 cancelled") << sky << f2 << "" << true << sky;
    QTest::newRow("Delete, yes") << sky << del << "yes" << true << "";
    QTest::newRow("Delete, no") << sky << del << "" << true << sky;
    QTest::newRow("shipped: no F2") << red << f2 << "Night" << false << red;
    QTest::newRow("shipped: no Delete") << red << del << "yes" << false << red;
}

void tst_LibraryWindow::renameAndDelete()
{
    QFETCH(QString, target);
    QFETCH(int, key);
    QFETCH(QString, answer);
    QFETCH(bool, asked);
    QFETCH(QString, after);
    LibraryFixture f;
    f.dialogs.answers = {answer == "yes"};
    if (!answer.isEmpty() && answer != "yes")
        f.dialogs.texts = {answer};
    f.choose(target);
    const bool own = target != "Shipped Red";
    QCOMPARE(child<QPushButton>(f.lib(), "cmdRename")->isEnabled(), own);
    QCOMPARE(child<QPushButton>(f.lib(), "cmdDelete")->isEnabled(), own);
    QTest::keyClick(f.list(), Qt::Key(key));
    const auto& d = f.dialogs;
    QCOMPARE(d.questions.size() + d.textPrompts.size(), asked ? 1u : 0u);
    QStringList names{"Blue Sky", "Shipped Red", "Zebra"};
    names.replaceInStrings(QRegularExpression("^" + target + "$"), after);
    names.removeAll(QString());
    QCOMPARE(Ours(f.shown()), Ours(names));
    // What the window shows is what the folder holds.
    const QStringList files = QDir(f.user()).entryList({"*.ggr"});
    QCOMPARE(files.size(), after.isEmpty() ? 1 : 2);
    QVERIFY(d.messages.empty());
}

void tst_LibraryWindow::drop_data()
{
    QTest::addColumn<bool>("onMain");
    QTest::addColumn<QByteArray>("file");
    const QByteArray dawn = QByteArray::fromStdString(WriteGgr(kDawn));
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
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    const GradPoints before = f.doc().points();
    f.drop(onMain ? static_cast<QWidget*>(&f.w()) : &f.lib(), path);
    const bool good = file.startsWith("GIMP");
    QCOMPARE(f.shown().contains("Dawn"), good);
    QCOMPARE(f.dialogs.messages.size(), good ? 0u : 1u);
    if (!good)
        QVERIFY(f.dialogs.messages[0].second.contains(path));
    const bool applied = good && onMain;
    QCOMPARE(f.doc().points(), applied ? PointsFor(kDawn).points : before);
    QCOMPARE(f.steps(), applied ? 1 : 0);
}

void tst_LibraryWindow::errorAndStrip()
{
    LibraryFixture f;
    const int error = PointsFor(Stripes("Zebra")).largestError;
    QVERIFY(error > 0);
    const auto said = [&f](const char* name) { return f.at(name).data(Qt::AccessibleTextRole); };
    QCOMPARE(said("Zebra"), QVariant("Zebra, " + frmLibrary::tr("誤差 %1").arg(error)));
    QCOMPARE(said("Blue Sky"), QVariant("Blue Sky"));
    // The selected row's strip too: its colours are not tinted.
    f.choose("Blue Sky");
    const QImage shot = f.list()->viewport()->grab().toImage();
    const QRect row = f.list()->visualRect(f.at("Blue Sky"));
    const int width = frmLibrary::kStripWidth;
    const auto line = DrawGrad(PointsFor(kSky).points, width);
    const int y = row.center().y();
    for (int x = 0; x < width; ++x)
        QCOMPARE(shot.pixel(row.left() + 4 + x, y), Rgb(line[std::size_t(x)]));
}

void tst_LibraryWindow::add()
{
    LibraryFixture f;
    f.dialogs.texts = {QString("Mine")};
    Click(child<QPushButton>(f.lib(), "cmdAdd"));
    QCOMPARE(f.list()->currentIndex().data(), QVariant("Mine"));
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
    Click(child<QPushButton>(f.lib(), "cmdExport"));
    QFile back(path);
    QVERIFY(back.open(QIODevice::ReadOnly));
    const NamedGradient zebra = Stripes("Zebra");
    const WebGradient web{PointsFor(zebra).points, 240, true, 1};
    const std::string wanted = type == "ggr"   ? WriteGgr(zebra)
                               : type == "svg" ? SvgDocument(web)
                                               : CssRule(web);
    QCOMPARE(back.readAll().toStdString(), wanted);
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
    const int rows = int(f.shown().size());
    f.choose("Zebra");
    QTest::keyClick(f.list(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(int(f.shown().size()), rows + (read ? 1 : 0));
    QCOMPARE(f.dialogs.messages.size(), read ? 0u : 1u);
    const QString name = f.list()->currentIndex().data().toString();
    QCOMPARE(name == "Zebra", !read);
}

QTEST_MAIN(tst_LibraryWindow)
#include "tst_library_window.moc"
