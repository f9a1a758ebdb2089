#include "clients/tfrmcartellades.h"

TfrmCartellaDes::TfrmCartellaDes(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCartellaDes"));
    setWindowTitle(QStringLiteral(" Associa cartella"));
}
