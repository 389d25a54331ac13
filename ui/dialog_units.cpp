#include "ui/dialog_units.h"

#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <cmath>

namespace ui {

int DialogUnits::x(int units) const { return static_cast<int>(std::lround(units * horizontal)); }

int DialogUnits::y(int units) const { return static_cast<int>(std::lround(units * vertical)); }

DialogUnits dialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    static const QString letters =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double average = metrics.horizontalAdvance(letters) / letters.size();
    DialogUnits units;
    if (average > 0) units.horizontal = average / 4.0;
    if (metrics.height() > 0) units.vertical = metrics.height() / 8.0;
    return units;
}

}  // namespace ui
