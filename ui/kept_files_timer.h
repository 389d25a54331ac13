// The programs keep a closed data file a moment for its next opening
// (storage/kept_files.h) and let it go from a timer of the event loop, which
// runs in modal dialogs too: a file is never kept much past the keeping time,
// so another station asking for it alone gets it within its busy wait.
#pragma once

class QCoreApplication;

namespace ui {

// Turns keeping on for the life of the event loop (once per application, the
// program and the library it hosts both ask); everything kept is closed when
// the application quits.
void keepClosedFilesWhileRunning(QCoreApplication& application);

}  // namespace ui
