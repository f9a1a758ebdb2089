#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QGroupBox>
#include <QTest>

#include "common/text.h"
#include "common/widgets.h"
#include "common/workingscreen.h"
#include "support/fakes.h"

using namespace velmora;

namespace {

// Counts the presses of one key that reach a widget.
class KeySeen final : public QObject
{
public:
    KeySeen(int key, int *count) : m_key(key), m_count(count) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == m_key)
            ++*m_count;
        return false;
    }

private:
    int m_key;
    int *m_count;
};

} // namespace

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

    // The notes box shows the focus colour where its text is, as the one-line boxes do.
    void theNotesBoxIsPaintedYellowWhileItHasTheFocus()
    {
        // Inside a container drawn by a style sheet, as on every working screen.
        QWidget w;
        w.resize(300, 200);
        auto *g = new QGroupBox(&w);
        g->setObjectName(QStringLiteral("grpContainer"));
        g->setGeometry(0, 0, 300, 200);
        g->setStyleSheet(QStringLiteral("QGroupBox#grpContainer { background: white; border: 1px solid #8080a0; }"));
        auto *other = new TextBox(g);
        auto *memo = new MemoBox(g);
        memo->setGeometry(0, 40, 200, 120);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const auto inside = [memo] { return memo->grab().toImage().pixelColor(100, 60); };
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(inside(), colours::moneyGreen);
        memo->setFocus();
        QTRY_VERIFY(memo->hasFocus());
        QCOMPARE(inside(), colours::focus);
        other->setFocus();
        QTRY_VERIFY(other->hasFocus());
        QCOMPARE(inside(), colours::moneyGreen);
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

    void iconClickLeavesTheFocusAndActsOnMouseUpOfAnyButton()
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
        QCOMPARE(up->accessibleDescription(), QStringLiteral("Salva la scheda."));
        QCOMPARE(up->cursor().shape(), Qt::PointingHandCursor);
    }

    // Tab reaches every icon but a twin caption, the focus shows, and Enter or Space runs it.
    void iconsAreReachedWithTabAndRunWithEnterOrSpace()
    {
        QWidget w;
        auto *box = new TextBox(&w);
        auto *click = new IconButton(QStringLiteral("imgNuovo"), QStringLiteral(" Nuova scheda."), &w);
        auto *caption = new IconButton(QStringLiteral("lblNuovo"), QStringLiteral(" Nuova scheda."), &w);
        caption->setTwinOf(click);
        caption->setText(QStringLiteral("Nuovo"));
        auto *up = new IconButton(QStringLiteral("imgSalva"), QStringLiteral(" Salva."), &w,
                                  IconButton::Trigger::MouseUp);
        auto *button = new QPushButton(QStringLiteral("OK"), &w);
        QPixmap plate(40, 40);
        plate.fill(Qt::white);
        for (IconButton *icon : {click, up})
            icon->setPixmap(plate);
        click->setGeometry(100, 0, 40, 40);
        caption->setGeometry(100, 42, 40, 16);
        up->setGeometry(150, 0, 40, 40);
        button->setGeometry(200, 0, 60, 30);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QSignalSpy clicks(click, &IconButton::activated);
        QSignalSpy ups(up, &IconButton::activated);
        QSignalSpy captions(caption, &IconButton::activated);
        QSignalSpy pressed(button, &QPushButton::clicked);
        const QImage restingIcon = click->grab().toImage();
        const QImage restingCaption = caption->grab().toImage();

        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_Tab);
        QTRY_VERIFY(click->hasFocus());
        QVERIFY(click->grab().toImage() != restingIcon);
        QVERIFY(caption->grab().toImage() != restingCaption);
        QTest::keyClick(click, Qt::Key_Return);
        QTest::keyClick(click, Qt::Key_Space);
        QTest::keyClick(click, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(clicks.count(), 3);
        QTest::keyClick(click, Qt::Key_Return, Qt::ControlModifier); // not a press
        QCOMPARE(clicks.count(), 3);
        QTest::keyClick(click, Qt::Key_Tab);
        QTRY_VERIFY(up->hasFocus());
        QCOMPARE(click->grab().toImage(), restingIcon);
        QTest::keyClick(up, Qt::Key_Space);
        QCOMPARE(ups.count(), 1);
        QTest::keyClick(up, Qt::Key_Tab);
        QTRY_VERIFY(button->hasFocus());
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(captions.count(), 0);
        QCOMPARE(clicks.count(), 3);

        // A screen reader presses it as a click does, and is told its key.
        up->setShortcut(keys::save());
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(up);
        QCOMPARE(reader->role(), QAccessible::Button);
        QCOMPARE(reader->text(QAccessible::Description), QStringLiteral("Salva."));
        QAccessibleActionInterface *actions = reader->actionInterface();
        QVERIFY(actions);
        actions->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(ups.count(), 2);
        QCOMPARE(actions->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
                 QStringList{keys::save().toString(QKeySequence::NativeText)});
        QCOMPARE(QAccessible::queryAccessibleInterface(caption)->text(QAccessible::Name), QStringLiteral("Nuovo"));

        // A click still leaves the focus where it was.
        box->setFocus();
        QTest::mouseClick(click, Qt::LeftButton);
        QCOMPARE(clicks.count(), 4);
        QVERIFY(box->hasFocus());
    }

    // A box gives the window's command keys to their commands, and keeps them where there are none.
    void commandKeysReachTheirCommandFromABox()
    {
        QWidget w;
        auto *box = new TextBox(&w);
        auto *first = new IconButton(QStringLiteral("imgPrimo"), QStringLiteral(" Prima."), &w);
        first->setGeometry(100, 0, 40, 40);
        first->setShortcut(keys::first());
        QSignalSpy firsts(first, &IconButton::activated);
        QWidget other;
        auto *plain = new TextBox(&other);
        for (QWidget *window : {&w, &other}) {
            window->show();
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
        }
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("abc"));
        QTest::keyClick(box, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(firsts.count(), 1);
        QCOMPARE(box->cursorPosition(), 3);

        // Where no command has the key, the box receives it as before.
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        plain->setFocus();
        int delivered = 0;
        KeySeen seen(Qt::Key_Home, &delivered);
        plain->installEventFilter(&seen);
        QTest::keyClick(plain, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(delivered, 1);
        QCOMPARE(firsts.count(), 1);
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
        auto *box = new TextBox(screen.grpContainer);
        box->setGeometry(10, 60, 100, 20);
        screen.resize(1100, 800);
        screen.show();
        QVERIFY(QTest::qWaitForWindowExposed(&screen));
        QTest::mouseMove(icon, QPoint(5, 5));
        QTRY_COMPARE(screen.panInfo->text(), QStringLiteral(" Trova una scheda in archivio."));
        QTest::mouseMove(screen.grpContainer, QPoint(500, 300));
        QTRY_COMPARE(screen.panInfo->text(), QString());
        // The keyboard's focus tells what the pointer would.
        screen.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());
        screen.panInfo->clear();
        QTest::keyClick(box, Qt::Key_Tab);
        QTRY_VERIFY(icon->hasFocus());
        QTRY_COMPARE(screen.panInfo->text(), QStringLiteral(" Trova una scheda in archivio."));
    }

    void screenTextsConvertEveryByteOfTheCodePage()
    {
        // Characters an independent reader gives for a few bytes, the unassigned ones included.
        const std::string bytes{'A', '\x80', '\x81', '\x8A', '\x9F', '\xA0', '\xE0', '\xFF', '\0'};
        const QString expected = QStringLiteral("A\u20AC\u0081\u0160\u0178\u00A0\u00E0\u00FF") + QChar(0);
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
        QCOMPARE(toAnsi(text), all);
        QCOMPARE(unstorableCharacter(text), QString());
    }

    void unstorableCharacterNamesTheFirstWholeCharacter()
    {
        QCOMPARE(unstorableCharacter(QStringLiteral("Łukasz")), QStringLiteral("Ł"));
        QCOMPARE(unstorableCharacter(QStringLiteral("caffè Ωμέγα")), QStringLiteral("Ω"));
        QCOMPARE(unstorableCharacter(QStringLiteral("vino \U0001F377 rosso")), QStringLiteral("\U0001F377"));
        QCOMPARE(unstorableCharacter(QStringLiteral("Gérard € \u0081")), QString());
        QCOMPARE(unstorableCharacter(QString(QChar(0xD83D))), QString(QChar(0xD83D))); // a lone half
        QCOMPARE(unstorableMessage(QStringLiteral("Ł")),
                 QStringLiteral("Il carattere «Ł» non può essere memorizzato negli archivi."));
    }

    // Typed, pasted with the keyboard or the menu's paste: the character is refused, the
    // box keeps its text and one message names the character.
    void storableBoxesRefuseWhatTheArchivesCannotHold()
    {
        test::TestServices t;
        QWidget w;
        auto *line = new TextBox(&w);
        auto *memo = new MemoBox(&w);
        auto *search = new TextBox(&w);
        memo->move(0, 40);
        search->move(0, 160);
        keepStorable(line, &t.messages);
        keepStorable(memo, &t.messages);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // Exactly one plain message, naming character.
        const auto refusedNaming = [&t](const QString &character) {
            (void)QTest::qWaitFor([&t] { return !t.messages.shown.empty(); }, 2000);
            QCoreApplication::processEvents();
            const bool one = t.messages.shown.size() == 1 &&
                             t.messages.shown.back().text == unstorableMessage(character) &&
                             t.messages.shown.back().kind == test::Message::Kind::Plain;
            if (!one)
                qWarning() << "messages:" << t.messages.shown.size() << t.messages.lastText();
            t.messages.clear();
            return one;
        };

        line->setFocus();
        QTest::keyClicks(line, QStringLiteral("Rossi"));
        test::typeText(line, QStringLiteral("Ł"));
        QVERIFY(refusedNaming(QStringLiteral("Ł")));
        QCOMPARE(line->text(), QStringLiteral("Rossi"));
        QGuiApplication::clipboard()->setText(QStringLiteral(" Ωμέγα"));
        QTest::keySequence(line, QKeySequence::Paste);
        QVERIFY(refusedNaming(QStringLiteral("Ω")));
        line->paste(); // what the context menu's paste does
        QVERIFY(refusedNaming(QStringLiteral("Ω")));
        QCOMPARE(line->text(), QStringLiteral("Rossi"));
        QGuiApplication::clipboard()->setText(QStringLiteral(" è € \u0081"));
        QTest::keySequence(line, QKeySequence::Paste);
        QCOMPARE(line->text(), QStringLiteral("Rossi è € \u0081"));
        QCOMPARE(toAnsi(line->text()), std::string("Rossi \xE8 \x80 \x81"));

        memo->setFocus();
        QTest::keyClicks(memo, QStringLiteral("Nota"));
        QTest::sendKeyEvent(QTest::Click, memo, Qt::Key_unknown, QStringLiteral("\U0001F600"), Qt::NoModifier);
        QVERIFY(refusedNaming(QStringLiteral("\U0001F600")));
        QGuiApplication::clipboard()->setText(QStringLiteral(" Жанна"));
        QTest::keySequence(memo, QKeySequence::Paste);
        QVERIFY(refusedNaming(QStringLiteral("Ж")));
        memo->paste();
        QVERIFY(refusedNaming(QStringLiteral("Ж")));
        QCOMPARE(memo->text(), QStringLiteral("Nota"));

        // A text the program placed, which the archives could not hold, can still be edited.
        line->setText(QStringLiteral("Ł"));
        QTest::keyClick(line, Qt::Key_End);
        QTest::keyClicks(line, QStringLiteral("ukasz"));
        QCOMPARE(line->text(), QStringLiteral("Łukasz"));
        QTest::keyClick(line, Qt::Key_Home);
        QTest::keyClick(line, Qt::Key_Delete);
        QCOMPARE(line->text(), QStringLiteral("ukasz"));

        // A search box keeps whatever it is given.
        search->setFocus();
        test::typeText(search, QStringLiteral("Łó"));
        QCOMPARE(search->text(), QStringLiteral("Łó"));
        QCoreApplication::processEvents();
        QCOMPARE(t.messages.lastText(), QString());
    }

    // A key handler that filters typing filters a keyboard paste too, when the box asks for it.
    void keyboardPasteCanPassTheKeyHandler()
    {
        QWidget w;
        auto *digits = new TextBox(&w);
        int refused = 0;
        digits->hooks.onKeyPress = [&refused](QChar &key) {
            if (!key.isDigit()) {
                key = QChar();
                ++refused;
            }
        };
        digits->hooks.pasteAsTyping = true;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        digits->setFocus();
        QGuiApplication::clipboard()->setText(QStringLiteral("12 34"));
        QTest::keySequence(digits, QKeySequence::Paste);
        QCOMPARE(digits->text(), QString());
        QCOMPARE(refused, 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("1234"));
        QTest::keySequence(digits, QKeySequence::Paste);
        QCOMPARE(digits->text(), QStringLiteral("1234"));
        QCOMPARE(refused, 1);
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
