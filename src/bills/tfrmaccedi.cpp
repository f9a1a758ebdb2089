#include "bills/tfrmaccedi.h"

#include <QEvent>

#include "bills/billartwork.h"
#include "bills/billfiles.h"
#include "bills/tfrmforniture.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/text.h"

using namespace velmora;

namespace {

const QColor kBillGold(138, 98, 18);

QLabel *infoText(const QString &name, const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(QFont(QStringLiteral("Verdana"), 9));
    return label;
}

IconButton *commandButton(const QString &name, const QString &hint, const QString &symbol, const QString &caption,
                          const QColor &colour, const QPoint &at, QWidget *parent)
{
    auto *icon = new IconButton(name, hint, parent);
    icon->setPixmap(artwork::commandIcon(symbol, caption, colour, 56));
    icon->setGeometry(QRect(at, icon->pixmap().size()));
    if (!hint.isEmpty())
        icon->setToolTip(hint);
    return icon;
}

} // namespace

TfrmAccedi::TfrmAccedi(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Apri conto esistente"), {1022, 738, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmAccedi"));
    QWidget *g = grpContainer;

    auto *title = new QLabel(g);
    title->setObjectName(QStringLiteral("imgTitolo"));
    title->setPixmap(artwork::titlePicture(QStringLiteral("APRI CONTO ESISTENTE"), QSize(915, 56), kBillGold));
    title->setGeometry(40, 24, 915, 56);

    lblInfo01 = infoText(QStringLiteral("lblInfo01"),
                         QStringLiteral("Selezionare con un clic il conto a cui si vuole accedere nell'elenco "
                                        "sottostante e premere il pulsante Apri conto."),
                         QRect(40, 96, 620, 36), g);
    lblInfo02 = infoText(QStringLiteral("lblInfo02"),
                         QStringLiteral("Fare clic sul pulsante Annulla per uscire da questo ambiente e tornare "
                                        "nella schermata di avvio."),
                         QRect(40, 136, 620, 36), g);

    lstClassi = new QListWidget(g);
    lstClassi->setObjectName(QStringLiteral("lstClassi"));
    lstClassi->setGeometry(40, 180, 620, 410);
    lstClassi->setSelectionMode(QAbstractItemView::SingleSelection);
    lstClassi->setUniformItemSizes(true);
    QFont listFont(QStringLiteral("Verdana"));
    listFont.setPixelSize(16);
    lstClassi->setFont(listFont);
    setBackground(lstClassi, colours::moneyGreen);
    lstClassi->viewport()->installEventFilter(this);

    lblTotale = new QLabel(g);
    lblTotale->setObjectName(QStringLiteral("lblTotale"));
    lblTotale->setGeometry(40, 596, 620, 22);
    QFont totalFont(QStringLiteral("Verdana"), 9);
    totalFont.setItalic(true);
    lblTotale->setFont(totalFont);

    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), g);

    lblInfo04 = infoText(QStringLiteral("lblInfo04"),
                         QStringLiteral("Inserire una o più parole consecutive presenti nel nome del conto da cercare "
                                        "e premere il pulsante Trova."),
                         QRect(690, 180, 265, 54), g);
    txtTrova = new TextBox(g, colours::white);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setGeometry(690, 240, 180, 28);
    txtTrova->setFont(QFont(QStringLiteral("Verdana"), 9));
    txtTrova->hooks.onKeyPress = [this](QChar &key) { txtTrovaKeyPress(key); };
    cmdTrova02 = new QPushButton(QStringLiteral("Trova"), g);
    cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));
    cmdTrova02->setGeometry(876, 239, 79, 30);
    cmdTrova02->setAutoDefault(false);

    lblInfo03 = infoText(QStringLiteral("lblInfo03"),
                         QStringLiteral("Per eliminare un conto definitivamente, selezionarlo e fare clic sull'icona "
                                        "del cestino."),
                         QRect(690, 300, 265, 40), g);
    btnCancella = new IconButton(QStringLiteral("btnCancella"), QStringLiteral(" Elimina conto selezionato "), g);
    btnCancella->setPixmap(billart::binIcon(QColor(160, 40, 40), 56, QStringLiteral("Elimina")));
    btnCancella->setToolTip(btnCancella->description());
    btnCancella->setGeometry(QRect(QPoint(682, 346), btnCancella->pixmap().size()));

    imgApri = commandButton(QStringLiteral("imgApri"), QString(), QStringLiteral("▶"), QStringLiteral("Apri conto"),
                            QColor(31, 110, 74), QPoint(682, 500), g);
    imgAnnulla = commandButton(QStringLiteral("imgAnnulla"), QString(), QStringLiteral("✗"), QStringLiteral("Annulla"),
                               QColor(160, 40, 40), QPoint(812, 500), g);
    imgGuida = new IconButton(QStringLiteral("imgGuida"), QStringLiteral(" Guida "), g);
    imgGuida->setPixmap(artwork::symbolIcon(QStringLiteral("?"), colours::navy, 40));
    imgGuida->setToolTip(QStringLiteral(" Guida "));
    imgGuida->setGeometry(QRect(QPoint(995 - 80, 688 - 72), imgGuida->pixmap().size()));

    connect(imgApri, &IconButton::activated, this, &TfrmAccedi::imgApriClick);
    connect(imgAnnulla, &IconButton::activated, this, &TfrmAccedi::imgAnnullaClick);
    connect(btnCancella, &IconButton::activated, this, &TfrmAccedi::btnCancellaClick);
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmAccedi::cmdTrova02Click);
    connect(imgGuida, &IconButton::activated, this, &TfrmAccedi::imgGuidaClick);
}

void TfrmAccedi::FormShow()
{
    m_handedOver = false;
    fillList();
    lblMemory->setText(QStringLiteral("avvio"));
}

void TfrmAccedi::fillList()
{
    m_bills = listBills(m_services.folder);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(m_bills.size()));
    for (const BillEntry &bill : m_bills)
        lines << fromAnsi(bill.line);
    lstClassi->clear();
    lstClassi->addItems(lines);
    lstClassi->setCurrentRow(-1);
    lblTotale->setText(QStringLiteral("Ci sono %1 conti archiviati.").arg(lstClassi->count()));
}

int TfrmAccedi::selectedRow() const
{
    const QList<QListWidgetItem *> selected = lstClassi->selectedItems();
    return selected.isEmpty() ? -1 : lstClassi->row(selected.first());
}

bool TfrmAccedi::eventFilter(QObject *watched, QEvent *event)
{
    // A double click anywhere in the list opens the selected bill, as the list's own double click does.
    if (lstClassi && watched == lstClassi->viewport() && event->type() == QEvent::MouseButtonDblClick)
        lstClassiDblClick();
    return WorkingScreen::eventFilter(watched, event);
}

void TfrmAccedi::lstClassiDblClick()
{
    if (selectedRow() < 0)
        return;
    lblMemory->setText(QStringLiteral("forniture"));
    close();
}

void TfrmAccedi::imgApriClick()
{
    if (selectedRow() < 0) {
        m_services.messages->warning(
            this, QStringLiteral("Attenzione: nessun conto selezionato"),
            QStringLiteral("Fare clic sul nome del conto di interesse prima di premere il pulsante Apri conto.\r\n\r\n"
                           "Se l'elenco non contiene il conto desiderato è necessario crearlo utilizzando la "
                           "funzione Crea nuovo conto."));
        return;
    }
    lblMemory->setText(QStringLiteral("forniture"));
    close();
}

void TfrmAccedi::imgAnnullaClick()
{
    lblMemory->setText(QStringLiteral("avvio"));
    close();
}

void TfrmAccedi::FormClose()
{
    m_handedOver = false;
    if (lblMemory->text().trimmed() != QStringLiteral("forniture"))
        return;
    const int row = selectedRow();
    if (row < 0)
        return;
    const BillEntry &bill = m_bills[static_cast<std::size_t>(row)];
    const QString line = lstClassi->item(row)->text();
    m_handedOver = true;
    m_services.navigator->openBill(bill.path, line.left(line.size() - 4));
}

void TfrmAccedi::btnCancellaClick()
{
    const int row = selectedRow();
    if (row < 0) {
        m_services.messages->warning(
            this, QStringLiteral("Nessun conto selezionato"),
            QStringLiteral(
                "Selezionare il nome del conto di interesse prima di fare clic sull'icona del cestino.\r\n\r\n"
                "Attenzione: i dati cancellati non potranno essere recuperati."));
        return;
    }
    if (!m_services.messages->question(this, QStringLiteral("Conferma cancellazione conto"),
                                       QStringLiteral("Attenzione: si sta per eliminare il conto selezionato. I dati "
                                                      "cancellati non potranno essere recuperati.\r\n\r\nSi vuole "
                                                      "proprio eliminare il conto selezionato?")))
        return;
    const BillDeletion deleted = deleteBill(m_services.folder, m_bills[static_cast<std::size_t>(row)].path);
    fillList();
    lblMemory->setText(QStringLiteral("avvio"));
    // A bill that could not be deleted is still listed; say so rather than pretend it is gone.
    if (deleted != BillDeletion::Deleted)
        m_services.messages->plain(this,
                                   fileFailureMessage(QStringLiteral(
                                       "Attenzione: il sistema non permette di accedere ai dati.\n\r\n\rAccertarsi "
                                       "di possedere i privilegi di scrittura nella cartella di installazione "
                                       "del programma.")));
}

void TfrmAccedi::txtTrovaKeyPress(QChar &key)
{
    if (key.unicode() == 13)
        cmdTrova02Click();
}

void TfrmAccedi::cmdTrova02Click()
{
    if (lstClassi->count() == 0) {
        m_services.messages->plain(this,
                                   QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    if (selectedRow() < 0)
        lstClassi->setCurrentRow(0);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(lstClassi->count()));
    for (int i = 0; i < lstClassi->count(); ++i)
        lines.push_back(toAnsi(lstClassi->item(i)->text()));
    const auto found = m_find.find(lines, toAnsi(txtTrova->text()), static_cast<std::size_t>(selectedRow()));
    if (found) {
        lstClassi->setCurrentRow(static_cast<int>(*found));
        lstClassi->scrollToItem(lstClassi->item(static_cast<int>(*found)));
    }
}

void TfrmAccedi::imgGuidaClick()
{
    m_services.navigator->showHelp(this, QStringLiteral("Accesso ad un conto esistente"));
}
