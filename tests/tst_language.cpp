// SPDX-License-Identifier: MIT
// English beside Japanese: the menu switches every open window at once and
// back to exactly the Japanese texts, the choice is kept in the settings
// file, and Qt's own buttons follow.

#include "guifixture.h"
#include "library/frmlibrary.h"
#include "main/frmld.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>

using namespace velmix;

namespace {

// Every text a person or a screen reader meets in the windows and their
// menus.
QStringList Texts(const QWidgetList& windows)
{
    QStringList texts;
    for (auto* window : windows) {
        texts << window->windowTitle();
        for (auto* w : window->findChildren<QWidget*>()) {
            texts << w->toolTip() << w->accessibleName();
            if (auto* l = qobject_cast<QLabel*>(w))
                texts << l->text();
            else if (auto* b = qobject_cast<QAbstractButton*>(w))
                texts << b->text();
            else if (auto* g = qobject_cast<QGroupBox*>(w))
                texts << g->title();
        }
        for (auto* a : window->findChildren<QAction*>())
            texts << a->text();
    }
    texts.removeAll(QString());
    return texts;
}

} // namespace

class tst_Language : public QObject
{
    Q_OBJECT
private slots:
    void menuSwitches();
    void choiceKept_data();
    void choiceKept();
};

// English chosen from the menu: every open window speaks it at once (not a
// Japanese character left, the other language's item aside), Qt's own
// buttons follow, and chosen again, every window is back to exactly the
// Japanese texts.
void tst_Language::menuSwitches()
{
    GuiFixture f;
    auto& w = f.w();
    f.trigger("MenuTile");
    f.trigger("mnuLibrary");
    frmLD ld(&w);
    const QWidgetList open{&w, &f.tile(), &w.library(), &ld};
    const auto japanese = Texts(open);
    f.trigger("mnuLanguage");
    const QRegularExpression kana("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]");
    auto left = Texts(open).filter(kana);
    left.removeAll("日本語(&J)");
    // The stored font name is a value, not a text of ours.
    left.removeIf([](auto& t) { return t.startsWith("FontName = "); });
    QVERIFY2(left.isEmpty(), qPrintable(left.join('\n')));
    const auto cancel = [] { return qApp->translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(cancel(), "Cancel");
    f.trigger("mnuLanguage");
    QCOMPARE(Texts(open), japanese);
    QCOMPARE(cancel(), "キャンセル");
}

// The language line of the settings file's [Option] section, and whether
// the windows then speak English; anything but the two codes follows the
// locale, which is C here.
void tst_Language::choiceKept_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("english");
    QTest::newRow("no key: the locale's") << "" << false;
    QTest::newRow("Japanese") << "Language=ja\r\n" << false;
    QTest::newRow("by hand") << "Language= EN \r\n" << true;
    QTest::newRow("unknown") << "Language=de\r\n" << false;
}

void tst_Language::choiceKept()
{
    FETCH(line);
    QFETCH(bool, english);
    GuiFixture f("[IniCheck]\r\nDummy=1\r\n[Option]\r\n" + line.toUtf8());
    QCOMPARE(f.get<QPushButton>("CmdSave")->text() == "&Save", english);
    // Not chosen in this run: the file's line stays as it was.
    f.w().SaveSettingsNow();
    const QString ini = f.iniText();
    QCOMPARE(ini.indexOf("Language") < 0, line.isEmpty());
    QVERIFY(ini.contains(line));
    f.trigger("mnuLanguage");
    f.w().SaveSettingsNow();
    QVERIFY(f.iniText().contains(english ? "Language=ja\r\n" : "Language=en\r\n"));
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"
