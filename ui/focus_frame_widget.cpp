#include "ui/focus_frame_widget.h"

#include "framework/form/focus_frame.h"

#include <QPainter>

namespace ui {

FocusFrameWidget::FocusFrameWidget(QWidget* window) : QWidget(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FocusFrameWidget::enclose(QWidget* control) {
    control_ = control;
    follow();
}

void FocusFrameWidget::follow() {
    QWidget* window = parentWidget();
    if (!control_ || !window || !control_->isVisible()) {
        hide();
        return;
    }
    const QPoint origin = control_->mapTo(window, QPoint(0, 0));
    const framework::WindowRect around = framework::form::focusFrameAround(
        {origin.x(), origin.y(), control_->width(), control_->height()});
    setGeometry(around.x, around.y, around.width, around.height);
    raise();
    show();
}

void FocusFrameWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(220, 0, 0));
    const QRect r = rect();
    // Two pixels wide on every side, outside the control.
    painter.drawRect(0, 0, r.width(), 2);
    painter.drawRect(0, r.height() - 2, r.width(), 2);
    painter.drawRect(0, 0, 2, r.height());
    painter.drawRect(r.width() - 2, 0, 2, r.height());
}

}  // namespace ui
