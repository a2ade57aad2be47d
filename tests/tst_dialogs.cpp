// SPDX-License-Identifier: MIT
// What the program's own dialogs show and offer: the system information
// from the about box, and the folders the library's file dialogs open in.

#include "core/version.h"
#include "guifixture.h"
#include "library/frmlibrary.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace velmix;

class tst_Dialogs : public QObject
{
    Q_OBJECT
private slots:
    void systemInformation_data();
    void systemInformation();
    void libraryFolders();
};

// A line the window shows; %1 is the program's folder.
void tst_Dialogs::systemInformation_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("line");
    QTest::newRow("version") << false << QString("Velmix: ") + kVersionText;
    QTest::newRow("window system") << false << "ｳｨﾝﾄﾞｳｼｽﾃﾑ: offscreen";
    QTest::newRow("settings file") << true << "Settings file: %1/velmix.ini";
    QTest::newRow("language") << true << "Language: English";
}

// Opened from the about box; the copy is the text shown.
void tst_Dialogs::systemInformation()
{
    QFETCH(bool, english);
    FETCH(line);
    GuiFixture f;
    if (english)
        SetUiLanguage(UiLanguage::English);
    QString shown;
    auto& modals = f.dialogs.modals;
    modals.push_back([](QDialog* about) { Click(child<QPushButton>(*about, "cmdSysInfo")); });
    bool readOnly = false;
    modals.push_back([&](QDialog* info) {
        const auto* text = child<QPlainTextEdit>(*info, "txtInfo");
        shown = text->toPlainText();
        readOnly = text->isReadOnly();
        Click(child<QPushButton>(*info, "cmdCopy"));
    });
    f.trigger("MenuVersion");
    line.replace("%1", f.programDir.path());
    QVERIFY2(shown.split('\n').contains(line), qPrintable(shown));
    QCOMPARE(QGuiApplication::clipboard()->text(), shown);
    QVERIFY(readOnly);
}

// Import and export open in the home folder at first, then where each was
// last used, also in the next run.
void tst_Dialogs::libraryFolders()
{
    QTemporaryDir in, out;
    qputenv("XDG_DATA_HOME", in.filePath("data").toUtf8());
    const auto ggr = in.filePath("sky.ggr");
    WriteAll(ggr, "GIMP Gradient\nName: Sky\n1\n0 0.5 1 0 0 1 1 1 1 1 1 0 0\n");
    QByteArray ini;
    QStringList offered{QDir::homePath(), QDir::homePath()};
    for (int run = 0; run < 2; ++run) {
        GuiFixture f(ini);
        auto& d = f.dialogs;
        d.openFiles.push_back({ggr});
        f.w().library().cmdImport_Click();
        d.files.push_back(out.filePath("sky.ggr"));
        f.w().library().cmdExport_Click();
        QCOMPARE(QStringList({d.openDirs.at(0), d.saveRequests.at(0).initialDir}), offered);
        f.w().close();
        ini = f.iniText();
        offered = QStringList{in.path(), out.path()};
    }
    const auto keys = "\nImportInitPath=%1\nExportInitPath=%2\n";
    const auto want = QString(keys).arg(in.path(), out.path()).toUtf8();
    QVERIFY2(ini.endsWith(want), ini.constData());
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
