#include "app/screenset.h"

#include "app/tfrmpassword.h"
#include "app/tfrmavvio.h"
#include "bills/tfrmaccedi.h"
#include "clients/tfrmallegatides.h"
#include "products/tfrmallegatimat.h"
#include "app/tfrmcambiapassword.h"
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
#include "common/workingscreen.h"

ScreenSet::ScreenSet(velmora::Services &services)
{
    services.navigator = this;
    add(new TfrmPassword(services));
    add(new TfrmAvvio(services));
    add(new TfrmAccedi(services));
    add(new TfrmAllegatiDes(services));
    add(new TfrmAllegatiMat(services));
    add(new TfrmCambiaPassword(services));
    add(new TfrmCarta(services));
    add(new TfrmCartellaDes(services));
    add(new TfrmCartellaMat(services));
    add(new TfrmCercaDestinatari(services));
    add(new TfrmCercaMateriale(services));
    add(new TfrmCercaSottoscorta(services));
    add(new TfrmCodFisc(services));
    add(new TfrmCrea(services));
    add(new TfrmDestinatari(services));
    add(new TfrmEsportaDes(services));
    add(new TfrmEsportaFor(services));
    add(new TfrmEsportaMat(services));
    add(new TfrmForniture(services));
    add(new TfrmHelpForm(services));
    add(new TfrmIban(services));
    add(new TfrmImpMateriali(services));
    add(new TfrmInfo(services));
    add(new TfrmMateriali(services));
    add(new TfrmIva(services));
    add(new TfrmSplash(services));
}

ScreenSet::~ScreenSet()
{
    // Destroyed in reverse order of creation.
    for (auto it = m_order.rbegin(); it != m_order.rend(); ++it)
        delete m_screens[*it].data();
}

void ScreenSet::add(QWidget *screen)
{
    screen->hide();
    m_order.push_back(screen->objectName());
    m_screens[screen->objectName()] = screen;
}

QWidget *ScreenSet::screen(const QString &className)
{
    const auto it = m_screens.find(className);
    return it == m_screens.end() ? nullptr : it->second.data();
}

void ScreenSet::showStart()
{
    if (auto *start = qobject_cast<velmora::WorkingScreen *>(screen(QStringLiteral("TfrmAvvio"))))
        start->showWorking();
}

void ScreenSet::showHelp(QWidget *owner, const QString &topic)
{
    if (auto *help = qobject_cast<TfrmHelpForm *>(screen(QStringLiteral("TfrmHelpForm")))) {
        Q_UNUSED(owner);
        help->showTopic(topic);
    }
}
