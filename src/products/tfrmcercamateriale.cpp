#include "products/tfrmcercamateriale.h"

TfrmCercaMateriale::TfrmCercaMateriale(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCercaMateriale"));
    setWindowTitle(QStringLiteral(" Ricerca prodotti e servizi in archivio"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
}
