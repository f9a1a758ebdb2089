#include "common/qtoffice.h"

#include <cerrno>
#include <csignal>
#include <filesystem>

#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <unistd.h>

#include "common/waitcursor.h"

namespace velmora {

namespace {

std::string utf8(const QString &text)
{
    return text.toStdString();
}

TextTable toTable(const TextGrid &grid)
{
    TextTable table;
    table.reserve(grid.size());
    for (const QStringList &row : grid) {
        std::vector<std::string> cells;
        cells.reserve(static_cast<std::size_t>(row.size()));
        for (const QString &cell : row)
            cells.push_back(utf8(cell));
        table.push_back(std::move(cells));
    }
    return table;
}

// A name that is safe as a file name on any system.
QString safeFileName(const QString &name, const QString &fallback)
{
    QString safe;
    for (const QChar c : name.trimmed()) {
        if (c.unicode() < 32 || QStringLiteral("\\/:*?\"<>|").contains(c))
            safe += QLatin1Char(' ');
        else
            safe += c;
    }
    safe = safe.simplified();
    return safe.isEmpty() ? fallback : safe;
}

std::filesystem::path toPath(const QString &path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Whether the folder of templates belongs to a copy of the program still running: its name
// begins with that process's number.
bool ownerIsRunning(const QString &folderName)
{
    bool ok = false;
    const qint64 pid = folderName.section(QLatin1Char('-'), 0, 0).toLongLong(&ok);
    if (!ok || pid <= 0 || pid == ::getpid())
        return false;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Removes what earlier runs left: their folders of templates, whatever is inside them. A copy
// of the program running beside this one keeps its own.
void removeLeftovers(const QString &root)
{
    const QDir dir(root);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo &entry : entries) {
        if (entry.isDir() && !entry.isSymLink() && ownerIsRunning(entry.fileName()))
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
}

// Copies a file written in the private folder to a new file of the documents folder, created by
// this call alone (never over an existing file, never through a link), with the program's modes.
bool copyToNewFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                                    QFileDevice::ReadGroup | QFileDevice::WriteGroup))
        return false;
    if (target.write(bytes) != bytes.size() || !target.flush()) {
        target.close();
        target.remove();
        return false;
    }
    target.close();
    return target.error() == QFileDevice::NoError;
}

} // namespace

QString OfficeService::cardFailedMessage()
{
    return QStringLiteral(
        "Si è verificato un errore imprevisto durante l'esportazione della scheda in Microsoft Word.");
}

QString OfficeService::wordFailedMessage()
{
    return QStringLiteral("Attenzione: il sistema non consente di creare il file di Microsoft "
                          "Word.\n\r\n\rEsportazione dati non riuscita.");
}

QString OfficeService::excelFailedMessage()
{
    return QStringLiteral(
        "Si è verificato un errore durante l'esportazione dei dati in Excel.\r\n\r\nAccertarsi che il "
        "pacchetto Microsoft Office sia installato sul proprio computer.");
}

FileOfficeService::FileOfficeService(MessageService &messages, ShellService &shell, const QString &templateRoot,
                                     const QString &documentsFolder)
    : m_messages(messages), m_shell(shell), m_documentsFolder(documentsFolder)
{
    QString root = templateRoot;
    if (root.isEmpty())
        root = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/documenti");
    if (m_documentsFolder.isEmpty())
        m_documentsFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (m_documentsFolder.isEmpty())
        m_documentsFolder = QDir::homePath();
    // The templates hold personal data: the folder is the user's alone.
    if (!QFileInfo(root).isDir() && !QDir().mkpath(root))
        return;
    QFile::setPermissions(root, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    removeLeftovers(root);
    m_run = std::make_unique<QTemporaryDir>(root + QLatin1Char('/') + QString::number(::getpid()) +
                                            QStringLiteral("-XXXXXX"));
    if (!m_run->isValid())
        m_run.reset();
}

// The run's folder goes with the program once the office program has had time to read its last
// template; otherwise the next start removes it.
FileOfficeService::~FileOfficeService()
{
    if (m_run && m_handed && std::chrono::steady_clock::now() - m_lastHanded < m_readingTime)
        m_run->setAutoRemove(false);
}

QString FileOfficeService::runFolder() const
{
    return m_run ? m_run->path() : QString();
}

QString FileOfficeService::cardDocumentName(const WordCard &card)
{
    const QString heading = card.headings.isEmpty() ? QString() : card.headings.front().trimmed().toLower();
    if (heading.isEmpty())
        return QStringLiteral("Scheda");
    return heading.left(1).toUpper() + heading.mid(1);
}

QString FileOfficeService::notOpenedMessage(const QString &path)
{
    return QStringLiteral("Attenzione: il documento è stato creato, ma il sistema non è riuscito ad aprirlo.\r\n\r\n"
                          "Il file è stato salvato in:\r\n%1\r\n\r\nAprirlo con un programma per documenti di "
                          "Word o di Excel.")
        .arg(path);
}

QString FileOfficeService::freshFolder()
{
    if (!m_run)
        return {};
    QString folder;
    do
        folder = m_run->path() + QLatin1Char('/') + QString::number(++m_documents);
    while (QFileInfo::exists(folder));
    if (!QDir().mkdir(folder))
        return {};
    return folder;
}

bool FileOfficeService::deliver(QWidget *owner, const QString &name, const QString &extension, const Writer &write,
                                const QString &failedMessage)
{
    QString templateFile;
    {
        WaitCursor wait;
        const QString folder = freshFolder();
        // ".docx" becomes ".dotx", ".xlsx" ".xltx".
        const QString file = folder + QLatin1Char('/') + name + extension.left(3) + QLatin1Char('t') + extension.mid(4);
        if (!folder.isEmpty() && write(toPath(file), DocumentForm::Template))
            templateFile = file;
    }
    if (templateFile.isEmpty()) {
        m_messages.plain(owner, failedMessage);
        return false;
    }
    // The answer may come after this call, once the opener has spoken; the screen may be gone.
    MessageService *messages = &m_messages;
    const QPointer<QWidget> screen(owner);
    const QString documents = m_documentsFolder;
    m_handed = true;
    m_lastHanded = std::chrono::steady_clock::now();
    m_shell.openPath(templateFile, [=] {
        // The user's work is kept where a plain Save would have put it.
        QDir().mkpath(documents);
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy hh.mm.ss"));
        const QString scratch = QFileInfo(templateFile).absolutePath() + QLatin1Char('/') + name + extension;
        QString kept;
        if (write(toPath(scratch), DocumentForm::Document)) {
            for (int n = 1; n < 100 && kept.isEmpty(); ++n) {
                const QString candidate = documents + QLatin1Char('/') + name + QLatin1Char(' ') + stamp +
                                          (n > 1 ? QStringLiteral(" (%1)").arg(n) : QString()) + extension;
                if (!QFileInfo::exists(candidate) && !QFileInfo(candidate).isSymLink() &&
                    copyToNewFile(scratch, candidate))
                    kept = candidate;
            }
            QFile::remove(scratch);
        }
        messages->plain(screen.data(),
                        notOpenedMessage(QDir::toNativeSeparators(kept.isEmpty() ? templateFile : kept)));
    });
    return true;
}

bool FileOfficeService::wordCard(QWidget *owner, const WordCard &card)
{
    CardDocument document;
    for (const QString &heading : card.headings)
        document.headings.push_back(utf8(heading));
    for (const auto &[label, value] : card.rows)
        document.rows.emplace_back(utf8(label), utf8(value));
    return deliver(
        owner, safeFileName(cardDocumentName(card), QStringLiteral("Scheda")), QStringLiteral(".docx"),
        [document](const std::filesystem::path &path, DocumentForm form) {
            return writeWordCard(path, document, form);
        },
        cardFailedMessage());
}

bool FileOfficeService::wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName)
{
    return deliver(
        owner, safeFileName(documentName, QStringLiteral("Tabella")), QStringLiteral(".docx"),
        [table = toTable(grid)](const std::filesystem::path &path, DocumentForm form) {
            return writeWordTable(path, table, form);
        },
        wordFailedMessage());
}

bool FileOfficeService::excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo)
{
    const std::size_t bold = static_cast<std::size_t>(std::max(0, boldUpTo));
    return deliver(
        owner, safeFileName(sheetName, QStringLiteral("Foglio")), QStringLiteral(".xlsx"),
        [table = toTable(grid), sheet = utf8(sheetName), bold](const std::filesystem::path &path, DocumentForm form) {
            return writeExcelSheet(path, table, sheet, bold, form);
        },
        excelFailedMessage());
}

} // namespace velmora
