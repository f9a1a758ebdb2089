#include "validators/tfrmiban.h"

#include "common/text.h"
#include "validators/checks.h"

using namespace velmora;

namespace {
constexpr int kShortestText = 27;
constexpr int kLongestText = 40;
} // namespace

TfrmIban::TfrmIban(Services &services, QWidget *parent)
    : CheckDialog(QStringLiteral("TfrmIban"), QStringLiteral(" Controllo coordinate bancarie IBAN"), QSize(660, 262),
                  parent),
      m_services(services)
{
    addLogo(QRect(10, 8, 640, 64), true);
    addInfoFrame(QRect(10, 80, 640, 48), lblInfo, QStringLiteral("lblInfo"),
                 QStringLiteral("Immettere il codice IBAN nella casella sottostante e premere il pulsante di"),
                 lblInfo02, QStringLiteral("lblInfo02"), QStringLiteral("controllo."));
    txtCodice = addEntry(QRect(10, 136, 640, 64), QStringLiteral("txtCodice"), kLongestText);
    txtCodice->setAccessibleName(QStringLiteral("Coordinate bancarie IBAN"));
    cmdCheckIban = addCheckButton(QRect(270, 212, 120, 36), QStringLiteral("cmdCheckIban"));

    connect(txtCodice, &QLineEdit::textChanged, this, &TfrmIban::txtCodiceChange);
    txtCodice->hooks.onKeyPress = [this](QChar &key) { txtCodiceKeyPress(key); };
    connect(cmdCheckIban, &QPushButton::clicked, this, &TfrmIban::cmdCheckIbanClick);
    txtCodice->setFocus();
}

void TfrmIban::txtCodiceChange()
{
    cmdCheckIban->setEnabled(toAnsi(txtCodice->text()).size() >= kShortestText);
    if (!txtCodice->text().isEmpty())
        raiseBoxText(txtCodice);
}

void TfrmIban::txtCodiceKeyPress(QChar &key)
{
    if (key.unicode() != 13)
        return;
    key = QChar();
    if (toAnsi(txtCodice->text()).size() >= kShortestText)
        cmdCheckIban->click();
}

void TfrmIban::cmdCheckIbanClick()
{
    const QString title = QStringLiteral("Risultato controllo codice IBAN");
    if (IsValidIban(trimField(toAnsi(txtCodice->text()))))
        m_services.messages->information(nullptr, title, QStringLiteral("Il codice IBAN digitato è ESATTO."));
    else
        m_services.messages->warning(nullptr, title, QStringLiteral("Attenzione: il codice IBAN digitato è ERRATO!"));
    txtCodice->setFocus();
    accept();
}
