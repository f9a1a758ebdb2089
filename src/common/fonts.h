#pragma once

#include <QFont>
#include <QString>

// The typefaces of the screens and printouts, chosen among those the program's set-up installs
// (fonts-liberation, fonts-dejavu-core), so every machine shows the same widths the layouts are
// fitted to, whatever fonts it has besides.
namespace velmora::fonts {

// Captions, boxes, lists and bars.
QString text();
// The symbols drawn on command icons (arrows, ticks, crosses): a face that holds them all.
QString symbols();
// Fixed-width lists, whose columns line up, and their printouts.
QString fixed();

// A text font of a pixel size.
QFont pixels(int size, bool bold = false);
// A text font of a point size.
QFont points(int size, bool bold = false);

} // namespace velmora::fonts
