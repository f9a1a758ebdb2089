#include "support/fakes.h"

#include <QFile>
#include <QListWidget>
#include <QTest>

namespace velmora::test {

void FakeMessages::plain(QWidget *, const QString &text)
{
    shown.push_back({Message::Kind::Plain, QStringLiteral("Velmora"), text});
}

void FakeMessages::titled(QWidget *, const QString &title, const QString &text)
{
    shown.push_back({Message::Kind::Titled, title, text});
}

void FakeMessages::information(QWidget *, const QString &title, const QString &text)
{
    shown.push_back({Message::Kind::Information, title, text});
}

void FakeMessages::warning(QWidget *, const QString &title, const QString &text)
{
    shown.push_back({Message::Kind::Warning, title, text});
}

bool FakeMessages::question(QWidget *, const QString &title, const QString &text, Icon icon)
{
    shown.push_back({Message::Kind::Question, title, text});
    questionIcons.push_back(icon);
    if (onQuestion)
        onQuestion();
    if (answers.empty())
        return true;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

void FakeShell::openPath(const QString &path, Failed failed)
{
    opened << path;
    if (!result && failed)
        failed();
}

void FakeShell::openFile(const std::filesystem::path &file, Failed failed)
{
    openedFiles.push_back(file);
    if (!result && failed)
        failed();
}

void FakeShell::openAddress(const QString &address, Failed failed)
{
    opened << address;
    if (!result && failed)
        failed();
}

QString FakeDialogs::openFile(QWidget *, const QString &title, const QString &filter)
{
    titles << title;
    filters << filter;
    if (files.empty())
        return {};
    const QString f = files.front();
    files.pop_front();
    return f;
}

QString FakeDialogs::chooseFolder(QWidget *, const QString &caption)
{
    captions << caption;
    if (folders.empty())
        return {};
    const QString f = folders.front();
    folders.pop_front();
    return f;
}

void FakeNavigator::openBill(const std::filesystem::path &file, const QString &name, BillAccess access)
{
    openedBills.push_back({file, name, access});
    if (onOpenBill)
        onOpenBill(file, name, access);
}

void FakeNavigator::showLogin()
{
    ++loginShown;
    if (onShowLogin)
        onShowLogin();
}

void FakeNavigator::showChangePassword()
{
    ++changePasswordShown;
    if (onShowChangePassword)
        onShowChangePassword();
}

void FakeNavigator::showBillExport(QWidget *owner, const std::filesystem::path &file)
{
    billExports.push_back(file);
    if (onBillExport)
        onBillExport(owner, file);
}

void FakeNavigator::showArchiveExport(QWidget *owner, ArchiveExport archive)
{
    archiveExports.push_back(archive);
    if (onArchiveExport)
        onArchiveExport(owner, archive);
}

TestServices::TestServices()
{
    services.messages = &messages;
    services.shell = &shell;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.navigator = &navigator;
    services.folder = std::filesystem::path(dir.path().toStdString());
}

QByteArray TestServices::bytes(const std::string &name) const
{
    QFile f(QString::fromStdString(file(name).string()));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool TestServices::exists(const std::string &name) const
{
    return std::filesystem::exists(file(name));
}

QStringList linesOf(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace velmora::test
