// The focus frame of a form: a red frame drawn two pixels outside the selected
// control. It takes no mouse input, so the control under it stays usable.
#pragma once

#include <QPointer>
#include <QWidget>

namespace ui {

class FocusFrameWidget : public QWidget {
    Q_OBJECT
public:
    explicit FocusFrameWidget(QWidget* window);

    // Encloses `control` (a descendant of the window); nullptr hides the frame.
    void enclose(QWidget* control);
    // Follows the enclosed control after the window's layout moved it.
    void follow();
    QWidget* enclosed() const { return control_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<QWidget> control_;
};

}  // namespace ui
