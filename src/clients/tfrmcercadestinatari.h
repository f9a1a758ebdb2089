#pragma once

#include <QDialog>

#include "common/services.h"

// TfrmCercaDestinatari: not yet built; an empty dialog with its caption.
class TfrmCercaDestinatari : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaDestinatari)
public:
    explicit TfrmCercaDestinatari(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
