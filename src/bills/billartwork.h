#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

// Pictures of the bill screens that no font symbol draws well: drawn here, our own.
namespace velmora::billart {

// A waste bin on a rounded plate, with an optional caption under it.
QPixmap binIcon(const QColor &colour, int size, const QString &caption = QString());

// Three rising bars over a base line and a sum sign above them, for the summary across bills.
QPixmap summaryIcon(const QColor &colour, int size, const QString &caption = QString());
// Two bill sheets with an arrow from the first to the second: consumptions going to another bill.
QPixmap transferIcon(const QColor &colour, int size, const QString &caption = QString());

// An archive box with its lid and label slot: a bill closed and kept.
QPixmap archiveIcon(const QColor &colour, int size, const QString &caption = QString());

} // namespace velmora::billart
