#pragma once

#include <vector>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "bills/consumption.h"
#include "common/quickfind.h"
#include "common/widgets.h"
#include "common/workingscreen.h"

// The bill catalogue: lists the bill files of the program folder, finds, deletes and opens them.
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
    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    velmora::IconButton *imgGuida = nullptr;
    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;
    QLabel *lblInfo03 = nullptr;
    QLabel *lblInfo04 = nullptr;

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
    void txtTrovaKeyPress(QChar &key);
    void cmdTrova02Click();
    void imgGuidaClick();

    std::vector<velmora::BillEntry> m_bills; // in list order
    velmora::QuickFind m_find;               // remembers the last key for the whole run
    bool m_handedOver = false;
};
