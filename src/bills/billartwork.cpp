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

namespace {

QPen whitePen(qreal u)
{
    return QPen(Qt::white, qMax<qreal>(1.0, u * 0.9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet with a folded corner and three lines of text, its top-left corner at (x, y).
void drawSheet(QPainter &p, qreal x, qreal y, qreal u)
{
    QPolygonF sheet;
    sheet << QPointF(x, y) << QPointF(x + 3.5 * u, y) << QPointF(x + 5 * u, y + 1.5 * u)
          << QPointF(x + 5 * u, y + 7 * u) << QPointF(x, y + 7 * u);
    p.drawPolygon(sheet);
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(x + 1 * u, y + (3 + 1.3 * i) * u), QPointF(x + 4 * u, y + (3 + 1.3 * i) * u));
}

} // namespace

QPixmap transferIcon(const QColor &colour, int size, const QString &caption)
{
    return artwork::commandPlate(colour, size, caption, [size](QPainter &p, const QRectF &plate) {
        const qreal u = size / 16.0;
        const qreal x0 = plate.left() - 0.5;
        p.setPen(whitePen(u));
        p.setBrush(Qt::NoBrush);
        drawSheet(p, x0 + 1.5 * u, 3 * u, u);
        drawSheet(p, x0 + 9.5 * u, 6 * u, u);
        // The arrow from the first sheet over to the second.
        QPainterPath arc;
        arc.moveTo(x0 + 4 * u, 10.8 * u);
        arc.quadTo(x0 + 5 * u, 14 * u, x0 + 9 * u, 13 * u);
        p.drawPath(arc);
        p.setBrush(Qt::white);
        QPolygonF head;
        head << QPointF(x0 + 9.6 * u, 12.8 * u) << QPointF(x0 + 8 * u, 11.7 * u) << QPointF(x0 + 8.4 * u, 14 * u);
        p.drawPolygon(head);
    });
}

QPixmap archiveIcon(const QColor &colour, int size, const QString &caption)
{
    return artwork::commandPlate(colour, size, caption, [size](QPainter &p, const QRectF &plate) {
        const qreal u = size / 16.0;
        const qreal x0 = plate.left() - 0.5;
        p.setPen(whitePen(u));
        p.setBrush(Qt::NoBrush);
        // Lid, box and the slot of its label, with a tick on the box: paid and kept.
        p.drawRoundedRect(QRectF(x0 + 3 * u, 3.5 * u, 10 * u, 2.5 * u), 0.5 * u, 0.5 * u);
        p.drawRect(QRectF(x0 + 4 * u, 6 * u, 8 * u, 7 * u));
        p.drawLine(QPointF(x0 + 6.5 * u, 7.8 * u), QPointF(x0 + 9.5 * u, 7.8 * u));
        QPainterPath tick;
        tick.moveTo(x0 + 6.2 * u, 10.4 * u);
        tick.lineTo(x0 + 7.4 * u, 11.6 * u);
        tick.lineTo(x0 + 9.8 * u, 9.3 * u);
        p.drawPath(tick);
    });
}

} // namespace velmora::billart
