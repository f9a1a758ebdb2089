#include "app/tfrmsplash.h"

#include <chrono>
#include <cmath>

#include <QApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "app/tfrmavvio.h"
#include "common/widgets.h"

using namespace velmora;

namespace {

constexpr int kBackWidth = 597;
constexpr int kBackHeight = 362;
constexpr int kSpriteWidth = 108;
constexpr int kSpriteHeight = 60;
// The colour that stands for "no sprite here"; no pixel of the fish uses it.
const QRgb kKeyColour = qRgb(255, 0, 255);

void drawCentredText(QPainter &p, const QRect &box, const QString &text, const QFont &font, const QColor &colour,
                     const QColor &shadow)
{
    p.setFont(font);
    p.setPen(shadow);
    p.drawText(box.translated(2, 2), Qt::AlignCenter, text);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

} // namespace

QImage TfrmSplash::backgroundArtwork()
{
    QImage image(kBackWidth, kBackHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Sea water: light near the surface, deep towards the sand.
    QLinearGradient water(0, 0, 0, kBackHeight);
    water.setColorAt(0.0, QColor(38, 132, 170));
    water.setColorAt(0.55, QColor(14, 62, 112));
    water.setColorAt(1.0, QColor(6, 24, 58));
    p.fillRect(image.rect(), water);

    // Light falling from the surface.
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 6; ++k) {
        QPainterPath ray;
        const double x = 40 + k * 105;
        ray.moveTo(x, 0);
        ray.lineTo(x + 46, 0);
        ray.lineTo(x + 130, kBackHeight);
        ray.lineTo(x + 60, kBackHeight);
        ray.closeSubpath();
        p.setBrush(QColor(255, 255, 255, 14));
        p.drawPath(ray);
    }

    // Sand and a few weeds.
    QPainterPath sand;
    sand.moveTo(0, kBackHeight - 34);
    sand.cubicTo(150, kBackHeight - 52, 330, kBackHeight - 18, kBackWidth, kBackHeight - 40);
    sand.lineTo(kBackWidth, kBackHeight);
    sand.lineTo(0, kBackHeight);
    sand.closeSubpath();
    QLinearGradient sandColour(0, kBackHeight - 52, 0, kBackHeight);
    sandColour.setColorAt(0, QColor(176, 150, 98));
    sandColour.setColorAt(1, QColor(110, 88, 52));
    p.setBrush(sandColour);
    p.drawPath(sand);
    p.setBrush(Qt::NoBrush);
    const int weeds[] = {28, 64, 520, 556, 575};
    for (int k = 0; k < 5; ++k) {
        QPainterPath weed;
        const double x = weeds[k];
        weed.moveTo(x, kBackHeight - 30);
        weed.cubicTo(x - 14, kBackHeight - 80, x + 16, kBackHeight - 110, x - 4, kBackHeight - 150 + k * 12);
        p.setPen(QPen(QColor(40, 120, 80), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(weed);
    }

    // Bubbles in fixed places.
    std::mt19937 place(1234);
    for (int k = 0; k < 38; ++k) {
        const int x = static_cast<int>(place() % kBackWidth);
        const int y = static_cast<int>(place() % (kBackHeight - 60));
        const int r = 2 + static_cast<int>(place() % 5);
        p.setPen(QPen(QColor(210, 240, 255, 150), 1));
        p.setBrush(QColor(255, 255, 255, 40));
        p.drawEllipse(QPoint(x, y), r, r);
    }

    // The notice: product, purpose, maker and site.
    QFont title(QStringLiteral("DejaVu Serif"));
    title.setBold(true);
    title.setPixelSize(64);
    drawCentredText(p, QRect(0, 70, kBackWidth, 80), QStringLiteral("Velmora ©"), title, QColor(246, 214, 120),
                    QColor(0, 0, 0, 140));
    QFont subtitle(QStringLiteral("DejaVu Sans"));
    subtitle.setPixelSize(15);
    drawCentredText(p, QRect(0, 152, kBackWidth, 24),
                    QStringLiteral("Conti di servizi e consumazioni per strutture ricettive"), subtitle, Qt::white,
                    QColor(0, 0, 0, 120));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(12);
    drawCentredText(p, QRect(0, 250, kBackWidth, 20), QStringLiteral("Versione 1.0 - © Velmora Software"), small,
                    QColor(230, 240, 250), QColor(0, 0, 0, 120));
    drawCentredText(p, QRect(0, 270, kBackWidth, 20),
                    QStringLiteral("Fare clic per visitare il sito Internet www.velmora.it"), small,
                    QColor(230, 240, 250), QColor(0, 0, 0, 120));
    return image;
}

QImage TfrmSplash::spriteArtwork()
{
    // A tropical fish, drawn smooth on a clear plate and then laid on the key colour with hard
    // edges, so the key colour marks exactly the pixels outside the fish.
    QImage fish(kSpriteWidth, kSpriteHeight, QImage::Format_ARGB32);
    fish.fill(Qt::transparent);
    {
        QPainter p(&fish);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath tail;
        tail.moveTo(24, 30);
        tail.lineTo(3, 10);
        tail.quadTo(10, 30, 3, 50);
        tail.closeSubpath();
        p.setPen(QPen(QColor(120, 50, 10), 1.5));
        p.setBrush(QColor(240, 120, 30));
        p.drawPath(tail);

        QPainterPath fin;
        fin.moveTo(44, 14);
        fin.quadTo(60, 0, 78, 12);
        fin.closeSubpath();
        p.drawPath(fin);

        QPainterPath body;
        body.moveTo(18, 30);
        body.cubicTo(34, 6, 82, 4, 104, 30);
        body.cubicTo(82, 56, 34, 54, 18, 30);
        QLinearGradient shade(0, 8, 0, 52);
        shade.setColorAt(0, QColor(255, 196, 60));
        shade.setColorAt(1, QColor(226, 100, 24));
        p.setBrush(shade);
        p.drawPath(body);

        // White bands with dark edges.
        p.save();
        p.setClipPath(body);
        for (const int x : {46, 72}) {
            p.setPen(QPen(QColor(30, 30, 40), 2));
            p.setBrush(QColor(250, 250, 245));
            p.drawRoundedRect(QRectF(x - 5, 0, 10, kSpriteHeight), 4, 4);
        }
        p.restore();

        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(88, 26), 5.5, 5.5);
        p.setBrush(QColor(20, 20, 30));
        p.drawEllipse(QPointF(89, 26), 3, 3);
        p.setPen(QPen(QColor(120, 50, 10), 1.5));
        p.drawArc(QRectF(92, 30, 10, 8), 200 * 16, 100 * 16);
    }

    QImage sprite(kSpriteWidth, kSpriteHeight, QImage::Format_RGB888);
    for (int y = 0; y < kSpriteHeight; ++y) {
        for (int x = 0; x < kSpriteWidth; ++x) {
            const QColor c = fish.pixelColor(x, y);
            QRgb rgb = kKeyColour;
            if (c.alpha() >= 128) {
                rgb = qRgb(c.red(), c.green(), c.blue());
                if (rgb == kKeyColour)
                    rgb = qRgb(254, 0, 254);
            }
            sprite.setPixel(x, y, rgb);
        }
    }
    return sprite;
}

TfrmSplash::TfrmSplash(Services &services, QWidget *parent)
    : QDialog(parent), m_services(services), m_imageArray(services.messages)
{
    setObjectName(QStringLiteral("TfrmSplash"));
    setWindowTitle(QStringLiteral(" Velmora © - un prodotto di Velmora Software"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint);
    setFixedSize(600, 368);
    centreWhenShown(this);
    setAutoFillBackground(true);
    setBackground(this, Qt::black);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("  Visita il sito Internet dell'autore "));
    setAttribute(Qt::WA_OpaquePaintEvent);

    BackImage = new QLabel(this);
    BackImage->setObjectName(QStringLiteral("BackImage"));
    BackImage->setGeometry(0, 0, kBackWidth, kBackHeight);
    BackImage->setPixmap(QPixmap::fromImage(backgroundArtwork()));
    BackImage->hide();

    m_spritePicture = spriteArtwork();
    SpriteImage = new QLabel(this);
    SpriteImage->setObjectName(QStringLiteral("SpriteImage"));
    SpriteImage->setGeometry(0, 0, kSpriteWidth, kSpriteHeight);
    SpriteImage->setPixmap(QPixmap::fromImage(m_spritePicture));
    SpriteImage->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &TfrmSplash::Timer1Timer);

    FormCreate();
}

double TfrmSplash::randomReal()
{
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random);
}

void TfrmSplash::FormCreate()
{
    m_background = BackImage->pixmap().toImage().convertToFormat(QImage::Format_RGB888);
    m_imageArray.LoadFromBitmap(m_spritePicture);

    m_field.BW = m_background.width();
    m_field.BH = m_background.height();
    m_field.DMax = m_field.BH;
    m_field.SW = m_spritePicture.width();
    m_field.SH = m_spritePicture.height();

    m_random.seed(static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
    sprites::Random random;
    random.real = [this] { return randomReal(); };
    random.below = [this](int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); };
    m_sprites = sprites::startSprites(m_field, random);

    const QColor transparent = m_imageArray.TransparentColor();
    m_transparent = qRgb(transparent.red(), transparent.green(), transparent.blue());

    m_backBuffer = QImage(m_field.BW, m_field.BH, QImage::Format_RGB888);
    QPainter p(&m_backBuffer);
    p.drawImage(0, 0, m_background);
}

QImage TfrmSplash::transparentSprite(const QImage &rendered) const
{
    QImage sprite = rendered.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < sprite.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(sprite.scanLine(y));
        for (int x = 0; x < sprite.width(); ++x) {
            if ((line[x] & 0x00ffffffu) == (m_transparent & 0x00ffffffu))
                line[x] = 0;
        }
    }
    return sprite;
}

void TfrmSplash::Timer1Timer()
{
    QPainter p(&m_backBuffer);
    p.setCompositionMode(QPainter::CompositionMode_Source);

    // Only the squares the sprites covered are restored from the background.
    for (const sprites::Sprite &s : m_sprites) {
        const int r = sprites::radius(m_field, s.Scale);
        if (r != 0) {
            const QRect square(s.X - r, s.Y - r, 2 * r, 2 * r);
            p.drawImage(square, m_background, square);
        }
    }

    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    const QPoint pivot(m_field.SW / 2, m_field.SH / 2);
    for (sprites::Sprite &s : m_sprites) {
        const int r = sprites::moveSprite(s, m_field, [this] { return randomReal(); });
        if (r != 0) {
            QImage rendered;
            const QPoint landed = m_imageArray.Render(rendered, pivot, s.Mirrored, s.Scale, s.Angle);
            p.drawImage(QPoint(s.X - landed.x(), s.Y - landed.y()), transparentSprite(rendered));
        }
    }
    p.end();
    update();
}

void TfrmSplash::paintEvent(QPaintEvent *)
{
    FormPaint();
}

void TfrmSplash::FormPaint()
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(0, 0, m_backBuffer);
    ++m_paints;
}

void TfrmSplash::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    FormMouseUp();
}

void TfrmSplash::FormMouseUp()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_services.shell->openAddress(TfrmAvvio::webAddress()); // a failure is ignored
    QApplication::restoreOverrideCursor();
    close();
}

void TfrmSplash::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Timer1->start();
}

void TfrmSplash::hideEvent(QHideEvent *event)
{
    // No ticks while nobody sees the window.
    Timer1->stop();
    QDialog::hideEvent(event);
}
