// A bank's official rates as read from its file: the day (or, for a period file,
// the days) and, per currency, how many units (the nominal) cost how much in the
// bank's own base currency. Texts are code page 1251, as everywhere in the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rates {

// A rates file is a few kilobytes; anything over this is not one.
inline constexpr std::size_t kMaxSheetBytes = 1024 * 1024;
// The largest value the rate picture "n12.5" shows.
inline constexpr double kLargestRate = 999999.99999;

struct OfficialRate {
    std::string code;     // the currency's letter code ("USD"); empty in a period file
    std::string name;     // as the bank names it
    double nominal = 1;   // units the value is for (100 yen)
    double value = 0;     // in the bank's base currency
    std::int32_t date = 0;  // a period file's record date; 0 in a daily file
    double perUnit() const { return value / nominal; }
};

enum class SheetKind { Daily, Period };

struct RateSheet {
    SheetKind kind = SheetKind::Daily;
    std::string publisher;  // shown to the operator
    std::string base;       // the bank's base currency ("RUB", "BYN")
    std::int32_t date = 0;  // daily: the day of the rates; period: its first day
    std::int32_t lastDate = 0;  // period: its last day
    std::string currencyId;     // period: the bank's own identifier of the currency
    // Daily: one per currency, in the file's order. Period: one per day, by date.
    std::vector<OfficialRate> rates;
};

// A sheet, or what is wrong with the bytes (one sentence naming it).
struct SheetReading {
    std::optional<RateSheet> sheet;
    std::string error;
};

// Recognises the source from the content (the Russian central bank's XML, daily or
// for a period of one currency, or the National Bank of Belarus's JSON) and reads
// it. Every value is checked: present, a number, above zero, within "n12.5"; a
// currency code or a date appears once.
SheetReading readSheet(std::string_view bytes);

// "DD.MM.YYYY" as a day number; nothing when it is not a date.
std::optional<std::int32_t> dottedDate(std::string_view text);

}  // namespace rates
