// Fonts of printed reports. The layouts ask for "Arial Cyr", a Windows font with
// Cyrillic letters; it is drawn with an installed font of the same metrics that
// has Cyrillic: Liberation Sans, else DejaVu Sans, else the default sans serif.
#pragma once

#include "framework/report_layout.h"

#include <QFont>
#include <QString>

namespace ui {

// The installed family that stands for a layout's family name.
QString reportFontFamily(const std::string& requested);

// The font of a report at `unitsPerPoint` drawing units per typographic point.
QFont reportFont(const framework::report::Font& font, double unitsPerPoint);

}  // namespace ui
