// The refresh routine, the new-selection event and the scroll thumb.
#include "framework/browse/browse_engine.h"

#include "framework/browse/page_snapshot.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

#include <algorithm>

namespace framework::browse {

void BrowseEngine::refresh() {
    if (closed_ || acceptingAll_) return;
    state_.previousSortOrder = state_.sortOrder;
    state_.rangeChanged = false;
    const int sorts = static_cast<int>(def_.sorts.size());
    state_.sortOrder = sorts <= 1 ? 1 : std::clamp(view_.activeTab(), 1, sorts);

    const SortDefinition& sort = activeSort();
    if (sort.range && sort.range->parentValue) {
        const std::string parent = sort.range->parentValue();
        if (platform::clip(parent) != platform::clip(activeSetup().rangeValue))
            state_.rangeChanged = true;
    }

    if (state_.restartPending) {
        state_.restartPending = false;
        state_.rangeChanged = true;
    }

    if (state_.sortOrder != state_.previousSortOrder || state_.rangeChanged ||
        state_.forceRefresh) {
        if (state_.forceRefresh && def_.forcedRefresh) def_.forcedRefresh();
        readHighlightedRecord();
        resetView();
        if (state_.previousSortOrder == 0 && selectMode()) {
            // Opened for select: on the caller's record, whose key value is in the buffer.
            locate(LocateMode::OnValue);
        } else if (state_.previousSortOrder == 0 || state_.rangeChanged) {
            page_.clear();
            state_.refreshMode = RefreshMode::OnTop;
            rebuild();
            postNewSelection();
        } else {
            // The highlighted record becomes the top row.
            locate(LocateMode::OnValue);
        }
        if (closed_) return;
        if (!page_.empty()) page_.copyToBuffers(static_cast<std::size_t>(state_.currentRow));
        buildDistribution();
    } else if (!page_.empty()) {
        page_.copyToBuffers(static_cast<std::size_t>(state_.currentRow));
    }
    view_.setThumb(state_.thumbPosition);
    showPage();
    state_.forceRefresh = false;
    if (def_.afterRefresh) def_.afterRefresh();
}

void BrowseEngine::postNewSelection() {
    if (state_.newSelectionPosted) return;
    state_.newSelectionPosted = true;
    view_.postNewSelection();
}

void BrowseEngine::newSelection() {
    if (closed_) return;
    state_.newSelectionPosted = false;
    if (rightClickPending_) {
        rightClickPending_ = false;
        popup();
        return;
    }
    takeChoice();
    if (!page_.empty()) selectRow(state_.currentRow);
    refresh();
}

// The list's choice as the current row.
void BrowseEngine::takeChoice() {
    if (page_.empty()) return;
    const auto size = static_cast<long>(page_.size());
    state_.currentRow = std::clamp(static_cast<long>(view_.chosenRow()), 1L, size);
}

// Copies a row into the record buffer and places the scroll thumb for it.
void BrowseEngine::selectRow(long row) {
    page_.copyToBuffers(static_cast<std::size_t>(row));
    updateScrollBar();
}

// The scroll bar shows only while the page is full; the thumb goes to the first
// distribution entry not below the highlighted record's key.
void BrowseEngine::updateScrollBar() {
    const bool full = !page_.empty() &&
                      page_.size() >= static_cast<std::size_t>(std::max(1, view_.visibleRows()));
    view_.showScrollBar(full);
    if (!full) return;
    const int field = activeSetup().distributionField;
    state_.thumbPosition =
        field < 0 ? 0 : distribution_.thumbFor(file_.record(), static_cast<std::size_t>(field));
}

// From the first and the last record of the view: two reads, no count.
void BrowseEngine::buildDistribution() {
    distribution_.clear();
    const int field = activeSetup().distributionField;
    if (field < 0 || !fileView_->isOpen()) return;
    const PageSnapshot snapshot(file_, def_.columns);
    if (fileView_->first() != storage::error::kNone) return;
    const storage::Record lowest = fileView_->record();
    if (fileView_->last() != storage::error::kNone) return;
    distribution_.build(lowest, fileView_->record(), static_cast<std::size_t>(field));
}

// One read through the view from the row's position: when the record still
// belongs to the view it comes back first, and its row is made anew in place.
// Otherwise (deleted or filtered out meanwhile) the page is rebuilt around it.
void BrowseEngine::rereadHighlightedRow() {
    if (closed_ || page_.empty()) return;
    takeChoice();
    const auto row = static_cast<std::size_t>(state_.currentRow);
    const std::string position = page_.row(row).position;
    if (!fileView_->isOpen()) reopenView();
    fileView_->resetTo(position);
    fileView_->setBatch(1);
    if (fileView_->next() != storage::error::kNone || fileView_->position() != position) {
        forceRefresh();
        return;
    }
    page_.replace(row, page_.makeRow(fileView_->record(), position));
    page_.copyToBuffers(row);
    pageDirty_ = true;
    showPage();
}

void BrowseEngine::readHighlightedRecord() {
    if (closed_ || page_.empty()) return;
    takeChoice();
    regetRow(state_.currentRow);
}

// The whole record of a row, re-read by its position with change detection armed,
// so that a later write fails if another station changed it meanwhile. When the
// record is gone the file keeps no current record, so nothing can be written over
// another one.
void BrowseEngine::regetRow(long row) {
    file_.watch();
    if (file_.reget(page_.row(static_cast<std::size_t>(row)).position) != storage::error::kNone)
        file_.clearCurrent();
}

}  // namespace framework::browse
