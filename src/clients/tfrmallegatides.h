#pragma once

#include "clients/attachmentdialogs.h"

// The client card's attached files: three documents with their descriptions.
class TfrmAllegatiDes : public velmora::AttachedFilesDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmAllegatiDes)
public:
    explicit TfrmAllegatiDes(velmora::Services &services, QWidget *parent = nullptr);
};
