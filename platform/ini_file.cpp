// INI files read and written the way the Windows profile functions do it.
//
// Reading: a line "[name]" opens a section, a line "key=value" inside a section is
// a key, a line whose first non-blank character is ';' is a comment, anything
// else is ignored. Section and key names are compared without regard to letter
// case (code page 1251 rules) after surrounding blanks are removed, both in the
// file and in the caller's arguments. A value is the text after the first '='
// with surrounding blanks removed and one pair of matching surrounding quotes
// (" or ') stripped. Only the first section of a name counts, and within it the
// first key of a name.
//
// Writing replaces the value of that first key, or adds the key after the last
// key line of the section, or adds the section at the end of the file. Every other
// byte of the file stays as it was; new lines take the file's own line ending.
// The new contents go to a temporary file in the same folder which then replaces
// the original in one rename, so a crash leaves either the old or the new file.
#include "platform/ini_file.h"

#include "platform/cp1251.h"
#include "platform/paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperChar(static_cast<unsigned char>(a[i])) !=
            upperChar(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

enum class LineKind { Other, Section, Key };

// One line of the file as offsets into its text.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;         // past the line ending, if any
    bool hasEnding = false;      // ends with '\n'
    LineKind kind = LineKind::Other;
    std::string_view name;       // section or key name, trimmed
    std::size_t valueBegin = 0;  // key lines: first byte after '=' and its blanks
};

Line classify(std::string_view text, std::size_t begin, std::size_t end, bool hasEnding) {
    Line line;
    line.begin = begin;
    line.end = end;
    line.hasEnding = hasEnding;
    std::size_t contentEnd = hasEnding ? end - 1 : end;
    if (contentEnd > begin && text[contentEnd - 1] == '\r') --contentEnd;
    std::size_t pos = begin;
    if (begin == 0 && text.substr(0, 3) == "\xEF\xBB\xBF") pos = 3;  // byte order mark
    while (pos < contentEnd && isBlank(text[pos])) ++pos;
    if (pos == contentEnd || text[pos] == ';') return line;
    const std::string_view content = text.substr(pos, contentEnd - pos);
    if (content.front() == '[') {
        const std::size_t close = content.find(']');
        if (close == std::string_view::npos) return line;
        line.kind = LineKind::Section;
        line.name = trimBlanks(content.substr(1, close - 1));
        return line;
    }
    const std::size_t equals = content.find('=');
    if (equals == std::string_view::npos) return line;
    line.kind = LineKind::Key;
    line.name = trimBlanks(content.substr(0, equals));
    std::size_t value = pos + equals + 1;
    while (value < contentEnd && isBlank(text[value])) ++value;
    line.valueBegin = value;
    return line;
}

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t newline = text.find('\n', begin);
        if (newline == std::string_view::npos) {
            lines.push_back(classify(text, begin, text.size(), false));
            break;
        }
        lines.push_back(classify(text, begin, newline + 1, true));
        begin = newline + 1;
    }
    return lines;
}

// The value of a key line as the profile functions return it.
std::string_view valueOf(std::string_view text, const Line& line) {
    std::size_t end = line.hasEnding ? line.end - 1 : line.end;
    if (end > line.valueBegin && text[end - 1] == '\r') --end;
    std::string_view value = trimBlanks(text.substr(line.valueBegin, end - line.valueBegin));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

// Where a section and a key were found: indexes into the lines, or -1.
struct Location {
    int section = -1;
    int key = -1;
    int lastKey = -1;  // the section's last key line (the key itself when found)
};

Location locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Location found;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        const Line& line = lines[i];
        if (line.kind == LineKind::Section) {
            if (found.section >= 0) break;  // the first section of the name ended
            if (sameName(line.name, section)) found.section = i;
        } else if (line.kind == LineKind::Key && found.section >= 0) {
            found.lastKey = i;
            if (found.key < 0 && sameName(line.name, key)) found.key = i;
        }
    }
    return found;
}

std::optional<std::string> readWholeFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream contents;
    contents << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return contents.str();
}

// The file's own line ending, taken from its first line; CR LF for a file without one.
std::string_view lineEndingOf(std::string_view text) {
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos) return "\r\n";
    return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes `contents` over an existing file in place: used when the folder does
// not let a temporary file be created beside it (a writable INI file in a
// read-only folder). Not atomic, but the only way the setting is kept.
bool overwriteInPlace(const fs::path& target, std::string_view contents) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = writeAll(fd, contents);
    if (ok) ok = ::ftruncate(fd, static_cast<off_t>(contents.size())) == 0;
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    return ok;
}

// Replaces `target` with `contents` through a temporary file in the same folder.
// A new file gets the usual permissions (0666 less the umask); an existing one
// keeps its own. When the folder refuses the temporary file, an existing file
// is written in place instead.
bool replaceFile(const fs::path& target, std::string_view contents,
                 std::optional<fs::perms> keepPermissions) {
    static std::atomic<unsigned> counter{0};
    const fs::path folder = target.parent_path();
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const std::string name = "." + target.filename().string() + ".tmp" +
                                 std::to_string(::getpid()) + "-" + std::to_string(counter++);
        temporary = folder.empty() ? fs::path(name) : folder / name;
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return keepPermissions && overwriteInPlace(target, contents);
    bool ok = writeAll(fd, contents);
    if (ok && keepPermissions) {
        ok = ::fchmod(fd, static_cast<mode_t>(*keepPermissions) & 07777) == 0;
    }
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = std::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here does not undo the write.
    const int folderFd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

bool isBlankLine(std::string_view text, const Line& line) {
    const std::string_view bytes = text.substr(line.begin, line.end - line.begin);
    return bytes.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n", 0) != std::string_view::npos ||
           text.find('\0') != std::string_view::npos;
}

}  // namespace

std::string readIni(std::string_view section, std::string_view key,
                    std::string_view defaultValue, std::string_view fileName) {
    const std::optional<std::string> text = readWholeFile(hostPath(fileName));
    if (!text) return std::string(defaultValue);
    const std::vector<Line> lines = splitLines(*text);
    const Location found = locate(lines, trimBlanks(section), trimBlanks(key));
    if (found.key < 0) return std::string(defaultValue);
    return std::string(valueOf(*text, lines[found.key]));
}

bool writeIni(std::string_view section, std::string_view key, std::string_view value,
              std::string_view fileName) {
    section = trimBlanks(section);
    key = trimBlanks(key);
    if (section.empty() || key.empty()) return false;
    // Names and values that would change the shape of the file are refused.
    if (hasLineBreak(section) || section.find(']') != std::string_view::npos) return false;
    if (hasLineBreak(key) || key.find('=') != std::string_view::npos || key.front() == ';' ||
        key.front() == '[')
        return false;
    if (hasLineBreak(value)) return false;

    fs::path target = hostPath(fileName);
    std::error_code ec;
    // Through a symbolic link the file it points to is replaced, not the link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (ec) return false;
        target = resolved;
    }
    const fs::file_status status = fs::status(target, ec);
    std::string text;
    std::optional<fs::perms> permissions;
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) return false;
        std::optional<std::string> existing = readWholeFile(target);
        if (!existing) return false;
        text = std::move(*existing);
        permissions = status.permissions();
    } else {
        // Like Windows, a missing folder is not created.
        const fs::path folder = target.parent_path();
        if (!folder.empty() && !fs::is_directory(folder, ec)) return false;
    }

    const std::vector<Line> lines = splitLines(text);
    const Location found = locate(lines, section, key);
    const std::string_view eol = lineEndingOf(text);
    const std::string keyLine = std::string(key) + "=" + std::string(value);

    if (found.key >= 0) {
        const Line& line = lines[found.key];
        std::size_t valueEnd = line.hasEnding ? line.end - 1 : line.end;
        if (valueEnd > line.valueBegin && text[valueEnd - 1] == '\r') --valueEnd;
        text.replace(line.valueBegin, valueEnd - line.valueBegin, value);
    } else if (found.section >= 0) {
        const Line& after = lines[found.lastKey >= 0 ? found.lastKey : found.section];
        // The last line of a file may lack its ending; the file keeps lacking it.
        const std::string insertion = after.hasEnding ? keyLine + std::string(eol)
                                                      : std::string(eol) + keyLine;
        text.insert(after.end, insertion);
    } else {
        if (!text.empty()) {
            if (!lines.back().hasEnding) text += eol;
            // One blank line before the new section, unless the file ends with one.
            if (!isBlankLine(text, lines.back())) text += eol;
        }
        text += "[";
        text += section;
        text += "]";
        text += eol;
        text += keyLine;
        text += eol;
    }
    return replaceFile(target, text, permissions);
}

}  // namespace platform
