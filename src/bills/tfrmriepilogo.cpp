#include "bills/tfrmriepilogo.h"

#include <QEvent>
#include <QMouseEvent>
#include <QHeaderView>

#include "bills/billartwork.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/fonts.h"
#include "common/exportdialog.h"
#include "common/keyfilters.h"
#include "common/office.h"
#include "common/printing.h"
#include "common/text.h"
#include "common/waitcursor.h"

using namespace velmora;

namespace {

const QColor kBillGold(138, 98, 18);
const QColor kBillGreen(31, 110, 74);

QString notApplicableTitle()
{
    return QStringLiteral("Riepilogo non applicabile");
}

QLabel *caption(const QString &text, const QRect &geometry, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setFont(QFont(fonts::text(), 8));
    return label;
}

} // namespace

TfrmRiepilogo::TfrmRiepilogo(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Riepilogo delle consumazioni"), {1030, 742, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmRiepilogo"));
    QWidget *g = grpContainer;
    addInfoBar();

    addTitle(QStringLiteral("RIEPILOGO DELLE CONSUMAZIONI"), kBillGold, QRect(10, 10, 975, 48));

    auto *istruzioni = new QLabel(QStringLiteral("Indicare il periodo, scegliere come raggruppare le consumazioni e "
                                                 "premere Calcola: il riepilogo somma le consumazioni di tutti i "
                                                 "conti la cui data cade nel periodo, estremi compresi."),
                                  g);
    istruzioni->setObjectName(QStringLiteral("panIstruzioni"));
    istruzioni->setGeometry(10, 64, 975, 36);
    istruzioni->setWordWrap(true);
    istruzioni->setAutoFillBackground(true);
    setBackground(istruzioni, QColor(255, 250, 224));
    istruzioni->setFont(QFont(fonts::text(), 8));
    istruzioni->setIndent(8);
    istruzioni->setFrameShape(QFrame::StyledPanel);

    // The period, with the closed bills' choice under it.
    auto *panPeriodo = new QFrame(g);
    panPeriodo->setObjectName(QStringLiteral("panPeriodo"));
    panPeriodo->setGeometry(10, 108, 330, 100);
    panPeriodo->setFrameShape(QFrame::StyledPanel);
    panPeriodo->setAutoFillBackground(true);
    setBackground(panPeriodo, QColor(244, 246, 250));
    clearsDescription(panPeriodo);
    QFont boxFont(fonts::text());
    boxFont.setPixelSize(11);
    boxFont.setBold(true);
    const auto dateBox = [&](const char *name, const char *text, int x) {
        QLabel *label = caption(QString::fromUtf8(text), QRect(x, 8, 140, 15), panPeriodo);
        auto *box = new TextBox(panPeriodo);
        label->setBuddy(box); // a screen reader names the box by its caption
        box->setObjectName(QLatin1String(name));
        box->setGeometry(x, 24, 110, 22);
        box->setMaxLength(10);
        box->setFont(boxFont);
        box->hooks.onKeyPress = [this](QChar &key) { txtDataKeyPress(key); };
        return box;
    };
    txtDal = dateBox("txtDal", "Dal giorno:", 10);
    txtAl = dateBox("txtAl", "Al giorno (compreso):", 170);
    setEnterChain({txtDal, txtAl});
    chkChiusi = new QCheckBox(QStringLiteral("Comprendi i conti chiusi"), panPeriodo);
    chkChiusi->setObjectName(QStringLiteral("chkChiusi"));
    chkChiusi->setGeometry(10, 62, 300, 24);
    chkChiusi->setFont(QFont(fonts::text(), 8));

    grpRaggruppa = new QGroupBox(QStringLiteral("Raggruppa per:"), g);
    grpRaggruppa->setObjectName(QStringLiteral("grpRaggruppa"));
    grpRaggruppa->setGeometry(350, 104, 500, 104);
    grpRaggruppa->setFont(QFont(fonts::text(), 8));
    clearsDescription(grpRaggruppa);
    const auto option = [this](const char *name, const char *text, const QRect &geometry) {
        auto *o = new QRadioButton(QString::fromUtf8(text), grpRaggruppa);
        o->setObjectName(QLatin1String(name));
        o->setGeometry(geometry);
        return o;
    };
    optGiorno = option("optGiorno", "Giorno", QRect(12, 24, 160, 22));
    optCameriere = option("optCameriere", "Cameriere / Operatore", QRect(12, 48, 200, 22));
    optLuogo = option("optLuogo", "Tavolo / Luogo", QRect(12, 72, 160, 22));
    optProdotto = option("optProdotto", "Prodotto o servizio", QRect(240, 24, 200, 22));
    optConto = option("optConto", "Conto", QRect(240, 48, 160, 22));
    optGiorno->setChecked(true);

    cmdCalcola = new QPushButton(QStringLiteral("Calcola"), g);
    cmdCalcola->setObjectName(QStringLiteral("cmdCalcola"));
    cmdCalcola->setGeometry(865, 150, 120, 40);
    cmdCalcola->setAutoDefault(false);

    m_model = new ExportGridModel(this);
    grdRiepilogo = new QTableView(g);
    grdRiepilogo->setObjectName(QStringLiteral("grdRiepilogo"));
    grdRiepilogo->setAccessibleName(QStringLiteral("Riepilogo delle consumazioni"));
    grdRiepilogo->setGeometry(10, 216, 975, 370);
    grdRiepilogo->setModel(m_model);
    grdRiepilogo->setItemDelegate(new ExportCellDelegate(grdRiepilogo));
    QFont gridFont(fonts::text());
    gridFont.setPixelSize(11);
    grdRiepilogo->setFont(gridFont);
    grdRiepilogo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdRiepilogo->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grdRiepilogo->setWordWrap(false);
    grdRiepilogo->setCornerButtonEnabled(false);
    QHeaderView *rowsHeader = grdRiepilogo->verticalHeader();
    rowsHeader->setSectionResizeMode(QHeaderView::Fixed);
    rowsHeader->setDefaultSectionSize(24);
    rowsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    rowsHeader->setSectionsClickable(false);
    QHeaderView *columnsHeader = grdRiepilogo->horizontalHeader();
    columnsHeader->setFixedHeight(24);
    columnsHeader->setHighlightSections(false);
    columnsHeader->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    columnsHeader->setSectionsClickable(false);
    // The notes take what is left of the width, so the grid scrolls only for a long note.
    columnsHeader->setStretchLastSection(true);
    grdRiepilogo->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(166, 202, 240); color: black; border: 0px; "
                       "border-right: 1px solid rgb(128, 128, 128); border-bottom: 1px solid rgb(128, 128, 128); "
                       "padding-left: 2px; font-family: Verdana; font-size: 11px; }"));
    grdRiepilogo->viewport()->setMouseTracking(true);
    grdRiepilogo->viewport()->installEventFilter(this);

    int x = 10;
    const auto command = [&](IconButton *&member, const char *name, const QString &description,
                             const QPixmap &picture) {
        member = new IconButton(QLatin1String(name), description, g);
        member->setPixmap(picture);
        member->setGeometry(QRect(QPoint(x, 596), artwork::area(picture).size()));
        describe(member);
        x += artwork::area(picture).width() + 6;
    };
    command(btnStampa, "btnStampa", QStringLiteral(" Stampa il riepilogo delle consumazioni."),
            artwork::commandIcon(QStringLiteral("▤"), QStringLiteral("Stampa"), kBillGold, 44));
    command(btnEsporta, "btnEsporta", QStringLiteral(" Esporta il riepilogo in un foglio di Microsoft Excel."),
            artwork::commandIcon(QStringLiteral("X"), QStringLiteral("Esporta"), QColor(33, 115, 70), 44));
    x = 995 - 2 * 66 - 10;
    command(cmdGuida, "cmdGuida", QStringLiteral(" Visualizza la guida in linea."),
            artwork::commandIcon(QStringLiteral("?"), QStringLiteral("Guida"), colours::navy, 44));
    command(cmdEsci, "cmdEsci", QStringLiteral(" Esci da questa schermata di lavoro."),
            artwork::commandIcon(QStringLiteral("×"), QStringLiteral("Esci"), QColor(160, 40, 40), 44));

    // Descriptions of the controls that are not icons, shown while the pointer is over them.
    const std::pair<QWidget *, QString> described[] = {
        {txtDal, QStringLiteral(" Primo giorno del periodo, nella forma gg/mm/aaaa.")},
        {txtAl, QStringLiteral(" Ultimo giorno del periodo, compreso, nella forma gg/mm/aaaa.")},
        {optGiorno, QStringLiteral(" Raggruppa le consumazioni per giorno.")},
        {optCameriere, QStringLiteral(" Raggruppa le consumazioni per cameriere o operatore.")},
        {optLuogo, QStringLiteral(" Raggruppa le consumazioni per tavolo o luogo.")},
        {optProdotto, QStringLiteral(" Raggruppa le consumazioni per prodotto o servizio.")},
        {optConto, QStringLiteral(" Raggruppa le consumazioni per conto.")},
        {chkChiusi, QStringLiteral(" Comprende nel riepilogo anche le consumazioni dei conti chiusi.")},
        {cmdCalcola, QStringLiteral(" Calcola il riepilogo delle consumazioni del periodo indicato.")},
    };
    for (const auto &[control, text] : described) {
        m_descriptions[control] = text;
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }

    // What a screen reader calls each command, and the keys shared with the other screens.
    btnStampa->setAccessibleName(QStringLiteral("Stampa"));
    btnEsporta->setAccessibleName(QStringLiteral("Esporta in Excel"));
    cmdGuida->setAccessibleName(QStringLiteral("Guida"));
    cmdEsci->setAccessibleName(QStringLiteral("Esci"));
    btnStampa->setShortcut(keys::print());
    btnEsporta->setShortcut(keys::exportTo());
    cmdGuida->setShortcut(keys::help());
    connect(cmdCalcola, &QPushButton::clicked, this, &TfrmRiepilogo::cmdCalcolaClick);
    connect(btnStampa, &IconButton::activated, this, &TfrmRiepilogo::btnStampaClick);
    connect(btnEsporta, &IconButton::activated, this, &TfrmRiepilogo::btnEsportaClick);
    connect(cmdGuida, &IconButton::activated, this, &TfrmRiepilogo::cmdGuidaClick);
    connect(cmdEsci, &IconButton::activated, this, &TfrmRiepilogo::cmdEsciClick);

    showEmptyGrid();
}

SummaryGrouping TfrmRiepilogo::grouping() const
{
    if (optCameriere->isChecked())
        return SummaryGrouping::Waiter;
    if (optLuogo->isChecked())
        return SummaryGrouping::Place;
    if (optProdotto->isChecked())
        return SummaryGrouping::Product;
    if (optConto->isChecked())
        return SummaryGrouping::Bill;
    return SummaryGrouping::Day;
}

void TfrmRiepilogo::showEmptyGrid()
{
    ExportGrid empty = summaryGrid(BillSummary{}, grouping());
    empty.rows.clear();
    m_model->setGrid(std::move(empty));
    m_shownTitle.reset();
    restoreWidths();
}

void TfrmRiepilogo::restoreWidths()
{
    const std::vector<int> &widths = summaryGridWidths();
    grdRiepilogo->verticalHeader()->setFixedWidth(widths.front());
    for (std::size_t c = 1; c < widths.size(); ++c)
        grdRiepilogo->horizontalHeader()->resizeSection(static_cast<int>(c - 1), widths[c]);
}

void TfrmRiepilogo::FormShow()
{
    // A new summary every time: today's day at both ends, by day, open bills only.
    const QString today = m_services.clock->today().toString(QStringLiteral("dd/MM/yyyy"));
    txtDal->setText(today);
    txtAl->setText(today);
    optGiorno->setChecked(true);
    chkChiusi->setChecked(false);
    showEmptyGrid();
    if (panInfo)
        panInfo->clear();
    txtDal->setFocus();
    txtDal->selectAll();
}

void TfrmRiepilogo::txtDataKeyPress(QChar &key)
{
    // A day takes digits and its slashes; Enter moves on and Backspace edits.
    const char16_t c = key.unicode();
    if ((c >= u'0' && c <= u'9') || c == u'/' || c == kKeyEnter || c == kKeyBackspace)
        return;
    key = QChar();
}

void TfrmRiepilogo::cmdCalcolaClick()
{
    const auto from = parseDayText(toAnsi(txtDal->text()));
    const auto to = parseDayText(toAnsi(txtAl->text()));
    const QString example = m_services.clock->today().toString(QStringLiteral("dd/MM/yyyy"));
    const QString form =
        QStringLiteral("\r\n\r\nIndicare il giorno nella forma gg/mm/aaaa, per esempio %1.").arg(example);
    if (!from) {
        m_services.messages->warning(this, notApplicableTitle(),
                                     QStringLiteral("Il primo giorno del periodo non è una data valida.") + form);
        txtDal->setFocus();
        return;
    }
    if (!to) {
        m_services.messages->warning(this, notApplicableTitle(),
                                     QStringLiteral("L'ultimo giorno del periodo non è una data valida.") + form);
        txtAl->setFocus();
        return;
    }
    if (dayNumber(*from) > dayNumber(*to)) {
        m_services.messages->warning(this, notApplicableTitle(),
                                     QStringLiteral("Il primo giorno del periodo viene dopo l'ultimo.\r\n\r\nIndicare "
                                                    "un periodo che inizi prima della sua fine o nello stesso "
                                                    "giorno."));
        txtDal->setFocus();
        return;
    }
    const SummaryPeriod period{*from, *to};
    const SummaryGrouping by = grouping();
    const bool closed = chkChiusi->isChecked();
    // The boxes show the days as they were read, in their full form.
    txtDal->setText(fromAnsi(dayText(*from)));
    txtAl->setText(fromAnsi(dayText(*to)));

    BillSummary summary;
    {
        const WaitCursor wait;
        summary = summariseFolder(m_services.folder, period, by, closed);
    }
    if (summary.outcome == BillSummary::Outcome::FileError) {
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    m_model->setGrid(summaryGrid(summary, by));
    m_shownTitle = summaryTitle(period, by, closed);
    restoreWidths();
    if (m_model->rowCount() > 0)
        grdRiepilogo->setCurrentIndex(m_model->index(0, 0));
    if (!summary.uncounted.empty()) {
        const std::size_t n = summary.uncounted.size();
        m_services.messages->information(
            this, QStringLiteral("Consumazioni non conteggiate"),
            (n == 1 ? QStringLiteral("Una consumazione non è stata conteggiata perché la sua data, la quantità o "
                                     "l'importo non si possono leggere.")
                    : QStringLiteral("%1 consumazioni non sono state conteggiate perché la loro data, la quantità o "
                                     "l'importo non si possono leggere.")
                          .arg(n)) +
                QStringLiteral("\r\n\r\nSono elencate in fondo al riepilogo, ciascuna con il suo conto e il suo "
                               "numero, per poterle correggere."));
    }
}

TextGrid TfrmRiepilogo::gridTexts() const
{
    return m_model->texts();
}

void TfrmRiepilogo::btnStampaClick()
{
    QStringList lines;
    if (m_shownTitle) {
        for (const std::string &line : summaryPrintLines(m_model->grid()))
            lines << fromAnsi(line);
    }
    m_services.printer->printList(this, lines, PrintRequest::summary(fromAnsi(m_shownTitle.value_or(std::string()))));
}

void TfrmRiepilogo::btnEsportaClick()
{
    if (!m_shownTitle) {
        m_services.messages->plain(
            this, QStringLiteral("Esportazione non applicabile: calcolare il riepilogo prima di esportarlo."));
        return;
    }
    if (m_services.office)
        m_services.office->excelGrid(this, gridTexts(), QStringLiteral("Riepilogo consumazioni"),
                                     m_model->gridColumns());
}

void TfrmRiepilogo::cmdGuidaClick()
{
    m_services.navigator->showHelp(this, QStringLiteral("Riepilogo delle consumazioni"));
}

void TfrmRiepilogo::cmdEsciClick()
{
    close();
}

bool TfrmRiepilogo::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && panInfo) {
        // A move the control under the pointer ignores reaches the surfaces around it too: the
        // description follows the control, not the surface that would clear it.
        const auto *move = static_cast<QMouseEvent *>(event);
        auto *surface = qobject_cast<QWidget *>(watched);
        QWidget *under = surface ? surface->childAt(move->position().toPoint()) : nullptr;
        for (QObject *w : {static_cast<QObject *>(under), watched}) {
            if (const auto it = m_descriptions.find(w); w && it != m_descriptions.end()) {
                panInfo->setText(it->second);
                return QWidget::eventFilter(watched, event);
            }
        }
        if (watched == grdRiepilogo->viewport()) {
            const QModelIndex current = grdRiepilogo->currentIndex();
            const QString text = current.isValid() ? current.data().toString().trimmed() : QString();
            panInfo->setText(text.isEmpty() ? QStringLiteral(" Il riepilogo: una riga per gruppo, il totale e le "
                                                             "consumazioni non conteggiate.")
                                            : QLatin1Char(' ') + text);
            return QWidget::eventFilter(watched, event);
        }
    }
    return WorkingScreen::eventFilter(watched, event);
}
