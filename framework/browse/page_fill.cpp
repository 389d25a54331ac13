// The page fill: the only routine that reads records into the page.
#include "framework/browse/browse_engine.h"

#include "framework/browse/page_snapshot.h"
#include "framework/standard_messages.h"
#include "storage/data_file.h"

#include <algorithm>
#include <optional>

namespace framework::browse {

// Reads up to state_.itemsToFill records in state_.fillDirection. A non-empty page
// is continued from its last row (forward) or its first row (backward): the view
// is reset there and that row, read again first, is skipped. What is left in
// itemsToFill afterwards tells how many records could not be read. False after a
// read error, which closes the list.
bool BrowseEngine::fill() {
    if (!fileView_->isOpen()) reopenView();
    const bool forward = state_.fillDirection == FillDirection::Forward;
    std::string skip;
    if (!page_.empty()) {
        skip = forward ? page_.back().position : page_.front().position;
        fileView_->resetTo(skip);
    }
    const auto capacity = static_cast<std::size_t>(std::max(1, view_.visibleRows()));
    fileView_->setBatch(static_cast<std::size_t>(std::max(0L, state_.itemsToFill)) + 1);
    bool first = true;
    std::optional<PageSnapshot> snapshot(std::in_place, file_, def_.columns);
    while (state_.itemsToFill > 0) {
        const int rc = forward ? fileView_->next() : fileView_->previous();
        if (rc == storage::error::kRecordNotAvailable) break;
        if (rc != storage::error::kNone) {
            snapshot.reset();  // not held while the message waits
            standardMessage(35, file_.label(), file_.lastError());
            closeList();
            return false;
        }
        const bool skipThis = first && !skip.empty() && fileView_->position() == skip;
        first = false;
        if (skipThis) continue;
        if (state_.addRows) {
            while (page_.size() >= capacity) forward ? page_.dropTop() : page_.dropBottom();
            PageRow row = page_.makeRow(fileView_->record(), fileView_->position());
            forward ? page_.addBottom(std::move(row)) : page_.addTop(std::move(row));
            pageDirty_ = true;
        }
        --state_.itemsToFill;
    }
    state_.addRows = true;
    return true;
}

}  // namespace framework::browse
