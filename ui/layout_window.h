// The thumbnail-layout window of the print preview: "Across" and "Down", the
// thumbnails per row and per column, edited in place.
#pragma once

#include <QDialog>

namespace ui {

class ClampingSpinBox;

class LayoutWindow : public QDialog {
    Q_OBJECT

public:
    LayoutWindow(int across, int down, QWidget* parent = nullptr);

    int across() const;
    int down() const;
    ClampingSpinBox* acrossField() const { return across_; }
    ClampingSpinBox* downField() const { return down_; }

    // Opens the window; OK writes the new values into across and down.
    static bool edit(int& across, int& down, QWidget* parent = nullptr);

private:
    ClampingSpinBox* across_;
    ClampingSpinBox* down_;
};

}  // namespace ui
