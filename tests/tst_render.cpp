// The files the program writes and velmix-render as a user runs it: every
// image format read back, the exact bytes of a BMP file, the PNG options,
// failed writes that keep the old file, the renderer's exit codes and
// messages, its files against the rasteriser, targets that are not files,
// writes stopped half way, and the signals that end the program.

#include "exporter.h"
#include "shutdownsignals.h"
#include "testutil.h"
#include "transg.h"
#include "webgrad.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <memory>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

using namespace velmix;

Q_DECLARE_METATYPE(velmix::GradPoints)

namespace {

GradPoints Three(Colour first, Colour middle, Colour last, bool middleOn)
{
    GradPoints p;
    p.position = {0, 400, 1000};
    p.color = {first, middle, last};
    p.enabled = {true, middleOn, true};
    return p;
}

StripImage Strip(int size, bool vertical, int thickness)
{
    return StripImage{DrawGrad(Three(0xFF, MakeColour(12, 200, 99), 0xFF0000, true), size),
                      vertical, thickness};
}

// The writer for the extension; a BMP failure counts as -1.
int Save(const QString& ext, const StripImage& s, const QString& path, std::string* err = nullptr,
         int pngOption = 1)
{
    const std::string p = path.toStdString();
    if (ext == "bmp")
        return SaveBitmapFile(s, p, err) ? kEncodeOk : -1;
    return ext == "png" ? DCSavetoPNG(s, p, pngOption, err) : DCSavetoJPEG(s, p, 100, 0, err);
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// The PNG's image data inflated, at most room bytes (-1: longer, or broken).
// Decoders stop at the last row, so surplus rows and the checksum show only here.
qint64 InflatedSize(const QByteArray& png, qint64 room)
{
    QByteArray z, out(room, 0);
    for (qsizetype at = 8; at + 8 <= png.size();
         at += 12 + qFromBigEndian<quint32>(png.data() + at))
        if (png.mid(at + 4, 4) == "IDAT")
            z += png.mid(at + 8, qFromBigEndian<quint32>(png.data() + at));
    auto len = static_cast<uLongf>(room);
    const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &len,
                              reinterpret_cast<const Bytef*>(z.constData()), z.size());
    return rc == Z_OK ? qint64(len) : -1;
}

struct Run
{
    int code = -1; // -1: ended by a signal
    QString text;  // standard error, then standard output
};

// velmix-render in dir. shimSignal: on a file system without anonymous
// temporary files, the signal it gets half way through the write.
Run Render(const QString& dir, const QStringList& args, int shimSignal = 0,
           const std::function<void()>& child = {},
           const QString& program = qEnvironmentVariable("VELMIX_RENDER"))
{
    QProcess p;
    p.setWorkingDirectory(dir);
    if (shimSignal) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LD_PRELOAD", qEnvironmentVariable("VELMIX_TMPFILE_SHIM"));
        env.insert("VELMIX_SHIM_SIGNAL", QString::number(shimSignal));
        // The sanitizer runtime would insist on coming first.
        env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
        p.setProcessEnvironment(env);
    }
    if (child)
        p.setChildProcessModifier(child);
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            p.readAllStandardError() + p.readAllStandardOutput()};
}

const QStringList kInis{"none.ini", "v.ini"};

} // namespace

class tst_Render : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    QString at(const QString& name) const { return QDir(m_dir->path()).filePath(name); }
    QStringList files() const
    {
        return QDir(m_dir->path())
            .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    }

private slots:
    // A fresh folder for each case, with a settings file that remembers a
    // state and one that does not.
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        WriteAll(at("v.ini"), "[IniCheck]\r\nDummy=1\r\n[Memory]\r\nEnabled 0=1\r\nLocate 0=0\r\n"
                              "Color 0=255\r\nLocate 1=400\r\nEnabled 2=1\r\nLocate 2=1000\r\n"
                              "Color 2=16711680\r\nSize= 50\r\ntate= 1\r\nSaveHeight= 7\r\n"
                              "chkHeight=False\r\n");
        WriteAll(at("none.ini"), "[IniCheck]\nDummy=1\n[Memory]\ntate=-1\n");
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<int>("thickness");
        // 2000 pixels a row: 174 zero rows make one repeated block of the PNG
        // writer, so 349 rows end on a second whole block, 176 do not.
        const std::initializer_list<std::tuple<int, bool, int>> strips = {
            {97, false, 1}, {97, false, 2}, {97, false, 77},    {97, true, 1},
            {97, true, 2},  {97, true, 77}, {2000, false, 176}, {2000, false, 349}};
        for (const char* ext : {"bmp", "png", "jpg"})
            for (const auto& [size, vertical, thickness] : strips)
                QTest::addRow("%s %d %s %d", ext, size, vertical ? "down" : "across", thickness)
                    << ext << size << vertical << thickness;
        // Beyond the JPEG writer's limit for whole-image Huffman tables.
        QTest::newRow("jpg 2000 across 3000") << "jpg" << 2000 << false << 3000;
    }

    // Lossless formats pixel for pixel, JPEG within 3 levels; PNG at each option.
    void roundTrip()
    {
        QFETCH(QString, ext);
        QFETCH(int, size);
        QFETCH(bool, vertical);
        QFETCH(int, thickness);
        const QString path = at("out." + ext);
        const StripImage s = Strip(size, vertical, thickness);
        for (int option : ext == "png" ? QList{0, 1, 2} : QList{1}) {
            QCOMPARE(Save(ext, s, path, nullptr, option), int(kEncodeOk));
            const QImage img(path);
            QCOMPARE(img.size(), QSize(s.width(), s.height()));
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb px = img.pixel(x, y);
                    const Colour c = s.pixel(x, y);
                    if (std::max({std::abs(qRed(px) - GetRed(c)),
                                  std::abs(qGreen(px) - GetGreen(c)),
                                  std::abs(qBlue(px) - GetBlue(c))}) > (ext == "jpg" ? 3 : 0))
                        QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
                }
            const qint64 rows = qint64(img.height()) * (1 + 3 * img.width());
            if (ext == "png")
                QCOMPARE(InflatedSize(ReadAll(path), rows + 1), rows);
        }
    }

    // Size, offset, header size, width, height, planes, bits, no compression,
    // data size, 96 dpi both ways; rows bottom-up in BGR (rows of 12 bytes need
    // no padding; the round trips decode padded ones).
    void bmpBytes()
    {
        const StripImage s{{0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF}, true, 4};
        QCOMPARE(Save("bmp", s, at("a.bmp")), int(kEncodeOk));
        const QByteArray hex("424d 72000000 00000000 36000000 28000000 04000000 05000000 0100 1800 "
                             "00000000 3c000000 c40e0000 c40e0000 00000000 00000000"
                             "abcdef abcdef abcdef abcdef"
                             "123456 123456 123456 123456"
                             "ff0000 ff0000 ff0000 ff0000"
                             "00ff00 00ff00 00ff00 00ff00"
                             "0000ff 0000ff 0000ff 0000ff");
        QCOMPARE(ReadAll(at("a.bmp")).toHex(' '), QByteArray::fromHex(hex).toHex(' '));
    }

    // "smallest", "balanced" and "fastest" as their names say, where the image
    // lets them differ (top-to-bottom: a window search beats Z_RLE).
    void pngOptions()
    {
        qint64 sizes[3] = {};
        for (int option : {0, 1, 2}) {
            const QString path = at(QString("o%1.png").arg(option));
            QCOMPARE(Save("png", Strip(2000, true, 200), path, nullptr, option), int(kEncodeOk));
            sizes[option] = QFile(path).size();
        }
        QVERIFY2(sizes[0] < sizes[2], qPrintable(QString("%1 %2").arg(sizes[0]).arg(sizes[2])));
        QCOMPARE(sizes[1], sizes[0]); // small enough for the search
    }

    void failuresKeepOldFile_data()
    {
        QTest::addColumn<QString>("ext");
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("thickness");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("reason");
        for (const auto& [ext, failed] : {std::pair{"bmp", -1}, {"png", 2}, {"jpg", 2}}) {
            const bool bmp = failed == -1;
            // The system's own reason, not "Unknown error".
            QTest::addRow("%s disk full", ext)
                << ext << "keep" << 3000 << failed << "File too large";
            QTest::addRow("%s no folder", ext)
                << ext << "no/keep" << 1 << (bmp ? -1 : 1) << "No such file or directory";
            QTest::addRow("%s no rows", ext)
                << ext << "keep" << 0 << (bmp ? -1 : 3) << (bmp ? "empty image" : "");
        }
        // 2000 x 800,000 pixels: more than a bitmap header's 32-bit sizes can state.
        QTest::newRow("bmp too large")
            << "bmp"
            << "keep" << 800000 << -1 << "image too large for a bitmap file";
    }

    void failuresKeepOldFile()
    {
        QFETCH(QString, ext);
        QFETCH(QString, target);
        QFETCH(int, thickness);
        QFETCH(int, code);
        QFETCH(QString, reason);
        WriteAll(at("keep." + ext), "precious");
        std::string err;
        {
            FileSizeLimit limit(1000);
            QCOMPARE(Save(ext, Strip(2000, false, thickness), at(target + "." + ext), &err), code);
        }
        QCOMPARE(QString::fromStdString(err), reason);
        QCOMPARE(ReadAll(at("keep." + ext)), QByteArray("precious"));
        QCOMPARE(files(), QStringList{"keep." + ext} + kInis); // no leftovers
    }

    void exitCodes_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("no output") << QStringList{"-s", "100"} << 2 << "-o: an output file is";
        QTest::newRow("position 1001") << QStringList{"-p", "1001:#ff0000"} << 2 << "0 to 1000";
        QTest::newRow("colour 2^24") << QStringList{"-p", "10:16777216"} << 2 << "colour must be";
        QTest::newRow("size 3") << QStringList{"-s", "3"} << 2 << "-s: size must be 4 to 2000";
        QTest::newRow("size 2001") << QStringList{"--size=2001"} << 2 << "--size: size must be";
        QTest::newRow("thickness 0") << QStringList{"-t", "0"} << 2 << "-t: thickness must be";
        QTest::newRow("thickness 32768") << QStringList{"-t", "32768"} << 2 << "1 to 32767";
        QTest::newRow("flag with value") << QStringList{"--vertical=no"} << 2 << "takes no value";
        QTest::newRow("OFF") << QStringList{"-p", "0:0:OFF"} << 2 << "\":OFF\" after the colour";
        QTest::newRow("all off") << QStringList{"-p", "0:0:off"} << 2 << "must be enabled";
        QTest::newRow("eight points")
            << QString("-p 0:0 ").repeated(8).split(' ', Qt::SkipEmptyParts) << 2
            << "at most 7 points";
        QTest::newRow("contrast and file")
            << QStringList{"--contrast", "#123456", "-o", "x.bmp"} << 2 << "writes no file";
        QTest::newRow("ini without state")
            << QStringList{"--from-ini", "none.ini", "-o", "x.png"} << 2 << "no remembered state";
        QTest::newRow("ini not a file")
            << QStringList{"--from-ini", "/dev/zero", "-o", "x.png"} << 2 << "not a regular file";
        QTest::newRow("folder missing")
            << QStringList{"-o", "no/x.bmp"} << 1 << "no/x.bmp: No such file or directory";
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: velmix-render";
        // The lowest contrast of text over the gradient, where and its grade.
        QTest::newRow("contrast grey") << QStringList{"-p", "500:#777777", "--contrast", "#ffffff"}
                                       << 0 << "4.48 0 AA-large\n"; // 4.478: below 4.5
        QTest::newRow("contrast start-up")
            << QStringList{"--contrast", "#ffffff"} << 0 << "1.37 34 fail\n"; // pure green
    }

    // Nothing is written unless the whole image is.
    void exitCodes()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, text);
        const Run r = Render(m_dir->path(), args);
        QCOMPARE(r.code, code);
        QVERIFY2(r.text.contains(text), qPrintable(r.text));
        QCOMPARE(files(), kInis);
    }

    // The renderer's files equal the rasteriser's line for its points, size,
    // orientation and thickness, given or taken from a settings file.
    void rendered_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<GradPoints>("points");
        QTest::addColumn<QSize>("size");
        const QStringList three{"-p", "0:#000000", "-p", "400:#ff8800:off", "-p", "1000:16777215"};
        const GradPoints p = Three(0, 0x0088FF, 0xFFFFFF, false);
        QTest::newRow("bmp") << three + QStringList{"-s", "40", "-t", "3", "-o", "g.bmp"} << p
                             << QSize(40, 3);
        QTest::newRow("remembered: down, tate + 1 across")
            << QStringList{"--from-ini", "v.ini", "-o", "g.png"} << Three(255, 0, 0xFF0000, false)
            << QSize(2, 50);
        QTest::newRow("SVG") << three + QStringList{"-s", "40", "--vertical", "-o", "g.svg"} << p
                             << QSize(1, 40);
    }

    void rendered()
    {
        QFETCH(QStringList, args);
        QFETCH(GradPoints, points);
        QFETCH(QSize, size);
        QCOMPARE(Render(m_dir->path(), args).code, 0);
        const bool down = size.height() > size.width();
        const int length = down ? size.height() : size.width();
        const QString out = at(args.last());
        if (out.endsWith("svg")) {
            QCOMPARE(ReadAll(out).toStdString(), SvgDocument({points, length, down, 1}));
            return;
        }
        const QImage img(out);
        QCOMPARE(img.size(), size);
        const std::vector<Colour> line = DrawGrad(points, length);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const Colour c = line[static_cast<std::size_t>(down ? y : x)];
                if (img.pixel(x, y) != qRgb(GetRed(c), GetGreen(c), GetBlue(c)))
                    QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
            }
    }

    void nonRegularTargets_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << int(S_IFDIR) << "-o node: Is a directory";
        QTest::newRow("fifo") << int(S_IFIFO) << "Not a regular file (a FIFO)";
        QTest::newRow("device") << int(S_IFCHR) << "Not a regular file (a character device)";
    }

    // Refused before anything is opened, and left as it was.
    void nonRegularTargets()
    {
        QFETCH(int, type);
        QFETCH(QString, reason);
        const QByteArray node = QFile::encodeName(at("node"));
        if (type == S_IFDIR ? mkdir(node, 0700) : mknod(node, type | 0600, makedev(1, 3)))
            QSKIP("no permission to make a device node");
        struct stat before = {}, after = {};
        QCOMPARE(stat(node, &before), 0);
        const Run r = Render(m_dir->path(), {"-o", "node"});
        QCOMPARE(r.code, 2);
        QVERIFY2(r.text.contains(reason), qPrintable(r.text));
        QCOMPARE(stat(node, &after), 0);
        QVERIFY(after.st_mode == before.st_mode && after.st_ino == before.st_ino);
        QCOMPARE(files(), QStringList{"node"} + kInis);
    }

    // A link to a regular file is written through and stays a link.
    void linkToRegularFile()
    {
        WriteAll(at("real.png"), "old");
        QVERIFY(QFile::link("real.png", at("link.png")));
        QCOMPARE(Render(m_dir->path(), {"-s", "10", "-o", "link.png"}).code, 0);
        QVERIFY(QFileInfo(at("link.png")).isSymLink());
        QCOMPARE(QImage(at("real.png")).size(), QSize(10, 1));
    }

    // Bytes that are not UTF-8 would reach the file system as another name.
    void unencodableName()
    {
        const Run r =
            Render(m_dir->path(), {"-c", "exec \"$VELMIX_RENDER\" -o \"$(printf 'caf\\351.png')\""},
                   0, {}, "/bin/sh");
        QCOMPARE(r.code, 2);
        QVERIFY2(r.text.contains("not valid in the system's encoding"), qPrintable(r.text));
        QCOMPARE(files(), kInis);
    }

    void stoppedHalfWay_data()
    {
        QTest::addColumn<int>("sig");
        QTest::newRow("file size limit") << 0;
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
        QTest::newRow("SIGHUP") << int(SIGHUP);
        QTest::newRow("SIGKILL") << int(SIGKILL); // nothing cleans up: proof of a named file
    }

    // A write stopped half way leaves the target as it was and no temporary
    // file: under a file size limit the renderer says why (instead of dying
    // by SIGXFSZ); a signal removes the named temporary file of a file system
    // without anonymous ones.
    void stoppedHalfWay()
    {
        QFETCH(int, sig);
        WriteAll(at("keep.bmp"), "old");
        const Run r =
            Render(m_dir->path(), {"-s", "2000", "-t", "2000", "-o", "keep.bmp"}, sig, [=] {
                for (int s : {SIGTERM, SIGINT, SIGHUP, SIGXFSZ})
                    std::signal(s, SIG_DFL);
                rlimit lim{100000, 100000};
                if (!sig)
                    setrlimit(RLIMIT_FSIZE, &lim);
            });
        QCOMPARE(r.code, sig ? -1 : 1);
        QVERIFY2(sig || r.text.contains("cannot write keep.bmp: File too large"),
                 qPrintable(r.text));
        QCOMPARE(ReadAll(at("keep.bmp")), QByteArray("old"));
        const QStringList left = QDir(m_dir->path()).entryList({"keep.bmp*"});
        QCOMPARE(left.size(), sig == SIGKILL ? 2 : 1);
        QVERIFY2(left.filter(QRegularExpression("^keep\\.bmp(\\.\\w{6})?$")) == left,
                 qPrintable(left.join(' ')));
    }

    // The first of SIGTERM, SIGINT, SIGHUP becomes a request in the event
    // loop; a second ends the process at once, in case the shutdown is stuck.
    void shutdownSignals_data()
    {
        QTest::addColumn<int>("sig");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGHUP") << SIGHUP;
    }

    void shutdownSignals()
    {
        QFETCH(int, sig);
        ShutdownSignals signals_;
        QSignalSpy spy(&signals_, &ShutdownSignals::requested);
        QCOMPARE(ShutdownSignals::received(), 0);
        std::raise(sig); // the process lives on
        QCOMPARE(ShutdownSignals::received(), sig);
        QVERIFY(spy.wait());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), sig);
    }

    void secondSignalEndsAtOnce()
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

    // Started with nohup: closing the terminal must not end the program.
    void ignoredSignalStaysIgnored()
    {
        const auto old = std::signal(SIGHUP, SIG_IGN);
        {
            ShutdownSignals signals_;
            std::raise(SIGHUP);
            QCOMPARE(ShutdownSignals::received(), 0);
        }
        QVERIFY(std::signal(SIGHUP, old) == SIG_IGN);
    }
};

QTEST_GUILESS_MAIN(tst_Render)
#include "tst_render.moc"
