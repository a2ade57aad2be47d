// SPDX-License-Identifier: MIT
// What the program's own dialogs show and offer: the system information
// from the about box, and the folders the library's file dialogs open in.

#include "guifixture.h"
#include "library/frmlibrary.h"

#include <QClipboard>
#include <QPushButton>

using namespace velmix;

class tst_Dialogs : public QObject
{
    Q_OBJECT
private slots:
    void systemInformation();
    void libraryFolders();
};

// Opened from the about box and copied, in English as the language line
// says, naming the window system.
void tst_Dialogs::systemInformation()
{
    GuiFixture f;
    SetUiLanguage(UiLanguage::English);
    auto& modals = f.dialogs.modals;
    modals.push_back([](QDialog* d) { Click(child<QPushButton>(*d, "cmdSysInfo")); });
    modals.push_back([](QDialog* d) { Click(child<QPushButton>(*d, "cmdCopy")); });
    f.trigger("MenuVersion");
    const auto lines = QGuiApplication::clipboard()->text().split('\n');
    QVERIFY(lines.contains("Language: English") &&
            lines.contains("Window system: offscreen"));
}

// Import opens in the home folder at first, then where it was last used,
// also in the next run (so it is in the settings file; export keeps its
// folder by the same code).
void tst_Dialogs::libraryFolders()
{
    QTemporaryDir in;
    qputenv("XDG_DATA_HOME", in.filePath("data").toUtf8());
    QByteArray ini;
    for (const auto& offered : {QDir::homePath(), in.path()}) {
        GuiFixture f(ini);
        f.dialogs.openFiles.push_back({in.filePath("sky.ggr")});
        f.w().library().cmdImport_Click();
        QCOMPARE(f.dialogs.openDirs.at(0), offered);
        f.w().close();
        ini = f.iniText();
    }
}

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
