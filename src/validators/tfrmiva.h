#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmIva: not yet built; an empty dialog with its caption.
class TfrmIva : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmIva)
public:
    explicit TfrmIva(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
