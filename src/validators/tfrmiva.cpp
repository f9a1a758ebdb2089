#include "validators/tfrmiva.h"

#include "common/keyfilters.h"
#include "common/text.h"
#include "validators/checks.h"

using namespace velmora;

namespace {
constexpr int kNumberLength = 11;
} // namespace

TfrmIva::TfrmIva(Services &services, QWidget *parent)
    : CheckDialog(QStringLiteral("TfrmIva"), QStringLiteral(" Controllo partita IVA "), QSize(470, 262), parent),
      m_services(services)
{
    addLogo(QRect(10, 8, 450, 64), false);
    addInfoFrame(QRect(10, 80, 450, 48), lblInfo, QStringLiteral("lblInfo"),
                 QStringLiteral("Immettere la partita IVA nella casella sottostante e premere il"), lblInfo02,
                 QStringLiteral("lblInfo02"), QStringLiteral("pulsante di controllo."));
    txtCodice = addEntry(QRect(10, 136, 450, 64), QStringLiteral("txtCodice"), kNumberLength);
    txtCodice->setAccessibleName(QStringLiteral("Numero di partita IVA"));
    cmdPartitaIva = addCheckButton(QRect(175, 212, 120, 36), QStringLiteral("cmdPartitaIva"));

    connect(txtCodice, &QLineEdit::textChanged, this, &TfrmIva::txtCodiceChange);
    txtCodice->hooks.onKeyPress = [this](QChar &key) { txtCodiceKeyPress(key); };
    connect(cmdPartitaIva, &QPushButton::clicked, this, &TfrmIva::cmdPartitaIvaClick);
    txtCodice->setFocus();
}

void TfrmIva::setNumericFiscalCodeMode()
{
    setWindowTitle(QStringLiteral(" Controllo codice fiscale numerico / partita IVA"));
    lblInfo->setText(QStringLiteral("Immettere il codice fiscale numerico o la partita IVA nella casella"));
    lblInfo02->setText(QStringLiteral("sottostante e premere il pulsante di controllo."));
}

void TfrmIva::txtCodiceChange()
{
    cmdPartitaIva->setEnabled(toAnsi(txtCodice->text()).size() >= kNumberLength);
}

void TfrmIva::txtCodiceKeyPress(QChar &key)
{
    if (key.unicode() == 13 && toAnsi(txtCodice->text()).size() == kNumberLength) {
        key = QChar();
        cmdPartitaIva->click();
        return;
    }
    const char typed = key.unicode() < 0x80 ? static_cast<char>(key.unicode()) : '\0';
    if (digitsOnlyKey(typed) == KeyVerdict::Accept)
        return;
    m_services.messages->plain(this,
                               QStringLiteral("Attenzione: carattere non valido. Digitare solo valori numerici."));
    key = QChar();
}

void TfrmIva::cmdPartitaIvaClick()
{
    const std::string number = upperAZ(toAnsi(txtCodice->text()));
    if (number.size() != kNumberLength) {
        m_services.messages->plain(
            this, QStringLiteral("Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."));
        return;
    }
    if (IsValidVatNumber(number)) {
        const QString office = fromAnsi(VatOfficeName(number.substr(7, 3)));
        m_services.messages->plain(this, QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.\r\n\r\nE' "
                                                        "stato rilasciato dall'Ufficio IVA del Comune di ") +
                                             office + QStringLiteral("."));
    } else {
        m_services.messages->warning(nullptr, QStringLiteral("Risultato controllo partita IVA"),
                                     QStringLiteral("Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n"
                                                    "\r\nNon è quindi possibile fornire informazioni relative "
                                                    "all'Ufficio IVA che lo ha rilasciato."));
    }
    accept();
}
