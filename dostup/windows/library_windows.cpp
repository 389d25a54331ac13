// The library's windows when its host runs a Qt application: the login window and
// the Qt realisation of the library's message boxes and dialogs.
#include "access/login_employees.h"
#include "dostup/screen_host.h"
#include "dostup/windows/login_window.h"
#include "ui/kept_files_timer.h"
#include "ui/qt_user_services.h"

#include <QApplication>

namespace dostup {

bool windowsAvailable() { return qobject_cast<QApplication*>(QCoreApplication::instance()); }

void runLoginWindow(LoginEmployees& employees, std::uint16_t& operatorCode,
                    const std::string& iniFile) {
    if (!prepareWindows()) return;  // nobody can type a log-in: nobody logs in
    LoginWindow window(employees, operatorCode, iniFile, QApplication::activeWindow());
    window.run();
}

void installLibraryWindows() {
    static ui::QtUserServices services;
    if (!windowsAvailable()) return;
    platform::setUserServices(&services);
    // The console keeps its closed files a moment as the program does.
    ui::keepClosedFilesWhileRunning(*QCoreApplication::instance());
}

}  // namespace dostup
