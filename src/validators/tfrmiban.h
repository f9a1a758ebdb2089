#pragma once

#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "validators/checkdialog.h"

// Checks an IBAN with the modulo-97 remainder, whatever its country.
class TfrmIban : public velmora::CheckDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmIban)
public:
    explicit TfrmIban(velmora::Services &services, QWidget *parent = nullptr);

    QLabel *lblInfo = nullptr;
    QLabel *lblInfo02 = nullptr;
    velmora::CodeBox *txtCodice = nullptr;
    QPushButton *cmdCheckIban = nullptr;

private:
    void txtCodiceChange();
    void txtCodiceKeyPress(QChar &key);
    void cmdCheckIbanClick();

    velmora::Services &m_services;
};
