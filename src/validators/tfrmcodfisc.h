#pragma once

#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "validators/checkdialog.h"

// Checks the control character of an Italian fiscal code typed or handed over by the client card.
class TfrmCodFisc : public velmora::CheckDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCodFisc)
public:
    explicit TfrmCodFisc(velmora::Services &services, QWidget *parent = nullptr);

    QLabel *lblInfo = nullptr;
    QLabel *lblInfo02 = nullptr;
    velmora::CodeBox *txtCodice = nullptr;
    QPushButton *cmdCodFisc = nullptr;

private:
    void txtCodiceChange();
    void txtCodiceKeyPress(QChar &key);
    void cmdCodFiscClick();

    velmora::Services &m_services;
};
