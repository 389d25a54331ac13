#include "framework/form/form_numbering.h"

#include <algorithm>

#include "framework/standard_messages.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

#include <cstdint>
#include <limits>

namespace framework::form {

namespace {

std::int64_t highestValue(const storage::FieldDef& field) {
    using storage::FieldType;
    switch (field.type) {
        case FieldType::Byte: return std::numeric_limits<std::uint8_t>::max();
        case FieldType::Short: return std::numeric_limits<std::int16_t>::max();
        case FieldType::UShort: return std::numeric_limits<std::uint16_t>::max();
        case FieldType::ULong: return std::numeric_limits<std::uint32_t>::max();
        default: return std::numeric_limits<std::int32_t>::max();
    }
}

// Key components compare as the keys do: text without regard to letter case or
// trailing blanks.
bool sameComponent(const storage::Record& a, const storage::Record& b, std::size_t field) {
    if (a.layout().fields()[field].isText())
        return platform::upper(platform::clip(a.getText(field))) ==
               platform::upper(platform::clip(b.getText(field)));
    return a.value(field) == b.value(field);
}

}  // namespace

LastNumber readLastNumber(storage::DataFile& file, const storage::KeyDef& key,
                          const storage::Record& toNumber) {
    const std::size_t numbered = key.components.back();
    storage::Record& buffer = file.record();
    buffer = toNumber;
    int code;
    if (key.components.size() == 1) {
        code = file.set(key);
    } else {
        buffer.setInt(numbered, highestValue(buffer.layout().fields()[numbered]));
        code = file.setToValue(key);
    }
    if (code == storage::error::kNone) code = file.previous();
    if (code == storage::error::kRecordNotAvailable) return {};
    if (code != storage::error::kNone) return {true, 0};
    for (std::size_t i = 0; i + 1 < key.components.size(); ++i)
        if (!sameComponent(buffer, toNumber, key.components[i])) return {};
    return {false, buffer.getInt(numbered)};
}

std::int64_t highestNumber(const storage::FieldDef& field) { return highestValue(field); }

std::optional<std::string> reserveNumber(
    storage::DataFile& file, const storage::KeyDef& key, storage::Record& savedCopy,
    const std::function<void(storage::Record&)>& provisional,
    const std::function<std::optional<std::int64_t>()>& inUseElsewhere, std::int64_t limit) {
    const std::size_t numbered = key.components.back();
    std::int64_t highest = highestValue(savedCopy.layout().fields()[numbered]);
    if (limit > 0) highest = std::min(highest, limit);
    file.record() = savedCopy;  // the user's values
    for (;;) {
        storage::ErrorState failure;
        for (int attempt = 0; attempt < kNumberingAttempts; ++attempt) {
            LastNumber last = readLastNumber(file, key, savedCopy);
            if (!last.failed && inUseElsewhere) {
                const std::optional<std::int64_t> elsewhere = inUseElsewhere();
                if (!elsewhere) {
                    file.record() = savedCopy;
                    return std::nullopt;
                }
                last.value = std::max(last.value, *elsewhere);
            }
            if (last.failed) {
                const storage::ErrorState error = file.lastError();
                file.record() = savedCopy;
                standardMessage(35, file.label(), error);
                return std::nullopt;
            }
            file.record() = savedCopy;
            if (last.value >= highest) {
                // The highest number the field can hold is in use: the next one
                // would wrap to 0. Retrying cannot help, so the refusal is shown
                // once and nothing is added.
                standardMessage(25, {}, storage::failure(storage::error::kDuplicateKey));
                return std::nullopt;
            }
            file.record().setInt(numbered, last.value + 1);
            savedCopy = file.record();
            if (provisional) provisional(file.record());
            const int code = file.add();
            if (code == storage::error::kNone) {
                std::string position = file.position();
                file.record() = savedCopy;
                return position;
            }
            failure = file.lastError();
        }
        file.record() = savedCopy;
        if (standardMessage(25, {}, failure) != platform::kButtonRetry) return std::nullopt;
    }
}

std::optional<std::int64_t> highestInFile(storage::DataFile& file, std::string_view field) {
    const std::size_t index = file.layout().indexOf(field);
    storage::PageRequest request;
    request.count = 256;
    std::vector<storage::PageRow> rows;
    storage::Record row(file.layout());
    std::int64_t highest = 0;
    for (;;) {
        rows.clear();
        if (file.readPage(request, rows) != storage::error::kNone) {
            standardMessage(35, file.label(), file.lastError());
            return std::nullopt;
        }
        for (const storage::PageRow& read : rows) {
            row.assign(read.record);
            highest = std::max(highest, row.getInt(index));
        }
        if (rows.size() < request.count) return highest;
        request.from = storage::PageRequest::From::Position;
        request.position = rows.back().position;
        request.inclusive = false;
    }
}

}  // namespace framework::form
