#include "common/fonts.h"

namespace velmora::fonts {

QString text()
{
    return QStringLiteral("Liberation Sans");
}

QString symbols()
{
    return QStringLiteral("DejaVu Sans");
}

QString fixed()
{
    // Metric-compatible with the fixed face the list columns were measured in.
    return QStringLiteral("Liberation Mono");
}

QFont pixels(int size, bool bold)
{
    QFont f(text());
    f.setPixelSize(size);
    f.setBold(bold);
    return f;
}

QFont points(int size, bool bold)
{
    QFont f(text(), size);
    f.setBold(bold);
    return f;
}

} // namespace velmora::fonts
