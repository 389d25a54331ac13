// Which currency of the book takes which official rate, and at what rate in the
// book's base currency. No files: the loader hands in the book's currencies.
#pragma once

#include "rates/official_rates.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rates {

// A currency as the book holds it.
struct BookCurrency {
    std::string designation;  // VAL:OBOZN as stored
    std::string name;
    double bank = 0;               // the current bank rate
    std::int32_t latestEntry = 0;  // the date of its latest rate-history entry, 0 without one
};

// One rate to write: a currency's rate for one day.
struct MatchedRate {
    std::string designation;  // as the book holds it
    std::string name;         // the book's name
    std::int32_t date = 0;
    double nominal = 1;        // as the file gives it
    double value = 0;          // in the file's base currency
    double rate = 0;           // per unit, in the book's base currency
    double currentBank = 0;    // the bank rate before loading
    // The change of the bank rate in percent (0 when there was none).
    double changePercent() const { return currentBank == 0 ? 0 : (rate / currentBank - 1) * 100; }
};

struct Matching {
    std::vector<MatchedRate> rates;
    std::vector<std::string> skipped;  // codes of the file that the book does not hold
    std::string error;                 // empty when something can be written
};

// The key that designations and codes compare by: trimmed, upper-case, with
// "RUB", "RUR" and "Руб" as one currency.
std::string currencyKey(std::string_view designation);

// A daily sheet against the book. The book's base currency (`bookBase`, from
// TARVO.INI) is never matched; the file's own base currency, when the book holds
// it, takes 1 over the book's base.
Matching matchDaily(const RateSheet& sheet, const std::vector<BookCurrency>& book,
                    std::string_view bookBase);

// A period sheet of one currency (`designation`, as the operator names it).
Matching matchPeriod(const RateSheet& sheet, const std::vector<BookCurrency>& book,
                     std::string_view bookBase, std::string_view designation);

}  // namespace rates
