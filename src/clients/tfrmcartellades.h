#pragma once

#include "clients/attachmentdialogs.h"

// The client card's linked folder and its description.
class TfrmCartellaDes : public velmora::LinkedFolderDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCartellaDes)
public:
    explicit TfrmCartellaDes(velmora::Services &services, QWidget *parent = nullptr);
};
