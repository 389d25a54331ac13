// The currency book: the list "Справочник Валют" and the currency form with the
// currency's rate history inside it, declared for the list and form engines.
// The rate history of one currency, its own list and form, is in c_kurs.h.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <cstdint>
#include <functional>
#include <string>

namespace refbooks {

// The currency list, by designation (first tab) or by code (second tab).
// `updateForm` runs the currency form (valutForm) on a window, as the list's
// update form. `openRateHistory` runs the rate history list (kursList) on a
// window and returns when it closes; the currency list calls it from its button
// "История курса" with the highlighted currency re-read into the Valut record
// buffer, stays inactive meanwhile, and rebuilds its page afterwards. With an
// empty list the button does nothing. `loadOfficialRates` runs the window that
// loads the bank's rates of a day (button "Курсы ЦБ"); the list rebuilds its
// page when it closes.
framework::browse::BrowseDefinition valutList(std::function<void()> updateForm,
                                              std::function<void()> openRateHistory,
                                              std::function<void()> loadOfficialRates = {});

// The currency form. Its window shows the rates of the currency as a list inside
// the form (FormDefinition::lists, control valut_form::kRates, on the second tab
// page) and hands the frame's toolbar to that list. OK for insert or change first
// writes the day's entry of the rate history (c_valut_rates.h).
framework::form::FormDefinition valutForm();

// While a new currency's form is open its record is reserved under a designation
// of its own, "#" and three characters made from its code, different for every
// code: the unique designation key would otherwise refuse the blank designation
// of a second station's new currency, and a record left by a station that died
// shows up in the list.
std::string provisionalDesignation(std::uint16_t code);

// The currency form's controls.
namespace valut_form {
inline constexpr int kObozn = 2;
inline constexpr int kName = 4;
inline constexpr int kBankRate = 6;
inline constexpr int kBankRateButton = 7;
inline constexpr int kWholesaleRate = 9;
inline constexpr int kWholesalePercent = 11;
inline constexpr int kWholesaleButton = 12;
inline constexpr int kRetailRate = 14;
inline constexpr int kRetailPercent = 16;
inline constexpr int kRetailButton = 17;
inline constexpr int kCredit = 18;
inline constexpr int kCode = 20;
inline constexpr int kRates = 22;  // the rate list on the second tab page
}  // namespace valut_form

}  // namespace refbooks
