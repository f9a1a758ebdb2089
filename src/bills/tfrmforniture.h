#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "common/cardstore.h"
#include "common/recordfile.h"
#include "common/widgets.h"
#include "common/navigation.h"
#include "common/workingscreen.h"

// The consumption screen of one open bill: the list of its consumptions with the running
// total, and the card of one consumption to add, browse, change, save and delete.
class TfrmForniture : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmForniture)
public:
    explicit TfrmForniture(velmora::Services &services, QWidget *parent = nullptr);

    // Shows the screen on the bill stored in file, headed by its name. The path is kept as the
    // file system gave it: a name that is not valid UTF-8 still names that same file.
    // A closed bill is shown for reading only: the commands that write are disabled.
    void openBill(const std::filesystem::path &file, const QString &name,
                  velmora::BillAccess access = velmora::BillAccess::Open);
    const std::filesystem::path &billPath() const { return m_billPath; }
    velmora::BillAccess access() const { return m_access; }

    QLabel *lblFile = nullptr;   // the bill file's path, as text for the eye only
    QLabel *panClasse = nullptr; // bill name

    QLabel *panIstruzioni = nullptr;
    QLabel *panTitolo = nullptr;
    QListWidget *lstStudenti = nullptr;
    QLabel *infTotale = nullptr;
    QLabel *repTotale = nullptr;
    QLabel *lblPosizione = nullptr;
    QWidget *panDati01 = nullptr;
    QWidget *panDati02 = nullptr;

    velmora::TextBox *txtProdotto = nullptr;
    velmora::TextBox *txtData = nullptr;
    velmora::TextBox *txtOra = nullptr;
    velmora::TextBox *txtLuogo = nullptr;
    velmora::TextBox *txtQuantita = nullptr;
    velmora::TextBox *txtPrezzo = nullptr;
    velmora::TextBox *txtImporto = nullptr;
    velmora::TextBox *txtUM = nullptr;
    velmora::TextBox *txtCameriere = nullptr;
    velmora::TextBox *txtCliente = nullptr;
    velmora::TextBox *txtAlloggio = nullptr;
    velmora::TextBox *txtTelCel = nullptr;

    QPushButton *cmdCalcola = nullptr;
    velmora::IconButton *btnNuovo = nullptr;
    velmora::IconButton *btnVuota = nullptr;
    velmora::IconButton *btnSalva = nullptr;
    velmora::IconButton *btnStampa = nullptr;
    velmora::IconButton *btnEsporta = nullptr;
    velmora::IconButton *btnTrasferisci = nullptr;
    velmora::IconButton *cmdElimina = nullptr;
    velmora::IconButton *imgPrimo = nullptr;
    velmora::IconButton *imgIndietro = nullptr;
    velmora::IconButton *imgAvanti = nullptr;
    velmora::IconButton *imgUltimo = nullptr;
    velmora::IconButton *impProdotto = nullptr;
    velmora::IconButton *impCliente = nullptr;
    velmora::IconButton *cmdGuida = nullptr;
    velmora::IconButton *cmdEsci = nullptr;

    // The twelve boxes in the order of the record's fields.
    const std::vector<velmora::TextBox *> &boxes() const { return m_boxes; }

protected:
    void FormShow() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    velmora::RecordFile billFile() const;
    void resetCard(bool keepServiceData);
    // Whether the bill could be read.
    bool refill();
    void showRecord(const std::string &record, std::size_t number);
    void showRecordNumber(std::size_t number);
    std::string cardRecord() const;
    bool calculate();
    void fileError();
    void reportRefused(velmora::CardStore::Outcome outcome);
    bool settleBills();
    void applyAccess();
    void offerDeleteEmpty();

    void arrowClick(velmora::Arrow arrow);
    void imgPrimoClick();
    void imgIndietroClick();
    void imgAvantiClick();
    void imgUltimoClick();
    void lstStudentiClick();
    void btnNuovoClick();
    void btnVuotaClick();
    void btnSalvaClick();
    void cmdEliminaClick();
    void cmdCalcolaClick();
    void impClienteClick();
    void impProdottoClick();
    void btnStampaClick();
    void btnEsportaClick();
    void btnTrasferisciClick();
    void cmdGuidaClick();
    void cmdEsciClick();
    void numberKeyPress(velmora::TextBox *box, QChar &key, const QString &resetText);
    void txtQuantitaKeyPress(QChar &key);
    void txtPrezzoKeyPress(QChar &key);
    void txtImportoKeyPress(QChar &key);
    void txtQuantitaExit();
    void txtPrezzoExit();
    void txtImportoExit();

    std::vector<velmora::TextBox *> m_boxes;
    std::filesystem::path m_billPath;
    velmora::BillAccess m_access = velmora::BillAccess::Open;
    velmora::CardStore m_card; // the record as the card last read or wrote it
    bool m_filling = false;
};
