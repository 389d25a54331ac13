// Keys on the list, the first-character locator and the popup menu.
#include "framework/browse/browse_engine.h"

#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

namespace framework::browse {

void BrowseEngine::key(ListKey key) {
    if (closed_) return;
    if (!page_.empty()) {
        switch (key) {
            case ListKey::DoubleClick:
                if (selectMode() && def_.buttons.select)
                    selectButton();
                else
                    changeButton();
                break;
            case ListKey::Insert: insertButton(); break;
            case ListKey::Delete: deleteButton(); break;
            case ListKey::CtrlEnter: changeButton(); break;
        }
    } else if (key == ListKey::Insert) {
        insertButton();
    }
    if (!closed_) postNewSelection();
}

void BrowseEngine::character(char typed) {
    if (closed_) return;
    if (def_.typed && def_.typed(*this, typed)) return;
    if (!page_.empty() && activeSetup().locatorField >= 0) locator(typed);
    if (!closed_) postNewSelection();
}

// Typing the first character of the highlighted record's key walks down the
// records that begin with it; another character jumps to the first record at or
// after it (a numeric key receives the character's numeric value).
void BrowseEngine::locator(char typed) {
    const auto field = static_cast<std::size_t>(activeSetup().locatorField);
    const unsigned char wanted = platform::upperChar(static_cast<unsigned char>(typed));
    auto firstOfHighlighted = [&]() -> unsigned char {
        const std::string text = file_.record().value(field);
        return text.empty() ? 0 : platform::upperChar(static_cast<unsigned char>(text[0]));
    };
    takeChoice();
    page_.copyToBuffers(static_cast<std::size_t>(state_.currentRow));
    if (firstOfHighlighted() == wanted) {
        state_.currentEvent = ScrollEvent::RowDown;
        scrollOne();
        if (closed_) return;
        page_.copyToBuffers(static_cast<std::size_t>(state_.currentRow));
        showPage();
    }
    if (firstOfHighlighted() == wanted) {
        view_.highlightRow(static_cast<int>(state_.currentRow));
        return;
    }
    file_.record().setValue(field, std::string(1, typed));
    const storage::Record value = lowestAfter(file_.record(), static_cast<int>(field));
    locate(LocateMode::OnValue, &value);
}

void BrowseEngine::rightClick() {
    if (closed_) return;
    rightClickPending_ = true;
    postNewSelection();
}

void BrowseEngine::popup() {
    state_.popupText = page_.empty() ? def_.popup.withoutRows : def_.popup.withRows;
    if (state_.popupText.empty()) return;
    switch (platform::userServices().popupMenu(state_.popupText)) {
        case 1: insertButton(); break;
        case 2: changeButton(); break;
        case 3: deleteButton(); break;
        case 4:
            if (def_.popup.fourthSelects) selectButton();
            break;
        default: break;
    }
}

}  // namespace framework::browse
