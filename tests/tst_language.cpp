// SPDX-License-Identifier: MIT
// English beside Japanese: every text of every window fits its control in
// both languages, the menu switches every open window at once and back to
// exactly the Japanese texts, the choice is kept in the settings file, and
// Qt's own buttons follow; every refusal of the readers is worded in both.

#include "about/frmabout.h"
#include "common/failuretext.h"
#include "core/numtext.h"
#include "export/frmoption.h"
#include "guifixture.h"
#include "library/frmlibrary.h"
#include "main/frmld.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyleOptionButton>

using namespace velmix;

namespace {

const QRegularExpression kKana("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]");

// Where the style draws a button's text.
QRect TextRoom(QAbstractButton* b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const auto room = [&](auto e) { return b->style()->subElementRect(e, &opt, b); };
    if (qobject_cast<QCheckBox*>(b))
        return room(QStyle::SE_CheckBoxContents);
    if (qobject_cast<QRadioButton*>(b))
        return room(QStyle::SE_RadioButtonContents);
    // A push button's text keeps two pixels clear of its frame.
    return room(QStyle::SE_PushButtonContents).adjusted(2, 0, -2, 0);
}

// Each shown text of the window that its control cuts, as "window/control
// 'text' needs W x H px, has W x H". No text of ours has a drawn "&".
QStringList Cut(QWidget* window)
{
    QStringList cut;
    const auto px = [](QSize s) { return QString("%1 x %2").arg(s.width()).arg(s.height()); };
    for (auto* w : window->findChildren<QWidget*>()) {
        const QFontMetrics fm(w->font());
        QString text;
        QSize need, has;
        if (auto* l = qobject_cast<QLabel*>(w)) {
            text = l->text();
            const int m = l->margin();
            has = l->contentsRect().adjusted(m, m, -m, -m).size();
            // The number of lines matters where a label wraps.
            const int wrap = l->wordWrap() ? Qt::TextWordWrap : 0;
            need = fm.boundingRect(QRect(0, 0, has.width(), 10000), wrap, text).size();
            need.setHeight(wrap ? need.height() : 0);
        } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            text = QString(b->text()).remove('&');
            has = TextRoom(b).size();
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            // The title stands eight pixels in from either edge.
            text = QString(g->title()).remove('&');
            has = QSize(g->width() - 16, 0);
        }
        // A button's or a title's text takes one line.
        if (!need.isValid())
            need = QSize(fm.horizontalAdvance(text), 0);
        if (!text.isEmpty() && w->isVisibleTo(window) && has.expandedTo(need) != has)
            cut << QString("%1/%2 '%3' needs %4 px, has %5")
                       .arg(window->objectName(), w->objectName(), text, px(need), px(has));
    }
    return cut;
}

// Every text a person or a screen reader meets in the window and its menus.
QStringList Texts(QWidget* window)
{
    QStringList texts{window->windowTitle()};
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
    texts.removeAll(QString());
    return texts;
}

} // namespace

class tst_Language : public QObject
{
    Q_OBJECT
private slots:
    void textsFit();
    void choiceKept_data();
    void choiceKept();
    void refusalsWorded_data();
    void refusalsWorded();
};

// In both languages, English chosen from the menu: every text fits its
// control in the main window and the tile window at its designed size in
// both orientations, the options dialog for both commands with the longest
// size shown, the library, the brightness dialog and the about box. The menu
// switches every open window at once and back to exactly the Japanese texts,
// and Qt's own buttons follow.
void tst_Language::textsFit()
{
    GuiFixture f;
    auto& w = f.w();
    f.trigger("MenuTile");
    f.trigger("mnuLibrary");
    frmLD ld(&w);
    const auto texts = [&] { return Texts(&w) + Texts(&f.tile()) + Texts(&w.library()); };
    QStringList seen[2];
    GradDocument doc;
    ExportOptions options(doc);
    QStringList cut;
    for (bool english : {false, true}) {
        if (english)
            f.trigger("mnuLanguage");
        for (int way : {1, 0}) {
            Click(f.get(Row("Option1", way)));
            cut << Cut(&w) << Cut(&f.tile());
        }
        seen[english] = texts();
        for (bool save : {true, false}) {
            frmOption o(f.dialogs, &w, options);
            o.setObjectName("frmOption");
            o.setTarget({save, save ? 0 : 1, kMaxImageSize});
            o.show();
            o.setThickness(true, kMaxThickness);
            cut << Cut(&o);
        }
        // Made anew each time it is shown.
        frmAbout about(f.dialogs, &w);
        for (auto* d : QWidgetList{&w.library(), &ld, &about}) {
            d->setObjectName(d->metaObject()->className());
            d->show();
            cut << Cut(d);
        }
    }
    cut.removeDuplicates();
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    QCOMPARE(CurrentUiLanguage(), UiLanguage::English);
    const auto& [japanese, english] = seen;
    QCOMPARE(english.size(), japanese.size());
    // Not a Japanese character left, the other language's item aside.
    auto left = english.filter(kKana);
    left.removeAll("日本語(&J)");
    // The stored font name is a value, not a text of ours.
    left.removeIf([](auto& t) { return t.startsWith("FontName = "); });
    QVERIFY2(left.isEmpty(), qPrintable(left.join('\n')));
    QVERIFY(english.contains("&Tile View"));
    QCOMPARE(f.tile().windowTitle(), QString("Tile View"));
    const auto cancel = [] { return qApp->translate("QPlatformTheme", "Cancel"); };
    QCOMPARE(cancel(), "Cancel");
    f.trigger("mnuLanguage");
    QCOMPARE(texts(), japanese);
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
    {
        GuiFixture f("[IniCheck]\r\nDummy=1\r\n[Option]\r\n" + line.toUtf8());
        QCOMPARE(CurrentUiLanguage() == UiLanguage::English, english);
        QCOMPARE(f.get<QPushButton>("CmdSave")->text(), english ? "&Save" : "保存(&S)");
        // Not chosen in this run: the file's line stays as it was.
        f.w().SaveSettingsNow();
        const QString ini = f.iniText();
        QCOMPARE(ini.indexOf("Language") < 0, line.isEmpty());
        QVERIFY(ini.contains(line));
        f.trigger("mnuLanguage");
        f.w().SaveSettingsNow();
        const char* chosen = english ? "Language=ja\r\n" : "Language=en\r\n";
        QVERIFY2(f.iniText().contains(chosen), f.iniText().constData());
    }
    SetUpJapaneseUi();
}

// Every kind of refusal a reader or the library gives has its words in
// both languages: the English holds nothing Japanese, and says each value
// the kind carries (line, number, quotes) just when the Japanese does.
void tst_Language::refusalsWorded_data()
{
    QTest::addColumn<int>("kind");
    for (int k = int(RefusalKind::TooLarge); k <= int(RefusalKind::NoSuchGradient); ++k)
        QTest::newRow(qPrintable(RefusalText(RefusalKind(k)))) << k;
}

void tst_Language::refusalsWorded()
{
    QFETCH(int, kind);
    const Refusal r(RefusalKind(kind), 4711, 2029, "<a>", "<b>");
    const QString japanese = RefusalText(r);
    SetUiLanguage(UiLanguage::English);
    const QString english = RefusalText(r);
    SetUiLanguage(UiLanguage::Japanese);
    QVERIFY(japanese.contains(kKana));
    QVERIFY2(!english.contains(kKana), qPrintable(english));
    for (const char* value : {"4711", "2029", "<a>", "<b>"})
        QCOMPARE(english.contains(value), japanese.contains(value));
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"
