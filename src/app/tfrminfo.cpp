#include "app/tfrminfo.h"

TfrmInfo::TfrmInfo(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Velmora ©"));
}
