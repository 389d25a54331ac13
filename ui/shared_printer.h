// The program's one printer: File → "Print Setup" chooses it and its paper, and
// every printed report goes to it (a report still sets its own page size).
#pragma once

#include <QPrinter>

namespace ui {

inline QPrinter& sharedPrinter() {
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

}  // namespace ui
