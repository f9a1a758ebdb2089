#pragma once

#include "common/workingscreen.h"

// TfrmMateriali: not yet built; an empty working screen with its caption.
class TfrmMateriali : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmMateriali)
public:
    explicit TfrmMateriali(velmora::Services &services, QWidget *parent = nullptr);
};
