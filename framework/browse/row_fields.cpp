// The fields a list reads of its records: what it shows, carries, sorts, locates
// and ranges on, and what its hooks declare. A wide record (an employee) is then
// read a few fields at a time, and the storage may answer from a covering index.
#include "framework/browse/browse_engine.h"

#include "storage/data_file.h"

#include <algorithm>

namespace framework::browse {

namespace {

void add(storage::FieldSet& fields, int field) {
    if (field < 0) return;
    const auto index = static_cast<std::size_t>(field);
    const auto at = std::lower_bound(fields.begin(), fields.end(), index);
    if (at == fields.end() || *at != index) fields.insert(at, index);
}

}  // namespace

storage::FieldSet BrowseEngine::rowFieldSet() const {
    // A hook that declared nothing may read any field. Names are taken as the
    // queue takes them (setupQueue).
    if (!def_.rowFields && (def_.rowRead || def_.rowAccepted)) return {};
    const storage::RecordLayout& layout = file_.layout();
    storage::FieldSet fields;
    for (const ColumnDefinition& column : def_.columns)
        if (column.file == nullptr || column.file == &file_)
            add(fields, layout.fieldIndex(column.field));
    for (const std::string& name : def_.carriedFields) add(fields, layout.fieldIndex(name));
    if (def_.rowFields)
        for (const std::string& name : *def_.rowFields) add(fields, layout.fieldIndex(name));
    for (const SortSetup& setup : sorts_) {
        if (setup.key)
            for (std::size_t component : setup.key->components) add(fields, static_cast<int>(component));
        add(fields, setup.locatorField);
        add(fields, setup.rangeField);
    }
    return fields;
}

}  // namespace framework::browse
