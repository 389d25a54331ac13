// Names of an employee as the library's look-ups return them.
#pragma once

#include <string>
#include <string_view>

namespace dostup {

// Surname without trailing blanks, one blank, and the whole first-name field with
// its trailing blanks kept.
std::string fullName(std::string_view surname, std::string_view firstNames);

// Surname with initials: "Петров И.С." for "Иван Сергеевич", "Петров И." for
// "Иван". The second initial is the character after the first blank (or, when
// there is no blank, after the first ".") that stands before the last
// non-blank character of the first-name field.
std::string surnameWithInitials(std::string_view surname, std::string_view firstNames);

}  // namespace dostup
