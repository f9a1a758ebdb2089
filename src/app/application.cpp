#include "app/application.h"

#include <exception>

VelmoraApplication::VelmoraApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    setApplicationDisplayName(QStringLiteral("Velmora"));
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Si è verificato un errore imprevisto."));
    }
    return false;
}

void VelmoraApplication::reportError(const QString &message)
{
    if (m_messages)
        m_messages->plain(activeWindow(), message);
}
