#include "framework/standard_messages.h"

#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

#include <string_view>

namespace framework {

namespace {

using platform::Icon;

storage::ErrorState saved;
bool savedSet = false;

struct MessageText {
    std::string caption;
    std::string text;
    int buttons = platform::kButtonOk;
    int defaultButton = platform::kButtonOk;
    Icon icon = Icon::Information;
    std::string stopText;  // not empty: the program ends with this text
};

std::string clipped(std::string_view text) { return std::string(platform::clip(text)); }

int effectiveCode(const storage::ErrorState& current) {
    return savedSet ? saved.code : current.code;
}

}  // namespace

void saveError(storage::DataFile& file) {
    saved = file.lastError();
    savedSet = true;
    file.rollback();
}

void clearSavedError() {
    saved = {};
    savedSet = false;
}

bool hasSavedError() { return savedSet; }

const storage::ErrorState& savedError() { return saved; }

std::string errorDescription(const storage::ErrorState& current) {
    const storage::ErrorState error = savedSet ? saved : current;
    clearSavedError();
    if (error.code == storage::error::kDriverError)
        return clipped(error.driverText) + " (" + std::to_string(error.driverCode) + ")";
    return clipped(error.text) + " (" + std::to_string(error.code) + ")";
}

int standardMessage(int number, const std::string& callerText,
                    const storage::ErrorState& current) {
    const std::string t = clipped(callerText);
    // The description is built only by the messages that quote it, since building
    // it consumes the saved error.
    auto e = [&current] { return errorDescription(current); };
    using platform::kButtonCancel;
    using platform::kButtonNo;
    using platform::kButtonOk;
    using platform::kButtonRetry;
    using platform::kButtonYes;

    MessageText m;
    switch (number) {
        case 1:
            m = {"Invalid File", "Error: (" + e() + ") accessing " + t +
                 ".  Press OK to end this application."};
            m.stopText = "Invalid File!";
            break;
        case 2:
            m = {"Invalid Key", t + " key file is invalid.  Do you want to rebuild the key?",
                 kButtonYes | kButtonNo, kButtonYes, Icon::Exclamation};
            break;
        case 3:
            m = {"Key Rebuild Error", "Error: (" + e() + ") repairing key for " + t +
                 ".  Press OK to end this application."};
            m.stopText = "Error Rebuilding Key!";
            break;
        case 4:
            m = {"File Creation Error", "Error: (" + e() + ") creating " + t +
                 ".  Press OK to end this application."};
            m.stopText = "File Creation Error!";
            break;
        case 5:
            m = {"File Creation Error", "Error: (" + e() + ") opening created file:" + t +
                 ".  Press OK to end this application."};
            m.stopText = "File Creation Error!";
            break;
        case 12:
            m = {"Referential Integrity Update Error",
                 "This record is referenced from the file " + t +
                     ".  Linking field(s) have been restricted from change and have been reset "
                     "to original values."};
            break;
        case 13:
            m = {"Referential Integrity Delete Error",
                 "This record is referenced from the file " + t +
                     ".  This record cannot be deleted while these references exist."};
            break;
        case 14:
            m = {"Record Insert Error",
                 "An error was experienced during the update of record.  Error: " + e() + "."};
            break;
        case 15:
            if (effectiveCode(current) != storage::error::kChangedByAnotherStation) {
                m = {"Update Operation Error",
                     "An error (" + e() +
                         ") was experienced when attempting to update a record from the file.  "
                         "Probable Cause: " + t + "."};
            } else {
                clearSavedError();
                m = {"Update Operation Error", "This record was changed by another station."};
            }
            break;
        case 16:
            m = {"Record Update Error",
                 "An error was experienced changing this record.  Do you want to try to save "
                 "again?",
                 kButtonYes | kButtonNo | kButtonCancel, kButtonCancel};
            break;
        case 17:
            m = {"Delete Operation Error",
                 "An error (" + e() +
                     ") was experienced when attempting to delete a record from the file " + t +
                     "."};
            break;
        case 18:
            m = {"Record Update Error",
                 "An error was experienced deleting this record.  Do you want to try to save "
                 "again?",
                 kButtonYes | kButtonNo | kButtonCancel, kButtonCancel};
            break;
        case 23:
            m = {"Update Cancelled", "Are you sure you want to cancel?", kButtonYes | kButtonNo,
                 kButtonNo, Icon::Exclamation};
            break;
        case 24:
            m = {"Duplicate Key Error",
                 "Adding this record creates a duplicate entry for the key:" + t};
            break;
        case 25:
            m = {"Auto Increment Error",
                 "Attempts to automatically number this record have failed.  Error: " + e() + ".",
                 kButtonRetry | kButtonCancel, kButtonCancel};
            break;
        case 30:
            m = {"File Access Error", "File (" + t + ") could not be opened.  Error: " + e() + "."};
            break;
        case 32:
            m = {"Confirm Delete",
                 "You've selected to delete the highlighted record.  Press OK to confirm deletion "
                 "of this record.",
                 kButtonOk | kButtonCancel, kButtonCancel, Icon::Exclamation};
            break;
        case 35:
            m = {"Record Retrieval Error", "Error: (" + e() + ") attempting to access a record from the " +
                 t + " file.  Returning to previous window."};
            break;
        case 36:
            m = {"View Open Error", "Error: (" + e() +
                 ") attempting to open the current VIEW. Filter and Range Limits ignored."};
            break;
        case 38:
            m = {"Record Was Not Updated",
                 "This record was changed by another station. Those changes will now be "
                 "displayed. Use the Ditto Button or Ctrl+' to recall your changes."};
            break;
        default:
            return kButtonOk;  // messages this system never shows
    }

    const int pressed = platform::messageBox(m.text, m.caption, m.icon, m.buttons, m.defaultButton);
    if (!m.stopText.empty()) platform::userServices().stopProgram(m.stopText);
    if (number == 2 && pressed == kButtonNo) platform::userServices().stopProgram("Invalid Key!");
    return pressed;
}

}  // namespace framework
