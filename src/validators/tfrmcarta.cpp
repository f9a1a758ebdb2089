#include "validators/tfrmcarta.h"

#include "common/keyfilters.h"
#include "common/text.h"
#include "validators/checks.h"

using namespace velmora;

namespace {
constexpr int kShortestNumber = 13;
} // namespace

TfrmCarta::TfrmCarta(Services &services, QWidget *parent)
    : CheckDialog(QStringLiteral("TfrmCarta"), QStringLiteral(" Controllo carta di credito"), QSize(470, 186), parent),
      m_services(services)
{
    addInfoFrame(QRect(10, 10, 450, 48), lblInfo01, QStringLiteral("lblInfo01"),
                 QStringLiteral("Inserire il numero di carta di credito senza spazi o trattini nella"), lblInfo02,
                 QStringLiteral("lblInfo02"),
                 QStringLiteral("casella sottostante e premere il pulsante di controllo."));
    txtNumero = addEntry(QRect(10, 66, 450, 64), QStringLiteral("txtNumero"), 0);
    txtNumero->setAccessibleName(QStringLiteral("Numero della carta di credito"));
    cmdControllo = addCheckButton(QRect(175, 140, 120, 36), QStringLiteral("cmdControllo"));

    connect(txtNumero, &QLineEdit::textChanged, this, &TfrmCarta::txtNumeroChange);
    txtNumero->hooks.onKeyPress = [this](QChar &key) { txtNumeroKeyPress(key); };
    connect(cmdControllo, &QPushButton::clicked, this, &TfrmCarta::cmdControlloClick);
    txtNumero->setFocus();
}

void TfrmCarta::txtNumeroChange()
{
    cmdControllo->setEnabled(toAnsi(txtNumero->text()).size() >= kShortestNumber);
}

void TfrmCarta::txtNumeroKeyPress(QChar &key)
{
    if (key.unicode() == 13 && toAnsi(txtNumero->text()).size() >= kShortestNumber) {
        key = QChar();
        cmdControllo->click();
        return;
    }
    const char typed = key.unicode() < 0x80 ? static_cast<char>(key.unicode()) : '\0';
    if (digitsOnlyKey(typed) == KeyVerdict::Accept)
        return;
    m_services.messages->plain(this,
                               QStringLiteral("Attenzione: carattere non valido. Digitare solo valori numerici."));
    key = QChar();
}

void TfrmCarta::cmdControlloClick()
{
    const std::string text = toAnsi(txtNumero->text());
    const int cardClass = CardCheck(text);
    if (cardClass >= 1 && cardClass <= 4) {
        const std::string trimmed = trimField(text);
        const std::string type = CardTypeName(cardClass, trimmed);
        // A valid number of the first class with an unknown prefix has no type to name.
        if (!type.empty())
            m_services.messages->plain(this, QStringLiteral("Il numero di carta di credito ") + fromAnsi(trimmed) +
                                                 QStringLiteral(" risulta valido.\r\n\r\nLa carta di credito è del "
                                                                "tipo ") +
                                                 fromAnsi(type) + QStringLiteral("."));
    } else {
        m_services.messages->warning(nullptr, QStringLiteral("Risultato controllo numero di carta di credito"),
                                     QStringLiteral("Attenzione: il numero digitato risulta ERRATO!\r\n\r\nNon è "
                                                    "quindi possibile fornire informazioni relative al tipo di carta "
                                                    "di credito."));
    }
    accept();
}
