// Locating: the page rebuilt with a record as its top row.
#include "framework/browse/browse_engine.h"

#include <algorithm>

#include "storage/data_file.h"

namespace framework::browse {

// On the record just edited (its key position in the file) or on a key value
// (`value`, or the record buffer). The located record becomes the top row unless
// it lies within one page of the end, where the page is filled backwards.
void BrowseEngine::locate(LocateMode mode, const storage::Record* value) {
    if (mode == LocateMode::OnPosition) mode = LocateMode::OnEdit;
    state_.locateMode = mode;
    reopenView();
    bool positioned = false;
    if (mode == LocateMode::OnEdit && activeSetup().key && file_.hasCurrent()) {
        const std::string position = file_.position(*activeSetup().key);
        if (file_.errorCode() == storage::error::kNone && !position.empty()) {
            state_.highlightedPosition = position;
            fileView_->resetTo(position);
            positioned = true;
        }
    }
    // Without a current record the key value in the buffer is the next best place.
    if (!positioned) fileView_->setToValue(value ? *value : file_.record());

    page_.clear();
    pageDirty_ = true;
    state_.itemsToFill = 1;
    state_.fillDirection = FillDirection::Forward;
    state_.addRows = false;
    if (!fill()) return;
    state_.refreshMode = state_.itemsToFill ? RefreshMode::OnBottom : RefreshMode::OnPosition;
    rebuild();
    if (closed_) return;
    postNewSelection();
    state_.locateMode = LocateMode::None;
}

void BrowseEngine::locateOnValue() {
    if (closed_) return;
    locate(LocateMode::OnValue);
    if (closed_) return;
    if (!page_.empty()) page_.copyToBuffers(static_cast<std::size_t>(state_.currentRow));
    buildDistribution();
    view_.setThumb(state_.thumbPosition);
    showPage();
    postNewSelection();
}

std::string BrowseEngine::highlighted(const std::string& field) const {
    if (page_.empty() || state_.currentRow < 1) return {};
    const std::size_t row = std::min(static_cast<std::size_t>(state_.currentRow), page_.size());
    return page_.value(row, def_.prefix() + field).value_or(std::string());
}

}  // namespace framework::browse
