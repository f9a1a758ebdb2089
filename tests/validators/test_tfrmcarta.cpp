#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "validators/tfrmcarta.h"
#include "validatortest.h"

using namespace velmora;
using namespace velmora::test;

namespace {
const QString kRefused = QStringLiteral("Attenzione: carattere non valido. Digitare solo valori numerici.");
const QString kWrongTitle = QStringLiteral("Risultato controllo numero di carta di credito");
const QString kWrong = QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è quindi possibile "
                                      "fornire informazioni relative al tipo di carta di credito.");

QString validText(const QString &number, const QString &type)
{
    return QStringLiteral("Il numero di carta di credito ") + number +
           QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito è del tipo ") + type + QStringLiteral(".");
}
} // namespace

class TestTfrmCarta : public QObject
{
    Q_OBJECT

private:
    TestServices m_env;
    std::unique_ptr<TfrmCarta> m_screen;
    QLineEdit *m_box = nullptr;
    QPushButton *m_button = nullptr;

private slots:
    void init()
    {
        m_env.messages.clear();
        m_screen = std::make_unique<TfrmCarta>(m_env.services);
        m_box = m_screen->findChild<QLineEdit *>(QStringLiteral("txtNumero"));
        m_button = m_screen->findChild<QPushButton *>(QStringLiteral("cmdControllo"));
        QVERIFY(m_box && m_button);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    }

    void cleanup() { m_screen.reset(); }

    void opensEmptyWithItsTexts()
    {
        QCOMPARE(m_screen->windowTitle(), QStringLiteral(" Controllo carta di credito"));
        QCOMPARE(m_screen->findChild<QLabel *>(QStringLiteral("lblInfo01"))->text(),
                 QStringLiteral("Inserire il numero di carta di credito senza spazi o trattini nella"));
        QCOMPARE(m_screen->findChild<QLabel *>(QStringLiteral("lblInfo02"))->text(),
                 QStringLiteral("casella sottostante e premere il pulsante di controllo."));
        QVERIFY(!m_button->isEnabled());
        QVERIFY(m_box->hasFocus());
    }

    void onlyDigitsCanBeTyped()
    {
        QTest::keyClicks(m_box, QStringLiteral("4111"));
        for (const QString &key : {QStringLiteral(" "), QStringLiteral("-"), QStringLiteral("x"), QStringLiteral("é")})
            typeText(m_box, key);
        QCOMPARE(m_box->text(), QStringLiteral("4111"));
        QCOMPARE(int(m_env.messages.shown.size()), 4);
        for (const Message &m : m_env.messages.shown) {
            QCOMPARE(int(m.kind), int(Kind::Plain));
            QCOMPARE(m.text, kRefused);
        }
        m_env.messages.clear();
        QApplication::clipboard()->setText(QStringLiteral("1111"));
        QTest::keyClick(m_box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_box->text(), QStringLiteral("4111"));
        QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), kRefused));
        m_env.messages.clear();
        QTest::keyClick(m_box, Qt::Key_Backspace);
        QCOMPARE(m_box->text(), QStringLiteral("411"));
        QVERIFY(m_env.messages.shown.empty());
    }

    void theButtonWaitsForThirteenCharacters()
    {
        QTest::keyClicks(m_box, QStringLiteral("422222222222"));
        QVERIFY(!m_button->isEnabled());
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(m_env.messages.shown.empty());
        QVERIFY(m_screen->isVisible());
        QTest::keyClicks(m_box, QStringLiteral("2"));
        QVERIFY(m_button->isEnabled());
        // There is no length limit.
        QTest::keyClicks(m_box, QStringLiteral("1234567890123"));
        QCOMPARE(m_box->text().size(), 26);
    }

    void result_data()
    {
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("type"); // "-" when not valid, empty when nothing is shown
        QTest::newRow("Visa") << QStringLiteral("4111111111111111") << QStringLiteral("Visa");
        QTest::newRow("MasterCard") << QStringLiteral("5500000000000004") << QStringLiteral("MasterCard");
        QTest::newRow("Discover") << QStringLiteral("6011000000000004") << QStringLiteral("Discover");
        QTest::newRow("American Express 34") << QStringLiteral("340000000000009") << QStringLiteral("American Express");
        QTest::newRow("Diners 30") << QStringLiteral("30569309025904")
                                   << QStringLiteral("Diner's Club / Carte Blanche");
        QTest::newRow("JCB") << QStringLiteral("3530111333300000") << QStringLiteral("JCB");
        QTest::newRow("prefix 32") << QStringLiteral("3200000000000002") << QString();
        QTest::newRow("prefix 39") << QStringLiteral("3900000000000005") << QString();
        QTest::newRow("wrong digit") << QStringLiteral("4111111111111112") << QStringLiteral("-");
        QTest::newRow("Luhn-valid 2") << QStringLiteral("2223003122003222") << QStringLiteral("-");
        QTest::newRow("Luhn-valid 0") << QStringLiteral("0000000000000") << QStringLiteral("-");
        QTest::newRow("Luhn-valid 7") << QStringLiteral("7000000000003") << QStringLiteral("-");
        QTest::newRow("Luhn-valid 9") << QStringLiteral("9000000000001") << QStringLiteral("-");
        QTest::newRow("20 digits then more") << QStringLiteral("400000000000000000027") << QStringLiteral("Visa");
    }

    void result()
    {
        QFETCH(QString, number);
        QFETCH(QString, type);
        QTest::keyClicks(m_box, number);
        QTest::mouseClick(m_button, Qt::LeftButton);
        if (type == QStringLiteral("-"))
            QVERIFY(shownOnly(m_env.messages, Kind::Warning, kWrongTitle, kWrong));
        else if (type.isEmpty())
            QVERIFY(m_env.messages.shown.empty());
        else
            QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), validText(number, type)));
        QVERIFY(!m_screen->isVisible());
    }

    void enterChecksFromThirteenCharacters()
    {
        QTest::keyClicks(m_box, QStringLiteral("5105105105105100"));
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"),
                          validText(QStringLiteral("5105105105105100"), QStringLiteral("MasterCard"))));
        QVERIFY(!m_screen->isVisible());
    }

    void textsPlacedByTheCard_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message"); // empty when nothing is shown
        QTest::newRow("groups with spaces") << QStringLiteral("4111 1111 1111 1111")
                                            << validText(QStringLiteral("4111 1111 1111 1111"), QStringLiteral("Visa"));
        QTest::newRow("groups with hyphens")
            << QStringLiteral("3782-822463-10005")
            << validText(QStringLiteral("3782-822463-10005"), QStringLiteral("American Express"));
        QTest::newRow("blanks around") << QStringLiteral("  6011111111111117  ")
                                       << validText(QStringLiteral("6011111111111117"), QStringLiteral("Discover"));
        // The type of the first class comes from the text: "3-" names no type.
        QTest::newRow("hyphen after the 3") << QStringLiteral("3-78282246310005") << QString();
        // Digits pushed past the 20th character are not read.
        QTest::newRow("spaced past 20") << QStringLiteral("4111 - 1111 - 1111 - 1111") << kWrong;
    }

    void textsPlacedByTheCard()
    {
        QFETCH(QString, text);
        QFETCH(QString, message);
        m_box->setText(text);
        QCOMPARE(m_box->text(), text);
        QVERIFY(m_button->isEnabled());
        QTest::mouseClick(m_button, Qt::LeftButton);
        if (message.isEmpty())
            QVERIFY(m_env.messages.shown.empty());
        else if (message == kWrong)
            QVERIFY(shownOnly(m_env.messages, Kind::Warning, kWrongTitle, kWrong));
        else
            QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"), message));
        QVERIFY(!m_screen->isVisible());
    }

    void openedFromTheClientCard()
    {
        QWidget card;
        auto *screen = new TfrmCarta(m_env.services, &card);
        bool enabled = false;
        const int result = openLikeClientCard(
            screen, QStringLiteral("txtNumero"), QStringLiteral("4012888888881881"), [&](QLineEdit *box) {
                enabled = screen->findChild<QPushButton *>(QStringLiteral("cmdControllo"))->isEnabled();
                QTest::keyClick(box, Qt::Key_Return);
            });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(enabled);
        QVERIFY(shownOnly(m_env.messages, Kind::Plain, QStringLiteral("Velmora"),
                          validText(QStringLiteral("4012888888881881"), QStringLiteral("Visa"))));
        delete screen;
    }

    void shortNumberFromTheClientCardWaits()
    {
        QWidget card;
        auto *screen = new TfrmCarta(m_env.services, &card);
        bool enabled = true;
        openLikeClientCard(screen, QStringLiteral("txtNumero"), QStringLiteral("411111111111"), [&](QLineEdit *box) {
            enabled = screen->findChild<QPushButton *>(QStringLiteral("cmdControllo"))->isEnabled();
            QTest::keyClick(box, Qt::Key_Return);
            screen->reject();
        });
        QVERIFY(!enabled);
        QVERIFY(m_env.messages.shown.empty());
        delete screen;
    }
};

QTEST_MAIN(TestTfrmCarta)
#include "test_tfrmcarta.moc"
