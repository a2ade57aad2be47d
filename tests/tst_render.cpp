// SPDX-License-Identifier: MIT
// The files the program writes and velmix-render as a user runs it: every
// image format read back, the exact bytes of a BMP file, the PNG options,
// failed writes that keep the old file, the renderer's exit codes and
// messages, its files against the rasteriser, targets that are not files,
// writes stopped half way, and the signals that end the program.

#include "app/shutdownsignals.h"
#include "common/savefile.h"
#include "core/ggr.h"
#include "core/webgrad.h"
#include "export/exporter.h"
#include "export/transg.h"
#include "settings/moduleini.h"
#include "table.h"
#include "testutil.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdarg>

#include <dlfcn.h>
#include <fcntl.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

using namespace velmix;

namespace {

// ext, size, down, thickness, dither, PNG option
using RoundTrip = std::tuple<QString, int, bool, int, bool, int>;
using Rendered = std::tuple<QString, GradPoints, QSize>;

GradPoints Three(Colour a, Colour b, Colour c, bool bOn)
{
    GradPoints p;
    p.position = {0, 400, 1000};
    p.color = {a, b, c};
    p.enabled = {true, bOn, true};
    return p;
}

StripImage Strip(int size, bool down, int rows, bool dither = false)
{
    return MakeStrip(Three(0xFF, MakeColour(12, 200, 99), 0xFF0000, true), size, down, rows,
                     dither);
}

// The writer for the extension: 0, or the encoder's code of its failure (a
// BMP failure counts as -1), and the system's description in err.
int Save(const QString& ext, const StripImage& s, const QString& path, int option = 1,
         std::string* err = nullptr)
{
    const auto p = path.toStdString();
    const auto r = ext == "bmp"   ? SaveBitmapFile(s, p)
                   : ext == "png" ? DCSavetoPNG(s, p, option)
                                  : DCSavetoJPEG(s, p, 100, 0);
    if (r.ok())
        return 0;
    if (err)
        *err = r.failure().detail;
    using K = FailureKind;
    const auto kind = r.failure().kind;
    return ext == "bmp" ? -1 : kind == K::WriteFailed ? 2 : kind == K::FormatError ? 3 : 1;
}

// The PNG's image data inflated, at most room bytes (-1: longer, or broken).
// Decoders stop at the last row, so surplus rows and the checksum show only here.
qint64 InflatedSize(const QByteArray& png, qint64 room)
{
    QByteArray z, out(room, 0);
    const auto size = [&](qsizetype at) { return qFromBigEndian<quint32>(png.data() + at); };
    for (qsizetype at = 8; at + 8 <= png.size(); at += 12 + size(at))
        if (png.mid(at + 4, 4) == "IDAT")
            z += png.mid(at + 8, size(at));
    auto len = uLongf(room);
    const auto* in = reinterpret_cast<const Bytef*>(z.constData());
    const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &len, in, z.size());
    return rc == Z_OK ? qint64(len) : -1;
}

// Where a test asks for it, an anonymous temporary file (O_TMPFILE) is
// refused as vfat, exFAT, NFS, CIFS and FUSE do, so that a save falls back to
// a named NAME.XXXXXX file. Qt opens its files with open64.
bool g_noTmpfile = false;

// What init() puts in the folder.
const QStringList kFixture{"link.png", "loop.png", "none.ini", "real.png", "v.ini"};

} // namespace

extern "C" int open64(const char* path, int flags, ...)
{
    if (g_noTmpfile && (flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    va_list ap;
    va_start(ap, flags);
    const bool hasMode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
    const auto mode = hasMode ? mode_t(va_arg(ap, int)) : mode_t(0);
    va_end(ap);
    static const auto next =
        reinterpret_cast<int (*)(const char*, int, ...)>(dlsym(RTLD_NEXT, "open64"));
    return next(path, flags, mode);
}

// Compression fails at this many more starts (-1: never), as it does when
// memory runs out.
int g_deflates = -1;

// zlib's own arguments, passed on as they are.
extern "C" int deflateInit2_(z_streamp s, int l, int m, int b, int ml, int st, const char* v, int n)
{
    static const auto next =
        reinterpret_cast<decltype(&deflateInit2_)>(dlsym(RTLD_NEXT, "deflateInit2_"));
    if (g_deflates >= 0 && g_deflates-- == 0)
        return Z_MEM_ERROR;
    return next(s, l, m, b, ml, st, v, n);
}

class tst_Render : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString at(const QString& name) const { return m_dir->filePath(name); }
    // velmix-render with the arguments of a shell line, in the folder, under a file size
    // limit of 100 kB (that a write exceeds it must end in "File too large", not
    // death by SIGXFSZ): the exit code (-1: ended by a signal), and standard error
    // followed by standard output.
    std::pair<int, QString>
    render(const QString& args,
           const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) const
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(m_dir->path());
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit lim{100000, 100000};
            setrlimit(RLIMIT_FSIZE, &lim);
        });
        p.start("/bin/sh", {"-c", "exec \"$VELMIX_RENDER\" " + args});
        p.waitForFinished(60000);
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                p.readAllStandardError() + p.readAllStandardOutput()};
    }
    QStringList files() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void bmpBytes();
    void pngOptions();
    void failures_data()
    {
        TableRows("render_failures.txt", {"ext", "target", "rows", "code", "reason"});
    }
    void failures();
    void exitCodes_data()
    {
        TableRows("render_exits.txt", {"args", "code", "text"}, Named::ByInput);
    }
    void exitCodes();
    void refusedInEnglish_data();
    void refusedInEnglish();
    void rendered_data();
    void rendered();
    void targets_data()
    {
        TableRows("render_targets.txt", {"args", "written", "like"}, Named::ByInput);
    }
    void targets();
    void rootTargets();
    void namedTemporaryRemoved();
    void secondSignalEnds();
    void settingsWritersRace();
    void ignoredStaysIgnored();
};

// A fresh folder for each case, with a settings file that remembers a
// state and one that does not.
void tst_Render::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    WriteAll(at("v.ini"), DataFile("render_v.ini"));
    WriteAll(at("none.ini"), DataFile("render_none.ini"));
    WriteAll(at("real.png"), "old");
    QVERIFY(QFile::link("real.png", at("link.png")));
    QVERIFY(QFile::link("loop.png", at("loop.png")));
}

void tst_Render::roundTrip_data()
{
    QTest::addColumn<RoundTrip>("row");
    // 2000 pixels a row: 174 zero rows make one repeated block of the PNG
    // writer, so 349 rows end on a second whole block, 176 do not.
    // Dithered (bitmap and PNG only): 172 rows make one repeated block
    // of whole dither periods; 344 end on a block, 349 and 5 do not.
    // Size, down, thickness, dithered.
    const int strips[][4] = {{97, 0, 1, 0},     {97, 0, 77, 0},    {97, 1, 1, 0},
                             {97, 1, 2, 0},     {97, 1, 77, 0},    {2000, 0, 176, 0},
                             {2000, 0, 349, 0}, {2000, 0, 344, 1}, {2000, 0, 349, 1},
                             {97, 0, 5, 1},     {97, 1, 77, 1}};
    for (auto ext : {"bmp", "png", "jpg"})
        for (const auto& [size, down, rows, dither] : strips)
            for (int option : ext[0] == 'p' ? QList{0, 1, 2} : QList{1})
                if (!dither || ext[0] != 'j')
                    QTest::addRow("%s%d %d %s %d%s", ext, option, size, down ? "down" : "across",
                                  rows, dither ? " dithered" : "")
                        << RoundTrip{ext, size, down == 1, rows, dither == 1, option};
    // Beyond the JPEG writer's limit for whole-image Huffman tables.
    QTest::newRow("jpg 2000 across 3000") << RoundTrip{"jpg", 2000, false, 3000, false, 1};
}

// Lossless formats pixel for pixel, JPEG within 3 levels; PNG at each option.
void tst_Render::roundTrip()
{
    QFETCH(RoundTrip, row);
    const auto& [ext, size, down, rows, dither, option] = row;
    const auto path = at("out." + ext);
    const auto s = Strip(size, down, rows, dither);
    QCOMPARE(Save(ext, s, path, option), 0);
    const QImage img(path);
    QCOMPARE(img.size(), QSize(s.width(), s.height()));
    const int most = ext == "jpg" ? 3 : 0;
    const auto d = [&](int a, int b) { return std::abs(a - b) > most; };
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            const auto c = s.pixel(x, y);
            if (d(qRed(p), GetRed(c)) || d(qGreen(p), GetGreen(c)) || d(qBlue(p), GetBlue(c)))
                QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
        }
    const qint64 raw = qint64(img.height()) * (1 + 3 * img.width());
    if (ext == "png")
        QCOMPARE(InflatedSize(ReadAll(path), raw + 1), raw);
}

// In tests/data: size, offset, header size, width, height, planes, bits, no
// compression, data size, 96 dpi both ways; rows bottom-up in BGR (rows of 12 bytes need
// no padding; the round trips decode padded ones).
void tst_Render::bmpBytes()
{
    const StripImage s{{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF}, true, 4};
    QCOMPARE(Save("bmp", s, at("a.bmp")), 0);
    const auto hex = QByteArray::fromHex(DataFile("render_bmp.hex"));
    QCOMPARE(ReadAll(at("a.bmp")).toHex(' '), hex.toHex(' '));
}

// PNG's "smallest", "balanced" and "fastest" as their names say, where
// the image lets them differ (top-to-bottom: a window search beats Z_RLE).
void tst_Render::pngOptions()
{
    // Smallest, balanced (small enough for the search), fastest.
    QList<qint64> sizes;
    for (int option : {0, 1, 2}) {
        QCOMPARE(Save("png", Strip(2000, true, 200), at("o.png"), option), 0);
        sizes << QFile(at("o.png")).size();
    }
    QVERIFY2(sizes[0] < sizes[2] && sizes[1] == sizes[0], qPrintable(QDebug::toString(sizes)));
}

// A failed write keeps the old file and leaves nothing behind.
void tst_Render::failures()
{
    QFETCH(QString, ext);
    QFETCH(QString, target);
    QFETCH(QString, rows);
    QFETCH(QString, code);
    QFETCH(QString, reason);
    WriteAll(at("keep." + ext), "precious");
    // No leftovers.
    auto expected = kFixture + QStringList{"keep." + ext};
    const auto path = at(target + "." + ext);
    if (target == "fifo") {
        QCOMPARE(mkfifo(QFile::encodeName(path), 0600), 0);
        expected << "fifo." + ext;
    }
    std::string err;
    {
        FileSizeLimit limit(1000);
        g_deflates = target.startsWith("deflate") ? target.back().digitValue() : -1;
        const auto s = Strip(2000, target.contains("down"), rows.toInt());
        QCOMPARE(Save(ext, s, path, 1, &err), code.toInt());
    }
    QCOMPARE(QString::fromStdString(err), reason);
    QCOMPARE(ReadAll(at("keep." + ext)), "precious");
    expected.sort();
    QCOMPARE(files(), expected);
    // The FIFO is not replaced.
    QCOMPARE(QFileInfo(path).isFile(), target == "keep");
}

void tst_Render::exitCodes()
{
    QFETCH(QString, args);
    QFETCH(QString, code);
    QFETCH(QString, text);
    const auto [got, out] = render(args);
    // A bad argument is one line that points to the usage, not the usage.
    QCOMPARE(got, code.toInt());
    QVERIFY2(out.contains(text), qPrintable(out));
    QVERIFY2(code != "2" || out.count('\n') == 1, qPrintable(out));
    QCOMPARE(files(), kFixture);
}

// Under an English locale what a reader refused is said in English, as
// the windows say it.
void tst_Render::refusedInEnglish_data()
{
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("text");
    QTest::newRow("a .ggr's line") << "--from bad.ggr -o x.png"
                                   << "--from bad.ggr: Line 4: Segment 1 does not have all 11 "
                                      "numbers.";
    QTest::newRow("not a file") << "--from /dev/zero -o x.png"
                                << "--from /dev/zero: This is not a regular file.";
    QTest::newRow("too large") << "--from - -o x.png < big.css"
                               << "--from -: Files over 16 MiB are not read.";
}

void tst_Render::refusedInEnglish()
{
    QFETCH(QString, args);
    QFETCH(QString, text);
    QFile bad(at("bad.ggr")), big(at("big.css"));
    QVERIFY(bad.open(QIODevice::WriteOnly) && bad.write("GIMP Gradient\nName: x\n1\n0 0.5 1\n"));
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize((16 << 20) + 1));
    bad.close();
    big.close();
    auto env = QProcessEnvironment::systemEnvironment();
    env.remove("LC_ALL");
    env.insert("LANG", "en_US.UTF-8");
    QCOMPARE(render(args, env), std::pair(2, "velmix-render: " + text + "\n"));
}

// The renderer's files are the writers' files of the rasteriser's line for
// its points, size, orientation and thickness, given or remembered.
void tst_Render::rendered_data()
{
    // The arguments, the points, the picture's size.
    const QString three = "-p 0:#000000 -p 400:#ff8800:off -p 1000:16777215 -s 40 ";
    const auto p = Three(0, 0x0088FF, 0xFFFFFF, false);
    const auto ini = Three(255, 0, 0xFF0000, false);
    auto ok = p, iniOk = ini;
    ok.blend = iniOk.blend = Blend::OkLab;
    Rows<Rendered>({
        {"remembered: down, tate + 1 across", {"--from-ini v.ini -o g.png", ini, {2, 50}}},
        {"through a link", {"-s 10 -o link.png", StartupPoints(), {10, 1}}},
        {"SVG", {three + "--vertical -o g.svg", p, {1, 40}}},
        {"OKLab CSS", {three + "--blend oklab -t 3 -o g.CSS", ok, {40, 3}}},
        {"OKLab dithered PNG, down",
         {three + "--blend=oklab --dither --vertical -t 9 -o g.png", ok, {9, 40}}},
        // A settings file's remembered blend, unless --blend says otherwise.
        {"remembered OKLab", {"--from-ini ok.ini --dither -o g.bmp", iniOk, {2, 50}}},
        {"ggr", {"--from v.ini -o g.ggr", ini, {2, 50}}},
        // Colours as a web page writes them.
        {"CSS colours",
         {"-p 0:#fff -p '400:rgb(10,20,30)' -p 1000:navy -s 40 -o g.png",
          Three(0xFFFFFF, MakeColour(10, 20, 30), MakeColour(0, 0, 128), true),
          {40, 1}}},
    });
}

void tst_Render::rendered()
{
    QFETCH(Rendered, row);
    const auto& [args, points, size] = row;
    WriteAll(at("ok.ini"), ReadAll(at("v.ini")) + "Blend=1\r\n");
    QCOMPARE(render(args).first, 0);
    const bool down = size.height() > size.width();
    const QSize lr = down ? size.transposed() : size; // length, rows
    const auto out = at(args.section(' ', -1));
    const auto ext = out.right(3);
    const WebGradient web{points, lr.width(), down, lr.height()};
    const auto s = MakeStrip(points, lr.width(), down, lr.height(), args.contains("dither"));
    const bool image = ext == "png" || ext == "bmp";
    if (image)
        QCOMPARE(Save(ext, s, at("expected." + ext)), 0);
    const auto text = ext == "svg"   ? SvgDocument(web)
                      : ext == "CSS" ? CssRule(web)
                                     : WriteGgr(GradientFromPoints("g", points));
    QCOMPARE(ReadAll(out), image ? ReadAll(at("expected." + ext)) : QByteArray(text.c_str()));
    // Written through the link, which stays.
    if (out.endsWith("link.png"))
        QVERIFY(QFileInfo(out).isSymLink() && ReadAll(at("real.png")) != "old");
}

// Standard output in a pipe; any name in the type --type gives; the file a
// link to nothing yet names. For root: a replaced file stays its owner's,
// and a link another user left in a shared folder is not followed.
void tst_Render::targets()
{
    QFETCH(QString, args);
    QFETCH(QString, written);
    QFETCH(QString, like);
    QVERIFY(QFile::link("made.png", at("new.png")));
    QCOMPARE(render("-s 40 " + args), std::pair(0, QString()));
    QCOMPARE(render("-s 40 " + like).first, 0);
    // made.png: the link followed.
    QCOMPARE(ReadAll(at(written)), ReadAll(at(like.mid(3))));
}

void tst_Render::rootTargets()
{
    if (geteuid() != 0)
        QSKIP("only root can give a file to another user");
    // Another user's file, and root's in another user's group.
    for (auto [name, uid, gid] : {std::tuple{"u.png", 65534u, 0u}, {"g.png", 0u, 65534u}}) {
        const auto path = QFile::encodeName(at(name));
        WriteAll(at(name), "old");
        QVERIFY(chown(path, uid, gid) == 0);
        QCOMPARE(render(QString("-o ") + name).first, 0);
        struct stat st = {};
        QVERIFY(stat(path, &st) == 0 && st.st_size > 3);
        QCOMPARE(std::pair(st.st_uid, st.st_gid), std::pair(uid, gid));
    }
    QVERIFY(QDir().mkdir(at("shared")));
    QVERIFY(chmod(QFile::encodeName(at("shared")), 01777) == 0);
    QVERIFY(QFile::link("../planted.png", at("shared/x.png")));
    QVERIFY(lchown(QFile::encodeName(at("shared/x.png")), 65534, 65534) == 0);
    const auto why = "velmix-render: -o shared/x.png: a link of another user in a shared folder\n";
    QCOMPARE(render("-o shared/x.png"), std::pair(2, QString(why)));
    QVERIFY(!QFileInfo::exists(at("planted.png")));
}

// On a file system without anonymous temporary files the save's named one
// is what a stopping signal's handler removes.
void tst_Render::namedTemporaryRemoved()
{
    QStringList during, removed;
    g_noTmpfile = true;
    (void)SaveThrough(at("keep.bmp"), [&](QFileDevice&) {
        during = files();
        RemoveInProgressFile();
        removed = files();
        return false;
    });
    g_noTmpfile = false;
    QCOMPARE(during.filter(QRegularExpression("^keep\\.bmp\\.\\w{6}$")).size(), 1);
    QCOMPARE(removed, kFixture);
}

// A second of SIGTERM, SIGINT, SIGHUP ends the process at once, in case
// the shutdown the first asked for is stuck (the first: tests/e2e).
void tst_Render::secondSignalEnds()
{
    ShutdownSignals signals_;
    const pid_t child = fork();
    if (child == 0) {
        std::raise(SIGTERM);
        std::raise(SIGINT); // no event loop runs: the shutdown never ends
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
}

// Two copies writing the settings file in the same instant each keep their
// unit: the read, merge and replace are one under the file's lock.
void tst_Render::settingsWritersRace()
{
    const QString path = at("velmix.ini");
    for (int round = 0; round < 10; ++round) {
        QFile::remove(path);
        ModuleINI first;
        first.SetIniFile(path);
        QVERIFY(first.SaveIni(Settings{}).ok());
        int go[2];
        QVERIFY(pipe(go) == 0);
        for (int k = 0; k < 2; ++k)
            if (fork() == 0) {
                ModuleINI ini;
                ini.SetIniFile(path);
                Settings s = ini.LoadIni().value_or(Settings{});
                char c = 0;
                const bool started = read(go[0], &c, 1) == 1;
                (k ? s.Language : s.SaveInitPath) = k ? "en" : "/a/";
                _exit(started && ini.SaveUnits(s, k ? kUnitLanguage : kUnitSaveFolder).ok() ? 0
                                                                                            : 1);
            }
        QCOMPARE(write(go[1], "gg", 2), 2);
        for (int k = 0; k < 2; ++k) {
            int status = 1;
            QVERIFY(wait(&status) > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        close(go[0]);
        close(go[1]);
        ModuleINI after;
        after.SetIniFile(path);
        const auto s = after.LoadIni();
        QVERIFY(s && s->SaveInitPath == "/a/" && s->Language == "en");
    }
}

// The renderer's handlers: SIGTERM, SIGINT, SIGHUP remove that file and
// end the process, SIGXFSZ is ignored. A signal ignored from the start
// (nohup) stays ignored, also by the program's shutdown signals.
void tst_Render::ignoredStaysIgnored()
{
    const auto old = std::signal(SIGHUP, SIG_IGN);
    {
        ShutdownSignals signals_;
        std::raise(SIGHUP);
        QCOMPARE(ShutdownSignals::received(), 0);
    }
    InstallSaveSignalHandlers();
    for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGXFSZ}) {
        struct sigaction now = {};
        sigaction(sig, nullptr, &now);
        QVERIFY(now.sa_handler ==
                (sig == SIGTERM || sig == SIGINT ? RemoveInProgressFileAndDie : SIG_IGN));
    }
    std::signal(SIGHUP, old);
}

QTEST_GUILESS_MAIN(tst_Render)
#include "tst_render.moc"
