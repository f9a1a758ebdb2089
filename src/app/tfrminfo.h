#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "common/services.h"
#include "common/widgets.h"

// The product information screen: informative pictures, a link that prepares an e-mail to the
// vendor and a link to the product web site.
class TfrmInfo : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmInfo)
public:
    explicit TfrmInfo(velmora::Services &services, QWidget *parent = nullptr);

    // The vendor's information address and the mail link handed to the mail program.
    static QString infoAddress();
    static QString mailLink();

    QGroupBox *grpInfo = nullptr;
    QLabel *panInformativa = nullptr;
    QLabel *imgInformativa = nullptr;
    velmora::IconButton *imgEmail = nullptr;
    velmora::IconButton *lblEmail = nullptr;
    velmora::IconButton *imgWeb = nullptr;
    velmora::IconButton *lblWeb = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void imgEmailMouseUp();
    void imgWebMouseUp();
    void lblWebMouseUp();
    void lblEmailMouseMove();
    void imgEmailMouseMove();
    void lblWebMouseMove();
    void imgWebMouseMove();
    void FormMouseMove();
    void grpInfoMouseMove();
    void cmdOKClick();
    static void setLinkColour(QLabel *label, const QColor &colour);

    velmora::Services &m_services;
};
