#pragma once

#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "validators/checkdialog.h"

// Checks a credit card number with the Luhn digit and names the card type.
class TfrmCarta : public velmora::CheckDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCarta)
public:
    explicit TfrmCarta(velmora::Services &services, QWidget *parent = nullptr);

    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;
    velmora::CodeBox *txtNumero = nullptr;
    QPushButton *cmdControllo = nullptr;

private:
    void txtNumeroChange();
    void txtNumeroKeyPress(QChar &key);
    void cmdControlloClick();

    velmora::Services &m_services;
};
