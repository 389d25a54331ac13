// A write of a data file and the entry it makes in another file (its journal:
// an employee and its change-log entry) as one write, so that a process killed
// at any moment leaves both or neither.
//
// On one database server both files share a transaction: the write and the entry
// commit together. Files of their own (SQLite) cannot commit together, so the
// entry is first held in the written file's own database, in the same
// transaction as the write; after the commit it is added to the journal and
// dropped from the file. A process killed between the two leaves the entry held,
// and the next one that takes the file into use moves it (finishHeldEntries):
// the journal then has it, exactly once.
#pragma once

#include <functional>
#include <vector>

namespace storage {

class DataFile;
class Record;

// Adds an entry to the journal: 0 or the storage's error code.
using JournalAdd = std::function<int(const Record& entry)>;

// One entry for one journal.
struct JournalEntry {
    DataFile* journal;
    const Record* entry;
    JournalAdd add;
};

// Runs `write` (the change of `file`, 0 on success) and adds each entry to its
// journal, as one write. Every file must be open. Returns 0, or the error code
// of what failed, with nothing written: the failing file's error is its last
// error (for a failed `write`, `file`'s). A journal add that fails after the
// write committed leaves the entry held for the next start and returns its
// error code.
int writeWithJournals(DataFile& file, const std::function<int()>& write,
                      const std::vector<JournalEntry>& entries);
// The same with one entry.
int writeWithJournal(DataFile& file, const std::function<int()>& write, DataFile& journal,
                     const Record& entry, const JournalAdd& add);

// What runs right after the write committed and before its entries are moved
// (nothing by default): tests stop a process there to prove the next start
// completes the move.
void setAfterJournaledCommit(std::function<void()> hook);

// Moves the entries held in `file` for `journal` into the journal, skipping one
// the journal already holds (the same record under its key). 0 or the first
// error code (the rest stay held for the next time).
int finishHeldEntries(DataFile& file, DataFile& journal, const JournalAdd& add);

// Whether `file` holds entries for `journal`, read in `file` alone: a file opened
// with nothing to finish takes no journal into use. A check that cannot be read
// answers yes, so the move itself runs and reports what is wrong.
bool holdsEntriesFor(DataFile& file, const DataFile& journal);

}  // namespace storage
