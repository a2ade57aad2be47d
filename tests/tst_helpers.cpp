// The number-text rules, key filters, range clamp, path splitting and the
// window position check.

#include "clscommon.h"
#include "numtext.h"

#include <QTest>

using namespace velmix;

Q_DECLARE_METATYPE(velmix::FormRect)

namespace {

// A text box that runs a change handler on every setText, as the size box
// does, to check the clamp's re-entrant pass.
class FakeBox : public TextHolder
{
public:
    explicit FakeBox(std::string t) : m_text(std::move(t)) {}
    std::string text() const override { return m_text; }
    void setText(const std::string& t) override
    {
        m_text = t;
        ++sets;
        if (onChange)
            onChange();
    }
    std::function<void()> onChange;
    int sets = 0;

private:
    std::string m_text;
};

} // namespace

class tst_Helpers : public QObject
{
    Q_OBJECT
private slots:
    void readNumber_data();
    void readNumber();
    void roundHalfEven();
    void saturation();
    void blankSigned();
    void keyFilters();
    void checkTextRange_data();
    void checkTextRange();
    void checkTextRangeReentrant();
    void trim();
    void pathSplitters_data();
    void pathSplitters();
    void chkPathBS();
    void chkFormPos_data();
    void chkFormPos();
    void placeBoundedAndOnScreen_data();
    void placeBoundedAndOnScreen();
    void windowsDir();
};

void tst_Helpers::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "100" << 100.0;
    QTest::newRow("leading blanks") << "   12" << 12.0;
    QTest::newRow("blank-signed") << " 16711680" << 16711680.0;
    QTest::newRow("negative") << "-3" << -3.0;
    QTest::newRow("trailing text") << "42px" << 42.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("leading dot") << ".5" << 0.5;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("minus only") << "-" << 0.0;
    QTest::newRow("dot only") << "." << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("e without digits") << "7e" << 7.0;
    QTest::newRow("second dot stops") << "1.2.3" << 1.2;
    QTest::newRow("inner minus stops") << "12-3" << 12.0;
}

void tst_Helpers::readNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(ReadNumber(text.toStdString()), value);
}

void tst_Helpers::roundHalfEven()
{
    QCOMPARE(RoundHalfEven(2.5), 2.0);
    QCOMPARE(RoundHalfEven(3.5), 4.0);
    QCOMPARE(RoundHalfEven(-2.5), -2.0);
    QCOMPARE(RoundHalfEven(-3.5), -4.0);
    QCOMPARE(RoundHalfEven(12.5), 12.0);
    QCOMPARE(RoundHalfEven(13.5), 14.0);
    QCOMPARE(RoundHalfEven(0.4999999), 0.0);
    QCOMPARE(ReadInt32("10.5"), 10);
    QCOMPARE(ReadInt32("11.5"), 12);
}

void tst_Helpers::saturation()
{
    QCOMPARE(ReadInt32("99999999999999999999"), std::numeric_limits<std::int32_t>::max());
    QCOMPARE(ReadInt32("-99999999999999999999"), std::numeric_limits<std::int32_t>::min());
    QCOMPARE(ReadInt16("40000"), std::int16_t(32767));
    QCOMPARE(ReadInt32(std::string(400, '9')), std::numeric_limits<std::int32_t>::max());
}

void tst_Helpers::blankSigned()
{
    QCOMPARE(BlankSigned(12), std::string(" 12"));
    QCOMPARE(BlankSigned(0), std::string(" 0"));
    QCOMPARE(BlankSigned(-3), std::string("-3"));
    QCOMPARE(PlainNumber(12), std::string("12"));
    QCOMPARE(PlainNumber(-3), std::string("-3"));
}

void tst_Helpers::keyFilters()
{
    for (char c = '0'; c <= '9'; ++c) {
        QCOMPARE(clsCommon::CheckNumInt(c), std::int16_t(c));
        QCOMPARE(clsCommon::CheckNum(c), std::int16_t(c));
    }
    QCOMPARE(clsCommon::CheckNumInt(8), std::int16_t(8));
    QCOMPARE(clsCommon::CheckNum(8), std::int16_t(8));
    for (char c : {'.', '-'}) {
        QCOMPARE(clsCommon::CheckNumInt(c), std::int16_t(0));
        QCOMPARE(clsCommon::CheckNum(c), std::int16_t(c));
    }
    for (int c : {int('a'), int('Z'), int(' '), int('+'), 13, 27, 0x3042})
        QCOMPARE(clsCommon::CheckNum(static_cast<std::int16_t>(c)), std::int16_t(0));
}

void tst_Helpers::checkTextRange_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("withMin");
    QTest::addColumn<QString>("result");
    QTest::newRow("above max") << "2500" << false << "2000";
    QTest::newRow("in range keeps form") << "0100" << true << "0100";
    QTest::newRow("letters, min") << "abc" << true << "4";
    QTest::newRow("letters, no min") << "abc" << false << "abc";
    QTest::newRow("below min") << "3" << true << "4";
    QTest::newRow("empty, min") << "" << true << "4";
    QTest::newRow("trailing text kept") << "12x" << true << "12x";
}

void tst_Helpers::checkTextRange()
{
    QFETCH(QString, text);
    QFETCH(bool, withMin);
    QFETCH(QString, result);
    FakeBox box(text.toStdString());
    if (withMin)
        clsCommon::CheckTextRange(box, 2000, 4);
    else
        clsCommon::CheckTextRange(box, 2000);
    QCOMPARE(QString::fromStdString(box.text()), result);
}

void tst_Helpers::checkTextRangeReentrant()
{
    FakeBox box("9999");
    int inner = 0;
    box.onChange = [&] {
        ++inner;
        clsCommon::CheckTextRange(box, 2000);
    };
    clsCommon::CheckTextRange(box, 2000);
    QCOMPARE(box.text(), std::string("2000"));
    QCOMPARE(box.sets, 1); // the second pass finds the value in range
    // Minimum above maximum: a large value ends at the minimum.
    FakeBox odd("50");
    clsCommon::CheckTextRange(odd, 10, 20);
    QCOMPARE(odd.text(), std::string("20"));
}

void tst_Helpers::trim()
{
    QCOMPARE(clsCommon::VBHTTrim(std::string("C:\\WINDOWS\0garbage  ", 20)),
             std::string("C:\\WINDOWS"));
    QCOMPARE(clsCommon::VBHTTrim("  a b  "), std::string("a b"));
    QCOMPARE(clsCommon::VBHTTrim("\tx\t"), std::string("\tx\t"));
    QCOMPARE(clsCommon::VBHTTrim(std::string(5, '\0')), std::string());
}

void tst_Helpers::pathSplitters_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("noExt");
    QTest::addColumn<QString>("ext");
    QTest::newRow("windows path") << "C:\\Img\\sky.png"
                                  << "C:\\Img\\"
                                  << "C:\\Img\\sky"
                                  << "png";
    QTest::newRow("dotted folder") << "C:\\Img.old\\sky"
                                   << "C:\\Img.old\\"
                                   << "C:\\Img.old\\sky"
                                   << "";
    QTest::newRow("two dots") << "C:\\a.b\\c.d.e"
                              << "C:\\a.b\\"
                              << "C:\\a.b\\c.d"
                              << "e";
    QTest::newRow("name only") << "sky.png"
                               << ""
                               << "sky"
                               << "png";
    QTest::newRow("drive root") << "C:\\"
                                << "C:\\"
                                << "C:\\"
                                << "";
    QTest::newRow("ends in dot") << "sky."
                                 << ""
                                 << "sky"
                                 << "";
    QTest::newRow("leading dot only") << ".png"
                                      << ""
                                      << ".png"
                                      << "";
    QTest::newRow("blanks") << "   "
                            << ""
                            << ""
                            << "";
    QTest::newRow("unix path") << "/home/u/my.pics/sky.JPG"
                               << "/home/u/my.pics/"
                               << "/home/u/my.pics/sky"
                               << "JPG";
    QTest::newRow("unix dotted folder") << "/tmp/my.pics/sky"
                                        << "/tmp/my.pics/"
                                        << "/tmp/my.pics/sky"
                                        << "";
}

void tst_Helpers::pathSplitters()
{
    QFETCH(QString, path);
    QFETCH(QString, dir);
    QFETCH(QString, noExt);
    QFETCH(QString, ext);
    const std::string p = path.toStdString();
    QCOMPARE(QString::fromStdString(clsCommon::TrimDir(p)), dir);
    QCOMPARE(QString::fromStdString(clsCommon::TrimDirFname(p)), noExt);
    QCOMPARE(QString::fromStdString(clsCommon::TrimExt(p)), ext);
}

void tst_Helpers::chkPathBS()
{
    QCOMPARE(clsCommon::ChkPathBS("C:\\Img"), std::string("C:\\Img\\"));
    QCOMPARE(clsCommon::ChkPathBS("C:\\Img\\"), std::string("C:\\Img\\"));
    QCOMPARE(clsCommon::ChkPathBS("X:\\"), std::string("X:\\"));
    QCOMPARE(clsCommon::ChkPathBS("/usr/lib"), std::string("/usr/lib/"));
    QCOMPARE(clsCommon::ChkPathBS("/"), std::string("/"));
}

void tst_Helpers::chkFormPos_data()
{
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("newLeft");
    QTest::addColumn<double>("newTop");
    // Screen 15360 x 11520 twips, window 7000 x 5000.
    QTest::newRow("left exactly at the edge stays") << 15360.0 << 100.0 << 15360.0 << 100.0;
    QTest::newRow("one twip further moves in") << 15361.0 << 100.0 << 8360.0 << 100.0;
    QTest::newRow("below the bottom goes to the top") << 200.0 << 11521.0 << 200.0 << 0.0;
    QTest::newRow("negative stays") << -500.0 << -300.0 << -500.0 << -300.0;
    QTest::newRow("partly off stays") << 15000.0 << 11000.0 << 15000.0 << 11000.0;
    QTest::newRow("both") << 20000.0 << 20000.0 << 8360.0 << 0.0;
}

void tst_Helpers::chkFormPos()
{
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, newLeft);
    QFETCH(double, newTop);
    FormRect r{left, top, 7000, 5000};
    clsCommon::ChkFormPos(r, 15360, 11520);
    QCOMPARE(r.left, newLeft);
    QCOMPARE(r.top, newTop);
}

void tst_Helpers::placeBoundedAndOnScreen_data()
{
    QTest::addColumn<FormRect>("stored");
    QTest::addColumn<FormRect>("placed");
    // Primary 0,0 1000 x 800; a second screen to its left at -600,100 600 x 500;
    // coordinates within +-5000.
    QTest::newRow("on the left screen stays")
        << FormRect{-500, 200, 300, 200} << FormRect{-500, 200, 300, 200};
    QTest::newRow("title bar partly on a screen stays")
        << FormRect{-900, 150, 400, 200} << FormRect{-900, 150, 400, 200};
    QTest::newRow("far left comes back")
        << FormRect{-999999, 300, 300, 200} << FormRect{0, 300, 300, 200};
    QTest::newRow("above every screen comes back")
        << FormRect{100, -400, 300, 200} << FormRect{100, 0, 300, 200};
    QTest::newRow("above the left screen comes back")
        << FormRect{-500, 50, 300, 200} << FormRect{0, 50, 300, 200};
    QTest::newRow("huge size bounded")
        << FormRect{0, 0, 300000, 300000} << FormRect{0, 0, 1600, 800};
    QTest::newRow("lowest int comes back")
        << FormRect{-2147483648.0, -2147483648.0, 300, 200} << FormRect{0, 0, 300, 200};
    QTest::newRow("beyond the right as before")
        << FormRect{1200, 100, 300, 200} << FormRect{700, 100, 300, 200};
}

void tst_Helpers::placeBoundedAndOnScreen()
{
    QFETCH(FormRect, stored);
    QFETCH(FormRect, placed);
    const std::vector<FormRect> screens{{0, 0, 1000, 800}, {-600, 100, 600, 500}};
    clsCommon::ChkFormPos(stored, screens, 5000, 5000);
    QCOMPARE(stored.left, placed.left);
    QCOMPARE(stored.top, placed.top);
    QCOMPARE(stored.width, placed.width);
    QCOMPARE(stored.height, placed.height);
}

void tst_Helpers::windowsDir()
{
    QCOMPARE(clsCommon::GetWindowsDir(), std::string());
}

QTEST_APPLESS_MAIN(tst_Helpers)
#include "tst_helpers.moc"
