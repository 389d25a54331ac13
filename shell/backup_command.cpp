#include "shell/backup_command.h"

#include "backup/data_restore.h"
#include "platform/command_options.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "shell/console_messages.h"
#include "shell/demo_command.h"
#include "shell/startup.h"

#include <cstdio>

namespace shell {

namespace {


}  // namespace

std::vector<backup::DataFileName> backedUpFiles() {
    std::vector<backup::DataFileName> files;
    for (const demo::DataFileRef& ref : allDataFiles()) files.push_back({ref.name, ref.ownerPassword});
    return files;
}

std::vector<std::string> backedUpIniFiles() { return {".\\COMP.INI", ".\\TARVO.INI", ".\\Dostup.INI"}; }

std::optional<int> runBackupCommand(int argc, char** argv) {
    std::optional<std::string> backupTo, restoreFrom;
    for (int i = 1; i < argc; ++i) {
        if (auto dir = platform::optionValue(argc, argv, i, "--backup")) backupTo = *dir;
        else if (auto from = platform::optionValue(argc, argv, i, "--restore")) restoreFrom = *from;
    }
    if (!backupTo && !restoreFrom) return std::nullopt;
    using platform::ru;
    if (backupTo && restoreFrom) return refuseOnConsole(ru("--backup и --restore нельзя задать вместе"));
    if ((backupTo && backupTo->empty()) || (restoreFrom && restoreFrom->empty()))
        return refuseOnConsole(ru("укажите папку: --backup ПАПКА или --restore ПАПКА_КОПИИ"));

    const ConsoleMessages messages;
    startUp();
    const std::vector<backup::DataFileName> files = backedUpFiles();
    if (backupTo) {
        const backup::BackupOutcome outcome = backup::takeBackup(files, backedUpIniFiles(), *backupTo,
                                                                 platform::today(), platform::clock());
        if (!outcome.error.empty()) return refuseOnConsole(outcome.error + ru(". Данные не тронуты"));
        for (const backup::ManifestEntry& entry : outcome.entries)
            if (entry.records >= 0)
                std::printf("%s: %ld\n", platform::cp1251ToUtf8(entry.original).c_str(), entry.records);
        std::printf("%s %s\n", platform::cp1251ToUtf8(ru("Резервная копия проверена и записана:")).c_str(),
                    outcome.folder.c_str());
        return 0;
    }
    const backup::RestoreOutcome outcome =
        backup::restoreBackup(*restoreFrom, files, platform::today(), platform::clock());
    if (!outcome.error.empty()) return refuseOnConsole(outcome.error);
    std::printf("%s %d\n", platform::cp1251ToUtf8(ru("Восстановлено файлов:")).c_str(), outcome.files);
    for (const std::string& aside : outcome.asideFolders)
        std::printf("%s %s\n", platform::cp1251ToUtf8(ru("Прежние данные сохранены в")).c_str(), aside.c_str());
    return 0;
}

}  // namespace shell
