// SPDX-License-Identifier: MIT
// The files the program writes and velmix-render as a user runs it: every
// image format read back, the exact bytes of a BMP file, the PNG options,
// failed writes that keep the old file, the renderer's exit codes and
// messages where they reach the shared code, writes stopped half way, and
// the save's signal handlers.

#include "common/savefile.h"
#include "export/exporter.h"
#include "export/transg.h"
#include "points.h"
#include "table.h"

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
#include <unistd.h>
#include <zlib.h>

using namespace velmix;

namespace {

// ext, size, down, thickness, dither, PNG option
using Trip = std::tuple<QString, int, bool, int, bool, int>;
// ext, target, rows, code, reason
using Fail = std::tuple<QString, QString, int, int, QString>;
using Exit = std::pair<int, QString>;

StripImage Strip(int size, bool down, int rows, bool dither = false)
{
    const auto p = Points("0/ff0000 400/0cc863 1000/0000ff");
    return MakeStrip(p, size, down, rows, dither);
}

// The writer for the extension: 0, or the encoder's code of its
// failure (a BMP failure counts as -1), and the system's reason.
int Save(QString ext, const StripImage& s, QString to, int opt = 1, std::string* e = {})
{
    const auto p = to.toStdString();
    const auto r = ext == "bmp"   ? SaveBitmapFile(s, p)
                   : ext == "png" ? DCSavetoPNG(s, p, opt)
                                  : DCSavetoJPEG(s, p, 100, 0);
    if (r.ok())
        return 0;
    if (e)
        *e = r.failure().detail;
    using K = FailureKind;
    const auto k = r.failure().kind;
    const int code = k == K::WriteFailed ? 2 : k == K::FormatError ? 3 : 1;
    return ext == "bmp" ? -1 : code;
}

// The PNG's image data inflated (empty: broken). Decoders stop at the
// last row: surplus rows show only here.
QByteArray Inflated(const QByteArray& png)
{
    // No size hint before the zlib stream: qUncompress grows as it needs.
    QByteArray z(4, 0);
    auto size = [&](qsizetype i) { return qFromBigEndian<quint32>(png.data() + i); };
    for (qsizetype i = 8; i + 8 <= png.size(); i += 12 + size(i))
        if (png.mid(i + 4, 4) == "IDAT")
            z += png.mid(i + 8, size(i));
    return qUncompress(z);
}

// Where a test asks for it, an anonymous temporary file (O_TMPFILE) is
// refused as vfat, exFAT, NFS, CIFS and FUSE do, so that a save falls
// back to a named NAME.XXXXXX file. Qt opens its files with open64.
bool g_noTmpfile = false;

// What init() puts in the folder: f leads to others' files.
const QStringList kFixture{"f", "loop.png"};

} // namespace

extern "C" int open64(const char* path, int flags, ...)
{
    const bool tmp = (flags & O_TMPFILE) == O_TMPFILE;
    if (g_noTmpfile && tmp) {
        errno = EOPNOTSUPP;
        return -1;
    }
    va_list ap;
    va_start(ap, flags);
    const auto mode = (flags & O_CREAT) || tmp ? mode_t(va_arg(ap, int)) : mode_t(0);
    va_end(ap);
    using Open = decltype(&open64);
    static auto next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open64"));
    return next(path, flags, mode);
}

// Compression fails at this many more starts (-1: never), as it does
// when memory runs out.
int g_deflates = -1;

// zlib's own arguments, passed on as they are.
extern "C" int deflateInit2_(z_streamp s, int l, int m, int b, int ml, int st,
                             const char* v, int n)
{
    using Init = decltype(&deflateInit2_);
    static auto next = reinterpret_cast<Init>(dlsym(RTLD_NEXT, "deflateInit2_"));
    if (g_deflates >= 0 && g_deflates-- == 0)
        return Z_MEM_ERROR;
    return next(s, l, m, b, ml, st, v, n);
}

class tst_Render : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString at(QString name) const { return m_dir->filePath(name); }
    // velmix-render in the folder, under a file size limit of 100 kB (a
    // write beyond it must end in "File too large", not death by
    // SIGXFSZ): the exit code (-1: a signal), standard error and output.
    Exit run(QStringList args, QString in = {})
    {
        QProcess p;
        p.setWorkingDirectory(m_dir->path());
        p.setStandardInputFile(in.isEmpty() ? p.nullDevice() : in);
        p.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit lim{100000, 100000};
            setrlimit(RLIMIT_FSIZE, &lim);
        });
        p.start(qEnvironmentVariable("VELMIX_RENDER"), args);
        p.waitForFinished(60000);
        const bool ended = p.exitStatus() == p.NormalExit;
        const auto out = p.readAllStandardOutput();
        return {ended ? p.exitCode() : -1, p.readAllStandardError() + out};
    }
    Exit render(QString args) { return run(args.split(' ')); }
    QStringList files() const
    {
        const auto all = QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot;
        return QDir(m_dir->path()).entryList(all);
    }

private slots:

    // A fresh folder for each case, with a link to others' gradients and
    // one to itself.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        const auto src = qEnvironmentVariable("VELMIX_SOURCE");
        QVERIFY(QFile::link(src + "/tests/browser/foreign", at("f")));
        QVERIFY(QFile::link("loop.png", at("loop.png")));
    }

    void roundTrip_data()
    {
        QTest::addColumn<Trip>("row");
        // 2000 pixels a row: 174 zero rows make one repeated block of the
        // PNG writer, so 349 rows end on a second whole block, 176 do not.
        // Dithered (bitmap and PNG only): 172 rows make one repeated block
        // of whole dither periods; 344 end on a block, 349 and 5 do not.
        // Size, down, thickness, dithered.
        const int strips[][4] = {
            {97, 0, 1, 0},     {97, 0, 77, 0},    {97, 1, 1, 0},     {97, 1, 2, 0},
            {97, 1, 77, 0},    {2000, 0, 176, 0}, {2000, 0, 349, 0}, {2000, 0, 344, 1},
            {2000, 0, 349, 1}, {97, 0, 5, 1},     {97, 1, 77, 1}};
        for (auto ext : {"bmp", "png", "jpg"})
            for (const auto& [size, down, rows, dither] : strips)
                for (int opt : ext[0] == 'p' ? QList{0, 1, 2} : QList{1})
                    if (!dither || ext[0] != 'j')
                        QTest::addRow("%s%d %d %d %d %d", ext, opt, size, down, rows,
                                      dither)
                            << Trip{ext, size, down > 0, rows, dither > 0, opt};
        // Beyond the JPEG writer's limit for whole-image Huffman tables.
        QTest::newRow("jpg big") << Trip{"jpg", 2000, false, 3000, false, 1};
    }

    // Lossless formats pixel for pixel, JPEG within 3 levels; PNG at each
    // option, with no surplus rows.
    void roundTrip()
    {
        QFETCH(Trip, row);
        const auto& [ext, size, down, rows, dither, opt] = row;
        const auto path = at("out." + ext);
        const auto s = Strip(size, down, rows, dither);
        QCOMPARE(Save(ext, s, path, opt), 0);
        const QImage img(path);
        QCOMPARE(img.size(), QSize(s.width(), s.height()));
        const int most = ext == "jpg" ? 3 : 0;
        const auto d = [&](int a, int b) { return std::abs(a - b) > most; };
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const auto p = img.pixel(x, y);
                const auto c = s.pixel(x, y);
                if (d(qRed(p), GetRed(c)) || d(qGreen(p), GetGreen(c)) ||
                    d(qBlue(p), GetBlue(c)))
                    QFAIL(qPrintable(QString("%1,%2").arg(x).arg(y)));
            }
        const auto raw = img.height() * (1 + 3 * qsizetype(img.width()));
        if (ext == "png")
            QCOMPARE(Inflated(ReadAll(path)).size(), raw);
    }

    // In tests/data: size, offset, header size, width, height, planes, bits,
    // no compression, data size, 96 dpi both ways; rows bottom-up in BGR.
    void bmpBytes()
    {
        const StripImage s{{0xFF, 0xFF00, 0xFF0000, 0x123456, 0xABCDEF}, true, 4};
        QCOMPARE(Save("bmp", s, at("a.bmp")), 0);
        const auto hex = QByteArray::fromHex(DataFile("render_bmp.hex"));
        QCOMPARE(ReadAll(at("a.bmp")).toHex(' '), hex.toHex(' '));
    }

    // PNG's "smallest", "balanced" and "fastest" as their names say, where
    // the image lets them differ (down: a window search beats Z_RLE).
    void pngOptions()
    {
        QList<qint64> sizes;
        for (int opt : {0, 1, 2}) {
            QCOMPARE(Save("png", Strip(2000, true, 200), at("o.png"), opt), 0);
            sizes << QFile(at("o.png")).size();
        }
        QVERIFY(sizes[0] < sizes[2] && sizes[1] == sizes[0]);
    }

    // The writer's code and the system's own reason, not "Unknown error".
    // "keep" is the old file, "fifo" a FIFO made first, "deflateN"
    // compression failing at its Nth start (0: the first row, 1: a block,
    // 2: the rest; "down": the window search of a top-to-bottom image).
    // Rows: the thickness of a 2000-pixel strip, under a 1000-byte limit.
    void failures_data()
    {
        const QString full = "File too large";
        Rows<Fail>({
            {"bmp full", {"bmp", "keep", 3000, -1, full}},
            {"bmp empty", {"bmp", "keep", 0, -1, "empty image"}},
            {"png full", {"png", "keep", 3000, 2, full}},
            {"png empty", {"png", "keep", 0, 3, ""}},
            {"jpg full", {"jpg", "keep", 3000, 2, full}},
            {"jpg empty", {"jpg", "keep", 0, 3, ""}},
            // Every format's file is opened alike; a FIFO is refused before
            // it is opened: no reader blocks.
            {"no folder", {"png", "no/keep", 1, 1, "No such file or directory"}},
            {"FIFO", {"png", "fifo", 1, 1, "Not a regular file (a FIFO)"}},
            // A JPEG smaller than its output buffer is written as it ends.
            {"jpg end", {"jpg", "keep", 8, 2, full}},
            {"deflate0", {"png", "deflate0", 3000, 3, ""}},
            {"deflate1", {"png", "deflate1", 3000, 3, ""}},
            {"deflate2", {"png", "deflate2", 3000, 3, ""}},
            {"deflate down1", {"png", "deflate-down1", 1, 3, ""}},
            // More than a bitmap header's 32-bit sizes can state.
            {"bmp huge",
             {"bmp", "keep", 800000, -1, "image too large for a bitmap file"}},
        });
    }

    // A failed write keeps the old file and leaves nothing behind.
    void failures()
    {
        QFETCH(Fail, row);
        const auto& [ext, target, rows, code, reason] = row;
        WriteAll(at("keep." + ext), "old");
        auto expected = kFixture + QStringList{"keep." + ext};
        const auto path = at(target + "." + ext);
        if (target == "fifo") {
            QCOMPARE(mkfifo(QFile::encodeName(path), 0600), 0);
            expected << "fifo." + ext;
        }
        std::string err;
        {
            FileSizeLimit limit(1000);
            const bool deflate = target.startsWith("deflate");
            g_deflates = deflate ? target.back().digitValue() : -1;
            const auto s = Strip(2000, target.contains("down"), rows);
            QCOMPARE(Save(ext, s, path, 1, &err), code);
        }
        QCOMPARE(Q(err), reason);
        QCOMPARE(ReadAll(at("keep." + ext)), "old");
        expected.sort();
        QCOMPARE(files(), expected);
        // The FIFO is not replaced.
        QCOMPARE(QFileInfo(path).isFile(), target == "keep");
    }

    // velmix-render's exit code and what it says (found anywhere in the
    // output; a trailing space counts) where the shared readers, writers
    // and messages meet it; nothing is written.
    void exits_data()
    {
        TableRows("render_exits.txt", {"args", "code", "text"}, Named::ByInput);
    }

    // A bad argument is one line that points to the usage, not the usage.
    void exits()
    {
        QFETCH(QString, args);
        QFETCH(QString, code);
        QFETCH(QString, text);
        const auto [got, out] = render(args);
        QCOMPARE(got, code.toInt());
        QVERIFY2(out.contains(text), qPrintable(out));
        QVERIFY(code != "2" || out.count('\n') == 1);
        QCOMPARE(files(), kFixture);
    }

    // Standard input, at most 16 MiB of it.
    void oddInput()
    {
        QFile big(at("big"));
        QVERIFY(big.open(QFile::WriteOnly) && big.resize((16 << 20) + 1));
        const QString said = "-: 16 MiBを超える";
        const auto [code, out] = run({"--from", "-", "-o", "x.png"}, at("big"));
        QCOMPARE(code, 2);
        QVERIFY2(out.contains(said), qPrintable(out));
    }

    // For root: a replaced file stays its owner's, and a link another user
    // left in a shared folder is not followed.
    void rootTargets()
    {
        if (geteuid() != 0)
            QSKIP("for root only");
        // Another user's file, and root's in another user's group.
        for (auto [name, uid, gid] :
             {std::tuple{"u.png", 65534u, 0u}, {"g.png", 0u, 65534u}}) {
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
        const QString why = "shared/x.png: a link of another user in a shared folder\n";
        QCOMPARE(render("-o shared/x.png"), Exit(2, "velmix-render: -o " + why));
        QVERIFY(!QFileInfo::exists(at("planted.png")));
    }

    // On a file system without anonymous temporary files the save's named
    // one is what a stopping signal's handler removes.
    void namedTemporaryRemoved()
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

    // The renderer's handlers: SIGTERM, SIGINT remove that file and end the
    // process, SIGHUP and SIGXFSZ are ignored. A signal ignored from the
    // start (nohup) stays ignored.
    void ignoredStaysIgnored()
    {
        const auto old = std::signal(SIGHUP, SIG_IGN);
        InstallSaveSignalHandlers();
        for (int sig : {SIGTERM, SIGINT, SIGHUP, SIGXFSZ}) {
            struct sigaction now = {};
            sigaction(sig, nullptr, &now);
            const bool dies = sig == SIGTERM || sig == SIGINT;
            QVERIFY(now.sa_handler == (dies ? RemoveInProgressFileAndDie : SIG_IGN));
        }
        std::signal(SIGHUP, old);
    }
};

QTEST_GUILESS_MAIN(tst_Render)
#include "tst_render.moc"
