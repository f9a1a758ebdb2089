#include "bills/tfrmtrasferisci.h"

#include "common/fonts.h"
#include "common/keyfilters.h"
#include "common/text.h"
#include "products/productlists.h"

using namespace velmora;

namespace {

bool sameFile(const std::filesystem::path &a, const std::filesystem::path &b)
{
    std::error_code ec;
    return a == b || std::filesystem::equivalent(a, b, ec);
}

} // namespace

TfrmTrasferisci::TfrmTrasferisci(Services &services, const std::filesystem::path &source, bool cardStored,
                                 QWidget *parent)
    : QDialog(parent), m_services(services)
{
    setUpDialog(this, QStringLiteral("TfrmTrasferisci"), QStringLiteral(" Trasferimento consumazioni"), {521, 487});

    lblInfo01 = dialogText(this, "lblInfo01",
                     QStringLiteral("Selezionare nell'elenco il conto che deve ricevere le consumazioni e premere "
                                    "OK."),
                     QRect(8, 8, 505, 32), true);
    lblInfo02 = dialogText(this, "lblInfo02",
                     QStringLiteral("Inserire una o più parole consecutive presenti nel nome del conto da cercare e "
                                    "premere il pulsante Trova."),
                     QRect(8, 42, 505, 32), true);
    makeFindRow(this, txtTrova, cmdTrova02, QRect(8, 78, 380, 24), QRect(396, 77, 117, 26));
    txtTrova->setAccessibleName(QStringLiteral("Parole del nome del conto da cercare"));

    lstConti = new QListWidget(this);
    lstConti->setObjectName(QStringLiteral("lstConti"));
    lstConti->setAccessibleName(QStringLiteral("Conti che possono ricevere le consumazioni"));
    lstConti->setGeometry(8, 110, 505, 250);
    lstConti->setSelectionMode(QAbstractItemView::SingleSelection);
    lstConti->setUniformItemSizes(true);
    QFont listFont(fonts::text());
    listFont.setPixelSize(14);
    lstConti->setFont(listFont);
    setBackground(lstConti, colours::moneyGreen);

    optScheda = new QRadioButton(QStringLiteral(" Trasferisci la consumazione visualizzata nella scheda "), this);
    optScheda->setObjectName(QStringLiteral("optScheda"));
    optScheda->setGeometry(8, 370, 505, 22);
    optTutte = new QRadioButton(QStringLiteral(" Trasferisci tutte le consumazioni del conto "), this);
    optTutte->setObjectName(QStringLiteral("optTutte"));
    optTutte->setGeometry(8, 396, 505, 22);
    // A new card stands for no stored consumption: only the whole bill can go.
    optScheda->setEnabled(cardStored);
    (cardStored ? optScheda : optTutte)->setChecked(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(268, 440, 117, 32);
    cmdAnnulla = new QPushButton(QStringLiteral("Annulla"), this);
    cmdAnnulla->setObjectName(QStringLiteral("cmdAnnulla"));
    cmdAnnulla->setGeometry(396, 440, 117, 32);
    for (QPushButton *b : {cmdTrova02, cmdOK, cmdAnnulla})
        b->setAutoDefault(false);

    for (BillEntry &bill : listBills(m_services.folder))
        if (!sameFile(bill.path, source))
            m_bills.push_back(std::move(bill));
    // In the catalogue's order, which listBills gives.
    for (const BillEntry &bill : m_bills)
        lstConti->addItem(fromAnsi(bill.line));
    lstConti->setCurrentRow(-1);

    txtTrova->hooks.onKeyPress = [this](QChar &key) { txtTrovaKeyPress(key); };
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmTrasferisci::cmdTrova02Click);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmTrasferisci::cmdOKClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstConti, &QListWidget::itemDoubleClicked, this, &TfrmTrasferisci::cmdOKClick);
    txtTrova->setFocus();
}

void TfrmTrasferisci::txtTrovaKeyPress(QChar &key)
{
    if (key.unicode() == kKeyEnter)
        cmdTrova02Click();
}

void TfrmTrasferisci::cmdTrova02Click()
{
    quickFindInList(lstConti, txtTrova->text(), m_finder, m_services, this);
}

void TfrmTrasferisci::cmdOKClick()
{
    const QList<QListWidgetItem *> selected = lstConti->selectedItems();
    if (selected.isEmpty()) {
        m_services.messages->warning(this, QStringLiteral("Nessun conto selezionato"),
                                     QStringLiteral("Selezionare nell'elenco il conto che deve ricevere le "
                                                    "consumazioni prima di premere il pulsante OK."));
        return;
    }
    const int row = lstConti->row(selected.first());
    const BillEntry &bill = m_bills[static_cast<std::size_t>(row)];
    const QString line = fromAnsi(bill.line);
    m_chosen = TransferChoice{bill.path, line.left(line.size() - 4), optTutte->isChecked()};
    accept();
}
