// The library's screens on Qt windows (see access/screen_host.h).
#include "access/screen_host.h"

#include "access/login_employees.h"

#include "framework/shared_state.h"
#include "ui/book_windows.h"

#include <QApplication>
#include <QMdiArea>

namespace dostup {

// A host without a Qt application gets one for the rest of its run: the suite's
// C programs call screen after screen, and Qt allows one application object.
// It is never destroyed, so no window outlives it at the program's end.
void prepareWindows() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "dostup";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    installLibraryWindows();
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

int runScreenList(const framework::browse::BrowseDefinition& list) {
    prepareWindows();
    QMdiArea* area = hostArea();
    if (framework::globalRequest() == framework::kRequestSelect || !area) return ui::runList(list, area);
    ui::openList(list, area);
    return framework::kResponseCancelled;
}

int runScreenForm(const framework::form::FormDefinition& form) { return ui::runFormWindow(form); }

}  // namespace dostup
