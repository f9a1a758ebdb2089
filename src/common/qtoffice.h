#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QString>

#include "common/office.h"
#include "common/officefiles.h"
#include "common/services.h"

class QTemporaryDir;

// Word and Excel documents handed to the user's office application as templates, which it opens
// as new untitled documents: the user's Save then asks for a name and a place, as it should. The
// templates live in a private folder of this run, removed when the program ends, and whatever an
// earlier run left there is removed when the next one starts.
namespace velmora {

class FileOfficeService final : public OfficeService
{
public:
    // templateRoot holds the runs' private folders (the user's cache folder when empty);
    // documentsFolder is where a document goes that the system could not open (the user's
    // documents folder when empty).
    FileOfficeService(MessageService &messages, ShellService &shell, const QString &templateRoot = QString(),
                      const QString &documentsFolder = QString());
    ~FileOfficeService() override;

    bool wordCard(QWidget *owner, const WordCard &card) override;
    bool wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName) override;
    bool excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo) override;

    // The file name a card document gets: its first heading in sentence case.
    static QString cardDocumentName(const WordCard &card);

    // What is shown when a document was written but the system could not open it.
    static QString notOpenedMessage(const QString &path);

    // The folder of this run's templates; empty when it could not be made.
    QString runFolder() const;

    // How long after a template was handed to the opener the office program may still be
    // reading it: a run that ends sooner leaves its folder to the next start.
    void setReadingTime(std::chrono::seconds seconds) { m_readingTime = seconds; }

private:
    using Writer = std::function<bool(const std::filesystem::path &, DocumentForm)>;

    // Writes a template and hands it to the opener. False, with failedMessage shown, when it
    // could not be written. Should the system fail to open it, the document is kept in the
    // documents folder and the user is told where.
    bool deliver(QWidget *owner, const QString &name, const QString &extension, const Writer &write,
                 const QString &failedMessage);

    // A fresh folder for one document, so an earlier document still open elsewhere is never
    // overwritten; empty when none can be made.
    QString freshFolder();

    MessageService &m_messages;
    ShellService &m_shell;
    std::unique_ptr<QTemporaryDir> m_run;
    QString m_documentsFolder;
    int m_documents = 0;
    std::chrono::seconds m_readingTime{60};
    std::chrono::steady_clock::time_point m_lastHanded{};
    bool m_handed = false;
};

} // namespace velmora
