#include "bills/billartwork.h"

#include <QLinearGradient>
#include <QPainter>

namespace velmora::billart {

QPixmap binIcon(const QColor &colour, int size, const QString &caption)
{
    const int captionHeight = caption.isEmpty() ? 0 : 13;
    QPixmap pm(size + 16, size + captionHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(8.5, 0.5, size - 1, size - 1);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour.darker(120));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawRoundedRect(plate, size / 5.0, size / 5.0);

    // Lid, handle and a tapered can with three ribs, in white.
    const qreal u = size / 16.0;
    const qreal x0 = 8 + 0;
    p.setPen(QPen(Qt::white, qMax<qreal>(1.0, u * 0.9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawLine(QPointF(x0 + 4 * u, 4.5 * u), QPointF(x0 + 12 * u, 4.5 * u));
    p.drawRect(QRectF(x0 + 6.5 * u, 3 * u, 3 * u, 1.5 * u));
    QPolygonF can;
    can << QPointF(x0 + 5 * u, 5.5 * u) << QPointF(x0 + 11 * u, 5.5 * u) << QPointF(x0 + 10.3 * u, 13 * u)
        << QPointF(x0 + 5.7 * u, 13 * u);
    p.drawPolygon(can);
    for (qreal x : {6.9, 8.0, 9.1})
        p.drawLine(QPointF(x0 + x * u, 7 * u), QPointF(x0 + x * u, 11.5 * u));

    if (captionHeight) {
        QFont c(QStringLiteral("Verdana"));
        c.setPixelSize(10);
        p.setFont(c);
        p.setPen(QColor(40, 40, 60));
        p.drawText(QRectF(0, size, pm.width(), captionHeight), Qt::AlignCenter, caption);
    }
    return pm;
}

} // namespace velmora::billart
