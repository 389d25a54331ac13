#include "access/dated_journal.h"

#include "storage/data_file.h"

namespace dostup {

int addDatedEntry(storage::DataFile& journal, const storage::Record& entry, const char* dateField,
                  const char* timeField) {
    const storage::Record saved = journal.record();
    journal.record() = entry;
    int code;
    for (;;) {
        journal.clearCurrent();
        code = journal.add();
        if (code != storage::error::kDuplicateKey) break;
        storage::Record& next = journal.record();
        std::int64_t time = next.getInt(timeField) + 1;
        if (time > kLastTimeOfDay) {
            next.setInt(dateField, next.getInt(dateField) + 1);
            time = 1;
        }
        next.setInt(timeField, time);
    }
    journal.record() = saved;
    return code;
}

}  // namespace dostup
