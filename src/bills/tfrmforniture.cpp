#include "bills/tfrmforniture.h"

TfrmForniture::TfrmForniture(velmora::Services &services, QWidget *parent)
    : velmora::WorkingScreen(services, QStringLiteral(" Velmora © - Registrazione prodotti e servizi in conto"), {1030, 742, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmForniture"));
}
