#include "app/screenset.h"

#include "app/tfrmpassword.h"
#include "app/tfrmavvio.h"
#include "bills/tfrmaccedi.h"
#include "clients/tfrmallegatides.h"
#include "products/tfrmallegatimat.h"
#include "app/tfrmcambiapassword.h"
#include "app/tfrmcopie.h"
#include "validators/tfrmcarta.h"
#include "clients/tfrmcartellades.h"
#include "products/tfrmcartellamat.h"
#include "clients/tfrmcercadestinatari.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmcercasottoscorta.h"
#include "validators/tfrmcodfisc.h"
#include "bills/tfrmcrea.h"
#include "clients/tfrmdestinatari.h"
#include "clients/tfrmesportades.h"
#include "bills/tfrmesportafor.h"
#include "products/tfrmesportamat.h"
#include "bills/tfrmforniture.h"
#include "app/tfrmhelpform.h"
#include "validators/tfrmiban.h"
#include "bills/tfrmimpmateriali.h"
#include "app/tfrminfo.h"
#include "products/tfrmmateriali.h"
#include "validators/tfrmiva.h"
#include "app/tfrmsplash.h"
#include "bills/tfrmriepilogo.h"
#include "common/workingscreen.h"

ScreenSet::ScreenSet(velmora::Services &services)
{
    services.navigator = this;
    m_login = add(new TfrmPassword(services));
    m_start = add(new TfrmAvvio(services));
    m_catalogue = add(new TfrmAccedi(services));
    add(new TfrmAllegatiDes(services));
    add(new TfrmAllegatiMat(services));
    m_changePassword = add(new TfrmCambiaPassword(services));
    add(new TfrmCarta(services));
    add(new TfrmCartellaDes(services));
    add(new TfrmCartellaMat(services));
    add(new TfrmCercaDestinatari(services));
    add(new TfrmCercaMateriale(services));
    add(new TfrmCercaSottoscorta(services));
    add(new TfrmCodFisc(services));
    m_copies = add(new TfrmCopie(services));
    m_create = add(new TfrmCrea(services));
    m_clients = add(new TfrmDestinatari(services));
    m_clientExport = add(new TfrmEsportaDes(services));
    m_billExport = add(new TfrmEsportaFor(services));
    m_productExport = add(new TfrmEsportaMat(services));
    m_bill = add(new TfrmForniture(services));
    m_help = add(new TfrmHelpForm(services));
    add(new TfrmIban(services));
    add(new TfrmImpMateriali(services));
    m_info = add(new TfrmInfo(services));
    m_products = add(new TfrmMateriali(services));
    add(new TfrmIva(services));
    m_summary = add(new TfrmRiepilogo(services));
    m_splash = add(new TfrmSplash(services));
}

ScreenSet::~ScreenSet()
{
    // Destroyed in reverse order of creation.
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        delete it->data();
}

template <typename Screen> Screen *ScreenSet::add(Screen *screen)
{
    screen->hide();
    m_order.emplace_back(screen);
    return screen;
}

std::vector<QWidget *> ScreenSet::screens() const
{
    std::vector<QWidget *> all;
    all.reserve(m_order.size());
    for (const QPointer<QWidget> &screen : m_order)
        all.push_back(screen.data());
    return all;
}

velmora::WorkingScreen *ScreenSet::environment(velmora::Environment environment) const
{
    switch (environment) {
    case velmora::Environment::Clients:
        return m_clients;
    case velmora::Environment::Products:
        return m_products;
    case velmora::Environment::CreateBill:
        return m_create;
    case velmora::Environment::Catalogue:
        return m_catalogue;
    case velmora::Environment::Summary:
        return m_summary;
    case velmora::Environment::SafetyCopies:
        return m_copies;
    }
    return nullptr;
}

void ScreenSet::showStart()
{
    m_start->showWorking();
}

void ScreenSet::showEnvironment(velmora::Environment environment)
{
    // Every environment is a working screen: shown maximised, in front.
    velmora::WorkingScreen *working = this->environment(environment);
    working->showWorking();
    working->raise();
}

void ScreenSet::openBill(const std::filesystem::path &file, const QString &name, velmora::BillAccess access)
{
    m_bill->openBill(file, name, access);
}

void ScreenSet::showLogin()
{
    m_login->returnFromChange();
}

void ScreenSet::showChangePassword()
{
    m_changePassword->show();
    m_changePassword->raise();
    m_changePassword->activateWindow();
}

void ScreenSet::showInfo(QWidget *)
{
    m_info->exec();
}

void ScreenSet::showSplash(QWidget *)
{
    m_splash->exec();
}

void ScreenSet::showHelp(QWidget *, const QString &topic)
{
    m_help->showTopic(topic);
}

void ScreenSet::showBillExport(QWidget *, const std::filesystem::path &file)
{
    m_billExport->setBill(file);
    m_billExport->exec();
}

void ScreenSet::showArchiveExport(QWidget *, velmora::ArchiveExport archive)
{
    if (archive == velmora::ArchiveExport::Clients)
        m_clientExport->exec();
    else
        m_productExport->exec();
}
