#include "app/tfrmavvio.h"

#include <QApplication>
#include <QBuffer>
#include <QDialog>
#include <QMouseEvent>

#include "bills/billartwork.h"
#include "app/tfrmcopie.h"
#include "common/fonts.h"
#include "common/artwork.h"

using namespace velmora;

namespace {

QLabel *bar(QWidget *parent, const QRect &geometry, const QColor &colour)
{
    auto *label = new QLabel(parent);
    label->setGeometry(geometry);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    p.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(p);
    return label;
}

} // namespace

QString TfrmAvvio::webAddress()
{
    return QStringLiteral("https://www.velmora.it");
}

TfrmAvvio::TfrmAvvio(Services &services, QWidget *parent)
    : WorkingScreen(services, QStringLiteral("Velmora"), {1030, 742, 8, 18}, parent)
{
    setObjectName(QStringLiteral("TfrmAvvio"));
    QWidget *g = grpContainer;

    // Heading: logos over the navy subtitle bar and a maroon rule.
    auto *logoLeft = new QLabel(g);
    logoLeft->setObjectName(QStringLiteral("imgLogo1"));
    logoLeft->setPixmap(artwork::logo(QSize(64, 64), 1));
    logoLeft->setGeometry(90, 8, 64, 64);
    auto *logoName = new QLabel(g);
    logoName->setObjectName(QStringLiteral("imgLogo2"));
    logoName->setPixmap(artwork::logo(QSize(300, 64), 2));
    logoName->setAlignment(Qt::AlignCenter);
    logoName->setGeometry(347, 8, 300, 64);
    auto *logoRight = new QLabel(g);
    logoRight->setObjectName(QStringLiteral("imgLogo3"));
    logoRight->setPixmap(artwork::logo(QSize(64, 64), 1));
    logoRight->setGeometry(841, 8, 64, 64);

    lblSubTitle = bar(g, QRect(1, 80, 993, 30), colours::navy);
    lblSubTitle->setObjectName(QStringLiteral("lblSubTitle"));
    lblSubTitle->setText(
        QStringLiteral("Software per gestire l'addebito di servizi e consumazioni sul conto dei clienti di "
                       "strutture ricettive."));
    lblSubTitle->setAlignment(Qt::AlignCenter);
    lblSubTitle->setFont(QFont(fonts::text(), 9));
    bar(g, QRect(1, 110, 993, 4), colours::maroon);

    struct Tile
    {
        IconButton **picture;
        IconButton **title;
        const char *name;
        const char *key;
        const char *caption;
        const char *info;
        const char *command;
        QColor colour;
    };
    const Tile tiles[4] = {
        {&btnClienti, &titClienti, "Clienti", "clienti", "ANAGRAFICA CLIENTI",
         "Schede dei clienti con documenti, recapiti e dati di pagamento; controllo di codice fiscale, partita IVA, "
         "carta di credito e IBAN.",
         "Anagrafica clienti", QColor(29, 63, 143)},
        {&btnProdotti, &titProdotti, "Prodotti", "prodotti", "PRODOTTI E SERVIZI",
         "Archivio di prodotti e servizi con prezzi, fornitori, giacenze e soglia di sottoscorta.",
         "Prodotti e servizi", QColor(122, 28, 28)},
        {&btnCrea, &titCrea, "Crea", "crea", "CREA NUOVO CONTO",
         "Apertura di un nuovo conto intestato a un cliente, a una camera, a un tavolo o a un ombrellone.",
         "Crea nuovo conto", QColor(31, 110, 74)},
        {&btnForniture, &titForniture, "Forniture", "forniture", "APRI CONTO ESISTENTE",
         "Registrazione di consumazioni e servizi nei conti aperti, con stampa ed esportazione del conto.",
         "Apri conto esistente", QColor(138, 98, 18)},
    };
    const int left = (995 - 4 * 227 - 3 * 12) / 2;
    const int step = 227 + 12;
    for (int i = 0; i < 4; ++i) {
        const Tile &t = tiles[i];
        const int x = left + i * step;
        auto *picture = new IconButton(QStringLiteral("btn") + QLatin1String(t.name), QString(), g);
        picture->setPixmap(artwork::tilePicture(QLatin1String(t.key)));
        picture->setGeometry(x, 128, 227, 256);
        auto *title = new IconButton(QStringLiteral("tit") + QLatin1String(t.name), QString(), g);
        title->setPixmap(artwork::titlePicture(QString::fromUtf8(t.caption), QSize(225, 43), t.colour));
        title->setGeometry(x + 1, 388, 225, 43);
        // One tab stop a tile: its title is the same command.
        title->setTwinOf(picture);
        // Screen readers hear the command and what the tile's information picture says.
        for (IconButton *b : {picture, title}) {
            b->setAccessibleName(QString::fromUtf8(t.command));
            b->setAccessibleDescription(QString::fromUtf8(t.info));
        }
        auto *info = new QLabel(g);
        info->setObjectName(QStringLiteral("inf") + QLatin1String(t.name));
        info->setPixmap(artwork::infoPicture(QString::fromUtf8(t.info), QSize(227, 104)));
        info->setGeometry(x, 435, 227, 104);
        *t.picture = picture;
        *t.title = title;
    }
    for (IconButton *b : {btnClienti, titClienti})
        connect(b, &IconButton::activated, this, &TfrmAvvio::btnClientiClick);
    for (IconButton *b : {btnProdotti, titProdotti})
        connect(b, &IconButton::activated, this, &TfrmAvvio::btnProdottiClick);
    for (IconButton *b : {btnCrea, titCrea})
        connect(b, &IconButton::activated, this, &TfrmAvvio::btnCreaClick);
    for (IconButton *b : {btnForniture, titForniture})
        connect(b, &IconButton::activated, this, &TfrmAvvio::btnFornitureClick);

    // Foot: maroon rule, the navy bar with the web notice, and the banner.
    bar(g, QRect(1, 556, 993, 4), colours::maroon);
    lblWeb = bar(g, QRect(1, 560, 993, 30), colours::navy);
    lblWeb->setObjectName(QStringLiteral("lblWeb"));
    lblWeb->setText(QStringLiteral("Velmora © è un prodotto di Velmora Software - www.velmora.it"));
    lblWeb->setAlignment(Qt::AlignCenter);
    lblWeb->setFont(QFont(fonts::text(), 9));
    lblWeb->setCursor(Qt::PointingHandCursor);
    lblWeb->setToolTip(QStringLiteral("  Visita il sito Internet dell'autore "));
    lblWeb->installEventFilter(this);

    imgAnimata = new QLabel(g);
    imgAnimata->setObjectName(QStringLiteral("imgAnimata"));
    imgAnimata->setGeometry((995 - 451) / 2, 604, 451, 10);

    const auto icon = [g](const char *name, const char *hint, const QString &symbol, const QColor &colour,
                          const QPoint &at) {
        auto *b = new IconButton(QLatin1String(name), QString::fromUtf8(hint), g);
        b->setAccessibleName(QString::fromUtf8(hint).trimmed());
        b->setPixmap(artwork::symbolIcon(symbol, colour, 40));
        b->setToolTip(QString::fromUtf8(hint));
        b->setGeometry(QRect(at, pictureSize(b)));
        return b;
    };
    imgInfo = icon("imgInfo", " Informazioni su... ", QStringLiteral("i"), colours::navy, QPoint(8, 16));
    imgGuida = icon("imgGuida", " Guida ", QStringLiteral("?"), QColor(31, 110, 74), QPoint(995 - 64, 16));
    imgCopyright = icon("imgCopyright", " Copyright ", QStringLiteral("©"), colours::maroon, QPoint(8, 626));
    imgEsci = icon("imgEsci", " Esci ", QStringLiteral("×"), QColor(160, 40, 40), QPoint(995 - 64, 626));
    connect(imgInfo, &IconButton::activated, this, &TfrmAvvio::imgInfoClick);
    connect(imgGuida, &IconButton::activated, this, &TfrmAvvio::imgGuidaClick);
    imgGuida->setShortcut(keys::help());
    connect(imgCopyright, &IconButton::activated, this, &TfrmAvvio::imgCopyrightClick);
    connect(imgEsci, &IconButton::activated, this, &TfrmAvvio::imgEsciClick);

    // Beside the credits, the summary of the consumptions of every bill.
    imgRiepilogo = new IconButton(QStringLiteral("imgRiepilogo"), QStringLiteral(" Riepilogo delle consumazioni "), g);
    imgRiepilogo->setPixmap(billart::summaryIcon(QColor(138, 98, 18), 40));
    imgRiepilogo->setToolTip(imgRiepilogo->description());
    imgRiepilogo->setGeometry(QRect(QPoint(64, 626), pictureSize(imgRiepilogo)));
    connect(imgRiepilogo, &IconButton::activated, this, &TfrmAvvio::imgRiepilogoClick);
    imgRiepilogo->setAccessibleName(QStringLiteral("Riepilogo consumazioni"));
    imgCopie = new IconButton(QStringLiteral("imgCopie"), QStringLiteral(" Copie di sicurezza degli archivi "), g);
    imgCopie->setPixmap(copiesIcon(QColor(22, 96, 110), 40));
    imgCopie->setToolTip(imgCopie->description());
    imgCopie->setGeometry(QRect(QPoint(995 - 64 - 56, 626), pictureSize(imgCopie)));
    connect(imgCopie, &IconButton::activated, this, &TfrmAvvio::imgCopieClick);
    imgCopie->setAccessibleName(QStringLiteral("Copie di sicurezza"));
}

void TfrmAvvio::FormShow()
{
    // A fresh decode on every show, so the banner starts again from its first frame.
    imgAnimata->setMovie(nullptr);
    if (m_banner) {
        m_banner->stop();
        delete m_banner;
    }
    delete m_bannerData;
    m_bannerData = new QBuffer(this);
    m_bannerData->setData(artwork::bannerGif());
    m_bannerData->open(QIODevice::ReadOnly);
    m_banner = new QMovie(m_bannerData, QByteArrayLiteral("gif"), this);
    imgAnimata->setMovie(m_banner);
    m_banner->start();
}

void TfrmAvvio::openEnvironment(Environment environment)
{
    m_services.navigator->showEnvironment(environment);
    hide();
}

void TfrmAvvio::btnClientiClick()
{
    openEnvironment(Environment::Clients);
}

void TfrmAvvio::btnProdottiClick()
{
    openEnvironment(Environment::Products);
}

void TfrmAvvio::btnCreaClick()
{
    openEnvironment(Environment::CreateBill);
}

void TfrmAvvio::btnFornitureClick()
{
    openEnvironment(Environment::Catalogue);
}

void TfrmAvvio::imgInfoClick()
{
    m_services.navigator->showInfo(this);
}

void TfrmAvvio::imgGuidaClick()
{
    m_services.navigator->showHelp(this, QStringLiteral("Uno sguardo a Velmora"));
}

void TfrmAvvio::imgCopyrightClick()
{
    m_services.navigator->showSplash(this);
}

void TfrmAvvio::imgEsciClick()
{
    close();
}

void TfrmAvvio::imgRiepilogoClick()
{
    openEnvironment(Environment::Summary);
}

void TfrmAvvio::imgCopieClick()
{
    openEnvironment(Environment::SafetyCopies);
}

void TfrmAvvio::lblWebClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_services.shell->openAddress(webAddress()); // a failure is ignored
    QApplication::restoreOverrideCursor();
}

void TfrmAvvio::FormClose()
{
    // Closing the start screen by any means ends the program, after the day's automatic copy.
    automaticCopyAtEnd(m_services, this);
    QCoreApplication::quit();
}

bool TfrmAvvio::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lblWeb && event->type() == QEvent::MouseButtonRelease) {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton)
            lblWebClick();
        return true;
    }
    return WorkingScreen::eventFilter(watched, event);
}
