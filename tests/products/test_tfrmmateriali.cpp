#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "productfixtures.h"
#include "products/tfrmallegatimat.h"
#include "products/tfrmcartellamat.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmcercasottoscorta.h"
#include "products/tfrmmateriali.h"
#include "support/readonlyfolder.h"
#include "support/seconduser.h"

using namespace velmora;
using namespace velmora::test;

namespace {

const QString kAccessMessage = QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
                                              "Accertarsi di possedere i privilegi di scrittura nella cartella di "
                                              "installazione del programma.");

const QString kChanged = QStringLiteral("Attenzione: la scheda visualizzata è stata modificata o eliminata da "
                                        "un'altra postazione.\r\n\r\nVisualizzare nuovamente la scheda prima di "
                                        "ripetere l'operazione.");

// Writes the archive directly, as another workstation does.
void writeArchive(const TestServices &ts, const std::vector<std::string> &records)
{
    QFile f(QString::fromStdString(ts.file(kProductArchive).string()));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const std::string &r : records)
        f.write(r.data(), static_cast<qint64>(r.size()));
}

ProductValues numbered(int i)
{
    const std::string n = std::to_string(i);
    return {{product::Codice, "COD" + n}, {product::Descrizione, "Prodotto " + n}, {product::Giacenza, n}};
}

} // namespace

class TestTfrmMateriali : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<TfrmMateriali> card;

    template <typename T> T *child(const char *name) { return card->findChild<T *>(QLatin1String(name)); }
    TextBox *box(const char *name) { return child<TextBox>(name); }
    void click(IconButton *icon, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(icon, button); }
    void fill(const char *name, const QString &text)
    {
        box(name)->setFocus();
        box(name)->setText(text);
    }

private slots:
    void init()
    {
        ts = std::make_unique<TestServices>();
        card = std::make_unique<TfrmMateriali>(ts->services);
        card->show();
        card->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(card.get()));
    }

    void cleanup()
    {
        card.reset();
        ts.reset();
    }

    void opensOnAnEmptyCardOfSeventeenBoxesInThreeSections()
    {
        QVERIFY(card->windowTitle().endsWith(QStringLiteral(" - Prodotti e servizi")));
        QCOMPARE(card->minimumSize(), QSize(1038, 742));
        const std::pair<const char *, int> sections[] = {{"grpSezione01", 6}, {"grpSezione02", 6}, {"grpSezione03", 5}};
        int total = 0;
        for (const auto &[name, count] : sections) {
            QCOMPARE(child<QGroupBox>(name)->findChildren<TextBox *>().size(), count);
            total += count;
        }
        QCOMPARE(total, 17);
        QCOMPARE(card->txtPrezzo->text(), QStringLiteral("0,00"));
        QCOMPARE(card->txtGiacenza->text(), QStringLiteral("0"));
        QCOMPARE(card->txtSottoscorta->text(), QStringLiteral("0"));
        QVERIFY(card->txtCodice->text().isEmpty());
        QVERIFY(card->lblPosizione->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), card->txtCodice);
        QCOMPARE(card->txtCodice->palette().color(QPalette::Base), colours::focus);
        QCOMPARE(card->txtMarca->palette().color(QPalette::Base), colours::moneyGreen);
        QCOMPARE(card->txtCodice->maxLength(), 250);
        QCOMPARE(card->txtData->maxLength(), 50);
        QCOMPARE(card->txtPrezzo->maxLength(), 15);
        for (const char *hidden : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03",
                                   "lblCartella", "lblCartellaDesc"}) {
            QVERIFY2(child<QLabel>(hidden), hidden);
            QVERIFY(child<QLabel>(hidden)->isHidden());
        }
    }

    void enterWalksTheCardAndWrapsToTheCode()
    {
        const char *chain[] = {"txtCodice",      "txtTipologia", "txtMarca",    "txtModello",      "txtAccessori",
                               "txtDescrizione", "txtFornitore", "txtRecapito", "txtData",         "txtCosto",
                               "txtDocumento",   "txtOrdine",    "txtPrezzo",   "txtCollocazione", "txtGiacenza",
                               "txtSottoscorta", "txtNote",      "txtCodice"};
        box(chain[0])->setFocus();
        for (std::size_t i = 0; i + 1 < std::size(chain); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(chain[i + 1]));
        }
        QCOMPARE(card->txtMarca->palette().color(QPalette::Base), colours::moneyGreen);
        QVERIFY(ts->messages.shown.empty());
    }

    void numberBoxesFilterKeys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("message");
        const QString refused = QStringLiteral("Attenzione: carattere non valido.");
        QTest::newRow("digit") << "txtPrezzo"
                               << "12" << int(Qt::Key_5) << "125" << QString();
        QTest::newRow("first comma") << "txtPrezzo"
                                     << "12" << int(Qt::Key_Comma) << "12," << QString();
        QTest::newRow("second comma") << "txtPrezzo"
                                      << "1,2" << int(Qt::Key_Comma) << "1,2" << refused;
        QTest::newRow("letter") << "txtGiacenza"
                                << "4" << int(Qt::Key_A) << "4" << refused;
        QTest::newRow("point") << "txtSottoscorta"
                               << "4" << int(Qt::Key_Period) << "4" << refused;
        QTest::newRow("minus") << "txtGiacenza"
                               << "4" << int(Qt::Key_Minus) << "4" << refused;
        QTest::newRow("backspace") << "txtPrezzo"
                                   << "45" << int(Qt::Key_Backspace) << "4" << QString();
        QTest::newRow("at the limit") << "txtGiacenza"
                                      << "30000000" << int(Qt::Key_1) << "300000001" << QString();
        QTest::newRow("price over") << "txtPrezzo"
                                    << "30000001" << int(Qt::Key_1) << "0,00"
                                    << "Attenzione: valore non valido.";
        QTest::newRow("price over, backspace") << "txtPrezzo"
                                               << "30000000,5" << int(Qt::Key_Backspace) << "0,00"
                                               << "Attenzione: valore non valido.";
        QTest::newRow("stock over") << "txtGiacenza"
                                    << "300000001" << int(Qt::Key_2) << "0"
                                    << "Attenzione: il valore della giacenza massima non può superare 30 milioni.";
        QTest::newRow("threshold over") << "txtSottoscorta"
                                        << "99999999" << int(Qt::Key_A) << "0"
                                        << "Attenzione: il valore massimo non può superare 30 milioni.";
        QTest::newRow("free text box") << "txtCosto"
                                       << "12" << int(Qt::Key_A) << "12a" << QString();
    }

    void numberBoxesFilterKeys()
    {
        QFETCH(QString, name);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, after);
        QFETCH(QString, message);
        auto *b = box(name.toLatin1().constData());
        fill(name.toLatin1().constData(), before);
        b->setCursorPosition(before.size());
        QTest::keyClick(b, Qt::Key(key), Qt::NoModifier);
        QCOMPARE(b->text(), after);
        if (message.isEmpty()) {
            QVERIFY(ts->messages.shown.empty());
        } else {
            QCOMPARE(ts->messages.shown.size(), std::size_t(1));
            QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Titled);
            QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Operazione annullata"));
            QCOMPARE(ts->messages.lastText(), message);
        }
    }

    void leavingANumberBoxNormalisesIt_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("price whole") << "txtPrezzo"
                                     << "7"
                                     << "7,00";
        QTest::newRow("price one decimal") << "txtPrezzo"
                                           << "7,5"
                                           << "7,50";
        QTest::newRow("price many decimals") << "txtPrezzo"
                                             << "7,123456"
                                             << "7,1235";
        QTest::newRow("price four decimals") << "txtPrezzo"
                                             << "0,1234"
                                             << "0,1234";
        QTest::newRow("price blank") << "txtPrezzo"
                                     << ""
                                     << "0,00";
        QTest::newRow("price lone comma") << "txtPrezzo"
                                          << ","
                                          << "0,00";
        QTest::newRow("stock half") << "txtGiacenza"
                                    << "2,5"
                                    << "3";
        QTest::newRow("stock below half") << "txtGiacenza"
                                          << "2,4"
                                          << "2";
        QTest::newRow("stock blank") << "txtGiacenza"
                                     << ""
                                     << "0";
        QTest::newRow("threshold pasted text") << "txtSottoscorta"
                                               << "tanti"
                                               << "0";
    }

    void leavingANumberBoxNormalisesIt()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        fill(name.toLatin1().constData(), typed);
        card->txtCollocazione->setFocus();
        QCOMPARE(box(name.toLatin1().constData())->text(), shown);
        QCOMPARE(box(name.toLatin1().constData())->palette().color(QPalette::Base), colours::moneyGreen);
    }

    void saveNeedsCodeAndDescription()
    {
        fill("txtDescrizione", QStringLiteral("Acqua"));
        click(card->imgSalva);
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Information);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Salvataggio scheda non applicabile"));
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Per salvare la scheda è necessario indicare il codice articolo."));
        QCOMPARE(QApplication::focusWidget(), card->txtCodice);

        fill("txtCodice", QStringLiteral("A1"));
        card->txtDescrizione->setText(QStringLiteral("   "));
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Per salvare la scheda è necessario indicare una descrizione dell'articolo."));
        QCOMPARE(QApplication::focusWidget(), card->txtDescrizione);
        QVERIFY(!ts->exists(kProductArchive));
        QVERIFY(card->lblPosizione->text().isEmpty());
    }

    void saveAppendsThenUpdatesTheSameRecord()
    {
        fill("txtCodice", QStringLiteral("  BIB-01 "));
        fill("txtDescrizione", QStringLiteral("Acqua tonica àè"));
        fill("txtMarca", QStringLiteral("Fonte Blu"));
        fill("txtModello", QStringLiteral("Acque Srl"));
        card->lblFile01->setText(QStringLiteral("/home/foto.jpg"));
        card->lblCartellaDesc->setText(QStringLiteral("Documenti"));
        fill("txtGiacenza", QStringLiteral("2,5")); // saved with the focus still in the box
        click(card->imgSalva);

        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Salvataggio scheda effettuato con successo"));
        QCOMPARE(ts->messages.lastText(), QStringLiteral("La scheda corrente è stata inserita in archivio."));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
        QCOMPARE(card->txtGiacenza->text(), QStringLiteral("3"));
        const QByteArray bytes = ts->bytes(kProductArchive);
        QCOMPARE(bytes.size(), 5170);
        const std::string expected = productRecord({{product::Codice, "BIB-01"},
                                                    {product::Marca, "Fonte Blu"},
                                                    {product::Modello, "Acque Srl"},
                                                    {product::Descrizione, "Acqua tonica àè"},
                                                    {product::Prezzo, "0,00"},
                                                    {product::Giacenza, "3"},
                                                    {product::Sottoscorta, "0"},
                                                    {product::File01, "/home/foto.jpg"},
                                                    {product::CartellaDesc, "Documenti"}});
        QCOMPARE(bytes.toStdString(), expected);

        fill("txtPrezzo", QStringLiteral("7")); // exit normalisation has not run
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
        QCOMPARE(ts->bytes(kProductArchive).size(), 5170);
        QCOMPARE(storedField(*ts, 1, product::Prezzo), std::string("7"));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
    }

    // After a Save every box and hidden label shows what the archive holds: blanks around a
    // value are gone, a reference longer than its field is cut to it, numbers are as stored.
    void afterASaveTheCardShowsWhatWasStored()
    {
        fill("txtCodice", QStringLiteral("  BIB-01 "));
        fill("txtDescrizione", QStringLiteral("Acqua tonica\t"));
        fill("txtNote", QStringLiteral("\n scaffale alto "));
        fill("txtGiacenza", QStringLiteral("2,5"));
        fill("txtPrezzo", QStringLiteral(" 7")); // saved with the focus still in the box
        const QString longPath =
            QStringLiteral("/srv/velmora/") + QString(300, QLatin1Char('f')) + QStringLiteral(".jpg");
        card->lblFile01->setText(longPath);
        card->lblDesc01->setText(QStringLiteral("  Foto "));
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Salvataggio scheda effettuato con successo"));
        QCOMPARE(card->txtCodice->text(), QStringLiteral("BIB-01"));
        QCOMPARE(card->txtDescrizione->text(), QStringLiteral("Acqua tonica"));
        QCOMPARE(card->txtNote->text(), QStringLiteral("scaffale alto"));
        QCOMPARE(card->txtPrezzo->text(), QStringLiteral("7"));
        QCOMPARE(card->txtGiacenza->text(), QStringLiteral("3"));
        QCOMPARE(card->lblFile01->text(), longPath.left(250));
        QCOMPARE(card->lblDesc01->text(), QStringLiteral("Foto"));
        QCOMPARE(storedField(*ts, 1, product::File01), longPath.left(250).toStdString());
        QCOMPARE(storedField(*ts, 1, product::Note), std::string("scaffale alto"));

        fill("txtMarca", QStringLiteral(" Fonte Blu "));
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
        QCOMPARE(card->txtMarca->text(), QStringLiteral("Fonte Blu"));
        QCOMPARE(card->lblFile01->text(), longPath.left(250));
        QCOMPARE(ts->bytes(kProductArchive).size(), 5170);
    }

    void saveWithAStockThatIsNotANumberWritesNothing()
    {
        fill("txtCodice", QStringLiteral("A1"));
        fill("txtDescrizione", QStringLiteral("Acqua"));
        fill("txtSottoscorta", QStringLiteral(","));
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastText(), kAccessMessage);
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Plain);
        QVERIFY(ts->bytes(kProductArchive).isEmpty());
        QVERIFY(card->lblPosizione->text().isEmpty());
    }

    void navigationStopsAtBothEnds()
    {
        writeProducts(*ts, {numbered(1), numbered(2), numbered(3)});
        click(card->imgAvanti);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
        click(card->imgAvanti);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("2"));
        QCOMPARE(card->txtCodice->text(), QStringLiteral("COD2"));
        click(card->imgUltimo, Qt::RightButton); // mouse-up icons answer any button
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("3"));
        click(card->imgAvanti);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("3"));
        QCOMPARE(card->txtDescrizione->text(), QStringLiteral("Prodotto 3"));
        click(card->imgIndietro);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("2"));
        click(card->imgIndietro);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
        card->txtCodice->setText(QStringLiteral("changed"));
        click(card->imgIndietro); // nothing happens on the first card
        QCOMPARE(card->txtCodice->text(), QStringLiteral("changed"));
        click(card->imgPrimo);
        QCOMPARE(card->txtCodice->text(), QStringLiteral("COD1"));
        QCOMPARE(card->txtGiacenza->text(), QStringLiteral("1"));
        QVERIFY(ts->messages.shown.empty());

        click(card->imgNuovo);
        click(card->imgIndietro); // a new card goes to the first record
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("1"));
    }

    void navigationOnAnEmptyArchive()
    {
        const auto expectEmptyMessage = [this](std::size_t count) {
            QCOMPARE(ts->messages.shown.size(), count);
            QCOMPARE(ts->messages.shown.back().kind, Message::Kind::Information);
            QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Visualizzazione dati non applicabile"));
            QCOMPARE(ts->messages.lastText(), QStringLiteral("L'archivio non contiene nessuna scheda."));
        };
        click(card->imgPrimo);
        expectEmptyMessage(1);
        QVERIFY(ts->exists(kProductArchive)); // viewing creates the archive empty
        click(card->imgUltimo);
        expectEmptyMessage(2);
        click(card->imgIndietro);
        expectEmptyMessage(3);
        card->lblPosizione->setText(QStringLiteral("4"));
        click(card->imgAvanti);
        expectEmptyMessage(4);
        QVERIFY(card->lblPosizione->text().isEmpty());
        card->lblPosizione->setText(QStringLiteral("1"));
        click(card->imgIndietro);
        QCOMPARE(ts->messages.shown.size(), std::size_t(4));
    }

    // An archive another user keeps to himself shows no card and says why.
    void anArchiveThatCannotBeReadIsReported()
    {
        writeProducts(*ts, {numbered(1), numbered(2)});
        SecondUser other(ts->file(kProductArchive).parent_path(), ts->file(kProductArchive));
        QVERIFY(other.active());
        for (IconButton *arrow : {card->imgPrimo, card->imgUltimo, card->imgAvanti}) {
            ts->messages.clear();
            click(arrow);
            QCOMPARE(ts->messages.shown.size(), std::size_t(1));
            QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Plain);
            QCOMPARE(ts->messages.lastText(), kAccessMessage);
            QVERIFY(card->lblPosizione->text().isEmpty());
            QVERIFY(card->txtCodice->text().isEmpty());
        }
    }

    // In a folder this user may not write the cards are still shown; a save is refused with the
    // file message and writes nothing.
    void readOnlyFolderShowsTheCardsAndRefusesTheSave()
    {
        writeProducts(*ts, {numbered(1), numbered(2)});
        const QByteArray before = ts->bytes(kProductArchive);
        {
            const ReadOnlyFolder readOnly(ts->services.folder);
            QVERIFY(readOnly.active());
            click(card->imgUltimo);
            QCOMPARE(card->lblPosizione->text(), QStringLiteral("2"));
            QCOMPARE(card->txtCodice->text(), QStringLiteral("COD2"));
            click(card->imgIndietro);
            QCOMPARE(card->txtDescrizione->text(), QStringLiteral("Prodotto 1"));
            QVERIFY(ts->messages.shown.empty());
            fill("txtDescrizione", QStringLiteral("Cambiato"));
            click(card->imgSalva);
            QCOMPARE(ts->messages.shown.size(), std::size_t(1));
            QCOMPARE(ts->messages.lastText(), kAccessMessage);
        }
        QCOMPARE(ts->bytes(kProductArchive), before);
    }

    void showingARecordFillsHiddenLabels()
    {
        writeProducts(*ts, {{{product::Codice, "X"},
                             {product::Descrizione, "Ombrellone"},
                             {product::Prezzo, "12,5"},
                             {product::Giacenza, "4"},
                             {product::Sottoscorta, "1"},
                             {product::File02, "/doc/b.pdf"},
                             {product::Desc03, "Scheda tecnica"},
                             {product::Cartella, "/doc/ombrelloni"},
                             {product::Note, "stagionale"}}});
        click(card->imgPrimo);
        QCOMPARE(card->txtPrezzo->text(), QStringLiteral("12,5")); // shown as stored
        QCOMPARE(card->lblFile02->text(), QStringLiteral("/doc/b.pdf"));
        QCOMPARE(card->lblDesc03->text(), QStringLiteral("Scheda tecnica"));
        QCOMPARE(card->lblCartella->text(), QStringLiteral("/doc/ombrelloni"));
        QCOMPARE(card->txtNote->text(), QStringLiteral("stagionale"));
        const QByteArray before = ts->bytes(kProductArchive);
        click(card->imgSalva);
        QCOMPARE(ts->bytes(kProductArchive), before);

        click(card->imgNuovo);
        QVERIFY(card->lblCartella->text().isEmpty());
        QVERIFY(card->lblPosizione->text().isEmpty());
        QCOMPARE(card->txtPrezzo->text(), QStringLiteral("0,00"));
    }

    void deleteRemovesTheCardAndRenumbers()
    {
        writeProducts(*ts, {numbered(1), numbered(2), numbered(3), numbered(4), numbered(5)});
        const std::string fourth = storedRecords(*ts)[3];
        click(card->imgUltimo);
        click(card->imgIndietro);
        click(card->imgIndietro);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("3"));

        ts->messages.answers = {false};
        click(card->imgElimina);
        QCOMPARE(storedRecords(*ts).size(), std::size_t(5));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("3"));

        click(card->imgElimina);
        QCOMPARE(ts->messages.shown.size(), std::size_t(2));
        QCOMPARE(ts->messages.shown[1].kind, Message::Kind::Question);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Conferma cancellazione scheda"));
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non "
                                "potranno essere recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?"));
        const auto left = storedRecords(*ts);
        QCOMPARE(left.size(), std::size_t(4));
        QCOMPARE(ts->bytes(kProductArchive).size(), 4 * 5170);
        QCOMPARE(left[2], fourth);
        QCOMPARE(storedField(*ts, 2, product::Codice), std::string("COD2"));
        QVERIFY(!ts->exists(kProductTemp));
        QVERIFY(card->lblPosizione->text().isEmpty());
        QVERIFY(card->txtCodice->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), card->txtCodice);
    }

    void cardChangedElsewhereIsNeitherSavedNorDeleted_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<QString>("change");
        for (const bool deleting : {false, true}) {
            // The same product with another stock, the product moved up by a delete, the product gone.
            for (const char *change : {"changed", "moved", "removed"})
                QTest::addRow("%s %s", deleting ? "delete" : "save", change) << deleting << QString::fromLatin1(change);
        }
    }

    void cardChangedElsewhereIsNeitherSavedNorDeleted()
    {
        QFETCH(bool, deleting);
        QFETCH(QString, change);
        writeProducts(*ts, {numbered(1), numbered(2), numbered(3)});
        click(card->imgPrimo);
        click(card->imgAvanti);
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("2"));
        fill("txtNote", QStringLiteral("Da riordinare"));

        const auto records = storedRecords(*ts);
        if (change == QLatin1String("changed")) {
            ProductValues other = numbered(2);
            other.back().second = "1"; // an import on another workstation lowered the stock
            writeArchive(*ts, {records[0], productRecord(other), records[2]});
        } else if (change == QLatin1String("moved")) {
            writeArchive(*ts, {records[1], records[2]});
        } else {
            writeArchive(*ts, {records[0]});
        }
        const QByteArray left = ts->bytes(kProductArchive);
        ts->messages.clear();
        click(deleting ? card->imgElimina : card->imgSalva);

        QCOMPARE(ts->messages.shown.size(), std::size_t(deleting ? 2 : 1));
        QCOMPARE(ts->messages.shown.back().kind, Message::Kind::Plain);
        QCOMPARE(ts->messages.lastText(), kChanged);
        QCOMPARE(ts->bytes(kProductArchive), left);
        QVERIFY(!ts->exists(kProductTemp));
        // The card stays as typed.
        QCOMPARE(card->txtCodice->text(), QStringLiteral("COD2"));
        QCOMPARE(card->txtNote->text(), QStringLiteral("Da riordinare"));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("2"));
    }

    void showingTheCardAgainLetsTheSaveThrough()
    {
        writeProducts(*ts, {numbered(1)});
        click(card->imgPrimo);
        ProductValues other = numbered(1);
        other.back().second = "0";
        writeArchive(*ts, {productRecord(other)});
        fill("txtNote", QStringLiteral("Nota"));
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastText(), kChanged);
        QCOMPARE(storedField(*ts, 1, product::Note), std::string());

        click(card->imgPrimo);
        QCOMPARE(card->txtGiacenza->text(), QStringLiteral("0"));
        fill("txtNote", QStringLiteral("Nota"));
        click(card->imgSalva);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
        QCOMPARE(storedField(*ts, 1, product::Note), std::string("Nota"));
        QCOMPARE(storedField(*ts, 1, product::Giacenza), std::string("0"));
        // What the card saved is what it now expects: saving and deleting again go through.
        fill("txtNote", QStringLiteral("Altra nota"));
        click(card->imgSalva);
        QCOMPARE(storedField(*ts, 1, product::Note), std::string("Altra nota"));
        click(card->imgElimina);
        QVERIFY(storedRecords(*ts).empty());
    }

    void deleteNeedsAStoredCardAndALeftClick()
    {
        writeProducts(*ts, {numbered(1)});
        click(card->imgElimina);
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Warning);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Attenzione: operazione non applicabile"));
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("La cancellazione può essere applicata soltanto ad una scheda già registrata in "
                                "archivio."));
        click(card->imgPrimo);
        click(card->imgElimina, Qt::RightButton); // a click icon ignores the right button
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(storedRecords(*ts).size(), std::size_t(1));
        click(card->imgElimina);
        QCOMPARE(ts->bytes(kProductArchive).size(), 0);
        QVERIFY(ts->exists(kProductArchive));
    }

    void iconsDescribeThemselves_data()
    {
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("description");
        QTest::newRow("nuovo") << "imgNuovo"
                               << " Prepara la schermata ad accogliere una nuova scheda.";
        QTest::newRow("salva") << "imgSalva"
                               << " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda "
                                  "esistente.";
        QTest::newRow("trova") << "imgTrova"
                               << " Trova una scheda in archivio.";
        QTest::newRow("word") << "imgWord"
                              << " Esporta la scheda corrente in un file di Microsoft Word.";
        QTest::newRow("excel") << "imgExcel"
                               << " Esporta l'archivio corrente in un foglio di Microsoft Excel.";
        QTest::newRow("file") << "imgFile"
                              << " Allega file esterni alla scheda corrente.";
        QTest::newRow("cartella") << "imgCartella"
                                  << " Associa una cartella alla scheda corrente.";
        QTest::newRow("sottoscorta") << "imgDoppioTurno"
                                     << " Visualizza l'elenco dei prodotti in esaurimento.";
        QTest::newRow("elimina") << "imgElimina"
                                 << " Elimina la scheda corrente dall'archivio.";
        QTest::newRow("guida") << "imgGuida"
                               << " Visualizza la guida in linea del programma.";
        QTest::newRow("esci") << "imgEsci"
                              << " Esce dalla schermata di lavoro corrente.";
        QTest::newRow("primo") << "imgPrimo"
                               << " Visualizza la prima scheda in archivio.";
        QTest::newRow("indietro") << "imgIndietro"
                                  << " Visualizza la scheda precedente in archivio.";
        QTest::newRow("avanti") << "imgAvanti"
                                << " Visualizza la scheda successiva in archivio.";
        QTest::newRow("ultimo") << "imgUltimo"
                                << " Visualizza l'ultima scheda in archivio";
    }

    void iconsDescribeThemselves()
    {
        QFETCH(QString, icon);
        QFETCH(QString, description);
        auto *i = card->findChild<IconButton *>(icon);
        QVERIFY(i);
        QCOMPARE(i->pixmap().size(), QSize(148, 32));
        QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), i->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(i, &move);
        QCOMPARE(card->panInfo->text(), description);
        for (const char *surface : {"grpSezione02", "grpControlli"}) {
            card->panInfo->setText(description);
            QMouseEvent over(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(child<QGroupBox>(surface), &over);
            QVERIFY(card->panInfo->text().isEmpty());
        }
    }

    void helpShowsTheProductTopic()
    {
        click(card->imgGuida, Qt::MiddleButton);
        QCOMPARE(ts->navigator.helpTopics,
                 QStringList{QStringLiteral("Gestione dell'archivio dei prodotti e servizi")});
    }

    void iconsOpenTheirDialogsOverTheCard()
    {
        QStringList opened;
        const auto closeNext = [&opened, this] {
            QTimer::singleShot(0, card.get(), [&opened, this] {
                QWidget *modal = QApplication::activeModalWidget();
                if (!modal)
                    return;
                QString seen = modal->objectName();
                if (auto *search = qobject_cast<TfrmCercaMateriale *>(modal))
                    seen += QLatin1Char(':') + search->lblMemory->text();
                if (modal->parentWidget() != card.get())
                    seen += QStringLiteral(":wrong parent");
                opened << seen;
                modal->close();
            });
        };
        for (IconButton *icon : {card->imgTrova, card->imgDoppioTurno, card->imgFile, card->imgCartella}) {
            closeNext();
            click(icon);
        }
        QCOMPARE(opened,
                 (QStringList{QStringLiteral("TfrmCercaMateriale:materiali"), QStringLiteral("TfrmCercaSottoscorta"),
                              QStringLiteral("TfrmAllegatiMat"), QStringLiteral("TfrmCartellaMat")}));
    }

    void exitClosesAndReturnsToStartThenReopensEmpty()
    {
        writeProducts(*ts, {numbered(1)});
        click(card->imgPrimo);
        click(card->imgEsci);
        QVERIFY(!card->isVisible());
        QCOMPARE(ts->navigator.startShown, 1);
        card->show();
        QVERIFY(card->txtCodice->text().isEmpty());
        QVERIFY(card->lblPosizione->text().isEmpty());
    }
};

QTEST_MAIN(TestTfrmMateriali)
#include "test_tfrmmateriali.moc"
