#include "clients/attachmentdialogs.h"

#include <QApplication>
#include <QFont>
#include <QPointer>

#include "common/fonts.h"
#include "common/artwork.h"

namespace velmora {

namespace {

constexpr int kWidth = 560;
constexpr int kSlotTop = 78;
constexpr int kSlotHeight = 80;
constexpr int kSlotStep = 88;

QString number(std::size_t slot)
{
    return QStringLiteral("%1").arg(slot + 1, 2, 10, QLatin1Char('0'));
}

} // namespace

AttachmentDialog::AttachmentDialog(Services &services, QWidget *parent, const AttachmentTexts &texts,
                                   std::size_t slotCount, bool folder)
    : QDialog(parent), m_services(services), m_folder(folder)
{
    setWindowTitle(texts.caption);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setBackground(this, colours::white);
    setAutoFillBackground(true);
    const QFont verdana(fonts::text(), 8);
    setFont(verdana);

    int y = 12;
    for (const QString &line : texts.instructions) {
        auto *label = new QLabel(line, this);
        label->setGeometry(16, y, kWidth - 32, 18);
        y += 19;
    }

    for (std::size_t i = 0; i < slotCount; ++i) {
        const QString n = number(i);
        Slot s;
        s.grpAllegato = new QGroupBox(this);
        s.grpAllegato->setObjectName(QStringLiteral("grpAllegato") + n);
        s.grpAllegato->setGeometry(12, kSlotTop + static_cast<int>(i) * kSlotStep, kWidth - 24, kSlotHeight);

        s.lblFile = new QLabel(texts.slotLabels.value(static_cast<qsizetype>(i)), s.grpAllegato);
        s.lblFile->setObjectName(QStringLiteral("lblFile") + n);
        s.lblFile->setGeometry(10, 14, 120, 22);
        s.txtFile = new TextBox(s.grpAllegato);
        s.txtFile->setObjectName(QStringLiteral("txtFile") + n);
        s.txtFile->setReadOnly(true);
        s.lblFile->setBuddy(s.txtFile);
        s.txtFile->setGeometry(130, 14, 282, 22);
        s.cmdSfoglia = new QPushButton(QStringLiteral("Sfoglia..."), s.grpAllegato);
        s.cmdSfoglia->setObjectName(QStringLiteral("cmdSfoglia") + n);
        s.cmdSfoglia->setGeometry(420, 13, 94, 24);

        s.lblDesc = new QLabel(texts.descriptionLabel, s.grpAllegato);
        s.lblDesc->setObjectName(QStringLiteral("lblDesc") + n);
        s.lblDesc->setGeometry(10, 46, 120, 22);
        s.txtDesc = new TextBox(s.grpAllegato);
        s.txtDesc->setObjectName(QStringLiteral("txtDesc") + n);
        s.txtDesc->setGeometry(130, 46, 282, 22);
        s.lblDesc->setBuddy(s.txtDesc);
        keepStorable(s.txtDesc, m_services.messages);
        s.cmdApri = new QPushButton(QStringLiteral("Apri"), s.grpAllegato);
        s.cmdApri->setObjectName(QStringLiteral("cmdApri") + n);
        s.cmdApri->setGeometry(420, 45, 94, 24);
        s.cmdApri->setEnabled(false);
        m_slots.push_back(s);

        connect(s.cmdSfoglia, &QPushButton::clicked, this, [this, i] { cmdSfogliaClick(i); });
        connect(s.cmdApri, &QPushButton::clicked, this, [this, i] { cmdApriClick(i); });
        connect(s.txtFile, &QLineEdit::textChanged, this, [this, i] { txtFileChange(i); });
        s.txtFile->hooks.onKeyPress = [this, i](QChar &key) { txtFileKeyPress(i, key); };
    }

    const int bottom = kSlotTop + static_cast<int>(m_slots.size()) * kSlotStep;
    imgGuida = new QLabel(this);
    imgGuida->setObjectName(QStringLiteral("imgGuida"));
    imgGuida->setPixmap(artwork::symbolIcon(QStringLiteral("?"), QColor(31, 110, 74), 28));
    imgGuida->setGeometry(QRect(QPoint(4, bottom + 2), pictureSize(imgGuida)));
    cmdApplica = new QPushButton(QStringLiteral("Applica e chiudi"), this);
    cmdApplica->setObjectName(QStringLiteral("cmdApplica"));
    cmdApplica->setGeometry(kWidth - 12 - 150, bottom + 4, 150, 28);
    cmdApplica->setAutoDefault(false);
    connect(cmdApplica, &QPushButton::clicked, this, &AttachmentDialog::cmdApplicaClick);
    setFixedSize(kWidth, bottom + 44);
}

void AttachmentDialog::setReferences(const Reference *references, std::size_t count)
{
    for (std::size_t i = 0; i < count && i < m_slots.size(); ++i) {
        // Filling a path box enables its "Apri" at once.
        m_slots[i].txtFile->setText(references[i].path.trimmed());
        m_slots[i].txtDesc->setText(references[i].description.trimmed());
    }
}

Reference AttachmentDialog::reference(std::size_t slot) const
{
    const Slot &s = m_slots.at(slot);
    return {s.txtFile->text().trimmed(), s.txtDesc->text().trimmed()};
}

void AttachmentDialog::cmdSfogliaClick(std::size_t slot)
{
    Slot &s = m_slots.at(slot);
    const QString chosen =
        m_folder ? m_services.dialogs->chooseFolder(this, QStringLiteral("Selezionare una cartella:"))
                 : m_services.dialogs->openFile(this, QStringLiteral("Selezionare un file e premere Apri:"),
                                                QStringLiteral("Tutti i file (*.*)"));
    if (chosen.isEmpty())
        return;
    // A path the archives cannot hold would be stored as another path: it is refused here.
    if (const QString refused = unstorableCharacter(chosen); !refused.isEmpty()) {
        m_services.messages->plain(this, unstorableMessage(refused));
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    s.txtFile->setText(chosen);
    QApplication::restoreOverrideCursor();
}

void AttachmentDialog::cmdApriClick(std::size_t slot)
{
    const QString path = m_slots.at(slot).txtFile->text().trimmed();
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // No shell reports a missing file or application by itself here: the program says so, over
    // this dialog while it is open.
    MessageService *messages = m_services.messages;
    const QPointer<QWidget> dialog(this);
    const bool folder = m_folder;
    m_services.shell->openPath(path, [messages, dialog, folder, path] {
        messages->plain(dialog.data(), folder ? folderNotOpenedMessage(path) : fileNotOpenedMessage(path));
    });
    QApplication::restoreOverrideCursor();
}

void AttachmentDialog::txtFileChange(std::size_t slot)
{
    Slot &s = m_slots.at(slot);
    s.cmdApri->setEnabled(!s.txtFile->text().trimmed().isEmpty());
}

void AttachmentDialog::txtFileKeyPress(std::size_t slot, QChar &key)
{
    // Backspace is the only way to drop a reference; the path itself is never typed.
    if (key.unicode() == 8) {
        m_slots.at(slot).txtFile->clear();
        key = QChar();
    }
}

void AttachmentDialog::cmdApplicaClick()
{
    // Every box goes back to the card, changed or not; the card reads them after the dialog.
    accept();
}

AttachedFilesDialog::AttachedFilesDialog(Services &services, QWidget *parent, const AttachmentTexts &texts)
    : AttachmentDialog(services, parent, texts, 3, false)
{
    grpAllegato01 = m_slots[0].grpAllegato;
    grpAllegato02 = m_slots[1].grpAllegato;
    grpAllegato03 = m_slots[2].grpAllegato;
    lblFile01 = m_slots[0].lblFile;
    lblFile02 = m_slots[1].lblFile;
    lblFile03 = m_slots[2].lblFile;
    txtFile01 = m_slots[0].txtFile;
    txtFile02 = m_slots[1].txtFile;
    txtFile03 = m_slots[2].txtFile;
    lblDesc01 = m_slots[0].lblDesc;
    lblDesc02 = m_slots[1].lblDesc;
    lblDesc03 = m_slots[2].lblDesc;
    txtDesc01 = m_slots[0].txtDesc;
    txtDesc02 = m_slots[1].txtDesc;
    txtDesc03 = m_slots[2].txtDesc;
    cmdSfoglia01 = m_slots[0].cmdSfoglia;
    cmdSfoglia02 = m_slots[1].cmdSfoglia;
    cmdSfoglia03 = m_slots[2].cmdSfoglia;
    cmdApri01 = m_slots[0].cmdApri;
    cmdApri02 = m_slots[1].cmdApri;
    cmdApri03 = m_slots[2].cmdApri;
}

void AttachedFilesDialog::setFiles(const AttachedFiles &files)
{
    setReferences(files.data(), files.size());
}

AttachedFiles AttachedFilesDialog::files() const
{
    return {reference(0), reference(1), reference(2)};
}

LinkedFolderDialog::LinkedFolderDialog(Services &services, QWidget *parent, const AttachmentTexts &texts)
    : AttachmentDialog(services, parent, texts, 1, true)
{
    grpAllegato01 = m_slots[0].grpAllegato;
    lblFile01 = m_slots[0].lblFile;
    txtFile01 = m_slots[0].txtFile;
    lblDesc01 = m_slots[0].lblDesc;
    txtDesc01 = m_slots[0].txtDesc;
    cmdSfoglia01 = m_slots[0].cmdSfoglia;
    cmdApri01 = m_slots[0].cmdApri;
}

void LinkedFolderDialog::setFolder(const Reference &folder)
{
    setReferences(&folder, 1);
}

Reference LinkedFolderDialog::folder() const
{
    return reference(0);
}

} // namespace velmora
