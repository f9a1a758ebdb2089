#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmEsportaMat: not yet built; an empty dialog with its caption.
class TfrmEsportaMat : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaMat)
public:
    explicit TfrmEsportaMat(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
