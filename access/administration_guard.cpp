#include "access/administration_guard.h"

#include "access/access_files.h"
#include "framework/file_access.h"
#include "platform/cp1251.h"
#include "storage/data_file.h"

#include <set>
#include <vector>

namespace dostup {

namespace {

// The first record whose `key` equals the leading fields set in `value`, read
// without touching the file's buffer: the record, nothing when there is none,
// and false in `ok` on a read error.
std::optional<storage::Record> findByKey(storage::DataFile& file, const char* key,
                                         const storage::Record& value, bool& ok) {
    storage::PageRequest request;
    request.key = file.layout().key(key);
    request.from = storage::PageRequest::From::KeyValue;
    request.value = &value;
    request.rangeComponents = request.key->components.size();
    std::vector<storage::PageRow> rows;
    if (file.readPage(request, rows) != storage::error::kNone) {
        ok = false;
        return std::nullopt;
    }
    if (rows.empty()) return std::nullopt;
    storage::Record found(file.layout());
    found.assign(rows.front().record);
    return found;
}

std::optional<std::int64_t> objectId(const char* designation, bool& ok) {
    storage::DataFile& objects = accessFiles().object;
    storage::Record value(objects.layout());
    value.clear();
    value.setText("OBJ:OBOZN", designation);
    const std::optional<storage::Record> found = findByKey(objects, "OBOZN_KEY", value, ok);
    if (!found) return std::nullopt;
    return found->getInt("OBJ:ID");
}

// The categories of the employees, read in pages.
std::optional<std::set<std::int64_t>> employedCategories() {
    storage::DataFile& mol = accessFiles().mol;
    std::set<std::int64_t> categories;
    storage::PageRequest request;
    request.count = 256;
    std::vector<storage::PageRow> rows;
    storage::Record row(mol.layout());
    for (;;) {
        if (mol.readPage(request, rows) != storage::error::kNone) return std::nullopt;
        for (const storage::PageRow& read : rows) {
            row.assign(read.record);
            categories.insert(row.getInt("MOL:KATEGCODE"));
        }
        if (rows.size() < request.count) return categories;
        request.from = storage::PageRequest::From::Position;
        request.position = rows.back().position;
        request.inclusive = false;
    }
}

}  // namespace

std::optional<bool> rightsGridStaysReachable(std::uint16_t category, std::uint16_t object, bool banned) {
    AccessFiles& files = accessFiles();
    framework::FileUse objects(files.object), rights(files.dostup), employees(files.mol);
    bool ok = true;
    const std::optional<std::int64_t> categoriesObject = objectId("KatMOL", ok);
    const std::optional<std::int64_t> rightsObject = objectId("Dostup", ok);
    if (!ok) return std::nullopt;
    if (object != categoriesObject && object != rightsObject) return true;

    const std::optional<std::set<std::int64_t>> employed = employedCategories();
    if (!employed) return std::nullopt;
    // Whether `kategory` may open the object `id` (an unregistered object bans nobody).
    const auto mayOpen = [&](std::int64_t kategory, const std::optional<std::int64_t>& id) -> bool {
        if (!id) return true;
        if (kategory == category && *id == object) return !banned;
        storage::Record value(files.dostup.layout());
        value.clear();
        value.setInt("DOS:KATEGCODE", kategory);
        value.setInt("DOS:OBJECTID", *id);
        const std::optional<storage::Record> row = findByKey(files.dostup, "KATEG_KEY", value, ok);
        return !row || row->getInt("DOS:OPENFLAG") == 0;
    };
    for (const std::int64_t kategory : *employed)
        if (mayOpen(kategory, categoriesObject) && mayOpen(kategory, rightsObject) && ok) return true;
    if (!ok) return std::nullopt;
    return false;
}

}  // namespace dostup
