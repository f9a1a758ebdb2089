#include "common/artwork.h"

#include <algorithm>

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QtMath>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "common/fonts.h"
#include "common/widgets.h"

namespace velmora::artwork {

qreal drawingRatio()
{
    qreal ratio = 1.0;
    for (const QScreen *screen : QGuiApplication::screens())
        ratio = std::max(ratio, screen->devicePixelRatio());
    return ratio;
}

QPixmap canvas(const QSize &size, const QColor &fill)
{
    const qreal ratio = drawingRatio();
    QPixmap pm(QSize(qCeil(size.width() * ratio), qCeil(size.height() * ratio)));
    pm.setDevicePixelRatio(ratio);
    pm.fill(fill);
    return pm;
}

QRect area(const QPixmap &picture)
{
    return QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize());
}

QPixmap backgroundTile()
{
    QPixmap tile = canvas(QSize(24, 24), QColor(214, 222, 236));
    QPainter p(&tile);
    p.setPen(QColor(196, 206, 226));
    p.drawLine(0, 23, 23, 0);
    p.setPen(QColor(228, 234, 244));
    p.drawLine(0, 11, 11, 0);
    p.drawLine(12, 23, 23, 12);
    return tile;
}

QPixmap commandPlate(const QColor &colour, int size, const QString &caption,
                     const std::function<void(QPainter &, const QRectF &)> &drawSymbol)
{
    const int captionHeight = caption.isEmpty() ? 0 : 13;
    QPixmap pm = canvas(QSize(size + 16, size + captionHeight), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(8.5, 0.5, size - 1, size - 1);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour.darker(120));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawRoundedRect(plate, size / 5.0, size / 5.0);
    p.save();
    drawSymbol(p, plate);
    p.restore();
    if (captionHeight) {
        QFont c(fonts::text());
        c.setPixelSize(10);
        p.setFont(c);
        p.setPen(QColor(40, 40, 60));
        p.drawText(QRectF(0, size, area(pm).width(), captionHeight), Qt::AlignCenter, caption);
    }
    return pm;
}

QPixmap commandIcon(const QString &symbol, const QString &caption, const QColor &colour, int size)
{
    return commandPlate(colour, size, caption, [&](QPainter &p, const QRectF &plate) {
        QFont f(fonts::symbols());
        f.setBold(true);
        f.setPixelSize(symbol.size() > 2 ? size / 4 : size / 2);
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(plate, Qt::AlignCenter, symbol);
    });
}

QPixmap symbolIcon(const QString &symbol, const QColor &colour, int size)
{
    return commandIcon(symbol, QString(), colour, size);
}

QPixmap tilePicture(const QString &name)
{
    // Drawn at twice the size for dense screens, brought to the screens' own density.
    const QSize size(227, 256);
    const qreal ratio = drawingRatio();
    QImage image(ratio > 1.0 ? QStringLiteral(":/assets/tile_%1@2x.jpg").arg(name)
                             : QStringLiteral(":/assets/tile_%1.jpg").arg(name));
    if (image.isNull()) {
        image = QImage(size, QImage::Format_RGB32);
        image.fill(colours::navy);
    }
    const QSize pixels(qCeil(size.width() * ratio), qCeil(size.height() * ratio));
    if (image.size() != pixels)
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(ratio);
    return QPixmap::fromImage(image);
}

QPixmap titlePicture(const QString &caption, const QSize &size, const QColor &colour)
{
    QPixmap pm = canvas(size);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, colour.lighter(130));
    g.setColorAt(1, colour);
    p.fillRect(area(pm), g);
    QFont f(fonts::text());
    f.setBold(true);
    // The largest size up to two fifths of the height that fits the width.
    int pixels = size.height() * 2 / 5;
    for (;; --pixels) {
        f.setPixelSize(pixels);
        if (pixels <= 8 || QFontMetrics(f).horizontalAdvance(caption) <= size.width() - 12)
            break;
    }
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(area(pm), Qt::AlignCenter, caption);
    return pm;
}

QPixmap infoPicture(const QString &text, const QSize &size)
{
    QPixmap pm = canvas(size, QColor(242, 244, 250));
    QPainter p(&pm);
    p.setPen(QColor(200, 205, 220));
    p.drawRect(area(pm).adjusted(0, 0, -1, -1));
    QFont f(fonts::text());
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(40, 40, 70));
    p.drawText(area(pm).adjusted(8, 6, -8, -6), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, text);
    return pm;
}

QPixmap logo(const QSize &size, int style)
{
    QPixmap pm = canvas(size, Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const int h = size.height();
    int x = 0;
    if (style != 2) {
        // The mark: a navy disc with a maroon "V".
        p.setBrush(colours::navy);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(1, 1, h - 2, h - 2));
        QPainterPath v;
        v.moveTo(h * 0.28, h * 0.28);
        v.lineTo(h * 0.5, h * 0.74);
        v.lineTo(h * 0.72, h * 0.28);
        p.setPen(QPen(QColor(230, 190, 90), h / 9.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(v);
        x = h + 6;
    }
    if (style != 1) {
        QFont f(fonts::text());
        f.setBold(true);
        f.setPixelSize(h * 11 / 20);
        p.setFont(f);
        p.setPen(colours::navy);
        p.drawText(QRect(x, 0, size.width() - x, h), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Velmora"));
    }
    return pm;
}

QByteArray bannerGif()
{
    QFile f(QStringLiteral(":/RESNAME"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace velmora::artwork
