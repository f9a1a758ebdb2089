#include "bills/tfrmcrea.h"

#include "common/fonts.h"
#include "bills/billfiles.h"
#include "bills/consumption.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/text.h"

using namespace velmora;

namespace {

const QColor kBillGreen(31, 110, 74);

// Characters a bill name cannot take: the nine a file name cannot hold and the control
// characters (a pasted line feed or tab). Typing cannot give them; pasted ones become spaces.
bool refusedInName(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return isForbiddenNameChar(static_cast<char>(u)) || isNameControl(static_cast<char>(u));
    return u < 0xA0;
}

QString existingNameMessage()
{
    return QStringLiteral("Il nome del conto indicato già esiste in archivio.\r\n\r\nInserire un nome diverso oppure, "
                          "se si desidera visualizzare un conto già creato, utilizzare la funzione Apri conto "
                          "esistente.");
}

QString longNameMessage()
{
    return QStringLiteral("Impossibile creare il nuovo conto in quanto il nome indicato è troppo lungo.\r\n\r\n"
                          "Inserire un nome più breve prima di premere il pulsante Applica e chiudi.");
}

} // namespace

TfrmCrea::TfrmCrea(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral(" Velmora © - Creazione nuovo conto"), {1022, 738, 4, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmCrea"));
    QWidget *g = grpContainer;

    addTitle(QStringLiteral("CREA NUOVO CONTO"), kBillGreen, QRect(40, 30, 915, 56));

    lblInfo01 = infoText(QStringLiteral("lblInfo01"),
                         QStringLiteral("Indicare il nome del nuovo conto che si intende creare nella casella di testo "
                                        "sottostante e premere il pulsante Applica e chiudi."),
                         QRect(80, 130, 835, 44), 10, Qt::AlignLeft | Qt::AlignVCenter);

    panTitolo = new QLabel(QStringLiteral("Nome conto:"), g);
    panTitolo->setObjectName(QStringLiteral("panTitolo"));
    panTitolo->setGeometry(80, 200, 835, 30);
    panTitolo->setAutoFillBackground(true);
    QPalette heading = panTitolo->palette();
    heading.setColor(QPalette::Window, kBillGreen);
    heading.setColor(QPalette::WindowText, Qt::white);
    panTitolo->setPalette(heading);
    QFont headingFont(fonts::text());
    headingFont.setPixelSize(14);
    headingFont.setBold(true);
    panTitolo->setFont(headingFont);
    panTitolo->setIndent(8);

    txtClasse = new TextBox(g, colours::white);
    txtClasse->setObjectName(QStringLiteral("txtClasse"));
    txtClasse->setAccessibleName(QStringLiteral("Nome del nuovo conto"));
    txtClasse->setGeometry(80, 234, 835, 36);
    txtClasse->setMaxLength(250);
    keepStorable(txtClasse, m_services.messages);
    QFont boxFont(fonts::text());
    boxFont.setPixelSize(16);
    boxFont.setBold(true);
    txtClasse->setFont(boxFont);
    txtClasse->hooks.onKeyPress = [this](QChar &key) { txtClasseKeyPress(key); };

    lblInfo02 = infoText(QStringLiteral("lblInfo02"),
                         QStringLiteral("Il nome attribuito al conto apparirà nell'elenco di selezione visualizzato "
                                        "attraverso la funzione Apri conto esistente. "),
                         QRect(80, 300, 835, 44), 10, Qt::AlignLeft | Qt::AlignVCenter);
    lblInfo03 = infoText(QStringLiteral("lblInfo03"),
                         QStringLiteral("Per uscire da questa schermata senza creare un nuovo conto fare clic sul "
                                        "pulsante Annulla. "),
                         QRect(80, 356, 835, 44), 10, Qt::AlignLeft | Qt::AlignVCenter);

    imgApplica = new IconButton(QStringLiteral("imgApplica"), QStringLiteral(" Applica e chiudi "), g);
    imgApplica->setPixmap(
        artwork::commandIcon(QStringLiteral("✓"), QStringLiteral("Applica e chiudi"), kBillGreen, 64));
    imgApplica->setGeometry(QRect(QPoint(497 - 8 - pictureSize(imgApplica).width(), 450), pictureSize(imgApplica)));
    imgAnnulla = new IconButton(QStringLiteral("imgAnnulla"), QStringLiteral(" Annulla "), g);
    imgAnnulla->setPixmap(
        artwork::commandIcon(QStringLiteral("✗"), QStringLiteral("Annulla"), QColor(160, 40, 40), 64));
    imgAnnulla->setGeometry(QRect(QPoint(497 + 8, 450), pictureSize(imgAnnulla)));
    imgGuida = new IconButton(QStringLiteral("imgGuida"), QStringLiteral(" Guida "), g);
    imgGuida->setPixmap(artwork::symbolIcon(QStringLiteral("?"), colours::navy, 40));
    imgGuida->setToolTip(QStringLiteral(" Guida "));
    imgGuida->setGeometry(QRect(QPoint(995 - 80, 688 - 72), pictureSize(imgGuida)));

    connect(imgApplica, &IconButton::activated, this, &TfrmCrea::imgApplicaClick);
    connect(imgAnnulla, &IconButton::activated, this, &TfrmCrea::imgAnnullaClick);
    connect(imgGuida, &IconButton::activated, this, &TfrmCrea::imgGuidaClick);
    imgGuida->setShortcut(keys::help());
    // What a screen reader calls each command.
    imgApplica->setAccessibleName(QStringLiteral("Applica e chiudi"));
    imgAnnulla->setAccessibleName(QStringLiteral("Annulla"));
    imgGuida->setAccessibleName(QStringLiteral("Guida"));
}

void TfrmCrea::FormShow()
{
    txtClasse->clear();
    txtClasse->setFocus();
}

void TfrmCrea::txtClasseKeyPress(QChar &key)
{
    if (refusedInName(key))
        key = QChar();
}

void TfrmCrea::refuse(const QString &text)
{
    m_services.messages->warning(this, QStringLiteral("Salvataggio conto non applicabile"), text);
    txtClasse->setFocus();
}

void TfrmCrea::imgApplicaClick()
{
    // Pasted text may hold what typing cannot: those characters become spaces, shown in the box.
    QString shown = txtClasse->text();
    for (QChar &c : shown)
        if (refusedInName(c))
            c = QLatin1Char(' ');
    if (shown != txtClasse->text())
        txtClasse->setText(shown);

    const BillCreation created = createBill(m_services.folder, toAnsi(shown));
    // Messages come after the lock is released, so no other workstation waits on a box.
    switch (created.outcome) {
    case BillCreation::Outcome::Created:
        break;
    case BillCreation::Outcome::NoName:
        refuse(QStringLiteral("Impossibile creare il nuovo conto in quanto non è stato indicato nessun nome.\r\n\r\n"
                              "Inserire il nome del conto nella casella di testo prima di premere il pulsante "
                              "Applica e chiudi."));
        return;
    case BillCreation::Outcome::Exists:
        refuse(existingNameMessage());
        return;
    case BillCreation::Outcome::TooLong:
        refuse(longNameMessage());
        return;
    case BillCreation::Outcome::FileError:
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    m_services.messages->information(
        this, QStringLiteral("Salvataggio conto effettuato"),
        QStringLiteral("Il file relativo al nuovo conto è stato creato con successo.\r\n\r\n"
                       "E' ora possibile visualizzarlo nell'elenco dei conti esistenti."));
    close();
}

void TfrmCrea::imgAnnullaClick()
{
    close();
}

void TfrmCrea::imgGuidaClick()
{
    m_services.navigator->showHelp(this, QStringLiteral("Creazione di un nuovo conto"));
}
