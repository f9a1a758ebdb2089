#pragma once

#include <vector>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "bills/closedbills.h"
#include "bills/consumption.h"
#include "common/quickfind.h"
#include "common/widgets.h"
#include "common/workingscreen.h"

// The bill catalogue: lists the bill files of the program folder, finds, deletes, closes and
// opens them; on request it lists the closed bills instead, to open for reading or reopen.
class TfrmAccedi : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAccedi)
public:
    explicit TfrmAccedi(velmora::Services &services, QWidget *parent = nullptr);

    QListWidget *lstClassi = nullptr;
    QLabel *lblTotale = nullptr;
    QLabel *lblMemory = nullptr;
    velmora::IconButton *imgApri = nullptr;
    velmora::IconButton *imgAnnulla = nullptr;
    velmora::IconButton *btnCancella = nullptr;
    velmora::IconButton *btnChiudi = nullptr;
    velmora::IconButton *btnRiapri = nullptr;
    QRadioButton *optAperti = nullptr;
    QRadioButton *optChiusi = nullptr;
    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    velmora::IconButton *imgGuida = nullptr;
    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;
    QLabel *lblInfo03 = nullptr;
    QLabel *lblInfo04 = nullptr;
    QLabel *lblInfo05 = nullptr;

protected:
    void FormShow() override;
    void FormClose() override;
    bool returnsToStart() const override { return !m_handedOver; }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillList();
    int selectedRow() const;
    void lstClassiDblClick();
    void imgApriClick();
    void imgAnnullaClick();
    void btnCancellaClick();
    void btnChiudiClick();
    void btnRiapriClick();
    void optChiusiClick();
    bool listsClosed() const;
    QString selectedName() const;
    void txtTrovaKeyPress(QChar &key);
    void cmdTrova02Click();
    void imgGuidaClick();

    std::vector<velmora::BillEntry> m_bills;        // in list order, while open bills are listed
    std::vector<velmora::ClosedBillEntry> m_closed; // in list order, while closed bills are listed
    velmora::QuickFind m_find;                      // remembers the last key for the whole run
    bool m_handedOver = false;
};
