#include "bills/tfrmesportafor.h"

#include "bills/consumption.h"

namespace {

velmora::ExportDialog::Setup setup()
{
    velmora::ExportDialog::Setup s;
    s.objectName = QStringLiteral("TfrmEsportaFor");
    s.caption = QStringLiteral(" Esportazione conto consumazioni in Microsoft Word ed Excel");
    s.helpTopic = QStringLiteral("Esportazione conto consumazioni in Microsoft Word ed Excel");
    s.documentName = QStringLiteral("Conto consumazioni");
    s.sheetName = QStringLiteral("Conto consumazioni");
    s.boldUpTo = 26;
    s.spec = &velmora::billExport();
    return s;
}

} // namespace

TfrmEsportaFor::TfrmEsportaFor(velmora::Services &services, QWidget *parent)
    : velmora::ExportDialog(services, setup(), parent)
{
}

std::filesystem::path TfrmEsportaFor::archivePath() const
{
    return m_bill;
}

const velmora::RecordLayout *TfrmEsportaFor::archiveLayout() const
{
    return &velmora::consumptionLayout();
}
