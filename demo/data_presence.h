// Whether a data folder holds data already: sample data is written only where
// nothing is, so that no data in use is ever touched.
#pragma once

#include <string>
#include <vector>

namespace storage {
class RecordLayout;
}

namespace demo {

// A data file the sample data writes: its layout and its disk name (a system
// path such as ".\Dat\MOL", or a name on a database server).
struct DataFileRef {
    const storage::RecordLayout* layout = nullptr;
    std::string name;
    std::string ownerPassword;  // for a protected file
};

struct Occupancy {
    enum class State { Empty, HoldsData, Unknown };
    State state = State::Empty;
    std::string where;   // the data file found, or what could not be examined (UTF-8)
    std::string reason;  // Unknown: why
};

// A folder holds data when any data file is in it, whichever program of the suite
// it belongs to; a folder that does not exist is empty. Nothing in a folder is
// opened, so looking changes nothing there. A file on a database server is opened
// read-only and closed again: a table that is there, in whatever state, holds data.
Occupancy occupancy(const std::vector<DataFileRef>& files);

// Creates the folders of the files that live in folders. Empty when done, else
// what failed (UTF-8). `created` receives the folders that did not exist.
std::string createFolders(const std::vector<DataFileRef>& files, std::vector<std::string>* created = nullptr);

// Puts folders found empty back as they were after a write that failed half-way:
// removes every data file (with its journal) from the folders of the files, then
// the folders that were created. Files on a database server are not touched;
// their names are returned (UTF-8), for the message.
std::vector<std::string> removeWrittenData(const std::vector<DataFileRef>& files,
                                           const std::vector<std::string>& createdFolders);

}  // namespace demo
