#include "products/tfrmcercamateriale.h"

#include <QShowEvent>

#include "common/failuremessage.h"
#include "common/fonts.h"
#include "common/keyfilters.h"
#include "common/printing.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "products/productlists.h"
#include "products/productrecord.h"

using namespace velmora;

namespace {

QLabel *text(QWidget *parent, const QString &content, const QRect &geometry, bool bold = false)
{
    auto *label = new QLabel(content, parent);
    QFont f(fonts::text());
    f.setPixelSize(11);
    f.setBold(bold);
    label->setFont(f);
    label->setGeometry(geometry);
    return label;
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TfrmCercaMateriale::TfrmCercaMateriale(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCercaMateriale"));
    setWindowTitle(QStringLiteral(" Ricerca prodotti e servizi in archivio"));
    setFixedSize(720, 490);

    grpCriteri = new QGroupBox(this);
    grpCriteri->setObjectName(QStringLiteral("grpCriteri"));
    grpCriteri->setGeometry(8, 6, 704, 430);
    grpElenco = new QGroupBox(this);
    grpElenco->setObjectName(QStringLiteral("grpElenco"));
    grpElenco->setGeometry(8, 6, 704, 430);

    // Criteria page.
    QLabel *title = text(grpCriteri, QStringLiteral("Ricerca prodotti e servizi"), QRect(16, 14, 670, 22), true);
    QFont big = title->font();
    big.setPixelSize(15);
    title->setFont(big);
    const char *instructions[] = {
        "Immettere nei campi prescelti una o più parole consecutive presenti nelle schede",
        "dei prodotti o servizi da cercare e premere il pulsante Trova.",
        "Lasciare in bianco gli altri campi.",
        "Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente.",
    };
    for (int i = 0; i < 4; ++i)
        text(grpCriteri, QString::fromUtf8(instructions[i]), QRect(16, 44 + i * 18, 670, 18));

    struct Criterion
    {
        TextBox **box;
        const char *name;
        const char *caption;
    };
    const Criterion rows[] = {
        {&txtCognome, "txtCognome", "Codice articolo:"}, {&cboGiorno, "cboGiorno", "Tipologia:"},
        {&txtNome, "txtNome", "Marca e modello:"},       {&cboMese, "cboMese", "Produttore:"},
        {&txtAzienda, "txtAzienda", "Accessori:"},       {&txtAnno, "txtAnno", "Descrizione prodotto o servizio:"},
        {&txtDettagli, "txtDettagli", "Note:"},
    };
    QFont boxFont(fonts::text());
    boxFont.setPointSize(8);
    boxFont.setBold(true);
    for (int i = 0; i < 7; ++i) {
        const int top = 134 + i * 38;
        QLabel *caption = text(grpCriteri, QString::fromUtf8(rows[i].caption), QRect(16, top, 230, 22));
        caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto *box = new TextBox(grpCriteri);
        caption->setBuddy(box);
        box->setObjectName(QLatin1String(rows[i].name));
        box->setFont(boxFont);
        box->setMaxLength(250);
        box->setGeometry(256, top, 420, 22);
        *rows[i].box = box;
    }
    setEnterChain({txtCognome, cboGiorno, txtNome, cboMese, txtAzienda, txtAnno, txtDettagli});

    // Result page.
    text(grpElenco,
         QStringLiteral("Inserire una o più parole consecutive presenti nella scheda da cercare e premere il "
                        "pulsante Trova."),
         QRect(12, 10, 680, 18));
    text(grpElenco,
         QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di nuovo "
                        "clic su Trova."),
         QRect(12, 28, 680, 18));
    txtTrova = new TextBox(grpElenco, colours::white);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setAccessibleName(QStringLiteral("Testo da cercare"));
    txtTrova->setGeometry(12, 54, 560, 24);
    cmdTrova02 = new QPushButton(QStringLiteral("Trova"), grpElenco);
    cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));
    cmdTrova02->setAutoDefault(false);
    cmdTrova02->setGeometry(582, 53, 110, 26);
    lstRecords = makeProductList(QStringLiteral("lstRecords"), 1500, grpElenco);
    lstRecords->setGeometry(12, 88, 680, 306);
    QLabel *hint =
        text(grpElenco, QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."),
             QRect(12, 400, 680, 20));
    hint->setStyleSheet(QStringLiteral("color: maroon;"));

    cmdTrova = button(this, "cmdTrova", QStringLiteral("Trova"), QRect(8, 448, 170, 30));
    cmdAnnulla = button(this, "cmdAnnulla", QStringLiteral("Annulla"), QRect(186, 448, 170, 30));
    cmdIndietro = button(this, "cmdIndietro", QStringLiteral("<< Indietro"), QRect(364, 448, 170, 30));
    cmdStampa = button(this, "cmdStampa", QStringLiteral("Stampa"), QRect(542, 448, 170, 30));

    lblConta = hiddenLabel(QStringLiteral("lblConta"), this);
    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), this);

    txtTrova->hooks.onKeyPress = [this](QChar &key) {
        if (key.unicode() == kKeyEnter)
            cmdTrova02Click();
    };
    connect(cmdTrova, &QPushButton::clicked, this, &TfrmCercaMateriale::cmdTrovaClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdIndietro, &QPushButton::clicked, this, &TfrmCercaMateriale::cmdIndietroClick);
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmCercaMateriale::cmdTrova02Click);
    connect(cmdStampa, &QPushButton::clicked, this, &TfrmCercaMateriale::cmdStampaClick);
    cmdStampa->setShortcut(keys::print());
    connect(lstRecords, &QListWidget::itemDoubleClicked, this, &TfrmCercaMateriale::lstRecordsDblClick);

    showCriteriaPage();
}

std::array<TextBox *, 7> TfrmCercaMateriale::criteria() const
{
    return {txtCognome, cboGiorno, txtNome, cboMese, txtAzienda, txtAnno, txtDettagli};
}

void TfrmCercaMateriale::showCriteriaPage()
{
    lstRecords->clear();
    lblConta->setText(QStringLiteral("0"));
    cmdIndietro->setEnabled(false);
    cmdStampa->setEnabled(false);
    cmdTrova->setEnabled(true);
    grpElenco->hide();
    grpCriteri->show();
}

void TfrmCercaMateriale::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    m_finder.reset();
    txtTrova->clear();
    if (lstRecords->count() > 0)
        lstRecords->setCurrentRow(0);
    if (grpCriteri->isVisible())
        txtCognome->setFocus();
}

void TfrmCercaMateriale::cmdTrovaClick()
{
    std::array<std::string, 7> typed;
    const auto boxes = criteria();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        typed[i] = toAnsi(boxes[i]->text());
    lblConta->setText(QString::number(activeCriteria(typed)));

    ProductListing listing = productListLines(
        RecordFile(m_services.file(kProductArchive), kProductRecordSize),
        [&typed](const std::vector<std::string> &fields) {
            return matchesSearch(fields, typed) ? ListStep::Take : ListStep::Skip;
        },
        searchLine);
    if (!listing.read) {
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    fillProductList(lstRecords, std::move(listing.lines));

    grpCriteri->hide();
    grpElenco->show();
    cmdTrova->setEnabled(false);
    cmdIndietro->setEnabled(true);
    cmdStampa->setEnabled(true);
    txtTrova->clear();
    txtTrova->setFocus();
}

void TfrmCercaMateriale::cmdIndietroClick()
{
    showCriteriaPage();
    txtCognome->setFocus();
}

void TfrmCercaMateriale::cmdTrova02Click()
{
    quickFindInList(lstRecords, txtTrova->text(), m_finder, m_services, this);
}

void TfrmCercaMateriale::cmdStampaClick()
{
    m_services.printer->printList(this, shownLines(lstRecords), PrintRequest::productSearch());
}

void TfrmCercaMateriale::lstRecordsDblClick()
{
    QListWidgetItem *item = lstRecords->currentItem();
    std::optional<NumberedRecord> found;
    // The last record that gives the chosen line is the one loaded.
    if (item && lblMemory->text() == QLatin1String(callerMarker(Caller::Materiali)) &&
        findLastProduct(RecordFile(m_services.file(kProductArchive), kProductRecordSize), toAnsi(item->text()),
                        searchLine, found) &&
        found)
        m_chosen = std::move(found);
    accept();
}

void TfrmCercaMateriale::setCaller(Caller caller)
{
    lblMemory->setText(QLatin1String(callerMarker(caller)));
}

void TfrmCercaMateriale::done(int result)
{
    showCriteriaPage();
    for (TextBox *box : criteria())
        box->clear();
    QDialog::done(result);
}
