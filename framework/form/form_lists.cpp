// Lists inside a form (the rates inside the currency form): each runs on the
// browse engine over a view that the form window supplies, lives as long as the
// window, and may own the frame's toolbar while the form is active.
#include "framework/form/form_lists.h"

#include "framework/form/form_view.h"

namespace framework::form {

// The window's open event: every list the window shows is opened and built.
void FormEngine::openLists() {
    for (const EmbeddedList& declared : definition_.lists) {
        browse::BrowseView* shown = view_.listView(declared.control);
        if (!shown || !declared.definition) continue;
        auto running = std::make_unique<RunningList>();
        running->control = declared.control;
        running->tiesToolbar = declared.tiesToolbar;
        running->view = std::make_unique<ListInForm>(*shown, view_, toolbar_, declared.tiesToolbar);
        browse::BrowseDefinition definition = declared.definition();
        definition.embedded = true;
        running->engine = std::make_unique<browse::BrowseEngine>(std::move(definition), *running->view);
        if (running->engine->open()) running->engine->windowOpened();
        lists_.push_back(std::move(running));
    }
}

void FormEngine::refreshLists(bool force) {
    for (const auto& running : lists_) {
        if (force)
            running->engine->forceRefresh();
        else
            running->engine->refresh();
    }
}

void FormEngine::finishLists() {
    for (const auto& running : lists_) running->engine->finish();
}

// While a list that owns the toolbar has focus, the navigation buttons move in it
// and help opens its help page.
bool FormEngine::toolbarToList(int button) {
    const bool forList = (button >= kToolLastPage && button <= kToolLocate) || button == kToolHelp;
    if (!forList) return false;
    const int focused = view_.focusedEntry();
    for (const auto& running : lists_) {
        if (!running->tiesToolbar || running->control != focused) continue;
        running->engine->toolbar(button);
        return true;
    }
    return false;
}

void FormEngine::afterEvent() {
    if (closed_) return;
    for (const auto& running : lists_)
        if (running->tiesToolbar) running->engine->prepareToolbar();
}

browse::BrowseEngine* FormEngine::list(int control) {
    if (closed_) return nullptr;
    for (const auto& running : lists_)
        if (running->control == control) return running->engine.get();
    return nullptr;
}

void FormEngine::tabChanged() {
    if (closed_ || !windowOpen_) return;
    refreshLists(false);
    afterEvent();
}

}  // namespace framework::form
