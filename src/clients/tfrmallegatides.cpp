#include "clients/tfrmallegatides.h"

TfrmAllegatiDes::TfrmAllegatiDes(velmora::Services &services, QWidget *parent)
    : velmora::AttachedFilesDialog(
          services, parent,
          {QStringLiteral(" File allegati"),
           {QStringLiteral("Selezionare i file da allegare alla scheda corrente servendosi del pulsante Sfoglia."),
            QStringLiteral("Quindi fare clic su Applica e chiudi e poi sull'icona del floppy per salvare la scheda."),
            QStringLiteral("Per visualizzare un file è sufficiente premere il pulsante Apri.")},
           {QStringLiteral("File allegato 1"), QStringLiteral("File allegato 2"), QStringLiteral("File allegato 3")},
           QStringLiteral("Descrizione")})
{
    setObjectName(QStringLiteral("TfrmAllegatiDes"));
}
