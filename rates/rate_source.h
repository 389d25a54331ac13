// Where the operator's rates come from: a file on disk or an address, read into
// a sheet, and the checks of the sheet against what the operator asked for.
#pragma once

#include "rates/official_rates.h"

#include <functional>

namespace rates {

// The sheet of a file path or an http:// / https:// address, or what is wrong
// with it. `progress` as for download(); files are read at once.
SheetReading readSource(const std::string& source,
                        const std::function<bool(long long received, long long total)>& progress = {});

// Why a sheet of another day than the operator asked for cannot be loaded; empty
// when it is that day (or no day was asked).
std::string dateMismatch(const RateSheet& sheet, std::int32_t asked);

// A day as "DD.MM.YYYY".
std::string dottedText(std::int32_t date);

}  // namespace rates
