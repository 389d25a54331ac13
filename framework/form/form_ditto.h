// The ditto records of the books: each time a form of a book reaches completion
// it copies the record buffer into the book's ditto record, which lives as long
// as the program. The ditto key (or toolbar 2011) recalls one field from it: the
// "previous value" of the field that has focus.
#pragma once

#include <cstddef>

namespace storage {
class DataFile;
}

namespace framework::form {

// Copies the file's record buffer into its book's ditto record.
void rememberDitto(const storage::DataFile& file);
// Copies one field (by index) from the ditto record into the record buffer;
// false, and nothing changes, while the book has no ditto record yet.
bool recallDitto(storage::DataFile& file, std::size_t field);
// Forgets every ditto record (a fresh start, as in tests).
void forgetDittoRecords();

}  // namespace framework::form
