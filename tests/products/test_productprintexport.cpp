#include <functional>
#include <memory>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "bills/tfrmimpmateriali.h"
#include "common/widgets.h"
#include "productfixtures.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmcercasottoscorta.h"
#include "products/tfrmesportamat.h"
#include "products/tfrmmateriali.h"
#include "support/fakeprinting.h"
#include "support/modal.h"

using namespace velmora;
using namespace velmora::test;

enum class ListDialog { Import, Search, LowStock };
Q_DECLARE_METATYPE(ListDialog)

using velmora::test::whenModal;

namespace {

// Below its threshold and with a stock, so every list shows it.
ProductValues low(const std::string &code, const std::string &note = {})
{
    return {{product::Codice, code},
            {product::Marca, "Marca " + code},
            {product::Descrizione, "Prodotto " + code},
            {product::Fornitore, "Bianchi"},
            {product::Prezzo, "2,50"},
            {product::Giacenza, "1"},
            {product::Sottoscorta, "3"},
            {product::Note, note}};
}

QStringList printed(const FakePrinter &printer)
{
    QStringList texts;
    for (const std::string &text : printer.lastTexts())
        texts << fromAnsi(text);
    return texts;
}

} // namespace

// The print commands of the product lists and the product card's Word card and archive export.
class TestProductPrintExport : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<PrintingFakes> fakes;
    std::unique_ptr<TfrmMateriali> card;
    std::unique_ptr<TfrmEsportaMat> exportDialog;
    std::unique_ptr<QWidget> consumption; // stands in for the consumption card opening the import
    std::unique_ptr<QDialog> dialog;

    // Opens one of the list dialogs as its caller does and brings it to its list.
    void openList(ListDialog kind)
    {
        switch (kind) {
        case ListDialog::Import: {
            auto *quantity = new QLineEdit(consumption.get());
            quantity->setObjectName(QStringLiteral("txtQuantita"));
            quantity->setText(QStringLiteral("1"));
            dialog = std::make_unique<TfrmImpMateriali>(ts->services, consumption.get());
            dialog->show();
            break;
        }
        case ListDialog::Search: {
            auto search = std::make_unique<TfrmCercaMateriale>(ts->services, card.get());
            search->lblMemory->setText(QStringLiteral("materiali"));
            search->show();
            QVERIFY(!search->cmdStampa->isEnabled()); // nothing to print on the criteria page
            QTest::mouseClick(search->cmdTrova, Qt::LeftButton);
            QVERIFY(search->cmdStampa->isEnabled());
            dialog = std::move(search);
            break;
        }
        case ListDialog::LowStock:
            dialog = std::make_unique<TfrmCercaSottoscorta>(ts->services, card.get());
            dialog->show();
            break;
        }
    }
    QListWidget *list() const { return dialog->findChild<QListWidget *>(QStringLiteral("lstRecords")); }
    void printFromDialog() const
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdStampa")), Qt::LeftButton);
    }
    void click(IconButton *icon, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(icon, button); }

private slots:
    void init()
    {
        ts = std::make_unique<TestServices>();
        fakes = std::make_unique<PrintingFakes>(*ts);
        card = std::make_unique<TfrmMateriali>(ts->services);
        exportDialog = std::make_unique<TfrmEsportaMat>(ts->services);
        ts->navigator.onArchiveExport = [this](QWidget *, ArchiveExport) { exportDialog->exec(); };
        consumption = std::make_unique<QWidget>();
        card->show();
        card->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(card.get()));
    }

    void cleanup()
    {
        dialog.reset();
        consumption.reset();
        card.reset();
        exportDialog.reset();
        fakes.reset();
        ts.reset();
    }

    void listsPrintTheirLinesInListOrder_data()
    {
        QTest::addColumn<ListDialog>("kind");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("rule");
        QTest::newRow("import") << ListDialog::Import
                                << QStringLiteral("Si vuole stampare il presente elenco di prodotti?")
                                << QStringLiteral("Prodotti e servizi") << 24;
        QTest::newRow("search") << ListDialog::Search
                                << QStringLiteral("Si vuole stampare il presente elenco di prodotti e servizi?")
                                << QStringLiteral("Elenco prodotti e servizi") << 14;
        QTest::newRow("low stock") << ListDialog::LowStock
                                   << QStringLiteral("Si vuole stampare il presente elenco di materiali?")
                                   << QStringLiteral("Materiali in esaurimento") << 24;
    }

    void listsPrintTheirLinesInListOrder()
    {
        QFETCH(ListDialog, kind);
        QFETCH(QString, question);
        QFETCH(QString, title);
        QFETCH(int, rule);
        writeProducts(*ts, {low("C30", "però"), low("a10"), low("B20")});
        openList(kind);
        const QStringList shown = listTexts(list());
        QCOMPARE(shown.size(), 3);
        // The list's own order (codes without regard to case), not the archive's.
        QVERIFY(shown[0].contains(QStringLiteral("a10")));
        QVERIFY(shown[1].contains(QStringLiteral("B20")));
        QVERIFY(shown[2].contains(QStringLiteral("C30")));

        printFromDialog();
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Question);
        QCOMPARE(ts->messages.lastTitle(), QStringLiteral("Conferma operazione di stampa"));
        QCOMPARE(ts->messages.lastText(), question);
        QCOMPARE(fakes->printer.jobs.size(), std::size_t(1));
        QCOMPARE(fakes->printer.jobs[0].orientation, PageOrientation::Landscape);
        const QString hyphens(rule, QLatin1Char('-'));
        QCOMPARE(printed(fakes->printer),
                 QStringList({hyphens, title, hyphens}) + shown +
                     QStringList({QString(20, QLatin1Char('_')),
                                  QStringLiteral("Stampa eseguita in data 08/12/2026 alle ore 10:30:15")}));
        QVERIFY(dialog->isVisible());
    }

    void emptyListsAndNoAnswersPrintNothing_data()
    {
        QTest::addColumn<ListDialog>("kind");
        QTest::newRow("import") << ListDialog::Import;
        QTest::newRow("search") << ListDialog::Search;
        QTest::newRow("low stock") << ListDialog::LowStock;
    }

    void emptyListsAndNoAnswersPrintNothing()
    {
        QFETCH(ListDialog, kind);
        openList(kind);
        QCOMPARE(list()->count(), 0);
        printFromDialog();
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Operazione di stampa non applicabile: la lista non contiene nessuna voce."));
        dialog.reset();

        writeProducts(*ts, {low("A1")});
        openList(kind);
        QCOMPARE(list()->count(), 1);
        ts->messages.answers.push_back(false);
        printFromDialog();
        QCOMPARE(ts->messages.shown.back().kind, Message::Kind::Question);
        QVERIFY(fakes->printer.jobs.empty());
    }

    void wordCardHoldsSixteenBoxesAsShown()
    {
        const std::pair<TextBox *, const char *> rows[] = {
            {card->txtCodice, "Codice articolo:"},
            {card->txtTipologia, "Tipologia:"},
            {card->txtMarca, "Marca e modello:"},
            {card->txtModello, "Produttore:"},
            {card->txtAccessori, "Accessori:"},
            {card->txtDescrizione, "Descrizione prodotto o servizio:"},
            {card->txtFornitore, "Fornitore:"},
            {card->txtRecapito, "Recapito:"},
            {card->txtData, "Data di acquisto:"},
            {card->txtCosto, "Costo di acquisto:"},
            {card->txtDocumento, "Documento di acquisto:"},
            {card->txtOrdine, "Modalità di ordine merce:"},
            {card->txtPrezzo, "Prezzo unitario:"},
            {card->txtCollocazione, "Collocazione:"},
            {card->txtGiacenza, "Giacenza:"},
            {card->txtNote, "Note:"},
        };
        // Short values: the number boxes hold at most 15 characters.
        for (std::size_t r = 0; r < std::size(rows); ++r)
            rows[r].first->setText(QStringLiteral(" v") + QString::number(r + 1) + QStringLiteral("  "));
        card->txtOrdine->clear();
        card->txtSottoscorta->setText(QStringLiteral("4"));
        card->lblFile01->setText(QStringLiteral("/allegati/listino.pdf"));

        click(card->imgWord);
        QVERIFY(ts->messages.shown.empty());
        QCOMPARE(fakes->office.calls.size(), std::size_t(1));
        const FakeOffice::Call &call = fakes->office.calls[0];
        QCOMPARE(call.kind, FakeOffice::Call::Kind::WordCard);
        QCOMPARE(call.card.headings, (QStringList{QStringLiteral("SCHEDA PRODOTTO O SERVIZIO"), QString()}));
        QCOMPARE(call.card.rows.size(), std::size(rows));
        for (std::size_t r = 0; r < std::size(rows); ++r) {
            const auto &[box, label] = rows[r];
            QCOMPARE(call.card.rows[r].first, QString::fromUtf8(label));
            const QString expected = box == card->txtOrdine ? QString() : QStringLiteral("v") + QString::number(r + 1);
            QCOMPARE(call.card.rows[r].second, expected);
        }
        // An unsaved card exports as it is, and exporting stores nothing.
        QVERIFY(!ts->exists(kProductArchive));
    }

    void wordCardNeedsACodeAndALeftClick()
    {
        card->txtDescrizione->setText(QStringLiteral("Acqua"));
        card->txtNote->setFocus();
        click(card->imgWord, Qt::RightButton);
        QVERIFY(fakes->office.calls.empty());
        QVERIFY(ts->messages.shown.empty());

        click(card->imgWord);
        QVERIFY(fakes->office.calls.empty());
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Plain);
        QCOMPARE(ts->messages.lastText(), QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word "
                                                         "è necessario indicare il codice articolo."));
        QCOMPARE(QApplication::focusWidget(), card->txtCodice);
    }

    void excelIconShowsTheArchiveExport()
    {
        writeProducts(*ts, {low("A1"), low("B2"), low("C3")});
        bool seen = false;
        int rows = 0;
        whenModal([&](QDialog *shown) {
            seen = true;
            QCOMPARE(shown, static_cast<QDialog *>(exportDialog.get()));
            rows = exportDialog->gridModel()->gridRows();
            QTest::mouseClick(exportDialog->imgWord, Qt::LeftButton);
        });
        // The archive export acts on the release of any button.
        click(card->imgExcel, Qt::RightButton);
        QVERIFY(seen);
        QCOMPARE(rows, 4);
        QCOMPARE(fakes->office.calls.size(), std::size_t(1));
        const FakeOffice::Call &call = fakes->office.calls[0];
        QCOMPARE(call.kind, FakeOffice::Call::Kind::WordGrid);
        QCOMPARE(call.grid.size(), std::size_t(4));
        QCOMPARE(call.grid[0].size(), qsizetype(17));
        QCOMPARE(call.grid[0][0], QString());
        QCOMPARE(call.grid[2][0], QStringLiteral("2"));
        QCOMPARE(call.grid[2][1], QStringLiteral("B2"));
        QCOMPARE(call.grid[2][13], QStringLiteral("2,50"));
    }
};

QTEST_MAIN(TestProductPrintExport)
#include "test_productprintexport.moc"
