// SPDX-License-Identifier: MIT
// The gradient library: its folders found from the XDG variables, names
// and file names kept apart, the shipped gradients left alone, writes that
// fail leaving the files as they were, and SVG files read as browsers and
// Inkscape read them.
#include "common/failuretext.h"
#include "library/gradlibrary.h"
#include "points.h"
#include "table.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

using Names = QStringList;
// A name, what is typed, and whether the filter finds it.
using KeyRow = std::tuple<QString, QString, bool>;

NamedGradient Plain(const QString& name)
{
    const GradSegment s{0, 0.5, 1, {1, 0, 0, 1}, {0, 0, 1, 1}};
    return {name.toStdString(), {s}};
}

void Put(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    WriteAll(path, text);
}

QByteArray GgrOf(const NamedGradient& g)
{
    return QByteArray::fromStdString(WriteGgr(g));
}

QString Hex(const SegmentColour& c)
{
    QString out;
    for (double v : {c.red, c.green, c.blue, c.alpha})
        out += QString::number(qRound(v * 255) + 256, 16).mid(1);
    return out;
}

// "name: left-right from to, ..." for each segment.
QString Describe(const NamedGradient& g, bool vertical = false)
{
    QStringList parts;
    for (const GradSegment& s : g.segments) {
        QString t = QString("%1-%2 ").arg(s.left).arg(s.right);
        parts << t + Hex(s.leftColour) + " " + Hex(s.rightColour);
    }
    return Q(g.name) + ": " + parts.join(", ") + (vertical ? " (vertical)" : "");
}

// Each entry's name, "*" after the shipped ones.
Names NamesOf(const GradLibrary& lib)
{
    Names names;
    for (const LibraryEntry& e : lib.entries())
        names << Q(e.gradient.name) + (e.readOnly ? "*" : "");
    return names;
}

} // namespace

class TestLibrary : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_user;
    QString m_shipped;

    GradLibrary Library() const { return {m_user, {m_shipped}}; }
    Names Files() const { return QDir(m_user).entryList(QDir::Files, QDir::Name); }

private slots:
    void init();
    // The filter's reading of a name: either width, any case, either kana.
    void filterKey_data()
    {
        Rows<KeyRow>({
            {"half-width katakana", {"ページ背景グレー", "ｸﾞﾚｰ", true}},
            {"hiragana for katakana", {"ページ背景グレー", "ぐれー", true}},
            {"katakana for hiragana", {"そらいろ", "ソライロ", true}},
            {"full width, case", {"sky", "ＳＫＹ", true}},
            {"voiced is not plain", {"グレー", "クレー", false}},
        });
    }
    void filterKey()
    {
        QFETCH(KeyRow, row);
        const auto& [name, typed, found] = row;
        QCOMPARE(FilterKey(name).contains(FilterKey(typed)), found);
    }
    void standardFolders();
    void shipped();
    void fileNames_data();
    void fileNames();
    void takenNames_data() { TableRows("library_names.txt", {"adds", "names", "files"}); }
    void takenNames();
    void longName();
    void refused_data();
    void refused();
    void atTheLimit();
    void refusalsCut_data();
    void refusalsCut();
    void renameAndRemove();
    void changedMeanwhile_data();
    void changedMeanwhile();
    void failedWriteLeavesFile_data();
    void failedWriteLeavesFile();
    void import_data() { TableRows("library_import.txt", {"file", "content", "names"}); }
    void import();
    void carried_data();
    void carried();
    void svgChain();
    void svg_data() { TableRows("svg_read.txt", {"body", "expected"}); }
    void svg();
    void svgFade();
    void svgBounds_data();
    void svgBounds();
};

void TestLibrary::init()
{
    QVERIFY(QDir(m_dir.path()).removeRecursively());
    m_user = m_dir.filePath("home/velmix/gradients");
    m_shipped = m_dir.filePath("share/velmix/gradients");
    for (const QString name : {"Sky", "paper"})
        Put(m_shipped + "/" + name.toLower() + ".ggr", GgrOf(Plain(name)));
}

void TestLibrary::standardFolders()
{
    const auto in = [&](const char* d) { return m_dir.filePath(d); };
    qputenv("XDG_DATA_HOME", in("home").toUtf8());
    qputenv("XDG_DATA_DIRS", (in("none") + ":" + in("share")).toUtf8());
    auto lib = GradLibrary::Standard();
    // The folder is made only when first written.
    QVERIFY(!QFileInfo::exists(m_user));
    QVERIFY(lib.add(Plain("mint")).ok());
    QVERIFY(lib.add(Plain("Dusk")).ok());
    // Sorted without regard to case, the user's among the shipped
    // ones.
    QCOMPARE(NamesOf(lib), Names({"Dusk", "mint", "paper*", "Sky*"}));
    QCOMPARE(lib.entries()[1].path, m_user + "/mint.ggr");
}

// Every shipped gradient reads, as a few linear pieces the seven
// points hold exactly.
void TestLibrary::shipped()
{
    const auto dir = qEnvironmentVariable("VELMIX_SOURCE") + "/gradients";
    const GradLibrary lib(m_user, {dir});
    QCOMPARE(lib.entries().size(), size_t(12));
    for (const LibraryEntry& e : lib.entries())
        QVERIFY(e.readOnly && ExactPoints(e.gradient));
}

// Each row's name is the gradient's.
void TestLibrary::fileNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("a/b/c") << "a_b_c";
    QTest::newRow("a\tb\x7f") << "a_b_";
    QTest::newRow("v1.2.") << "v1.2.";
    QTest::newRow("../up") << "_._up";
    QTest::newRow("") << "_";
    QTest::newRow("夕焼け") << "夕焼け";
}

void TestLibrary::fileNames()
{
    QFETCH(QString, file);
    const auto name = QString::fromUtf8(QTest::currentDataTag());
    QCOMPARE(GradLibrary::FileNameFor(name), file);
}

void TestLibrary::takenNames()
{
    QFETCH(QString, adds);
    QFETCH(QString, names);
    QFETCH(QString, files);
    // Listed as nothing, yet its file is there.
    Put(m_user + "/bad.ggr", "GIMP Gradient\n");
    auto lib = Library();
    for (const QString& name : adds.split(';'))
        QVERIFY(lib.add(Plain(name)).ok());
    QCOMPARE(NamesOf(lib).join(';'), names);
    QCOMPARE(Files().join(';'), files);
}

// A name too long for a file name is kept whole in the file.
void TestLibrary::longName()
{
    const QString name(100, QChar(0x3042)); // 300 bytes
    GradLibrary lib(m_user, {});
    QVERIFY(lib.add(Plain(name)).ok());
    QVERIFY(lib.add(Plain(name)).ok());
    const QString file(66, QChar(0x3042));
    QCOMPARE(Files(), Names({file + " (2).ggr", file + ".ggr"}));
    QCOMPARE(NamesOf(lib), Names({name, name + " (2)"}));
}

// Files that would be read for ever, or fill the memory, are refused
// unread, and passed by in the folder.
void TestLibrary::refused_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("error");
    const QString special = "通常のファイルではありません。";
    QTest::newRow("device") << "/dev/zero" << special;
    QTest::newRow("FIFO") << "fifo.ggr" << special;
    QTest::newRow("16 MiB") << "big.ggr"
                            << "16 MiBを超えるファイルは読みません。";
}

void TestLibrary::refused()
{
    QFETCH(QString, file);
    QFETCH(QString, error);
    const auto path = QDir(m_user).filePath(file);
    Put(m_user + "/a.ggr", GgrOf(Plain("a")));
    if (file == "fifo.ggr")
        QCOMPARE(mkfifo(QFile::encodeName(path), 0600), 0);
    else if (file == "big.ggr")
        Put(path, QByteArray(kMaxGradientFile + 1, ' '));
    QCOMPARE(RefusalText(ImportFile(path).refusal), error);
    auto lib = Library();
    const auto text = ResultText(lib.import(path));
    QCOMPARE(NamesOf(lib), Names({"a", "paper*", "Sky*"}));
    QVERIFY2(text.contains(path + ": " + error), qPrintable(text));
}

// A file of exactly the limit is still read.
void TestLibrary::atTheLimit()
{
    const auto path = m_user + "/limit.ggr";
    QByteArray text = GgrOf(Plain("a"));
    text += QByteArray(kMaxGradientFile - text.size(), '\n');
    Put(path, text);
    QVERIFY(!ImportFile(path).refusal);
}

// A token of megabytes, in any reader, is quoted cut: the message fits on
// a line.
void TestLibrary::refusalsCut_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("text"); // %1: five million letters
    QTest::newRow("css token") << "a.css"
                               << "a{background:linear-gradient(red,%1)}";
    QTest::newRow("css colour")
        << "a.css"
        << "a{background-image:linear-gradient(red,blue);background-color:%1}";
    QTest::newRow("svg colour") << "a.svg"
                                << "<svg><linearGradient id='%1'><stop stop-color='%1'/>"
                                   "</linearGradient></svg>";
    QTest::newRow("xml entity") << "a.svg"
                                << "<svg>&%1;</svg>";
    QTest::newRow("ggr count") << "a.ggr"
                               << "GIMP Gradient\n%1\n";
    QTest::newRow("no type") << "a"
                             << "%1";
}

void TestLibrary::refusalsCut()
{
    QFETCH(QString, file);
    QFETCH(QString, text);
    const auto read = ImportText(text.arg(QString(5000000, 'x')).toUtf8(), file);
    QVERIFY(read.gradients.empty());
    const QString message = RefusalText(read.refusal);
    QVERIFY2(message.size() <= 120 && !message.isEmpty(), qPrintable(message.left(200)));
}

void TestLibrary::renameAndRemove()
{
    auto lib = Library();
    QVERIFY(lib.add(Plain("mint")).ok());
    QVERIFY(lib.rename(0, "Sky").ok());
    QCOMPARE(NamesOf(lib), Names({"paper*", "Sky*", "Sky (2)"}));
    QCOMPARE(Files(), Names{"Sky (2).ggr"});
    QVERIFY(lib.remove(2).ok());
    // One past the end is no entry.
    QCOMPARE(ResultText(lib.remove(2)),
             "グラデーションを読み取れません。\r\nそのグラデーションはありません。");
    // The shipped ones can be neither.
    const QString sky = m_shipped + "/sky.ggr";
    const auto before = ReadAll(sky);
    const auto renamed = lib.rename(1, "x");
    QCOMPARE(renamed.failure().kind, FailureKind::ReadOnly);
    QCOMPARE(ResultText(renamed), "付属のグラデーションは名前の変更も削除もできません。");
    QCOMPARE(lib.remove(1).failure().kind, FailureKind::ReadOnly);
    QCOMPARE(ReadAll(sky), before);
    QCOMPARE(NamesOf(lib), Names({"paper*", "Sky*"}));
    // A file already gone just leaves the list.
    QVERIFY(lib.add(Plain("gone")).ok());
    QVERIFY(QFile::remove(m_user + "/gone.ggr"));
    QVERIFY(lib.remove(0).ok());
}

// Two copies open on one folder: what the other wrote since this one
// listed the file is neither renamed away nor deleted; the list is read
// again and says what the file now holds.
void TestLibrary::changedMeanwhile_data()
{
    QTest::addColumn<bool>("rename");
    QTest::addColumn<bool>("sameTime");
    QTest::newRow("rename, rewritten") << true << false;
    QTest::newRow("rename, same size and time") << true << true;
    QTest::newRow("delete, rewritten") << false << false;
    QTest::newRow("delete, same size and time") << false << true;
}

void TestLibrary::changedMeanwhile()
{
    QFETCH(bool, rename);
    QFETCH(bool, sameTime);
    GradLibrary mine(m_user, {});
    QVERIFY(mine.add(Plain("mint")).ok());
    const QString path = m_user + "/mint.ggr";
    const QDateTime listed = QFileInfo(path).lastModified();
    // The other copy deletes it and adds its own "mint", as long.
    GradLibrary other(m_user, {});
    QVERIFY(other.remove(0).ok());
    NamedGradient theirs = Plain("mint");
    theirs.segments[0].rightColour = {0, 1, 0, 1};
    QVERIFY(other.add(theirs).ok());
    QCOMPARE(ReadAll(path).size(), GgrOf(Plain("mint")).size());
    if (sameTime) {
        QFile file(path);
        QVERIFY(file.open(QFile::ReadWrite) &&
                file.setFileTime(listed, QFileDevice::FileModificationTime));
    }
    const Result result = rename ? mine.rename(0, "x") : mine.remove(0);
    QCOMPARE(result.failure().kind, FailureKind::Changed);
    QCOMPARE(ResultText(result),
             path + " は一覧を読んだ後でほかのプログラムに変更されていたので、そのままにしました。"
                    "一覧を読み直しました。");
    QCOMPARE(ReadAll(path), GgrOf(theirs));
    QCOMPARE(Files(), Names{"mint.ggr"});
    QCOMPARE(mine.entries().at(0).gradient, theirs);
    QVERIFY(rename ? mine.rename(0, "x").ok() : mine.remove(0).ok());
}

void TestLibrary::failedWriteLeavesFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("new file") << "dawn";
    // The file is replaced in place.
    QTest::newRow("same file") << "mint";
}

void TestLibrary::failedWriteLeavesFile()
{
    QFETCH(QString, name);
    auto lib = Library();
    QVERIFY(lib.add(Plain("mint")).ok());
    const QString path = m_user + "/mint.ggr";
    const auto before = ReadAll(path);
    Result result;
    {
        const FileSizeLimit limit(16);
        result = lib.rename(0, name);
    }
    QCOMPARE(result.failure().task, FailedTask::RenameGradient);
    const auto text = ResultText(result);
    QVERIFY(text.startsWith("ファイルに書きこめません。"));
    QVERIFY(text.contains(m_user + "/"));
    QCOMPARE(ReadAll(path), before);
    QCOMPARE(Files(), Names{"mint.ggr"});
    QCOMPARE(NamesOf(lib).first(), "mint");
}

void TestLibrary::import()
{
    QFETCH(QString, file);
    QFETCH(QString, content);
    QFETCH(QString, names);
    const QString path = m_dir.filePath(file);
    if (!file.isEmpty())
        Put(path, content.toUtf8());
    auto lib = Library();
    const auto result = lib.import(path);
    const bool ok = result.ok();
    if (!ok)
        QCOMPARE(ResultText(result).split("\r\n").first(), names);
    else
        QCOMPARE(NamesOf(lib).join(';'), names);
    const auto read = ImportFile(path).gradients.size();
    QCOMPARE(read, size_t(ok ? names.count(';') - 1 : 0));
}

// Our own exports bring back their very points, the OKLab one its
// stops, under the file's name; an edited one is read as any other.
void TestLibrary::carried_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Blend>("blend");
    QTest::addColumn<QString>("edit");
    QTest::newRow("SVG") << "a.svg" << Blend::Rgb << "";
    QTest::newRow("CSS") << "a.css" << Blend::Rgb << "";
    QTest::newRow("OKLab SVG") << "a.svg" << Blend::OkLab << "";
    QTest::newRow("SVG, edited") << "a.svg" << Blend::Rgb << "stop-color='red'";
}

void TestLibrary::carried()
{
    QFETCH(QString, file);
    QFETCH(Blend, blend);
    QFETCH(QString, edit);
    WebGradient web{StartupPoints(), 37, true, 5};
    web.points.blend = blend;
    QString text = Q(file.endsWith("svg") ? SvgDocument(web) : CssRule(web));
    if (!edit.isEmpty())
        text.replace(QRegularExpression("stop-color=\"[^\"]*\""), edit);
    const QString path = m_dir.filePath(file);
    Put(path, text.toUtf8());
    const auto read = ImportFile(path);
    QCOMPARE(Carries(read.carried, web), edit.isEmpty());
    QCOMPARE(Q(read.gradients.at(0).name), edit.isEmpty() ? "a" : "velmix");
    GradLibrary lib(m_user, {});
    QVERIFY(lib.import(path).ok());
    const auto exact = ExactPoints(lib.entries()[0].gradient);
    QCOMPARE(exact == StartupPoints(), blend == Blend::Rgb && edit.isEmpty());
}

// Each gradient's stops are found once, however long the chain that
// leads to them; a chain longer than a thousand links draws nothing.
void TestLibrary::svgChain()
{
    auto svg = DataFile("svg_head.svg") + "<radialGradient id='g0'><stop/></radialGradient>";
    for (int i = 1; i <= 20000; ++i)
        svg += QString("<linearGradient id='g%1' href='#g%2'/>").arg(i).arg(i - 1).toUtf8();
    const auto read = ReadSvg(svg + "</defs></svg>", "file");
    QCOMPARE(read.gradients.size(), size_t(1000));
    QCOMPARE(read.gradients.back().name, "g1000");
}

void TestLibrary::svg()
{
    QFETCH(QString, body);
    QFETCH(QString, expected);
    const auto svg = DataFile("svg_head.svg") + body.toUtf8() + "</defs></svg>";
    const auto read = ReadSvg(svg, "file");
    QStringList all;
    for (size_t i = 0; i < read.gradients.size(); ++i)
        all << Describe(read.gradients[i], read.vertical.at(i));
    QCOMPARE(all.isEmpty() ? RefusalText(read.refusal) : all.join("; "), expected);
    // Each one named is read alone, as it was listed.
    for (size_t i = 0; i < read.gradients.size(); ++i) {
        const auto one = ReadSvg(svg, "file", Q(read.gradients[i].name));
        QCOMPARE(one.gradients.size(), size_t(1));
        QCOMPARE(Describe(one.gradients[0], one.vertical.at(0)), all[qsizetype(i)]);
    }
}

// Colour and opacity interpolated apart, then over the white page, as
// Chromium draws them: (191, 128, 191) half way from opaque red to clear
// blue, not the premultiplied (255, 128, 128).
void TestLibrary::svgFade()
{
    const auto svg =
        DataFile("svg_head.svg") +
        "<linearGradient id='a'><stop stop-color='red'/>"
        "<stop offset='1' stop-color='blue' stop-opacity='0'/></linearGradient></defs></svg>";
    const auto samples = SampleGradient(ReadSvg(svg, "file").gradients.at(0), 1000);
    QCOMPARE(samples[500], MakeColour(191, 128, 191));
}

// A file of a few megabytes that would expand to hundreds of millions of
// stops, or need as many selector tests, is refused at once.
void TestLibrary::svgBounds_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("each");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("error");
    const QString many = "stopが多すぎます(参照で増えるものも含めて20万個までしか読みません)。";
    QByteArray stops = "<radialGradient id='r'>";
    for (int i = 0; i < 20000; ++i)
        stops += "<stop offset='1'/>";
    QTest::newRow("borrowed stops") << stops + "</radialGradient>"
                                    << QByteArray("<linearGradient href='#r'/>") << 20000 << many;
    QTest::newRow("own stops") << QByteArray("<linearGradient>") << QByteArray("<stop/>") << 300000
                               << many;
    QByteArray rules = "<style>";
    for (int i = 0; i < 20000; ++i)
        rules += ".a.b" + QByteArray::number(i) + "{stop-color:red}";
    QTest::newRow("selector tests")
        << rules + "</style><linearGradient>" << QByteArray("<stop class='a'/>") << 20000
        << QString("styleの規則が多すぎて、stopの色を決められません。");
}

void TestLibrary::svgBounds()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, each);
    QFETCH(int, count);
    QFETCH(QString, error);
    const QByteArray svg = DataFile("svg_head.svg") + head + each.repeated(count) +
                           (head.endsWith("<linearGradient>") ? "</linearGradient>" : "") +
                           "</defs></svg>";
    QCOMPARE(RefusalText(ReadSvg(svg, "file").refusal), error);
}

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
