// The library's screens of rights beside the exported lists: the rights
// inspector "Проверка доступа" and the rights journal, opened from the
// category and employee lists, the rights grid and the console's menu.
#pragma once

#include <cstdint>

namespace dostup {

// The inspector for an employee chosen in the employee selection list (nothing
// when none is chosen), or for the employee `code`.
void openRightsInspector();
void openRightsInspectorFor(std::uint16_t code);
// The rights journal "Журнал изменений прав".
void openRightsJournal();

}  // namespace dostup
