// What the forms of a deliverable share: the INI file that keeps their placement
// and wallpaper keys (g:IniFileName) and the wallpaper defaults (the library's
// picture globals). Each deliverable installs a source once at start; the values
// are read afresh each time a form opens, since the globals may change meanwhile.
#pragma once

#include "framework/wallpaper.h"

#include <functional>
#include <string>

namespace framework::form {

struct FormEnvironment {
    std::string iniFile = ".\\TARVO.INI";
    WallpaperDefaults wallpaper;  // pictures off until a source says otherwise
};

using FormEnvironmentSource = std::function<FormEnvironment()>;

// nullptr (or an empty function) restores the default above.
void setFormEnvironment(FormEnvironmentSource source);
FormEnvironment formEnvironment();

}  // namespace framework::form
