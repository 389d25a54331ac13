// A new installation has no employee, so the console could never be entered.
// Its log-in then offers to create the first administrator instead: an employee
// with a surname, a login name and a password, in a category of its own that no
// ban touches. Once the file holds any employee (a blank password logs in too),
// the console asks for the log-in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace dostup {

// Whether the employee file holds no employee at all; false when it cannot be
// read (the log-in is offered then, never the creation).
bool noEmployees();

struct FirstAdministrator {
    std::string surname;   // code page 1251, cut to MOL:LNAME
    std::string login;     // cut to MOL:LOGIN
    std::string password;  // cut to MOL:PASSWORD; must not be blank
    std::string names;     // first name and patronymic, cut to MOL:FNAME; may be empty
};

// The category name of the first administrator.
std::string administratorCategoryName();

// Adds the category, the employee and the employee's "Добавление" entry in the
// change log as one write, and returns the employee's code. The category is
// numbered after the highest code in the categories and the rights rows, the
// employee after the highest code the change log names, so neither inherits a
// deleted one's bans or history. Nothing when the password is blank, the file
// holds an employee already (another station may have been first), or a file
// refused the write (the standard message was shown).
std::optional<std::uint16_t> createFirstAdministrator(const FirstAdministrator& administrator);

}  // namespace dostup
