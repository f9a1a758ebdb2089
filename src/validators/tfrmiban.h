#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmIban: not yet built; an empty dialog with its caption.
class TfrmIban : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmIban)
public:
    explicit TfrmIban(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
