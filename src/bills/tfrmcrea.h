#pragma once

#include <QLabel>

#include "common/widgets.h"
#include "common/workingscreen.h"

// Bill creation: asks for a name and creates the empty bill file in the program folder.
class TfrmCrea : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCrea)
public:
    explicit TfrmCrea(velmora::Services &services, QWidget *parent = nullptr);

    QLabel *panTitolo = nullptr;
    velmora::TextBox *txtClasse = nullptr;
    velmora::IconButton *imgApplica = nullptr;
    velmora::IconButton *imgAnnulla = nullptr;
    velmora::IconButton *imgGuida = nullptr;
    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;
    QLabel *lblInfo03 = nullptr;

protected:
    void FormShow() override;

private:
    void txtClasseKeyPress(QChar &key);
    void imgApplicaClick();
    void imgAnnullaClick();
    void imgGuidaClick();
    void refuse(const QString &text);
};
