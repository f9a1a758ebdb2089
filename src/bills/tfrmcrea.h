#pragma once

#include "common/workingscreen.h"

// TfrmCrea: not yet built; an empty working screen with its caption.
class TfrmCrea : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCrea)
public:
    explicit TfrmCrea(velmora::Services &services, QWidget *parent = nullptr);
};
