#include "ui/list_export_dialog.h"

#include "framework/browse/browse_engine.h"
#include "framework/spreadsheet/list_export.h"
#include "platform/cp1251.h"
#include "platform/ini_file.h"
#include "platform/user_services.h"
#include "ui/qt_user_services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QUrl>

namespace ui {

namespace {

using platform::ru;

constexpr const char* kIni = ".\\TARVO.INI";
constexpr const char* kSection = "Export";

QString text(const char* utf8) { return QString::fromUtf8(utf8); }

// The file the operator names; empty when they cancel. The extension follows
// the chosen type when the name has none of the two.
QString chooseFile(const framework::browse::BrowseDefinition& list, QWidget* parent) {
    const QString xlsx = text("Книга Excel (*.xlsx)");
    const QString csv = text("Текст CSV, разделитель «;» (*.csv)");
    QFileDialog dialog(parent, text("Выгрузить список в таблицу"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({xlsx, csv});
    const std::string folder = platform::readIni(kSection, "Folder", "", kIni);
    dialog.setDirectory(folder.empty() ? QDir::currentPath() : toQt(folder));
    QString name = toQt(std::string(platform::clip(list.title))).trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    dialog.selectFile((name.isEmpty() ? text("Список") : name) + QStringLiteral(".xlsx"));
    if (list.personalData) {
        auto* warning = new QLabel(
            text("Файл будет содержать персональные данные сотрудников в открытом виде (без паролей)."));
        warning->setWordWrap(true);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
            grid->addWidget(warning, grid->rowCount(), 0, 1, grid->columnCount());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().front();
    if (!framework::spreadsheet::formatOfPath(fromQt(path)))
        path += dialog.selectedNameFilter() == csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx");
    platform::writeIni(kSection, "Folder", fromQt(QFileInfo(path).absolutePath()), kIni);
    return path;
}

}  // namespace

void exportListToSpreadsheet(framework::browse::BrowseEngine& list, QWidget* parent) {
    const framework::browse::BrowseDefinition& definition = list.definition();
    if (const std::string refusal = framework::spreadsheet::exportRefusal(definition); !refusal.empty()) {
        platform::messageBox(refusal, definition.refusals.caption, platform::Icon::Information);
        return;
    }
    const QString path = chooseFile(definition, parent);
    if (path.isEmpty()) return;
    const std::string target = QFile::encodeName(path).toStdString();  // a host path

    QProgressDialog progress(text("Выгрузка списка в таблицу..."), text("Отменить"), 0, 0, parent);
    progress.setWindowTitle(text("Выгрузка"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(1000);  // short lists finish before it shows
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const framework::spreadsheet::ExportOutcome outcome = framework::spreadsheet::exportList(
        list, target, *framework::spreadsheet::formatOfPath(target), [&progress](long rows) {
            progress.setLabelText(text("Выгружено строк: ") + QString::number(rows));
            progress.setValue(0);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
    QApplication::restoreOverrideCursor();
    progress.reset();
    list.forceRefresh();  // the rows' look-ups passed through the other files' buffers
    if (outcome.cancelled) return;
    if (!outcome.error.empty()) {
        platform::messageBox(outcome.error, ru(" Ошибка"), platform::Icon::Exclamation);
        return;
    }
    const std::string question = ru("Выгружено строк: ") + std::to_string(outcome.rows) + ru(".\nОткрыть ") +
                                 fromQt(QFileInfo(path).fileName()) + "?";
    if (platform::messageBox(question, ru(" В таблицу"), platform::Icon::Question,
                             platform::kButtonYes | platform::kButtonNo, platform::kButtonYes) ==
        platform::kButtonYes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace ui
