#include "bills/tfrmesportafor.h"

TfrmEsportaFor::TfrmEsportaFor(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmEsportaFor"));
    setWindowTitle(QStringLiteral(" Esportazione conto consumazioni in Microsoft Word ed Excel"));
}
