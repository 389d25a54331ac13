#include "framework/file_access.h"

#include "framework/standard_messages.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

#include <unordered_map>

namespace framework {

namespace {

std::unordered_map<const storage::DataFile*, long>& counts() {
    static std::unordered_map<const storage::DataFile*, long> table;
    return table;
}

std::unordered_map<const storage::DataFile*, NewFileFiller>& fillers() {
    static std::unordered_map<const storage::DataFile*, NewFileFiller> table;
    return table;
}

// Creating a missing file: create it, open it with the same mode, and give it the
// records a new file of its kind starts with.
void createAndOpen(storage::DataFile& file, int mode) {
    if (file.create() != storage::error::kNone) {
        standardMessage(4, file.name(), file.lastError());
        return;
    }
    if (file.open(mode) != storage::error::kNone) {
        standardMessage(5, file.name(), file.lastError());
        return;
    }
    const auto filler = fillers().find(&file);
    if (filler != fillers().end() && filler->second) filler->second(file);
}

}  // namespace

void setNewFileFiller(const storage::DataFile& file, NewFileFiller fill) {
    if (fill)
        fillers()[&file] = std::move(fill);
    else
        fillers().erase(&file);
}

void checkOpen(storage::DataFile& file, const OpenCheck& check) {
    const int mode = check.shared ? storage::kOpenReadWriteShared : check.mode;

    int result = file.open(mode);
    if (result == storage::error::kFileLocked) {
        // A lock left by a station that stopped: let the driver recover it, then retry.
        file.sendOption("Recover=10");
        result = file.open(mode);
    }

    switch (result) {
        case storage::error::kNone:
        case storage::error::kFileAlreadyOpen:
            return;
        case storage::error::kFileNotFound:
            if (check.noCreateOverride) break;
            if (check.createAllowed) {
                createAndOpen(file, mode);
                return;
            }
            standardMessage(4, file.name(), file.lastError());
            return;
        case storage::error::kKeyFileInvalid:
            // The answer No ends the program inside the message.
            standardMessage(2, file.name(), file.lastError());
            if (file.build() != storage::error::kNone) {
                standardMessage(3, file.name(), file.lastError());
                return;
            }
            result = file.open(mode);
            if (result == storage::error::kNone) return;
            break;
        case storage::error::kInvalidDeclaration:
            standardMessage(1, file.name(), file.lastError());
            return;
        default:
            break;
    }
    if (file.errorCode() != storage::error::kNone) {
        standardMessage(30, file.name(), file.lastError());
        platform::userServices().stopProgram("Disk Error");
    }
}

void useFile(storage::DataFile& file) {
    long& count = counts()[&file];
    if (count == 0) checkOpen(file);
    ++count;
}

void releaseFile(storage::DataFile& file) {
    auto it = counts().find(&file);
    if (it == counts().end() || it->second == 0) return;
    if (--it->second == 0) file.close();
}

long userCount(const storage::DataFile& file) {
    auto it = counts().find(&file);
    return it == counts().end() ? 0 : it->second;
}

}  // namespace framework
