// The employee file as the login window uses it: the library's MOL buffer and its
// use counter.
#pragma once

#include "access/login.h"

namespace dostup {

class MolLoginEmployees : public LoginEmployees {
public:
    void acquire() override;
    void release() override;
    bool fetch(std::uint16_t code) override;
    void clear() override;
    std::uint16_t code() const override;
    std::string surname() const override;
    std::string password() const override;
};

// Runs the login: the window when the library has windows and the host runs a
// Qt application; otherwise only a valid pre-filled pair can log in.
void runLogin();

#ifdef DOSTUP_WITH_WINDOWS
// Shows the login window; defined with the library's windows.
void runLoginWindow(LoginEmployees& employees, std::uint16_t& operatorCode,
                    const std::string& iniFile);
bool windowsAvailable();
// Lets the library's message boxes and dialogs appear as Qt windows.
void installLibraryWindows();
#endif

}  // namespace dostup
