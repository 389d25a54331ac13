// The services through which the engines talk to the operator: message boxes,
// popup menus, file dialogs, opening a document with its associated program and
// stopping the program with a text. Engines call them through this interface only,
// so that the same code runs under the Qt windows and under a scripted service in
// tests. All texts are code page 1251.
#pragma once

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// Buttons of a message box; the value is also the number that a box returns.
enum Button : int {
    kButtonOk = 1,
    kButtonYes = 2,
    kButtonNo = 4,
    kButtonRetry = 16,
    kButtonCancel = 64,
};

enum class Icon { None, Information, Exclamation, Question, Hand };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    Icon icon = Icon::None;
    int buttons = kButtonOk;        // an OR of Button values
    int defaultButton = kButtonOk;  // one Button value
};

struct FileDialogRequest {
    std::string caption;
    std::string filter;  // description|pattern pairs separated by '|'
    std::string startFolder;
};

class UserServices {
public:
    virtual ~UserServices() = default;
    // Shows the box and returns the pressed button (one Button value).
    virtual int message(const MessageBoxRequest& box) = 0;
    // Items separated by '|'; '~' greys an item, '-' is a separator line.
    // Returns the 1-based number of the chosen item among the real items, 0 for none.
    virtual int popupMenu(const std::string& items) = 0;
    virtual std::optional<std::string> fileDialog(const FileDialogRequest& request) = 0;
    // Opens a document with the program associated with it; the outcome is not examined.
    virtual void openDocument(const std::string& hostPath, const std::string& workingFolder) = 0;
    // Ends the program after showing `text`. Never returns.
    [[noreturn]] virtual void stopProgram(const std::string& text) = 0;
};

// The deliverable's current services (each deliverable has its own).
UserServices& userServices();
void setUserServices(UserServices* services);  // nullptr restores the console default

// Convenience for engines.
int messageBox(const std::string& text, const std::string& caption, Icon icon,
               int buttons = kButtonOk, int defaultButton = kButtonOk);

// Thrown by ScriptedUserServices::stopProgram so that a test observes the end of
// the program instead of losing its process.
struct ProgramStopped : std::runtime_error {
    explicit ProgramStopped(const std::string& text) : std::runtime_error(text) {}
};

// For tests: answers boxes and menus from queues and records everything shown.
// An empty answer queue answers a box with its default button and a menu with 0.
class ScriptedUserServices : public UserServices {
public:
    std::deque<int> answers;
    std::deque<int> menuAnswers;
    std::deque<std::optional<std::string>> fileAnswers;
    std::vector<MessageBoxRequest> shown;
    std::vector<std::string> menus;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<std::pair<std::string, std::string>> opened;  // path, working folder
    std::vector<std::string> stops;

    int message(const MessageBoxRequest& box) override;
    int popupMenu(const std::string& items) override;
    std::optional<std::string> fileDialog(const FileDialogRequest& request) override;
    void openDocument(const std::string& hostPath, const std::string& workingFolder) override;
    [[noreturn]] void stopProgram(const std::string& text) override;
};

// Installs a scripted service for the lifetime of the object (tests).
class ScopedScriptedServices {
public:
    ScopedScriptedServices() { setUserServices(&services_); }
    ~ScopedScriptedServices() { setUserServices(nullptr); }
    ScriptedUserServices* operator->() { return &services_; }
    ScriptedUserServices& operator*() { return services_; }

private:
    ScriptedUserServices services_;
};

}  // namespace platform
