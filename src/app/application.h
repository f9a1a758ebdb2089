#pragma once

#include <QApplication>

#include "common/services.h"

// The application object: anything thrown from an event handler ends here and is shown in a
// plain box titled "Velmora"; the program keeps running.
class VelmoraApplication : public QApplication
{
    Q_OBJECT
public:
    VelmoraApplication(int &argc, char **argv);
    void setMessages(velmora::MessageService *messages) { m_messages = messages; }
    bool notify(QObject *receiver, QEvent *event) override;

    // Shows an escaped error; public so that tests can reach the same handler.
    void reportError(const QString &message);

private:
    velmora::MessageService *m_messages = nullptr;
};
