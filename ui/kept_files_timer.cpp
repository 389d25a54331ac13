#include "ui/kept_files_timer.h"

#include "storage/kept_files.h"

#include <QCoreApplication>
#include <QTimer>
#include <QVariant>

namespace ui {

void keepClosedFilesWhileRunning(QCoreApplication& application) {
    // Once per application: the program and the library it hosts both ask.
    constexpr const char* kKeeping = "tarvoKeepsClosedFiles";
    if (application.property(kKeeping).toBool()) return;
    application.setProperty(kKeeping, true);
    storage::keepClosedFiles(storage::kKeptByThePrograms);
    auto* timer = new QTimer(&application);
    timer->setInterval(static_cast<int>(storage::kKeptByThePrograms.count() / 2));
    QObject::connect(timer, &QTimer::timeout, [] { storage::closeIdleKeptFiles(); });
    QObject::connect(&application, &QCoreApplication::aboutToQuit,
                     [] { storage::keepClosedFiles(std::chrono::milliseconds(0)); });
    timer->start();
}

}  // namespace ui
