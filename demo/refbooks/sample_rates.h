// The exchange-rate history of the sample currencies: a year of daily central-bank
// rates that drift slowly around each currency's level. No random source is
// used: a rate is a function of the currency and the day alone, so the same day
// always has the same rate, whenever the data is written.
#pragma once

#include "demo/refbooks/sample_references.h"

#include <cstdint>

namespace demo {

// Days of history: the year up to today, one rate entry a day.
inline constexpr int kRateDays = 365;

// The central-bank rate of `currency` on `day` (a day number), to 4 decimal
// places as the central bank sets it; within 7 % of the currency's level.
double sampleBankRate(const SampleCurrency& currency, std::int32_t day);

}  // namespace demo
