#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "bills/consumption.h"
#include "common/quickfind.h"
#include "common/services.h"
#include "common/widgets.h"

// Where the consumption screen moves consumptions: the bill chosen and whether every
// consumption of the open bill goes, or only the one on the card.
struct TransferChoice
{
    std::filesystem::path destination;
    QString name; // the chosen bill's name, as the catalogue shows it without ".for"
    bool all = false;
};

// Choosing the bill that receives consumptions of the open one. Lists the other bills of the
// program folder in the catalogue's order, with its quick find; OK closes with the choice,
// which the consumption screen reads after exec().
class TfrmTrasferisci : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmTrasferisci)
public:
    // source is the open bill, left out of the list; cardStored says whether the card shows a
    // stored consumption (a new card has none to move).
    TfrmTrasferisci(velmora::Services &services, const std::filesystem::path &source, bool cardStored,
                    QWidget *parent = nullptr);

    // The choice OK took; empty when the dialog closed otherwise.
    const std::optional<TransferChoice> &chosen() const { return m_chosen; }

    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;
    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    QListWidget *lstConti = nullptr;
    QRadioButton *optScheda = nullptr;
    QRadioButton *optTutte = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdAnnulla = nullptr;

private:
    void txtTrovaKeyPress(QChar &key);
    void cmdTrova02Click();
    void cmdOKClick();

    velmora::Services &m_services;
    velmora::QuickFind m_finder;
    std::vector<velmora::BillEntry> m_bills; // in list order
    std::optional<TransferChoice> m_chosen;
};
