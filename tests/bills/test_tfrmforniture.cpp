#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "bills/consumption.h"
#include "bills/tfrmforniture.h"
#include "bills/tfrmimpmateriali.h"
#include "common/fonts.h"
#include "clients/clientrecord.h"
#include "clients/tfrmcercadestinatari.h"
#include "common/record.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "support/fakes.h"
#include "support/seconduser.h"

using namespace velmora;
using velmora::test::Message;
using velmora::test::TestServices;
using velmora::test::typeText;

namespace {

struct Row
{
    Row(std::string p, std::string q = "1", std::string pr = "1,00", std::string a = "1,00", std::string w = {})
        : product(std::move(p)), quantity(std::move(q)), price(std::move(pr)), amount(std::move(a)),
          waiter(std::move(w))
    {
    }
    std::string product;
    std::string quantity;
    std::string price;
    std::string amount;
    std::string waiter;
};

std::string encode(const Row &row)
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = row.product;
    v[consumption::Data] = "07/12/2026";
    v[consumption::Ora] = "21:15";
    v[consumption::Quantita] = row.quantity;
    v[consumption::Prezzo] = row.price;
    v[consumption::Importo] = row.amount;
    v[consumption::Cameriere] = row.waiter;
    return consumptionLayout().encode(v);
}

// The stored value of one field of record n (1-based) in a bill file's bytes.
std::string storedField(const QByteArray &bytes, int n, consumption::Field field)
{
    const std::string data = bytes.toStdString();
    const std::size_t start = static_cast<std::size_t>(n - 1) * consumptionLayout().size();
    return getField(std::string_view(data).substr(start, consumptionLayout().size()), consumptionLayout().offset(field),
                    consumptionLayout().capacity(field));
}

} // namespace

class TestTfrmForniture : public QObject
{
    Q_OBJECT

private:
    struct Screen
    {
        explicit Screen(const std::vector<Row> &rows = {})
        {
            std::ofstream(ts.file("Conto.for")).flush();
            for (const Row &r : rows)
                QVERIFY(bill().append(encode(r)));
        }
        TestServices ts;
        TfrmForniture screen{ts.services};

        RecordFile bill() const { return RecordFile(ts.file("Conto.for"), consumptionLayout().size()); }
        QByteArray bytes() const { return ts.bytes("Conto.for"); }
        int records() const { return static_cast<int>(bytes().size() / 785); }
        void show()
        {
            screen.openBill(ts.file("Conto.for"), QStringLiteral("Conto"));
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
            screen.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&screen));
        }
        void click(IconButton *icon) { QTest::mouseClick(icon, Qt::LeftButton); }
        QString position() const { return screen.lblPosizione->text(); }
        QStringList lines() const
        {
            QStringList out;
            for (int i = 0; i < screen.lstStudenti->count(); ++i)
                out << screen.lstStudenti->item(i)->text();
            return out;
        }
        // Types into a box as the user does, then leaves it for the next box.
        void typeAndLeave(TextBox *box, const QString &text)
        {
            box->setFocus();
            box->clear();
            typeText(box, text);
            (box == screen.txtProdotto ? screen.txtData : screen.txtProdotto)->setFocus();
        }
        void clickLine(int row)
        {
            QListWidget *list = screen.lstStudenti;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        }
    };

private slots:
    void newBillShowsAnEmptyListAndADefaultCard()
    {
        Screen s;
        s.show();
        QCOMPARE(s.screen.lstStudenti->count(), 0);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("0,00"));
        QCOMPARE(s.position(), QString());
        QCOMPARE(s.screen.txtProdotto->text(), QString());
        QCOMPARE(s.screen.txtData->text(), QStringLiteral("08/12/2026"));
        QCOMPARE(s.screen.txtOra->text(), QStringLiteral("10:30"));
        QCOMPARE(s.screen.txtQuantita->text(), QStringLiteral("1"));
        QCOMPARE(s.screen.txtPrezzo->text(), QStringLiteral("0,00"));
        QCOMPARE(s.screen.txtImporto->text(), QStringLiteral("0,00"));
        QCOMPARE(QApplication::focusWidget(), s.screen.txtProdotto);
        QCOMPARE(s.bytes().size(), 0);
    }

    void boxesHaveTheirCapacities()
    {
        Screen s;
        const int lengths[] = {250, 10, 5, 250, 16, 16, 16, 10, 50, 50, 50, 50};
        const char *names[] = {"txtProdotto", "txtData", "txtOra",       "txtLuogo",   "txtQuantita", "txtPrezzo",
                               "txtImporto",  "txtUM",   "txtCameriere", "txtCliente", "txtAlloggio", "txtTelCel"};
        QCOMPARE(s.screen.boxes().size(), std::size_t(12));
        for (int i = 0; i < 12; ++i) {
            QCOMPARE(s.screen.boxes()[static_cast<std::size_t>(i)]->objectName(), QLatin1String(names[i]));
            QCOMPARE(s.screen.boxes()[static_cast<std::size_t>(i)]->maxLength(), lengths[i]);
        }
    }

    void savingABlankProductIsRefused()
    {
        Screen s;
        s.show();
        s.screen.txtProdotto->setText(QStringLiteral("   "));
        s.click(s.screen.btnSalva);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Warning);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Salvataggio scheda non applicabile"));
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Per salvare la scheda è necessario indicare la descrizione "
                                                          "del prodotto o servizio fornito."));
        QCOMPARE(s.bytes().size(), 0);
        QCOMPARE(QApplication::focusWidget(), s.screen.txtProdotto);
    }

    void savingTwiceWritesOneRecordThenUpdatesIt()
    {
        Screen s({{"Pane"}});
        s.show();
        typeText(s.screen.txtProdotto, QStringLiteral("Caffè"));
        s.typeAndLeave(s.screen.txtQuantita, QStringLiteral("2"));
        s.typeAndLeave(s.screen.txtPrezzo, QStringLiteral("1,2"));
        s.screen.txtCliente->setText(QStringLiteral("  Mario Rossi  "));
        s.click(s.screen.btnSalva);

        QCOMPARE(s.records(), 2);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Information);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Salvataggio scheda effettuato con successo"));
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("La scheda corrente è stata inserita in archivio."));
        const QByteArray first = s.bytes();
        QCOMPARE(storedField(first, 2, consumption::Prodotto), std::string("Caff\xE8"));
        QCOMPARE(storedField(first, 2, consumption::Data), std::string("08/12/2026"));
        QCOMPARE(storedField(first, 2, consumption::Ora), std::string("10:30"));
        QCOMPARE(storedField(first, 2, consumption::Quantita), std::string("2"));
        QCOMPARE(storedField(first, 2, consumption::Prezzo), std::string("1,20"));
        QCOMPARE(storedField(first, 2, consumption::Importo), std::string("2,40"));
        QCOMPARE(storedField(first, 2, consumption::Cliente), std::string("Mario Rossi"));
        // Length byte of the product, then its Windows-1252 bytes.
        QCOMPARE(static_cast<int>(first.at(785)), 5);
        QCOMPARE(first.mid(786, 5), QByteArray("Caff\xE8"));
        QCOMPARE(s.screen.lstStudenti->count(), 2);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("3,40"));

        s.typeAndLeave(s.screen.txtPrezzo, QStringLiteral("1,5"));
        s.click(s.screen.btnSalva);
        QCOMPARE(s.records(), 2);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
        QCOMPARE(storedField(s.bytes(), 2, consumption::Importo), std::string("3,00"));
        QCOMPARE(s.bytes().left(785), first.left(785));
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("4,00"));
    }

    // Blanks around a value never reach the bill; after a Save every box shows the bill's value.
    void afterASaveTheCardShowsWhatWasStored()
    {
        Screen s;
        s.show();
        s.screen.txtProdotto->setText(QStringLiteral("  Caffè\t"));
        s.screen.txtLuogo->setText(QStringLiteral(" Terrazza  "));
        s.screen.txtUM->setText(QStringLiteral("tazza "));
        s.screen.txtCameriere->setText(QStringLiteral("\tAnna"));
        s.screen.txtQuantita->setText(QStringLiteral(" 2 "));
        s.screen.txtPrezzo->setText(QStringLiteral("1,20 "));
        const auto showsTheBill = [&s] {
            const QByteArray bytes = s.bytes();
            for (std::size_t f = 0; f < consumption::FieldCount; ++f)
                QCOMPARE(toAnsi(s.screen.boxes()[f]->text()),
                         storedField(bytes, 1, static_cast<consumption::Field>(f)));
        };
        s.click(s.screen.btnSalva);
        QCOMPARE(s.records(), 1);
        showsTheBill();
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Caffè"));
        QCOMPARE(s.screen.txtLuogo->text(), QStringLiteral("Terrazza"));
        QCOMPARE(s.screen.txtCameriere->text(), QStringLiteral("Anna"));
        QCOMPARE(s.screen.txtQuantita->text(), QStringLiteral("2"));
        QCOMPARE(s.screen.txtImporto->text(), QStringLiteral("2,40"));

        s.screen.txtCliente->setText(QStringLiteral("   Mario Rossi "));
        s.screen.txtTelCel->setText(QStringLiteral(" 333 1234567\n"));
        s.click(s.screen.btnSalva);
        QCOMPARE(s.records(), 1);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
        showsTheBill();
        QCOMPARE(s.screen.txtCliente->text(), QStringLiteral("Mario Rossi"));
        QCOMPARE(s.screen.txtTelCel->text(), QStringLiteral("333 1234567"));
    }

    void amountIsQuantityTimesPrice_data()
    {
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("amount");
        QTest::newRow("2 x 3,5") << QStringLiteral("2") << QStringLiteral("3,5") << QStringLiteral("7,00");
        QTest::newRow("3 x 0,3333") << QStringLiteral("3") << QStringLiteral("0,3333") << QStringLiteral("1,00");
        QTest::newRow("1,5 x 1,25") << QStringLiteral("1,5") << QStringLiteral("1,25") << QStringLiteral("1,88");
        QTest::newRow("1,5 x 0,35") << QStringLiteral("1,5") << QStringLiteral("0,35") << QStringLiteral("0,53");
    }

    void amountIsQuantityTimesPrice()
    {
        QFETCH(QString, quantity);
        QFETCH(QString, price);
        QFETCH(QString, amount);
        Screen s;
        s.show();
        // Typed and not left: the command works on the boxes as typed.
        s.screen.txtQuantita->setFocus();
        s.screen.txtQuantita->clear();
        typeText(s.screen.txtQuantita, quantity);
        s.screen.txtPrezzo->clear();
        s.screen.txtPrezzo->setText(price);
        QTest::mouseClick(s.screen.cmdCalcola, Qt::LeftButton);
        QCOMPARE(s.screen.txtImporto->text(), amount);

        s.screen.txtImporto->setText(QStringLiteral("0,00"));
        s.screen.txtProdotto->setText(QStringLiteral("Prodotto"));
        s.click(s.screen.btnSalva);
        QCOMPARE(storedField(s.bytes(), 1, consumption::Importo), amount.toStdString());
    }

    void invalidValuesAreReportedAndReset()
    {
        Screen s;
        s.show();
        s.screen.txtQuantita->setText(QStringLiteral("2"));
        s.screen.txtPrezzo->setText(QStringLiteral(",")); // pasted: the key filter never sees it
        QTest::mouseClick(s.screen.cmdCalcola, Qt::LeftButton);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente "
                                "la quantità e il prezzo prima di premere il pulsante "
                                "Calcola."));
        QCOMPARE(s.screen.txtQuantita->text(), QStringLiteral("1"));
        QCOMPARE(s.screen.txtPrezzo->text(), QStringLiteral("0,00"));
        QCOMPARE(s.screen.txtImporto->text(), QStringLiteral("0,00"));
        QCOMPARE(QApplication::focusWidget(), s.screen.txtImporto);
    }

    void saveGoesOnWithTheResetValues()
    {
        Screen s;
        s.show();
        s.screen.txtProdotto->setText(QStringLiteral("Torta"));
        s.screen.txtQuantita->setText(QStringLiteral("tre"));
        s.screen.txtPrezzo->setText(QStringLiteral("4,00"));
        s.click(s.screen.btnSalva);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(2));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Salvataggio scheda effettuato con successo"));
        QCOMPARE(storedField(s.bytes(), 1, consumption::Quantita), std::string("1"));
        QCOMPARE(storedField(s.bytes(), 1, consumption::Prezzo), std::string("0,00"));
        QCOMPARE(storedField(s.bytes(), 1, consumption::Importo), std::string("0,00"));
    }

    void leavingAPriceOrAmountBoxNormalisesIt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("4") << QStringLiteral("4") << QStringLiteral("4,00");
        QTest::newRow("2,5") << QStringLiteral("2,5") << QStringLiteral("2,50");
        QTest::newRow("1,23456") << QStringLiteral("1,23456") << QStringLiteral("1,2346");
        QTest::newRow(",5") << QStringLiteral(",5") << QStringLiteral("0,50");
        QTest::newRow("7,") << QStringLiteral("7,") << QStringLiteral("7,00");
        QTest::newRow("empty") << QString() << QStringLiteral("0,00");
        QTest::newRow("comma") << QStringLiteral(",") << QStringLiteral("0,00");
    }

    void leavingAPriceOrAmountBoxNormalisesIt()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Screen s;
        s.show();
        s.typeAndLeave(s.screen.txtPrezzo, typed);
        QCOMPARE(s.screen.txtPrezzo->text(), shown);
        s.typeAndLeave(s.screen.txtImporto, typed);
        QCOMPARE(s.screen.txtImporto->text(), shown);
    }

    void leavingTheQuantityBoxNormalisesIt_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << QStringLiteral("0") << QStringLiteral("1");
        QTest::newRow("2,50") << QStringLiteral("2,50") << QStringLiteral("2,5");
        QTest::newRow("empty") << QString() << QStringLiteral("1");
        QTest::newRow("comma") << QStringLiteral(",") << QStringLiteral("1");
        QTest::newRow(",5") << QStringLiteral(",5") << QStringLiteral("0,5");
        QTest::newRow("3,") << QStringLiteral("3,") << QStringLiteral("3");
        QTest::newRow("1,23456") << QStringLiteral("1,23456") << QStringLiteral("1,2346");
    }

    void leavingTheQuantityBoxNormalisesIt()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Screen s;
        s.show();
        s.typeAndLeave(s.screen.txtQuantita, typed);
        QCOMPARE(s.screen.txtQuantita->text(), shown);
    }

    void numberBoxesFilterKeysSilently()
    {
        Screen s;
        s.show();
        TextBox *price = s.screen.txtPrezzo;
        price->setFocus();
        price->clear();
        typeText(price, QStringLiteral("1a2,3,4.5-€"));
        QCOMPARE(price->text(), QStringLiteral("12,345"));

        // Over the limit: the next key is dropped and the box reset; Backspace still works.
        price->setText(QStringLiteral("30000001"));
        QTest::keyClick(price, Qt::Key_Backspace);
        QCOMPARE(price->text(), QStringLiteral("3000000"));
        price->setText(QStringLiteral("30000001"));
        typeText(price, QStringLiteral("5"));
        QCOMPARE(price->text(), QStringLiteral("0,00"));

        TextBox *quantity = s.screen.txtQuantita;
        quantity->setFocus();
        quantity->setText(QStringLiteral("99999999"));
        typeText(quantity, QStringLiteral("1"));
        QCOMPARE(quantity->text(), QStringLiteral("1"));
        // A text that is not a number (pasted) is reset at the next key as well.
        quantity->setText(QStringLiteral("x"));
        typeText(quantity, QStringLiteral("2"));
        QCOMPARE(quantity->text(), QStringLiteral("1"));
        QVERIFY(s.ts.messages.shown.empty());
    }

    void totalAddsTheAmounts_data()
    {
        QTest::addColumn<QStringList>("amounts");
        QTest::addColumn<QString>("total");
        QTest::newRow("0,10 + 0,20") << QStringList{QStringLiteral("0,10"), QStringLiteral("0,20")}
                                     << QStringLiteral("0,30");
        QTest::newRow("1,00 + 2,00") << QStringList{QStringLiteral("1,00"), QStringLiteral("2,00")}
                                     << QStringLiteral("3,00");
        QTest::newRow("stops at an unreadable amount")
            << QStringList{QStringLiteral("0,10"), QStringLiteral("dieci"), QStringLiteral("5,00")}
            << QStringLiteral("0,1");
    }

    void totalAddsTheAmounts()
    {
        QFETCH(QStringList, amounts);
        QFETCH(QString, total);
        std::vector<Row> rows;
        for (const QString &a : amounts)
            rows.push_back({"Voce", "1", "1,00", a.toStdString()});
        Screen s(rows);
        s.show();
        QCOMPARE(s.screen.repTotale->text(), total);
        const int shown = total == QStringLiteral("0,1") ? 2 : static_cast<int>(amounts.size());
        QCOMPARE(s.screen.lstStudenti->count(), shown);
    }

    void listLinesCutTheProductAtFortyCharacters()
    {
        const std::string product = std::string(40, 'A') + "BCDEF";
        Screen s({{product, "2", "3,50", "7,00"}});
        s.show();
        const QString line = s.lines().at(0);
        QVERIFY(line.startsWith(QStringLiteral("07/12/2026  Quant. 2")));
        QVERIFY(line.contains(QString(40, QLatin1Char('A'))));
        QVERIFY(!line.contains(QLatin1Char('B')));
        QVERIFY(line.contains(QStringLiteral("€ 3,50")));
        QVERIFY(line.endsWith(QStringLiteral("  Tot. € 7,00")));
        QCOMPARE(s.screen.lstStudenti->font().family(), fonts::fixed());
    }

    void arrowsWalkTheRecordsWithinLimits()
    {
        Screen s({{"Uno", "1", "1,00", "1,00", "Anna"}, {"Due"}, {"Tre"}});
        s.show();
        s.click(s.screen.imgIndietro); // a new card goes to record 1
        QCOMPARE(s.position(), QStringLiteral("1"));
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Uno"));
        QCOMPARE(s.screen.txtCameriere->text(), QStringLiteral("Anna"));
        QCOMPARE(s.screen.txtData->text(), QStringLiteral("07/12/2026"));
        s.screen.txtProdotto->setText(QStringLiteral("modificato"));
        s.click(s.screen.imgIndietro); // on record 1: nothing
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("modificato"));
        s.click(s.screen.imgAvanti);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Due"));
        s.click(s.screen.imgUltimo);
        QCOMPARE(s.position(), QStringLiteral("3"));
        s.screen.txtProdotto->setText(QStringLiteral("modificato"));
        s.click(s.screen.imgAvanti); // on the last record: nothing
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("modificato"));
        QCOMPARE(s.position(), QStringLiteral("3"));
        s.click(s.screen.imgIndietro);
        QCOMPARE(s.position(), QStringLiteral("2"));
        s.click(s.screen.imgPrimo);
        QCOMPARE(s.position(), QStringLiteral("1"));
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Uno"));
        s.click(s.screen.btnNuovo);
        s.click(s.screen.imgAvanti); // a new card goes to record 1 as well
        QCOMPARE(s.position(), QStringLiteral("1"));
        QVERIFY(s.ts.messages.shown.empty());
    }

    void arrowsOnAnEmptyBillSayThereIsNothing()
    {
        Screen s;
        s.show();
        for (IconButton *arrow : {s.screen.imgPrimo, s.screen.imgIndietro, s.screen.imgAvanti, s.screen.imgUltimo}) {
            s.ts.messages.clear();
            s.click(arrow);
            QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
            QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Information);
            QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Visualizzazione dati non applicabile"));
            QCOMPARE(s.ts.messages.lastText(), QStringLiteral("L'archivio non contiene nessuna scheda."));
        }
    }

    void nextOnABillEmptiedMeanwhileForgetsThePosition()
    {
        Screen s({{"Uno"}});
        s.show();
        s.click(s.screen.imgPrimo);
        QCOMPARE(s.position(), QStringLiteral("1"));
        std::filesystem::resize_file(s.ts.file("Conto.for"), 0);
        s.click(s.screen.imgIndietro); // on record 1: nothing, not even a message
        QVERIFY(s.ts.messages.shown.empty());
        s.click(s.screen.imgAvanti);
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("L'archivio non contiene nessuna scheda."));
        QCOMPARE(s.position(), QString());
    }

    void recordsChangedElsewhereAreNeitherOverwrittenNorDeleted()
    {
        const QString changed =
            QStringLiteral("Attenzione: la consumazione visualizzata è stata modificata o eliminata "
                           "da un'altra postazione.\r\n\r\nVisualizzare nuovamente la "
                           "consumazione prima di ripetere l'operazione.");
        Screen s({{"Uno"}, {"Due"}});
        s.show();
        s.click(s.screen.imgUltimo);
        // Another workstation rewrites record 2 while this card shows it.
        QVERIFY(s.bill().overwrite(2, encode({"Due bis", "1", "5,00", "5,00"})));
        const QByteArray theirs = s.bytes();
        s.click(s.screen.btnSalva);
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(), changed);
        QCOMPARE(s.bytes(), theirs);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("6,00"));
        s.click(s.screen.cmdElimina);
        QCOMPARE(s.ts.messages.lastText(), changed);
        QCOMPARE(s.bytes(), theirs);

        // Once shown again, the card can be saved; a record removed meanwhile is refused too.
        s.click(s.screen.imgUltimo);
        s.screen.txtUM->setText(QStringLiteral("pz"));
        s.click(s.screen.btnSalva);
        QCOMPARE(storedField(s.bytes(), 2, consumption::UM), std::string("pz"));
        std::filesystem::resize_file(s.ts.file("Conto.for"), 785);
        s.click(s.screen.btnSalva);
        QCOMPARE(s.ts.messages.lastText(), changed);
        QCOMPARE(s.records(), 1);
    }

    void deletingRecordTwoOfThreeMovesTheThirdUp()
    {
        Screen s({{"Uno"}, {"Due"}, {"Tre"}});
        const QByteArray before = s.bytes();
        s.show();
        s.click(s.screen.imgPrimo);
        s.click(s.screen.imgAvanti);
        s.screen.txtLuogo->setText(QStringLiteral("Terrazza"));
        s.ts.messages.answers = {false};
        s.click(s.screen.cmdElimina);
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Question);
        QCOMPARE(s.ts.messages.questionIcons.back(), MessageService::Icon::None);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Conferma cancellazione"));
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Si vuole proprio eliminare la consumazione selezionata?"));
        QCOMPARE(s.bytes(), before);
        QCOMPARE(s.position(), QStringLiteral("2"));

        s.click(s.screen.cmdElimina);
        QCOMPARE(s.records(), 2);
        QCOMPARE(s.bytes(), before.left(785) + before.mid(2 * 785));
        QCOMPARE(s.position(), QString());
        QCOMPARE(s.screen.txtProdotto->text(), QString());
        QCOMPARE(s.screen.txtLuogo->text(), QString());
        QCOMPARE(s.screen.lstStudenti->count(), 2);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("2,00"));
        QVERIFY(!s.ts.exists("Conto.tmp"));
        s.click(s.screen.imgUltimo);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Tre"));
    }

    void deletingOnANewCardIsRefusedWithoutAsking()
    {
        Screen s({{"Uno"}});
        s.show();
        s.click(s.screen.cmdElimina);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Attenzione: operazione non valida.\r\n\r\nLa cancellazione "
                                                          "può essere applicata soltanto ad una consumazione già "
                                                          "registrata in archivio."));
        QCOMPARE(s.records(), 1);
    }

    void newKeepsTheServiceDataAndEmptyAllClearsIt()
    {
        Screen s({{"Uno"}});
        s.show();
        s.click(s.screen.imgPrimo);
        const std::vector<std::pair<TextBox *, QString>> kept = {
            {s.screen.txtLuogo, QStringLiteral("Tavolo 4")},    {s.screen.txtCameriere, QStringLiteral("Anna")},
            {s.screen.txtCliente, QStringLiteral("Rossi")},     {s.screen.txtAlloggio, QStringLiteral("12")},
            {s.screen.txtTelCel, QStringLiteral("3331234567")},
        };
        for (const auto &[box, text] : kept)
            box->setText(text);
        s.screen.txtUM->setText(QStringLiteral("pz"));
        s.screen.txtPrezzo->setText(QStringLiteral("9,00"));
        s.screen.txtQuantita->setText(QStringLiteral("3"));
        s.screen.txtData->setText(QStringLiteral("01/01/2000"));

        s.click(s.screen.btnNuovo);
        for (const auto &[box, text] : kept)
            QCOMPARE(box->text(), text);
        QCOMPARE(s.screen.txtProdotto->text(), QString());
        QCOMPARE(s.screen.txtUM->text(), QString());
        QCOMPARE(s.screen.txtPrezzo->text(), QStringLiteral("0,00"));
        QCOMPARE(s.screen.txtImporto->text(), QStringLiteral("0,00"));
        QCOMPARE(s.screen.txtQuantita->text(), QStringLiteral("1"));
        QCOMPARE(s.screen.txtData->text(), QStringLiteral("08/12/2026"));
        QCOMPARE(s.position(), QString());
        QCOMPARE(QApplication::focusWidget(), s.screen.txtProdotto);

        s.click(s.screen.btnVuota);
        for (const auto &[box, text] : kept)
            QCOMPARE(box->text(), QString());
        QCOMPARE(s.screen.txtQuantita->text(), QStringLiteral("1"));
        QCOMPARE(s.records(), 1);
    }

    void clickingALineShowsItsRecord()
    {
        Screen s({{"Uno", "1", "1,00", "1,00", "Anna"}, {"Due", "2", "1,00", "2,00", "Marco"}});
        s.show();
        s.clickLine(1);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Due"));
        QCOMPARE(s.screen.txtCameriere->text(), QStringLiteral("Marco"));
        s.clickLine(0);
        QCOMPARE(s.position(), QStringLiteral("1"));
        QCOMPARE(s.screen.txtQuantita->text(), QStringLiteral("1"));
        // Moving through the list with the keyboard shows each record as well.
        QTest::keyClick(s.screen.lstStudenti, Qt::Key_Down);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.screen.txtProdotto->text(), QStringLiteral("Due"));
    }

    // Every byte value, the unassigned ones and control characters included, reads back into the
    // boxes and goes back to the bill unchanged when the user edits another field.
    void everyByteValueSurvivesASaveOfAnotherField()
    {
        std::string low = "[";
        for (int b = 0x00; b <= 0xF7; ++b)
            low += static_cast<char>(b);
        low += ']';
        std::string high = "[";
        for (int b = 0xF8; b <= 0xFF; ++b)
            high += static_cast<char>(b);
        high += ']';
        const std::string unassigned = std::string("a\x81"
                                                   "b\x8D"
                                                   "c\x8F"
                                                   "d\x90"
                                                   "e\x9D"
                                                   "f\x00g",
                                                   13);
        std::vector<std::string> values(consumption::FieldCount);
        values[consumption::Prodotto] = low;
        values[consumption::Data] = "07/12/2026";
        values[consumption::Ora] = "21:15";
        values[consumption::Luogo] = high;
        values[consumption::Quantita] = "1";
        values[consumption::Prezzo] = "1,50";
        values[consumption::Importo] = "1,50";
        values[consumption::UM] = std::string("u\x7F\x01m", 4);
        values[consumption::Cliente] = unassigned;
        values[consumption::Alloggio] = "\x80\xA0\xFF";
        Screen s({{"Pane"}});
        QVERIFY(s.bill().append(consumptionLayout().encode(values)));
        const QByteArray before = s.bytes();
        s.show();
        QCOMPARE(s.lines().size(), 2);
        const int row = s.lines().indexOf(fromAnsi(consumptionLine(values)));
        QVERIFY(row >= 0);
        s.clickLine(row);
        QCOMPARE(s.position(), QStringLiteral("2"));
        for (std::size_t f = 0; f < consumption::FieldCount; ++f)
            QCOMPARE(toAnsi(s.screen.boxes()[f]->text()), values[f]);

        s.screen.txtQuantita->setText(QStringLiteral("2"));
        s.click(s.screen.btnSalva);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Aggiornamento scheda effettuato con successo"));
        const QByteArray after = s.bytes();
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.left(785), before.left(785));
        const RecordLayout &layout = consumptionLayout();
        for (std::size_t f = 0; f < consumption::FieldCount; ++f) {
            if (f == consumption::Quantita || f == consumption::Importo)
                continue;
            // The length byte and the value, byte for byte.
            const qsizetype at = 785 + static_cast<qsizetype>(layout.offset(f));
            const qsizetype length = 1 + static_cast<qsizetype>(static_cast<unsigned char>(before.at(at)));
            QCOMPARE(after.mid(at, length), before.mid(at, length));
        }
        QCOMPARE(storedField(after, 2, consumption::Quantita), std::string("2"));
        QCOMPARE(storedField(after, 2, consumption::Importo), std::string("3,00"));
    }

    void identicalLinesShowTheLaterRecord()
    {
        Screen s({{"Acqua", "1", "1,00", "1,00", "Anna"}, {"Acqua", "1", "1,00", "1,00", "Marco"}, {"Vino"}});
        s.show();
        QCOMPARE(s.lines().at(0), s.lines().at(1));
        s.clickLine(0);
        QCOMPARE(s.position(), QStringLiteral("2"));
        QCOMPARE(s.screen.txtCameriere->text(), QStringLiteral("Marco"));
    }

    void enterWalksTheBoxesAndWrapsAround()
    {
        Screen s;
        s.show();
        const std::vector<TextBox *> &boxes = s.screen.boxes();
        boxes.front()->setFocus();
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), boxes[i]);
            QTest::keyClick(boxes[i], Qt::Key_Return);
        }
        QCOMPARE(QApplication::focusWidget(), s.screen.txtProdotto);
    }

    void hoverDescribesCommandsAndTheList()
    {
        Screen s;
        s.show();
        QTest::mouseMove(s.screen.btnSalva);
        QCOMPARE(s.screen.panInfo->text(), QStringLiteral(" Salva in archivio i dati relativi alla consumazione "
                                                          "corrente oppure aggiorna la consumazione esistente."));
        QTest::mouseMove(s.screen.panDati01, QPoint(600, 190));
        QCOMPARE(s.screen.panInfo->text(), QString());
        QTest::mouseMove(s.screen.imgUltimo);
        QCOMPARE(s.screen.panInfo->text(), QStringLiteral(" Visualizza l'ultima scheda in archivio"));
        QTest::mouseMove(s.screen.lstStudenti->viewport());
        QCOMPARE(s.screen.panInfo->text(), QStringLiteral(" Seleziona una consumazione in elenco con un clic per "
                                                          "visualizzare la relativa scheda."));
        QTest::mouseMove(s.screen.cmdCalcola);
        QCOMPARE(s.screen.panInfo->text(),
                 QStringLiteral(" Calcola l'importo totale moltiplicando la quantità per il prezzo unitario."));
        QTest::mouseMove(s.screen.impProdotto);
        QCOMPARE(s.screen.panInfo->text(),
                 QStringLiteral(" Importa i dati del prodotto o servizio dal relativo archivio."));
    }

    void clientImportOpensTheSearchForThisScreen()
    {
        Screen s;
        std::vector<std::string> client(client::FieldCount);
        client[client::Cliente] = "Bianchi Luca";
        client[client::Camera] = "12";
        client[client::TelCel] = "333 7654321";
        QVERIFY(RecordFile(s.ts.file(kClientArchive), clientLayout().size()).append(clientLayout().encode(client)));
        s.show();
        QString marker;
        QString dialogClass;
        QTimer::singleShot(0, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            dialogClass = modal->objectName();
            if (auto *search = qobject_cast<TfrmCercaDestinatari *>(modal)) {
                marker = search->lblMemory->text();
                // The user finds the client and chooses it with a double click.
                QTest::mouseClick(search->cmdTrova, Qt::LeftButton);
                const QPoint at = search->lstRecords->visualItemRect(search->lstRecords->item(0)).center();
                QTest::mouseClick(search->lstRecords->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(search->lstRecords->viewport(), Qt::LeftButton, {}, at);
            }
            modal->close();
        });
        s.click(s.screen.impCliente);
        QCOMPARE(dialogClass, QStringLiteral("TfrmCercaDestinatari"));
        QCOMPARE(marker, QStringLiteral("forniture"));
        QCOMPARE(s.screen.txtCliente->text(), QStringLiteral("Bianchi Luca"));
        QCOMPARE(s.screen.txtAlloggio->text(), QStringLiteral("12"));
        QCOMPARE(s.screen.txtTelCel->text(), QStringLiteral("333 7654321"));
        QCOMPARE(s.screen.txtProdotto->text(), QString());
        QCOMPARE(s.bytes().size(), 0);
        QVERIFY(s.screen.findChildren<TfrmCercaDestinatari *>().isEmpty());
    }

    void productImportOpensTheImportDialog()
    {
        Screen s;
        s.show();
        QString dialogClass;
        QTimer::singleShot(0, this, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                dialogClass = modal->objectName();
                modal->close();
            }
        });
        s.click(s.screen.impProdotto);
        QCOMPARE(dialogClass, QStringLiteral("TfrmImpMateriali"));
        QVERIFY(s.screen.findChildren<TfrmImpMateriali *>().isEmpty());
    }

    void helpAndExit()
    {
        Screen s;
        s.show();
        s.click(s.screen.cmdGuida);
        QCOMPARE(s.ts.navigator.helpTopics, QStringList{QStringLiteral("Gestione dei conti delle consumazioni")});
        s.click(s.screen.cmdEsci);
        QVERIFY(!s.screen.isVisible());
        QCOMPARE(s.ts.navigator.startShown, 1);
    }

    void reopeningReloadsTheBillWithAFreshCard()
    {
        Screen s({{"Uno"}});
        s.show();
        s.click(s.screen.imgPrimo);
        s.screen.close();
        QVERIFY(s.bill().append(encode({"Due", "1", "2,00", "2,00"})));
        s.show();
        QCOMPARE(s.screen.lstStudenti->count(), 2);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("3,00"));
        QCOMPARE(s.position(), QString());
        QCOMPARE(s.screen.txtProdotto->text(), QString());
    }

    void missingBillFileIsRecreatedEmpty()
    {
        Screen s;
        std::filesystem::remove(s.ts.file("Conto.for"));
        s.show();
        QVERIFY(s.ts.exists("Conto.for"));
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("0,00"));
    }

    // A bill that another user keeps to himself is there but cannot be read: opening it, the
    // arrows and a click on a line say so instead of showing an empty bill.
    void aBillThatCannotBeReadIsReported()
    {
        Screen s({{"Uno", "1", "2,00", "2,00"}, {"Due", "1", "3,00", "3,00"}});
        const std::filesystem::path folder = s.ts.file("Conto.for").parent_path();
        {
            test::SecondUser other(folder, s.ts.file("Conto.for"));
            QVERIFY(other.active());
            s.show();
            QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
            QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
            QCOMPARE(s.ts.messages.lastText(), fileErrorMessage());
            QCOMPARE(s.screen.lstStudenti->count(), 0);
            for (IconButton *arrow : {s.screen.imgPrimo, s.screen.imgUltimo}) {
                s.ts.messages.clear();
                s.click(arrow);
                QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
                QCOMPARE(s.ts.messages.lastText(), fileErrorMessage());
                QCOMPARE(s.position(), QString());
            }
        }
        s.ts.messages.clear();
        s.screen.close();
        s.show();
        QVERIFY(s.ts.messages.shown.empty());
        QCOMPARE(s.lines().size(), 2);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("5,00"));

        // Closed to this user while listed: the click says so and the card stays new.
        test::SecondUser other(folder, s.ts.file("Conto.for"));
        QVERIFY(other.active());
        s.clickLine(1);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.lastText(), fileErrorMessage());
        QCOMPARE(s.position(), QString());
        QCOMPARE(s.screen.txtProdotto->text(), QString());
        other.leave();
        QCOMPARE(s.records(), 2);
    }

    void aLargeBillListsEveryLineWithItsTotal()
    {
        Screen s;
        std::string data;
        data.reserve(10000 * 785);
        for (int i = 1; i <= 10000; ++i)
            data += encode({"Voce " + std::to_string(i), "1", "0,10", "0,10"});
        std::ofstream(s.ts.file("Conto.for"), std::ios::binary).write(data.data(), static_cast<long>(data.size()));
        s.show();
        QCOMPARE(s.screen.lstStudenti->count(), 10000);
        QCOMPARE(s.screen.lstStudenti->item(9999)->text().mid(50, 10), QStringLiteral("Voce 10000"));
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("1000,00"));
    }
};

QTEST_MAIN(TestTfrmForniture)
#include "test_tfrmforniture.moc"
