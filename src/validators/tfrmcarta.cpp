#include "validators/tfrmcarta.h"

TfrmCarta::TfrmCarta(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCarta"));
    setWindowTitle(QStringLiteral(" Controllo carta di credito"));
}
