#include "framework/wallpaper.h"

#include "platform/cp1251.h"
#include "platform/ini_file.h"

namespace framework {
namespace {

const std::string& defaultPicture(const WallpaperDefaults& defaults, WallpaperRole role) {
    switch (role) {
        case WallpaperRole::List: return defaults.tabl1;
        case WallpaperRole::ListTabl2: return defaults.tabl2;
        case WallpaperRole::Select: return defaults.tablSel;
        case WallpaperRole::Form: return defaults.form1;
        case WallpaperRole::FormForm2: return defaults.form2;
        case WallpaperRole::Delete: return defaults.formDel;
    }
    return defaults.tabl1;
}

}  // namespace

WallpaperRole listWallpaperRole(bool openedForSelect, bool secondDefault) {
    if (openedForSelect) return WallpaperRole::Select;
    return secondDefault ? WallpaperRole::ListTabl2 : WallpaperRole::List;
}

WallpaperRole formWallpaperRole(int request, bool secondDefault) {
    if (request == 4) return WallpaperRole::Select;
    if (request == 3) return WallpaperRole::Delete;
    return secondDefault ? WallpaperRole::FormForm2 : WallpaperRole::Form;
}

std::optional<std::string> chooseWallpaper(const WallpaperDefaults& defaults,
                                           std::string_view iniFile, std::string_view section,
                                           WallpaperRole role) {
    if (!defaults.patternOn) return std::nullopt;

    std::string picture;
    if (role != WallpaperRole::Delete) {
        picture = std::string(platform::clip(platform::readIni(section, kKeyWallPaper, "", iniFile)));
    }
    // An empty key means the default, like a missing one.
    if (picture.empty()) picture = std::string(platform::clip(defaultPicture(defaults, role)));
    if (picture.empty()) return std::nullopt;
    return picture;
}

}  // namespace framework
