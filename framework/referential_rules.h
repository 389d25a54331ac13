// The delete rule and the update rule of a data file, with the referential rules
// between parents and their children: a parent whose children restrict it cannot
// be deleted, and a change of its linking field is refused (restrict) or carried
// to every child (cascade).
#pragma once

#include <string>
#include <vector>

namespace storage {
class DataFile;
class Record;
struct KeyDef;
}  // namespace storage

namespace framework {

struct ChildLink {
    storage::DataFile* child = nullptr;
    std::string parentField;              // "VAL:OBOZN"
    std::string childField;               // "KUR:VALUT"
    const storage::KeyDef* childKey = nullptr;  // a key of the child led by childField
    bool cascadeOnChange = false;         // else a change is restricted
};

// The children of each parent file of a deliverable.
void setChildLinks(const storage::DataFile& parent, std::vector<ChildLink> links);
const std::vector<ChildLink>& childLinks(const storage::DataFile& parent);

// Deletes the record in the buffer: 0 on success, non-zero when a child refers to
// it (message 13), a child could not be read (message 35) or the delete failed
// (message 17).
int deleteRecord(storage::DataFile& file);

enum UpdateResult : int {
    kUpdateDone = 0,
    kUpdateError = 1,
    kUpdateChangedElsewhere = 2,
};

// Rewrites the record in the buffer. `original` is the record as the form found
// it, to tell whether the linking field changed. With `detail` a change by another
// station shows message 38, without it message 15; either way the other station's
// values are loaded into the buffer.
int updateRecord(storage::DataFile& file, const storage::Record& original, bool detail = true);

}  // namespace framework
