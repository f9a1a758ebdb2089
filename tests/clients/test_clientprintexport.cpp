#include <functional>
#include <memory>

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "clienttestdata.h"
#include "clients/tfrmcercadestinatari.h"
#include "clients/tfrmdestinatari.h"
#include "clients/tfrmesportades.h"
#include "common/widgets.h"
#include "support/fakeprinting.h"

using namespace velmora;
using namespace velmora::test;

namespace {

QStringList printed(const velmora::test::FakePrinter &printer)
{
    QStringList texts;
    for (const std::string &text : printer.lastTexts())
        texts << fromAnsi(text);
    return texts;
}

QStringList listTexts(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// Runs act on the next modal dialog once it is up, then closes it; the flag says whether one came.
void onNextModal(QObject *context, bool &seen, std::function<void(QDialog *)> act)
{
    QTimer::singleShot(0, context, [&seen, act] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        act(dialog);
        dialog->reject();
    });
}

// The card's 27 boxes with the label each one carries in the Word card, in row order.
const std::pair<const char *, const char *> kWordRows[] = {
    {"txtCliente", "Cognome e nome cliente:"},
    {"txtDataNasc", "Data di nascita:"},
    {"txtLuogoNasc", "Luogo di nascita:"},
    {"txtCamera", "Camera / Alloggio:"},
    {"txtPermanenza", "Periodo di permanenza:"},
    {"txtIndirizzo", "Indirizzo di residenza:"},
    {"txtCitta", "CAP, città e sigla provincia:"},
    {"txtTipoDoc", "Tipo documento:"},
    {"txtNumDoc", "Numero documento:"},
    {"txtEnteDoc", "Ente di rilascio:"},
    {"txtRilDoc", "Data di rilascio:"},
    {"txtScaDoc", "Data di scadenza:"},
    {"txtCodFisc", "Codice fiscale"},
    {"txtIva", "Partita IVA:"},
    {"txtCarta", "Numero carta di credito:"},
    {"txtTipoCarta", "Tipo carta di credito:"},
    {"txtScaCarta", "Scadenza carta di credito:"},
    {"txtIban", "Codice IBAN:"},
    {"txtBanca", "Banca:"},
    {"txtIntestatario", "Intestatario C/C:"},
    {"txtPagamento", "Modalità di pagamento:"},
    {"txtTelCasa", "Tel. casa:"},
    {"txtTelUff", "Tel. ufficio:"},
    {"txtTelCel", "Tel cellulare:"},
    {"txtFax", "Fax:"},
    {"txtEmail", "E-mail:"},
    {"txtNote", "Note:"},
};

} // namespace

// The client search's list printing, and the client card's Word card and archive export.
class ClientPrintExportTest : public QObject
{
    Q_OBJECT

private:
    struct Search
    {
        Search() : fakes(ts)
        {
            dialog = new TfrmCercaDestinatari(ts.services, &caller);
            dialog->setCaller(Caller::Anagrafica);
            dialog->show();
        }
        void press(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

        TestServices ts;
        PrintingFakes fakes;
        QWidget caller;
        TfrmCercaDestinatari *dialog = nullptr;
    };

    struct Card
    {
        Card() : fakes(ts)
        {
            ts.navigator.onArchiveExport = [this](QWidget *, ArchiveExport) { exportDialog.exec(); };
            card.showWorking();
            card.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&card));
        }
        QWidget *box(const char *name) const { return card.findChild<QWidget *>(QLatin1String(name)); }
        void set(const char *name, const QString &text) const
        {
            if (auto *line = qobject_cast<QLineEdit *>(box(name)))
                line->setText(text);
            else
                qobject_cast<MemoBox *>(box(name))->setText(text);
        }
        void click(IconButton *icon) { QTest::mouseClick(icon, Qt::LeftButton); }

        TestServices ts;
        PrintingFakes fakes;
        TfrmDestinatari card{ts.services};
        TfrmEsportaDes exportDialog{ts.services};
    };

private slots:
    void searchPrintsTheFoundLinesInListOrder()
    {
        Search s;
        writeClients(s.ts, {clientCard("Verdi Luca", "12", "333 1234567"), clientCard("Bianchi Anna", "3"),
                            clientCard("Rossi Mario", "7")});
        QVERIFY(!s.dialog->cmdStampa->isEnabled());
        s.press(s.dialog->cmdTrova);
        QVERIFY(s.dialog->cmdStampa->isEnabled());
        const QStringList shown = listTexts(s.dialog->lstRecords);
        QCOMPARE(shown.size(), 3);
        QVERIFY(shown[0].startsWith(QStringLiteral("Bianchi Anna")));

        s.press(s.dialog->cmdStampa);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Question);
        QCOMPARE(s.ts.messages.lastTitle(), QStringLiteral("Conferma operazione di stampa"));
        QCOMPARE(s.ts.messages.lastText(), QStringLiteral("Si vuole stampare il presente elenco?"));
        QCOMPARE(s.fakes.printer.jobs.size(), std::size_t(1));
        QCOMPARE(s.fakes.printer.jobs[0].orientation, PageOrientation::Landscape);
        const QString rule(17, QLatin1Char('-'));
        QCOMPARE(printed(s.fakes.printer),
                 QStringList({rule, QStringLiteral("Anagrafica clienti"), rule}) + shown +
                     QStringList({QString(20, QLatin1Char('_')),
                                  QStringLiteral("Stampa eseguita in data 08/12/2026 alle ore 10:30:15")}));
        QVERIFY(s.dialog->isVisible());
    }

    void searchPrintOfNothingFoundOrAnsweredNo()
    {
        Search s;
        writeClients(s.ts, {clientCard("Rossi Mario")});
        s.dialog->txtCliente->setText(QStringLiteral("nessuno"));
        s.press(s.dialog->cmdTrova);
        QCOMPARE(s.dialog->lstRecords->count(), 0);
        s.press(s.dialog->cmdStampa);
        QCOMPARE(s.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(s.ts.messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(s.ts.messages.lastText(),
                 QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce."));

        s.press(s.dialog->cmdIndietro);
        QVERIFY(!s.dialog->cmdStampa->isEnabled());
        s.dialog->txtCliente->clear();
        s.press(s.dialog->cmdTrova);
        s.ts.messages.answers.push_back(false);
        s.press(s.dialog->cmdStampa);
        QCOMPARE(s.ts.messages.shown.back().kind, Message::Kind::Question);
        QVERIFY(s.fakes.printer.jobs.empty());
    }

    void wordCardHoldsEveryBoxAsShownUnderItsLabel()
    {
        Card c;
        // Short upper-case values: some boxes hold 11 characters, and two turn letters to capitals.
        for (std::size_t r = 0; r < std::size(kWordRows); ++r)
            c.set(kWordRows[r].first, QStringLiteral("  V") + QString::number(r + 1) + QStringLiteral(" "));
        c.set("txtCliente", QStringLiteral(" Rossi Mario "));
        c.set("txtNote", QStringLiteral("Prima riga\nseconda riga"));
        c.click(c.card.cmdWord);

        QVERIFY(c.ts.messages.shown.empty());
        QCOMPARE(c.fakes.office.calls.size(), std::size_t(1));
        const FakeOffice::Call &call = c.fakes.office.calls[0];
        QCOMPARE(call.kind, FakeOffice::Call::Kind::WordCard);
        QCOMPARE(call.card.headings, QStringList{QStringLiteral("SCHEDA ANAGRAFICA CLIENTE")});
        QCOMPARE(call.card.rows.size(), std::size(kWordRows));
        for (std::size_t r = 0; r < std::size(kWordRows); ++r) {
            QCOMPARE(call.card.rows[r].first, QString::fromUtf8(kWordRows[r].second));
            const QString expected = r == 0    ? QStringLiteral("Rossi Mario")
                                     : r == 26 ? QStringLiteral("Prima riga\nseconda riga")
                                               : QStringLiteral("V") + QString::number(r + 1);
            QCOMPARE(call.card.rows[r].second, expected);
        }
        // The card is exported as shown: nothing is stored for it.
        QVERIFY(!c.ts.exists(kClientArchive));
    }

    void wordCardNeedsAName()
    {
        Card c;
        c.set("txtCliente", QStringLiteral("   "));
        c.set("txtCitta", QStringLiteral("Roma"));
        c.box("txtCitta")->setFocus();
        c.click(c.card.cmdWord);
        QVERIFY(c.fakes.office.calls.empty());
        QCOMPARE(c.ts.messages.shown.size(), std::size_t(1));
        QCOMPARE(c.ts.messages.shown[0].kind, Message::Kind::Warning);
        QCOMPARE(c.ts.messages.lastTitle(), QStringLiteral("Esportazione scheda non applicabile"));
        QCOMPARE(c.ts.messages.lastText(),
                 QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word è necessario compilare il "
                                "campo relativo al nome del cliente."));
        QCOMPARE(QApplication::focusWidget(), c.box("txtCliente"));
    }

    void excelIconShowsTheArchiveExport()
    {
        Card c;
        writeClients(c.ts, {fullClientCard("Rossi Mario"), clientCard("Bianchi Anna", "3"), clientCard("Verdi Luca")});
        bool seen = false;
        int rows = 0;
        onNextModal(&c.card, seen, [&](QDialog *dialog) {
            QCOMPARE(dialog, static_cast<QDialog *>(&c.exportDialog));
            rows = c.exportDialog.gridModel()->gridRows();
            QTest::mouseClick(c.exportDialog.lblExcel, Qt::LeftButton);
        });
        c.click(c.card.cmdExcel);
        QVERIFY(seen);
        QCOMPARE(rows, 4);
        QCOMPARE(c.fakes.office.calls.size(), std::size_t(1));
        const FakeOffice::Call &call = c.fakes.office.calls[0];
        QCOMPARE(call.kind, FakeOffice::Call::Kind::ExcelGrid);
        QCOMPARE(call.name, QStringLiteral("Anagrafica clienti"));
        QCOMPARE(call.grid.size(), std::size_t(4));
        QCOMPARE(call.grid[0].size(), qsizetype(26));
        QCOMPARE(call.grid[1][1], QStringLiteral("Rossi Mario"));
        QCOMPARE(call.grid[1][12], QStringLiteral("01234567890"));
        QCOMPARE(call.grid[3][1], QStringLiteral("Verdi Luca"));
        // Only a double click in a search loads a card: the export leaves it empty.
        QVERIFY(c.card.lblPosizione->text().isEmpty());
    }
};

QTEST_MAIN(ClientPrintExportTest)
#include "test_clientprintexport.moc"
