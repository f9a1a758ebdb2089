#include "common/widgets.h"
#include "common/fonts.h"

#include <QDialog>

#include <array>
#include <utility>

#include <QAccessible>
#include <QAccessibleWidget>
#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QValidator>

#include "common/services.h"
#include "common/text.h"

namespace velmora {

std::string toAnsi(const QString &text)
{
    return utf8ToCp1252(text.toStdString());
}

QString fromAnsi(std::string_view bytes)
{
    // Every Windows-1252 character is one UTF-16 unit: long lists convert through a table.
    static const std::array<char16_t, 256> units = [] {
        std::array<char16_t, 256> table{};
        for (std::size_t b = 0; b < table.size(); ++b)
            table[b] = static_cast<char16_t>(cp1252CodePoint(static_cast<unsigned char>(b)));
        return table;
    }();
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char c : bytes)
        *out++ = QChar(units[static_cast<unsigned char>(c)]);
    return text;
}

QString unstorableCharacter(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            return text.mid(i, 2); // past U+FFFF: never a byte of the code page
        }
        if (!isCp1252Character(c.unicode()))
            return QString(c);
    }
    return {};
}

QString unstorableMessage(const QString &character)
{
    return QStringLiteral("Il carattere «%1» non può essere memorizzato negli archivi.").arg(character);
}

namespace {

qsizetype unstorableCount(const QString &text)
{
    qsizetype n = 0;
    for (const QChar c : text)
        if (!isCp1252Character(c.unicode()))
            ++n;
    return n;
}

// The first character the archives cannot hold that text brings in beyond before.
QString addedUnstorable(const QString &text, const QString &before)
{
    for (qsizetype i = 0; i < text.size();) {
        const QString one = unstorableCharacter(text.mid(i));
        if (one.isEmpty())
            break;
        if (!before.contains(one))
            return one;
        i = text.indexOf(one, i) + one.size();
    }
    return unstorableCharacter(text);
}

// Refuses an edit of a line box that brings in a character the archives cannot hold. It judges
// what the edit adds to the text last accepted, so a text the program placed can still be
// edited. The box puts its text back after asking; the message follows once it has.
class StorableOnly final : public QValidator
{
public:
    StorableOnly(QLineEdit *box, MessageService *messages) : QValidator(box), m_box(box), m_messages(messages)
    {
        m_accepted = box->text();
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) {
            m_accepted = text;
            // The text a refused edit would have given arrived all the same: the program set it.
            if (text == m_refusedText)
                m_refused.clear();
        });
    }

    State validate(QString &input, int &) const override
    {
        if (unstorableCount(input) <= unstorableCount(m_accepted))
            return Acceptable;
        if (m_refused.isEmpty()) {
            m_refused = addedUnstorable(input, m_accepted);
            m_refusedText = input;
            QMetaObject::invokeMethod(
                const_cast<StorableOnly *>(this),
                [this] {
                    const QString refused = std::exchange(m_refused, QString());
                    m_refusedText.clear();
                    if (!refused.isEmpty())
                        m_messages->plain(m_box->window(), unstorableMessage(refused));
                },
                Qt::QueuedConnection);
        }
        return Invalid;
    }

private:
    QLineEdit *m_box;
    MessageService *m_messages;
    QString m_accepted;
    mutable QString m_refused;     // the character waiting to be named
    mutable QString m_refusedText; // the text the refused edit would have given
};

} // namespace

QChar keyChar(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Backspace:
        return QChar(8);
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return QChar();
    const QString t = event->text();
    if (t.size() == 1 && t.at(0).isPrint())
        return t.at(0);
    return QChar();
}

namespace {

class CentreOnShow final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Show comes before the window is mapped, so it appears in place.
        if (event->type() == QEvent::Show) {
            auto *window = static_cast<QWidget *>(watched);
            if (const QScreen *screen = window->screen())
                window->move(screen->availableGeometry().center() - window->rect().center());
        }
        return false;
    }
};

} // namespace

void centreWhenShown(QWidget *window)
{
    window->installEventFilter(new CentreOnShow(window));
}

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Base, colour);
    p.setColor(QPalette::Window, colour);
    widget->setPalette(p);
}

namespace {

// Runs the key hook; true when the key event should reach the box.
bool runKeyHooks(BoxHooks &hooks, QKeyEvent *event, bool *enterPressed)
{
    QChar key = keyChar(event);
    *enterPressed = false;
    if (key.isNull())
        return true;
    if (hooks.onKeyPress)
        hooks.onKeyPress(key);
    if (key.isNull())
        return false;
    if (key.unicode() == 13) {
        *enterPressed = true;
        return false;
    }
    return true;
}

} // namespace

bool keys::isCommandKey(const QKeyEvent *event)
{
    const QKeySequence pressed(event->keyCombination());
    for (const QKeySequence &command :
         {help(), save(), newCard(), print(), exportTo(), previous(), next(), first(), last()})
        if (pressed == command)
            return true;
    return false;
}

namespace {

// A box would keep some command keys for itself (Ctrl+Home, Ctrl+E move the cursor): the
// window's command takes them instead, and where the window has none the box still gets them.
bool yieldsToCommand(QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride || !keys::isCommandKey(static_cast<QKeyEvent *>(event)))
        return false;
    event->ignore();
    return true;
}

} // namespace

TextBox::TextBox(QWidget *parent, const QColor &resting) : QLineEdit(parent)
{
    setResting(resting);
    // A long value placed by the program (a card loaded) shows its beginning, not its end; in
    // the box being edited the cursor stays at the end, where the user goes on.
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (m_ownEvents == 0 && !hasFocus())
            setCursorPosition(0);
    });
}

bool TextBox::event(QEvent *event)
{
    if (yieldsToCommand(event))
        return true;
    ++m_ownEvents;
    const bool handled = QLineEdit::event(event);
    --m_ownEvents;
    return handled;
}

void TextBox::setResting(const QColor &colour)
{
    hooks.resting = colour;
    if (!hasFocus())
        setBackground(this, colour);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    setBackground(this, colours::focus);
    QLineEdit::focusInEvent(event);
    if (hooks.onEnter)
        hooks.onEnter();
}

void TextBox::focusOutEvent(QFocusEvent *event)
{
    setBackground(this, hooks.resting);
    QLineEdit::focusOutEvent(event);
    if (hooks.onExit)
        hooks.onExit();
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (hooks.pasteAsTyping && hooks.onKeyPress && event->matches(QKeySequence::Paste)) {
        const QString pasted = QGuiApplication::clipboard()->text();
        for (const QChar c : pasted) {
            QChar key = c;
            hooks.onKeyPress(key);
            if (key.isNull())
                return;
        }
    }
    bool enter = false;
    if (!runKeyHooks(hooks, event, &enter)) {
        if (enter) {
            emit returnPressed();
            if (hooks.enterNext)
                hooks.enterNext->setFocus(Qt::TabFocusReason);
        }
        return;
    }
    QLineEdit::keyPressEvent(event);
}

MemoBox::MemoBox(QWidget *parent, const QColor &resting) : QPlainTextEdit(parent)
{
    hooks.resting = resting;
    paintBackground(resting);
    setTabChangesFocus(true);
}

void MemoBox::paintBackground(const QColor &colour)
{
    setBackground(this, colour);
    // Under a style sheet the text area keeps the palette it was polished with: it is given the
    // colour itself.
    setBackground(viewport(), colour);
}

bool MemoBox::event(QEvent *event)
{
    if (yieldsToCommand(event))
        return true;
    return QPlainTextEdit::event(event);
}

void MemoBox::focusInEvent(QFocusEvent *event)
{
    paintBackground(colours::focus);
    QPlainTextEdit::focusInEvent(event);
    if (hooks.onEnter)
        hooks.onEnter();
}

void MemoBox::focusOutEvent(QFocusEvent *event)
{
    paintBackground(hooks.resting);
    QPlainTextEdit::focusOutEvent(event);
    if (hooks.onExit)
        hooks.onExit();
}

bool MemoBox::refusesUnstorable(const QString &text)
{
    if (!storableMessages)
        return false;
    const QString refused = unstorableCharacter(text);
    if (refused.isEmpty())
        return false;
    storableMessages->plain(window(), unstorableMessage(refused));
    return true;
}

void MemoBox::inputMethodEvent(QInputMethodEvent *event)
{
    if (refusesUnstorable(event->commitString())) {
        // The composition ends without its text.
        QInputMethodEvent none;
        QPlainTextEdit::inputMethodEvent(&none);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void MemoBox::insertFromMimeData(const QMimeData *source)
{
    // Every paste, drop and middle-button paste comes here.
    if (source && source->hasText() && refusesUnstorable(source->text()))
        return;
    QPlainTextEdit::insertFromMimeData(source);
}

void MemoBox::keyPressEvent(QKeyEvent *event)
{
    if (refusesUnstorable(event->text()))
        return;
    bool enter = false;
    if (!runKeyHooks(hooks, event, &enter)) {
        if (enter) {
            if (hooks.enterNext)
                hooks.enterNext->setFocus(Qt::TabFocusReason);
            if (!swallowEnter)
                QPlainTextEdit::keyPressEvent(event);
        }
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void keepStorable(TextBox *box, MessageService *messages)
{
    box->setValidator(new StorableOnly(box, messages));
}

void keepStorable(MemoBox *box, MessageService *messages)
{
    box->storableMessages = messages;
}

void setEnterChain(const std::vector<QWidget *> &boxes)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QWidget *next = boxes[(i + 1) % boxes.size()];
        if (auto *t = qobject_cast<TextBox *>(boxes[i]))
            t->hooks.enterNext = next;
        else if (auto *m = qobject_cast<MemoBox *>(boxes[i]))
            m->hooks.enterNext = next;
    }
}

namespace {

// How a screen reader sees an icon: a push button with a press action and its shortcut.
class IconAccessible final : public QAccessibleWidget
{
public:
    explicit IconAccessible(IconButton *icon) : QAccessibleWidget(icon, QAccessible::Button) {}

    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction())
            icon()->press();
        else
            QAccessibleWidget::doAction(actionName);
    }

    QStringList keyBindingsForAction(const QString &actionName) const override
    {
        if (actionName == pressAction() && !icon()->shortcut().isEmpty())
            return {icon()->shortcut().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

    QString text(QAccessible::Text t) const override
    {
        const QString own = QAccessibleWidget::text(t);
        // A caption-like icon is named by the words it shows.
        if (t == QAccessible::Name && own.isEmpty())
            return icon()->text();
        return own;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = icon()->focusPolicy() != Qt::NoFocus;
        return s;
    }

private:
    IconButton *icon() const { return static_cast<IconButton *>(widget()); }
};

QAccessibleInterface *iconAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String(IconButton::staticMetaObject.className()) && object && object->isWidgetType())
        return new IconAccessible(static_cast<IconButton *>(object));
    return nullptr;
}

// Presses the focused push button on Enter; every other key goes its way.
class EnterPressesButtons final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        auto *button = qobject_cast<QPushButton *>(watched);
        if (!button || !button->hasFocus() || !button->isEnabled())
            return false;
        if (!key->isAutoRepeat())
            button->click();
        return true;
    }
};

// Every window of the program, whichever screen made the button.
void pressButtonsWithEnter()
{
    QCoreApplication *application = QCoreApplication::instance();
    application->installEventFilter(new EnterPressesButtons(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(pressButtonsWithEnter)

IconButton::IconButton(const QString &name, const QString &description, QWidget *parent, Trigger trigger)
    : QLabel(parent), m_trigger(trigger)
{
    static const bool accessible = [] {
        QAccessible::installFactory(iconAccessible);
        return true;
    }();
    (void)accessible;
    setObjectName(name);
    // Tab reaches it; a click leaves the focus where it is.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setDescription(description);
}

void IconButton::setDescription(const QString &description)
{
    m_description = description;
    setAccessibleDescription(description.trimmed());
}

void IconButton::setShortcut(const QKeySequence &keys)
{
    if (!m_shortcut) {
        m_shortcut = new QShortcut(this);
        m_shortcut->setContext(Qt::WindowShortcut);
        connect(m_shortcut, &QShortcut::activated, this, &IconButton::press);
    }
    m_shortcut->setKey(keys);
}

QKeySequence IconButton::shortcut() const
{
    return m_shortcut ? m_shortcut->key() : QKeySequence();
}

void IconButton::setTwinOf(IconButton *main)
{
    setFocusPolicy(Qt::NoFocus);
    m_main = main;
    main->m_twins.emplace_back(this);
}

void IconButton::press()
{
    if (isEnabled())
        emit activated();
}

void IconButton::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    event->accept();
}

void IconButton::mouseReleaseEvent(QMouseEvent *event)
{
    const bool wasPressed = m_pressed;
    m_pressed = false;
    event->accept();
    if (!isEnabled())
        return;
    if (m_trigger == Trigger::MouseUp) {
        emit activated();
        return;
    }
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated();
}

void IconButton::mouseMoveEvent(QMouseEvent *event)
{
    // Accepted here so the surface beneath does not clear the description again.
    emit hovered(m_description);
    event->accept();
}

void IconButton::enterEvent(QEnterEvent *event)
{
    emit hovered(m_description);
    QLabel::enterEvent(event);
}

void IconButton::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        if (!event->isAutoRepeat())
            press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void IconButton::focusInEvent(QFocusEvent *event)
{
    QLabel::focusInEvent(event);
    // What the pointer would tell, the keyboard's Tab tells too (not a window that opens).
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        emit hovered(m_description);
    update();
    for (const QPointer<IconButton> &twin : m_twins)
        if (twin)
            twin->update();
}

void IconButton::focusOutEvent(QFocusEvent *event)
{
    QLabel::focusOutEvent(event);
    update();
    for (const QPointer<IconButton> &twin : m_twins)
        if (twin)
            twin->update();
}

bool IconButton::showsFocus() const
{
    return hasFocus() || (m_main && m_main->hasFocus());
}

void IconButton::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!showsFocus())
        return;
    // A dark edge with a yellow band inside: seen on white and on dark pictures alike.
    QPainter p(this);
    const QRect r = rect();
    p.setPen(QPen(colours::navy, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(QColor(255, 200, 0), 2));
    p.drawRect(QRectF(r).adjusted(2, 2, -2, -2));
}

void setUpDialog(QDialog *dialog, const QString &name, const QString &caption, const QSize &size)
{
    dialog->setObjectName(name);
    dialog->setWindowTitle(caption);
    dialog->setWindowFlags(dialog->windowFlags() & ~Qt::WindowMaximizeButtonHint);
    dialog->setFixedSize(size);
    dialog->setAutoFillBackground(true);
    setBackground(dialog, colours::silver);
}

QLabel *dialogText(QWidget *parent, const char *name, const QString &content, const QRect &geometry, bool wrap)
{
    auto *label = new QLabel(content, parent);
    label->setObjectName(QLatin1String(name));
    QFont f(fonts::text());
    f.setPixelSize(11);
    label->setFont(f);
    label->setWordWrap(wrap);
    label->setGeometry(geometry);
    return label;
}

void makeFindRow(QWidget *parent, TextBox *&box, QPushButton *&button, const QRect &boxGeometry,
                 const QRect &buttonGeometry)
{
    box = new TextBox(parent, colours::white);
    box->setObjectName(QStringLiteral("txtTrova"));
    box->setGeometry(boxGeometry);
    button = new QPushButton(QStringLiteral("Trova"), parent);
    button->setObjectName(QStringLiteral("cmdTrova02"));
    button->setGeometry(buttonGeometry);
}

QSize pictureSize(const QLabel *label)
{
    return label->pixmap().deviceIndependentSize().toSize();
}

QLabel *hiddenLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->hide();
    return label;
}

} // namespace velmora
