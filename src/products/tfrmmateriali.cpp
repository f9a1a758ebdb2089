#include "products/tfrmmateriali.h"

#include <vector>

#include <QDialog>
#include <QFontMetrics>

#include "common/fonts.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/keyfilters.h"
#include "common/office.h"
#include "common/navigation.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "products/productlists.h"
#include "products/productrecord.h"
#include "products/tfrmallegatimat.h"
#include "products/tfrmcartellamat.h"
#include "products/tfrmcercamateriale.h"
#include "products/tfrmcercasottoscorta.h"

using namespace velmora;

namespace {

constexpr int kRowHeight = 26;
constexpr int kFirstRow = 22;
constexpr int kCaptionLeft = 96;
constexpr int kBoxLeft = 300;

QGroupBox *section(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *group = new QGroupBox(parent);
    group->setObjectName(QLatin1String(name));
    group->setGeometry(geometry);
    group->setStyleSheet(QStringLiteral("QGroupBox#%1 { background: white; border: 1px solid #b8bccb; "
                                        "border-radius: 3px; margin: 0; }")
                             .arg(QLatin1String(name)));
    return group;
}

QLabel *picture(QWidget *parent, const char *name, const QPixmap &pixmap, const QPoint &at)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(pixmap);
    label->setGeometry(QRect(at, artwork::area(pixmap).size()));
    return label;
}

QFont captionFont()
{
    QFont f(fonts::text());
    f.setPointSize(8);
    return f;
}

} // namespace

QString TfrmMateriali::helpTopic()
{
    return QStringLiteral("Gestione dell'archivio dei prodotti e servizi");
}

TfrmMateriali::TfrmMateriali(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Prodotti e servizi"), {1038, 742, 4, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmMateriali"));
    QWidget *g = grpContainer;
    using Trigger = IconButton::Trigger;

    // Commands, top to bottom, with the logo under them.
    grpControlli = section(g, "grpControlli", QRect(10, 8, 170, 424));
    const QColor blue(40, 70, 140), green(31, 110, 74), maroon(128, 0, 0), ochre(150, 105, 20);
    struct Command
    {
        IconButton **icon;
        const char *name;
        const char *symbol;
        const char *caption;
        QColor colour;
        const char *description;
        Trigger trigger;
    };
    const Command commands[] = {
        {&imgNuovo, "imgNuovo", "+", "Nuovo", blue, " Prepara la schermata ad accogliere una nuova scheda.",
         Trigger::MouseUp},
        {&imgSalva, "imgSalva", "S", "Salva", blue,
         " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente.",
         Trigger::MouseUp},
        {&imgTrova, "imgTrova", "?", "Trova", blue, " Trova una scheda in archivio.", Trigger::MouseUp},
        {&imgWord, "imgWord", "W", "Esporta scheda", QColor(40, 90, 170),
         " Esporta la scheda corrente in un file di Microsoft Word.", Trigger::Click},
        {&imgExcel, "imgExcel", "X", "Esporta archivio", green,
         " Esporta l'archivio corrente in un foglio di Microsoft Excel.", Trigger::MouseUp},
        {&imgFile, "imgFile", "@", "Allegati", ochre, " Allega file esterni alla scheda corrente.", Trigger::MouseUp},
        {&imgCartella, "imgCartella", "C", "Cartella", ochre, " Associa una cartella alla scheda corrente.",
         Trigger::MouseUp},
        {&imgDoppioTurno, "imgDoppioTurno", "!", "Sottoscorta", QColor(200, 120, 0),
         " Visualizza l'elenco dei prodotti in esaurimento.", Trigger::MouseUp},
        {&imgElimina, "imgElimina", "×", "Elimina", maroon, " Elimina la scheda corrente dall'archivio.",
         Trigger::Click},
        {&imgGuida, "imgGuida", "i", "Guida", green, " Visualizza la guida in linea del programma.", Trigger::MouseUp},
        {&imgEsci, "imgEsci", "«", "Esci", maroon, " Esce dalla schermata di lavoro corrente.", Trigger::MouseUp},
    };
    int y = 14;
    for (const Command &c : commands) {
        *c.icon = addIcon(grpControlli, c.name, QString::fromUtf8(c.symbol), QString::fromUtf8(c.caption), c.colour,
                          c.description, c.trigger, QPoint(11, y));
        y += 37;
    }
    picture(g, "icoLogo04", artwork::logo(QSize(165, 40), 0), QPoint(16, 448));

    auto *title = new QLabel(g);
    title->setObjectName(QStringLiteral("lblTitolo"));
    title->setPixmap(artwork::titlePicture(QStringLiteral("Archivio prodotti e servizi"), QSize(795, 30), maroon));
    title->setGeometry(190, 8, 795, 30);

    // The card: three sections of boxes.
    grpSezione01 = section(g, "grpSezione01", QRect(190, 44, 795, 186));
    grpSezione02 = section(g, "grpSezione02", QRect(190, 236, 795, 186));
    grpSezione03 = section(g, "grpSezione03", QRect(190, 428, 795, 160));
    picture(grpSezione01, "icoScatole", decorationPicture(Decoration::Boxes, 72), QPoint(12, 24));
    picture(grpSezione02, "imgFornitore", decorationPicture(Decoration::Supplier, 72), QPoint(12, 24));
    picture(grpSezione03, "imgCollocazione", decorationPicture(Decoration::Shelves, 72), QPoint(12, 24));

    txtCodice = addBox(grpSezione01, "txtCodice", QStringLiteral("Codice articolo:"), 250, 0, 240);
    txtTipologia = addBox(grpSezione01, "txtTipologia", QStringLiteral("Tipologia:"), 250, 1);
    txtMarca = addBox(grpSezione01, "txtMarca", QStringLiteral("Marca e modello:"), 250, 2);
    txtModello = addBox(grpSezione01, "txtModello", QStringLiteral("Produttore:"), 250, 3);
    txtAccessori = addBox(grpSezione01, "txtAccessori", QStringLiteral("Accessori:"), 250, 4);
    txtDescrizione = addBox(grpSezione01, "txtDescrizione", QStringLiteral("Descrizione prodotto o servizio:"), 250, 5);
    txtFornitore = addBox(grpSezione02, "txtFornitore", QStringLiteral("Fornitore:"), 250, 0);
    txtRecapito = addBox(grpSezione02, "txtRecapito", QStringLiteral("Recapito:"), 250, 1);
    txtData = addBox(grpSezione02, "txtData", QStringLiteral("Data di acquisto:"), 50, 2, 160);
    txtCosto = addBox(grpSezione02, "txtCosto", QStringLiteral("Costo di acquisto:"), 50, 3, 160);
    txtDocumento = addBox(grpSezione02, "txtDocumento", QStringLiteral("Documento di acquisto:"), 250, 4);
    txtOrdine = addBox(grpSezione02, "txtOrdine", QStringLiteral("Modalità di ordine merce:"), 250, 5);
    txtPrezzo = addBox(grpSezione03, "txtPrezzo", QStringLiteral("Prezzo unitario:"), 15, 0, 120);
    txtCollocazione = addBox(grpSezione03, "txtCollocazione", QStringLiteral("Collocazione:"), 250, 1);
    txtGiacenza = addBox(grpSezione03, "txtGiacenza", QStringLiteral("Giacenza:"), 15, 2, 120);
    txtSottoscorta = addBox(grpSezione03, "txtSottoscorta", QStringLiteral("Avviso sottoscorta n."), 15, 3, 120);
    txtNote = addBox(grpSezione03, "txtNote", QStringLiteral("Note:"), 250, 4);

    // The warning sign sits just before the threshold's caption.
    const int captionWidth = QFontMetrics(captionFont()).horizontalAdvance(QStringLiteral("Avviso sottoscorta n."));
    picture(grpSezione03, "imgAvviso", warningPicture(16),
            QPoint(kBoxLeft - 6 - captionWidth - 22, kFirstRow + 3 * kRowHeight + 2));
    auto *pieces = new QLabel(QStringLiteral("pezzi rimasti."), grpSezione03);
    pieces->setObjectName(QStringLiteral("lblPezzi"));
    pieces->setFont(captionFont());
    pieces->setGeometry(kBoxLeft + 128, kFirstRow + 3 * kRowHeight, 200, 20);

    QFont notes = txtNote->font();
    notes.setBold(false);
    notes.setItalic(true);
    txtNote->setFont(notes);
    QPalette red = txtNote->palette();
    red.setColor(QPalette::Text, Qt::red);
    txtNote->setPalette(red);

    setEnterChain({txtCodice, txtTipologia, txtMarca, txtModello, txtAccessori, txtDescrizione, txtFornitore,
                   txtRecapito, txtData, txtCosto, txtDocumento, txtOrdine, txtPrezzo, txtCollocazione, txtGiacenza,
                   txtSottoscorta, txtNote});
    setupNumberBox(txtPrezzo, QStringLiteral("0,00"), QStringLiteral("Attenzione: valore non valido."), true);
    setupNumberBox(txtGiacenza, QStringLiteral("0"),
                   QStringLiteral("Attenzione: il valore della giacenza massima non può superare 30 milioni."), false);
    setupNumberBox(txtSottoscorta, QStringLiteral("0"),
                   QStringLiteral("Attenzione: il valore massimo non può superare 30 milioni."), false);

    // Navigation under the card, the card's position between the arrows.
    const int navTop = 598;
    const int navLeft = 190 + (795 - (4 * 148 + 90 + 4 * 6)) / 2;
    imgPrimo = addIcon(g, "imgPrimo", QStringLiteral("|<"), QStringLiteral("Primo"), blue,
                       " Visualizza la prima scheda in archivio.", Trigger::MouseUp, QPoint(navLeft, navTop));
    imgIndietro =
        addIcon(g, "imgIndietro", QStringLiteral("<"), QStringLiteral("Indietro"), blue,
                " Visualizza la scheda precedente in archivio.", Trigger::MouseUp, QPoint(navLeft + 154, navTop));
    lblPosizione = new QLabel(g);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(navLeft + 308, navTop, 90, 32);
    lblPosizione->setAlignment(Qt::AlignCenter);
    QFont position(fonts::text());
    position.setPixelSize(14);
    position.setBold(true);
    lblPosizione->setFont(position);
    imgAvanti =
        addIcon(g, "imgAvanti", QStringLiteral(">"), QStringLiteral("Avanti"), blue,
                " Visualizza la scheda successiva in archivio.", Trigger::MouseUp, QPoint(navLeft + 404, navTop));
    imgUltimo = addIcon(g, "imgUltimo", QStringLiteral(">|"), QStringLiteral("Ultimo"), blue,
                        " Visualizza l'ultima scheda in archivio", Trigger::MouseUp, QPoint(navLeft + 558, navTop));

    lblFile01 = hiddenLabel(QStringLiteral("lblFile01"), g);
    lblFile02 = hiddenLabel(QStringLiteral("lblFile02"), g);
    lblFile03 = hiddenLabel(QStringLiteral("lblFile03"), g);
    lblDesc01 = hiddenLabel(QStringLiteral("lblDesc01"), g);
    lblDesc02 = hiddenLabel(QStringLiteral("lblDesc02"), g);
    lblDesc03 = hiddenLabel(QStringLiteral("lblDesc03"), g);
    lblCartella = hiddenLabel(QStringLiteral("lblCartella"), g);
    lblCartellaDesc = hiddenLabel(QStringLiteral("lblCartellaDesc"), g);

    addInfoBar();
    for (QWidget *surface : {static_cast<QWidget *>(grpControlli), static_cast<QWidget *>(grpSezione01),
                             static_cast<QWidget *>(grpSezione02), static_cast<QWidget *>(grpSezione03)})
        clearsDescription(surface);

    connect(imgNuovo, &IconButton::activated, this, &TfrmMateriali::imgNuovoMouseUp);
    connect(imgSalva, &IconButton::activated, this, &TfrmMateriali::imgSalvaMouseUp);
    connect(imgTrova, &IconButton::activated, this, &TfrmMateriali::imgTrovaMouseUp);
    connect(imgWord, &IconButton::activated, this, &TfrmMateriali::imgWordClick);
    connect(imgExcel, &IconButton::activated, this, &TfrmMateriali::imgExcelMouseUp);
    connect(imgFile, &IconButton::activated, this, &TfrmMateriali::imgFileMouseUp);
    connect(imgCartella, &IconButton::activated, this, &TfrmMateriali::imgCartellaMouseUp);
    connect(imgDoppioTurno, &IconButton::activated, this, &TfrmMateriali::imgDoppioTurnoMouseUp);
    connect(imgElimina, &IconButton::activated, this, &TfrmMateriali::imgEliminaClick);
    connect(imgGuida, &IconButton::activated, this, &TfrmMateriali::imgGuidaMouseUp);
    imgGuida->setShortcut(keys::help());
    imgNuovo->setShortcut(keys::newCard());
    imgSalva->setShortcut(keys::save());
    imgExcel->setShortcut(keys::exportTo());
    imgPrimo->setShortcut(keys::first());
    imgIndietro->setShortcut(keys::previous());
    imgAvanti->setShortcut(keys::next());
    imgUltimo->setShortcut(keys::last());
    // What a screen reader calls each command.
    imgPrimo->setAccessibleName(QStringLiteral("Prima scheda"));
    imgIndietro->setAccessibleName(QStringLiteral("Scheda precedente"));
    imgAvanti->setAccessibleName(QStringLiteral("Scheda successiva"));
    imgUltimo->setAccessibleName(QStringLiteral("Ultima scheda"));
    connect(imgEsci, &IconButton::activated, this, &TfrmMateriali::imgEsciMouseUp);
    connect(imgPrimo, &IconButton::activated, this, &TfrmMateriali::imgPrimoMouseUp);
    connect(imgIndietro, &IconButton::activated, this, &TfrmMateriali::imgIndietroMouseUp);
    connect(imgAvanti, &IconButton::activated, this, &TfrmMateriali::imgAvantiMouseUp);
    connect(imgUltimo, &IconButton::activated, this, &TfrmMateriali::imgUltimoMouseUp);

    resetCard();
}

TextBox *TfrmMateriali::addBox(QGroupBox *section, const char *name, const QString &caption, int maxLength, int row,
                               int width)
{
    const int top = kFirstRow + row * kRowHeight;
    auto *label = new QLabel(caption, section);
    label->setObjectName(QStringLiteral("lbl") + QLatin1String(name).mid(3));
    label->setFont(captionFont());
    label->setGeometry(kCaptionLeft, top, kBoxLeft - kCaptionLeft - 6, 20);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *box = new TextBox(section);
    box->setObjectName(QLatin1String(name));
    box->setMaxLength(maxLength);
    box->setGeometry(kBoxLeft, top, width, 21);
    label->setBuddy(box);
    QFont f(fonts::text());
    f.setPointSize(8);
    f.setBold(true);
    box->setFont(f);
    keepStorable(box, m_services.messages);
    return box;
}

void TfrmMateriali::setupNumberBox(TextBox *box, const QString &defaultText, const QString &limitMessage, bool price)
{
    box->hooks.onKeyPress = [this, box, defaultText, limitMessage](QChar &key) {
        const std::string typed = toAnsi(QString(key));
        // A character the code page cannot hold is never a digit or the separator.
        const char c = typed.size() == 1 && typed != "?" ? typed.front() : '\x01';
        switch (productCardKey(toAnsi(box->text()), c)) {
        case KeyVerdict::Accept:
            return;
        case KeyVerdict::Refuse:
            key = QChar();
            m_services.messages->titled(this, QStringLiteral("Operazione annullata"),
                                        QStringLiteral("Attenzione: carattere non valido."));
            return;
        case KeyVerdict::OverLimit:
            key = QChar();
            m_services.messages->titled(this, QStringLiteral("Operazione annullata"), limitMessage);
            box->setText(defaultText);
            return;
        }
    };
    box->hooks.onExit = [this, box, price] {
        // Leaving for another window (a message, a dialog) is not leaving the box: the
        // normalisation waits until the user really moves on.
        if (!isActiveWindow())
            return;
        const std::string typed = toAnsi(box->text());
        box->setText(fromAnsi(price ? normalisePrice(typed) : normaliseCount(typed)));
    };
}

IconButton *TfrmMateriali::addIcon(QWidget *parent, const char *name, const QString &symbol, const QString &caption,
                                   const QColor &colour, const char *description, IconButton::Trigger trigger,
                                   const QPoint &at)
{
    auto *icon = new IconButton(QLatin1String(name), QString::fromUtf8(description), parent, trigger);
    icon->setAccessibleName(caption);
    icon->setPixmap(commandPlate(symbol, caption, colour));
    icon->setGeometry(QRect(at, QSize(148, 32)));
    describe(icon);
    return icon;
}

void TfrmMateriali::FormShow()
{
    resetCard();
}

void TfrmMateriali::resetCard()
{
    for (TextBox *box : {txtCodice, txtTipologia, txtMarca, txtModello, txtAccessori, txtDescrizione, txtFornitore,
                         txtRecapito, txtData, txtCosto, txtDocumento, txtOrdine, txtCollocazione, txtNote})
        box->clear();
    txtPrezzo->setText(QStringLiteral("0,00"));
    txtGiacenza->setText(QStringLiteral("0"));
    txtSottoscorta->setText(QStringLiteral("0"));
    for (QLabel *label :
         {lblFile01, lblFile02, lblFile03, lblDesc01, lblDesc02, lblDesc03, lblCartella, lblCartellaDesc, lblPosizione})
        label->clear();
    m_card.forget();
    txtCodice->setFocus();
}

void TfrmMateriali::showRecord(const std::string &record, std::size_t position)
{
    using namespace product;
    const std::vector<std::string> f = productLayout().decode(record);
    const std::pair<QLineEdit *, Field> boxes[] = {{txtCodice, Codice},
                                                   {txtTipologia, Tipologia},
                                                   {txtMarca, Marca},
                                                   {txtModello, Modello},
                                                   {txtAccessori, Accessori},
                                                   {txtDescrizione, Descrizione},
                                                   {txtFornitore, Fornitore},
                                                   {txtRecapito, Recapito},
                                                   {txtData, Data},
                                                   {txtCosto, Costo},
                                                   {txtDocumento, Documento},
                                                   {txtOrdine, Ordine},
                                                   {txtPrezzo, Prezzo},
                                                   {txtCollocazione, Collocazione},
                                                   {txtGiacenza, Giacenza},
                                                   {txtSottoscorta, Sottoscorta},
                                                   {txtNote, Note}};
    for (const auto &[box, field] : boxes)
        box->setText(fromAnsi(f[field]));
    const std::pair<QLabel *, Field> labels[] = {
        {lblFile01, File01}, {lblFile02, File02}, {lblFile03, File03},     {lblDesc01, Desc01},
        {lblDesc02, Desc02}, {lblDesc03, Desc03}, {lblCartella, Cartella}, {lblCartellaDesc, CartellaDesc}};
    for (const auto &[label, field] : labels)
        label->setText(fromAnsi(f[field]));
    lblPosizione->setText(QString::number(position));
    m_card.hold(record);
}

std::string TfrmMateriali::cardRecord() const
{
    const auto text = [](const QLineEdit *box) { return toAnsi(box->text()); };
    const auto label = [](const QLabel *l) { return toAnsi(l->text()); };
    return productLayout().encode(
        {text(txtCodice),      text(txtTipologia), text(txtMarca),    text(txtModello),      text(txtAccessori),
         text(txtDescrizione), text(txtFornitore), text(txtRecapito), text(txtData),         text(txtCosto),
         text(txtDocumento),   text(txtOrdine),    text(txtPrezzo),   text(txtCollocazione), text(txtGiacenza),
         text(txtSottoscorta), text(txtNote),      label(lblFile01),  label(lblFile02),      label(lblFile03),
         label(lblDesc01),     label(lblDesc02),   label(lblDesc03),  label(lblCartella),    label(lblCartellaDesc)});
}

void TfrmMateriali::imgNuovoMouseUp()
{
    resetCard();
}

void TfrmMateriali::imgSalvaMouseUp()
{
    const QString refused = QStringLiteral("Salvataggio scheda non applicabile");
    if (txtCodice->text().trimmed().isEmpty()) {
        m_services.messages->information(
            this, refused, QStringLiteral("Per salvare la scheda è necessario indicare il codice articolo."));
        txtCodice->setFocus();
        return;
    }
    if (txtDescrizione->text().trimmed().isEmpty()) {
        m_services.messages->information(
            this, refused,
            QStringLiteral("Per salvare la scheda è necessario indicare una descrizione dell'articolo."));
        txtDescrizione->setFocus();
        return;
    }
    if (txtPrezzo->text().trimmed().isEmpty())
        txtPrezzo->setText(QStringLiteral("0,00"));
    for (TextBox *box : {txtGiacenza, txtSottoscorta}) {
        if (box->text().trimmed().isEmpty())
            box->setText(QStringLiteral("0"));
    }
    for (TextBox *box : {txtGiacenza, txtSottoscorta}) {
        const auto rounded = roundedCount(toAnsi(box->text()));
        if (!rounded) {
            m_services.messages->plain(this, fileFailureMessage());
            return;
        }
        box->setText(fromAnsi(*rounded));
    }

    const CardStore::Saved saved = m_card.save(RecordFile(m_services.file(kProductArchive), kProductRecordSize),
                                               toAnsi(lblPosizione->text()), cardRecord());
    if (saved.outcome != CardStore::Outcome::Done) {
        reportRefused(saved.outcome);
        return;
    }
    // The card shows what was stored: values trimmed and cut as the archive keeps them.
    showRecord(m_card.held(), saved.number);
    if (saved.appended)
        m_services.messages->information(this, QStringLiteral("Salvataggio scheda effettuato con successo"),
                                         QStringLiteral("La scheda corrente è stata inserita in archivio."));
    else
        m_services.messages->information(
            this, QStringLiteral("Aggiornamento scheda effettuato con successo"),
            QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
}

void TfrmMateriali::imgTrovaMouseUp()
{
    TfrmCercaMateriale dlg(m_services, this);
    dlg.setCaller(Caller::Materiali);
    dlg.exec();
    if (const auto &chosen = dlg.chosen())
        showRecord(chosen->record, chosen->number);
}

void TfrmMateriali::imgWordClick()
{
    if (txtCodice->text().trimmed().isEmpty()) {
        m_services.messages->plain(this, QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word è "
                                                        "necessario indicare il codice articolo."));
        txtCodice->setFocus();
        return;
    }
    // The boxes as they are on screen, so an unsaved card exports too; the threshold,
    // attachments and folder stay out of the document.
    const std::pair<const char *, const TextBox *> rows[] = {
        {"Codice articolo:", txtCodice},
        {"Tipologia:", txtTipologia},
        {"Marca e modello:", txtMarca},
        {"Produttore:", txtModello},
        {"Accessori:", txtAccessori},
        {"Descrizione prodotto o servizio:", txtDescrizione},
        {"Fornitore:", txtFornitore},
        {"Recapito:", txtRecapito},
        {"Data di acquisto:", txtData},
        {"Costo di acquisto:", txtCosto},
        {"Documento di acquisto:", txtDocumento},
        {"Modalità di ordine merce:", txtOrdine},
        {"Prezzo unitario:", txtPrezzo},
        {"Collocazione:", txtCollocazione},
        {"Giacenza:", txtGiacenza},
        {"Note:", txtNote},
    };
    WordCard card;
    // The heading, then an empty line under it.
    card.headings << QStringLiteral("SCHEDA PRODOTTO O SERVIZIO") << QString();
    for (const auto &[label, box] : rows)
        card.rows.emplace_back(QString::fromUtf8(label), fromAnsi(trimField(toAnsi(box->text()))));
    m_services.office->wordCard(this, card);
}

void TfrmMateriali::imgExcelMouseUp()
{
    // The export dialog lives for the whole run and reloads the archive at every showing.
    m_services.navigator->showArchiveExport(this, ArchiveExport::Products);
}

void TfrmMateriali::imgFileMouseUp()
{
    // The references change on the card only on "Applica e chiudi"; Save stores them.
    const ReferenceLabels labels[] = {{lblFile01, lblDesc01}, {lblFile02, lblDesc02}, {lblFile03, lblDesc03}};
    TfrmAllegatiMat dlg(m_services, this);
    dlg.setFiles({labels[0].reference(), labels[1].reference(), labels[2].reference()});
    if (dlg.exec() != QDialog::Accepted)
        return;
    const AttachedFiles files = dlg.files();
    for (std::size_t i = 0; i < files.size(); ++i)
        labels[i].show(files[i]);
}

void TfrmMateriali::imgCartellaMouseUp()
{
    const ReferenceLabels labels{lblCartella, lblCartellaDesc};
    TfrmCartellaMat dlg(m_services, this);
    dlg.setFolder(labels.reference());
    if (dlg.exec() == QDialog::Accepted)
        labels.show(dlg.folder());
}

void TfrmMateriali::imgDoppioTurnoMouseUp()
{
    TfrmCercaSottoscorta dlg(m_services, this);
    dlg.exec();
    if (const auto &chosen = dlg.chosen())
        showRecord(chosen->record, chosen->number);
}

void TfrmMateriali::imgEliminaClick()
{
    if (isNewCard(toAnsi(lblPosizione->text()))) {
        m_services.messages->warning(
            this, QStringLiteral("Attenzione: operazione non applicabile"),
            QStringLiteral("La cancellazione può essere applicata soltanto ad una scheda già registrata in archivio."));
        return;
    }
    if (!m_services.messages->question(
            this, QStringLiteral("Conferma cancellazione scheda"),
            QStringLiteral("Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non potranno "
                           "essere recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?")))
        return;
    const CardStore::Outcome removed = m_card.remove(RecordFile(m_services.file(kProductArchive), kProductRecordSize),
                                                     toAnsi(lblPosizione->text()), m_services.file(kProductTemp));
    if (removed != CardStore::Outcome::Done) {
        reportRefused(removed);
        return;
    }
    resetCard();
}

void TfrmMateriali::imgGuidaMouseUp()
{
    m_services.navigator->showHelp(this, helpTopic());
}

void TfrmMateriali::imgEsciMouseUp()
{
    close();
}

void TfrmMateriali::reportRefused(CardStore::Outcome outcome)
{
    // Nothing was written: the card keeps what the user typed.
    m_services.messages->plain(this,
                               outcome == CardStore::Outcome::Changed ? cardChangedMessage() : fileFailureMessage());
}

void TfrmMateriali::showStored(std::size_t n)
{
    std::string record;
    if (!RecordFile(m_services.file(kProductArchive), kProductRecordSize).read(n, record)) {
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    showRecord(record, n);
}

void TfrmMateriali::arrowMouseUp(Arrow arrow)
{
    moveCard(arrow, RecordFile(m_services.file(kProductArchive), kProductRecordSize).count(), lblPosizione,
             [this](std::size_t n) { showStored(n); });
}

void TfrmMateriali::imgPrimoMouseUp()
{
    arrowMouseUp(Arrow::First);
}

void TfrmMateriali::imgIndietroMouseUp()
{
    arrowMouseUp(Arrow::Previous);
}

void TfrmMateriali::imgAvantiMouseUp()
{
    arrowMouseUp(Arrow::Next);
}

void TfrmMateriali::imgUltimoMouseUp()
{
    arrowMouseUp(Arrow::Last);
}
