#include "staffdocs/employee_values.h"

#include "access/employee_names.h"
#include "platform/dates.h"

#include <cstddef>

namespace staffdocs {

namespace {

std::size_t index(const storage::DataFile& file, const char* field) {
    return file.layout().indexOf(field);
}

constexpr std::size_t kShortNameWidth = 25;
constexpr std::size_t kFullNameWidth = 50;

}  // namespace

EmployeeValues::EmployeeValues(storage::DataFile& mol, storage::DataFile& otdMol)
    : mol_(mol), otdMol_(otdMol) {}

void EmployeeValues::lookUpDepartment() {
    storage::Record& department = otdMol_.record();
    department.setInt(index(otdMol_, "OMO:OTD_ID"), departmentCode());
    if (otdMol_.get(*otdMol_.layout().key("OMO:ID_KEY")) == storage::error::kNone)
        department_ = department.getText(index(otdMol_, "OMO:NAME"));
    else
        department_.clear();
}

void EmployeeValues::storeShortName() {
    // What GETMOL_SNAME returns for MOL:SCODE, made from the record in hand: the
    // look-up would fetch the same employee into this very buffer.
    const std::string name = dostup::surnameWithInitials(text("MOL:LNAME"), text("MOL:FNAME"));
    mol_.record().setText(index(mol_, "MOL:LNAME"), name.substr(0, kShortNameWidth));
}

void EmployeeValues::computeFullName() {
    fullName_ = dostup::fullName(text("MOL:LNAME"), text("MOL:FNAME")).substr(0, kFullNameWidth);
}

std::int64_t EmployeeValues::code() const { return number("MOL:SCODE"); }
std::int64_t EmployeeValues::departmentCode() const { return number("MOL:OTD_ID"); }

std::string EmployeeValues::text(const char* field) const {
    return mol_.record().getText(index(mol_, field));
}

std::int64_t EmployeeValues::number(const char* field) const {
    return mol_.record().getInt(index(mol_, field));
}

std::string centuryDigits(std::int32_t dayNumber) {
    return std::to_string(platform::civilDate(dayNumber).year / 100);
}

}  // namespace staffdocs
