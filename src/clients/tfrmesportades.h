#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmEsportaDes: not yet built; an empty dialog with its caption.
class TfrmEsportaDes : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaDes)
public:
    explicit TfrmEsportaDes(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
