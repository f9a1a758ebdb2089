#include "validators/tfrmiban.h"

TfrmIban::TfrmIban(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmIban"));
    setWindowTitle(QStringLiteral(" Controllo coordinate bancarie IBAN"));
}
