#include "framework/data_file_source.h"

#include <utility>
#include <vector>

namespace framework {

namespace {
constexpr std::size_t kCountPage = 500;
}

DataFileSource::DataFileSource(storage::DataFile& file, const storage::KeyDef* key,
                               std::function<bool()> filter)
    : file_(file), key_(key), filter_(std::move(filter)) {}

std::int64_t DataFileSource::count() {
    std::int64_t total = 0;
    storage::PageRequest request;  // file order, from the start
    request.count = kCountPage;
    std::vector<storage::PageRow> rows;
    while (file_.readPage(request, rows) == 0) {
        total += static_cast<std::int64_t>(rows.size());
        if (rows.size() < kCountPage) break;
        request.from = storage::PageRequest::From::Position;
        request.position = rows.back().position;
        request.inclusive = false;
    }
    return total;
}

void DataFileSource::setQuickScan(bool on) { file_.setQuickScan(on); }

int DataFileSource::start() { return key_ ? file_.set(*key_) : file_.set(); }

int DataFileSource::next() {
    for (;;) {
        const int code = file_.next();
        if (code != 0) return code;
        if (!filter_ || filter_()) return 0;
    }
}

}  // namespace framework
