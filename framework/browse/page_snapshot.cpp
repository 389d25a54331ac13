#include "framework/browse/page_snapshot.h"

#include "storage/data_file.h"

#include <algorithm>

namespace framework::browse {

PageSnapshot::PageSnapshot(storage::DataFile& file, const std::vector<ColumnDefinition>& columns) {
    files_.push_back(&file);
    for (const ColumnDefinition& column : columns)
        if (column.file && column.file->isOpen() &&
            std::find(files_.begin(), files_.end(), column.file) == files_.end())
            files_.push_back(column.file);
    for (storage::DataFile* one : files_) one->beginReadSnapshot();
}

PageSnapshot::~PageSnapshot() {
    for (storage::DataFile* one : files_) one->endReadSnapshot();
}

}  // namespace framework::browse
