#pragma once

#include <functional>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QTimer>

// Answering the modal dialogs a screen opens with exec(), as a user would.
namespace velmora::test {

// Acts on the next modal dialog as soon as it is shown, then makes sure it closes, so a test
// that opens a dialog with exec() never waits for a user.
inline void whenModal(std::function<void(QDialog *)> act)
{
    auto *timer = new QTimer;
    timer->setInterval(0);
    // A dialog that never opens must not leave the watcher running into later tests.
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, [timer, act, deadline] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog && deadline.hasExpired()) {
            timer->stop();
            timer->deleteLater();
        }
        if (!dialog)
            return;
        timer->stop();
        timer->deleteLater();
        act(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start();
}

} // namespace velmora::test
