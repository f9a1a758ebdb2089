#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QPointer>
#include <QTemporaryDir>
#include <QStringList>
#include <QWidget>

class QListWidget;

#include "common/services.h"

// Scriptable stand-ins for the platform services, and a temporary program folder.
namespace velmora::test {

struct Message
{
    enum class Kind { Plain, Titled, Information, Warning, Question };
    Kind kind;
    QString title;
    QString text;
};

class FakeMessages final : public MessageService
{
public:
    void plain(QWidget *owner, const QString &text) override;
    void titled(QWidget *owner, const QString &title, const QString &text) override;
    void information(QWidget *owner, const QString &title, const QString &text) override;
    void warning(QWidget *owner, const QString &title, const QString &text) override;
    bool question(QWidget *owner, const QString &title, const QString &text, Icon icon) override;

    std::vector<Message> shown;
    std::deque<bool> answers; // answers to the next questions; Yes when empty
    std::vector<Icon> questionIcons;
    std::function<void()> onQuestion; // runs while a question is on screen (what others do meanwhile)

    QString lastText() const { return shown.empty() ? QString() : shown.back().text; }
    QString lastTitle() const { return shown.empty() ? QString() : shown.back().title; }
    void clear() { shown.clear(); }
};

// Opens nothing; with result false, the opener reports its failure at once.
class FakeShell final : public ShellService
{
public:
    void openPath(const QString &path, Failed failed = {}) override;
    void openFile(const std::filesystem::path &file, Failed failed = {}) override;
    void openAddress(const QString &address, Failed failed = {}) override;
    QStringList opened;
    std::vector<std::filesystem::path> openedFiles; // files opened by their path
    bool result = true;
};

class FakeDialogs final : public DialogService
{
public:
    QString openFile(QWidget *owner, const QString &title, const QString &filter) override;
    QString chooseFolder(QWidget *owner, const QString &caption) override;
    std::deque<QString> files;
    std::deque<QString> folders;
    QStringList titles;   // titles of the file dialogs asked
    QStringList filters;  // their filters
    QStringList captions; // captions of the folder browsers asked
};

class FakeClock final : public ClockService
{
public:
    QDate today() const override { return date; }
    QTime now() const override { return time; }
    QDate date{2026, 12, 8};
    QTime time{10, 30, 15};
};

// Records every hand-over; a test that needs the real next screen installs it in the matching
// hook (the export dialog of the bill, the consumption screen opened by the catalogue).
class FakeNavigator final : public Navigator
{
public:
    void showStart() override { ++startShown; }
    void showEnvironment(Environment environment) override { environments.push_back(environment); }
    void openBill(const std::filesystem::path &file, const QString &name, BillAccess access) override;
    void showLogin() override;
    void showChangePassword() override;
    void showInfo(QWidget *) override { ++infoShown; }
    void showSplash(QWidget *) override { ++splashShown; }
    void showHelp(QWidget *, const QString &topic) override { helpTopics << topic; }
    void showBillExport(QWidget *owner, const std::filesystem::path &file) override;
    void showArchiveExport(QWidget *owner, ArchiveExport archive) override;

    struct OpenedBill
    {
        std::filesystem::path file;
        QString name;
        BillAccess access = BillAccess::Open;
    };

    int startShown = 0;
    int loginShown = 0;
    int changePasswordShown = 0;
    int infoShown = 0;
    int splashShown = 0;
    QStringList helpTopics;
    std::vector<Environment> environments;
    std::vector<OpenedBill> openedBills;
    std::vector<std::filesystem::path> billExports;
    std::vector<ArchiveExport> archiveExports;

    std::function<void(const std::filesystem::path &, const QString &, BillAccess)> onOpenBill;
    std::function<void()> onShowLogin;
    std::function<void()> onShowChangePassword;
    std::function<void(QWidget *, const std::filesystem::path &)> onBillExport;
    std::function<void(QWidget *, ArchiveExport)> onArchiveExport;
};

// Fakes for every service over a fresh temporary program folder.
class TestServices
{
public:
    TestServices();
    Services services;
    FakeMessages messages;
    FakeShell shell;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeNavigator navigator;
    QTemporaryDir dir;

    std::filesystem::path file(const std::string &name) const { return services.file(name); }
    // Bytes of a file in the program folder; empty when missing.
    QByteArray bytes(const std::string &name) const;
    bool exists(const std::string &name) const;
};

// Types text key by key like QTest::keyClicks, accented and other non-ASCII characters included.
void typeText(QWidget *widget, const QString &text);

// The texts of a list's lines, top to bottom.
QStringList linesOf(const QListWidget *list);

} // namespace velmora::test
