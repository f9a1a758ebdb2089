#pragma once

#include <memory>

#include <QString>

#include "common/office.h"
#include "common/services.h"

class QTemporaryDir;

// Word and Excel documents written as files in a temporary folder of this run and opened with
// the user's default application through the shell.
namespace velmora {

class FileOfficeService final : public OfficeService
{
public:
    // Documents go under rootFolder when given, otherwise under a new folder in the system's
    // temporary folder.
    FileOfficeService(MessageService &messages, ShellService &shell, const QString &rootFolder = QString());
    ~FileOfficeService() override;

    bool wordCard(QWidget *owner, const WordCard &card) override;
    bool wordGrid(QWidget *owner, const TextGrid &grid, const QString &documentName) override;
    bool excelGrid(QWidget *owner, const TextGrid &grid, const QString &sheetName, int boldUpTo) override;

    // The file name a card document gets: its first heading in sentence case.
    static QString cardDocumentName(const WordCard &card);

private:
    // A fresh folder for one document, so an earlier document still open elsewhere is never
    // overwritten; empty when none can be made.
    QString freshFolder();

    MessageService &m_messages;
    ShellService &m_shell;
    // Kept after the run: the user's office application may still hold the documents.
    std::unique_ptr<QTemporaryDir> m_root;
    QString m_rootFolder;
    int m_documents = 0;
};

} // namespace velmora
