// A build without windows: nobody can use a screen, so each ends as cancelled
// without touching a file. The windows of a build with Qt are in windows/.
#include "dostup/screen_host.h"

#include "access/dostup.h"
#include "framework/shared_state.h"

#ifndef DOSTUP_WITH_WINDOWS

namespace dostup {

int runScreenList(const framework::browse::BrowseDefinition&) {
    framework::globalRequest() = framework::kRequestNone;
    framework::globalResponse() = framework::kResponseCancelled;
    return framework::kResponseCancelled;
}

int runScreenForm(const framework::form::FormDefinition&) {
    framework::globalRequest() = framework::kRequestNone;
    framework::globalResponse() = framework::kResponseCancelled;
    return framework::kResponseCancelled;
}

bool prepareWindows() { return false; }
void prepareRendering() {}
std::uint16_t consoleLogIn() { return REGISTR_S(); }
void runConsole() {}
void runInfoScreen() {}

}  // namespace dostup

#endif
