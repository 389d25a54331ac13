#include "platform/user_services.h"

#include "platform/cp1251.h"

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// Without windows (console tools, the launcher before the UI starts) boxes go to
// standard error and take their default answer.
class ConsoleUserServices : public UserServices {
public:
    int message(const MessageBoxRequest& box) override {
        std::string text = cp1251ToUtf8(box.text);
        // A console has no OK to press: the program ends by itself, and a
        // missing folder gets the advice a console user needs.
        const std::string pressOk = "  Press OK to end this application.";
        if (const std::size_t at = text.find(pressOk); at != std::string::npos) text.erase(at, pressOk.size());
        if (text.find("unable to open database file") != std::string::npos ||
            text.find("readonly") != std::string::npos || text.find("read-only") != std::string::npos)
            text += "\nThe data folder or its files may be read-only (or not readable for this user):"
                    " working on the data needs a writable folder; printing the reference lists"
                    " (--print) reads a read-only copy.";
        if (text.find("Folder not found") != std::string::npos)
            text += "\nThe data folder is missing: run the program in its working folder (tarvo-run does),"
                    " or create the folder the INI files name (tarvo --demo creates it with sample data).";
        std::fprintf(stderr, "%s: %s\n", cp1251ToUtf8(box.caption).c_str(), text.c_str());
        return box.defaultButton;
    }
    int popupMenu(const std::string&) override { return 0; }
    std::optional<std::string> fileDialog(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void openDocument(const std::string& hostPath, const std::string& workingFolder) override {
        // The freedesktop way: xdg-open, detached, outcome not examined.
        const pid_t pid = fork();
        if (pid == 0) {
            if (setsid() < 0) _exit(127);
            if (fork() != 0) _exit(0);
            if (!workingFolder.empty() && chdir(workingFolder.c_str()) != 0) _exit(127);
            execlp("xdg-open", "xdg-open", hostPath.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid > 0) waitpid(pid, nullptr, 0);
    }
    [[noreturn]] void stopProgram(const std::string& text) override {
        std::fprintf(stderr, "%s\n", cp1251ToUtf8(text).c_str());
        std::exit(1);
    }
};

ConsoleUserServices& consoleServices() {
    static ConsoleUserServices services;
    return services;
}

UserServices* current = nullptr;

}  // namespace

UserServices& userServices() { return current ? *current : consoleServices(); }

void setUserServices(UserServices* services) { current = services; }

int messageBox(const std::string& text, const std::string& caption, Icon icon, int buttons,
               int defaultButton) {
    MessageBoxRequest box;
    box.text = text;
    box.caption = caption;
    box.icon = icon;
    box.buttons = buttons;
    box.defaultButton = defaultButton;
    return userServices().message(box);
}

int ScriptedUserServices::message(const MessageBoxRequest& box) {
    shown.push_back(box);
    if (answers.empty()) return box.defaultButton;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
}

int ScriptedUserServices::popupMenu(const std::string& items) {
    menus.push_back(items);
    if (menuAnswers.empty()) return 0;
    const int answer = menuAnswers.front();
    menuAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUserServices::fileDialog(const FileDialogRequest& request) {
    fileDialogs.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

void ScriptedUserServices::openDocument(const std::string& hostPath,
                                        const std::string& workingFolder) {
    opened.emplace_back(hostPath, workingFolder);
}

void ScriptedUserServices::stopProgram(const std::string& text) {
    stops.push_back(text);
    throw ProgramStopped(text);
}

}  // namespace platform
