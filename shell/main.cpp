// Tarvo, the reference-book program of the trade and warehouse accounting suite.
#include "backup/data_restore.h"
#include "platform/command_options.h"
#include "platform/cp1251.h"
#include "shell/backup_command.h"
#include "shell/books.h"
#include "shell/copy_data_command.h"
#include "shell/demo_command.h"
#include "shell/export_command.h"
#include "shell/main_frame.h"
#include "shell/print_command.h"
#include "shell/rates_command.h"
#include "shell/startup.h"
#include "ui/kept_files_timer.h"
#include "ui/qt_user_services.h"
#include "ui/report_runner.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

const platform::ProgramOptions kOptions{
    "tarvo",
    "Использование: tarvo [ПАРАМЕТРЫ]\n"
    "Справочники торгово-складского учёта. Без параметров открывает главное окно;\n"
    "данные и INI-файлы берутся из текущей папки (tarvo-run запускает в своей).\n"
    "\n"
    "  --demo                   заполнить пустую папку данных образцом данных\n"
    "  --print ОТЧЁТ --pdf ФАЙЛ напечатать отчёт в PDF без окон\n"
    "                           (TypeOp, Store, Staff, StaffByDepartment, StaffStatement,\n"
    "                           TravelCertificate, PowerOfAttorney)\n"
    "  --employee КОД           сотрудник для TravelCertificate и PowerOfAttorney\n"
    "  --rates ИСТОЧНИК         загрузить официальные курсы валют из файла банка или\n"
    "                           по адресу http(s)://; --date ДД.ММ.ГГГГ — проверить дату\n"
    "                           файла, --currency ОБОЗН — валюта файла курсов за период\n"
    "  --export СПИСОК --xlsx ФАЙЛ (или --csv ФАЙЛ)\n"
    "                           выгрузить список в таблицу (Firm, Price, Valut, Kurs\n"
    "                           с --currency ОБОЗН, Store, TypeOp, MOL, OtdMOL, KatMOL,\n"
    "                           Object)\n"
    "  --backup ПАПКА           резервная копия всех данных в папку с датой внутри ПАПКИ\n"
    "  --restore ПАПКА_КОПИИ    вернуть данные из резервной копии (прежние — в сторону)\n"
    "  --copy-data КУДА         скопировать все данные в другую папку данных или на\n"
    "                           сервер PostgreSQL (postgresql://роль@сервер/база/схема/)\n"
    "  --help                   показать эту справку\n"
    "  --version                показать версию\n"
    "\n"
    "Коды выхода: 0 — готово, 1 — ошибка, 2 — нечего делать или неверные параметры.\n",
    {"--demo", "--help", "--version"},
    {"--print", "--pdf", "--employee", "--copy-data", "--rates", "--date", "--currency", "--export",
     "--xlsx", "--csv", "--backup", "--restore"}};

}  // namespace

int main(int argc, char* argv[]) {
    // --help, --version and an unknown option, before anything needs a display.
    if (auto code = platform::answerInformationOptions(argc, argv, kOptions)) return *code;
    // `tarvo --print NAME --pdf FILE` prints without opening any window.
    if (auto code = shell::runPrintCommand(argc, argv)) return *code;
    // `tarvo --demo` fills an empty data folder with sample data.
    if (auto code = shell::runDemoCommand(argc, argv)) return *code;
    // `tarvo --rates SOURCE` loads the bank's rates of the day.
    if (auto code = shell::runRatesCommand(argc, argv)) return *code;
    // `tarvo --export NAME --xlsx FILE` takes a list into a spreadsheet.
    if (auto code = shell::runExportCommand(argc, argv)) return *code;
    // `tarvo --backup DIR` and `tarvo --restore FOLDER`.
    if (auto code = shell::runBackupCommand(argc, argv)) return *code;
    // `tarvo --copy-data TARGET` copies the data to another data directory.
    if (auto code = shell::runCopyDataCommand(argc, argv)) return *code;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));
    ui::keepClosedFilesWhileRunning(app);

    // Standard buttons and dialogs speak Russian to the operator.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    ui::QtUserServices services;
    platform::setUserServices(&services);

    shell::startUp();
    // A restore cut short says how to finish it or to go back.
    if (const std::string interrupted = backup::interruptedRestore(shell::backedUpFiles()); !interrupted.empty())
        platform::messageBox(interrupted, platform::ru(" Восстановление"), platform::Icon::Exclamation);

    shell::MainFrame frame;
    ui::installReportRunner(&frame);
    shell::installBooks(frame);
    frame.show();
    const int result = QApplication::exec();
    platform::setUserServices(nullptr);
    return result;
}
