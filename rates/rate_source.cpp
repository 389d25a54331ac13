#include "rates/rate_source.h"

#include "platform/cp1251.h"
#include "platform/dates.h"
#include "rates/rate_download.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace rates {

namespace {

std::string say(std::string_view utf8) { return platform::ru(utf8); }

SheetReading readFile(const std::string& path) {
    std::error_code error;
    const std::filesystem::path file(path);
    if (!std::filesystem::is_regular_file(file, error))
        return {std::nullopt, say("Нет файла курсов ") + platform::utf8ToCp1251(path)};
    const auto size = std::filesystem::file_size(file, error);
    if (error) return {std::nullopt, say("Файл курсов не прочитан: ") + platform::utf8ToCp1251(path)};
    if (size > kMaxSheetBytes) return {std::nullopt, say("Файл больше 1 МБ: это не файл курсов")};
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) return {std::nullopt, say("Файл курсов не прочитан: ") + platform::utf8ToCp1251(path)};
    return readSheet(bytes);
}

}  // namespace

SheetReading readSource(const std::string& source,
                        const std::function<bool(long long, long long)>& progress) {
    if (!isAddress(source)) return readFile(source);
    const Download fetched = download(source, downloadTimeoutMs(), progress);
    if (!fetched.error.empty()) return {std::nullopt, fetched.error};
    SheetReading reading = readSheet(fetched.bytes);
    if (!reading.sheet)
        reading.error = say("По адресу ") + source.substr(0, 200) + say(" не файл курсов: ") + reading.error;
    return reading;
}

std::string dateMismatch(const RateSheet& sheet, std::int32_t asked) {
    if (asked == 0) return {};
    if (sheet.kind == SheetKind::Period)
        return say("Файл курсов за период (") + dottedText(sheet.date) + " - " + dottedText(sheet.lastDate) +
               say("): дата для него не задаётся");
    if (sheet.date == asked) return {};
    return say("Курсы в файле на ") + dottedText(sheet.date) + say(", а не на ") + dottedText(asked) +
           say(": ничего не записано");
}

std::string dottedText(std::int32_t date) {
    const platform::CivilDate day = platform::civilDate(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", day.day, day.month, day.year);
    return text;
}

}  // namespace rates
