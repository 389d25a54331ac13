// The employee form MOL_up: the pages of the employee's data with the
// department and category drop lists, the superior looked up through the MOD
// view, the photograph and signature drawn from their files, and the change
// log on its last page. Declared for the form engine.
#pragma once

#include "framework/form/form_definition.h"

#include <cstdint>
#include <functional>
#include <string>

namespace staff {

struct EmployeeFormCallouts {
    std::function<std::uint16_t()> pickEmployee;  // MOL_S
    std::function<void()> logEntryForm;           // UpdateMolLOG
};

framework::form::FormDefinition employeeForm(EmployeeFormCallouts callouts);

// The superior's name shown beside MOL:BOSS.
const std::string& superiorName();

namespace employee_form {
inline constexpr int kCode = 1;
inline constexpr int kSurname = 2;
inline constexpr int kFirstNames = 3;
inline constexpr int kLogin = 4;
inline constexpr int kPassword = 5;
inline constexpr int kDepartment = 6;
inline constexpr int kDepartmentName = 7;
inline constexpr int kTitle = 8;
inline constexpr int kBoss = 9;
inline constexpr int kBossButton = 10;
inline constexpr int kBossName = 11;
inline constexpr int kCategory = 12;
inline constexpr int kCategoryName = 13;
inline constexpr int kPhotoFile = 37;
inline constexpr int kPhotoButton = 38;
inline constexpr int kSignatureFile = 39;
inline constexpr int kSignatureButton = 40;
inline constexpr int kSoundFile = 41;
inline constexpr int kSoundButton = 42;
inline constexpr int kChanged = 44;
inline constexpr int kPhoto = 45;
inline constexpr int kSignature = 46;
inline constexpr int kLog = 50;
}  // namespace employee_form

}  // namespace staff
