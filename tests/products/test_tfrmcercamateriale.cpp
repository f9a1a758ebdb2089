#include <functional>

#include <QApplication>
#include <QTest>

#include "productfixtures.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmmateriali.h"
#include "support/modal.h"

using namespace velmora;
using namespace velmora::test;

class TestTfrmCercaMateriale : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<TfrmMateriali> card;
    std::unique_ptr<TfrmCercaMateriale> owned;
    TfrmCercaMateriale *dlg = nullptr;

    void open(Caller caller = Caller::Materiali)
    {
        owned = std::make_unique<TfrmCercaMateriale>(ts->services, card.get());
        dlg = owned.get();
        dlg->setCaller(caller);
        dlg->show();
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
    }

    // Opens the search from the product card's search icon and runs act while it is up.
    void fromCard(const std::function<void()> &act)
    {
        bool opened = false;
        whenModal([&](QDialog *d) {
            dlg = qobject_cast<TfrmCercaMateriale *>(d);
            QVERIFY(dlg);
            opened = true;
            // The dialog becomes the active window once exec() has shown it.
            QTRY_VERIFY(dlg->isActiveWindow());
            act();
        });
        QTest::mouseClick(card->imgTrova, Qt::LeftButton);
        QVERIFY(opened);
        dlg = nullptr;
    }

    void type(TextBox *box, const QString &text)
    {
        box->setFocus();
        typeText(box, text);
    }

    QStringList codes() const
    {
        QStringList out;
        for (const QString &line : listTexts(dlg->lstRecords))
            out << line.left(30).trimmed();
        return out;
    }

private slots:
    void init()
    {
        ts = std::make_unique<TestServices>();
        card = std::make_unique<TfrmMateriali>(ts->services);
        card->show();
        writeProducts(*ts, {{{product::Codice, "b-200"}, {product::Tipologia, "Bevanda"}, {product::Note, "frigo"}},
                            {{product::Codice, "A-100"}, {product::Tipologia, "Bevanda"}, {product::Marca, "Fonte"}},
                            {{product::Codice, "xABCx"}, {product::Descrizione, "caffè"}},
                            {{product::Codice, "C-300"}, {product::Tipologia, "Servizio"}, {product::Marca, "Fonte"}}});
    }

    void cleanup()
    {
        owned.reset();
        dlg = nullptr;
        card.reset();
        ts.reset();
    }

    void opensOnTheCriteriaPage()
    {
        open();
        QVERIFY(dlg->grpCriteri->isVisible());
        QVERIFY(!dlg->grpElenco->isVisible());
        QVERIFY(dlg->cmdTrova->isEnabled());
        QVERIFY(!dlg->cmdIndietro->isEnabled());
        QVERIFY(!dlg->cmdStampa->isEnabled());
        QCOMPARE(dlg->lblConta->text(), QStringLiteral("0"));
        QCOMPARE(QApplication::focusWidget(), dlg->txtCognome);
        QCOMPARE(dlg->cboGiorno->palette().color(QPalette::Base), colours::moneyGreen);
        // Tab reaches the buttons; a click on one leaves the focus in the criterion being typed.
        QCOMPARE(dlg->cmdTrova->focusPolicy(), Qt::TabFocus);
        // Enter walks the seven criteria and wraps.
        for (int i = 0; i < 7; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dlg->txtCognome);
    }

    void blankCriteriaListEveryCardSortedByCode()
    {
        open();
        type(dlg->txtNome, QStringLiteral("   "));
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        QCOMPARE(dlg->lblConta->text(), QStringLiteral("0"));
        QCOMPARE(codes(), (QStringList{QStringLiteral("A-100"), QStringLiteral("b-200"), QStringLiteral("C-300"),
                                       QStringLiteral("xABCx")}));
        QVERIFY(dlg->grpElenco->isVisible());
        QVERIFY(!dlg->grpCriteri->isVisible());
        QVERIFY(!dlg->cmdTrova->isEnabled());
        QVERIFY(dlg->cmdIndietro->isEnabled());
        QVERIFY(dlg->cmdStampa->isEnabled());
        QCOMPARE(QApplication::focusWidget(), dlg->txtTrova);
        QCOMPARE(dlg->txtTrova->palette().color(QPalette::Base), colours::focus);
    }

    void criteriaMatch_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("typed2");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("capitals find small letters") << "txtCognome"
                                                     << "ABC"
                                                     << ""
                                                     << "" << QStringList{QStringLiteral("xABCx")};
        QTest::newRow("small letters find capitals") << "txtCognome"
                                                     << "abc"
                                                     << ""
                                                     << "" << QStringList{QStringLiteral("xABCx")};
        QTest::newRow("accented capital") << "txtAnno"
                                          << "CAFFÈ"
                                          << ""
                                          << "" << QStringList{};
        QTest::newRow("accented small") << "txtAnno"
                                        << "CAFFè"
                                        << ""
                                        << "" << QStringList{QStringLiteral("xABCx")};
        QTest::newRow("type") << "cboGiorno"
                              << "bevanda"
                              << ""
                              << "" << QStringList{QStringLiteral("A-100"), QStringLiteral("b-200")};
        QTest::newRow("two criteria") << "cboGiorno"
                                      << "bevanda"
                                      << "txtNome"
                                      << "fonte" << QStringList{QStringLiteral("A-100")};
        QTest::newRow("notes") << "txtDettagli"
                               << "FRIGO"
                               << ""
                               << "" << QStringList{QStringLiteral("b-200")};
        QTest::newRow("nothing") << "txtCognome"
                                 << "zzz"
                                 << ""
                                 << "" << QStringList{};
    }

    void criteriaMatch()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, box2);
        QFETCH(QString, typed2);
        QFETCH(QStringList, found);
        open();
        type(dlg->findChild<TextBox *>(box), typed);
        if (!box2.isEmpty())
            type(dlg->findChild<TextBox *>(box2), typed2);
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        QCOMPARE(dlg->lblConta->text(), QString::number(box2.isEmpty() ? 1 : 2));
        QCOMPARE(codes(), found);
        QVERIFY(dlg->grpElenco->isVisible()); // even an empty result shows the list page
    }

    void resultLineHasFixedColumns()
    {
        ts = std::make_unique<TestServices>();
        card = std::make_unique<TfrmMateriali>(ts->services);
        writeProducts(*ts, {{{product::Codice, "P1"},
                             {product::Tipologia, "Bibita"},
                             {product::Marca, "Fonte"},
                             {product::Prezzo, "2,50"},
                             {product::Giacenza, "12"},
                             {product::Note, "in frigo"}}});
        open();
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        QCOMPARE(listTexts(dlg->lstRecords),
                 QStringList{QStringLiteral("P1") + QString(28, QLatin1Char(' ')) + QStringLiteral("  Bibita") +
                             QString(19, QLatin1Char(' ')) + QStringLiteral("  Fonte") + QString(25, QLatin1Char(' ')) +
                             QStringLiteral("  Prezzo: 2,50") + QString(11, QLatin1Char(' ')) +
                             QStringLiteral("  Giacenza: 12") + QString(8, QLatin1Char(' ')) +
                             QStringLiteral("  in frigo")});
    }

    void backRestoresTheCriteria()
    {
        open();
        type(dlg->cboGiorno, QStringLiteral("bev"));
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        QCOMPARE(dlg->lblConta->text(), QStringLiteral("1"));
        QTest::mouseClick(dlg->cmdIndietro, Qt::LeftButton);
        QVERIFY(dlg->grpCriteri->isVisible());
        QCOMPARE(dlg->lstRecords->count(), 0);
        QCOMPARE(dlg->lblConta->text(), QStringLiteral("0"));
        QCOMPARE(dlg->cboGiorno->text(), QStringLiteral("bev"));
        QVERIFY(dlg->cmdTrova->isEnabled());
        QVERIFY(!dlg->cmdIndietro->isEnabled());
        QVERIFY(!dlg->cmdStampa->isEnabled());
        QCOMPARE(QApplication::focusWidget(), dlg->txtCognome);
    }

    void quickFindMovesOnWithTheSameKeyAndRestartsWithANewOne()
    {
        open();
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        // Lines: A-100 (Fonte), b-200, C-300 (Fonte), xABCx
        type(dlg->txtTrova, QStringLiteral("FONTE"));
        QTest::keyClick(dlg->txtTrova, Qt::Key_Return);
        QCOMPARE(dlg->lstRecords->currentRow(), 0);
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 2);
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 0); // wrapped
        dlg->txtTrova->setText(QStringLiteral("c-3"));
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 2);
        dlg->txtTrova->setText(QStringLiteral("a-1"));
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 0); // a new key starts from the top
        dlg->txtTrova->setText(QStringLiteral("nessuno"));
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 0);
        QVERIFY(ts->messages.shown.empty());
        QVERIFY(dlg->isVisible());
    }

    void quickFindOnAnEmptyList()
    {
        open();
        type(dlg->txtCognome, QStringLiteral("zzz"));
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        QTest::keyClick(dlg->txtTrova, Qt::Key_Return);
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void doubleClickLoadsTheCardEvenWithALongCode()
    {
        const std::string longCode = "CODICE-MOLTO-LUNGO-0123456789-XYZ"; // 33 characters
        writeProducts(
            *ts, {{{product::Codice, longCode}, {product::Descrizione, "Lettino"}, {product::Cartella, "/spiaggia"}}});
        fromCard([&] {
            QCOMPARE(dlg->lblMemory->text(), QStringLiteral("materiali"));
            type(dlg->txtCognome, QStringLiteral("LUNGO"));
            QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
            QCOMPARE(dlg->lstRecords->count(), 1);
            QVERIFY(dlg->lstRecords->item(0)->text().startsWith(QString::fromStdString(longCode.substr(0, 30)) +
                                                                QStringLiteral("  ")));
            doubleClickRow(dlg->lstRecords, 0);
            QVERIFY(!dlg->isVisible());
            // Closing put the dialog back on its criteria page with empty boxes.
            QVERIFY(dlg->txtCognome->text().isEmpty());
            QCOMPARE(dlg->lblConta->text(), QStringLiteral("0"));
        });
        QCOMPARE(card->txtCodice->text(), QString::fromStdString(longCode));
        QCOMPARE(card->txtDescrizione->text(), QStringLiteral("Lettino"));
        QCOMPARE(card->lblCartella->text(), QStringLiteral("/spiaggia"));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("5"));
    }

    void sameLineTwiceLoadsTheLastCard()
    {
        writeProducts(*ts, {{{product::Codice, "A-100"},
                             {product::Tipologia, "Bevanda"},
                             {product::Marca, "Fonte"},
                             {product::Descrizione, "copia"}}});
        fromCard([&] {
            type(dlg->txtCognome, QStringLiteral("A-100"));
            QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
            QCOMPARE(dlg->lstRecords->count(), 2); // both cards with the same code are listed
            doubleClickRow(dlg->lstRecords, 0);
        });
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("5"));
        QCOMPARE(card->txtDescrizione->text(), QStringLiteral("copia"));
    }

    void anotherCallerGetsNoCard()
    {
        open(Caller::Forniture);
        QCOMPARE(dlg->lblMemory->text(), QStringLiteral("forniture"));
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        doubleClickRow(dlg->lstRecords, 0);
        QVERIFY(!dlg->isVisible());
        QVERIFY(!dlg->chosen());
        // The same choice made for the product card hands the card back.
        dlg->setCaller(Caller::Materiali);
        dlg->show();
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        doubleClickRow(dlg->lstRecords, 0);
        QVERIFY(dlg->chosen());
        QCOMPARE(dlg->chosen()->number, std::size_t(2)); // A-100, the first line by code
    }

    void missingArchiveGivesAnEmptyList()
    {
        ts = std::make_unique<TestServices>();
        card = std::make_unique<TfrmMateriali>(ts->services);
        open();
        QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
        QVERIFY(ts->exists(kProductArchive));
        QCOMPARE(dlg->lstRecords->count(), 0);
        QVERIFY(dlg->grpElenco->isVisible());
        QVERIFY(ts->messages.shown.empty());
    }

    void annullaClosesAndResets()
    {
        fromCard([&] {
            type(dlg->txtNome, QStringLiteral("fonte"));
            QTest::mouseClick(dlg->cmdTrova, Qt::LeftButton);
            QTest::mouseClick(dlg->cmdAnnulla, Qt::LeftButton);
            QVERIFY(!dlg->isVisible());
            QCOMPARE(dlg->lstRecords->count(), 0);
            QVERIFY(dlg->txtNome->text().isEmpty());
            QVERIFY(dlg->cmdTrova->isEnabled());
            QVERIFY(!dlg->cmdIndietro->isEnabled());
        });
        QVERIFY(card->lblPosizione->text().isEmpty());
        QVERIFY(card->txtCodice->text().isEmpty());
    }
};

QTEST_MAIN(TestTfrmCercaMateriale)
#include "test_tfrmcercamateriale.moc"
