#include "app/tfrmpassword.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QScreen>

#include "common/fonts.h"
#include "app/passwordcodec.h"
#include "app/passwordstore.h"
#include "app/tfrmcopie.h"
#include "common/artwork.h"
#include "common/text.h"
#include "common/widgets.h"

using namespace velmora;

void maskPasswordBox(TextBox *box, int pixelSize)
{
    box->setEchoMode(QLineEdit::Password);
    box->setMaxLength(static_cast<int>(kPasswordMaxLength));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(pixelSize);
    box->setFont(f);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 9679;"));
}

TfrmPassword::TfrmPassword(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmPassword"));
    setWindowTitle(QStringLiteral(" Velmora © - Autenticazione"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setBackground(this, colours::silver);
    setAutoFillBackground(true);
    setFixedSize(420, 250);
    centreWhenShown(this);

    auto *grp = new QGroupBox(this);
    grp->setObjectName(QStringLiteral("grpPassword"));
    grp->setGeometry(10, 8, 400, 188);

    auto *logo1 = new QLabel(grp);
    logo1->setObjectName(QStringLiteral("imgLogo1"));
    logo1->setPixmap(artwork::logo(QSize(56, 56), 1));
    logo1->setGeometry(16, 16, 56, 56);
    auto *logo2 = new QLabel(grp);
    logo2->setObjectName(QStringLiteral("imgLogo2"));
    logo2->setPixmap(artwork::logo(QSize(220, 56), 2));
    logo2->setGeometry(86, 16, 220, 56);

    lblInfo = new QLabel(QStringLiteral("Immettere la password e premere OK."), grp);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setGeometry(16, 86, 370, 20);
    lblInfo->setFont(QFont(fonts::text(), 9));

    txtPassword = new TextBox(grp, colours::white);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    txtPassword->setAccessibleName(QStringLiteral("Password"));
    txtPassword->setGeometry(16, 114, 280, 32);
    maskPasswordBox(txtPassword, 19);
    keepStorable(txtPassword, m_services.messages);

    cmdOK = new QPushButton(QStringLiteral("OK"), grp);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(306, 114, 80, 32);
    cmdOK->setEnabled(false);
    cmdOK->setAutoDefault(false);

    cmdEsci = new QPushButton(QStringLiteral("Esci"), this);
    cmdEsci->setObjectName(QStringLiteral("cmdEsci"));
    cmdEsci->setGeometry(10, 206, 110, 32);
    cmdEsci->setAutoDefault(false);
    btnCambiaPassword = new QPushButton(QStringLiteral("Cambia password"), this);
    btnCambiaPassword->setObjectName(QStringLiteral("btnCambiaPassword"));
    btnCambiaPassword->setGeometry(270, 206, 140, 32);
    btnCambiaPassword->setAutoDefault(false);

    connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
    txtPassword->hooks.onKeyPress = [this](QChar &key) { txtPasswordKeyPress(key); };
    connect(cmdOK, &QPushButton::clicked, this, &TfrmPassword::cmdOKClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmPassword::cmdEsciClick);
    connect(btnCambiaPassword, &QPushButton::clicked, this, &TfrmPassword::btnCambiaPasswordClick);
    txtPassword->setFocus();
}

void TfrmPassword::txtPasswordChange()
{
    cmdOK->setEnabled(!trimField(toAnsi(txtPassword->text())).empty());
}

void TfrmPassword::txtPasswordKeyPress(QChar &key)
{
    if (key.unicode() != 13)
        return;
    key = QChar();
    if (!trimField(toAnsi(txtPassword->text())).empty())
        cmdOK->click();
}

void TfrmPassword::cmdOKClick()
{
    const auto stored = readStoredPassword(m_services.file(kPasswordStore));
    if (!stored) {
        m_services.messages->plain(this, QStringLiteral("Attenzione: si è verificato un errore durante la procedura di "
                                                        "lettura della password. Si consiglia di reinstallare il "
                                                        "software."));
        return;
    }
    if (*stored != passwordKey(toAnsi(txtPassword->text()))) {
        m_services.messages->plain(this, QStringLiteral("Attenzione: password errata."));
        txtPassword->clear();
        txtPassword->setFocus();
        return;
    }
    m_services.navigator->showStart();
    hide();
}

void TfrmPassword::cmdEsciClick()
{
    close();
}

void TfrmPassword::btnCambiaPasswordClick()
{
    m_services.navigator->showChangePassword();
    hide();
}

void TfrmPassword::returnFromChange()
{
    txtPassword->clear();
    show();
    raise();
    activateWindow();
    txtPassword->setFocus();
}

void TfrmPassword::reject()
{
    close();
}

void TfrmPassword::closeEvent(QCloseEvent *event)
{
    // The login screen is the main window: closing it ends the program, after the day's
    // automatic copy, as when the start screen closes.
    event->accept();
    hide();
    automaticCopyAtEnd(m_services, this);
    QCoreApplication::quit();
}
