// Tarvo, the reference-book program of the trade and warehouse accounting suite.
#include "shell/books.h"
#include "shell/demo_command.h"
#include "shell/main_frame.h"
#include "shell/print_command.h"
#include "shell/startup.h"
#include "ui/qt_user_services.h"
#include "ui/report_runner.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    // `tarvo --print NAME --pdf FILE` prints without opening any window.
    if (auto code = shell::runPrintCommand(argc, argv)) return *code;
    // `tarvo --demo` fills an empty data folder with sample data.
    if (auto code = shell::runDemoCommand(argc, argv)) return *code;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvo"));

    // Standard buttons and dialogs speak Russian to the operator.
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"),
                            QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);

    ui::QtUserServices services;
    platform::setUserServices(&services);

    shell::startUp();

    shell::MainFrame frame;
    ui::installReportRunner(&frame);
    shell::installBooks(frame);
    frame.show();
    const int result = QApplication::exec();
    platform::setUserServices(nullptr);
    return result;
}
