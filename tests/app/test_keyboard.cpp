#include <fstream>

#include <QDialog>
#include <QLabel>
#include <QTest>

#include "app/screenset.h"
#include "app/tfrmpassword.h"
#include "bills/consumption.h"
#include "bills/tfrmforniture.h"
#include "clients/tfrmdestinatari.h"
#include "common/recordfile.h"
#include "products/productrecord.h"
#include "products/tfrmmateriali.h"
#include "support/fakeprinting.h"
#include "support/fakes.h"

using namespace velmora;
using velmora::test::TestServices;

namespace {

const QString kStored = QStringLiteral("La scheda corrente è stata inserita in archivio.");

// Sends a key combination to whatever has the focus in the active window, as the keyboard does.
void press(QWidget *window, QKeyCombination keys)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
}

void showActive(QWidget *screen)
{
    screen->show();
    screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen));
}

} // namespace

// The shared keys of the commands, pressed with the focus in a box of the card as a user works.
class TestKeyboard : public QObject
{
    Q_OBJECT

private slots:
    void consumptionScreenRunsEveryCommandFromItsKeys()
    {
        TestServices ts;
        test::PrintingFakes printing(ts);
        std::ofstream(ts.file("Conto.for")).flush();
        const RecordFile bill(ts.file("Conto.for"), consumptionLayout().size());
        for (const char *product : {"Caffè", "Acqua", "Pane"}) {
            std::vector<std::string> v(consumption::FieldCount);
            v[consumption::Prodotto] = product;
            v[consumption::Quantita] = "1";
            v[consumption::Prezzo] = "1,00";
            v[consumption::Importo] = "1,00";
            QVERIFY(bill.append(consumptionLayout().encode(v)));
        }
        TfrmForniture screen(ts.services);
        screen.openBill(ts.file("Conto.for"), QStringLiteral("Conto"));
        showActive(&screen);
        screen.txtLuogo->setFocus();
        QTRY_VERIFY(screen.txtLuogo->hasFocus());

        // Ctrl+Home and Ctrl+End move the cursor in a box; on a card they are its first and last.
        press(&screen, Qt::CTRL | Qt::Key_Home);
        QCOMPARE(screen.lblPosizione->text(), QStringLiteral("1"));
        press(&screen, Qt::Key_PageDown);
        QCOMPARE(screen.lblPosizione->text(), QStringLiteral("2"));
        QCOMPARE(screen.txtProdotto->text(), QString::fromUtf8("Acqua"));
        press(&screen, Qt::Key_PageUp);
        QCOMPARE(screen.lblPosizione->text(), QStringLiteral("1"));
        press(&screen, Qt::CTRL | Qt::Key_End);
        QCOMPARE(screen.lblPosizione->text(), QStringLiteral("3"));
        QVERIFY(screen.txtLuogo->hasFocus());

        press(&screen, Qt::CTRL | Qt::Key_N);
        QCOMPARE(screen.lblPosizione->text(), QString());
        QTRY_VERIFY(screen.txtProdotto->hasFocus());
        QTest::keyClicks(screen.txtProdotto, QStringLiteral("Gelato"));
        press(&screen, Qt::CTRL | Qt::Key_S);
        QCOMPARE(ts.messages.lastText(), kStored);
        QCOMPARE(bill.count(), std::optional<std::size_t>(4));

        press(&screen, Qt::Key_F1);
        QCOMPARE(ts.navigator.helpTopics, QStringList{QStringLiteral("Gestione dei conti delle consumazioni")});
        press(&screen, Qt::CTRL | Qt::Key_E);
        QCOMPARE(ts.navigator.billExports.size(), std::size_t(1));
        press(&screen, Qt::CTRL | Qt::Key_P);
        QCOMPARE(printing.printer.jobs.size(), std::size_t(1));
    }

    void productCardRunsItsCommandsFromTheSameKeys()
    {
        TestServices ts;
        TfrmMateriali card(ts.services);
        showActive(&card);
        QTRY_VERIFY(card.txtCodice->hasFocus());
        for (const QString &code : {QStringLiteral("A1"), QStringLiteral("B2")}) {
            press(&card, Qt::CTRL | Qt::Key_N);
            QTRY_VERIFY(card.txtCodice->hasFocus());
            QTest::keyClicks(card.txtCodice, code);
            card.txtDescrizione->setText(QStringLiteral("Articolo ") + code);
            press(&card, Qt::CTRL | Qt::Key_S);
            QCOMPARE(ts.messages.lastText(), kStored);
        }
        press(&card, Qt::CTRL | Qt::Key_Home);
        QCOMPARE(card.txtCodice->text(), QStringLiteral("A1"));
        press(&card, Qt::Key_PageDown);
        QCOMPARE(card.txtCodice->text(), QStringLiteral("B2"));
        press(&card, Qt::Key_F1);
        QCOMPARE(ts.navigator.helpTopics, QStringList{TfrmMateriali::helpTopic()});
        press(&card, Qt::CTRL | Qt::Key_E);
        QCOMPARE(ts.navigator.archiveExports, std::vector<ArchiveExport>{ArchiveExport::Products});
    }

    void clientCardRunsItsCommandsFromTheSameKeys()
    {
        TestServices ts;
        TfrmDestinatari card(ts.services);
        showActive(&card);
        QTRY_VERIFY(card.txtCliente->hasFocus());
        QTest::keyClicks(card.txtCliente, QStringLiteral("Rossi Anna"));
        press(&card, Qt::CTRL | Qt::Key_S);
        QCOMPARE(ts.messages.lastText(), kStored);
        press(&card, Qt::CTRL | Qt::Key_N);
        QCOMPARE(card.txtCliente->text(), QString());
        press(&card, Qt::CTRL | Qt::Key_End);
        QCOMPARE(card.txtCliente->text(), QStringLiteral("Rossi Anna"));
        QCOMPARE(card.lblPosizione->text(), QStringLiteral("1"));
        press(&card, Qt::Key_F1);
        QCOMPARE(ts.navigator.helpTopics, QStringList{QStringLiteral("Gestione anagrafica clienti")});
        press(&card, Qt::CTRL | Qt::Key_E);
        QCOMPARE(ts.navigator.archiveExports, std::vector<ArchiveExport>{ArchiveExport::Clients});
    }

    // Escape closes every dialog but the login, which is the main window.
    void escapeClosesTheDialogs()
    {
        TestServices ts;
        ScreenSet screens(ts.services);
        int closed = 0;
        for (QWidget *screen : screens.screens()) {
            auto *dialog = qobject_cast<QDialog *>(screen);
            if (!dialog || screen == screens.login())
                continue;
            showActive(dialog);
            press(dialog, Qt::Key_Escape);
            QTRY_VERIFY2(!dialog->isVisible(), qPrintable(dialog->objectName()));
            ++closed;
        }
        QVERIFY(closed >= 15);
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
