#include "rates/rate_matching.h"

#include "platform/cp1251.h"

#include <map>

namespace rates {

namespace {

std::string say(std::string_view utf8) { return platform::ru(utf8); }

const BookCurrency* find(const std::vector<BookCurrency>& book, const std::string& key) {
    for (const BookCurrency& currency : book)
        if (currencyKey(currency.designation) == key) return &currency;
    return nullptr;
}

MatchedRate matched(const BookCurrency& currency, std::int32_t date, double nominal, double value,
                    double rate) {
    return {currency.designation, currency.name, date, nominal, value, rate, currency.bank};
}

}  // namespace

std::string currencyKey(std::string_view designation) {
    std::string_view text = platform::clip(designation);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    std::string key = platform::upper(text);
    if (key == "RUR" || key == platform::upper(platform::ru("Руб"))) key = "RUB";
    return key;
}

Matching matchDaily(const RateSheet& sheet, const std::vector<BookCurrency>& book,
                    std::string_view bookBase) {
    Matching result;
    const std::string base = currencyKey(bookBase);
    const std::string fileBase = currencyKey(sheet.base);
    std::map<std::string, const OfficialRate*> byCode;
    for (const OfficialRate& rate : sheet.rates) byCode[currencyKey(rate.code)] = &rate;

    // Rates in the file's base become rates in the book's base through the
    // book's base currency's own rate in the file.
    double divisor = 1;
    if (base != fileBase) {
        const auto own = byCode.find(base);
        if (own == byCode.end()) {
            result.error = say("В файле нет курса базовой валюты справочника (") +
                           std::string(platform::clip(bookBase)) +
                           say("): по нему нельзя пересчитать курсы. Базовая валюта задаётся в "
                               "TARVO.INI, раздел [Rates], ключ Base");
            return result;
        }
        divisor = own->second->perUnit();
    }
    for (const BookCurrency& currency : book) {
        const std::string key = currencyKey(currency.designation);
        if (key == base || key.empty()) continue;  // the base currency keeps its rate
        if (key == fileBase) {
            result.rates.push_back(matched(currency, sheet.date, 1, 1, 1 / divisor));
            continue;
        }
        const auto found = byCode.find(key);
        if (found == byCode.end()) continue;
        const OfficialRate& rate = *found->second;
        result.rates.push_back(
            matched(currency, sheet.date, rate.nominal, rate.value, rate.perUnit() / divisor));
    }
    for (const OfficialRate& rate : sheet.rates) {
        const std::string key = currencyKey(rate.code);
        if (key != base && !find(book, key)) result.skipped.push_back(rate.code);
    }
    if (result.rates.empty())
        result.error = say("В файле нет ни одной валюты справочника: ничего не записано");
    return result;
}

Matching matchPeriod(const RateSheet& sheet, const std::vector<BookCurrency>& book,
                     std::string_view bookBase, std::string_view designation) {
    Matching result;
    const std::string key = currencyKey(designation);
    const BookCurrency* currency = key.empty() ? nullptr : find(book, key);
    if (key.empty()) {
        result.error = say("Файл курсов за период: укажите валюту, чьи это курсы");
    } else if (!currency) {
        result.error = say("В справочнике нет валюты ") + std::string(designation);
    } else if (key == currencyKey(bookBase)) {
        result.error = say("Курс базовой валюты справочника не загружается");
    } else if (currencyKey(bookBase) != currencyKey(sheet.base)) {
        result.error = say("Курсы за период даны в ") + sheet.base +
                       say(", а базовая валюта справочника другая: пересчитать их не по чему");
    }
    if (!result.error.empty()) return result;
    for (const OfficialRate& rate : sheet.rates)
        result.rates.push_back(matched(*currency, rate.date, rate.nominal, rate.value, rate.perUnit()));
    return result;
}

}  // namespace rates
