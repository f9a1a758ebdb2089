#pragma once

#include <QDialog>
#include <QLabel>

#include "common/services.h"

// TfrmCercaDestinatari: not yet built; an empty dialog with its caption.
class TfrmCercaDestinatari : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaDestinatari)
public:
    // Who opened the search: "anagrafica", "materiali" or "forniture".
    QLabel *lblMemory = nullptr;

    explicit TfrmCercaDestinatari(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
