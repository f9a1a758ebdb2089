#pragma once

#include "common/workingscreen.h"

// TfrmDestinatari: not yet built; an empty working screen with its caption.
class TfrmDestinatari : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmDestinatari)
public:
    explicit TfrmDestinatari(velmora::Services &services, QWidget *parent = nullptr);
};
