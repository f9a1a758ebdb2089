#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "bills/billmove.h"
#include "bills/consumption.h"
#include "bills/tfrmforniture.h"
#include "bills/tfrmtrasferisci.h"
#include "common/recordfile.h"
#include "support/fakes.h"
#include "support/modal.h"

using namespace velmora;
using velmora::test::Message;
using velmora::test::TestServices;
using velmora::test::linesOf;
using velmora::test::whenModal;

namespace {

std::string consumptionOf(const std::string &product, const std::string &amount = "1,00")
{
    std::vector<std::string> v(consumption::FieldCount);
    v[consumption::Prodotto] = product;
    v[consumption::Data] = "07/12/2026";
    v[consumption::Quantita] = "1";
    v[consumption::Prezzo] = amount;
    v[consumption::Importo] = amount;
    return consumptionLayout().encode(v);
}

// What the user does in the transfer dialog.
struct Answer
{
    QString bill;        // the line to select; empty selects nothing
    bool all = false;    // optTutte instead of optScheda
    bool cancel = false; // Annulla instead of OK
};

} // namespace

class TestTfrmTrasferisci : public QObject
{
    Q_OBJECT

private:
    struct Screen
    {
        Screen()
        {
            for (const char *name : {"Bar.for", "camera 12.for", "Piscina.for", "Altro.for"})
                std::ofstream(ts.file(name)).flush();
            for (const char *p : {"Caffè", "Acqua", "Pizza"})
                QVERIFY(bill("Bar.for").append(consumptionOf(p, std::string(p) == "Pizza" ? "8,00" : "1,50")));
            QVERIFY(bill("camera 12.for").append(consumptionOf("Minibar", "4,00")));
        }
        TestServices ts;
        TfrmForniture screen{ts.services};

        RecordFile bill(const char *name) const { return RecordFile(ts.file(name), consumptionLayout().size()); }
        QStringList products(const char *name) const
        {
            std::vector<std::string> records;
            if (!bill(name).readAll(records))
                return {QStringLiteral("illeggibile")};
            QStringList out;
            for (const std::string &r : records)
                out << QString::fromStdString(consumptionLayout().decode(r)[consumption::Prodotto]);
            return out;
        }
        void show()
        {
            screen.openBill(ts.file("Bar.for"), QStringLiteral("Bar"));
            QVERIFY(QTest::qWaitForWindowExposed(&screen));
        }
        void clickLine(int row)
        {
            QListWidget *list = screen.lstStudenti;
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        }
        // Opens the transfer dialog and answers it; returns what the dialog showed.
        QStringList transfer(const Answer &answer)
        {
            QStringList listed;
            whenModal([&](QDialog *dialog) {
                auto *d = qobject_cast<TfrmTrasferisci *>(dialog);
                if (!d)
                    return;
                listed = linesOf(d->lstConti);
                if (!answer.bill.isEmpty()) {
                    const auto items = d->lstConti->findItems(answer.bill, Qt::MatchExactly);
                    if (items.size() == 1)
                        d->lstConti->setCurrentItem(items.first());
                }
                QTest::mouseClick(answer.all ? d->optTutte : d->optScheda, Qt::LeftButton);
                QTest::mouseClick(answer.cancel ? d->cmdAnnulla : d->cmdOK, Qt::LeftButton);
            });
            QTest::mouseClick(screen.btnTrasferisci, Qt::LeftButton);
            return listed;
        }
    };

private slots:
    void theDialogListsTheOtherBillsInCatalogueOrder()
    {
        TestServices ts;
        for (const char *name : {"Bar.for", "zeta.for", "Alfa.FOR", "camera 12.for"})
            std::ofstream(ts.file(name)).flush();
        TfrmTrasferisci dlg(ts.services, ts.file("Bar.for"), false);
        QCOMPARE(dlg.objectName(), QStringLiteral("TfrmTrasferisci"));
        QCOMPARE(dlg.windowTitle(), QStringLiteral(" Trasferimento consumazioni"));
        QCOMPARE(linesOf(dlg.lstConti), (QStringList{QStringLiteral("Alfa.FOR"), QStringLiteral("camera 12.for"),
                                                     QStringLiteral("zeta.for")}));
        // A new card has no stored consumption to move: only the whole bill can go.
        QVERIFY(!dlg.optScheda->isEnabled());
        QVERIFY(dlg.optTutte->isChecked());
        TfrmTrasferisci stored(ts.services, ts.file("Bar.for"), true);
        QVERIFY(stored.optScheda->isEnabled());
        QVERIFY(stored.optScheda->isChecked());
    }

    void quickFindWalksTheMatchingBillsAndOkNeedsOne()
    {
        TestServices ts;
        for (const char *name : {"Bar.for", "Camera 1.for", "Piscina.for", "camera 2.for"})
            std::ofstream(ts.file(name)).flush();
        TfrmTrasferisci dlg(ts.services, ts.file("Piscina.for"), true);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.txtTrova->setFocus();
        QTest::keyClicks(dlg.txtTrova, QStringLiteral("CAMERA"));
        QTest::keyClick(dlg.txtTrova, Qt::Key_Return);
        QCOMPARE(dlg.lstConti->currentItem()->text(), QStringLiteral("Camera 1.for"));
        QTest::mouseClick(dlg.cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg.lstConti->currentItem()->text(), QStringLiteral("camera 2.for"));
        QTest::mouseClick(dlg.cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg.lstConti->currentItem()->text(), QStringLiteral("Camera 1.for"));

        dlg.lstConti->clearSelection();
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
        QCOMPARE(ts.messages.lastTitle(), QStringLiteral("Nessun conto selezionato"));
        QCOMPARE(ts.messages.shown.back().kind, Message::Kind::Warning);
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.chosen());

        dlg.lstConti->setCurrentRow(2);
        QTest::mouseClick(dlg.optTutte, Qt::LeftButton);
        QTest::mouseClick(dlg.cmdOK, Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(dlg.chosen());
        QCOMPARE(dlg.chosen()->destination, ts.file("camera 2.for"));
        QCOMPARE(dlg.chosen()->name, QStringLiteral("camera 2"));
        QVERIFY(dlg.chosen()->all);
    }

    void theCardsConsumptionGoesToTheEndOfTheChosenBill()
    {
        Screen s;
        s.show();
        QTest::mouseMove(s.screen.btnTrasferisci);
        QCOMPARE(s.screen.panInfo->text(),
                 QStringLiteral(" Trasferisce la consumazione visualizzata in un altro conto."));
        s.clickLine(1);
        QCOMPARE(s.screen.lblPosizione->text(), QStringLiteral("2"));
        const QStringList listed = s.transfer({QStringLiteral("camera 12.for")});
        QCOMPARE(listed, (QStringList{QStringLiteral("Altro.for"), QStringLiteral("camera 12.for"),
                                      QStringLiteral("Piscina.for")}));
        QCOMPARE(s.products("Bar.for"), (QStringList{QStringLiteral("Caffè"), QStringLiteral("Pizza")}));
        QCOMPARE(s.products("camera 12.for"), (QStringList{QStringLiteral("Minibar"), QStringLiteral("Acqua")}));
        QVERIFY(!s.ts.exists(kMoveJournal));
        // A reset card, the list and total of what is left, and the result said.
        QCOMPARE(s.screen.lblPosizione->text(), QString());
        QCOMPARE(s.screen.txtProdotto->text(), QString());
        QCOMPARE(s.screen.lstStudenti->count(), 2);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("9,50"));
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Information);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Trasferimento effettuato con successo"));
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("1 consumazione è stata trasferita nel conto \"camera 12\"."));
    }

    void cancellingMovesNothing()
    {
        Screen s;
        s.show();
        s.clickLine(0);
        s.transfer({QStringLiteral("Piscina.for"), false, true});
        QCOMPARE(s.products("Bar.for").size(), 3);
        QVERIFY(s.products("Piscina.for").isEmpty());
        QVERIFY(s.ts.messages.shown.empty());
        QCOMPARE(s.screen.lblPosizione->text(), QStringLiteral("1"));
    }

    void movingEveryConsumptionOffersToDeleteTheEmptyBill()
    {
        Screen s;
        s.show();
        s.ts.messages.answers = {false};
        s.transfer({QStringLiteral("Piscina.for"), true});
        QCOMPARE(s.products("Piscina.for"),
                 (QStringList{QStringLiteral("Caffè"), QStringLiteral("Acqua"), QStringLiteral("Pizza")}));
        QCOMPARE(s.ts.bytes("Bar.for").size(), 0);
        QCOMPARE(s.screen.lstStudenti->count(), 0);
        QCOMPARE(s.screen.repTotale->text(), QStringLiteral("0,00"));
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(2));
        QCOMPARE(s.ts.messages.shown[0].text, QStringLiteral("3 consumazioni sono state trasferite nel conto "
                                                             "\"Piscina\"."));
        QCOMPARE(s.ts.messages.shown[1].kind, Message::Kind::Question);
        QCOMPARE(s.ts.messages.shown[1].title, QStringLiteral("Conferma cancellazione conto"));
        // Answered No: the empty bill stays open on the screen.
        QVERIFY(s.ts.exists("Bar.for"));
        QVERIFY(s.screen.isVisible());

        // Moved back, then all again, answered Yes: the bill is deleted and the screen closes.
        s.ts.messages.clear();
        QVERIFY(s.bill("Bar.for").append(consumptionOf("Tè")));
        s.screen.close();
        s.show();
        s.transfer({QStringLiteral("Piscina.for"), true});
        QVERIFY(!s.ts.exists("Bar.for"));
        QVERIFY(!s.screen.isVisible());
        QCOMPARE(s.products("Piscina.for").size(), 4);
    }

    // The last consumption moved from its card leaves the bill as empty as moving them all.
    void movingTheLastCardAloneOffersToDeleteTheEmptyBillToo()
    {
        Screen s;
        s.show();
        for (int left = 3; left > 1; --left) {
            s.clickLine(0);
            s.transfer({QStringLiteral("Piscina.for")});
            QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
            QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Information);
            s.ts.messages.clear();
        }
        s.ts.messages.answers = {false};
        s.clickLine(0);
        s.transfer({QStringLiteral("Piscina.for")});
        QCOMPARE(s.ts.bytes("Bar.for").size(), 0);
        QCOMPARE(s.products("Piscina.for").size(), 3);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(2));
        QCOMPARE(s.ts.messages.shown[1].kind, Message::Kind::Question);
        QCOMPARE(s.ts.messages.shown[1].title, QStringLiteral("Conferma cancellazione conto"));
        QVERIFY(s.ts.exists("Bar.for"));
    }

    void aBillEmptyAgainIsNotDeletedIfItGotAConsumptionMeanwhile()
    {
        Screen s;
        s.show();
        // Another workstation saves into the bill while the question is on screen.
        s.ts.messages.onQuestion = [&] { QVERIFY(s.bill("Bar.for").append(consumptionOf("Dopo"))); };
        s.transfer({QStringLiteral("Altro.for"), true});
        QVERIFY(s.ts.exists("Bar.for"));
        QCOMPARE(s.products("Bar.for"), QStringList{QStringLiteral("Dopo")});
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Cancellazione conto non applicabile"));
        QVERIFY(s.screen.isVisible());
        QCOMPARE(s.screen.lstStudenti->count(), 1);
    }

    void aCardChangedElsewhereIsNotMoved()
    {
        Screen s;
        s.show();
        s.clickLine(0);
        // Another workstation rewrote the record on the card meanwhile.
        QVERIFY(s.bill("Bar.for").overwrite(1, consumptionOf("Cappuccino")));
        s.transfer({QStringLiteral("Altro.for")});
        QCOMPARE(s.products("Bar.for"),
                 (QStringList{QStringLiteral("Cappuccino"), QStringLiteral("Acqua"), QStringLiteral("Pizza")}));
        QVERIFY(s.products("Altro.for").isEmpty());
        QVERIFY(s.ts.messages.lastText().startsWith(
            QStringLiteral("Attenzione: la consumazione visualizzata è stata modificata o eliminata")));
    }

    void aBillDeletedMeanwhileIsSaidGone()
    {
        Screen s;
        s.show();
        s.clickLine(0);
        whenModal([&](QDialog *dialog) {
            auto *d = qobject_cast<TfrmTrasferisci *>(dialog);
            d->lstConti->setCurrentItem(d->lstConti->findItems(QStringLiteral("Altro.for"), Qt::MatchExactly).first());
            std::filesystem::remove(s.ts.file("Altro.for"));
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(s.screen.btnTrasferisci, Qt::LeftButton);
        QVERIFY(!s.ts.exists("Altro.for"));
        QCOMPARE(s.products("Bar.for").size(), 3);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Trasferimento non applicabile"));
        QVERIFY(s.ts.messages.lastText().startsWith(QStringLiteral("Il conto \"Altro\" non esiste più")));
    }

    void aMoveLeftHalfWayIsFinishedBeforeTheBillIsWritten()
    {
        Screen s;
        s.show();
        // Another copy of the program stops right after writing its journal (as a crash would).
        int steps = 0;
        setMoveStepHook([&steps] {
            if (++steps == 2)
                throw std::runtime_error("interrotto");
        });
        bool stopped = false;
        try {
            (void)moveConsumptions(s.ts.services.folder, s.ts.file("Bar.for"), s.ts.file("Piscina.for"),
                                   CardRecord{3, consumptionOf("Pizza", "8,00")}, consumptionLayout().size());
        } catch (const std::runtime_error &) {
            stopped = true;
        }
        setMoveStepHook({});
        QVERIFY(stopped);
        QVERIFY(s.ts.exists(kMoveJournal));
        // Saving into the source bill now must not leave the pizza in both bills.
        s.screen.txtProdotto->setText(QStringLiteral("Birra"));
        QTest::mouseClick(s.screen.btnSalva, Qt::LeftButton);
        QVERIFY(!s.ts.exists(kMoveJournal));
        QCOMPARE(s.products("Bar.for"),
                 (QStringList{QStringLiteral("Caffè"), QStringLiteral("Acqua"), QStringLiteral("Birra")}));
        QCOMPARE(s.products("Piscina.for"), QStringList{QStringLiteral("Pizza")});
    }
};

QTEST_MAIN(TestTfrmTrasferisci)
#include "test_tfrmtrasferisci.moc"
