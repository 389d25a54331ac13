// Error codes of the storage operations and the error state of the last
// operation on a data file. Every operation leaves a code (0 = success); code 90
// carries the storage driver's own code and text.
#pragma once

#include <string>

namespace storage {

namespace error {
constexpr int kNone = 0;
constexpr int kFileNotFound = 2;
constexpr int kFileLocked = 32;          // busy beyond the wait
constexpr int kRecordNotAvailable = 33;  // end of file when reading next or previous
constexpr int kRecordNotFound = 35;
constexpr int kDuplicateKey = 40;
constexpr int kKeyFileInvalid = 46;      // the keys must be rebuilt
constexpr int kInvalidDeclaration = 47;  // the stored table does not match the layout
constexpr int kFileAlreadyOpen = 52;
constexpr int kChangedByAnotherStation = 89;
constexpr int kDriverError = 90;  // see the driver code and text
}  // namespace error

// The runtime's text for a code ("Record Not Found"); "Error <n>" for others.
std::string errorText(int code);

struct ErrorState {
    int code = error::kNone;
    std::string text;
    int driverCode = 0;
    std::string driverText;

    bool ok() const { return code == error::kNone; }
    explicit operator bool() const { return code != error::kNone; }  // true when failed
};

ErrorState success();
// An error with the runtime's text for the code and no driver details.
ErrorState failure(int code);
// An error with driver details (normally code 90, sometimes 2, 32, 46, 47).
ErrorState failure(int code, int driverCode, std::string driverText);
// Code 90 with the driver's details.
ErrorState driverFailure(int driverCode, std::string driverText);

}  // namespace storage
