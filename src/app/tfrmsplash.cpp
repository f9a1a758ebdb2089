#include "app/tfrmsplash.h"

TfrmSplash::TfrmSplash(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmSplash"));
    setWindowTitle(QStringLiteral("Velmora"));
}
