#pragma once

#include <array>
#include <vector>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "common/services.h"
#include "common/widgets.h"

// The attached files and linked folder dialogs of the client and product cards. Both cards use
// the same dialogs; only the texts differ. The card gives a dialog its references before
// showing it and, when the dialog closes with "Applica e chiudi", takes the dialog's references
// back into its hidden labels; nothing reaches the archive until the card is saved.
namespace velmora {

// One reference of a card: the path of a file or folder and its description.
struct Reference
{
    QString path;
    QString description;
};

// The three attached files of a card, in slot order.
using AttachedFiles = std::array<Reference, 3>;

// The two hidden labels in which a card holds one reference.
struct ReferenceLabels
{
    QLabel *path;
    QLabel *description;

    Reference reference() const { return {path->text(), description->text()}; }
    void show(const Reference &reference) const
    {
        path->setText(reference.path);
        description->setText(reference.description);
    }
};

struct AttachmentTexts
{
    QString caption;
    QStringList instructions; // three lines above the slots
    QStringList slotLabels;   // caption of each path box
    QString descriptionLabel; // caption of every description box
};

class AttachmentDialog : public QDialog
{
    Q_OBJECT
public:
    QPushButton *cmdApplica = nullptr;
    QLabel *imgGuida = nullptr;

protected:
    AttachmentDialog(Services &services, QWidget *parent, const AttachmentTexts &texts, std::size_t slotCount,
                     bool folder);

    // Fills slot i with references[i], trimmed.
    void setReferences(const Reference *references, std::size_t count);
    // The boxes of slot i, trimmed.
    Reference reference(std::size_t slot) const;

    struct Slot
    {
        QGroupBox *grpAllegato = nullptr;
        QLabel *lblFile = nullptr;
        TextBox *txtFile = nullptr;
        QLabel *lblDesc = nullptr;
        TextBox *txtDesc = nullptr;
        QPushButton *cmdSfoglia = nullptr;
        QPushButton *cmdApri = nullptr;
    };
    std::vector<Slot> m_slots;

private:
    void cmdSfogliaClick(std::size_t slot);
    void cmdApriClick(std::size_t slot);
    void txtFileChange(std::size_t slot);
    void txtFileKeyPress(std::size_t slot, QChar &key);
    void cmdApplicaClick();

    Services &m_services;
    bool m_folder;
};

// Three attached files, each with its description.
class AttachedFilesDialog : public AttachmentDialog
{
    Q_OBJECT
public:
    QGroupBox *grpAllegato01, *grpAllegato02, *grpAllegato03;
    QLabel *lblFile01, *lblFile02, *lblFile03;
    TextBox *txtFile01, *txtFile02, *txtFile03;
    QLabel *lblDesc01, *lblDesc02, *lblDesc03;
    TextBox *txtDesc01, *txtDesc02, *txtDesc03;
    QPushButton *cmdSfoglia01, *cmdSfoglia02, *cmdSfoglia03;
    QPushButton *cmdApri01, *cmdApri02, *cmdApri03;

    // The card's references, shown before the dialog opens.
    void setFiles(const AttachedFiles &files);
    // What the boxes hold, trimmed: the card's new references after "Applica e chiudi".
    AttachedFiles files() const;

protected:
    AttachedFilesDialog(Services &services, QWidget *parent, const AttachmentTexts &texts);
};

// One linked folder with its description.
class LinkedFolderDialog : public AttachmentDialog
{
    Q_OBJECT
public:
    QGroupBox *grpAllegato01;
    QLabel *lblFile01;
    TextBox *txtFile01;
    QLabel *lblDesc01;
    TextBox *txtDesc01;
    QPushButton *cmdSfoglia01;
    QPushButton *cmdApri01;

    // The card's folder, shown before the dialog opens.
    void setFolder(const Reference &folder);
    // What the boxes hold, trimmed: the card's new folder after "Applica e chiudi".
    Reference folder() const;

protected:
    LinkedFolderDialog(Services &services, QWidget *parent, const AttachmentTexts &texts);
};

} // namespace velmora
