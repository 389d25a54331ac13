// Translation of the system's Windows-style paths to host paths.
//
// ".\dat\Firm" becomes "dat/Firm", where each component that exists is spelled
// the way the directory listing spells it ("DAT/FIRM" when those exist) and the
// first missing component and everything after it keep the spelling given, so new
// files and folders are created under that name. An exact match wins over one
// that differs only in letter case; among several case-insensitive matches the
// one that sorts first byte-wise is taken, so the choice does not depend on the
// order of the listing. Letter case follows code page 1251 rules; names are code
// page 1251 on the system side and UTF-8 on the host.
#include "platform/paths.h"

#include "platform/cp1251.h"

#include <cstdlib>
#include <optional>
#include <system_error>

namespace platform {
namespace {

namespace fs = std::filesystem;

bool isSeparator(char c) { return c == '\\' || c == '/'; }

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

char asciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperChar(static_cast<unsigned char>(a[i])) !=
            upperChar(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (asciiUpper(text[i]) != asciiUpper(prefix[i])) return false;
    }
    return true;
}

// The host folder that stands for a drive letter: $TARVO_DRIVE_<letter> or the root.
fs::path driveFolder(char letter) {
    const std::string variable = std::string("TARVO_DRIVE_") + asciiUpper(letter);
    const char* value = std::getenv(variable.c_str());
    return value && *value ? fs::path(value) : fs::path("/");
}

// The spelling under which `systemName` (code page 1251) exists in `folder`, or
// nothing when no entry matches.
std::optional<std::string> findEntry(const fs::path& folder, std::string_view systemName,
                                     const std::string& hostName) {
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    std::error_code ec;
    if (fs::symlink_status(where / hostName, ec).type() != fs::file_type::not_found && !ec) {
        return hostName;
    }
    std::optional<std::string> best;
    fs::directory_iterator entries(where, ec);
    if (ec) return std::nullopt;
    for (const fs::directory_entry& entry : entries) {
        const std::string candidate = entry.path().filename().string();
        // A host name without a code page 1251 spelling can only match exactly.
        const std::string asSystem = utf8ToCp1251(candidate);
        if (cp1251ToUtf8(asSystem) != candidate) continue;
        if (!sameName(asSystem, systemName)) continue;
        if (!best || candidate < *best) best = candidate;
    }
    return best;
}

}  // namespace

bool isServerAddress(std::string_view systemPath) {
    return startsWithIgnoringCase(systemPath, "postgresql://") ||
           startsWithIgnoringCase(systemPath, "postgres://");
}

fs::path hostPath(std::string_view systemPath) {
    if (isServerAddress(systemPath)) return fs::path(std::string(systemPath));

    // Names come from fixed-length, blank-padded fields; Windows ignores the
    // trailing blanks of a name as well.
    std::string_view rest = systemPath;
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    if (rest.empty()) return {};

    fs::path result;
    if (rest.size() >= 2 && isAsciiLetter(rest[0]) && rest[1] == ':') {
        result = driveFolder(rest[0]);
        rest.remove_prefix(2);
    } else if (isSeparator(rest[0])) {
        result = "/";
    }

    bool resolving = true;  // false once a component does not exist
    while (!rest.empty()) {
        std::size_t length = 0;
        while (length < rest.size() && !isSeparator(rest[length])) ++length;
        const std::string_view component = rest.substr(0, length);
        rest.remove_prefix(length < rest.size() ? length + 1 : length);
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            result /= "..";
            continue;
        }
        std::string hostName = cp1251ToUtf8(component);
        if (resolving) {
            if (std::optional<std::string> existing = findEntry(result, component, hostName)) {
                hostName = std::move(*existing);
            } else {
                resolving = false;
            }
        }
        result /= hostName;
    }
    if (result.empty()) result = ".";
    return result;
}

}  // namespace platform
