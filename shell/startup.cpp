#include "shell/startup.h"

#include "access/dostup.h"
#include "access/form_environment_globals.h"
#include "framework/shared_state.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "platform/ini_file.h"
#include "rates/rate_loading.h"
#include "refbooks/ref_files.h"

#include <string>

namespace shell {

namespace {

constexpr std::size_t kMaxPathSetting = 100;  // "BasePATH" is read as at most 100 characters

}  // namespace

void initialisePaths() {
    platform::writeCString(g_IniFileName, ".\\TARVO.INI");

    const std::string basePath =
        platform::readIni("Path", "BasePATH", "", ".\\COMP.INI").substr(0, kMaxPathSetting);
    if (!platform::clip(basePath).empty()) platform::writeCString(g_BasePath, basePath);

    // The directory is used exactly as written, trailing blanks removed: a value
    // without a closing backslash runs into the file name.
    const std::string directory(platform::clip(platform::readCString(g_BasePath)));
    auto& files = refbooks::referenceFiles();
    files.firm.setName(directory + "Firm");
    files.typeOp.setName(directory + "TypeOp");
    files.kurs.setName(directory + "KursVal");
    files.valut.setName(directory + "Valut");
    files.store.setName(directory + "Store");
    files.price.setName(directory + "Price");
}

void startUp() {
    GlobalRequest = 0;
    GlobalResponse = 0;
    DOSTUP_INITDLL();
    initialisePaths();

    // The program's screens hand records through the library's globals, ask the
    // library's rights check and open help pages through it.
    framework::setRequestGlobals({&GlobalRequest, &GlobalResponse, &VCRRequest});
    framework::setRightsCheck(
        [](const std::string& designation) { return DOSTOBJ(designation.c_str(), nullptr); });
    framework::setHelpOpener([](const std::string& topic) { CALLHELP(topic.c_str()); });
    // Its refusals are journaled by the library, which explains them to an
    // operator who may see the rights.
    framework::setRefusalNote([](const std::string& designation, int bit) {
        const char* note = DOSTUP_REFUSAL(designation.c_str(), bit);
        return std::string(note ? note : "");
    });
    // The program's lists and forms keep their placement in the INI file the
    // library is pointed at and show the library's pictures.
    dostup::installFormEnvironment();
    // A rates load killed between the history and the currencies is completed
    // when the history is next opened.
    rates::installHeldRatesCompletion();
}

}  // namespace shell
