#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmAllegatiMat: not yet built; an empty dialog with its caption.
class TfrmAllegatiMat : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAllegatiMat)
public:
    explicit TfrmAllegatiMat(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
