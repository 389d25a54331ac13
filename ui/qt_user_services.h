// The user services realised with Qt windows: message boxes, popup menus, file
// dialogs, opening documents with their associated program, stopping the program.
#pragma once

#include "platform/user_services.h"

class QString;

namespace ui {

class QtUserServices : public platform::UserServices {
public:
    int message(const platform::MessageBoxRequest& box) override;
    int popupMenu(const std::string& items) override;
    std::optional<std::string> fileDialog(const platform::FileDialogRequest& request) override;
    void openDocument(const std::string& hostPath, const std::string& workingFolder) override;
    [[noreturn]] void stopProgram(const std::string& text) override;
};

// Code page 1251 text of the engines to the UI's Unicode and back.
QString toQt(const std::string& cp1251);
std::string fromQt(const QString& text);

}  // namespace ui
