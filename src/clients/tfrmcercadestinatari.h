#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "common/caller.h"
#include "common/quickfind.h"
#include "common/recordfile.h"
#include "common/services.h"
#include "common/widgets.h"

// The card a double click in the client search chooses, as the archive holds it.
struct ChosenClient
{
    std::size_t number = 0;          // its 1-based place in the archive
    std::string record;              // the record's bytes
    std::vector<std::string> values; // its 35 fields, trimmed, in Windows-1252
};

// The client search: finds cards by words typed into up to nine fields, lists them, and on a
// double click closes with the chosen card, which the screen that opened the search reads.
class TfrmCercaDestinatari : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaDestinatari)
public:
    // Who opened the search, as its marker: "anagrafica", "materiali" or "forniture".
    QLabel *lblMemory = nullptr;

    explicit TfrmCercaDestinatari(velmora::Services &services, QWidget *parent = nullptr);

    // Tells the search who opens it; the client card and the consumption screen get a card back.
    void setCaller(velmora::Caller caller);

    QGroupBox *grpCriteri = nullptr;
    QGroupBox *grpElenco = nullptr;
    velmora::TextBox *txtCliente = nullptr;
    velmora::TextBox *txtLuogoNasc = nullptr;
    velmora::TextBox *txtCamera = nullptr;
    velmora::TextBox *txtIndirizzo = nullptr;
    velmora::TextBox *txtCitta = nullptr;
    velmora::TextBox *txtNumDoc = nullptr;
    velmora::TextBox *txtCodFisc = nullptr;
    velmora::TextBox *txtIva = nullptr;
    velmora::TextBox *txtNote = nullptr;
    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    QListWidget *lstRecords = nullptr;
    QPushButton *cmdTrova = nullptr;
    QPushButton *cmdAnnulla = nullptr;
    QPushButton *cmdIndietro = nullptr;
    QPushButton *cmdStampa = nullptr;
    QLabel *lblConta = nullptr;

    // Closing by any means leaves the dialog as it opened.
    void done(int result) override;

    // The card chosen by the last double click; empty when none was chosen, or when the
    // caller is one the search hands nothing to.
    const std::optional<ChosenClient> &chosen() const { return m_chosen; }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void cmdTrovaClick();
    void cmdAnnullaClick();
    void cmdIndietroClick();
    void cmdTrova02Click();
    void cmdStampaClick();
    void txtTrovaKeyPress(QChar &key);
    void lstRecordsDblClick();
    void showCriteriaPage();
    void handBack(velmora::NumberedRecord found);

    velmora::Services &m_services;
    std::vector<velmora::TextBox *> m_criteria;
    std::vector<std::size_t> m_criteriaFields;
    std::vector<std::string> m_lines; // the list's lines as stored text, in list order
    velmora::QuickFind m_quickFind;
    std::optional<ChosenClient> m_chosen;
};
