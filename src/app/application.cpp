#include "app/application.h"

#include <exception>
#include <new>

#include <QAbstractEventDispatcher>
#include <QIcon>

#include "common/folderlock.h"

VelmoraApplication::VelmoraApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Velmora"));
    // No display name: the platform would append it to every caption ("… — Velmora"), and every
    // window already carries its own caption in full.
    // The desktop entry installed for the user ties the windows to it in docks and task bars.
    setDesktopFileName(QStringLiteral("it.velmora.Velmora"));
    setWindowIcon(QIcon(QStringLiteral(":/assets/velmora.png")));
    // Each time the program waits for the user, what follows is a new user action, whose file
    // steps may again wait for another workstation.
    connect(QCoreApplication::eventDispatcher(), &QAbstractEventDispatcher::aboutToBlock, this,
            [] { velmora::FolderLock::newAction(); });
}

bool VelmoraApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::bad_alloc &) {
        // The system's own text for it is English and says nothing to the user.
        reportError(QStringLiteral("Attenzione: memoria insufficiente per completare l'operazione."));
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
