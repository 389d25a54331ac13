// Loading a bank's rates into the currency book: the rights, what would be
// written (shown before writing), and the write itself, one transaction over
// Valut and Kurs, so that either every matched currency is written or none is.
#pragma once

#include "rates/rate_matching.h"

#include <functional>

namespace rates {

// The refusal text when the operator may not load rates (a ban on opening,
// adding or changing "Valut" or "Kurs"); empty when they may. Asked before
// anything is read.
std::string loadRefusal();

// The book's base currency: TARVO.INI, section "Rates", key "Base" ("Руб").
std::string bookBaseCurrency();

// The currencies of the book as stored now, with the dates of their latest
// history entries; `error` says why they could not be read.
std::vector<BookCurrency> readBook(std::string& error);

// The sheet matched against the currencies of the book as stored now. A period
// sheet needs the designation of its currency. `matching.error` says why
// nothing can be written (also a file that cannot be read).
struct LoadPreview {
    RateSheet sheet;
    Matching matching;
};
LoadPreview previewLoad(const RateSheet& sheet, std::string_view periodCurrency = {});

struct WrittenRate {
    std::string designation;
    std::int32_t date = 0;
    double bank = 0, wholesale = 0, retail = 0;
    bool current = false;  // also the currency's current rates
};
struct LoadOutcome {
    std::vector<WrittenRate> written;
    std::string error;  // empty after writing everything
};

// Writes the preview's rates. For each currency and day: the day's history entry
// rewritten or added (numbered after the currency's latest entry), with the bank
// rate and the wholesale and retail rates derived by the currency's percentages
// as the currency form derives them; and, when no history entry of the currency
// is newer, its current rates. The currencies are read afresh: one deleted or
// changed by another station meanwhile stops the load with nothing written.
LoadOutcome applyLoad(const LoadPreview& preview);

// Completes a load that a killed process left between the history and the
// currencies (separate database files): registered on Kurs, it runs when the
// file is next opened. Installed by the program's start-up.
void installHeldRatesCompletion();

// Runs between the history's commit and the currencies' write: the tests of a
// killed process end the process there.
void setAfterHistoryCommitted(std::function<void()> hook);

}  // namespace rates
