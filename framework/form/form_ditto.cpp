#include "framework/form/form_ditto.h"

#include "storage/data_file.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace framework::form {

namespace {

// One ditto record per book, by the label of the file its form maintains.
std::map<std::string, std::vector<std::uint8_t>>& dittoRecords() {
    static std::map<std::string, std::vector<std::uint8_t>> records;
    return records;
}

}  // namespace

void rememberDitto(const storage::DataFile& file) {
    dittoRecords()[file.label()] = file.record().bytes();
}

bool recallDitto(storage::DataFile& file, std::size_t field) {
    auto it = dittoRecords().find(file.label());
    const auto& fields = file.layout().fields();
    if (it == dittoRecords().end() || field >= fields.size() ||
        it->second.size() != file.record().size())
        return false;
    const storage::FieldDef& def = fields[field];
    std::copy_n(it->second.begin() + static_cast<std::ptrdiff_t>(def.offset), def.size,
                file.record().data() + def.offset);
    return true;
}

void forgetDittoRecords() { dittoRecords().clear(); }

}  // namespace framework::form
