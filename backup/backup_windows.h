// The File menu's "Резервная копия" and "Восстановить из копии..." of either
// program: a folder chosen, progress per file, the outcome in a message box.
// Each program names the files (its own and the other's, as the INI files name
// them now).
#pragma once

#include "backup/data_backup.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace backup {

using FileList = std::function<std::vector<DataFileName>()>;

void backupFromMenu(QWidget* parent, const FileList& files, const std::vector<std::string>& iniFiles);
// Refused with "Изменение запрещено" to an operator who may not change "Dostup".
void restoreFromMenu(QWidget* parent, const FileList& files);

}  // namespace backup
