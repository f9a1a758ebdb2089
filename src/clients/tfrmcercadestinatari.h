#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "common/quickfind.h"
#include "common/services.h"
#include "common/widgets.h"

// The client search: finds cards by words typed into up to nine fields, lists them, and on a
// double click hands the chosen card to the screen that opened the search.
class TfrmCercaDestinatari : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaDestinatari)
public:
    // Who opened the search: "anagrafica", "materiali" or "forniture".
    QLabel *lblMemory = nullptr;

    explicit TfrmCercaDestinatari(velmora::Services &services, QWidget *parent = nullptr);

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

    // The record bytes last handed back to the caller; empty when none was chosen.
    const std::string &chosenRecord() const { return m_chosen; }

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
    void handBack(const std::string &record, std::size_t number);

    velmora::Services &m_services;
    std::vector<velmora::TextBox *> m_criteria;
    std::vector<std::size_t> m_criteriaFields;
    std::vector<std::string> m_lines; // the list's lines as stored text, in list order
    velmora::QuickFind m_quickFind;
    std::string m_chosen;
};
