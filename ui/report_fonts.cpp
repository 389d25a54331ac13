#include "ui/report_fonts.h"

#include <QFontDatabase>
#include <QHash>
#include <QStringList>

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

bool installed(const QString& family) {
    static QHash<QString, bool> known;
    auto it = known.find(family);
    if (it != known.end()) return *it;
    const bool present = QFontDatabase::families().contains(family, Qt::CaseInsensitive);
    known.insert(family, present);
    return present;
}

QString firstInstalled(const QStringList& families, const QString& fallback) {
    for (const QString& family : families)
        if (installed(family)) return family;
    return fallback;
}

}  // namespace

QString reportFontFamily(const std::string& requested) {
    const QString name = QString::fromLatin1(requested.c_str()).trimmed();
    const QString lower = name.toLower();
    if (lower.startsWith(QLatin1String("arial")) || lower.isEmpty() ||
        lower == QLatin1String("ms sans serif"))
        return firstInstalled({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("DejaVu Sans")},
                              QStringLiteral("Sans Serif"));
    if (lower.startsWith(QLatin1String("times")))
        return firstInstalled({QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                               QStringLiteral("DejaVu Serif")},
                              QStringLiteral("Serif"));
    if (lower.startsWith(QLatin1String("courier")))
        return firstInstalled({QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                               QStringLiteral("DejaVu Sans Mono")},
                              QStringLiteral("Monospace"));
    return installed(name) ? name : reportFontFamily("Arial");
}

QFont reportFont(const framework::report::Font& font, double unitsPerPoint) {
    QFont qt(reportFontFamily(font.family));
    // Pixel sizes in drawing units, so that the text scales with the painter when
    // a page is replayed on any device.
    qt.setPixelSize(std::max(1, static_cast<int>(std::lround(font.points * unitsPerPoint))));
    qt.setBold(font.bold);
    qt.setItalic(font.italic);
    qt.setUnderline(font.underline);
    qt.setKerning(false);
    qt.setHintingPreference(QFont::PreferNoHinting);
    return qt;
}

}  // namespace ui
