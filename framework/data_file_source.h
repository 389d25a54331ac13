// A data file as the records of a report: read in the order of one key from its
// start, optionally through a filter over the record buffer (the view's filter).
#pragma once

#include "framework/report_cycle.h"
#include "storage/data_file.h"

#include <cstdint>
#include <functional>

namespace framework {

class DataFileSource : public RecordSource {
public:
    // `key` nullptr reads in file order. `filter` accepts the record in the buffer;
    // records it refuses are passed over by the view.
    DataFileSource(storage::DataFile& file, const storage::KeyDef* key,
                   std::function<bool()> filter = {});

    std::string label() const override { return file_.label(); }
    // The file has no stored record count: the records are counted in pages read
    // in file order, which leaves the buffer and the reading position alone.
    std::int64_t count() override;
    void setQuickScan(bool on) override;
    int start() override;
    int next() override;
    storage::ErrorState lastError() const override { return file_.lastError(); }

private:
    storage::DataFile& file_;
    const storage::KeyDef* key_;
    std::function<bool()> filter_;
};

}  // namespace framework
