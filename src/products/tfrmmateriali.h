#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include <QGroupBox>
#include <QLabel>

#include "common/cardstore.h"
#include "common/widgets.h"
#include "common/navigation.h"
#include "common/workingscreen.h"

// The product card: one product of the archive on screen, browsed card by card, created,
// saved, updated and deleted; it opens the product search, the low-stock list, the
// attachments and the linked folder.
class TfrmMateriali : public velmora::WorkingScreen
{
    Q_OBJECT
    Q_DISABLE_COPY(TfrmMateriali)
public:
    explicit TfrmMateriali(velmora::Services &services, QWidget *parent = nullptr);

    // Shows a stored record on the card; position is its 1-based place in the archive.
    // The arrows, the product search and the low-stock list load a card through this.
    void showRecord(const std::string &record, std::size_t position);

    static QString helpTopic();

    QGroupBox *grpControlli = nullptr;
    QGroupBox *grpSezione01 = nullptr;
    QGroupBox *grpSezione02 = nullptr;
    QGroupBox *grpSezione03 = nullptr;

    velmora::TextBox *txtCodice = nullptr;
    velmora::TextBox *txtTipologia = nullptr;
    velmora::TextBox *txtMarca = nullptr;
    velmora::TextBox *txtModello = nullptr;
    velmora::TextBox *txtAccessori = nullptr;
    velmora::TextBox *txtDescrizione = nullptr;
    velmora::TextBox *txtFornitore = nullptr;
    velmora::TextBox *txtRecapito = nullptr;
    velmora::TextBox *txtData = nullptr;
    velmora::TextBox *txtCosto = nullptr;
    velmora::TextBox *txtDocumento = nullptr;
    velmora::TextBox *txtOrdine = nullptr;
    velmora::TextBox *txtPrezzo = nullptr;
    velmora::TextBox *txtCollocazione = nullptr;
    velmora::TextBox *txtGiacenza = nullptr;
    velmora::TextBox *txtSottoscorta = nullptr;
    velmora::TextBox *txtNote = nullptr;

    QLabel *lblFile01 = nullptr;
    QLabel *lblFile02 = nullptr;
    QLabel *lblFile03 = nullptr;
    QLabel *lblDesc01 = nullptr;
    QLabel *lblDesc02 = nullptr;
    QLabel *lblDesc03 = nullptr;
    QLabel *lblCartella = nullptr;
    QLabel *lblCartellaDesc = nullptr;
    QLabel *lblPosizione = nullptr;

    velmora::IconButton *imgNuovo = nullptr;
    velmora::IconButton *imgSalva = nullptr;
    velmora::IconButton *imgTrova = nullptr;
    velmora::IconButton *imgWord = nullptr;
    velmora::IconButton *imgExcel = nullptr;
    velmora::IconButton *imgFile = nullptr;
    velmora::IconButton *imgCartella = nullptr;
    velmora::IconButton *imgDoppioTurno = nullptr;
    velmora::IconButton *imgElimina = nullptr;
    velmora::IconButton *imgGuida = nullptr;
    velmora::IconButton *imgEsci = nullptr;
    velmora::IconButton *imgPrimo = nullptr;
    velmora::IconButton *imgIndietro = nullptr;
    velmora::IconButton *imgAvanti = nullptr;
    velmora::IconButton *imgUltimo = nullptr;

protected:
    void FormShow() override;

private:
    velmora::TextBox *addBox(QGroupBox *section, const char *name, const QString &caption, int maxLength, int row,
                             int width = 480);
    void setupNumberBox(velmora::TextBox *box, const QString &defaultText, const QString &limitMessage, bool price);
    velmora::IconButton *addIcon(QWidget *parent, const char *name, const QString &symbol, const QString &caption,
                                 const QColor &colour, const char *description, velmora::IconButton::Trigger trigger,
                                 const QPoint &at);

    void resetCard();
    std::string cardRecord() const;
    // Reads record n and shows it; a read failure shows the archive message.
    void showStored(std::size_t n);
    // The record count, or nullopt after showing the archive message.
    // Reports a guarded write or delete that did not happen.
    void reportRefused(velmora::CardStore::Outcome outcome);

    void imgNuovoMouseUp();
    void imgSalvaMouseUp();
    void imgTrovaMouseUp();
    void imgWordClick();
    void imgExcelMouseUp();
    void imgFileMouseUp();
    void imgCartellaMouseUp();
    void imgDoppioTurnoMouseUp();
    void imgEliminaClick();
    void imgGuidaMouseUp();
    void imgEsciMouseUp();
    void arrowMouseUp(velmora::Arrow arrow);
    void imgPrimoMouseUp();
    void imgIndietroMouseUp();
    void imgAvantiMouseUp();
    void imgUltimoMouseUp();

    // The bytes of the shown record as loaded or last saved: Save and Delete touch the record
    // only while it still holds them.
    velmora::CardStore m_card;
};
