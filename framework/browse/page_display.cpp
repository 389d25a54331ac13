// The page as the list box shows it: the queue's fields and each column's cells
// formatted through its display picture.
#include "framework/browse/browse_engine.h"
#include "framework/browse/cell_format.h"

#include "platform/cp1251.h"
#include "platform/picture.h"
#include "storage/data_file.h"

#include <cstring>

namespace framework::browse {

namespace {

void addField(std::vector<QueueField>& fields, storage::Record& buffer, const std::string& name,
              bool ownFile) {
    const int index = buffer.layout().fieldIndex(name);
    if (index < 0) return;
    for (const QueueField& f : fields)
        if (f.buffer == &buffer && f.field == static_cast<std::size_t>(index)) return;
    fields.push_back({buffer.layout().fields()[static_cast<std::size_t>(index)].name, &buffer,
                      static_cast<std::size_t>(index), ownFile});
}

}  // namespace

// The row's fields: the columns first, then the carried fields and the fields the
// locators and the thumb read from the buffer.
void BrowseEngine::setupQueue() {
    std::vector<QueueField> fields;
    for (const ColumnDefinition& column : def_.columns) {
        storage::Record& buffer = column.file ? column.file->record() : file_.record();
        addField(fields, buffer, column.field, column.file == nullptr || column.file == &file_);
    }
    for (const std::string& name : def_.carriedFields) addField(fields, file_.record(), name, true);
    const auto& layoutFields = file_.layout().fields();
    for (const SortSetup& setup : sorts_) {
        if (setup.locatorField >= 0)
            addField(fields, file_.record(),
                     layoutFields[static_cast<std::size_t>(setup.locatorField)].name, true);
        if (setup.distributionField >= 0)
            addField(fields, file_.record(),
                     layoutFields[static_cast<std::size_t>(setup.distributionField)].name, true);
    }
    page_.setFields(std::move(fields), def_.prefix());
}

std::vector<std::vector<std::string>> BrowseEngine::cells() const {
    // Per column: its picture, its field in the queue and a record to decode it in.
    struct ColumnCell {
        platform::Picture picture;
        std::size_t queueField;
        storage::Record decoded;
        const std::string* flagMark;
    };
    const auto& fields = page_.fields();
    std::vector<ColumnCell> columns;
    columns.reserve(def_.columns.size());
    for (const ColumnDefinition& column : def_.columns) {
        const storage::Record& buffer = column.file ? column.file->record() : file_.record();
        const int index = buffer.layout().fieldIndex(column.field);
        std::size_t q = 0;
        while (q < fields.size() &&
               !(fields[q].buffer == &buffer && static_cast<int>(fields[q].field) == index))
            ++q;
        columns.push_back({platform::Picture(column.picture), q, storage::Record(buffer.layout()),
                           column.flagMark.empty() ? nullptr : &column.flagMark});
    }
    std::vector<std::vector<std::string>> rows;
    rows.reserve(page_.size());
    for (std::size_t r = 1; r <= page_.size(); ++r) {
        const PageRow& row = page_.row(r);
        std::vector<std::string> cells;
        cells.reserve(columns.size());
        for (ColumnCell& column : columns) {
            if (column.queueField >= fields.size()) {
                cells.emplace_back();
                continue;
            }
            const std::size_t field = fields[column.queueField].field;
            const storage::FieldDef& def = column.decoded.layout().fields()[field];
            std::memcpy(column.decoded.data() + def.offset, row.fields[column.queueField].data(),
                        def.size);
            if (column.flagMark)
                cells.push_back(column.decoded.getInt(field) != 0
                                    ? *column.flagMark
                                    : std::string(column.flagMark->size(), ' '));
            else
                cells.push_back(formatField(column.decoded, field, column.picture));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

void BrowseEngine::showPage() {
    if (!pageDirty_) return;
    pageDirty_ = false;
    view_.showRows(cells());
    if (state_.currentRow > 0) view_.highlightRow(static_cast<int>(state_.currentRow));
}

}  // namespace framework::browse
