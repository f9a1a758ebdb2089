#pragma once

#include <memory>
#include <vector>

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QProcess>

#include "common/services.h"

class QFileDialog;

// The real services: Qt message boxes, the desktop's opener, Qt dialogs and the system clock.
namespace velmora {

class QtMessageService final : public MessageService
{
public:
    void plain(QWidget *owner, const QString &text) override;
    void titled(QWidget *owner, const QString &title, const QString &text) override;
    void information(QWidget *owner, const QString &title, const QString &text) override;
    void warning(QWidget *owner, const QString &title, const QString &text) override;
    bool question(QWidget *owner, const QString &title, const QString &text, Icon icon) override;
};

// A message box as every service call shows it, wide enough for its whole title in the window
// manager's title bar.
std::unique_ptr<QMessageBox> makeMessageBox(QWidget *owner, QMessageBox::Icon icon, const QString &title,
                                            const QString &text, QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton, bool taskModal);

// The width a title bar needs for the whole of title, with the window's icon and buttons.
int titleBarWidth(const QString &title);

// Hands every target to the desktop's opener (xdg-open) and examines its exit status. The opener
// may run the application in the foreground until it is closed, so its answer is awaited for
// settleSeconds only: an opener still running then has opened the target, and it goes on alone.
class QtShellService final : public ShellService
{
public:
    explicit QtShellService(QString opener = QStringLiteral("xdg-open"), double settleSeconds = 10.0);
    ~QtShellService() override;
    QtShellService(const QtShellService &) = delete;
    QtShellService &operator=(const QtShellService &) = delete;

    void openPath(const QString &path, Failed failed = {}) override;
    void openFile(const std::filesystem::path &file, Failed failed = {}) override;
    void openAddress(const QString &address, Failed failed = {}) override;

    // Openers whose answer is still awaited.
    int pendingOpeners() const;

private:
    void open(const QString &target, Failed failed);

    QString m_opener;
    double m_settleSeconds;
    std::vector<QPointer<QProcess>> m_watches; // the openers still being awaited
};

class QtDialogService final : public DialogService
{
public:
    QString openFile(QWidget *owner, const QString &title, const QString &filter) override;
    QString chooseFolder(QWidget *owner, const QString &caption) override;
};

// The dialogs the service shows: the file dialog starts in the user's home folder, and a filter
// "(*.*)" lists every file, those without an extension too; the folder browser starts there as
// well, with no folder chosen.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget *owner, const QString &title, const QString &filter);
std::unique_ptr<QFileDialog> makeFolderDialog(QWidget *owner, const QString &caption);

class SystemClock final : public ClockService
{
public:
    QDate today() const override;
    QTime now() const override;
};

// Message texts keep the program's "\r\n" and "\n\r" pairs; a box shows them as line breaks.
QString displayText(const QString &text);

} // namespace velmora
