#pragma once

#include "common/exportdialog.h"

// TfrmEsportaMat: the whole product archive as a grid, exported to Word or Excel.
class TfrmEsportaMat : public velmora::ExportDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaMat)
public:
    explicit TfrmEsportaMat(velmora::Services &services, QWidget *parent = nullptr);

protected:
    std::filesystem::path archivePath() const override;
    const velmora::RecordLayout *archiveLayout() const override;
};
