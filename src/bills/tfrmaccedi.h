#pragma once

#include "common/workingscreen.h"

// TfrmAccedi: not yet built; an empty working screen with its caption.
class TfrmAccedi : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAccedi)
public:
    explicit TfrmAccedi(velmora::Services &services, QWidget *parent = nullptr);
};
