#include "clients/tfrmdestinatari.h"

TfrmDestinatari::TfrmDestinatari(velmora::Services &services, QWidget *parent)
    : velmora::WorkingScreen(services, QStringLiteral(" Velmora © - Anagrafica clienti"), {1030, 742, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmDestinatari"));
}
