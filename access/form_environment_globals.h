// The settings that the lists and forms of a deliverable take from the library's
// shared globals: the INI file named by g:IniFileName (placement and "WallPaper"
// keys) and the picture globals (G:PatternFlag and the default pictures). The
// functions are inline so that each deliverable installs them into its own copy
// of the framework: the program reads the library's exported globals, the library
// its own. The globals are read afresh at every opening, as the host may change
// them at any time.
#pragma once

#include "access/dostup.h"
#include "framework/form/form_environment.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"

#include <string>

namespace dostup {

inline framework::form::FormEnvironment environmentFromGlobals() {
    auto picture = [](const char (&global)[81]) {
        return std::string(platform::clip(platform::readCString(global)));
    };
    framework::form::FormEnvironment environment;
    environment.iniFile = std::string(platform::clip(platform::readCString(g_IniFileName)));
    environment.wallpaper.patternOn = G_PatternFlag != 0;
    environment.wallpaper.tabl1 = picture(G_Tabl1);
    environment.wallpaper.tabl2 = picture(G_Tabl2);
    environment.wallpaper.tablSel = picture(G_TablSel);
    environment.wallpaper.form1 = picture(G_Form1);
    environment.wallpaper.form2 = picture(G_Form2);
    environment.wallpaper.formDel = picture(G_FormDel);
    return environment;
}

inline void installFormEnvironment() {
    framework::form::setFormEnvironment(environmentFromGlobals);
}

}  // namespace dostup
