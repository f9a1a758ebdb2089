#include "common/qtservices.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QSpacerItem>
#include <QStandardPaths>

#include "common/failuremessage.h"
#include "common/folderlock.h"

namespace velmora {

QString fileErrorMessage()
{
    return QStringLiteral(
        "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
        "i privilegi di scrittura nella cartella di installazione del programma.");
}

QString archiveBusyMessage()
{
    return QStringLiteral("Attenzione: l'archivio è in uso presso un'altra postazione.\r\n\r\nRiprovare tra qualche "
                          "istante.");
}

QString fileFailureMessage(const QString &fileError)
{
    return FolderLock::busyInAction() ? archiveBusyMessage() : fileError;
}

QString cardChangedMessage()
{
    return QStringLiteral("Attenzione: la scheda visualizzata è stata modificata o eliminata da un'altra "
                          "postazione.\r\n\r\nVisualizzare nuovamente la scheda prima di ripetere l'operazione.");
}

QString fileNotOpenedMessage(const QString &path)
{
    return QStringLiteral("Attenzione: il sistema non è riuscito ad aprire il file\r\n%1\r\n\r\nAccertarsi che il file "
                          "esista e che sia installato un programma in grado di aprirlo.")
        .arg(path);
}

QString folderNotOpenedMessage(const QString &path)
{
    return QStringLiteral("Attenzione: il sistema non è riuscito ad aprire la cartella\r\n%1\r\n\r\nAccertarsi che la "
                          "cartella esista e che sia installato un programma di gestione dei file.")
        .arg(path);
}

QString displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

int titleBarWidth(const QString &title)
{
    // Window managers draw titles in a bold face of about the application's size; the icon and
    // the minimise, maximise and close buttons take the rest.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) * 11 / 10 + 160;
}

std::unique_ptr<QMessageBox> makeMessageBox(QWidget *owner, QMessageBox::Icon icon, const QString &title,
                                            const QString &text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton, bool taskModal)
{
    auto box = std::make_unique<QMessageBox>(icon, title, displayText(text), buttons, owner);
    box->setDefaultButton(defaultButton);
    box->setWindowModality(taskModal || !owner ? Qt::ApplicationModal : Qt::WindowModal);
    // The box sizes itself from its layout: a strut across it keeps the title whole.
    if (auto *grid = qobject_cast<QGridLayout *>(box->layout()))
        grid->addItem(new QSpacerItem(titleBarWidth(title), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    return box;
}

namespace {

int runBox(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton, bool taskModal)
{
    return makeMessageBox(owner, icon, title, text, buttons, defaultButton, taskModal)->exec();
}

// Runs the opener ($0) on the target ($1) and waits for it at most $2 seconds: its own exit
// status when it ends by then, success when it is still running (the application it started in
// the foreground is open), and it is left to run. The watch holds no output of ours open, so
// nothing waits for its sleep once the opener has answered.
const char *const kOpenerScript = R"sh(trap 'exit 0' USR1
"$0" "$1" </dev/null & opener=$!
( sleep "$2"; kill -USR1 $$ ) </dev/null >/dev/null 2>&1 & timer=$!
wait "$opener"
status=$?
kill "$timer" 2>/dev/null
exit "$status")sh";

} // namespace

void QtMessageService::plain(QWidget *owner, const QString &text)
{
    runBox(owner, QMessageBox::NoIcon, QStringLiteral("Velmora"), text, QMessageBox::Ok, QMessageBox::Ok, false);
}

void QtMessageService::titled(QWidget *owner, const QString &title, const QString &text)
{
    runBox(owner, QMessageBox::NoIcon, title, text, QMessageBox::Ok, QMessageBox::Ok, false);
}

void QtMessageService::information(QWidget *owner, const QString &title, const QString &text)
{
    runBox(owner, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok, true);
}

void QtMessageService::warning(QWidget *owner, const QString &title, const QString &text)
{
    runBox(owner, QMessageBox::Warning, title, text, QMessageBox::Ok, QMessageBox::Ok, true);
}

bool QtMessageService::question(QWidget *owner, const QString &title, const QString &text, Icon icon)
{
    const auto qicon = icon == Icon::None ? QMessageBox::NoIcon : QMessageBox::Question;
    return runBox(owner, qicon, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, true) !=
           QMessageBox::No;
}

QtShellService::QtShellService(QString opener, double settleSeconds)
    : m_opener(std::move(opener)), m_settleSeconds(settleSeconds)
{
}

QtShellService::~QtShellService()
{
    // Openers still awaited are let go unanswered; only their short watch ends here.
    for (const QPointer<QProcess> &process : m_watches) {
        if (!process)
            continue;
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
        delete process.data();
    }
}

int QtShellService::pendingOpeners() const
{
    return static_cast<int>(std::count_if(m_watches.begin(), m_watches.end(),
                                          [](const QPointer<QProcess> &process) { return !process.isNull(); }));
}

void QtShellService::openPath(const QString &path, Failed failed)
{
    // An absolute path never reads as an option of the opener.
    open(QFileInfo(path).absoluteFilePath(), std::move(failed));
}

void QtShellService::openFile(const std::filesystem::path &file, Failed failed)
{
    // The address is built from the path's bytes: a folder name that is not UTF-8 would not
    // survive a trip through text. The opener reads file addresses back into the same bytes.
    const QByteArray bytes(std::filesystem::absolute(file).c_str());
    open(QString::fromLatin1(QByteArrayLiteral("file://") + bytes.toPercentEncoding("/")), std::move(failed));
}

void QtShellService::openAddress(const QString &address, Failed failed)
{
    // The address goes as written: a "mailto:" link keeps its text unencoded.
    open(address, std::move(failed));
}

void QtShellService::open(const QString &target, Failed failed)
{
    const QString opener = QStandardPaths::findExecutable(m_opener);
    // The watch runs in the system's own shell, whatever the search path holds.
    const QString shell =
        QStandardPaths::findExecutable(QStringLiteral("bash"), {QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    if (opener.isEmpty() || shell.isEmpty()) {
        if (failed)
            failed();
        return;
    }
    // A finished watch deletes itself; its place in the list is dropped with the next one.
    std::erase_if(m_watches, [](const QPointer<QProcess> &watch) { return watch.isNull(); });
    auto *process = new QProcess;
    m_watches.emplace_back(process);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    // One answer per target, whichever way the watch ends.
    auto answer = std::make_shared<Failed>(std::move(failed));
    auto report = [answer] {
        if (*answer) {
            const Failed call = std::move(*answer);
            *answer = nullptr;
            call();
        }
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, report](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || exitCode != 0)
                             report();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, report](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        report();
    });
    process->start(shell, {QStringLiteral("-c"), QString::fromUtf8(kOpenerScript), opener, target,
                           QString::number(m_settleSeconds, 'f', 2)});
}

namespace {

// A filter whose patterns include "*.*" matches every file, as it does where every file name has
// an extension: here a name needs no dot, so "*" is matched as well, behind the shown label.
QString everyFileFilter(const QString &filter, bool &hideDetails)
{
    static const QRegularExpression patterns(QStringLiteral(R"(\(([^()]*)\)\s*$)"));
    const QRegularExpressionMatch m = patterns.match(filter);
    hideDetails =
        m.hasMatch() && m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts).contains(QStringLiteral("*.*"));
    return hideDetails ? filter + QStringLiteral(" (*)") : filter;
}

} // namespace

std::unique_ptr<QFileDialog> makeFileDialog(QWidget *owner, const QString &title, const QString &filter)
{
    auto dialog = std::make_unique<QFileDialog>(owner, title, QDir::homePath());
    // Qt's own dialog, in Italian like the rest of the program, with the filters as given.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    bool hideDetails = false;
    const QString shown = everyFileFilter(filter, hideDetails);
    // Hiding the details shows the label with its own "(*.*)" and keeps the added "(*)" out of sight.
    dialog->setOption(QFileDialog::HideNameFilterDetails, hideDetails);
    dialog->setNameFilter(shown);
    return dialog;
}

std::unique_ptr<QFileDialog> makeFolderDialog(QWidget *owner, const QString &caption)
{
    auto dialog = std::make_unique<QFileDialog>(owner, caption, QDir::homePath());
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    return dialog;
}

QString QtDialogService::openFile(QWidget *owner, const QString &title, const QString &filter)
{
    const auto dialog = makeFileDialog(owner, title, filter);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QString QtDialogService::chooseFolder(QWidget *owner, const QString &caption)
{
    const auto dialog = makeFolderDialog(owner, caption);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QDate SystemClock::today() const
{
    return QDate::currentDate();
}

QTime SystemClock::now() const
{
    return QTime::currentTime();
}

} // namespace velmora
