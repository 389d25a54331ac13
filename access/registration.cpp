// REGISTRATION and REGISTR_S: the operator's log-in.
#include "access/access_files.h"
#include "access/dostup.h"
#include "access/login_employees.h"
#include "framework/file_access.h"
#include "platform/fixed_text.h"

namespace dostup {

namespace {

storage::DataFile& mol() { return accessFiles().mol; }
const storage::Record& buffer() { return mol().record(); }
std::size_t field(const char* name) {
    return mol().layout().indexOf(name);
}

// Without windows nobody can type: the window opens, confirms a valid pre-filled
// pair on its own, and otherwise closes as by its close box.
class NoWindow : public LoginView {
public:
    void showCode(std::int16_t) override {}
    void showPassword(const std::string&) override {}
    void showMessage(const std::string&) override {}
    void beep() override {}
    void focusCode() override {}
    void closeWindow() override {}
};

}  // namespace

void MolLoginEmployees::acquire() { framework::useFile(mol()); }
void MolLoginEmployees::release() { framework::releaseFile(mol()); }

bool MolLoginEmployees::fetch(std::uint16_t code) {
    mol().record().setInt(field("MOL:SCODE"), code);
    if (mol().get(*mol().layout().key("SCODE_KEY")) == storage::error::kNone) return true;
    mol().record().clear();
    return false;
}

void MolLoginEmployees::clear() { mol().record().clear(); }
std::uint16_t MolLoginEmployees::code() const {
    return static_cast<std::uint16_t>(buffer().getInt(field("MOL:SCODE")));
}
std::string MolLoginEmployees::surname() const { return buffer().getText(field("MOL:LNAME")); }
std::string MolLoginEmployees::password() const { return buffer().getText(field("MOL:PASSWORD")); }

void runLogin() {
    MolLoginEmployees employees;
    const std::string iniFile = platform::readCString(g_IniFileName);
#ifdef DOSTUP_WITH_WINDOWS
    if (windowsAvailable()) {
        runLoginWindow(employees, g_SCode, iniFile);
        return;
    }
#endif
    NoWindow view;
    Login login(employees, view, g_SCode, iniFile);
    if (!login.open()) login.closeBox();
}

}  // namespace dostup

extern "C" {

DOSTUP_API void REGISTRATION(void) { dostup::runLogin(); }

DOSTUP_API uint16_t REGISTR_S(void) {
    g_SCode = 0;
    REGISTRATION();
    return g_SCode;
}

}  // extern "C"
