#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

#include "common/quickfind.h"
#include "common/services.h"
#include "common/widgets.h"

// The low-stock list: every product whose stock has fallen to or below its threshold, so
// the user knows what to reorder; a double click loads the card into the product card.
class TfrmCercaSottoscorta : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaSottoscorta)
public:
    explicit TfrmCercaSottoscorta(velmora::Services &services, QWidget *parent = nullptr);

    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    QListWidget *lstRecords = nullptr;
    QPushButton *cmdStampa = nullptr;
    QPushButton *cmdAnnulla = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void cmdTrova02Click();
    void cmdStampaClick();
    void lstRecordsDblClick();

    velmora::Services &m_services;
    velmora::QuickFind m_finder;
};
