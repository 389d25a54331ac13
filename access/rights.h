// The rights check and the employee look-ups of the library, for its own C++ code;
// the C exports in dostup.h are thin wrappers around these.
#pragma once

#include <cstdint>
#include <optional>
#include <filesystem>
#include <string>
#include <string_view>

namespace storage {
class DataFile;
}

namespace dostup {

// What the rights check read, without a word to the operator.
struct RightsReading {
    enum class Status : std::uint8_t { Read, NoObject, Unread };
    Status status = Status::Read;
    std::int16_t mask = 0;        // kEveryBan when unread, 0 without object or row
    std::int16_t category = 0;    // the category whose row was asked for
    std::uint16_t object = 0;     // OBJ:ID of the object, 0 when not found
    bool hasRow = false;          // the category has a Dostup row for the object
    const storage::DataFile* failed = nullptr;  // the file that could not be read
};

// Every ban of the mask: what the check answers when it could not read.
constexpr std::int16_t kEveryBan = 0xFF;
// The category GETMOL_KATEG answers when the employee could not be read (a
// held file, a lost server): no category has it.
constexpr std::int16_t kUnreadCategory = -1;

// The prohibition mask of the access object named `designation` for `category`,
// or for the logged-in operator's category when none is given. Only "no such
// row" means "no ban": when the object, the rights row or the operator's
// employee cannot be read (busy past the wait, a damaged or unopenable file, a
// lost server), the check says so in one message and returns kEveryBan; the next
// check reads again.
std::int16_t rightsMask(std::string_view designation,
                        std::optional<std::int16_t> category = std::nullopt);
// The same reading, quiet: what the check found and why.
RightsReading readRights(std::string_view designation,
                         std::optional<std::int16_t> category = std::nullopt);

// The category of an employee, read through the MOD view so that the MOL record
// a screen holds is not disturbed: 0 for a code that does not exist, nothing
// when the employee file could not be read.
std::optional<std::int16_t> readEmployeeCategory(std::uint16_t code);
// The same for the export GETMOL_KATEG: kUnreadCategory when it could not read.
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
