// The program's command-line modes run without windows: while one runs, every
// message goes to standard error, and the services of the caller are put back
// when it ends.
#pragma once

#include "platform/user_services.h"

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

}  // namespace shell
