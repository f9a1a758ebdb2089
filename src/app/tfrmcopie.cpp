#include "app/tfrmcopie.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QPainter>

#include "app/passwordcodec.h"
#include "clients/clientrecord.h"
#include "common/artwork.h"
#include "common/fonts.h"
#include "common/waitcursor.h"
#include "common/widgets.h"
#include "products/productrecord.h"

using namespace velmora;

namespace {

const QColor kCopiesTeal(22, 96, 110);
const QString kTitle = QStringLiteral("Copie di sicurezza");

QString pathText(const std::filesystem::path &path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

std::filesystem::path pathOf(const QString &text)
{
    return std::filesystem::path(QFile::encodeName(text).toStdString());
}

QString dateText(const CopyTime &t)
{
    return QStringLiteral("%1/%2/%3")
        .arg(t.day, 2, 10, QLatin1Char('0'))
        .arg(t.month, 2, 10, QLatin1Char('0'))
        .arg(t.year, 4, 10, QLatin1Char('0'));
}

QString timeText(const CopyTime &t)
{
    return QStringLiteral("%1:%2").arg(t.hour, 2, 10, QLatin1Char('0')).arg(t.minute, 2, 10, QLatin1Char('0'));
}

QString kindText(CopyKind kind)
{
    switch (kind) {
    case CopyKind::Manual:
        return QStringLiteral("manuale");
    case CopyKind::Automatic:
        return QStringLiteral("automatica");
    case CopyKind::BeforeRestore:
        return QStringLiteral("prima di un ripristino");
    }
    return {};
}

QString refusalReason(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
    case Refusal::Unreadable:
        return QStringLiteral("non è un archivio ZIP leggibile oppure è danneggiato");
    case Refusal::BadManifest:
        return QStringLiteral("manca l'elenco del contenuto della copia, oppure è danneggiato");
    case Refusal::Mismatch:
        return QStringLiteral("il contenuto non corrisponde all'elenco della copia");
    case Refusal::Unsafe:
        return QStringLiteral("contiene percorsi che escono dalla cartella del programma o collegamenti");
    case Refusal::Foreign:
        return QStringLiteral("contiene file che non appartengono a Velmora");
    case Refusal::TooLarge:
        return QStringLiteral("una volta estratto occuperebbe uno spazio spropositato");
    }
    return {};
}

// "3 conti aperti, 1 conto chiuso, 12 clienti, 40 prodotti e la password di accesso".
QString contentsText(const Manifest &m)
{
    const auto count = [](std::uint64_t n, const char *one, const char *many) {
        return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
    };
    QStringList parts{count(m.openBills(), "conto aperto", "conti aperti"),
                      count(m.closedBills(), "conto chiuso", "conti chiusi"),
                      count(m.recordsOf(kClientArchive), "cliente", "clienti"),
                      count(m.recordsOf(kProductArchive), "prodotto", "prodotti")};
    if (m.holds(kPasswordStore))
        parts << QStringLiteral("la password di accesso");
    const QString last = parts.takeLast();
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" e ") + last;
}

QPushButton *command(const QString &name, const QString &caption, const QRect &geometry, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setFont(QFont(fonts::text(), 9));
    return button;
}

} // namespace

namespace velmora {

QPixmap copiesIcon(const QColor &colour, int size, const QString &caption)
{
    return artwork::commandPlate(colour, size, caption, [colour](QPainter &p, const QRectF &plate) {
        const qreal u = plate.width() / 16.0;
        const qreal x0 = plate.left();
        const qreal y0 = plate.top();
        p.setPen(QPen(Qt::white, qMax<qreal>(1.0, u * 0.8), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        // The sheet behind, then the copy over it, then the tick on the copy.
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(x0 + 3 * u, y0 + 2.5 * u, 7 * u, 9 * u), u, u);
        p.setBrush(colour.darker(130));
        p.drawRoundedRect(QRectF(x0 + 6 * u, y0 + 4.5 * u, 7 * u, 9 * u), u, u);
        QPolygonF tick;
        tick << QPointF(x0 + 7.6 * u, y0 + 9.2 * u) << QPointF(x0 + 9.2 * u, y0 + 10.9 * u)
             << QPointF(x0 + 11.6 * u, y0 + 7.2 * u);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(tick);
    });
}

CopyTime copyTimeNow(const ClockService &clock)
{
    const QDate d = clock.today();
    const QTime t = clock.now();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute()};
}

QString copyFailureMessage(CopyResult::Outcome outcome)
{
    switch (outcome) {
    case CopyResult::Outcome::Made:
        return {};
    case CopyResult::Outcome::Busy:
        return archiveBusyMessage();
    case CopyResult::Outcome::SourceError:
        return fileErrorMessage();
    case CopyResult::Outcome::DestinationError:
        return QStringLiteral("Attenzione: non è stato possibile scrivere la copia nella cartella scelta.\r\n\r\n"
                              "Controllare che il disco o la chiavetta USB sia inserito e abbia spazio libero. "
                              "Nella cartella non è rimasta alcuna copia incompleta.");
    case CopyResult::Outcome::VerifyError:
        return QStringLiteral("Attenzione: la copia riletta dal disco non corrisponde ai dati, quindi non è stata "
                              "conservata.\r\n\r\nIl disco o la chiavetta USB potrebbe essere danneggiato.");
    }
    return {};
}

void automaticCopyAtEnd(Services &services, QWidget *owner)
{
    AutomaticCopy result;
    try {
        const WaitCursor hourglass;
        result = makeAutomaticCopy(services.folder, copyTimeNow(*services.clock));
    } catch (...) {
        // Nothing may keep the program from ending; a copy that could not be made is told below.
        result.outcome = AutomaticCopy::Outcome::Failed;
        result.copy.outcome = CopyResult::Outcome::DestinationError;
    }
    if (result.outcome != AutomaticCopy::Outcome::Failed)
        return;
    services.messages->warning(owner, kTitle,
                               QStringLiteral("La copia di sicurezza automatica nella cartella\r\n%1\r\n"
                                              "non è stata fatta.\r\n\r\n%2")
                                   .arg(pathText(result.folder), copyFailureMessage(result.copy.outcome)));
}

} // namespace velmora

TfrmCopie::TfrmCopie(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Copie di sicurezza"), {1022, 738, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmCopie"));
    QWidget *g = grpContainer;

    addTitle(QStringLiteral("COPIE DI SICUREZZA"), kCopiesTeal, QRect(40, 24, 915, 56));

    lblInfo01 = infoText(QStringLiteral("lblInfo01"),
                         QStringLiteral("Una copia di sicurezza conserva in un solo file gli archivi dei clienti e "
                                        "dei prodotti, tutti i conti aperti e chiusi e la password di accesso. "
                                        "Si consiglia di salvare le copie su una chiavetta USB o su un altro "
                                        "disco, così che un guasto del computer non le porti via insieme ai dati."),
                         QRect(40, 96, 915, 40));

    auto *folderLabel =
        infoText(QStringLiteral("lblCartella"), QStringLiteral("Cartella delle copie:"), QRect(40, 150, 160, 22));
    folderLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    txtCartella = new QLineEdit(g);
    txtCartella->setObjectName(QStringLiteral("txtCartella"));
    txtCartella->setGeometry(200, 146, 620, 28);
    txtCartella->setReadOnly(true);
    txtCartella->setFont(QFont(fonts::text(), 9));
    folderLabel->setBuddy(txtCartella); // a screen reader names the box by its caption
    cmdCartella =
        command(QStringLiteral("cmdCartella"), QStringLiteral("Scegli cartella..."), QRect(830, 145, 125, 30), g);

    lstCopie = new QTreeWidget(g);
    lstCopie->setObjectName(QStringLiteral("lstCopie"));
    lstCopie->setAccessibleName(QStringLiteral("Copie di sicurezza trovate"));
    lstCopie->setGeometry(40, 190, 730, 400);
    lstCopie->setRootIsDecorated(false);
    lstCopie->setSelectionMode(QAbstractItemView::SingleSelection);
    lstCopie->setUniformRowHeights(true);
    lstCopie->setHeaderLabels({QStringLiteral("Data"), QStringLiteral("Ora"), QStringLiteral("Conti aperti"),
                               QStringLiteral("Conti chiusi"), QStringLiteral("Dimensione"), QStringLiteral("Tipo")});
    QFont listFont(fonts::text());
    listFont.setPixelSize(14);
    lstCopie->setFont(listFont);
    for (int column : {0, 1, 2, 3, 4})
        lstCopie->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    lstCopie->header()->setStretchLastSection(true);
    setBackground(lstCopie, colours::moneyGreen);

    lblTotale = new QLabel(g);
    lblTotale->setObjectName(QStringLiteral("lblTotale"));
    lblTotale->setGeometry(40, 596, 730, 22);
    QFont totalFont(fonts::text(), 9);
    totalFont.setItalic(true);
    lblTotale->setFont(totalFont);

    lblInfo02 = infoText(QStringLiteral("lblInfo02"),
                         QStringLiteral("Alla chiusura del programma viene fatta ogni giorno una copia automatica "
                                        "nella cartella scelta; si conservano le ultime dieci.\n\n"
                                        "Il ripristino sostituisce i dati attuali con quelli della copia "
                                        "selezionata, dopo averne fatta una copia."),
                         QRect(790, 190, 165, 200));
    cmdCrea = command(QStringLiteral("cmdCrea"), QStringLiteral("Crea copia"), QRect(790, 430, 165, 36), g);
    cmdRipristina =
        command(QStringLiteral("cmdRipristina"), QStringLiteral("Ripristina copia"), QRect(790, 476, 165, 36), g);
    cmdEsci = command(QStringLiteral("cmdEsci"), QStringLiteral("Esci"), QRect(790, 554, 165, 36), g);

    connect(cmdCartella, &QPushButton::clicked, this, &TfrmCopie::cmdCartellaClick);
    connect(cmdCrea, &QPushButton::clicked, this, &TfrmCopie::cmdCreaClick);
    connect(cmdRipristina, &QPushButton::clicked, this, &TfrmCopie::cmdRipristinaClick);
    connect(cmdEsci, &QPushButton::clicked, this, &TfrmCopie::cmdEsciClick);
}

void TfrmCopie::FormShow()
{
    txtCartella->setText(pathText(chosenCopyFolder(m_services.folder)));
    fillList();
}

void TfrmCopie::fillList()
{
    lstCopie->clear();
    m_copies.clear();
    const QString folder = txtCartella->text();
    if (!folder.isEmpty())
        m_copies = listCopies(pathOf(folder));
    for (const CopyInfo &copy : m_copies) {
        auto *item = new QTreeWidgetItem(lstCopie);
        item->setText(0, dateText(copy.time));
        item->setText(1, timeText(copy.time));
        item->setText(2, QString::number(copy.openBills));
        item->setText(3, QString::number(copy.closedBills));
        item->setText(4, QString::fromStdString(copySizeText(copy.size)));
        item->setText(5, kindText(copy.kind));
        for (int column : {2, 3, 4})
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (folder.isEmpty())
        lblTotale->setText(QStringLiteral("Scegliere la cartella delle copie di sicurezza."));
    else if (m_copies.size() == 1)
        lblTotale->setText(QStringLiteral("Nella cartella c'è una copia di sicurezza."));
    else
        lblTotale->setText(QStringLiteral("Nella cartella ci sono %1 copie di sicurezza.").arg(m_copies.size()));
}

void TfrmCopie::cmdCartellaClick()
{
    const QString folder =
        m_services.dialogs->chooseFolder(this, QStringLiteral("Selezionare la cartella delle copie di sicurezza:"));
    if (folder.isEmpty())
        return;
    if (!setChosenCopyFolder(m_services.folder, pathOf(folder))) {
        m_services.messages->plain(this, fileErrorMessage());
        return;
    }
    txtCartella->setText(folder);
    fillList();
}

void TfrmCopie::cmdCreaClick()
{
    if (txtCartella->text().isEmpty()) {
        m_services.messages->warning(this, kTitle,
                                     QStringLiteral("Scegliere prima la cartella in cui salvare le copie di "
                                                    "sicurezza, per esempio su una chiavetta USB."));
        return;
    }
    const CopyResult made = [&] {
        const WaitCursor hourglass;
        return makeCopy(m_services.folder, pathOf(txtCartella->text()), copyTimeNow(*m_services.clock),
                        CopyKind::Manual);
    }();
    fillList();
    if (made.outcome != CopyResult::Outcome::Made) {
        m_services.messages->warning(this, kTitle, copyFailureMessage(made.outcome));
        return;
    }
    m_services.messages->information(this, kTitle,
                                     QStringLiteral("Copia di sicurezza creata:\r\n%1\r\n\r\nContiene %2.")
                                         .arg(pathText(made.path.filename()), contentsText(made.manifest)));
}

void TfrmCopie::cmdRipristinaClick()
{
    const auto selected = lstCopie->selectedItems();
    const int row = selected.isEmpty() ? -1 : lstCopie->indexOfTopLevelItem(selected.first());
    if (row < 0 || row >= static_cast<int>(m_copies.size())) {
        m_services.messages->warning(this, kTitle, QStringLiteral("Selezionare nell'elenco la copia da ripristinare."));
        return;
    }
    const CopyInfo copy = m_copies[static_cast<std::size_t>(row)];
    const auto refused = [this](Refusal refusal) {
        m_services.messages->warning(this, kTitle,
                                     QStringLiteral("Attenzione: la copia scelta non può essere ripristinata: %1."
                                                    "\r\n\r\nNessun dato è stato modificato.")
                                         .arg(refusalReason(refusal)));
    };
    const CheckedCopy checked = [&] {
        const WaitCursor hourglass;
        return checkCopyFile(copy.path);
    }();
    if (checked.refusal != Refusal::None) {
        refused(checked.refusal);
        return;
    }
    const CopyTime &t = checked.manifest.time;
    if (!m_services.messages->question(
            this, QStringLiteral("Conferma ripristino"),
            QStringLiteral("Ripristinare la copia di sicurezza del %1 alle ore %2?\r\n\r\nLa copia contiene %3."
                           "\r\n\r\nI dati attuali saranno sostituiti da quelli della copia; prima del ripristino "
                           "ne viene fatta una copia nella stessa cartella.")
                .arg(dateText(t), timeText(t), contentsText(checked.manifest))))
        return;
    const RestoreResult result = [&] {
        const WaitCursor hourglass;
        return restoreCopy(m_services.folder, copy.path, copy.path.parent_path(), copyTimeNow(*m_services.clock));
    }();
    fillList();
    switch (result.outcome) {
    case RestoreResult::Outcome::Restored:
        m_services.messages->information(
            this, kTitle,
            QStringLiteral("Ripristino completato: i dati sono quelli della copia del %1 alle ore %2.\r\n\r\n"
                           "I dati sostituiti sono nella copia %3.")
                .arg(dateText(t), timeText(t), pathText(result.backup.path.filename())));
        return;
    case RestoreResult::Outcome::Refused:
        refused(result.refusal);
        return;
    case RestoreResult::Outcome::BackupFailed:
        m_services.messages->warning(this, kTitle,
                                     QStringLiteral("Attenzione: non è stato possibile fare la copia dei dati "
                                                    "attuali, quindi il ripristino non è stato eseguito.\r\n\r\n%1")
                                         .arg(copyFailureMessage(result.backup.outcome)));
        return;
    case RestoreResult::Outcome::Busy:
        m_services.messages->warning(this, kTitle, archiveBusyMessage());
        return;
    case RestoreResult::Outcome::FileError:
        m_services.messages->warning(this, kTitle,
                                     QStringLiteral("Attenzione: il sistema non permette di sostituire gli archivi "
                                                    "nella cartella del programma. I dati sono ancora quelli di "
                                                    "prima, oppure il ripristino sarà completato al prossimo "
                                                    "accesso agli archivi."));
        return;
    }
}

void TfrmCopie::cmdEsciClick()
{
    close();
}
