#include "validators/tfrmcodfisc.h"

TfrmCodFisc::TfrmCodFisc(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCodFisc"));
    setWindowTitle(QStringLiteral(" Controllo codice fiscale"));
}
