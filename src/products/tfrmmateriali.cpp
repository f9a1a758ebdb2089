#include "products/tfrmmateriali.h"

TfrmMateriali::TfrmMateriali(velmora::Services &services, QWidget *parent)
    : velmora::WorkingScreen(services, QStringLiteral(" Velmora © - Prodotti e servizi"), {1038, 742, 4, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmMateriali"));
}
