#include <QImage>
#include <QtTest>

#include "app/imagearray.h"
#include "support/fakes.h"

using velmora::test::TestServices;

namespace {

constexpr double kPi = 3.14159265358979323846;

// A 24-bit image whose pixel (x, y) has the colour (10·x + 1, 10·y + 1, 200), so every pixel
// can be told from the others and traced back to its column and row.
QImage tracedImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor(10 * x + 1, 10 * y + 1, 200));
    return image;
}

QPoint traced(const QImage &image, int i, int j)
{
    const QColor c = image.pixelColor(i, j);
    return {(c.red() - 1) / 10, (c.green() - 1) / 10};
}

} // namespace

class ImageArrayTest : public QObject
{
    Q_OBJECT
private slots:
    void loadsColumnsAndTheTransparentColour();
    void plainScalingTakesTruncatedPositions();
    void plainScalingMirrors();
    void quarterTurn_data();
    void quarterTurn();
    void halfTurnReversesBothWays();
    void turnedCornersTakeTheFill();
    void eightBitKeepsIndexesAndPalette();
    void refusesOtherFormats();
    void formatChangeAtTheSameSize();
    void sizeChangesKeepColumnsFull();
};

void ImageArrayTest::loadsColumnsAndTheTransparentColour()
{
    TImageArray array;
    QVERIFY(array.LoadFromBitmap(tracedImage(3, 2)));
    QCOMPARE(array.Width(), 3);
    QCOMPARE(array.Height(), 2);
    QCOMPARE(array.PixelFormat(), TImageArray::TPixelFormat::pf24bit);
    QCOMPARE(array.Columns24().size(), std::size_t(3));
    QCOMPARE(array.Columns24()[2].size(), std::size_t(2));
    // Blue, green, red bytes of column 2, row 1.
    QCOMPARE(array.Columns24()[2][1], (TImageArray::Pixel24{200, 11, 21}));
    QCOMPARE(array.TransparentColor(), QColor(1, 11, 200)); // bottom-left pixel
}

void ImageArrayTest::plainScalingTakesTruncatedPositions()
{
    TImageArray array;
    array.LoadFromBitmap(tracedImage(3, 2));
    QImage target;
    const QPoint pivot = array.Render(target, QPoint(1, 1), false, 1.5f, 0.0f);
    QCOMPARE(target.format(), QImage::Format_RGB888);
    QCOMPARE(target.size(), QSize(4, 3)); // rnd(4.5) = 4, rnd(3) = 3
    QCOMPARE(traced(target, 0, 0), QPoint(0, 0));
    QCOMPARE(traced(target, 1, 1), QPoint(0, 0)); // trunc(0.67)
    QCOMPARE(traced(target, 2, 2), QPoint(1, 1)); // trunc(1.33)
    QCOMPARE(traced(target, 3, 2), QPoint(2, 1)); // trunc(2)
    QCOMPARE(pivot, QPoint(2, 1));

    array.Render(target, QPoint(1, 1), false, 0.5f, 0.0f);
    QCOMPARE(target.size(), QSize(2, 1)); // rnd(1.5) = 2, rnd(1) = 1
    QCOMPARE(traced(target, 1, 0), QPoint(2, 0));
}

void ImageArrayTest::plainScalingMirrors()
{
    TImageArray array;
    array.LoadFromBitmap(tracedImage(3, 2));
    QImage target;
    array.Render(target, QPoint(1, 1), true, 1.0f, 0.0f);
    QCOMPARE(target.size(), QSize(3, 2));
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i)
            QCOMPARE(traced(target, i, j), QPoint(2 - i, j));
}

void ImageArrayTest::quarterTurn_data()
{
    QTest::addColumn<bool>("mirrored");
    QTest::newRow("plain") << false;
    QTest::newRow("mirrored") << true;
}

void ImageArrayTest::quarterTurn()
{
    // A 3 × 2 image turned by a quarter: 2 × 3, target (i, j) from column 2 − j, row i; the
    // mirrored one reads column j instead.
    QFETCH(bool, mirrored);
    TImageArray array;
    array.LoadFromBitmap(tracedImage(3, 2));
    QImage target;
    const QPoint pivot = array.Render(target, QPoint(1, 1), mirrored, 1.0f, static_cast<float>(kPi / 2));
    QCOMPARE(target.size(), QSize(2, 3));
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 2; ++i)
            QCOMPARE(traced(target, i, j), QPoint(mirrored ? j : 2 - j, i));
    QCOMPARE(pivot, QPoint(1, 1));
}

void ImageArrayTest::halfTurnReversesBothWays()
{
    TImageArray array;
    array.LoadFromBitmap(tracedImage(3, 2));
    QImage target;
    array.Render(target, QPoint(1, 1), false, 1.0f, static_cast<float>(kPi));
    QCOMPARE(target.size(), QSize(3, 2));
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 3; ++i)
            QCOMPARE(traced(target, i, j), QPoint(2 - i, 1 - j));
}

void ImageArrayTest::turnedCornersTakeTheFill()
{
    TImageArray array;
    QImage image = tracedImage(4, 2);
    image.setPixelColor(0, 1, QColor(255, 0, 255)); // the fill: bottom-left
    array.LoadFromBitmap(image);
    QImage target;
    array.Render(target, QPoint(2, 1), false, 1.0f, static_cast<float>(kPi / 4));
    QCOMPARE(target.size(), QSize(4, 4));
    QCOMPARE(target.pixelColor(0, 0), QColor(255, 0, 255));
    QCOMPARE(target.pixelColor(3, 3), QColor(255, 0, 255));
    // (0, 3) reads column (4 − 4 − 1) div 2, truncated to 0: it keeps the source pixel (0, 0).
    QCOMPARE(traced(target, 0, 3), QPoint(0, 0));
    QCOMPARE(traced(target, 1, 1), QPoint(1, 0));
}

void ImageArrayTest::eightBitKeepsIndexesAndPalette()
{
    QImage image(2, 2, QImage::Format_Indexed8);
    const QList<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
    image.setColorTable(palette);
    image.setPixel(0, 0, 1);
    image.setPixel(1, 0, 2);
    image.setPixel(0, 1, 3);
    image.setPixel(1, 1, 0);
    TImageArray array;
    QVERIFY(array.LoadFromBitmap(image));
    QCOMPARE(array.PixelFormat(), TImageArray::TPixelFormat::pf8bit);
    QCOMPARE(array.TransparentColor(), QColor(0, 0, 255));
    QImage target;
    array.Render(target, QPoint(1, 1), true, 2.0f, 0.0f);
    QCOMPARE(target.format(), QImage::Format_Indexed8);
    QCOMPARE(target.colorTable(), palette);
    QCOMPARE(target.size(), QSize(4, 4));
    QCOMPARE(target.pixelIndex(0, 0), 2); // mirrored: column 1 first
    QCOMPARE(target.pixelIndex(3, 1), 1);
    QCOMPARE(target.pixelIndex(1, 3), 0);
}

void ImageArrayTest::refusesOtherFormats()
{
    TestServices t;
    TImageArray array(t.services.messages);
    array.LoadFromBitmap(tracedImage(3, 2));
    QImage wide(5, 5, QImage::Format_RGB32);
    wide.fill(Qt::red);
    QVERIFY(!array.LoadFromBitmap(wide));
    QCOMPARE(t.messages.shown.size(), std::size_t(1));
    QCOMPARE(t.messages.lastText(), QStringLiteral("only 8 bit and 24 bit bitmaps are allowed"));
    QCOMPARE(t.messages.lastTitle(), QStringLiteral("Velmora"));
    QCOMPARE(array.Width(), 3);
    QCOMPARE(array.PixelFormat(), TImageArray::TPixelFormat::pf24bit);
    QCOMPARE(array.Columns24()[1][1], (TImageArray::Pixel24{200, 11, 11}));
}

void ImageArrayTest::formatChangeAtTheSameSize()
{
    // Same size, other format: the columns of the new format must still be there.
    TImageArray array;
    array.LoadFromBitmap(tracedImage(2, 2));
    QImage image(2, 2, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), qRgb(9, 9, 9)});
    image.fill(1);
    QVERIFY(array.LoadFromBitmap(image));
    QCOMPARE(array.Columns8().size(), std::size_t(2));
    QImage target;
    array.Render(target, QPoint(1, 1), false, 1.0f, 0.0f);
    QCOMPARE(target.pixelIndex(1, 1), 1);
}

void ImageArrayTest::sizeChangesKeepColumnsFull()
{
    TImageArray array;
    array.SetHeight(4);
    array.SetWidth(3);
    QCOMPARE(array.Columns24().size(), std::size_t(3));
    QCOMPARE(array.Columns24()[2].size(), std::size_t(4));
    array.SetHeight(2);
    QCOMPARE(array.Columns24()[0].size(), std::size_t(2));
    array.SetWidth(5);
    QCOMPARE(array.Columns24()[4].size(), std::size_t(2));
}

QTEST_MAIN(ImageArrayTest)
#include "test_imagearray.moc"
