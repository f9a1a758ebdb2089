#include <QApplication>
#include <QLabel>
#include <QTest>

#include "app/screenset.h"
#include "common/artwork.h"
#include "common/widgets.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::TestServices;

// The screens on a screen of double density: every picture is drawn at that density (sharp,
// not enlarged) and shown at the size it has on an ordinary screen.
class TestHiDpi : public QObject
{
    Q_OBJECT

private slots:
    void everyPictureIsDrawnAtTheScreensDensity()
    {
        QCOMPARE(artwork::drawingRatio(), 2.0);
        TestServices ts;
        ScreenSet screens(ts.services);
        int pictures = 0;
        QStringList soft;
        QStringList oversized;
        for (QWidget *screen : screens.screens()) {
            // The splash animation is pixel art moved a pixel at a time, and stays so.
            if (screen->objectName() == QLatin1String("TfrmSplash"))
                continue;
            for (const QLabel *label : screen->findChildren<QLabel *>()) {
                const QPixmap picture = label->pixmap();
                if (picture.isNull())
                    continue;
                ++pictures;
                const QString where = screen->objectName() + QLatin1Char('/') + label->objectName();
                if (picture.devicePixelRatio() != 2.0 || picture.width() != 2 * pictureSize(label).width())
                    soft << where;
                // A picture takes its room in screen units, never in pixels.
                if (label->width() >= picture.width() && label->height() >= picture.height())
                    oversized << where;
            }
        }
        QVERIFY2(soft.isEmpty(), qPrintable(soft.join(QLatin1Char('\n'))));
        QVERIFY2(oversized.isEmpty(), qPrintable(oversized.join(QLatin1Char('\n'))));
        QVERIFY2(pictures > 100, qPrintable(QString::number(pictures)));
    }

    void startTilesUseTheirDoubleSizePictures()
    {
        for (const char *name : {"clienti", "prodotti", "crea", "forniture"}) {
            const QPixmap tile = artwork::tilePicture(QLatin1String(name));
            QCOMPARE(tile.size(), QSize(454, 512));
            QCOMPARE(artwork::area(tile).size(), QSize(227, 256));
            // Not the navy stand-in of a missing picture.
            QVERIFY(tile.toImage().pixelColor(10, 10) != colours::navy);
        }
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestHiDpi test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
