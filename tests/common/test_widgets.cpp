#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "common/text.h"
#include "common/widgets.h"
#include "common/workingscreen.h"
#include "support/fakes.h"

using namespace velmora;

// Shared behaviour of the boxes, icons and working screens.
class TestWidgets : public QObject
{
    Q_OBJECT

private slots:
    void focusColourIsRestoredBeforeTheExitHandler()
    {
        QWidget w;
        auto *a = new TextBox(&w);
        auto *b = new TextBox(&w, colours::white);
        a->move(0, 0);
        b->move(0, 40);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QColor seenOnExit;
        a->hooks.onExit = [&] { seenOnExit = a->palette().color(QPalette::Base); };
        a->setFocus();
        QTRY_VERIFY(a->hasFocus());
        QCOMPARE(a->palette().color(QPalette::Base), colours::focus);
        b->setFocus();
        QTRY_VERIFY(b->hasFocus());
        QCOMPARE(seenOnExit, colours::moneyGreen);
        QCOMPARE(a->palette().color(QPalette::Base), colours::moneyGreen);
        QCOMPARE(b->palette().color(QPalette::Base), colours::focus);
    }

    void enterWalksTheChainAndWrapsAround()
    {
        QWidget w;
        auto *a = new TextBox(&w);
        auto *b = new TextBox(&w);
        auto *c = new MemoBox(&w);
        c->swallowEnter = true;
        setEnterChain({a, b, c});
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        a->setFocus();
        QTest::keyClicks(a, QStringLiteral("uno"));
        QTest::keyClick(a, Qt::Key_Return);
        QTRY_VERIFY(b->hasFocus());
        QTest::keyClick(b, Qt::Key_Enter);
        QTRY_VERIFY(c->hasFocus());
        QTest::keyClick(c, Qt::Key_Return);
        QTRY_VERIFY(a->hasFocus());
        QCOMPARE(a->text(), QStringLiteral("uno"));
        QCOMPARE(c->text(), QString()); // the notes box swallowed the Enter
    }

    void keyHookCanCancelACharacter()
    {
        QWidget w;
        auto *a = new TextBox(&w);
        a->hooks.onKeyPress = [](QChar &key) {
            if (key == QLatin1Char('x'))
                key = QChar();
        };
        w.show();
        a->setFocus();
        QTest::keyClicks(a, QStringLiteral("axbx"));
        QCOMPARE(a->text(), QStringLiteral("ab"));
        QTest::keyClick(a, Qt::Key_Backspace);
        QCOMPARE(a->text(), QStringLiteral("a"));
    }

    void iconNeverTakesFocusAndActsOnMouseUpOfAnyButton()
    {
        QWidget w;
        auto *box = new TextBox(&w);
        auto *up = new IconButton(QStringLiteral("imgSalva"), QStringLiteral(" Salva la scheda."), &w,
                                  IconButton::Trigger::MouseUp);
        auto *click = new IconButton(QStringLiteral("imgElimina"), QStringLiteral(" Elimina."), &w);
        up->setGeometry(100, 0, 40, 40);
        click->setGeometry(150, 0, 40, 40);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("7,5"));
        QSignalSpy upSpy(up, &IconButton::activated);
        QSignalSpy clickSpy(click, &IconButton::activated);
        QTest::mouseClick(up, Qt::RightButton);
        QTest::mouseClick(click, Qt::RightButton);
        QCOMPARE(upSpy.count(), 1);
        QCOMPARE(clickSpy.count(), 0);
        QTest::mouseClick(click, Qt::LeftButton);
        QCOMPARE(clickSpy.count(), 1);
        QVERIFY(box->hasFocus());
        QCOMPARE(box->text(), QStringLiteral("7,5"));
        QCOMPARE(up->accessibleName(), QStringLiteral("Salva la scheda."));
        QCOMPARE(up->cursor().shape(), Qt::PointingHandCursor);
    }

    void workingScreenCentresItsContentAndKeepsItsMinimum()
    {
        test::TestServices t;
        WorkingScreen screen(t.services, QStringLiteral("Prova"), {1030, 742, 8, 18});
        screen.resize(1280, 800);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QTRY_COMPARE(screen.grpContainer->pos(), QPoint(1280 / 2 - 995 / 2, 800 / 2 - 688 / 2));
        screen.resize(500, 400);
        QCOMPARE(screen.size(), QSize(1030, 742));
        QCOMPARE(screen.grpContainer->pos(), QPoint(1030 / 2 - 995 / 2, 742 / 2 - 688 / 2));
        QCOMPARE(centredContainerPos(1046, 778, 995, 688, 8, 18), QPoint(1046 / 2 - 497 - 8, 778 / 2 - 344 - 18));
    }

    void hoverWritesDescriptionAndBackgroundClearsIt()
    {
        test::TestServices t;
        class Screen : public WorkingScreen
        {
        public:
            using WorkingScreen::addInfoBar;
            using WorkingScreen::WorkingScreen;
        };
        Screen screen(t.services, QStringLiteral("Prova"), {1030, 742, 8, 18});
        screen.addInfoBar();
        auto *icon = new IconButton(QStringLiteral("imgTrova"), QStringLiteral(" Trova una scheda in archivio."),
                                    screen.grpContainer);
        icon->setGeometry(10, 10, 40, 40);
        screen.describe(icon);
        screen.resize(1100, 800);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QTest::mouseMove(icon, QPoint(5, 5));
        QTRY_COMPARE(screen.panInfo->text(), QStringLiteral(" Trova una scheda in archivio."));
        QTest::mouseMove(screen.grpContainer, QPoint(500, 300));
        QTRY_COMPARE(screen.panInfo->text(), QString());
    }

    void screenTextsConvertEveryByteOfTheCodePage()
    {
        // Characters an independent reader gives for a few bytes, the unassigned ones included.
        const std::string bytes{'A', '\x80', '\x81', '\x8A', '\x9F', '\xA0', '\xE0', '\xFF', '\0'};
        const QString expected = QStringLiteral("A\u20AC\uFFFD\u0160\u0178\u00A0\u00E0\u00FF") + QChar(0);
        QCOMPARE(fromAnsi(bytes), expected);
        QCOMPARE(fromAnsi(std::string()), QString());
        // Every byte alone and all of them together, there and back.
        std::string all;
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, static_cast<char>(b));
            QCOMPARE(fromAnsi(one), QString::fromStdString(velmora::cp1252ToUtf8(one)));
            all += one;
        }
        const QString text = fromAnsi(all);
        QCOMPARE(text.size(), 256);
        for (const unsigned char unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
            all[unassigned] = '?';
        QCOMPARE(toAnsi(text), all);
    }

    void closingAWorkingScreenReturnsToStart()
    {
        test::TestServices t;
        WorkingScreen screen(t.services, QStringLiteral("Prova"), {1030, 742, 8, 18});
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        screen.close();
        QCOMPARE(t.navigator.startShown, 1);
        QVERIFY(!screen.isVisible());
    }
};

QTEST_MAIN(TestWidgets)
#include "test_widgets.moc"
