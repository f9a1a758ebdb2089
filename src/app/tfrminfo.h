#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmInfo: not yet built; an empty dialog with its caption.
class TfrmInfo : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmInfo)
public:
    explicit TfrmInfo(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
