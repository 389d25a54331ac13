// Reading and writing the currency book for the rates loader: the book's
// currencies, a currency's latest history entry, and the day's entry. Every
// function returns 0 or the storage's error code, with the error in the file.
#pragma once

#include "rates/rate_matching.h"

#include <cstdint>
#include <string>
#include <vector>

namespace storage {
class DataFile;
class Record;
}

namespace rates::book {

int readCurrencies(storage::DataFile& valut, storage::DataFile& kurs,
                   std::vector<BookCurrency>& currencies);

// The date of the designation's latest-dated entry and its number, 0 and 0
// without one.
int latestEntry(storage::DataFile& kurs, const std::string& designation, std::int32_t& date,
                int& number);

// The currency of that designation into the buffer, watched. 35 when there is none.
int readCurrency(storage::DataFile& valut, const std::string& designation);

// The day's entry of the designation with these rates: rewritten when there is
// one, else added with its weekday, numbered after the latest-dated entry (daily)
// or after the highest number (back-filling a period), or after the highest when
// that number is taken.
int writeEntry(storage::DataFile& kurs, const std::string& designation, std::int32_t date,
               const storage::Record& rates, bool daily);

// The three current rates of `from` (a Valut record) into `to`.
void copyRates(const storage::Record& from, storage::Record& to);
bool sameRates(const storage::Record& a, const storage::Record& b);

// The file's label, error text and code, for a message.
std::string failure(const storage::DataFile& file);

}  // namespace rates::book
