// A new installation has nobody who can log in, so the console could never be
// entered. Its log-in then offers to create the first administrator instead: an
// employee with a surname, a login name and a password, in a category of its own
// that no ban touches.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dostup {

// Whether some employee (code 1 and above) has a password to log in with.
bool anyoneCanLogIn();

struct FirstAdministrator {
    std::string surname;   // code page 1251, cut to MOL:LNAME
    std::string login;     // cut to MOL:LOGIN
    std::string password;  // cut to MOL:PASSWORD; must not be blank
    std::string names;     // first name and patronymic, cut to MOL:FNAME; may be empty
};

// The category name of the first administrator.
std::string administratorCategoryName();

// Adds the category and the employee (the codes after the highest in use; for
// the employee also after the highest the change log names, so nobody inherits
// the history of a deleted employee), writes the employee's "Добавление" entry
// in the change log and returns the employee's code; nothing when the password is blank, somebody can
// log in already, or a file refused the record (the standard message was shown).
std::optional<std::uint16_t> createFirstAdministrator(const FirstAdministrator& administrator);

}  // namespace dostup
