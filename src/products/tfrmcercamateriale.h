#pragma once

#include <array>
#include <optional>

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

// The product search: cards that hold the words typed in up to seven fields, listed one a
// line; a double click closes the search with the chosen card, which the product card that
// opened it loads.
class TfrmCercaMateriale : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaMateriale)
public:
    explicit TfrmCercaMateriale(velmora::Services &services, QWidget *parent = nullptr);

    // Tells the search who opens it; only the product card gets a card back.
    void setCaller(velmora::Caller caller);
    // The card chosen by the last double click with its 1-based place in the archive; empty
    // when none was chosen or the caller is not the product card.
    const std::optional<velmora::NumberedRecord> &chosen() const { return m_chosen; }

    // Who opened the search, as its marker: "anagrafica", "materiali" or "forniture".
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
    std::optional<velmora::NumberedRecord> m_chosen;
};
