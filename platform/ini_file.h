// INI files with Windows rules: section and key names ignore letter case, values
// are raw code page 1251 text, an absent file, section or key gives the default,
// and a write creates or replaces one key while keeping every other byte of the
// file (comments, order, other sections, line endings) as it was.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// `fileName` is a system path (".\TARVO.INI"), resolved by hostPath().
std::string readIni(std::string_view section, std::string_view key,
                    std::string_view defaultValue, std::string_view fileName);
// Returns false when the file cannot be written (the caller may ignore it).
bool writeIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view fileName);

}  // namespace platform
