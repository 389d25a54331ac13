#include "shell/export_command.h"

#include "access/dostup.h"
#include "framework/file_access.h"
#include "framework/spreadsheet/list_export.h"
#include "platform/command_options.h"
#include "platform/cp1251.h"
#include "refbooks/c_firm.h"
#include "refbooks/c_kurs.h"
#include "refbooks/c_price.h"
#include "refbooks/c_store.h"
#include "refbooks/c_typeop.h"
#include "refbooks/c_valut.h"
#include "refbooks/ref_files.h"
#include "shell/console_messages.h"
#include "shell/startup.h"
#include "storage/data_file.h"

#include <cstdio>
#include <filesystem>
#include <strings.h>

namespace shell {

namespace {

constexpr int kWritten = 0;
constexpr int kNotWritten = 2;

struct ExportRequest {
    std::string list;
    std::string path;
    std::optional<framework::spreadsheet::TableFormat> format;
    int targets = 0;  // --xlsx and --csv given
    std::string currency;
};

std::optional<ExportRequest> parse(int argc, char** argv) {
    ExportRequest request;
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        if (auto list = platform::optionValue(argc, argv, i, "--export")) {
            asked = true;
            request.list = *list;
        } else if (auto xlsx = platform::optionValue(argc, argv, i, "--xlsx")) {
            request.path = *xlsx;
            request.format = framework::spreadsheet::TableFormat::Xlsx;
            ++request.targets;
        } else if (auto csv = platform::optionValue(argc, argv, i, "--csv")) {
            request.path = *csv;
            request.format = framework::spreadsheet::TableFormat::Csv;
            ++request.targets;
        } else if (auto currency = platform::optionValue(argc, argv, i, "--currency")) {
            request.currency = *currency;
        }
    }
    if (!asked) return std::nullopt;
    return request;
}


bool named(const std::string& name, const char* known) { return strcasecmp(name.c_str(), known) == 0; }

std::optional<framework::browse::BrowseDefinition> programList(const std::string& name) {
    if (named(name, "Firm")) return refbooks::firmList({});
    if (named(name, "Price")) return refbooks::priceList({});
    if (named(name, "Valut")) return refbooks::valutList({}, {});
    if (named(name, "Kurs")) return refbooks::kursList({});
    if (named(name, "Store")) return refbooks::storeList({});
    if (named(name, "TypeOp")) return refbooks::typeOpList({});
    return std::nullopt;
}

// The rate history lists the currency in the Valut buffer: it is read there first,
// with the file in use for as long as the history list runs.
bool pickCurrency(const std::string& designation, std::optional<framework::FileUse>& use) {
    storage::DataFile& valut = refbooks::referenceFiles().valut;
    use.emplace(valut);
    valut.record().clear();
    valut.record().setText("VAL:OBOZN", designation);
    return valut.get(*valut.layout().key("OBOZN_KEY")) == storage::error::kNone;
}

}  // namespace

std::optional<int> runExportCommand(int argc, char** argv) {
    using platform::ru;
    const std::optional<ExportRequest> request = parse(argc, argv);
    if (!request) return std::nullopt;
    const char* names = "Firm, Price, Valut, Kurs, Store, TypeOp, MOL, OtdMOL, KatMOL, Object";
    if (request->list.empty()) return refuseOnConsole(ru("--export: укажите список: ") + names);
    if (request->targets != 1 || request->path.empty())
        return refuseOnConsole(ru("--export: укажите один файл: --xlsx ФАЙЛ или --csv ФАЙЛ"));
    if (framework::spreadsheet::formatOfPath(request->path) != request->format)
        return refuseOnConsole(ru("--export: имя файла должно оканчиваться на ") +
                      (request->format == framework::spreadsheet::TableFormat::Xlsx ? ".xlsx" : ".csv"));
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::absolute(request->path, error).parent_path();
    if (!std::filesystem::is_directory(folder, error))
        return refuseOnConsole(ru("--export: нет папки ") + platform::utf8ToCp1251(folder.string()));

    const bool program = programList(request->list).has_value();
    const bool library = !program && (named(request->list, "MOL") || named(request->list, "OtdMOL") ||
                                   named(request->list, "KatMOL") || named(request->list, "Object"));
    if (!program && !library)
        return refuseOnConsole(ru("--export: нет списка «") + platform::utf8ToCp1251(request->list.substr(0, 40)) +
                      ru("»; списки: ") + names);
    const bool history = named(request->list, "Kurs");
    if (history && request->currency.empty())
        return refuseOnConsole(ru("--export Kurs: укажите валюту: --currency ОБОЗНАЧЕНИЕ"));
    if (!history && !request->currency.empty())
        return refuseOnConsole(ru("--currency задаётся только для списка Kurs"));

    const ConsoleMessages messages;
    startUp();
    long rows = 0;
    if (library) {
        const std::int32_t written = DOSTUP_EXPORTLIST(request->list.c_str(), request->path.c_str());
        if (written < 0) return refuseOnConsole(ru("список не выгружен"));
        rows = written;
    } else {
        std::optional<framework::FileUse> currency;
        if (history && !pickCurrency(platform::utf8ToCp1251(request->currency), currency))
            return refuseOnConsole(ru("В справочнике нет валюты ") + platform::utf8ToCp1251(request->currency));
        // Made now: the rate history takes its currency from the Valut buffer.
        const framework::spreadsheet::ExportOutcome outcome = framework::spreadsheet::exportWithoutWindow(
            *programList(request->list), request->path, *request->format);
        if (!outcome.error.empty()) return refuseOnConsole(outcome.error);
        rows = outcome.rows;
    }
    std::printf("%s\n", platform::cp1251ToUtf8(ru("Выгружено строк: ") + std::to_string(rows)).c_str());
    return kWritten;
}

}  // namespace shell
