// The console's File menu backs up and restores the whole suite's data, as the
// program's does: the library's files under the names it was given, and the
// program's reference books in the data folder COMP.INI names.
#include "dostup/windows/console_backup.h"

#include "access/access_files.h"
#include "access/access_layouts.h"
#include "access/dostup.h"
#include "backup/backup_windows.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/ini_file.h"
#include "refbooks/ref_layouts.h"

namespace dostup {

namespace {

std::vector<backup::DataFileName> suiteDataFiles() {
    std::vector<backup::DataFileName> files;
    AccessFiles& access = accessFiles();
    for (storage::DataFile* file : {&access.mol, &access.katMol, &access.otdMol, &access.object, &access.dostup,
                                    &access.molLog, &access.filter, &access.histList})
        files.push_back({std::string(platform::clip(file->name())), ownerPasswordOf(file->layout())});
    // The program takes its folder from COMP.INI, else the suite's base path.
    std::string directory = platform::readIni("Path", "BasePATH", "", ".\\COMP.INI").substr(0, 100);
    if (platform::clip(directory).empty()) directory = platform::readCString(g_BasePath);
    directory = std::string(platform::clip(directory));
    for (const storage::RecordLayout* layout : refbooks::referenceLayouts())
        files.push_back({directory + layout->diskName(), {}});
    return files;
}

}  // namespace

void installConsoleBackup(ui::FrameSetup& setup) {
    setup.backup = [](QWidget* parent) {
        backup::backupFromMenu(parent, suiteDataFiles, {".\\COMP.INI", ".\\TARVO.INI", ".\\Dostup.INI"});
    };
    setup.restore = [](QWidget* parent) { backup::restoreFromMenu(parent, suiteDataFiles); };
}

}  // namespace dostup
