#pragma once

#include "common/services.h"

// The real services: Qt message boxes, the desktop shell, Qt dialogs and the system clock.
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

class QtShellService final : public ShellService
{
public:
    bool openPath(const QString &path) override;
    bool openFile(const std::filesystem::path &file) override;
    bool openAddress(const QString &address) override;
};

class QtDialogService final : public DialogService
{
public:
    QString openFile(QWidget *owner, const QString &title, const QString &filter) override;
    QString chooseFolder(QWidget *owner, const QString &caption) override;
};

class SystemClock final : public ClockService
{
public:
    QDate today() const override;
    QTime now() const override;
};

// Message texts keep the program's "\r\n" and "\n\r" pairs; a box shows them as line breaks.
QString displayText(const QString &text);

} // namespace velmora
