#pragma once

#include "common/exportdialog.h"

// TfrmEsportaFor: the open bill as a grid, one row per consumption, exported to Word or Excel.
// The bill is the one named by the consumption screen's lblFile at the moment of showing.
class TfrmEsportaFor : public velmora::ExportDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaFor)
public:
    explicit TfrmEsportaFor(velmora::Services &services, QWidget *parent = nullptr);

protected:
    std::filesystem::path archivePath() const override;
    const velmora::RecordLayout *archiveLayout() const override;
};
