#include "products/tfrmcercasottoscorta.h"

TfrmCercaSottoscorta::TfrmCercaSottoscorta(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCercaSottoscorta"));
    setWindowTitle(QStringLiteral(" Prodotti in esaurimento"));
}
