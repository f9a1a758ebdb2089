#include "clients/tfrmcercadestinatari.h"

#include <algorithm>

#include <QEvent>
#include <QMouseEvent>

#include "common/fonts.h"
#include "clients/clientrecord.h"
#include "common/failuremessage.h"
#include "common/printing.h"
#include "common/recordfile.h"

using namespace velmora;

namespace {

constexpr int kWidth = 780;
constexpr int kHeight = 470;

// Most lines hold no byte where Windows-1252 and Latin-1 differ, and those convert directly.
QString listText(const std::string &line)
{
    const bool latin1 = std::none_of(line.begin(), line.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b >= 0x80 && b <= 0x9F;
    });
    return latin1 ? QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())) : fromAnsi(line);
}

QLabel *textLabel(const QString &text, QWidget *parent, const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TfrmCercaDestinatari::TfrmCercaDestinatari(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmCercaDestinatari"));
    setWindowTitle(QStringLiteral(" Ricerca clienti in archivio"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setBackground(this, colours::silver);
    setAutoFillBackground(true);
    setFont(QFont(fonts::text(), 8));
    setFixedSize(kWidth, kHeight);

    lblMemory = new QLabel(this);
    lblMemory->setObjectName(QStringLiteral("lblMemory"));
    lblMemory->hide();
    lblConta = hiddenLabel(QStringLiteral("lblConta"), this);
    lblConta->setText(QStringLiteral("0"));

    // Criteria page.
    grpCriteri = new QGroupBox(this);
    grpCriteri->setObjectName(QStringLiteral("grpCriteri"));
    grpCriteri->setGeometry(10, 8, kWidth - 20, kHeight - 62);
    auto *title = textLabel(QStringLiteral("Ricerca clienti in archivio"), grpCriteri, QRect(20, 16, 600, 26));
    QFont titleFont(fonts::text(), 12);
    titleFont.setBold(true);
    title->setFont(titleFont);
    QPalette titlePalette = title->palette();
    titlePalette.setColor(QPalette::WindowText, colours::navy);
    title->setPalette(titlePalette);
    const QString instructions[] = {
        QStringLiteral("Immettere nei campi prescelti una o più parole consecutive presenti nelle schede"),
        QStringLiteral("dei clienti da cercare e premere il pulsante Trova."),
        QStringLiteral("Lasciare in bianco gli altri campi."),
        QStringLiteral("Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente."),
    };
    for (int i = 0; i < 4; ++i)
        textLabel(instructions[i], grpCriteri, QRect(20, 54 + i * 19, 720, 18));

    struct Criterion
    {
        TextBox **box;
        const char *name;
        const char *label;
        std::size_t field;
    };
    const Criterion criteria[] = {
        {&txtCliente, "txtCliente", "Cognome e nome cliente:", client::Cliente},
        {&txtLuogoNasc, "txtLuogoNasc", "Luogo di nascita:", client::LuogoNasc},
        {&txtCamera, "txtCamera", "Camera / Alloggio:", client::Camera},
        {&txtIndirizzo, "txtIndirizzo", "Indirizzo di residenza:", client::Indirizzo},
        {&txtCitta, "txtCitta", "CAP, città e sigla prov.", client::Citta},
        {&txtNumDoc, "txtNumDoc", "Numero documento:", client::NumDoc},
        {&txtCodFisc, "txtCodFisc", "Codice fiscale:", client::CodFisc},
        {&txtIva, "txtIva", "Partita IVA:", client::Iva},
        {&txtNote, "txtNote", "Note:", client::Note},
    };
    std::vector<QWidget *> chain;
    for (int i = 0; i < 9; ++i) {
        const Criterion &c = criteria[i];
        const int x = 20 + (i % 3) * 245;
        const int y = 160 + (i / 3) * 70;
        QLabel *caption = textLabel(QString::fromUtf8(c.label), grpCriteri, QRect(x, y, 230, 18));
        auto *box = new TextBox(grpCriteri);
        caption->setBuddy(box);
        box->setObjectName(QLatin1String(c.name));
        box->setGeometry(x, y + 20, 230, 22);
        *c.box = box;
        m_criteria.push_back(box);
        m_criteriaFields.push_back(c.field);
        chain.push_back(box);
    }
    setEnterChain(chain);

    // Result page.
    grpElenco = new QGroupBox(this);
    grpElenco->setObjectName(QStringLiteral("grpElenco"));
    grpElenco->setGeometry(grpCriteri->geometry());
    const QString listInstructions[] = {
        QStringLiteral("Inserire una o più parole consecutive presenti nella scheda da cercare e premere il pulsante "
                       "Trova."),
        QStringLiteral("Per spostarsi sulla voce successiva contenente la stessa chiave di ricerca, fare di nuovo clic "
                       "su Trova."),
        QStringLiteral("Per richiamare i dati di una scheda, selezionarla con un doppio clic."),
    };
    for (int i = 0; i < 3; ++i)
        textLabel(listInstructions[i], grpElenco, QRect(12, 12 + i * 19, 736, 18));
    txtTrova = new TextBox(grpElenco, colours::white);
    txtTrova->setObjectName(QStringLiteral("txtTrova"));
    txtTrova->setAccessibleName(QStringLiteral("Testo da cercare"));
    txtTrova->setGeometry(12, 74, 600, 24);
    txtTrova->hooks.onKeyPress = [this](QChar &key) { txtTrovaKeyPress(key); };
    cmdTrova02 = new QPushButton(QStringLiteral("Trova"), grpElenco);
    cmdTrova02->setObjectName(QStringLiteral("cmdTrova02"));
    cmdTrova02->setGeometry(624, 73, 124, 26);
    cmdTrova02->setAutoDefault(false);
    lstRecords = new QListWidget(grpElenco);
    lstRecords->setObjectName(QStringLiteral("lstRecords"));
    lstRecords->setAccessibleName(QStringLiteral("Clienti trovati"));
    lstRecords->setGeometry(12, 108, 736, 290);
    QFont courier(fonts::fixed(), 8);
    courier.setStyleHint(QFont::TypeWriter);
    lstRecords->setFont(courier);
    // The list's own colour: over the dialog's silver it would look disabled.
    setBackground(lstRecords, colours::white);
    lstRecords->setUniformItemSizes(true);
    lstRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lstRecords->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lstRecords->viewport()->installEventFilter(this);
    grpElenco->hide();

    // Buttons below the pages.
    const auto button = [this](QPushButton **target, const char *name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, kHeight - 44, 110, 30);
        b->setAutoDefault(false);
        *target = b;
    };
    button(&cmdTrova, "cmdTrova", QStringLiteral("Trova"), kWidth - 4 * 118 - 10);
    button(&cmdAnnulla, "cmdAnnulla", QStringLiteral("Annulla"), kWidth - 3 * 118 - 10);
    button(&cmdIndietro, "cmdIndietro", QStringLiteral("<< Indietro"), kWidth - 2 * 118 - 10);
    button(&cmdStampa, "cmdStampa", QStringLiteral("Stampa"), kWidth - 118 - 10);
    cmdIndietro->setEnabled(false);
    cmdStampa->setEnabled(false);

    connect(cmdTrova, &QPushButton::clicked, this, &TfrmCercaDestinatari::cmdTrovaClick);
    connect(cmdAnnulla, &QPushButton::clicked, this, &TfrmCercaDestinatari::cmdAnnullaClick);
    connect(cmdIndietro, &QPushButton::clicked, this, &TfrmCercaDestinatari::cmdIndietroClick);
    connect(cmdTrova02, &QPushButton::clicked, this, &TfrmCercaDestinatari::cmdTrova02Click);
    connect(cmdStampa, &QPushButton::clicked, this, &TfrmCercaDestinatari::cmdStampaClick);
    cmdStampa->setShortcut(keys::print());
}

void TfrmCercaDestinatari::setCaller(Caller caller)
{
    lblMemory->setText(QLatin1String(callerMarker(caller)));
}

void TfrmCercaDestinatari::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_quickFind.reset();
    txtTrova->clear();
    if (grpCriteri->isVisible())
        txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmCercaDestinatari::done(int result)
{
    lstRecords->clear();
    m_lines.clear();
    for (TextBox *box : m_criteria)
        box->clear();
    showCriteriaPage();
    QDialog::done(result);
}

void TfrmCercaDestinatari::showCriteriaPage()
{
    lblConta->setText(QStringLiteral("0"));
    cmdIndietro->setEnabled(false);
    cmdStampa->setEnabled(false);
    cmdTrova->setEnabled(true);
    grpElenco->hide();
    grpCriteri->show();
}

void TfrmCercaDestinatari::cmdTrovaClick()
{
    std::vector<ClientCriterion> criteria;
    for (std::size_t i = 0; i < m_criteria.size(); ++i)
        criteria.push_back({m_criteriaFields[i], toAnsi(m_criteria[i]->text())});
    lblConta->setText(QString::number(activeCriteriaCount(criteria)));

    lstRecords->clear();
    m_lines.clear();
    const RecordFile archive(m_services.file(kClientArchive), clientLayout().size());
    // The archive is scanned a block at a time: only the lines found are kept.
    const bool read = archive.forEach([this, &criteria](std::string_view record) {
        if (clientMatches(record, criteria))
            m_lines.push_back(clientListLine(record));
    });
    if (!read) {
        m_lines.clear();
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    sortListLines(m_lines);

    // One call fills the list, so even a large archive lists at once.
    QStringList items;
    items.reserve(static_cast<qsizetype>(m_lines.size()));
    for (const std::string &line : m_lines)
        items << listText(line);
    lstRecords->addItems(items);
    if (QListWidgetItem *first = lstRecords->item(0))
        first->setSizeHint(QSize(1500, lstRecords->fontMetrics().height() + 2));

    grpCriteri->hide();
    grpElenco->show();
    cmdTrova->setEnabled(false);
    cmdIndietro->setEnabled(true);
    cmdStampa->setEnabled(true);
    txtTrova->clear();
    txtTrova->setFocus(Qt::OtherFocusReason);
}

void TfrmCercaDestinatari::cmdAnnullaClick()
{
    reject();
}

void TfrmCercaDestinatari::cmdIndietroClick()
{
    lstRecords->clear();
    m_lines.clear();
    showCriteriaPage();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmCercaDestinatari::cmdTrova02Click()
{
    if (m_lines.empty()) {
        m_services.messages->plain(this,
                                   QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return;
    }
    if (lstRecords->currentRow() < 0)
        lstRecords->setCurrentRow(0);
    const auto found =
        m_quickFind.find(m_lines, toAnsi(txtTrova->text()), static_cast<std::size_t>(lstRecords->currentRow()));
    if (found)
        lstRecords->setCurrentRow(static_cast<int>(*found));
}

void TfrmCercaDestinatari::cmdStampaClick()
{
    m_services.printer->printList(this, shownLines(lstRecords), PrintRequest::clientSearch());
}

void TfrmCercaDestinatari::txtTrovaKeyPress(QChar &key)
{
    if (key.unicode() == 13) {
        key = QChar();
        cmdTrova02Click();
    }
}

bool TfrmCercaDestinatari::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lstRecords->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        lstRecordsDblClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmCercaDestinatari::lstRecordsDblClick()
{
    const int row = lstRecords->currentRow();
    const QListWidgetItem *item = lstRecords->currentItem();
    if (row < 0 || !item || !item->isSelected() || static_cast<std::size_t>(row) >= m_lines.size()) {
        reject();
        return;
    }
    // Cards that give the same line cannot be told apart; the later one is the one handed back.
    auto found = lastCardWithLine(RecordFile(m_services.file(kClientArchive), clientLayout().size()),
                                  m_lines[static_cast<std::size_t>(row)]);
    if (!found) {
        reject();
        return;
    }
    handBack(std::move(*found));
    accept();
}

void TfrmCercaDestinatari::handBack(NumberedRecord found)
{
    // The marker decides whether the caller gets the card; what it shows of it is its own affair.
    const QString marker = lblMemory->text().trimmed();
    if (marker != QLatin1String(callerMarker(Caller::Anagrafica)) &&
        marker != QLatin1String(callerMarker(Caller::Forniture)))
        return;
    ChosenClient chosen;
    chosen.number = found.number;
    chosen.values = clientLayout().decode(found.record);
    chosen.record = std::move(found.record);
    m_chosen = std::move(chosen);
}
