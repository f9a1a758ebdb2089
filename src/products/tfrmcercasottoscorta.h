#pragma once

#include <optional>

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

#include "common/quickfind.h"
#include "common/recordfile.h"
#include "common/services.h"
#include "common/widgets.h"

// The low-stock list: every product whose stock has fallen to or below its threshold, so
// the user knows what to reorder; a double click closes the list with the chosen card, which
// the product card loads.
class TfrmCercaSottoscorta : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaSottoscorta)
public:
    explicit TfrmCercaSottoscorta(velmora::Services &services, QWidget *parent = nullptr);

    // The card chosen by the last double click with its 1-based place in the archive; empty
    // when none was chosen.
    const std::optional<velmora::NumberedRecord> &chosen() const { return m_chosen; }

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
    std::optional<velmora::NumberedRecord> m_chosen;
};
