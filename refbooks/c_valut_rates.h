// The rules of a currency's rates: the wholesale and retail rates derived from the
// bank rate by their percentages and back, and the day's entry in the rate
// history that every save of a currency writes.
#pragma once

namespace storage {
class Record;
}

namespace refbooks {

// The button beside the bank rate: unless the bank rate is 1, the wholesale rate
// from its percentage; then, unless the wholesale rate is 1, the retail rate.
void deriveBothRates(storage::Record& valut);
// The buttons beside the percentages: unless the bank rate is 1, that rate from
// its percentage.
void deriveWholesaleRate(storage::Record& valut);
void deriveRetailRate(storage::Record& valut);
// A rate entered: unless the bank rate is 0, its percentage over the bank rate.
void wholesalePercent(storage::Record& valut);
void retailPercent(storage::Record& valut);

// Writes the currency's current rates (the Valut buffer) as today's entry in the
// rate history: rewrites today's entry when there is one (its number, date and
// weekday stay), else adds one numbered after the currency's latest-dated entry.
// The outcome is not reported; a read error other than end of file is, with the
// file label, and nothing is written.
void writeDayRate();

}  // namespace refbooks
