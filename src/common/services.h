#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTime>

class QWidget;

// Every platform service a screen uses goes through one of these interfaces, so screens can be
// driven in tests with fakes and never reach a real modal window, the shell or the clock.
namespace velmora {

// Message boxes. Texts are passed exactly as the program states them; the Qt implementation
// turns their "\r\n" and "\n\r" pairs into line breaks.
class MessageService
{
public:
    enum class Icon { None, Information, Warning, Question };
    virtual ~MessageService() = default;
    // Plain box titled "Velmora" with OK, no icon.
    virtual void plain(QWidget *owner, const QString &text) = 0;
    // Plain box with its own title, OK, no icon (refused characters and limits).
    virtual void titled(QWidget *owner, const QString &title, const QString &text) = 0;
    // Task-modal boxes with their own title.
    virtual void information(QWidget *owner, const QString &title, const QString &text) = 0;
    virtual void warning(QWidget *owner, const QString &title, const QString &text) = 0;
    // Yes/No with Yes as default; true unless the user answers No.
    virtual bool question(QWidget *owner, const QString &title, const QString &text, Icon icon = Icon::Question) = 0;
};

// Opens a document, a folder, a web address or a mail link with the system's default
// application. The opener answers on its own time: failed, when given, is called once if it
// reports that the target could not be opened (no opener, no application for the kind of file,
// an application that failed), at once or after a while; never when the target was opened.
class ShellService
{
public:
    using Failed = std::function<void()>;
    virtual ~ShellService() = default;
    virtual void openPath(const QString &path, Failed failed = {}) = 0;
    // A file the program itself knows by its path (the manual in the program folder), opened
    // whatever bytes its name holds.
    virtual void openFile(const std::filesystem::path &file, Failed failed = {}) = 0;
    virtual void openAddress(const QString &address,
                             Failed failed = {}) = 0; // web address or "mailto:" link, as written
};

// What a screen shows when the system cannot open a file or a folder the user asked for.
QString fileNotOpenedMessage(const QString &path);
QString folderNotOpenedMessage(const QString &path);

// The file-open dialog and the folder browser; an empty result means cancelled.
class DialogService
{
public:
    virtual ~DialogService() = default;
    virtual QString openFile(QWidget *owner, const QString &title, const QString &filter) = 0;
    virtual QString chooseFolder(QWidget *owner, const QString &caption) = 0;
};

class ClockService
{
public:
    virtual ~ClockService() = default;
    virtual QDate today() const = 0;
    virtual QTime now() const = 0;
};

// The working environments the start screen's tiles and icons lead to.
enum class Environment { Clients, Products, CreateBill, Catalogue, Summary, SafetyCopies };
// The archives whose export dialog a card screen shows.
enum class ArchiveExport { Clients, Products };

// How the consumption screen holds a bill: an open bill is read and written; a closed one,
// kept among the closed bills, is only read (printed and exported).
enum class BillAccess { Open, Closed };

// Moving between the start-up screen instances; implemented by the screen set. Every hand-over
// is a typed call, so the compiler sees which screen leads to which.
class Navigator
{
public:
    virtual ~Navigator() = default;
    // Shows the start screen (a working screen was closed, or the login succeeded).
    virtual void showStart() = 0;
    // Shows a working environment in place of the start screen.
    virtual void showEnvironment(Environment environment) = 0;
    // Shows the consumption screen on the bill stored in file, headed by its name.
    virtual void openBill(const std::filesystem::path &file, const QString &name, BillAccess access) = 0;
    // Shows the login screen again, its password box emptied (the change of password closed).
    virtual void showLogin() = 0;
    // Shows the change of password in place of the login screen.
    virtual void showChangePassword() = 0;
    // The information screen and the splash window, modally over owner.
    virtual void showInfo(QWidget *owner) = 0;
    virtual void showSplash(QWidget *owner) = 0;
    // Fills the help viewer with a topic and shows it modally over owner.
    virtual void showHelp(QWidget *owner, const QString &topic) = 0;
    // The export dialog of the bill stored in file, modally over owner.
    virtual void showBillExport(QWidget *owner, const std::filesystem::path &file) = 0;
    // The export dialog of an archive, modally over owner.
    virtual void showArchiveExport(QWidget *owner, ArchiveExport archive) = 0;
};

class PrintService;
class OfficeService;

// What a screen is given at creation. The program folder is the executable's folder in the
// program and a temporary folder in tests.
struct Services
{
    MessageService *messages = nullptr;
    ShellService *shell = nullptr;
    DialogService *dialogs = nullptr;
    ClockService *clock = nullptr;
    Navigator *navigator = nullptr;
    PrintService *printer = nullptr; // lists and bills on paper
    OfficeService *office = nullptr; // Word and Excel documents
    std::filesystem::path folder;

    // The path of a data file in the program folder.
    std::filesystem::path file(const std::string &name) const { return folder / name; }
};

// The file error message every screen shows when a record file cannot be used.
QString fileErrorMessage();

// What a screen shows when another workstation held the program folder for longer than the
// program waits: the operation was not done and may be tried again shortly.
QString archiveBusyMessage();

// What a card screen shows when the record it would write over or delete no longer holds what
// the card loaded or last saved there: another workstation changed, moved or removed it.
QString cardChangedMessage();

} // namespace velmora
