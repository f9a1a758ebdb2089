#include "validators/checkdialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QSignalBlocker>
#include <QValidator>

#include "common/fonts.h"
#include "common/artwork.h"

namespace velmora {

namespace {

// Refuses an edit that would lengthen a text beyond the limit. The accepted length is tracked
// from the box itself, because the opening screen may place a longer text that the user must
// still be able to shorten.
class TypingLimit : public QValidator
{
public:
    TypingLimit(QLineEdit *box, int limit) : QValidator(box), m_limit(limit)
    {
        m_accepted = box->text().size();
        connect(box, &QLineEdit::textChanged, this, [this](const QString &text) { m_accepted = text.size(); });
    }

    State validate(QString &input, int &) const override
    {
        if (input.size() > m_limit && input.size() > m_accepted)
            return Invalid;
        return Acceptable;
    }

private:
    int m_limit;
    qsizetype m_accepted = 0;
};

} // namespace

CodeBox::CodeBox(QWidget *parent) : TextBox(parent, colours::white)
{
    QFont f(fonts::fixed());
    f.setStyleHint(QFont::TypeWriter);
    f.setBold(true);
    f.setPixelSize(24);
    setFont(f);
}

void CodeBox::setTypingLimit(int limit)
{
    setValidator(new TypingLimit(this, limit));
}

void CodeBox::keyPressEvent(QKeyEvent *event)
{
    const auto mods = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods == Qt::ControlModifier && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z && hooks.onKeyPress) {
        QChar key(static_cast<char16_t>(event->key() - Qt::Key_A + 1));
        hooks.onKeyPress(key);
        if (key.isNull())
            return;
    }
    TextBox::keyPressEvent(event);
}

HatchPanel::HatchPanel(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
}

void HatchPanel::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.fillRect(rect(), colours::silver);
    p.fillRect(rect(), QBrush(QColor(128, 128, 128), Qt::BDiagPattern));
    p.end();
    QFrame::paintEvent(event);
}

CheckDialog::CheckDialog(const QString &objectName, const QString &caption, const QSize &size, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setBackground(this, colours::silver);
    setAutoFillBackground(true);
    setFixedSize(size);
}

void CheckDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (QScreen *s = screen())
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

QFrame *CheckDialog::addInfoFrame(const QRect &geometry, QLabel *&first, const QString &firstName,
                                  const QString &firstText, QLabel *&second, const QString &secondName,
                                  const QString &secondText)
{
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("panInfoFrame"));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(geometry);
    QFont f(fonts::text());
    f.setPixelSize(11);
    const int lineWidth = geometry.width() - 16;
    first = new QLabel(firstText, frame);
    first->setObjectName(firstName);
    first->setFont(f);
    first->setGeometry(8, 7, lineWidth, 16);
    second = new QLabel(secondText, frame);
    second->setObjectName(secondName);
    second->setFont(f);
    second->setGeometry(8, 24, lineWidth, 16);
    return frame;
}

CodeBox *CheckDialog::addEntry(const QRect &panelGeometry, const QString &name, int typingLimit)
{
    auto *panel = new HatchPanel(this);
    panel->setObjectName(QStringLiteral("panCodice"));
    panel->setGeometry(panelGeometry);
    auto *box = new CodeBox(panel);
    box->setObjectName(name);
    box->setGeometry(12, 10, panelGeometry.width() - 24, panelGeometry.height() - 20);
    if (typingLimit > 0)
        box->setTypingLimit(typingLimit);
    m_entry = box;
    return box;
}

void CheckDialog::setValue(const QString &value)
{
    if (m_entry)
        m_entry->setText(value);
}

QPushButton *CheckDialog::addCheckButton(const QRect &geometry, const QString &name)
{
    auto *button = new QPushButton(QStringLiteral("Controlla"), this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setEnabled(false);
    // Enter belongs to the entry box's own rules, never to a default button.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QLabel *CheckDialog::addLogo(const QRect &geometry, bool framed)
{
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgLogo"));
    picture->setGeometry(geometry);
    picture->setAlignment(Qt::AlignCenter);
    if (framed) {
        picture->setFrameShape(QFrame::Panel);
        picture->setFrameShadow(QFrame::Raised);
        picture->setAutoFillBackground(true);
        setBackground(picture, colours::white);
    }
    picture->setPixmap(artwork::logo(QSize(geometry.width() - 24, geometry.height() - 12), 0));
    return picture;
}

QString upperAZText(const QString &text)
{
    QString out = text;
    for (QChar &c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

void raiseBoxText(QLineEdit *box)
{
    const QString upper = upperAZText(box->text());
    if (upper == box->text())
        return;
    const int caret = box->cursorPosition();
    const QSignalBlocker detached(box);
    box->setText(upper);
    box->setCursorPosition(caret);
}

} // namespace velmora
