// The library's screens on Qt windows (see access/screen_host.h).
#include "dostup/screen_host.h"

#include "access/login_employees.h"

#include "framework/shared_state.h"
#include "ui/book_windows.h"

#include <QApplication>
#include <QMdiArea>

#include <cstdio>

namespace dostup {

namespace {

// Whether Qt can open windows in this process: a platform named outright, or a
// display to connect to.
bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The application was made offscreen to print, in a host with no display: its
// windows could never be seen or answered.
bool& renderingOnly() {
    static bool offscreen = false;
    return offscreen;
}

void makeApplication(bool offscreen) {
    static int argc = 1;
    static char name[] = "dostup";
    static char platformOption[] = "-platform";
    static char offscreenName[] = "offscreen";
    static char* argv[] = {name, nullptr, nullptr, nullptr};
    if (offscreen) {
        argc = 3;
        argv[1] = platformOption;
        argv[2] = offscreenName;
    }
    new QApplication(argc, argv);
    installLibraryWindows();
}

}  // namespace

// A host without a Qt application gets one for the rest of its run: the suite's
// C programs call screen after screen, and Qt allows one application object.
// It is never destroyed, so no window outlives it at the program's end.
bool prepareWindows() {
    if (!QCoreApplication::instance()) {
        if (!displayAvailable()) {
            static bool told = false;
            if (!told) std::fputs("dostup: no display (DISPLAY is not set): the library's windows cannot open\n", stderr);
            told = true;
            return false;
        }
        makeApplication(false);
    }
    if (renderingOnly() || !qobject_cast<QApplication*>(QCoreApplication::instance())) {
        static bool told = false;
        if (!told) std::fputs("dostup: no display: the library's windows cannot open\n", stderr);
        told = true;
        return false;
    }
    return true;
}

void prepareRendering() {
    if (QCoreApplication::instance()) return;
    renderingOnly() = !displayAvailable();
    makeApplication(renderingOnly());
}

namespace {

// The MDI area of the host's frame: the visible top-level window that has one,
// the active window first.
QMdiArea* hostArea() {
    if (QWidget* active = QApplication::activeWindow())
        if (auto* area = active->findChild<QMdiArea*>()) return area;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            if (auto* area = window->findChild<QMdiArea*>()) return area;
    return nullptr;
}

}  // namespace

// A screen that cannot open ends as cancelled, as a closed one does.
int cancelled() {
    framework::globalRequest() = framework::kRequestNone;
    framework::globalResponse() = framework::kResponseCancelled;
    return framework::kResponseCancelled;
}

int runScreenList(const framework::browse::BrowseDefinition& list) {
    if (!prepareWindows()) return cancelled();
    QMdiArea* area = hostArea();
    if (framework::globalRequest() == framework::kRequestSelect || !area) return ui::runList(list, area);
    ui::openList(list, area);
    return framework::kResponseCancelled;
}

int runScreenForm(const framework::form::FormDefinition& form) {
    if (!prepareWindows()) return cancelled();
    return ui::runFormWindow(form);
}

}  // namespace dostup
