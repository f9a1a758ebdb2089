#include "app/tfrmhelpform.h"

#include <QPointer>
#include <QApplication>
#include <QFile>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "common/fonts.h"
#include "app/helptopics.h"
#include "common/artwork.h"
#include "common/widgets.h"

using namespace velmora;

namespace {

QFont verdana(int pixels, bool underline = false)
{
    QFont f(fonts::text());
    f.setPixelSize(pixels);
    f.setUnderline(underline);
    return f;
}

QPixmap pdfIcon()
{
    QPixmap pm = artwork::canvas(QSize(20, 22), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    const QPointF sheet[] = {{3.5, 0.5}, {13.5, 0.5}, {18.5, 5.5}, {18.5, 21.5}, {3.5, 21.5}};
    p.drawPolygon(sheet, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 24, 24));
    p.drawRect(QRectF(0, 11, 17, 8));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(7);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 11, 17, 8), Qt::AlignCenter, QStringLiteral("PDF"));
    return pm;
}

} // namespace

QPixmap TfrmHelpForm::bannerPicture()
{
    QPixmap pm = artwork::canvas(QSize(543, 42));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, artwork::area(pm).width(), 0);
    g.setColorAt(0, QColor(245, 247, 252));
    g.setColorAt(0.6, QColor(214, 224, 244));
    g.setColorAt(1, QColor(150, 170, 214));
    p.fillRect(artwork::area(pm), g);
    p.drawPixmap(6, 3, artwork::logo(QSize(36, 36), 1));
    QFont name(fonts::text());
    name.setBold(true);
    name.setPixelSize(20);
    p.setFont(name);
    p.setPen(colours::navy);
    p.drawText(QRect(50, 0, 200, 42), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora ©"));
    QFont tag(fonts::text());
    tag.setItalic(true);
    tag.setPixelSize(15);
    p.setFont(tag);
    p.setPen(colours::maroon);
    p.drawText(QRect(0, 0, artwork::area(pm).width() - 14, 42), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Guida in linea"));
    p.setPen(colours::maroon);
    p.drawLine(0, 41, artwork::area(pm).width(), 41);
    return pm;
}

TfrmHelpForm::TfrmHelpForm(Services &services, QWidget *parent) : QDialog(parent), m_services(services)
{
    setObjectName(QStringLiteral("TfrmHelpForm"));
    setWindowTitle(QStringLiteral(" Guida in linea"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(561, 459);
    centreWhenShown(this);
    setAutoFillBackground(true);
    setBackground(this, colours::navy);
    setMouseTracking(true);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(9, 8, 543, 42);
    imgLogo->setPixmap(bannerPicture());

    panTitle = new QLabel(QStringLiteral("Titolo argomento guida"), this);
    panTitle->setObjectName(QStringLiteral("panTitle"));
    panTitle->setGeometry(10, 56, 541, 25);
    panTitle->setAutoFillBackground(true);
    {
        QPalette p = panTitle->palette();
        p.setColor(QPalette::Window, Qt::black);
        p.setColor(QPalette::WindowText, Qt::white);
        panTitle->setPalette(p);
    }
    panTitle->setFont(verdana(13));
    panTitle->setAlignment(Qt::AlignCenter);

    panContainer = new QFrame(this);
    panContainer->setObjectName(QStringLiteral("panContainer"));
    panContainer->setGeometry(10, 86, 541, 325);
    panContainer->setFrameShape(QFrame::Box);
    panContainer->setLineWidth(1);
    panContainer->setAutoFillBackground(true);
    {
        QPalette p = panContainer->palette();
        p.setColor(QPalette::Window, colours::navy);
        p.setColor(QPalette::WindowText, QColor(90, 100, 170));
        panContainer->setPalette(p);
    }

    memTopic = new QPlainTextEdit(panContainer);
    memTopic->setAccessibleName(QStringLiteral("Testo della guida"));
    memTopic->setObjectName(QStringLiteral("memTopic"));
    memTopic->setGeometry(8, 8, 525, 309);
    memTopic->setReadOnly(true);
    memTopic->setFrameShape(QFrame::NoFrame);
    memTopic->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memTopic->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memTopic->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memTopic->setFont(verdana(13));
    {
        QPalette p = memTopic->palette();
        p.setColor(QPalette::Base, colours::navy);
        p.setColor(QPalette::Text, Qt::white);
        p.setColor(QPalette::Highlight, QColor(80, 110, 200));
        p.setColor(QPalette::HighlightedText, Qt::white);
        memTopic->setPalette(p);
    }
    memTopic->viewport()->setMouseTracking(true);
    memTopic->viewport()->installEventFilter(this);

    imgPDF = new IconButton(QStringLiteral("imgPDF"), QString(), this, IconButton::Trigger::MouseUp);
    imgPDF->setPixmap(pdfIcon());
    imgPDF->setGeometry(12, 425, 20, 22);

    lblPDF = new IconButton(QStringLiteral("lblPDF"), QString(), this, IconButton::Trigger::MouseUp);
    lblPDF->setText(QStringLiteral("Visualizza guida in formato PDF"));
    lblPDF->setFont(verdana(11, true));
    lblPDF->setGeometry(38, 428, 220, 16);
    setLinkColour(Qt::white);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(476, 420, 75, 28);
    cmdOK->setDefault(true);

    connect(cmdOK, &QPushButton::clicked, this, &TfrmHelpForm::cmdOKClick);
    connect(imgPDF, &IconButton::activated, this, &TfrmHelpForm::imgPDFMouseUp);
    connect(lblPDF, &IconButton::activated, this, &TfrmHelpForm::lblPDFMouseUp);
    connect(imgPDF, &IconButton::hovered, this, &TfrmHelpForm::imgPDFMouseMove);
    connect(lblPDF, &IconButton::hovered, this, &TfrmHelpForm::lblPDFMouseMove);
    // What a screen reader calls each command.
    imgPDF->setAccessibleName(QStringLiteral("Visualizza guida in formato PDF"));
}

void TfrmHelpForm::setTopic(const QString &topic)
{
    // Nothing of a previous topic is kept: title and text are both replaced.
    const help::Topic *found = help::findTopic(topic);
    panTitle->setText(topic);
    memTopic->setPlainText(found ? help::topicText(*found) : QString());
    memTopic->moveCursor(QTextCursor::Start);
    memTopic->verticalScrollBar()->setValue(0);
    setLinkColour(Qt::white);
}

void TfrmHelpForm::showTopic(const QString &topic)
{
    setTopic(topic);
    cmdOK->setFocus();
    exec();
}

void TfrmHelpForm::cmdOKClick()
{
    accept();
}

void TfrmHelpForm::imgPDFMouseUp()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto manual = m_services.file("Guida.pdf");
    // Here no shell reports a missing manual or reader by itself: the program says so.
    MessageService *messages = m_services.messages;
    const QPointer<QWidget> screen(this);
    const QString path = QFile::decodeName(QByteArray(manual.c_str()));
    m_services.shell->openFile(
        manual, [messages, screen, path] { messages->plain(screen.data(), fileNotOpenedMessage(path)); });
    QApplication::restoreOverrideCursor();
}

void TfrmHelpForm::lblPDFMouseUp()
{
    imgPDFMouseUp();
}

void TfrmHelpForm::setLinkColour(const QColor &colour)
{
    QPalette p = lblPDF->palette();
    if (p.color(QPalette::WindowText) == colour)
        return;
    p.setColor(QPalette::WindowText, colour);
    lblPDF->setPalette(p);
}

void TfrmHelpForm::lblPDFMouseMove()
{
    setLinkColour(Qt::red);
}

void TfrmHelpForm::imgPDFMouseMove()
{
    setLinkColour(Qt::red);
}

void TfrmHelpForm::FormMouseMove()
{
    setLinkColour(Qt::white);
}

void TfrmHelpForm::memTopicMouseMove()
{
    setLinkColour(Qt::white);
}

void TfrmHelpForm::mouseMoveEvent(QMouseEvent *event)
{
    FormMouseMove();
    QDialog::mouseMoveEvent(event);
}

bool TfrmHelpForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == memTopic->viewport() && event->type() == QEvent::MouseMove)
        memTopicMouseMove();
    return QDialog::eventFilter(watched, event);
}
