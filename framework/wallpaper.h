// Wallpaper: the background picture of a list or form window. Pictures are on
// only while the shared pattern flag is set; a window then shows the picture named
// by key "WallPaper" of its own INI section, or the default picture of its kind
// when the key is missing or empty. The program never writes the key.
//
// The defaults are the library's shared picture globals; the caller copies them
// into WallpaperDefaults, so the same rules serve the program and the library.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace framework {

struct WallpaperDefaults {
    bool patternOn = false;   // G:PatternFlag non-zero
    std::string tabl1;        // G:Tabl1: lists
    std::string tabl2;        // G:Tabl2: the lists that name it (rates, rights)
    std::string tablSel;      // G:TablSel: lists and forms opened for select
    std::string form1;        // G:Form1: forms for insert and change
    std::string form2;        // G:Form2: the forms that name it (filters, history, change log)
    std::string formDel;      // G:FormDel: forms for delete
};

// Which default a window falls back to.
enum class WallpaperRole {
    List,        // G:Tabl1
    ListTabl2,   // G:Tabl2, for the lists whose screen asks for it
    Select,      // G:TablSel: a list or form opened for select
    Form,        // G:Form1: a form for insert or change
    FormForm2,   // G:Form2, for the forms whose screen asks for it
    Delete,      // G:FormDel, set directly: the section's key is not read
};

// The role of a list: select mode takes the select picture, otherwise the list's
// own default (G:Tabl2 when `secondDefault`).
WallpaperRole listWallpaperRole(bool openedForSelect, bool secondDefault = false);
// The role of a form by its request (1 insert, 2 change, 3 delete, 4 select).
WallpaperRole formWallpaperRole(int request, bool secondDefault = false);

// The picture to show (a system path such as ".\pic\Tabl1.bmp"), or nothing when
// pictures are off or no picture is named. `section` is the window's INI section.
std::optional<std::string> chooseWallpaper(const WallpaperDefaults& defaults,
                                           std::string_view iniFile, std::string_view section,
                                           WallpaperRole role);

// A delete form shown with its wallpaper has every control except the prompts
// disabled and OK enabled again; with pictures off its fields stay enabled.
inline bool deleteFormIsReadOnly(const WallpaperDefaults& defaults, int request) {
    return defaults.patternOn && request == 3;
}

inline constexpr std::string_view kKeyWallPaper = "WallPaper";

}  // namespace framework
