#include "clients/callerfields.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace velmora {

QWidget *callerControl(QWidget *caller, const QString &name, const QWidget *dialog)
{
    if (!caller)
        return nullptr;
    const auto found = caller->findChildren<QWidget *>(name);
    for (QWidget *w : found)
        if (w != dialog && !(dialog && dialog->isAncestorOf(w)))
            return w;
    return nullptr;
}

QString controlText(const QWidget *control)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(control))
        return line->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(control))
        return memo->toPlainText();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    return {};
}

bool setControlText(QWidget *control, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(control)) {
        line->setText(text);
        return true;
    }
    if (auto *memo = qobject_cast<QPlainTextEdit *>(control)) {
        memo->setPlainText(text);
        return true;
    }
    if (auto *label = qobject_cast<QLabel *>(control)) {
        label->setText(text);
        return true;
    }
    return false;
}

} // namespace velmora
