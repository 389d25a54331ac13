#include "ui/print_preview.h"

#include "platform/user_services.h"
#include "ui/clamping_spin_box.h"
#include "ui/layout_window.h"
#include "ui/page_jump_window.h"
#include "ui/preview_views.h"
#include "ui/qt_user_services.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStringList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace ui {

using framework::Zoom;

namespace {

struct ZoomMenuItem {
    Zoom zoom;
    const char* text;
};

constexpr ZoomMenuItem kZoomMenu[] = {
    {Zoom::None, "No &Zoom"},           {Zoom::PageWidth, "Page &Width"},
    {Zoom::Percent50, "&50 Percent"},   {Zoom::Percent75, "&75 Percent"},
    {Zoom::Percent100, "&100 Percent"}, {Zoom::Percent200, "&200 Percent"},
    {Zoom::Percent300, "&300 Percent"},
};

// A popup in the runtime's notation: items separated by '|', "-" alone a
// separator, a leading '-' an unchecked and '+' a checked item. Returns the
// number of the chosen item among the real items, 0 for none.
int execPopup(const std::string& popup, QWidget* anchor) {
    QMenu menu(anchor);
    int number = 0;
    for (const QString& part : toQt(popup).split(QLatin1Char('|'))) {
        if (part == QLatin1String("-")) {
            menu.addSeparator();
            continue;
        }
        ++number;
        QString text = part;
        bool checkable = false;
        bool checked = false;
        if (text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))) {
            checkable = true;
            checked = text.startsWith(QLatin1Char('+'));
            text = text.mid(1);
        }
        QAction* action = menu.addAction(text);
        action->setCheckable(checkable);
        action->setChecked(checked);
        action->setData(number);
    }
    const QPoint at = anchor ? anchor->mapToGlobal(QPoint(0, anchor->height())) : QCursor::pos();
    QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : 0;
}

}  // namespace

PrintPreview::PrintPreview(const PageQueue& pages, QWidget* parent)
    : QDialog(parent), pages_(pages), state_(pages.size()) {
    setWindowTitle(QStringLiteral("Print Preview"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    setMinimumWidth(framework::kPreviewMinimumWidth);
    setSizeGripEnabled(true);

    // The first page measured once, in screen pixels.
    const double dotsPerMm = logicalDpiX() / 25.4;
    state_.setPageSize(pages.pageSizeMm().width() * dotsPerMm,
                       pages.pageSizeMm().height() * dotsPerMm);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenus();
    auto* toolBar = new QToolBar(this);
    buildToolBar(toolBar);
    layout->addWidget(toolBar);

    stack_ = new QStackedWidget(this);
    thumbnails_ = new ThumbnailView(pages_, state_, stack_);
    zoomArea_ = new QScrollArea(stack_);
    zoomArea_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    zoomArea_->setBackgroundRole(QPalette::Dark);
    zoomArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    zoomed_ = new ZoomedPageView(pages_, state_);
    zoomArea_->setWidget(zoomed_);
    zoomArea_->viewport()->installEventFilter(this);
    stack_->addWidget(thumbnails_);
    stack_->addWidget(zoomArea_);
    layout->addWidget(stack_, 1);

    statusBar_ = new QStatusBar(this);
    statusBar_->setSizeGripEnabled(false);
    pagesLabel_ = new QLabel(statusBar_);
    zoomLabel_ = new QLabel(statusBar_);
    for (QLabel* part : {pagesLabel_, zoomLabel_}) {
        part->setContentsMargins(8, 0, 8, 0);
        part->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    statusBar_->addPermanentWidget(pagesLabel_);
    statusBar_->addPermanentWidget(zoomLabel_);
    layout->addWidget(statusBar_);

    connect(thumbnails_, &ThumbnailView::thumbnailClicked, this, [this](int slot) {
        state_.clickThumbnail(slot);
        refresh();
    });
    connect(zoomed_, &ZoomedPageView::pageClicked, this, [this] {
        state_.clickZoomedPage();
        refresh();
    });

    if (state_.singlePage()) {
        pageField_->setEnabled(false);
        acrossField_->setEnabled(false);
        downField_->setEnabled(false);
        viewMenu_->menuAction()->setEnabled(false);
        for (QAction* action : viewMenu_->actions()) action->setEnabled(false);
    } else {
        pageField_->setRange(1, state_.total());
        const QString help = toQt(state_.pageHelp());
        pageField_->setStatusTip(help);
        pageField_->setToolTip(help);
    }

    // A sheet and a half of the screen's height at most.
    QSize size(640, 820);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QSize available = screen->availableGeometry().size();
        size = size.boundedTo(available * 0.9);
    }
    resize(size.expandedTo(QSize(framework::kPreviewMinimumWidth, 200)));
    refresh();
}

void PrintPreview::buildMenus() {
    auto* menuBar = new QMenuBar(this);
    static_cast<QVBoxLayout*>(this->layout())->setMenuBar(menuBar);

    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    print_ = file->addAction(QStringLiteral("&Print"));
    print_->setShortcut(QKeySequence::Print);
    save_ = file->addAction(QStringLiteral("Save as P&DF..."));
    file->addSeparator();
    exit_ = file->addAction(QStringLiteral("E&xit"));
    connect(print_, &QAction::triggered, this, [this] {
        printChosen_ = true;
        accept();
    });
    connect(save_, &QAction::triggered, this, [this] { saveAsPdf(); });
    connect(exit_, &QAction::triggered, this, [this] {
        printChosen_ = false;
        reject();
    });

    viewMenu_ = menuBar->addMenu(QStringLiteral("&View"));
    next_ = viewMenu_->addAction(QStringLiteral("&Next Page(s)"));
    next_->setShortcut(QKeySequence(Qt::Key_PageDown));
    previous_ = viewMenu_->addAction(QStringLiteral("&Previous Page(s)"));
    previous_->setShortcut(QKeySequence(Qt::Key_PageUp));
    jump_ = viewMenu_->addAction(QStringLiteral("&Jump to a page"));
    layout_ = viewMenu_->addAction(QStringLiteral("&Change Display"));
    viewMenu_->addSeparator();
    auto* zooms = new QActionGroup(this);
    zooms->setExclusive(true);
    for (const ZoomMenuItem& item : kZoomMenu) {
        QAction* action = viewMenu_->addAction(QString::fromLatin1(item.text));
        action->setCheckable(true);
        zooms->addAction(action);
        zoomActions_[item.zoom] = action;
        const Zoom zoom = item.zoom;
        connect(action, &QAction::triggered, this, [this, zoom] { setZoom(zoom); });
    }
    // The keys work wherever the focus is in the window.
    addAction(next_);
    addAction(previous_);
    addAction(print_);
    connect(next_, &QAction::triggered, this, &PrintPreview::next);
    connect(previous_, &QAction::triggered, this, &PrintPreview::previous);
    connect(jump_, &QAction::triggered, this, &PrintPreview::jump);
    connect(layout_, &QAction::triggered, this, &PrintPreview::changeDisplay);
}

void PrintPreview::buildToolBar(QToolBar* toolBar) {
    toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Short texts on the buttons; the menus keep the full ones.
    previous_->setIconText(QStringLiteral("Previous"));
    next_->setIconText(QStringLiteral("Next"));
    print_->setIconText(QStringLiteral("Print"));
    exit_->setIconText(QStringLiteral("Exit"));
    toolBar->addAction(print_);
    toolBar->addSeparator();
    toolBar->addAction(previous_);
    pageField_ = new ClampingSpinBox(toolBar);
    pageField_->setRange(1, std::max(state_.total(), 1));
    pageField_->setAccessibleName(QStringLiteral("Page"));
    toolBar->addWidget(pageField_);
    toolBar->addAction(next_);
    toolBar->addSeparator();
    toolBar->addWidget(new QLabel(QStringLiteral(" Across "), toolBar));
    acrossField_ = new ClampingSpinBox(toolBar);
    acrossField_->setRange(1, framework::kMaxAcross);
    acrossField_->setAccessibleName(QStringLiteral("Across"));
    toolBar->addWidget(acrossField_);
    toolBar->addWidget(new QLabel(QStringLiteral(" Down "), toolBar));
    downField_ = new ClampingSpinBox(toolBar);
    downField_->setRange(1, framework::kMaxDown);
    downField_->setAccessibleName(QStringLiteral("Down"));
    toolBar->addWidget(downField_);
    toolBar->addSeparator();
    zoomButton_ = new QToolButton(toolBar);
    zoomButton_->setText(QStringLiteral("Zoom"));
    zoomButton_->setToolTip(QStringLiteral("Zoom"));
    toolBar->addWidget(zoomButton_);
    toolBar->addSeparator();
    toolBar->addAction(exit_);

    connect(pageField_, &QSpinBox::valueChanged, this, [this](int page) {
        if (refreshing_) return;
        jumpTo(page);
    });
    connect(acrossField_, &QSpinBox::valueChanged, this, [this](int across) {
        if (refreshing_) return;
        setThumbnailLayout(across, state_.down());
    });
    connect(downField_, &QSpinBox::valueChanged, this, [this](int down) {
        if (refreshing_) return;
        setThumbnailLayout(state_.across(), down);
    });
    connect(zoomButton_, &QToolButton::clicked, this, &PrintPreview::popupZoom);
}

bool PrintPreview::run() {
    printChosen_ = false;
    exec();
    return printChosen_;
}

QString PrintPreview::pagesStatus() const { return pagesLabel_->text(); }
QString PrintPreview::zoomStatus() const { return zoomLabel_->text(); }

QAction* PrintPreview::zoomAction(Zoom zoom) const {
    auto it = zoomActions_.find(zoom);
    return it == zoomActions_.end() ? nullptr : it->second;
}

void PrintPreview::next() {
    if (state_.singlePage()) return;
    if (state_.next()) refresh();
}

void PrintPreview::previous() {
    if (state_.singlePage()) return;
    if (state_.previous()) refresh();
}

void PrintPreview::setZoom(Zoom zoom) {
    state_.setZoom(zoom);
    refresh();
}

void PrintPreview::setThumbnailLayout(int across, int down) {
    state_.setLayout(across, down);
    refresh();
}

void PrintPreview::jumpTo(int page) {
    state_.jumpTo(page);
    refresh();
}

void PrintPreview::jump() {
    if (state_.singlePage()) return;
    const int page = pageChooser ? pageChooser(state_.current(), state_.total())
                                 : PageJumpWindow::choose(state_.current(), state_.total(), this);
    jumpTo(page);
}

void PrintPreview::changeDisplay() {
    if (state_.singlePage()) return;
    int across = state_.across();
    int down = state_.down();
    const bool changed =
        layoutChooser ? layoutChooser(across, down) : LayoutWindow::edit(across, down, this);
    if (changed) setThumbnailLayout(across, down);
}

int PrintPreview::askPopup(const std::string& popup) {
    return popupChooser ? popupChooser(popup) : execPopup(popup, zoomButton_);
}

void PrintPreview::popupZoom() {
    if (auto zoom = framework::PreviewState::zoomOfPopupItem(askPopup(state_.zoomPopup())))
        setZoom(*zoom);
}

bool PrintPreview::saveAsPdf() {
    QString path;
    if (pdfPathChooser) {
        path = pdfPathChooser();
    } else {
        path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as PDF"),
                                            QStringLiteral("report.pdf"),
                                            QStringLiteral("PDF files (*.pdf)"));
    }
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    return savePdf(path);
}

bool PrintPreview::savePdf(const QString& path) {
    if (pages_.writePdf(path, windowTitle())) {
        statusBar_->showMessage(QStringLiteral("Saved to %1").arg(path), 5000);
        return true;
    }
    platform::messageBox("The file " + fromQt(path) + " could not be written.", "Save as PDF",
                         platform::Icon::Exclamation);
    return false;
}

void PrintPreview::refresh() {
    refreshing_ = true;
    pageField_->setValue(state_.current());
    acrossField_->setValue(state_.across());
    downField_->setValue(state_.down());
    refreshing_ = false;

    if (state_.thumbnailView()) {
        stack_->setCurrentWidget(thumbnails_);
        thumbnails_->update();
    } else {
        stack_->setCurrentWidget(zoomArea_);
        placeZoomedPage();
        // Another page or zoom starts at the page's top-left corner.
        if (state_.current() != shownPage_ || state_.zoom() != shownZoom_) {
            zoomArea_->horizontalScrollBar()->setValue(0);
            zoomArea_->verticalScrollBar()->setValue(0);
        }
    }
    shownPage_ = state_.current();
    shownZoom_ = state_.zoom();
    if (!state_.singlePage()) {
        next_->setEnabled(state_.canNext());
        previous_->setEnabled(state_.canPrevious());
    } else {
        next_->setEnabled(false);
        previous_->setEnabled(false);
    }
    if (QAction* checked = zoomAction(state_.zoom())) checked->setChecked(true);
    pagesLabel_->setText(toQt(state_.pagesText()));
    zoomLabel_->setText(toQt(state_.zoomText()));
}

void PrintPreview::placeZoomedPage() {
    const bool pageWidth = state_.zoom() == Zoom::PageWidth;
    zoomArea_->setHorizontalScrollBarPolicy(pageWidth ? Qt::ScrollBarAlwaysOff
                                                      : Qt::ScrollBarAsNeeded);
    const double factor = state_.zoomFactor(zoomArea_->viewport()->width());
    const QSize size(std::max(1, static_cast<int>(std::lround(state_.pageWidth() * factor))),
                     std::max(1, static_cast<int>(std::lround(state_.pageHeight() * factor))));
    if (zoomed_->size() != size) zoomed_->setFixedSize(size);
    zoomed_->update();
}

bool PrintPreview::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        statusBar_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

void PrintPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!state_.thumbnailView()) placeZoomedPage();
    thumbnails_->update();
}

bool PrintPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == zoomArea_->viewport() && event->type() == QEvent::Resize &&
        state_.zoom() == Zoom::PageWidth)
        placeZoomedPage();
    return QDialog::eventFilter(watched, event);
}

}  // namespace ui
