// The print preview: the pages of a report in thumbnails (across × down) or one
// page zoomed, with next and previous, the page-jump and layout windows, a zoom
// popup and a status bar (part 2 the pages shown, part 3 the zoom). "&Print" closes
// it with the choice to print; "E&xit" closes it without. The pages can also be
// saved as a PDF file.
#pragma once

#include "framework/preview_state.h"
#include "ui/page_queue.h"

#include <QDialog>

#include <functional>
#include <map>
#include <string>

class QAction;
class QLabel;
class QMenu;
class QScrollArea;
class QStackedWidget;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace ui {

class ClampingSpinBox;
class ThumbnailView;
class ZoomedPageView;

class PrintPreview : public QDialog {
    Q_OBJECT

public:
    explicit PrintPreview(const PageQueue& pages, QWidget* parent = nullptr);

    // Opens the preview and waits; true when the user chose "&Print".
    bool run();
    bool printChosen() const { return printChosen_; }

    const framework::PreviewState& state() const { return state_; }
    QString pagesStatus() const;  // status bar part 2
    QString zoomStatus() const;   // status bar part 3

    void next();
    void previous();
    void setZoom(framework::Zoom zoom);
    void setThumbnailLayout(int across, int down);
    void jumpTo(int page);
    void jump();           // the page-jump window
    void changeDisplay();  // the layout window
    void popupZoom();      // the zoom button's popup
    bool saveAsPdf();      // asks for a file name, then writes the pages
    bool savePdf(const QString& path);

    // The questions the preview asks, replaceable (tests, scripted runs).
    std::function<int(const std::string& popup)> popupChooser;
    std::function<int(int current, int total)> pageChooser;
    std::function<bool(int& across, int& down)> layoutChooser;
    std::function<QString()> pdfPathChooser;

    QMenu* viewMenu() const { return viewMenu_; }
    QAction* printAction() const { return print_; }
    QAction* exitAction() const { return exit_; }
    QAction* saveAction() const { return save_; }
    QAction* nextAction() const { return next_; }
    QAction* previousAction() const { return previous_; }
    QAction* jumpAction() const { return jump_; }
    QAction* layoutAction() const { return layout_; }
    QAction* zoomAction(framework::Zoom zoom) const;
    ClampingSpinBox* pageField() const { return pageField_; }
    ClampingSpinBox* acrossField() const { return acrossField_; }
    ClampingSpinBox* downField() const { return downField_; }
    QToolButton* zoomButton() const { return zoomButton_; }
    ThumbnailView* thumbnails() const { return thumbnails_; }
    ZoomedPageView* zoomedPage() const { return zoomed_; }
    QScrollArea* zoomArea() const { return zoomArea_; }

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolBar(QToolBar* toolBar);
    void refresh();
    void placeZoomedPage();
    int askPopup(const std::string& popup);

    const PageQueue& pages_;
    framework::PreviewState state_;
    bool printChosen_ = false;
    bool refreshing_ = false;
    int shownPage_ = 0;
    framework::Zoom shownZoom_ = framework::Zoom::None;

    QMenu* viewMenu_ = nullptr;
    QAction* print_ = nullptr;
    QAction* save_ = nullptr;
    QAction* exit_ = nullptr;
    QAction* next_ = nullptr;
    QAction* previous_ = nullptr;
    QAction* jump_ = nullptr;
    QAction* layout_ = nullptr;
    std::map<framework::Zoom, QAction*> zoomActions_;
    ClampingSpinBox* pageField_ = nullptr;
    ClampingSpinBox* acrossField_ = nullptr;
    ClampingSpinBox* downField_ = nullptr;
    QToolButton* zoomButton_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    ThumbnailView* thumbnails_ = nullptr;
    QScrollArea* zoomArea_ = nullptr;
    ZoomedPageView* zoomed_ = nullptr;
    QStatusBar* statusBar_ = nullptr;
    QLabel* pagesLabel_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
};

}  // namespace ui
