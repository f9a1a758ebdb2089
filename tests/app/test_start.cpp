#include <QMovie>
#include <QTest>

#include "app/screenset.h"
#include "app/tfrmavvio.h"
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
        QCOMPARE(set.order().size(), std::size_t(26));
        QCOMPARE(set.order().front(), QStringLiteral("TfrmPassword"));
        QCOMPARE(set.order()[1], QStringLiteral("TfrmAvvio"));
        QCOMPARE(set.order().back(), QStringLiteral("TfrmSplash"));
        QCOMPARE(set.screen(QStringLiteral("TfrmPassword"))->windowTitle(), QStringLiteral(" Velmora © - Autenticazione"));
        QCOMPARE(set.screen(QStringLiteral("TfrmForniture"))->windowTitle(),
                 QStringLiteral(" Velmora © - Registrazione prodotti e servizi in conto"));
        QCOMPARE(set.screen(QStringLiteral("TfrmIva"))->windowTitle(), QStringLiteral(" Controllo partita IVA "));
        for (const QString &name : set.order())
            QVERIFY2(!set.screen(name)->isVisible(), qPrintable(name));
    }

    void tilesOpenTheirEnvironmentAndHideTheStartScreen()
    {
        test::TestServices t;
        ScreenSet set(t.services);
        auto *start = qobject_cast<TfrmAvvio *>(set.screen(QStringLiteral("TfrmAvvio")));
        QVERIFY(start);
        const std::pair<const char *, const char *> routes[] = {{"btnClienti", "TfrmDestinatari"},
                                                                {"titProdotti", "TfrmMateriali"},
                                                                {"btnCrea", "TfrmCrea"},
                                                                {"titForniture", "TfrmAccedi"}};
        for (const auto &[icon, target] : routes) {
            set.showStart();
            QVERIFY(start->isVisible());
            auto *b = start->findChild<IconButton *>(QLatin1String(icon));
            QVERIFY2(b, icon);
            QTest::mouseClick(b, Qt::LeftButton);
            QWidget *screen = set.screen(QLatin1String(target));
            QVERIFY2(screen->isVisible(), target);
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
