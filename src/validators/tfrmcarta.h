#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCarta: not yet built; an empty dialog with its caption.
class TfrmCarta : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCarta)
public:
    explicit TfrmCarta(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
