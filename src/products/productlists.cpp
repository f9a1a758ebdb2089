#include "products/productlists.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "common/artwork.h"
#include "common/fonts.h"
#include "common/widgets.h"
#include "products/productrecord.h"

namespace velmora {

QListWidget *makeProductList(const QString &name, int extent, QWidget *parent)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(name);
    list->setAccessibleName(QStringLiteral("Prodotti e servizi"));
    QFont font(fonts::fixed());
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    list->setFont(font);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setProperty("extent", extent);
    setBackground(list, colours::white);
    return list;
}

void fillProductList(QListWidget *list, std::vector<std::string> lines)
{
    sortListLines(lines);
    const QSignalBlocker block(list);
    list->clear();
    const int extent = list->property("extent").toInt();
    const QSize hint(extent, list->fontMetrics().height() + 2);
    for (const std::string &line : lines) {
        auto *item = new QListWidgetItem(fromAnsi(line), list);
        item->setSizeHint(hint);
    }
}

std::vector<std::string> productListLines(const QListWidget *list)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(list->count()));
    for (int i = 0; i < list->count(); ++i)
        lines.push_back(toAnsi(list->item(i)->text()));
    return lines;
}

bool quickFindInList(QListWidget *list, const QString &key, QuickFind &finder, Services &services, QWidget *owner)
{
    if (list->count() == 0) {
        services.messages->plain(owner, QStringLiteral("Ricerca non applicabile: la lista non contiene nessuna voce."));
        return false;
    }
    if (list->currentRow() < 0)
        list->setCurrentRow(0);
    const auto found = finder.find(productListLines(list), toAnsi(key), static_cast<std::size_t>(list->currentRow()));
    if (!found)
        return false;
    list->setCurrentRow(static_cast<int>(*found));
    list->scrollToItem(list->currentItem());
    return true;
}

QPixmap commandPlate(const QString &symbol, const QString &caption, const QColor &colour)
{
    QPixmap pm = artwork::canvas(QSize(148, 32), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plate(0.5, 0.5, 147, 31);
    QLinearGradient g(plate.topLeft(), plate.bottomLeft());
    g.setColorAt(0, QColor(250, 250, 252));
    g.setColorAt(1, QColor(222, 226, 236));
    p.setBrush(g);
    p.setPen(QPen(QColor(150, 158, 180), 1));
    p.drawRoundedRect(plate, 5, 5);

    const QRectF badge(4.5, 4.5, 23, 23);
    QLinearGradient b(badge.topLeft(), badge.bottomLeft());
    b.setColorAt(0, colour.lighter(140));
    b.setColorAt(1, colour.darker(115));
    p.setBrush(b);
    p.setPen(QPen(colour.darker(150), 1));
    p.drawRoundedRect(badge, 4, 4);
    QFont sf(fonts::text());
    sf.setBold(true);
    sf.setPixelSize(symbol.size() > 1 ? 10 : 14);
    p.setFont(sf);
    p.setPen(Qt::white);
    p.drawText(badge, Qt::AlignCenter, symbol);

    QFont cf(fonts::text());
    cf.setBold(true);
    cf.setPixelSize(11);
    p.setFont(cf);
    p.setPen(QColor(30, 34, 60));
    p.drawText(QRectF(34, 0, 110, 32), Qt::AlignVCenter | Qt::AlignLeft, caption);
    return pm;
}

QPixmap decorationPicture(Decoration kind, int size)
{
    QPixmap pm = artwork::canvas(QSize(size, size), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QColor line(70, 50, 30);
    p.setPen(QPen(line, 1.5));
    switch (kind) {
    case Decoration::Boxes: {
        const QColor card(205, 160, 100);
        const QRectF boxes[3] = {{4, 34, 28, 26}, {32, 34, 28, 26}, {18, 8, 28, 26}};
        for (const QRectF &b : boxes) {
            p.setBrush(card);
            p.drawRect(b);
            p.setBrush(QColor(240, 225, 190));
            p.drawRect(QRectF(b.center().x() - 3, b.top(), 6, b.height()));
        }
        break;
    }
    case Decoration::Supplier: {
        p.setBrush(QColor(60, 90, 160));
        p.drawRect(QRectF(4, 16, 36, 30));
        p.setBrush(QColor(200, 60, 50));
        QPainterPath cab;
        cab.moveTo(40, 24);
        cab.lineTo(52, 24);
        cab.lineTo(60, 34);
        cab.lineTo(60, 46);
        cab.lineTo(40, 46);
        cab.closeSubpath();
        p.drawPath(cab);
        p.setBrush(QColor(210, 235, 250));
        p.drawRect(QRectF(44, 27, 8, 7));
        p.setBrush(QColor(40, 40, 40));
        for (qreal x : {14.0, 30.0, 50.0})
            p.drawEllipse(QPointF(x, 48), 6, 6);
        break;
    }
    case Decoration::Shelves: {
        p.setBrush(QColor(150, 150, 160));
        p.drawRect(QRectF(6, 4, 4, 56));
        p.drawRect(QRectF(54, 4, 4, 56));
        const QColor goods[3] = {QColor(205, 160, 100), QColor(90, 140, 90), QColor(60, 90, 160)};
        for (int shelf = 0; shelf < 3; ++shelf) {
            const qreal y = 20 + shelf * 18;
            p.setBrush(QColor(120, 120, 130));
            p.drawRect(QRectF(6, y, 52, 3));
            p.setBrush(goods[shelf]);
            p.drawRect(QRectF(13 + shelf * 6, y - 11, 12, 11));
            p.drawRect(QRectF(30 + shelf * 3, y - 8, 10, 8));
        }
        break;
    }
    }
    return pm;
}

QPixmap warningPicture(int size)
{
    QPixmap pm = artwork::canvas(QSize(size, size), Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath t;
    t.moveTo(size / 2.0, 1);
    t.lineTo(size - 1, size - 1);
    t.lineTo(1, size - 1);
    t.closeSubpath();
    p.setBrush(QColor(255, 210, 0));
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.drawPath(t);
    QFont f(fonts::text());
    f.setBold(true);
    f.setPixelSize(size * 2 / 3);
    p.setFont(f);
    p.drawText(QRectF(0, size / 5.0, size, size * 4 / 5.0), Qt::AlignCenter, QStringLiteral("!"));
    return pm;
}

} // namespace velmora
