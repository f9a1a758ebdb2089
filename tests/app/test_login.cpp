#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

#include <QFile>
#include <QTest>

#include "app/passwordcodec.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmpassword.h"
#include "bills/lockholder.h"
#include "common/settingsfile.h"
#include "support/fakes.h"

using namespace velmora;

// The login and the change of password, driven as a user would.
class TestLogin : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        test::TestServices t;
        TfrmPassword login{t.services};
        TfrmCambiaPassword change{t.services};
        Fixture()
        {
            t.navigator.onShowLogin = [this] { login.returnFromChange(); };
            t.navigator.onShowChangePassword = [this] { change.show(); };
        }
        void store(const std::string &plain)
        {
            QVERIFY(SettingsFile(t.file(kPasswordStore))
                        .write(kPasswordSection, kPasswordKey, EncodeStoredPassword(plain)));
        }
        std::string stored() const
        {
            return *DecodeStoredPassword(SettingsFile(t.file(kPasswordStore)).read(kPasswordSection, kPasswordKey));
        }
        void showLogin()
        {
            login.show();
            QVERIFY(QTest::qWaitForWindowExposed(&login));
            login.txtPassword->setFocus();
        }
        // Types into the change screen's three boxes and presses OK.
        void changeTo(const QString &oldPw, const QString &newPw, const QString &confirm)
        {
            change.txtPasswordOld->setText(oldPw);
            change.txtPasswordNew->setText(newPw);
            change.txtConferma->setText(confirm);
            QTest::mouseClick(change.cmdOK, Qt::LeftButton);
        }
    };

private slots:
    void okIsEnabledOnlyWithText()
    {
        Fixture f;
        f.showLogin();
        QVERIFY(!f.login.cmdOK->isEnabled());
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("   "));
        QVERIFY(!f.login.cmdOK->isEnabled());
        // Enter in a blank field does nothing.
        QTest::keyClick(f.login.txtPassword, Qt::Key_Return);
        QVERIFY(f.t.messages.shown.empty());
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("a"));
        QVERIFY(f.login.cmdOK->isEnabled());
        QCOMPARE(f.login.txtPassword->maxLength(), 230);
        QCOMPARE(f.login.txtPassword->echoMode(), QLineEdit::Password);
    }

    void correctPasswordInAnyCaseOpensTheStartScreen()
    {
        Fixture f;
        f.store("VELMORA");
        f.showLogin();
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("  vElMoRa "));
        QTest::keyClick(f.login.txtPassword, Qt::Key_Return);
        QVERIFY(f.t.messages.shown.empty());
        QCOMPARE(f.t.navigator.startShown, 1);
        QVERIFY(!f.login.isVisible());
    }

    void wrongPasswordEmptiesTheField()
    {
        Fixture f;
        f.store("VELMORA");
        f.showLogin();
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("velmor"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Attenzione: password errata."));
        QCOMPARE(f.t.messages.lastTitle(), QStringLiteral("Velmora"));
        QCOMPARE(f.login.txtPassword->text(), QString());
        QTRY_VERIFY(f.login.txtPassword->hasFocus());
        QCOMPARE(f.t.navigator.startShown, 0);
    }

    void missingStoreRefusesEveryPassword()
    {
        Fixture f;
        f.showLogin();
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("x"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Attenzione: password errata."));
        QVERIFY(!f.t.exists(kPasswordStore));
    }

    void damagedStoreShowsTheReadingError()
    {
        Fixture f;
        QVERIFY(SettingsFile(f.t.file(kPasswordStore)).write(kPasswordSection, kPasswordKey, "4Z"));
        f.showLogin();
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("x"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.messages.lastText(),
                 QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                                "Si consiglia di reinstallare il software."));
        QCOMPARE(f.login.txtPassword->text(), QStringLiteral("x"));
    }

    void damagedStoreNeverCrashesTheLogin_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("expected"); // empty: the start screen opens
        const QByteArray good = QByteArray::fromStdString(EncodeStoredPassword("VELMORA"));
        const QByteArray other = QByteArray::fromStdString(EncodeStoredPassword("ALTRA"));
        const QString wrong = QStringLiteral("Attenzione: password errata.");
        const QString unreadable =
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                           "Si consiglia di reinstallare il software.");
        QTest::newRow("duplicate sections")
            << "[Accesso]\r\nValore=" + good + "\r\n[Accesso]\r\nValore=" + other << QString();
        QTest::newRow("duplicate keys") << "[Accesso]\nValore=" + good + "\nValore=ZZ\n" << QString();
        QTest::newRow("odd digit count") << "[Accesso]\nValore=" + good + "F\n" << QString();
        QTest::newRow("odd lines around")
            << "rumore\n=\n[\n[Accesso]\r\r\nsenza uguale\nValore=" + good + "\n]" << QString();
        QTest::newRow("not hexadecimal") << "[Accesso]\nValore=" + good.left(4) + "G1" << unreadable;
        QTest::newRow("unbalanced quote") << "[Accesso]\nValore=\"" + good << unreadable;
        QTest::newRow("unclosed section") << "[Accesso\nValore=" + good << wrong;
        QTest::newRow("key without value") << QByteArray("[Accesso]\r\nValore\r\n=\r\n") << wrong;
        QTest::newRow("binary bytes") << QByteArrayLiteral("\0\xff\xfe[\x01]=\r\r\n==\n[Accesso]\0\nValore=\x80\x81")
                                      << unreadable;
        // Far larger than any store the program writes: refused unread.
        QTest::newRow("very long value") << "[Accesso]\nValore=" + QByteArray(100000, 'A') << unreadable;
        QTest::newRow("empty file") << QByteArray() << wrong;
    }

    void damagedStoreNeverCrashesTheLogin()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, expected);
        Fixture f;
        QFile store(QString::fromStdString(f.t.file(kPasswordStore).string()));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write(content);
        store.close();
        f.showLogin();
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("velmora"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.messages.lastText(), expected);
        QCOMPARE(f.t.navigator.startShown, expected.isEmpty() ? 1 : 0);
        QCOMPARE(f.t.bytes(kPasswordStore), content); // reading never rewrites the store
    }

    void changeOverDuplicateSectionsWritesTheFirst()
    {
        Fixture f;
        const QByteArray content =
            "; nota\r\n[Accesso]\r\nValore=" + QByteArray::fromStdString(EncodeStoredPassword("VELMORA")) +
            "\r\n[Accesso]\r\nValore=" + QByteArray::fromStdString(EncodeStoredPassword("ALTRA")) + "\r\n";
        QFile store(QString::fromStdString(f.t.file(kPasswordStore).string()));
        QVERIFY(store.open(QIODevice::WriteOnly));
        store.write(content);
        store.close();
        f.change.show();
        f.changeTo(QStringLiteral("velmora"), QStringLiteral("nuova"), QStringLiteral("nuova"));
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Modifica della password avvenuta con successo."));
        QCOMPARE(f.stored(), std::string("NUOVA"));
        const QByteArray after = f.t.bytes(kPasswordStore);
        QVERIFY(after.startsWith(
            "; nota\r\n[Accesso]\r\nValore=" + QByteArray::fromStdString(EncodeStoredPassword("NUOVA")) + "\r\n"));
        QVERIFY(after.endsWith(QByteArray::fromStdString(EncodeStoredPassword("ALTRA")) + "\r\n"));
        f.login.txtPassword->setText(QStringLiteral("nuova"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.navigator.startShown, 1);
    }

    void accentedLettersAreNotFolded()
    {
        Fixture f;
        f.store("CAFF\xE8");
        f.showLogin();
        test::typeText(f.login.txtPassword, QStringLiteral("CAFFÈ"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Attenzione: password errata."));
        test::typeText(f.login.txtPassword, QStringLiteral("caffè"));
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.navigator.startShown, 1);
    }

    void changeStoresUpperCaseAndReturnsToAnEmptyLogin()
    {
        Fixture f;
        f.store("VELMORA");
        f.showLogin();
        QTest::keyClicks(f.login.txtPassword, QStringLiteral("typed"));
        QTest::mouseClick(f.login.btnCambiaPassword, Qt::LeftButton);
        QVERIFY(!f.login.isVisible());
        QVERIFY(f.change.isVisible());
        QVERIFY(!f.change.cmdOK->isEnabled());
        f.changeTo(QStringLiteral("velmora"), QStringLiteral(" nuova "), QStringLiteral("nuova"));
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Modifica della password avvenuta con successo."));
        QCOMPARE(f.stored(), std::string("NUOVA"));
        QVERIFY(!f.change.isVisible());
        QVERIFY(f.login.isVisible());
        QCOMPARE(f.login.txtPassword->text(), QString());
        QTRY_VERIFY(f.login.txtPassword->hasFocus());
        // The other lines of the store are kept.
        QVERIFY(f.t.bytes(kPasswordStore).startsWith("[Accesso]"));
    }

    void changeRejectsWrongOldAndUnconfirmedNew()
    {
        Fixture f;
        f.store("VELMORA");
        f.change.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.change));
        f.changeTo(QStringLiteral("sbagliata"), QStringLiteral("a"), QStringLiteral("a"));
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Attenzione: vecchia password errata."));
        QCOMPARE(f.change.txtPasswordOld->text(), QString());
        // Confirmation differing only in letter case is not a confirmation.
        f.changeTo(QStringLiteral("velmora"), QStringLiteral("Nuova"), QStringLiteral("nuova"));
        QCOMPARE(f.t.messages.lastText(),
                 QStringLiteral("Attenzione: la nuova password non è stata confermata correttamente. E' necessario "
                                "reinserire entrambi i valori."));
        QCOMPARE(f.change.txtPasswordNew->text(), QString());
        QCOMPARE(f.change.txtConferma->text(), QString());
        QCOMPARE(f.change.txtPasswordOld->text(), QStringLiteral("velmora"));
        QCOMPARE(f.stored(), std::string("VELMORA"));
    }

    void longestPasswordIsStoredAndAccepted()
    {
        Fixture f;
        f.store("VELMORA");
        f.change.show();
        const QString longest(230, QLatin1Char('k'));
        f.changeTo(QStringLiteral("velmora"), longest, longest);
        const std::string hex = SettingsFile(f.t.file(kPasswordStore)).read(kPasswordSection, kPasswordKey);
        QCOMPARE(hex.size(), std::size_t(460));
        f.login.txtPassword->setText(longest);
        QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.navigator.startShown, 1);
    }

    void changeEnterChainAndShowResets()
    {
        Fixture f;
        f.change.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.change));
        f.change.activateWindow();
        QTRY_VERIFY(f.change.txtPasswordOld->hasFocus());
        QTest::keyClick(f.change.txtPasswordOld, Qt::Key_Return);
        QTRY_VERIFY(f.change.txtPasswordNew->hasFocus());
        QTest::keyClick(f.change.txtPasswordNew, Qt::Key_Return);
        QTRY_VERIFY(f.change.txtConferma->hasFocus());
        // With OK disabled, Enter leads back to the old password.
        QTest::keyClick(f.change.txtConferma, Qt::Key_Return);
        QTRY_VERIFY(f.change.txtPasswordOld->hasFocus());
        f.change.txtPasswordOld->setText(QStringLiteral("a"));
        f.change.txtPasswordNew->setText(QStringLiteral("b"));
        f.change.txtConferma->setText(QStringLiteral("b"));
        f.change.txtConferma->setFocus();
        QTest::keyClick(f.change.txtConferma, Qt::Key_Return);
        QTRY_VERIFY(f.change.cmdOK->hasFocus());
        QVERIFY(f.t.messages.shown.empty()); // focused, not clicked
        f.change.hide();
        f.change.show();
        QCOMPARE(f.change.txtPasswordOld->text(), QString());
        QCOMPARE(f.change.txtConferma->text(), QString());
    }

    // A store that is no file, or is absurdly large, is refused at once by both screens with
    // their own message (no wait, no text of the system) and left as it is.
    void storeThatIsNoFileIsRefusedAtOnce()
    {
        const QString reading =
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di lettura della password. "
                           "Si consiglia di reinstallare il software.");
        const QString changing =
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                           "Si consiglia di reinstallare il software.");
        for (const char *kind : {"fifo", "folder", "huge"}) {
            Fixture f;
            const std::filesystem::path store = f.t.file(kPasswordStore);
            const std::string what = kind;
            if (what == "fifo")
                QCOMPARE(::mkfifo(store.c_str(), 0660), 0);
            else if (what == "folder")
                QVERIFY(std::filesystem::create_directory(store));
            else {
                f.store("VELMORA");
                std::filesystem::resize_file(store, std::uintmax_t{4} << 30);
            }
            const auto type = std::filesystem::symlink_status(store).type();
            f.showLogin();
            QTest::keyClicks(f.login.txtPassword, QStringLiteral("velmora"));
            QTest::mouseClick(f.login.cmdOK, Qt::LeftButton);
            QCOMPARE(f.t.messages.lastText(), reading);
            QCOMPARE(f.t.navigator.startShown, 0);
            f.change.show();
            f.changeTo(QStringLiteral("velmora"), QStringLiteral("nuova"), QStringLiteral("nuova"));
            QCOMPARE(f.t.messages.lastText(), changing);
            QCOMPARE(f.t.messages.shown.size(), std::size_t(2));
            QVERIFY(f.change.isVisible());
            QCOMPARE(std::filesystem::symlink_status(store).type(), type);
        }
    }

    // Greek letters cannot be stored: each password box refuses them as they are typed, with
    // one message naming the first, and keeps what it held.
    void greekPasswordIsRefusedNamingTheCharacter()
    {
        Fixture f;
        f.store("VELMORA");
        const QString named = QStringLiteral("Il carattere «Ω» non può essere memorizzato negli archivi.");
        f.showLogin();
        test::typeText(f.login.txtPassword, QStringLiteral("Ωμέγα"));
        QTRY_COMPARE(f.t.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.t.messages.lastText(), named);
        QCOMPARE(f.login.txtPassword->text(), QString());
        QVERIFY(!f.login.cmdOK->isEnabled());

        f.change.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.change));
        for (TextBox *box : {f.change.txtPasswordOld, f.change.txtPasswordNew, f.change.txtConferma}) {
            f.t.messages.clear();
            box->setFocus();
            QTest::keyClicks(box, QStringLiteral("ab"));
            test::typeText(box, QStringLiteral("Ωμέγα"));
            QTRY_COMPARE(f.t.messages.shown.size(), std::size_t(1));
            QCOMPARE(f.t.messages.lastText(), named);
            QCOMPARE(box->text(), QStringLiteral("ab"));
        }
        QCOMPARE(f.stored(), std::string("VELMORA"));
    }

    // Another workstation holds the folder beyond the wait: the change says so and writes nothing;
    // once it is free the same change goes through.
    void folderInUseElsewhereIsToldAndChangesNothing()
    {
        Fixture f;
        f.store("VELMORA");
        const QByteArray before = f.t.bytes(kPasswordStore);
        f.change.show();
        {
            const test::ShortLockWait shortWait;
            test::LockHolder other(f.t.services.folder);
            QVERIFY(other.held());
            f.changeTo(QStringLiteral("velmora"), QStringLiteral("nuova"), QStringLiteral("nuova"));
        }
        QCOMPARE(f.t.messages.lastText(), archiveBusyMessage());
        QCOMPARE(f.t.bytes(kPasswordStore), before);
        QVERIFY(f.change.isVisible());
        QCOMPARE(f.change.txtPasswordNew->text(), QStringLiteral("nuova"));
        QTest::mouseClick(f.change.cmdOK, Qt::LeftButton);
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Modifica della password avvenuta con successo."));
        QCOMPARE(f.stored(), std::string("NUOVA"));
    }

    // The whole change with the keyboard: Enter walks to OK, and Enter there presses it.
    void changeByKeyboardAlone()
    {
        Fixture f;
        f.store("VECCHIA");
        f.change.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.change));
        f.change.activateWindow();
        QTRY_VERIFY(f.change.txtPasswordOld->hasFocus());
        QTest::keyClicks(f.change.txtPasswordOld, QStringLiteral("vecchia"));
        QTest::keyClick(f.change.txtPasswordOld, Qt::Key_Return);
        QTest::keyClicks(f.change.txtPasswordNew, QStringLiteral("nuova"));
        QTest::keyClick(f.change.txtPasswordNew, Qt::Key_Return);
        QTest::keyClicks(f.change.txtConferma, QStringLiteral("nuova"));
        QTest::keyClick(f.change.txtConferma, Qt::Key_Return);
        QTRY_VERIFY(f.change.cmdOK->hasFocus());
        QTest::keyClick(f.change.cmdOK, Qt::Key_Return);
        QCOMPARE(f.t.messages.lastText(), QStringLiteral("Modifica della password avvenuta con successo."));
        QCOMPARE(f.stored(), std::string("NUOVA"));
        QVERIFY(!f.change.isVisible());
    }

    void unwritableStoreKeepsTheOldPassword()
    {
        Fixture f;
        f.store("VELMORA");
        // A limit on the size of written files makes the write fail, even for the superuser.
        ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit saved
        {
        };
        ::getrlimit(RLIMIT_FSIZE, &saved);
        struct rlimit tiny = saved;
        tiny.rlim_cur = 4;
        QCOMPARE(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
        f.change.show();
        f.changeTo(QStringLiteral("velmora"), QStringLiteral("b"), QStringLiteral("b"));
        ::setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(
            f.t.messages.lastText(),
            QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della password. "
                           "Si consiglia di reinstallare il software."));
        QCOMPARE(f.stored(), std::string("VELMORA"));
        QVERIFY(f.change.isVisible());
    }
};

QTEST_MAIN(TestLogin)
#include "test_login.moc"
