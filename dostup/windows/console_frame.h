// The library's console: the frame " Сотрудники" whose menu starts the staff
// screens and the saved filters, with the frame's background picture, and the
// information screen with the organisation's logo and the operator's name.
#pragma once

#include "ui/frame_window.h"

#include <QWidget>

class QLabel;
class QMdiArea;

namespace dostup {

class ConsoleFrame : public ui::FrameWindow {
    Q_OBJECT
public:
    explicit ConsoleFrame(QWidget* parent = nullptr);
};

// The information screen, a child of `area` without caption text: a framed
// picture (section "KELM", key "LogoFile") and the operator's short name.
class InfoScreen : public QWidget {
    Q_OBJECT
public:
    static InfoScreen* open(QMdiArea* area);
    QLabel* picture() const { return picture_; }
    QLabel* name() const { return name_; }

private:
    explicit InfoScreen(QWidget* parent);
    QLabel* picture_;
    QLabel* name_;
};

}  // namespace dostup
