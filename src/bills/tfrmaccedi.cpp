#include "bills/tfrmaccedi.h"

#include <QEvent>
#include <QFile>
#include <QStyledItemDelegate>

#include "common/fonts.h"
#include "bills/billartwork.h"
#include "bills/billfiles.h"
#include "bills/billmove.h"
#include "bills/tfrmforniture.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/text.h"

using namespace velmora;

namespace {

const QColor kBillGold(138, 98, 18);

// Only the selected line shows the focus: a frame on a line that is not chosen reads as a choice.
class SelectionOnlyFocus final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem shown(option);
        if (!(shown.state & QStyle::State_Selected))
            shown.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, shown, index);
    }
};

QString binInstructions()
{
    return QStringLiteral("Per eliminare un conto definitivamente, selezionarlo e fare clic sull'icona del cestino.");
}

QString reopenInstructions()
{
    return QStringLiteral("Per riportare un conto chiuso tra i conti aperti, selezionarlo e fare clic sull'icona "
                          "Riapri.");
}

QString closeInstructions()
{
    return QStringLiteral("Per chiudere un conto saldato e conservarlo tra i conti chiusi, selezionarlo e fare "
                          "clic sull'icona Chiudi.");
}

QString closedOpenInstructions()
{
    return QStringLiteral("Un conto chiuso si apre in sola lettura: può essere consultato, stampato ed esportato.");
}

QString accessErrorMessage()
{
    // A folder held by another workstation is told as such, not as missing privileges.
    return fileFailureMessage(QStringLiteral("Attenzione: il sistema non permette di accedere ai dati.\n\r\n\rAccertarsi di possedere "
                          "i privilegi di scrittura nella cartella di installazione del programma."));
}

CalendarDate calendarDate(const QDate &date)
{
    return {date.year(), date.month(), date.day()};
}

IconButton *commandButton(const QString &name, const QString &hint, const QString &symbol, const QString &caption,
                          const QColor &colour, const QPoint &at, QWidget *parent)
{
    auto *icon = new IconButton(name, hint, parent);
    icon->setPixmap(artwork::commandIcon(symbol, caption, colour, 56));
    icon->setGeometry(QRect(at, pictureSize(icon)));
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

    addTitle(QStringLiteral("APRI CONTO ESISTENTE"), kBillGold, QRect(40, 24, 915, 56));

    lblInfo01 = infoText(QStringLiteral("lblInfo01"),
                         QStringLiteral("Selezionare con un clic il conto a cui si vuole accedere nell'elenco "
                                        "sottostante e premere il pulsante Apri conto."),
                         QRect(40, 96, 620, 36));
    lblInfo02 = infoText(QStringLiteral("lblInfo02"),
                         QStringLiteral("Fare clic sul pulsante Annulla per uscire da questo ambiente e tornare "
                                        "nella schermata di avvio."),
                         QRect(40, 136, 620, 36));

    lstClassi = new QListWidget(g);
    lstClassi->setObjectName(QStringLiteral("lstClassi"));
    lstClassi->setAccessibleName(QStringLiteral("Conti archiviati"));
    lstClassi->setGeometry(40, 180, 620, 410);
    lstClassi->setSelectionMode(QAbstractItemView::SingleSelection);
    lstClassi->setUniformItemSizes(true);
    lstClassi->setItemDelegate(new SelectionOnlyFocus(lstClassi));
    QFont listFont(fonts::text());
    listFont.setPixelSize(16);
    lstClassi->setFont(listFont);
    setBackground(lstClassi, colours::moneyGreen);
    lstClassi->viewport()->installEventFilter(this);

    lblTotale = new QLabel(g);
    lblTotale->setObjectName(QStringLiteral("lblTotale"));
    lblTotale->setGeometry(40, 596, 620, 22);
    QFont totalFont(fonts::text(), 9);
    totalFont.setItalic(true);
    lblTotale->setFont(totalFont);

    lblMemory = hiddenLabel(QStringLiteral("lblMemory"), g);

    lblInfo04 = infoText(QStringLiteral("lblInfo04"),
                         QStringLiteral("Inserire una o più parole consecutive presenti nel nome del conto da cercare "
                                        "e premere il pulsante Trova."),
                         QRect(690, 180, 265, 54));
    txtTrova = new TextBox(g, colours::white);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setAccessibleName(QStringLiteral("Parole del nome del conto da cercare"));
    txtTrova->setGeometry(690, 240, 180, 28);
    txtTrova->setFont(QFont(fonts::text(), 9));
    txtTrova->hooks.onKeyPress = [this](QChar &key) { txtTrovaKeyPress(key); };
    cmdTrova02 = new QPushButton(QStringLiteral("Trova"), g);
    cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));
    cmdTrova02->setGeometry(876, 239, 79, 30);
    cmdTrova02->setAutoDefault(false);

    lblInfo03 = infoText(QStringLiteral("lblInfo03"), binInstructions(), QRect(690, 292, 265, 40));
    lblInfo05 = infoText(QStringLiteral("lblInfo05"), closeInstructions(), QRect(690, 414, 265, 54));
    btnCancella = new IconButton(QStringLiteral("btnCancella"), QStringLiteral(" Elimina conto selezionato "), g);
    btnCancella->setPixmap(billart::binIcon(QColor(160, 40, 40), 56, QStringLiteral("Elimina")));
    btnCancella->setToolTip(btnCancella->description());
    btnCancella->setGeometry(QRect(QPoint(682, 338), pictureSize(btnCancella)));
    btnChiudi = new IconButton(QStringLiteral("btnChiudi"),
                               QStringLiteral(" Chiude il conto selezionato e lo conserva tra i conti chiusi."), g);
    btnChiudi->setPixmap(billart::archiveIcon(kBillGold, 56, QStringLiteral("Chiudi")));
    btnChiudi->setToolTip(btnChiudi->description());
    btnChiudi->setGeometry(QRect(QPoint(760, 338), pictureSize(btnChiudi)));
    btnRiapri =
        new IconButton(QStringLiteral("btnRiapri"),
                       QStringLiteral(" Riapre il conto chiuso selezionato e lo riporta tra i conti aperti."), g);
    btnRiapri->setPixmap(billart::archiveIcon(QColor(31, 110, 74), 56, QStringLiteral("Riapri")));
    btnRiapri->setToolTip(btnRiapri->description());
    btnRiapri->setGeometry(btnCancella->geometry());
    btnRiapri->hide();

    optAperti = new QRadioButton(QStringLiteral(" Conti aperti "), g);
    optAperti->setObjectName(QStringLiteral("optAperti"));
    optAperti->setGeometry(40, 624, 160, 22);
    optChiusi = new QRadioButton(QStringLiteral(" Conti chiusi "), g);
    optChiusi->setObjectName(QStringLiteral("optChiusi"));
    optChiusi->setGeometry(210, 624, 160, 22);
    for (QRadioButton *o : {optAperti, optChiusi})
        o->setFont(QFont(fonts::text(), 9));
    optAperti->setChecked(true);

    imgApri = commandButton(QStringLiteral("imgApri"), QString(), QStringLiteral("▶"), QStringLiteral("Apri conto"),
                            QColor(31, 110, 74), QPoint(682, 500), g);
    imgAnnulla = commandButton(QStringLiteral("imgAnnulla"), QString(), QStringLiteral("✗"), QStringLiteral("Annulla"),
                               QColor(160, 40, 40), QPoint(812, 500), g);
    imgGuida = new IconButton(QStringLiteral("imgGuida"), QStringLiteral(" Guida "), g);
    imgGuida->setPixmap(artwork::symbolIcon(QStringLiteral("?"), colours::navy, 40));
    imgGuida->setToolTip(QStringLiteral(" Guida "));
    imgGuida->setGeometry(QRect(QPoint(995 - 80, 688 - 72), pictureSize(imgGuida)));

    connect(imgApri, &IconButton::activated, this, &TfrmAccedi::imgApriClick);
    connect(imgAnnulla, &IconButton::activated, this, &TfrmAccedi::imgAnnullaClick);
    connect(btnCancella, &IconButton::activated, this, &TfrmAccedi::btnCancellaClick);
    connect(btnChiudi, &IconButton::activated, this, &TfrmAccedi::btnChiudiClick);
    connect(btnRiapri, &IconButton::activated, this, &TfrmAccedi::btnRiapriClick);
    connect(optChiusi, &QRadioButton::toggled, this, &TfrmAccedi::optChiusiClick);
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmAccedi::cmdTrova02Click);
    connect(imgGuida, &IconButton::activated, this, &TfrmAccedi::imgGuidaClick);
    imgGuida->setShortcut(keys::help());
    // What a screen reader calls each command.
    imgApri->setAccessibleName(QStringLiteral("Apri conto"));
    imgAnnulla->setAccessibleName(QStringLiteral("Annulla"));
    btnCancella->setAccessibleName(QStringLiteral("Elimina conto"));
    btnChiudi->setAccessibleName(QStringLiteral("Chiudi conto"));
    btnRiapri->setAccessibleName(QStringLiteral("Riapri conto"));
    imgGuida->setAccessibleName(QStringLiteral("Guida"));
}

void TfrmAccedi::FormShow()
{
    m_handedOver = false;
    // A move of consumptions left half way is finished first, so each bill lists what it holds.
    (void)settlePendingMove(m_services.folder);
    if (optAperti->isChecked())
        fillList();
    else
        optAperti->setChecked(true); // refills through the toggle
    lblMemory->setText(QStringLiteral("avvio"));
}

bool TfrmAccedi::listsClosed() const
{
    return optChiusi->isChecked();
}

void TfrmAccedi::fillList()
{
    QStringList lines;
    m_bills.clear();
    m_closed.clear();
    if (listsClosed()) {
        m_closed = listClosedBills(m_services.folder);
        for (const ClosedBillEntry &bill : m_closed)
            lines << fromAnsi(bill.line);
    } else {
        m_bills = listBills(m_services.folder);
        for (const BillEntry &bill : m_bills)
            lines << fromAnsi(bill.line);
    }
    lstClassi->clear();
    lstClassi->addItems(lines);
    lstClassi->setCurrentRow(-1);
    lblTotale->setText(listsClosed() ? QStringLiteral("Ci sono %1 conti chiusi.").arg(lstClassi->count())
                                     : QStringLiteral("Ci sono %1 conti archiviati.").arg(lstClassi->count()));
}

void TfrmAccedi::optChiusiClick()
{
    const bool closed = listsClosed();
    btnCancella->setVisible(!closed);
    btnChiudi->setVisible(!closed);
    btnRiapri->setVisible(closed);
    lblInfo03->setText(closed ? reopenInstructions() : binInstructions());
    lblInfo05->setText(closed ? closedOpenInstructions() : closeInstructions());
    fillList();
}

QString TfrmAccedi::selectedName() const
{
    const QString line = lstClassi->item(selectedRow())->text();
    return line.left(line.size() - 4);
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
    m_handedOver = true;
    if (listsClosed())
        m_services.navigator->openBill(m_closed[static_cast<std::size_t>(row)].path, selectedName(),
                                       BillAccess::Closed);
    else
        m_services.navigator->openBill(m_bills[static_cast<std::size_t>(row)].path, selectedName(), BillAccess::Open);
}

void TfrmAccedi::btnCancellaClick()
{
    const int row = selectedRow();
    if (listsClosed())
        return;
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
        m_services.messages->plain(this, accessErrorMessage());
}

void TfrmAccedi::btnChiudiClick()
{
    const int row = selectedRow();
    if (listsClosed())
        return;
    if (row < 0) {
        m_services.messages->warning(this, QStringLiteral("Nessun conto selezionato"),
                                     QStringLiteral("Selezionare il nome del conto di interesse prima di fare clic "
                                                    "sull'icona Chiudi."));
        return;
    }
    const QString name = selectedName();
    if (!m_services.messages->question(
            this, QStringLiteral("Conferma chiusura conto"),
            QStringLiteral("Il conto \"%1\" sarà chiuso e conservato tra i conti chiusi, dove potrà essere "
                           "consultato, stampato, esportato o riaperto.\r\n\r\nSi vuole chiudere il conto "
                           "selezionato?")
                .arg(name)))
        return;
    const BillEntry bill = m_bills[static_cast<std::size_t>(row)];
    const BillClosing closing = closeBill(m_services.folder, bill.path, bill.line.substr(0, bill.line.size() - 4),
                                          calendarDate(m_services.clock->today()));
    fillList();
    lblMemory->setText(QStringLiteral("avvio"));
    switch (closing.outcome) {
    case BillClosing::Outcome::Closed:
        m_services.messages->information(
            this, QStringLiteral("Chiusura conto effettuata"),
            QStringLiteral("Il conto \"%1\" è stato chiuso ed è conservato tra i conti chiusi con il nome \"%2\".")
                .arg(name, QFile::decodeName(QByteArray::fromStdString(closing.path.filename().string()))));
        return;
    case BillClosing::Outcome::Gone:
        m_services.messages->warning(this, QStringLiteral("Chiusura conto non applicabile"),
                                     QStringLiteral("Il conto \"%1\" non esiste più: è stato eliminato o chiuso da "
                                                    "un'altra postazione.")
                                         .arg(name));
        return;
    case BillClosing::Outcome::FileError:
        m_services.messages->plain(this, accessErrorMessage());
        return;
    }
}

void TfrmAccedi::btnRiapriClick()
{
    const int row = selectedRow();
    if (!listsClosed())
        return;
    if (row < 0) {
        m_services.messages->warning(this, QStringLiteral("Nessun conto selezionato"),
                                     QStringLiteral("Selezionare il nome del conto chiuso di interesse prima di fare "
                                                    "clic sull'icona Riapri."));
        return;
    }
    const ClosedBillEntry bill = m_closed[static_cast<std::size_t>(row)];
    const BillReopening reopening = reopenBill(m_services.folder, bill);
    const QString name = fromAnsi(reopening.billName);
    fillList();
    lblMemory->setText(QStringLiteral("avvio"));
    switch (reopening.outcome) {
    case BillReopening::Outcome::Reopened:
        m_services.messages->information(this, QStringLiteral("Riapertura conto effettuata"),
                                         QStringLiteral("Il conto \"%1\" è stato riaperto ed è di nuovo tra i conti "
                                                        "aperti.")
                                             .arg(name));
        return;
    case BillReopening::Outcome::OpenExists:
        m_services.messages->warning(this, QStringLiteral("Riapertura conto non applicabile"),
                                     QStringLiteral("Esiste già un conto aperto di nome \"%1\".\r\n\r\nPer "
                                                    "riaprire questo conto è necessario prima chiudere o eliminare "
                                                    "il conto aperto con lo stesso nome.")
                                         .arg(name));
        return;
    case BillReopening::Outcome::Gone:
        m_services.messages->warning(this, QStringLiteral("Riapertura conto non applicabile"),
                                     QStringLiteral("Il conto chiuso selezionato non esiste più: è stato riaperto o "
                                                    "spostato da un'altra postazione."));
        return;
    case BillReopening::Outcome::FileError:
        m_services.messages->plain(this, accessErrorMessage());
        return;
    }
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
