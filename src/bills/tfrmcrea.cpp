#include "bills/tfrmcrea.h"

TfrmCrea::TfrmCrea(velmora::Services &services, QWidget *parent)
    : velmora::WorkingScreen(services, QStringLiteral(" Velmora © - Creazione nuovo conto"), {1022, 738, 4, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmCrea"));
}
