#include "products/tfrmallegatimat.h"

TfrmAllegatiMat::TfrmAllegatiMat(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmAllegatiMat"));
    setWindowTitle(QStringLiteral(" Allega file"));
}
