#include "access/employee_names.h"

#include "platform/cp1251.h"

namespace dostup {

std::string fullName(std::string_view surname, std::string_view firstNames) {
    std::string out(platform::clip(surname));
    out += ' ';
    out += firstNames;
    return out;
}

std::string surnameWithInitials(std::string_view surname, std::string_view firstNames) {
    std::string out(platform::clip(surname));
    out += ' ';
    out += firstNames.empty() ? ' ' : firstNames.front();
    out += '.';

    const std::size_t lastNonBlank = platform::clip(firstNames).size();  // one past it
    if (lastNonBlank == 0) return out;
    const std::size_t blank = firstNames.find(' ');
    const std::size_t point = firstNames.find('.');
    if (blank != std::string_view::npos && blank + 1 < lastNonBlank) {
        out += firstNames[blank + 1];
        out += '.';
    } else if (point != std::string_view::npos && point + 1 < lastNonBlank) {
        out += firstNames[point + 1];
        out += '.';
    }
    return out;
}

}  // namespace dostup
