// Saved filters: filter expressions saved under a name, grouped by the
// designation of the table they belong to ("MOL_t") and numbered within it.
// FILTER_S lets the user pick one through the filter list FILTER_T, whose form
// edits and checks one filter. The caller applies the chosen expression itself.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <string>
#include <string_view>

namespace inputaids {

// FILTER_S around the list: takes Filter into use and positions on the first
// filter of `table`, so the list opens on that designation...
void beginFilterSelection(std::string_view table);
// ...and after the list ran with GlobalRequest 4: "expression|name" of the chosen
// filter, both without trailing blanks, or "|" when none was chosen. Releases Filter.
std::string endFilterSelection(int response);

// FILTER_T "Список Фильтров": the filters of the designation loc:Tabl, which the
// list takes from the Filter buffer when it opens and the operator may change in
// the entry above the list. `updateForm` runs filterForm().
framework::browse::BrowseDefinition filterList(std::function<void()> updateForm);

// "Фильтр": numbers a new filter within its designation before it opens; its
// button "Проверка" evaluates the expression with the fields of the table named
// by the designation bound ("MOL_t" binds the MOL record: "mol:SCode>0").
framework::form::FormDefinition filterForm();

// The outcome of "Проверка" as the two pictures show it.
enum class ExpressionCheck { NotChecked, Valid, Invalid };
// Evaluates an expression as "Проверка" does for a filter of `table`:
// Valid for "0" or "1", Invalid for an evaluator error, NotChecked otherwise.
ExpressionCheck checkExpression(std::string_view expression, std::string_view table);

namespace filter_form {
inline constexpr int kTable = 2;
inline constexpr int kNumber = 4;
inline constexpr int kName = 6;
inline constexpr int kExpression = 8;
inline constexpr int kCheck = 9;
inline constexpr int kValidPicture = 10;
inline constexpr int kInvalidPicture = 11;
}  // namespace filter_form

}  // namespace inputaids
