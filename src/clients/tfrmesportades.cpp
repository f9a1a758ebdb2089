#include "clients/tfrmesportades.h"

TfrmEsportaDes::TfrmEsportaDes(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmEsportaDes"));
    setWindowTitle(QStringLiteral(" Esportazione archivio anagrafico clienti in Microsoft Word ed Excel"));
}
