// velmix-render as a user runs it: argument errors, exit codes, and files
// equal to the rasteriser's arithmetic for arbitrary point sets.

#include "gradient.h"
#include "renderargs.h"
#include "testutil.h"
#include "webgrad.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace velmix;

namespace {

struct Run
{
    int code = -1;
    QString err;
    QString out;
};

Run Finish(QProcess& p)
{
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError()),
            QString::fromUtf8(p.readAllStandardOutput())};
}

Run Render(const QStringList& args)
{
    QProcess p;
    p.start(qEnvironmentVariable("VELMIX_RENDER"), args);
    return Finish(p);
}

QStringList FilesIn(const QString& dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_Render : public QObject
{
    Q_OBJECT
private slots:
    void badArguments_data();
    void badArguments();
    void matchesRasteriser_data();
    void matchesRasteriser();
    void fromIni();
    void webFiles();
    void contrast();
    void fromIniNotAFile_data();
    void fromIniNotAFile();
    void failedWrite();
    void helpAndVersion();
    void nonRegularTargets_data();
    void nonRegularTargets();
    void linkToRegularFile();
    void fileSizeLimit();
    void stoppedWithNamedTemporary_data();
    void stoppedWithNamedTemporary();
    void unencodableName();
};

void tst_Render::badArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("names");
    QTest::newRow("no output") << QStringList{"-s", "100"} << "-o";
    QTest::newRow("position too big") << QStringList{"-p", "1001:#ff0000"} << "-p 1001";
    QTest::newRow("bad colour") << QStringList{"-p", "10:#ff00"} << "#ff00";
    QTest::newRow("colour too big") << QStringList{"-p", "10:16777216"} << "16777216";
    QTest::newRow("no colon") << QStringList{"-p", "10"} << "-p 10";
    QTest::newRow("size 3") << QStringList{"-s", "3"} << "-s";
    QTest::newRow("size 2001") << QStringList{"--size=2001"} << "--size";
    QTest::newRow("size text") << QStringList{"-s", "12a"} << "-s";
    QTest::newRow("thickness 0") << QStringList{"-t", "0"} << "-t";
    QTest::newRow("missing value") << QStringList{"-t"} << "-t";
    QTest::newRow("unknown") << QStringList{"--bogus"} << "--bogus";
    QTest::newRow("contrast colour") << QStringList{"--contrast", "#12345"} << "--contrast";
    QTest::newRow("contrast and file") << QStringList{"--contrast", "#123456"} << "writes no file";
    QTest::newRow("flag with value") << QStringList{"--vertical=no"} << "--vertical takes no value";
    QTest::newRow("help with value") << QStringList{"--help=1"} << "--help takes no value";
    QTest::newRow("version with value") << QStringList{"--version=x"} << "--version takes no value";
    QTest::newRow("OFF") << QStringList{"-p", "0:0:OFF"} << "\":OFF\" after the colour";
    QTest::newRow("all off") << QStringList{"-p", "0:0:off", "-p", "5:255:off"} << "enabled";
    QStringList eight;
    for (int i = 0; i < 8; ++i)
        eight << "-p" << QString("%1:0").arg(i * 100);
    QTest::newRow("eight points") << eight << "at most 7";
}

void tst_Render::badArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QString, names);
    QTemporaryDir dir;
    const QString out = dir.filePath("x.bmp");
    if (!args.contains("--bogus") && names != "-o" && !names.contains("takes no value"))
        args << "-o" << out;
    const Run r = Render(args);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(names), qPrintable(r.err));
    QVERIFY(!QFile::exists(out));
}

void tst_Render::matchesRasteriser_data()
{
    QTest::addColumn<QString>("ext");
    QTest::addColumn<int>("seed");
    for (int seed = 1; seed <= 6; ++seed) {
        QTest::newRow(qPrintable(QString("bmp %1").arg(seed))) << "bmp" << seed;
        QTest::newRow(qPrintable(QString("png %1").arg(seed))) << "png" << seed;
    }
}

void tst_Render::matchesRasteriser()
{
    QFETCH(QString, ext);
    QFETCH(int, seed);
    QRandomGenerator rnd(static_cast<quint32>(seed));
    GradPoints p;
    QStringList args;
    const int n = rnd.bounded(1, 8);
    for (int i = 0; i < n; ++i) {
        p.position[i] = rnd.bounded(0, 1001);
        p.color[i] = static_cast<Colour>(rnd.bounded(0, 0x1000000));
        p.enabled[i] = i == 0 || rnd.bounded(0, 3) != 0;
        args << "-p"
             << QString("%1:%2%3")
                    .arg(p.position[i])
                    .arg(p.color[i])
                    .arg(p.enabled[i] ? "" : ":off");
    }
    const int size = rnd.bounded(4, 2001);
    const bool vertical = rnd.bounded(0, 2) == 1;
    const int thickness = rnd.bounded(1, 40);
    QTemporaryDir dir;
    const QString out = dir.filePath("g." + ext);
    args << "-s" << QString::number(size) << "-t" << QString::number(thickness) << "-o" << out;
    if (vertical)
        args << "--vertical";
    const Run r = Render(args);
    QCOMPARE(r.code, 0);
    const QImage img(out);
    QCOMPARE(img.width(), vertical ? thickness : size);
    QCOMPARE(img.height(), vertical ? size : thickness);
    const std::vector<Colour> line = DrawGrad(p, size);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Colour c = line[static_cast<std::size_t>(vertical ? y : x)];
            const QRgb px = img.pixel(x, y);
            if (qRed(px) != GetRed(c) || qGreen(px) != GetGreen(c) || qBlue(px) != GetBlue(c))
                QFAIL(qPrintable(QString("pixel %1,%2 differs").arg(x).arg(y)));
        }
}

void tst_Render::fromIni()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath("velmix.ini");
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[IniCheck]\r\nDummy=1\r\n[Memory]\r\nEnabled 0=1\r\nLocate 0=0\r\nColor 0=255\r\n"
            "Enabled 1=1\r\nLocate 1=1000\r\nColor 1=16711680\r\nSize= 50\r\ntate= 1\r\n"
            "SaveHeight= 7\r\nchkHeight=False\r\n");
    f.close();
    const QString out = dir.filePath("m.png");
    QCOMPARE(Render({"--from-ini", ini, "-o", out}).code, 0);
    QImage img(out);
    QCOMPARE(img.size(), QSize(2, 50)); // vertical, thickness tate + 1
    QCOMPARE(QColor(img.pixel(0, 0)), QColor(255, 0, 0));
    QCOMPARE(Render({"--from-ini", ini, "-t", "9", "-s", "10", "-o", out}).code, 0);
    QCOMPARE(QImage(out).size(), QSize(9, 10));

    QFile empty(dir.filePath("empty.ini"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.write("[IniCheck]\nDummy=1\n[Memory]\ntate=-1\n");
    empty.close();
    const Run r = Render({"--from-ini", empty.fileName(), "-o", dir.filePath("n.png")});
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.contains("no remembered state"));
    QVERIFY(!QFile::exists(dir.filePath("n.png")));
}

void tst_Render::webFiles()
{
    QTemporaryDir dir;
    const QStringList points{"-p", "0:#000000", "-p", "400:#ff8800:off", "-p", "1000:#ffffff"};
    GradPoints p;
    p.enabled = {true, false, true};
    p.position = {0, 400, 1000};
    p.color = {0, 0x0088FF, 0xFFFFFF};
    const auto read = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
    };
    // Any case of the extension.
    QCOMPARE(Render(points + QStringList{"-s", "40", "-t", "3", "-o", dir.filePath("a.CSS")}).code,
             0);
    QCOMPARE(read(dir.filePath("a.CSS")), CssRule({p, 40, false, 3}));
    QCOMPARE(
        Render(points + QStringList{"-s", "40", "--vertical", "-o", dir.filePath("a.svg")}).code,
        0);
    QCOMPARE(read(dir.filePath("a.svg")), SvgDocument({p, 40, true, 1}));
}

void tst_Render::contrast()
{
    const Run grey = Render({"-p", "500:#777777", "-s", "10", "--contrast", "#ffffff"});
    QCOMPARE(grey.code, 0);
    QCOMPARE(grey.out, QString("4.48 0 AA-large\n")); // 4.478: below 4.5 before rounding
    const Run bw = Render({"-p", "0:0", "-p", "1000:16777215", "-s", "10", "--contrast", "0"});
    QCOMPARE(bw.out, QString("1.00 0 fail\n"));
    const Run start = Render({"--contrast", "#ffffff"});
    QCOMPARE(start.out, QString("1.37 34 fail\n")); // pure green
}

void tst_Render::fromIniNotAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("/dev/zero") << "device"
                               << "not a regular file";
    QTest::newRow("FIFO") << "fifo"
                          << "not a regular file";
    QTest::newRow("folder") << "folder"
                            << "not a regular file";
    QTest::newRow("2 MiB") << "large"
                           << "larger than 1 MiB";
}

void tst_Render::fromIniNotAFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString ini = dir.filePath("velmix.ini");
    if (kind == "device") {
        ini = "/dev/zero";
    } else if (kind == "fifo") {
        QVERIFY(mkfifo(QFile::encodeName(ini).constData(), 0600) == 0);
    } else if (kind == "folder") {
        QVERIFY(QDir().mkpath(ini));
    } else {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[IniCheck]\nDummy=1\n[Memory]\ntate=0\n" + QByteArray(2 << 20, ';'));
    }
    // Neither read without end nor blocked on the FIFO.
    const Run r = Render({"--from-ini", ini, "-o", dir.filePath("n.png")});
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(reason), qPrintable(r.err));
    QVERIFY(!QFile::exists(dir.filePath("n.png")));
}

void tst_Render::failedWrite()
{
    QTemporaryDir dir;
    const QString target = dir.filePath("keep.bmp");
    QFile f(target);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    const Run missing = Render({"-o", "/nonexistent-dir/x.bmp"});
    QCOMPARE(missing.code, 1);
    QVERIFY(missing.err.contains("No such file"));
    // A write that fails part way (the file size limit is inherited) leaves
    // the old file as it was, and no temporary beside it.
    {
        FileSizeLimit limit(4096);
        const Run full = Render({"-s", "2000", "-t", "100", "-o", target});
        QCOMPARE(full.code, 1);
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("old"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.bmp"});
}

void tst_Render::helpAndVersion()
{
    QCOMPARE(Render({"--help"}).code, 0);
    QCOMPARE(Render({"--version"}).code, 0);
    // The parser on its own: defaults and the start-up gradient.
    const auto r = ParseRenderArgs({"-o", "x.png"});
    QVERIFY(r.job.has_value());
    QVERIFY(r.job->points == StartupPoints());
    QVERIFY(!r.job->size.has_value());
}

void tst_Render::nonRegularTargets_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder") << "folder"
                            << "Is a directory";
    QTest::newRow("fifo") << "fifo"
                          << "a FIFO";
    QTest::newRow("socket") << "socket"
                            << "a socket";
    QTest::newRow("device") << "device"
                            << "a character device";
}

// A target that is not a regular file is refused and left as it is.
void tst_Render::nonRegularTargets()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString target = dir.filePath("node.bmp");
    const QByteArray native = QFile::encodeName(target);
    int fd = -1;
    if (kind == "folder") {
        QVERIFY(QDir(dir.path()).mkdir("node.bmp"));
    } else if (kind == "fifo") {
        QCOMPARE(mkfifo(native.constData(), 0600), 0);
    } else if (kind == "socket") {
        fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        qstrncpy(addr.sun_path, native.constData(), sizeof addr.sun_path);
        QCOMPARE(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    } else if (mknod(native.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
        QSKIP("no permission to make a device node");
    }
    struct stat before
    {
    };
    QCOMPARE(stat(native.constData(), &before), 0);
    const Run r = Render({"-o", target});
    if (fd >= 0)
        close(fd);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(reason), qPrintable(r.err));
    struct stat after
    {
    };
    QCOMPARE(stat(native.constData(), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_ino, before.st_ino);
    QCOMPARE(FilesIn(dir.path()), QStringList{"node.bmp"});
}

void tst_Render::linkToRegularFile()
{
    QTemporaryDir dir;
    const QString real = dir.filePath("real.png");
    QFile f(real);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    QVERIFY(QFile::link(real, dir.filePath("link.png")));
    QCOMPARE(Render({"-s", "10", "-o", dir.filePath("link.png")}).code, 0);
    QVERIFY(QFileInfo(dir.filePath("link.png")).isSymLink());
    QCOMPARE(QImage(real).size(), QSize(10, 1));
}

// Under a file size limit the renderer reports the write error, instead of
// dying by SIGXFSZ.
void tst_Render::fileSizeLimit()
{
    QTemporaryDir dir;
    QProcess p;
    p.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit lim{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &lim);
    });
    p.start(qEnvironmentVariable("VELMIX_RENDER"),
            {"-s", "2000", "-t", "1000", "-o", dir.filePath("big.bmp")});
    const Run r = Finish(p);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.err.contains("File too large"), qPrintable(r.err));
    QVERIFY(FilesIn(dir.path()).isEmpty());
}

void tst_Render::stoppedWithNamedTemporary_data()
{
    QTest::addColumn<int>("sig");
    QTest::addColumn<bool>("leftOver");
    QTest::newRow("SIGTERM") << int(SIGTERM) << false;
    QTest::newRow("SIGINT") << int(SIGINT) << false;
    QTest::newRow("SIGHUP") << int(SIGHUP) << false;
    // Nothing can clean up after SIGKILL: proof that the file had a name.
    QTest::newRow("SIGKILL") << int(SIGKILL) << true;
}

// On a file system without anonymous temporary files, a renderer stopped half
// way removes its temporary file and leaves the target as it was.
void tst_Render::stoppedWithNamedTemporary()
{
    QFETCH(int, sig);
    QFETCH(bool, leftOver);
    QTemporaryDir dir;
    const QString target = dir.filePath("keep.bmp");
    QFile f(target);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("old");
    f.close();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LD_PRELOAD", qEnvironmentVariable("VELMIX_TMPFILE_SHIM"));
    env.insert("VELMIX_SHIM_SIGNAL", QString::number(sig));
    // The sanitizer runtime would insist on coming first.
    env.insert("ASAN_OPTIONS", env.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    p.setProcessEnvironment(env);
    p.setChildProcessModifier([] {
        for (int s : {SIGTERM, SIGINT, SIGHUP})
            std::signal(s, SIG_DFL);
    });
    p.start(qEnvironmentVariable("VELMIX_RENDER"), {"-s", "2000", "-t", "2000", "-o", target});
    p.waitForFinished(60000);
    QCOMPARE(p.exitStatus(), QProcess::CrashExit);
    QCOMPARE(Contents(target), QByteArray("old"));
    const QStringList files = FilesIn(dir.path());
    if (leftOver) {
        QCOMPARE(files.size(), 2);
        QVERIFY2(files.filter(QRegularExpression("^keep\\.bmp\\.\\w{6}$")).size() == 1,
                 qPrintable(files.join(' ')));
    } else {
        QCOMPARE(files, QStringList{"keep.bmp"});
    }
}

// Bytes that are not UTF-8 would reach the file system as another name.
void tst_Render::unencodableName()
{
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start("/bin/sh", {"-c", "exec \"$0\" -o \"$(printf 'caf\\351.png')\"",
                        qEnvironmentVariable("VELMIX_RENDER")});
    const Run r = Finish(p);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains("not valid in the system's encoding"), qPrintable(r.err));
    QVERIFY(FilesIn(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Render)
#include "tst_render.moc"
