#include "rates/official_rates.h"
#include "rates/sheet_sources.h"

#include "platform/cp1251.h"
#include "platform/dates.h"

#include <charconv>
#include <set>

namespace rates {

namespace detail {

std::string say(std::string_view utf8) { return platform::ru(utf8); }

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

Amount checked(double number, const std::string& subject) {
    if (number == 0) return {std::nullopt, subject + say(": ноль")};
    if (number < 0) return {std::nullopt, subject + say(": меньше нуля")};
    if (number > kLargestRate) return {std::nullopt, subject + say(": больше 999999,99999")};
    return {number, {}};
}

}  // namespace

Amount amount(std::string_view text, char separator, const std::string& subject) {
    text = trimmed(text);
    if (text.empty()) return {std::nullopt, subject + say(": пусто")};
    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    // Digits with at most one separator and a digit on at least one side: no
    // exponent, no group separators, no sign but the leading minus.
    std::string plain;
    int separators = 0, digits = 0;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            plain += c;
            ++digits;
        } else if (c == separator && ++separators == 1) {
            plain += '.';
        } else {
            digits = 0;
            break;
        }
    }
    double number = 0;
    if (digits == 0 ||
        std::from_chars(plain.data(), plain.data() + plain.size(), number).ec != std::errc())
        return {std::nullopt, subject + say(": не число (") + std::string(text.substr(0, 40)) + ")"};
    return checked(negative ? -number : number, subject);
}

Amount amount(double number, const std::string& subject) { return checked(number, subject); }

std::string lastChecks(const RateSheet& sheet) {
    if (sheet.rates.empty())
        return sheet.kind == SheetKind::Daily ? say("В файле нет ни одного курса")
                                              : say("В файле нет ни одного курса за период");
    std::set<std::string> codes;
    std::set<std::int32_t> dates;
    for (const OfficialRate& rate : sheet.rates) {
        if (sheet.kind == SheetKind::Daily) {
            if (!codes.insert(platform::upper(rate.code)).second)
                return say("Валюта ") + rate.code + say(" встречается в файле дважды");
        } else if (!dates.insert(rate.date).second) {
            const platform::CivilDate day = platform::civilDate(rate.date);
            char text[16];
            std::snprintf(text, sizeof text, "%02d.%02d.%04d", day.day, day.month, day.year);
            return say("Дата ") + text + say(" встречается в файле дважды");
        }
    }
    return {};
}

}  // namespace detail

std::optional<std::int32_t> dottedDate(std::string_view text) {
    if (text.size() != 10 || text[2] != '.' || text[5] != '.') return std::nullopt;
    auto number = [&](std::size_t from, std::size_t length) {
        int value = 0;
        for (std::size_t i = from; i < from + length; ++i) {
            if (text[i] < '0' || text[i] > '9') return -1;
            value = value * 10 + (text[i] - '0');
        }
        return value;
    };
    const int day = number(0, 2), month = number(3, 2), year = number(6, 4);
    if (day < 0 || month < 0 || year < 0 || !platform::isValidDate(year, month, day))
        return std::nullopt;
    return platform::dayNumber(year, month, day);
}

SheetReading readSheet(std::string_view bytes) {
    using detail::say;
    if (bytes.size() > kMaxSheetBytes)
        return {std::nullopt, say("Файл больше 1 МБ: это не файл курсов")};
    std::string_view content = bytes;
    if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);  // UTF-8 mark
    while (!content.empty() && detail::trimmed(content.substr(0, 1)).empty()) content.remove_prefix(1);
    if (content.empty()) return {std::nullopt, say("Файл курсов пуст")};
    if (content.front() == '<') return detail::readCentralBankXml(bytes);
    if (content.front() == '[' || content.front() == '{') return detail::readNationalBankJson(content);
    return {std::nullopt,
            say("Это не файл курсов: ни XML Центрального банка России, ни JSON Национального банка "
                "Беларуси")};
}

}  // namespace rates
