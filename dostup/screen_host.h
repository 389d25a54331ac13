// Where the library's screens run. In a host with a Qt application and an MDI
// frame (the program, the library's console) a list opens as a child of that
// frame, reached by its toolbar, and the call returns at once; a list opened for
// select (GlobalRequest 4) runs modally and the call returns its answer. In a
// host without a Qt application (a C program of the suite) the call creates what
// the windows need and runs the list until it is closed. A build without windows
// shows nothing: every screen ends as cancelled.
#pragma once

#include "framework/browse/browse_definition.h"
#include "framework/form/form_definition.h"

#include <cstdint>

namespace dostup {

// Creates what windows need in a host without a Qt application (the application
// object and the library's message boxes), so that a log-in can be typed. False
// when no window can open here (no display, nor a Qt platform named by
// QT_QPA_PLATFORM): the library says so once on standard error and every screen
// ends as cancelled instead of ending the host.
bool prepareWindows();
// For printing without windows (DOSTUP_PRINTPDF): an application that can render
// fonts, on the offscreen platform when there is no display.
void prepareRendering();

// Runs a list; returns GlobalResponse when the call waited for the list (1 when a
// record was selected and left in the file's buffer), else 2.
int runScreenList(const framework::browse::BrowseDefinition& list);

// A list's form procedure: reads GlobalRequest, leaves GlobalResponse.
int runScreenForm(const framework::form::FormDefinition& form);

// The console's log-in: REGISTR_S, or, while nobody can log in at all (a new
// installation), the creation of the first administrator, who is then logged in.
// Returns the operator's code, 0 when cancelled.
std::uint16_t consoleLogIn();

// The console frame " Сотрудники" for the logged-in operator, run until it is
// closed (a cancelled re-log-in closes it too).
void runConsole();

// The information screen: the organisation's logo and the operator's short name;
// a child of the host's frame, or run until closed in a host without one.
void runInfoScreen();

}  // namespace dostup
