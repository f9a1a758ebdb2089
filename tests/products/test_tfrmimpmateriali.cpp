#include <fstream>
#include <functional>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "bills/tfrmforniture.h"
#include "bills/tfrmimpmateriali.h"
#include "productfixtures.h"
#include "support/modal.h"

using namespace velmora;
using namespace velmora::test;

namespace {

ProductValues item(const std::string &code, const std::string &stock, const std::string &price = "2,50")
{
    return {{product::Codice, code},  {product::Marca, "Marca " + code}, {product::Descrizione, "Prodotto " + code},
            {product::Prezzo, price}, {product::Giacenza, stock},        {product::Note, "nota"}};
}

const QString kRefusalTitle = QStringLiteral("Aggiornamento giacenza non applicabile");
const QString kChanged = QStringLiteral("Attenzione: il prodotto selezionato è stato modificato o eliminato da "
                                        "un'altra postazione.\r\n\r\nL'elenco dei prodotti è stato aggiornato: "
                                        "selezionare nuovamente il prodotto prima di ripetere l'importazione.");

// Writes the archive directly, as another workstation does.
void writeArchive(const TestServices &ts, const std::vector<ProductValues> &products)
{
    QFile f(QString::fromStdString(ts.file(kProductArchive).string()));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const ProductValues &p : products)
        f.write(QByteArray::fromStdString(productRecord(p)));
}

} // namespace

class TestTfrmImpMateriali : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<TfrmForniture> parent; // the consumption screen that opens the import
    TfrmImpMateriali *dlg = nullptr;

    // Opens the import from the consumption screen, its quantity box holding quantity, and runs
    // act while the dialog is up; the dialog is gone afterwards.
    void withImport(const QString &quantity, const std::function<void()> &act)
    {
        parent->txtQuantita->setText(quantity);
        bool opened = false;
        whenModal([&](QDialog *d) {
            dlg = qobject_cast<TfrmImpMateriali *>(d);
            QVERIFY(dlg);
            opened = true;
            dlg->activateWindow();
            // The dialog becomes the active window once exec() has shown it.
            QTRY_VERIFY(dlg->isActiveWindow());
            act();
        });
        QTest::mouseClick(parent->impProdotto, Qt::LeftButton);
        QVERIFY(opened);
        dlg = nullptr;
    }

    int rowOf(const QString &code) const
    {
        const QStringList lines = listTexts(dlg->lstRecords);
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].startsWith(QStringLiteral("Cod. ") + code + QStringLiteral("  ")))
                return i;
        return -1;
    }

    void select(const QString &code)
    {
        const int row = rowOf(code);
        QVERIFY(row >= 0);
        const QRect r = dlg->lstRecords->visualItemRect(dlg->lstRecords->item(row));
        QTest::mouseClick(dlg->lstRecords->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }

    void importa() { QTest::mouseClick(dlg->cmdAnnulla, Qt::LeftButton); }
    bool optionChosen() const { return dlg->optAggiorna->isChecked(); }

private slots:
    void init()
    {
        ts = std::make_unique<TestServices>();
        std::ofstream(ts->file("Conto.for")).flush();
        parent = std::make_unique<TfrmForniture>(ts->services);
        parent->openBill(ts->file("Conto.for"), QStringLiteral("Conto"));
        parent->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(parent.get()));
        parent->txtPrezzo->clear(); // a card with no price yet, so any price seen came from the import
        writeProducts(*ts, {item("A", "10"), item("B", "", "1,00"), item("C", "0"), item("D", "010", "4,20")});
    }

    void cleanup()
    {
        parent.reset();
        ts.reset();
    }

    void listsProductsWithAStockAndPresetsTheQuantity()
    {
        withImport(QStringLiteral(" 3 "), [&] {
            QCOMPARE(dlg->windowTitle(), QStringLiteral(" Importa prodotti e servizi da archivio"));
            QCOMPARE(dlg->size(), QSize(661, 507));
            QCOMPARE(listTexts(dlg->lstRecords),
                     (QStringList{QStringLiteral("Cod. A  Marca A  Fornitore:   Recapito:   Costo:   Giacenza: 10"),
                                  QStringLiteral("Cod. C  Marca C  Fornitore:   Recapito:   Costo:   Giacenza: 0"),
                                  QStringLiteral("Cod. D  Marca D  Fornitore:   Recapito:   Costo:   Giacenza: 010")}));
            QCOMPARE(dlg->txtQuant->text(), QStringLiteral("3"));
            QVERIFY(dlg->cmdAnnulla->isEnabled()); // the preset quantity enables Importa before any choice
            QVERIFY(dlg->imgMano->isVisible());
            QVERIFY(dlg->optAggiorna->isChecked());
            QCOMPARE(dlg->txtGiacenza->text(), QStringLiteral("0"));
            QVERIFY(dlg->txtGiacenza->isReadOnly());
            QVERIFY(dlg->lblPosizione->text().isEmpty());
        });
    }

    void blankQuantityBecomesZeroAndAnEmptyOneDisablesImporta()
    {
        withImport(QString(), [&] {
            QCOMPARE(dlg->txtQuant->text(), QStringLiteral("0"));
            dlg->txtQuant->clear();
            QVERIFY(!dlg->cmdAnnulla->isEnabled());
            QVERIFY(!dlg->imgMano->isVisible());
            select(QStringLiteral("C"));
            QVERIFY(dlg->cmdAnnulla->isEnabled());
            QVERIFY(dlg->imgMano->isVisible());
            QCOMPARE(dlg->txtQuant->text(), QStringLiteral("0"));
        });
    }

    void selectingShowsTheStockAndPosition()
    {
        withImport(QStringLiteral("1"), [&] {
            select(QStringLiteral("D"));
            QCOMPARE(dlg->txtGiacenza->text(), QStringLiteral("010"));
            QCOMPARE(dlg->lblPosizione->text(), QStringLiteral("4"));
            select(QStringLiteral("A"));
            QCOMPARE(dlg->txtGiacenza->text(), QStringLiteral("10"));
            QCOMPARE(dlg->lblPosizione->text(), QStringLiteral("1"));
        });
    }

    void importLowersTheStock_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("left");
        QTest::newRow("part") << "A"
                              << "3" << 1 << "7";
        QTest::newRow("all") << "A"
                             << "10" << 1 << "0";
        QTest::newRow("fraction") << "A"
                                  << "2,5" << 1 << "7,5";
        QTest::newRow("leading zero lost") << "D"
                                           << "3" << 4 << "7";
    }

    void importLowersTheStock()
    {
        QFETCH(QString, code);
        QFETCH(QString, quantity);
        QFETCH(int, position);
        QFETCH(QString, left);
        const auto before = storedRecords(*ts);
        withImport(quantity, [&] {
            select(code);
            importa();
            QVERIFY(ts->messages.shown.empty());
            QVERIFY(!dlg->isVisible());
            QCOMPARE(dlg->result(), int(QDialog::Accepted));
        });
        const auto after = storedRecords(*ts);
        QCOMPARE(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (int(i) + 1 != position) {
                QCOMPARE(after[i], before[i]);
                continue;
            }
            // Only the stock field of the product changed.
            std::string expected = before[i];
            putField(expected, productLayout().offset(product::Giacenza), 15, left.toStdString());
            QCOMPARE(after[i], expected);
        }
        QCOMPARE(parent->txtProdotto->text(), QStringLiteral("Prodotto ") + code);
        QCOMPARE(parent->txtPrezzo->text(),
                 code == QLatin1String("D") ? QStringLiteral("4,20") : QStringLiteral("2,50"));
        QCOMPARE(parent->txtQuantita->text(), quantity); // the consumption's quantity is left alone
    }

    void quantityAboveTheStockIsRefused()
    {
        const QByteArray before = ts->bytes(kProductArchive);
        withImport(QStringLiteral("12"), [&] {
            select(QStringLiteral("A"));
            importa();
            QCOMPARE(ts->messages.shown.size(), std::size_t(1));
            QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Information);
            QCOMPARE(ts->messages.lastTitle(), kRefusalTitle);
            QCOMPARE(ts->messages.lastText(),
                     QStringLiteral("La quantità da decurtare non può essere superiore alla giacenza in magazzino."));
            QVERIFY(!dlg->isVisible());
        });
        QCOMPARE(ts->bytes(kProductArchive), before);
        QVERIFY(parent->txtProdotto->text().isEmpty());
        QVERIFY(parent->txtPrezzo->text().isEmpty());
    }

    void withoutUpdateAnyQuantityIsTakenAndNothingWritten()
    {
        const QByteArray before = ts->bytes(kProductArchive);
        withImport(QStringLiteral("50"), [&] {
            QTest::mouseClick(dlg->optNonAggiornare, Qt::LeftButton);
            QVERIFY(dlg->optNonAggiornare->isChecked());
            QVERIFY(dlg->optNonAggiornare->styleSheet().contains(QStringLiteral("maroon")));
            QVERIFY(dlg->optAggiorna->styleSheet().contains(QStringLiteral("black")));
            select(QStringLiteral("C"));
            importa();
            QVERIFY(ts->messages.shown.empty());
        });
        QCOMPARE(ts->bytes(kProductArchive), before);
        QCOMPARE(parent->txtProdotto->text(), QStringLiteral("Prodotto C"));
    }

    void importaWithoutASelectionChangesNothing()
    {
        const QByteArray before = ts->bytes(kProductArchive);
        withImport(QStringLiteral("1"), [&] {
            importa();
            QVERIFY(!dlg->isVisible());
            QCOMPARE(dlg->result(), int(QDialog::Rejected));
        });
        QCOMPARE(ts->bytes(kProductArchive), before);
        QVERIFY(parent->txtProdotto->text().isEmpty());
        QVERIFY(ts->messages.shown.empty());
    }

    void quickSearchChoosesTheProductToImport()
    {
        withImport(QStringLiteral("4"), [&] {
            dlg->txtTrova->setFocus();
            QTest::keyClicks(dlg->txtTrova, QStringLiteral("marca d"));
            QTest::keyClick(dlg->txtTrova, Qt::Key_Return);
            QCOMPARE(dlg->lstRecords->currentRow(), rowOf(QStringLiteral("D")));
            QCOMPARE(dlg->txtGiacenza->text(), QStringLiteral("010"));
            importa();
        });
        QCOMPARE(storedField(*ts, 4, product::Giacenza), std::string("6"));
        QCOMPARE(storedField(*ts, 1, product::Giacenza), std::string("10"));
        QCOMPARE(parent->txtProdotto->text(), QStringLiteral("Prodotto D"));
    }

    void twoProductsWithOneLineTakeTheLastOfThem()
    {
        ProductValues first = item("E", "5");
        ProductValues second = item("E", "5");
        second[2].second = "Seconda copia";
        writeProducts(*ts, {first, second});
        withImport(QStringLiteral("1"), [&] {
            QCOMPARE(listTexts(dlg->lstRecords).count(listTexts(dlg->lstRecords).at(rowOf(QStringLiteral("E")))), 2);
            select(QStringLiteral("E"));
            QCOMPARE(dlg->lblPosizione->text(), QStringLiteral("6"));
            importa();
        });
        QCOMPARE(storedField(*ts, 5, product::Giacenza), std::string("5"));
        QCOMPARE(storedField(*ts, 6, product::Giacenza), std::string("4"));
        QCOMPARE(parent->txtProdotto->text(), QStringLiteral("Seconda copia"));
    }

    void productChangedElsewhereIsToldAndListedAgain_data()
    {
        QTest::addColumn<bool>("update");
        QTest::addColumn<QString>("change");
        for (const bool update : {true, false}) {
            // E's stock lowered, E moved down by a new product, E moved up by a delete, E gone.
            for (const char *change : {"stock", "moved down", "moved up", "removed"})
                QTest::addRow("%s %s", update ? "update" : "keep", change) << update << QString::fromLatin1(change);
        }
    }

    // The product chosen was changed by another workstation meanwhile: nothing is imported,
    // the user is told, and the list shows the archive as it is now, so the product can be
    // chosen again and imported from its new record.
    void productChangedElsewhereIsToldAndListedAgain()
    {
        QFETCH(bool, update);
        QFETCH(QString, change);
        writeProducts(*ts, {item("E", "5")});
        std::vector<ProductValues> other = {item("A", "10"), item("B", "", "1,00"), item("C", "0"),
                                            item("D", "010", "4,20"), item("E", "5")};
        if (change == QLatin1String("stock"))
            other[4] = item("E", "4", "2,80");
        else if (change == QLatin1String("moved down"))
            other.insert(other.begin(), item("0", "1"));
        else if (change == QLatin1String("moved up"))
            other.erase(other.begin());
        else
            other.pop_back();
        const bool gone = change == QLatin1String("removed");
        QByteArray left;
        withImport(QStringLiteral("3"), [&] {
            if (!update)
                QTest::mouseClick(dlg->optNonAggiornare, Qt::LeftButton);
            select(QStringLiteral("E"));
            QCOMPARE(dlg->lblPosizione->text(), QStringLiteral("5"));
            writeArchive(*ts, other);
            left = ts->bytes(kProductArchive);
            importa();

            QCOMPARE(ts->messages.shown.size(), std::size_t(1));
            QCOMPARE(ts->messages.shown[0].kind, Message::Kind::Plain);
            QCOMPARE(ts->messages.lastText(), kChanged);
            QVERIFY(dlg->isVisible());
            QCOMPARE(ts->bytes(kProductArchive), left);
            QVERIFY(dlg->lblPosizione->text().isEmpty());
            QCOMPARE(dlg->txtGiacenza->text(), QStringLiteral("0"));
            QCOMPARE(optionChosen(), update);
            // The list is the new archive's.
            const QStringList lines = listTexts(dlg->lstRecords);
            QCOMPARE(lines.size(), change == QLatin1String("moved down") ? 5
                                   : change == QLatin1String("stock")    ? 4
                                                                         : 3);
            QCOMPARE(rowOf(QStringLiteral("E")) >= 0, !gone);
            if (gone)
                return;
            if (change == QLatin1String("stock"))
                QVERIFY(lines.at(rowOf(QStringLiteral("E"))).endsWith(QStringLiteral("Giacenza: 4")));
            select(QStringLiteral("E"));
            importa();
            QVERIFY(!dlg->isVisible());
            QCOMPARE(dlg->result(), int(QDialog::Accepted));
        });
        QCOMPARE(ts->messages.shown.size(), std::size_t(1));
        if (gone) {
            QCOMPARE(ts->bytes(kProductArchive), left);
            QVERIFY(parent->txtProdotto->text().isEmpty());
            QVERIFY(parent->txtPrezzo->text().isEmpty());
            return;
        }
        const std::size_t at = change == QLatin1String("moved down") ? 6 : change == QLatin1String("moved up") ? 4 : 5;
        const std::string before = change == QLatin1String("stock") ? "4" : "5";
        const std::string after = change == QLatin1String("stock") ? "1" : "2";
        QCOMPARE(storedField(*ts, at, product::Giacenza), update ? after : before);
        QCOMPARE(parent->txtProdotto->text(), QStringLiteral("Prodotto E"));
        QCOMPARE(parent->txtPrezzo->text(),
                 change == QLatin1String("stock") ? QStringLiteral("2,80") : QStringLiteral("2,50"));
    }

    void quantityBoxFiltersAndNormalises()
    {
        withImport(QStringLiteral("1"), [&] {
            dlg->txtQuant->setFocus();
            QCOMPARE(dlg->txtQuant->palette().color(QPalette::Base), colours::focus);
            dlg->txtQuant->selectAll();
            QTest::keyClicks(dlg->txtQuant, QStringLiteral("2x,5,"));
            QCOMPARE(dlg->txtQuant->text(), QStringLiteral("2,5"));
            QCOMPARE(ts->messages.shown.size(), std::size_t(2));
            for (const Message &m : ts->messages.shown) {
                QCOMPARE(m.kind, Message::Kind::Titled);
                QCOMPARE(m.title, QStringLiteral("Operazione annullata"));
                QCOMPARE(m.text, QStringLiteral("Attenzione: carattere non valido."));
            }
            QTest::keyClicks(dlg->txtQuant, QStringLiteral("123456"));
            dlg->txtTrova->setFocus();
            QCOMPARE(dlg->txtQuant->palette().color(QPalette::Base), colours::white);
            QCOMPARE(dlg->txtQuant->text(), QStringLiteral("2,5123"));
            dlg->txtQuant->setFocus();
            dlg->txtQuant->setText(QStringLiteral(","));
            dlg->txtTrova->setFocus();
            QCOMPARE(dlg->txtQuant->text(), QStringLiteral("0"));
        });
    }

    void stockThatIsNotANumberIsRefusedWithAMessage()
    {
        writeProducts(*ts, {item("W", "dieci")});
        const QByteArray before = ts->bytes(kProductArchive);
        withImport(QStringLiteral("1"), [&] {
            select(QStringLiteral("W"));
            importa();
            QCOMPARE(ts->messages.shown.size(), std::size_t(1));
            QCOMPARE(ts->messages.lastTitle(), kRefusalTitle);
            QVERIFY(ts->messages.lastText().contains(QStringLiteral("non è un valore numerico")));
            QCOMPARE(ts->bytes(kProductArchive), before);
            QVERIFY(parent->txtProdotto->text().isEmpty());
            QVERIFY(dlg->isVisible()); // the user can still choose not to update the stock
            QTest::mouseClick(dlg->optNonAggiornare, Qt::LeftButton);
            importa();
        });
        QCOMPARE(parent->txtProdotto->text(), QStringLiteral("Prodotto W"));
        QCOMPARE(ts->bytes(kProductArchive), before);
    }

    void presetQuantityThatIsNotANumberIsRefused()
    {
        const QByteArray before = ts->bytes(kProductArchive);
        withImport(QStringLiteral("tre"), [&] {
            select(QStringLiteral("A"));
            importa();
            QCOMPARE(ts->messages.lastTitle(), kRefusalTitle);
            QCOMPARE(ts->messages.lastText(),
                     QStringLiteral("La quantità da decurtare non è un valore numerico valido."));
        });
        QCOMPARE(ts->bytes(kProductArchive), before);
        QVERIFY(parent->txtProdotto->text().isEmpty());
    }
};

QTEST_MAIN(TestTfrmImpMateriali)
#include "test_tfrmimpmateriali.moc"
