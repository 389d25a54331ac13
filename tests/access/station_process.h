// Another station for the library's tests: this test process forked, running a
// body with the library's files named into a data directory and nothing open yet,
// as a second workstation has its own connections.
#pragma once

#include "access/dostup.h"
#include "platform/fixed_text.h"
#include "platform/user_services.h"

#include <cstdlib>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace access_tests {

inline pid_t startStation(const std::string& dataDirectory, const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    platform::ScopedScriptedServices quiet;
    platform::writeCString(g_BasePath, dataDirectory);
    DOSTUP_INITDLL();
    std::_Exit(body());
}

// The station's exit code, or 128 plus the signal that ended it.
inline int finish(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline int runStation(const std::string& dataDirectory, const std::function<int()>& body) {
    return finish(startStation(dataDirectory, body));
}

}  // namespace access_tests
