// A fresh temporary folder that a test works in; the current directory moves there
// for the lifetime of the object, so the system's relative paths (".\Dat\MOL",
// ".\TARVO.INI") land inside it. Removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes a file (relative to the folder) with exactly these bytes.
    void write(const std::string& relative, const std::string& bytes) const;
    std::string read(const std::string& relative) const;

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

}  // namespace testing_support
