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

std::unordered_map<const storage::DataFile*, OpenedHook>& openedHooks() {
    static std::unordered_map<const storage::DataFile*, OpenedHook> table;
    return table;
}

void runOpenedHook(storage::DataFile& file) {
    const auto hook = openedHooks().find(&file);
    if (hook != openedHooks().end() && hook->second) hook->second(file);
}

// Creating a missing file: create it, open it with the same mode, and give it the
// records a new file of its kind starts with.
void createAndOpen(storage::DataFile& file, int mode, bool endOnFailure) {
    // Another station may create the same file at the same moment (two stations
    // at a first run): its file, and what it wrote, is kept.
    if (file.create(true) != storage::error::kNone) {
        if (endOnFailure) standardMessage(4, file.name(), file.lastError());
        return;
    }
    if (file.open(mode) != storage::error::kNone) {
        if (endOnFailure) standardMessage(5, file.name(), file.lastError());
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

bool checkOpen(storage::DataFile& file, const OpenCheck& check) {
    const int mode = check.shared ? storage::kOpenReadWriteShared : check.mode;

    int result = file.open(mode);
    if (result == storage::error::kFileLocked && check.endOnFailure) {
        // A lock left by a station that stopped: let the driver recover it, then retry.
        // A reader that goes on without the file (the rights check) does not wait
        // for that: it refuses now and tries again at its next call.
        file.sendOption("Recover=10");
        result = file.open(mode);
    }

    switch (result) {
        case storage::error::kNone:
        case storage::error::kFileAlreadyOpen:
            return true;
        case storage::error::kFileNotFound:
            if (check.noCreateOverride) break;
            if (check.createAllowed) {
                createAndOpen(file, mode, check.endOnFailure);
                return file.isOpen();
            }
            if (!check.endOnFailure) return false;
            standardMessage(4, file.name(), file.lastError());
            return file.isOpen();
        case storage::error::kKeyFileInvalid:
            if (!check.endOnFailure) return false;
            // The answer No ends the program inside the message.
            standardMessage(2, file.name(), file.lastError());
            if (file.build() != storage::error::kNone) {
                standardMessage(3, file.name(), file.lastError());
                return file.isOpen();
            }
            result = file.open(mode);
            if (result == storage::error::kNone) return true;
            break;
        case storage::error::kInvalidDeclaration:
            if (!check.endOnFailure) return false;
            standardMessage(1, file.name(), file.lastError());
            return file.isOpen();
        default:
            break;
    }
    if (!check.endOnFailure) return file.isOpen();
    if (file.errorCode() != storage::error::kNone) {
        standardMessage(30, file.name(), file.lastError());
        platform::userServices().stopProgram("Disk Error");
    }
    return file.isOpen();
}

void setOpenedHook(const storage::DataFile& file, OpenedHook hook) {
    if (hook)
        openedHooks()[&file] = std::move(hook);
    else
        openedHooks().erase(&file);
}

void useFile(storage::DataFile& file) {
    long& count = counts()[&file];
    const bool first = count == 0;
    if (first) checkOpen(file);
    ++count;
    if (first && file.isOpen()) runOpenedHook(file);
}

bool tryUseFile(storage::DataFile& file) {
    long& count = counts()[&file];
    if (count == 0) {
        OpenCheck check;
        check.endOnFailure = false;
        if (!checkOpen(file, check)) return false;
        ++count;
        runOpenedHook(file);
        return true;
    }
    ++count;
    return true;
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
