#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "validators/tfrmcodfisc.h"
#include "validatortest.h"

using namespace velmora;
using namespace velmora::test;

namespace {
const QString kTitle = QStringLiteral("Risultato controllo codice fiscale");
const QString kValid = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kWrong = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");
const QString kLength =
    QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
} // namespace

class TestTfrmCodFisc : public QObject
{
    Q_OBJECT

private:
    TestServices m_env;
    std::unique_ptr<TfrmCodFisc> m_screen;
    QLineEdit *m_box = nullptr;
    QPushButton *m_button = nullptr;

private slots:
    void init()
    {
        m_env.messages.clear();
        m_screen = std::make_unique<TfrmCodFisc>(m_env.services);
        m_box = m_screen->findChild<QLineEdit *>(QStringLiteral("txtCodice"));
        m_button = m_screen->findChild<QPushButton *>(QStringLiteral("cmdCodFisc"));
        QVERIFY(m_box && m_button);
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowActive(m_screen.get()));
    }

    void cleanup() { m_screen.reset(); }

    void opensEmptyWithItsTexts()
    {
        QCOMPARE(m_screen->windowTitle(), QStringLiteral(" Controllo codice fiscale"));
        QCOMPARE(m_screen->findChild<QLabel *>(QStringLiteral("lblInfo"))->text(),
                 QStringLiteral("Immettere il codice fiscale nella casella sottostante e premere il"));
        QCOMPARE(m_screen->findChild<QLabel *>(QStringLiteral("lblInfo02"))->text(),
                 QStringLiteral("pulsante di controllo."));
        QCOMPARE(m_button->text(), QStringLiteral("Controlla"));
        QVERIFY(!m_button->isEnabled());
        QVERIFY(m_box->text().isEmpty());
        QVERIFY(m_box->hasFocus());
        QCOMPARE(m_box->palette().color(QPalette::Base), QColor(255, 255, 0));
        m_box->clearFocus();
        QCOMPARE(m_box->palette().color(QPalette::Base), QColor(255, 255, 255));
    }

    void typedLettersShowInUpperCaseWithTheCaretKept()
    {
        QTest::keyClicks(m_box, QStringLiteral("rss"));
        QCOMPARE(m_box->text(), QStringLiteral("RSS"));
        QCOMPARE(m_box->cursorPosition(), 3);
        m_box->setCursorPosition(1);
        QTest::keyClicks(m_box, QStringLiteral("m"));
        QCOMPARE(m_box->text(), QStringLiteral("RMSS"));
        QCOMPARE(m_box->cursorPosition(), 2);
        // Accented letters and signs stay as typed.
        typeText(m_box, QStringLiteral("à-"));
        QCOMPARE(m_box->text(), QStringLiteral("RMà-SS"));
        QVERIFY(m_env.messages.shown.empty());
    }

    void theButtonWaitsForSixteenCharacters()
    {
        QTest::keyClicks(m_box, QStringLiteral("RSSMRA85T10A562"));
        QVERIFY(!m_button->isEnabled());
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(m_env.messages.shown.empty());
        QVERIFY(m_screen->isVisible());
        QTest::keyClicks(m_box, QStringLiteral("s"));
        QVERIFY(m_button->isEnabled());
        QTest::keyClick(m_box, Qt::Key_Backspace);
        QVERIFY(!m_button->isEnabled());
    }

    void typingStopsAtSixteenCharacters()
    {
        QTest::keyClicks(m_box, QStringLiteral("RSSMRA85T10A562SXYZ"));
        QCOMPARE(m_box->text(), QStringLiteral("RSSMRA85T10A562S"));
    }

    void result_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");
        QTest::newRow("valid") << QStringLiteral("RSSMRA85T10A562S") << true;
        QTest::newRow("typed in lower case") << QStringLiteral("mrtmtt25d09f205z") << true;
        QTest::newRow("mixed case") << QStringLiteral("RssMra80a01H501u") << true;
        QTest::newRow("wrong control letter") << QStringLiteral("RSSMRA85T10A562T") << false;
        QTest::newRow("digit as control") << QStringLiteral("RSSMRA85T10A5620") << false;
        QTest::newRow("colon counts 0") << QStringLiteral("R:SMRA85T10A562A") << true;
        QTest::newRow("space refused") << QStringLiteral("R SMRA85T10A562A") << false;
        QTest::newRow("accented letter") << QStringLiteral("RèSMRA85T10A562A") << false;
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

    void enterWithSixteenCharactersChecks()
    {
        QTest::keyClicks(m_box, QStringLiteral("RSSMRA85T10A562S"));
        QTest::keyClick(m_box, Qt::Key_Enter);
        QVERIFY(shownOnly(m_env.messages, Kind::Information, kTitle, kValid));
        QVERIFY(!m_screen->isVisible());
    }

    void aLongerTextFromTheCardIsKeptAndRefused()
    {
        m_box->setText(QStringLiteral("rssmra85t10a562sx"));
        QCOMPARE(m_box->text(), QStringLiteral("RSSMRA85T10A562SX"));
        QVERIFY(m_button->isEnabled());
        // Enter needs exactly 16 characters.
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(m_env.messages.shown.empty());
        QTest::mouseClick(m_button, Qt::LeftButton);
        QVERIFY(shownOnly(m_env.messages, Kind::Information, kTitle, kLength));
        QVERIFY(m_screen->isVisible());
        QVERIFY(m_box->hasFocus());
        // No more can be typed, but the extra character can be removed and the code checked.
        QTest::keyClicks(m_box, QStringLiteral("Y"));
        QCOMPARE(m_box->text(), QStringLiteral("RSSMRA85T10A562SX"));
        QTest::keyClick(m_box, Qt::Key_Backspace);
        QCOMPARE(m_box->text(), QStringLiteral("RSSMRA85T10A562S"));
        m_env.messages.clear();
        QTest::keyClick(m_box, Qt::Key_Return);
        QVERIFY(shownOnly(m_env.messages, Kind::Information, kTitle, kValid));
    }

    void openedFromTheClientCard()
    {
        QWidget card;
        auto *screen = new TfrmCodFisc(m_env.services, &card);
        QString shownText;
        bool enabled = false;
        const int result = openLikeClientCard(
            screen, QStringLiteral("txtCodice"), QStringLiteral("rssmra85t10a562s"), [&](QLineEdit *box) {
                shownText = box->text();
                enabled = screen->findChild<QPushButton *>(QStringLiteral("cmdCodFisc"))->isEnabled();
                QTest::keyClick(box, Qt::Key_Return);
            });
        QCOMPARE(result, int(QDialog::Accepted));
        QCOMPARE(shownText, QStringLiteral("RSSMRA85T10A562S"));
        QVERIFY(enabled);
        QVERIFY(shownOnly(m_env.messages, Kind::Information, kTitle, kValid));
        delete screen;
    }

    void openedFromTheClientCardWithAnEmptyCode()
    {
        QWidget card;
        auto *screen = new TfrmCodFisc(m_env.services, &card);
        bool enabled = true;
        openLikeClientCard(screen, QStringLiteral("txtCodice"), QString(), [&](QLineEdit *box) {
            enabled = screen->findChild<QPushButton *>(QStringLiteral("cmdCodFisc"))->isEnabled();
            QTest::keyClick(box, Qt::Key_Return);
            screen->reject();
        });
        QVERIFY(!enabled);
        QVERIFY(m_env.messages.shown.empty());
        delete screen;
    }
};

QTEST_MAIN(TestTfrmCodFisc)
#include "test_tfrmcodfisc.moc"
