// The sample staff of a trading company, as declarative tables: departments,
// employee categories, access objects beyond the starter ones, the bans of the
// categories, thirty employees, saved filters and input history. Texts are UTF-8
// here; the writer converts them to code page 1251 as it stores them.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace demo {

struct SampleDate {
    int year;
    int month;
    int day;
};

struct SampleDepartment {
    std::uint16_t code;
    const char* name;
    std::uint16_t head;  // employee code; OMO:LIDER gets his surname with initials
    const char* note;
};

struct SampleCategory {
    std::uint16_t code;
    const char* name;  // nullptr: the name the library gives an administrators' category
};

// An access object of another program of the suite, so that every type of the
// rights grid has objects to ban.
struct SampleObject {
    const char* type;         // one of the rights grid's object types
    const char* designation;  // what the program passes to DOSTOBJ
    const char* name;
};

// The bans of one category on one object, as the rights check returns them:
// bit 0 access, 1 insert, 2 change, 3 delete, 4 write, 5 approve, 6 cancel
// approval, 7 print.
struct SampleBan {
    std::int16_t category;
    const char* object;  // designation
    int mask;
};

namespace ban {
inline constexpr int kOpen = 1;
inline constexpr int kInsert = 2;
inline constexpr int kChange = 4;
inline constexpr int kDelete = 8;
inline constexpr int kWrite = 16;
inline constexpr int kApprove = 32;
inline constexpr int kCancelApproval = 64;
inline constexpr int kPrint = 128;
inline constexpr int kEdit = kInsert | kChange | kDelete;
}  // namespace ban

struct SampleEmployee {
    std::uint16_t code;
    const char* surname;
    const char* names;  // first name and patronymic
    std::uint16_t department;
    std::int16_t category;
    const char* title;
    std::uint16_t boss;   // 0: none
    std::uint16_t store;  // STO:COD of the program's stores; 0: none
    SampleDate born;
    SampleDate hired;
    int salary;           // roubles a month
    const char* mobile;
    const char* address;  // street, house and flat in the employee's city
};

struct SampleFilter {
    const char* table;  // the designation of the list that offers it
    const char* name;
    const char* expression;
};

struct SampleHistory {
    const char* field;  // the field designation, "MOL:LNAME"
    const char* value;
};

const std::vector<SampleDepartment>& sampleDepartments();
const std::vector<SampleCategory>& sampleCategories();
const std::vector<SampleObject>& sampleObjects();
const std::vector<SampleBan>& sampleBans();
const std::vector<SampleEmployee>& sampleEmployees();
const std::vector<SampleFilter>& sampleFilters();
const std::vector<SampleHistory>& sampleHistory();

// The MOL fields of an employee beyond the table's columns (city, postal code,
// passport, work telephone, personnel number ...), made up from its columns so
// that every employee's card is full. Values UTF-8, dates as day numbers.
std::vector<std::pair<const char*, std::string>> personalDetails(const SampleEmployee& employee);

}  // namespace demo
