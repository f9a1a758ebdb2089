#include <new>
#include <stdexcept>

#include <QPushButton>
#include <QScreen>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/application.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmhelpform.h"
#include "app/tfrminfo.h"
#include "app/tfrmpassword.h"
#include "app/tfrmsplash.h"
#include "bills/lockholder.h"
#include "support/fakes.h"

// Anything thrown from an event handler reaches one handler, which shows its message in a
// plain box titled "Velmora"; the program keeps running.
class TestApplication : public QObject
{
    Q_OBJECT

private slots:
    void escapedErrorIsShownAndTheProgramGoesOn()
    {
        velmora::test::FakeMessages messages;
        static_cast<VelmoraApplication *>(qApp)->setMessages(&messages);
        QPushButton button;
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            if (++clicks == 1)
                throw std::runtime_error("Stampante non disponibile.");
        });
        button.show();
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(messages.shown.size(), std::size_t(1));
        QCOMPARE(messages.lastTitle(), QStringLiteral("Velmora"));
        QCOMPARE(messages.lastText(), QStringLiteral("Stampante non disponibile."));
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicks, 2);
        QCOMPARE(messages.shown.size(), std::size_t(1));
        // Memory running out is told in Italian, not in the system's words.
        QObject::connect(&button, &QPushButton::clicked, [] { throw std::bad_alloc(); });
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(messages.shown.size(), std::size_t(2));
        QCOMPARE(messages.lastText(), QStringLiteral("Attenzione: memoria insufficiente per completare l'operazione."));
        static_cast<VelmoraApplication *>(qApp)->setMessages(nullptr);
    }

    // Captions are shown as the screens give them: the application sets no display name, which
    // the platform would append to each ("… — Velmora"). Windows carry the program's icon and
    // the desktop entry's name, so docks tie them to the entry.
    void windowsCarryTheirOwnCaptionIconAndEntry()
    {
        // Unset, the display name follows the application name.
        QCOMPARE(QGuiApplication::applicationDisplayName(), QStringLiteral("Velmora"));
        QCoreApplication::setApplicationName(QStringLiteral("Prova"));
        const QString followed = QGuiApplication::applicationDisplayName();
        QCoreApplication::setApplicationName(QStringLiteral("Velmora"));
        QCOMPARE(followed, QStringLiteral("Prova"));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("it.velmora.Velmora"));
        QVERIFY(!QGuiApplication::windowIcon().isNull());
        QVERIFY(QGuiApplication::windowIcon().availableSizes().contains(QSize(64, 64)));
    }

    // A lock that waited in vain makes the rest of that user action give up at once; once the
    // program waits for the user again, the next action may wait anew.
    void eachWaitForTheUserBeginsANewAction()
    {
        QTemporaryDir folder;
        const std::filesystem::path path = folder.path().toStdString();
        const velmora::test::ShortLockWait shortWait(std::chrono::milliseconds(20));
        velmora::test::LockHolder other(path);
        QVERIFY(other.held());
        QVERIFY(!velmora::FolderLock(path));
        QVERIFY(velmora::FolderLock::busyInAction());
        QEventLoop idle;
        QTimer::singleShot(30, &idle, &QEventLoop::quit);
        idle.exec();
        QVERIFY(!velmora::FolderLock::busyInAction());
    }

    void loginInformationAndSplashAreCentred()
    {
        velmora::test::TestServices t;
        TfrmPassword login(t.services);
        TfrmCambiaPassword change(t.services);
        TfrmInfo info(t.services);
        TfrmSplash splash(t.services);
        TfrmHelpForm help(t.services);
        for (QWidget *window : std::initializer_list<QWidget *>{&login, &change, &info, &splash, &help}) {
            window->move(0, 0);
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QPoint centre = window->screen()->availableGeometry().center();
            const QPoint at = window->geometry().center();
            QVERIFY2((at - centre).manhattanLength() <= 4, qPrintable(QStringLiteral("%1 centred at %2,%3 on %4,%5")
                                                                          .arg(window->objectName())
                                                                          .arg(at.x())
                                                                          .arg(at.y())
                                                                          .arg(centre.x())
                                                                          .arg(centre.y())));
            window->hide();
        }
    }
};

int main(int argc, char **argv)
{
    VelmoraApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
