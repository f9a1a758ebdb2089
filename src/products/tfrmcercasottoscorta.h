#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCercaSottoscorta: not yet built; an empty dialog with its caption.
class TfrmCercaSottoscorta : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaSottoscorta)
public:
    explicit TfrmCercaSottoscorta(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
