#include "ui/preview_views.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace ui {

namespace {

void useDarkBackground(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

}  // namespace

ThumbnailView::ThumbnailView(const PageQueue& pages, const framework::PreviewState& state,
                             QWidget* parent)
    : QWidget(parent), pages_(pages), state_(state) {
    useDarkBackground(this);
    setCursor(Qt::PointingHandCursor);
}

framework::SlotSize ThumbnailView::slotSize() const {
    return state_.slotSize(width(), height() + framework::kPreviewStatusBarHeight);
}

QRect ThumbnailView::slotRect(int k) const {
    const framework::SlotRect r = state_.slotRect(k, slotSize());
    return QRect(r.x, r.y, r.width, r.height);
}

int ThumbnailView::slotAt(const QPoint& point) const {
    const int slotCount = state_.across() * state_.down();
    for (int k = 1; k <= slotCount; ++k)
        if (state_.slotPage(k) != 0 && slotRect(k).contains(point)) return k;
    return 0;
}

void ThumbnailView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const int slotCount = state_.across() * state_.down();
    for (int k = 1; k <= slotCount; ++k) {
        const int page = state_.slotPage(k);
        if (page == 0) continue;
        const QRect rect = slotRect(k);
        if (rect.width() <= 0 || rect.height() <= 0) continue;
        pages_.paint(painter, page - 1, rect);
        painter.setPen(QColor(64, 64, 64));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void ThumbnailView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int slot = slotAt(event->position().toPoint());
    if (slot != 0) emit thumbnailClicked(slot);
}

ZoomedPageView::ZoomedPageView(const PageQueue& pages, const framework::PreviewState& state,
                               QWidget* parent)
    : QWidget(parent), pages_(pages), state_(state) {
    setCursor(Qt::PointingHandCursor);
}

void ZoomedPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    pages_.paint(painter, state_.current() - 1, QRectF(rect()));
}

void ZoomedPageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit pageClicked();
}

}  // namespace ui
