#include "bills/tfrmimpmateriali.h"

TfrmImpMateriali::TfrmImpMateriali(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmImpMateriali"));
    setWindowTitle(QStringLiteral(" Importa prodotti e servizi da archivio"));
}
