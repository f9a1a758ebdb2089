#pragma once

#include "common/exportdialog.h"

// TfrmEsportaFor: the open bill as a grid, one row per consumption, exported to Word or Excel.
// The bill is the one the consumption screen hands over before showing it.
class TfrmEsportaFor : public velmora::ExportDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmEsportaFor)
public:
    explicit TfrmEsportaFor(velmora::Services &services, QWidget *parent = nullptr);

    // The bill file the next showing loads.
    void setBill(const std::filesystem::path &file) { m_bill = file; }

protected:
    std::filesystem::path archivePath() const override;
    const velmora::RecordLayout *archiveLayout() const override;

private:
    std::filesystem::path m_bill;
};
