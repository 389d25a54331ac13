// The staff console launcher: `dostup` starts the library's console for an
// operator who logs in, or `dostup /P=NAME` one of the library's screens after
// the log-in. A shell user typed the command line, so nobody may become an
// employee by typing "/S=": the launcher never passes it on and always asks for
// the log-in. (The exported C_DOS keeps "/S=" for the suite's programs, which
// vouch for their operator.)
#include "access/dostup.h"
#include "platform/command_options.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/paths.h"

#ifdef DOSTUP_LAUNCHER_WITH_WINDOWS
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#endif

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <cctype>
#include <string>

namespace {

// The command line without any "/S=" option and the characters up to the next blank.
std::string withoutIdentity(int argc, char** argv) {
    std::string command;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::string upper = argument;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (upper.find("/S=") != std::string::npos) continue;
        if (!command.empty()) command += ' ';
        command += argument;
    }
    return command;
}

bool namesProcedure(const std::string& command) {
    std::string upper = command;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper.find("/P=") != std::string::npos;
}

const platform::ProgramOptions kOptions{
    "dostup",
    "Использование: dostup [/P=ПРОЦЕДУРА]\n"
    "Консоль сотрудников и прав доступа. Без параметров после входа открывает\n"
    "консоль; /P=ИМЯ открывает после входа один экран библиотеки (MOL_T, OTDMOL_T,\n"
    "KATMOL_T, OBJECT_T, FILTER_T, HLIST_T). Параметр /S= не принимается: вход всегда\n"
    "по коду и паролю.\n"
    "\n"
    "  --help                   показать эту справку\n"
    "  --version                показать версию\n",
    {"--help", "--version"},
    {}};

// A new working folder has no data folder yet: make the one Dostup.INI names
// (".\Dat\" by default), as `tarvo --demo` does, rather than ending at the
// first file with "Folder not found".
void makeDataFolder() {
    DOSTUP_INITDLL();
    const std::string dataFolder(platform::clip(platform::readCString(g_BasePath)));
    if (dataFolder.empty() || platform::isServerAddress(dataFolder)) return;
    std::error_code ignored;
    std::filesystem::create_directories(platform::hostPath(dataFolder), ignored);
}

}  // namespace

int main(int argc, char** argv) {
    // --help, --version and an unknown option, before anything needs a display.
    if (auto code = platform::answerInformationOptions(argc, argv, kOptions)) return *code;
    makeDataFolder();
#ifdef DOSTUP_LAUNCHER_WITH_WINDOWS
    // The console is windows: without a display it says so instead of aborting.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("dostup: no display (DISPLAY is not set): the console needs one\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("dostup"));
    QTranslator qtTranslations;
    if (qtTranslations.load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslations);
#endif

    DOSTUP_INITDLL();  // again, now with the windows' message boxes
    const std::string command = withoutIdentity(argc, argv);
    if (namesProcedure(command)) {
        // A screen by name: the operator logs in first.
        g_SCode = REGISTR_S();
        if (g_SCode == 0) return 0;
    }
    C_DOS(command.c_str());
    return 0;
}
