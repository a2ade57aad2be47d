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
    void systemInformation();
    void libraryFolders();
};

// Opened from the about box (in English, as the
// language line says); the copy is the text shown.
void tst_Dialogs::systemInformation()
{
    GuiFixture f;
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
    const auto ini = f.programDir.filePath("velmix.ini");
    const QStringList want{QString("Velmix: ") + kVersionText, "Window system: offscreen",
                           "Settings file: " + ini, "Language: English"};
    for (const auto& line : want)
        QVERIFY2(shown.split('\n').contains(line), qPrintable(shown));
    QCOMPARE(QGuiApplication::clipboard()->text(), shown);
    QVERIFY(readOnly);
}

// Import and export open in the home folder at first, then where each was
// last used, also in the next run (so it is in the settings file).
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
        const auto saveDir = d.saveRequests.at(0).initialDir;
        QCOMPARE(QStringList({d.openDirs.at(0), saveDir}), offered);
        f.w().close();
        ini = f.iniText();
        offered = QStringList{in.path(), out.path()};
    }
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
