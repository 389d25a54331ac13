// A page read under one snapshot: the list's file and the files its columns look
// up are each read in one read transaction while a page fills, so a page of
// twenty rows and their departments takes each file's read lock once instead of
// at every statement, and shows one state of each file. Ends with the scope:
// never held while the operator looks at the list.
#pragma once

#include "framework/browse/browse_definition.h"

#include <vector>

namespace storage {
class DataFile;
}

namespace framework::browse {

class PageSnapshot {
public:
    PageSnapshot(storage::DataFile& file, const std::vector<ColumnDefinition>& columns);
    ~PageSnapshot();
    PageSnapshot(const PageSnapshot&) = delete;
    PageSnapshot& operator=(const PageSnapshot&) = delete;

private:
    std::vector<storage::DataFile*> files_;
};

}  // namespace framework::browse
