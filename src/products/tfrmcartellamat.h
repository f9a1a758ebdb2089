#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCartellaMat: not yet built; an empty dialog with its caption.
class TfrmCartellaMat : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCartellaMat)
public:
    explicit TfrmCartellaMat(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
