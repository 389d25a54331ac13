// The one QApplication of a Qt test program, made on first use (offscreen).
#pragma once

#include <QApplication>

namespace testing_support {

inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "tests";
    static char* argv[] = {name, nullptr};
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance())) return *existing;
    static QApplication* instance = new QApplication(argc, argv);
    return *instance;
}

}  // namespace testing_support
