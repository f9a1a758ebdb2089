#include "products/tfrmcartellamat.h"

TfrmCartellaMat::TfrmCartellaMat(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCartellaMat"));
    setWindowTitle(QStringLiteral(" Associa cartella"));
}
