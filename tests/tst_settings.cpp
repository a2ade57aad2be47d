// The settings file: profile text rules, the key table both ways, odd values,
// the Windows program's Shift-JIS files, where the file lives and that a
// failed write never loses the old file.

#include "moduleini.h"
#include "numtext.h"
#include "profile.h"
#include "settings.h"
#include "testutil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

using namespace velmix;

namespace {

std::string Identity(std::string_view s)
{
    return std::string(s);
}

Settings Sample()
{
    Settings s;
    s.SampleTextFont = {"ＭＳ Ｐゴシック", 16, -1, 0, 16711680, true};
    MemoryStateT& m = s.MemoryState;
    for (int i = 0; i < kPointCount; ++i) {
        m.Enabled[i] = i % 2;
        m.Locate[i] = i * 150;
        m.Color[i] = i * 2000000;
    }
    m.Enabled[0] = 1;
    m.Size = 640;
    m.tate = 1;
    m.SaveHeight = 50;
    m.chkHeight = true;
    s.mainPlace = WindowPlace{1500, -300, 0, 0};
    s.tilePlace = WindowPlace{3000, 4500, 7695, 3360};
    s.SaveInitPath = "/home/user/画像/";
    return s;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    void profileReading();
    void profileWritingKeepsEverythingElse();
    void profileLineEndings();
    void valueCutAt199Bytes();
    void keyTableRoundTrip();
    void writtenFileIsStableAndOrdered();
    void markerRules_data();
    void markerRules();
    void oddValues_data();
    void oddValues();
    void booleans_data();
    void booleans();
    void shiftJisCrLfFile();
    void firstStartWritesCompleteFile();
    void readOnlyProgramFolderFallsBack();
    void failedWriteKeepsOldFile();
    void twoCopiesKeepEachOthersUnits();
    void byteOrderMarkKept();
    void strayByteKeepsOtherValues();
    void textOutsideCodePage_data();
    void textOutsideCodePage();
    void notAFileIsRefused_data();
    void notAFileIsRefused();
};

void tst_Settings::profileReading()
{
    const ProfileText t(
        "; comment\n[Memory]\n  Size  =  640 \nSIZE=1\n[memory]\nx=2\n[Other]\nsize=9\n");
    QCOMPARE(t.get("memory", "size"), std::string("640"));
    QCOMPARE(t.get("MEMORY", "Size"), std::string("640"));
    QCOMPARE(t.get("Memory", "x"), std::string()); // only the first section counts
    QCOMPARE(t.get("Other", "Size"), std::string("9"));
    QCOMPARE(t.get("Missing", "Size"), std::string());
    QVERIFY(!t.has("Memory", "nothing"));
}

void tst_Settings::profileWritingKeepsEverythingElse()
{
    const std::string original = "; hand comment\n[Memory]\nSize=10\n; inside\nUnknown=keep me\n\n"
                                 "[Extra]\nfoo = bar \n";
    ProfileText t(original);
    t.put("memory", "size", " 640");
    t.put("Memory", "tate", "-1");
    t.put("Option", "MainLeft", " 15");
    QCOMPARE(t.bytes(),
             std::string("; hand comment\n[Memory]\nsize= 640\n; inside\nUnknown=keep me\n"
                         "tate=-1\n\n[Extra]\nfoo = bar \n[Option]\nMainLeft= 15\n"));
}

void tst_Settings::profileLineEndings()
{
    ProfileText crlf("[A]\r\nx=1\r\n");
    crlf.put("A", "y", "2");
    crlf.put("B", "z", "3");
    QCOMPARE(crlf.bytes(), std::string("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n"));
    ProfileText noEnd("[A]\nx=1");
    noEnd.put("B", "z", "3");
    QCOMPARE(noEnd.bytes(), std::string("[A]\nx=1\n[B]\nz=3\n"));
    // A last line ending in CR alone reads the same once a line follows it.
    ProfileText lastCr("[A]\nx=1\r");
    QCOMPARE(lastCr.get("A", "x"), std::string("1"));
    lastCr.put("A", "y", "2");
    QCOMPARE(lastCr.get("A", "x"), std::string("1"));
    ProfileText fresh("", "\r\n");
    fresh.put("A", "x", "1");
    QCOMPARE(fresh.bytes(), std::string("[A]\r\nx=1\r\n"));
}

void tst_Settings::valueCutAt199Bytes()
{
    const std::string long300(300, 'x');
    const ProfileText t("[S]\nName=" + long300 + "\n");
    QCOMPARE(t.get("S", "Name").size(), std::size_t(199));
}

void tst_Settings::keyTableRoundTrip()
{
    const Settings s = Sample();
    ProfileText t;
    WriteSettings(t, s, Identity, Identity);
    const auto back = ReadSettings(t, Identity);
    QVERIFY(back.has_value());
    QVERIFY(*back == s);
    // Number forms as the Windows program writes them.
    QCOMPARE(t.get("SampleTextFont", "Size"), std::string("16")); // trimmed on reading
    QVERIFY(t.bytes().find("Size= 16\n") != std::string::npos);
    QVERIFY(t.bytes().find("bold=-1\n") != std::string::npos);
    QVERIFY(t.bytes().find("Enabled 1=1\n") != std::string::npos);
    QVERIFY(t.bytes().find("Color 3=6000000\n") != std::string::npos);
    QVERIFY(t.bytes().find("tate= 1\n") != std::string::npos);
    QVERIFY(t.bytes().find("chkHeight=True\n") != std::string::npos);
    QVERIFY(t.bytes().find("TextOnOff=True\n") != std::string::npos);
    QVERIFY(t.bytes().find("MainTop=-300\n") != std::string::npos);
}

void tst_Settings::writtenFileIsStableAndOrdered()
{
    ProfileText t;
    WriteSettings(t, Sample(), Identity, Identity);
    const std::string first = t.bytes();
    ProfileText again(first);
    const auto s = ReadSettings(again, Identity);
    WriteSettings(again, *s, Identity, Identity);
    QCOMPARE(again.bytes(), first);
    // Key order of the table.
    const char* order[] = {
        "[IniCheck]", "Dummy=1",     "[SampleTextFont]", "Name=",      "TextOnOff=", "[Memory]",
        "Enabled 0=", "Locate 0=",   "Color 0=",         "Enabled 1=", "Color 6=",   "Size=",
        "tate=",      "SaveHeight=", "chkHeight=",       "[Option]",   "MainLeft=",  "MainTop=",
        "TileLeft=",  "TileHeight=", "SaveInitPath="};
    std::size_t at = 0;
    for (const char* key : order) {
        const std::size_t found = first.find(key, at);
        QVERIFY2(found != std::string::npos, key);
        at = found;
    }
}

void tst_Settings::markerRules_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("read");
    QTest::newRow("marker 1") << "[IniCheck]\nDummy=1\n[Memory]\ntate=0\n" << true;
    QTest::newRow("marker 0") << "[IniCheck]\nDummy=0\n[Memory]\ntate=0\n" << false;
    QTest::newRow("marker text") << "[IniCheck]\nDummy=yes\n[Memory]\ntate=0\n" << false;
    QTest::newRow("no marker") << "[Memory]\ntate=0\n" << false;
    QTest::newRow("marker with blank") << "[iniCHECK]\n dummy = 7x\n" << true;
    QTest::newRow("empty") << "" << false;
}

void tst_Settings::markerRules()
{
    QFETCH(QString, text);
    QFETCH(bool, read);
    const auto s = ReadSettings(ProfileText(text.toStdString()), Identity);
    QCOMPARE(s.has_value(), read);
}

void tst_Settings::oddValues_data()
{
    QTest::addColumn<QString>("memory");
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("expected");
    QTest::newRow("leading blank colour") << "Color 3= 16711680"
                                          << "color3" << 16711680;
    QTest::newRow("plain colour") << "Color 3=16711680"
                                  << "color3" << 16711680;
    QTest::newRow("colour above range") << "Color 3=99999999"
                                        << "color3" << 0xFFFFFF;
    QTest::newRow("negative colour") << "Color 3=-5"
                                     << "color3" << 0;
    QTest::newRow("position beyond") << "Locate 2=1500"
                                     << "locate2" << 1000;
    QTest::newRow("position negative") << "Locate 2=-1"
                                       << "locate2" << 0;
    QTest::newRow("enable 5 is on") << "Enabled 2=5"
                                    << "enabled2" << 1;
    QTest::newRow("tate 7") << "tate=7"
                            << "tate" << 1;
    QTest::newRow("tate -9") << "tate=-9"
                             << "tate" << -1;
    QTest::newRow("size huge") << "Size=99999999999999999999"
                               << "size" << 2000;
    QTest::newRow("size fraction ties to even") << "Size=100.5"
                                                << "size" << 100;
    QTest::newRow("size garbage") << "Size=abc"
                                  << "size" << 4;
    QTest::newRow("thickness 0") << "SaveHeight=0"
                                 << "saveheight" << 1;
    QTest::newRow("trailing text") << "Locate 2=250px"
                                   << "locate2" << 250;
}

void tst_Settings::oddValues()
{
    QFETCH(QString, memory);
    QFETCH(QString, field);
    QFETCH(int, expected);
    // The first key of a name counts: the line under test comes first.
    const std::string text =
        "[IniCheck]\nDummy=1\n[Memory]\n" + memory.toStdString() + "\ntate=0\nEnabled 0=1\n";
    const auto s = ReadSettings(ProfileText(text), Identity);
    QVERIFY(s.has_value());
    const MemoryStateT& m = s->MemoryState;
    const int got = field == "color3"       ? m.Color[3]
                    : field == "locate2"    ? m.Locate[2]
                    : field == "enabled2"   ? m.Enabled[2]
                    : field == "tate"       ? m.tate
                    : field == "size"       ? m.Size
                    : field == "saveheight" ? m.SaveHeight
                                            : -12345;
    QCOMPARE(got, expected);
}

void tst_Settings::booleans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("value");
    QTest::newRow("True") << "True" << true;
    QTest::newRow("tRUE") << "tRUE" << true;
    QTest::newRow("False") << "False" << false;
    QTest::newRow("-1") << "-1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("garbage") << "maybe" << false;
    QTest::newRow("missing") << "" << false;
    QTest::newRow("Truest") << "Truest" << false;
}

void tst_Settings::booleans()
{
    QFETCH(QString, text);
    QFETCH(bool, value);
    QCOMPARE(ReadBoolean(text.toStdString()), value);
}

void tst_Settings::shiftJisCrLfFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("velmix.ini");
    QStringEncoder sjis("Shift_JIS");
    const QByteArray bytes = sjis.encode(QStringLiteral(
        "[IniCheck]\r\nDummy=1\r\n[SampleTextFont]\r\nName=ＭＳ Ｐ明朝\r\nSize= 12\r\n"
        "bold=-1\r\nItalic= 0\r\nColor= 255\r\nTextOnOff=True\r\n; メモ\r\n[Memory]\r\n"
        "Enabled 0=1\r\nLocate 0=500\r\nColor 0=65280\r\nSize= 300\r\ntate= 0\r\n"
        "SaveHeight= 20\r\nchkHeight=False\r\n[Option]\r\nMainLeft= 1200\r\nMainTop= 900\r\n"
        "SaveInitPath=C:\\画像\\\r\n"));
    WriteAll(path, bytes);
    ModuleINI ini;
    ini.SetIniFile(path);
    QCOMPARE(ini.Encoding(), QByteArray("Shift_JIS"));
    const auto s = ini.LoadIni();
    QVERIFY(s.has_value());
    QCOMPARE(QString::fromStdString(s->SampleTextFont.Name), QStringLiteral("ＭＳ Ｐ明朝"));
    QCOMPARE(s->SampleTextFont.Size, 12);
    QCOMPARE(s->SampleTextFont.bold, -1);
    QCOMPARE(s->MemoryState.Locate[0], 500);
    QCOMPARE(QString::fromStdString(s->SaveInitPath), QStringLiteral("C:\\画像\\"));
    // Written back in its own encoding and line endings, comment kept.
    QVERIFY(ini.SaveIni(*s));
    const QByteArray after = ReadAll(path);
    const QByteArray memo = sjis.encode(QStringLiteral("; メモ\r\n"));
    const QByteArray name = sjis.encode(QStringLiteral("Name=ＭＳ Ｐ明朝\r\n"));
    QVERIFY(after.contains(memo));
    QVERIFY(after.contains(name));
    QByteArray bare = after;
    QVERIFY(!bare.replace("\r\n", "").contains('\n'));
}

void tst_Settings::firstStartWritesCompleteFile()
{
    QTemporaryDir prog, user;
    ModuleINI ini;
    ini.SetIniPath(prog.path(), user.path());
    QCOMPARE(ini.IniPath(), prog.filePath("velmix.ini"));
    QVERIFY(!ini.LoadIni().has_value());
    Settings s; // defaults: nothing remembered
    s.mainPlace = WindowPlace{};
    s.tilePlace = WindowPlace{};
    QVERIFY(ini.SaveIni(s));
    const QByteArray text = ReadAll(ini.IniPath());
    QVERIFY(text.contains("Dummy=1\n"));
    QVERIFY(text.contains("tate=-1\n"));
    QVERIFY(text.contains("chkHeight=False\n"));
    QVERIFY(text.contains("Enabled 6=0\n"));
    QVERIFY(text.contains("SaveInitPath=\n"));
    ModuleINI again;
    again.SetIniPath(prog.path(), user.path());
    const auto back = again.LoadIni();
    QVERIFY(back.has_value());
    QCOMPARE(back->MemoryState.tate, std::int16_t(-1));
}

void tst_Settings::readOnlyProgramFolderFallsBack()
{
    if (geteuid() == 0)
        QSKIP("root writes into read-only folders");
    QTemporaryDir prog, user;
    WriteAll(prog.filePath("velmix.ini"), "[IniCheck]\nDummy=1\n; keep\n[Memory]\ntate= 0\n");
    QVERIFY(chmod(QFile::encodeName(prog.filePath("velmix.ini")).constData(), 0444) == 0);
    QVERIFY(chmod(QFile::encodeName(prog.path()).constData(), 0555) == 0);
    ModuleINI ini;
    ini.SetIniPath(prog.path(), user.filePath("cfg"));
    QCOMPARE(ini.IniPath(), user.filePath("cfg/velmix.ini"));
    const auto s = ini.LoadIni(); // the program folder's file starts the user's copy
    QVERIFY(s.has_value());
    QVERIFY(ini.SaveIni(*s));
    QVERIFY(ReadAll(user.filePath("cfg/velmix.ini")).contains("; keep\n"));
    chmod(QFile::encodeName(prog.path()).constData(), 0755);
}

void tst_Settings::failedWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("velmix.ini");
    const QByteArray old = "[IniCheck]\nDummy=1\n; mine\n[Memory]\ntate= 0\n";
    WriteAll(path, old);
    ModuleINI ini;
    ini.SetIniFile(path);
    QString error;
    {
        // A disk that takes only a few bytes, also for root.
        FileSizeLimit limit(16);
        QVERIFY(!ini.SaveIni(Sample(), &error));
    }
    // The system's own words for the cause.
    QVERIFY2(error.contains(QString::fromLocal8Bit(strerror(EFBIG))), qPrintable(error));
    QCOMPARE(ReadAll(path), old);
    // A folder standing where the file should be cannot be replaced either.
    QVERIFY(QDir().mkpath(dir.filePath("blocked")));
    ModuleINI blocked;
    blocked.SetIniFile(dir.filePath("blocked"));
    QVERIFY(!blocked.SaveIni(Sample()));
    QVERIFY(QFileInfo(dir.filePath("blocked")).isDir());
}

void tst_Settings::twoCopiesKeepEachOthersUnits()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("velmix.ini");
    // A file without the tile window's size, with a save folder.
    WriteAll(path, "[IniCheck]\nDummy=1\n[Memory]\ntate=-1\n[Option]\nMainLeft= 15\n"
                   "MainTop= 30\nTileLeft= 45\nTileTop= 60\nSaveInitPath=/data/\n");
    ModuleINI a, b;
    a.SetIniFile(path);
    b.SetIniFile(path);
    const Settings start = *a.LoadIni();
    a.SetBaseline(start);
    b.SetBaseline(start);
    // A remembers a state and quits; B changed only the sample text.
    Settings sa = start;
    sa.MemoryState = Sample().MemoryState;
    QVERIFY(a.SaveIni(sa));
    Settings sb = start;
    sb.SampleTextFont = Sample().SampleTextFont;
    QVERIFY(b.SaveIni(sb));
    const auto back = ModuleINI().LoadIni(); // nothing: no file set
    QVERIFY(!back.has_value());
    ModuleINI c;
    c.SetIniFile(path);
    const auto now = c.LoadIni();
    QVERIFY(now.has_value());
    QVERIFY(now->MemoryState == Sample().MemoryState);
    QVERIFY(now->SampleTextFont == Sample().SampleTextFont);
    // A run that saved nothing keeps the folder; missing keys are written.
    QCOMPARE(now->SaveInitPath, std::string("/data/"));
    const QByteArray text = ReadAll(path);
    QVERIFY(text.contains("MainLeft= 15\n"));
    QVERIFY(text.contains("TileWidth= 0\n"));
    // A unit written at once is not written again at exit.
    Settings sc = *now;
    c.SetBaseline(sc);
    sc.MemoryState.tate = 0;
    QVERIFY(c.SaveUnits(sc, kUnitMemory));
    WriteAll(path, ReadAll(path).replace("tate= 0", "tate= 1"));
    QVERIFY(c.SaveIni(sc));
    QVERIFY(ReadAll(path).contains("tate= 1\n"));
}

void tst_Settings::byteOrderMarkKept()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("velmix.ini");
    WriteAll(path, "\xEF\xBB\xBF[IniCheck]\r\nDummy=1\r\n[Memory]\r\nEnabled 0=1\r\n"
                   "Locate 0=400\r\ntate= 1\r\nSize= 300\r\n");
    ModuleINI ini;
    ini.SetIniFile(path);
    const auto s = ini.LoadIni();
    QVERIFY(s.has_value());
    QCOMPARE(s->MemoryState.tate, std::int16_t(1));
    QCOMPARE(s->MemoryState.Locate[0], 400);
    ini.SetBaseline(*s);
    QVERIFY(ini.SaveIni(*s));
    const QByteArray after = ReadAll(path);
    QVERIFY(after.startsWith("\xEF\xBB\xBF[IniCheck]\r\nDummy=1\r\n"));
    QCOMPARE(after.count("[IniCheck]"), 1);
    QVERIFY(after.contains("Locate 0=400\r\n"));
}

void tst_Settings::strayByteKeepsOtherValues()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("velmix.ini");
    const QByteArray name = QStringLiteral("Name=ＭＳ Ｐゴシック\n").toUtf8();
    const QByteArray folder = QStringLiteral("SaveInitPath=/home/ユーザー/\n").toUtf8();
    WriteAll(path, "; caf\xE9 au lait\n[IniCheck]\nDummy=1\n[SampleTextFont]\n" + name +
                       "Size= 12\n[Memory]\ntate=-1\n[Option]\n" + folder);
    ModuleINI ini;
    ini.SetIniFile(path);
    const auto s = ini.LoadIni();
    QVERIFY(s.has_value());
    QCOMPARE(QString::fromStdString(s->SampleTextFont.Name), QStringLiteral("ＭＳ Ｐゴシック"));
    // Every unit written, none of the texts changed.
    QVERIFY(ini.SaveUnits(*s, kAllUnits));
    QByteArray after = ReadAll(path);
    QVERIFY(after.startsWith("; caf\xE9 au lait\n"));
    QVERIFY(after.contains(name));
    QVERIFY(after.contains(folder));
    // A new name is written in UTF-8 and reads back.
    Settings changed = *s;
    changed.SampleTextFont.Name = "メイリオ";
    QVERIFY(ini.SaveUnits(changed, kUnitFont));
    after = ReadAll(path);
    QVERIFY2(after.contains(QStringLiteral("Name=メイリオ\n").toUtf8()), after.constData());
    QVERIFY(after.contains(folder));
}

void tst_Settings::textOutsideCodePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("emoji") << QStringLiteral("Noto Color Emoji 😀");
    QTest::newRow("Ukrainian") << QStringLiteral("Шрифт Її");
    QTest::newRow("Japanese stays Shift_JIS") << QStringLiteral("ＭＳ 明朝");
}

void tst_Settings::textOutsideCodePage()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath("velmix.ini");
    QStringEncoder sjis("Shift_JIS");
    const QByteArray memo = sjis.encode(QStringLiteral("; メモ\r\n"));
    WriteAll(path, "[IniCheck]\r\nDummy=1\r\n" + memo + "[SampleTextFont]\r\nName=x\r\n");
    ModuleINI ini;
    ini.SetIniFile(path);
    Settings s = *ini.LoadIni();
    QCOMPARE(ini.Encoding(), QByteArray("Shift_JIS"));
    s.SampleTextFont.Name = text.toStdString();
    s.SaveInitPath = "/" + text.toStdString() + "/";
    QVERIFY(ini.SaveIni(s));
    QVERIFY(ReadAll(path).contains(memo));
    ModuleINI back;
    back.SetIniFile(path);
    const auto r = back.LoadIni();
    QVERIFY(r.has_value());
    QCOMPARE(QString::fromStdString(r->SampleTextFont.Name), text);
    QCOMPARE(QString::fromStdString(r->SaveInitPath), "/" + text + "/");
    QCOMPARE(QString::fromStdString(back.GetIniValue("SampleTextFont", "Name")), text);
}

void tst_Settings::notAFileIsRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("fifo") << "fifo";
    QTest::newRow("directory") << "directory";
    QTest::newRow("over 1 MiB") << "large";
    QTest::newRow("device") << "device";
}

void tst_Settings::notAFileIsRefused()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath("velmix.ini");
    if (kind == "fifo")
        QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else if (kind == "directory")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "large")
        WriteAll(path, "[IniCheck]\nDummy=1\n" + QByteArray(ModuleINI::kMaxFileSize, ';'));
    else
        path = "/dev/zero";
    const QFileInfo before(path);
    ModuleINI ini;
    ini.SetIniFile(path); // returns: a FIFO is not opened
    QVERIFY(!ini.ReadError().isEmpty());
    QVERIFY(!ini.LoadIni().has_value());
    QVERIFY(!ini.SaveIni(Sample()));
    const QFileInfo after(path);
    QCOMPARE(after.isFile(), before.isFile());
    QCOMPARE(after.size(), before.size());
    if (kind == "device")
        return;
    // Beside the program: the user's own copy is used and written instead.
    QTemporaryDir user;
    ModuleINI beside;
    beside.SetIniPath(dir.path(), user.path());
    QVERIFY(beside.ReadError().isEmpty());
    QVERIFY(beside.SaveIni(Sample()));
    QVERIFY(QFileInfo(user.filePath("velmix.ini")).isFile());
    QCOMPARE(QFileInfo(path).size(), before.size());
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
