#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "common/widgets.h"

// The login screen, the application's main window: a correct password opens the start screen.
class TfrmPassword : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmPassword)
public:
    explicit TfrmPassword(velmora::Services &services, QWidget *parent = nullptr);

    QLabel *lblInfo = nullptr;
    velmora::TextBox *txtPassword = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdEsci = nullptr;
    QPushButton *btnCambiaPassword = nullptr;

    // The change screen has closed: an empty, focused login field.
    void returnFromChange();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    void txtPasswordChange();
    void txtPasswordKeyPress(QChar &key);
    void cmdOKClick();
    void cmdEsciClick();
    void btnCambiaPasswordClick();

    velmora::Services &m_services;
};

// Masks a password box with filled circles in a bold font of the given pixel size.
void maskPasswordBox(velmora::TextBox *box, int pixelSize);
