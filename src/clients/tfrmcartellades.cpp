#include "clients/tfrmcartellades.h"

TfrmCartellaDes::TfrmCartellaDes(velmora::Services &services, QWidget *parent)
    : velmora::LinkedFolderDialog(
          services, parent,
          {QStringLiteral(" Associa cartella"),
           {QStringLiteral(
                "Selezionare la cartella da associare alla scheda corrente servendosi del pulsante Sfoglia."),
            QStringLiteral("Quindi fare clic su Applica e chiudi e poi sul pulsante Salva per salvare le modifiche."),
            QStringLiteral("Per aprire la cartella è sufficiente premere il pulsante Apri.")},
           {QStringLiteral("Cartella associata")},
           QStringLiteral("Descrizione")})
{
    setObjectName(QStringLiteral("TfrmCartellaDes"));
}
