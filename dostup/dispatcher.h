// The library's dispatcher C_DOS: a command string sets the operator's identity
// ("/S=12") and names the screen to start ("/P=MOL_T"); without a screen it logs
// the operator in and runs the library's own console frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dostup {

inline constexpr std::size_t kCommandLength = 255;       // what is kept of a command
inline constexpr std::size_t kProcedureNameLength = 15;  // characters taken after "/P="
inline constexpr std::size_t kProcedureFieldLength = 32;  // the name field, blank-padded

struct DispatchCommand {
    // "/S=" and the two characters after it read as a number ("7 " 7, "123" 12).
    std::optional<std::uint16_t> operatorCode;
    // The 15 characters after "/P=" blank-padded to 32; all blanks without "/P=".
    std::string procedure = std::string(kProcedureFieldLength, ' ');
};

// Upper-cases the command (the first 255 characters, by UPPERSTR's rule) and
// reads its options.
DispatchCommand parseCommand(std::string_view command);

enum class Procedure { Console, Employees, Departments, Categories, Objects, InfoScreen, Unknown };

// The procedure a blank-padded name field names.
Procedure procedureNamed(const std::string& field);

// The dispatch itself (C_DOS after DOSTUP_INITDLL).
void dispatch(const DispatchCommand& command);

}  // namespace dostup
