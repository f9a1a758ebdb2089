#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmAllegatiDes: not yet built; an empty dialog with its caption.
class TfrmAllegatiDes : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAllegatiDes)
public:
    explicit TfrmAllegatiDes(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
