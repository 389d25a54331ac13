// Every row of a list, for a spreadsheet: the list's own view settings, read from
// the start in pages, never counted and never loaded whole.
#include "framework/browse/browse_engine.h"

#include "framework/browse/file_view.h"
#include "storage/data_file.h"

namespace framework::browse {

int BrowseEngine::forEachRow(const std::function<bool(const storage::Record& row)>& visit) {
    FileView rows(file_, &names_, def_.rowRead, def_.rowAccepted);
    rows.setMoreFields(def_.rowFieldsNow);
    // A filter the list could not use was reported when the list opened; the rows
    // are then the unfiltered ones the list shows.
    rows.open(viewSettings_);
    if (!rows.isOpen()) return file_.errorCode() != 0 ? file_.errorCode() : storage::error::kDriverError;
    rows.setBatch(200);
    rows.setToStart();
    int code;
    while ((code = rows.next()) == storage::error::kNone)
        if (!visit(rows.record())) return storage::error::kNone;
    return code == storage::error::kRecordNotAvailable ? storage::error::kNone : code;
}

}  // namespace framework::browse
