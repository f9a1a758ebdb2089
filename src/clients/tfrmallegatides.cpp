#include "clients/tfrmallegatides.h"

TfrmAllegatiDes::TfrmAllegatiDes(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmAllegatiDes"));
    setWindowTitle(QStringLiteral(" File allegati"));
}
