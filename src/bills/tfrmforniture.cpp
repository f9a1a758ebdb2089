#include "bills/tfrmforniture.h"

#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QStyledItemDelegate>

#include "common/fonts.h"
#include "bills/billartwork.h"
#include "bills/billfiles.h"
#include "bills/billmove.h"
#include "bills/consumption.h"
#include "bills/tfrmimpmateriali.h"
#include "bills/tfrmtrasferisci.h"
#include "clients/clientrecord.h"
#include "clients/tfrmcercadestinatari.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/keyfilters.h"
#include "common/printing.h"
#include "common/text.h"

using namespace velmora;

namespace {

const QColor kBillGold(138, 98, 18);
const QColor kBillGreen(31, 110, 74);

QString listDescription()
{
    return QStringLiteral(" Seleziona una consumazione in elenco con un clic per visualizzare la relativa scheda.");
}

QString openInstructions()
{
    return QStringLiteral("Per aggiungere una consumazione al conto, fare clic su Nuovo, compilare le caselle dei "
                          "dettagli e premere Salva.");
}

QString closedInstructions()
{
    return QStringLiteral("Conto chiuso: le consumazioni possono essere consultate, stampate ed esportate ma non "
                          "modificate.");
}

QString calcolaDescription()
{
    return QStringLiteral(" Calcola l'importo totale moltiplicando la quantità per il prezzo unitario.");
}

// Every line is as wide as the list's scroll extent, so long lines can be scrolled into view.
class ExtentDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {1000, QStyledItemDelegate::sizeHint(option, index).height()};
    }
};

QLabel *heading(const QString &name, const QString &text, const QRect &geometry, const QColor &colour, int pixelSize,
                QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    QFont f(fonts::text());
    f.setPixelSize(pixelSize);
    f.setBold(true);
    label->setFont(f);
    label->setIndent(8);
    return label;
}

} // namespace

TfrmForniture::TfrmForniture(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Registrazione prodotti e servizi in conto"),
                    {1030, 742, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmForniture"));
    QWidget *g = grpContainer;
    addInfoBar();

    lblFile = hiddenLabel(QStringLiteral("lblFile"), g);

    panIstruzioni = new QLabel(openInstructions(), g);
    panIstruzioni->setObjectName(QStringLiteral("panIstruzioni"));
    panIstruzioni->setGeometry(10, 8, 975, 22);
    panIstruzioni->setAutoFillBackground(true);
    setBackground(panIstruzioni, QColor(255, 250, 224));
    panIstruzioni->setFont(QFont(fonts::text(), 8));
    panIstruzioni->setIndent(8);
    panIstruzioni->setFrameShape(QFrame::StyledPanel);

    panClasse =
        heading(QStringLiteral("panClasse"), QStringLiteral("Nome conto"), QRect(10, 36, 975, 32), kBillGold, 16, g);
    panTitolo = heading(QStringLiteral("panTitolo"), QStringLiteral("Conto dei prodotti e servizi forniti"),
                        QRect(10, 76, 930, 24), kBillGreen, 12, g);
    for (QLabel *surface : {panIstruzioni, panClasse, panTitolo})
        clearsDescription(surface);

    const auto icon = [this, g](IconButton *&member, const char *name, const QString &description,
                                const QPixmap &picture, const QPoint &at) {
        member = new IconButton(QLatin1String(name), description, g);
        member->setPixmap(picture);
        member->setGeometry(QRect(at, artwork::area(picture).size()));
        describe(member);
    };

    icon(cmdElimina, "cmdElimina", QStringLiteral(" Elimina la consumazione selezionata."),
         billart::binIcon(QColor(160, 40, 40), 26), QPoint(945, 75));

    lstStudenti = new QListWidget(g);
    lstStudenti->setObjectName(QStringLiteral("lstStudenti"));
    lstStudenti->setAccessibleName(QStringLiteral("Consumazioni del conto"));
    lstStudenti->setGeometry(10, 104, 975, 214);
    lstStudenti->setFocusPolicy(Qt::StrongFocus);
    lstStudenti->setSelectionMode(QAbstractItemView::SingleSelection);
    lstStudenti->setUniformItemSizes(true);
    lstStudenti->setItemDelegate(new ExtentDelegate(lstStudenti));
    lstStudenti->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont listFont(fonts::fixed());
    listFont.setStyleHint(QFont::Monospace);
    listFont.setPixelSize(12);
    listFont.setBold(true);
    lstStudenti->setFont(listFont);
    setBackground(lstStudenti, colours::moneyGreen);
    lstStudenti->viewport()->setMouseTracking(true);
    lstStudenti->viewport()->installEventFilter(this);

    QFont totalFont(fonts::text());
    totalFont.setPixelSize(14);
    totalFont.setBold(true);
    infTotale = new QLabel(QStringLiteral("TOTALE:"), g);
    infTotale->setObjectName(QStringLiteral("infTotale"));
    infTotale->setGeometry(665, 322, 110, 24);
    infTotale->setFont(totalFont);
    infTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    repTotale = new QLabel(g);
    repTotale->setObjectName(QStringLiteral("repTotale"));
    repTotale->setGeometry(785, 322, 200, 24);
    repTotale->setFont(totalFont);
    repTotale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *dettagli = new QLabel(QStringLiteral("DETTAGLI CONSUMAZIONE:"), g);
    dettagli->setObjectName(QStringLiteral("infDettagli"));
    dettagli->setGeometry(10, 330, 300, 18);
    QFont dettagliFont(fonts::text(), 8);
    dettagliFont.setBold(true);
    dettagli->setFont(dettagliFont);

    const auto panel = [this, g](const char *name, const QRect &geometry) {
        auto *p = new QFrame(g);
        p->setObjectName(QLatin1String(name));
        p->setGeometry(geometry);
        p->setFrameShape(QFrame::StyledPanel);
        p->setAutoFillBackground(true);
        setBackground(p, QColor(244, 246, 250));
        clearsDescription(p);
        return p;
    };
    panDati01 = panel("panDati01", QRect(10, 350, 640, 200));
    panDati02 = panel("panDati02", QRect(660, 350, 325, 200));

    QFont boxFont(fonts::text());
    boxFont.setPixelSize(11);
    boxFont.setBold(true);
    const QFont captionFont(fonts::text(), 8);
    const auto box = [&](TextBox *&member, const char *name, const char *caption, int maxLength, QWidget *parentPanel,
                         const QRect &geometry) {
        auto *label = new QLabel(QString::fromUtf8(caption), parentPanel);
        label->setFont(captionFont);
        label->setGeometry(geometry.x(), geometry.y() - 16, geometry.width() + 40, 15);
        member = new TextBox(parentPanel);
        member->setObjectName(QLatin1String(name));
        member->setGeometry(geometry);
        member->setMaxLength(maxLength);
        member->setFont(boxFont);
        label->setBuddy(member);
        keepStorable(member, m_services.messages);
        m_boxes.push_back(member);
    };
    box(txtProdotto, "txtProdotto", "Prodotto o servizio fornito:", 250, panDati01, QRect(10, 26, 570, 22));
    box(txtData, "txtData", "Data:", 10, panDati01, QRect(10, 72, 90, 22));
    box(txtOra, "txtOra", "Ora:", 5, panDati01, QRect(110, 72, 60, 22));
    box(txtLuogo, "txtLuogo", "Tavolo / Luogo:", 250, panDati01, QRect(180, 72, 450, 22));
    box(txtQuantita, "txtQuantita", "Quantità:", 16, panDati01, QRect(10, 118, 100, 22));
    box(txtPrezzo, "txtPrezzo", "Prezzo unitario:", 16, panDati01, QRect(134, 118, 110, 22));
    box(txtImporto, "txtImporto", "Importo totale:", 16, panDati01, QRect(284, 118, 110, 22));
    box(txtUM, "txtUM", "Unità di misura:", 10, panDati01, QRect(410, 118, 110, 22));
    box(txtCameriere, "txtCameriere", "Cameriere / Operatore:", 50, panDati01, QRect(10, 164, 360, 22));
    box(txtCliente, "txtCliente", "Cliente:", 50, panDati02, QRect(10, 26, 305, 22));
    box(txtAlloggio, "txtAlloggio", "Camera / Alloggio:", 50, panDati02, QRect(10, 72, 305, 22));
    box(txtTelCel, "txtTelCel", "Tel. cellulare:", 50, panDati02, QRect(10, 118, 255, 22));
    for (TextBox *b : {txtQuantita, txtPrezzo, txtImporto})
        b->setAlignment(Qt::AlignRight);
    setEnterChain({m_boxes.begin(), m_boxes.end()});

    auto *per = new QLabel(QStringLiteral("X"), panDati01);
    per->setObjectName(QStringLiteral("infPer"));
    per->setGeometry(110, 118, 24, 22);
    per->setAlignment(Qt::AlignCenter);
    per->setFont(boxFont);
    cmdCalcola = new QPushButton(QStringLiteral("="), panDati01);
    cmdCalcola->setObjectName(QStringLiteral("cmdCalcola"));
    cmdCalcola->setGeometry(250, 117, 28, 24);
    cmdCalcola->setFocusPolicy(Qt::StrongFocus);
    cmdCalcola->setAutoDefault(false);
    cmdCalcola->setMouseTracking(true);
    cmdCalcola->installEventFilter(this);

    impProdotto =
        new IconButton(QStringLiteral("impProdotto"),
                       QStringLiteral(" Importa i dati del prodotto o servizio dal relativo archivio."), panDati01);
    impProdotto->setPixmap(artwork::symbolIcon(QStringLiteral("↓"), QColor(122, 28, 28), 26));
    impProdotto->setGeometry(QRect(QPoint(584, 24), pictureSize(impProdotto)));
    describe(impProdotto);
    impCliente = new IconButton(QStringLiteral("impCliente"),
                                QStringLiteral(" Importa i dati dall'archivio anagrafico clienti."), panDati02);
    impCliente->setPixmap(artwork::symbolIcon(QStringLiteral("↓"), QColor(29, 63, 143), 26));
    impCliente->setGeometry(QRect(QPoint(267, 116), pictureSize(impCliente)));
    describe(impCliente);
    // Tab reaches each import right after the box it fills.
    setTabOrder(txtProdotto, impProdotto);
    setTabOrder(txtTelCel, impCliente);

    // Arrows with the record number between them.
    const QColor arrows(29, 63, 143);
    icon(imgPrimo, "imgPrimo", QStringLiteral(" Visualizza la prima scheda in archivio."),
         artwork::symbolIcon(QStringLiteral("«"), arrows, 36), QPoint(10, 590));
    icon(imgIndietro, "imgIndietro", QStringLiteral(" Visualizza la scheda precedente in archivio."),
         artwork::symbolIcon(QStringLiteral("‹"), arrows, 36), QPoint(62, 590));
    lblPosizione = new QLabel(g);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(122, 590, 70, 36);
    lblPosizione->setAlignment(Qt::AlignCenter);
    QFont positionFont(fonts::text());
    positionFont.setPixelSize(14);
    positionFont.setBold(true);
    lblPosizione->setFont(positionFont);
    icon(imgAvanti, "imgAvanti", QStringLiteral(" Visualizza la scheda successiva in archivio."),
         artwork::symbolIcon(QStringLiteral("›"), arrows, 36), QPoint(192, 590));
    icon(imgUltimo, "imgUltimo", QStringLiteral(" Visualizza l'ultima scheda in archivio"),
         artwork::symbolIcon(QStringLiteral("»"), arrows, 36), QPoint(244, 590));

    // Commands along the foot of the card.
    int x = 390;
    const auto command = [&](IconButton *&member, const char *name, const QString &description,
                             const QPixmap &picture) {
        icon(member, name, description, picture, QPoint(x, 568));
        x += artwork::area(picture).width() + 6;
    };
    command(btnNuovo, "btnNuovo",
            QStringLiteral(" Prepara la schermata ad inserire una nuova consumazione nel conto senza cancellare le "
                           "informazioni che si suppone restino invariate."),
            artwork::commandIcon(QStringLiteral("+"), QStringLiteral("Nuovo"), kBillGreen, 44));
    command(btnVuota, "btnVuota",
            QStringLiteral(" Prepara la schermata ad accogliere una nuova consumazione cancellando tutti i campi di "
                           "testo."),
            artwork::commandIcon(QStringLiteral("∅"), QStringLiteral("Svuota"), kBillGreen, 44));
    command(btnSalva, "btnSalva",
            QStringLiteral(" Salva in archivio i dati relativi alla consumazione corrente oppure aggiorna la "
                           "consumazione esistente."),
            artwork::commandIcon(QStringLiteral("✓"), QStringLiteral("Salva"), QColor(29, 63, 143), 44));
    command(btnStampa, "btnStampa", QStringLiteral(" Stampa il conto dei prodotti e servizi forniti."),
            artwork::commandIcon(QStringLiteral("▤"), QStringLiteral("Stampa"), kBillGold, 44));
    command(btnEsporta, "btnEsporta", QStringLiteral(" Esporta il conto in un foglio di Microsoft Excel."),
            artwork::commandIcon(QStringLiteral("X"), QStringLiteral("Esporta"), QColor(33, 115, 70), 44));
    command(btnTrasferisci, "btnTrasferisci",
            QStringLiteral(" Trasferisce la consumazione visualizzata in un altro conto."),
            billart::transferIcon(QColor(20, 104, 128), 44, QStringLiteral("Trasferisci")));
    command(cmdGuida, "cmdGuida", QStringLiteral(" Visualizza la guida in linea."),
            artwork::commandIcon(QStringLiteral("?"), QStringLiteral("Guida"), colours::navy, 44));
    command(cmdEsci, "cmdEsci", QStringLiteral(" Esci da questa schermata di lavoro."),
            artwork::commandIcon(QStringLiteral("×"), QStringLiteral("Esci"), QColor(160, 40, 40), 44));

    connect(imgPrimo, &IconButton::activated, this, &TfrmForniture::imgPrimoClick);
    connect(imgIndietro, &IconButton::activated, this, &TfrmForniture::imgIndietroClick);
    connect(imgAvanti, &IconButton::activated, this, &TfrmForniture::imgAvantiClick);
    connect(imgUltimo, &IconButton::activated, this, &TfrmForniture::imgUltimoClick);
    connect(btnNuovo, &IconButton::activated, this, &TfrmForniture::btnNuovoClick);
    connect(btnVuota, &IconButton::activated, this, &TfrmForniture::btnVuotaClick);
    connect(btnSalva, &IconButton::activated, this, &TfrmForniture::btnSalvaClick);
    connect(btnStampa, &IconButton::activated, this, &TfrmForniture::btnStampaClick);
    connect(btnEsporta, &IconButton::activated, this, &TfrmForniture::btnEsportaClick);
    connect(btnTrasferisci, &IconButton::activated, this, &TfrmForniture::btnTrasferisciClick);
    connect(cmdElimina, &IconButton::activated, this, &TfrmForniture::cmdEliminaClick);
    connect(cmdCalcola, &QPushButton::clicked, this, &TfrmForniture::cmdCalcolaClick);
    connect(impProdotto, &IconButton::activated, this, &TfrmForniture::impProdottoClick);
    connect(impCliente, &IconButton::activated, this, &TfrmForniture::impClienteClick);
    connect(cmdGuida, &IconButton::activated, this, &TfrmForniture::cmdGuidaClick);
    connect(cmdEsci, &IconButton::activated, this, &TfrmForniture::cmdEsciClick);
    cmdGuida->setShortcut(keys::help());
    btnNuovo->setShortcut(keys::newCard());
    btnSalva->setShortcut(keys::save());
    btnStampa->setShortcut(keys::print());
    btnEsporta->setShortcut(keys::exportTo());
    imgPrimo->setShortcut(keys::first());
    imgIndietro->setShortcut(keys::previous());
    imgAvanti->setShortcut(keys::next());
    imgUltimo->setShortcut(keys::last());
    // What a screen reader calls each command.
    cmdElimina->setAccessibleName(QStringLiteral("Elimina consumazione"));
    btnTrasferisci->setAccessibleName(QStringLiteral("Trasferisci consumazioni"));
    impProdotto->setAccessibleName(QStringLiteral("Importa prodotto o servizio"));
    impCliente->setAccessibleName(QStringLiteral("Importa cliente"));
    imgPrimo->setAccessibleName(QStringLiteral("Prima consumazione"));
    imgIndietro->setAccessibleName(QStringLiteral("Consumazione precedente"));
    imgAvanti->setAccessibleName(QStringLiteral("Consumazione successiva"));
    imgUltimo->setAccessibleName(QStringLiteral("Ultima consumazione"));
    btnNuovo->setAccessibleName(QStringLiteral("Nuovo"));
    btnVuota->setAccessibleName(QStringLiteral("Svuota"));
    btnSalva->setAccessibleName(QStringLiteral("Salva"));
    btnStampa->setAccessibleName(QStringLiteral("Stampa"));
    btnEsporta->setAccessibleName(QStringLiteral("Esporta"));
    cmdGuida->setAccessibleName(QStringLiteral("Guida"));
    cmdEsci->setAccessibleName(QStringLiteral("Esci"));
    cmdCalcola->setAccessibleName(QStringLiteral("Calcola importo"));

    connect(lstStudenti, &QListWidget::itemClicked, this, &TfrmForniture::lstStudentiClick);
    // Moving through the list with the keyboard shows each line's record as a click does.
    connect(lstStudenti, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0 && QGuiApplication::mouseButtons() == Qt::NoButton)
            lstStudentiClick();
    });

    txtQuantita->hooks.onKeyPress = [this](QChar &key) { txtQuantitaKeyPress(key); };
    txtPrezzo->hooks.onKeyPress = [this](QChar &key) { txtPrezzoKeyPress(key); };
    txtImporto->hooks.onKeyPress = [this](QChar &key) { txtImportoKeyPress(key); };
    txtQuantita->hooks.onExit = [this] { txtQuantitaExit(); };
    txtPrezzo->hooks.onExit = [this] { txtPrezzoExit(); };
    txtImporto->hooks.onExit = [this] { txtImportoExit(); };
}

void TfrmForniture::openBill(const std::filesystem::path &file, const QString &name, BillAccess access)
{
    m_billPath = file;
    m_access = access;
    applyAccess();
    lblFile->setText(QFile::decodeName(QByteArray::fromStdString(file.string())));
    panClasse->setText(name);
    showWorking();
}

RecordFile TfrmForniture::billFile() const
{
    return RecordFile(m_billPath, consumptionLayout().size());
}

void TfrmForniture::applyAccess()
{
    const bool open = m_access == BillAccess::Open;
    for (QWidget *command : std::initializer_list<QWidget *>{btnNuovo, btnVuota, btnSalva, cmdElimina, btnTrasferisci,
                                                             impProdotto, impCliente, cmdCalcola})
        command->setEnabled(open);
    for (TextBox *b : m_boxes)
        b->setReadOnly(!open);
    panIstruzioni->setText(open ? openInstructions() : closedInstructions());
}

bool TfrmForniture::settleBills()
{
    // A move of consumptions that another workstation left half way is finished before this
    // bill is read or written, so no consumption is seen, printed or changed in two bills.
    if (settlePendingMove(m_services.folder))
        return true;
    fileError();
    return false;
}

void TfrmForniture::fileError()
{
    m_services.messages->plain(this, fileFailureMessage());
}

void TfrmForniture::reportRefused(CardStore::Outcome outcome)
{
    if (outcome != CardStore::Outcome::Changed) {
        fileError();
        return;
    }
    // Someone else changed or removed the record meanwhile: nothing is written, and the list
    // shows the bill as it is now.
    m_services.messages->plain(this, QStringLiteral("Attenzione: la consumazione visualizzata è stata modificata o "
                                                    "eliminata da un'altra postazione.\r\n\r\nVisualizzare "
                                                    "nuovamente la consumazione prima di ripetere l'operazione."));
    refill();
}

void TfrmForniture::FormShow()
{
    // Opening only reads: a failure here leaves the list as far as it can be filled.
    (void)settlePendingMove(m_services.folder);
    resetCard(false);
    repTotale->clear();
    // A bill that is there but cannot be read (another user's, say) is not shown as empty.
    if (!refill())
        fileError();
    lblPosizione->clear();
    txtProdotto->setFocus();
}

bool TfrmForniture::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && panInfo && lstStudenti) {
        if (watched == lstStudenti->viewport()) {
            panInfo->setText(listDescription());
            return false;
        }
        if (watched == cmdCalcola) {
            panInfo->setText(calcolaDescription());
            // Kept from the panel beneath, which would clear the description again.
            return static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton;
        }
    }
    return WorkingScreen::eventFilter(watched, event);
}

void TfrmForniture::resetCard(bool keepServiceData)
{
    txtProdotto->clear();
    txtData->setText(m_services.clock->today().toString(QStringLiteral("dd/MM/yyyy")));
    txtOra->setText(m_services.clock->now().toString(QStringLiteral("hh:mm")));
    txtQuantita->setText(QStringLiteral("1"));
    txtPrezzo->setText(QStringLiteral("0,00"));
    txtImporto->setText(QStringLiteral("0,00"));
    txtUM->clear();
    if (keepServiceData)
        return;
    for (TextBox *b : {txtLuogo, txtCameriere, txtCliente, txtAlloggio, txtTelCel})
        b->clear();
}

bool TfrmForniture::refill()
{
    // Refilling after a command never reports: what could be read is shown.
    const std::optional<BillListing> listing = listBill(billFile(), toAnsi(repTotale->text()));
    m_filling = true;
    lstStudenti->clear();
    if (listing) {
        QStringList lines;
        lines.reserve(static_cast<qsizetype>(listing->lines.size()));
        for (const std::string_view line : listing->lines)
            lines << fromAnsi(line);
        lstStudenti->addItems(lines);
        repTotale->setText(fromAnsi(listing->total));
    }
    m_filling = false;
    return listing.has_value();
}

void TfrmForniture::showRecord(const std::string &record, std::size_t number)
{
    const std::vector<std::string> values = consumptionLayout().decode(record);
    for (std::size_t f = 0; f < m_boxes.size(); ++f)
        m_boxes[f]->setText(fromAnsi(values[f]));
    lblPosizione->setText(QString::number(number));
    m_card.hold(record);
}

void TfrmForniture::showRecordNumber(std::size_t number)
{
    std::string record;
    if (!billFile().read(number, record)) {
        fileError();
        return;
    }
    showRecord(record, number);
}

std::string TfrmForniture::cardRecord() const
{
    std::vector<std::string> values;
    values.reserve(m_boxes.size());
    for (const TextBox *b : m_boxes)
        values.push_back(toAnsi(b->text()));
    return consumptionLayout().encode(values);
}

void TfrmForniture::arrowClick(Arrow arrow)
{
    moveCard(arrow, billFile().count(), lblPosizione, [this](std::size_t n) { showRecordNumber(n); });
}

void TfrmForniture::imgPrimoClick()
{
    arrowClick(Arrow::First);
}

void TfrmForniture::imgIndietroClick()
{
    arrowClick(Arrow::Previous);
}

void TfrmForniture::imgAvantiClick()
{
    arrowClick(Arrow::Next);
}

void TfrmForniture::imgUltimoClick()
{
    arrowClick(Arrow::Last);
}

void TfrmForniture::lstStudentiClick()
{
    QListWidgetItem *item = lstStudenti->currentItem();
    if (!item || !item->isSelected())
        return;
    const std::string wanted = trimField(toAnsi(item->text()));
    std::vector<std::string> records;
    if (!billFile().readAll(records)) {
        fileError();
        return;
    }
    // When several records give the same line, the last of them is the one shown.
    for (std::size_t i = records.size(); i > 0; --i) {
        if (trimField(consumptionLine(records[i - 1])) == wanted) {
            showRecord(records[i - 1], i);
            return;
        }
    }
}

void TfrmForniture::btnNuovoClick()
{
    resetCard(true);
    repTotale->clear();
    refill();
    lblPosizione->clear();
    txtProdotto->setFocus();
}

void TfrmForniture::btnVuotaClick()
{
    resetCard(false);
    repTotale->clear();
    refill();
    lblPosizione->clear();
    txtProdotto->setFocus();
}

bool TfrmForniture::calculate()
{
    if (trimField(toAnsi(txtQuantita->text())).empty())
        txtQuantita->setText(QStringLiteral("1"));
    if (trimField(toAnsi(txtPrezzo->text())).empty())
        txtPrezzo->setText(QStringLiteral("0,00"));
    if (trimField(toAnsi(txtImporto->text())).empty())
        txtImporto->setText(QStringLiteral("0,00"));
    const auto amount = amountOf(toAnsi(txtQuantita->text()), toAnsi(txtPrezzo->text()));
    if (!amount) {
        m_services.messages->plain(this, QStringLiteral("Attenzione: valori non validi.\r\n\r\nInserire correttamente "
                                                        "la quantità e il prezzo prima di premere il pulsante "
                                                        "Calcola."));
        txtQuantita->setText(QStringLiteral("1"));
        txtPrezzo->setText(QStringLiteral("0,00"));
        txtImporto->setText(QStringLiteral("0,00"));
        txtImporto->setFocus();
        return false;
    }
    txtImporto->setText(fromAnsi(*amount));
    return true;
}

void TfrmForniture::cmdCalcolaClick()
{
    calculate();
}

void TfrmForniture::btnSalvaClick()
{
    if (m_access != BillAccess::Open)
        return;
    if (trimField(toAnsi(txtProdotto->text())).empty()) {
        m_services.messages->warning(this, QStringLiteral("Salvataggio scheda non applicabile"),
                                     QStringLiteral("Per salvare la scheda è necessario indicare la descrizione del "
                                                    "prodotto o servizio fornito."));
        txtProdotto->setFocus();
        return;
    }
    // An invalid quantity or price has been reported and reset; the card is saved with the reset values.
    calculate();
    // A stored record is replaced only while it still holds what this card showed or last saved.
    CardStore::Saved saved;
    {
        const SettledBills bills(m_services.folder);
        if (bills)
            saved = m_card.save(billFile(), toAnsi(lblPosizione->text()), cardRecord());
    }
    if (saved.outcome != CardStore::Outcome::Done) {
        reportRefused(saved.outcome);
        return;
    }
    // The card shows what was stored: values trimmed and cut as the bill keeps them.
    showRecord(m_card.held(), saved.number);
    if (saved.appended)
        m_services.messages->information(this, QStringLiteral("Salvataggio scheda effettuato con successo"),
                                         QStringLiteral("La scheda corrente è stata inserita in archivio."));
    else
        m_services.messages->information(
            this, QStringLiteral("Aggiornamento scheda effettuato con successo"),
            QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
    refill();
}

void TfrmForniture::cmdEliminaClick()
{
    if (m_access != BillAccess::Open)
        return;
    if (isNewCard(toAnsi(lblPosizione->text()))) {
        m_services.messages->plain(this,
                                   QStringLiteral("Attenzione: operazione non valida.\r\n\r\nLa cancellazione può "
                                                  "essere applicata soltanto ad una consumazione già registrata "
                                                  "in archivio."));
        return;
    }
    if (!m_services.messages->question(this, QStringLiteral("Conferma cancellazione"),
                                       QStringLiteral("Si vuole proprio eliminare la consumazione selezionata?"),
                                       MessageService::Icon::None))
        return;
    CardStore::Outcome removed = CardStore::Outcome::FileError;
    {
        const SettledBills bills(m_services.folder);
        if (bills)
            removed = m_card.remove(billFile(), toAnsi(lblPosizione->text()), m_services.file(kBillTempFile));
    }
    if (removed != CardStore::Outcome::Done) {
        reportRefused(removed);
        return;
    }
    resetCard(false);
    repTotale->clear();
    refill();
    lblPosizione->clear();
    txtProdotto->setFocus();
}

void TfrmForniture::impClienteClick()
{
    TfrmCercaDestinatari dlg(m_services, this);
    dlg.setCaller(Caller::Forniture);
    dlg.exec();
    // Only the client's three boxes change; nothing is saved.
    if (const auto &chosen = dlg.chosen()) {
        txtCliente->setText(fromAnsi(chosen->values[client::Cliente]));
        txtAlloggio->setText(fromAnsi(chosen->values[client::Camera]));
        txtTelCel->setText(fromAnsi(chosen->values[client::TelCel]));
    }
}

void TfrmForniture::impProdottoClick()
{
    TfrmImpMateriali dlg(m_services, this);
    dlg.setQuantity(txtQuantita->text().trimmed());
    dlg.exec();
    // The quantity stays as it is and the amount is recalculated on Save.
    if (const auto &product = dlg.imported()) {
        txtProdotto->setText(fromAnsi(product->descrizione));
        txtPrezzo->setText(fromAnsi(product->prezzo));
    }
}

void TfrmForniture::btnStampaClick()
{
    if (!settleBills())
        return;
    m_services.printer->printList(this, shownLines(lstStudenti),
                                  PrintRequest::bill(panClasse->text(), repTotale->text()));
}

void TfrmForniture::btnEsportaClick()
{
    if (!settleBills())
        return;
    m_services.navigator->showBillExport(this, m_billPath);
}

void TfrmForniture::btnTrasferisciClick()
{
    if (m_access != BillAccess::Open)
        return;
    const std::optional<std::size_t> number = recordNumberFromText(toAnsi(lblPosizione->text()));
    std::optional<TransferChoice> choice;
    {
        TfrmTrasferisci dlg(m_services, m_billPath, number.has_value(), this);
        dlg.exec();
        choice = dlg.chosen();
    }
    if (!choice)
        return;
    std::optional<CardRecord> card;
    if (!choice->all) {
        if (!number)
            return;
        card = CardRecord{*number, m_card.held()};
    }
    const BillMove moved =
        moveConsumptions(m_services.folder, m_billPath, choice->destination, card, consumptionLayout().size());
    const QString refused = QStringLiteral("Trasferimento non applicabile");
    switch (moved.outcome) {
    case BillMove::Outcome::Moved:
        break;
    case BillMove::Outcome::Changed:
        reportRefused(CardStore::Outcome::Changed);
        return;
    case BillMove::Outcome::FileError:
        fileError();
        refill();
        return;
    case BillMove::Outcome::Nothing:
        m_services.messages->warning(this, refused,
                                     QStringLiteral("Il conto non contiene nessuna consumazione da trasferire."));
        return;
    case BillMove::Outcome::SameBill:
        m_services.messages->warning(this, refused,
                                     QStringLiteral("Il conto scelto è quello visualizzato: selezionare un conto "
                                                    "diverso."));
        return;
    case BillMove::Outcome::DestinationGone:
        m_services.messages->warning(this, refused,
                                     QStringLiteral("Il conto \"%1\" non esiste più: è stato eliminato o chiuso da "
                                                    "un'altra postazione.\r\n\r\nNessuna consumazione è stata "
                                                    "trasferita.")
                                         .arg(choice->name));
        return;
    }
    resetCard(false);
    repTotale->clear();
    refill();
    lblPosizione->clear();
    m_card.forget();
    txtProdotto->setFocus();
    const QString text = moved.moved == 1
                             ? QStringLiteral("1 consumazione è stata trasferita nel conto \"%1\".").arg(choice->name)
                             : QStringLiteral("%1 consumazioni sono state trasferite nel conto \"%2\".")
                                   .arg(moved.moved)
                                   .arg(choice->name);
    m_services.messages->information(this, QStringLiteral("Trasferimento effettuato con successo"), text);
    // Whether all went at once or the last one by itself, the bill is left empty.
    if (moved.emptied)
        offerDeleteEmpty();
}

void TfrmForniture::offerDeleteEmpty()
{
    if (!m_services.messages->question(this, QStringLiteral("Conferma cancellazione conto"),
                                       QStringLiteral("Il conto \"%1\" non contiene più nessuna consumazione."
                                                      "\r\n\r\nSi vuole eliminare il conto?")
                                           .arg(panClasse->text())))
        return;
    switch (deleteEmptyBill(m_services.folder, m_billPath)) {
    case BillDeletion::Deleted:
        // The bill is gone: the screen has nothing left to show.
        close();
        return;
    case BillDeletion::NotEmpty:
        m_services.messages->warning(this, QStringLiteral("Cancellazione conto non applicabile"),
                                     QStringLiteral("Nel frattempo sono state registrate nel conto nuove "
                                                    "consumazioni: il conto non è stato eliminato."));
        refill();
        return;
    case BillDeletion::FileError:
        m_services.messages->plain(this, QStringLiteral("Attenzione: il sistema non permette di accedere ai "
                                                        "dati.\n\r\n\rAccertarsi di possedere i privilegi di "
                                                        "scrittura nella cartella di installazione del programma."));
        return;
    }
}

void TfrmForniture::cmdGuidaClick()
{
    m_services.navigator->showHelp(this, QStringLiteral("Gestione dei conti delle consumazioni"));
}

void TfrmForniture::cmdEsciClick()
{
    close();
}

void TfrmForniture::numberKeyPress(TextBox *box, QChar &key, const QString &resetText)
{
    // Characters outside ASCII are never digits or the separator.
    const char c = key.unicode() < 128 ? static_cast<char>(key.unicode()) : '\x7f';
    // A text that starts with the separator (",5" on its way) is read as the number it will be
    // on leaving the box, so typing a decimal without its leading zero is not reset.
    std::string current = trimField(toAnsi(box->text()));
    if (!current.empty() && current.front() == ',')
        current.insert(current.begin(), '0');
    switch (consumptionKey(current, c)) {
    case KeyVerdict::Accept:
        break;
    case KeyVerdict::Refuse:
        key = QChar();
        break;
    case KeyVerdict::OverLimit:
        key = QChar();
        box->setText(resetText);
        break;
    }
}

void TfrmForniture::txtQuantitaKeyPress(QChar &key)
{
    numberKeyPress(txtQuantita, key, QStringLiteral("1"));
}

void TfrmForniture::txtPrezzoKeyPress(QChar &key)
{
    numberKeyPress(txtPrezzo, key, QStringLiteral("0,00"));
}

void TfrmForniture::txtImportoKeyPress(QChar &key)
{
    numberKeyPress(txtImporto, key, QStringLiteral("0,00"));
}

void TfrmForniture::txtQuantitaExit()
{
    txtQuantita->setText(fromAnsi(normaliseQuantityText(toAnsi(txtQuantita->text()))));
}

void TfrmForniture::txtPrezzoExit()
{
    txtPrezzo->setText(fromAnsi(normalisePriceText(toAnsi(txtPrezzo->text()))));
}

void TfrmForniture::txtImportoExit()
{
    txtImporto->setText(fromAnsi(normalisePriceText(toAnsi(txtImporto->text()))));
}
