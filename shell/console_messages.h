// The program's command-line modes run without windows: while one runs, every
// message goes to standard error, and the services of the caller are put back
// when it ends.
#pragma once

#include "platform/cp1251.h"
#include "platform/user_services.h"

#include <cstdio>
#include <string>

namespace shell {

class ConsoleMessages {
public:
    ConsoleMessages() : previous_(&platform::userServices()) { platform::setUserServices(nullptr); }
    ~ConsoleMessages() { platform::setUserServices(previous_); }
    ConsoleMessages(const ConsoleMessages&) = delete;
    ConsoleMessages& operator=(const ConsoleMessages&) = delete;

private:
    platform::UserServices* previous_;
};

// A command-line mode's refusal: the message (code page 1251) on standard error
// in the terminal's UTF-8; returns the exit code.
inline int refuseOnConsole(const std::string& cp1251, int exitCode = 2) {
    std::fprintf(stderr, "tarvo: %s\n", platform::cp1251ToUtf8(cp1251).c_str());
    return exitCode;
}

}  // namespace shell
