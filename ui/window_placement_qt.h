// Window placement, wallpaper and the resizer for Qt windows: a list or form
// window (a QMdiSubWindow or a top-level QWidget) restores its placement from its
// INI section when it opens and saves it when it closes, shows its wallpaper tiled
// behind its controls, and lays out controls placed at absolute positions again
// when it is resized. Windows built with Qt layouts leave the resizer off.
#pragma once

#include "framework/resizer.h"
#include "framework/window_placement.h"

#include <QObject>
#include <QRect>

#include <optional>
#include <string>

class QWidget;
class QEvent;

namespace ui {

// The placement view of a Qt window. Positions and sizes are those of the
// window's normal-size geometry: the client area of a top-level window, the
// whole sub-window (with its frame) inside the MDI area.
class QtPlacementView : public framework::PlacementView {
public:
    explicit QtPlacementView(QWidget* window, bool designedMaximized = false);

    bool designedMaximized() const override { return designedMaximized_; }
    bool resizable() const override;  // not fixed by equal minimum and maximum sizes
    bool minimized() const override;
    bool maximized() const override;
    framework::WindowRect geometry() const override;
    void setPosition(int x, int y) override;
    void setGeometry(const framework::WindowRect& rect) override;
    void setMaximized(bool maximized) override;
    // The design size: the content's minimum with the sub-window's frame.
    framework::WindowRect minimumSize() const override;
    // The MDI area's viewport for a sub-window, the screen's available area for a
    // top-level window.
    framework::WindowRect reachableArea() const override;

    // The last normal geometry of a sub-window as its owner saw it: a sub-window
    // that is being closed cannot return to its normal size any more, so this
    // geometry is reported instead.
    void setKnownNormalGeometry(const QRect& rect) { knownNormal_ = rect; }

private:
    QWidget* window_;
    bool designedMaximized_;
    std::optional<QRect> knownNormal_;
    bool treatedAsNormal_ = false;
    // The normal geometry noted when the window left the maximized state: the
    // window system may apply the change later than it is asked for.
    std::optional<QRect> normalGeometry_;
};

// The controls of a container placed at absolute positions, as the resizer sees
// them: every widget inside it that no layout manages, with group boxes and plain
// frames searched for the controls they hold; coordinates are relative to the
// container. Control numbers come from the property "controlId" when set and
// otherwise follow the order of creation (1, 2, ...); the kind comes from the
// property "controlKind" when set and otherwise from the widget's class.
class QtResizerView : public framework::ResizerView {
public:
    explicit QtResizerView(QWidget* container);

    framework::WindowRect windowGeometry() const override;
    std::vector<framework::ControlInfo> controls() const override;
    void moveControls(const std::vector<framework::ControlMove>& moves) override;

    static framework::ControlKind kindOf(const QWidget* control);

private:
    std::vector<QWidget*> controlWidgets() const;
    QWidget* container_;
};

// Shows `picture` (a system path such as ".\pic\Tabl1.bmp") tiled behind the
// controls of `content`, and makes labels, check boxes, radio buttons and group
// boxes transparent so it shows through them. No picture, or a file that cannot be
// read, clears the wallpaper. Returns whether a picture is shown.
bool showWallpaper(QWidget* content, const std::optional<std::string>& picture);

struct WindowPlacementOptions {
    std::string iniFile;        // ".\TARVO.INI" or ".\Dostup.INI"
    std::string section;        // "Price_t", "Price_u", ...
    bool keepPlacement = true;  // false for windows that use the section only for the wallpaper
    bool designedMaximized = false;
    // 0: no resizer (the window uses Qt layouts); 1 or 2: the resizer's mode.
    int resizerMode = 0;
    // The picture chosen by framework::chooseWallpaper (nothing: no wallpaper).
    std::optional<std::string> wallpaper;
};

// Ties placement, wallpaper and resizer to one window. Either call opened() right
// after the window is built (before it is shown) and closing() when it closes, or
// call attach() once and let the window's own events do it: the first show opens,
// every resize of the content lays out, and a close that is carried out saves.
// The object belongs to the window (its QObject parent) and watches it from the
// start, so that it knows the normal geometry of a maximized sub-window.
class WindowPlacementQt : public QObject {
    Q_OBJECT

public:
    // `content` holds the controls and the wallpaper; by default the sub-window's
    // widget, or the window itself.
    WindowPlacementQt(QWidget* window, WindowPlacementOptions options, QWidget* content = nullptr);
    ~WindowPlacementQt() override;

    // Resizer start, restore placement, resizer layout, wallpaper.
    void opened();
    // Save placement (for windows that keep it) and resizer end. Returns whether
    // the placement was written.
    bool closing();
    void attach();

    void layout();
    const framework::Resizer& resizer() const { return resizer_; }
    QWidget* content() const { return content_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QtPlacementView placementView() const;

    QWidget* window_;
    QWidget* content_;
    WindowPlacementOptions options_;
    std::optional<QRect> subWindowNormal_;  // tracked for sub-windows
    bool automatic_ = false;
    framework::Resizer resizer_;
    bool isOpen_ = false;
    bool closeRequested_ = false;
};

}  // namespace ui
