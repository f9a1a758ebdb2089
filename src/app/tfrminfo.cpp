#include "app/tfrminfo.h"

#include <QPointer>
#include <QApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

#include "common/fonts.h"
#include "app/tfrmavvio.h"
#include "common/artwork.h"
#include "common/widgets.h"

using namespace velmora;

namespace {

QFont verdana(int pixels, bool bold = false, bool underline = false)
{
    QFont f(fonts::text());
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

// The information picture: what the program is, who makes it and how to reach them.
QPixmap informationPicture()
{
    QPixmap pm = artwork::canvas(QSize(370, 259), Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient head(0, 0, artwork::area(pm).width(), 0);
    head.setColorAt(0, colours::navy);
    head.setColorAt(1, QColor(40, 60, 160));
    p.fillRect(QRect(0, 0, artwork::area(pm).width(), 28), head);
    p.setFont(verdana(13, true));
    p.setPen(Qt::white);
    p.drawText(QRect(10, 0, artwork::area(pm).width() - 20, 28), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Informazioni sul prodotto"));
    p.fillRect(QRect(0, 28, artwork::area(pm).width(), 3), colours::maroon);

    p.setPen(colours::navy);
    p.setFont(verdana(15, true));
    p.drawText(QRect(10, 38, 350, 22), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora © - versione 1.0"));
    p.setPen(QColor(40, 40, 60));
    p.setFont(verdana(11));
    p.drawText(QRect(10, 62, 350, 64), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Software per gestire l'addebito di servizi e consumazioni sul conto dei clienti di "
                              "alberghi, residence, bed and breakfast, pensioni, stabilimenti balneari e altre "
                              "strutture ricettive."));

    p.setPen(QColor(200, 205, 220));
    p.drawLine(10, 130, 360, 130);
    p.setPen(QColor(40, 40, 60));
    p.setFont(verdana(11, true));
    p.drawText(QRect(10, 138, 350, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora Software"));
    p.setFont(verdana(11));
    p.drawText(QRect(10, 156, 350, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Posta elettronica: ") + TfrmInfo::infoAddress());
    p.drawText(QRect(10, 174, 350, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Sito Internet: www.velmora.it"));

    p.setPen(QColor(200, 205, 220));
    p.drawLine(10, 198, 360, 198);
    p.setPen(colours::maroon);
    p.setFont(verdana(11));
    p.drawText(QRect(10, 204, 350, 50), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Per informazioni su licenze d'uso, aggiornamenti e assistenza fare clic su "
                              "\"Invia e-mail\" oppure visitare il sito Internet."));
    return pm;
}

// The product name written from bottom to top, for the narrow strip beside the information.
QPixmap verticalLogo(const QSize &size)
{
    QPixmap pm = artwork::canvas(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, colours::navy);
    g.setColorAt(1, QColor(30, 50, 140));
    p.fillRect(artwork::area(pm), g);
    p.translate(0, size.height());
    p.rotate(-90);
    p.setFont(verdana(24, true));
    p.setPen(QColor(230, 190, 90));
    p.drawText(QRect(0, 0, size.height(), size.width()), Qt::AlignCenter, QStringLiteral("V E L M O R A"));
    return pm;
}

QPixmap mailIcon()
{
    QPixmap pm = artwork::canvas(QSize(16, 16), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colours::navy, 1));
    p.setBrush(QColor(255, 248, 220));
    p.drawRect(QRectF(0.5, 3.5, 15, 10));
    p.drawLine(QPointF(0.5, 3.5), QPointF(8, 9.5));
    p.drawLine(QPointF(15.5, 3.5), QPointF(8, 9.5));
    return pm;
}

QPixmap webIcon()
{
    QPixmap pm = artwork::canvas(QSize(12, 12), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colours::navy, 1));
    p.setBrush(QColor(170, 210, 250));
    p.drawEllipse(QRectF(0.5, 0.5, 11, 11));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(3.5, 0.5, 5, 11));
    p.drawLine(QPointF(0.5, 6), QPointF(11.5, 6));
    return pm;
}

} // namespace

QString TfrmInfo::infoAddress()
{
    return QStringLiteral("info@velmora.it");
}

QString TfrmInfo::mailLink()
{
    // Subject and body go in as written, spaces included: the mail program reads them so.
    return QStringLiteral("mailto:") + infoAddress() + QStringLiteral("?subject=") +
           QStringLiteral("Software Velmora") + QStringLiteral("&body=") +
           QStringLiteral("Salve, desidererei avere le seguenti informazioni sul software in oggetto:");
}

TfrmInfo::TfrmInfo(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmInfo"));
    setWindowTitle(QStringLiteral(" Informazioni su Velmora ©"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(472, 511);
    centreWhenShown(this);
    setAutoFillBackground(true);
    setBackground(this, colours::silver);
    setMouseTracking(true);

    grpInfo = new QGroupBox(this);
    grpInfo->setObjectName(QStringLiteral("grpInfo"));
    grpInfo->setGeometry(13, 8, 445, 445);
    grpInfo->setMouseTracking(true);
    grpInfo->installEventFilter(this);

    auto *imgMarchio = new QLabel(grpInfo);
    imgMarchio->setObjectName(QStringLiteral("imgMarchio"));
    imgMarchio->setGeometry(14, 18, 102, 102);
    imgMarchio->setPixmap(artwork::logo(QSize(102, 102), 1));

    auto *imgNome = new QLabel(grpInfo);
    imgNome->setObjectName(QStringLiteral("imgNome"));
    imgNome->setGeometry(130, 30, 300, 60);
    imgNome->setPixmap(artwork::logo(QSize(300, 60), 2));
    auto *lblMotto = new QLabel(QStringLiteral("Conti di servizi e consumazioni\nper strutture ricettive"), grpInfo);
    lblMotto->setObjectName(QStringLiteral("lblMotto"));
    lblMotto->setGeometry(132, 86, 300, 34);
    lblMotto->setFont(verdana(11));
    {
        QPalette p = lblMotto->palette();
        p.setColor(QPalette::WindowText, colours::maroon);
        lblMotto->setPalette(p);
    }

    auto *imgLogoVerticale = new QLabel(grpInfo);
    imgLogoVerticale->setObjectName(QStringLiteral("imgLogoVerticale"));
    imgLogoVerticale->setGeometry(14, 140, 40, 263);
    imgLogoVerticale->setPixmap(verticalLogo(QSize(40, 263)));

    panInformativa = new QLabel(grpInfo);
    panInformativa->setObjectName(QStringLiteral("panInformativa"));
    panInformativa->setGeometry(60, 140, 374, 263);
    panInformativa->setAutoFillBackground(true);
    setBackground(panInformativa, Qt::white);
    imgInformativa = new QLabel(panInformativa);
    imgInformativa->setObjectName(QStringLiteral("imgInformativa"));
    imgInformativa->setGeometry(2, 2, 370, 259);
    imgInformativa->setPixmap(informationPicture());

    const auto link = [this](const char *name, const QString &text, int y) {
        auto *label = new IconButton(QLatin1String(name), QString(), this, IconButton::Trigger::MouseUp);
        label->setText(text);
        label->setFont(verdana(11, false, true));
        label->setGeometry(38, y, 160, 16);
        setLinkColour(label, colours::navy);
        return label;
    };
    imgEmail = new IconButton(QStringLiteral("imgEmail"), QString(), this, IconButton::Trigger::MouseUp);
    imgEmail->setPixmap(mailIcon());
    imgEmail->setGeometry(16, 464, 16, 16);
    lblEmail = link("lblEmail", QStringLiteral("Invia e-mail"), 464);
    imgWeb = new IconButton(QStringLiteral("imgWeb"), QString(), this, IconButton::Trigger::MouseUp);
    imgWeb->setPixmap(webIcon());
    imgWeb->setGeometry(18, 487, 12, 12);
    lblWeb = link("lblWeb", QStringLiteral("Visita sito Internet"), 485);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(378, 466, 80, 30);
    cmdOK->setDefault(true);

    connect(imgEmail, &IconButton::activated, this, &TfrmInfo::imgEmailMouseUp);
    connect(lblEmail, &IconButton::activated, this, &TfrmInfo::imgEmailMouseUp);
    connect(imgWeb, &IconButton::activated, this, &TfrmInfo::imgWebMouseUp);
    connect(lblWeb, &IconButton::activated, this, &TfrmInfo::lblWebMouseUp);
    connect(imgEmail, &IconButton::hovered, this, &TfrmInfo::imgEmailMouseMove);
    connect(lblEmail, &IconButton::hovered, this, &TfrmInfo::lblEmailMouseMove);
    connect(imgWeb, &IconButton::hovered, this, &TfrmInfo::imgWebMouseMove);
    connect(lblWeb, &IconButton::hovered, this, &TfrmInfo::lblWebMouseMove);
    connect(cmdOK, &QPushButton::clicked, this, &TfrmInfo::cmdOKClick);
    // What a screen reader calls each command.
    imgEmail->setAccessibleName(QStringLiteral("Invia e-mail"));
    imgWeb->setAccessibleName(QStringLiteral("Visita sito Internet"));
}

void TfrmInfo::imgEmailMouseUp()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QString link = mailLink();
    QApplication::restoreOverrideCursor();
    // The opener may answer after a while; the screen may be closed by then.
    MessageService *messages = m_services.messages;
    const QPointer<QWidget> screen(this);
    m_services.shell->openAddress(link, [messages, screen] {
        QApplication::restoreOverrideCursor();
        messages->plain(screen.data(), QStringLiteral("Invio e-mail non riuscito."));
    });
}

void TfrmInfo::imgWebMouseUp()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_services.shell->openAddress(TfrmAvvio::webAddress()); // a failure is ignored
    QApplication::restoreOverrideCursor();
}

void TfrmInfo::lblWebMouseUp()
{
    imgWebMouseUp();
}

void TfrmInfo::setLinkColour(QLabel *label, const QColor &colour)
{
    // Repainted only when the colour really changes.
    QPalette p = label->palette();
    if (p.color(QPalette::WindowText) == colour)
        return;
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

void TfrmInfo::lblEmailMouseMove()
{
    setLinkColour(lblEmail, Qt::red);
    setLinkColour(lblWeb, colours::navy);
}

void TfrmInfo::imgEmailMouseMove()
{
    lblEmailMouseMove();
}

void TfrmInfo::lblWebMouseMove()
{
    setLinkColour(lblWeb, Qt::red);
    setLinkColour(lblEmail, colours::navy);
}

void TfrmInfo::imgWebMouseMove()
{
    lblWebMouseMove();
}

void TfrmInfo::FormMouseMove()
{
    setLinkColour(lblEmail, colours::navy);
    setLinkColour(lblWeb, colours::navy);
}

void TfrmInfo::grpInfoMouseMove()
{
    FormMouseMove();
}

void TfrmInfo::cmdOKClick()
{
    accept();
}

void TfrmInfo::mouseMoveEvent(QMouseEvent *event)
{
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

bool TfrmInfo::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == grpInfo && event->type() == QEvent::MouseMove) {
        grpInfoMouseMove();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
