#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "common/widgets.h"

// The parts the four number validators share: a fixed silver dialog centred on the desktop,
// an entry box in large monospaced type that limits only what is typed, and its hatched
// background.
namespace velmora {

// The entry box of a validator. Its typing limit stops keys and pastes that would make the text
// longer than the limit, while a longer text placed by the opening screen stays whole and can be
// shortened. Control characters (copy, paste, cut and the other Ctrl+letter keys) reach the key
// handler as their character codes 1 to 26, so a handler can refuse them.
class CodeBox : public TextBox
{
    Q_OBJECT
public:
    explicit CodeBox(QWidget *parent = nullptr);
    void setTypingLimit(int limit);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A panel filled with a diagonal hatch that frames the entry box.
class HatchPanel : public QFrame
{
    Q_OBJECT
public:
    explicit HatchPanel(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Base of the validator dialogs: caption, silver background, close box only, fixed size and
// centred on the desktop each time it is shown.
class CheckDialog : public QDialog
{
    Q_OBJECT
public:
    CheckDialog(const QString &objectName, const QString &caption, const QSize &size, QWidget *parent);

    // The value to check, put into the entry box before the dialog is shown (the client card
    // hands over the value of its box).
    void setValue(const QString &value);

protected:
    void showEvent(QShowEvent *event) override;

    // The framed area with the two instruction lines.
    QFrame *addInfoFrame(const QRect &geometry, QLabel *&first, const QString &firstName, const QString &firstText,
                         QLabel *&second, const QString &secondName, const QString &secondText);
    // The hatched panel and the entry box inside it.
    CodeBox *addEntry(const QRect &panelGeometry, const QString &name, int typingLimit);
    // The "Controlla" button, disabled until the box holds enough characters.
    QPushButton *addCheckButton(const QRect &geometry, const QString &name);
    // The logo picture at the top.
    QLabel *addLogo(const QRect &geometry, bool framed);

private:
    CodeBox *m_entry = nullptr;
};

// Raises only the letters a to z, as the validators show what is typed.
QString upperAZText(const QString &text);

// Rewrites a box in upper case (letters a to z) with the caret where it was, without signalling
// a new change for the rewrite.
void raiseBoxText(QLineEdit *box);

} // namespace velmora
