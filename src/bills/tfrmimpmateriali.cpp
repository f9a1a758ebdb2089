#include "bills/tfrmimpmateriali.h"

#include <QLineEdit>
#include <QShowEvent>

#include "common/fonts.h"
#include "bills/productimport.h"
#include "common/artwork.h"
#include "common/cardstore.h"
#include "common/failuremessage.h"
#include "common/keyfilters.h"
#include "common/printing.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "products/productlists.h"
#include "products/productrecord.h"

using namespace velmora;

namespace {

QString productChangedMessage()
{
    return QStringLiteral("Attenzione: il prodotto selezionato è stato modificato o eliminato da un'altra "
                          "postazione.\r\n\r\nL'elenco dei prodotti è stato aggiornato: selezionare nuovamente "
                          "il prodotto prima di ripetere l'importazione.");
}

} // namespace

TfrmImpMateriali::TfrmImpMateriali(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setUpDialog(this, QStringLiteral("TfrmImpMateriali"), QStringLiteral(" Importa prodotti e servizi da archivio"),
                {661, 507});

    lblInfo01 = dialogText(this, "lblInfo01",
                     QStringLiteral("Inserire una o più parole consecutive presenti nella scheda da cercare e "
                                    "premere il pulsante Trova."),
                     QRect(8, 8, 645, 18));
    lblInfo02 = dialogText(this, "lblInfo02",
                     QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, "
                                    "fare di nuovo clic su Trova."),
                     QRect(8, 26, 645, 18));
    makeFindRow(this, txtTrova, cmdTrova02, QRect(8, 50, 520, 24), QRect(536, 49, 117, 26));
    txtTrova->setAccessibleName(QStringLiteral("Testo da cercare"));
    lstRecords = makeProductList(QStringLiteral("lstRecords"), 1300, this);
    lstRecords->setFocusPolicy(Qt::TabFocus);
    lstRecords->setAccessibleName(QStringLiteral("Prodotti e servizi in archivio"));
    lstRecords->setGeometry(8, 82, 645, 268);
    lblInfo03 = dialogText(this, "lblInfo03", QStringLiteral("Selezionare una voce dall'elenco e premere Importa."),
                     QRect(8, 356, 645, 18));
    lblInfo03->setStyleSheet(QStringLiteral("color: maroon;"));

    optAggiorna = new QRadioButton(QStringLiteral(" Aggiorna giacenza "), this);
    optAggiorna->setObjectName(QStringLiteral("optAggiorna"));
    optAggiorna->setGeometry(8, 384, 220, 22);
    optNonAggiornare = new QRadioButton(QStringLiteral(" Non aggiornare giacenza "), this);
    optNonAggiornare->setObjectName(QStringLiteral("optNonAggiornare"));
    optNonAggiornare->setGeometry(8, 412, 220, 22);

    QFont boxFont(fonts::text());
    boxFont.setPointSize(8);
    boxFont.setBold(true);
    dialogText(this, "lblGiacenza", QStringLiteral("Giacenza attuale:"), QRect(250, 384, 150, 22))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtGiacenza = new TextBox(this, colours::silver);
    txtGiacenza->setObjectName(QStringLiteral("txtGiacenza"));
    txtGiacenza->setAccessibleName(QStringLiteral("Giacenza attuale"));
    txtGiacenza->setReadOnly(true);
    txtGiacenza->setFocusPolicy(Qt::NoFocus);
    txtGiacenza->setMaxLength(15);
    txtGiacenza->setFont(boxFont);
    txtGiacenza->setGeometry(408, 384, 120, 22);
    txtGiacenza->setText(QStringLiteral("0"));
    dialogText(this, "lblQuant", QStringLiteral("Quant. da decurtare:"), QRect(250, 412, 150, 22))
        ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    txtQuant = new TextBox(this, colours::white);
    txtQuant->setObjectName(QStringLiteral("txtQuant"));
    txtQuant->setAccessibleName(QStringLiteral("Quantità da decurtare"));
    txtQuant->setMaxLength(15);
    txtQuant->setFont(boxFont);
    txtQuant->setGeometry(408, 412, 120, 22);

    lblPosizione = hiddenLabel(QStringLiteral("lblPosizione"), this);

    imgMano = new QLabel(this);
    imgMano->setObjectName(QStringLiteral("imgMano"));
    imgMano->setPixmap(artwork::symbolIcon(QStringLiteral("→"), colours::maroon, 26));
    imgMano->setGeometry(360, 461, 42, 26);
    imgMano->hide();
    cmdAnnulla = new QPushButton(QStringLiteral("Importa"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setGeometry(408, 458, 120, 32);
    cmdAnnulla->setEnabled(false);
    cmdStampa = new QPushButton(QStringLiteral("Stampa"), this);
    cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
    cmdStampa->setGeometry(536, 458, 117, 32);
    for (QPushButton *b : {cmdTrova02, cmdAnnulla, cmdStampa})
        b->setAutoDefault(false);

    txtTrova->hooks.onKeyPress = [this](QChar &key) {
        if (key.unicode() == kKeyEnter)
            cmdTrova02Click();
    };
    txtQuant->hooks.onKeyPress = [this](QChar &key) {
        const std::string typed = toAnsi(QString(key));
        const char c = typed.size() == 1 && typed != "?" ? typed.front() : '\x01';
        if (importQuantityKey(toAnsi(txtQuant->text()), c) != KeyVerdict::Accept) {
            key = QChar();
            m_services.messages->titled(this, QStringLiteral("Operazione annullata"),
                                        QStringLiteral("Attenzione: carattere non valido."));
        }
    };
    txtQuant->hooks.onExit = [this] {
        // Only leaving for another box of this dialog normalises the quantity.
        if (isActiveWindow())
            txtQuant->setText(fromAnsi(normaliseQuantity(toAnsi(txtQuant->text()))));
    };
    connect(txtQuant, &QLineEdit::textChanged, this, &TfrmImpMateriali::txtQuantChange);
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmImpMateriali::cmdTrova02Click);
    connect(lstRecords, &QListWidget::itemSelectionChanged, this, &TfrmImpMateriali::lstRecordsClick);
    connect(optAggiorna, &QRadioButton::toggled, this, &TfrmImpMateriali::optAggiornaClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &TfrmImpMateriali::cmdAnnullaClick);
    connect(cmdStampa, &QPushButton::clicked, this, &TfrmImpMateriali::cmdStampaClick);
    cmdStampa->setShortcut(keys::print());

    optAggiorna->setChecked(true);
    optAggiornaClick();
    txtQuant->setText(QStringLiteral("0"));
}

void TfrmImpMateriali::setQuantity(const QString &quantity)
{
    txtQuant->setText(quantity);
}

void TfrmImpMateriali::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmImpMateriali::FormShow()
{
    m_finder.reset();
    txtTrova->clear();
    optAggiorna->setChecked(true);
    fillList();
    if (txtQuant->text().trimmed().isEmpty())
        txtQuant->setText(QStringLiteral("0"));
    txtTrova->setFocus();
}

void TfrmImpMateriali::fillList()
{
    ProductListing listing = productListLines(
        RecordFile(m_services.file(kProductArchive), kProductRecordSize),
        [](const std::vector<std::string> &fields) { return hasStock(fields) ? ListStep::Take : ListStep::Skip; },
        stockLine);
    // Filling the list swallows failures: a read that fails keeps the lines found until then.
    fillProductList(lstRecords, std::move(listing.lines));
}

void TfrmImpMateriali::setImportEnabled(bool enabled)
{
    cmdAnnulla->setEnabled(enabled);
    imgMano->setVisible(enabled);
}

void TfrmImpMateriali::txtQuantChange(const QString &text)
{
    setImportEnabled(!text.isEmpty());
}

void TfrmImpMateriali::optAggiornaClick()
{
    const bool update = optAggiorna->isChecked();
    optAggiorna->setStyleSheet(update ? QStringLiteral("color: maroon;") : QStringLiteral("color: black;"));
    optNonAggiornare->setStyleSheet(update ? QStringLiteral("color: black;") : QStringLiteral("color: maroon;"));
}

void TfrmImpMateriali::cmdTrova02Click()
{
    quickFindInList(lstRecords, txtTrova->text(), m_finder, m_services, this);
}

void TfrmImpMateriali::lstRecordsClick()
{
    QListWidgetItem *item = lstRecords->currentItem();
    if (!item || !item->isSelected() || item->text().trimmed().isEmpty()) {
        setImportEnabled(false);
        return;
    }
    std::optional<NumberedRecord> found;
    if (!findLastProduct(RecordFile(m_services.file(kProductArchive), kProductRecordSize), toAnsi(item->text()),
                         stockLine, found)) {
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    if (found) {
        txtGiacenza->setText(fromAnsi(productLayout().field(found->record, product::Giacenza)));
        lblPosizione->setText(QString::number(found->number));
    }
    setImportEnabled(true);
    if (txtQuant->text().trimmed().isEmpty())
        txtQuant->setText(QStringLiteral("0"));
}

void TfrmImpMateriali::refuse(const QString &text)
{
    m_services.messages->information(this, QStringLiteral("Aggiornamento giacenza non applicabile"), text);
}

void TfrmImpMateriali::cmdAnnullaClick()
{
    QListWidgetItem *item = lstRecords->currentItem();
    if (!item || !item->isSelected()) {
        reject();
        return;
    }
    // The record the selection picked; without one the import looks the line up itself.
    const std::size_t position = recordNumberFromText(toAnsi(lblPosizione->text())).value_or(0);
    const ImportStep step =
        importProduct(RecordFile(m_services.file(kProductArchive), kProductRecordSize), toAnsi(item->text()), position,
                      optAggiorna->isChecked(), toAnsi(txtQuant->text()));
    // Every message comes after the folder lock is released, so no other workstation waits on a box.
    switch (step.outcome) {
    case ImportStep::Outcome::Imported:
        break;
    case ImportStep::Outcome::FileError:
        m_services.messages->plain(this, fileFailureMessage());
        reject();
        return;
    case ImportStep::Outcome::NotListed:
    case ImportStep::Outcome::Changed:
        // Another workstation changed or removed the product since it was listed: the list
        // shows the archive as it is now, and the user chooses again.
        m_services.messages->plain(this, productChangedMessage());
        m_finder.reset();
        fillList();
        txtGiacenza->setText(QStringLiteral("0"));
        lblPosizione->clear();
        return;
    case ImportStep::Outcome::QuantityNotNumber:
        // Nothing taken: the user can correct the quantity and import again.
        refuse(QStringLiteral("La quantità da decurtare non è un valore numerico valido."));
        return;
    case ImportStep::Outcome::StockNotNumber:
        refuse(QStringLiteral("La giacenza registrata per il prodotto selezionato non è un valore numerico."
                              "\r\n\r\nCorreggere la giacenza nella scheda del prodotto oppure scegliere "
                              "\"Non aggiornare giacenza\"."));
        return;
    case ImportStep::Outcome::AboveStock:
        refuse(QStringLiteral("La quantità da decurtare non può essere superiore alla giacenza in magazzino."));
        reject();
        return;
    }
    m_imported = ImportedProduct{step.fields[product::Descrizione], step.fields[product::Prezzo]};
    accept();
}

void TfrmImpMateriali::cmdStampaClick()
{
    m_services.printer->printList(this, shownLines(lstRecords), PrintRequest::productImport());
}

void TfrmImpMateriali::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}
