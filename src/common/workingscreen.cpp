#include "common/workingscreen.h"

#include <QCloseEvent>
#include <QEvent>
#include <QScreen>

#include "common/fonts.h"
#include "common/artwork.h"
#include "common/failuremessage.h"
#include "common/widgets.h"

namespace velmora {

QPoint centredContainerPos(int outerWidth, int outerHeight, int containerWidth, int containerHeight,
                           int leftOffset, int topOffset)
{
    return {outerWidth / 2 - containerWidth / 2 - leftOffset, outerHeight / 2 - containerHeight / 2 - topOffset};
}

void applyTiledBackground(QWidget *window)
{
    QPalette p = window->palette();
    p.setBrush(QPalette::Window, QBrush(artwork::backgroundTile()));
    window->setPalette(p);
    window->setAutoFillBackground(true);
}

WorkingScreen::WorkingScreen(Services &services, const QString &caption, Geometry geometry, QWidget *parent)
    : QWidget(parent), m_services(services), m_geometry(geometry)
{
    setWindowTitle(caption);
    setMinimumSize(geometry.minWidth, geometry.minHeight);
    setMouseTracking(true);

    btnSfondo = new QPushButton(this);
    btnSfondo->setObjectName(QStringLiteral("btnSfondo"));
    btnSfondo->setIcon(QIcon(artwork::backgroundTile()));
    btnSfondo->hide();

    grpContainer = new QGroupBox(this);
    grpContainer->setObjectName(QStringLiteral("grpContainer"));
    grpContainer->setFixedSize(995, 688);
    grpContainer->setAutoFillBackground(true);
    grpContainer->setStyleSheet(
        QStringLiteral("QGroupBox#grpContainer { background: white; border: 1px solid #8080a0; margin: 0; }"));
    grpContainer->setMouseTracking(true);
    grpContainer->installEventFilter(this);
    installEventFilter(this);
    applyTiledBackground(this);
}

void WorkingScreen::addInfoBar()
{
    panInfo = new QLabel(grpContainer);
    panInfo->setObjectName(QStringLiteral("panInfo"));
    panInfo->setGeometry(1, grpContainer->height() - 26, grpContainer->width() - 2, 25);
    panInfo->setAutoFillBackground(true);
    QPalette p = panInfo->palette();
    p.setColor(QPalette::Window, colours::navy);
    p.setColor(QPalette::WindowText, Qt::white);
    panInfo->setPalette(p);
    panInfo->setFont(QFont(fonts::text(), 8));
    panInfo->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void WorkingScreen::addTitle(const QString &caption, const QColor &colour, const QRect &geometry)
{
    auto *title = new QLabel(grpContainer);
    title->setObjectName(QStringLiteral("imgTitolo"));
    title->setPixmap(artwork::titlePicture(caption, geometry.size(), colour));
    title->setGeometry(geometry);
}

QLabel *WorkingScreen::infoText(const QString &name, const QString &text, const QRect &geometry, int points,
                                Qt::Alignment alignment)
{
    auto *label = new QLabel(text, grpContainer);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(alignment);
    label->setFont(QFont(fonts::text(), points));
    return label;
}

void WorkingScreen::describe(IconButton *icon)
{
    connect(icon, &IconButton::hovered, this, [this](const QString &text) {
        if (panInfo)
            panInfo->setText(text);
    });
}

void WorkingScreen::clearsDescription(QWidget *surface)
{
    surface->setMouseTracking(true);
    surface->installEventFilter(this);
}

bool WorkingScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove && panInfo)
        panInfo->clear();
    return QWidget::eventFilter(watched, event);
}

void WorkingScreen::showWorking()
{
    // Fill the screen even where no window manager honours the maximised state.
    if (QScreen *s = screen())
        setGeometry(s->availableGeometry());
    showMaximized();
    raise();
    activateWindow();
}

void WorkingScreen::moveCard(Arrow arrow, std::optional<std::size_t> count, QLabel *position,
                             const std::function<void(std::size_t)> &show)
{
    if (!count) {
        m_services.messages->plain(this, fileFailureMessage());
        return;
    }
    const ArrowStep step = arrowStep(arrow, toAnsi(position->text()), *count);
    if (step.clearPosition)
        position->clear();
    if (step.kind == ArrowStep::Kind::EmptyArchive)
        m_services.messages->information(this, QStringLiteral("Visualizzazione dati non applicabile"),
                                         QStringLiteral("L'archivio non contiene nessuna scheda."));
    else if (step.kind == ArrowStep::Kind::Show)
        show(step.record);
}

void WorkingScreen::showEvent(QShowEvent *event)
{
    applyTiledBackground(this);
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void WorkingScreen::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
    hide();
    if (returnsToStart() && m_services.navigator)
        m_services.navigator->showStart();
}

void WorkingScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormCanResize();
}

void WorkingScreen::FormCanResize()
{
    // The offsets stand for the frame of a Windows window around the client area; the frame
    // here belongs to the window manager, so the formula is applied to the client area grown
    // by that same frame, which keeps the content centred in what the user sees.
    const int outerW = width() + 2 * m_geometry.leftOffset;
    const int outerH = height() + 2 * m_geometry.topOffset;
    grpContainer->move(centredContainerPos(outerW, outerH, grpContainer->width(), grpContainer->height(),
                                           m_geometry.leftOffset, m_geometry.topOffset));
}

} // namespace velmora
