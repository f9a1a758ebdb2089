#pragma once

#include "common/exportdialog.h"

// TfrmEsportaDes: the whole client archive as a grid, exported to Word or Excel.
class TfrmEsportaDes : public velmora::ExportDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaDes)
public:
    explicit TfrmEsportaDes(velmora::Services &services, QWidget *parent = nullptr);

protected:
    std::filesystem::path archivePath() const override;
    const velmora::RecordLayout *archiveLayout() const override;
};
