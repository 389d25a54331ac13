// Setting the view up for the active sort: its key, its range and its filter.
#include "framework/browse/browse_engine.h"

#include "framework/standard_messages.h"
#include "storage/data_file.h"

namespace framework::browse {

const SortDefinition& BrowseEngine::activeSort() const {
    const int order = state_.sortOrder < 1 ? 1 : state_.sortOrder;
    return def_.sorts[static_cast<std::size_t>(order - 1)];
}

BrowseEngine::SortSetup& BrowseEngine::activeSetup() {
    const int order = state_.sortOrder < 1 ? 1 : state_.sortOrder;
    return sorts_[static_cast<std::size_t>(order - 1)];
}

const BrowseEngine::SortSetup& BrowseEngine::activeSetup() const {
    const int order = state_.sortOrder < 1 ? 1 : state_.sortOrder;
    return sorts_[static_cast<std::size_t>(order - 1)];
}

// Closes the view and sets it up again from the start of the active key. A ranged
// list takes the parent's value as its range value now and puts it into the child
// key field of the record buffer.
void BrowseEngine::resetView() {
    fileView_->close();
    const SortDefinition& sort = activeSort();
    SortSetup& setup = activeSetup();
    viewSettings_ = {};
    viewSettings_.key = setup.key;
    viewSettings_.filter = sort.filter;
    viewSettings_.fields = rowFields_;
    if (sort.range) {
        setup.rangeValue = sort.range->parentValue ? sort.range->parentValue() : std::string();
        viewSettings_.rangeField = setup.rangeField;
        viewSettings_.rangeValue = setup.rangeValue;
        if (setup.rangeField >= 0)
            file_.record().setValue(static_cast<std::size_t>(setup.rangeField), setup.rangeValue);
        const std::string& rangeFilter = sort.range->filter;
        if (viewSettings_.filter.empty())
            viewSettings_.filter = rangeFilter;
        else if (!rangeFilter.empty())
            viewSettings_.filter = "(" + viewSettings_.filter + ") AND (" + rangeFilter + ")";
    }
    showViewError(fileView_->open(viewSettings_));
}

// Opens the view again with the settings it had (the range value stays).
void BrowseEngine::reopenView() {
    fileView_->close();
    showViewError(fileView_->open(viewSettings_));
}

// A filter that cannot be used: message 36 once per list, then the list goes on
// unfiltered.
void BrowseEngine::showViewError(int code) {
    if (code == 0 || viewErrorShown_) return;
    viewErrorShown_ = true;
    storage::ErrorState error;
    error.code = code;
    error.text = "Invalid filter expression";
    standardMessage(36, {}, error);
}

// A new record of a ranged list belongs to the parent the list shows.
void BrowseEngine::primeRange() {
    const SortSetup& setup = activeSetup();
    if (activeSort().range && setup.rangeField >= 0)
        file_.record().setValue(static_cast<std::size_t>(setup.rangeField), setup.rangeValue);
}

}  // namespace framework::browse
