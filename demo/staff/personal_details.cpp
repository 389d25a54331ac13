#include "demo/staff/sample_staff.h"

#include "platform/dates.h"

#include <array>
#include <cstdio>

namespace demo {

namespace {

// What an employee's card takes from the city he works in.
struct City {
    const char* name;
    int firstPostCode;
    int postCodes;          // the employees' codes spread over this many
    const char* officeTelephone;  // the last two digits follow
    const char* passportRegion;   // the first two digits of the series
};

constexpr City kMoscow{"Москва", 115000, 14000, "(495)214-37-", "45"};
constexpr City kNizhnyNovgorod{"Нижний Новгород", 603000, 150, "(831)433-12-", "22"};
constexpr City kYekaterinburg{"Екатеринбург", 620000, 140, "(343)371-55-", "65"};

const City& cityOf(const SampleEmployee& employee) {
    if (employee.store == 4) return kNizhnyNovgorod;
    if (employee.store == 5) return kYekaterinburg;
    return kMoscow;
}

std::string passportOffice(const SampleEmployee& employee) {
    if (&cityOf(employee) == &kNizhnyNovgorod) return "ОУФМС России по Нижегородской обл.";
    if (&cityOf(employee) == &kYekaterinburg) return "ОУФМС России по Свердловской обл.";
    static constexpr std::array<const char*, 6> kDistricts = {
        "Черемушки", "Раменки", "Хамовники", "Басманный", "Сокольники", "Лефортово"};
    return std::string("ОВД района ") + kDistricts[employee.code % kDistricts.size()] +
           " г. Москвы";
}

std::string digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

// A passport is changed at 45 and, for the younger, was issued at 20.
int passportYear(const SampleEmployee& employee) {
    return employee.born.year + (employee.born.year + 45 <= 2024 ? 45 : 20);
}

}  // namespace

std::vector<std::pair<const char*, std::string>> personalDetails(const SampleEmployee& employee) {
    const City& city = cityOf(employee);
    const int issuedYear = passportYear(employee);
    // Ten days after the birthday.
    const std::int32_t issued =
        platform::dayNumber(issuedYear, employee.born.month, employee.born.day) + 10;
    return {
        {"MOL:TABNUM", digits(employee.code, 4)},
        {"MOL:CITY", city.name},
        {"MOL:POSTINDEX", digits(city.firstPostCode + employee.code * 389 % city.postCodes, 6)},
        {"MOL:BPHONE", city.officeTelephone + digits(10 + employee.code, 2)},
        {"MOL:PASPSER", std::string(city.passportRegion) + " " + digits(issuedYear % 100, 2)},
        {"MOL:PASPNUMBER", digits(100000 + (employee.code * 104729 + 271828) % 900000, 6)},
        {"MOL:PASPDATE", std::to_string(issued)},
        {"MOL:PASPOTDEL", passportOffice(employee)},
        {"MOL:STAVKA", "1"},
    };
}

}  // namespace demo
