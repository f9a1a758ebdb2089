#include "common/qtservices.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

namespace velmora {

QString fileErrorMessage()
{
    return QStringLiteral(
        "Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\rAccertarsi di possedere "
        "i privilegi di scrittura nella cartella di installazione del programma.");
}

QString cardChangedMessage()
{
    return QStringLiteral("Attenzione: la scheda visualizzata è stata modificata o eliminata da un'altra "
                          "postazione.\r\n\r\nVisualizzare nuovamente la scheda prima di ripetere l'operazione.");
}

QString displayText(const QString &text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QStringLiteral("\n\r"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

namespace {

int runBox(QWidget *owner, QMessageBox::Icon icon, const QString &title, const QString &text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton, bool taskModal)
{
    QMessageBox box(icon, title, displayText(text), buttons, owner);
    box.setDefaultButton(defaultButton);
    box.setWindowModality(taskModal ? Qt::ApplicationModal : Qt::WindowModal);
    if (!owner)
        box.setWindowModality(Qt::ApplicationModal);
    return box.exec();
}

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

bool QtShellService::openPath(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool QtShellService::openFile(const std::filesystem::path &file)
{
    // The address is built from the path's bytes: a folder name that is not UTF-8 would not
    // survive a trip through text.
    const QByteArray bytes(file.c_str());
    return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArrayLiteral("file://") + bytes.toPercentEncoding("/")));
}

bool QtShellService::openAddress(const QString &address)
{
    // The address is passed as written (a "mailto:" link keeps its text unencoded).
    return QDesktopServices::openUrl(QUrl(address, QUrl::TolerantMode));
}

QString QtDialogService::openFile(QWidget *owner, const QString &title, const QString &filter)
{
    return QFileDialog::getOpenFileName(owner, title, QString(), filter);
}

QString QtDialogService::chooseFolder(QWidget *owner, const QString &caption)
{
    return QFileDialog::getExistingDirectory(owner, caption);
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
