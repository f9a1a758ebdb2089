#include "products/tfrmesportamat.h"

#include "products/productrecord.h"

namespace {

velmora::ExportDialog::Setup setup()
{
    velmora::ExportDialog::Setup s;
    s.objectName = QStringLiteral("TfrmEsportaMat");
    s.caption = QStringLiteral(" Esportazione archivio prodotti e servizi in Microsoft Word ed Excel");
    s.helpTopic = QStringLiteral("Esportazione archivio prodotti e servizi in Microsoft Word ed Excel");
    s.documentName = QStringLiteral("Prodotti e servizi");
    s.sheetName = QStringLiteral("Prodotti e servizi");
    s.boldUpTo = 17;
    s.spec = &velmora::productExport();
    return s;
}

} // namespace

TfrmEsportaMat::TfrmEsportaMat(velmora::Services &services, QWidget *parent)
    : velmora::ExportDialog(services, setup(), parent)
{
}

std::filesystem::path TfrmEsportaMat::archivePath() const
{
    return m_services.file(velmora::kProductArchive);
}

const velmora::RecordLayout *TfrmEsportaMat::archiveLayout() const
{
    return &velmora::productLayout();
}
