#include "staff/d_rights_log.h"

#include "access/access_files.h"
#include "access/rights_journal.h"
#include "framework/browse/browse_engine.h"
#include "platform/cp1251.h"
#include "platform/picture.h"
#include "platform/user_services.h"
#include "storage/data_file.h"

#include <memory>

namespace staff {

namespace {

using platform::ru;
using Side = framework::browse::CellAlignment::Side;
using Control = framework::browse::ListControl;
using framework::browse::BrowseEngine;

const platform::Picture& datePicture() {
    static const platform::Picture picture("@d6.");
    return picture;
}

// A typed date: its day number, 0 for an empty or unreadable text (an open end).
std::int32_t dayOf(const std::string& text) {
    if (platform::clip(text).empty()) return 0;
    return platform::parseDate(datePicture(), text).value_or(0);
}

std::string dateText(std::int32_t day) { return day ? platform::format(datePicture(), std::int64_t{day}) : ""; }

// A typed code: nothing for an empty text or one that is not a number.
std::optional<long> codeOf(const std::string& text) {
    const std::string clipped(platform::clip(text));
    if (clipped.empty()) return std::nullopt;
    try {
        std::size_t used = 0;
        const long code = std::stol(clipped, &used);
        if (used == clipped.size() && code >= 0 && code <= 65535) return code;
    } catch (...) {
    }
    return std::nullopt;
}

template <typename T>
std::string optionalText(const std::optional<T>& value) {
    return value ? std::to_string(*value) : std::string();
}

}  // namespace

bool RightsLogFilter::accepts(const storage::Record& entry) const {
    const std::int64_t day = entry.getInt("RLG:DATE");
    if (from && day < from) return false;
    if (to && day > to) return false;
    if (category && entry.getInt("RLG:KATEGCODE") != *category) return false;
    if (operatorCode && entry.getInt("RLG:OPERATOR") != *operatorCode) return false;
    if (!object.empty() &&
        platform::upper(std::string(platform::clip(entry.getText("RLG:OBOZN")))) != platform::upper(object))
        return false;
    return true;
}

framework::browse::BrowseDefinition rightsLogList(std::function<void(const RightsLogFilter&)> print) {
    namespace rl = rights_log_list;
    auto filter = std::make_shared<RightsLogFilter>();
    framework::browse::BrowseDefinition list{dostup::accessFiles().rightsLog};
    list.sorts = {{"RLG:DATE_KEY", "", ""}};
    list.columns = {
        {"RLG:DATE", ru("Дата"), 46, "d6.", {Side::Centre, 0}, {Side::Centre, 0}},
        {"RLG:TIME", ru("Время"), 32, "t4", {Side::Centre, 0}, {Side::Centre, 0}},
        {"RLG:OPERATOR", ru("Оператор"), 38, "n3", {Side::Right, 1}, {Side::Left, 1}},
        {"RLG:KATEG", ru("Категория"), 70, "s20", {Side::Left, 2}, {Side::Left, 2}},
        {"RLG:OBOZN", ru("Объект"), 70, "s20", {Side::Left, 2}, {Side::Left, 2}},
        {"RLG:ACTION", ru("Действие"), 60, "s40", {Side::Left, 2}, {Side::Left, 2}},
        {"RLG:OLDVALUE", ru("Было"), 90, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"RLG:NEWVALUE", ru("Стало"), 90, "s80", {Side::Left, 2}, {Side::Left, 2}},
        {"RLG:COUNT", ru("Раз"), 20, "n5b", {Side::Right, 1}, {Side::Left, 1}},
    };
    list.title = ru("Журнал изменений прав");
    list.accessObject = "Dostup";
    list.reaskRights = false;
    list.buttons = {false, false, false, false};
    list.popup = framework::browse::PopupMenuTexts::none();
    list.labels.close = {ru("Выход"), ru("Закрыть окно")};
    list.iniSection = "RightsLog_t";
    list.helpTopic = "Sprav\\RightsLog.htm";
    list.rowAccepted = [filter](const storage::Record& entry) { return filter->accepts(entry); };

    const auto entry = [filter](const char* prompt, const char* tip, int characters,
                                std::function<std::string()> get,
                                std::function<void(const std::string&)> set) {
        return Control{Control::Kind::Entry, {ru(prompt), ru(tip)}, characters, 0, std::move(get),
                       [set = std::move(set)](BrowseEngine& engine, const std::string& text) {
                           set(text);
                           engine.forceRefresh();
                       }};
    };
    list.controls.resize(5);
    list.controls[rl::kFrom] = entry("С:", "Первый день периода (дд.мм.гггг)", 10,
                                     [filter] { return dateText(filter->from); },
                                     [filter](const std::string& text) { filter->from = dayOf(text); });
    list.controls[rl::kTo] = entry("По:", "Последний день периода (дд.мм.гггг)", 10,
                                   [filter] { return dateText(filter->to); },
                                   [filter](const std::string& text) { filter->to = dayOf(text); });
    list.controls[rl::kCategory] = entry(
        "Категория:", "Код категории; пусто - все", 3, [filter] { return optionalText(filter->category); },
        [filter](const std::string& text) {
            const std::optional<long> code = codeOf(text);
            filter->category = code && *code <= 32767 ? std::optional<std::int16_t>(static_cast<std::int16_t>(*code))
                                                      : std::nullopt;
        });
    list.controls[rl::kObject] = entry("Объект:", "Обозначение объекта; пусто - все", 20,
                                       [filter] { return filter->object; },
                                       [filter](const std::string& text) { filter->object = std::string(platform::clip(text)); });
    list.controls[rl::kOperator] = entry(
        "Оператор:", "Код оператора; пусто - все", 3, [filter] { return optionalText(filter->operatorCode); },
        [filter](const std::string& text) {
            const std::optional<long> code = codeOf(text);
            filter->operatorCode = code ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(*code)) : std::nullopt;
        });

    list.extraButtons = {
        {{ru("Печать"), ru("Печать журнала")},
         [filter, print](BrowseEngine& engine) {
             if (print) print(*filter);
             engine.forceRefresh();
         },
         "Print.ico", true},
        {{ru("Сжать журнал"), ru("Оставить записи за последние дни (Dostup.INI, [Journal] KeepDays)")},
         [](BrowseEngine& engine) {
             const int days = dostup::journalKeepDays();
             if (platform::messageBox(ru("Удалить записи журнала старше ") + std::to_string(days) + ru(" дней?"),
                                      ru(" Сжать журнал"), platform::Icon::Question,
                                      platform::kButtonYes | platform::kButtonNo,
                                      platform::kButtonNo) != platform::kButtonYes)
                 return;
             // Both journals: the rights' and the employees' changed fields.
             const std::optional<long> removed = dostup::compressRightsLog(days);
             const std::optional<long> changes = removed ? dostup::compressEmployeeChanges(days) : std::nullopt;
             if (removed && changes)
                 platform::messageBox(ru("Удалено записей журнала прав: ") + std::to_string(*removed) +
                                          ru(", изменений сотрудников: ") + std::to_string(*changes),
                                      ru(" Сжать журнал"), platform::Icon::Information);
             else
                 platform::messageBox(ru("Журнал не сжат: файл журнала не записан."), ru(" Ошибка"),
                                      platform::Icon::Exclamation);
             engine.forceRefresh();
         },
         ""},
    };
    return list;
}

}  // namespace staff
