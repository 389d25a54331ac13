#include "shell/rates_command.h"

#include "platform/command_options.h"
#include "platform/cp1251.h"
#include "rates/rate_loading.h"
#include "rates/rate_source.h"
#include "shell/console_messages.h"
#include "shell/startup.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>
#include <string>

namespace shell {

namespace {

constexpr int kWritten = 0;
constexpr int kNotWritten = 2;

struct RatesRequest {
    std::string source;
    std::optional<std::string> date;
    std::string currency;
};

std::optional<RatesRequest> parse(int argc, char** argv) {
    RatesRequest request;
    bool asked = false;
    for (int i = 1; i < argc; ++i) {
        if (auto source = platform::optionValue(argc, argv, i, "--rates")) {
            asked = true;
            request.source = *source;
        } else if (auto date = platform::optionValue(argc, argv, i, "--date")) {
            request.date = *date;
        } else if (auto currency = platform::optionValue(argc, argv, i, "--currency")) {
            request.currency = *currency;
        }
    }
    if (!asked) return std::nullopt;
    return request;
}


std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

std::unique_ptr<QCoreApplication> application() {
    if (QCoreApplication::instance()) return nullptr;
    static int argc = 1;
    static char name[] = "tarvo";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

std::optional<int> runRatesCommand(int argc, char** argv) {
    using platform::ru;
    const std::optional<RatesRequest> request = parse(argc, argv);
    if (!request) return std::nullopt;
    if (request->source.empty()) return refuseOnConsole(ru("--rates: укажите файл курсов или адрес http(s)://"));
    std::int32_t asked = 0;
    if (request->date) {
        const std::optional<std::int32_t> day = rates::dottedDate(*request->date);
        if (!day) return refuseOnConsole(ru("--date: «") + request->date->substr(0, 40) + ru("» — не дата ДД.ММ.ГГГГ"));
        asked = *day;
    }

    const std::unique_ptr<QCoreApplication> app = application();
    const ConsoleMessages messages;
    startUp();
    if (const std::string refusal = rates::loadRefusal(); !refusal.empty()) return refuseOnConsole(refusal);

    const rates::SheetReading reading = rates::readSource(request->source);
    if (!reading.sheet) return refuseOnConsole(reading.error);
    if (const std::string wrongDay = rates::dateMismatch(*reading.sheet, asked); !wrongDay.empty())
        return refuseOnConsole(wrongDay);
    if (reading.sheet->kind == rates::SheetKind::Daily && !request->currency.empty())
        return refuseOnConsole(ru("--currency задаётся только для файла курсов за период"));
    const rates::LoadPreview preview =
        rates::previewLoad(*reading.sheet, platform::utf8ToCp1251(request->currency));
    const rates::LoadOutcome outcome = rates::applyLoad(preview);
    if (!outcome.error.empty()) return refuseOnConsole(outcome.error);

    for (const rates::WrittenRate& rate : outcome.written) {
        std::string line = rate.designation + " " + rates::dottedText(rate.date) + " " +
                           number(rate.bank) + ru(" опт. ") + number(rate.wholesale) + ru(" розн. ") +
                           number(rate.retail);
        if (!rate.current) line += ru(" (только история)");
        std::printf("%s\n", platform::cp1251ToUtf8(line).c_str());
    }
    for (const std::string& code : preview.matching.skipped)
        std::printf("%s %s\n", platform::cp1251ToUtf8(code).c_str(),
                    platform::cp1251ToUtf8(ru("пропущена: нет в справочнике")).c_str());
    return kWritten;
}

}  // namespace shell
