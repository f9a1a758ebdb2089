#include "products/tfrmesportamat.h"

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
    return m_services.file("Materiali.pro");
}

const velmora::RecordLayout *TfrmEsportaMat::archiveLayout() const
{
    // The product record: 25 fields, 5170 bytes.
    static const velmora::RecordLayout layout{250, 250, 250, 250, 250, 250, 250, 250, 50,  50,  250, 250, 15,
                                              250, 15,  15,  250, 250, 250, 250, 250, 250, 250, 250, 250};
    return &layout;
}
