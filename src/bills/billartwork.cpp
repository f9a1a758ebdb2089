#include "bills/billartwork.h"

#include <QPainter>
#include <QPainterPath>

#include "common/artwork.h"

namespace velmora::billart {

QPixmap binIcon(const QColor &colour, int size, const QString &caption)
{
    return artwork::commandPlate(colour, size, caption, [size](QPainter &p, const QRectF &) {
        // Lid, handle and a tapered can with three ribs, in white.
        const qreal u = size / 16.0;
        const qreal x0 = 8;
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
    });
}

QPixmap summaryIcon(const QColor &colour, int size, const QString &caption)
{
    return artwork::commandPlate(colour, size, caption, [size](QPainter &p, const QRectF &plate) {
        const qreal u = size / 16.0;
        const qreal x0 = plate.left() - 0.5;
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const qreal heights[3] = {3.5, 6, 8.5};
        for (int i = 0; i < 3; ++i)
            p.drawRect(QRectF(x0 + (3.5 + i * 3.2) * u, (12.5 - heights[i]) * u, 2.4 * u, heights[i] * u));
        p.setPen(QPen(Qt::white, qMax<qreal>(1.0, u * 0.8), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x0 + 2.5 * u, 13.2 * u), QPointF(x0 + 13.5 * u, 13.2 * u));
        // The sum sign, top left, over the lowest bar.
        QPainterPath sigma;
        sigma.moveTo(x0 + 6.2 * u, 2.6 * u);
        sigma.lineTo(x0 + 3 * u, 2.6 * u);
        sigma.lineTo(x0 + 4.8 * u, 4.6 * u);
        sigma.lineTo(x0 + 3 * u, 6.6 * u);
        sigma.lineTo(x0 + 6.2 * u, 6.6 * u);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, qMax<qreal>(1.0, u * 0.7), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(sigma);
    });
}

} // namespace velmora::billart
