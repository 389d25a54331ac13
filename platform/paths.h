// The system's paths use backslashes and Windows letter-case rules
// (".\Dostup.INI", ".\dat\Firm"). On the host they are translated: separators
// become '/', every existing component is found without regard to letter case,
// and components that do not exist yet keep the name as given, so new files are
// created under it. A drive letter ("D:\Data") maps to the folder named by the
// environment variable TARVO_DRIVE_D when set, otherwise to the file system root.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

std::filesystem::path hostPath(std::string_view systemPath);

// True for a data directory that names a database server rather than a folder
// ("postgresql://host/suite/"); such names are never translated.
bool isServerAddress(std::string_view systemPath);

}  // namespace platform
