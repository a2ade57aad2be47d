// SPDX-License-Identifier: MIT
// The gradient library: its folders found from the XDG variables, names
// and file names kept apart, the shipped gradients left alone, writes that
// fail leaving the files as they were, and SVG files read as browsers and
// Inkscape read them.
#include "export/failuretext.h"
#include "library/gradlibrary.h"
#include "testutil.h"

#include <QDir>
#include <QTemporaryDir>

using namespace velmix;

namespace {

NamedGradient Plain(const std::string& name)
{
    return {name, {GradSegment{0, 0.5, 1, {1, 0, 0, 1}, {0, 0, 1, 1}}}};
}

void Put(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    WriteAll(path, text);
}

QString Hex(const SegmentColour& c)
{
    QString out;
    for (double channel : {c.red, c.green, c.blue, c.alpha})
        out += QString::number(qRound(channel * 255) + 256, 16).mid(1);
    return out;
}

// "left-right from to" for each segment, joined by ", ".
QString Describe(const NamedGradient& g)
{
    QStringList parts;
    for (const GradSegment& s : g.segments)
        parts << QString("%1-%2 ").arg(s.left).arg(s.right) + Hex(s.leftColour) + " " +
                     Hex(s.rightColour);
    return parts.join(", ");
}

// Each entry's name, "*" after the shipped ones.
QStringList Names(const GradLibrary& library)
{
    QStringList names;
    for (const LibraryEntry& e : library.entries())
        names << QString::fromStdString(e.gradient.name) + (e.readOnly ? "*" : "");
    return names;
}

} // namespace

class TestLibrary : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_user;
    QString m_shipped;

    GradLibrary Library() const { return GradLibrary(m_user, {m_shipped}); }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively());
        m_user = m_dir.filePath("home/velmix/gradients");
        m_shipped = m_dir.filePath("share/velmix/gradients");
        for (const char* name : {"Sky", "paper"})
            Put(m_shipped + "/" + QString(name).toLower() + ".ggr",
                QByteArray::fromStdString(WriteGgr(Plain(name))));
    }

    void standardFolders()
    {
        qputenv("XDG_DATA_HOME", m_dir.filePath("home").toUtf8());
        const QString dirs = m_dir.filePath("none") + ":" + m_dir.filePath("share");
        qputenv("XDG_DATA_DIRS", dirs.toUtf8());
        GradLibrary library = GradLibrary::Standard();
        QVERIFY(!QFileInfo::exists(m_user)); // made only when first written
        QVERIFY(library.add(Plain("mint")).ok());
        QVERIFY(library.add(Plain("Dusk")).ok());
        // Sorted without regard to case, the user's among the shipped ones.
        QCOMPARE(Names(library), QStringList({"Dusk", "mint", "paper*", "Sky*"}));
        QCOMPARE(library.entries()[1].path, m_user + "/mint.ggr");
    }

    // Every shipped gradient reads, as a few linear pieces the seven
    // points hold exactly.
    void shipped()
    {
        const QString folder = qEnvironmentVariable("VELMIX_SOURCE") + "/gradients";
        const GradLibrary library(m_user, {folder});
        QCOMPARE(library.entries().size(), size_t(12));
        for (const LibraryEntry& e : library.entries())
            QVERIFY(e.readOnly && ExactPoints(e.gradient));
    }

    // Each row's name is the gradient's.
    void fileNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("a/b/c") << "a_b_c";
        QTest::newRow("a\tb\x7f") << "a_b_";
        QTest::newRow(".hidden") << "_hidden";
        QTest::newRow("v1.2.") << "v1.2.";
        QTest::newRow("../up") << "_._up";
        QTest::newRow("") << "_";
        QTest::newRow("夕焼け") << "夕焼け";
    }
    void fileNames()
    {
        QFETCH(QString, file);
        const QString name = QString::fromUtf8(QTest::currentDataTag());
        QCOMPARE(GradLibrary::FileNameFor(name), file);
    }

    void takenNames_data()
    {
        QTest::addColumn<QStringList>("adds");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("shipped name") << QStringList{"Sky"} << QStringList{"Sky (2).ggr"};
        QTest::newRow("twice") << QStringList{"a", "a", "a"}
                               << QStringList{"a (2).ggr", "a (3).ggr", "a.ggr"};
        QTest::newRow("same file name")
            << QStringList{"a/b", "a_b"} << QStringList{"a_b (2).ggr", "a_b.ggr"};
        // A file of a shipped one's file name hides nothing.
        QTest::newRow("shipped file name") << QStringList{"sky"} << QStringList{"sky.ggr"};
    }
    void takenNames()
    {
        QFETCH(QStringList, adds);
        QFETCH(QStringList, files);
        GradLibrary library = Library();
        for (const QString& name : adds)
            QVERIFY(library.add(Plain(name.toStdString())).ok());
        QCOMPARE(QDir(m_user).entryList(QDir::Files, QDir::Name), files);
        for (const QString& file : files) {
            const auto read = ReadGgr(ReadAll(m_user + "/" + file).toStdString(), "");
            const QString name = QString::fromStdString(read.gradient->name);
            QCOMPARE(GradLibrary::FileNameFor(name) + ".ggr", file);
        }
        QCOMPARE(library.entries().size(), size_t(2 + adds.size()));
    }

    void renameAndRemove()
    {
        GradLibrary library = Library();
        QVERIFY(library.add(Plain("mint")).ok());
        QVERIFY(library.rename(0, "Sky").ok());
        QCOMPARE(Names(library), QStringList({"paper*", "Sky*", "Sky (2)"}));
        QCOMPARE(QDir(m_user).entryList(QDir::Files), QStringList{"Sky (2).ggr"});
        QVERIFY(library.remove(2).ok());
        // The shipped ones can be neither.
        const QByteArray before = ReadAll(m_shipped + "/sky.ggr");
        const Result renamed = library.rename(1, "x");
        QCOMPARE(renamed.failure().kind, FailureKind::ReadOnly);
        QCOMPARE(ResultText(renamed), "付属のグラデーションは名前の変更も削除もできません。");
        QCOMPARE(library.remove(1).failure().kind, FailureKind::ReadOnly);
        QCOMPARE(ReadAll(m_shipped + "/sky.ggr"), before);
        QCOMPARE(Names(library), QStringList({"paper*", "Sky*"}));
    }

    void failedWriteLeavesFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("new file") << "dawn";
        QTest::newRow("same file") << "mint"; // the file is replaced in place
    }
    void failedWriteLeavesFile()
    {
        QFETCH(QString, name);
        GradLibrary library = Library();
        QVERIFY(library.add(Plain("mint")).ok());
        const QString path = m_user + "/mint.ggr";
        const QByteArray before = ReadAll(path);
        Result result;
        {
            const FileSizeLimit limit(16);
            result = library.rename(0, name);
        }
        QCOMPARE(result.failure().task, FailedTask::RenameGradient);
        QVERIFY(ResultText(result).startsWith("ファイルに書きこめません。"));
        QCOMPARE(ReadAll(path), before);
        QCOMPARE(QDir(m_user).entryList(QDir::Files), QStringList{"mint.ggr"});
        QCOMPARE(Names(library).first(), "mint");
    }

    void import_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("names"); // or the message's first line
        const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg'>"
                               "<linearGradient id='g1'><stop stop-color='red'/>"
                               "</linearGradient><linearGradient id='g2'>"
                               "<stop stop-color='blue'/></linearGradient></svg>";
        const QByteArray ggr = QByteArray::fromStdString(WriteGgr(Plain("dawn")));
        QTest::newRow("svg by content")
            << "a.txt" << svg << QStringList{"g1", "g2", "paper*", "Sky*"};
        QTest::newRow("ggr, no extension") << "a" << ggr << QStringList{"dawn", "paper*", "Sky*"};
        QTest::newRow("neither") << "a.txt" << QByteArray("hello")
                                 << QStringList{"グラデーションを読み取れません。"};
        QTest::newRow("folder") << "" << QByteArray() << QStringList{"ファイルが読めません。"};
    }
    void import()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, content);
        QFETCH(QStringList, names);
        const QString path = m_dir.filePath(file);
        if (!file.isEmpty())
            Put(path, content);
        GradLibrary library = Library();
        const Result result = library.import(path);
        if (!result.ok())
            QCOMPARE(ResultText(result).split("\r\n").first(), names.first());
        else
            QCOMPARE(Names(library), names);
        QCOMPARE(ImportFile(path).gradients.size(), size_t(result.ok() ? names.size() - 2 : 0));
    }

    // Our own exports bring back their very points, the OKLab one its
    // stops.
    void carried_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("blend");
        QTest::newRow("SVG") << "a.svg" << int(Blend::Rgb);
        QTest::newRow("CSS") << "a.css" << int(Blend::Rgb);
        QTest::newRow("OKLab SVG") << "a.svg" << int(Blend::OkLab);
    }
    void carried()
    {
        QFETCH(QString, file);
        QFETCH(int, blend);
        GradPoints points = StartupPoints();
        points.blend = Blend(blend);
        const WebGradient web{points, 37, true, 5};
        const std::string text = file.endsWith("svg") ? SvgDocument(web) : CssRule(web);
        Put(m_dir.filePath(file), QByteArray::fromStdString(text));
        const auto carried = ImportFile(m_dir.filePath(file)).carried;
        QVERIFY(carried && carried->points == points && carried->length == 37);
        QVERIFY(carried->vertical && carried->thickness == 5);
        GradLibrary library(m_user, {});
        QVERIFY(library.import(m_dir.filePath(file)).ok());
        const auto exact = ExactPoints(library.entries()[0].gradient);
        QCOMPARE(exact.has_value(), points.blend == Blend::Rgb);
        QVERIFY(!exact || *exact == StartupPoints());
    }

    // Rows write <L> for linearGradient, <R> for radialGradient, <S for
    // stop.
    void svg_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("expected"); // the first gradient, or the error
        QTest::newRow("attributes") << "<L id='a'><S offset='0' stop-color='#f00'/>"
                                       "<S offset='1' stop-color='Blue'/></L>"
                                    << "a: 0-1 ff0000ff 0000ffff";
        QTest::newRow("style wins") << "<L id='a'><S stop-color='red' style="
                                       "'stop-color:rgb(0, 255, 0);stop-opacity:0.6'/></L>"
                                    << "a: 0-1 66ff66ff 66ff66ff";
        QTest::newRow("percentages, flat ends")
            << "<L id='a'><S offset='25%' stop-color='rgb(100%,0%,0%)'/>"
               "<S offset='75%' stop-color='#00F8'/></L>"
            << "a: 0-0.25 ff0000ff ff0000ff, "
               "0.25-0.75 ff0000ff 7777ffff, 0.75-1 7777ffff 7777ffff";
        QTest::newRow("clamped, never back")
            << "<L id='a'><S offset='-1' stop-color='white'/>"
               "<S offset='0.6' stop-color='black'/>"
               "<S offset='0.3' stop-color='red'/>"
               "<S offset='2' stop-color='blue'/></L>"
            << "a: 0-0.6 ffffffff 000000ff, 0.6-1 ff0000ff 0000ffff";
        QTest::newRow("Inkscape's form") << "<L inkscape:label='Dusk' id='v'><S offset='0' "
                                            "style='stop-color:#123456;stop-opacity:1'/></L>"
                                            "<L xlink:href='#v' id='u' x1='0' x2='1'/>"
                                         << "Dusk: 0-1 123456ff 123456ff";
        QTest::newRow("href chain through radial")
            << "<L href='#r2' id='l'/><R id='r2' xlink:href='#r1'/>"
               "<R id='r1'><S stop-color='navy'/></R>"
            << "l: 0-1 000080ff 000080ff";
        QTest::newRow("loop") << "<L href='#b' id='a'/><L href='#a' id='b'/>"
                              << "stopのあるlinearGradientがありません。";
        QTest::newRow("bad colour")
            << "<L id='a'><S stop-color='reddish'/></L>"
            << "グラデーション「a」のstop-color「reddish」は色として読めません。";
        QTest::newRow("not XML") << "<L>"
                                 << "SVGとして読めません(1行目: "
                                    "Opening and ending tag mismatch.)。";
    }
    void svg()
    {
        QFETCH(QString, body);
        QFETCH(QString, expected);
        body.replace("<L", "<linearGradient").replace("</L>", "</linearGradient>");
        body.replace("<R", "<radialGradient").replace("</R>", "</radialGradient>");
        body.replace("<S ", "<stop ");
        const QString svg = "<svg xmlns='http://www.w3.org/2000/svg' "
                            "xmlns:xlink='http://www.w3.org/1999/xlink' xmlns:inkscape="
                            "'http://www.inkscape.org/namespaces/inkscape'><defs>" +
                            body + "</defs></svg>";
        const GradImport read = ReadSvg(svg.toUtf8(), "file");
        const auto& all = read.gradients;
        if (all.empty())
            QCOMPARE(QString::fromStdString(read.error), expected);
        else
            QCOMPARE(QString::fromStdString(all[0].name) + ": " + Describe(all[0]), expected);
        QCOMPARE(all.size(), size_t(all.empty() ? 0 : 1));
    }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
