#include "ui/book_windows.h"

#include "framework/form/form_engine.h"
#include "framework/shared_state.h"
#include "ui/form_host.h"
#include "ui/form_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace ui {

ListWindow* openList(const framework::browse::BrowseDefinition& definition, QMdiArea* area) {
    auto* window = new ListWindow(definition, area);
    if (!window->start()) return nullptr;  // the window deletes itself
    return window;
}

int runList(const framework::browse::BrowseDefinition& definition, QMdiArea* area) {
    // The window the list was called from is the one the operator returns to.
    QPointer<QMdiSubWindow> callingChild = area ? area->activeSubWindow() : nullptr;
    QPointer<QWidget> callingWindow = QApplication::activeWindow();
    QEventLoop loop;
    QPointer<ListWindow> window = new ListWindow(definition, area);
    QObject::connect(window, &ListWindow::finished, &loop, &QEventLoop::quit);
    if (!window->start()) return framework::globalResponse();
    loop.exec();
    if (callingChild && callingChild->isVisible()) area->setActiveSubWindow(callingChild);
    else if (!area && callingWindow && callingWindow->isVisible()) callingWindow->activateWindow();
    return framework::globalResponse();
}

int runFormWindow(const framework::form::FormDefinition& definition) {
    FormHost* host = currentFormHost();
    // A form called from a list inside another form: that form stands aside.
    QPointer<FormWindow> caller = FormWindow::hosting(host);
    if (caller) caller->setCallingForm(true);
    auto* window = new FormWindow(host);
    const int response = framework::form::runForm(definition, *window);
    window->dispose();
    if (caller) caller->setCallingForm(false);
    return response;
}

}  // namespace ui
