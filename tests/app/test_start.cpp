#include <map>

#include <QMovie>
#include <QTest>

#include "app/screenset.h"
#include "app/tfrmavvio.h"
#include "common/workingscreen.h"
#include "common/artwork.h"
#include "support/fakes.h"

using namespace velmora;

// The start screen and the screen set.
class TestStart : public QObject
{
    Q_OBJECT

private slots:
    void screensAreCreatedInOrderWithTheirCaptions()
    {
        test::TestServices t;
        ScreenSet set(t.services);
        QStringList order;
        std::map<QString, QString> captions;
        for (const QWidget *screen : set.screens()) {
            order << screen->objectName();
            captions[screen->objectName()] = screen->windowTitle();
            QVERIFY2(!screen->isVisible(), qPrintable(screen->objectName()));
        }
        QCOMPARE(order.size(), 28);
        QCOMPARE(order.front(), QStringLiteral("TfrmPassword"));
        QCOMPARE(order[1], QStringLiteral("TfrmAvvio"));
        QCOMPARE(order.back(), QStringLiteral("TfrmSplash"));
        QCOMPARE(captions[QStringLiteral("TfrmPassword")], QStringLiteral(" Velmora © - Autenticazione"));
        QCOMPARE(captions[QStringLiteral("TfrmForniture")],
                 QStringLiteral(" Velmora © - Registrazione prodotti e servizi in conto"));
        QCOMPARE(captions[QStringLiteral("TfrmIva")], QStringLiteral(" Controllo partita IVA "));
        QCOMPARE(captions[QStringLiteral("TfrmRiepilogo")],
                 QStringLiteral(" Velmora © - Riepilogo delle consumazioni"));
        QCOMPARE(captions[QStringLiteral("TfrmCopie")], QStringLiteral(" Velmora © - Copie di sicurezza"));
    }

    void tilesOpenTheirEnvironmentAndHideTheStartScreen()
    {
        test::TestServices t;
        ScreenSet set(t.services);
        TfrmAvvio *start = set.start();
        const std::pair<const char *, Environment> routes[] = {{"btnClienti", Environment::Clients},
                                                               {"titProdotti", Environment::Products},
                                                               {"btnCrea", Environment::CreateBill},
                                                               {"titForniture", Environment::Catalogue},
                                                               {"imgRiepilogo", Environment::Summary},
                                                               {"imgCopie", Environment::SafetyCopies}};
        for (const auto &[icon, target] : routes) {
            set.showStart();
            QVERIFY(start->isVisible());
            auto *b = start->findChild<IconButton *>(QLatin1String(icon));
            QVERIFY2(b, icon);
            QTest::mouseClick(b, Qt::LeftButton);
            QWidget *screen = set.environment(target);
            QVERIFY2(screen->isVisible(), icon);
            QVERIFY(!start->isVisible());
            // Closing the environment brings the start screen back.
            screen->close();
            QVERIFY(start->isVisible());
            QVERIFY(!screen->isVisible());
        }
        start->hide();
    }

    void bannerRestartsFromTheFirstFrameOnEveryShow()
    {
        const QByteArray gif = artwork::bannerGif();
        QVERIFY(!gif.isEmpty());
        test::TestServices t;
        TfrmAvvio start(t.services);
        start.show();
        QMovie *first = start.banner();
        QVERIFY(first);
        QCOMPARE(first->frameCount(), 9);
        QCOMPARE(first->nextFrameDelay(), 50);
        QCOMPARE(start.imgAnimata->size(), QSize(451, 10));
        QTRY_VERIFY(first->currentFrameNumber() > 0);
        start.hide();
        start.show();
        QMovie *second = start.banner();
        QVERIFY(second);
        QCOMPARE(second->currentFrameNumber(), 0);
        QCOMPARE(second->state(), QMovie::Running);
        QCOMPARE(start.imgAnimata->movie(), second);
    }

    void webNoticeOpensTheSiteAndIconsCarryHints()
    {
        test::TestServices t;
        TfrmAvvio start(t.services);
        start.show();
        t.shell.result = false; // a failure is ignored
        QTest::mouseClick(start.lblWeb, Qt::LeftButton);
        QCOMPARE(t.shell.opened, QStringList{TfrmAvvio::webAddress()});
        QVERIFY(t.messages.shown.empty());
        QCOMPARE(start.imgEsci->toolTip(), QStringLiteral(" Esci "));
        QCOMPARE(start.imgRiepilogo->toolTip(), QStringLiteral(" Riepilogo delle consumazioni "));
        QCOMPARE(start.imgCopie->toolTip(), QStringLiteral(" Copie di sicurezza degli archivi "));
        QCOMPARE(start.imgCopie->description(), QStringLiteral(" Copie di sicurezza degli archivi "));
        QCOMPARE(start.lblSubTitle->text(),
                 QStringLiteral("Software per gestire l'addebito di servizi e consumazioni sul conto dei clienti di "
                                "strutture ricettive."));
        QTest::mouseClick(start.imgGuida, Qt::LeftButton);
        QCOMPARE(t.navigator.helpTopics, QStringList{QStringLiteral("Uno sguardo a Velmora")});
        QCOMPARE(start.minimumSize(), QSize(1030, 742));
    }
};

QTEST_MAIN(TestStart)
#include "test_start.moc"
