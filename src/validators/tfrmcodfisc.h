#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCodFisc: not yet built; an empty dialog with its caption.
class TfrmCodFisc : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCodFisc)
public:
    explicit TfrmCodFisc(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
