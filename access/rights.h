// The rights check and the employee look-ups of the library, for its own C++ code;
// the C exports in dostup.h are thin wrappers around these.
#pragma once

#include <cstdint>
#include <optional>
#include <filesystem>
#include <string>
#include <string_view>

namespace dostup {

// The prohibition mask of the access object named `designation` for `category`,
// or for the logged-in operator's category when none is given.
std::int16_t rightsMask(std::string_view designation,
                        std::optional<std::int16_t> category = std::nullopt);

// The category of an employee, read through the MOD view so that the MOL record
// a screen holds is not disturbed; 0 for a code that does not exist.
std::int16_t employeeCategory(std::uint16_t code);

// Fetch the employee into the MOL buffer (cleared when there is none) and name him.
std::string employeeFullName(std::uint16_t code);
std::string employeeShortName(std::uint16_t code);

// The help page of a topic: the part before its first ".", clipped, plus ".htm".
std::string helpFileName(std::string_view topic);
// The installed help pages: "help" beside the module that holds this code (a
// build tree), or the data folder of an installation found from it; empty when
// neither exists.
std::filesystem::path installedHelpFolder();
// Opens the page under g:HelpPath; with no help path, the installed page when
// it exists, otherwise the page in the working folder.
void openHelpTopic(std::string_view topic);
void openFile(std::string_view file);

}  // namespace dostup
