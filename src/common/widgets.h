#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <QColor>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>

// The small controls every screen is built from.
class QDialog;
class QPushButton;

namespace velmora {

namespace colours {
inline const QColor moneyGreen{192, 220, 192};
inline const QColor focus{255, 255, 0};
inline const QColor white{255, 255, 255};
inline const QColor navy{0, 0, 128};
inline const QColor maroon{128, 0, 0};
inline const QColor silver{192, 192, 192};
} // namespace colours

// Conversion at the screen boundary: the core holds Windows-1252 bytes.
std::string toAnsi(const QString &text);
QString fromAnsi(std::string_view bytes);

class MessageService;

// The first character of text that the archives' code page cannot hold, whole (both halves of
// a character past U+FFFF); empty when every character has its byte.
QString unstorableCharacter(const QString &text);
// What a box says when it refuses such a character.
QString unstorableMessage(const QString &character);

// The character a key event stands for, as the screens' key handlers see it: 13 for Enter,
// 8 for Backspace, the typed character otherwise; a null character for other keys.
QChar keyChar(const class QKeyEvent *event);

// The keys of the commands that several screens share, the same wherever the command exists.
namespace keys {
inline QKeySequence help() { return QKeySequence(Qt::Key_F1); }
inline QKeySequence save() { return QKeySequence(Qt::CTRL | Qt::Key_S); }
inline QKeySequence newCard() { return QKeySequence(Qt::CTRL | Qt::Key_N); }
inline QKeySequence print() { return QKeySequence(Qt::CTRL | Qt::Key_P); }
inline QKeySequence exportTo() { return QKeySequence(Qt::CTRL | Qt::Key_E); }
inline QKeySequence previous() { return QKeySequence(Qt::Key_PageUp); }
inline QKeySequence next() { return QKeySequence(Qt::Key_PageDown); }
inline QKeySequence first() { return QKeySequence(Qt::CTRL | Qt::Key_Home); }
inline QKeySequence last() { return QKeySequence(Qt::CTRL | Qt::Key_End); }
// Whether a key is one of them: a box that has the focus lets it through to its command.
bool isCommandKey(const class QKeyEvent *event);
} // namespace keys

// Hooks shared by the single- and multi-line boxes: colours on focus, an exit handler that
// runs after the colour is restored, a key handler that may cancel the key (by setting it to
// a null character) and the next box of the Enter chain.
struct BoxHooks
{
    QColor resting = colours::moneyGreen;
    std::function<void()> onEnter;
    std::function<void()> onExit;
    std::function<void(QChar &key)> onKeyPress;
    QWidget *enterNext = nullptr;
    // When true, text pasted with the keyboard passes the key handler character by character,
    // as if typed, and the paste is dropped at the first character the handler cancels.
    bool pasteAsTyping = false;
};

// A single-line text box.
class TextBox : public QLineEdit
{
    Q_OBJECT
public:
    explicit TextBox(QWidget *parent = nullptr, const QColor &resting = colours::moneyGreen);
    BoxHooks hooks;
    void setResting(const QColor &colour);

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Nonzero while the box handles an event of its own (the user's typing, pasting, dropping):
    // a text the program sets at any other time is shown from its start.
    int m_ownEvents = 0;
};

// A multi-line text box (notes).
class MemoBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MemoBox(QWidget *parent = nullptr, const QColor &resting = colours::moneyGreen);
    BoxHooks hooks;
    // Set by keepStorable: who is told of a refused character.
    MessageService *storableMessages = nullptr;
    // When true, Enter moves on instead of starting a new line (and the character is swallowed).
    bool swallowEnter = false;
    QString text() const { return toPlainText(); }
    void setText(const QString &t) { setPlainText(t); }

protected:
    bool event(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    bool refusesUnstorable(const QString &text);
    void paintBackground(const QColor &colour);
};

// Makes a box whose text reaches a file refuse any character the archives cannot hold, however
// it arrives (typed, pasted, dropped, from an input method): the box keeps its text and one
// plain message names the character. Search boxes do without: their keys are never stored.
void keepStorable(TextBox *box, MessageService *messages);
void keepStorable(MemoBox *box, MessageService *messages);

// Links boxes into an Enter chain, the last leading back to the first.
void setEnterChain(const std::vector<QWidget *> &boxes);

// A picture that acts as a button. A click never moves the focus, so the edited box keeps its
// text as typed; the keyboard reaches it with Tab, and Enter or Space then runs it as a click
// does. It writes its description on hover and on focus, and speaks to screen readers as a
// push button named after its command, its description as their description.
class IconButton : public QLabel
{
    Q_OBJECT
public:
    enum class Trigger { Click, MouseUp };
    IconButton(const QString &name, const QString &description, QWidget *parent, Trigger trigger = Trigger::Click);

    const QString &description() const { return m_description; }
    void setDescription(const QString &description);

    // A key that runs the command from anywhere in its window.
    void setShortcut(const QKeySequence &keys);
    QKeySequence shortcut() const;

    // For a second picture of the same command (a caption under its icon): it takes no focus
    // of its own and shows the focus mark while main has the focus.
    void setTwinOf(IconButton *main);

    // Runs the command as a click does.
    void press();

signals:
    void activated();
    void hovered(const QString &description);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool showsFocus() const;

    QString m_description;
    Trigger m_trigger;
    bool m_pressed = false;
    QShortcut *m_shortcut = nullptr;
    QPointer<IconButton> m_main;
    std::vector<QPointer<IconButton>> m_twins;
};

// The size in screen units of the picture a label shows, whatever density it is drawn at.
QSize pictureSize(const QLabel *label);

// A label whose text is set by code and serves as a screen's small state (hidden).
QLabel *hiddenLabel(const QString &name, QWidget *parent);

// The frame of a one-use dialog: its name and caption, a fixed size without a maximise
// button, on the dialogs' silver.
void setUpDialog(QDialog *dialog, const QString &name, const QString &caption, const QSize &size);
// An instruction or caption of a one-use dialog, in the dialogs' small type.
QLabel *dialogText(QWidget *parent, const char *name, const QString &content, const QRect &geometry,
                   bool wrap = false);
// The search row of a list dialog: the white box txtTrova and its button cmdTrova02.
void makeFindRow(QWidget *parent, TextBox *&box, QPushButton *&button, const QRect &boxGeometry,
                 const QRect &buttonGeometry);

// Centres a window on its screen's available area every time it is shown.
void centreWhenShown(QWidget *window);

// Sets a widget's background colour through its palette.
void setBackground(QWidget *widget, const QColor &colour);

} // namespace velmora
