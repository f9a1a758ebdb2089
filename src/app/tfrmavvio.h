#pragma once

#include <QLabel>
#include <QMovie>
#include <QPointer>

#include "common/widgets.h"
#include "common/workingscreen.h"

// The start screen: four tiles lead to the working environments; closing it ends the program.
class TfrmAvvio : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAvvio)
public:
    explicit TfrmAvvio(velmora::Services &services, QWidget *parent = nullptr);

    velmora::IconButton *btnClienti = nullptr;
    velmora::IconButton *btnProdotti = nullptr;
    velmora::IconButton *btnCrea = nullptr;
    velmora::IconButton *btnForniture = nullptr;
    velmora::IconButton *titClienti = nullptr;
    velmora::IconButton *titProdotti = nullptr;
    velmora::IconButton *titCrea = nullptr;
    velmora::IconButton *titForniture = nullptr;
    velmora::IconButton *imgInfo = nullptr;
    velmora::IconButton *imgGuida = nullptr;
    velmora::IconButton *imgCopyright = nullptr;
    velmora::IconButton *imgEsci = nullptr;
    velmora::IconButton *imgRiepilogo = nullptr;
    velmora::IconButton *imgCopie = nullptr;
    QLabel *lblSubTitle = nullptr;
    QLabel *lblWeb = nullptr;
    QLabel *imgAnimata = nullptr;

    // The running banner animation (restarted on every show).
    QMovie *banner() const { return m_banner; }

    static QString webAddress();

protected:
    void FormShow() override;
    void FormClose() override;
    bool returnsToStart() const override { return false; }
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openEnvironment(velmora::Environment environment);
    void btnClientiClick();
    void btnProdottiClick();
    void btnCreaClick();
    void btnFornitureClick();
    void imgInfoClick();
    void imgGuidaClick();
    void imgCopyrightClick();
    void imgEsciClick();
    void imgRiepilogoClick();
    void imgCopieClick();
    void lblWebClick();

    QPointer<QMovie> m_banner;
    class QBuffer *m_bannerData = nullptr;
};
