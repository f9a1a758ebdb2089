#include "products/tfrmallegatimat.h"

TfrmAllegatiMat::TfrmAllegatiMat(velmora::Services &services, QWidget *parent)
    : velmora::AttachedFilesDialog(
          services, parent,
          {QStringLiteral(" Allega file"),
           {QStringLiteral("Selezionare i file da allegare alla scheda corrente servendosi del pulsante Sfoglia."),
            QStringLiteral("Quindi fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le modifiche."),
            QStringLiteral("Per visualizzare un file è sufficiente premere il pulsante Apri.")},
           {QStringLiteral("File allegato 1:"), QStringLiteral("File allegato 2:"), QStringLiteral("File allegato 3:")},
           QStringLiteral("Descrizione:")})
{
    setObjectName(QStringLiteral("TfrmAllegatiMat"));
}
