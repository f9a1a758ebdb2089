#include "clients/tfrmesportades.h"

#include "clients/clientrecord.h"

namespace {

velmora::ExportDialog::Setup setup()
{
    velmora::ExportDialog::Setup s;
    s.objectName = QStringLiteral("TfrmEsportaDes");
    s.caption = QStringLiteral(" Esportazione archivio anagrafico clienti in Microsoft Word ed Excel");
    s.helpTopic = QStringLiteral("Esportazione archivio anagrafico clienti in Microsoft Word ed Excel");
    s.documentName = QStringLiteral("Anagrafica clienti");
    s.sheetName = QStringLiteral("Anagrafica clienti");
    s.boldUpTo = 26;
    s.spec = &velmora::clientExport();
    return s;
}

} // namespace

TfrmEsportaDes::TfrmEsportaDes(velmora::Services &services, QWidget *parent)
    : velmora::ExportDialog(services, setup(), parent)
{
}

std::filesystem::path TfrmEsportaDes::archivePath() const
{
    return m_services.file(velmora::kClientArchive);
}

const velmora::RecordLayout *TfrmEsportaDes::archiveLayout() const
{
    return &velmora::clientLayout();
}
