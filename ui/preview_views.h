// The two views of the print preview: the thumbnail slots (across × down pages,
// each a white sheet) and one zoomed page inside a scroll area.
#pragma once

#include "framework/preview_state.h"
#include "ui/page_queue.h"

#include <QWidget>

namespace ui {

class ThumbnailView : public QWidget {
    Q_OBJECT

public:
    ThumbnailView(const PageQueue& pages, const framework::PreviewState& state,
                  QWidget* parent = nullptr);

    // The slot sizes in this widget; its height stands for the window's client
    // height less the status bar.
    framework::SlotSize slotSize() const;
    QRect slotRect(int k) const;  // 1-based
    int slotAt(const QPoint& point) const;  // 0 for none or a hidden slot

signals:
    void thumbnailClicked(int slot);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const PageQueue& pages_;
    const framework::PreviewState& state_;
};

class ZoomedPageView : public QWidget {
    Q_OBJECT

public:
    ZoomedPageView(const PageQueue& pages, const framework::PreviewState& state,
                   QWidget* parent = nullptr);

signals:
    void pageClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const PageQueue& pages_;
    const framework::PreviewState& state_;
};

}  // namespace ui
