// Save and copy through the real commands with scripted dialogs: file types,
// thickness, the options dialog, cancelling at each step, the clipboard,
// failures that keep the old file, the encoder codes, and the help and
// about commands.

#include "clstransg.h"
#include "frmabout.h"
#include "frmoption.h"
#include "guifixture.h"
#include "testutil.h"
#include "webgrad.h"

#include <QClipboard>
#include <QDir>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

using namespace velmix;

namespace {

// Answers the options dialog: thickness (0 = box unchecked) and OK.
std::function<void(QDialog*)> OptionsOk(int thickness)
{
    return [thickness](QDialog* d) {
        auto* o = static_cast<frmOption*>(d);
        child<QCheckBox>(*o, "chkHeight")->setChecked(thickness > 0);
        if (thickness > 0)
            child<QLineEdit>(*o, "txtSize")->setText(QString::number(thickness));
        QTest::mouseClick(child<QPushButton>(*o, "cmdOK"), Qt::LeftButton);
    };
}

bool ImageIsGradient(const QImage& img, const std::vector<Colour>& line, bool vertical, int tol)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const Colour c = line[static_cast<std::size_t>(vertical ? y : x)];
            const QRgb px = img.pixel(x, y);
            if (std::abs(qRed(px) - GetRed(c)) > tol || std::abs(qGreen(px) - GetGreen(c)) > tol ||
                std::abs(qBlue(px) - GetBlue(c)) > tol)
                return false;
        }
    return true;
}

} // namespace

class tst_Export : public QObject
{
    Q_OBJECT
private slots:
    void saveTypesOnceAnyCase();
    void saveByExtension_data();
    void saveByExtension();
    void thicknessRules_data();
    void thicknessRules();
    void optionCaptions_data();
    void optionCaptions();
    void cancelAtEachStep();
    void optionCloseBoxResets();
    void thicknessZeroRefused();
    void copyToClipboard();
    void saveWebFiles();
    void copyCss();
    void failedWriteKeepsFile();
    void nonRegularTargetRefused();
    void copyOutOfMemory();
    void rememberedNameAndFolder();
    void errMes_data();
    void errMes();
    void bridgeRefusesBadOptions();
    void aboutBox();
    void help();
};

void tst_Export::saveByExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow(".JPG") << "sky.JPG" << QByteArray("jpeg");
    QTest::newRow(".jpeg") << "sky.jpeg" << QByteArray("jpeg");
    QTest::newRow(".Png") << "sky.Png" << QByteArray("png");
    QTest::newRow(".gif") << "sky.gif" << QByteArray("bmp");
    QTest::newRow("no extension") << "sky" << QByteArray("bmp");
    QTest::newRow("dotted folder") << "my.pics/sky" << QByteArray("bmp");
}

void tst_Export::saveByExtension()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    GuiFixture f;
    QDir(f.userDir.path()).mkpath("my.pics");
    const QString path = f.userDir.filePath(name);
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back(OptionsOk(7));
    QTest::mouseClick(child<QPushButton>(f.w(), "CmdSave"), Qt::LeftButton);
    QVERIFY(f.dialogs.messages.empty());
    QCOMPARE(f.dialogs.saveRequests.size(), std::size_t(1));
    QCOMPARE(f.dialogs.saveRequests[0].filter,
             QString("ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ(*.BMP)|*.bmp|Jpeg(*.JPG)|*.jpg|PNG(*.PNG)|*.png|"
                     "SVG(*.SVG)|*.svg|CSS(*.CSS)|*.css"));
    QImage img;
    QVERIFY(img.load(path, format.constData())); // the content, not the name, decides
    QCOMPARE(img.size(), QSize(100, 7));
    QVERIFY(ImageIsGradient(img, DrawGrad(StartupPoints(), 100), false, format == "jpeg" ? 3 : 0));
}

void tst_Export::thicknessRules_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("label");
    QTest::newRow("across, box off") << false << 0 << QSize(200, 1) << " 200 x 1 pixels";
    QTest::newRow("down, box off") << true << 0 << QSize(2, 200) << " 2 x 200 pixels";
    QTest::newRow("across, 50") << false << 50 << QSize(200, 50) << " 200 x 50 pixels";
    QTest::newRow("down, 33") << true << 33 << QSize(33, 200) << " 33 x 200 pixels";
}

void tst_Export::thicknessRules()
{
    QFETCH(bool, vertical);
    QFETCH(int, thickness);
    QFETCH(QSize, size);
    QFETCH(QString, label);
    GuiFixture f;
    child<QLineEdit>(f.w(), "txtSize")->setText("200");
    if (vertical)
        QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
    const QString path = f.userDir.filePath("t.png");
    f.dialogs.files.push_back(path);
    QString shown;
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* o = static_cast<frmOption*>(d);
        if (thickness > 0) {
            QTest::mouseClick(child<QCheckBox>(*o, "chkHeight"), Qt::LeftButton);
            child<QLineEdit>(*o, "txtSize")->selectAll();
            QTest::keyClicks(child<QLineEdit>(*o, "txtSize"), QString::number(thickness));
        }
        QCOMPARE(child<QLineEdit>(*o, "txtSize")->isEnabled(), thickness > 0);
        shown = child<QLabel>(*o, "lblSize")->text();
        o->cmdOK_Click();
    });
    f.w().MenuSave_Click();
    QCOMPARE(shown, label);
    const QImage img(path);
    QCOMPARE(img.size(), size);
    QVERIFY(ImageIsGradient(img, DrawGrad(StartupPoints(), 200), vertical, 0));
}

void tst_Export::optionCaptions_data()
{
    QTest::addColumn<bool>("save");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("check");
    QTest::addColumn<QString>("height");
    QTest::newRow("save across") << true << false << "保存のオプション"
                                 << "高さをつけて保存"
                                 << "高さ(pixel)";
    QTest::newRow("copy down") << false << true << "コピーのオプション"
                               << "横幅をつけてコピー"
                               << "横幅(pixel)";
    QTest::newRow("copy across") << false << false << "コピーのオプション"
                                 << "高さをつけてコピー"
                                 << "高さ(pixel)";
}

void tst_Export::optionCaptions()
{
    QFETCH(bool, save);
    QFETCH(bool, vertical);
    QFETCH(QString, title);
    QFETCH(QString, check);
    QFETCH(QString, height);
    GuiFixture f;
    if (vertical)
        QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
    f.dialogs.files.push_back(f.userDir.filePath("c.bmp"));
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* o = static_cast<frmOption*>(d);
        QCOMPARE(o->windowTitle(), title);
        QCOMPARE(child<QCheckBox>(*o, "chkHeight")->text(), check);
        QCOMPARE(child<QLabel>(*o, "lblHeight")->text(), height);
        QCOMPARE(child<QLabel>(*o, "lblSTatic")->text(), QString("画像のサイズ（横幅 x 高さ） :"));
        QCOMPARE(child<QPushButton>(*o, "CmdCancel")->text(), QString("ｷｬﾝｾﾙ"));
        QVERIFY(!child<QLineEdit>(*o, "txtSize")->isEnabled());
        QVERIFY(!child<QLabel>(*o, "lblHeight")->isEnabled());
        o->CmdCancel_Click();
    });
    if (save)
        f.w().CmdSave_Click();
    else
        f.w().mnuClipBoard_Click();
    QCOMPARE(f.dialogs.modalCount, 1);
}

void tst_Export::cancelAtEachStep()
{
    GuiFixture f;
    // The file dialog cancelled: no options dialog, nothing written.
    f.w().CmdSave_Click();
    QCOMPARE(f.dialogs.modalCount, 0);
    // The options dialog cancelled after a name: nothing written, the name kept.
    const QString path = f.userDir.filePath("keep.png");
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([](QDialog* d) {
        auto* o = static_cast<frmOption*>(d);
        child<QCheckBox>(*o, "chkHeight")->setChecked(true);
        child<QLineEdit>(*o, "txtSize")->setText("64");
        QTest::mouseClick(child<QPushButton>(*o, "CmdCancel"), Qt::LeftButton);
    });
    f.w().CmdSave_Click();
    QVERIFY(!QFile::exists(path));
    QCOMPARE(f.w().saveFileName(), path);
    // The changed box is offered again.
    QVERIFY(child<QCheckBox>(f.w().option(), "chkHeight")->isChecked());
    QCOMPARE(child<QLineEdit>(f.w().option(), "txtSize")->text(), QString("64"));
    // Escape is Cancel too.
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); });
    f.w().CmdSave_Click();
    QVERIFY(!QFile::exists(path));
    QVERIFY(f.dialogs.messages.empty());
}

void tst_Export::optionCloseBoxResets()
{
    GuiFixture f;
    const QString path = f.userDir.filePath("x.png");
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([](QDialog* d) {
        auto* o = static_cast<frmOption*>(d);
        child<QCheckBox>(*o, "chkHeight")->setChecked(true);
        child<QLineEdit>(*o, "txtSize")->setText("77");
        o->close();
    });
    f.w().CmdSave_Click();
    QVERIFY(!QFile::exists(path));
    QVERIFY(!child<QCheckBox>(f.w().option(), "chkHeight")->isChecked());
    QCOMPARE(child<QLineEdit>(f.w().option(), "txtSize")->text(), QString("100"));
}

void tst_Export::thicknessZeroRefused()
{
    GuiFixture f;
    const QString path = f.userDir.filePath("z.png");
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* o = static_cast<frmOption*>(d);
        child<QCheckBox>(*o, "chkHeight")->setChecked(true);
        child<QLineEdit>(*o, "txtSize")->clear();
        o->cmdOK_Click();
        QVERIFY(o->isVisible()); // refused, still asking
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Exclamation);
        QVERIFY(f.dialogs.messages[0].second.contains("32767"));
        child<QLineEdit>(*o, "txtSize")->setText("0");
        o->cmdOK_Click();
        QVERIFY(o->isVisible());
        child<QLineEdit>(*o, "txtSize")->setText("3");
        o->cmdOK_Click();
        QVERIFY(!o->isVisible());
    });
    f.w().CmdSave_Click();
    QCOMPARE(QImage(path).size(), QSize(100, 3));
}

void tst_Export::copyToClipboard()
{
    GuiFixture f;
    QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
    child<QLineEdit>(f.w(), "txtSize")->setText("120");
    f.dialogs.modals.push_back(OptionsOk(9));
    f.w().mnuClipBoard_Click();
    QVERIFY(f.dialogs.saveRequests.empty()); // no file dialog for a copy
    const QImage img = QGuiApplication::clipboard()->image();
    QCOMPARE(img.size(), QSize(9, 120));
    QVERIFY(ImageIsGradient(img, DrawGrad(StartupPoints(), 120), true, 0));
}

void tst_Export::saveWebFiles()
{
    GuiFixture f;
    QTest::mouseClick(child<QRadioButton>(f.w(), "Option1_1"), Qt::LeftButton);
    for (const QString name : {"page.svg", "page.Css"}) {
        const QString path = f.userDir.filePath(name);
        f.dialogs.files.push_back(path);
        f.dialogs.modals.push_back(OptionsOk(7));
        f.w().MenuSave_Click();
        QVERIFY(f.dialogs.messages.empty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const WebGradient web{StartupPoints(), 100, true, 7};
        QCOMPARE(file.readAll().toStdString(),
                 name.endsWith("svg") ? SvgDocument(web) : CssRule(web));
    }
}

void tst_Export::copyCss()
{
    GuiFixture f;
    const QList<QAction*> items = child<QMenu>(f.w(), "MenuFile")->actions();
    QCOMPARE(items.indexOf(child<QAction>(f.w(), "mnuCopyCss")),
             items.indexOf(child<QAction>(f.w(), "mnuClipBoard")) + 1);
    QCOMPARE(child<QAction>(f.w(), "mnuCopyCss")->text(), QString("CSSとしてｺﾋﾟｰ(&S)"));
    child<QLineEdit>(f.w(), "txtSize")->setText("40");
    child<QAction>(f.w(), "mnuCopyCss")->trigger();
    QVERIFY(f.dialogs.modals.empty()); // no options: every thickness tiles alike
    QCOMPARE(QGuiApplication::clipboard()->text().toStdString(),
             CssDeclarations({StartupPoints(), 40, false, 1}));
}

void tst_Export::failedWriteKeepsFile()
{
    for (const char* ext : {"bmp", "png", "jpg"}) {
        GuiFixture f;
        const QString path = f.userDir.filePath(QString("old.") + ext);
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("precious");
        }
        child<QLineEdit>(f.w(), "txtSize")->setText("2000");
        f.dialogs.files.push_back(path);
        f.dialogs.modals.push_back(OptionsOk(3000));
        {
            FileSizeLimit limit(4096);
            f.w().CmdSave_Click();
        }
        QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
        QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Error);
        // The same words for every type, and the system's own reason.
        QCOMPARE(f.dialogs.messages[0].second,
                 QString("ファイルに書きこめません。\r\n") + strerror(EFBIG));
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("precious"));
    }
    // A folder that does not exist.
    GuiFixture f;
    f.dialogs.files.push_back(f.userDir.filePath("missing/x.png"));
    f.dialogs.modals.push_back(OptionsOk(0));
    f.w().CmdSave_Click();
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QVERIFY(f.dialogs.messages[0].second.startsWith("ファイルがオープンできません。"));
}

void tst_Export::nonRegularTargetRefused()
{
    GuiFixture f;
    const QString fifo = f.userDir.filePath("pipe.png");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    f.dialogs.files.push_back(fifo);
    f.dialogs.modals.push_back(OptionsOk(0));
    f.w().CmdSave_Click();
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Error);
    QVERIFY(f.dialogs.messages[0].second.startsWith("ファイルがオープンできません。\r\n" + fifo));
    QVERIFY(f.dialogs.messages[0].second.contains("Not a regular file (a FIFO)"));
    QVERIFY(QFileInfo(fifo).isFile() == false && QFileInfo::exists(fifo));
    QCOMPARE(QDir(f.userDir.path()).entryList(QDir::Files | QDir::System).size(), 1);
}

// A copy of the largest picture (2000 x 32767, 262 MB) when memory runs out:
// reported, and the clipboard keeps what it held.
void tst_Export::copyOutOfMemory()
{
#if defined(__SANITIZE_ADDRESS__)
    QSKIP("AddressSanitizer reserves address space of its own");
#endif
    GuiFixture f;
    QGuiApplication::clipboard()->setText("before");
    child<QLineEdit>(f.w(), "txtSize")->setText("2000");
    f.dialogs.modals.push_back(OptionsOk(32767));
    {
        AddressSpaceHeadroom limit(64u << 20);
        f.w().mnuClipBoard_Click();
    }
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Error);
    QCOMPARE(f.dialogs.messages[0].second,
             QString("クリップボードにコピーできません。\r\n") + strerror(ENOMEM));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("before"));
}

void tst_Export::rememberedNameAndFolder()
{
    GuiFixture f;
    const QString path = f.userDir.filePath("sky.png");
    f.dialogs.files.push_back(path);
    f.dialogs.modals.push_back(OptionsOk(0));
    f.w().CmdSave_Click();
    QCOMPARE(f.w().saveFileName(), f.userDir.filePath("sky"));
    f.w().CmdSave_Click(); // the next dialog offers it
    QCOMPARE(f.dialogs.saveRequests.back().fileName, f.userDir.filePath("sky"));
    f.w().close();
    QVERIFY(f.iniText().contains("SaveInitPath=" + QFile::encodeName(f.userDir.path()) + "/\n"));
    GuiFixture again(f.iniText());
    again.w().CmdSave_Click();
    QCOMPARE(again.dialogs.saveRequests.back().initialDir, f.userDir.path() + "/");
}

void tst_Export::errMes_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "成功しました。";
    QTest::newRow("1") << 1 << "ファイルがオープンできません。";
    QTest::newRow("2") << 2 << "ファイルに書きこめません。";
    QTest::newRow("3") << 3 << "ファイルのフォーマットエラーです。";
    QTest::newRow("4") << 4 << "スタックオーバーフローです。";
    QTest::newRow("252") << 252 << "保存品質の指定が間違っています。";
    QTest::newRow("255") << 255 << "clsTransG内部エラー : 255";
    QTest::newRow("7") << 7 << "clsTransG内部エラー : 7";
}

void tst_Export::errMes()
{
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(clsTransG::ErrMes(static_cast<short>(code)), text);
}

void tst_Export::bridgeRefusesBadOptions()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const StripImage img{DrawGrad(StartupPoints(), 10), false, 1};
    clsTransG& t = clsTransG::instance();
    QCOMPARE(t.DCSaveJpeg(dialogs, nullptr, img, dir.filePath("a.jpg"), 0, 0), short(252));
    QCOMPARE(t.DCSavePNG(dialogs, nullptr, img, dir.filePath("a.png"), 3), short(252));
    QVERIFY(QDir(dir.path()).isEmpty());
    QCOMPARE(t.DCSavePNG(dialogs, nullptr, img, dir.filePath("a.png"), 2), short(0));
    QVERIFY(dialogs.messages.empty());
}

void tst_Export::aboutBox()
{
    GuiFixture f;
    f.dialogs.modals.push_back([&](QDialog* d) {
        auto* a = static_cast<frmAbout*>(d);
        QCOMPARE(a->windowTitle(), QString("Velmixのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(child<QLabel>(*a, "lblVersion")->text(), QString("Version 1.50"));
        QCOMPARE(child<QLabel>(*a, "lblTitle")->text(), QString("Velmix"));
        QCOMPARE(child<QLabel>(*a, "lblDescription")->text(),
                 QString("このソフトはフリーウェアです。"));
        QCOMPARE(child<QPushButton>(*a, "cmdSysInfo")->text(), QString("ｼｽﾃﾑ情報(&S)..."));
        QTest::mouseClick(child<QPushButton>(*a, "cmdSysInfo"), Qt::LeftButton);
        QCOMPARE(f.dialogs.messages.back().second, QString("現時点ではｼｽﾃﾑ情報を使用できません"));
        QVERIFY(a->isVisible()); // the box stays open
        QTest::keyClick(a, Qt::Key_Escape);
        QVERIFY(!a->isVisible());
    });
    f.w().MenuVersion_Click();
    QCOMPARE(f.dialogs.modalCount, 1);
}

void tst_Export::help()
{
    GuiFixture f;
    f.w().MenuPrintHelp_Click(); // no help folder here
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    QCOMPARE(f.dialogs.messages[0].first, MsgIcon::Error);
    QCOMPARE(f.dialogs.messages[0].second, QString("ヘルプを表示できません。\r\nRet= 2"));
    QVERIFY(f.opened.empty());
    QDir(f.programDir.path()).mkpath("help");
    QFile page(f.programDir.filePath("help/index.htm"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    f.w().MenuPrintHelp_Click();
    QCOMPARE(f.opened.size(), std::size_t(1));
    QCOMPARE(f.opened[0], QUrl::fromLocalFile(f.programDir.filePath("help/index.htm")));
    QCOMPARE(f.dialogs.messages.size(), std::size_t(1));
    f.openerResult = false; // no viewer
    f.w().ShowHelp("index.htm");
    QCOMPARE(f.dialogs.messages.back().second, QString("ヘルプを表示できません。\r\nRet= 31"));
}

void tst_Export::saveTypesOnceAnyCase()
{
    const QStringList types =
        SaveNameFilters(QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ(*.BMP)|*.bmp|PNG(*.PNG)|*.png"));
    QCOMPARE(types.size(), 2);
    // The text once, then the hidden patterns, which take any case.
    QVERIFY(types[0].startsWith(QString::fromUtf8("ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞ(*.BMP) (")));
    QVERIFY(types[1].startsWith("PNG(*.PNG) ("));
    QCOMPARE(types[1].count("(*.PNG)"), 1);
    const QString patterns = types[1].section('(', -1).chopped(1);
    const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(patterns));
    for (const char* name : {"sky.Png", "sky.png", "SKY.PNG"})
        QVERIFY2(re.match(name).hasMatch(), name);
    QVERIFY(!re.match("sky.bmp").hasMatch());
}

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
