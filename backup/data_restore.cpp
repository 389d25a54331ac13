#include "backup/data_restore.h"

#include "platform/cp1251.h"
#include "storage/file_copy.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace backup {

namespace {

namespace fs = std::filesystem;

constexpr const char* kMarker = "restore-in-progress.txt";

std::string say(std::string_view utf8) { return platform::ru(utf8); }
std::string hostText(const fs::path& path) { return platform::utf8ToCp1251(path.string()); }

fs::path folderOf(const std::string& diskName) {
    const fs::path file = fs::absolute(storage::databaseFileOf(diskName));
    return file.parent_path();
}

// The copy checked against the manifest and against the installation: every
// data file of the copy is one of `files`. Empty when it may be restored.
std::string checkCopy(const std::string& backupFolder, const std::vector<ManifestEntry>& entries,
                      const std::vector<DataFileName>& files) {
    int dataFiles = 0;
    for (const ManifestEntry& entry : entries) {
        const fs::path copy = fs::path(backupFolder) / entry.copy;
        if (!fs::is_regular_file(copy))
            return say("В копии нет файла ") + entry.copy + say(", названного в описи");
        if (storage::sha256OfFile(copy) != entry.sha256)
            return say("Файл копии ") + entry.copy + say(" не совпадает с описью (изменён или повреждён)");
        if (entry.records < 0) continue;
        ++dataFiles;
        const DataFileName* known = nullptr;
        for (const DataFileName& file : files)
            if (file.diskName == entry.original) known = &file;
        if (!known)
            return say("Копия сделана с другой установки: файла ") + entry.original +
                   say(" здесь нет (проверьте пути в COMP.INI и Dostup.INI)");
        long records = 0;
        const storage::ErrorState checked = storage::checkCopiedFile(copy, known->ownerPassword, records);
        if (checked.code != 0)
            return say("Файл копии ") + entry.copy + say(" не открывается: ") + checked.text + " " + checked.driverText;
        if (records != entry.records)
            return say("В файле копии ") + entry.copy + say(" другое число записей, чем в описи");
    }
    if (dataFiles == 0) return say("В копии нет ни одного файла данных");
    return {};
}

// Moves a data file and its journals into `aside`; false when a part stayed.
bool moveAside(const fs::path& file, const fs::path& aside) {
    std::error_code ec;
    bool moved = true;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const fs::path part = file.string() + suffix;
        if (!fs::exists(part, ec)) continue;
        fs::rename(part, aside / part.filename(), ec);
        moved = moved && !ec;
    }
    return moved;
}

}  // namespace

RestoreOutcome restoreBackup(const std::string& backupFolder, const std::vector<DataFileName>& files,
                             std::int32_t day, std::int32_t clock) {
    RestoreOutcome outcome;
    std::vector<ManifestEntry> entries;
    if (!readManifest(backupFolder, entries, outcome.error)) return outcome;
    if (std::string wrong = checkCopy(backupFolder, entries, files); !wrong.empty()) {
        outcome.error = wrong + say(". Данные не тронуты");
        return outcome;
    }

    // No other station may have a file open; the holds end before the files move.
    std::map<std::string, const DataFileName*> byName;
    for (const DataFileName& file : files) byName[file.diskName] = &file;
    {
        std::vector<storage::FileHold> holds(byName.size());
        std::size_t i = 0;
        for (const auto& [name, file] : byName) {
            const storage::ErrorState held = holds[i++].take(name, file->ownerPassword);
            if (held.code != 0) {
                outcome.error = say("Файл ") + name + say(" открыт на другой станции (") + held.text +
                                say("): закройте программы на всех станциях и повторите. Данные не тронуты");
                return outcome;
            }
        }
    }

    const std::string stamp = "before-restore-" + backupName(day, clock);
    std::map<fs::path, fs::path> asideOf;  // data folder → its aside folder
    std::error_code ec;
    for (const ManifestEntry& entry : entries) {
        if (entry.records < 0) continue;
        const fs::path folder = folderOf(entry.original);
        if (asideOf.count(folder)) continue;
        fs::path aside = folder / stamp;
        for (int n = 2; fs::exists(aside, ec); ++n) aside = folder / (stamp + "_" + std::to_string(n));
        if (!fs::create_directories(aside, ec)) {
            outcome.error = say("Нельзя создать папку ") + hostText(aside) + say(". Данные не тронуты");
            return outcome;
        }
        std::ofstream(folder / kMarker) << backupFolder << "\n" << aside.string() << "\n";
        asideOf[folder] = aside;
        outcome.asideFolders.push_back(aside.string());
    }
    for (const ManifestEntry& entry : entries) {
        if (entry.records < 0) continue;
        const fs::path target = fs::absolute(storage::databaseFileOf(entry.original));
        const fs::path aside = asideOf[target.parent_path()];
        const fs::path incoming = target.string() + ".restoring";
        fs::remove(incoming, ec);
        const bool placed = moveAside(target, aside) &&
                            fs::copy_file(fs::path(backupFolder) / entry.copy, incoming, ec) && !ec &&
                            (fs::rename(incoming, target, ec), !ec);
        if (!placed) {
            fs::remove(incoming, ec);
            outcome.error = say("Восстановление прервано на файле ") + entry.original +
                            say(". Прежние данные — в папке ") + hostText(aside) +
                            say("; повторите восстановление или верните файлы оттуда");
            return outcome;
        }
        ++outcome.files;
    }
    for (const auto& [folder, aside] : asideOf) fs::remove(folder / kMarker, ec);
    return outcome;
}

std::string interruptedRestore(const std::vector<DataFileName>& files) {
    std::set<fs::path> folders;
    for (const DataFileName& file : files) folders.insert(folderOf(file.diskName));
    for (const fs::path& folder : folders) {
        std::ifstream marker(folder / kMarker);
        std::string from, aside;
        if (!marker || !std::getline(marker, from)) continue;
        std::getline(marker, aside);
        return say("Восстановление данных из копии ") + hostText(from) + say(" было прервано. Прежние данные — в папке ") +
               hostText(aside) + say(". Чтобы закончить, выполните tarvo --restore ") + hostText(from) +
               say(" ещё раз; чтобы вернуть прежние, перенесите файлы из этой папки обратно и удалите ") +
               hostText(folder / kMarker);
    }
    return {};
}

}  // namespace backup
