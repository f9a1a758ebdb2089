// Renders some of the program's screens into PNG pictures for the manual.
// Usage: velmora_screenshots <output folder>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>

#include "app/screenset.h"
#include "app/tfrmavvio.h"
#include "app/tfrminfo.h"
#include "app/tfrmpassword.h"
#include "app/tfrmhelpform.h"
#include "app/tfrmsplash.h"
#include "common/qtservices.h"
#include "common/workingscreen.h"

namespace {

bool save(QWidget *screen, const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    if (!screen || !screen->grab().save(path)) {
        QTextStream(stderr) << "Impossibile salvare " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("Velmora"));
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "Uso: velmora_screenshots <cartella di destinazione>\n";
        return 2;
    }
    QDir().mkpath(args[1]);

    QTemporaryDir folder;
    velmora::QtMessageService messages;
    velmora::QtShellService shell;
    velmora::QtDialogService dialogs;
    velmora::SystemClock clock;
    velmora::Services services;
    services.messages = &messages;
    services.shell = &shell;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.folder = std::filesystem::path(folder.path().toStdString());
    ScreenSet screens(services);

    bool ok = true;
    ok = save(screens.login(), args[1], QStringLiteral("password.png")) && ok;

    if (QWidget *start = screens.start()) {
        start->resize(1030, 742);
        start->show();
        QCoreApplication::processEvents();
        ok = save(start, args[1], QStringLiteral("avvio.png")) && ok;
        start->hide();
    }

    if (TfrmHelpForm *help = screens.help()) {
        help->setTopic(QStringLiteral("Uno sguardo a Velmora"));
        ok = save(help, args[1], QStringLiteral("guida.png")) && ok;
    }

    ok = save(screens.info(), args[1], QStringLiteral("info.png")) && ok;

    if (TfrmSplash *splash = screens.splash()) {
        for (int tick = 0; tick < 40; ++tick)
            splash->Timer1Timer();
        ok = save(splash, args[1], QStringLiteral("splash.png")) && ok;
        splash->Timer1Timer();
        splash->Timer1Timer();
        ok = save(splash, args[1], QStringLiteral("splash2.png")) && ok;
    }
    return ok ? 0 : 1;
}
