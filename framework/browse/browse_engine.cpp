// Opening and closing a list, its window events and its buttons.
#include "framework/browse/browse_engine.h"

#include "framework/file_access.h"
#include "framework/shared_state.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

namespace framework::browse {

BrowseEngine::BrowseEngine(BrowseDefinition definition, BrowseView& view)
    : def_(std::move(definition)), view_(view), file_(def_.file) {
    if (def_.sorts.empty()) def_.sorts.push_back({});
    const storage::RecordLayout& layout = file_.layout();
    for (const SortDefinition& sort : def_.sorts) {
        SortSetup setup;
        setup.key = layout.key(sort.key);
        if (!sort.locatorField.empty()) setup.locatorField = layout.fieldIndex(sort.locatorField);
        if (sort.range) setup.rangeField = layout.fieldIndex(sort.range->childField);
        if (setup.key) {
            for (std::size_t component : setup.key->components) {
                if (static_cast<int>(component) == setup.rangeField) continue;
                setup.distributionField = static_cast<int>(component);
                break;
            }
        }
        sorts_.push_back(setup);
    }
    // The range values are the list's locals, bound by name for the filters.
    for (std::size_t i = 0; i < def_.sorts.size(); ++i) {
        if (!def_.sorts[i].range) continue;
        bindings_.bind(def_.sorts[i].range->name, [this, i] { return sorts_[i].rangeValue; });
    }
    names_.add(bindings_);
    if (def_.names) names_.add(*def_.names);
    fileView_ = std::make_unique<FileView>(file_, &names_, def_.rowRead, def_.rowAccepted);
    fileView_->setMoreFields(def_.rowFieldsNow);
    setupQueue();
    rowFields_ = rowFieldSet();
}

BrowseEngine::~BrowseEngine() {
    if (fileInUse_) releaseFile(file_);
}

bool BrowseEngine::open() {
    if (!def_.embedded) {
        callingRequest_ = globalRequest();
        globalRequest() = kRequestNone;
        globalResponse() = 0;
    }
    localRequest_ = callingRequest_;
    useFile(file_);
    fileInUse_ = true;
    if (!def_.embedded) {
        view_.openWindow({def_.iniSection,
                          listWallpaperRole(selectMode(), def_.wallpaper == ListWallpaper::Tabl2),
                          selectMode(), def_.wallpaperSection});
        windowOpen_ = true;
    }
    if (!def_.accessObject.empty()) {
        rights_ = static_cast<std::uint16_t>(rightsOf(def_.accessObject));
        if (rights_ & kForbidAccess) {
            platform::messageBox(refusalText(def_.refusals.access, def_.accessObject, kForbidAccess),
                                 def_.refusals.caption,
                                 platform::Icon::Information);
            response_ = kResponseCancelled;
            closeList();
            return false;
        }
    }
    applyButtons();
    return true;
}

void BrowseEngine::applyButtons() {
    const bool select = def_.buttons.select && selectMode();
    if (def_.buttons.insert) view_.showButton(ListButton::Insert, !(rights_ & kForbidInsert));
    if (def_.buttons.change) view_.showButton(ListButton::Change, !(rights_ & kForbidChange));
    if (def_.buttons.remove) view_.showButton(ListButton::Delete, !(rights_ & kForbidDelete));
    if (def_.buttons.select) {
        view_.showButton(ListButton::Select, select);
        view_.enableButton(ListButton::Select, select);
    }
    enabled_[static_cast<int>(ListButton::Select)] = select;
}

void BrowseEngine::windowOpened() {
    if (closed_) return;
    prepareToolbar();
    refresh();
    view_.focusList();
}

void BrowseEngine::finish() { closeList(); }

// The closing routine: the same for the close and select buttons, the close box
// and a fatal read error.
void BrowseEngine::closeList() {
    if (closed_) return;
    closed_ = true;
    if (fileInUse_) {
        releaseFile(file_);
        fileInUse_ = false;
    }
    if (windowOpen_) {
        view_.closeWindow();
        windowOpen_ = false;
    }
    if (!def_.embedded) globalResponse() = response_ ? response_ : kResponseCancelled;
    fileView_->close();
}

void BrowseEngine::gainFocus() { forceRefresh(); }

void BrowseEngine::resized() { forceRefresh(); }

void BrowseEngine::forceRefresh() {
    if (closed_) return;
    state_.forceRefresh = true;
    refresh();
}

void BrowseEngine::restart() {
    if (closed_) return;
    state_.restartPending = true;
    forceRefresh();
}

void BrowseEngine::tabChanged() {
    if (closed_) return;
    if (def_.tabChanging) def_.tabChanging(*this);
    refresh();
}

void BrowseEngine::rejected() {
    if (closed_) return;
    view_.beep();
    view_.focusList();
}

void BrowseEngine::insertButton() { updateCycle(kRequestInsert); }

void BrowseEngine::copyButton(const std::function<void(storage::Record&)>& prepare) {
    if (closed_ || page_.empty()) return;
    updateCycle(kRequestInsert, &prepare);
}

void BrowseEngine::changeButton() {
    if (!enabled_[static_cast<int>(ListButton::Change)]) return;
    updateCycle(kRequestChange);
}

void BrowseEngine::deleteButton() {
    if (!enabled_[static_cast<int>(ListButton::Delete)]) return;
    updateCycle(kRequestDelete);
}

void BrowseEngine::selectButton() {
    if (closed_ || !enabled_[static_cast<int>(ListButton::Select)]) return;
    readHighlightedRecord();
    response_ = kResponseCompleted;
    closeList();
}

void BrowseEngine::closeButton() {
    if (closed_) return;
    readHighlightedRecord();
    response_ = kResponseCancelled;
    closeList();
}

void BrowseEngine::helpButton() {
    if (closed_) return;
    readHighlightedRecord();
    if (!def_.helpTopic.empty()) openHelp(def_.helpTopic);
}

void BrowseEngine::extraButton(std::size_t index) {
    if (closed_ || index >= def_.extraButtons.size()) return;
    const auto& action = def_.extraButtons[index].action;
    if (action) action(*this);
}

std::string BrowseEngine::rangeValue() const { return activeSetup().rangeValue; }

}  // namespace framework::browse
