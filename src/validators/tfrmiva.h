#pragma once

#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "validators/checkdialog.h"

// Checks the check digit of an Italian VAT number and names the VAT office that issued it. The
// client card also uses it, relabelled, for a fiscal code made only of digits.
class TfrmIva : public velmora::CheckDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmIva)
public:
    explicit TfrmIva(velmora::Services &services, QWidget *parent = nullptr);

    // Relabels the caption and the instructions for a numeric fiscal code; the check and its
    // messages stay those of the VAT number.
    void setNumericFiscalCodeMode();

    QLabel *lblInfo = nullptr;
    QLabel *lblInfo02 = nullptr;
    velmora::CodeBox *txtCodice = nullptr;
    QPushButton *cmdPartitaIva = nullptr;

private:
    void txtCodiceChange();
    void txtCodiceKeyPress(QChar &key);
    void cmdPartitaIvaClick();

    velmora::Services &m_services;
};
