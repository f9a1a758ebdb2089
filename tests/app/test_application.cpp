#include <stdexcept>

#include <QPushButton>
#include <QTest>

#include "app/application.h"
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
        static_cast<VelmoraApplication *>(qApp)->setMessages(nullptr);
    }
};

int main(int argc, char **argv)
{
    VelmoraApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
