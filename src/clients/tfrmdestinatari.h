#pragma once

#include <array>
#include <string>
#include <vector>

#include <QFrame>
#include <QLabel>

#include "clients/clientrecord.h"
#include "common/cardstore.h"
#include "common/widgets.h"
#include "common/navigation.h"
#include "common/workingscreen.h"

namespace velmora {
class CheckDialog;
}

// The client card: one record of the client archive shown in text boxes, with the commands to
// add, store, browse, find and delete cards and to reach their attachments and checks.
class TfrmDestinatari : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmDestinatari)
public:
    explicit TfrmDestinatari(velmora::Services &services, QWidget *parent = nullptr);

    QFrame *panRiquadro01, *panRiquadro02, *panRiquadro03, *panRiquadro04, *panRiquadro05, *panRiquadro06;

    velmora::TextBox *txtCliente, *txtDataNasc, *txtLuogoNasc, *txtCamera, *txtPermanenza, *txtIndirizzo, *txtCitta;
    velmora::TextBox *txtTipoDoc, *txtNumDoc, *txtEnteDoc, *txtRilDoc, *txtScaDoc;
    velmora::TextBox *txtCodFisc, *txtIva;
    velmora::TextBox *txtCarta, *txtTipoCarta, *txtScaCarta, *txtIban, *txtBanca, *txtIntestatario, *txtPagamento;
    velmora::TextBox *txtTelCasa, *txtTelUff, *txtTelCel, *txtFax, *txtEmail;
    velmora::MemoBox *txtNote;

    QLabel *lblFile01, *lblFile02, *lblFile03, *lblDesc01, *lblDesc02, *lblDesc03, *lblCartella, *lblCartellaDesc;
    QLabel *lblPosizione;

    velmora::IconButton *cmdNuovo, *cmdSalva, *cmdRicerca, *cmdWord, *cmdExcel;
    velmora::IconButton *imgPrimo, *imgIndietro, *imgAvanti, *imgUltimo;
    velmora::IconButton *cmdElimina, *cmdAllega, *cmdAssocia, *imgEmail;
    velmora::IconButton *chkCodFisc, *chkIva, *chkNumCarta, *chkIban;
    velmora::IconButton *cmdGuida, *cmdEsci;

protected:
    void FormShow() override;

private:
    void buildPanels();
    void buildCommands();

    void cmdNuovoClick();
    void cmdSalvaClick();
    void cmdRicercaClick();
    void cmdWordClick();
    void cmdExcelClick();
    void arrowClick(velmora::Arrow arrow);
    void imgPrimoClick();
    void imgIndietroClick();
    void imgAvantiClick();
    void imgUltimoClick();
    void cmdEliminaClick();
    void cmdAllegaClick();
    void cmdAssociaClick();
    void imgEmailClick();
    void chkCodFiscClick();
    void chkIvaClick();
    void chkNumCartaClick();
    void chkIbanClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void txtIvaKeyPress(QChar &key);
    void txtCartaKeyPress(QChar &key);
    void txtCodFiscChange();
    void txtIbanChange();
    void txtNoteKeyPress(QChar &key);
    void txtNoteChange();

    // Empties every box, the hidden reference labels and the record number.
    void clearCard();
    // Reads record n and shows it; false after a file error (already reported).
    bool showRecord(std::size_t n);
    // Shows record n, its bytes and its fields, as the card's stored record.
    void showCard(const std::string &record, const std::vector<std::string> &values, std::size_t n);
    std::string cardRecord() const;
    // Opens a check dialog over the card with a value in its entry field.
    void openCheck(velmora::CheckDialog &dialog, const QString &value);
    void fileError();
    // Reports a guarded write or delete that did not happen.
    void reportRefused(velmora::CardStore::Outcome outcome);

    std::array<QWidget *, velmora::client::FieldCount> m_fields{};
    // The bytes of the shown record as loaded or last saved: Save and Delete touch the record
    // only while it still holds them.
    velmora::CardStore m_card;
    bool m_noteGuard = false;
};
