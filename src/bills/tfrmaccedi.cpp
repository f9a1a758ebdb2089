#include "bills/tfrmaccedi.h"

TfrmAccedi::TfrmAccedi(velmora::Services &services, QWidget *parent)
    : velmora::WorkingScreen(services, QStringLiteral(" Velmora © - Apri conto esistente"), {1022, 738, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmAccedi"));
}
