#include <QApplication>
#include <QtTest>

#include "app/imagearray.h"
#include "app/tfrmavvio.h"
#include "app/tfrmsplash.h"
#include "support/fakes.h"

using velmora::test::TestServices;

namespace {

// Every pixel of the back buffer outside the squares the sprites now cover is the artwork's:
// what an earlier tick drew elsewhere has been wiped.
int strayPixels(const TfrmSplash &splash)
{
    const QImage &buffer = splash.backBuffer();
    const QImage &background = splash.background();
    std::vector<QRect> covered;
    for (const auto &s : splash.sprites()) {
        const int r = velmora::sprites::radius(splash.field(), s.Scale) + 2;
        covered.emplace_back(s.X - r, s.Y - r, 2 * r + 1, 2 * r + 1);
    }
    int stray = 0;
    for (int y = 0; y < buffer.height(); ++y) {
        for (int x = 0; x < buffer.width(); ++x) {
            bool inside = false;
            for (const QRect &c : covered)
                inside = inside || c.contains(x, y);
            if (!inside && buffer.pixel(x, y) != background.pixel(x, y))
                ++stray;
        }
    }
    return stray;
}

} // namespace

class SplashTest : public QObject
{
    Q_OBJECT
private slots:
    void windowAndPictures();
    void startsFiveSprites();
    void spriteArtworkIs24BitWithAClearBorder();
    void ticksEraseAndRedrawOnlyTheSprites();
    void timerRunsWhileShown();
    void clickOpensTheSiteAndCloses_data();
    void clickOpensTheSiteAndCloses();
};

void SplashTest::windowAndPictures()
{
    TestServices t;
    TfrmSplash splash(t.services);
    QCOMPARE(splash.size(), QSize(600, 368));
    QVERIFY(splash.windowTitle().contains(QStringLiteral("Velmora")));
    QCOMPARE(splash.toolTip(), QStringLiteral("  Visita il sito Internet dell'autore "));
    QCOMPARE(splash.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(splash.BackImage->size(), QSize(597, 362));
    QCOMPARE(splash.SpriteImage->size(), QSize(108, 60));
    QVERIFY(splash.BackImage->isHidden());
    QVERIFY(splash.SpriteImage->isHidden());
    QCOMPARE(splash.Timer1->interval(), 50);
    QCOMPARE(splash.backBuffer().format(), QImage::Format_RGB888);
    QCOMPARE(splash.backBuffer(), splash.background());
    QVERIFY(t.messages.shown.empty()); // the sprite is accepted by the image array
}

void SplashTest::startsFiveSprites()
{
    TestServices t;
    TfrmSplash splash(t.services);
    const auto &sprites = splash.sprites();
    QCOMPARE(sprites.size(), std::size_t(5));
    for (std::size_t i = 0; i < sprites.size(); ++i) {
        const auto &s = sprites[i];
        const int k = static_cast<int>(i) + 1;
        QVERIFY(s.X >= 108 && s.X < 597 - 108);
        QVERIFY(s.Y >= 60 && s.Y < 362 - 60);
        QVERIFY(s.Depth >= 50 && s.Depth < 362);
        QCOMPARE(std::abs(s.DX), k);
        QCOMPARE(std::abs(s.DY), k);
        QCOMPARE(std::abs(s.DDepth), k);
        QVERIFY(s.Angle >= 0 && s.Angle < 6.2832f);
        QVERIFY(s.Spin >= -0.2f && s.Spin < 0.2f);
        QCOMPARE(s.Scale, k / 4.0f);
        QCOMPARE(s.Mirrored, i % 2 == 0);
    }
}

void SplashTest::spriteArtworkIs24BitWithAClearBorder()
{
    const QImage sprite = TfrmSplash::spriteArtwork();
    QCOMPARE(sprite.size(), QSize(108, 60));
    QCOMPARE(sprite.format(), QImage::Format_RGB888);
    TImageArray array;
    QVERIFY(array.LoadFromBitmap(sprite));
    // The transparent colour surrounds the fish and is nowhere inside it.
    const QRgb clear = array.TransparentColor().rgb();
    QCOMPARE(sprite.pixel(0, 0), clear);
    QCOMPARE(sprite.pixel(107, 59), clear);
    QVERIFY(sprite.pixel(54, 30) != clear);
    QCOMPARE(TfrmSplash::backgroundArtwork().size(), QSize(597, 362));
}

void SplashTest::ticksEraseAndRedrawOnlyTheSprites()
{
    TestServices t;
    TfrmSplash splash(t.services);
    for (int tick = 1; tick <= 12; ++tick) {
        splash.Timer1Timer();
        QCOMPARE(strayPixels(splash), 0);
        // Each sprite's centre shows the fish, not the artwork.
        for (const auto &s : splash.sprites()) {
            if (s.X >= 0 && s.X < 597 && s.Y >= 0 && s.Y < 362)
                QVERIFY(splash.backBuffer().pixel(s.X, s.Y) != splash.background().pixel(s.X, s.Y));
        }
    }
}

void SplashTest::timerRunsWhileShown()
{
    TestServices t;
    TfrmSplash splash(t.services);
    QVERIFY(!splash.Timer1->isActive());
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QVERIFY(splash.Timer1->isActive());
    const QImage before = splash.backBuffer();
    const int paints = splash.paints();
    QTRY_VERIFY(splash.backBuffer() != before);
    QTRY_VERIFY(splash.paints() > paints);
    splash.hide();
    QVERIFY(!splash.Timer1->isActive());
}

void SplashTest::clickOpensTheSiteAndCloses_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("shellResult");
    QTest::newRow("left") << Qt::LeftButton << QPoint(300, 180) << true;
    QTest::newRow("right, corner") << Qt::RightButton << QPoint(598, 366) << true;
    QTest::newRow("failure ignored") << Qt::LeftButton << QPoint(10, 10) << false;
}

void SplashTest::clickOpensTheSiteAndCloses()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(bool, shellResult);
    TestServices t;
    t.shell.result = shellResult;
    TfrmSplash splash(t.services);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::mouseRelease(&splash, button, {}, at);
    QCOMPARE(t.shell.opened, QStringList{TfrmAvvio::webAddress()});
    QVERIFY(!splash.isVisible());
    QVERIFY(t.messages.shown.empty());
    QVERIFY(!QApplication::overrideCursor());
}

QTEST_MAIN(SplashTest)
#include "test_tfrmsplash.moc"
