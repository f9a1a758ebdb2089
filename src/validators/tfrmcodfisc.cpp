#include "validators/tfrmcodfisc.h"

#include "common/text.h"
#include "validators/checks.h"

using namespace velmora;

namespace {
constexpr int kCodeLength = 16;
const QString kResultTitle = QStringLiteral("Risultato controllo codice fiscale");
} // namespace

TfrmCodFisc::TfrmCodFisc(Services &services, QWidget *parent)
    : CheckDialog(QStringLiteral("TfrmCodFisc"), QStringLiteral(" Controllo codice fiscale"), QSize(470, 262), parent),
      m_services(services)
{
    addLogo(QRect(10, 8, 450, 64), false);
    addInfoFrame(QRect(10, 80, 450, 48), lblInfo, QStringLiteral("lblInfo"),
                 QStringLiteral("Immettere il codice fiscale nella casella sottostante e premere il"), lblInfo02,
                 QStringLiteral("lblInfo02"), QStringLiteral("pulsante di controllo."));
    txtCodice = addEntry(QRect(10, 136, 450, 64), QStringLiteral("txtCodice"), kCodeLength);
    txtCodice->setAccessibleName(QStringLiteral("Codice fiscale"));
    cmdCodFisc = addCheckButton(QRect(175, 212, 120, 36), QStringLiteral("cmdCodFisc"));

    connect(txtCodice, &QLineEdit::textChanged, this, &TfrmCodFisc::txtCodiceChange);
    txtCodice->hooks.onKeyPress = [this](QChar &key) { txtCodiceKeyPress(key); };
    connect(cmdCodFisc, &QPushButton::clicked, this, &TfrmCodFisc::cmdCodFiscClick);
    txtCodice->setFocus();
}

void TfrmCodFisc::txtCodiceChange()
{
    if (!txtCodice->text().isEmpty())
        raiseBoxText(txtCodice);
    cmdCodFisc->setEnabled(toAnsi(txtCodice->text()).size() >= kCodeLength);
}

void TfrmCodFisc::txtCodiceKeyPress(QChar &key)
{
    if (key.unicode() != 13)
        return;
    key = QChar();
    if (toAnsi(txtCodice->text()).size() == kCodeLength)
        cmdCodFisc->click();
}

void TfrmCodFisc::cmdCodFiscClick()
{
    const std::string code = upperAZ(toAnsi(txtCodice->text()));
    if (code.size() != kCodeLength) {
        m_services.messages->information(
            nullptr, kResultTitle,
            QStringLiteral("Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."));
        txtCodice->setFocus();
        return;
    }
    if (IsValidFiscalCode(code))
        m_services.messages->information(nullptr, kResultTitle, QStringLiteral("Il codice fiscale digitato è VALIDO."));
    else
        m_services.messages->warning(nullptr, kResultTitle,
                                     QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO."));
    accept();
}
