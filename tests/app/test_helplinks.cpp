#include <functional>
#include <memory>

#include <QTest>

#include "app/helptopics.h"
#include "app/tfrmavvio.h"
#include "bills/tfrmaccedi.h"
#include "bills/tfrmcrea.h"
#include "bills/tfrmesportafor.h"
#include "bills/tfrmforniture.h"
#include "bills/tfrmriepilogo.h"
#include "clients/tfrmdestinatari.h"
#include "clients/tfrmesportades.h"
#include "common/widgets.h"
#include "products/tfrmesportamat.h"
#include "products/tfrmmateriali.h"
#include "support/fakes.h"

using namespace velmora;

using Factory = std::function<QWidget *(Services &)>;
Q_DECLARE_METATYPE(Factory)

// Every help icon opens a topic that the help viewer has.
class TestHelpLinks : public QObject
{
    Q_OBJECT

private slots:
    void helpIconOpensItsTopic_data()
    {
        QTest::addColumn<Factory>("make");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("topic");
        const auto row = [](const char *name, Factory make, const char *icon, const char *topic) {
            QTest::newRow(name) << make << QString::fromLatin1(icon) << QString::fromUtf8(topic);
        };
        row("start", [](Services &s) { return new TfrmAvvio(s); }, "imgGuida", "Uno sguardo a Velmora");
        row("create bill", [](Services &s) { return new TfrmCrea(s); }, "imgGuida", "Creazione di un nuovo conto");
        row("open bill", [](Services &s) { return new TfrmAccedi(s); }, "imgGuida", "Accesso ad un conto esistente");
        row("consumptions", [](Services &s) { return new TfrmForniture(s); }, "cmdGuida",
            "Gestione dei conti delle consumazioni");
        row("summary", [](Services &s) { return new TfrmRiepilogo(s); }, "cmdGuida", "Riepilogo delle consumazioni");
        row("client card", [](Services &s) { return new TfrmDestinatari(s); }, "cmdGuida", "Gestione anagrafica clienti");
        row("product card", [](Services &s) { return new TfrmMateriali(s); }, "imgGuida",
            "Gestione dell'archivio dei prodotti e servizi");
        row("client export", [](Services &s) { return new TfrmEsportaDes(s); }, "lblGuida",
            "Esportazione archivio anagrafico clienti in Microsoft Word ed Excel");
        row("bill export", [](Services &s) { return new TfrmEsportaFor(s); }, "imgGuida",
            "Esportazione conto consumazioni in Microsoft Word ed Excel");
        row("product export", [](Services &s) { return new TfrmEsportaMat(s); }, "imgGuida",
            "Esportazione archivio prodotti e servizi in Microsoft Word ed Excel");
    }

    void helpIconOpensItsTopic()
    {
        QFETCH(Factory, make);
        QFETCH(QString, icon);
        QFETCH(QString, topic);
        test::TestServices t;
        std::unique_ptr<QWidget> screen(make(t.services));
        auto *button = screen->findChild<IconButton *>(icon);
        QVERIFY(button);
        emit button->activated();
        QCOMPARE(t.navigator.helpTopics, QStringList{topic});
        QVERIFY(help::findTopic(topic));
    }
};

QTEST_MAIN(TestHelpLinks)
#include "test_helplinks.moc"
