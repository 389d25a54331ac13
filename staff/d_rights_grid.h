// The rights grid "Запрет доступа к Обьектам системы": for one employee category,
// the objects of one type, each with its eight prohibitions as marks read from
// the category's Dostup row, and the eight ban buttons that set or lift them.
// Declared for the browse engine: a list over Object whose marks are columns of
// the Dostup buffer, filled per row from the keyed row.
#pragma once

#include "framework/browse/browse_definition.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace staff {

// The eight prohibitions in the order of the rights mask and of the grid's marks.
inline constexpr std::array<const char*, 8> kBanFlags = {
    "DOS:OPENFLAG", "DOS:INSERTFLAG", "DOS:CHANGEFLAG", "DOS:DELETEFLAG",
    "DOS:OKFLAG",   "DOS:UTWFLAG",    "DOS:RUTWFLAG",   "DOS:PRINTFLAG"};

// The object types the grid chooses among (code page 1251), the first chosen at
// opening; an object of any other type is listed under none of them.
const std::array<std::string, 5>& objectTypes();

// The grid for the category `code` named `name` (KTM:COD and KTM:KATEG).
// With `openJournal`, a button "Журнал" opens the rights journal.
framework::browse::BrowseDefinition rightsGrid(std::uint16_t code, const std::string& name,
                                               std::function<void()> openJournal = {});

// Reads the Dostup row of (category, object) into the Dostup buffer by its key;
// a missing row leaves the buffer cleared (every mark blank).
void readRightsRow(std::uint16_t category, std::uint16_t object);

// Toggles one prohibition (0..7, kBanFlags order) of (category, object): the
// first toggle adds the row with that flag alone set, later ones invert it and
// put the row back. A failed write is reported by the standard messages and the
// file keeps what it had. True when the row was written.
bool toggleBan(std::uint16_t category, std::uint16_t object, int flag);

}  // namespace staff
