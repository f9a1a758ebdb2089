#include <fstream>
#include <functional>

#include <QApplication>
#include <QTest>

#include "productfixtures.h"
#include "products/tfrmcercasottoscorta.h"
#include "products/tfrmmateriali.h"
#include "support/failingreads.h"
#include "support/modal.h"

using namespace velmora;
using namespace velmora::test;

namespace {

ProductValues stocked(const std::string &code, const std::string &stock, const std::string &threshold)
{
    return {{product::Codice, code},          {product::Marca, "Marca " + code}, {product::Fornitore, "Rossi"},
            {product::Recapito, "0541 22"},   {product::Costo, "1,10"},          {product::Giacenza, stock},
            {product::Sottoscorta, threshold}};
}

} // namespace

class TestTfrmCercaSottoscorta : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<TfrmMateriali> card;
    std::unique_ptr<TfrmCercaSottoscorta> owned;
    TfrmCercaSottoscorta *dlg = nullptr;

    void open()
    {
        owned = std::make_unique<TfrmCercaSottoscorta>(ts->services, card.get());
        dlg = owned.get();
        dlg->show();
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
    }

    // Opens the list from the product card's low-stock icon and runs act while it is up.
    void fromCard(const std::function<void()> &act)
    {
        bool opened = false;
        whenModal([&](QDialog *d) {
            dlg = qobject_cast<TfrmCercaSottoscorta *>(d);
            QVERIFY(dlg);
            opened = true;
            act();
        });
        QTest::mouseClick(card->imgDoppioTurno, Qt::LeftButton);
        QVERIFY(opened);
        dlg = nullptr;
    }

private slots:
    void init()
    {
        ts = std::make_unique<TestServices>();
        card = std::make_unique<TfrmMateriali>(ts->services);
        card->show();
    }

    void cleanup()
    {
        owned.reset();
        dlg = nullptr;
        card.reset();
        ts.reset();
    }

    void listsProductsAtOrBelowTheirThreshold()
    {
        writeProducts(*ts, {stocked("E", "5", "5"), stocked("F", "6", "5"), stocked("d", "0", "0"),
                            stocked("C", "2,5", "2"), stocked("b", "1,5", "2"), stocked("A", "-1", "0")});
        open();
        QCOMPARE(
            listTexts(dlg->lstRecords),
            (QStringList{
                QStringLiteral("Cod. A  Marca A  Fornitore: Rossi  Recapito: 0541 22  Costo: 1,10  Giacenza: -1"),
                QStringLiteral("Cod. b  Marca b  Fornitore: Rossi  Recapito: 0541 22  Costo: 1,10  Giacenza: 1,5"),
                QStringLiteral("Cod. d  Marca d  Fornitore: Rossi  Recapito: 0541 22  Costo: 1,10  Giacenza: 0"),
                QStringLiteral("Cod. E  Marca E  Fornitore: Rossi  Recapito: 0541 22  Costo: 1,10  Giacenza: 5")}));
        QVERIFY(ts->messages.shown.empty());
        QCOMPARE(QApplication::focusWidget(), dlg->txtTrova);
        QCOMPARE(dlg->txtTrova->palette().color(QPalette::Base), colours::focus);
    }

    void stopsSilentlyAtAStockThatIsNotANumber()
    {
        writeProducts(*ts, {stocked("B", "1", "3"), stocked("X", "molti", "3"), stocked("A", "0", "3")});
        open();
        QCOMPARE(dlg->lstRecords->count(), 1);
        QVERIFY(dlg->lstRecords->item(0)->text().startsWith(QStringLiteral("Cod. B ")));
        QVERIFY(ts->messages.shown.empty());
    }

    // The archive is read a block of products at a time; a read that fails part way, as on a
    // failing disk, ends the list there without a word and keeps the lines found before.
    void aReadThatFailsKeepsTheLinesFoundBefore()
    {
        const int perBlock = (1 << 18) / static_cast<int>(kProductRecordSize);
        std::ofstream out(ts->file(kProductArchive), std::ios::binary);
        QStringList before;
        for (int i = 1; i <= 3 * perBlock; ++i) {
            const std::string code = "P" + std::to_string(1000 + i);
            const std::string stock = std::to_string(i % 3); // low at 0 and 1
            out << productRecord(stocked(code, stock, "1"));
            if (i <= perBlock && i % 3 <= 1)
                before << QString::fromStdString("Cod. " + code + "  ");
        }
        out.close();
        const FailingReads failing(ts->file(kProductArchive), static_cast<off_t>(perBlock * kProductRecordSize));
        open();
        QVERIFY(failing.failed() > 0);
        QVERIFY(ts->messages.shown.empty());
        const QStringList lines = listTexts(dlg->lstRecords);
        QCOMPARE(lines.size(), before.size());
        for (int i = 0; i < lines.size(); ++i)
            QVERIFY2(lines[i].startsWith(before[i]), qPrintable(lines[i]));
    }

    void emptyArchiveGivesAnEmptyList()
    {
        open();
        QVERIFY(ts->exists(kProductArchive));
        QCOMPARE(dlg->lstRecords->count(), 0);
        QTest::keyClicks(dlg->txtTrova, QStringLiteral("x"));
        QTest::keyClick(dlg->txtTrova, Qt::Key_Return);
        QCOMPARE(ts->messages.lastText(),
                 QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
    }

    void quickFindWrapsThroughTheList()
    {
        writeProducts(*ts, {stocked("A1", "1", "2"), stocked("B1", "1", "2"), stocked("A2", "1", "2")});
        open();
        dlg->txtTrova->setText(QStringLiteral("COD. A"));
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 0);
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 1);
        QTest::mouseClick(dlg->cmdTrova02, Qt::LeftButton);
        QCOMPARE(dlg->lstRecords->currentRow(), 0);
    }

    void doubleClickLoadsTheCardAndCloses()
    {
        writeProducts(*ts, {stocked("A", "9", "2"),
                            {{product::Codice, "B"},
                             {product::Descrizione, "Sdraio"},
                             {product::Giacenza, "1"},
                             {product::Sottoscorta, "2"},
                             {product::Desc01, "foto"}}});
        fromCard([&] {
            QCOMPARE(dlg->lstRecords->count(), 1);
            doubleClickRow(dlg->lstRecords, 0);
            QVERIFY(!dlg->isVisible());
            QCOMPARE(dlg->lstRecords->count(), 0);
        });
        QCOMPARE(card->txtCodice->text(), QStringLiteral("B"));
        QCOMPARE(card->txtDescrizione->text(), QStringLiteral("Sdraio"));
        QCOMPARE(card->lblDesc01->text(), QStringLiteral("foto"));
        QCOMPARE(card->lblPosizione->text(), QStringLiteral("2"));
    }
};

QTEST_MAIN(TestTfrmCercaSottoscorta)
#include "test_tfrmcercasottoscorta.moc"
