#include "framework/browse/file_view.h"

#include <algorithm>
#include <cstdlib>

namespace framework::browse {

namespace {

// The runtime's truth of an expression's result: a number that is not 0, or a
// text that is not blank.
bool isTrue(const std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) return false;
    const std::size_t end = text.find_last_not_of(' ');
    const std::string trimmed = text.substr(begin, end - begin + 1);
    char* stop = nullptr;
    const double number = std::strtod(trimmed.c_str(), &stop);
    if (stop && *stop == '\0') return number != 0;
    return true;
}

}  // namespace

FileView::FileView(storage::DataFile& file, const platform::NameResolver* names,
                   std::function<void(const storage::Record&)> rowRead,
                   std::function<bool(const storage::Record&)> accepted)
    : file_(file),
      rowRead_(std::move(rowRead)),
      accepted_(std::move(accepted)),
      row_(file.layout()),
      value_(file.layout()),
      range_(file.layout()),
      rowNames_(row_) {
    names_.add(rowNames_);
    if (names) names_.add(*names);
}

int FileView::open(const ViewSettings& settings) {
    key_ = settings.key;
    rangeField_ = settings.rangeField;
    rangeComponents_ = 0;
    range_.clear();
    if (rangeField_ >= 0) {
        range_.setValue(static_cast<std::size_t>(rangeField_), settings.rangeValue);
        // A range on the key's leading field is asked of the storage itself, so a
        // page of one parent's children costs one indexed query.
        if (key_ && !key_->components.empty() &&
            key_->components.front() == static_cast<std::size_t>(rangeField_))
            rangeComponents_ = 1;
    }
    int result = platform::kExpressionOk;
    filtered_ = false;
    quickFilter_.reset();
    if (!settings.filter.empty()) {
        filter_ = platform::Expression::compile(settings.filter);
        if (!filter_.valid()) {
            result = filter_.compileError();
        } else {
            // Unknown names show up in a trial run over an empty record.
            row_.clear();
            const platform::ExpressionResult trial = filter_.evaluate(names_);
            if (trial.ok()) {
                filtered_ = true;
                quickFilter_ = QuickFilter::of(settings.filter, file_.layout());
            } else
                result = trial.error;
        }
    }
    fields_ = settings.fields;
    if (!fields_.empty() && filtered_)
        for (const std::string& name : filter_.names()) addField(fields_, name);
    open_ = true;
    setToStart();
    return result;
}

void FileView::close() {
    open_ = false;
    ahead_.clear();
}

void FileView::setToStart() {
    from_ = From::Start;
    anchor_.clear();
    ahead_.clear();
    position_.clear();
}

void FileView::resetTo(const std::string& position) {
    from_ = From::Position;
    anchor_ = position;
    ahead_.clear();
}

void FileView::setToValue(const storage::Record& value) {
    value_.assign(value.bytes());
    if (rangeField_ >= 0) {
        const auto field = static_cast<std::size_t>(rangeField_);
        value_.setValue(field, range_.value(field));
    }
    from_ = From::Value;
    anchor_.clear();
    ahead_.clear();
}

int FileView::fetch(storage::Direction direction, From from, const std::string& position,
                    std::deque<storage::PageRow>& rows) {
    storage::PageRequest request;
    request.key = key_;
    request.direction = direction;
    request.count = batch_;
    request.rangeComponents = rangeComponents_;
    request.value = &range_;
    switch (from) {
        case From::Start:
            request.from = storage::PageRequest::From::Start;
            break;
        case From::Value:
            request.from = storage::PageRequest::From::KeyValue;
            request.value = &value_;
            break;
        case From::Position:
        case From::After:
            request.from = storage::PageRequest::From::Position;
            request.position = position;
            request.inclusive = from == From::Position;
            break;
    }
    request.fields = fieldsNow();
    std::vector<storage::PageRow> read;
    if (const int rc = file_.readPage(request, read)) return rc;
    for (storage::PageRow& row : read) rows.push_back(std::move(row));
    return storage::error::kNone;
}

void FileView::addField(storage::FieldSet& fields, std::string_view name) const {
    const int field = RecordBinding::fieldOf(file_.layout(), name);
    if (field < 0) return;
    const auto index = static_cast<std::size_t>(field);
    const auto at = std::lower_bound(fields.begin(), fields.end(), index);
    if (at == fields.end() || *at != index) fields.insert(at, index);
}

// The fields a page reads now: nullptr for whole records.
const storage::FieldSet* FileView::fieldsNow() {
    if (fields_.empty()) return nullptr;
    if (!moreFields_) return &fields_;
    const std::vector<std::string> names = moreFields_();
    if (names.empty()) return &fields_;
    widened_ = fields_;
    for (const std::string& name : names) addField(widened_, name);
    return &widened_;
}

bool FileView::accept(const storage::PageRow& row) {
    row_.assign(row.record);
    if (rowRead_) rowRead_(row_);
    if (quickFilter_) {
        if (!quickFilter_->accepts(row_)) return false;
    } else if (filtered_) {
        const platform::ExpressionResult result = filter_.evaluate(names_);
        if (result.ok() && !isTrue(result.text)) return false;
    }
    return !accepted_ || accepted_(row_);
}

int FileView::read(storage::Direction direction) {
    for (;;) {
        if (ahead_.empty() || aheadDirection_ != direction) {
            ahead_.clear();
            if (const int rc = fetch(direction, from_, anchor_, ahead_)) return rc;
            aheadDirection_ = direction;
            if (ahead_.empty()) return storage::error::kRecordNotAvailable;
        }
        storage::PageRow row = std::move(ahead_.front());
        ahead_.pop_front();
        // Reading goes on after this record in either direction; records the
        // filter refuses are passed over the same way.
        from_ = From::After;
        anchor_ = row.position;
        if (!accept(row)) continue;
        position_ = std::move(row.position);
        return storage::error::kNone;
    }
}

int FileView::peek(storage::Direction direction) {
    From from = From::Start;
    std::string anchor;
    for (;;) {
        std::deque<storage::PageRow> rows;
        if (const int rc = fetch(direction, from, anchor, rows)) return rc;
        if (rows.empty()) return storage::error::kRecordNotAvailable;
        for (const storage::PageRow& row : rows)
            if (accept(row)) return storage::error::kNone;
        from = From::After;
        anchor = rows.back().position;
    }
}

}  // namespace framework::browse
