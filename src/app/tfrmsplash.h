#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmSplash: not yet built; an empty dialog with its caption.
class TfrmSplash : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmSplash)
public:
    explicit TfrmSplash(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
