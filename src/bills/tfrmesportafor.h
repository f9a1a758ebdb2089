#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmEsportaFor: not yet built; an empty dialog with its caption.
class TfrmEsportaFor : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaFor)
public:
    explicit TfrmEsportaFor(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
