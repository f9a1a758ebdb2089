#pragma once

#include "clients/attachmentdialogs.h"

// The product card's linked folder: the client card's dialog with the product card's texts.
class TfrmCartellaMat : public velmora::LinkedFolderDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmCartellaMat)
public:
    explicit TfrmCartellaMat(velmora::Services &services, QWidget *parent = nullptr);
};
