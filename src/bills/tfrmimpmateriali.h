#pragma once

#include <optional>
#include <string>

#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "common/quickfind.h"
#include "common/services.h"
#include "common/widgets.h"

// What Importa takes from the chosen product into the consumption card, trimmed, in
// Windows-1252 as the product archive holds it.
struct ImportedProduct
{
    std::string descrizione;
    std::string prezzo;
};

// Taking a product from the product archive into a consumption: the products with a stock
// are listed; Importa closes the dialog with the chosen product's description and price, which
// the consumption card that opened it reads, and, unless told otherwise, lowers its stock.
class TfrmImpMateriali : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmImpMateriali)
public:
    explicit TfrmImpMateriali(velmora::Services &services, QWidget *parent = nullptr);

    // The quantity the consumption card proposes, put into txtQuant before the dialog is shown.
    void setQuantity(const QString &quantity);
    // The product Importa took; empty when the dialog closed without importing.
    const std::optional<ImportedProduct> &imported() const { return m_imported; }

    QLabel *lblInfo01 = nullptr;
    QLabel *lblInfo02 = nullptr;
    QLabel *lblInfo03 = nullptr;
    velmora::TextBox *txtTrova = nullptr;
    QPushButton *cmdTrova02 = nullptr;
    QListWidget *lstRecords = nullptr;
    QRadioButton *optAggiorna = nullptr;
    QRadioButton *optNonAggiornare = nullptr;
    velmora::TextBox *txtGiacenza = nullptr;
    velmora::TextBox *txtQuant = nullptr;
    QLabel *lblPosizione = nullptr;
    QPushButton *cmdAnnulla = nullptr; // "Importa"
    QLabel *imgMano = nullptr;
    QPushButton *cmdStampa = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void fillList();
    void setImportEnabled(bool enabled);
    void lstRecordsClick();
    void txtQuantChange(const QString &text);
    void optAggiornaClick();
    void cmdTrova02Click();
    void cmdAnnullaClick();
    void cmdStampaClick();
    void refuse(const QString &text);

    velmora::Services &m_services;
    velmora::QuickFind m_finder;
    std::optional<ImportedProduct> m_imported;
};
