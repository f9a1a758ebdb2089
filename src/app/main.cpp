#include <filesystem>

#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/application.h"
#include "app/safetycopies.h"
#include "app/screenset.h"
#include "app/tfrmpassword.h"
#include "bills/billmove.h"
#include "common/qtoffice.h"
#include "common/qtprinting.h"
#include "common/qtservices.h"

namespace {

// The executable's folder, read from the system as bytes: Qt's own answer is text, and a folder
// name that is not UTF-8 (unzipped from a Windows machine) would not survive the trip back.
std::filesystem::path programFolder()
{
    std::error_code ec;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && executable.has_parent_path())
        return executable.parent_path();
    return std::filesystem::path(QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
}

} // namespace

int main(int argc, char **argv)
{
    VelmoraApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);

    // Standard buttons and dialogs in Italian, whatever the system language.
    QTranslator qtItalian;
    if (qtItalian.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtItalian);

    velmora::QtMessageService messages;
    velmora::QtShellService shell;
    velmora::QtDialogService dialogs;
    velmora::SystemClock clock;
    velmora::QtPrintService printer(messages, clock);
    velmora::FileOfficeService office(messages, shell);
    velmora::Services services;
    services.messages = &messages;
    services.shell = &shell;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.printer = &printer;
    services.office = &office;
    // Every data file lives beside the executable.
    services.folder = programFolder();
    // A move of consumptions that a crash stopped half way is completed before any bill is read;
    // if the bills cannot be used now, the first operation on them that can completes it.
    (void)velmora::settlePendingMove(services.folder);
    // Likewise a restore of a safety copy: committed, it is completed; not yet, it is thrown away.
    // Every later take of the folder lock does the same, for a restore stopped in another program.
    velmora::installRestoreSettling();
    (void)velmora::settlePendingRestore(services.folder);
    app.setMessages(&messages);

    ScreenSet screens(services);
    screens.login()->show();
    screens.login()->raise();
    screens.login()->activateWindow();
    return app.exec();
}
