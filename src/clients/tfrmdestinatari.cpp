#include "clients/tfrmdestinatari.h"

#include <algorithm>

#include <QPointer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QSignalBlocker>

#include "common/fonts.h"
#include "clients/tfrmallegatides.h"
#include "clients/tfrmcartellades.h"
#include "clients/tfrmcercadestinatari.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/keyfilters.h"
#include "common/office.h"
#include "common/navigation.h"
#include "common/recordfile.h"
#include "common/text.h"
#include "validators/tfrmcarta.h"
#include "validators/tfrmcodfisc.h"
#include "validators/tfrmiban.h"
#include "validators/tfrmiva.h"

using namespace velmora;

namespace {

constexpr int kLabelWidth = 176;
constexpr int kBoxLeft = 186;
constexpr int kBoxWidth = 262;
constexpr int kRowStep = 30;

const QColor kPlate(38, 70, 140);

// The card's command pictures: a plate with a drawn symbol and the command's name below.
enum class Symbol { New, Save, Search, Word, Excel, Delete, Attach, Folder, Help, Exit };

QPixmap commandPicture(Symbol symbol, const QString &caption, const QColor &colour)
{
    constexpr int size = 40;
    QPixmap pm = artwork::canvas(QSize(size + 16, size + 13), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(8.5, 0.5, size - 1, size - 1);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour.darker(120));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawRoundedRect(plate, 8, 8);

    const QPointF c = plate.center();
    p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QFont letter(fonts::text());
    letter.setBold(true);
    letter.setPixelSize(20);
    switch (symbol) {
    case Symbol::New: {
        // A blank sheet with a folded corner and a plus.
        QPainterPath sheet;
        sheet.moveTo(c.x() - 9, c.y() - 12);
        sheet.lineTo(c.x() + 4, c.y() - 12);
        sheet.lineTo(c.x() + 9, c.y() - 7);
        sheet.lineTo(c.x() + 9, c.y() + 12);
        sheet.lineTo(c.x() - 9, c.y() + 12);
        sheet.closeSubpath();
        p.drawPath(sheet);
        p.drawLine(QPointF(c.x(), c.y() - 3), QPointF(c.x(), c.y() + 7));
        p.drawLine(QPointF(c.x() - 5, c.y() + 2), QPointF(c.x() + 5, c.y() + 2));
        break;
    }
    case Symbol::Save: {
        // The floppy disk.
        QPainterPath disk;
        disk.moveTo(c.x() - 11, c.y() - 11);
        disk.lineTo(c.x() + 7, c.y() - 11);
        disk.lineTo(c.x() + 11, c.y() - 7);
        disk.lineTo(c.x() + 11, c.y() + 11);
        disk.lineTo(c.x() - 11, c.y() + 11);
        disk.closeSubpath();
        p.drawPath(disk);
        p.drawRect(QRectF(c.x() - 6, c.y() - 11, 11, 7));
        p.drawRect(QRectF(c.x() - 7, c.y() + 2, 14, 9));
        break;
    }
    case Symbol::Search:
        p.drawEllipse(QPointF(c.x() - 3, c.y() - 3), 8, 8);
        p.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(c.x() + 3, c.y() + 3), QPointF(c.x() + 10, c.y() + 10));
        break;
    case Symbol::Word:
    case Symbol::Excel:
        p.drawRect(QRectF(c.x() - 11, c.y() - 11, 22, 22));
        p.setFont(letter);
        p.setPen(Qt::white);
        p.drawText(QRectF(c.x() - 11, c.y() - 11, 22, 22), Qt::AlignCenter,
                   symbol == Symbol::Word ? QStringLiteral("W") : QStringLiteral("X"));
        break;
    case Symbol::Delete:
        // The waste bin.
        p.drawLine(QPointF(c.x() - 11, c.y() - 8), QPointF(c.x() + 11, c.y() - 8));
        p.drawLine(QPointF(c.x() - 4, c.y() - 12), QPointF(c.x() + 4, c.y() - 12));
        p.drawLine(QPointF(c.x() - 8, c.y() - 8), QPointF(c.x() - 6, c.y() + 12));
        p.drawLine(QPointF(c.x() - 6, c.y() + 12), QPointF(c.x() + 6, c.y() + 12));
        p.drawLine(QPointF(c.x() + 6, c.y() + 12), QPointF(c.x() + 8, c.y() - 8));
        p.drawLine(QPointF(c.x() - 2, c.y() - 4), QPointF(c.x() - 2, c.y() + 8));
        p.drawLine(QPointF(c.x() + 2, c.y() - 4), QPointF(c.x() + 2, c.y() + 8));
        break;
    case Symbol::Attach: {
        // A paper clip.
        QPainterPath clip;
        clip.moveTo(c.x() + 5, c.y() - 4);
        clip.lineTo(c.x() + 5, c.y() + 7);
        clip.arcTo(QRectF(c.x() - 5, c.y() + 2, 10, 10), 0, -180);
        clip.lineTo(c.x() - 5, c.y() - 8);
        clip.arcTo(QRectF(c.x() - 5, c.y() - 13, 7, 7), 180, -180);
        clip.lineTo(c.x() + 2, c.y() + 6);
        p.drawPath(clip);
        break;
    }
    case Symbol::Folder: {
        QPainterPath folder;
        folder.moveTo(c.x() - 12, c.y() - 8);
        folder.lineTo(c.x() - 4, c.y() - 8);
        folder.lineTo(c.x() - 1, c.y() - 5);
        folder.lineTo(c.x() + 12, c.y() - 5);
        folder.lineTo(c.x() + 12, c.y() + 10);
        folder.lineTo(c.x() - 12, c.y() + 10);
        folder.closeSubpath();
        p.drawPath(folder);
        p.drawLine(QPointF(c.x() - 12, c.y() - 1), QPointF(c.x() + 12, c.y() - 1));
        break;
    }
    case Symbol::Help:
        p.setFont(letter);
        p.setPen(Qt::white);
        p.drawText(plate, Qt::AlignCenter, QStringLiteral("?"));
        break;
    case Symbol::Exit: {
        // An open door with an arrow leaving it.
        p.drawRect(QRectF(c.x() - 11, c.y() - 12, 13, 24));
        p.drawLine(QPointF(c.x() - 3, c.y()), QPointF(c.x() + 11, c.y()));
        p.drawLine(QPointF(c.x() + 6, c.y() - 5), QPointF(c.x() + 11, c.y()));
        p.drawLine(QPointF(c.x() + 6, c.y() + 5), QPointF(c.x() + 11, c.y()));
        break;
    }
    }

    QFont f(fonts::text());
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(QColor(40, 40, 60));
    p.drawText(QRectF(0, size, artwork::area(pm).width(), 13), Qt::AlignCenter, caption);
    return pm;
}

// A navigation arrow: one or two triangles, with a bar for first and last.
QPixmap arrowPicture(bool forward, bool toEnd)
{
    QPixmap pm = artwork::canvas(QSize(36, 30), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 30);
    g.setColorAt(0, kPlate.lighter(150));
    g.setColorAt(1, kPlate.darker(120));
    p.setBrush(g);
    p.setPen(QPen(kPlate.darker(160), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, 35, 29), 6, 6);
    p.setBrush(Qt::white);
    p.setPen(Qt::NoPen);
    const double dir = forward ? 1 : -1;
    const double cx = 18;
    QPolygonF tri;
    tri << QPointF(cx - 6 * dir, 8) << QPointF(cx + 6 * dir, 15) << QPointF(cx - 6 * dir, 22);
    p.drawPolygon(tri);
    if (toEnd)
        p.drawRect(QRectF(forward ? cx + 6 : cx - 9, 8, 3, 14));
    return pm;
}

// The trimmed text of a box, trimmed as the archive trims its values.
QString trimmedText(const QString &text)
{
    return fromAnsi(trimField(toAnsi(text)));
}

bool allDigits(const QString &text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
}

// The card's fields are line boxes, the notes box and hidden labels; each is read and written
// through its own kind.
QString fieldText(const QWidget *field)
{
    if (const auto *line = qobject_cast<const QLineEdit *>(field))
        return line->text();
    if (const auto *memo = qobject_cast<const QPlainTextEdit *>(field))
        return memo->toPlainText();
    if (const auto *label = qobject_cast<const QLabel *>(field))
        return label->text();
    return {};
}

void setFieldText(QWidget *field, const QString &text)
{
    if (auto *line = qobject_cast<QLineEdit *>(field))
        line->setText(text);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(field))
        memo->setPlainText(text);
    else if (auto *label = qobject_cast<QLabel *>(field))
        label->setText(text);
}

void upperCaseKeepingCaret(QLineEdit *box)
{
    const QString text = box->text();
    if (text.isEmpty())
        return;
    const QString upper = fromAnsi(upperAZ(toAnsi(text)));
    if (upper == text)
        return;
    const int caret = box->cursorPosition();
    const QSignalBlocker detached(box);
    box->setText(upper);
    box->setCursorPosition(caret);
}

} // namespace

TfrmDestinatari::TfrmDestinatari(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Anagrafica clienti"), {1030, 742, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmDestinatari"));
    addInfoBar();
    buildCommands();
    buildPanels();
}

void TfrmDestinatari::buildPanels()
{
    QWidget *g = grpContainer;
    const QFont boxFont = [] {
        QFont f(fonts::text(), 8);
        f.setBold(true);
        return f;
    }();
    const QFont labelFont(fonts::text(), 8);

    const auto panel = [this, g](const char *name, const QRect &geometry) {
        auto *frame = new QFrame(g);
        frame->setObjectName(QLatin1String(name));
        frame->setGeometry(geometry);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setFrameShadow(QFrame::Sunken);
        frame->setAutoFillBackground(true);
        setBackground(frame, QColor(244, 246, 251));
        clearsDescription(frame);
        return frame;
    };
    const auto rows = [](int n) { return 10 + n * kRowStep; };
    panRiquadro01 = panel("panRiquadro01", QRect(10, 78, 482, rows(7)));
    panRiquadro02 = panel("panRiquadro02", QRect(10, 78 + rows(7) + 8, 482, rows(5)));
    panRiquadro03 = panel("panRiquadro03", QRect(10, 78 + rows(7) + rows(5) + 16, 482, rows(2)));
    panRiquadro04 = panel("panRiquadro04", QRect(503, 78, 482, rows(7)));
    panRiquadro05 = panel("panRiquadro05", QRect(503, 78 + rows(7) + 8, 482, rows(5)));
    const int noteTop = 78 + rows(7) + rows(5) + 16;
    panRiquadro06 = panel("panRiquadro06", QRect(503, noteTop, 482, 654 - noteTop));

    struct Row
    {
        TextBox **box;
        QFrame *panel;
        const char *label;
    };
    const Row layout[] = {
        {&txtCliente, panRiquadro01, "Cognome e nome cliente:"},
        {&txtDataNasc, panRiquadro01, "Data di nascita:"},
        {&txtLuogoNasc, panRiquadro01, "Luogo di nascita:"},
        {&txtCamera, panRiquadro01, "Camera / Alloggio:"},
        {&txtPermanenza, panRiquadro01, "Periodo di permanenza:"},
        {&txtIndirizzo, panRiquadro01, "Indirizzo di residenza:"},
        {&txtCitta, panRiquadro01, "CAP, città e sigla provincia:"},
        {&txtTipoDoc, panRiquadro02, "Tipo documento:"},
        {&txtNumDoc, panRiquadro02, "Numero:"},
        {&txtEnteDoc, panRiquadro02, "Ente di rilascio:"},
        {&txtRilDoc, panRiquadro02, "Data di rilascio:"},
        {&txtScaDoc, panRiquadro02, "Data di scadenza:"},
        {&txtCodFisc, panRiquadro03, "Codice fiscale:"},
        {&txtIva, panRiquadro03, "Partita IVA:"},
        {&txtCarta, panRiquadro04, "Carta di credito n."},
        {&txtTipoCarta, panRiquadro04, "Tipo:"},
        {&txtScaCarta, panRiquadro04, "Scadenza:"},
        {&txtIban, panRiquadro04, "Codice IBAN:"},
        {&txtBanca, panRiquadro04, "Banca:"},
        {&txtIntestatario, panRiquadro04, "Intestatario C/C:"},
        {&txtPagamento, panRiquadro04, "Modalità di pagamento:"},
        {&txtTelCasa, panRiquadro05, "Tel. casa:"},
        {&txtTelUff, panRiquadro05, "Tel. ufficio:"},
        {&txtTelCel, panRiquadro05, "Tel. cellulare:"},
        {&txtFax, panRiquadro05, "Fax:"},
        {&txtEmail, panRiquadro05, "E-mail:"},
    };
    const RecordLayout &record = clientLayout();
    std::vector<QWidget *> chain;
    QFrame *current = nullptr;
    int row = 0;
    for (std::size_t f = 0; f < std::size(layout); ++f) {
        const Row &r = layout[f];
        row = r.panel == current ? row + 1 : 0;
        current = r.panel;
        const int y = 8 + row * kRowStep;
        auto *label = new QLabel(QString::fromUtf8(r.label), r.panel);
        label->setObjectName(QStringLiteral("lbl") + QLatin1String(client::fieldName(f)) + QStringLiteral("Caption"));
        label->setFont(labelFont);
        label->setGeometry(10, y, kLabelWidth, 22);
        auto *box = new TextBox(r.panel);
        box->setObjectName(QStringLiteral("txt") + QLatin1String(client::fieldName(f)));
        box->setFont(boxFont);
        box->setMaxLength(static_cast<int>(record.capacity(f)));
        box->setGeometry(kBoxLeft, y, kBoxWidth, 22);
        label->setBuddy(box);
        keepStorable(box, m_services.messages);
        *r.box = box;
        m_fields[f] = box;
        chain.push_back(box);
    }

    auto *noteLabel = new QLabel(QStringLiteral("Note:"), panRiquadro06);
    noteLabel->setObjectName(QStringLiteral("lblNoteCaption"));
    noteLabel->setFont(labelFont);
    noteLabel->setGeometry(10, 8, kLabelWidth, 22);
    txtNote = new MemoBox(panRiquadro06);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    noteLabel->setBuddy(txtNote);
    txtNote->setFont(boxFont);
    txtNote->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtNote->setGeometry(10, 34, 462, panRiquadro06->height() - 44);
    // Enter leads back to the first box and never starts a new line.
    txtNote->swallowEnter = true;
    keepStorable(txtNote, m_services.messages);
    m_fields[client::Note] = txtNote;
    chain.push_back(txtNote);
    setEnterChain(chain);

    const char *hidden[] = {"lblFile01", "lblFile02", "lblFile03",   "lblDesc01",
                            "lblDesc02", "lblDesc03", "lblCartella", "lblCartellaDesc"};
    QLabel **hiddenMembers[] = {&lblFile01, &lblFile02, &lblFile03,   &lblDesc01,
                                &lblDesc02, &lblDesc03, &lblCartella, &lblCartellaDesc};
    for (std::size_t i = 0; i < std::size(hidden); ++i) {
        *hiddenMembers[i] = hiddenLabel(QLatin1String(hidden[i]), g);
        m_fields[client::File01 + i] = *hiddenMembers[i];
    }

    // The check icons and the mail icon sit at the end of their boxes.
    const auto sideIcon = [this](const char *name, const char *description, const QString &symbol, const QColor &colour,
                                 QLineEdit *box, QWidget *panel) {
        auto *icon = new IconButton(QLatin1String(name), QString::fromUtf8(description), panel);
        icon->setPixmap(artwork::symbolIcon(symbol, colour, 22));
        icon->setGeometry(QRect(QPoint(box->geometry().right() - 4, box->y()), pictureSize(icon)));
        describe(icon);
        // Tab reaches the check right after the box it checks.
        setTabOrder(box, icon);
        return icon;
    };
    const QColor checkColour(31, 110, 74);
    chkCodFisc = sideIcon("chkCodFisc", " Controlla il codice fiscale.", QStringLiteral("✓"), checkColour, txtCodFisc,
                          panRiquadro03);
    chkIva = sideIcon("chkIva", " Controlla il numero di partita IVA.", QStringLiteral("✓"), checkColour, txtIva,
                      panRiquadro03);
    chkNumCarta = sideIcon("chkNumCarta", " Controlla il numero di carta di credito.", QStringLiteral("✓"), checkColour,
                           txtCarta, panRiquadro04);
    chkIban = sideIcon("chkIban", " Controlla le coordinate bancarie IBAN.", QStringLiteral("✓"), checkColour, txtIban,
                       panRiquadro04);
    imgEmail = sideIcon("imgEmail", " Invia un messaggio e-mail all'indirizzo indicato.", QStringLiteral("@"), kPlate,
                        txtEmail, panRiquadro05);

    // The free corner under the fiscal data carries the program's mark.
    auto *mark = new QLabel(g);
    mark->setObjectName(QStringLiteral("imgLogo"));
    const int markTop = panRiquadro03->geometry().bottom() + 12;
    mark->setPixmap(artwork::logo(QSize(260, 60)));
    mark->setAlignment(Qt::AlignCenter);
    mark->setGeometry(10, markTop, 482, std::max(0, 654 - markTop));

    connect(chkCodFisc, &IconButton::activated, this, &TfrmDestinatari::chkCodFiscClick);
    connect(chkIva, &IconButton::activated, this, &TfrmDestinatari::chkIvaClick);
    connect(chkNumCarta, &IconButton::activated, this, &TfrmDestinatari::chkNumCartaClick);
    connect(chkIban, &IconButton::activated, this, &TfrmDestinatari::chkIbanClick);
    connect(imgEmail, &IconButton::activated, this, &TfrmDestinatari::imgEmailClick);
    // What a screen reader calls each command.
    chkCodFisc->setAccessibleName(QStringLiteral("Controlla codice fiscale"));
    chkIva->setAccessibleName(QStringLiteral("Controlla partita IVA"));
    chkNumCarta->setAccessibleName(QStringLiteral("Controlla carta di credito"));
    chkIban->setAccessibleName(QStringLiteral("Controlla IBAN"));
    imgEmail->setAccessibleName(QStringLiteral("Invia e-mail"));

    txtIva->hooks.onKeyPress = [this](QChar &key) { txtIvaKeyPress(key); };
    txtCarta->hooks.onKeyPress = [this](QChar &key) { txtCartaKeyPress(key); };
    // Ctrl+V is typing too; only the context menu's paste passes unfiltered.
    txtIva->hooks.pasteAsTyping = true;
    txtCarta->hooks.pasteAsTyping = true;
    connect(txtCodFisc, &QLineEdit::textChanged, this, &TfrmDestinatari::txtCodFiscChange);
    connect(txtIban, &QLineEdit::textChanged, this, &TfrmDestinatari::txtIbanChange);
    txtNote->hooks.onKeyPress = [this](QChar &key) { txtNoteKeyPress(key); };
    connect(txtNote, &QPlainTextEdit::textChanged, this, &TfrmDestinatari::txtNoteChange);
}

void TfrmDestinatari::buildCommands()
{
    QWidget *g = grpContainer;
    const auto command = [this, g](const char *name, const char *description, Symbol symbol, const QString &caption,
                                   const QColor &colour, int x) {
        auto *icon = new IconButton(QLatin1String(name), QString::fromUtf8(description), g);
        icon->setPixmap(commandPicture(symbol, caption, colour));
        icon->setGeometry(QRect(QPoint(x, 8), pictureSize(icon)));
        describe(icon);
        return icon;
    };
    const QColor red(160, 40, 40);
    const QColor green(31, 110, 74);
    cmdNuovo = command("cmdNuovo", " Prepara la schermata ad accogliere una nuova scheda.", Symbol::New,
                       QStringLiteral("Nuovo"), kPlate, 10);
    cmdSalva = command("cmdSalva",
                       " Salva in archivio i dati relativi alla scheda corrente oppure aggiorna la scheda esistente.",
                       Symbol::Save, QStringLiteral("Salva"), kPlate, 68);
    cmdElimina = command("cmdElimina", " Elimina la scheda corrente dall'archivio.", Symbol::Delete,
                         QStringLiteral("Elimina"), red, 126);
    cmdRicerca =
        command("cmdRicerca", " Trova una scheda in archivio.", Symbol::Search, QStringLiteral("Trova"), kPlate, 184);
    cmdWord = command("cmdWord", " Esporta la scheda corrente in un file di Microsoft Word.", Symbol::Word,
                      QStringLiteral("Word"), QColor(43, 87, 154), 242);
    cmdExcel = command("cmdExcel", " Esporta l'archivio corrente in un foglio di Microsoft Excel.", Symbol::Excel,
                       QStringLiteral("Excel"), QColor(33, 115, 70), 300);
    cmdAllega = command("cmdAllega", " Allega file alla scheda corrente.", Symbol::Attach, QStringLiteral("Allega"),
                        QColor(138, 98, 18), 358);
    cmdAssocia = command("cmdAssocia", " Associa una cartella alla scheda corrente.", Symbol::Folder,
                         QStringLiteral("Cartella"), QColor(138, 98, 18), 416);
    cmdGuida = command("cmdGuida", " Visualizza una pagina della guida in linea sensibile al contesto.", Symbol::Help,
                       QStringLiteral("Guida"), green, 870);
    cmdEsci =
        command("cmdEsci", " Esce dalla schermata di lavoro corrente.", Symbol::Exit, QStringLiteral("Esci"), red, 928);

    const auto arrow = [this, g](const char *name, const char *description, bool forward, bool toEnd, int x) {
        auto *icon = new IconButton(QLatin1String(name), QString::fromUtf8(description), g);
        icon->setPixmap(arrowPicture(forward, toEnd));
        icon->setGeometry(QRect(QPoint(x, 16), pictureSize(icon)));
        describe(icon);
        return icon;
    };
    imgPrimo = arrow("imgPrimo", " Visualizza la prima scheda in archivio.", false, true, 536);
    imgIndietro = arrow("imgIndietro", " Visualizza la scheda precedente in archivio.", false, false, 576);
    lblPosizione = new QLabel(g);
    lblPosizione->setObjectName(QStringLiteral("lblPosizione"));
    lblPosizione->setGeometry(616, 16, 80, 30);
    lblPosizione->setAlignment(Qt::AlignCenter);
    QFont positionFont(fonts::text(), 10);
    positionFont.setBold(true);
    lblPosizione->setFont(positionFont);
    lblPosizione->setFrameShape(QFrame::StyledPanel);
    imgAvanti = arrow("imgAvanti", " Visualizza la scheda successiva in archivio.", true, false, 700);
    imgUltimo = arrow("imgUltimo", " Visualizza l'ultima scheda in archivio", true, true, 740);

    auto *rule = new QLabel(g);
    rule->setGeometry(1, 66, 993, 3);
    rule->setAutoFillBackground(true);
    setBackground(rule, colours::maroon);

    connect(cmdNuovo, &IconButton::activated, this, &TfrmDestinatari::cmdNuovoClick);
    connect(cmdSalva, &IconButton::activated, this, &TfrmDestinatari::cmdSalvaClick);
    connect(cmdRicerca, &IconButton::activated, this, &TfrmDestinatari::cmdRicercaClick);
    connect(cmdWord, &IconButton::activated, this, &TfrmDestinatari::cmdWordClick);
    connect(cmdExcel, &IconButton::activated, this, &TfrmDestinatari::cmdExcelClick);
    connect(imgPrimo, &IconButton::activated, this, &TfrmDestinatari::imgPrimoClick);
    connect(imgIndietro, &IconButton::activated, this, &TfrmDestinatari::imgIndietroClick);
    connect(imgAvanti, &IconButton::activated, this, &TfrmDestinatari::imgAvantiClick);
    connect(imgUltimo, &IconButton::activated, this, &TfrmDestinatari::imgUltimoClick);
    connect(cmdElimina, &IconButton::activated, this, &TfrmDestinatari::cmdEliminaClick);
    connect(cmdAllega, &IconButton::activated, this, &TfrmDestinatari::cmdAllegaClick);
    connect(cmdAssocia, &IconButton::activated, this, &TfrmDestinatari::cmdAssociaClick);
    connect(cmdGuida, &IconButton::activated, this, &TfrmDestinatari::cmdGuidaClick);
    connect(cmdEsci, &IconButton::activated, this, &TfrmDestinatari::cmdEsciClick);
    cmdGuida->setShortcut(keys::help());
    cmdNuovo->setShortcut(keys::newCard());
    cmdSalva->setShortcut(keys::save());
    cmdExcel->setShortcut(keys::exportTo());
    imgPrimo->setShortcut(keys::first());
    imgIndietro->setShortcut(keys::previous());
    imgAvanti->setShortcut(keys::next());
    imgUltimo->setShortcut(keys::last());
    // What a screen reader calls each command.
    cmdNuovo->setAccessibleName(QStringLiteral("Nuovo"));
    cmdSalva->setAccessibleName(QStringLiteral("Salva"));
    cmdElimina->setAccessibleName(QStringLiteral("Elimina"));
    cmdRicerca->setAccessibleName(QStringLiteral("Trova"));
    cmdWord->setAccessibleName(QStringLiteral("Esporta scheda in Word"));
    cmdExcel->setAccessibleName(QStringLiteral("Esporta archivio in Excel"));
    cmdAllega->setAccessibleName(QStringLiteral("Allega file"));
    cmdAssocia->setAccessibleName(QStringLiteral("Associa cartella"));
    cmdGuida->setAccessibleName(QStringLiteral("Guida"));
    cmdEsci->setAccessibleName(QStringLiteral("Esci"));
    imgPrimo->setAccessibleName(QStringLiteral("Prima scheda"));
    imgIndietro->setAccessibleName(QStringLiteral("Scheda precedente"));
    imgAvanti->setAccessibleName(QStringLiteral("Scheda successiva"));
    imgUltimo->setAccessibleName(QStringLiteral("Ultima scheda"));
}

void TfrmDestinatari::FormShow()
{
    clearCard();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmDestinatari::clearCard()
{
    for (QWidget *field : m_fields)
        setFieldText(field, QString());
    lblPosizione->clear();
    m_card.forget();
}

bool TfrmDestinatari::showRecord(std::size_t n)
{
    const RecordFile archive(m_services.file(kClientArchive), clientLayout().size());
    std::string record;
    if (!archive.read(n, record)) {
        fileError();
        return false;
    }
    showCard(record, clientLayout().decode(record), n);
    return true;
}

void TfrmDestinatari::showCard(const std::string &record, const std::vector<std::string> &values, std::size_t n)
{
    for (std::size_t f = 0; f < client::FieldCount; ++f)
        setFieldText(m_fields[f], fromAnsi(values[f]));
    lblPosizione->setText(QString::number(n));
    m_card.hold(record);
}

std::string TfrmDestinatari::cardRecord() const
{
    std::vector<std::string> values;
    values.reserve(client::FieldCount);
    for (const QWidget *field : m_fields)
        values.push_back(toAnsi(fieldText(field)));
    return clientLayout().encode(values);
}

void TfrmDestinatari::fileError()
{
    m_services.messages->plain(this, fileFailureMessage());
}

void TfrmDestinatari::reportRefused(CardStore::Outcome outcome)
{
    // Nothing was written: the card keeps what the user typed.
    m_services.messages->plain(this,
                               outcome == CardStore::Outcome::Changed ? cardChangedMessage() : fileFailureMessage());
}

void TfrmDestinatari::cmdNuovoClick()
{
    clearCard();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmDestinatari::cmdSalvaClick()
{
    if (trimmedText(txtCliente->text()).isEmpty()) {
        m_services.messages->warning(
            nullptr, QStringLiteral("Salvataggio scheda non applicabile"),
            QStringLiteral("Per salvare la scheda è necessario indicare il nome del cliente."));
        txtCliente->setFocus(Qt::OtherFocusReason);
        return;
    }
    const CardStore::Saved saved = m_card.save(RecordFile(m_services.file(kClientArchive), clientLayout().size()),
                                               toAnsi(lblPosizione->text()), cardRecord());
    if (saved.outcome != CardStore::Outcome::Done) {
        reportRefused(saved.outcome);
        return;
    }
    // The card shows what was stored: values trimmed and cut as the archive keeps them.
    const std::string &stored = m_card.held();
    showCard(stored, clientLayout().decode(stored), saved.number);
    if (saved.appended)
        m_services.messages->information(nullptr, QStringLiteral("Salvataggio scheda effettuato con successo"),
                                         QStringLiteral("La scheda corrente è stata inserita in archivio."));
    else
        m_services.messages->information(
            nullptr, QStringLiteral("Aggiornamento scheda effettuato con successo"),
            QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio."));
}

void TfrmDestinatari::arrowClick(Arrow arrow)
{
    moveCard(arrow, RecordFile(m_services.file(kClientArchive), clientLayout().size()).count(), lblPosizione,
             [this](std::size_t n) { showRecord(n); });
}

void TfrmDestinatari::imgPrimoClick()
{
    arrowClick(Arrow::First);
}

void TfrmDestinatari::imgIndietroClick()
{
    arrowClick(Arrow::Previous);
}

void TfrmDestinatari::imgAvantiClick()
{
    arrowClick(Arrow::Next);
}

void TfrmDestinatari::imgUltimoClick()
{
    arrowClick(Arrow::Last);
}

void TfrmDestinatari::cmdEliminaClick()
{
    if (isNewCard(toAnsi(lblPosizione->text()))) {
        m_services.messages->warning(
            nullptr, QStringLiteral("Attenzione: operazione non applicabile"),
            QStringLiteral("La cancellazione può essere applicata soltanto ad una scheda già registrata in archivio."));
        return;
    }
    if (!m_services.messages->question(
            nullptr, QStringLiteral("Conferma cancellazione scheda"),
            QStringLiteral("Attenzione: si è deciso di eliminare la scheda corrente. I dati cancellati non potranno "
                           "essere recuperati.\r\n\r\nSi vuole proprio eliminare la scheda corrente?")))
        return;
    const CardStore::Outcome removed = m_card.remove(RecordFile(m_services.file(kClientArchive), clientLayout().size()),
                                                     toAnsi(lblPosizione->text()), m_services.file(kClientTemp));
    if (removed != CardStore::Outcome::Done) {
        reportRefused(removed);
        return;
    }
    clearCard();
    txtCliente->setFocus(Qt::OtherFocusReason);
}

void TfrmDestinatari::cmdRicercaClick()
{
    TfrmCercaDestinatari search(m_services, this);
    search.setCaller(Caller::Anagrafica);
    search.exec();
    // The chosen card replaces the one on screen, hidden references and record number included.
    if (const auto &chosen = search.chosen())
        showCard(chosen->record, chosen->values, chosen->number);
}

void TfrmDestinatari::cmdWordClick()
{
    if (trimmedText(txtCliente->text()).isEmpty()) {
        m_services.messages->warning(nullptr, QStringLiteral("Esportazione scheda non applicabile"),
                                     QStringLiteral("Per poter esportare la scheda corrente in Microsoft Word è "
                                                    "necessario compilare il campo relativo al nome del cliente."));
        txtCliente->setFocus(Qt::OtherFocusReason);
        return;
    }
    // What the card shows, saved or not; attachments and folder stay out of the document.
    const std::pair<const char *, QString> rows[] = {
        {"Cognome e nome cliente:", txtCliente->text()},
        {"Data di nascita:", txtDataNasc->text()},
        {"Luogo di nascita:", txtLuogoNasc->text()},
        {"Camera / Alloggio:", txtCamera->text()},
        {"Periodo di permanenza:", txtPermanenza->text()},
        {"Indirizzo di residenza:", txtIndirizzo->text()},
        {"CAP, città e sigla provincia:", txtCitta->text()},
        {"Tipo documento:", txtTipoDoc->text()},
        {"Numero documento:", txtNumDoc->text()},
        {"Ente di rilascio:", txtEnteDoc->text()},
        {"Data di rilascio:", txtRilDoc->text()},
        {"Data di scadenza:", txtScaDoc->text()},
        {"Codice fiscale", txtCodFisc->text()},
        {"Partita IVA:", txtIva->text()},
        {"Numero carta di credito:", txtCarta->text()},
        {"Tipo carta di credito:", txtTipoCarta->text()},
        {"Scadenza carta di credito:", txtScaCarta->text()},
        {"Codice IBAN:", txtIban->text()},
        {"Banca:", txtBanca->text()},
        {"Intestatario C/C:", txtIntestatario->text()},
        {"Modalità di pagamento:", txtPagamento->text()},
        {"Tel. casa:", txtTelCasa->text()},
        {"Tel. ufficio:", txtTelUff->text()},
        {"Tel cellulare:", txtTelCel->text()},
        {"Fax:", txtFax->text()},
        {"E-mail:", txtEmail->text()},
        {"Note:", txtNote->text()},
    };
    WordCard card;
    card.headings << QStringLiteral("SCHEDA ANAGRAFICA CLIENTE");
    for (const auto &[label, value] : rows)
        card.rows.emplace_back(QString::fromUtf8(label), trimmedText(value));
    m_services.office->wordCard(this, card);
}

void TfrmDestinatari::cmdExcelClick()
{
    // The export dialog lives for the whole run and reloads the archive at every showing.
    m_services.navigator->showArchiveExport(this, ArchiveExport::Clients);
}

void TfrmDestinatari::cmdAllegaClick()
{
    // The references change on the card only on "Applica e chiudi"; Save stores them.
    const ReferenceLabels labels[] = {{lblFile01, lblDesc01}, {lblFile02, lblDesc02}, {lblFile03, lblDesc03}};
    TfrmAllegatiDes attachments(m_services, this);
    attachments.setFiles({labels[0].reference(), labels[1].reference(), labels[2].reference()});
    if (attachments.exec() != QDialog::Accepted)
        return;
    const AttachedFiles files = attachments.files();
    for (std::size_t i = 0; i < files.size(); ++i)
        labels[i].show(files[i]);
}

void TfrmDestinatari::cmdAssociaClick()
{
    const ReferenceLabels labels{lblCartella, lblCartellaDesc};
    TfrmCartellaDes folder(m_services, this);
    folder.setFolder(labels.reference());
    if (folder.exec() == QDialog::Accepted)
        labels.show(folder.folder());
}

void TfrmDestinatari::imgEmailClick()
{
    // An empty address still opens a new message, without recipient. No shell reports a missing
    // mail program by itself here: the program says so.
    MessageService *messages = m_services.messages;
    const QPointer<QWidget> screen(this);
    m_services.shell->openAddress(QStringLiteral("mailto:") + trimmedText(txtEmail->text()), [messages, screen] {
        messages->plain(screen.data(), QStringLiteral("Invio e-mail non riuscito."));
    });
}

void TfrmDestinatari::openCheck(CheckDialog &dialog, const QString &value)
{
    dialog.setValue(value);
    dialog.exec();
}

void TfrmDestinatari::chkCodFiscClick()
{
    const QString code = trimmedText(txtCodFisc->text());
    if (!code.isEmpty() && allDigits(code)) {
        // A fiscal code of digits only is checked as a VAT number, with the captions saying so.
        TfrmIva check(m_services, this);
        check.setNumericFiscalCodeMode();
        openCheck(check, code);
        return;
    }
    TfrmCodFisc check(m_services, this);
    openCheck(check, code);
}

void TfrmDestinatari::chkIvaClick()
{
    TfrmIva check(m_services, this);
    openCheck(check, trimmedText(txtIva->text()));
}

void TfrmDestinatari::chkNumCartaClick()
{
    TfrmCarta check(m_services, this);
    openCheck(check, trimmedText(txtCarta->text()));
}

void TfrmDestinatari::chkIbanClick()
{
    TfrmIban check(m_services, this);
    openCheck(check, trimmedText(txtIban->text()));
}

void TfrmDestinatari::cmdGuidaClick()
{
    m_services.navigator->showHelp(this, QStringLiteral("Gestione anagrafica clienti"));
}

void TfrmDestinatari::cmdEsciClick()
{
    close();
}

namespace {

// Digits-only boxes: true when the key may reach the box.
bool digitKeyAccepted(QChar key)
{
    const char c = key.unicode() < 128 ? static_cast<char>(key.unicode()) : '\x7f';
    return digitsOnlyKey(c) == KeyVerdict::Accept;
}

} // namespace

void TfrmDestinatari::txtIvaKeyPress(QChar &key)
{
    if (digitKeyAccepted(key))
        return;
    key = QChar();
    m_services.messages->plain(
        this,
        QStringLiteral("Attenzione: carattere non valido. Indicare il numero di partita IVA digitando solo valori "
                       "numerici."));
}

void TfrmDestinatari::txtCartaKeyPress(QChar &key)
{
    if (digitKeyAccepted(key))
        return;
    key = QChar();
    m_services.messages->plain(this, QStringLiteral("Attenzione: carattere non valido. Indicare il numero di carta di "
                                                    "credito digitando solo valori numerici senza trattini o spazi."));
}

void TfrmDestinatari::txtCodFiscChange()
{
    upperCaseKeepingCaret(txtCodFisc);
}

void TfrmDestinatari::txtIbanChange()
{
    upperCaseKeepingCaret(txtIban);
}

void TfrmDestinatari::txtNoteKeyPress(QChar &key)
{
    // The notes box stops typing at its field's capacity like every other box.
    const auto capacity = static_cast<qsizetype>(clientLayout().capacity(client::Note));
    if (key.unicode() != 8 && key.unicode() != 13 && !txtNote->textCursor().hasSelection() &&
        txtNote->toPlainText().size() >= capacity)
        key = QChar();
}

void TfrmDestinatari::txtNoteChange()
{
    // Pasted text is cut to the capacity.
    const auto capacity = static_cast<qsizetype>(clientLayout().capacity(client::Note));
    if (m_noteGuard || txtNote->toPlainText().size() <= capacity)
        return;
    m_noteGuard = true;
    QTextCursor cursor = txtNote->textCursor();
    const int caret = std::min<int>(cursor.position(), static_cast<int>(capacity));
    txtNote->setPlainText(txtNote->toPlainText().left(capacity));
    cursor = txtNote->textCursor();
    cursor.setPosition(caret);
    txtNote->setTextCursor(cursor);
    m_noteGuard = false;
}
