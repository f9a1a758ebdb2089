#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCercaMateriale: not yet built; an empty dialog with its caption.
class TfrmCercaMateriale : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaMateriale)
public:
    explicit TfrmCercaMateriale(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
