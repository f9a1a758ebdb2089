#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "validators/tfrmiban.h"
#include "validatortest.h"

using namespace velmora;
using namespace velmora::test;

namespace {
const QString kTitle = QStringLiteral("Risultato controllo codice IBAN");
const QString kValid = QStringLiteral("Il codice IBAN digitato è ESATTO.");
const QString kWrong = QStringLiteral("Attenzione: il codice IBAN digitato è ERRATO!");
} // namespace

class TestTfrmIban : public QObject
{
    Q_OBJECT

private:
    TestServices m_env;
    std::unique_ptr<TfrmIban> m_screen;
    QLineEdit *m_box = nullptr;
    QPushButton *m_button = nullptr;

private slots:
    void init()
    {
        m_env.messages.clear();
        m_screen = std::make_unique<TfrmIban>(m_env.services);
        m_box = m_screen->findChild<QLineEdit *>(QStringLiteral("txtCodice"));
        m_button = m_screen->findChild<QPushButton *>(QStringLiteral("cmdCheckIban"));
        QVERIFY(m_box && m_button);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    }

    void cleanup() { m_screen.reset(); }

    void opensEmptyWithItsTexts()
    {
        QCOMPARE(m_screen->windowTitle(), QStringLiteral(" Controllo coordinate bancarie IBAN"));
        QCOMPARE(m_screen->findChild<QLabel *>(QStringLiteral("lblInfo"))->text(),
                 QStringLiteral("Immettere il codice IBAN nella casella sottostante e premere il pulsante di"));
        QCOMPARE(m_screen->findChild<QLabel *>(QStringLiteral("lblInfo02"))->text(), QStringLiteral("controllo."));
        QVERIFY(!m_button->isEnabled());
        QVERIFY(m_box->hasFocus());
    }

    void typingKeepsEveryCharacterInUpperCase()
    {
        QTest::keyClicks(m_box, QStringLiteral("it60 x054"));
        QCOMPARE(m_box->text(), QStringLiteral("IT60 X054"));
        QCOMPARE(m_box->cursorPosition(), 9);
        m_box->setCursorPosition(0);
        QTest::keyClicks(m_box, QStringLiteral("iban "));
        QCOMPARE(m_box->text(), QStringLiteral("IBAN IT60 X054"));
        QCOMPARE(m_box->cursorPosition(), 5);
        typeText(m_box, QStringLiteral(".è"));
        QCOMPARE(m_box->text(), QStringLiteral("IBAN .èIT60 X054"));
        QVERIFY(m_env.messages.shown.empty());
    }

    void theButtonWaitsForTwentySevenCharacters()
    {
        // A British IBAN has 22 characters: only its spaced form reaches 27.
        QTest::keyClicks(m_box, QStringLiteral("GB82WEST12345698765432"));
        QVERIFY(!m_button->isEnabled());
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(m_env.messages.shown.empty());
        QVERIFY(m_screen->isVisible());
        m_box->clear();
        QTest::keyClicks(m_box, QStringLiteral("GB82 WEST 1234 5698 7654 3"));
        QVERIFY(!m_button->isEnabled());
        QTest::keyClicks(m_box, QStringLiteral("2"));
        QVERIFY(m_button->isEnabled());
    }

    void typingStopsAtFortyCharacters()
    {
        QTest::keyClicks(m_box, QStringLiteral("IBAN IT60 X054 2811 1010 0000 0123 456 789 0"));
        QCOMPARE(m_box->text(), QStringLiteral("IBAN IT60 X054 2811 1010 0000 0123 456 7"));
    }

    void result_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::newRow("Italy") << QStringLiteral("IT60X0542811101000000123456") << true;
        QTest::newRow("France") << QStringLiteral("FR1420041010050500013M02606") << true;
        QTest::newRow("San Marino, lower case") << QStringLiteral("sm86u0322509800000000270100") << true;
        QTest::newRow("Britain in groups") << QStringLiteral("GB82 WEST 1234 5698 7654 32") << true;
        QTest::newRow("Germany in groups") << QStringLiteral("DE89 3704 0044 0532 0130 00") << true;
        QTest::newRow("IBAN prefix") << QStringLiteral("IBAN IT60 X054 2811 1010 0000 0123 456") << true;
        QTest::newRow("prefix, lower case") << QStringLiteral("iban de89370400440532013000") << true;
        QTest::newRow("trailing blanks") << QStringLiteral("IT60X0542811101000000123456   ") << true;
        QTest::newRow("one digit changed") << QStringLiteral("IT60X0542811101000000123457") << false;
        QTest::newRow("check digits swapped") << QStringLiteral("IT06X0542811101000000123456") << false;
        QTest::newRow("dots") << QStringLiteral("IT60.X054.2811.1010.0000.0123.456") << false;
        QTest::newRow("accented letter") << QStringLiteral("IT60X054281110100000012345È") << false;
        QTest::newRow("Britain wrong") << QStringLiteral("GB82 WEST 1234 5698 7654 33") << false;
    }

    void result()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        typeText(m_box, typed);
        QVERIFY(m_button->isEnabled());
        QTest::mouseClick(m_button, Qt::LeftButton);
        QVERIFY(shownOnly(m_env.messages, valid ? Kind::Information : Kind::Warning, kTitle, valid ? kValid : kWrong));
        QVERIFY(!m_screen->isVisible());
    }

    void enterChecksFromTwentySevenCharacters()
    {
        QTest::keyClicks(m_box, QStringLiteral("IT60X0542811101000000123456"));
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(shownOnly(m_env.messages, Kind::Information, kTitle, kValid));
        QVERIFY(!m_screen->isVisible());
    }

    void openedFromTheClientCard()
    {
        QWidget card;
        auto *screen = new TfrmIban(m_env.services, &card);
        QString shownText;
        bool enabled = false;
        const int result = openLikeClientCard(
            screen, QStringLiteral("txtCodice"), QStringLiteral("it60x0542811101000000123456"), [&](QLineEdit *box) {
                shownText = box->text();
                enabled = screen->findChild<QPushButton *>(QStringLiteral("cmdCheckIban"))->isEnabled();
                QTest::keyClick(box, Qt::Key_Enter);
            });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(shownText, QStringLiteral("IT60X0542811101000000123456"));
        QVERIFY(enabled);
        QVERIFY(shownOnly(m_env.messages, Kind::Information, kTitle, kValid));
        delete screen;
    }

    void aLongerTextFromTheCardIsKept()
    {
        const QString text = QStringLiteral("IBAN IT60 X054 2811 1010 0000 0123 456 (conto principale)");
        m_box->setText(text);
        QCOMPARE(m_box->text(), text.toUpper());
        QTest::mouseClick(m_button, Qt::LeftButton);
        QVERIFY(shownOnly(m_env.messages, Kind::Warning, kTitle, kWrong));
    }
};

QTEST_MAIN(TestTfrmIban)
#include "test_tfrmiban.moc"
