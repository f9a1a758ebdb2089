#include "products/tfrmcercasottoscorta.h"

#include <QLabel>
#include <QShowEvent>

#include "common/fonts.h"
#include "common/artwork.h"
#include "common/keyfilters.h"
#include "common/printing.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "products/productlists.h"
#include "products/productrecord.h"

using namespace velmora;

namespace {

QLabel *text(QWidget *parent, const QString &content, const QRect &geometry)
{
    auto *label = new QLabel(content, parent);
    QFont f(fonts::text());
    f.setPixelSize(11);
    label->setFont(f);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TfrmCercaSottoscorta::TfrmCercaSottoscorta(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCercaSottoscorta"));
    setWindowTitle(QStringLiteral(" Prodotti in esaurimento"));
    setFixedSize(720, 500);

    auto *banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("imgBanner"));
    banner->setPixmap(
        artwork::titlePicture(QStringLiteral("Prodotti in esaurimento"), QSize(704, 40), QColor(200, 120, 0)));
    banner->setGeometry(8, 8, 704, 40);

    text(this,
         QStringLiteral("Inserire una o più parole consecutive presenti nella scheda da cercare e premere il "
                        "pulsante Trova."),
         QRect(8, 56, 704, 18));
    text(this,
         QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di nuovo "
                        "clic su Trova."),
         QRect(8, 74, 704, 18));
    txtTrova = new TextBox(this, colours::white);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setAccessibleName(QStringLiteral("Testo da cercare"));
    txtTrova->setGeometry(8, 98, 584, 24);
    cmdTrova02 = new QPushButton(QStringLiteral("Trova"), this);
    cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));
    cmdTrova02->setAutoDefault(false);
    cmdTrova02->setGeometry(602, 97, 110, 26);
    lstRecords = makeProductList(QStringLiteral("lstRecords"), 1300, this);
    lstRecords->setGeometry(8, 132, 704, 290);
    QLabel *hint = text(this, QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."),
                        QRect(8, 426, 704, 20));
    hint->setStyleSheet(QStringLiteral("color: maroon;"));

    cmdStampa = new QPushButton(QStringLiteral("Stampa"), this);
    cmdStampa->setObjectName(QStringLiteral("cmdStampa"));
    cmdStampa->setGeometry(364, 458, 170, 30);
    cmdAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setGeometry(542, 458, 170, 30);
    for (QPushButton *b : {cmdStampa, cmdAnnulla}) {
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(false);
    }

    txtTrova->hooks.onKeyPress = [this](QChar &key) {
        if (key.unicode() == kKeyEnter)
            cmdTrova02Click();
    };
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmCercaSottoscorta::cmdTrova02Click);
    connect(cmdStampa, &QPushButton::clicked, this, &TfrmCercaSottoscorta::cmdStampaClick);
    cmdStampa->setShortcut(keys::print());
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstRecords, &QListWidget::itemDoubleClicked, this, &TfrmCercaSottoscorta::lstRecordsDblClick);
}

void TfrmCercaSottoscorta::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmCercaSottoscorta::FormShow()
{
    m_finder.reset();
    txtTrova->clear();
    ProductListing listing = productListLines(
        RecordFile(m_services.file(kProductArchive), kProductRecordSize),
        [](const std::vector<std::string> &fields) {
            const auto low = runsLow(fields[product::Giacenza], fields[product::Sottoscorta]);
            if (!low)
                return ListStep::Stop; // a stock or threshold that is not a number ends the list there
            return *low ? ListStep::Take : ListStep::Skip;
        },
        stockLine);
    // Filling the list swallows failures: a read that fails keeps the lines found until then.
    fillProductList(lstRecords, std::move(listing.lines));
    if (lstRecords->count() > 0)
        lstRecords->setCurrentRow(0);
    txtTrova->setFocus();
}

void TfrmCercaSottoscorta::cmdTrova02Click()
{
    quickFindInList(lstRecords, txtTrova->text(), m_finder, m_services, this);
}

void TfrmCercaSottoscorta::cmdStampaClick()
{
    m_services.printer->printList(this, shownLines(lstRecords), PrintRequest::lowStock());
}

void TfrmCercaSottoscorta::lstRecordsDblClick()
{
    QListWidgetItem *item = lstRecords->currentItem();
    std::optional<NumberedRecord> found;
    // Every record is compared, low or not; the last that gives the line is loaded.
    if (item &&
        findLastProduct(RecordFile(m_services.file(kProductArchive), kProductRecordSize), toAnsi(item->text()),
                        stockLine, found) &&
        found)
        m_chosen = std::move(found);
    accept();
}

void TfrmCercaSottoscorta::done(int result)
{
    lstRecords->clear();
    QDialog::done(result);
}
