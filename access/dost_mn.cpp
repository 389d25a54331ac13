// Initialisation of the library: where its INI file, data directory and help
// directory are, and what its data files are called.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/form_environment_globals.h"
#include "access/login_employees.h"
#include "access/rights.h"
#include "access/rights_journal.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/ini_file.h"

#include <string>

namespace {

constexpr std::size_t kMaxPathSetting = 100;  // "BasePath" is read as at most 100 characters

std::string dataDirectory() { return std::string(platform::clip(platform::readCString(g_BasePath))); }

// Names one access file: the global the hosts read, and the library's file object.
template <std::size_t N>
void nameFile(char (&global)[N], storage::DataFile& file, const std::string& diskName,
              bool zeroEnded = false) {
    const std::string name = dataDirectory() + diskName;
    if (zeroEnded)
        platform::writeCString(global, name);
    else
        platform::writeString(global, name);
    file.setName(name);
}

// The STRING(80) names start as the built-in defaults of their files, padded with
// blanks, before any call of the library.
struct BuiltInNames {
    BuiltInNames() {
        auto& files = dostup::accessFiles();
        platform::writeString(MOL_spr, files.mol.name());
        platform::writeString(KatMOL_spr, files.katMol.name());
        platform::writeString(MolLOG_spr, files.molLog.name());
        platform::writeString(OtdMOL_spr, files.otdMol.name());
        platform::writeString(Dostup_spr, files.dostup.name());
        platform::writeString(Object_spr, files.object.name());
        platform::writeString(Filter_spr, files.filter.name());
    }
} builtInNames;

}  // namespace

extern "C" DOSTUP_API void DOSTUP_INITDLL(void) {
    platform::writeCString(g_IniFileName, ".\\Dostup.INI");
    const std::string iniFile = platform::readCString(g_IniFileName);

    platform::writeCString(g_HelpPath, platform::readIni("Path", "HelpPath", "", iniFile));

    const std::string basePath =
        platform::readIni("Path", "BasePath", "", iniFile).substr(0, kMaxPathSetting);
    if (!platform::clip(basePath).empty()) platform::writeCString(g_BasePath, basePath);

    auto& files = dostup::accessFiles();
    nameFile(MOL_spr, files.mol, "MOL");
    files.mod.setName(files.mol.name());  // the MOD view is the same disk file
    nameFile(KatMOL_spr, files.katMol, "KatMOL");
    nameFile(MolLOG_spr, files.molLog, "MolLog");
    nameFile(OtdMOL_spr, files.otdMol, "OtdMOL");
    nameFile(Dostup_spr, files.dostup, "Dostup");
    nameFile(Object_spr, files.object, "Object");
    nameFile(Filter_spr, files.filter, "Filter");
    nameFile(HistList_spr, files.histList, "HistList", true);
    files.rightsLog.setName(dataDirectory() + "RightsLog");  // no global names these two
    files.molChange.setName(dataDirectory() + "MolChange");

    // The library's own screens hand records through the exported globals, ask
    // the rights check and open help pages like every screen of the suite.
    framework::setRequestGlobals({&GlobalRequest, &GlobalResponse, &VCRRequest});
    framework::setRightsCheck([](const std::string& designation) { return dostup::rightsMask(designation); });
    framework::setHelpOpener([](const std::string& topic) { dostup::openHelpTopic(topic); });
    // Its refusals are journaled and explained to those who may see the rights.
    framework::setRefusalNote(dostup::noteRefusal);
    // Its lists and forms take their pictures from its globals and keep their
    // placement and "WallPaper" keys in the library's own ".\Dostup.INI", also
    // inside a host that pointed g:IniFileName at its own file.
    framework::form::setFormEnvironment([] {
        framework::form::FormEnvironment environment = dostup::environmentFromGlobals();
        environment.iniFile = ".\\Dostup.INI";
        return environment;
    });
#ifdef DOSTUP_WITH_WINDOWS
    dostup::installLibraryWindows();
#endif
}
