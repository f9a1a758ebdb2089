#pragma once

#include <filesystem>
#include <vector>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "common/services.h"

class TfrmPassword;
class TfrmAvvio;
class TfrmAccedi;
class TfrmCambiaPassword;
class TfrmCopie;
class TfrmCrea;
class TfrmDestinatari;
class TfrmEsportaDes;
class TfrmEsportaFor;
class TfrmEsportaMat;
class TfrmForniture;
class TfrmHelpForm;
class TfrmInfo;
class TfrmMateriali;
class TfrmRiepilogo;
class TfrmSplash;
namespace velmora {
class WorkingScreen;
}

// The start-up instances of every screen, created in a fixed order (the login screen first,
// so it is the main window), and the navigation between them.
class ScreenSet final : public velmora::Navigator
{
public:
    explicit ScreenSet(velmora::Services &services);
    ~ScreenSet() override;
    ScreenSet(const ScreenSet &) = delete;
    ScreenSet &operator=(const ScreenSet &) = delete;

    void showStart() override;
    void showEnvironment(velmora::Environment environment) override;
    void openBill(const std::filesystem::path &file, const QString &name, velmora::BillAccess access) override;
    void showLogin() override;
    void showChangePassword() override;
    void showInfo(QWidget *owner) override;
    void showSplash(QWidget *owner) override;
    void showHelp(QWidget *owner, const QString &topic) override;
    void showBillExport(QWidget *owner, const std::filesystem::path &file) override;
    void showArchiveExport(QWidget *owner, velmora::ArchiveExport archive) override;

    // Every screen in creation order.
    std::vector<QWidget *> screens() const;

    TfrmPassword *login() const { return m_login; }
    TfrmAvvio *start() const { return m_start; }
    TfrmHelpForm *help() const { return m_help; }
    TfrmInfo *info() const { return m_info; }
    TfrmSplash *splash() const { return m_splash; }
    // The screen an environment tile leads to.
    velmora::WorkingScreen *environment(velmora::Environment environment) const;

private:
    template <typename Screen> Screen *add(Screen *screen);

    std::vector<QPointer<QWidget>> m_order;
    TfrmPassword *m_login = nullptr;
    TfrmAvvio *m_start = nullptr;
    TfrmAccedi *m_catalogue = nullptr;
    TfrmCambiaPassword *m_changePassword = nullptr;
    TfrmCopie *m_copies = nullptr;
    TfrmCrea *m_create = nullptr;
    TfrmDestinatari *m_clients = nullptr;
    TfrmEsportaDes *m_clientExport = nullptr;
    TfrmEsportaFor *m_billExport = nullptr;
    TfrmEsportaMat *m_productExport = nullptr;
    TfrmForniture *m_bill = nullptr;
    TfrmHelpForm *m_help = nullptr;
    TfrmInfo *m_info = nullptr;
    TfrmMateriali *m_products = nullptr;
    TfrmRiepilogo *m_summary = nullptr;
    TfrmSplash *m_splash = nullptr;
};
