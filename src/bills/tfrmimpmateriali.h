#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmImpMateriali: not yet built; an empty dialog with its caption.
class TfrmImpMateriali : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmImpMateriali)
public:
    explicit TfrmImpMateriali(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
