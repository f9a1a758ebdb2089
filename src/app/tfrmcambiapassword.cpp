#include "app/tfrmcambiapassword.h"

#include <QCloseEvent>
#include <QGroupBox>

#include "common/fonts.h"
#include "app/passwordcodec.h"
#include "app/passwordstore.h"
#include "app/tfrmpassword.h"
#include "common/artwork.h"
#include "common/text.h"
#include "common/widgets.h"

using namespace velmora;

namespace {

const QString kChangeError =
    QStringLiteral("Attenzione: si è verificato un errore durante la procedura di modifica della "
                   "password. Si consiglia di reinstallare il software.");

} // namespace

TfrmCambiaPassword::TfrmCambiaPassword(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCambiaPassword"));
    setWindowTitle(QStringLiteral(" Cambia password"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setBackground(this, colours::silver);
    setAutoFillBackground(true);
    setFixedSize(420, 300);
    centreWhenShown(this);

    auto *grp = new QGroupBox(this);
    grp->setObjectName(QStringLiteral("grpCambia"));
    grp->setGeometry(10, 8, 400, 238);
    auto *logo1 = new QLabel(grp);
    logo1->setObjectName(QStringLiteral("imgLogo1"));
    logo1->setPixmap(artwork::logo(QSize(48, 48), 1));
    logo1->setGeometry(16, 14, 48, 48);
    auto *logo2 = new QLabel(grp);
    logo2->setObjectName(QStringLiteral("imgLogo2"));
    logo2->setPixmap(artwork::logo(QSize(200, 48), 2));
    logo2->setGeometry(76, 14, 200, 48);

    const QString captions[3] = {QStringLiteral("Vecchia password:"), QStringLiteral("Nuova password:"),
                                 QStringLiteral("Conferma nuova pw:")};
    const QString names[3] = {QStringLiteral("txtPasswordOld"), QStringLiteral("txtPasswordNew"),
                              QStringLiteral("txtConferma")};
    TextBox *boxes[3];
    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(captions[i], grp);
        label->setGeometry(16, 84 + i * 46, 140, 26);
        label->setFont(QFont(fonts::text(), 9));
        boxes[i] = new TextBox(grp, colours::white);
        boxes[i]->setObjectName(names[i]);
        label->setBuddy(boxes[i]);
        boxes[i]->setGeometry(160, 80 + i * 46, 224, 30);
        maskPasswordBox(boxes[i], 13);
        keepStorable(boxes[i], m_services.messages);
        connect(boxes[i], &QLineEdit::textChanged, this, &TfrmCambiaPassword::fieldsChange);
    }
    txtPasswordOld = boxes[0];
    txtPasswordNew = boxes[1];
    txtConferma = boxes[2];

    cmdEsci = new QPushButton(QStringLiteral("Esci"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    cmdEsci->setGeometry(10, 256, 110, 32);
    cmdEsci->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(300, 256, 110, 32);
    cmdOK->setEnabled(false);
    cmdOK->setAutoDefault(false);

    txtPasswordOld->hooks.enterNext = txtPasswordNew;
    txtPasswordNew->hooks.enterNext = txtConferma;
    txtConferma->hooks.onKeyPress = [this](QChar &key) { txtConfermaKeyPress(key); };
    connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
}

void TfrmCambiaPassword::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmCambiaPassword::FormShow()
{
    txtPasswordOld->clear();
    txtPasswordNew->clear();
    txtConferma->clear();
    txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::fieldsChange()
{
    const auto filled = [](const TextBox *b) { return !trimField(toAnsi(b->text())).empty(); };
    cmdOK->setEnabled(filled(txtPasswordOld) && filled(txtPasswordNew) && filled(txtConferma));
}

void TfrmCambiaPassword::txtConfermaKeyPress(QChar &key)
{
    if (key.unicode() != 13)
        return;
    key = QChar();
    if (cmdOK->isEnabled())
        cmdOK->setFocus();
    else
        txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::cmdOKClick()
{
    switch (changeStoredPassword(m_services.file(kPasswordStore), toAnsi(txtPasswordOld->text()),
                                 toAnsi(txtPasswordNew->text()), toAnsi(txtConferma->text()))) {
    case PasswordChange::WrongOld:
        m_services.messages->plain(this, QStringLiteral("Attenzione: vecchia password errata."));
        txtPasswordOld->clear();
        txtPasswordOld->setFocus();
        return;
    case PasswordChange::NotConfirmed:
        m_services.messages->plain(this, QStringLiteral("Attenzione: la nuova password non è stata confermata "
                                                        "correttamente. E' necessario reinserire entrambi i valori."));
        txtPasswordNew->clear();
        txtConferma->clear();
        txtPasswordNew->setFocus();
        return;
    case PasswordChange::Failed:
        m_services.messages->plain(this, kChangeError);
        return;
    case PasswordChange::Busy:
        m_services.messages->plain(this, archiveBusyMessage());
        return;
    case PasswordChange::Done:
        break;
    }
    m_services.messages->plain(this, QStringLiteral("Modifica della password avvenuta con successo."));
    close();
}

void TfrmCambiaPassword::cmdEsciClick()
{
    close();
}

void TfrmCambiaPassword::reject()
{
    close();
}

void TfrmCambiaPassword::closeEvent(QCloseEvent *event)
{
    event->accept();
    hide();
    FormClose();
}

void TfrmCambiaPassword::FormClose()
{
    m_services.navigator->showLogin();
}
