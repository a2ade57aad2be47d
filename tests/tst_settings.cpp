// SPDX-License-Identifier: MIT
// The settings file: profile text rules, the exact bytes of the key table,
// odd values, the character sets of files from the Windows program and from
// hand edits, and where the file lives (beside the program or, for an
// installed copy, in the user's folder). A failed write that keeps the old
// file: tst_mainwindow.

#include "core/numtext.h"
#include "settings/moduleini.h"
#include "settings/profile.h"
#include "settings/settings.h"
#include "table.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <map>
#include <memory>
#include <random>

#include <sys/stat.h>

using namespace velmix;
using namespace std::string_literals;

namespace {

// Bytes before, font name read, encoding, name saved, parts of the bytes after.
using Charset = std::tuple<QByteArray, QString, QByteArray, QString, QByteArrayList>;

const auto Same = [](std::string_view s) { return std::string(s); };

// The settings the sample file holds.
Settings Sample()
{
    const auto text = DataFile("settings_sample.ini").toStdString();
    return ReadSettings(ProfileText(text), Same).value();
}

const auto Sjis = [](QString s) -> QByteArray {
    return QStringEncoder("Shift_JIS")(s);
};

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;

    void write(QByteArray bytes) const { WriteAll(m_path, bytes); }
    QByteArray bytes() const { return ReadAll(m_path); }
    // The file itself, or the one found beside the program with `user` as
    // the user's folder.
    ModuleINI ini(const QTemporaryDir* user = {}) const
    {
        ModuleINI ini;
        if (user)
            ini.SetIniPath(m_dir->path(), user->path());
        else
            ini.SetIniFile(m_path);
        return ini;
    }

private slots:

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_path = m_dir->filePath("velmix.ini");
    }

    // Random names and values put in one case and read in another, also from
    // the bytes written: names match whatever their case, blanks around a
    // value go, a value is cut to 199 bytes.
    void profileRoundTrip()
    {
        std::mt19937 r(11);
        const auto text = [&](std::size_t most, std::string_view from) {
            std::string s(1 + r() % most, ' ');
            for (char& c : s)
                c = from[r() % from.size()];
            return s;
        };
        ProfileText t;
        std::map<std::pair<std::string, std::string>, std::string> want;
        for (int i = 0; i < 500; ++i) {
            const auto s = text(2, "aBz"), k = text(3, "aBz9_"),
                       v = text(250, "xY =;[\t");
            t.put(s, k, v);
            const auto b = v.find_first_not_of(" \t"), e = v.find_last_not_of(" \t");
            const auto kept = b == v.npos ? "" : v.substr(b, e - b + 1).substr(0, 199);
            want[{AsciiLower(s), AsciiLower(k)}] = kept;
        }
        const ProfileText back(t.bytes());
        for (const auto& [k, v] : want) {
            QCOMPARE(t.get(k.first, k.second), v);
            QCOMPARE(back.get(k.first, k.second), v);
        }
        // Only the first section of a name counts, and a comment is no key.
        const ProfileText two("[A]\n; x\n[a]\nx=2\n[B]\nx=3");
        QVERIFY(!two.has("A", "x") && two.get("b", "X") == "3");
        // The first line's ending is the one new lines get.
        ProfileText crlf("[A]\r\nx=1\n");
        crlf.put("A", "y", "2");
        crlf.put("B", "z", "3");
        QCOMPARE(crlf.bytes(), "[A]\r\nx=1\ny=2\r\n[B]\r\nz=3\r\n"s);
    }

    void profileWrite_data()
    {
        Rows<QByteArray>({{"LF", "\n"}, {"CR LF", "\r\n"}, {"CR alone", "\r"}});
    }

    // Each ending ends a line; comments, unknown keys and blank lines are kept
    // in place, and new lines get the file's own ending, the last line too.
    void profileWrite()
    {
        QFETCH(QByteArray, row);
        const auto e = [&](QByteArray s) { return s.replace('\n', row).toStdString(); };
        ProfileText t(e("; n\n[Memory]\nSize=10\n; in\nx=kept\n\n[Extra]\nfoo = bar "));
        QCOMPARE(t.get("Extra", "foo"), "bar"s);
        t.put("memory", "size", " 640");
        t.put("Memory", "tate", "-1");
        t.put("Option", "MainLeft", " 15");
        QCOMPARE(t.bytes(), e("; n\n[Memory]\nsize= 640\n; in\nx=kept\ntate=-1\n\n"
                              "[Extra]\nfoo = bar \n[Option]\nMainLeft= 15\n"));
    }

    // The key table in its order and number forms, as the Windows program
    // writes them: the sample file read and written again is unchanged.
    void keyTableAndValues()
    {
        const auto whole = DataFile("settings_sample.ini");
        const auto bytes = [](const ProfileText& t) {
            return QByteArray::fromStdString(t.bytes());
        };
        ProfileText t;
        WriteSettings(t, Sample(), Same, Same);
        QCOMPARE(bytes(t), whole);
        // Whichever keys a file lacks, they are put back in the table's order.
        QRandomGenerator rng(31);
        for (int i = 0; i < 64; ++i) {
            QByteArray lacking;
            for (const auto& line : whole.split('\n')) {
                const bool head = line.startsWith('[');
                if (!line.isEmpty() && (head || rng.bounded(3) == 0))
                    lacking += line + '\n';
            }
            ProfileText part(lacking.toStdString());
            WriteSettings(part, Sample(), Same, Same, 0);
            QCOMPARE(bytes(part), whole);
        }
    }
    void oddValues_data()
    {
        TableRows("settings_odd.txt", {"line", "value"}, Named::ByInput);
    }

    // The lines and the value written back in the file (tests/data).
    void oddValues()
    {
        QFETCH(QString, line);
        QFETCH(QString, value);
        const bool font = line.startsWith('[');
        const auto text = "[IniCheck]\nDummy=1\n" +
                          (font ? line : "[Memory]\n" + line).toStdString() +
                          "\n[Memory]\ntate=0\nEnabled 0=1\n";
        ProfileText out;
        const auto read = *ReadSettings(ProfileText(text), Same);
        WriteSettings(out, read, Same, Same);
        const auto key = line.section('\n', -1).section('=', 0, 0).toStdString();
        QCOMPARE(Q(out.get(font ? "SampleTextFont" : "Memory", key)), value);
        // A run that changed nothing leaves what the file means.
        ProfileText same(text);
        WriteSettings(same, read, Same, Same, 0);
        QVERIFY(*ReadSettings(same, Same) == read);
    }
    // Each value is read as UTF-8 when its bytes are, else as the Windows
    // program's Shift-JIS; new text goes in the file's own character set when
    // it can hold it, else in UTF-8; untouched lines keep their bytes.
    void characterSets_data()
    {
        const auto sjis =
            Sjis("[IniCheck]\r\nDummy=1\r\n[SampleTextFont]\r\nName=Ｐ明朝\r\n; "
                 "メモ\r\n[Option]\r\nSaveInitPath=C:\\画像\\\r\n");
        const auto memo = Sjis("; メモ\r\n");
        const auto dir = Sjis("SaveInitPath=C:\\画像\\\r\n");
        const QByteArray bom = "\xEF\xBB\xBF[IniCheck]\r\nDummy=1\r\n";
        const QByteArray utf = "; caf\xE9\n[IniCheck]\n";
        const QByteArray path = "SaveInitPath=/ユーザー/\n";
        const QByteArray u8 =
            utf + "Dummy=1\n[SampleTextFont]\nName=ゴシック\n[Option]\n" + path;
        const QByteArray m = bom + "[SampleTextFont]\r\nName=Ｍ\r\n";
        Rows<Charset>({
            {"Shift-JIS",
             {sjis, "Ｐ明朝", "Shift_JIS", "明朝", {Sjis("Name=明朝\r\n"), memo, dir}}},
            {"emoji",
             {sjis, "Ｐ明朝", "Shift_JIS", "Emoji 😀", {"Name=Emoji 😀\r\n", memo, dir}}},
            {"UTF-8",
             {u8, "ゴシック", "UTF-8", "メイリオ", {utf, "Name=メイリオ\n", path}}},
            {"BOM", {m, "Ｍ", "UTF-8", "明朝", {bom, "Name=明朝\r\n"}}},
        });
    }

    void characterSets()
    {
        QFETCH(Charset, row);
        const auto& [before, name, encoding, newName, after] = row;
        write(before);
        auto file = ini();
        auto s = file.LoadIni();
        QVERIFY(s.has_value());
        QCOMPARE(Q(s->SampleTextFont.Name), name);
        QCOMPARE(file.Encoding(), encoding);
        file.SetBaseline(*s);
        s->SampleTextFont.Name = newName.toStdString();
        QVERIFY(file.SaveIni(*s).ok());
        const auto written = bytes();
        for (const auto& part : after)
            QVERIFY(written.contains(part));
        QCOMPARE(written.count("[IniCheck]"), 1);
        QCOMPARE(Q(ini().LoadIni()->SampleTextFont.Name), newName);
    }

    // Two copies started from the same file: A remembers a state, moves its
    // window, saves elsewhere and blends in OKLab; B, quitting later, changed
    // only the sample text and the dither box. Each unit keeps the last copy that
    // changed it.
    void twoCopies()
    {
        // The file: main window at 15, 30, tile window at 45, 60.
        write(DataFile("settings_copies.ini"));
        auto a = ini(), b = ini();
        const auto start = *a.LoadIni();
        a.SetBaseline(start);
        b.SetBaseline(start);
        auto sa = start, sb = start, want = Sample();
        sa.MemoryState = want.MemoryState;
        sa.mainPlace->left = 16;
        sa.tilePlace = want.tilePlace;
        sa.SaveInitPath = want.SaveInitPath;
        sa.Blend = want.Blend;
        QVERIFY(a.SaveIni(sa).ok());
        sb.SampleTextFont = want.SampleTextFont;
        sb.Dither = want.Dither;
        QVERIFY(b.SaveIni(sb).ok());
        want.mainPlace = WindowPlace{16, 30, 0, 0};
        QVERIFY(ini().LoadIni() == want);
        // B's first write keeps the windows it did not write for its exit.
        want.mainPlace->left = 17;
        want.tilePlace->left = 3001;
        QVERIFY(b.SaveUnits(want, kUnitMemory).ok() && b.SaveIni(want).ok());
        QVERIFY(bytes().contains("MainLeft= 17\nMainTop= 30\nTileLeft= 3001"));
    }

    // Only a regular file of at most 1 MiB is read or replaced; beside the
    // program, the user's own copy is used instead.
    void notAFileIsRefused_data()
    {
        QTest::addColumn<QString>("kind");
        for (auto kind : {"fifo", "directory", "link loop", "1 MiB + 1", "1 MiB"})
            QTest::newRow(kind) << QString(kind);
    }

    void notAFileIsRefused()
    {
        QFETCH(QString, kind);
        const bool refused = kind != "1 MiB";
        if (kind == "fifo")
            QVERIFY(mkfifo(QFile::encodeName(m_path), 0600) == 0);
        else if (kind == "directory")
            QVERIFY(QDir().mkpath(m_path));
        else if (kind.startsWith("l"))
            QVERIFY(QFile::link(m_path, m_path));
        else
            write("[IniCheck]\nDummy=1\n" +
                  QByteArray(ModuleINI::kMaxFileSize - 19 + refused, ';'));
        const QFileInfo before(m_path);
        // returns: a FIFO is not opened
        auto file = ini();
        QCOMPARE(file.ReadResult().ok(), !refused);
        QCOMPARE(file.LoadIni().has_value(), !refused);
        if (refused)
            QVERIFY(!file.SaveIni(Sample()).ok());
        QCOMPARE(QFileInfo(m_path).isFile(), before.isFile());
        QCOMPARE(QFileInfo(m_path).size(), before.size());
        QTemporaryDir user;
        const auto found = ini(&user);
        QVERIFY(found.ReadResult().ok());
        QCOMPARE(found.IniPath(), refused ? user.filePath("velmix.ini") : m_path);
    }
    // A link to a file not made yet makes that file, beside the program too;
    // one into a folder that is missing reads as no file and fails to save.
    void links()
    {
        QVERIFY(QFile::link("made.ini", m_path));
        QTemporaryDir user;
        auto found = ini(&user);
        QCOMPARE(found.IniPath(), m_path);
        QVERIFY(found.SaveIni(Sample()).ok());
        QVERIFY(QFileInfo(m_path).isSymLink());
        QVERIFY(ini().LoadIni() == Sample());
        QVERIFY(QFile::remove(m_path) && QFile::link("no/made.ini", m_path));
        QVERIFY(ini().ReadResult().ok());
        QVERIFY(!ini().SaveIni(Sample()).ok());
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
