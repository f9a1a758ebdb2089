#include "clients/tfrmcercadestinatari.h"

TfrmCercaDestinatari::TfrmCercaDestinatari(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCercaDestinatari"));
    setWindowTitle(QStringLiteral(" Ricerca clienti in archivio"));
    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
}
