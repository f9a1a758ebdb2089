#pragma once

#include "common/workingscreen.h"

// TfrmForniture: not yet built; an empty working screen with its caption.
class TfrmForniture : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmForniture)
public:
    explicit TfrmForniture(velmora::Services &services, QWidget *parent = nullptr);
};
