#pragma once

#include <vector>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStringList>

#include "common/services.h"
#include "common/widgets.h"

// The attached files and linked folder dialogs of the client and product cards. Both cards use
// the same dialogs; only the texts differ. A dialog reads the card's hidden reference labels
// when it is created over the card and writes them back on "Applica e chiudi"; nothing reaches
// the archive until the card is saved.
namespace velmora {

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
    // cardLabels holds, per slot, the names of the card's path and description labels.
    AttachmentDialog(Services &services, QWidget *parent, const AttachmentTexts &texts,
                     const std::vector<std::pair<QString, QString>> &cardLabels, bool folder);

    struct Slot
    {
        QGroupBox *grpAllegato = nullptr;
        QLabel *lblFile = nullptr;
        TextBox *txtFile = nullptr;
        QLabel *lblDesc = nullptr;
        TextBox *txtDesc = nullptr;
        QPushButton *cmdSfoglia = nullptr;
        QPushButton *cmdApri = nullptr;
        QString cardFile;
        QString cardDesc;
    };
    std::vector<Slot> m_slots;

private:
    void loadFromCard();
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

protected:
    LinkedFolderDialog(Services &services, QWidget *parent, const AttachmentTexts &texts);
};

} // namespace velmora
