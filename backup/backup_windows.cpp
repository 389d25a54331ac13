#include "backup/backup_windows.h"

#include "backup/data_restore.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/dates.h"
#include "platform/ini_file.h"
#include "platform/user_services.h"
#include "ui/qt_user_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QFile>
#include <QProgressDialog>

namespace backup {

namespace {

using platform::ru;

constexpr const char* kIni = ".\\TARVO.INI";

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

void backupFromMenu(QWidget* parent, const FileList& list, const std::vector<std::string>& iniFiles) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, text("Папка для резервной копии"),
        ui::toQt(platform::readIni("Backup", "Folder", "", kIni)));
    if (folder.isEmpty()) return;
    platform::writeIni("Backup", "Folder", ui::fromQt(folder), kIni);
    const std::vector<backup::DataFileName> files = list();
    QProgressDialog progress(text("Резервная копия..."), text("Отменить"), 0, static_cast<int>(files.size()), parent);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    int done = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const backup::BackupOutcome outcome = backup::takeBackup(
        files, iniFiles, QFile::encodeName(folder).toStdString(), platform::today(), platform::clock(),
        [&](const std::string& file) {
            progress.setLabelText(text("Копируется ") + ui::toQt(file));
            progress.setValue(done++);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    QApplication::restoreOverrideCursor();
    progress.reset();
    if (!outcome.error.empty()) {
        platform::messageBox(outcome.error + ru(". Данные не тронуты"), ru(" Резервная копия"),
                             platform::Icon::Exclamation);
        return;
    }
    long records = 0;
    int data = 0;
    for (const backup::ManifestEntry& entry : outcome.entries)
        if (entry.records >= 0) records += entry.records, ++data;
    platform::messageBox(ru("Копия проверена и записана в ") + platform::utf8ToCp1251(outcome.folder) +
                             ru("\nФайлов данных: ") + std::to_string(data) + ru(", записей: ") +
                             std::to_string(records),
                         ru(" Резервная копия"), platform::Icon::Information);
}

void restoreFromMenu(QWidget* parent, const FileList& list) {
    // Restoring replaces everybody's data: the administrator's right on "Dostup".
    if (framework::rightsOf("Dostup") & 4) {
        platform::messageBox(ru("Изменение запрещено"), ru(" Извините"), platform::Icon::Information);
        return;
    }
    const QString folder = QFileDialog::getExistingDirectory(
        parent, text("Папка резервной копии (с файлом manifest.txt)"),
        ui::toQt(platform::readIni("Backup", "Folder", "", kIni)));
    if (folder.isEmpty()) return;
    if (platform::messageBox(ru("Заменить все данные копией из ") + ui::fromQt(folder) +
                                 ru("?\nТекущие данные будут перенесены в папку before-restore рядом с ними."),
                             ru(" Восстановление"), platform::Icon::Question,
                             platform::kButtonYes | platform::kButtonNo, platform::kButtonNo) != platform::kButtonYes)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const backup::RestoreOutcome outcome = backup::restoreBackup(QFile::encodeName(folder).toStdString(),
                                                                 list(), platform::today(), platform::clock());
    QApplication::restoreOverrideCursor();
    if (!outcome.error.empty()) {
        platform::messageBox(outcome.error, ru(" Восстановление"), platform::Icon::Exclamation);
        return;
    }
    std::string aside;
    for (const std::string& folderAside : outcome.asideFolders) aside += "\n" + platform::utf8ToCp1251(folderAside);
    platform::messageBox(ru("Восстановлено файлов: ") + std::to_string(outcome.files) +
                             ru(". Прежние данные сохранены в:") + aside,
                         ru(" Восстановление"), platform::Icon::Information);
}

}  // namespace backup
