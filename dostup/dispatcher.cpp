#include "dostup/dispatcher.h"

#include "access/dostup.h"
#include "dostup/screen_host.h"
#include "platform/cp1251.h"
#include "platform/user_services.h"

#include <cstring>

namespace dostup {

DispatchCommand parseCommand(std::string_view command) {
    const std::string text = platform::upper(command.substr(0, kCommandLength));
    DispatchCommand parsed;
    if (const std::size_t s = text.find("/S="); s != std::string::npos) {
        // The two characters after the option, read as a number from their digits.
        const std::string digits = text.substr(s + 3, 2);
        std::uint16_t code = 0;
        for (char c : digits) {
            if (c < '0' || c > '9') break;
            code = static_cast<std::uint16_t>(code * 10 + (c - '0'));
        }
        parsed.operatorCode = code;
    }
    if (const std::size_t p = text.find("/P="); p != std::string::npos) {
        std::string name = text.substr(p + 3, kProcedureNameLength);
        name.resize(kProcedureFieldLength, ' ');
        parsed.procedure = name;
    }
    return parsed;
}

Procedure procedureNamed(const std::string& field) {
    const std::string name(platform::clip(field));
    if (name.empty()) return Procedure::Console;
    if (name == "MOL_T") return Procedure::Employees;
    if (name == "OTDMOL_T") return Procedure::Departments;
    if (name == "KATMOL_T") return Procedure::Categories;
    if (name == "OBJECT_T") return Procedure::Objects;
    if (name == "INFO_SCR") return Procedure::InfoScreen;
    return Procedure::Unknown;
}

void dispatch(const DispatchCommand& command) {
    switch (procedureNamed(command.procedure)) {
        case Procedure::Console:
            g_SCode = consoleLogIn();
            if (g_SCode != 0) runConsole();
            return;
        case Procedure::Employees: MOL_T(); return;
        case Procedure::Departments: OTDMOL_T(); return;
        case Procedure::Categories: KATMOL_T(); return;
        case Procedure::Objects: OBJECT_T(); return;
        case Procedure::InfoScreen: runInfoScreen(); return;
        case Procedure::Unknown: break;
    }
    platform::messageBox(platform::ru("Нет процедуры: ") + command.procedure, platform::ru(" Ошибка C_Dos "),
                         platform::Icon::Information);
}

}  // namespace dostup

extern "C" DOSTUP_API void C_DOS(const char* command) {
    // A null command is an empty one; at most the kept length is looked at.
    const std::string text = command ? std::string(command, strnlen(command, dostup::kCommandLength)) : "";
    const dostup::DispatchCommand parsed = dostup::parseCommand(text);
    if (parsed.operatorCode) g_SCode = *parsed.operatorCode;
    DOSTUP_INITDLL();
    dostup::dispatch(parsed);
}
