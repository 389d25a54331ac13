// The numbered standard messages of data file access, the saved error they quote,
// and the error description. One saved error per deliverable: each deliverable
// links its own copy of the framework.
#pragma once

#include "storage/errors.h"

#include <string>

namespace storage {
class DataFile;
}

namespace framework {

// Captures the error of the file's last operation as the saved error, and rolls
// back any transaction in progress on the file.
void saveError(storage::DataFile& file);
void clearSavedError();
bool hasSavedError();
const storage::ErrorState& savedError();

// The error text, " (", the code and ")": from the saved error when one is set
// (which this clears), else from `current`; for code 90 the driver's text and code.
std::string errorDescription(const storage::ErrorState& current = {});

// Shows standard message `number` with the caller's text `text` (a label, a path
// name or a key name) and returns the pressed button (platform::Button). Messages
// that end the program show their box and then stop the program with their text.
// `current` is the error of the operation that failed, used when no error is saved.
int standardMessage(int number, const std::string& text = {},
                    const storage::ErrorState& current = {});

}  // namespace framework
