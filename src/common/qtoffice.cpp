#include "common/qtoffice.h"

#include <filesystem>

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "common/officefiles.h"

namespace velmora {

namespace {

class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};

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
    return std::filesystem::path(path.toStdString());
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

FileOfficeService::FileOfficeService(MessageService &messages, ShellService &shell, const QString &rootFolder)
    : m_messages(messages), m_shell(shell), m_rootFolder(rootFolder)
{
}

FileOfficeService::~FileOfficeService() = default;

QString FileOfficeService::cardDocumentName(const WordCard &card)
{
    const QString heading = card.headings.isEmpty() ? QString() : card.headings.front().trimmed().toLower();
    if (heading.isEmpty())
        return QStringLiteral("Scheda");
    return heading.left(1).toUpper() + heading.mid(1);
}

QString FileOfficeService::freshFolder()
{
    if (m_rootFolder.isEmpty()) {
        m_root = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/Velmora-XXXXXX"));
        m_root->setAutoRemove(false);
        if (!m_root->isValid())
            return {};
        m_rootFolder = m_root->path();
    }
    QString folder;
    do
        folder = m_rootFolder + QLatin1Char('/') + QString::number(++m_documents);
    while (QFileInfo::exists(folder));
    if (!QDir().mkpath(folder))
        return {};
    return folder;
}

bool FileOfficeService::wordCard(QWidget *owner, const WordCard &card)
{
    bool done = false;
    {
        WaitCursor wait;
        const QString folder = freshFolder();
        if (!folder.isEmpty()) {
            CardDocument document;
            for (const QString &heading : card.headings)
                document.headings.push_back(utf8(heading));
            for (const auto &[label, value] : card.rows)
                document.rows.emplace_back(utf8(label), utf8(value));
            const QString file = folder + QLatin1Char('/') +
                                 safeFileName(cardDocumentName(card), QStringLiteral("Scheda")) +
                                 QStringLiteral(".docx");
            done = writeWordCard(toPath(file), document) && m_shell.openPath(file);
        }
    }
    if (!done)
        m_messages.plain(owner, cardFailedMessage());
    return done;
}

bool FileOfficeService::wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName)
{
    bool done = false;
    {
        WaitCursor wait;
        const QString folder = freshFolder();
        if (!folder.isEmpty()) {
            const QString file = folder + QLatin1Char('/') + safeFileName(documentName, QStringLiteral("Tabella")) +
                                 QStringLiteral(".docx");
            done = writeWordTable(toPath(file), toTable(grid)) && m_shell.openPath(file);
        }
    }
    if (!done)
        m_messages.plain(owner, wordFailedMessage());
    return done;
}

bool FileOfficeService::excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo)
{
    bool done = false;
    {
        WaitCursor wait;
        const QString folder = freshFolder();
        if (!folder.isEmpty()) {
            const QString file =
                folder + QLatin1Char('/') + safeFileName(sheetName, QStringLiteral("Foglio")) + QStringLiteral(".xlsx");
            done = writeExcelSheet(toPath(file), toTable(grid), utf8(sheetName),
                                   static_cast<std::size_t>(std::max(0, boldUpTo))) &&
                   m_shell.openPath(file);
        }
    }
    if (!done)
        m_messages.plain(owner, excelFailedMessage());
    return done;
}

} // namespace velmora
