#pragma once

#include <QDialog>
#include <QLabel>

#include "common/services.h"

// TfrmCercaMateriale: not yet built; an empty dialog with its caption.
class TfrmCercaMateriale : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCercaMateriale)
public:
    // Who opened the search: "anagrafica", "materiali" or "forniture".
    QLabel *lblMemory = nullptr;

    explicit TfrmCercaMateriale(velmora::Services &services, QWidget *parent = nullptr);

private:
    velmora::Services &m_services;
};
