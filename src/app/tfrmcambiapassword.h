#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "common/widgets.h"

// Change of password: the old one must match; the new one must be typed twice alike.
class TfrmCambiaPassword : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCambiaPassword)
public:
    explicit TfrmCambiaPassword(velmora::Services &services, QWidget *parent = nullptr);

    velmora::TextBox *txtPasswordOld = nullptr;
    velmora::TextBox *txtPasswordNew = nullptr;
    velmora::TextBox *txtConferma = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEsci = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void FormShow();
    void FormClose();
    void fieldsChange();
    void txtConfermaKeyPress(QChar &key);
    void cmdOKClick();
    void cmdEsciClick();

    velmora::Services &m_services;
};
