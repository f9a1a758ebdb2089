#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "validators/tfrmiva.h"
#include "validatortest.h"

using namespace velmora;
using namespace velmora::test;

namespace {
const QString kRefused = QStringLiteral("Attenzione: carattere non valido. Digitare solo valori numerici.");
const QString kLength = QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kValid = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\nE' stato rilasciato "
                                      "dall'Ufficio IVA del Comune di ");
const QString kWrongTitle = QStringLiteral("Risultato controllo partita IVA");
const QString kWrong =
    QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\nNon è quindi "
                   "possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");
} // namespace

class TestTfrmIva : public QObject
{
    Q_OBJECT

private:
    TestServices m_env;
    std::unique_ptr<TfrmIva> m_screen;
    QLineEdit *m_box = nullptr;
    QPushButton *m_button = nullptr;

    QString label(const char *name) const { return m_screen->findChild<QLabel *>(QString::fromLatin1(name))->text(); }

private slots:
    void init()
    {
        m_env.messages.clear();
        m_screen = std::make_unique<TfrmIva>(m_env.services);
        m_box = m_screen->findChild<QLineEdit *>(QStringLiteral("txtCodice"));
        m_button = m_screen->findChild<QPushButton *>(QStringLiteral("cmdPartitaIva"));
        QVERIFY(m_box && m_button);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    }

    void cleanup() { m_screen.reset(); }

    void opensEmptyWithItsTexts()
    {
        QCOMPARE(m_screen->windowTitle(), QStringLiteral(" Controllo partita IVA "));
        QCOMPARE(label("lblInfo"), QStringLiteral("Immettere la partita IVA nella casella sottostante e premere il"));
        QCOMPARE(label("lblInfo02"), QStringLiteral("pulsante di controllo."));
        QCOMPARE(m_button->text(), QStringLiteral("Controlla"));
        QVERIFY(!m_button->isEnabled());
        QVERIFY(m_box->hasFocus());
        QCOMPARE(m_box->palette().color(QPalette::Base), QColor(255, 255, 0));
    }

    void refusedKeys_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("letter") << QStringLiteral("a");
        QTest::newRow("capital") << QStringLiteral("I");
        QTest::newRow("space") << QStringLiteral(" ");
        QTest::newRow("hyphen") << QStringLiteral("-");
        QTest::newRow("comma") << QStringLiteral(",");
        QTest::newRow("accented") << QStringLiteral("è");
    }

    void refusedKeys()
    {
        QFETCH(QString, typed);
        QTest::keyClicks(m_box, QStringLiteral("0015"));
        typeText(m_box, typed);
        QCOMPARE(m_box->text(), QStringLiteral("0015"));
        QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), kRefused));
    }

    void shortcutsAreRefusedLikeOtherKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("copy") << int(Qt::Key_C);
        QTest::newRow("paste") << int(Qt::Key_V);
        QTest::newRow("cut") << int(Qt::Key_X);
        QTest::newRow("select all") << int(Qt::Key_A);
    }

    void shortcutsAreRefusedLikeOtherKeys()
    {
        QFETCH(int, key);
        QApplication::clipboard()->setText(QStringLiteral("999"));
        QTest::keyClicks(m_box, QStringLiteral("0015"));
        m_box->selectAll();
        QTest::keyClick(m_box, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(m_box->text(), QStringLiteral("0015"));
        QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), kRefused));
    }

    void digitsAndBackspacePass()
    {
        QTest::keyClicks(m_box, QStringLiteral("0123456789"));
        QTest::keyClick(m_box, Qt::Key_Backspace);
        QCOMPARE(m_box->text(), QStringLiteral("012345678"));
        QVERIFY(m_env.messages.shown.empty());
    }

    void theButtonWaitsForElevenDigits()
    {
        QTest::keyClicks(m_box, QStringLiteral("0015956036"));
        QVERIFY(!m_button->isEnabled());
        // Enter with fewer digits does nothing at all.
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(m_env.messages.shown.empty());
        QVERIFY(m_screen->isVisible());
        QTest::keyClicks(m_box, QStringLiteral("6"));
        QVERIFY(m_button->isEnabled());
        // Typing stops at eleven.
        QTest::keyClicks(m_box, QStringLiteral("12"));
        QCOMPARE(m_box->text(), QStringLiteral("00159560366"));
        QVERIFY(m_env.messages.shown.empty());
    }

    void result_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("office"); // empty office name; "-" for a number that is not valid
        QTest::newRow("Modena") << QStringLiteral("00159560366") << QStringLiteral("Modena");
        QTest::newRow("Roma 2") << QStringLiteral("00905811006") << QStringLiteral("Roma 2");
        QTest::newRow("Forlì") << QStringLiteral("01234560405") << QStringLiteral("Forlì");
        QTest::newRow("Genova 2") << QStringLiteral("01234560991") << QStringLiteral("Chiavari (Genova 2)");
        QTest::newRow("101") << QStringLiteral("00000001016") << QStringLiteral("Bologna 2");
        QTest::newRow("120") << QStringLiteral("00000001206") << QStringLiteral("Bologna 2");
        QTest::newRow("102") << QStringLiteral("00000001024") << QStringLiteral("Napoli 2");
        QTest::newRow("121") << QStringLiteral("00000001214") << QStringLiteral("Napoli 2");
        QTest::newRow("office 000") << QStringLiteral("12345670009") << QString();
        QTest::newRow("office 110") << QStringLiteral("12345671106") << QString();
        QTest::newRow("wrong digit") << QStringLiteral("00159560367") << QStringLiteral("-");
    }

    void result()
    {
        QFETCH(QString, number);
        QFETCH(QString, office);
        QTest::keyClicks(m_box, number);
        QTest::mouseClick(m_button, Qt::LeftButton);
        if (office == QStringLiteral("-"))
            QVERIFY(shownOnly(m_env.messages, Kind::Warning, kWrongTitle, kWrong));
        else
            QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"),
                              kValid + office + QStringLiteral(".")));
        QVERIFY(!m_screen->isVisible());
    }

    void enterWithElevenDigitsChecks()
    {
        QTest::keyClicks(m_box, QStringLiteral("00714490158"));
        QTest::keyClick(m_box, Qt::Key_Enter);
        QVERIFY(
            shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), kValid + QStringLiteral("Milano 1.")));
        QVERIFY(!m_screen->isVisible());
    }

    void textsPlacedByTheCard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("tooLong");
        QTest::newRow("letters") << QStringLiteral("IT001595603") << false;
        QTest::newRow("lower-case letters") << QStringLiteral("0015956036a") << false;
        QTest::newRow("inner space") << QStringLiteral("00159 60366") << false;
        QTest::newRow("twelve digits") << QStringLiteral("001595603660") << true;
        QTest::newRow("with country prefix") << QStringLiteral("IT00159560366") << true;
    }

    void textsPlacedByTheCard()
    {
        QFETCH(QString, text);
        QFETCH(bool, tooLong);
        m_box->setText(text);
        QCOMPARE(m_box->text(), text);
        QVERIFY(m_button->isEnabled());
        QTest::mouseClick(m_button, Qt::LeftButton);
        if (tooLong) {
            QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), kLength));
            QVERIFY(m_screen->isVisible());
        } else {
            QVERIFY(shownOnly(m_env.messages, Kind::Warning, kWrongTitle, kWrong));
            QVERIFY(!m_screen->isVisible());
        }
    }

    void numericFiscalCodeFromTheClientCard()
    {
        QWidget card;
        auto *screen = new TfrmIva(m_env.services, &card);
        screen->setNumericFiscalCodeMode();
        QCOMPARE(screen->windowTitle(), QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
        QCOMPARE(screen->findChild<QLabel *>(QStringLiteral("lblInfo"))->text(),
                 QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
        QCOMPARE(screen->findChild<QLabel *>(QStringLiteral("lblInfo02"))->text(),
                 QStringLiteral("sottostante e premere il pulsante di controllo."));
        bool enabled = false;
        const int result =
            openLikeClientCard(screen, QStringLiteral("txtCodice"), QStringLiteral("00811720580"), [&](QLineEdit *box) {
                enabled = screen->findChild<QPushButton *>(QStringLiteral("cmdPartitaIva"))->isEnabled();
                QTest::keyClick(box, Qt::Key_Return);
            });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(enabled);
        QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), kValid + QStringLiteral("Roma 1.")));
        delete screen;
    }

    void wrongNumberFromTheClientCard()
    {
        QWidget card;
        auto *screen = new TfrmIva(m_env.services, &card);
        const int result = openLikeClientCard(screen, QStringLiteral("txtCodice"), QStringLiteral("00488410001"),
                                              [&](QLineEdit *box) { QTest::keyClick(box, Qt::Key_Return); });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(screen->windowTitle(), QStringLiteral(" Controllo partita IVA "));
        QVERIFY(shownOnly(m_env.messages, Kind::Warning, kWrongTitle, kWrong));
        delete screen;
    }
};

QTEST_MAIN(TestTfrmIva)
#include "test_tfrmiva.moc"
