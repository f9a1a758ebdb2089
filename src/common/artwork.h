#pragma once

#include <functional>

#include <QByteArray>
#include <QColor>
#include <QPixmap>
#include <QString>

// Velmora's own artwork: drawn here in code, or decoded from the JPEG and GIF files made by
// scripts/make-artwork.sh and built into the program.
namespace velmora::artwork {

// The pixel density the artwork is drawn for: that of the densest screen, so pictures stay
// sharp at 2x instead of being enlarged.
qreal drawingRatio();
// A pixmap of a size in screen units, drawn at drawingRatio(): painting on it uses those
// units, and widgets show it at that size.
QPixmap canvas(const QSize &size, const QColor &fill = Qt::transparent);
// The rectangle of a canvas in screen units.
QRect area(const QPixmap &picture);

// The small bitmap tiled over the background of the working screens.
QPixmap backgroundTile();

// A rounded plate in a colour with the command's name under it; drawSymbol paints on the plate.
QPixmap commandPlate(const QColor &colour, int size, const QString &caption,
                     const std::function<void(class QPainter &, const QRectF &)> &drawSymbol);

// A command icon: a rounded plate with a symbol and the command's name under it.
QPixmap commandIcon(const QString &symbol, const QString &caption, const QColor &colour, int size = 48);

// A plain symbol icon without caption (small icons of the dialogs).
QPixmap symbolIcon(const QString &symbol, const QColor &colour, int size = 24);

// The large picture of a start-screen tile ("clienti", "prodotti", "crea", "forniture").
QPixmap tilePicture(const QString &name);

// A title bar picture with a caption.
QPixmap titlePicture(const QString &caption, const QSize &size, const QColor &colour);

// An information picture: a few lines of text on a light plate.
QPixmap infoPicture(const QString &text, const QSize &size);

// The Velmora logo in a given size and style (0: mark and name, 1: mark only, 2: name only).
QPixmap logo(const QSize &size, int style = 0);

// The raw bytes of the animated banner resource "RESNAME".
QByteArray bannerGif();

} // namespace velmora::artwork
