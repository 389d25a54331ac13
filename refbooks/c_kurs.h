// The exchange-rate history of one currency: its list and the rate form, declared
// for the list and form engines. The currency book (c_valut.h) opens the list.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <cstdint>
#include <functional>

namespace storage {
class Record;
}

namespace refbooks {

// The rate history "История Курса Валюты" of the currency in the Valut record
// buffer (the currency list leaves the highlighted one there): the currency's
// entries in date order, with its name and designation above the list. It must
// run while that buffer keeps the currency, that is nested in the currency list,
// which stays inactive until it closes. `updateForm` runs the rate form
// (kursForm) on a window, as the list's update form.
framework::browse::BrowseDefinition kursList(std::function<void()> updateForm);

// The rate form. A new entry starts in the currency of the Valut record buffer,
// with its current rates and the time of day, an empty date and the next number
// after the highest of the currency.
framework::form::FormDefinition kursForm();

// The rate form's entries.
namespace kurs_form {
inline constexpr int kDate = 2;
inline constexpr int kTime = 4;
inline constexpr int kNumber = 6;
inline constexpr int kBankRate = 8;
inline constexpr int kWholesaleRate = 10;
inline constexpr int kRetailRate = 12;
inline constexpr int kWeekday = 14;
inline constexpr int kValut = 16;
}  // namespace kurs_form

// Puts the weekday name of the entry's date into KUR:WEEKDAY; an empty date
// leaves it as it is.
void setWeekday(storage::Record& kurs);

}  // namespace refbooks
