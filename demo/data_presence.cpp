#include "demo/data_presence.h"

#include "platform/paths.h"
#include "storage/data_file.h"
#include "storage/sqlite/sqlite_backend.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <system_error>

namespace demo {

namespace {

namespace fs = std::filesystem;

// The folder a data file of the embedded engine lives in.
fs::path folderOf(const DataFileRef& file) {
    const fs::path database = storage::sqlite::databasePath(file.name);
    return database.has_parent_path() ? database.parent_path() : fs::path(".");
}

bool isDataFile(const fs::directory_entry& entry) {
    std::string extension = entry.path().extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".db";
}

Occupancy unknown(std::string where, std::string reason) {
    return {Occupancy::State::Unknown, std::move(where), std::move(reason)};
}

Occupancy folderOccupancy(const fs::path& folder) {
    std::error_code ec;
    if (!fs::exists(folder, ec)) {
        if (ec) return unknown(folder.string(), ec.message());
        return {};
    }
    fs::directory_iterator entries(folder, ec);
    if (ec) return unknown(folder.string(), ec.message());
    for (const fs::directory_entry& entry : entries)
        if (isDataFile(entry)) return {Occupancy::State::HoldsData, entry.path().string(), {}};
    return {};
}

Occupancy serverFileOccupancy(const DataFileRef& ref) {
    storage::DataFile file(*ref.layout);
    file.setName(ref.name);
    file.setOwnerPassword(ref.ownerPassword);
    switch (file.open(storage::kOpenReadOnlyShared)) {
        case storage::error::kFileNotFound: return {};
        case storage::error::kNone:
            file.close();
            return {Occupancy::State::HoldsData, ref.name, {}};
        // There, but locked, damaged or of another layout: data all the same.
        case storage::error::kFileLocked:
        case storage::error::kKeyFileInvalid:
        case storage::error::kInvalidDeclaration: return {Occupancy::State::HoldsData, ref.name, {}};
        default:
            return unknown(ref.name, file.driverErrorText().empty() ? file.errorText()
                                                                    : file.driverErrorText());
    }
}

}  // namespace

Occupancy occupancy(const std::vector<DataFileRef>& files) {
    std::set<fs::path> folders;
    for (const DataFileRef& file : files) {
        if (platform::isServerAddress(file.name)) {
            if (Occupancy found = serverFileOccupancy(file); found.state != Occupancy::State::Empty)
                return found;
            continue;
        }
        const fs::path folder = folderOf(file);
        if (!folders.insert(folder).second) continue;
        if (Occupancy found = folderOccupancy(folder); found.state != Occupancy::State::Empty)
            return found;
    }
    return {};
}

std::string createFolders(const std::vector<DataFileRef>& files, std::vector<std::string>* created) {
    for (const DataFileRef& file : files) {
        if (platform::isServerAddress(file.name)) continue;
        const fs::path folder = folderOf(file);
        std::error_code ec;
        const bool existed = fs::exists(folder, ec);
        fs::create_directories(folder, ec);
        if (ec) return folder.string() + ": " + ec.message();
        if (!existed && created) created->push_back(folder.string());
    }
    return {};
}

std::vector<std::string> removeWrittenData(const std::vector<DataFileRef>& files,
                                           const std::vector<std::string>& createdFolders) {
    std::vector<std::string> untouched;
    std::set<fs::path> folders;
    for (const DataFileRef& file : files) {
        if (platform::isServerAddress(file.name))
            untouched.push_back(file.name);
        else
            folders.insert(folderOf(file));
    }
    std::error_code ec;
    for (const fs::path& folder : folders) {
        // The folder held no data file before the write, so every one is the write's.
        for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
            const std::string name = entry.path().filename().string();
            const std::size_t db = name.rfind(".db");
            if (db == std::string::npos) continue;
            const std::string rest = name.substr(db);
            if (rest == ".db" || rest == ".db-wal" || rest == ".db-shm" || rest == ".db-journal")
                fs::remove(entry.path(), ec);
        }
    }
    for (auto it = createdFolders.rbegin(); it != createdFolders.rend(); ++it) fs::remove(*it, ec);
    return untouched;
}

}  // namespace demo
