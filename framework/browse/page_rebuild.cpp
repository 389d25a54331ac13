// The page rebuild by refresh mode.
#include "framework/browse/browse_engine.h"

#include "storage/data_file.h"

#include <algorithm>

namespace framework::browse {

void BrowseEngine::rebuild() {
    view_.setWaitCursor(true);
    if (!fileView_->isOpen()) reopenView();
    const RefreshMode mode = state_.refreshMode;
    std::string& highlighted = state_.highlightedPosition;
    if (mode == RefreshMode::OnPosition && !fileView_->position().empty()) {
        // Around the record the view stands on (the one a locate found).
        highlighted = fileView_->position();
        fileView_->resetTo(highlighted);
    } else if (mode == RefreshMode::OnQueue && !page_.empty()) {
        // The same page and the same record: from the first row of the page.
        long row = state_.currentRow;
        if (row < 1) row = 1;
        if (row > static_cast<long>(page_.size())) row = static_cast<long>(page_.size());
        highlighted = page_.row(static_cast<std::size_t>(row)).position;
        fileView_->resetTo(page_.front().position);
    } else {
        highlighted.clear();
        fileView_->setToStart();
    }

    page_.clear();
    pageDirty_ = true;
    state_.itemsToFill = std::max(1, view_.visibleRows());
    state_.fillDirection =
        mode == RefreshMode::OnBottom ? FillDirection::Backward : FillDirection::Forward;
    if (!fill()) return;
    if (!highlighted.empty() && state_.itemsToFill > 0) {
        // The file ended before the page was full: the rest comes from the other side.
        if (page_.empty()) fileView_->resetTo(highlighted);
        state_.fillDirection = state_.fillDirection == FillDirection::Forward
                                   ? FillDirection::Backward
                                   : FillDirection::Forward;
        if (!fill()) return;
    }

    if (!page_.empty()) {
        const auto size = static_cast<long>(page_.size());
        if (!highlighted.empty()) {
            const std::size_t found = page_.find(highlighted);
            state_.currentRow = found ? static_cast<long>(found) : size;
        } else {
            state_.currentRow = mode == RefreshMode::OnBottom ? size : 1;
        }
        page_.copyToBuffers(static_cast<std::size_t>(state_.currentRow));
        setChangeDelete(true);
    } else {
        file_.record().clear();
        state_.currentRow = 0;
        setChangeDelete(false);
    }
    showPage();
    view_.setWaitCursor(false);
    state_.refreshMode = RefreshMode::None;
}

// The toolbar follows the buttons at once, so that 2001 and 2002 are enabled only
// while change and delete are.
void BrowseEngine::setChangeDelete(bool enabled) {
    const bool changed = enabled_[static_cast<int>(ListButton::Change)] != enabled;
    enabled_[static_cast<int>(ListButton::Change)] = enabled;
    enabled_[static_cast<int>(ListButton::Delete)] = enabled;
    if (def_.buttons.change) view_.enableButton(ListButton::Change, enabled);
    if (def_.buttons.remove) view_.enableButton(ListButton::Delete, enabled);
    if (changed && toolbarPrepared_) prepareToolbar();
}

}  // namespace framework::browse
