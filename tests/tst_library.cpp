// SPDX-License-Identifier: MIT
// The gradient library: its folders found from the XDG variables, names
// and file names kept apart, the shipped gradients left alone, writes that
// fail or files changed meanwhile left as they were; SVG read as browsers
// and Inkscape read it, our own exports brought back exactly.
#include "common/failuretext.h"
#include "library/gradlibrary.h"
#include "points.h"
#include "table.h"

#include <QDir>
#include <QTemporaryDir>

#include <random>
#include <sys/stat.h>

namespace {

using Names = QStringList;
using K = RefusalKind;
using Row = std::tuple<QString, QString, bool>;

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

// "name: left-right from to, ..." and whether it runs down.
QString Describe(const GradImport& read, std::size_t i)
{
    const auto& g = read.gradients.at(i);
    QStringList parts;
    for (const GradSegment& s : g.segments) {
        const auto t = QString("%1-%2 ").arg(s.left).arg(s.right);
        parts << t + Hex(s.leftColour) + " " + Hex(s.rightColour);
    }
    const auto down = read.vertical.at(i) ? " (vertical)" : "";
    return Q(g.name) + ": " + parts.join(", ") + down;
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
        Rows<Row>({
            {"half-width", {"ページ背景グレー", "ｸﾞﾚｰ", true}},
            {"hiragana", {"ページ背景グレー", "ぐれー", true}},
            {"katakana", {"そらいろ", "ソライロ", true}},
            {"full width", {"sky", "ＳＫＹ", true}},
            {"voiced", {"グレー", "クレー", false}},
        });
    }
    void filterKey()
    {
        QFETCH(Row, row);
        const auto& [name, typed, found] = row;
        QCOMPARE(FilterKey(name).contains(FilterKey(typed)), found);
    }
    void shipped();
    void fileNames_data();
    void fileNames();
    void takenNames_data();
    void takenNames();
    void refused();
    void renameAndRemove();
    void changedMeanwhile_data();
    void changedMeanwhile();
    void ourExports();
    void svg();
    void svgRefusals_data();
    void svgRefusals();
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

// Every gradient we ship reads, as a few linear pieces the seven points
// hold exactly.
void TestLibrary::shipped()
{
    const auto ours = qEnvironmentVariable("VELMIX_SOURCE") + "/gradients";
    const GradLibrary shipped(m_user, {ours});
    QCOMPARE(shipped.entries().size(), size_t(12));
    for (const LibraryEntry& e : shipped.entries())
        QVERIFY(e.readOnly && ExactPoints(e.gradient));
}

// Each row's name is the gradient's; one too long for a file name is cut
// between characters.
void TestLibrary::fileNames_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("a\tb\x7f") << "a_b_";
    QTest::newRow("../up") << "_._up";
    QTest::newRow("") << "_";
    QTest::newRow(QString(100, u'あ').toUtf8().constData()) << QString(66, u'あ');
}

void TestLibrary::fileNames()
{
    QFETCH(QString, file);
    const auto name = QString::fromUtf8(QTest::currentDataTag());
    QCOMPARE(GradLibrary::FileNameFor(name), file);
}

// Gradients added by name to a folder that holds a bad.ggr that does not
// read: the names listed afterwards ("*" shipped) and the user's files. A
// name is taken only by a listed one; a file only by a file there.
void TestLibrary::takenNames_data()
{
    QTest::addColumn<QString>("adds");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("files");
    QTest::newRow("file") << "a/b;a_b"
                          << "a/b;a_b;paper*;Sky*"
                          << "a_b (2).ggr;a_b.ggr;bad.ggr";
    QTest::newRow("twice") << "a;a;a"
                           << "a;a (2);a (3);paper*;Sky*"
                           << "a (2).ggr;a (3).ggr;a.ggr;bad.ggr";
}

void TestLibrary::takenNames()
{
    QFETCH(QString, adds);
    QFETCH(QString, names);
    QFETCH(QString, files);
    Put(m_user + "/bad.ggr", "GIMP Gradient\n");
    auto lib = Library();
    for (const QString& name : adds.split(';'))
        QVERIFY(lib.add(Plain(name)).ok());
    QCOMPARE(NamesOf(lib).join(';'), names);
    QCOMPARE(Files().join(';'), files);
}

// Files that would be read for ever or fill the memory, and a folder, are
// refused unread, and passed by in the folder; one of exactly the limit
// reads.
void TestLibrary::refused()
{
    const auto fifo = m_user + "/fifo.ggr";
    const auto big = m_user + "/big.ggr";
    Put(m_user + "/a.ggr", GgrOf(Plain("a")));
    QCOMPARE(mkfifo(QFile::encodeName(fifo), 0600), 0);
    Put(big, QByteArray(kMaxGradientFile + 1, ' '));
    // The wording of each kind is pinned in both languages by tst_language.
    const std::pair<QString, RefusalKind> files[] = {
        {fifo, K::NotRegular}, {big, K::TooLarge}, {m_dir.path(), K::Folder}};
    for (const auto& [path, kind] : files) {
        QCOMPARE(ImportFile(path).refusal.kind, kind);
        auto lib = Library();
        const auto text = ResultText(lib.import(path));
        QCOMPARE(NamesOf(lib), Names({"a", "paper*", "Sky*"}));
        QVERIFY(text.contains(path + ": " + RefusalText(kind)));
    }
    QByteArray text = GgrOf(Plain("a"));
    Put(big, text + QByteArray(kMaxGradientFile - text.size(), '\n'));
    QVERIFY(!ImportFile(big).refusal);
}

// A rename that cannot write, to a new file or in place, leaves the file.
void TestLibrary::renameAndRemove()
{
    auto lib = Library();
    QVERIFY(lib.add(Plain("mint")).ok());
    const auto before = ReadAll(m_user + "/mint.ggr");
    for (const QString name : {"dawn", "mint"}) {
        const auto failed = [&] {
            const FileSizeLimit limit(16);
            return ResultText(lib.rename(0, name));
        };
        const auto text = failed();
        QVERIFY(text.startsWith("ファイルに書きこめません。"));
        QVERIFY(text.contains(m_user + "/"));
        QCOMPARE(ReadAll(m_user + "/mint.ggr"), before);
        QCOMPARE(Files(), Names{"mint.ggr"});
        QCOMPARE(NamesOf(lib).first(), "mint");
    }
    QVERIFY(lib.rename(0, "Sky").ok());
    QCOMPARE(NamesOf(lib), Names({"paper*", "Sky*", "Sky (2)"}));
    QCOMPARE(Files(), Names{"Sky (2).ggr"});
    QVERIFY(lib.remove(2).ok());
    // One past the end is no entry.
    QCOMPARE(ResultText(lib.remove(2)),
             "グラデーションを読み取れません。\r\nそのグラデーションはありません。");
    // The shipped ones can be neither.
    const QString sky = m_shipped + "/sky.ggr";
    const auto shipped = ReadAll(sky);
    const auto renamed = lib.rename(1, "x");
    QCOMPARE(ResultText(renamed), "付属のグラデーションは名前の変更も削除もできません。");
    QCOMPARE(lib.remove(1).failure().kind, FailureKind::ReadOnly);
    QCOMPARE(ReadAll(sky), shipped);
    QCOMPARE(NamesOf(lib), Names({"paper*", "Sky*"}));
    // A file already gone just leaves the list.
    QVERIFY(lib.add(Plain("gone")).ok());
    QVERIFY(QFile::remove(m_user + "/gone.ggr"));
    QVERIFY(lib.remove(0).ok());
}

// Two copies open on one folder: what the other wrote since this one
// listed the file, even at the same size and time, is neither renamed
// away nor deleted; the list is read again and says what the file holds.
void TestLibrary::changedMeanwhile_data()
{
    QTest::addColumn<bool>("rename");
    QTest::newRow("rename, same time") << true;
    QTest::newRow("delete") << false;
}

void TestLibrary::changedMeanwhile()
{
    QFETCH(bool, rename);
    GradLibrary mine(m_user, {});
    QVERIFY(mine.add(Plain("mint")).ok());
    const QString path = m_user + "/mint.ggr";
    const auto listed = QFileInfo(path).lastModified();
    GradLibrary other(m_user, {});
    QVERIFY(other.remove(0).ok());
    NamedGradient theirs = Plain("mint");
    theirs.segments[0].rightColour = {0, 1, 0, 1};
    QVERIFY(other.add(theirs).ok());
    QFile file(path);
    const auto modified = QFileDevice::FileModificationTime;
    QVERIFY(!rename || (file.open(QFile::ReadWrite) && file.setFileTime(listed, modified)));
    const Result result = rename ? mine.rename(0, "x") : mine.remove(0);
    QCOMPARE(ResultText(result),
             path + " は一覧を読んだ後でほかのプログラムに変更されていたので、そのままにしました。"
                    "一覧を読み直しました。");
    QCOMPARE(ReadAll(path), GgrOf(theirs));
    QCOMPARE(mine.entries().at(0).gradient, theirs);
    QVERIFY(rename ? mine.rename(0, "x").ok() : mine.remove(0).ok());
}

// Random points through our SVG export (the CSS one: tst_ggr): read as
// any file, its stops draw them; imported, known by their text, they come back
// exactly under the file's name. An edited SVG is read as any other.
void TestLibrary::ourExports()
{
    std::mt19937 rnd(5);
    for (int round = 0; round < 100; ++round) {
        GradPoints p;
        for (int i = 0; i < kPointCount; ++i) {
            p.position[i] = int(rnd() % 1001);
            p.color[i] = MakeColour(rnd() % 256, rnd() % 256, rnd() % 256);
            p.enabled[i] = rnd() % 3 != 0;
        }
        p.blend = Blend(rnd() % 2);
        const WebGradient web{p, 4 + int(rnd() % 900), rnd() % 2 == 0, 5};
        const auto svg = QByteArray::fromStdString(SvgDocument(web));
        const auto read = ReadSvg(svg, "a");
        QVERIFY(Carries(read.carried, web));
        QCOMPARE(read.vertical, std::vector{web.vertical});
        const auto drawn = SampleCentres(read.gradients.at(0), web.length);
        QVERIFY(WithinALevel(drawn, DrawGrad(p, web.length)));
        const std::vector want{GradientFromPoints("a", p)};
        QCOMPARE(ImportText(svg, "a.txt").gradients, want);
        const auto other = ReadSvg(QByteArray(svg).replace("rgb(", "rgb(-"), "a");
        QVERIFY(!other.carried);
        QCOMPARE(other.gradients.at(0).name, "velmix");
    }
    const auto ggr = "GIMP Gradient\n1\n0 0 1 0 0 0 1 0 0 0 1 0 0";
    QCOMPARE(ImportText(ggr, "a").gradients.size(), size_t(1));
    QCOMPARE(ImportText("hello", "a.txt").refusal.kind, RefusalKind::NoType);
}

// A drawing's gradients, each listed once and read alone as listed: the
// cascade of attributes, style sheets and style; offsets clamped, never
// going back; colour and opacity apart; references followed through
// radial ones (a loop: svgRefusals); the vector's way, units and transforms.
void TestLibrary::svg()
{
    const Names want{"b: 0-1 00ff0099 00ff0099",
                     "c: 0-0.25 ff0000ff ff0000ff, 0.25-0.75 ff0000ff 7777ffff, "
                     "0.75-1 7777ffff 7777ffff",
                     "d: 0-0.6 ffffffff 000000ff, 0.6-1 ff0000ff 0000ffff",
                     "e: 0-0.5 000000ff 000000ff, 0.5-1 000000ff 000000ff",
                     "Dusk: 0-1 123456ff 123456ff",
                     "l: 0-1 000080ff 000080ff",
                     "k2: 0-0.5 00ff0080 0000ffff, 0.5-1 0000ffff ffff0033",
                     "f: 0-1 112233ff 112233ff",
                     "r: 0-0.75 0000ffff ff0000ff, 0.75-1 ff0000ff ff0000ff",
                     "up: 0-0.75 0000ffff ff0000ff, 0.75-1 ff0000ff ff0000ff (vertical)",
                     "tr: 0-0.25 ff0000ff ff0000ff, 0.25-1 ff0000ff 0000ffff (vertical)",
                     "p: 0-1 0000ffff 0000ffff",
                     "file 16: 0-1 ff0000ff ff0000ff"};
    const auto svg = DataFile("svg_foreign.svg");
    const auto read = ReadSvg(svg, "file");
    Names all;
    for (size_t i = 0; i < read.gradients.size(); ++i)
        all << Describe(read, i);
    QCOMPARE(all, want);
    for (const QString& one : want) {
        const auto alone = ReadSvg(svg, "file", one.section(':', 0, 0));
        QCOMPARE(Describe(alone, 0), one);
    }
}

void TestLibrary::svgRefusals_data()
{
    QTest::addColumn<QByteArray>("svg");
    QTest::addColumn<QByteArray>("says");
    QTest::newRow("loop") << QByteArray("<svg><linearGradient href='#b' id='a'/>"
                                        "<linearGradient href='#a' id='b'/></svg>")
                          << QByteArray("stopのあるlinearGradientがありません。");
    const QByteArray a(46, 'a');
    QTest::newRow("colour") << "<svg><linearGradient id='" + a + "'><stop stop-color='" + a +
                                   "'/></linearGradient></svg>"
                            << "グラデーション「" + a.left(40) + "…」のstop-color「" + a.left(40) +
                                   "…」は色として読めません。";
    QTest::newRow("not XML")
        << QByteArray("<svg><a></svg>")
        << QByteArray("SVGとして読めません(1行目: Opening and ending tag mismatch.)。");
}

void TestLibrary::svgRefusals()
{
    QFETCH(QByteArray, svg);
    QFETCH(QByteArray, says);
    QCOMPARE(RefusalText(ReadSvg(svg, "file").refusal).toUtf8(), says);
}

// A chain of references is followed once however long, at most a thousand
// links; files that would expand to hundreds of millions of stops, or need
// as many selector tests, are refused at once.
void TestLibrary::svgBounds()
{
    QByteArray chain = "<svg><radialGradient id='g0'><stop/></radialGradient>";
    for (int i = 1; i <= 20000; ++i)
        chain += QString("<linearGradient id='g%1' href='#g%2'/>").arg(i).arg(i - 1).toUtf8();
    const auto read = ReadSvg(chain + "</svg>", "file");
    QCOMPARE(read.gradients.size(), size_t(1000));
    QCOMPARE(read.gradients.back().name, "g1000");
    const QByteArray stops = "<svg><radialGradient id='r'>" +
                             QByteArray("<stop/>").repeated(20000) + "</radialGradient>" +
                             QByteArray("<linearGradient href='#r'/>").repeated(20000);
    QByteArray rules = "<svg><style>";
    for (int i = 0; i < 20000; ++i)
        rules += ".a.b" + QByteArray::number(i) + "{stop-color:red}";
    rules += "</style><linearGradient>" + QByteArray("<stop class='a'/>").repeated(20000);
    const QByteArray own = "<svg><linearGradient>" + QByteArray("<stop/>").repeated(300000);
    for (const QByteArray& svg : {stops, own})
        QCOMPARE(ReadSvg(svg + "</svg>", "file").refusal.kind, K::SvgTooManyStops);
    const auto styled = ReadSvg(rules + "</linearGradient></svg>", "file");
    QCOMPARE(styled.refusal.kind, K::SvgTooManyRules);
    // An XML error's long token is quoted cut: the message fits on a line.
    const auto entity = ReadSvg("<svg>&" + QByteArray(300, 'x') + ";</svg>", "f");
    QVERIFY(RefusalText(entity.refusal).size() <= 120);
}

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
