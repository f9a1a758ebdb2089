#include "products/tfrmesportamat.h"

TfrmEsportaMat::TfrmEsportaMat(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmEsportaMat"));
    setWindowTitle(QStringLiteral(" Esportazione archivio prodotti e servizi in Microsoft Word ed Excel"));
}
