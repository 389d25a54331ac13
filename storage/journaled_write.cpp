#include "storage/journaled_write.h"

#include "storage/data_file.h"

namespace storage {

namespace {

std::function<void()>& afterCommit() {
    static std::function<void()> hook;
    return hook;
}

// Whether the journal holds this very entry already (moved before the process
// that held it was killed).
bool alreadyJournaled(DataFile& journal, const Record& entry) {
    const KeyDef* key = journal.layout().primaryKey();
    if (!key) return false;
    const Record saved = journal.record();
    journal.record() = entry;
    const bool found = journal.get(*key) == error::kNone && journal.record() == entry;
    journal.record() = saved;
    return found;
}

// Moves a held entry into its journal. Two processes may move the same entry at
// once (the writer after its commit, another that opened the file meanwhile):
// the one that finds the entry's key taken by this very entry is done; a key
// taken by another entry goes through the journal's own add (the next free key).
int moveEntry(DataFile& journal, const Record& entry, const JournalAdd& add) {
    const Record saved = journal.record();
    journal.record() = entry;
    journal.clearCurrent();
    int code = journal.add();
    journal.record() = saved;
    if (code == error::kDuplicateKey) code = alreadyJournaled(journal, entry) ? error::kNone : add(entry);
    return code;
}

// Rolls the write back; the failed file keeps its error.
int rollBack(DataFile& file, DataFile& failed) {
    const int code = failed.errorCode();
    file.abandon();
    return code != error::kNone ? code : error::kDriverError;
}

}  // namespace

int writeWithJournals(DataFile& file, const std::function<int()>& write,
                      const std::vector<JournalEntry>& entries) {
    bool together = true;
    for (const JournalEntry& one : entries) together = together && file.sharesTransactionWith(*one.journal);
    if (file.begin() != error::kNone) return file.errorCode();
    if (together)
        for (const JournalEntry& one : entries)
            if (one.journal->begin() != error::kNone) return rollBack(file, *one.journal);
    if (write() != error::kNone) return rollBack(file, file);
    if (together) {
        for (const JournalEntry& one : entries)
            if (one.add(*one.entry) != error::kNone) return rollBack(file, *one.journal);
        if (file.commit() != error::kNone) return rollBack(file, file);
        if (afterCommit()) afterCommit()();
        return error::kNone;
    }
    std::vector<std::int64_t> held(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (file.holdEntry(entries[i].journal->name(), *entries[i].entry, held[i]) != error::kNone)
            return rollBack(file, file);
    if (file.commit() != error::kNone) return rollBack(file, file);
    if (afterCommit()) afterCommit()();
    // The write and its entries are stored; moving the entries is the last step.
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (moveEntry(*entries[i].journal, *entries[i].entry, entries[i].add) != error::kNone)
            return entries[i].journal->errorCode();
        file.dropHeldEntry(held[i]);  // left behind, it is found in the journal next time
    }
    return error::kNone;
}

void setAfterJournaledCommit(std::function<void()> hook) { afterCommit() = std::move(hook); }

int writeWithJournal(DataFile& file, const std::function<int()>& write, DataFile& journal,
                     const Record& entry, const JournalAdd& add) {
    return writeWithJournals(file, write, {{&journal, &entry, add}});
}

int finishHeldEntries(DataFile& file, DataFile& journal, const JournalAdd& add) {
    std::vector<HeldEntry> held;
    if (file.heldEntries(journal.name(), held) != error::kNone) return file.errorCode();
    Record entry(journal.layout());
    for (const HeldEntry& one : held) {
        if (one.bytes.size() != entry.size()) {
            file.dropHeldEntry(one.id);  // not an entry of this journal's layout
            continue;
        }
        entry.assign(one.bytes);
        if (moveEntry(journal, entry, add) != error::kNone) return journal.errorCode();
        if (file.dropHeldEntry(one.id) != error::kNone) return file.errorCode();
    }
    return error::kNone;
}

bool holdsEntriesFor(DataFile& file, const DataFile& journal) {
    std::vector<HeldEntry> held;
    return file.heldEntries(journal.name(), held) != error::kNone || !held.empty();
}

}  // namespace storage
