// The values the staff documents compute from the employee in the MOL record
// buffer just before the employee's line or form prints: the department name, the
// surname with initials (stored into MOL:LNAME of the buffer, never written back)
// and the full name.
#pragma once

#include "storage/data_file.h"

#include <cstdint>
#include <string>

namespace staffdocs {

class EmployeeValues {
public:
    EmployeeValues(storage::DataFile& mol, storage::DataFile& otdMol);

    // OMO:NAME of the department MOL:OTD_ID names, read by OMO:ID_KEY; empty when
    // no department has that code.
    void lookUpDepartment();
    // The surname with initials (as GETMOL_SNAME gives it) into MOL:LNAME, cut to
    // its 25 characters.
    void storeShortName();
    // MOL:LNAME without trailing blanks, one blank, MOL:FNAME; 50 characters.
    void computeFullName();

    const std::string& department() const { return department_; }
    const std::string& fullName() const { return fullName_; }

    std::int64_t code() const;
    std::int64_t departmentCode() const;
    std::string text(const char* field) const;  // a field of the MOL buffer
    std::int64_t number(const char* field) const;

private:
    storage::DataFile& mol_;
    storage::DataFile& otdMol_;
    std::string department_;
    std::string fullName_;
};

// The printed start of a year for a hand to complete: the first two digits of
// the year of `dayNumber` ("20" in 2024), the rest left to the blanks after it.
std::string centuryDigits(std::int32_t dayNumber);

}  // namespace staffdocs
