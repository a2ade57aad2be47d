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
using Bytes = QByteArray;
using K = RefusalKind;
using Row = std::tuple<QString, QString, bool>;

NamedGradient Plain(const QString& name)
{
    return {name.toStdString(), {GradSegment{0, 0.5, 1, {1, 0, 0, 1}, {0, 0, 1, 1}}}};
}

void Put(const QString& path, const Bytes& text)
{
    QDir().mkpath(QFileInfo(path).path());
    WriteAll(path, text);
}

Bytes GgrOf(const NamedGradient& g)
{
    return Bytes::fromStdString(WriteGgr(g));
}

// rrggbb, and aa where not opaque.
QString Hex(const SegmentColour& c)
{
    QString out;
    for (double v : {c.red, c.green, c.blue, c.alpha})
        out += QString::number(qRound(v * 255) + 256, 16).mid(1);
    return out.endsWith("ff") ? out.left(6) : out;
}

// "name: left-right from to,..." (one colour where both are), " v" where it
// runs down.
QString Describe(const GradImport& read, size_t i)
{
    const auto& g = read.gradients.at(i);
    QStringList parts;
    for (const auto& s : g.segments) {
        const auto t = QString("%1-%2 ").arg(s.left).arg(s.right);
        const auto from = Hex(s.leftColour);
        const auto to = Hex(s.rightColour);
        parts << t + from + (to == from ? "" : " " + to);
    }
    return Q(g.name) + ": " + parts.join(",") + (read.vertical.at(i) ? " v" : "");
}

// Each entry's name, "*" after the shipped ones.
Names NamesOf(const GradLibrary& lib)
{
    Names names;
    for (const auto& e : lib.entries())
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
    Names Files() const { return QDir(m_user).entryList(QDir::Files); }

private slots:
    void init()
    {
        QVERIFY(QDir(m_dir.path()).removeRecursively());
        m_user = m_dir.filePath("home/velmix/gradients");
        m_shipped = m_dir.filePath("share/velmix/gradients");
        for (const QString name : {"Sky", "paper"})
            Put(m_shipped + "/" + name.toLower() + ".ggr", GgrOf(Plain(name)));
    }
    // The filter's reading of a name: either width, any case, either kana.
    void filterKey_data()
    {
        Rows<Row>({
            {"half-width", {"背景グレー", "ｸﾞﾚｰ", true}},
            {"hiragana", {"背景グレー", "ぐれー", true}},
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
    // Each row's name is the gradient's; one too long for a file name is cut
    // between characters.
    void fileNames_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("a\tb\x7f") << "a_b_";
        QTest::newRow("../up") << "_._up";
        QTest::newRow("") << "_";
        QTest::newRow(QString(100, u'あ').toUtf8().constData()) << QString(66, u'あ');
    }
    void fileNames()
    {
        QFETCH(QString, file);
        QCOMPARE(GradLibrary::FileNameFor(QString::fromUtf8(QTest::currentDataTag())),
                 file);
    }
    // Gradients added by name to a folder that holds a bad.ggr that does not
    // read: a name is taken only by a listed one ("*" shipped); a file only by
    // a file there.
    void takenNames()
    {
        Put(m_user + "/bad.ggr", "GIMP Gradient\n");
        auto lib = Library();
        for (const QString name : {"a/b", "a_b", "a_b", "a_b"})
            QVERIFY(lib.add(Plain(name)).ok());
        QCOMPARE(NamesOf(lib),
                 Names({"a/b", "a_b", "a_b (2)", "a_b (3)", "paper*", "Sky*"}));
        QCOMPARE(Files(), Names({"a_b (2) (2).ggr", "a_b (2).ggr", "a_b (3).ggr",
                                 "a_b.ggr", "bad.ggr"}));
    }
    // Files that would be read for ever or fill the memory, and a folder, are
    // refused unread, and passed by in the folder; one of exactly the limit
    // reads.
    void refused()
    {
        const auto fifo = m_user + "/fifo.ggr";
        const auto big = m_user + "/big.ggr";
        const auto ggr = GgrOf(Plain("a"));
        Put(m_user + "/a.ggr", ggr);
        QCOMPARE(mkfifo(QFile::encodeName(fifo), 0600), 0);
        Put(big, Bytes(kMaxGradientFile + 1, ' '));
        // The wording of each kind is pinned in both languages by tst_language.
        const std::pair<QString, K> files[] = {
            {fifo, K::NotRegular}, {big, K::TooLarge}, {m_dir.path(), K::Folder}};
        for (const auto& [path, kind] : files) {
            QCOMPARE(ImportFile(path).refusal.kind, kind);
            auto lib = Library();
            const auto text = ResultText(lib.import(path));
            QCOMPARE(NamesOf(lib), Names({"a", "paper*", "Sky*"}));
            QVERIFY(text.contains(path + ": " + RefusalText(kind)));
        }
        Put(big, ggr + Bytes(kMaxGradientFile - ggr.size(), '\n'));
        QVERIFY(!ImportFile(big).refusal);
    }
    // A rename that cannot write, to a new file or in place, leaves the file.
    void renameAndRemove()
    {
        auto lib = Library();
        QVERIFY(lib.add(Plain("mint")).ok());
        const auto mint = m_user + "/mint.ggr";
        const auto before = ReadAll(mint);
        for (const QString name : {"dawn", "mint"}) {
            const auto text = [&] {
                const FileSizeLimit limit(16);
                return ResultText(lib.rename(0, name));
            }();
            QVERIFY(text.startsWith("ファイルに書きこめません。") &&
                    text.contains(m_user + "/"));
            QCOMPARE(ReadAll(mint), before);
            QCOMPARE(Files(), Names{"mint.ggr"});
            QCOMPARE(NamesOf(lib).first(), "mint");
        }
        QVERIFY(lib.rename(0, "Sky").ok());
        QCOMPARE(NamesOf(lib), Names({"paper*", "Sky*", "Sky (2)"}));
        QCOMPARE(Files(), Names{"Sky (2).ggr"});
        QVERIFY(lib.remove(2).ok());
        // One past the end is no entry.
        QVERIFY(!lib.remove(2).ok());
        // The shipped ones can be neither.
        const auto sky = m_shipped + "/sky.ggr";
        const auto shipped = ReadAll(sky);
        QCOMPARE(lib.rename(1, "x").failure().kind, FailureKind::ReadOnly);
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
    void changedMeanwhile_data()
    {
        QTest::addColumn<bool>("rename");
        QTest::newRow("rename, same time") << true;
        QTest::newRow("delete") << false;
    }
    void changedMeanwhile()
    {
        QFETCH(bool, rename);
        GradLibrary mine(m_user, {});
        QVERIFY(mine.add(Plain("mint")).ok());
        const auto path = m_user + "/mint.ggr";
        const auto listed = QFileInfo(path).lastModified();
        GradLibrary other(m_user, {});
        QVERIFY(other.remove(0).ok());
        auto theirs = Plain("mint");
        theirs.segments[0].rightColour = {0, 1, 0, 1};
        QVERIFY(other.add(theirs).ok());
        QFile f(path);
        QVERIFY(!rename || (f.open(QFile::ReadWrite) &&
                            f.setFileTime(listed, QFile::FileModificationTime)));
        const auto act = [&] { return rename ? mine.rename(0, "x") : mine.remove(0); };
        QVERIFY(ResultText(act()).startsWith(path + " は一覧を読んだ後で"));
        QCOMPARE(ReadAll(path), GgrOf(theirs));
        QCOMPARE(mine.entries().at(0).gradient, theirs);
        QVERIFY(act().ok());
    }
    // Random points through our SVG export (the CSS one: tst_ggr): read as
    // any file, its stops draw them; imported, known by their text, they come back
    // exactly under the file's name. An edited SVG is read as any other.
    void ourExports()
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
            const auto svg = Bytes::fromStdString(SvgDocument(web));
            const auto read = ReadSvg(svg, "a");
            QVERIFY(Carries(read.carried, web));
            QCOMPARE(read.vertical, std::vector{web.vertical});
            const auto drawn = SampleCentres(read.gradients.at(0), web.length);
            QVERIFY(WithinALevel(drawn, DrawGrad(p, web.length)));
            QCOMPARE(ImportText(svg, "a.txt").gradients,
                     std::vector{GradientFromPoints("a", p)});
            const auto other = ReadSvg(Bytes(svg).replace("rgb(", "rgb(-"), "a");
            QVERIFY(!other.carried);
            QCOMPARE(other.gradients.at(0).name, "velmix");
        }
        const auto ggr = "GIMP Gradient\n1\n0 0 1 0 0 0 1 0 0 0 1 0 0";
        QCOMPARE(ImportText(ggr, "a").gradients.size(), 1u);
        QCOMPARE(ImportText("hello", "a.txt").refusal.kind, K::NoType);
        QCOMPARE(ImportText("GIMP Palette", "a.ggr").refusal.kind, K::GgrNotGimp);
    }
    // A drawing's gradients, each listed once and read alone as listed: the
    // cascade of attributes, style sheets and style; offsets clamped, never
    // going back; colour and opacity apart; references followed through
    // radial ones (a loop: svgRefusals); the vector's way, units and transforms.
    void svg()
    {
        const Names want{"b: 0-1 00ff0099",
                         "c: 0-0.25 ff0000,0.25-0.75 ff0000 7777ff,0.75-1 7777ff",
                         "d: 0-0.6 ffffff 000000,0.6-1 ff0000 0000ff",
                         "e: 0-0.5 000000,0.5-1 000000",
                         "Dusk: 0-1 123456",
                         "l: 0-1 000080",
                         "k2: 0-0.5 00ff0080 0000ff,0.5-1 0000ff ffff0033",
                         "f: 0-1 112233",
                         "r: 0-0.75 0000ff ff0000,0.75-1 ff0000",
                         "up: 0-0.75 0000ff ff0000,0.75-1 ff0000 v",
                         "tr: 0-0.25 ff0000,0.25-1 ff0000 0000ff v",
                         "p: 0-1 0000ff",
                         "file 16: 0-1 ff0000"};
        const auto svg = DataFile("svg_foreign.svg");
        const auto read = ReadSvg(svg, "file");
        Names all;
        for (size_t i = 0; i < read.gradients.size(); ++i)
            all << Describe(read, i);
        QCOMPARE(all, want);
        for (const auto& one : want)
            QCOMPARE(Describe(ReadSvg(svg, "file", one.section(':', 0, 0)), 0), one);
    }
    void svgRefusals_data()
    {
        QTest::addColumn<QString>("svg");
        QTest::addColumn<QString>("says");
        QTest::newRow("loop") << "<svg><linearGradient href='#b' id='a'/>"
                                 "<linearGradient href='#a' id='b'/></svg>"
                              << "stopのあるlinearGradientがありません。";
        const QString a(46, 'a');
        const auto cut = "「" + a.left(40) + "…」";
        QTest::newRow("colour")
            << "<svg><linearGradient id='" + a + "'><stop stop-color='" + a +
                   "'/></linearGradient></svg>"
            << "グラデーション" + cut + "のstop-color" + cut + "は色として読めません。";
    }
    void svgRefusals()
    {
        QFETCH(QString, svg);
        QFETCH(QString, says);
        QCOMPARE(RefusalText(ReadSvg(svg.toUtf8(), "file").refusal), says);
    }
    // A chain of references is followed once however long, at most a thousand
    // links; files that would expand to hundreds of millions of stops, or need
    // as many selector tests, are refused at once.
    void svgBounds()
    {
        QString chain = "<svg><radialGradient id='g0'><stop/></radialGradient>";
        for (int i = 1; i <= 20000; ++i)
            chain +=
                QString("<linearGradient id='g%1' href='#g%2'/>").arg(i).arg(i - 1);
        const auto read = ReadSvg(chain.toUtf8() + "</svg>", "f");
        QCOMPARE(read.gradients.size(), 1000u);
        QCOMPARE(read.gradients.back().name, "g1000");
        const auto kind = [](const Bytes& svg) {
            return ReadSvg(svg + "</svg>", "f").refusal.kind;
        };
        const auto stops = Bytes("<stop/>").repeated(20000);
        const auto refs = Bytes("<linearGradient href='#r'/>").repeated(20000);
        QCOMPARE(
            kind("<svg><radialGradient id='r'>" + stops + "</radialGradient>" + refs),
            K::SvgTooManyStops);
        QCOMPARE(kind("<svg><linearGradient>" + stops.repeated(15)),
                 K::SvgTooManyStops);
        Bytes rules = "<svg><style>";
        for (int i = 0; i < 20000; ++i)
            rules += ".a.b" + Bytes::number(i) + "{stop-color:red}";
        rules +=
            "</style><linearGradient>" + Bytes("<stop class='a'/>").repeated(20000);
        QCOMPARE(kind(rules), K::SvgTooManyRules);
        // An XML error's long token is quoted cut: the message fits on a line.
        const auto xml =
            RefusalText(ReadSvg("<svg>&" + Bytes(300, 'x') + ";</svg>", "f").refusal);
        QVERIFY(xml.startsWith("SVGとして読めません(1行目: ") && xml.size() <= 120);
    }
};

QTEST_GUILESS_MAIN(TestLibrary)
#include "tst_library.moc"
