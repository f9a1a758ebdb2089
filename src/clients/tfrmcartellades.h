#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCartellaDes: not yet built; an empty dialog with its caption.
class TfrmCartellaDes : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCartellaDes)
public:
    explicit TfrmCartellaDes(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
