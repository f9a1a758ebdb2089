#pragma once

#include <string>
#include <vector>

#include <QColor>
#include <QListWidget>
#include <QPixmap>

#include "common/quickfind.h"
#include "common/services.h"

// What the product lists (search, low-stock list, product import) share on screen.
namespace velmora {

// A list box in the monospaced list font whose lines scroll sideways up to extent pixels.
QListWidget *makeProductList(const QString &name, int extent, QWidget *parent);

// Replaces the lines of a list, ordered as a sorted list box orders them.
void fillProductList(QListWidget *list, std::vector<std::string> lines);

// The lines of a list as stored text.
std::vector<std::string> productListLines(const QListWidget *list);

// The quick find of a list dialog: the empty-list message, otherwise the next line holding
// key is selected. Returns whether a line was selected.
bool quickFindInList(QListWidget *list, const QString &key, QuickFind &finder, Services &services, QWidget *owner);

// The picture of a command icon of the product card: 148 × 32, a symbol and the command's name.
QPixmap commandPlate(const QString &symbol, const QString &caption, const QColor &colour);

// The decorations of the product card's sections.
enum class Decoration { Boxes, Supplier, Shelves };
QPixmap decorationPicture(Decoration kind, int size);

// A small yellow warning triangle.
QPixmap warningPicture(int size);

} // namespace velmora
