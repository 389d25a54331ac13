#include "framework/browse/key_distribution.h"

#include "storage/key_value.h"
#include "storage/record.h"

#include <cmath>
#include <cstdint>
#include <variant>

namespace framework::browse {

namespace {

constexpr std::size_t kTextWidth = 4;

bool isText(const storage::Record& record, std::size_t field) {
    return record.layout().fields().at(field).isText();
}

// The key's sort form of a text field: upper-cased, without trailing blanks.
std::string sortText(const storage::Record& record, std::size_t field) {
    const storage::KeyPart part = storage::keyPartOf(record, field);
    if (const auto* text = std::get_if<std::string>(&part)) return *text;
    return record.value(field);
}

double textCode(const std::string& text) {
    double code = 0;
    for (std::size_t i = 0; i < kTextWidth; ++i) {
        const unsigned char c = i < text.size() ? static_cast<unsigned char>(text[i]) : ' ';
        code = code * 256 + c;
    }
    return code;
}

std::string codeText(double code) {
    auto value = static_cast<std::uint32_t>(code);
    std::string text(kTextWidth, ' ');
    for (std::size_t i = kTextWidth; i-- > 0;) {
        unsigned char c = static_cast<unsigned char>(value & 0xFF);
        text[i] = static_cast<char>(c < ' ' ? ' ' : c);
        value >>= 8;
    }
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

}  // namespace

void KeyDistribution::clear() {
    numbers_.clear();
    texts_.clear();
}

void KeyDistribution::build(const storage::Record& lowest, const storage::Record& highest,
                            std::size_t field) {
    clear();
    const bool text = isText(lowest, field);
    const double low = text ? textCode(sortText(lowest, field)) : lowest.getReal(field);
    const double high = text ? textCode(sortText(highest, field)) : highest.getReal(field);
    for (int k = 1; k <= kEntries; ++k) {
        // (highest - lowest) / 99 * (k - 1), multiplied first so that whole numbers
        // stay exact and entry 100 is the highest value itself.
        const double value = std::trunc(low + (high - low) * (k - 1) / (kEntries - 1));
        if (text)
            texts_.push_back(codeText(value));
        else
            numbers_.push_back(value);
    }
}

int KeyDistribution::thumbFor(const storage::Record& record, std::size_t field) const {
    if (empty()) return 0;
    int found = kEntries + 1;
    if (!texts_.empty()) {
        const std::string value = sortText(record, field);
        for (int k = 1; k <= kEntries; ++k)
            if (texts_[static_cast<std::size_t>(k - 1)] >= value) {
                found = k;
                break;
            }
    } else {
        const double value = record.getReal(field);
        for (int k = 1; k <= kEntries; ++k)
            if (numbers_[static_cast<std::size_t>(k - 1)] >= value) {
                found = k;
                break;
            }
    }
    if (found <= 1) return 0;
    return found > kEntries ? kEntries : found;
}

void KeyDistribution::putValue(int position, storage::Record& record, std::size_t field) const {
    if (empty() || position < 1 || position > kEntries) return;
    const auto index = static_cast<std::size_t>(position - 1);
    if (!texts_.empty())
        record.setText(field, texts_[index]);
    else
        record.setReal(field, numbers_[index]);
}

std::string KeyDistribution::entry(int position) const {
    if (empty() || position < 1 || position > kEntries) return {};
    const auto index = static_cast<std::size_t>(position - 1);
    if (!texts_.empty()) return texts_[index];
    const double v = numbers_[index];
    return std::to_string(static_cast<long long>(v));
}

}  // namespace framework::browse
