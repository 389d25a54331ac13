#include "access/dated_journal.h"

#include "storage/data_file.h"

#include <algorithm>

namespace dostup {

namespace {

struct Moment {
    std::int64_t date = 0, time = 0;
};

Moment following(Moment m) {
    if (++m.time > kLastTimeOfDay) return {m.date + 1, 1};
    return m;
}

// The first hundredth at or after `from` that no entry with the entry's leading
// key values holds, read from the journal's key a page at a time: a burst of
// entries (a run of toggles, a copy of many records) leaves a run of taken
// hundredths, which one failed add per hundredth would walk at a cost growing
// with the run. Without a key ending in date and time, `from` itself.
Moment firstFree(storage::DataFile& journal, const storage::Record& entry, std::size_t dateField,
                 std::size_t timeField, Moment from) {
    const storage::KeyDef* key = journal.layout().primaryKey();
    if (!key || key->components.size() < 2 || key->components[key->components.size() - 2] != dateField ||
        key->components.back() != timeField)
        return from;
    storage::Record value = entry;
    storage::FieldSet fields(key->components.begin(), key->components.end());
    std::sort(fields.begin(), fields.end());
    storage::PageRequest request;
    request.key = key;
    request.from = storage::PageRequest::From::KeyValue;
    request.value = &value;
    request.count = 64;
    request.rangeComponents = key->components.size() - 2;
    request.fields = &fields;
    storage::Record row(journal.layout());
    for (;;) {
        value.setInt(dateField, from.date);
        value.setInt(timeField, from.time);
        std::vector<storage::PageRow> rows;
        if (journal.readPage(request, rows) != storage::error::kNone) return from;
        for (const storage::PageRow& taken : rows) {
            row.assign(taken.record);
            if (row.getInt(dateField) != from.date || row.getInt(timeField) != from.time) return from;
            from = following(from);
        }
        if (rows.size() < request.count) return from;
    }
}

}  // namespace

int addDatedEntry(storage::DataFile& journal, const storage::Record& entry, const char* dateField,
                  const char* timeField) {
    const std::size_t date = journal.layout().indexOf(dateField);
    const std::size_t time = journal.layout().indexOf(timeField);
    const storage::Record saved = journal.record();
    journal.record() = entry;
    int code;
    for (;;) {
        journal.clearCurrent();
        code = journal.add();
        if (code != storage::error::kDuplicateKey) break;
        // Taken: the next free hundredth after it (another station may take
        // that one meanwhile, and the add is tried again).
        storage::Record& next = journal.record();
        const Moment free =
            firstFree(journal, next, date, time, following({next.getInt(date), next.getInt(time)}));
        next.setInt(date, free.date);
        next.setInt(time, free.time);
    }
    journal.record() = saved;
    return code;
}

}  // namespace dostup
