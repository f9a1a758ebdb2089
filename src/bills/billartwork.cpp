#include "bills/billartwork.h"

#include <QPainter>

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

} // namespace velmora::billart
