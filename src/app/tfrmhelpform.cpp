#include "app/tfrmhelpform.h"

#include <QVBoxLayout>

TfrmHelpForm::TfrmHelpForm(velmora::Services &services, QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmHelpForm"));
    setWindowTitle(QStringLiteral(" Guida in linea"));
    auto *layout = new QVBoxLayout(this);
    panTitle = new QLabel(this);
    panTitle->setObjectName(QStringLiteral("panTitle"));
    layout->addWidget(panTitle);
}

void TfrmHelpForm::setTopic(const QString &topic)
{
    panTitle->setText(topic);
}

void TfrmHelpForm::showTopic(const QString &topic)
{
    setTopic(topic);
    exec();
}
