#pragma once

#include <array>

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "common/quickfind.h"
#include "common/services.h"
#include "common/widgets.h"

// The product search: cards that hold the words typed in up to seven fields, listed one a
// line; a double click loads the chosen card into the product card that opened the search.
class TfrmCercaMateriale : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaMateriale)
public:
    explicit TfrmCercaMateriale(velmora::Services &services, QWidget *parent = nullptr);

    // Who opened the search: "anagrafica", "materiali" or "forniture".
    QLabel *lblMemory = nullptr;
    QLabel *lblConta = nullptr;

    QGroupBox *grpCriteri = nullptr;
    QGroupBox *grpElenco = nullptr;
    velmora::TextBox *txtCognome = nullptr;
    velmora::TextBox *cboGiorno = nullptr;
    velmora::TextBox *txtNome = nullptr;
    velmora::TextBox *cboMese = nullptr;
    velmora::TextBox *txtAzienda = nullptr;
    velmora::TextBox *txtAnno = nullptr;
    velmora::TextBox *txtDettagli = nullptr;
    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    QListWidget *lstRecords = nullptr;
    QPushButton *cmdTrova = nullptr;
    QPushButton *cmdAnnulla = nullptr;
    QPushButton *cmdIndietro = nullptr;
    QPushButton *cmdStampa = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::array<velmora::TextBox *, 7> criteria() const;
    void showCriteriaPage();
    void cmdTrovaClick();
    void cmdIndietroClick();
    void cmdTrova02Click();
    void cmdStampaClick();
    void lstRecordsDblClick();

    velmora::Services &m_services;
    velmora::QuickFind m_finder;
};
