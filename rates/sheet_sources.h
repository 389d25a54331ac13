// The sources a rates file may come from, and the checks they share. Used by
// sheet_reading.cpp only.
#pragma once

#include "rates/official_rates.h"

namespace rates::detail {

// The Russian central bank's XML: the daily file (root ValCurs with Date, one
// Valute per currency) or the period file of one currency (root ValCurs with ID,
// DateRange1, DateRange2, one Record per day).
SheetReading readCentralBankXml(std::string_view bytes);
// The National Bank of Belarus's JSON: an array of the day's rates (or one object).
SheetReading readNationalBankJson(std::string_view bytes);

// A nominal or a value as the file writes it, with its decimal separator: the
// number, or the sentence that says what is wrong ("<subject>: ... пуст").
struct Amount {
    std::optional<double> value;
    std::string error;
};
Amount amount(std::string_view text, char separator, const std::string& subject);
// A number the file holds as a number (JSON): the same limits.
Amount amount(double number, const std::string& subject);

// The last checks of a sheet: it holds rates, and no code (daily) or date
// (period) twice. Empty when the sheet is sound.
std::string lastChecks(const RateSheet& sheet);

// Code page 1251 text of a message written in the source.
std::string say(std::string_view utf8);

}  // namespace rates::detail
