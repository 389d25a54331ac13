// Input history lists: what was typed into an entry field, remembered as rows of
// HistList under the field's designation ("MOL:LNAME") and offered again.
// PUTHLIST remembers a value, HLIST_S lets the user pick one through the history
// list HLIST_T, whose form edits one row.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <optional>
#include <string>
#include <string_view>

namespace inputaids {

// PUTHLIST: adds `value` to the history of `field` under the field's next
// number. A value the field already holds is silently not added. The field's
// rows are found without regard to letter case, as the keys find them.
// Texts longer than their fields are cut.
void putHistory(std::string_view field, std::string_view value,
                std::optional<std::string_view> name = std::nullopt);

// HLIST_S around the list: takes HistList into use and positions on the first row
// of `field` (the list's designation comes from the buffer)...
void beginHistorySelection(std::string_view field);
// ...and after the list ran with GlobalRequest 4: the chosen value without
// trailing blanks, or empty when nothing was chosen. Releases HistList.
std::string endHistorySelection(int response);

// HLIST_T "Список Истории поля": the rows of the field in the HistList buffer
// when it opens, by number or by value. `updateForm` runs historyForm().
framework::browse::BrowseDefinition historyList(std::function<void()> updateForm);

// "Запись Списка Истории": numbers a new row within its field before it opens.
framework::form::FormDefinition historyForm();

}  // namespace inputaids
