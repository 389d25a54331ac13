// Dialog units, in which the books give column widths and indents, turned into
// pixels of the font a window shows: as in the original window system, one
// horizontal unit is a quarter of the font's average character width (the
// width of the 52 Latin letters divided by 52) and one vertical unit an eighth of
// its height.
#pragma once

class QFont;

namespace ui {

struct DialogUnits {
    double horizontal = 1.5;  // pixels per unit
    double vertical = 1.625;

    int x(int units) const;
    int y(int units) const;
};

DialogUnits dialogUnits(const QFont& font);

}  // namespace ui
