#include "validators/tfrmiva.h"

TfrmIva::TfrmIva(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmIva"));
    setWindowTitle(QStringLiteral(" Controllo partita IVA "));
}
