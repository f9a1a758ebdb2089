#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// Pictures of the bill screens that no font symbol draws well: drawn here, our own.
namespace velmora::billart {

// A waste bin on a rounded plate, with an optional caption under it.
QPixmap binIcon(const QColor &colour, int size, const QString &caption = QString());

} // namespace velmora::billart
