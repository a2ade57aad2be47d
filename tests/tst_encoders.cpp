// The file writers: every format read back at both orientations and several
// thicknesses, the library codes, and that a failed write keeps the old file.

#include "clscommon.h"
#include "exporter.h"
#include "testutil.h"
#include "transg.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace velmix;

namespace {

StripImage Strip(int size, bool vertical, int thickness)
{
    GradPoints p = StartupPoints();
    p.enabled[4] = true;
    p.position[4] = 500;
    p.color[4] = MakeColour(12, 200, 99);
    return StripImage{DrawGrad(p, size), vertical, thickness};
}

// Largest channel difference between the image and the strip's pixels.
int MaxDiff(const QImage& img, const StripImage& s)
{
    int worst = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb px = img.pixel(x, y);
            const Colour c = s.pixel(x, y);
            worst =
                std::max({worst, std::abs(qRed(px) - GetRed(c)), std::abs(qGreen(px) - GetGreen(c)),
                          std::abs(qBlue(px) - GetBlue(c))});
        }
    return worst;
}

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class tst_Encoders : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void bmpLayout();
    void pngIsSmall();
    void pngOptions();
    void imageTypes_data();
    void imageTypes();
    void failuresKeepOldFile_data();
    void failuresKeepOldFile();
    void missingFolder();
    void bmpTooLarge_data();
    void bmpTooLarge();
};

void tst_Encoders::roundTrip_data()
{
    QTest::addColumn<QString>("ext");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("thickness");
    QTest::addColumn<int>("tolerance");
    for (const char* ext : {"bmp", "png", "jpg"}) {
        const int tol = QString(ext) == "jpg" ? 3 : 0;
        for (bool vertical : {false, true})
            for (int thickness : {1, 2, 3, 77}) {
                const QByteArray name = QByteArray(ext) +
                                        (vertical ? " vertical " : " horizontal ") +
                                        QByteArray::number(thickness);
                QTest::newRow(name.constData()) << ext << 97 << vertical << thickness << tol;
            }
        QTest::newRow((QByteArray(ext) + " long").constData()) << ext << 2000 << false << 5 << tol;
        // Beyond the JPEG writer's limit for whole-image Huffman optimisation.
        QTest::newRow((QByteArray(ext) + " huge").constData())
            << ext << 2000 << false << 3000 << tol;
        // More rows than one repeated block of the PNG writer holds.
        QTest::newRow((QByteArray(ext) + " thick").constData())
            << ext << 400 << false << 1500 << tol;
    }
}

void tst_Encoders::roundTrip()
{
    QFETCH(QString, ext);
    QFETCH(int, size);
    QFETCH(bool, vertical);
    QFETCH(int, thickness);
    QFETCH(int, tolerance);
    QTemporaryDir dir;
    const QString path = dir.filePath("out." + ext);
    const StripImage s = Strip(size, vertical, thickness);
    std::string err;
    const std::string p = path.toStdString();
    if (ext == "bmp")
        QVERIFY(SaveBitmapFile(s, p, &err));
    else if (ext == "png")
        for (int option : {0, 1, 2})
            QCOMPARE(DCSavetoPNG(s, p, option, &err), short(kEncodeOk));
    else
        QCOMPARE(DCSavetoJPEG(s, p, 100, 0, &err), short(kEncodeOk));
    QImage img(path);
    QVERIFY2(!img.isNull(), "the file does not read back");
    QCOMPARE(img.width(), s.width());
    QCOMPARE(img.height(), s.height());
    QVERIFY(MaxDiff(img, s) <= tolerance);
}

void tst_Encoders::bmpLayout()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bmp");
    std::string err;
    QVERIFY(SaveBitmapFile(Strip(5, false, 2), path.toStdString(), &err));
    const QByteArray b = ReadAll(path);
    // 24-bit, rows padded to 4 bytes: 5 * 3 = 15 -> 16 bytes a row.
    QCOMPARE(b.size(), 54 + 16 * 2);
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(static_cast<int>(b[28]), 24);
}

void tst_Encoders::pngIsSmall()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("big.png");
    std::string err;
    QCOMPARE(DCSavetoPNG(StripImage{DrawGrad(StartupPoints(), 2000), false, 2000},
                         path.toStdString(), 0, &err),
             short(kEncodeOk));
    // Identical rows compress to almost nothing beyond the first one.
    QVERIFY(QFile(path).size() < 20000);
}

// "smallest", "balanced" and "fastest" as their names say, where the image
// lets them differ (top-to-bottom: a window search beats Z_RLE).
void tst_Encoders::pngOptions()
{
    QTemporaryDir dir;
    const StripImage s = Strip(2000, true, 200);
    qint64 sizes[3] = {};
    for (int option : {0, 1, 2}) {
        const QString path = dir.filePath(QString("o%1.png").arg(option));
        std::string err;
        QCOMPARE(DCSavetoPNG(s, path.toStdString(), option, &err), short(kEncodeOk));
        sizes[option] = QFile(path).size();
    }
    QVERIFY2(sizes[0] < sizes[2], qPrintable(QString("%1 %2").arg(sizes[0]).arg(sizes[2])));
    QCOMPARE(sizes[1], sizes[0]); // small enough for the search
}

void tst_Encoders::imageTypes_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("type");
    QTest::newRow(".JPG") << "/x/sky.JPG" << int(ImageType::Jpeg);
    QTest::newRow(".jpeg") << "/x/sky.jpeg" << int(ImageType::Jpeg);
    QTest::newRow(".Png") << "/x/sky.Png" << int(ImageType::Png);
    QTest::newRow(".svg") << "/x/sky.svg" << int(ImageType::Svg);
    QTest::newRow(".CSS") << "/x/sky.CSS" << int(ImageType::Css);
    QTest::newRow(".gif") << "/x/sky.gif" << int(ImageType::Bmp);
    QTest::newRow("no extension") << "/x/sky" << int(ImageType::Bmp);
    QTest::newRow("dotted folder") << "C:\\my.pics\\sky" << int(ImageType::Bmp);
    QTest::newRow("dotted unix folder") << "/tmp/my.png/sky" << int(ImageType::Bmp);
}

void tst_Encoders::imageTypes()
{
    QFETCH(QString, name);
    QFETCH(int, type);
    QCOMPARE(int(ImageTypeFor(name.toStdString())), type);
}

void tst_Encoders::failuresKeepOldFile_data()
{
    QTest::addColumn<QString>("ext");
    QTest::newRow("bmp") << "bmp";
    QTest::newRow("png") << "png";
    QTest::newRow("jpg") << "jpg";
}

void tst_Encoders::failuresKeepOldFile()
{
    QFETCH(QString, ext);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep." + ext);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    const StripImage s = Strip(2000, false, 3000);
    std::string err;
    bool ok = false;
    short code = 0;
    {
        FileSizeLimit limit(1000);
        if (ext == "bmp")
            ok = SaveBitmapFile(s, path.toStdString(), &err);
        else if (ext == "png")
            code = DCSavetoPNG(s, path.toStdString(), 0, &err);
        else
            code = DCSavetoJPEG(s, path.toStdString(), 100, 0, &err);
    }
    if (ext == "bmp")
        QVERIFY(!ok);
    else
        QCOMPARE(code, short(kEncodeWriteFailed));
    // The system's own reason, not "Unknown error".
    QCOMPARE(QString::fromStdString(err), QString::fromLocal8Bit(strerror(EFBIG)));
    QCOMPARE(ReadAll(path), QByteArray("precious"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1); // no leftovers
}

void tst_Encoders::missingFolder()
{
    std::string err;
    QCOMPARE(DCSavetoPNG(Strip(10, false, 1), "/nonexistent-dir/x.png", 0, &err),
             short(kEncodeOpenFailed));
    QVERIFY(!err.empty());
    QCOMPARE(DCSavetoJPEG(Strip(10, false, 1), "/nonexistent-dir/x.jpg", 100, 0, &err),
             short(kEncodeOpenFailed));
    QVERIFY(!SaveBitmapFile(Strip(10, false, 1), "/nonexistent-dir/x.bmp", &err));
}

void tst_Encoders::bmpTooLarge_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::newRow("tall") << false;
    QTest::newRow("wide") << true;
}

void tst_Encoders::bmpTooLarge()
{
    // 2000 x 800,000 pixels: 4.8 GB of pixels, more than the header's 32-bit
    // sizes can state. Refused before anything is written.
    QFETCH(bool, vertical);
    QTemporaryDir dir;
    const QString path = dir.filePath("big.bmp");
    std::string err;
    bool ok = true;
    {
        FileSizeLimit limit(1 << 20);
        ok = SaveBitmapFile(Strip(2000, vertical, 800000), path.toStdString(), &err);
    }
    QVERIFY(!ok);
    QCOMPARE(err, std::string("image too large for a bitmap file"));
    QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

QTEST_GUILESS_MAIN(tst_Encoders)
#include "tst_encoders.moc"
