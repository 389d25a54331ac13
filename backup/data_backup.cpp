#include "backup/data_backup.h"

#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/paths.h"
#include "storage/file_copy.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

namespace backup {

namespace {

namespace fs = std::filesystem;

constexpr const char* kManifest = "manifest.txt";
constexpr const char* kManifestTitle = "Tarvo backup";

std::string say(std::string_view utf8) { return platform::ru(utf8); }

std::string hostText(const fs::path& path) { return platform::utf8ToCp1251(path.string()); }

// "data/MOL.db", or with a number when two data folders hold a file of that name.
std::string copyNameFor(const std::string& diskName, std::set<std::string>& taken) {
    const std::string base = storage::databaseFileOf(diskName).filename().string();
    std::string name = "data/" + base;
    for (int n = 2; !taken.insert(name).second; ++n) name = "data/" + std::to_string(n) + "_" + base;
    return name;
}

bool writeManifest(const fs::path& folder, const std::string& title, const std::vector<ManifestEntry>& entries) {
    std::ofstream out(folder / kManifest, std::ios::binary | std::ios::trunc);
    out << kManifestTitle << '\t' << title << "\n";
    for (const ManifestEntry& entry : entries)
        out << entry.copy << '\t' << entry.original << '\t'
            << (entry.records < 0 ? std::string("-") : std::to_string(entry.records)) << '\t' << entry.sha256
            << "\n";
    out.flush();
    return bool(out);
}

// Makes sure the bytes reached the disk before the folder gets its final name.
void syncFile(const fs::path& file) {
    if (FILE* f = std::fopen(file.c_str(), "rb+")) {
        ::fsync(fileno(f));
        std::fclose(f);
    }
}

}  // namespace

std::string backupName(std::int32_t day, std::int32_t clock) {
    const platform::CivilDate date = platform::civilDate(day);
    const platform::ClockTime time = platform::clockTime(clock);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d%02d", date.year, date.month, date.day, time.hours,
                  time.minutes);
    return text;
}

BackupOutcome takeBackup(const std::vector<DataFileName>& files, const std::vector<std::string>& iniFiles,
                         const std::string& directory, std::int32_t day, std::int32_t clock,
                         const std::function<bool(const std::string& file)>& progress) {
    BackupOutcome outcome;
    std::error_code ec;
    const fs::path root(directory);
    if (!fs::is_directory(root, ec)) {
        outcome.error = say("Нет папки для копии: ") + hostText(root);
        return outcome;
    }
    const std::string name = backupName(day, clock);
    fs::path final = root / name;
    for (int n = 2; fs::exists(final, ec); ++n) final = root / (name + "_" + std::to_string(n));
    // Written under a hidden name; a backup killed half-way never looks like one.
    const fs::path partial = root / ("." + final.filename().string() + ".partial-" + std::to_string(::getpid()));
    auto fail = [&](const std::string& why) {
        fs::remove_all(partial, ec);
        outcome.entries.clear();
        outcome.error = why;
        return outcome;
    };
    if (!fs::create_directories(partial / "data", ec) || !fs::create_directories(partial / "ini", ec))
        return fail(say("Нельзя создать папку копии в ") + hostText(root) + ": " + platform::utf8ToCp1251(ec.message()));

    std::set<std::string> taken, seen;
    for (const DataFileName& file : files) {
        const fs::path source = fs::absolute(storage::databaseFileOf(file.diskName), ec);
        if (!seen.insert(source.string()).second) continue;  // named twice (both INI files)
        if (!platform::isServerAddress(file.diskName) && !fs::exists(source, ec)) continue;  // never made
        if (progress && !progress(file.diskName)) return fail(say("Резервная копия отменена"));
        if (platform::isServerAddress(file.diskName))
            return fail(say("Файл ") + file.diskName +
                        say(" хранится на сервере PostgreSQL: его копию делает сервер (pg_dump), а не программа"));
        ManifestEntry entry{copyNameFor(file.diskName, taken), file.diskName, 0, {}};
        const storage::ErrorState copied =
            storage::copyDataFile(file.diskName, file.ownerPassword, partial / entry.copy, entry.records);
        if (copied.code != 0)
            return fail(say("Файл ") + file.diskName + say(" не скопирован: ") + copied.text + " " + copied.driverText);
        syncFile(partial / entry.copy);
        entry.sha256 = storage::sha256OfFile(partial / entry.copy);
        outcome.entries.push_back(entry);
    }
    for (const std::string& ini : iniFiles) {
        const fs::path source = platform::hostPath(ini);
        if (!fs::is_regular_file(source, ec)) continue;
        ManifestEntry entry{"ini/" + source.filename().string(), ini, -1, {}};
        if (!fs::copy_file(source, partial / entry.copy, ec))
            return fail(say("Файл ") + ini + say(" не скопирован: ") + platform::utf8ToCp1251(ec.message()));
        entry.sha256 = storage::sha256OfFile(partial / entry.copy);
        outcome.entries.push_back(entry);
    }
    if (!writeManifest(partial, name, outcome.entries))
        return fail(say("Опись копии не записана (нет места на диске?)"));
    syncFile(partial / kManifest);

    // The check: every copy opens, is whole, and matches the manifest.
    std::vector<ManifestEntry> listed;
    std::string error;
    if (!readManifest(partial.string(), listed, error)) return fail(error);
    for (const ManifestEntry& entry : listed) {
        if (storage::sha256OfFile(partial / entry.copy) != entry.sha256)
            return fail(say("Копия файла ") + entry.original + say(" не совпадает с описью"));
        if (entry.records < 0) continue;
        std::string password;
        for (const DataFileName& file : files)
            if (file.diskName == entry.original) password = file.ownerPassword;
        long records = 0;
        const storage::ErrorState checked = storage::checkCopiedFile(partial / entry.copy, password, records);
        if (checked.code != 0 || records != entry.records)
            return fail(say("Копия файла ") + entry.original + say(" не прошла проверку: ") + checked.text + " " +
                        checked.driverText);
    }
    fs::rename(partial, final, ec);
    if (ec) return fail(say("Папка копии не переименована: ") + platform::utf8ToCp1251(ec.message()));
    outcome.folder = final.string();
    return outcome;
}

bool readManifest(const std::string& folder, std::vector<ManifestEntry>& entries, std::string& error) {
    entries.clear();
    std::ifstream in(fs::path(folder) / kManifest, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line.rfind(kManifestTitle, 0) != 0) {
        error = say("В папке ") + hostText(folder) + say(" нет описи резервной копии (manifest.txt)");
        return false;
    }
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::istringstream fields(line);
        ManifestEntry entry;
        std::string records;
        if (!std::getline(fields, entry.copy, '\t') || !std::getline(fields, entry.original, '\t') ||
            !std::getline(fields, records, '\t') || !std::getline(fields, entry.sha256) ||
            entry.copy.find("..") != std::string::npos || entry.copy.empty() || entry.copy.front() == '/') {
            error = say("Опись копии испорчена: ") + line.substr(0, 80);
            return false;
        }
        entry.records = records == "-" ? -1 : std::atol(records.c_str());
        entries.push_back(entry);
    }
    return true;
}

}  // namespace backup
