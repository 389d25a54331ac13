#include "ui/window_placement_qt.h"

#include "platform/paths.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextEdit>

#include <algorithm>
#include <map>

namespace ui {
namespace {

using framework::ControlKind;
using framework::WindowRect;

QRect toQRect(const WindowRect& r) { return QRect(r.x, r.y, r.width, r.height); }
WindowRect fromQRect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

bool isSubWindow(const QWidget* window) { return qobject_cast<const QMdiSubWindow*>(window); }

// Plain containers whose own controls the resizer places one by one.
bool holdsControls(const QWidget* widget) {
    if (widget->layout()) return false;
    if (qobject_cast<const QGroupBox*>(widget)) return true;
    const QMetaObject* type = widget->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject;
}

void collectControls(QWidget* parent, std::vector<QWidget*>& out) {
    for (QObject* child : parent->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget->isWindow()) continue;
        out.push_back(widget);
        if (holdsControls(widget)) collectControls(widget, out);
    }
}

int depthBelow(const QWidget* widget, const QWidget* container) {
    int depth = 0;
    for (const QWidget* w = widget; w && w != container; w = w->parentWidget()) ++depth;
    return depth;
}

constexpr const char* kSavedBrush = "wallpaperSavedBrush";
constexpr const char* kSavedAutoFill = "wallpaperSavedAutoFill";

void clearWallpaper(QWidget* content) {
    const QVariant brush = content->property(kSavedBrush);
    if (!brush.isValid()) return;
    QPalette palette = content->palette();
    palette.setBrush(QPalette::Window, brush.value<QBrush>());
    content->setPalette(palette);
    content->setAutoFillBackground(content->property(kSavedAutoFill).toBool());
    content->setProperty(kSavedBrush, QVariant());
    content->setProperty(kSavedAutoFill, QVariant());
}

}  // namespace

// ---------------------------------------------------------------- placement view

QtPlacementView::QtPlacementView(QWidget* window, bool designedMaximized)
    : window_(window), designedMaximized_(designedMaximized) {}

bool QtPlacementView::resizable() const {
    if (window_->minimumSize() == window_->maximumSize()) return false;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window_); sub && sub->widget()) {
        const QWidget* inner = sub->widget();
        if (inner->minimumSize() == inner->maximumSize()) return false;
    }
    return true;
}

bool QtPlacementView::minimized() const { return window_->isMinimized(); }

bool QtPlacementView::maximized() const { return window_->isMaximized(); }

WindowRect QtPlacementView::geometry() const {
    if (treatedAsNormal_ && knownNormal_) return fromQRect(*knownNormal_);
    if (normalGeometry_) return fromQRect(*normalGeometry_);
    if (!isSubWindow(window_) && window_->isWindow() && window_->isMaximized())
        return fromQRect(window_->normalGeometry());
    return fromQRect(window_->geometry());
}

void QtPlacementView::setPosition(int x, int y) {
    normalGeometry_.reset();
    window_->setGeometry(QRect(x, y, window_->width(), window_->height()));
}

void QtPlacementView::setGeometry(const WindowRect& rect) {
    normalGeometry_.reset();
    window_->setGeometry(toQRect(rect));
}

void QtPlacementView::setMaximized(bool maximized) {
    if (maximized == window_->isMaximized()) return;
    if (isSubWindow(window_)) {
        // A visible sub-window keeps its normal geometry itself and returns to it
        // at once; one that is closing is only treated as normal.
        treatedAsNormal_ = false;
        if (maximized) window_->showMaximized();
        else if (window_->isVisible()) window_->showNormal();
        else treatedAsNormal_ = true;
        return;
    }
    if (!maximized) normalGeometry_ = window_->normalGeometry();
    else normalGeometry_.reset();
    window_->setWindowState(maximized ? (window_->windowState() | Qt::WindowMaximized)
                                      : (window_->windowState() & ~Qt::WindowMaximized));
}

WindowRect QtPlacementView::minimumSize() const {
    const QSize least = window_->minimumSize().expandedTo(window_->minimumSizeHint());
    return {0, 0, least.width(), least.height()};
}

WindowRect QtPlacementView::reachableArea() const {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window_)) {
        if (QMdiArea* area = sub->mdiArea()) return fromQRect(area->viewport()->rect());
        return {};
    }
    if (const QScreen* screen = window_->screen()) return fromQRect(screen->availableGeometry());
    return {};
}

// ------------------------------------------------------------------ resizer view

QtResizerView::QtResizerView(QWidget* container) : container_(container) {}

WindowRect QtResizerView::windowGeometry() const {
    return {container_->x(), container_->y(), container_->width(), container_->height()};
}

std::vector<QWidget*> QtResizerView::controlWidgets() const {
    std::vector<QWidget*> widgets;
    if (!container_->layout()) collectControls(container_, widgets);
    return widgets;
}

std::vector<framework::ControlInfo> QtResizerView::controls() const {
    std::vector<framework::ControlInfo> result;
    int number = 0;
    for (QWidget* widget : controlWidgets()) {
        ++number;
        const QVariant id = widget->property("controlId");
        const QRect rect(widget->mapTo(container_, QPoint(0, 0)), widget->size());
        result.push_back({id.isValid() ? id.toInt() : number, kindOf(widget), fromQRect(rect)});
    }
    return result;
}

void QtResizerView::moveControls(const std::vector<framework::ControlMove>& moves) {
    std::map<int, QWidget*> byId;
    int number = 0;
    for (QWidget* widget : controlWidgets()) {
        ++number;
        const QVariant id = widget->property("controlId");
        byId.emplace(id.isValid() ? id.toInt() : number, widget);
    }
    // Containers move before the controls they hold, so a held control's place
    // is taken relative to where its container now stands.
    std::vector<std::pair<QWidget*, const framework::ControlMove*>> ordered;
    for (const framework::ControlMove& move : moves) {
        const auto found = byId.find(move.id);
        if (found != byId.end()) ordered.emplace_back(found->second, &move);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [this](const auto& a, const auto& b) {
        return depthBelow(a.first, container_) < depthBelow(b.first, container_);
    });

    const bool updates = container_->updatesEnabled();
    container_->setUpdatesEnabled(false);
    for (const auto& [widget, move] : ordered) {
        QWidget* parent = widget->parentWidget();
        const QPoint origin = parent == container_ ? QPoint(0, 0)
                                                   : parent->mapTo(container_, QPoint(0, 0));
        const int width = move->keepOwnWidth ? widget->width() : move->rect.width;
        widget->setGeometry(move->rect.x - origin.x(), move->rect.y - origin.y(), width,
                            move->rect.height);
    }
    container_->setUpdatesEnabled(updates);
}

ControlKind QtResizerView::kindOf(const QWidget* control) {
    const QVariant declared = control->property("controlKind");
    if (declared.isValid()) return static_cast<ControlKind>(declared.toInt());
    if (qobject_cast<const QCheckBox*>(control)) return ControlKind::Check;
    if (qobject_cast<const QRadioButton*>(control)) return ControlKind::Radio;
    if (qobject_cast<const QAbstractButton*>(control)) return ControlKind::Button;
    if (qobject_cast<const QLineEdit*>(control)) return ControlKind::Entry;
    if (qobject_cast<const QAbstractSpinBox*>(control)) return ControlKind::Spin;
    if (const auto* combo = qobject_cast<const QComboBox*>(control))
        return combo->isEditable() ? ControlKind::DropCombo : ControlKind::DropList;
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return label->buddy() ? ControlKind::Prompt : ControlKind::String;
    if (qobject_cast<const QGroupBox*>(control)) return ControlKind::Group;
    if (qobject_cast<const QAbstractItemView*>(control)) return ControlKind::List;
    if (qobject_cast<const QTextEdit*>(control) || qobject_cast<const QPlainTextEdit*>(control))
        return ControlKind::Text;
    if (qobject_cast<const QTabWidget*>(control)) return ControlKind::Sheet;
    if (qobject_cast<const QProgressBar*>(control)) return ControlKind::Progress;
    if (qobject_cast<const QMenuBar*>(control)) return ControlKind::MenuBar;
    if (qobject_cast<const QMenu*>(control)) return ControlKind::Menu;
    if (control->metaObject() == &QFrame::staticMetaObject) return ControlKind::Panel;
    return ControlKind::Custom;
}

// --------------------------------------------------------------------- wallpaper

bool showWallpaper(QWidget* content, const std::optional<std::string>& picture) {
    QPixmap pixmap;
    if (picture && !picture->empty()) {
        pixmap.load(QString::fromStdString(platform::hostPath(*picture).string()));
    }
    if (pixmap.isNull()) {
        clearWallpaper(content);
        return false;
    }

    if (!content->property(kSavedBrush).isValid()) {
        content->setProperty(kSavedBrush, QVariant::fromValue(content->palette().brush(QPalette::Window)));
        content->setProperty(kSavedAutoFill, content->autoFillBackground());
    }
    QPalette palette = content->palette();
    palette.setBrush(QPalette::Window, QBrush(pixmap));  // a pixmap brush tiles
    content->setPalette(palette);
    content->setAutoFillBackground(true);

    for (QWidget* child : content->findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(child) || qobject_cast<QCheckBox*>(child) ||
            qobject_cast<QRadioButton*>(child) || qobject_cast<QGroupBox*>(child)) {
            child->setAutoFillBackground(false);
        }
    }
    return true;
}

// --------------------------------------------------------- placement of a window

WindowPlacementQt::WindowPlacementQt(QWidget* window, WindowPlacementOptions options,
                                     QWidget* content)
    : QObject(window), window_(window), content_(content), options_(std::move(options)) {
    auto* sub = qobject_cast<QMdiSubWindow*>(window);
    if (!content_) content_ = sub && sub->widget() ? sub->widget() : window;
    if (sub) {
        if (!sub->isMaximized() && !sub->isMinimized()) subWindowNormal_ = sub->geometry();
        window_->installEventFilter(this);
    }
}

QtPlacementView WindowPlacementQt::placementView() const {
    QtPlacementView view(window_, options_.designedMaximized);
    if (subWindowNormal_) view.setKnownNormalGeometry(*subWindowNormal_);
    return view;
}

WindowPlacementQt::~WindowPlacementQt() = default;

void WindowPlacementQt::opened() {
    if (isOpen_) return;
    isOpen_ = true;
    closeRequested_ = false;
    if (options_.resizerMode == 1 || options_.resizerMode == 2) {
        resizer_.start(QtResizerView(content_), static_cast<framework::ResizerMode>(options_.resizerMode));
    }
    if (options_.keepPlacement) {
        QtPlacementView view = placementView();
        framework::restorePlacement(view, options_.iniFile, options_.section);
    }
    layout();
    showWallpaper(content_, options_.wallpaper);
}

bool WindowPlacementQt::closing() {
    if (!isOpen_) return false;
    isOpen_ = false;
    bool saved = false;
    if (options_.keepPlacement) {
        QtPlacementView view = placementView();
        saved = framework::savePlacement(view, options_.iniFile, options_.section);
    }
    resizer_.end();
    return saved;
}

void WindowPlacementQt::layout() {
    if (!resizer_.started()) return;
    QtResizerView view(content_);
    resizer_.layout(view);
}

void WindowPlacementQt::attach() {
    if (automatic_) return;
    automatic_ = true;
    window_->removeEventFilter(this);
    window_->installEventFilter(this);
    if (content_ != window_) content_->installEventFilter(this);
}

bool WindowPlacementQt::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && isSubWindow(window_)) {
        const QEvent::Type type = event->type();
        if ((type == QEvent::Move || type == QEvent::Resize) && !window_->isMaximized() &&
            !window_->isMinimized())
            subWindowNormal_ = window_->geometry();
    }
    if (!automatic_) return QObject::eventFilter(watched, event);
    if (watched == window_) {
        switch (event->type()) {
            case QEvent::Show:
                if (!isOpen_) opened();
                break;
            case QEvent::Close:
                // The window may still refuse to close; the placement is saved
                // when the close is carried out and hides the window.
                // The request lapses once the event loop runs again.
                closeRequested_ = true;
                QMetaObject::invokeMethod(this, [this] { closeRequested_ = false; },
                                          Qt::QueuedConnection);
                break;
            case QEvent::Hide:
                if (closeRequested_) closing();
                closeRequested_ = false;
                break;
            default:
                break;
        }
    }
    if (watched == content_ && event->type() == QEvent::Resize) layout();
    return QObject::eventFilter(watched, event);
}

}  // namespace ui
