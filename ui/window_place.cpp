#include "ui/window_place.h"

#include "platform/ini_file.h"

#include <QString>
#include <QWidget>

#include <string>
#include <utility>

namespace ui {

namespace {

constexpr const char* kIni = ".\\TARVO.INI";

}  // namespace

void restoreWindowPlace(QWidget& window, const char* section) {
    const auto number = [section](const char* key) {
        return QString::fromStdString(platform::readIni(section, key, "", kIni)).toInt();
    };
    const int width = number("Width"), height = number("Height");
    if (width >= 200 && height >= 150) window.resize(width, height);
    if (!platform::readIni(section, "XPos", "", kIni).empty()) window.move(number("XPos"), number("YPos"));
}

void keepWindowPlace(const QWidget& window, const char* section) {
    for (const auto& [key, value] : {std::pair{"XPos", window.x()}, std::pair{"YPos", window.y()},
                                     std::pair{"Width", window.width()},
                                     std::pair{"Height", window.height()}})
        platform::writeIni(section, key, std::to_string(value), kIni);
}

}  // namespace ui
