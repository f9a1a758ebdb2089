#pragma once

#include "clients/attachmentdialogs.h"

// The product card's attached files: the client card's dialog with the product card's texts.
class TfrmAllegatiMat : public velmora::AttachedFilesDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAllegatiMat)
public:
    explicit TfrmAllegatiMat(velmora::Services &services, QWidget *parent = nullptr);
};
