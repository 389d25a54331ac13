// The page-jump window of the print preview: a page number limited to the pages
// of the report; OK takes the page, Cancel keeps the old one.
#pragma once

#include <QDialog>

namespace ui {

class ClampingSpinBox;

class PageJumpWindow : public QDialog {
    Q_OBJECT

public:
    PageJumpWindow(int current, int total, QWidget* parent = nullptr);

    int page() const;
    ClampingSpinBox* pageField() const { return page_; }

    // Opens the window and returns the chosen page, or `current` when cancelled.
    static int choose(int current, int total, QWidget* parent = nullptr);

private:
    ClampingSpinBox* page_;
};

}  // namespace ui
