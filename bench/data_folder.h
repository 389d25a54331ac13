// The temporary data folder of a benchmark: made once, entered as the working
// folder (the programs resolve ".\Dat\..." against it), removed when the process
// ends.
#pragma once

#include <filesystem>

namespace bench {

// A new folder under the system's temporary folder, named from `prefix`
// ("tarvo-staff"), with its "Dat" folder; it becomes the working folder.
const std::filesystem::path& enterTemporaryDataFolder(const char* prefix);

}  // namespace bench
