#include "shell/demo_command.h"

#include "access/access_layouts.h"
#include "access/dostup.h"
#include "demo/data_presence.h"
#include "demo/refbooks/reference_writer.h"
#include "demo/sample_logins.h"
#include "platform/cp1251.h"
#include "platform/fixed_text.h"
#include "shell/console_messages.h"
#include "shell/startup.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace shell {

namespace {

void complain(const std::string& text) { std::fprintf(stderr, "tarvo: %s\n", text.c_str()); }

// The library's files under the names it gave them, as a program of the suite
// finds them: the exported name globals.
std::vector<demo::DataFileRef> libraryDataFiles() {
    const std::pair<const storage::RecordLayout*, std::string> named[] = {
        {&dostup::molLayout(), platform::readString(MOL_spr)},
        {&dostup::katMolLayout(), platform::readString(KatMOL_spr)},
        {&dostup::otdMolLayout(), platform::readString(OtdMOL_spr)},
        {&dostup::objectLayout(), platform::readString(Object_spr)},
        {&dostup::dostupLayout(), platform::readString(Dostup_spr)},
        {&dostup::molLogLayout(), platform::readString(MolLOG_spr)},
        {&dostup::filterLayout(), platform::readString(Filter_spr)},
        {&dostup::histListLayout(), platform::readCString(HistList_spr)},
    };
    std::vector<demo::DataFileRef> files;
    for (const auto& [layout, name] : named)
        files.push_back({layout, std::string(platform::clip(name)), dostup::ownerPasswordOf(*layout)});
    return files;
}

std::string utf8(std::string_view cp1251) { return platform::cp1251ToUtf8(cp1251); }

void announce() {
    std::printf("tarvo: образец данных записан в папку данных %s\n",
                utf8(platform::clip(platform::readCString(g_BasePath))).c_str());
    std::printf("Вход в программу (меню File, \"Регистрация\"), код и пароль:\n");
    for (const demo::SampleLogin& login : demo::sampleLogins())
        std::printf("  %3u  %-8s %s\n", login.employee, login.password,
                    utf8(platform::clip(GETMOL_NAME(login.employee))).c_str());
}

}  // namespace

std::vector<demo::DataFileRef> allDataFiles() {
    std::vector<demo::DataFileRef> files = demo::programDataFiles();
    for (demo::DataFileRef& file : libraryDataFiles()) files.push_back(std::move(file));
    return files;
}

std::optional<int> runDemoCommand(int argc, char** argv) {
    bool asked = false;
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--demo") asked = true;
    if (!asked) return std::nullopt;
    if (argc != 2) {
        complain("--demo не принимает других аргументов");
        return kDemoFailed;
    }

    const ConsoleMessages messages;
    startUp();
    std::vector<demo::DataFileRef> files = allDataFiles();

    const demo::Occupancy occupied = demo::occupancy(files);
    if (occupied.state == demo::Occupancy::State::HoldsData) {
        complain("Папка данных не пуста: " + occupied.where + "; образец данных не записан");
        return kDemoRefused;
    }
    if (occupied.state == demo::Occupancy::State::Unknown) {
        complain("Нельзя проверить папку данных: " + occupied.where + ": " + occupied.reason);
        return kDemoFailed;
    }
    std::vector<std::string> createdFolders;
    if (const std::string failed = demo::createFolders(files, &createdFolders); !failed.empty()) {
        complain("Нельзя создать папку данных " + failed);
        return kDemoFailed;
    }
    // A write that fails half-way (a full disk) leaves the folder as it found it,
    // so that the next --demo finds it empty again.
    const auto undo = [&files, &createdFolders](const std::string& what) {
        const std::vector<std::string> untouched = demo::removeWrittenData(files, createdFolders);
        std::string text = what + "; записанное удалено, папка данных осталась пустой";
        if (!untouched.empty())
            text = what + "; таблицы на сервере баз данных не удалены, удалите их вручную перед повтором";
        complain(text);
        return kDemoFailed;
    };

    // The library first: it refuses a folder that holds data, and the program's
    // files would be data in a folder the two share.
    switch (DOSTUP_SAMPLESTAFF()) {
        case 0: break;
        case 1:
            complain("Папка данных библиотеки не пуста; образец данных не записан");
            return kDemoRefused;
        default: return undo("Образец данных сотрудников не записан");
    }
    if (!demo::writeSampleReferenceBooks()) return undo("Образец данных справочников записан не полностью");
    // The staff documents print the first organisation's requisites.
    demo::writeSampleRequisites(platform::readCString(g_IniFileName));
    announce();
    return kDemoWritten;
}

}  // namespace shell
