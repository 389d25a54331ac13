// The National Bank of Belarus's daily rates in JSON: an array of objects with
// Cur_Abbreviation, Cur_Scale, Cur_Name, Cur_OfficialRate and Date
// ("YYYY-MM-DDT00:00:00"), or one such object.
#include "rates/sheet_sources.h"

#include "platform/cp1251.h"
#include "platform/dates.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace rates::detail {

namespace {

std::string cp(const QString& text) { return platform::utf8ToCp1251(text.toStdString()); }

// "YYYY-MM-DD", optionally followed by "T" and a time.
std::optional<std::int32_t> isoDate(const QString& text) {
    if (text.size() < 10 || (text.size() > 10 && text[10] != QLatin1Char('T'))) return std::nullopt;
    const std::string day = text.left(10).toStdString();
    if (day[4] != '-' || day[7] != '-') return std::nullopt;
    return dottedDate(day.substr(8, 2) + "." + day.substr(5, 2) + "." + day.substr(0, 4));
}

// A number of the object: a JSON number, or a text holding one with a point.
Amount field(const QJsonObject& object, const char* name, const std::string& subject) {
    const QJsonValue value = object.value(QLatin1String(name));
    if (value.isDouble()) return amount(value.toDouble(), subject);
    if (value.isString()) return amount(value.toString().toStdString(), '.', subject);
    if (value.isUndefined() || value.isNull()) return amount(std::string_view(), '.', subject);
    return {std::nullopt, subject + say(": не число")};
}

}  // namespace

SheetReading readNationalBankJson(std::string_view bytes) {
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return {std::nullopt, say("Файл курсов испорчен или обрезан (символ ") +
                                  std::to_string(parseError.offset) + "): " +
                                  cp(parseError.errorString())};
    QJsonArray items;
    if (document.isArray()) items = document.array();
    else items.append(document.object());

    RateSheet sheet;
    sheet.publisher = say("Национальный банк Беларуси");
    sheet.base = "BYN";
    int number = 0;
    for (const QJsonValue& item : items) {
        ++number;
        const std::string which = say("Курс №") + std::to_string(number);
        if (!item.isObject()) return {std::nullopt, which + say(": не объект JSON")};
        const QJsonObject object = item.toObject();
        if (!object.contains(QLatin1String("Cur_Abbreviation")) &&
            !object.contains(QLatin1String("Cur_OfficialRate")))
            return {std::nullopt, which + say(": нет полей Cur_Abbreviation и Cur_OfficialRate — "
                                              "это не курсы Национального банка")};
        OfficialRate rate;
        rate.code = cp(object.value(QLatin1String("Cur_Abbreviation")).toString().trimmed().left(10));
        if (rate.code.empty()) return {std::nullopt, which + say(" без кода (Cur_Abbreviation)")};
        const std::string subject = say("Валюта ") + rate.code;
        const QString dateText = object.value(QLatin1String("Date")).toString();
        const std::optional<std::int32_t> day = isoDate(dateText);
        if (!day)
            return {std::nullopt, dateText.isEmpty()
                                      ? subject + say(": нет даты (Date)")
                                      : subject + say(": «") + cp(dateText.left(40)) +
                                            say("» — не дата (Date)")};
        if (sheet.date != 0 && *day != sheet.date)
            return {std::nullopt, subject + say(": дата курса не та, что у других валют файла")};
        sheet.date = *day;
        const Amount scale = field(object, "Cur_Scale", subject + say(", номинал (Cur_Scale)"));
        if (!scale.value) return {std::nullopt, scale.error};
        const Amount value = field(object, "Cur_OfficialRate", subject + say(", курс (Cur_OfficialRate)"));
        if (!value.value) return {std::nullopt, value.error};
        rate.nominal = *scale.value;
        rate.value = *value.value;
        rate.name = cp(object.value(QLatin1String("Cur_Name")).toString().trimmed());
        sheet.rates.push_back(rate);
    }
    if (std::string last = lastChecks(sheet); !last.empty()) return {std::nullopt, last};
    return {std::move(sheet), {}};
}

}  // namespace rates::detail
